#include "solver/matrix_ops.hpp"

#include "solver/column_view.hpp"

namespace korvant {
namespace {

using View = ColumnView<double>;
using ConstView = ColumnView<const double>;

template <typename T>
void fill(T* A, int M, int N, T value) {
  const ColumnView<T> a(A, M);
  for (int j = 1; j <= N; ++j)
    for (int i = 1; i <= M; ++i) a(i, j) = value;
}

// C(i, j) = op(A(i, j), B(i, j)) element by element.
template <typename Op>
void elementwise(const double* A, const double* B, double* C, int LDA, int LDB, int LDC, int M,
                 int N, Op op) {
  const ConstView a(A, LDA);
  const ConstView b(B, LDB);
  const View c(C, LDC);
  for (int j = 1; j <= N; ++j)
    for (int i = 1; i <= M; ++i) c(i, j) = op(a(i, j), b(i, j));
}

// C(i, j) = sum over k of left(i, k) * B(k, j), summed in extended precision; `left` gives
// the entries of A or of its transpose.
template <typename Left>
void product(const double* B, double* C, int LDB, int LDC, int M, int N, int K, Left left) {
  const ConstView b(B, LDB);
  const View c(C, LDC);
  for (int j = 1; j <= N; ++j)
    for (int i = 1; i <= M; ++i) {
      long double sum = 0.0L;
      for (int k = 1; k <= K; ++k) sum += static_cast<long double>(left(i, k)) * b(k, j);
      c(i, j) = static_cast<double>(sum);
    }
}

}  // namespace

void MXINT(double* A, int M, int N, double value) {
  fill(A, M, N, value);
}

void NXINT(int* A, int M, int N, int value) {
  fill(A, M, N, value);
}

void MXMUL(const double* A, const double* B, double* C, int LDA, int LDB, int LDC, int M, int N,
           int K) {
  const ConstView a(A, LDA);
  product(B, C, LDB, LDC, M, N, K, [&](int i, int k) { return a(i, k); });
}

void MXATB(const double* A, const double* B, double* C, int LDA, int LDB, int LDC, int M, int N,
           int K) {
  const ConstView a(A, LDA);
  product(B, C, LDB, LDC, M, N, K, [&](int i, int k) { return a(k, i); });
}

void MXADD(const double* A, const double* B, double* C, int LDA, int LDB, int LDC, int M, int N) {
  elementwise(A, B, C, LDA, LDB, LDC, M, N, [](double x, double y) { return x + y; });
}

void MXSUB(const double* A, const double* B, double* C, int LDA, int LDB, int LDC, int M, int N) {
  elementwise(A, B, C, LDA, LDB, LDC, M, N, [](double x, double y) { return x - y; });
}

void MXCPY(const double* A, double* B, int LDA, int LDB, int M, int N) {
  const ConstView a(A, LDA);
  const View b(B, LDB);
  for (int j = 1; j <= N; ++j)
    for (int i = 1; i <= M; ++i) b(i, j) = a(i, j);
}

}  // namespace korvant
