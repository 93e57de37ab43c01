// Small array helpers: fill, copy, sum, difference and products of arrays held column by
// column with the leading dimensions given. Each loops over the extents it is given only.
// A vector is an array of one column: MXCPY(x, y, MXD1, MXD1, NEQ, 1) copies NEQ entries.
// Products accumulate their sums in extended precision and store them as doubles.
#pragma once

namespace korvant {

// A(i, j) = value for i = 1..M, j = 1..N; M is also the leading dimension.
void MXINT(double* A, int M, int N, double value);
// The same for an integer array.
void NXINT(int* A, int M, int N, int value);

// C(i, j) = sum over k = 1..K of A(i, k) B(k, j), i = 1..M, j = 1..N. C must not overlap A or B.
void MXMUL(const double* A, const double* B, double* C, int LDA, int LDB, int LDC, int M, int N,
           int K);
// C(i, j) = sum over k = 1..K of A(k, i) B(k, j): trans(A) B. C must not overlap A or B.
void MXATB(const double* A, const double* B, double* C, int LDA, int LDB, int LDC, int M, int N,
           int K);

// C(i, j) = A(i, j) + B(i, j); C may be A or B itself.
void MXADD(const double* A, const double* B, double* C, int LDA, int LDB, int LDC, int M, int N);
// C(i, j) = A(i, j) - B(i, j); C may be A or B itself.
void MXSUB(const double* A, const double* B, double* C, int LDA, int LDB, int LDC, int M, int N);

// B(i, j) = A(i, j).
void MXCPY(const double* A, double* B, int LDA, int LDB, int M, int N);

}  // namespace korvant
