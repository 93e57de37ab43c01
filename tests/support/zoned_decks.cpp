#include "support/zoned_decks.hpp"

#include <sstream>

namespace korvant::test {

std::string ZonedPlateDeck::text() const {
  std::ostringstream d;
  d.precision(12);
  d << "*HEADING\nZONED PLATE\n*SOLUTION = LINEAR\n0.0\n";
  d << "*COUPLING = " << (coupled ? "YES" : "NO") << "\n";
  d << "*FILE PRINT\n" << print << "\n";
  if (userPoints.empty()) {
    d << "*BOUNDARY = LIBRARY\n" << layout << "\n";
  } else {
    d << "*BOUNDARY = USER\n";
    for (const std::string& row : userPoints) d << row << "\n";
  }
  d << "*SLAB\n" << A << "  " << B << "\n*DISC\n" << NUMA << "  " << NUMB << "  1\n";
  d << "*DAMAGE LAW ID = 1\nCONCRETE\nCONSTANT MODULI\n2500.0  2500.0  2500.0\n"
       "1.0  0.0  0.0  0.0\n";
  for (std::size_t k = 0; k < zones.size(); ++k) {
    const PlateZone& z = zones[k];
    d << "*MATERIAL TYPE=CONCRETE, MATID=" << k + 1 << "\n"
      << z.E << "  " << nu << "  2.5  30.0  3.0\n";
    d << "*LAYER = " << k + 1 << "\n0  " << k + 1 << "  1  " << z.h << "  0.0\n";
  }
  for (std::size_t k = 0; k < zones.size(); ++k) {
    const PlateZone& z = zones[k];
    d << "*ZONE = " << k + 1 << "\n"
      << z.x1 - z.x0 << "  " << z.y1 - z.y0 << "  " << (z.x0 + z.x1) / 2 << "  "
      << (z.y0 + z.y1) / 2 << "\n"
      << k + 1 << "\n";
  }
  d << "*NORMAL PRESSURE\n";
  if (loadedZone == 0) d << "1  UNIFORM LOAD  " << pressure << "\n";
  for (std::size_t k = 1; loadedZone > 0 && k <= zones.size(); ++k)
    d << "1  " << (static_cast<int>(k) == loadedZone ? "LIVE  " : "DEAD  ")
      << (static_cast<int>(k) == loadedZone ? pressure : 0.0) << "  " << k << "\n";
  d << "*END\n";
  return d.str();
}

ZonedPlateDeck cornerSupportedSlab(int n, double P, double softOutside) {
  ZonedPlateDeck d;
  d.NUMA = d.NUMB = n;
  d.nu = 0.15;
  const double a = d.A, h = a / (n - 1), E = 30000.0, t = 20.0;
  for (int I : {1, n})
    for (int J : {1, n})
      for (int loc : {I == 1 ? 1 : 3, J == 1 ? 2 : 4})
        d.userPoints.push_back(std::to_string(I) + " " + std::to_string(J) + " SIMPLE " +
                               std::to_string(loc));
  for (int k = 2; k < n; ++k) {
    d.userPoints.push_back("1 " + std::to_string(k) + " FE 1");
    d.userPoints.push_back(std::to_string(n) + " " + std::to_string(k) + " FE 3");
    d.userPoints.push_back(std::to_string(k) + " 1 FE 2");
    d.userPoints.push_back(std::to_string(k) + " " + std::to_string(n) + " FE 4");
  }
  d.zones = {{a / 2 - h / 2, a / 2 + h / 2, a / 2 - h / 2, a / 2 + h / 2, E, t},
             {0.4 * a, 0.6 * a, 0.4 * a, 0.6 * a, E, t},
             {0.0, a, 0.0, a, E / softOutside, t}};
  d.loadedZone = 1;
  d.pressure = P / (h * h);
  return d;
}

}  // namespace korvant::test
