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
  std::string layout = "SIMPLY SUPPORTED";  // a library layout, unless `userPoints` are given
  std::vector<std::string> userPoints;      // rows "I J CONDITION LOCATION" of a user layout
  bool coupled = false;
  double nu = 0.0;
  double pressure = 0.01;
  std::string print = "D";       // the *FILE PRINT request
  std::vector<PlateZone> zones;  // the first that holds a point gives its section
  // With a zone number, `pressure` acts on that zone alone (LIVE), the others carry 0 (DEAD).
  int loadedZone = 0;

  std::string text() const;
};

// A square slab of side a on n x n points, supported at its four corners only (a user layout:
// SIMPLE corners, normal to both edges, and FREE edges, coded FE), of one concrete layer of modulus
// E, Poisson's ratio nu and thickness h, under a point load P at its centre (the pressure P / (DX
// DY) on the centre point's zone). `softOutside` divides E outside the central square of side a
// / 5.
ZonedPlateDeck cornerSupportedSlab(int n, double P, double softOutside = 1.0);

}  // namespace korvant::test
