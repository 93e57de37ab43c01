#include "output/zone_plot.hpp"

#include <algorithm>
#include <array>

#include "core/model_deck.hpp"

namespace korvant {

using namespace fmt;

void ZPLOT(const Matrix<double>& ZONES, int NZ, Writer& zoneFile) {
  // Only rows the table holds can be drawn; the header counts what is drawn.
  const int zones = std::clamp(NZ, 0, ZONES.rows());
  zoneFile.line("TITLE = \"Zone Layout\"");
  zoneFile.line("VARIABLES = \"X\", \"Y\", \"P\"");
  zoneFile.line("ZONE N=", I(5, 4 * zones), ", E=", I(5, 4 * zones), ", F=FEPOINT, ET=TRIANGLE");

  // Four corner nodes per zone, counter-clockwise from the lower left; every node of a
  // zone carries the same shade P, the sum of the centre's coordinates.
  for (int z = 1; z <= zones; ++z) {
    const double xo = ZONES(z, zone_col::XO), yo = ZONES(z, zone_col::YO);
    const double x1 = xo - ZONES(z, zone_col::A) / 2.0, x2 = xo + ZONES(z, zone_col::A) / 2.0;
    const double y1 = yo - ZONES(z, zone_col::B) / 2.0, y2 = yo + ZONES(z, zone_col::B) / 2.0;
    const double P = xo + yo;
    const std::array<std::array<double, 2>, 4> corners{{{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}}};
    for (const auto& [x, y] : corners)
      zoneFile.line(E(9, 3, x), X(2), E(9, 3, y), X(2), E(9, 3, P), X(2));
  }
  // Four triangles per zone over its nodes k..k+3, covering the rectangle by both diagonals.
  for (int z = 1; z <= zones; ++z) {
    const int k = 4 * (z - 1) + 1;
    const std::array<std::array<int, 3>, 4> triangles{
        {{k, k + 1, k + 2}, {k, k + 2, k + 3}, {k, k + 1, k + 3}, {k + 3, k + 2, k}}};
    for (const auto& [a, b, c] : triangles) zoneFile.line(X(2), I(7, a), I(7, b), I(7, c));
  }
}

}  // namespace korvant
