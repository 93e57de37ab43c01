#include "input/plausibility.hpp"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace korvant {
namespace {

std::string number(double value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

// The slab thickness of zone row z: its layers' THICK added up.
double zoneThickness(const ModelDeck& m, int z) {
  double total = 0.0;
  for (int k = 1; k <= kZoneLayers && m.ZLAY(z, k) != 0; ++k)
    for (int row = 1; row <= m.NLAYER; ++row)
      if (wholeValue(m.LAYERS(row, layer_col::LAYID)) == m.ZLAY(z, k))
        total += m.LAYERS(row, layer_col::THICK);
  return total;
}

bool steelOnly(const ModelDeck& m, int row) {
  return wholeValue(m.LAYERS(row, layer_col::SID)) != 0 &&
         wholeValue(m.LAYERS(row, layer_col::CID)) == 0;
}

}  // namespace

void adviseConcreteModulus(double id, double E, double XC, ReportNotes& notes) {
  if (!(E > 0.0 && XC > 0.0)) return;
  const double ratio = E / XC;
  if (ratio >= 200.0 && ratio <= 3000.0) return;
  notes.notice(NoticeKind::Advice,
               "concrete material " + number(id) + ": E = " + number(E) + " is " + number(ratio) +
                   " times its compressive strength XC = " + number(XC) +
                   "; concrete has 200 to 3,000 times: check the units of E and XC");
}

void adviseTolerance(double CRKTOL, ReportNotes& notes) {
  if (!(CRKTOL > 1.0)) return;
  notes.notice(NoticeKind::Advice, "the cracking tolerance CRKTOL = " + number(CRKTOL) +
                                       " is above 1: it is a fraction (0.05 for 5 %)");
}

void adviseSteelLayers(const ModelDeck& m, ReportNotes& notes) {
  for (int z = 1; z <= m.NZONE; ++z) {
    const double slab = zoneThickness(m, z);
    for (int k = 1; k <= kZoneLayers && m.ZLAY(z, k) != 0; ++k)
      for (int row = 1; row <= m.NLAYER; ++row) {
        if (wholeValue(m.LAYERS(row, layer_col::LAYID)) != m.ZLAY(z, k)) continue;
        const double thick = m.LAYERS(row, layer_col::THICK);
        if (!steelOnly(m, row) || !(thick > slab / 10.0)) continue;
        notes.notice(NoticeKind::Advice,
                     "steel layer " + std::to_string(m.ZLAY(z, k)) + " of zone " +
                         number(m.ZONES(z, zone_col::NUMBER)) + ": THICK = " + number(thick) +
                         " is more than a tenth of the slab (" + number(slab) +
                         "); smeared bars are a millimetre or two thick: are THICK and THETA "
                         "swapped?",
                     0);
      }
  }
}

void adviseDeflection(double w, double A, double B, ReportNotes& notes) {
  const double span = std::min(A, B);
  if (!(std::abs(w) > span / 10.0)) return;
  notes.notice(NoticeKind::Advice,
               "the linear deflection w = " + number(w) +
                   " is more than a tenth of the shorter "
                   "span (" +
                   number(span) + "): check the units of the pressure and the moduli",
               0);
}

}  // namespace korvant
