#include "equilibrium/material_laws.hpp"

#include <algorithm>
#include <cmath>

namespace korvant::equilibrium {

std::optional<TensionStiffening> tensionStiffeningNamed(std::string_view name) {
  if (name == "200") return TensionStiffening::VecchioCollins;
  if (name == "500") return TensionStiffening::CollinsMitchell;
  if (name == "none") return TensionStiffening::None;
  return std::nullopt;
}

double peakStrain(const ConcreteLaw& c) {
  return std::min(2.0 * c.XC / c.E, kCrushingStrain);
}

double crushingEnergy(const ConcreteLaw& c) {
  return 8.8 * std::sqrt(c.XC * c.MPa);
}

double crushedStrain(const ConcreteLaw& c) {
  if (c.band <= 0.0) return kCrushingStrain;
  const double flat = c.XC * (kCrushingStrain - peakStrain(c));
  const double fall = std::max(crushingEnergy(c) / c.band - flat, 0.0);
  return kCrushingStrain + 2.0 * fall / c.XC;
}

double crackingStrain(const ConcreteLaw& c) {
  return c.XT / c.E;
}

double compressionStress(double e, const ConcreteLaw& c) {
  const double strain = -e;
  if (strain <= 0.0) return 0.0;
  if (strain > kCrushingStrain) {
    const double end = crushedStrain(c);
    return strain >= end ? 0.0 : -c.XC * (end - strain) / (end - kCrushingStrain);
  }
  const double e0 = peakStrain(c);
  if (strain >= e0) return -c.XC;
  const double r = strain / e0;
  return -c.XC * (2.0 * r - r * r);
}

double tensionStress(double e, const ConcreteLaw& c, TensionStiffening ts, double capacity) {
  if (e <= 0.0) return 0.0;
  if (e <= crackingStrain(c)) return c.E * e;
  double stiffening = 0.0;
  switch (ts) {
    case TensionStiffening::VecchioCollins:
      stiffening = c.XT / (1.0 + std::sqrt(200.0 * e));
      break;
    case TensionStiffening::CollinsMitchell:
      stiffening = c.XT / (1.0 + std::sqrt(500.0 * e));
      break;
    case TensionStiffening::None:
      break;
  }
  return std::clamp(stiffening, 0.0, std::max(capacity, 0.0));
}

double steelStress(double e, const SteelLaw& s) {
  const double ey = s.fy / s.Es;
  const double strain = std::fabs(e);
  const double stress = strain <= ey ? s.Es * strain : s.fy + s.hardening * s.Es * (strain - ey);
  return std::copysign(std::max(stress, 0.0), e);
}

double secantOf(double stress, double e, double initial) {
  return e != 0.0 ? stress / e : initial;
}

}  // namespace korvant::equilibrium
