#include "output/units.hpp"

namespace korvant {

bool knownUnits(const std::string& system) {
  return system == "N-mm" || system == "kN-m";
}

UnitLabels unitLabels(const std::string& system) {
  if (system == "N-mm") return {system, "mm", "N/mm", "N mm/mm", "N/mm2", "N/mm2"};
  if (system == "kN-m") return {system, "m", "kN/m", "kN m/m", "kN/m2", "kN/m2", 1e-3};
  const std::string deck = "deck units";
  return {deck, deck, deck, deck, deck, deck};
}

}  // namespace korvant
