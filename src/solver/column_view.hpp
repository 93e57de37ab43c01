// A 1-based, column-major window on an array the caller owns, with its leading dimension,
// so that routines handed "A with leading dimension LDA" can write A(i, j) as in their
// formulas. It does not own or check the memory; the caller passes valid extents.
#pragma once

#include <cstddef>
#include <type_traits>

namespace korvant {

template <typename T>
class ColumnView {
 public:
  ColumnView(T* data, int ld) : data_(data), ld_(ld) {}
  // A writable view is also a read-only one.
  template <typename U>
  requires std::is_same_v<const U, T> ColumnView(const ColumnView<U>& other)
      : data_(other.at(1, 1)), ld_(other.ld()) {}

  T& operator()(int i, int j) const { return data_[offset(i, j)]; }
  // Entry k of a vector (a view of one column).
  T& operator()(int k) const { return data_[k - 1]; }
  // Address of element (i, j): the start of a column segment for the BLAS routines.
  T* at(int i, int j) const { return data_ + offset(i, j); }
  int ld() const { return ld_; }

 private:
  std::ptrdiff_t offset(int i, int j) const {
    return static_cast<std::ptrdiff_t>(j - 1) * ld_ + (i - 1);
  }
  T* data_;
  int ld_;
};

}  // namespace korvant
