#include "core/grid.hpp"

#include <gtest/gtest.h>

using namespace korvant;

namespace {

// The full system size counts every point of the grid extended by two fictitious rows
// beyond each edge, once per unknown of a point.
TEST(Grid, SystemSizeCountsTheExtendedGrid) {
  struct Case {
    int NUMA, NUMB;
    Coupling option;
    int expected;
  };
  const Case cases[] = {
      {7, 5, Coupling::COUPLED, 297},  // 3 * 11 * 9
      {7, 5, Coupling::W_ONLY, 99},    // 11 * 9
      {31, 31, Coupling::W_ONLY, 1225},    {31, 31, Coupling::COUPLED, 3675},
      {7, 5, static_cast<Coupling>(3), 0},  // no such option: no unknowns
  };
  for (const Case& c : cases) {
    EXPECT_EQ(extendedUnknowns(c.NUMA, c.NUMB, c.option), c.expected)
        << c.NUMA << " x " << c.NUMB << " option " << codeNumber(c.option);
  }
}

// Point numbers of a 7 x 5 grid (NUMB = 5 points per column, 9 in the extended grid),
// worked by hand: real n = (J - 1) * 5 + I, extended n' = (J' - 1) * 9 + I'; the coupled
// solution numbers the u entry of point n as 3n - 2.
TEST(Grid, EquationAndUnknownNumbers) {
  struct Case {
    int I, J;
    Numbering mode;
    Coupling option;
    int expected;
  };
  const Case cases[] = {
      {1, 1, Numbering::REAL, Coupling::W_ONLY, 1},
      {5, 1, Numbering::REAL, Coupling::W_ONLY, 5},
      {1, 2, Numbering::REAL, Coupling::W_ONLY, 6},
      {3, 7, Numbering::REAL, Coupling::W_ONLY, 33},
      {5, 7, Numbering::REAL, Coupling::W_ONLY, 35},  // the last real point
      {1, 1, Numbering::REAL, Coupling::COUPLED, 1},
      {3, 7, Numbering::REAL, Coupling::COUPLED, 97},   // 3 * 33 - 2
      {5, 7, Numbering::REAL, Coupling::COUPLED, 103},  // w of the last point is 105
      {1, 1, Numbering::EXTENDED, Coupling::W_ONLY, 1},
      {3, 3, Numbering::EXTENDED, Coupling::W_ONLY, 21},   // real point (1, 1)
      {9, 11, Numbering::EXTENDED, Coupling::W_ONLY, 99},  // the last unknown: NEQ
      {3, 3, Numbering::EXTENDED, Coupling::COUPLED, 61},
      {9, 11, Numbering::EXTENDED, Coupling::COUPLED, 295},  // its w is 297: NEQ
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EQN(c.I, c.J, 7, 5, c.mode, c.option), c.expected)
        << "(" << c.I << ", " << c.J << ") mode " << codeNumber(c.mode) << " option "
        << codeNumber(c.option);
  }
}

TEST(Grid, SpacingsAndCoordinates) {
  const DifferenceGrid g{.A = 6.0, .B = 2.0, .NUMA = 7, .NUMB = 5};
  EXPECT_DOUBLE_EQ(g.DX(), 1.0);
  EXPECT_DOUBLE_EQ(g.DY(), 0.5);
  EXPECT_DOUBLE_EQ(g.x(1), 0.0);
  EXPECT_DOUBLE_EQ(g.x(7), 6.0);
  EXPECT_DOUBLE_EQ(g.y(5), 2.0);
  EXPECT_DOUBLE_EQ(g.y(2), 0.5);
}

}  // namespace
