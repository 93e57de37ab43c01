#include "support/zoned_decks.hpp"

#include <sstream>

namespace korvant::test {

std::string ZonedPlateDeck::text() const {
  std::ostringstream d;
  d.precision(12);
  d << "*HEADING\nZONED PLATE\n*SOLUTION = LINEAR\n0.0\n";
  d << "*COUPLING = " << (coupled ? "YES" : "NO") << "\n";
  d << "*FILE PRINT\nD\n*BOUNDARY = LIBRARY\n" << layout << "\n";
  d << "*SLAB\n" << A << "  " << B << "\n*DISC\n" << NUMA << "  " << NUMB << "  1\n";
  d << "*DAMAGE LAW ID = 1\nCONCRETE\nCONSTANT MODULI\n2500.0  2500.0  2500.0\n"
       "1.0  0.0  0.0  0.0\n";
  for (std::size_t k = 0; k < zones.size(); ++k) {
    const PlateZone& z = zones[k];
    d << "*MATERIAL TYPE=CONCRETE, MATID=" << k + 1 << "\n" << z.E << "  " << nu
      << "  2.5  30.0  3.0\n";
    d << "*LAYER = " << k + 1 << "\n0  " << k + 1 << "  1  " << z.h << "  0.0\n";
  }
  for (std::size_t k = 0; k < zones.size(); ++k) {
    const PlateZone& z = zones[k];
    d << "*ZONE = " << k + 1 << "\n"
      << z.x1 - z.x0 << "  " << z.y1 - z.y0 << "  " << (z.x0 + z.x1) / 2 << "  "
      << (z.y0 + z.y1) / 2 << "\n" << k + 1 << "\n";
  }
  d << "*NORMAL PRESSURE\n1  UNIFORM LOAD  " << pressure << "\n*END\n";
  return d.str();
}

}  // namespace korvant::test
