// In-memory working file: fixed-length records of doubles, addressed by record number
// (for per-point files, n = (J - 1) * NUMB + I). A record reads back as its full length: the
// values written, then zeros; a record that was never written reads back as zeros. Writing
// more values than a record holds is a programming error.
//
// Only the values written are kept, without their trailing zeros: a point's layer table fills
// a few dozen of its 800 values, and a grid of a thousand points would otherwise hold tens of
// megabytes of zeros in every per-point file.
#pragma once

#include <cstddef>
#include <ranges>
#include <span>
#include <stdexcept>
#include <vector>

namespace korvant {

// Value k of a record whose stored values are `values`: zero beyond them.
struct PaddedValue {
  std::span<const double> values;
  double operator()(int k) const {
    const auto at = static_cast<std::size_t>(k);
    return at < values.size() ? values[at] : 0.0;
  }
};

// A record as read: recordLength() values by index (record[k]), by iterator or range-for.
// It refers to the store's own values and is valid until the record is written again or
// the store is cleared.
using RecordView = std::ranges::transform_view<std::ranges::iota_view<int, int>, PaddedValue>;

class RecordStore {
 public:
  explicit RecordStore(std::size_t recordLength) : length_(recordLength) {}

  std::size_t recordLength() const { return length_; }

  // Writes `values` as record n (1-based); the rest of the record is zero.
  void write(int n, std::span<const double> values) {
    if (values.size() > length_)
      throw std::length_error("record longer than its working file allows");
    const std::size_t at = index(n);
    if (at >= records_.size()) records_.resize(at + 1);
    std::size_t kept = values.size();
    while (kept > 0 && values[kept - 1] == 0.0) --kept;
    Record& r = records_[at];
    r.values.assign(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(kept));
    r.written = true;
  }

  // Record n, or a record of zeros when it was never written.
  RecordView read(int n) const {
    return RecordView(std::views::iota(0, static_cast<int>(length_)), PaddedValue{stored(n)});
  }

  // The values kept for record n: those written up to the last one that is not zero.
  std::span<const double> stored(int n) const {
    const std::size_t at = index(n);
    if (at >= records_.size()) return {};
    return records_[at].values;
  }

  bool written(int n) const {
    return n >= 1 && static_cast<std::size_t>(n) <= records_.size() &&
           records_[static_cast<std::size_t>(n - 1)].written;
  }

  void clear() { records_.clear(); }

 private:
  struct Record {
    std::vector<double> values;
    bool written = false;
  };

  static std::size_t index(int n) {
    if (n < 1) throw std::out_of_range("record number below 1");
    return static_cast<std::size_t>(n - 1);
  }

  std::size_t length_;
  std::vector<Record> records_;
};

// The working files of a run, one store per unit.
struct WorkingFiles {
  RecordStore currentLayers{800};  // unit 20: current PointLayerTable per point
  RecordStore initialLayers{800};  // unit 21: initial PointLayerTable per point
  RecordStore layerResults{800};   // unit 25: LayerResults per point
  RecordStore damageLaws{800};     // unit 30: record 1 NLAW, record k+1 law k
  RecordStore layerState{800};     // unit 35: LayerState per point
  RecordStore fibreResults{200};   // unit 70: FibreResults per point, 12 values
  RecordStore failureRatio{200};   // unit 71: failure ratio per point
};

}  // namespace korvant
