// The thin plate on point supports at its four corners under a point load at its centre,
// solved independently of the program by Ritz's method (Ritz 1909) on the plate's energy
// (Kirchhoff; Timoshenko & Woinowsky-Krieger 1959, ch. 10):
//   U = D/2 int [ (w,xx + w,yy)^2 - 2 (1 - nu) (w,xx w,yy - w,xy^2) ] dA - P w(centre),
// over w = sum c_ij P_2i(x) P_2j(y) on [-1, 1]^2 (even Legendre polynomials, the symmetry of
// the load and supports), with w = 0 at the corners held by a Lagrange multiplier. The
// deflection under the load converges from below as the degree grows.
#pragma once

#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace korvant::test {

// Legendre polynomial P_n and its first two derivatives at x, |x| < 1.
inline void legendre(int n, double x, double& p, double& d1, double& d2) {
  double before = 1.0, now = x;
  if (n == 0) now = 1.0;
  for (int k = 2; k <= n; ++k) {
    const double next = ((2 * k - 1) * x * now - (k - 1) * before) / k;
    before = now, now = next;
  }
  p = now;
  d1 = n == 0 ? 0.0 : n * (before - x * now) / (1.0 - x * x);  // (1 - x^2) P' = n (P_n-1 - x P_n)
  d2 = (2.0 * x * d1 - n * (n + 1) * p) / (1.0 - x * x);       // Legendre's equation
}

// w D / (P a^2) at the centre of the square plate of side a on corner supports, Poisson's
// ratio nu, from the even Legendre polynomials up to degree 2 N in x and in y.
inline double cornerSupportedCentreCoefficient(double nu, int N) {
  // Gauss-Legendre points of degree Q, exact for the products of the basis.
  const int Q = 4 * N + 8;
  std::vector<double> xg(Q), wg(Q);
  for (int i = 0; i < Q; ++i) {
    double x = std::cos(std::numbers::pi * (i + 0.75) / (Q + 0.5)), p, d1, d2;
    for (int it = 0; it < 100; ++it) {
      legendre(Q, x, p, d1, d2);
      x -= p / d1;
      if (std::abs(p / d1) < 1e-16) break;
    }
    legendre(Q, x, p, d1, d2);
    xg[i] = x, wg[i] = 2.0 / ((1.0 - x * x) * d1 * d1);
  }
  const int M = N + 1;
  using Table = std::vector<std::vector<double>>;
  Table L(M, std::vector<double>(Q)), L1 = L, L2 = L;
  for (int i = 0; i < M; ++i)
    for (int q = 0; q < Q; ++q) legendre(2 * i, xg[q], L[i][q], L1[i][q], L2[i][q]);
  auto integral = [&](const Table& f, const Table& g, int i, int j) {
    double s = 0.0;
    for (int q = 0; q < Q; ++q) s += wg[q] * f[i][q] * g[j][q];
    return s;
  };
  Table A0(M, std::vector<double>(M)), A1 = A0, A2 = A0, B = A0;
  for (int i = 0; i < M; ++i)
    for (int j = 0; j < M; ++j) {
      A0[i][j] = integral(L, L, i, j), A1[i][j] = integral(L1, L1, i, j);
      A2[i][j] = integral(L2, L2, i, j), B[i][j] = integral(L2, L, i, j);
    }
  // The stiffness of the energy (D = 1), the corner condition, and the load P = 1 at 0.
  const int n = M * M + 1;
  Table K(n, std::vector<double>(n + 1, 0.0));
  auto at = [M](int i, int j) { return i * M + j; };
  std::vector<double> atCentre(M);
  for (int i = 0; i < M; ++i) {
    double d1, d2;
    legendre(2 * i, 0.0, atCentre[i], d1, d2);
  }
  for (int p = 0; p < M; ++p)
    for (int q = 0; q < M; ++q) {
      for (int r = 0; r < M; ++r)
        for (int s = 0; s < M; ++s)
          K[at(p, q)][at(r, s)] = A2[p][r] * A0[q][s] + A0[p][r] * A2[q][s] +
                                  nu * (B[p][r] * B[s][q] + B[r][p] * B[q][s]) +
                                  2.0 * (1.0 - nu) * A1[p][r] * A1[q][s];
      K[at(p, q)][n - 1] = K[n - 1][at(p, q)] = 1.0;  // P_n(1) = 1: w at the corner
      K[at(p, q)][n] = atCentre[p] * atCentre[q];
    }
  for (int k = 0; k < n; ++k) {  // Gaussian elimination with partial pivoting
    int pivot = k;
    for (int i = k + 1; i < n; ++i)
      if (std::abs(K[i][k]) > std::abs(K[pivot][k])) pivot = i;
    std::swap(K[k], K[pivot]);
    for (int i = k + 1; i < n; ++i) {
      const double f = K[i][k] / K[k][k];
      for (int j = k; j <= n; ++j) K[i][j] -= f * K[k][j];
    }
  }
  std::vector<double> c(n);
  for (int i = n - 1; i >= 0; --i) {
    double s = K[i][n];
    for (int j = i + 1; j < n; ++j) s -= K[i][j] * c[j];
    c[i] = s / K[i][i];
  }
  double w = 0.0;
  for (int p = 0; p < M; ++p)
    for (int q = 0; q < M; ++q) w += c[at(p, q)] * atCentre[p] * atCentre[q];
  return w / 4.0;  // side a = 2
}

}  // namespace korvant::test
