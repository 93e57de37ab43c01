#include "equations/boundary_lists.hpp"

#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_support.hpp"

using namespace korvant;

namespace {

struct Row {
  int I, J, loc;
  bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Row& r) {
  return os << "(" << r.I << ", " << r.J << ", " << r.loc << ")";
}

using Rows = std::vector<Row>;

// The rows of a list, and a check that nothing was written after them.
Rows rowsOf(const BoundaryPointList& list) {
  Rows rows;
  for (int k = 1; k <= list.count(); ++k) rows.push_back({list.I(k), list.J(k), list.location(k)});
  for (int k = list.count() + 1; k <= list.capacity(); ++k) {
    EXPECT_EQ(list.I(k), 0) << "row " << k << " after the end of the list";
    EXPECT_EQ(list.location(k), 0) << "row " << k << " after the end of the list";
  }
  return rows;
}

// Compares a list with the expected rows, one by one.
void expectRows(const BoundaryPointList& list, const Rows& expected, const std::string& name) {
  const Rows got = rowsOf(list);
  ASSERT_EQ(got.size(), expected.size()) << name;
  for (std::size_t k = 0; k < got.size(); ++k) {
    EXPECT_EQ(got[k], expected[k]) << name << " row " << k + 1;
  }
}

struct Layout {
  int NUMA, NUMB, NCOL;
  SlabLayout SLABMODEL;
};

struct Result {
  BoundaryPointLists lists;
  int NEQ = -1;
  int errors = 0;
  std::string report;
};

Result runSYSDEF(ModelDeck& model, const Capacities& cap = Capacities{}) {
  Result r{BoundaryPointLists(cap.MXD2), -1, 0, ""};
  std::ostringstream out;
  Writer report(out);
  SYSDEF(model, cap, r.lists, r.NEQ, report, r.errors);
  r.report = out.str();
  return r;
}

Result runLayout(const Layout& l, Coupling coupling = Coupling::COUPLED) {
  ModelDeck model;
  model.NUMA = l.NUMA;
  model.NUMB = l.NUMB;
  model.NCOL = l.NCOL;
  model.SLABMODEL = l.SLABMODEL;
  model.COUPLING = coupling;
  return runSYSDEF(model);
}

// Points (I, J) for I = from..to at one J, all with location loc.
Rows column(int J, int from, int to, int loc) {
  Rows rows;
  for (int I = from; I <= to; ++I) rows.push_back({I, J, loc});
  return rows;
}

Rows operator+(Rows a, const Rows& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// ---- Plates supported along their edges, 7 x 5 grid -------------------------------------
// The grid is scanned along each column J = 1..7 from I = 1 to I = 5; a perimeter point
// takes the first edge of the layout's order that it lies on.

TEST(SystemDefinition, SetsTheSystemSizeForBothCouplings) {
  EXPECT_EQ(runLayout({7, 5, 0, SlabLayout::SIMPLY_SUPPORTED}, Coupling::COUPLED).NEQ, 297);
  EXPECT_EQ(runLayout({7, 5, 0, SlabLayout::SIMPLY_SUPPORTED}, Coupling::W_ONLY).NEQ, 99);
}

// Edges tried left, upper, right, lower: the left corners have 2, (5, 7) has 3, (1, 7) 4.
Rows simplySupported7x5() {
  Rows rows = column(1, 1, 5, 2);
  for (int J = 2; J <= 6; ++J) rows = rows + Rows{{1, J, 1}, {5, J, 3}};
  return rows + column(7, 1, 4, 4) + Rows{{5, 7, 3}};
}

TEST(SystemDefinition, SimplySupportedAndClampedPlates) {
  const Rows perimeter = simplySupported7x5();
  ASSERT_EQ(perimeter.size(), 20u);

  const Result ss = runLayout({7, 5, 0, SlabLayout::SIMPLY_SUPPORTED});
  expectRows(ss.lists.SIMPLE, perimeter, "SIMPLE");
  expectRows(ss.lists.CLAMPED, {}, "CLAMPED");
  expectRows(ss.lists.FREE, {}, "FREE");
  expectRows(ss.lists.FREESYM, {}, "FREE-SYM");

  const Result clamped = runLayout({7, 5, 0, SlabLayout::CLAMPED_PLATE});
  expectRows(clamped.lists.CLAMPED, perimeter, "CLAMPED");
  expectRows(clamped.lists.SIMPLE, {}, "SIMPLE");
  EXPECT_EQ(ss.errors + clamped.errors, 0);
  EXPECT_EQ(ss.report + clamped.report, "");
}

TEST(SystemDefinition, MixedEdgeLayouts) {
  // SFSF: lower and upper edges simple (corners included), left and right edges free.
  const Result sfsf = runLayout({7, 5, 0, SlabLayout::SFSF});
  Rows simple;
  for (int J = 1; J <= 7; ++J) simple = simple + Rows{{1, J, 1}, {5, J, 3}};
  expectRows(sfsf.lists.SIMPLE, simple, "SFSF SIMPLE");
  expectRows(sfsf.lists.FREE, column(1, 2, 4, 2) + column(7, 2, 4, 4), "SFSF FREE");
  expectRows(sfsf.lists.CLAMPED, {}, "SFSF CLAMPED");

  // FSFS: left and right edges simple (corners included), lower and upper edges free.
  const Result fsfs = runLayout({7, 5, 0, SlabLayout::FSFS});
  Rows free;
  for (int J = 2; J <= 6; ++J) free = free + Rows{{1, J, 1}, {5, J, 3}};
  expectRows(fsfs.lists.SIMPLE, column(1, 1, 5, 2) + column(7, 1, 5, 4), "FSFS SIMPLE");
  expectRows(fsfs.lists.FREE, free, "FSFS FREE");

  // SSCF: lower edge simple with both lower corners, left edge simple with the upper left
  // corner, upper edge clamped with the upper right corner, right edge free.
  const Result sscf = runLayout({7, 5, 0, SlabLayout::SSCF});
  Rows sscfSimple = Rows{{1, 1, 1}} + column(1, 2, 5, 2);
  Rows sscfClamped;
  for (int J = 2; J <= 7; ++J) {
    sscfSimple.push_back({1, J, 1});
    sscfClamped.push_back({5, J, 3});
  }
  expectRows(sscf.lists.SIMPLE, sscfSimple, "SSCF SIMPLE");
  expectRows(sscf.lists.CLAMPED, sscfClamped, "SSCF CLAMPED");
  expectRows(sscf.lists.FREE, column(7, 2, 4, 4), "SSCF FREE");
}

// ---- 4-column layouts, NUMA = 11, NUMB = 9, NCOL = 1 ------------------------------------
// Corner regions of 2 x 2 points: I in 1..2 or 8..9, J in 1..2 or 10..11. Faces toward the
// slab: I = 2 gives 1, I = 8 gives 3, J = 2 gives 2, J = 10 gives 4.

Rows fourColumnClamped() {
  return Rows{{1, 1, 0},  {2, 1, 1},  {8, 1, 3},   {9, 1, 0},                // J = 1
              {1, 2, 2},  {2, 2, 1},  {2, 2, -2},  {8, 2, 2},  {8, 2, -3},   // J = 2
              {9, 2, 2},                                                     //
              {1, 10, 4}, {2, 10, 1}, {2, 10, -4}, {8, 10, 3}, {8, 10, -4},  // J = 10
              {9, 10, 4},                                                    //
              {1, 11, 0}, {2, 11, 1}, {8, 11, 3},  {9, 11, 0}};              // J = 11
}

Rows fourColumnPerimeter() {
  Rows rows = column(1, 3, 7, 2);
  for (int J = 3; J <= 9; ++J) rows = rows + Rows{{1, J, 1}, {9, J, 3}};
  return rows + column(11, 3, 7, 4);
}

TEST(SystemDefinition, FourColumnLayouts) {
  ASSERT_EQ(fourColumnClamped().size(), 20u);
  ASSERT_EQ(fourColumnPerimeter().size(), 24u);

  const Result freeEdge = runLayout({11, 9, 1, SlabLayout::FOUR_COLUMN_FREE});
  expectRows(freeEdge.lists.CLAMPED, fourColumnClamped(), "free edge CLAMPED");
  expectRows(freeEdge.lists.FREE, fourColumnPerimeter(), "free edge FREE");
  expectRows(freeEdge.lists.FREESYM, {}, "free edge FREE-SYM");
  expectRows(freeEdge.lists.SIMPLE, {}, "free edge SIMPLE");

  const Result symmetric = runLayout({11, 9, 1, SlabLayout::FOUR_COLUMN_SYM});
  expectRows(symmetric.lists.CLAMPED, fourColumnClamped(), "symmetric edge CLAMPED");
  expectRows(symmetric.lists.FREESYM, fourColumnPerimeter(), "symmetric edge FREE-SYM");
  expectRows(symmetric.lists.FREE, {}, "symmetric edge FREE");
}

// ---- 9-column layout, NUMA = 9, NUMB = 13, NCOL = 1 -------------------------------------
// MA = 5, MB = 7. Row bands I = 1..2, 6..8, 12..13; column bands J = 1..2, 4..6, 8..9.
// Row faces: I = 2 gives 1, I = 6 gives 3, I = 8 gives 1, I = 12 gives 3. Column faces:
// J = 2 gives 2, J = 4 gives 4, J = 6 gives 2, J = 8 gives 4. Inner corners: left band
// 1,-2 and 3,-2; middle band 1,-2, 1,-4, 2,-3, 3,-4; right band 1,-4 and 3,-4.

// A region column without a column face: the row faces alone.
Rows plainRegionColumn(int J) {
  return {{1, J, 0}, {2, J, 1}, {6, J, 3}, {7, J, 0}, {8, J, 1}, {12, J, 3}, {13, J, 0}};
}

Rows nineColumnClamped() {
  return plainRegionColumn(1) +
         Rows{{1, 2, 2}, {2, 2, 1},  {2, 2, -2}, {6, 2, 3},   {6, 2, -2}, {7, 2, 2},
              {8, 2, 1}, {8, 2, -2}, {12, 2, 3}, {12, 2, -2}, {13, 2, 2}} +
         Rows{{1, 4, 4}, {2, 4, 1},  {2, 4, -4}, {6, 4, 3},   {6, 4, -4}, {7, 4, 4},
              {8, 4, 1}, {8, 4, -4}, {12, 4, 3}, {12, 4, -4}, {13, 4, 4}} +
         plainRegionColumn(5) +
         Rows{{1, 6, 2}, {2, 6, 1},  {2, 6, -2}, {6, 6, 2},   {6, 6, -3}, {7, 6, 2},
              {8, 6, 1}, {8, 6, -2}, {12, 6, 2}, {12, 6, -3}, {13, 6, 2}} +
         Rows{{1, 8, 4}, {2, 8, 1},  {2, 8, -4}, {6, 8, 3},   {6, 8, -4}, {7, 8, 4},
              {8, 8, 1}, {8, 8, -4}, {12, 8, 3}, {12, 8, -4}, {13, 8, 4}} +
         plainRegionColumn(9);
}

TEST(SystemDefinition, NineColumnLayout) {
  const Rows clamped = nineColumnClamped();
  ASSERT_EQ(clamped.size(), 65u);  // 49 region points, 16 inner corners with a second row
  const Rows freeSym = column(1, 3, 5, 2) + column(1, 9, 11, 2) +
                       Rows{{1, 3, 1}, {13, 3, 3}, {1, 7, 1}, {13, 7, 3}} + column(9, 3, 5, 4) +
                       column(9, 9, 11, 4);

  const Result r = runLayout({9, 13, 1, SlabLayout::NINE_COLUMN});
  expectRows(r.lists.CLAMPED, clamped, "CLAMPED");
  expectRows(r.lists.FREESYM, freeSym, "FREE-SYM");
  expectRows(r.lists.FREE, {}, "FREE");
  expectRows(r.lists.SIMPLE, {}, "SIMPLE");
  EXPECT_EQ(r.errors, 0);
}

// ---- User-defined layout -----------------------------------------------------------------

ModelDeck userDeck(const std::vector<std::array<int, 4>>& points) {
  ModelDeck model;
  model.NUMA = 7;
  model.NUMB = 5;
  model.SLABMODEL = SlabLayout::USER_DEFINED;
  for (const auto& p : points) {
    ++model.NUSERBC;
    for (int c = 1; c <= 4; ++c)
      model.USERBC(model.NUSERBC, c) = p[static_cast<std::size_t>(c - 1)];
  }
  return model;
}

TEST(SystemDefinition, UserPointsGoToTheListOfTheirCondition) {
  ModelDeck model = userDeck({{1, 1, 2, 2},
                              {3, 1, 3, 2},
                              {5, 1, 5, 1},  // condition 5: passed over
                              {2, 1, 1, 0},
                              {3, 7, 4, 4},
                              {4, 1, 3, 2},
                              {2, 2, 1, -2}});
  const Result r = runSYSDEF(model);
  expectRows(r.lists.CLAMPED, {{2, 1, 0}, {2, 2, -2}}, "CLAMPED");
  expectRows(r.lists.SIMPLE, {{1, 1, 2}}, "SIMPLE");
  expectRows(r.lists.FREE, {{3, 1, 2}, {4, 1, 2}}, "FREE");
  expectRows(r.lists.FREESYM, {{3, 7, 4}}, "FREE-SYM");
  EXPECT_EQ(r.errors, 0);
  EXPECT_EQ(r.NEQ, 297);
}

TEST(SystemDefinition, UserTableEndsAtTheFirstEmptyRowOrItsCount) {
  ModelDeck model = userDeck({{1, 1, 2, 2}, {0, 0, 0, 0}, {2, 1, 2, 2}});
  expectRows(runSYSDEF(model).lists.SIMPLE, {{1, 1, 2}}, "after an empty row");

  model = userDeck({{1, 1, 2, 2}, {2, 1, 2, 2}});
  model.NUSERBC = 1;
  expectRows(runSYSDEF(model).lists.SIMPLE, {{1, 1, 2}}, "rows beyond NUSERBC");
}

// A point off the grid would make the boundary step address unknowns beyond the extended
// grid; a free point needs the edge it is free across.
TEST(SystemDefinition, UserPointsTheBoundaryStepCannotUseAreRefused) {
  ModelDeck model = userDeck({{6, 1, 2, 2}, {3, 0, 1, 2}, {3, 1, 3, 0}, {1, 1, 2, 2}});
  const Result r = runSYSDEF(model);
  expectRows(r.lists.SIMPLE, {{1, 1, 2}}, "SIMPLE");
  expectRows(r.lists.CLAMPED, {}, "CLAMPED");
  expectRows(r.lists.FREE, {}, "FREE");
  EXPECT_EQ(r.errors, 3);
  const std::vector<std::string> expected = {
      "***ERROR: USER-DEFINED BOUNDARY POINT FOR ENTRY    1 LIES OUTSIDE",
      "          THE GRID: I =    6  J =    1",
      "***ERROR: USER-DEFINED BOUNDARY POINT FOR ENTRY    2 LIES OUTSIDE",
      "          THE GRID: I =    3  J =    0",
      "***ERROR: USER-DEFINED BOUNDARY POINT FOR ENTRY    3 HAS LOCATION    0",
      "          WHICH A FREE CONDITION CANNOT USE",
  };
  EXPECT_EQ(test::splitLines(r.report), expected);
}

// ---- Capacity ---------------------------------------------------------------------------

TEST(SystemDefinition, AFullListTakesNoMoreRowsAndIsReportedOnce) {
  Capacities cap;
  cap.MXD2 = 12;
  ModelDeck model;
  model.NUMA = 7;
  model.NUMB = 5;
  model.SLABMODEL = SlabLayout::SIMPLY_SUPPORTED;  // 20 perimeter points
  const Result r = runSYSDEF(model, cap);
  const Rows all = simplySupported7x5();
  expectRows(r.lists.SIMPLE, Rows(all.begin(), all.begin() + 12), "SIMPLE");
  EXPECT_EQ(r.errors, 1);
  const std::vector<std::string> expected = {
      "***ERROR: MEMORY PARAMETER MXD2 IS BEING EXCEEDED IN",
      "          ESTABLISHING THE SIMPLE BOUNDARY POINT LIST. INCREASE MXD2",
  };
  EXPECT_EQ(test::splitLines(r.report), expected);
}

// SYSDEF starts from empty lists, so a second call does not append to the first.
TEST(SystemDefinition, ListsAreRebuiltFromEmpty) {
  ModelDeck model;
  model.NUMA = 7;
  model.NUMB = 5;
  model.SLABMODEL = SlabLayout::SIMPLY_SUPPORTED;
  BoundaryPointLists lists(Capacities{}.MXD2);
  std::ostringstream out;
  Writer report(out);
  int NEQ = 0, errors = 0;
  SYSDEF(model, Capacities{}, lists, NEQ, report, errors);
  model.SLABMODEL = SlabLayout::SFSF;
  SYSDEF(model, Capacities{}, lists, NEQ, report, errors);
  EXPECT_EQ(lists.SIMPLE.count(), 14);
  EXPECT_EQ(lists.FREE.count(), 6);
}

}  // namespace
