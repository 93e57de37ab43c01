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
  const std::size_t stored = position_ < end_ ? std::min(n, end_ - position_) : 0;
  for (std::size_t k = 0; k < stored; ++k)
    into[static_cast<std::ptrdiff_t>(k) * stride] = data_[position_ + k];
  for (std::size_t k = stored; k < n; ++k) into[static_cast<std::ptrdiff_t>(k) * stride] = 0.0;
  position_ += n;
}

void ScratchUnit::readRecords(double* into, std::size_t n, std::ptrdiff_t stride,
                              std::size_t count) {
  // Records wholly within the unit are copied column by column; a record that runs past its
  // end (and those after it) is read alone.
  std::size_t whole = 0;
  while (whole < count && position_ + (whole + 1) * n <= end_) ++whole;
  for (std::size_t k = 0; k < n; ++k) {
    const double* from = data_.data() + position_ + k;
    double* to = into + static_cast<std::ptrdiff_t>(k) * stride;
    for (std::size_t r = 0; r < whole; ++r) to[r] = from[r * n];
  }
  position_ += whole * n;
  for (std::size_t r = whole; r < count; ++r)
    readRecord(into + static_cast<std::ptrdiff_t>(r), n, stride);
}

}  // namespace korvant
