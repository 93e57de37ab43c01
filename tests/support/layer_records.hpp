// The layer records of the unit tests: a record built from the fields a test names, the
// elastic layer of the stiffness tests, and the materials and layers of the failure tests.
#pragma once

#include "section/layer_table.hpp"

namespace korvant::test {

// The fields of a LayerRecord by name, for designated initializers; a field not named is 0.
struct LayerFields {
  LayerKind KIND = LayerKind::NONE;
  double DLAW = 0.0, E1 = 0.0, E2 = 0.0, MU = 0.0, THICK = 0.0, THETA = 0.0;
  double XT = 0.0, XC = 0.0, S = 0.0, Y = 0.0;
  double RADIUS = 0.0, SPACING = 0.0, ES = 0.0, EC = 0.0, MUS = 0.0, MUC = 0.0;
};

inline LayerRecord layerRecord(const LayerFields& f) {
  using namespace layer_field;
  LayerRecord r;
  r.setKind(f.KIND);
  r(DLAW) = f.DLAW;
  r(E1) = f.E1;
  r(E2) = f.E2;
  r(MU) = f.MU;
  r(THICK) = f.THICK;
  r(THETA) = f.THETA;
  r(XT) = f.XT;
  r(XC) = f.XC;
  r(S) = f.S;
  r(Y) = f.Y;
  r(RADIUS) = f.RADIUS;
  r(SPACING) = f.SPACING;
  r(ES) = f.ES;
  r(EC) = f.EC;
  r(MUS) = f.MUS;
  r(MUC) = f.MUC;
  return r;
}

// A concrete layer as the section stiffness reads it: moduli E1 along and E2 across its
// direction THETA (degrees from x), Poisson ratio MU, thickness THICK.
inline LayerRecord elasticLayer(double E1, double E2, double MU, double THICK, double THETA) {
  return layerRecord(
      {.KIND = LayerKind::CONCRETE, .E1 = E1, .E2 = E2, .MU = MU, .THICK = THICK, .THETA = THETA});
}

// A record whose field f holds base + f, so that every field can be told apart.
inline LayerRecord numberedLayer(double base) {
  LayerRecord r;
  for (int f = 1; f <= layer_field::COUNT; ++f) r(f) = base + f;
  return r;
}

// The materials and layers of the failure tests (DEGRAD and the RESET before a re-attempt).
namespace failure_layers {

// Concrete: Ec = 30000, MU = 0.2, XT = 3, XC = 30, S = 6; its shear modulus is
// 30000 / (2 * 1.2) = 12500, so the strain limits are 1e-4 (tension), 1e-3 (compression) and
// 6 / 12500 = 4.8e-4 (shear).
inline constexpr double kEc = 30000.0, kMUc = 0.2, kXT = 3.0, kXC = 30.0, kS = 6.0;
// Steel: Es = 200000, MU = 0.3, Y = 400. A steel-only layer carries its bars smeared: E1 = 5000,
// E2 = 50.
inline constexpr double kEs = 200000.0, kMUs = 0.3, kY = 400.0;
inline constexpr double kSteelE1 = 5000.0, kSteelE2 = 50.0;

// The damage laws the layers name.
enum { kConcreteLaw = 11, kSteelLaw = 12, kCombinedLaw = 13 };

// A combined layer of thickness 0.05 with bars of radius 0.01 at spacing 0.2: the bar area per
// cell is 3.1415927410125732 * 1e-4 (pi as the program has always rounded it), the cell
// 0.05 * 0.2 = 0.01, so Vs = 0.031415927410125732 and 1 - Vs = 0.968584072589874268.
inline constexpr double kVs = 0.031415927410125732;
// Mixed Poisson ratio: 0.0314159274 * 0.3 + 0.9685840726 * 0.2 = 0.2031415927.
inline constexpr double kMixedMU = 0.20314159274101257;
// Its intact moduli, mixed from (Es, Ec) = (200000, 30000) by E1 = Vs Es + (1 - Vs) Ec and
// E2 = Es Ec / ((1 - Vs) Es + Vs Ec): E1 = 6283.18548 + 29057.52218 = 35340.70766;
// E2 = 6e9 / (193716.81452 + 942.47782) = 6e9 / 194659.29234 = 30823.08544.
inline constexpr double kCombinedE1 = 35340.707659721375, kCombinedE2 = 30823.08544259764;

// A concrete layer 0.1 thick of law kConcreteLaw at THETA degrees.
inline LayerRecord concreteLayer(double THETA = 0.0) {
  return layerRecord({.KIND = LayerKind::CONCRETE,
                      .DLAW = kConcreteLaw,
                      .E1 = kEc,
                      .E2 = kEc,
                      .MU = kMUc,
                      .THICK = 0.1,
                      .THETA = THETA,
                      .XT = kXT,
                      .XC = kXC,
                      .S = kS});
}

// A steel layer 0.01 thick of law kSteelLaw at THETA degrees.
inline LayerRecord steelLayer(double THETA = 0.0) {
  return layerRecord({.KIND = LayerKind::STEEL,
                      .DLAW = kSteelLaw,
                      .E1 = kSteelE1,
                      .E2 = kSteelE2,
                      .MU = kMUs,
                      .THICK = 0.01,
                      .THETA = THETA,
                      .Y = kY});
}

// The intact combined layer above, of law kCombinedLaw at THETA degrees, with bars of RADIUS.
inline LayerRecord combinedLayer(double THETA = 0.0, double RADIUS = 0.01) {
  return layerRecord({.KIND = LayerKind::COMBINED,
                      .DLAW = kCombinedLaw,
                      .E1 = kCombinedE1,
                      .E2 = kCombinedE2,
                      .MU = kMixedMU,
                      .THICK = 0.05,
                      .THETA = THETA,
                      .XT = kXT,
                      .XC = kXC,
                      .S = kS,
                      .Y = kY,
                      .RADIUS = RADIUS,
                      .SPACING = 0.2,
                      .ES = kEs,
                      .EC = kEc,
                      .MUS = kMUs,
                      .MUC = kMUc});
}

}  // namespace failure_layers

}  // namespace korvant::test
