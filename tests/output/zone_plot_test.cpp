#include "output/zone_plot.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/model_deck.hpp"
#include "support/test_support.hpp"

namespace korvant {
namespace {

std::vector<std::string> plot(const Matrix<double>& zones, int nz) {
  std::ostringstream out;
  Writer file(out);
  ZPLOT(zones, nz, file);
  return test::splitLines(out.str());
}

void setZone(Matrix<double>& zones, int z, double a, double b, double xo, double yo) {
  zones(z, zone_col::NUMBER) = z;
  zones(z, zone_col::A) = a;
  zones(z, zone_col::B) = b;
  zones(z, zone_col::XO) = xo;
  zones(z, zone_col::YO) = yo;
}

TEST(Zplot, TwoZonesAsRectanglesOfFourTriangles) {
  Matrix<double> zones(20, zone_col::COUNT);
  setZone(zones, 1, 4.0, 2.0, 2.0, 1.0);   // x 0..4, y 0..2, P = 3
  setZone(zones, 2, 1.0, 3.0, -0.5, 1.5);  // x -1..0, y 0..3, P = 1
  const std::vector<std::string> expected{
      "TITLE = \"Zone Layout\"",
      "VARIABLES = \"X\", \"Y\", \"P\"",
      "ZONE N=    8, E=    8, F=FEPOINT, ET=TRIANGLE",
      "0.000E+00  0.000E+00  0.300E+01",
      "0.400E+01  0.000E+00  0.300E+01",
      "0.400E+01  0.200E+01  0.300E+01",
      "0.000E+00  0.200E+01  0.300E+01",
      "-.100E+01  0.000E+00  0.100E+01",
      "0.000E+00  0.000E+00  0.100E+01",
      "0.000E+00  0.300E+01  0.100E+01",
      "-.100E+01  0.300E+01  0.100E+01",
      "        1      2      3",
      "        1      3      4",
      "        1      2      4",
      "        4      3      1",
      "        5      6      7",
      "        5      7      8",
      "        5      6      8",
      "        8      7      5",
  };
  EXPECT_EQ(plot(zones, 2), expected);
}

TEST(Zplot, NoZonesGivesTheHeaderOnly) {
  Matrix<double> zones(20, zone_col::COUNT);
  const std::vector<std::string> expected{
      "TITLE = \"Zone Layout\"",
      "VARIABLES = \"X\", \"Y\", \"P\"",
      "ZONE N=    0, E=    0, F=FEPOINT, ET=TRIANGLE",
  };
  EXPECT_EQ(plot(zones, 0), expected);
}

TEST(Zplot, CountBeyondTheTableDrawsOnlyTheRowsHeld) {
  Matrix<double> zones(1, zone_col::COUNT);
  setZone(zones, 1, 0.0, 0.0, 1.0, 1.0);  // zero extent: four coincident nodes
  const std::vector<std::string> lines = plot(zones, 3);
  ASSERT_EQ(lines.size(), 3u + 4u + 4u);
  EXPECT_EQ(lines[2], "ZONE N=    4, E=    4, F=FEPOINT, ET=TRIANGLE");
  for (int k = 3; k < 7; ++k) EXPECT_EQ(lines[k], "0.100E+01  0.100E+01  0.200E+01");
}

}  // namespace
}  // namespace korvant
