// Crout LU decomposition with implicit (row-scaled) partial pivoting, as LUDCMP, for a
// full-storage matrix whose non-zero coefficients lie in a band of ML diagonals below and MU
// above the main diagonal, and the solution and condition estimate with its factors.
//
// Partial pivoting keeps the candidates for the pivot of column j within rows j..j + ML and
// widens the upper factor to ML + MU diagonals above its diagonal; the multipliers of a
// column stay in its rows j + 1..j + ML, except where a later interchange moves one further
// down, which LAST records. The loops skip only entries that are known to be zero and take
// every other term in the order of LUDCMP and LUBKSB, so the factors, the pivot rows, the
// condition estimate and the solution are theirs, at a cost of about N ML (ML + MU)
// operations instead of N^3 / 3. The factors stay in the N x N matrix, in place, in the
// layout LUDCMP leaves them.
//
// A is N x N inside storage with leading dimension NP, column by column; vectors are 1-based
// in their descriptions and passed as pointers to their first entry.
#pragma once

#include "solver/equation_store.hpp"

namespace korvant {

// What LUPROF finds in a matrix: its lower and upper half bandwidths (the largest i - j and
// j - i of a non-zero A(i, j)), its 1-norm, and whether a row is entirely zero.
struct BandProfile {
  int ML = 0;
  int MU = 0;
  double ANORM = 0.0;
  bool zeroRow = false;
};

// Scans A column by column: FIRST(i) receives the first column holding a non-zero of row i,
// VV(i) the row scaling factor 1 / max |A(i, j)| of LUDCMP (both left unset for a zero row).
// When ROWS is given, ROWS[j] bounds the rows of column j that can hold non-zeros (the
// ranges an equation store recorded as written), and only those are read.
BandProfile LUPROF(const double* A, int N, int NP, int* FIRST, double* VV,
                   const RowRange* ROWS = nullptr);

// Decomposes A in place as LUDCMP does, given the half bandwidths, FIRST and VV from LUPROF.
// FIRST is permuted with the rows; LAST(k) receives the last row that can hold a multiplier
// of column k. D is +1 or -1 for an even or odd number of interchanges. Returns the number
// of pivots that were exactly zero and replaced by TINY. When all candidates of a column are
// zero and row N lies beyond j + ML, LUDCMP takes row N as the (zero) pivot row, this routine
// the last row of the band; the count, and so the verdict "singular", is the same.
int LUDCMPB(double* A, int N, int NP, int ML, int MU, double* VV, int* INDX, int* FIRST, int* LAST,
            double& D);

// Solves A x = b with the factors of LUDCMPB, in place in B, as LUBKSB does.
void LUBKSBB(const double* A, int N, int NP, int ML, int MU, const int* INDX, const int* FIRST,
             double* B);

// The reciprocal condition estimate of LUCOND, from the factors of LUDCMPB and the 1-norm
// ANORM of the matrix before the decomposition. WORK holds N doubles.
double LUCONDB(const double* A, int N, int NP, int ML, int MU, const int* INDX, const int* FIRST,
               const int* LAST, double ANORM, double* WORK);

// Rows of column j that LUDCMPB can have written: from max(1, j - ML - MU) to LAST(j).
inline int factorTopRow(int j, int ML, int MU) {
  return j - ML - MU > 1 ? j - ML - MU : 1;
}

}  // namespace korvant
