// The sparse direct solution of a system held in sparse rows: an LU factorization with
// UMFPACK (SuiteSparse), built in where the library was found. The analysis of the pattern
// (the ordering of the unknowns and the symbolic factorization) is kept from one
// factorization to the next and redone only when the pattern changes; in the passes of a
// nonlinear run only the moduli change, so each pass costs a numeric factorization alone.
#pragma once

#include <memory>

#include "solver/sparse_rows.hpp"

namespace korvant {

class SparseFactor {
 public:
  // Whether this build has the sparse solver at all.
  static bool available();

  SparseFactor();
  ~SparseFactor();
  SparseFactor(SparseFactor&&) noexcept;
  SparseFactor& operator=(SparseFactor&&) noexcept;

  // Factors the n x n system of rows 1..n (unknowns 1..n). Returns false when a pivot is
  // exactly zero; otherwise `rcond` is the estimate of the reciprocal 1-norm condition
  // number, made as for the full and band factorizations, or, where the pivots leave no
  // doubt that it is far from negligible, their smallest over their largest magnitude.
  // Failures of the library itself (memory) are thrown.
  bool factor(const SparseRows& rows, int n, double& rcond);
  // Solves with the last factors: x(0..n-1) from b(0..n-1).
  void solve(const double* b, double* x);

  // How often the pattern has been analysed, and how often factored, in this run.
  int analyses() const;
  int factorizations() const;

  struct State;  // the library's objects, defined where the library is used

 private:
  static double estimateCondition(State& s);
  std::unique_ptr<State> state_;
};

}  // namespace korvant
