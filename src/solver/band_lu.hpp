// LU factorization of a band matrix by Gaussian elimination with partial pivoting, an
// estimate of its reciprocal condition number, and the solution with the factors.
//
// Band layout (ABD with leading dimension LDA >= 2 ML + MU + 1, N columns): the entry
// a(i, j) of the N x N matrix with ML lower and MU upper diagonals is held in
// ABD(ML + MU + 1 + i - j, j). Rows 1..ML of ABD receive the fill-in that row interchanges
// create; the factorization clears them itself. All vectors are 1-based in their
// descriptions and passed as pointers to their first entry.
#pragma once

namespace korvant {

// Factors ABD in place: on return it holds the upper triangular factor U in rows
// 1..ML + MU + 1 and the elimination multipliers below the diagonal row. IPVT(k) is the
// row that was interchanged with row k. INFO = 0, or the index of the last column whose
// pivot was exactly zero (the other columns are still eliminated, but the factors must
// not be used for a solution).
void DGBFA(double* ABD, int LDA, int N, int ML, int MU, int* IPVT, int& INFO);

// Measures the 1-norm of the band matrix, factors it with DGBFA and estimates RCOND, the
// reciprocal of its 1-norm condition number (0 for a zero matrix; a value for which
// RCOND + 1 == 1 marks the matrix singular to working precision). Z (N entries) is work
// space; on return it holds an approximate null vector when the matrix is near singular.
void DGBCO(double* ABD, int LDA, int N, int ML, int MU, int* IPVT, double& RCOND, double* Z);

// Solves a x = b (JOB = 0) or trans(a) x = b (JOB != 0) with the factors of DGBFA or
// DGBCO, in place in B.
void DGBSL(const double* ABD, int LDA, int N, int ML, int MU, const int* IPVT, double* B, int JOB);

}  // namespace korvant
