#include "section/degradation.hpp"

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/layer_records.hpp"

namespace korvant {
namespace {

using namespace layer_field;

// The materials and layers of these tests: test::failure_layers.
using namespace test::failure_layers;

// Post-failure moduli of the damage laws.
constexpr double kTension = 3000.0, kCompression = 6000.0, kShear = 1500.0;
constexpr double kSteelYielding = 100.0, kCombinedYielding = 2000.0;

// Moduli of the combined layer mixed from (Es, Ec), worked out by hand:
//   E1 = Vs Es + (1 - Vs) Ec, E2 = Es Ec / ((1 - Vs) Es + Vs Ec).
struct Mixed {
  double Es, Ec, E1, E2;
};
// (200000, 30000): the intact layer, kCombinedE1 and kCombinedE2.
constexpr Mixed kIntact{kEs, kEc, kCombinedE1, kCombinedE2};
// (200000, 3000): E1 = 6283.18548 + 2905.75222 = 9188.93770;
//                 E2 = 6e8 / (193716.81452 + 94.24778) = 3095.79852.
constexpr Mixed kCracked{kEs, 3000.0, 9188.93769979477, 3095.79852088435};
// (2000, 3000): E1 = 62.83185 + 2905.75222 = 2968.58407;
//               E2 = 6e6 / (1937.16815 + 94.24778) = 2953.60488.
constexpr Mixed kCrackedYielded{2000.0, 3000.0, 2968.5840725898743, 2953.6048817188635};
// (2000, 30000): E1 = 62.83185 + 29057.52218 = 29120.35403;
//                E2 = 6e7 / (1937.16815 + 942.47782) = 20835.89465.
constexpr Mixed kYielded{2000.0, kEc, 29120.35403251648, 20835.894647296904};
// (200000, 22500): E1 = 6283.18548 + 21793.14163 = 28076.32712;
//                  E2 = 4.5e9 / (193716.81452 + 706.85834) = 23145.32965.
constexpr Mixed kReduced{kEs, 22500.0, 28076.327115297318, 23145.329646501403};

// The recovered values of one layer, in slab axes; s* are the steel-phase stresses.
struct Loads {
  double SXX = 0.0, SYY = 0.0, SXY = 0.0;
  double EXX = 0.0, EYY = 0.0, EXY = 0.0;
  double sSXX = 0.0, sSYY = 0.0, sSXY = 0.0;
};

// A layer whose concrete indices are all `fic` (a failed layer has them equal) and whose
// yield index is `fy`.
LayerFailure indices(double fic, double fy = 0.0) {
  return LayerFailure{{fic, fic, fic, fy}};
}

// The centre of a 3 x 3 grid over a 1 x 1 slab: (I, J) = (2, 2), X = Y = 0.5, record 5.
constexpr int kI = 2, kJ = 2;

// A run of DEGRAD over a 3 x 3 grid (DX = DY = 0.5) whose points carry no layers unless a
// test gives them some, so the points under test are the only ones that change.
struct DegradJob {
  ModelDeck model;
  WorkingFiles files;
  DegradationBuffers buffers;
  FailureCounts counts;

  DegradJob() {
    model.A = 1.0;
    model.B = 1.0;
    model.NUMA = 3;
    model.NUMB = 3;
    model.NOBFAIL = false;
    model.SLABMODEL = SlabLayout::SIMPLY_SUPPORTED;
    model.DLFORM = LawForm::POST_FAILURE_MODULI;
    model.CRKDENS = CrackDensity::STRESS_BASED;
    model.PRINTREQ = "D     ";
    model.GRAPHREQ = "      ";
    law(1, kConcreteLaw, {kTension, kCompression, kShear, 0.0});
    law(2, kSteelLaw, {kSteelYielding, 0.0, 0.0, 0.0});
    law(3, kCombinedLaw, {kCombinedYielding, kTension, kCompression, kShear});
    model.NLAW = 3;
  }

  // Row `row` of the damage-law table: identifier, the four slots, the reduction equation.
  void law(int row, double id, std::array<double, 4> slots, double a = 1.0, double b = 0.0,
           double c = 0.0, double d = 0.0) {
    model.DLAWS(row, law_col::LAWID) = id;
    for (int s = 0; s < 4; ++s) model.DLAWS(row, law_col::YIELDING + s) = slots[s];
    model.DLAWS(row, law_col::a) = a;
    model.DLAWS(row, law_col::b) = b;
    model.DLAWS(row, law_col::c) = c;
    model.DLAWS(row, law_col::d) = d;
  }
  // The same reduction equation for every law.
  void reduction(double a, double b, double c = 0.0, double d = 0.0) {
    for (int row = 1; row <= model.NLAW; ++row) {
      model.DLAWS(row, law_col::a) = a;
      model.DLAWS(row, law_col::b) = b;
      model.DLAWS(row, law_col::c) = c;
      model.DLAWS(row, law_col::d) = d;
    }
  }

  // Point (I, J) with its current and initial layer tables, the results of the last recovery
  // and the stored failure indices, one entry per layer.
  void point(int I, int J, const std::vector<LayerRecord>& current,
             const std::vector<LayerRecord>& initial, const std::vector<Loads>& loads,
             const std::vector<LayerFailure>& state) {
    const int n = pointRecord(I, J, model.NUMB);
    PointLayerTable table;
    table.MU = 0.25;
    table.layers = current;
    writeLayerTable(files.currentLayers, n, table);
    table.layers = initial;
    writeLayerTable(files.initialLayers, n, table);
    LayerResults results;
    for (std::size_t k = 0; k < loads.size(); ++k) {
      LayerResult r;
      const Loads& l = loads[k];
      r(result_field::LAYER) = static_cast<double>(k + 1);
      r(result_field::EXX) = l.EXX;
      r(result_field::EYY) = l.EYY;
      r(result_field::EXY) = l.EXY;
      r(result_field::SXX) = l.SXX;
      r(result_field::SYY) = l.SYY;
      r(result_field::SXY) = l.SXY;
      r(result_field::STEEL_SXX) = l.sSXX;
      r(result_field::STEEL_SYY) = l.sSYY;
      r(result_field::STEEL_SXY) = l.sSXY;
      results.layers.push_back(r);
    }
    writeLayerResults(files.layerResults, n, results);
    LayerState s;
    s.layers = state;
    writeLayerState(files.layerState, n, s);
  }
  // One layer at the centre point, its initial copy the same as its current one.
  void centre(const LayerRecord& layer, const Loads& loads, const LayerFailure& stored = {}) {
    point(kI, kJ, {layer}, {layer}, {loads}, {stored});
  }

  std::string run(SolutionStage STAGE) {
    writeDamageLaws(files.damageLaws, model.DLAWS, model.NLAW);
    std::ostringstream out;
    Writer report(out);
    DEGRAD(model, STAGE, files, buffers, counts, report);
    return out.str();
  }

  LayerRecord layer(int I, int J, int k) const {
    PointLayerTable table;
    readLayerTable(files.currentLayers, pointRecord(I, J, model.NUMB), table);
    return table.layers.at(static_cast<std::size_t>(k - 1));
  }
  LayerFailure state(int I, int J, int k) const {
    LayerState s;
    readLayerState(files.layerState, pointRecord(I, J, model.NUMB), s);
    return s.layers.at(static_cast<std::size_t>(k - 1));
  }
  double failureRatio(int I, int J) const {
    return files.failureRatio.read(pointRecord(I, J, model.NUMB))[0];
  }
};

void expectIndices(const LayerFailure& got, double FICT, double FICC, double FICS, double FY) {
  EXPECT_NEAR(got(failure_index::FICT), FICT, 1e-12);
  EXPECT_NEAR(got(failure_index::FICC), FICC, 1e-12);
  EXPECT_NEAR(got(failure_index::FICS), FICS, 1e-12);
  EXPECT_NEAR(got(failure_index::FY), FY, 1e-12);
}

// Stress-based tests of a concrete layer in the cracking stage with the post-failure moduli
// (TENSION 3000, COMPRESSION 6000, SHEAR 1500). Ratios against XT = 3, XC = 30, S = 6.
TEST(Degrad, ConcreteLayerFailsByItsGoverningModeAndIsThenFailedInAllThreeSenses) {
  struct Case {
    const char* name;
    LayerFailure stored;
    double currentE;  // E1 = E2 of the current record
    Loads loads;
    double index;  // FICT = FICC = FICS after the call
    double E;      // E1 = E2 after the call
    int CINC;
  };
  const LayerFailure fresh = indices(0.0), failed = indices(2.0);
  const LayerFailure unequal{{2.0, 0.5, 2.0, 0.0}};  // FICT, FICC, FICS, FY
  const std::vector<Case> cases{
      // RX = 4.5/3 = 1.5, RY = 1/3, RS = 0: mode 1, N = 4.5 >= 0 and 1.5 >= 1: tension.
      {"new tension", fresh, kEc, {.SXX = 4.5, .SYY = 1.0}, 1.5, kTension, 1},
      // RX = 45/30 = 1.5, RY = 3/30: mode 1, N < 0 and 1.5 >= 1: compression; equalised, the
      // tension index reaches 1.5 as well and the layer counts as cracked.
      {"new compression", fresh, kEc, {.SXX = -45.0, .SYY = -3.0}, 1.5, kCompression, 1},
      // RX = 3/3 = 1, RY = 60/30 = 2: mode 2 governs although x alone would crack.
      {"new compression in y", fresh, kEc, {.SXX = 3.0, .SYY = -60.0}, 2.0, kCompression, 1},
      // RS = 9/6 = 1.5 over RX = RY = 1/3: mode 3, shear.
      {"new shear", fresh, kEc, {.SXX = 1.0, .SYY = 1.0, .SXY = 9.0}, 1.5, kShear, 1},
      // RX = 6/3 = 2 = RS = 12/6: the shear rule comes last and wins the tie.
      {"shear wins a tie", fresh, kEc, {.SXX = 6.0, .SXY = 12.0}, 2.0, kShear, 1},
      // RX = 6/3 = RY = 6/3 = 2: mode 2 wins the tie, FICT = |SYY/XT| = 2.
      {"biaxial tension", fresh, kEc, {.SXX = 6.0, .SYY = 6.0}, 2.0, kTension, 1},
      // RX = 30/30 = 1 (compression) ties RY = 3/3 = 1 (tension): mode 2, N = SYY = 3 >= 0,
      // ratio exactly 1 fails in tension (mode 1 would have failed in compression).
      {"y wins a tie at 1", fresh, kEc, {.SXX = -30.0, .SYY = 3.0}, 1.0, kTension, 1},
      // RX = 2.4/3 = 0.8, RY = 24/30 = 0.8, RS = 4.8/6 = 0.8: mode 3, 0.8 < 1: no change.
      {"no failure", fresh, kEc, {.SXX = 2.4, .SYY = -24.0, .SXY = 4.8}, 0.0, kEc, 0},
      // RX = 29/30: mode 1, no branch applies.
      {"below XC", fresh, kEc, {.SXX = -29.0}, 0.0, kEc, 0},
      // Failed before (indices equal): |SYY| = 75 > |SXX| = 3 gives mode 2; FICC >= 1 takes the
      // compression branch: FICC = max(2, 75/30 = 2.5) = 2.5.
      {"compression goes on", failed, kTension, {.SXX = 3.0, .SYY = -75.0}, 2.5, kCompression, 0},
      // Failed before, tension along x: mode 1, still the compression branch,
      // FICC = max(2, 9/30) = 2, and the COMPRESSION modulus replaces the TENSION one.
      {"failed, in tension", failed, kTension, {.SXX = 9.0, .SYY = -3.0}, 2.0, kCompression, 0},
      // Failed before: FICC = max(2, 90/30 = 3) = 3, tension measured against XC.
      {"failed, grows by N/XC", failed, kTension, {.SXX = 90.0}, 3.0, kCompression, 0},
      // Failed before, pure shear: |SYY| <= |SXX| (0 <= 0) gives mode 1, N = 0:
      // FICC = max(2, 0) = 2, the shear ratio 60/6 = 10 is not looked at.
      {"failed, in shear", failed, kTension, {.SXY = 60.0}, 2.0, kCompression, 0},
      // Unequal indices FICT = FICS = 2 > FICC = 0.5: no mode rule holds (FICT > FICC, and
      // neither FICT nor FICS exceeds the other), mode 0 keeps the modulus; equalisation
      // still lifts all three to 2.
      {"no governing mode", unequal, 4500.0, {.SYY = 9.0}, 2.0, 4500.0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DegradJob job;
    LayerRecord current = concreteLayer();
    current(E1) = current(E2) = c.currentE;
    job.point(kI, kJ, {current}, {concreteLayer()}, {c.loads}, {c.stored});
    job.run(SolutionStage::CRACKING);
    expectIndices(job.state(kI, kJ, 1), c.index, c.index, c.index, 0.0);
    const LayerRecord after = job.layer(kI, kJ, 1);
    EXPECT_DOUBLE_EQ(after(E1), c.E);
    EXPECT_DOUBLE_EQ(after(E2), c.E);
    EXPECT_DOUBLE_EQ(after(MU), kMUc);
    EXPECT_EQ(job.counts.CINC, c.CINC);
    EXPECT_EQ(job.counts.YINC, 0);
  }
}

// The modulus of a concrete layer failing at index r, TENSION P = 3000 and COMPRESSION
// P = 6000 against E0 = 30000 (floors 0.1 and 0.2), K = a + b(r - 1) + c(r^2 - 1) + d(r^3 - 1).
TEST(Degrad, DamageLawFormGivesTheFailedModulus) {
  constexpr auto MODULI = LawForm::POST_FAILURE_MODULI, EQUATION = LawForm::EQUATION;
  struct Case {
    const char* name;
    LawForm DLFORM;
    double a, b, c, d;
    double stored, currentE;
    Loads loads;
    double E;
  };
  const std::vector<Case> cases{
      // r = 1.5 would give K = 0.75, but the post-failure form takes P at once.
      {"post-failure modulus", MODULI, 1.0, -0.5, 0.0, 0.0, 0.0, kEc, {.SXX = 4.5}, kTension},
      // K = 1: the initial modulus is kept.
      {"K = 1", EQUATION, 1.0, 0.0, 0.0, 0.0, 0.0, kEc, {.SXX = 4.5}, kEc},
      // K = 1.2 >= 1: E0, not 1.2 * E0.
      {"K above 1", EQUATION, 1.2, 0.0, 0.0, 0.0, 0.0, kEc, {.SXX = 4.5}, kEc},
      // r = 1.5: K = 1 - 0.5 * 0.5 = 0.75, 0.75 * 30000 = 22500.
      {"K between floor and 1", EQUATION, 1.0, -0.5, 0.0, 0.0, 0.0, kEc, {.SXX = 4.5}, 22500.0},
      // r = 6/3 = 2: K = 1 - 0.1 * 1 - 0.05 * 3 - 0.01 * 7 = 0.68, 0.68 * 30000 = 20400.
      {"all four coefficients", EQUATION, 1.0, -0.1, -0.05, -0.01, 0.0, kEc, {.SXX = 6.0}, 20400.0},
      // r = 8.1/3 = 2.7: K = 1 - 0.5 * 1.7 = 0.15 > 0.1: 0.15 * 30000 = 4500.
      {"K just above the floor", EQUATION, 1.0, -0.5, 0.0, 0.0, 0.0, kEc, {.SXX = 8.1}, 4500.0},
      // r = 8.7/3 = 2.9: K = 0.05 <= 0.1: P, not 1500.
      {"K below the floor", EQUATION, 1.0, -0.5, 0.0, 0.0, 0.0, kEc, {.SXX = 8.7}, kTension},
      // r = 9/3 = 3: K = 0 <= 0.1: P.
      {"K zero", EQUATION, 1.0, -0.5, 0.0, 0.0, 0.0, kEc, {.SXX = 9.0}, kTension},
      // Failed before at 1.5 with E = 22500; compression branch FICC = max(1.5, 60/30) = 2:
      // K = 0.5 of the initial 30000 = 15000 (not 0.5 of the current 22500).
      {"E0 is the initial E", EQUATION, 1.0, -0.5, 0.0, 0.0, 1.5, 22500.0, {.SXX = -60.0}, 15000.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DegradJob job;
    job.model.DLFORM = c.DLFORM;
    job.reduction(c.a, c.b, c.c, c.d);
    LayerRecord current = concreteLayer();
    current(E1) = current(E2) = c.currentE;
    job.point(kI, kJ, {current}, {concreteLayer()}, {c.loads}, {indices(c.stored)});
    job.run(SolutionStage::CRACKING);
    const LayerRecord after = job.layer(kI, kJ, 1);
    EXPECT_NEAR(after(E1), c.E, 1e-8);
    EXPECT_NEAR(after(E2), c.E, 1e-8);
  }
}

// Strain-based model: the concrete limits become 3/30000 = 1e-4 in tension, 30/30000 = 1e-3 in
// compression and 6 / (30000 / 2.4) = 4.8e-4 in shear, tested against the strains.
TEST(Degrad, CrackDensityModelChoosesStrainsOrStresses) {
  constexpr auto STRAIN = CrackDensity::STRAIN_BASED, STRESS = CrackDensity::STRESS_BASED;
  struct Case {
    const char* name;
    CrackDensity CRKDENS;
    double currentE;
    Loads loads;
    double index;
    double E;
  };
  const std::vector<Case> cases{
      // 1.5e-4 / 1e-4 = 1.5; the zero stress does not matter.
      {"strain above the tensile limit", STRAIN, kEc, {.EXX = 1.5e-4}, 1.5, kTension},
      // 1e-4 / 1e-4 = 1: fails.
      {"strain at the tensile limit", STRAIN, kEc, {.EXX = 1e-4}, 1.0, kTension},
      // 0.5: no failure although SXX = 4.5 is above XT.
      {"stress ignored", STRAIN, kEc, {.SXX = 4.5, .EXX = 0.5e-4}, 0.0, kEc},
      // |-1.5e-3| / 1e-3 = 1.5 in y: compression.
      {"compressive strain", STRAIN, kEc, {.EYY = -1.5e-3}, 1.5, kCompression},
      // 9.6e-4 / 4.8e-4 = 2: shear, the shear modulus from E1_0 and MU_0.
      {"shear strain", STRAIN, kEc, {.EXY = 9.6e-4}, 2.0, kShear},
      // The limit comes from the initial modulus 30000, not the current 15000.
      {"limit from the initial modulus", STRAIN, 15000.0, {.EXX = 1.5e-4}, 1.5, kTension},
      // Stress-based: the strain far above the limit is ignored, the stress 1 < 3 holds.
      {"stress model ignores strains", STRESS, kEc, {.SXX = 1.0, .EXX = 3e-4}, 0.0, kEc},
      // 4.5 / 3 = 1.5.
      {"stress model", STRESS, kEc, {.SXX = 4.5, .EXX = 1e-5}, 1.5, kTension},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DegradJob job;
    job.model.CRKDENS = c.CRKDENS;
    LayerRecord current = concreteLayer();
    current(E1) = current(E2) = c.currentE;
    job.point(kI, kJ, {current}, {concreteLayer()}, {c.loads}, {indices(0.0)});
    job.run(SolutionStage::CRACKING);
    const LayerFailure got = job.state(kI, kJ, 1);
    EXPECT_NEAR(got(failure_index::FICT), c.index, 1e-9);
    EXPECT_NEAR(got(failure_index::FICC), c.index, 1e-9);
    EXPECT_NEAR(got(failure_index::FICS), c.index, 1e-9);
    EXPECT_DOUBLE_EQ(job.layer(kI, kJ, 1)(E1), c.E);
  }

  // A steel layer still yields on its stress in the strain-based model: 500 / 400 = 1.25,
  // while a strain far beyond any limit with a stress of 100 leaves it elastic.
  for (const auto& [loads, FY] :
       {std::pair{Loads{.SXX = 500.0}, 1.25}, std::pair{Loads{.SXX = 100.0, .EXX = 0.1}, 0.0}}) {
    DegradJob job;
    job.model.CRKDENS = CrackDensity::STRAIN_BASED;
    job.centre(steelLayer(), loads);
    job.run(SolutionStage::COMBINED);
    EXPECT_NEAR(job.state(kI, kJ, 1)(failure_index::FY), FY, 1e-12);
  }
}

// Layers are tested in their own axes. With s = sin, c = cos of the layer angle:
// SXX' = c^2 SXX + s^2 SYY + 2 s c SXY, SYY' = s^2 SXX + c^2 SYY - 2 s c SXY,
// EXX' = c^2 EXX + s^2 EYY + s c EXY. At 90 degrees xx and yy swap; at 45 degrees a pure
// shear SXY becomes SXX' = SXY, SYY' = -SXY and a pure shear strain EXY becomes EXX' = EXY / 2.
// The angle passes through a single-precision degree, so the values hold to about 1e-15.
TEST(Degrad, LayersAreTestedInTheirOwnAxes) {
  using enum SolutionStage;
  constexpr auto STRAIN = CrackDensity::STRAIN_BASED, STRESS = CrackDensity::STRESS_BASED;
  struct Case {
    const char* name;
    LayerRecord layer;
    SolutionStage STAGE;
    CrackDensity CRKDENS;
    Loads loads;
    LayerFailure expected;
  };
  const LayerFailure fresh = indices(0.0);
  const LayerRecord concrete45 = concreteLayer(45.0), steel90 = steelLayer(90.0),
                    steel45 = steelLayer(45.0), combined90 = combinedLayer(90.0);
  const std::vector<Case> cases{
      // Unrotated the shear ratio is 4.5/6 = 0.75; in layer axes SXX' = 4.5, RX = 1.5: tension.
      {"concrete 45, shear stress", concrete45, CRACKING, STRESS, {.SXY = 4.5}, indices(1.5)},
      // EXX' = 3e-4 / 2 = 1.5e-4 against the limit 1e-4: tension 1.5.
      {"concrete 45, shear strain", concrete45, CRACKING, STRAIN, {.EXY = 3e-4}, indices(1.5)},
      // Steel along y: SXX' = SYY = 500, 500/400 = 1.25.
      {"steel 90, SYY",
       steel90,
       COMBINED,
       STRESS,
       {.SXX = 100.0, .SYY = 500.0},
       indices(0.0, 1.25)},
      // SXX' = SYY = 100 < 400.
      {"steel 90, SXX", steel90, COMBINED, STRESS, {.SXX = 500.0, .SYY = 100.0}, fresh},
      // SXX' = 2 * 0.5 * 500 = 500.
      {"steel 45, shear", steel45, YIELDING, STRESS, {.SXY = 500.0}, indices(0.0, 1.25)},
      // The steel phase rotates with its own stresses: SXX_s' = SYY_s = 600, 600/400 = 1.5.
      {"combined 90, steel", combined90, YIELDING, STRESS, {.sSYY = 600.0}, indices(0.0, 1.5)},
      // The concrete phase stresses do not reach the steel test.
      {"combined 90, concrete", combined90, YIELDING, STRESS, {.SXX = 500.0, .SYY = 500.0}, fresh},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DegradJob job;
    job.model.CRKDENS = c.CRKDENS;
    job.centre(c.layer, c.loads);
    job.run(c.STAGE);
    const LayerFailure got = job.state(kI, kJ, 1);
    for (int index = 1; index <= failure_index::COUNT; ++index)
      EXPECT_NEAR(got(index), c.expected(index), 1e-9) << "index " << index;
  }
}

TEST(Degrad, RecompositionMixesSteelAndConcreteByTheBarVolume) {
  struct Case {
    const char* name;
    double radius;
    double Es, Ec;
    double E1, E2, MU;
  };
  const std::vector<Case> cases{
      {"intact", 0.01, kIntact.Es, kIntact.Ec, kIntact.E1, kIntact.E2, kMixedMU},
      {"cracked", 0.01, kCracked.Es, kCracked.Ec, kCracked.E1, kCracked.E2, kMixedMU},
      {"yielded", 0.01, kYielded.Es, kYielded.Ec, kYielded.E1, kYielded.E2, kMixedMU},
      // pi * 0.1^2 = 0.0314 > 0.05 * 0.2 = 0.01: Vs = 1, E1 = Es, E2 = Es Ec / Ec = Es,
      // MU = MUs.
      {"bars fill the layer", 0.1, kEs, 3000.0, kEs, kEs, kMUs},
      // No bars: Vs = 0, E1 = Ec, E2 = Es Ec / Es = Ec, MU = MUc.
      {"no bars", 0.0, kEs, 3000.0, 3000.0, 3000.0, kMUc},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LayerRecord layer = combinedLayer(0.0, c.radius);
    layer(ES) = 123.0;  // the modulus fields are not the ones mixed in, and stay
    layer(EC) = 456.0;
    recomposeCombinedLayer(layer, c.Es, c.Ec);
    EXPECT_NEAR(layer(E1), c.E1, 1e-7);
    EXPECT_NEAR(layer(E2), c.E2, 1e-7);
    EXPECT_NEAR(layer(MU), c.MU, 1e-15);
    EXPECT_EQ(layer(EC), 456.0);
    EXPECT_EQ(layer(ES), 123.0);
  }
}

// A combined layer (law: YIELDING 2000, TENSION 3000, COMPRESSION 6000, SHEAR 1500) cracks
// in stages 1 and 2, yields in stages 2 and 3, and is mixed again from the resulting Es and Ec
// with Vs = 0.0314159274 each time.
TEST(Degrad, CombinedLayerCracksAndYieldsByStageAndIsMixedAgain) {
  using enum SolutionStage;
  constexpr auto MODULI = LawForm::POST_FAILURE_MODULI, EQUATION = LawForm::EQUATION;
  struct Case {
    const char* name;
    SolutionStage STAGE;
    LawForm DLFORM;
    LayerFailure stored;
    double currentEc;
    double SXX, steelSXX;  // concrete phase, steel phase
    double FIC, FY;
    Mixed moduli;  // the Es, Ec mixed and the moduli expected
    int CINC, YINC;
  };
  const LayerFailure fresh = indices(0.0), cracked = indices(1.5), yielded = indices(1.5, 1.25);
  const std::vector<Case> cases{
      // 4.5/3 = 1.5 cracks the concrete (Ec 3000); 500/400 would yield, but not in stage 1.
      {"stage 1 cracks", CRACKING, MODULI, fresh, kEc, 4.5, 500.0, 1.5, 0.0, kCracked, 1, 0},
      // Nothing fails: mixed again from the unchanged fields.
      {"stage 1 intact", CRACKING, MODULI, fresh, kEc, 1.0, 500.0, 0.0, 0.0, kIntact, 0, 0},
      // Both phases fail: Es 2000, Ec 3000; the layer counts once as cracked, once as yielded.
      {"stage 2 both", COMBINED, MODULI, fresh, kEc, 4.5, 500.0, 1.5, 1.25, kCrackedYielded, 1, 1},
      // Equation form K = 1 - 0.5 (1.5 - 1) = 0.75 of Ec_0 = 30000 (not of the mixed E1):
      // Ec = 22500; steel 100 < 400.
      {"stage 2 reduces Ec", COMBINED, EQUATION, fresh, kEc, 4.5, 100.0, 1.5, 0.0, kReduced, 1, 0},
      // Yielding only: the concrete stress 100 is not tested, Ec stays at the current 3000.
      {"stage 3 yields", YIELDING, MODULI, cracked, 3000.0, 100.0, 500.0, 1.5, 1.25,
       kCrackedYielded, 0, 1},
      // Yielded before: FY = max(1.25, 100/400) = 1.25 and Es is YIELDING again.
      {"stage 3 stays yielded", YIELDING, MODULI, yielded, 3000.0, 0.0, 100.0, 1.5, 1.25,
       kCrackedYielded, 0, 0},
      // 399/400 < 1: Es from the field, Ec the current one.
      {"stage 3 below Y", YIELDING, MODULI, cracked, 3000.0, 0.0, -399.0, 1.5, 0.0, kCracked, 0, 0},
      // Stage 3 on intact concrete: the current Ec 30000, steel -400 / 400 = 1 yields.
      {"stage 3 at Y", YIELDING, MODULI, fresh, kEc, 90.0, -400.0, 0.0, 1.0, kYielded, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DegradJob job;
    job.model.DLFORM = c.DLFORM;
    job.reduction(1.0, -0.5);
    LayerRecord current = combinedLayer();
    current(EC) = c.currentEc;
    current(E1) = current(E2) = 1.0;  // stale moduli: the mixture replaces them
    job.point(kI, kJ, {current}, {combinedLayer()}, {{.SXX = c.SXX, .sSXX = c.steelSXX}},
              {c.stored});
    job.run(c.STAGE);
    expectIndices(job.state(kI, kJ, 1), c.FIC, c.FIC, c.FIC, c.FY);
    const LayerRecord after = job.layer(kI, kJ, 1);
    EXPECT_NEAR(after(E1), c.moduli.E1, 1e-7);
    EXPECT_NEAR(after(E2), c.moduli.E2, 1e-7);
    EXPECT_NEAR(after(MU), kMixedMU, 1e-15);
    EXPECT_DOUBLE_EQ(after(EC), c.moduli.Ec);
    EXPECT_DOUBLE_EQ(after(ES), kEs);  // the yielding modulus is never stored in the layer
    EXPECT_EQ(job.counts.CINC, c.CINC);
    EXPECT_EQ(job.counts.YINC, c.YINC);
  }
}

// Steel-only layer (YIELDING 100, Y = 400) and the stages that test each kind.
TEST(Degrad, SteelLayerYieldsOnlyInTheYieldingStages) {
  using enum SolutionStage;
  struct Case {
    const char* name;
    SolutionStage STAGE;
    double storedFY;
    double SXX;
    double FY;
    double E1, E2, MU;
    int YINC;
  };
  const std::vector<Case> cases{
      {"stage 1 never yields", CRACKING, 0.0, 500.0, 0.0, kSteelE1, kSteelE2, kMUs, 0},
      // 500/400 = 1.25.
      {"stage 2 yields", COMBINED, 0.0, 500.0, 1.25, kSteelYielding, 0.0, 0.0, 1},
      // |-400| >= 400: index 1.
      {"stage 3 yields at exactly Y", YIELDING, 0.0, -400.0, 1.0, kSteelYielding, 0.0, 0.0, 1},
      // 399.9/400 < 1.
      {"stage 3 below Y", YIELDING, 0.0, 399.9, 0.0, kSteelE1, kSteelE2, kMUs, 0},
      // Yielded before: max(1.5, 200/400) = 1.5, the yielding moduli again, not counted again.
      {"stays yielded", COMBINED, 1.5, 200.0, 1.5, kSteelYielding, 0.0, 0.0, 0},
      // Yielded before: max(1.25, 600/400 = 1.5) = 1.5.
      {"yield index grows", YIELDING, 1.25, -600.0, 1.5, kSteelYielding, 0.0, 0.0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DegradJob job;
    job.centre(steelLayer(), {.SXX = c.SXX}, indices(0.0, c.storedFY));
    job.run(c.STAGE);
    expectIndices(job.state(kI, kJ, 1), 0.0, 0.0, 0.0, c.FY);
    const LayerRecord after = job.layer(kI, kJ, 1);
    EXPECT_DOUBLE_EQ(after(E1), c.E1);
    EXPECT_DOUBLE_EQ(after(E2), c.E2);
    EXPECT_DOUBLE_EQ(after(MU), c.MU);
    EXPECT_EQ(job.counts.YINC, c.YINC);
    EXPECT_EQ(job.counts.CINC, 0);
  }

  // A concrete layer is not tested in stage 3: SXX = 9 is three times XT.
  DegradJob job;
  job.centre(concreteLayer(), {.SXX = 9.0});
  job.run(SolutionStage::YIELDING);
  expectIndices(job.state(kI, kJ, 1), 0.0, 0.0, 0.0, 0.0);
  EXPECT_DOUBLE_EQ(job.layer(kI, kJ, 1)(E1), kEc);
  EXPECT_EQ(job.counts.CINC, 0);
}

// Three layers at the centre in stage 2: concrete (4.5/3 = 1.5, cracks), steel (500/400 = 1.25,
// yields), combined (both phases fail, counted twice): CINC += 2, YINC += 2. A second call
// under lower stresses fails nothing new and lowers no index; a third call raises them.
TEST(Degrad, CountsAddNewFailuresAndIndicesNeverDecrease) {
  DegradJob job;
  job.counts = {5, 7};  // the caller's running counts are added to, not reset
  const std::vector<LayerRecord> layers{concreteLayer(), steelLayer(), combinedLayer()};
  job.point(kI, kJ, layers, layers, {{.SXX = 4.5}, {.SXX = 500.0}, {.SXX = 4.5, .sSXX = 500.0}},
            {indices(0.0), indices(0.0), indices(0.0)});
  job.run(SolutionStage::COMBINED);
  EXPECT_EQ(job.counts.CINC, 7);
  EXPECT_EQ(job.counts.YINC, 9);
  expectIndices(job.state(kI, kJ, 1), 1.5, 1.5, 1.5, 0.0);
  expectIndices(job.state(kI, kJ, 2), 0.0, 0.0, 0.0, 1.25);
  expectIndices(job.state(kI, kJ, 3), 1.5, 1.5, 1.5, 1.25);

  // Lower stresses: the failed concrete takes the compression branch, max(1.5, 0.3/30) = 1.5;
  // the steel max(1.25, 100/400) = 1.25.
  job.counts = {};
  job.point(kI, kJ, {job.layer(kI, kJ, 1), job.layer(kI, kJ, 2), job.layer(kI, kJ, 3)}, layers,
            {{.SXX = 0.3}, {.SXX = 100.0}, {.SXX = 0.3, .sSXX = 100.0}},
            {job.state(kI, kJ, 1), job.state(kI, kJ, 2), job.state(kI, kJ, 3)});
  job.run(SolutionStage::COMBINED);
  EXPECT_EQ(job.counts.CINC, 0);
  EXPECT_EQ(job.counts.YINC, 0);
  expectIndices(job.state(kI, kJ, 1), 1.5, 1.5, 1.5, 0.0);
  expectIndices(job.state(kI, kJ, 2), 0.0, 0.0, 0.0, 1.25);
  expectIndices(job.state(kI, kJ, 3), 1.5, 1.5, 1.5, 1.25);

  // Higher stresses, read straight from the records the last call wrote: SYY = -90 gives
  // mode 2, FICC = 90/30 = 3; steel 800/400 = 2.
  LayerResults results;
  results.layers.resize(3);
  results.layers[0](result_field::SYY) = -90.0;
  results.layers[1](result_field::SXX) = 800.0;
  results.layers[2](result_field::SYY) = -90.0;
  results.layers[2](result_field::STEEL_SXX) = 800.0;
  writeLayerResults(job.files.layerResults, pointRecord(kI, kJ, 3), results);
  job.run(SolutionStage::COMBINED);
  EXPECT_EQ(job.counts.CINC, 0);
  EXPECT_EQ(job.counts.YINC, 0);
  expectIndices(job.state(kI, kJ, 1), 3.0, 3.0, 3.0, 0.0);
  expectIndices(job.state(kI, kJ, 2), 0.0, 0.0, 0.0, 2.0);
  expectIndices(job.state(kI, kJ, 3), 3.0, 3.0, 3.0, 2.0);
}

TEST(Degrad, DiagnosticLinesNameThePointTheLayerAndTheFailure) {
  const std::string place = "DIAG:(X,Y) = 0.500E+00 0.500E+00";
  const std::string tension = place + ", CONC. LAYER  1 IS FAILING IN TENSION\n";
  const std::string compression = place + ", CONC. LAYER  1 IS FAILING IN COMPRESSION\n";
  const std::string shear = place + ", CONC. LAYER  1 IS FAILING IN SHEAR\n";
  const std::string combined = place + ", CONC.+STEEL LAYER  1 IS FAILING IN TENSION\n";
  const std::string indexLine = "DIAG: X,Y,FICC,FICT,FICS = 0.500E+00  0.500E+00  ";
  struct Case {
    const char* name;
    std::vector<int> codes;
    LayerRecord layer;
    Loads loads;
    LayerFailure stored;
    std::string report;
  };
  const std::vector<int> none, code1{1}, code2{2}, code3{3}, codes12{1, 2}, codes23{2, 3},
      codes123{1, 2, 3};
  const LayerRecord concrete = concreteLayer();
  // 4.5/3 = 1.5 in tension, 45/30 = 1.5 in compression, 9/6 = 1.5 in shear, 3/3 = 1.
  const Loads tensile{.SXX = 4.5}, compressive{.SXX = -45.0}, shearing{.SXY = 9.0},
      atStrength{.SXX = 3.0}, low{.SXX = 1.0};
  const LayerFailure fresh{}, failed = indices(1.5);
  const std::vector<Case> cases{
      // Only the index of the failing sense moved before the three were equalised.
      {"tension", code2, concrete, tensile, fresh, tension},
      {"compression", code2, concrete, compressive, fresh, compression},
      {"shear", code2, concrete, shearing, fresh, shear},
      // Code 1 names compression failures only.
      {"code 1, tension", code1, concrete, tensile, fresh, ""},
      {"code 1, compression", code1, concrete, compressive, fresh, compression},
      {"codes 1 and 2, compression", codes12, concrete, compressive, fresh,
       compression + compression},
      // Index exactly 1 fails, but the line needs an index above 1.
      {"ratio exactly 1", codes12, concrete, atStrength, fresh, ""},
      {"combined layer", code2, combinedLayer(), tensile, fresh, combined},
      // Code 3: the new FICC, FICT, FICS of a layer unfailed before, as F5.3.
      {"code 3, failing", code3, concrete, tensile, fresh, indexLine + "0.000  1.500  0.000\n"},
      {"code 3, intact", code3, concrete, low, fresh, indexLine + "0.000  0.000  0.000\n"},
      // Code 3 is silent for a layer that failed before; so is code 2 for a continuing one
      // (max(1.5, 90/30) = 3).
      {"failed before", codes23, concrete, {.SXX = -90.0}, failed, ""},
      {"no request", none, concrete, compressive, fresh, ""},
      // Steel prints nothing whatever it does: 500/400 yields.
      {"steel", codes123, steelLayer(), {.SXX = 500.0}, fresh, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DegradJob job;
    for (std::size_t k = 0; k < c.codes.size(); ++k) job.model.DIAG[k + 5] = c.codes[k];
    job.centre(c.layer, c.loads, c.stored);
    EXPECT_EQ(job.run(SolutionStage::COMBINED), c.report);
  }

  // The second layer of point (I, J) = (3, 2): X = (2 - 1) * 1/2 = 0.5, Y = (3 - 1) * 1/2 = 1.
  DegradJob job;
  job.model.DIAG[0] = 2;
  job.point(3, 2, {concreteLayer(), concreteLayer()}, {concreteLayer(), concreteLayer()},
            {{.SXX = 1.0}, {.SYY = 7.5}}, {{}, {}});
  EXPECT_EQ(job.run(SolutionStage::CRACKING),
            "DIAG:(X,Y) = 0.500E+00 0.100E+01, CONC. LAYER  2 IS FAILING IN TENSION\n");
}

// The failed-layer ratio of a point: layers failed in one call over NL, kept at its largest.
TEST(Degrad, FailedLayerRatioIsKeptWhenRequestedAndNeverDecreases) {
  struct Case {
    const char* name;
    std::string PRINTREQ, GRAPHREQ;
    double stored;  // -1: never written
    std::vector<Loads> loads;
    bool written;
    double ratio;
  };
  const Loads cracks{.SXX = 4.5}, holds{.SXX = 1.0};
  const std::vector<Case> cases{
      // One of two layers cracks: 1/2.
      {"print request", "D    F", "      ", -1.0, {cracks, holds}, true, 0.5},
      {"graphics request", "D     ", "     F", -1.0, {cracks, holds}, true, 0.5},
      {"not requested", "D     ", "      ", -1.0, {cracks, holds}, false, 0.0},
      {"F in another position", "F     ", "F     ", -1.0, {cracks, holds}, false, 0.0},
      // Both fail: 2/2 = 1 over the stored 0.5.
      {"raised", "D    F", "      ", 0.5, {cracks, cracks}, true, 1.0},
      // Nothing fails: 0 does not replace the stored 0.5.
      {"not lowered", "D    F", "      ", 0.5, {holds, holds}, true, 0.5},
      // 1/2 does not replace 0.75.
      {"smaller ratio kept out", "D    F", "     F", 0.75, {cracks, holds}, true, 0.75},
      // 0 until a layer fails.
      {"no failure yet", "D    F", "      ", -1.0, {holds, holds}, false, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DegradJob job;
    job.model.PRINTREQ = c.PRINTREQ;
    job.model.GRAPHREQ = c.GRAPHREQ;
    const int n = pointRecord(kI, kJ, 3);
    if (c.stored >= 0.0) job.files.failureRatio.write(n, std::vector<double>{c.stored});
    job.point(kI, kJ, {concreteLayer(), concreteLayer()}, {concreteLayer(), concreteLayer()},
              c.loads, {{}, {}});
    job.run(SolutionStage::CRACKING);
    EXPECT_EQ(job.files.failureRatio.written(n), c.written);
    EXPECT_DOUBLE_EQ(job.failureRatio(kI, kJ), c.ratio);
  }

  // A combined layer that cracks and yields counts twice towards its point: with a concrete
  // layer that holds, 2 failures over 2 layers = 1.
  DegradJob job;
  job.model.PRINTREQ = "D    F";
  job.point(kI, kJ, {combinedLayer(), concreteLayer()}, {combinedLayer(), concreteLayer()},
            {{.SXX = 4.5, .sSXX = 500.0}, holds}, {{}, {}});
  job.run(SolutionStage::COMBINED);
  EXPECT_DOUBLE_EQ(job.failureRatio(kI, kJ), 1.0);
}

// Regions where failure is not predicted, for a grid of NUMB = 15 points along B (I) and
// NUMA = 11 along A (J). With NCOL = 0: near low is index <= 2, near high index >= N - 1
// (I >= 14, J >= 10), central |index - (N + 1)/2| <= 1 (I in 7..9 about 8, J in 5..7 about 6).
// With NCOL = 1 on a 15 x 15 grid: near low <= 3, near high >= 13, central 6..10 about 8.
TEST(Degrad, NobfailExcludesTheEdgesAndTheSupportRegionsOfTheLayout) {
  struct Case {
    SlabLayout SLABMODEL;
    int NCOL;
    int NUMA;
    int I, J;
    bool excluded;
  };
  using enum SlabLayout;
  const std::vector<Case> cases{
      // Outer edges, every layout.
      {SIMPLY_SUPPORTED, 0, 11, 1, 6, true},
      {SIMPLY_SUPPORTED, 0, 11, 15, 6, true},
      {SIMPLY_SUPPORTED, 0, 11, 8, 1, true},
      {SIMPLY_SUPPORTED, 0, 11, 8, 11, true},
      {SIMPLY_SUPPORTED, 0, 11, 2, 11, true},
      {SIMPLY_SUPPORTED, 0, 11, 2, 2, false},
      {SIMPLY_SUPPORTED, 0, 11, 8, 6, false},
      {SIMPLY_SUPPORTED, 0, 11, 14, 10, false},
      {CLAMPED_PLATE, 0, 11, 2, 2, false},
      {SFSF, 0, 11, 8, 6, false},
      {NINE_COLUMN, 0, 11, 1, 3, true},
      // 9-column: I in {2, 7, 8, 9, 14} with J in {2, 5, 6, 7, 10}.
      {NINE_COLUMN, 0, 11, 2, 2, true},
      {NINE_COLUMN, 0, 11, 2, 6, true},
      {NINE_COLUMN, 0, 11, 2, 10, true},
      {NINE_COLUMN, 0, 11, 8, 2, true},
      {NINE_COLUMN, 0, 11, 8, 6, true},
      {NINE_COLUMN, 0, 11, 7, 5, true},
      {NINE_COLUMN, 0, 11, 9, 7, true},
      {NINE_COLUMN, 0, 11, 14, 6, true},
      {NINE_COLUMN, 0, 11, 14, 10, true},
      {NINE_COLUMN, 0, 11, 3, 3, false},
      {NINE_COLUMN, 0, 11, 2, 9, false},
      {NINE_COLUMN, 0, 11, 8, 4, false},
      {NINE_COLUMN, 0, 11, 8, 8, false},
      {NINE_COLUMN, 0, 11, 6, 6, false},  // I = 6 is central only about the other direction
      {NINE_COLUMN, 0, 11, 10, 6, false},
      {NINE_COLUMN, 0, 11, 13, 6, false},
      {NINE_COLUMN, 1, 15, 3, 3, true},
      {NINE_COLUMN, 1, 15, 3, 13, true},
      {NINE_COLUMN, 1, 15, 6, 10, true},
      {NINE_COLUMN, 1, 15, 10, 6, true},
      {NINE_COLUMN, 1, 15, 4, 3, false},
      {NINE_COLUMN, 1, 15, 5, 8, false},
      {NINE_COLUMN, 1, 15, 11, 8, false},
      {NINE_COLUMN, 1, 15, 8, 12, false},
      // 4-column: the corners only.
      {FOUR_COLUMN_FREE, 0, 11, 2, 2, true},
      {FOUR_COLUMN_FREE, 0, 11, 14, 10, true},
      {FOUR_COLUMN_FREE, 0, 11, 2, 10, true},
      {FOUR_COLUMN_FREE, 0, 11, 14, 2, true},
      {FOUR_COLUMN_FREE, 0, 11, 8, 6, false},
      {FOUR_COLUMN_FREE, 0, 11, 2, 6, false},
      {FOUR_COLUMN_FREE, 0, 11, 8, 2, false},
      {FOUR_COLUMN_FREE, 0, 11, 3, 3, false},
      {FOUR_COLUMN_FREE, 0, 11, 13, 9, false},
      {FOUR_COLUMN_SYM, 0, 11, 14, 2, true},
      {FOUR_COLUMN_SYM, 0, 11, 8, 6, false},
      {FOUR_COLUMN_SYM, 1, 15, 3, 13, true},
      {FOUR_COLUMN_SYM, 1, 15, 3, 4, false},
      {FOUR_COLUMN_SYM, 1, 15, 12, 13, false},
      // User-defined: the table below.
      {USER_DEFINED, 0, 11, 5, 5, true},
      {USER_DEFINED, 0, 11, 6, 6, true},
      {USER_DEFINED, 0, 11, 4, 6, true},
      {USER_DEFINED, 0, 11, 6, 4, false},
      {USER_DEFINED, 0, 11, 7, 7, false},
      {USER_DEFINED, 0, 11, 8, 8, false},
      {USER_DEFINED, 0, 11, 9, 9, false},
      {USER_DEFINED, 0, 11, 2, 2, false},
      {USER_DEFINED, 0, 11, 1, 5, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "layout " << codeNumber(c.SLABMODEL) << " NCOL " << c.NCOL
                                      << " (" << c.I << ", " << c.J << ")");
    Capacities cap;
    ModelDeck m{cap};
    m.NOBFAIL = true;
    m.NUMB = 15;
    m.NUMA = c.NUMA;
    m.NCOL = c.NCOL;
    m.SLABMODEL = c.SLABMODEL;
    // CLAMPED (5, 5), SIMPLE (6, 6), FREE (7, 7), FREE-SYM (8, 8), CLAMPED (4, 6); the list
    // ends at the row with I = 0, so (9, 9) after it is not read.
    const int rows[][3] = {
        {5, 5, codeNumber(Condition::CLAMPED)}, {6, 6, codeNumber(Condition::SIMPLE)},
        {7, 7, codeNumber(Condition::FREE)},    {8, 8, codeNumber(Condition::FREE_SYM)},
        {4, 6, codeNumber(Condition::CLAMPED)}, {0, 0, 0},
        {9, 9, codeNumber(Condition::CLAMPED)}};
    for (int r = 0; r < 7; ++r) {
      m.USERBC(r + 1, userbc_col::I) = rows[r][0];
      m.USERBC(r + 1, userbc_col::J) = rows[r][1];
      m.USERBC(r + 1, userbc_col::CONDITION) = rows[r][2];
    }
    m.NUSERBC = 7;
    EXPECT_EQ(excludedFromFailure(m, c.I, c.J), c.excluded);
  }
}

// Every point of the 3 x 3 grid carries a concrete layer loaded to 4.5/3 = 1.5. With NOBFAIL
// set only the centre is inside the edges; an edge point's records are neither read nor
// written: its layer table stays, and the layer state and failure ratio it never had stay
// unwritten.
TEST(Degrad, PointsExcludedByNobfailAreLeftUntouched) {
  for (const bool NOBFAIL : {true, false}) {
    SCOPED_TRACE(NOBFAIL);
    DegradJob job;
    job.model.NOBFAIL = NOBFAIL;
    job.model.PRINTREQ = "D    F";
    for (int J = 1; J <= 3; ++J)
      for (int I = 1; I <= 3; ++I)
        job.point(I, J, {concreteLayer()}, {concreteLayer()}, {{.SXX = 4.5}}, {{}});
    // With NOBFAIL only the centre is given a layer state, so that a write elsewhere shows.
    if (NOBFAIL) {
      job.files.layerState.clear();
      writeUnfailedLayerState(job.files.layerState, pointRecord(kI, kJ, 3), 1);
    }
    job.run(SolutionStage::CRACKING);
    EXPECT_EQ(job.counts.CINC, NOBFAIL ? 1 : 9);
    for (int J = 1; J <= 3; ++J)
      for (int I = 1; I <= 3; ++I) {
        SCOPED_TRACE(::testing::Message() << "(" << I << ", " << J << ")");
        const int n = pointRecord(I, J, 3);
        const bool processed = !NOBFAIL || (I == kI && J == kJ);
        EXPECT_DOUBLE_EQ(job.layer(I, J, 1)(E1), processed ? kTension : kEc);
        EXPECT_EQ(job.files.layerState.written(n), processed);
        EXPECT_EQ(job.files.failureRatio.written(n), processed);
        if (processed) {
          expectIndices(job.state(I, J, 1), 1.5, 1.5, 1.5, 0.0);
          EXPECT_DOUBLE_EQ(job.failureRatio(I, J), 1.0);
        }
      }
  }
}

}  // namespace
}  // namespace korvant
