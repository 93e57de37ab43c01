// The band-restricted Crout decomposition against LUDCMP, LUBKSB and LUCOND on the same
// matrices: the same pivot rows, factors, solutions and condition estimates, on matrices
// chosen to make the pivoting work (rows interchanged again and again, ties of the scaled
// figure of merit) and on singular ones.
#include "solver/banded_crout.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "solver/dense_reference.hpp"
#include "solver/full_lu.hpp"

namespace korvant {
namespace {

using test::Dense;

// Both decompositions of one matrix, each in storage with leading dimension n + 3.
struct Pair {
  int n;
  Dense dense, band;
  std::vector<double> vvDense, vvBand;
  std::vector<int> indxDense, indxBand, first, last;
  BandProfile profile;
  double anormDense = 0.0;
  int ierr = -1, zeroDense = -1, zeroBand = -1;
  double dDense = 0.0, dBand = 0.0;

  explicit Pair(const Dense& a)
      : n(a.rows()),
        dense(n + 3, n, 0.0),
        band(n + 3, n, 0.0),
        vvDense(n),
        vvBand(n),
        indxDense(n),
        indxBand(n),
        first(n),
        last(n) {
    for (int j = 1; j <= n; ++j)
      for (int i = 1; i <= n; ++i) dense(i, j) = band(i, j) = a(i, j);
    anormDense = NORM1(dense.data(), n, dense.ld());
    zeroDense = LUDCMP(dense.data(), n, dense.ld(), vvDense.data(), indxDense.data(), dDense, ierr);
    profile = LUPROF(band.data(), n, band.ld(), first.data(), vvBand.data());
    if (profile.zeroRow) return;
    zeroBand = LUDCMPB(band.data(), n, band.ld(), profile.ML, profile.MU, vvBand.data(),
                       indxBand.data(), first.data(), last.data(), dBand);
  }
  std::vector<double> solveDense(std::vector<double> b) const {
    LUBKSB(dense.data(), n, dense.ld(), indxDense.data(), b.data());
    return b;
  }
  std::vector<double> solveBand(std::vector<double> b) const {
    LUBKSBB(band.data(), n, band.ld(), profile.ML, profile.MU, indxBand.data(), first.data(),
            b.data());
    return b;
  }
  double rcondDense() {
    std::vector<double> w(static_cast<std::size_t>(n));
    return LUCOND(dense.data(), n, dense.ld(), indxDense.data(), anormDense, w.data());
  }
  double rcondBand() {
    std::vector<double> w(static_cast<std::size_t>(n));
    return LUCONDB(band.data(), n, band.ld(), profile.ML, profile.MU, indxBand.data(), first.data(),
                   last.data(), profile.ANORM, w.data());
  }
};

double largestFactorDifference(const Pair& p) {
  double diff = 0.0;
  for (int j = 1; j <= p.n; ++j)
    for (int i = 1; i <= p.n; ++i)
      diff = std::max(
          diff, std::fabs(p.band(i, j) - p.dense(i, j)) / std::max(1.0, std::fabs(p.dense(i, j))));
  return diff;
}

// A band matrix whose entries are small whole numbers, many of them equal, so that the
// scaled figures of merit tie; `zeroShare` of the band entries are zero.
Dense wholeNumberBand(int n, int ml, int mu, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_int_distribution<int> v(-3, 3);
  Dense a(n, n, 0.0);
  for (int i = 1; i <= n; ++i)
    for (int j = std::max(1, i - ml); j <= std::min(n, i + mu); ++j) a(i, j) = v(gen);
  for (int i = 1; i <= n; ++i)  // every row and the outermost diagonals are present
    a(i, i) = a(i, i) == 0.0 ? 1.0 : a(i, i);
  return a;
}

// Rows whose leftmost entry outweighs the rest, so that the next rows keep being chosen as
// pivots and a row passed over is pushed down again and again with its multipliers.
Dense pushedDownRows(int n, int ml, int mu, unsigned seed) {
  Dense a = test::randomBand(n, ml, mu, false, seed);
  for (int i = 1; i <= n; ++i) {
    const int j = std::max(1, i - ml);
    a(i, j) = 50.0 * (i % 2 == 0 ? 1.0 : -1.0) * (1.0 + i % 5);
  }
  return a;
}

TEST(BandedCrout, MatchesTheFullDecompositionOnBandMatrices) {
  struct Case {
    std::string name;
    Dense a;
  };
  std::vector<Case> cases;
  for (unsigned seed : {1u, 2u, 3u}) {
    cases.push_back({"random 40, ml 3 mu 2", test::randomBand(40, 3, 2, false, seed)});
    cases.push_back({"random 60, ml 1 mu 5", test::randomBand(60, 1, 5, false, seed + 10)});
    cases.push_back({"random 50, ml 7 mu 0", test::randomBand(50, 7, 0, false, seed + 20)});
    cases.push_back({"dominant 45, ml 4 mu 4", test::randomBand(45, 4, 4, true, seed + 30)});
    cases.push_back({"whole numbers 50, ml 3 mu 3", wholeNumberBand(50, 3, 3, seed + 40)});
    cases.push_back({"pushed down 60, ml 4 mu 2", pushedDownRows(60, 4, 2, seed + 50)});
  }
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    Pair p(c.a);
    ASSERT_FALSE(p.profile.zeroRow);
    ASSERT_LT(p.profile.ML + p.profile.MU, p.n - 1);
    EXPECT_EQ(p.profile.ANORM, p.anormDense);
    EXPECT_EQ(p.zeroBand, p.zeroDense);
    EXPECT_EQ(p.indxBand, p.indxDense);
    EXPECT_EQ(p.dBand, p.dDense);
    EXPECT_LE(largestFactorDifference(p), 1e-13);

    std::vector<double> x(static_cast<std::size_t>(p.n));
    for (int i = 0; i < p.n; ++i) x[static_cast<std::size_t>(i)] = std::sin(1.0 + i);
    const std::vector<double> b = test::times(c.a, x);
    const std::vector<double> fromBand = p.solveBand(b);
    EXPECT_LE(test::relativeDifference(fromBand, p.solveDense(b)), 1e-13);
    // and both solve the system as well as its condition allows
    EXPECT_LE(test::relativeDifference(fromBand, x), 1e-14 * test::conditionNumber1(c.a));
    EXPECT_NEAR(p.rcondBand(), p.rcondDense(), 1e-13 * p.rcondDense());
  }
}

TEST(BandedCrout, PushedDownRowsCarryTheirMultipliersBeyondTheBand) {
  // The case exists to exercise the multipliers that interchanges move more than ML rows
  // below their column; without it the test above would not reach that code.
  Pair p(pushedDownRows(60, 4, 2, 51));
  bool beyond = false;
  for (int k = 1; k <= p.n; ++k) beyond = beyond || p.last[k - 1] > std::min(p.n, k + 4);
  EXPECT_TRUE(beyond);
}

TEST(BandedCrout, ProfileMeasuresTheHalfBandwidthsAndTheRowScaling) {
  const Dense a = test::rows(
      {{2, -4, 0, 0, 0}, {0, 1, 0, 0, 3}, {5, 0, 1, 0, 0}, {0, 0, 0, -8, 0}, {0, 0, 0, 1, 0.5}});
  std::vector<int> first(5);
  std::vector<double> vv(5);
  const BandProfile p = LUPROF(a.data(), 5, a.ld(), first.data(), vv.data());
  EXPECT_EQ(p.ML, 2);       // A(3, 1)
  EXPECT_EQ(p.MU, 3);       // A(2, 5)
  EXPECT_EQ(p.ANORM, 9.0);  // column 4
  EXPECT_FALSE(p.zeroRow);
  EXPECT_EQ(first, (std::vector<int>{1, 2, 1, 4, 4}));
  EXPECT_EQ(vv, (std::vector<double>{0.25, 1.0 / 3.0, 0.2, 0.125, 1.0}));
}

TEST(BandedCrout, SingularMatricesGetTheVerdictOfTheFullDecomposition) {
  // Tridiagonal-type matrices, 30 x 30, made singular in three ways.
  Dense equalRows = test::randomBand(30, 2, 2, true, 7);
  for (int j = 1; j <= 30; ++j) equalRows(12, j) = equalRows(11, j);
  Dense zeroColumn = test::randomBand(30, 2, 2, true, 8);
  for (int i = 1; i <= 30; ++i) zeroColumn(i, 9) = 0.0;
  Dense zeroRow = test::randomBand(30, 2, 2, true, 9);
  for (int j = 1; j <= 30; ++j) zeroRow(17, j) = 0.0;

  Pair rows(equalRows);
  EXPECT_EQ(rows.zeroBand, rows.zeroDense);
  EXPECT_EQ(rows.indxBand, rows.indxDense);
  EXPECT_EQ(rows.rcondBand() + 1.0 == 1.0, rows.rcondDense() + 1.0 == 1.0);
  EXPECT_TRUE(rows.zeroDense > 0 || rows.rcondDense() + 1.0 == 1.0);

  Pair column(zeroColumn);
  EXPECT_GT(column.zeroDense, 0);
  EXPECT_GT(column.zeroBand, 0);

  Pair row(zeroRow);
  EXPECT_EQ(row.ierr, 1);
  EXPECT_TRUE(row.profile.zeroRow);
}

}  // namespace
}  // namespace korvant
