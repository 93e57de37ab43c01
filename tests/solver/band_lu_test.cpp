#include "solver/band_lu.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "solver/dense_reference.hpp"
#include "solver/full_lu.hpp"

namespace korvant {
namespace {

using test::Dense;
using test::rows;

struct BandFactors {
  Dense abd;
  std::vector<int> ipvt;
  int info = -1;
  double rcond = -1.0;
};

BandFactors factorWithDGBFA(const Dense& a, int ml, int mu) {
  BandFactors f{test::toBand(a, ml, mu), std::vector<int>(a.rows(), 0)};
  DGBFA(f.abd.data(), f.abd.ld(), a.rows(), ml, mu, f.ipvt.data(), f.info);
  return f;
}

BandFactors factorWithDGBCO(const Dense& a, int ml, int mu) {
  BandFactors f{test::toBand(a, ml, mu), std::vector<int>(a.rows(), 0)};
  std::vector<double> z(a.rows(), 0.0);
  DGBCO(f.abd.data(), f.abd.ld(), a.rows(), ml, mu, f.ipvt.data(), f.rcond, z.data());
  return f;
}

std::vector<double> solveWith(const BandFactors& f, int ml, int mu, std::vector<double> b,
                              int job) {
  DGBSL(f.abd.data(), f.abd.ld(), static_cast<int>(b.size()), ml, mu, f.ipvt.data(), b.data(), job);
  return b;
}

// Systems with exact solutions worked by hand: b = A x (and trans(A) x for the transposed
// solve) with small integers, so that the solution must come back to rounding.
struct HandCase {
  std::string name;
  Dense a;
  int ml, mu;
  std::vector<double> x, b, bTransposed;
};

TEST(BandLU, SolvesHandMadeSystemsAndTheirTransposes) {
  const std::vector<HandCase> cases = {
      {"tridiagonal 3x3",
       rows({{4, 1, 0}, {1, 4, 1}, {0, 1, 4}}),
       1,
       1,
       {1, 2, 3},
       {6, 12, 14},
       {6, 12, 14}},
      // Column 1 needs a row interchange (|5| > |1|); one lower and two upper diagonals.
      {"pivoting 4x4",
       rows({{1, 2, 3, 0}, {5, 1, 1, 2}, {0, 4, 1, 1}, {0, 0, 6, 2}}),
       1,
       2,
       {1, -1, 2, 0.5},
       {5, 7, -1.5, 13},
       {-4, 9, 7, 1}},
      {"diagonal",
       rows({{2, 0, 0}, {0, -4, 0}, {0, 0, 0.5}}),
       0,
       0,
       {3, 0.25, -8},
       {6, -1, -4},
       {6, -1, -4}},
      {"single unknown", rows({{5}}), 0, 0, {2}, {10}, {10}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const BandFactors fa = factorWithDGBFA(c.a, c.ml, c.mu);
    EXPECT_EQ(fa.info, 0);
    const std::vector<double> x = solveWith(fa, c.ml, c.mu, c.b, 0);
    const std::vector<double> xt = solveWith(fa, c.ml, c.mu, c.bTransposed, 1);
    for (std::size_t i = 0; i < c.x.size(); ++i) {
      EXPECT_NEAR(x[i], c.x[i], 1e-14) << "component " << i + 1;
      EXPECT_NEAR(xt[i], c.x[i], 1e-14) << "transposed, component " << i + 1;
    }
    const BandFactors fc = factorWithDGBCO(c.a, c.ml, c.mu);
    EXPECT_GT(fc.rcond, 0.0);
    EXPECT_EQ(fc.ipvt, fa.ipvt);
  }
}

TEST(BandLU, RecordsPivotRowsAndTheLastIndex) {
  const Dense a = rows({{1, 2, 3, 0}, {5, 1, 1, 2}, {0, 4, 1, 1}, {0, 0, 6, 2}});
  const BandFactors f = factorWithDGBFA(a, 1, 2);
  EXPECT_EQ(f.ipvt[0], 2);  // row 2 holds the largest entry of column 1
  EXPECT_EQ(f.ipvt[3], 4);  // the last pivot index is N itself

  const BandFactors one = factorWithDGBFA(rows({{-3}}), 0, 0);
  EXPECT_EQ(one.ipvt[0], 1);
  EXPECT_EQ(one.info, 0);
}

// What the band routines report for exactly singular matrices: the first zero pivot (or the
// last one met) in INFO, and a reciprocal condition that the driver's test counts as singular.
TEST(BandLU, ReportsSingularMatrices) {
  struct Case {
    std::string name;
    Dense a;
    int ml, mu;
    int info;
  };
  const std::vector<Case> cases = {
      {"zero column", rows({{4, 0, 0}, {1, 0, 1}, {0, 0, 4}}), 1, 1, 2},
      {"zero row", rows({{4, 1, 0}, {0, 0, 0}, {0, 1, 4}}), 1, 1, 3},
      {"two equal rows", rows({{2, 1, 0}, {2, 1, 0}, {0, 1, 3}}), 1, 1, 3},
      {"single zero", rows({{0}}), 0, 0, 1},
      {"zero matrix", Dense(4, 4, 0.0), 1, 1, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(factorWithDGBFA(c.a, c.ml, c.mu).info, c.info);
    const double rcond = factorWithDGBCO(c.a, c.ml, c.mu).rcond;
    EXPECT_TRUE(rcond + 1.0 == 1.0) << "RCOND = " << rcond;
    if (c.name == "zero column" || c.name == "zero matrix") {
      EXPECT_EQ(rcond, 0.0);
    }
  }
}

// RCOND estimates 1 / (||A||_1 ||inverse(A)||_1) from below on the norm of the inverse, so
// it may lie above the true value but not by much.
TEST(BandLU, ConditionEstimateIsWithinAFactorOfHundredOfTheExactValue) {
  struct Case {
    std::string name;
    Dense a;
    int ml, mu;
  };
  Dense hilbert(5, 5);
  for (int i = 1; i <= 5; ++i)
    for (int j = 1; j <= 5; ++j) hilbert(i, j) = 1.0 / (i + j - 1);
  Dense graded(4, 4, 0.0);  // diagonal 1, 10, 100, 1000 with unit upper neighbours
  for (int i = 1; i <= 4; ++i) {
    graded(i, i) = std::pow(10.0, i - 1);
    if (i < 4) graded(i, i + 1) = 1.0;
  }
  const std::vector<Case> cases = {
      {"tridiagonal", rows({{4, 1, 0}, {1, 4, 1}, {0, 1, 4}}), 1, 1},
      {"pivoting 4x4", rows({{1, 2, 3, 0}, {5, 1, 1, 2}, {0, 4, 1, 1}, {0, 0, 6, 2}}), 1, 2},
      {"diagonal", rows({{2, 0, 0}, {0, -4, 0}, {0, 0, 0.5}}), 0, 0},
      {"second difference", rows({{2, -1, 0, 0}, {-1, 2, -1, 0}, {0, -1, 2, -1}, {0, 0, -1, 2}}), 1,
       1},
      {"Hilbert 5x5 as a full band", hilbert, 4, 4},
      {"graded", graded, 0, 1},
      {"random 6x6", test::randomBand(6, 2, 1, false, 7u), 2, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const double exact = 1.0 / test::conditionNumber1(c.a);
    const double rcond = factorWithDGBCO(c.a, c.ml, c.mu).rcond;
    EXPECT_GE(rcond, exact * (1.0 - 1e-10));
    EXPECT_LE(rcond, exact * 100.0);
  }
  EXPECT_EQ(factorWithDGBCO(Dense(3, 3, 0.0), 1, 1).rcond, 0.0);
}

// The band and the full solver must agree on large well-conditioned band systems, with
// equal and unequal half bandwidths.
TEST(BandLU, AgreesWithTheFullSolverOnLargeDiagonallyDominantSystems) {
  struct Case {
    int n, ml, mu;
    unsigned seed;
  };
  for (const Case c : {Case{300, 7, 7, 11u}, Case{250, 3, 9, 12u}, Case{400, 20, 20, 13u}}) {
    SCOPED_TRACE("n = " + std::to_string(c.n) + ", ml = " + std::to_string(c.ml));
    const Dense a = test::randomBand(c.n, c.ml, c.mu, true, c.seed);
    std::vector<double> b(c.n);
    for (int i = 0; i < c.n; ++i) b[i] = std::sin(0.1 * (i + 1)) + 0.5;

    const BandFactors f = factorWithDGBCO(a, c.ml, c.mu);
    EXPECT_GT(f.rcond, 1e-3);
    const std::vector<double> xBand = solveWith(f, c.ml, c.mu, b, 0);

    Dense full = a;
    std::vector<double> vv(c.n), xFull = b;
    std::vector<int> indx(c.n);
    double d = 0.0;
    int ierr = -1;
    EXPECT_EQ(LUDCMP(full.data(), c.n, full.ld(), vv.data(), indx.data(), d, ierr), 0);
    ASSERT_EQ(ierr, 0);
    LUBKSB(full.data(), c.n, full.ld(), indx.data(), xFull.data());

    EXPECT_LT(test::relativeDifference(xBand, xFull), 1e-10);
    EXPECT_LT(test::relativeDifference(test::times(a, xBand), b), 1e-12);
  }
}

// Without diagonal dominance the elimination pivots across the band and fills rows 1..ML.
TEST(BandLU, SolvesRandomBandSystemsThatNeedPivoting) {
  const int n = 120, ml = 4, mu = 3;
  const Dense a = test::randomBand(n, ml, mu, false, 21u);
  std::vector<double> x(n);
  for (int i = 0; i < n; ++i) x[i] = 1.0 + 0.01 * i;
  const std::vector<double> b = test::times(a, x);

  const BandFactors f = factorWithDGBCO(a, ml, mu);
  int interchanges = 0;
  for (int k = 1; k <= n; ++k) interchanges += f.ipvt[k - 1] != k;
  EXPECT_GT(interchanges, 10);
  const double tolerance = 1e-13 / f.rcond;
  EXPECT_LT(test::relativeDifference(solveWith(f, ml, mu, b, 0), x), tolerance);
}

}  // namespace
}  // namespace korvant
