#include "solver/full_lu.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "solver/dense_reference.hpp"

namespace korvant {
namespace {

using test::Dense;
using test::rows;

// One decomposition inside storage larger than the matrix (leading dimension n + 3), as the
// driver's equation store is.
struct Decomposition {
  Dense a;
  std::vector<double> vv;
  std::vector<int> indx;
  double d = 0.0;
  int ierr = -1;
  int zeroPivots = -1;
};

Decomposition decompose(const Dense& matrix) {
  const int n = matrix.rows();
  Decomposition f{Dense(n + 3, n, 7.0), std::vector<double>(n), std::vector<int>(n)};
  for (int j = 1; j <= n; ++j)
    for (int i = 1; i <= n; ++i) f.a(i, j) = matrix(i, j);
  f.zeroPivots = LUDCMP(f.a.data(), n, f.a.ld(), f.vv.data(), f.indx.data(), f.d, f.ierr);
  return f;
}

std::vector<double> solve(const Decomposition& f, std::vector<double> b) {
  LUBKSB(f.a.data(), static_cast<int>(b.size()), f.a.ld(), f.indx.data(), b.data());
  return b;
}

struct HandCase {
  std::string name;
  Dense a;
  std::vector<double> x, b;
  std::vector<int> indx;
  double d;
};

// b = A x worked by hand; INDX and D follow from the scaled pivot choice done by hand:
// the merit of row i in column j is |A(i, j)| / max |A(i, :)|.
TEST(FullLU, SolvesHandMadeSystems) {
  const std::vector<HandCase> cases = {
      {"tridiagonal 3x3",
       rows({{4, 1, 0}, {1, 4, 1}, {0, 1, 4}}),
       {1, 2, 3},
       {6, 12, 14},
       {1, 2, 3},
       1.0},
      {"4x4",
       rows({{2, 1, 1, 0}, {4, 3, 3, 1}, {8, 7, 9, 5}, {6, 7, 9, 8}}),
       {1, 2, 3, 4},
       {7, 23, 69, 79},
       {},
       0.0},
      // Column 1 merits 0 and 1: rows 1 and 2 change places, one interchange.
      {"permutation", rows({{0, 1}, {1, 0}}), {5, 3}, {3, 5}, {2, 2}, -1.0},
      // Column 1 merits 1 and 1: the tie goes to the last row.
      {"tie", rows({{1, 0}, {1, 1}}), {1, 2}, {1, 3}, {2, 2}, -1.0},
      {"diagonal",
       rows({{2, 0, 0}, {0, -4, 0}, {0, 0, 0.5}}),
       {3, 0.25, -8},
       {6, -1, -4},
       {1, 2, 3},
       1.0},
      {"single unknown", rows({{5}}), {2}, {10}, {1}, 1.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Decomposition f = decompose(c.a);
    ASSERT_EQ(f.ierr, 0);
    EXPECT_EQ(f.zeroPivots, 0);
    if (!c.indx.empty()) {
      EXPECT_EQ(f.indx, c.indx);
      EXPECT_EQ(f.d, c.d);
    }
    const std::vector<double> x = solve(f, c.b);
    for (std::size_t i = 0; i < c.x.size(); ++i) EXPECT_NEAR(x[i], c.x[i], 1e-13) << i + 1;
  }
}

TEST(FullLU, LeavesStorageOutsideTheMatrixAlone) {
  const Decomposition f = decompose(rows({{2, 1, 1, 0}, {4, 3, 3, 1}, {8, 7, 9, 5}, {6, 7, 9, 8}}));
  for (int j = 1; j <= 4; ++j)
    for (int i = 5; i <= 7; ++i) EXPECT_EQ(f.a(i, j), 7.0);
}

// Leading zeros of the permuted right-hand side: the forward sums start at the first
// non-zero entry and the result is that of the full sums.
TEST(FullLU, RightHandSideWithLeadingZeros) {
  const Dense a = rows({{4, 1, 0, 0}, {1, 4, 1, 0}, {0, 1, 4, 1}, {0, 0, 1, 4}});
  const std::vector<double> b = {0, 0, 1, 2};
  const std::vector<double> x = solve(decompose(a), b);
  EXPECT_LT(test::relativeDifference(test::times(a, x), b), 1e-15);
  EXPECT_EQ(solve(decompose(a), {0, 0, 0, 0}), std::vector<double>({0, 0, 0, 0}));
}

TEST(FullLU, ZeroRowStopsTheDecompositionUntouched) {
  const Dense a = rows({{4, 1, 0}, {0, 0, 0}, {0, 1, 4}});
  const Decomposition f = decompose(a);
  EXPECT_EQ(f.ierr, 1);
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) EXPECT_EQ(f.a(i, j), a(i, j));
}

// Singular without a zero row: the decomposition completes with TINY in place of the zero
// pivot and says how often it did so; the solution is meaningless (huge).
TEST(FullLU, ZeroPivotsAreReplacedByTinyAndCounted) {
  struct Case {
    std::string name;
    Dense a;
    int zeroPivots;
  };
  const std::vector<Case> cases = {
      {"two equal rows", rows({{2, 1, 3}, {2, 1, 3}, {1, 5, 2}}), 1},
      {"zero column", rows({{1, 0, 2}, {3, 0, 4}, {5, 0, 7}}), 1},
      {"rank one", rows({{1, 2}, {2, 4}}), 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Decomposition f = decompose(c.a);
    EXPECT_EQ(f.ierr, 0);
    EXPECT_EQ(f.zeroPivots, c.zeroPivots);
    int tinyOnDiagonal = 0;
    for (int j = 1; j <= c.a.rows(); ++j) tinyOnDiagonal += f.a(j, j) == TINY;
    EXPECT_EQ(tinyOnDiagonal, c.zeroPivots);
    std::vector<double> b;  // 1, 4, 9: inconsistent with each singular matrix below
    for (int i = 1; i <= c.a.rows(); ++i) b.push_back(i * i);
    const std::vector<double> x = solve(f, b);
    double largest = 0.0;
    for (double v : x) largest = std::max(largest, std::fabs(v));
    EXPECT_GT(largest, 1e15);
    const double anorm = NORM1(c.a.data(), c.a.rows(), c.a.ld());
    const double rcond =
        LUCOND(f.a.data(), c.a.rows(), f.a.ld(), f.indx.data(), anorm, f.vv.data());
    EXPECT_TRUE(rcond + 1.0 == 1.0) << "RCOND = " << rcond;
  }
}

TEST(FullLU, NormIsTheLargestColumnSum) {
  EXPECT_EQ(NORM1(rows({{1, -2}, {-3, 0.5}}).data(), 2, 2), 4.0);
  EXPECT_EQ(NORM1(Dense(3, 3, 0.0).data(), 3, 3), 0.0);
}

// The estimate of the inverse's norm is a lower bound: RCOND lies at or above the exact
// value, and within a factor of 100.
TEST(FullLU, ConditionEstimateIsWithinAFactorOfHundredOfTheExactValue) {
  Dense hilbert(6, 6);
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) hilbert(i, j) = 1.0 / (i + j - 1);
  const std::vector<std::pair<std::string, Dense>> cases = {
      {"tridiagonal", rows({{4, 1, 0}, {1, 4, 1}, {0, 1, 4}})},
      {"4x4", rows({{2, 1, 1, 0}, {4, 3, 3, 1}, {8, 7, 9, 5}, {6, 7, 9, 8}})},
      {"diagonal", rows({{2, 0, 0}, {0, -4, 0}, {0, 0, 0.5}})},
      {"single unknown", rows({{-0.25}})},
      {"Hilbert 6x6", hilbert},
      {"random 8x8", test::randomBand(8, 7, 7, false, 5u)},
  };
  for (const auto& [name, a] : cases) {
    SCOPED_TRACE(name);
    const double anorm = NORM1(a.data(), a.rows(), a.ld());
    Decomposition f = decompose(a);
    const double rcond = LUCOND(f.a.data(), a.rows(), f.a.ld(), f.indx.data(), anorm, f.vv.data());
    const double exact = 1.0 / test::conditionNumber1(a);
    EXPECT_GE(rcond, exact * (1.0 - 1e-10));
    EXPECT_LE(rcond, exact * 100.0);
  }
  Decomposition zero = decompose(rows({{1, 0}, {0, 1}}));
  EXPECT_EQ(LUCOND(zero.a.data(), 2, zero.a.ld(), zero.indx.data(), 0.0, zero.vv.data()), 0.0);
}

}  // namespace
}  // namespace korvant
