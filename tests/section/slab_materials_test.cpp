#include "section/slab_materials.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "section/layer_table.hpp"
#include "support/test_support.hpp"

namespace korvant {
namespace {

constexpr double kPi = std::numbers::pi;

// A model deck filled row by row, as the statements of a deck would fill it.
struct Deck {
  ModelDeck m;

  Deck(double a, double b, int numa, int numb, double overlap) {
    m.A = a;
    m.B = b;
    m.NUMA = numa;
    m.NUMB = numb;
    m.OVERLAP = overlap;
  }
  void steel(int sid, double dia, double spacing, double e, double mu, double y) {
    const int r = ++m.NSTEEL;
    m.STEEL(r, steel_col::SID) = sid;
    m.STEEL(r, steel_col::BARDIA) = dia;
    m.STEEL(r, steel_col::SPACING) = spacing;
    m.STEEL(r, steel_col::E) = e;
    m.STEEL(r, steel_col::MU) = mu;
    m.STEEL(r, steel_col::Y) = y;
  }
  void concrete(int cid, double e, double mu, double xt, double xc, double s) {
    const int r = ++m.NCONC;
    m.CONC(r, conc_col::CID) = cid;
    m.CONC(r, conc_col::E) = e;
    m.CONC(r, conc_col::MU) = mu;
    m.CONC(r, conc_col::XT) = xt;
    m.CONC(r, conc_col::XC) = xc;
    m.CONC(r, conc_col::S) = s;
  }
  void layer(int id, int sid, int cid, int dlaw, double thick, double theta) {
    const int r = ++m.NLAYER;
    m.LAYERS(r, layer_col::LAYID) = id;
    m.LAYERS(r, layer_col::SID) = sid;
    m.LAYERS(r, layer_col::CID) = cid;
    m.LAYERS(r, layer_col::DLAW) = dlaw;
    m.LAYERS(r, layer_col::THICK) = thick;
    m.LAYERS(r, layer_col::THETA) = theta;
  }
  void zone(int number, double a, double b, double xo, double yo, std::initializer_list<int> ids) {
    const int r = ++m.NZONE;
    m.ZONES(r, zone_col::NUMBER) = number;
    m.ZONES(r, zone_col::A) = a;
    m.ZONES(r, zone_col::B) = b;
    m.ZONES(r, zone_col::XO) = xo;
    m.ZONES(r, zone_col::YO) = yo;
    int k = 0;
    for (int id : ids) m.ZLAY(r, ++k) = id;
  }
  // The usual materials: steel 1 (bars 0.02 at 0.2) and concrete 5.
  void materials() {
    steel(1, 0.02, 0.2, 200000.0, 0.3, 400.0);
    concrete(5, 30000.0, 0.2, 3.0, 30.0, 5.0);
  }
};

struct SlabRun {
  WorkingFiles files;
  std::ostringstream out;
  int nerr = 0;
  int CTOT = -1;

  explicit SlabRun(const ModelDeck& m, int startErrors = 0) : nerr(startErrors) {
    Writer report(out);
    CTOT = SLBMAT(m, files, report, nerr);
  }
  std::vector<std::string> lines() const { return test::splitLines(out.str()); }
  PointLayerTable current(int n) const {
    PointLayerTable t;
    readLayerTable(files.currentLayers, n, t);
    return t;
  }
};

void expectRecord(const LayerRecord& actual, const std::vector<double>& expected) {
  ASSERT_EQ(expected.size(), static_cast<std::size_t>(layer_field::COUNT));
  for (int f = 1; f <= layer_field::COUNT; ++f)
    EXPECT_NEAR(actual(f), expected[f - 1], 1e-12 * std::fabs(expected[f - 1])) << "field " << f;
}

void expectZeroLayerState(const RecordStore& unit35, int n, int NL) {
  const auto r = unit35.read(n);
  EXPECT_EQ(r[0], NL) << "record " << n;
  for (std::size_t k = 1; k < r.size(); ++k) ASSERT_EQ(r[k], 0.0) << "record " << n;
}

// One zone over the whole slab with a steel, a concrete and a combined layer.
TEST(Slbmat, BuildsEachKindOfLayerAtEveryPoint) {
  Deck d(2.0, 1.0, 3, 2, 1.0);
  d.materials();
  d.layer(11, 1, 0, 1, 0.01, 0.0);
  d.layer(12, 0, 5, 2, 0.10, 0.0);
  d.layer(13, 1, 5, 3, 0.05, 90.0);
  d.zone(1, 2.0, 1.0, 1.0, 0.5, {11, 12, 13});
  SlabRun run(d.m);

  // Steel: r = 0.01, bars pi 1e-4 per 0.2 of width over 0.01 of thickness:
  // E1 = pi 1e-4 / 0.2 * 200000 / 0.01 = 1e4 pi, E2 = E1 / 100.
  const std::vector<double> steel{1, 1,   1e4 * kPi, 100 * kPi, 0.3, 0.01, 0, 0, 0,
                                  0, 400, 0,         0,         0,   0,    0, 0};
  const std::vector<double> concrete{2, 2, 30000, 30000, 0.2, 0.1, 0, 3, 30,
                                     5, 0, 0,     0,     0,   0,   0, 0};
  // Combined: Vs = pi 1e-4 / (0.05 * 0.2) = pi / 100;
  // E1 = 200000 Vs + 30000 (1 - Vs) = 30000 + 1700 pi;
  // E2 = 200000 * 30000 / (200000 (1 - Vs) + 30000 Vs) = 6e9 / (200000 - 1700 pi);
  // MU = 0.3 Vs + 0.2 (1 - Vs) = 0.2 + 0.001 pi.
  const std::vector<double> combined{3,
                                     3,
                                     30000 + 1700 * kPi,
                                     6e9 / (200000 - 1700 * kPi),
                                     0.2 + 0.001 * kPi,
                                     0.05,
                                     90,
                                     3,
                                     30,
                                     5,
                                     400,
                                     0.01,
                                     0.2,
                                     200000,
                                     30000,
                                     0.3,
                                     0.2};
  // (0.3 * 0.01 + 0.2 * 0.1 + MU * 0.05) / 0.16
  const double meanMu = (0.033 + 0.00005 * kPi) / 0.16;

  EXPECT_EQ(run.nerr, 0);
  EXPECT_EQ(run.CTOT, 12);  // concrete and combined layer at each of 6 points
  EXPECT_TRUE(run.out.str().empty());
  for (int n = 1; n <= 6; ++n) {
    SCOPED_TRACE(n);
    for (const RecordStore* unit : {&run.files.currentLayers, &run.files.initialLayers}) {
      PointLayerTable t;
      readLayerTable(*unit, n, t);
      ASSERT_EQ(t.NL(), 3);
      EXPECT_NEAR(t.MU, meanMu, 1e-15);
      expectRecord(t.layers[0], steel);
      expectRecord(t.layers[1], concrete);
      expectRecord(t.layers[2], combined);
    }
    expectZeroLayerState(run.files.layerState, n, 3);
  }
  EXPECT_FALSE(run.files.currentLayers.written(7));
}

TEST(Slbmat, DebugReportsTheThicknessOfEveryZone) {
  Deck d(2.0, 1.0, 3, 2, 1.0);
  d.materials();
  d.layer(11, 1, 0, 1, 0.01, 0.0);
  d.layer(12, 0, 5, 2, 0.10, 0.0);
  d.layer(13, 1, 5, 3, 0.05, 90.0);
  d.zone(1, 2.0, 1.0, 1.0, 0.5, {11, 12, 13});
  d.zone(4, 2.0, 1.0, 1.0, 0.5, {12});
  d.m.DEBUG = true;
  SlabRun run(d.m);
  const std::vector<std::string> expected{
      "*** DEBUG OPERATION:",
      "     THICKNESS OF ZONE     1 IS 0.160E+00",
      "*** DEBUG OPERATION:",
      "     THICKNESS OF ZONE     2 IS 0.100E+00",
  };
  EXPECT_EQ(run.lines(), expected);
}

// x = 0, 1, 2 along A; zone "L" is concrete, zone "R" steel.
TEST(Slbmat, ZoneBoundariesAndOverlaps) {
  struct Case {
    const char* name;
    double overlap;
    bool rightFirst;
    double leftWidth;    // zone L spans 0..leftWidth, zone R spans 1..2
    LayerKind kinds[3];  // kind of the layer at x = 0, 1, 2
  };
  constexpr auto C = LayerKind::CONCRETE, S = LayerKind::STEEL;
  const Case cases[] = {
      {"point on both boundaries goes to the first zone", 1.0, false, 1.0, {C, C, S}},
      {"listed first wins", 1.0, true, 1.0, {C, S, S}},
      {"narrow left zone leaves x = 1 to the right", 1.0, false, 0.998, {C, S, S}},
      {"overlap widens the left zone over x = 1", 1.005, false, 0.998, {C, C, S}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Deck d(2.0, 1.0, 3, 2, c.overlap);
    d.materials();
    d.layer(11, 1, 0, 1, 0.01, 0.0);
    d.layer(12, 0, 5, 2, 0.10, 0.0);
    auto left = [&] { d.zone(1, c.leftWidth, 1.0, 0.5 * c.leftWidth, 0.5, {12}); };
    auto right = [&] { d.zone(2, 1.0, 1.0, 1.5, 0.5, {11}); };
    if (c.rightFirst) {
      right();
      left();
    } else {
      left();
      right();
    }
    SlabRun run(d.m);
    EXPECT_EQ(run.nerr, 0);
    int concretePoints = 0;
    for (int I = 1; I <= 2; ++I) {
      for (int J = 1; J <= 3; ++J) {
        const PointLayerTable t = run.current(pointRecord(I, J, 2));
        ASSERT_EQ(t.NL(), 1);
        EXPECT_EQ(t.layers[0].kind(), c.kinds[J - 1]) << "I " << I << " J " << J;
        if (t.layers[0].kind() == LayerKind::CONCRETE) ++concretePoints;
      }
    }
    EXPECT_EQ(run.CTOT, concretePoints);
  }
}

TEST(Slbmat, UndefinedZoneIsReportedWithTheExplanationOnce) {
  Deck d(2.0, 1.0, 3, 2, 1.0);
  d.materials();
  d.layer(12, 0, 5, 2, 0.10, 0.0);
  d.zone(1, 1.0, 1.0, 0.5, 0.5, {12});  // covers x = 0 and 1, not x = 2
  SlabRun run(d.m, 3);
  const std::vector<std::string> expected{
      "***ERROR: ZONE FOR DIFFERENCE POINT    1    3 LOCATED",
      "          AT 0.200E+01  0.000E+00   IS NOT DEFINED",
      "",
      "",
      "          INDETERMINATE ZONES WILL USUALLY  BE DUE  TO AN",
      "          INCORRECT DEFINITION OF THE EXTENT AND MIDPOINT",
      "          OF THE ZONE  SUCH  THAT  IT  DOES NOT COVER THE",
      "          INTENDED EXTENT OF THE SLAB. ",
      "",
      "               ACTION: CHECK ZONE DEFINITIONS",
      "",
      "***ERROR: ZONE FOR DIFFERENCE POINT    2    3 LOCATED",
      "          AT 0.200E+01  0.100E+01   IS NOT DEFINED",
  };
  EXPECT_EQ(run.lines(), expected);
  EXPECT_EQ(run.nerr, 5);
  EXPECT_EQ(run.CTOT, 4);
  for (int n : {5, 6}) {  // (I, J) = (1, 3) and (2, 3)
    const PointLayerTable t = run.current(n);
    EXPECT_EQ(t.NL(), 0);
    EXPECT_EQ(t.MU, 0.0);
    EXPECT_TRUE(run.files.initialLayers.written(n));
    expectZeroLayerState(run.files.layerState, n, 0);
  }
  EXPECT_EQ(run.current(4).NL(), 1);
}

TEST(Slbmat, ZoneWithoutLayersGivesEmptyTables) {
  Deck d(1.0, 1.0, 2, 2, 1.005);
  d.materials();
  d.zone(1, 1.0, 1.0, 0.5, 0.5, {});
  SlabRun run(d.m);
  EXPECT_EQ(run.nerr, 0);
  EXPECT_EQ(run.CTOT, 0);
  EXPECT_TRUE(run.out.str().empty());
  for (int n = 1; n <= 4; ++n) {
    EXPECT_EQ(run.current(n).NL(), 0);
    expectZeroLayerState(run.files.layerState, n, 0);
  }
}

// Bars of radius 1 at spacing 1 in a combined layer of thickness t: Vs = pi / t.
TEST(Slbmat, SteelVolumeFractionLimit) {
  auto deck = [](double vs) {
    Deck d(1.0, 1.0, 2, 2, 1.005);
    d.steel(1, 2.0, 1.0, 200000.0, 0.3, 400.0);
    d.concrete(5, 30000.0, 0.2, 3.0, 30.0, 5.0);
    d.layer(7, 1, 5, 3, kPi / vs, 0.0);
    d.zone(1, 1.0, 1.0, 0.5, 0.5, {7});
    return d;
  };
  // The chosen thicknesses give these fractions exactly.
  ASSERT_EQ(kPi * 1.0 * 1.0 / ((kPi / 1.05) * 1.0), 1.05);
  ASSERT_EQ(kPi * 1.0 * 1.0 / ((kPi / 1.06) * 1.0), 1.06);

  SlabRun accepted(deck(1.05).m);
  EXPECT_EQ(accepted.nerr, 0);
  EXPECT_TRUE(accepted.out.str().empty());

  SlabRun refused(deck(1.06).m);
  const std::vector<std::string> block{
      "***ERROR: INPUTTED BAR DIAMETER FOR LAYER    7 REFERENCING",
      "             MATERIAL    1 YIELDS AN EFFECTIVE LAYER",
      "             THICKNESS TAHT IS-0.0600 PERCENT GREATER",
      "             THAN SPECIFIED THICKNESS",
  };
  std::vector<std::string> expected;
  for (int point = 0; point < 4; ++point)
    expected.insert(expected.end(), block.begin(), block.end());
  EXPECT_EQ(refused.lines(), expected);
  EXPECT_EQ(refused.nerr, 4);
  EXPECT_EQ(refused.CTOT, 4);
  // The record is built all the same: E1 = 1.06 * 200000 - 0.06 * 30000.
  const PointLayerTable t = refused.current(1);
  ASSERT_EQ(t.NL(), 1);
  EXPECT_NEAR(t.layers[0](layer_field::E1), 210200.0, 1e-9);
}

TEST(Slbmat, MissingMaterialsAreReportedAtEveryPoint) {
  struct Case {
    int sid, cid;
    const char* message;
    int ctot;
  };
  const Case cases[] = {
      {9, 0, "***ERROR: STEEL MATERIAL ID     9 NOT FOUND", 0},
      {0, 9, "***ERROR: CONCRETE MATERIAL ID     9 NOT FOUND", 4},
      {1, 9, "***ERROR: ONE OR BOTH OF STEEL AND CONCRETE IDS     1    9 NOT FOUND", 4},
      {9, 5, "***ERROR: ONE OR BOTH OF STEEL AND CONCRETE IDS     9    5 NOT FOUND", 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    Deck d(1.0, 1.0, 2, 2, 1.005);
    d.materials();
    d.layer(3, c.sid, c.cid, 1, 0.1, 0.0);
    d.zone(1, 1.0, 1.0, 0.5, 0.5, {3});
    SlabRun run(d.m);
    EXPECT_EQ(run.lines(), std::vector<std::string>(4, c.message));
    EXPECT_EQ(run.nerr, 4);
    EXPECT_EQ(run.CTOT, c.ctot);
    const PointLayerTable t = run.current(4);
    ASSERT_EQ(t.NL(), 1);
    for (double v : t.layers[0].value) EXPECT_TRUE(std::isfinite(v));
  }
}

// Layers the input checks refuse before the set-up (an undefined identifier, a layer of
// neither material, bars without spacing) must not leave infinite or undefined moduli.
TEST(Slbmat, LayersRefusedByTheInputChecksLeaveFiniteTables) {
  Deck d(1.0, 1.0, 2, 2, 1.005);
  d.materials();
  d.steel(2, 0.02, 0.0, 200000.0, 0.3, 400.0);  // bars without spacing
  d.layer(7, 2, 0, 1, 0.01, 0.0);
  d.layer(8, 0, 0, 1, 0.0, 0.0);  // no material, no thickness
  d.layer(9, 2, 5, 1, 0.0, 0.0);  // combined, without thickness or spacing
  d.layer(12, 0, 5, 2, 0.10, 0.0);
  d.zone(1, 1.0, 1.0, 0.5, 0.5, {12, 99, 8, 7, 9});
  SlabRun run(d.m);
  EXPECT_TRUE(run.out.str().empty());
  EXPECT_EQ(run.nerr, 0);
  EXPECT_EQ(run.CTOT, 8);
  const PointLayerTable t = run.current(1);
  ASSERT_EQ(t.NL(), 3);  // 99 and 8 are not placed
  EXPECT_EQ(t.layers[0].kind(), LayerKind::CONCRETE);
  EXPECT_EQ(t.layers[1].kind(), LayerKind::STEEL);
  EXPECT_EQ(t.layers[2].kind(), LayerKind::COMBINED);
  EXPECT_EQ(t.layers[1](layer_field::E1), 0.0);
  EXPECT_EQ(t.layers[2](layer_field::E1), 30000.0);  // no steel fraction
  for (const LayerRecord& r : t.layers)
    for (double v : r.value) EXPECT_TRUE(std::isfinite(v));
  EXPECT_TRUE(std::isfinite(t.MU));
}

}  // namespace
}  // namespace korvant
