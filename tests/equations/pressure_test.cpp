#include "equations/pressure.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "section/point_zone.hpp"
#include "support/test_support.hpp"

using namespace korvant;

namespace {

// A slab of 6 x 4. Zones are given as (number, width along x, width along y, centre x,
// centre y); loads as (load number, type, magnitude, zone number).
struct ZoneRow {
  double number, a, b, xo, yo;
};
struct LoadRow {
  double number, type, magnitude, zone;
};

ModelDeck deck(const std::vector<ZoneRow>& zones, const std::vector<LoadRow>& loads,
               double overlap = 1.0) {
  ModelDeck m;
  m.A = 6.0;
  m.B = 4.0;
  m.NUMA = 7;
  m.NUMB = 5;
  m.OVERLAP = overlap;
  for (const ZoneRow& z : zones) {
    const int k = ++m.NZONE;
    m.ZONES(k, zone_col::NUMBER) = z.number;
    m.ZONES(k, zone_col::A) = z.a;
    m.ZONES(k, zone_col::B) = z.b;
    m.ZONES(k, zone_col::XO) = z.xo;
    m.ZONES(k, zone_col::YO) = z.yo;
  }
  for (const LoadRow& l : loads) {
    const int k = ++m.NLOAD;
    m.LOADS(k, load_col::NUMBER) = l.number;
    m.LOADS(k, load_col::TYPE) = l.type;
    m.LOADS(k, load_col::MAGNITUDE) = l.magnitude;
    m.LOADS(k, load_col::ZONE) = l.zone;
  }
  return m;
}

// One zone numbered 7 over the whole slab.
const std::vector<ZoneRow> kOneZone = {{7, 6, 4, 3, 2}};
// The left half x = 0..3 is zone number 10, the right half x = 3..6 zone number 20: the
// zone numbers differ from the row positions 1 and 2.
const std::vector<ZoneRow> kTwoZones = {{10, 3, 4, 1.5, 2}, {20, 3, 4, 4.5, 2}};

constexpr double UNIFORM = 1, DEAD = 2, LIVE = 3, USER = 4;

struct Lookup {
  double pressure;
  int errors;
  std::string report;
};

Lookup pressureAt(const ModelDeck& m, double x, double y, int loadNumber = 1) {
  std::ostringstream out;
  Writer report(out);
  Lookup r{0.0, 0, ""};
  r.pressure = PRESSURE(m, x, y, loadNumber, report, r.errors);
  r.report = out.str();
  return r;
}

struct Case {
  const char* what;
  std::vector<ZoneRow> zones;
  std::vector<LoadRow> loads;
  double x, y;
  double expected;
};

TEST(Pressure, OneMagnitudePerPointAndLoadNumber) {
  const Case cases[] = {
      {"uniform load over one zone", kOneZone, {{1, UNIFORM, 0.01, 0}}, 6.0, 4.0, 0.01},
      {"uniform load reaches a point outside every zone",
       {{7, 2, 2, 1, 1}},
       {{1, UNIFORM, 0.5, 0}},
       5.0,
       3.0,
       0.5},
      {"uniform load with an empty zone table", {}, {{1, UNIFORM, 0.5, 0}}, 1.0, 1.0, 0.5},
      {"dead load names zone number 20 (row 2)",
       kTwoZones,
       {{1, DEAD, 3.0, 20}, {1, LIVE, 4.0, 10}},
       5.0,
       1.0,
       3.0},
      {"live load names zone number 10 (row 1)",
       kTwoZones,
       {{1, DEAD, 3.0, 20}, {1, LIVE, 4.0, 10}},
       1.0,
       1.0,
       4.0},
      {"a zone load naming the row position does not reach zone number 20",
       kTwoZones,
       {{1, DEAD, 9.0, 2}, {1, DEAD, 3.0, 20}},
       5.0,
       1.0,
       3.0},
      {"point on the shared edge belongs to the zone listed first",
       kTwoZones,
       {{1, DEAD, 3.0, 20}, {1, DEAD, 4.0, 10}},
       3.0,
       2.0,
       4.0},
      {"the later of two dead loads on one zone",
       kTwoZones,
       {{1, DEAD, 3.0, 10}, {1, DEAD, 5.0, 10}},
       0.0,
       0.0,
       5.0},
      {"uniform load after a dead load on the same zone",
       kTwoZones,
       {{1, DEAD, 3.0, 10}, {1, UNIFORM, 2.0, 0}, {1, DEAD, 8.0, 10}},
       1.0,
       1.0,
       2.0},
      {"user-defined load covers the whole slab whatever zone it names",
       kTwoZones,
       {{1, USER, 6.0, 20}, {1, DEAD, 3.0, 10}},
       1.0,
       1.0,
       6.0},
      {"rows of another load number take no part",
       kTwoZones,
       {{2, UNIFORM, 7.0, 0}, {1, DEAD, 3.0, 10}},
       1.0,
       1.0,
       3.0},
      {"a pressure of -9999 from the deck is a pressure",
       kOneZone,
       {{1, UNIFORM, -9999.0, 0}},
       1.0,
       1.0,
       -9999.0},
  };
  for (const Case& c : cases) {
    const Lookup r = pressureAt(deck(c.zones, c.loads), c.x, c.y);
    EXPECT_DOUBLE_EQ(r.pressure, c.expected) << c.what;
    EXPECT_EQ(r.errors, 0) << c.what;
    EXPECT_EQ(r.report, "") << c.what;
  }
  EXPECT_DOUBLE_EQ(pressureAt(deck(kTwoZones, {{2, UNIFORM, 7.0, 0}}), 1, 1, 2).pressure, 7.0);
}

// The default-load fill appends a uniform row that carries the number of a zone without a
// load of its own: it loads that zone and leaves the dead load of the other zone in place.
TEST(Pressure, DefaultRowLoadsOnlyItsOwnZone) {
  const ModelDeck m = deck(kTwoZones, {{1, DEAD, 3.0, 10}, {1, UNIFORM, 0.5, 20}});
  EXPECT_DOUBLE_EQ(pressureAt(m, 1.0, 2.0).pressure, 3.0);
  EXPECT_DOUBLE_EQ(pressureAt(m, 0.0, 4.0).pressure, 3.0);
  EXPECT_DOUBLE_EQ(pressureAt(m, 5.0, 2.0).pressure, 0.5);
  EXPECT_DOUBLE_EQ(pressureAt(m, 6.0, 0.0).pressure, 0.5);

  // Every zone filled by default rows: each zone carries its own row.
  const ModelDeck filled = deck(kTwoZones, {{1, UNIFORM, 0.25, 10}, {1, UNIFORM, 0.75, 20}});
  EXPECT_DOUBLE_EQ(pressureAt(filled, 2.0, 1.0).pressure, 0.25);
  EXPECT_DOUBLE_EQ(pressureAt(filled, 4.0, 1.0).pressure, 0.75);
}

// The zone of a point is found as for the layer tables: the rectangle widened by OVERLAP.
TEST(Pressure, ZoneRectanglesAreWidenedByTheOverlapFactor) {
  // Zone 10 spans x = 0..3; widened by 1.005 about x = 1.5 it reaches x = 3.0075.
  const std::vector<LoadRow> loads = {{1, DEAD, 3.0, 10}, {1, DEAD, 4.0, 20}};
  EXPECT_DOUBLE_EQ(pressureAt(deck(kTwoZones, loads, 1.005), 3.005, 2.0).pressure, 3.0);
  EXPECT_DOUBLE_EQ(pressureAt(deck(kTwoZones, loads, 1.0), 3.005, 2.0).pressure, 4.0);
  EXPECT_EQ(zoneRowOfPoint(deck(kTwoZones, loads, 1.005), 3.005, 2.0), 1);
  EXPECT_EQ(zoneRowOfPoint(deck(kTwoZones, loads, 1.0), 3.009, 2.0), 2);
  EXPECT_EQ(zoneRowOfPoint(deck(kTwoZones, loads, 1.0), 6.001, 2.0), 0);
}

TEST(Pressure, UnassignedPointIsReportedAndCounted) {
  // Zone number 10 covers only x = 0..3; the point (6, 4) has no zone.
  const std::vector<ZoneRow> leftOnly = {kTwoZones[0]};
  const ModelDeck m = deck(leftOnly, {{1, DEAD, 3.0, 10}, {1, LIVE, 2.0, 0}});
  const Lookup r = pressureAt(m, 6.0, 4.0);
  EXPECT_DOUBLE_EQ(r.pressure, -9999.0);
  EXPECT_EQ(r.errors, 1);
  const std::vector<std::string> expected = {
      "***ERROR: NORMAL PRESSURE NOT ASSIGNED FOR COORDINATE 0.600E+01  0.400E+01"};
  EXPECT_EQ(test::splitLines(r.report), expected);

  // A zone without a load of the requested number: the same message with its coordinates.
  const Lookup other = pressureAt(m, 1.5, 0.25, 2);
  EXPECT_EQ(other.errors, 1);
  EXPECT_EQ(test::splitLines(other.report),
            std::vector<std::string>{
                "***ERROR: NORMAL PRESSURE NOT ASSIGNED FOR COORDINATE 0.150E+01  0.250E+00"});
}

TEST(Pressure, UPRESSClearsTwoArgumentsAndCopiesOne) {
  double a[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  UPRESS(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9]);
  const double expected[10] = {1, 2, 3, 4, 5, 6, 7, 0, 0, 6};
  for (int k = 0; k < 10; ++k) EXPECT_EQ(a[k], expected[k]) << "argument " << k + 1;
}

}  // namespace
