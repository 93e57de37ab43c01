#include "solver/scratch_unit.hpp"

#include <algorithm>

namespace korvant {

std::span<double> ScratchUnit::nextRecord(std::size_t n) {
  if (data_.size() < position_ + n) data_.resize(position_ + n);
  std::span<double> record(data_.data() + position_, n);
  std::fill(record.begin(), record.end(), 0.0);
  position_ += n;
  end_ = position_;
  return record;
}

void ScratchUnit::readRecord(double* into, std::size_t n, std::ptrdiff_t stride) {
  for (std::size_t k = 0; k < n; ++k) {
    const std::size_t at = position_ + k;
    into[static_cast<std::ptrdiff_t>(k) * stride] = at < end_ ? data_[at] : 0.0;
  }
  position_ += n;
}

}  // namespace korvant
