#include "solver/matrix_ops.hpp"

#include <gtest/gtest.h>

#include "solver/dense_reference.hpp"

namespace korvant {
namespace {

using test::Dense;
using test::rows;

// Every array sits in storage with a larger leading dimension than the extents used, its
// spare entries at a marker value that no routine may change.
constexpr double kMarker = -77.0;

Dense padded(const Dense& a, int ld, int cols) {
  Dense p(ld, cols, kMarker);
  for (int j = 1; j <= a.cols(); ++j)
    for (int i = 1; i <= a.rows(); ++i) p(i, j) = a(i, j);
  return p;
}

void expectBlock(const Dense& got, const Dense& want) {
  for (int i = 1; i <= got.rows(); ++i)
    for (int j = 1; j <= got.cols(); ++j) {
      const bool inside = i <= want.rows() && j <= want.cols();
      EXPECT_EQ(got(i, j), inside ? want(i, j) : kMarker) << "(" << i << ", " << j << ")";
    }
}

TEST(MatrixOps, ProductsWorkedByHand) {
  const Dense a = padded(rows({{1, 2, 3}, {4, 5, 6}}), 4, 3);       // 2 x 3
  const Dense b = padded(rows({{7, 8}, {9, 10}, {11, 12}}), 5, 2);  // 3 x 2
  Dense c(3, 3, kMarker);
  MXMUL(a.data(), b.data(), c.data(), a.ld(), b.ld(), c.ld(), 2, 2, 3);
  expectBlock(c, rows({{58, 64}, {139, 154}}));

  // trans(A) B with A 2 x 3 and B 2 x 2: C is 3 x 2.
  const Dense b2 = padded(rows({{1, -1}, {2, 0.5}}), 3, 2);
  Dense d(4, 3, kMarker);
  MXATB(a.data(), b2.data(), d.data(), a.ld(), b2.ld(), d.ld(), 3, 2, 2);
  expectBlock(d, rows({{9, 1}, {12, 0.5}, {15, 0}}));
}

TEST(MatrixOps, ProductSumsCarryExtendedPrecision) {
  // 1e16 + 1 - 1e16: a double accumulator loses the 1, an extended one keeps it.
  const Dense a = rows({{1e16, 1, -1e16}});
  const Dense b = rows({{1}, {1}, {1}});
  Dense c(1, 1);
  MXMUL(a.data(), b.data(), c.data(), 1, 3, 1, 1, 1, 3);
  EXPECT_EQ(c(1, 1), 1.0);
}

TEST(MatrixOps, ElementwiseSumDifferenceAndCopy) {
  const Dense a = padded(rows({{1, 2}, {3, 4}}), 3, 2);
  const Dense b = padded(rows({{10, 20}, {30, 40}}), 4, 2);
  Dense c(3, 3, kMarker);
  MXADD(a.data(), b.data(), c.data(), a.ld(), b.ld(), c.ld(), 2, 2);
  expectBlock(c, rows({{11, 22}, {33, 44}}));
  MXSUB(a.data(), b.data(), c.data(), a.ld(), b.ld(), c.ld(), 2, 2);
  expectBlock(c, rows({{-9, -18}, {-27, -36}}));

  // Accumulating into the first operand, as the yielding totals do.
  Dense total = padded(rows({{1}, {2}, {3}}), 5, 1);
  const Dense increment = padded(rows({{0.5}, {0.25}, {-3}}), 5, 1);
  MXADD(total.data(), increment.data(), total.data(), 5, 5, 5, 3, 1);
  expectBlock(total, rows({{1.5}, {2.25}, {0}}));

  Dense copy(3, 2, kMarker);
  MXCPY(b.data(), copy.data(), b.ld(), copy.ld(), 2, 1);  // first column only
  expectBlock(copy, rows({{10}, {30}}));
}

TEST(MatrixOps, FillsOnlyTheGivenExtents) {
  Dense a(4, 3, kMarker);
  MXINT(a.data(), 4, 2, 0.5);  // M is the leading dimension: two whole columns
  expectBlock(a, Dense(4, 2, 0.5));

  Matrix<int> n(3, 2, -1);
  NXINT(n.data(), 3, 1, 9);
  EXPECT_EQ(n(1, 1), 9);
  EXPECT_EQ(n(3, 1), 9);
  EXPECT_EQ(n(1, 2), -1);
}

}  // namespace
}  // namespace korvant
