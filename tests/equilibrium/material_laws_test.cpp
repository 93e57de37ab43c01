// The uniaxial laws and the layer secants against their formulas worked by hand: Hognestad's
// parabola, the tension stiffening of Vecchio & Collins (1986) and of Collins & Mitchell
// (1991), elastic-plastic steel; the rotating-crack layer against the principal stresses it
// must carry, and the combined layer against the rule of mixtures of its volume fractions.
#include "equilibrium/layer_secant.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace korvant::equilibrium {
namespace {

const ConcreteLaw kConcrete{30000.0, 0.2, 3.0, 30.0};  // e0 = 2 XC / E = 0.002, ecr = 1e-4
const SteelLaw kSteel{200000.0, 500.0, 0.0};
constexpr double kBig = 1e9;  // a crack capacity that does not limit

TEST(MaterialLaws, StressesAgainstTheirFormulas) {
  using TS = TensionStiffening;
  const SteelLaw hardening{200000.0, 500.0, 0.01};
  struct Row {
    const char* what;
    double stress, expected;
  } rows[] = {
      {"parabola at e0 / 2: XC (1 - 1/4)", compressionStress(-0.001, kConcrete), -22.5},
      {"peak", compressionStress(-0.002, kConcrete), -30.0},
      {"flat to 0.0035", compressionStress(-0.0034, kConcrete), -30.0},
      {"crushed, no band", compressionStress(-0.0036, kConcrete), 0.0},
      {"elastic tension", tensionStress(5e-5, kConcrete, TS::None, 0.0), 1.5},
      {"at cracking", tensionStress(1e-4, kConcrete, TS::VecchioCollins, 0.0), 3.0},
      {"200: 3 / (1 + sqrt 0.2)", tensionStress(1e-3, kConcrete, TS::VecchioCollins, kBig),
       2.0729490},
      {"500: 3 / (1 + sqrt 0.5)", tensionStress(1e-3, kConcrete, TS::CollinsMitchell, kBig),
       1.7573593},
      {"none", tensionStress(1e-3, kConcrete, TS::None, kBig), 0.0},
      {"limited by the bars", tensionStress(1e-3, kConcrete, TS::VecchioCollins, 1.25), 1.25},
      {"bars yielded", tensionStress(1e-3, kConcrete, TS::VecchioCollins, 0.0), 0.0},
      {"steel elastic", steelStress(0.001, kSteel), 200.0},
      {"steel yielded", steelStress(-0.01, kSteel), -500.0},
      {"hardening 1 %: 500 + 2000 x 0.0075", steelStress(0.01, hardening), 515.0},
  };
  for (const Row& r : rows) EXPECT_NEAR(r.stress, r.expected, 1e-6) << r.what;
  EXPECT_DOUBLE_EQ(peakStrain({20000.0, 0.2, 2.0, 40.0}), kCrushingStrain);  // 2 XC / E = 0.004
  EXPECT_EQ(tensionStiffeningNamed("200"), TS::VecchioCollins);
  EXPECT_EQ(tensionStiffeningNamed("500"), TS::CollinsMitchell);
  EXPECT_EQ(tensionStiffeningNamed("none"), TS::None);
  EXPECT_EQ(tensionStiffeningNamed("vc"), std::nullopt);
}

// Crushing over a band of 400 mm, by hand: Gc = 8.8 sqrt 30 = 48.1996 N/mm (Nakamura & Higai
// 2001); past the peak strain the branch holds Gc / 400 = 0.120499 N/mm2, the flat part
// 30 x (0.0035 - 0.002) = 0.045 of it, so the fall from 30 to 0 spans 2 x 0.075499 / 30 =
// 0.0050333 past 0.0035: zero at 0.0085333, half of XC at 0.0060166.
TEST(MaterialLaws, CrushingSoftensOverItsBand) {
  ConcreteLaw banded = kConcrete;
  banded.band = 400.0;
  EXPECT_NEAR(crushedStrain(banded), 0.0085333, 1e-7);
  EXPECT_NEAR(compressionStress(-0.0060166, banded), -15.0, 1e-3);
  EXPECT_DOUBLE_EQ(compressionStress(-0.0034, banded), -30.0);
  EXPECT_DOUBLE_EQ(compressionStress(-0.0086, banded), 0.0);
  banded.band = 2000.0;  // the flat part already holds Gc / 2000 = 0.024: no fall
  EXPECT_DOUBLE_EQ(crushedStrain(banded), kCrushingStrain);
  // The same concrete in kN and m (stresses in kPa, the band 0.4 m) crushes at the same strain.
  const ConcreteLaw inKilonewtons{30e6, 0.2, 3e3, 30e3, 0.4, 1e-3};
  EXPECT_NEAR(crushedStrain(inKilonewtons), 0.0085333, 1e-7);
}

// Slab-axis strains of principal strains e1, e2 with e1 at `angle` from x (Mohr's circle).
Plane3 fromPrincipal(double e1, double e2, double angle) {
  const double m = 0.5 * (e1 + e2), r = 0.5 * (e1 - e2);
  return {m + r * std::cos(2.0 * angle), m - r * std::cos(2.0 * angle),
          2.0 * r * std::sin(2.0 * angle)};
}

SectionLayer concreteLayer(double nu = 0.2) {
  SectionLayer l;
  l.thick = 10.0;
  l.concrete = kConcrete;
  l.concrete.nu = nu;
  return l;
}

TEST(LayerSecant, UncrackedConcreteIsIsotropicInAnyDirection) {
  const LayerResponse r =
      layerSecant(concreteLayer(), {2e-5, 1e-5, 1e-5}, {}, {}, TensionStiffening::VecchioCollins);
  const double k = 30000.0 / (1.0 - 0.04);
  const double expected[3][3] = {{k, 0.2 * k, 0}, {0.2 * k, k, 0}, {0, 0, 30000.0 / 2.4}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(r.Q(i, j), expected[i][j], 1e-6 * k) << i << j;
  EXPECT_FALSE(r.memory.cracked);
}

// Cracked at 30 degrees: the principal stresses are the laws' (2.073 in tension with the bars'
// capacity 5 cos^2 30 above it, -22.5 in compression, no Poisson effect) and lie along the
// principal strains: sxx = m + r cos 60, syy = m - r cos 60, sxy = r sin 60.
TEST(LayerSecant, CrackedConcreteStaysCoaxial) {
  const double angle = std::numbers::pi / 6.0;
  const std::vector<CrossingBar> bars{{0.01, Direction::of(0.0), 500.0}};
  const LayerResponse r = layerSecant(concreteLayer(), fromPrincipal(1e-3, -1e-3, angle), {}, bars,
                                      TensionStiffening::VecchioCollins);
  const double m = 0.5 * (2.0729490 - 22.5), rad = 0.5 * (2.0729490 + 22.5);
  EXPECT_NEAR(r.stress[0], m + rad * 0.5, 1e-5);
  EXPECT_NEAR(r.stress[1], m - rad * 0.5, 1e-5);
  EXPECT_NEAR(r.stress[2], rad * std::sqrt(3.0) / 2.0, 1e-5);
  EXPECT_TRUE(r.memory.cracked);

  // Unloaded to half the strains: back along the smallest secants, not up the laws again.
  const LayerResponse back = layerSecant(concreteLayer(), fromPrincipal(5e-4, -5e-4, angle),
                                         r.memory, bars, TensionStiffening::VecchioCollins);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_NEAR(back.stress[i], 0.5 * r.stress[i], 1e-6);
}

TEST(LayerSecant, CrackCapacityOfTwoBarDirections) {
  // 0.005 x 100 cos^2 30 + 0.01 x 50 sin^2 30 = 0.375 + 0.125
  EXPECT_NEAR(crackCapacity({{0.005, Direction::of(0.0), 100.0},
                             {0.01, Direction::of(std::numbers::pi / 2), 50.0}},
                            Direction::of(std::numbers::pi / 6)),
              0.5, 1e-12);
}

// Bars at 90 degrees, their area as thick as the layer: 200 MPa at 1e-3 along them, nothing
// across them or in shear; 500 at 4e-3.
TEST(LayerSecant, BarsCarryAlongThemOnly) {
  SectionLayer bars;
  bars.material = LayerMaterial::Bars;
  bars.thick = bars.barArea = 0.5;
  bars.theta = 90.0;
  bars.steel = kSteel;
  const LayerResponse r = layerSecant(bars, {3e-4, 1e-3, 2e-4}, {}, {}, TensionStiffening::None);
  EXPECT_NEAR(r.stress[0], 0.0, 1e-9);
  EXPECT_NEAR(r.stress[1], 200.0, 1e-9);
  EXPECT_NEAR(r.stress[2], 0.0, 1e-9);
  EXPECT_FALSE(r.memory.yielded);
  const LayerResponse y = layerSecant(bars, {0.0, 4e-3, 0.0}, {}, {}, TensionStiffening::None);
  EXPECT_NEAR(y.stress[1], 500.0, 1e-9);
  EXPECT_TRUE(y.memory.yielded);
}

// 10 mm bars at 100 in a 20 mm layer: Vs = 25 pi / 2000. Uncracked and without Poisson's ratio,
// along the bars Vs Es + (1 - Vs) Ec, across them Es Ec / ((1 - Vs) Es + Vs Ec).
TEST(LayerSecant, CombinedLayerMixesByVolume) {
  SectionLayer l = concreteLayer(0.0);
  l.material = LayerMaterial::Combined;
  l.thick = 20.0;
  l.steel = kSteel;
  l.barRadius = 5.0;
  l.barSpacing = 100.0;
  l.barArea = 25.0 * std::numbers::pi / 100.0;
  const double vs = 25.0 * std::numbers::pi / 2000.0;
  const LayerResponse r = layerSecant(l, {1e-5, 0.0, 0.0}, {}, {}, TensionStiffening::None);
  EXPECT_NEAR(r.Q(0, 0), vs * 200000.0 + (1.0 - vs) * 30000.0, 1e-2);
  EXPECT_NEAR(r.Q(1, 1), 200000.0 * 30000.0 / ((1.0 - vs) * 200000.0 + vs * 30000.0), 1e-2);
  EXPECT_NEAR(r.barStress, 2.0, 1e-9);
}

}  // namespace
}  // namespace korvant::equilibrium
