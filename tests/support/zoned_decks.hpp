// Linear decks of plates made of rectangular zones of different concrete, one layer each, for
// the tests of the difference equations where the stiffness varies from zone to zone.
#pragma once

#include <string>
#include <vector>

namespace korvant::test {

// A zone rectangle [x0, x1] x [y0, y1] of one concrete layer of modulus E and thickness h.
struct PlateZone {
  double x0, x1, y0, y1;
  double E;
  double h;
};

struct ZonedPlateDeck {
  double A = 1000.0, B = 1000.0;  // along x (J) and y (I)
  int NUMA = 21, NUMB = 21;
  std::string layout = "SIMPLY SUPPORTED";  // a library layout
  bool coupled = false;
  double nu = 0.0;
  double pressure = 0.01;
  std::vector<PlateZone> zones;  // the first that holds a point gives its section

  std::string text() const;
};

}  // namespace korvant::test
