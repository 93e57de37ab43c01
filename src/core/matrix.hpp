// A small 1-based, column-major array, so that a formula reads as it is written:
//   A(i, j) += (zNew - zOld) * Q(i, j);
// Bounds are asserted in debug builds only. A one-column Matrix serves as a vector,
// indexed by v(i).
#pragma once

#include <algorithm>
#include <cassert>
#include <vector>

namespace korvant {

template <typename T = double>
class Matrix {
 public:
  Matrix() = default;
  Matrix(int rows, int cols, T value = T{}) { resize(rows, cols, value); }

  void resize(int rows, int cols, T value = T{}) {
    rows_ = rows;
    cols_ = cols;
    data_.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols), value);
  }
  void fill(T value) { std::fill(data_.begin(), data_.end(), value); }

  T& operator()(int i, int j) {
    assert(i >= 1 && i <= rows_ && j >= 1 && j <= cols_);
    return data_[offset(i, j)];
  }
  const T& operator()(int i, int j) const {
    assert(i >= 1 && i <= rows_ && j >= 1 && j <= cols_);
    return data_[offset(i, j)];
  }
  // Column-major linear index, 1-based: v(i) of a vector, or A(k) = A(i, j) in storage order.
  T& operator()(int k) {
    assert(k >= 1 && static_cast<std::size_t>(k) <= data_.size());
    return data_[static_cast<std::size_t>(k - 1)];
  }
  const T& operator()(int k) const {
    assert(k >= 1 && static_cast<std::size_t>(k) <= data_.size());
    return data_[static_cast<std::size_t>(k - 1)];
  }

  int rows() const { return rows_; }
  int cols() const { return cols_; }
  // Leading dimension: the distance between columns in storage.
  int ld() const { return rows_; }
  T* data() { return data_.data(); }
  const T* data() const { return data_.data(); }
  // Address of element (i, j), for routines that take a column or a sub-array.
  T* at(int i, int j) { return data_.data() + offset(i, j); }
  const T* at(int i, int j) const { return data_.data() + offset(i, j); }

 private:
  std::size_t offset(int i, int j) const {
    return static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(rows_) +
           static_cast<std::size_t>(i - 1);
  }
  int rows_ = 0;
  int cols_ = 0;
  std::vector<T> data_;
};

}  // namespace korvant
