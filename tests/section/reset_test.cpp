// RESET before a re-attempted yielding pass: steel layers get their initial moduli back,
// combined layers are mixed again from their initial steel modulus and the concrete modulus
// their recorded cracking calls for, concrete layers keep their cracking.
#include "section/reset.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <span>
#include <string>
#include <vector>

#include "support/layer_records.hpp"

namespace korvant {
namespace {

using namespace layer_field;
// The laws, the concrete, steel and combined layers and the mixed Poisson ratio kMixedMU.
using namespace test::failure_layers;

// Damage laws: a concrete law, the combined law of the tests and one more combined law that
// is the last of the file. Slots of a combined law: YIELDING, TENSION, COMPRESSION, SHEAR.
enum { kLastLaw = 14 };
constexpr std::array<double, 4> kConcreteSlots{3000.0, 6000.0, 1500.0, 0.0};
constexpr std::array<double, 4> kCombinedSlots{2000.0, 3000.0, 6000.0, 1500.0};
constexpr std::array<double, 4> kLastSlots{2500.0, 2400.0, 4800.0, 1200.0};

// The combined layer: thickness 0.05, bars of radius 0.01 at spacing 0.2, so
// Vs = 3.1415927 * 1e-4 / 0.01 = 0.0314159274, Vc = 0.9685840726, Es = 200000, and
// MU = 0.0314159274 * 0.3 + 0.9685840726 * 0.2 = 0.2031415927.
// E1 = Vs Es + Vc Ec' = 6283.18548 + 0.9685840726 Ec',
// E2 = Es Ec' / (Vc Es + Vs Ec') = 200000 Ec' / (193716.81452 + 0.0314159274 Ec').
struct Moduli {
  double Ec, E1, E2;
};
// Ec' 30000: 6283.18548 + 29057.52218 = 35340.70766; 6e9 / 194659.29234 = 30823.08544.
constexpr Moduli kIntact{kEc, kCombinedE1, kCombinedE2};
// Ec' 3000: 6283.18548 + 2905.75222 = 9188.93770; 6e8 / 193811.06230 = 3095.79852.
constexpr Moduli kTension{3000.0, 9188.93769979477, 3095.79852088435};
// Ec' 6000: 6283.18548 + 5811.50444 = 12094.68992; 1.2e9 / 193905.31008 = 6188.58761.
constexpr Moduli kCompression{6000.0, 12094.689917564392, 6188.587612633403};
// Ec' 1500: 6283.18548 + 1452.87611 = 7736.06159; 3e8 / 193763.93841 = 1548.27571.
constexpr Moduli kShear{1500.0, 7736.061590909957, 1548.275713546944};
// Ec' 2400 (tension of the last law): 6283.18548 + 2324.60177 = 8607.78726;
// 4.8e8 / 193792.21274 = 2476.87971.
constexpr Moduli kLastTension{2400.0, 8607.787256240845, 2476.8797115427838};

// The combined layer of the failure tests at 30 degrees as the failed pass left it: reduced
// moduli, a cracked concrete modulus and a Poisson ratio that the reset must mix again. ES is
// not the steel modulus the reset mixes from.
const LayerRecord kCurrentCombined = [] {
  LayerRecord r = combinedLayer(30.0);
  r(E1) = 2968.5840725898743, r(E2) = 2953.6048817188635, r(MU) = 0.125;
  r(ES) = 150000.0, r(EC) = 3000.0;
  return r;
}();

// Its initial definition: the moduli come from here, the geometry and the Poisson ratios of
// the phases from the current record (they are told apart here on purpose).
const LayerRecord kInitialCombined = [] {
  LayerRecord r = combinedLayer(30.0);
  r(RADIUS) = 0.02, r(SPACING) = 0.1, r(MUS) = 0.25, r(MUC) = 0.15;
  return r;
}();

LayerFailure marks(double FICT, double FICC, double FICS, double FY = 0.0) {
  return LayerFailure{{FICT, FICC, FICS, FY}};
}

// A 3 x 2 grid (NUMA 3 along A, NUMB 2 along B, records 1..6) whose points carry no layers
// unless a test gives them some.
struct ResetJob {
  ModelDeck model;
  WorkingFiles files;
  DegradationBuffers buffers;

  ResetJob() {
    model.A = 1.0;
    model.B = 1.0;
    model.NUMA = 3;
    model.NUMB = 2;
    law(1, kConcreteLaw, kConcreteSlots);
    law(2, kCombinedLaw, kCombinedSlots);
    law(3, kLastLaw, kLastSlots);
    model.NLAW = 3;
  }
  void law(int row, double id, const std::array<double, 4>& slots) {
    model.DLAWS(row, law_col::LAWID) = id;
    for (int s = 0; s < 4; ++s) model.DLAWS(row, law_col::YIELDING + s) = slots[s];
    model.DLAWS(row, law_col::a) = 1.0;
  }

  void point(int I, int J, const std::vector<LayerRecord>& current,
             const std::vector<LayerRecord>& initial, const std::vector<LayerFailure>& state) {
    const int n = pointRecord(I, J, model.NUMB);
    PointLayerTable table;
    table.MU = 0.21875;
    table.layers = current;
    writeLayerTable(files.currentLayers, n, table);
    table.MU = 0.1875;
    table.layers = initial;
    writeLayerTable(files.initialLayers, n, table);
    LayerState s;
    s.layers = state;
    writeLayerState(files.layerState, n, s);
  }

  void run() {
    writeDamageLaws(files.damageLaws, model.DLAWS, model.NLAW);
    RESET(model, files, buffers);
  }

  PointLayerTable current(int I, int J) const {
    PointLayerTable table;
    readLayerTable(files.currentLayers, pointRecord(I, J, model.NUMB), table);
    return table;
  }
};

std::vector<double> copyOf(std::span<const double> values) {
  return {values.begin(), values.end()};
}

// The record after the reset: `before` with E1, E2 and MU replaced, every other field kept.
void expectMixed(const LayerRecord& got, const LayerRecord& before, double E1v, double E2v,
                 double MUv) {
  EXPECT_NEAR(got(E1), E1v, 1e-10 * E1v);
  EXPECT_NEAR(got(E2), E2v, 1e-10 * E2v);
  EXPECT_NEAR(got(MU), MUv, 1e-14);
  for (int f = 1; f <= COUNT; ++f) {
    if (f == E1 || f == E2 || f == MU) continue;
    EXPECT_EQ(got(f), before(f)) << "field " << f;
  }
}

// Every combination of the three concrete marks of a combined layer at point (2, 2). A mark
// counts from 1 on (0.999 does not); compression is applied first, then tension, then shear,
// so the last of them that is set decides the concrete modulus.
TEST(Reset, CombinedLayerConcreteModulusFollowsTheLastMarkThatApplies) {
  const struct {
    const char* name;
    LayerFailure state;
    Moduli expected;
  } cases[] = {
      {"no mark: the initial Ec", marks(0.999, 0.5, 0.0, 2.0), kIntact},
      {"compression", marks(0.0, 1.0, 0.999), kCompression},
      {"tension", marks(1.0, 0.999, 0.0), kTension},
      {"shear", marks(0.5, 0.0, 1.0), kShear},
      {"compression and tension: tension", marks(2.5, 1.5, 0.0), kTension},
      {"compression and shear: shear", marks(0.0, 3.0, 1.0), kShear},
      {"tension and shear: shear", marks(1.25, 0.25, 1.25), kShear},
      {"all three: shear", marks(2.0, 2.0, 2.0, 1.5), kShear},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ResetJob job;
    job.point(2, 2, {kCurrentCombined}, {kInitialCombined}, {c.state});
    const int n = pointRecord(2, 2, job.model.NUMB);
    const std::vector<double> stateBefore = copyOf(job.files.layerState.stored(n));
    const std::vector<double> initialBefore = copyOf(job.files.initialLayers.stored(n));
    job.run();
    const PointLayerTable after = job.current(2, 2);
    ASSERT_EQ(after.NL(), 1);
    EXPECT_EQ(after.MU, 0.21875);
    expectMixed(after.layers[0], kCurrentCombined, c.expected.E1, c.expected.E2, kMixedMU);
    EXPECT_EQ(copyOf(job.files.layerState.stored(n)), stateBefore);
    EXPECT_EQ(copyOf(job.files.initialLayers.stored(n)), initialBefore);
  }
}

// Several points and kinds at once, on a grid longer along A than along B, so that every
// record is reached: steel layers get their initial E1, E2 and MU, a concrete layer and a
// layer of an unknown kind are left as they are, and each layer reads its own marks.
TEST(Reset, EachKindAtEveryPoint) {
  ResetJob job;
  // Steel layers of the failure tests at 90 degrees; they name the combined law, which the
  // reset does not read for them.
  LayerRecord intactSteel = steelLayer(90.0);
  intactSteel(DLAW) = kCombinedLaw;
  LayerRecord yielded = intactSteel;
  yielded(E1) = 100.0, yielded(E2) = 0.0, yielded(MU) = 0.0;
  LayerRecord other = kCurrentCombined;
  other(KIND) = 4;
  LayerRecord crackedConcrete = concreteLayer();
  crackedConcrete(E1) = crackedConcrete(E2) = 3000.0;
  // Point (2, 3), record 6: concrete with every mark, the combined layer without any, steel
  // yielded, and the unknown kind with every mark.
  const std::vector<LayerRecord> current6{crackedConcrete, kCurrentCombined, yielded, other};
  job.point(2, 3, current6, {concreteLayer(), kInitialCombined, intactSteel, kInitialCombined},
            {marks(2.0, 2.0, 2.0), marks(0.0, 0.0, 0.0, 1.5), marks(0.0, 0.0, 0.0, 3.0),
             marks(2.0, 2.0, 2.0, 2.0)});
  // Point (1, 1), record 1: a yielded steel layer.
  job.point(1, 1, {yielded}, {intactSteel}, {marks(0.0, 0.0, 0.0, 1.0)});
  // Point (2, 1), record 2: a combined layer cracked in tension.
  job.point(2, 1, {kCurrentCombined}, {kInitialCombined}, {marks(1.5, 0.0, 0.0)});
  // Point (1, 3), record 5: a second steel layer above a concrete one.
  job.point(1, 3, {crackedConcrete, yielded}, {concreteLayer(), intactSteel},
            {marks(1.0, 1.0, 1.0), marks(0.0, 0.0, 0.0, 1.0)});
  std::vector<std::vector<double>> statesBefore, initialsBefore;
  for (int n = 1; n <= 6; ++n) {
    statesBefore.push_back(copyOf(job.files.layerState.stored(n)));
    initialsBefore.push_back(copyOf(job.files.initialLayers.stored(n)));
  }
  job.run();

  const PointLayerTable p6 = job.current(2, 3);
  ASSERT_EQ(p6.NL(), 4);
  EXPECT_EQ(p6.MU, 0.21875);
  EXPECT_EQ(p6.layers[0].value, crackedConcrete.value);
  expectMixed(p6.layers[1], kCurrentCombined, kIntact.E1, kIntact.E2, kMixedMU);
  expectMixed(p6.layers[2], yielded, 5000.0, 50.0, 0.3);
  EXPECT_EQ(p6.layers[3].value, other.value);

  const PointLayerTable p1 = job.current(1, 1);
  ASSERT_EQ(p1.NL(), 1);
  expectMixed(p1.layers[0], yielded, 5000.0, 50.0, 0.3);

  const PointLayerTable p2 = job.current(2, 1);
  ASSERT_EQ(p2.NL(), 1);
  expectMixed(p2.layers[0], kCurrentCombined, kTension.E1, kTension.E2, kMixedMU);

  const PointLayerTable p5 = job.current(1, 3);
  ASSERT_EQ(p5.NL(), 2);
  EXPECT_EQ(p5.layers[0].value, crackedConcrete.value);
  expectMixed(p5.layers[1], yielded, 5000.0, 50.0, 0.3);

  // Points without layers stay without layers.
  EXPECT_EQ(job.current(1, 2).NL(), 0);
  EXPECT_EQ(job.current(2, 2).NL(), 0);
  for (int n = 1; n <= 6; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(copyOf(job.files.layerState.stored(n)),
              statesBefore[static_cast<std::size_t>(n - 1)]);
    EXPECT_EQ(copyOf(job.files.initialLayers.stored(n)),
              initialsBefore[static_cast<std::size_t>(n - 1)]);
  }
}

// The law of a layer is found by its rounded id; an id that matches none falls back to the
// last law of the file. The kind is rounded too. All cases are cracked in tension, so the
// concrete modulus is the tension slot (position 2) of the law found.
TEST(Reset, LawLookupByRoundedIdFallsBackToTheLastLaw) {
  const struct {
    const char* name;
    double kind;
    double law;
    Moduli expected;
  } cases[] = {
      {"the combined law", 3.0, kCombinedLaw, kTension},
      {"id 12.6 rounds to 13", 3.0, 12.6, kTension},
      {"id 13.4 rounds to 13", 3.0, 13.4, kTension},
      {"the last law itself", 3.0, kLastLaw, kLastTension},
      {"no such law: the last one", 3.0, 99.0, kLastTension},
      {"id 0: the last one", 3.0, 0.0, kLastTension},
      // Position 2 of the concrete law holds its compression modulus, 6000.
      {"the first law, by position", 3.0, kConcreteLaw, kCompression},
      {"kind 2.6 is a combined layer", 2.6, kCombinedLaw, kTension},
      {"kind 3.4 is a combined layer", 3.4, kCombinedLaw, kTension},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ResetJob job;
    LayerRecord before = kCurrentCombined;
    before(DLAW) = c.law, before(KIND) = c.kind;
    LayerRecord initial = kInitialCombined;
    initial(DLAW) = c.law, initial(KIND) = c.kind;
    job.point(1, 2, {before}, {initial}, {marks(1.0, 0.0, 0.0)});
    job.run();
    const PointLayerTable after = job.current(1, 2);
    ASSERT_EQ(after.NL(), 1);
    expectMixed(after.layers[0], before, c.expected.E1, c.expected.E2, kMixedMU);
  }
}

}  // namespace
}  // namespace korvant
