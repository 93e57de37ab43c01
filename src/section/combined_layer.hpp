// A combined layer is concrete with its bars smeared in: steel of modulus Es and Poisson
// ratio MUs fills the volume fraction Vs of the layer, concrete (Ec, MUc) the rest. The set-up
// builds it from the materials, the failure tests rebuild it from the degraded phase moduli.
#pragma once

namespace korvant {

// The cross-section area of a bar of `radius`, with the caller's value of pi (core/pi.hpp).
inline double barArea(double radius, double pi) {
  return pi * radius * radius;
}

struct CombinedModuli {
  double E1 = 0.0, E2 = 0.0, MU = 0.0;
};

// The rule of mixtures (Jones, Mechanics of Composite Materials, 2nd ed. 1999, sec. 3.2):
// along the bars the phases strain together, E1 = Vs Es + Vc Ec (Voigt 1889); across them they
// carry the same stress, 1 / E2 = Vs / Es + Vc / Ec (Reuss 1929), 0 when neither phase is
// stiff; the major Poisson ratio mixes by volume. Vc = 1 - Vs.
inline CombinedModuli combinedModuli(double Vs, double Es, double Ec, double MUs, double MUc) {
  const double Vc = 1.0 - Vs;
  const double across = Vc * Es + Vs * Ec;
  return {Vs * Es + Vc * Ec, across != 0.0 ? Es * Ec / across : 0.0, Vs * MUs + Vc * MUc};
}

}  // namespace korvant
