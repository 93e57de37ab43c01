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
#include <iterator>
#include <span>
#include <stdexcept>
#include <vector>

namespace korvant {

// A record as read: recordLength() values by index (record[k]), by iterator or range-for,
// the stored values followed by zeros. It refers to the store's own values and is valid until
// the record is written again or the store is cleared.
class RecordView {
 public:
  RecordView(std::span<const double> values, std::size_t length)
      : values_(values), length_(length) {}

  // Value k: zero beyond the stored values.
  double operator[](std::size_t k) const { return k < values_.size() ? values_[k] : 0.0; }
  std::size_t size() const { return length_; }

  class iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = double;
    using difference_type = std::ptrdiff_t;
    using pointer = const double*;
    using reference = double;

    iterator(const RecordView* view, std::size_t k) : view_(view), k_(k) {}
    double operator*() const { return (*view_)[k_]; }
    iterator& operator++() {
      ++k_;
      return *this;
    }
    iterator operator++(int) {
      iterator before = *this;
      ++k_;
      return before;
    }
    iterator& operator+=(std::size_t n) {
      k_ += n;
      return *this;
    }
    iterator operator+(std::size_t n) const { return iterator(view_, k_ + n); }
    bool operator==(const iterator& other) const { return k_ == other.k_; }
    bool operator!=(const iterator& other) const { return k_ != other.k_; }

   private:
    const RecordView* view_;
    std::size_t k_;
  };

  iterator begin() const { return iterator(this, 0); }
  iterator end() const { return iterator(this, length_); }

 private:
  std::span<const double> values_;
  std::size_t length_;
};

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
  RecordView read(int n) const { return RecordView(stored(n), length_); }

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
