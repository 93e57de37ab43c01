// In-memory working file: fixed-length records of doubles, addressed by record number
// (for per-point files, n = (J - 1) * NUMB + I). A record that was never written reads
// back as zeros. Writing more values than a record holds is a programming error.
#pragma once

#include <span>
#include <stdexcept>
#include <vector>

namespace korvant {

class RecordStore {
 public:
  explicit RecordStore(std::size_t recordLength) : length_(recordLength), zeros_(recordLength, 0.0) {}

  std::size_t recordLength() const { return length_; }

  // Writes `values` as record n (1-based); the rest of the record is zero.
  void write(int n, std::span<const double> values) {
    if (n < 1) throw std::out_of_range("record number below 1");
    if (values.size() > length_) throw std::length_error("record longer than its working file allows");
    if (static_cast<std::size_t>(n) > records_.size()) records_.resize(static_cast<std::size_t>(n));
    auto& r = records_[static_cast<std::size_t>(n - 1)];
    r.assign(values.begin(), values.end());
    r.resize(length_, 0.0);
  }
  // Record n, or a record of zeros when it was never written.
  std::span<const double> read(int n) const {
    if (n < 1) throw std::out_of_range("record number below 1");
    if (static_cast<std::size_t>(n) > records_.size() || records_[static_cast<std::size_t>(n - 1)].empty())
      return zeros_;
    return records_[static_cast<std::size_t>(n - 1)];
  }
  bool written(int n) const {
    return n >= 1 && static_cast<std::size_t>(n) <= records_.size() &&
           !records_[static_cast<std::size_t>(n - 1)].empty();
  }
  void clear() { records_.clear(); }

 private:
  std::size_t length_;
  std::vector<double> zeros_;
  std::vector<std::vector<double>> records_;
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
