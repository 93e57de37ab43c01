// The units the labels of the result files name. The deck's numbers are used as they are,
// in whatever consistent units it was written; `--units` only says which they are, so that
// the summary, the pictures and the VTK files can label them. Without it every label reads
// "deck units".
#pragma once

#include <string>

namespace korvant {

struct UnitLabels {
  std::string system;    // "N-mm", "kN-m" or "deck units"
  std::string length;    // lengths, deflections, crack widths
  std::string force;     // membrane forces per unit width
  std::string moment;    // moments per unit width
  std::string stress;    // stresses and moduli
  std::string pressure;  // the pressure on the slab
  // The unit of stress in MPa: 1 in N-mm, 0.001 in kN-m; deck units are taken as N and mm.
  double MPa = 1.0;
};

// The labels of `system` ("N-mm", "kN-m"); any other text, the empty one included, gives
// "deck units" throughout.
UnitLabels unitLabels(const std::string& system);

// True for a system that unitLabels knows by name.
bool knownUnits(const std::string& system);

}  // namespace korvant
