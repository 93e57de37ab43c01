// The coefficient array K of the equation store: rows x cols doubles, 1-based and column by
// column like Matrix, but taken from the system already zeroed (calloc), so that its pages
// cost neither time nor memory until a pass first writes into them. A run touches only the
// part of K its system occupies; the rest of the MXD1 x MXBD capacity stays unused.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>

namespace korvant {

class CoefficientArray {
 public:
  CoefficientArray(int rows, int cols)
      : rows_(rows),
        cols_(cols),
        data_(static_cast<double*>(std::calloc(count(rows, cols), sizeof(double)))) {
    if (!data_ && count(rows, cols) > 0) throw std::bad_alloc();
  }

  double& operator()(int i, int j) {
    assert(i >= 1 && i <= rows_ && j >= 1 && j <= cols_);
    return data_[offset(i, j)];
  }
  const double& operator()(int i, int j) const {
    assert(i >= 1 && i <= rows_ && j >= 1 && j <= cols_);
    return data_[offset(i, j)];
  }
  // Column-major linear index, 1-based: A(k) = A(i, j) in storage order.
  double& operator()(int k) {
    assert(k >= 1 && static_cast<std::size_t>(k) <= count(rows_, cols_));
    return data_[static_cast<std::size_t>(k - 1)];
  }
  const double& operator()(int k) const {
    assert(k >= 1 && static_cast<std::size_t>(k) <= count(rows_, cols_));
    return data_[static_cast<std::size_t>(k - 1)];
  }

  // Every entry set to `value` (the whole capacity is touched).
  void fill(double value) {
    for (std::size_t k = 0; k < count(rows_, cols_); ++k) data_[k] = value;
  }

  int rows() const { return rows_; }
  int cols() const { return cols_; }
  int ld() const { return rows_; }
  double* data() { return data_.get(); }
  const double* data() const { return data_.get(); }
  double* at(int i, int j) { return data_.get() + offset(i, j); }
  const double* at(int i, int j) const { return data_.get() + offset(i, j); }

 private:
  struct Free {
    void operator()(double* p) const { std::free(p); }
  };
  static std::size_t count(int rows, int cols) {
    return static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
  }
  std::size_t offset(int i, int j) const {
    return static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(rows_) +
           static_cast<std::size_t>(i - 1);
  }

  int rows_;
  int cols_;
  std::unique_ptr<double[], Free> data_;
};

}  // namespace korvant
