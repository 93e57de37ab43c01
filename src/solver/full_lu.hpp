// LU decomposition of a full matrix by Crout's method with implicit (row-scaled) partial
// pivoting, the solution with its factors, and an estimate of the reciprocal condition
// number from the factors.
//
// A is N x N inside storage with leading dimension NP, column by column. After LUDCMP it
// holds the factors of the row-permuted matrix: the unit lower factor below the diagonal,
// the upper factor on and above it. INDX(j) is the row swapped into position j at step j.
#pragma once

namespace korvant {

// The value put in place of a pivot that is exactly zero, so that the decomposition can
// run to its end on a singular matrix.
inline constexpr double TINY = 1.0e-20;

// Decomposes A in place. VV (N entries) receives the row scaling factors 1 / max |A(i, j)|;
// D is +1 or -1 for an even or odd number of interchanges. IERR = 1 when a row of A is
// entirely zero: nothing is decomposed then. Returns the number of pivots that were exactly
// zero and replaced by TINY (the matrix is then singular, although IERR stays 0).
int LUDCMP(double* A, int N, int NP, double* VV, int* INDX, double& D, int& IERR);

// Solves A x = b with the factors of LUDCMP, in place in B (b on entry, x on return).
void LUBKSB(const double* A, int N, int NP, const int* INDX, double* B);

// Largest column sum of magnitudes (the 1-norm) of the N x N matrix A.
double NORM1(const double* A, int N, int NP);

// Estimates the reciprocal 1-norm condition number of the matrix whose factors LUDCMP left in
// A, given the 1-norm ANORM of the matrix before the decomposition: 1 / (ANORM * est), est
// being a lower estimate of the 1-norm of the inverse found by a few solves with the matrix
// and its transpose. Returns 0 when ANORM is 0. WORK holds N doubles.
double LUCOND(const double* A, int N, int NP, const int* INDX, double ANORM, double* WORK);

}  // namespace korvant
