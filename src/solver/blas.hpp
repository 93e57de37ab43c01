// Level-1 BLAS, double precision, from the system's reference BLAS library. The wrappers
// take counts and strides by value and return the Fortran results: IDAMAX is 1-based
// (0 when n < 1), as the band LU routines expect.
#pragma once

extern "C" {
int idamax_(const int* n, const double* x, const int* incx);
double dasum_(const int* n, const double* x, const int* incx);
void daxpy_(const int* n, const double* a, const double* x, const int* incx, double* y,
            const int* incy);
double ddot_(const int* n, const double* x, const int* incx, const double* y, const int* incy);
void dscal_(const int* n, const double* a, double* x, const int* incx);
}

namespace korvant {

// Index of the first entry of largest magnitude among x(1), x(1 + incx), ...
inline int IDAMAX(int n, const double* x, int incx) {
  return idamax_(&n, x, &incx);
}

// Sum of the magnitudes of n entries.
inline double DASUM(int n, const double* x, int incx) {
  return dasum_(&n, x, &incx);
}

// y := y + a * x over n entries.
inline void DAXPY(int n, double a, const double* x, int incx, double* y, int incy) {
  daxpy_(&n, &a, x, &incx, y, &incy);
}

// Dot product of n entries.
inline double DDOT(int n, const double* x, int incx, const double* y, int incy) {
  return ddot_(&n, x, &incx, y, &incy);
}

// x := a * x over n entries.
inline void DSCAL(int n, double a, double* x, int incx) {
  dscal_(&n, &a, x, &incx);
}

}  // namespace korvant
