// Load, default-pressure and support-layout statements, read through the statement loop.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "statement_reader_harness.hpp"

namespace korvant {
namespace {

using test::improperFormat;
using test::padded;
using test::readDeck;
using Lines = std::vector<std::string>;
using Row = std::vector<double>;
using Point = std::vector<int>;

Row loadRow(const ModelDeck& m, int i) {
  Row r;
  for (int j = 1; j <= load_col::COUNT; ++j) r.push_back(m.LOADS(i, j));
  return r;
}

Point userPoint(const ModelDeck& m, int i) {
  Point p;
  for (int j = 1; j <= userbc_col::COUNT; ++j) p.push_back(m.USERBC(i, j));
  return p;
}

// ---- loads ------------------------------------------------------------------------------

TEST(LoadStatement, LoadLinesGiveNumberTypeMagnitudeAndZone) {
  struct Case {
    std::string line;
    Row row;  // number, type, magnitude, zone
  };
  const std::vector<Case> cases = {
      {"1, DEAD, 2.5, 3", {1, 2, 2.5, 3}},
      {"2 UNIFORM LOAD 0.01", {2, 1, 0.01, 0}},
      {"3 UNIFORM 2.0E-2", {3, 1, 0.02, 0}},
      {"1 LIVE 1.5 2", {1, 3, 1.5, 2}},
      {"4 USER-DEFINED 7.0,1", {4, 4, 7, 1}},
      {"  1   dead   2.0D0   4", {1, 2, 2, 4}},
      {"1 uniform load 0.5", {1, 1, 0.5, 0}},
      // mixed case is no load word; the next word in one case is
      {"1 Dead LIVE 3.0 2", {1, 3, 3, 2}},
  };
  for (const Case& c : cases) {
    const auto r = readDeck("*NORMAL PRESSURE\n" + c.line + "\n*END\n");
    EXPECT_EQ(r.report, Lines{}) << c.line;
    EXPECT_EQ(r.nerr, 0);
    ASSERT_EQ(r.model.NLOAD, 1) << c.line;
    EXPECT_EQ(loadRow(r.model, 1), c.row) << c.line;
  }
}

// A uniform load acts on the whole slab: it never inherits the zone of the line before it.
TEST(LoadStatement, UniformLoadAfterAZoneLoadHasNoZone) {
  const auto r = readDeck("*NORMAL P\n1 DEAD 2.0 3\n** comment\n\n1 UNIFORM 0.5\n*END\n");
  EXPECT_EQ(r.report, Lines{});
  ASSERT_EQ(r.model.NLOAD, 2);
  EXPECT_EQ(loadRow(r.model, 2), (Row{1, 1, 0.5, 0}));
}

TEST(LoadStatement, LineWithoutALoadWordIsStoredEmptyAndRefused) {
  const auto r = readDeck("*NORMAL PRESSURE\n1 DEAD 2.0 1\n2 WIND 1.0 1\n*END\n");
  EXPECT_EQ(r.report, Lines{"***ERROR: LOAD TYPE FOR LOAD ENTRY    2 NOT RECOGNIZED"});
  EXPECT_EQ(r.nerr, 1);
  ASSERT_EQ(r.model.NLOAD, 2);
  EXPECT_EQ(loadRow(r.model, 2), (Row{2, 0, 0, 0}));
}

// Load lines beyond the twenty lines a statement examines would be lost: they are refused.
TEST(LoadStatement, OneStatementExaminesTwentyLinesAndRefusesTheRest) {
  std::string deck = "*NORMAL PRESSURE\n";
  for (int k = 1; k <= 25; ++k) deck += std::to_string(k) + " UNIFORM 1.0\n";
  const auto r = readDeck(deck + "*END\n");
  const Lines expected = {
      "***ERROR: THE *NORMAL PRESSURE STATEMENT AT LINE     1 READS AT MOST 20 LINES:",
      "          THE    5 LINE(S) OF VALUES FROM LINE    22 ON ARE NOT READ"};
  EXPECT_EQ(r.report, expected);
  EXPECT_EQ(r.nerr, 1);
  EXPECT_EQ(r.model.NLOAD, 20);
  EXPECT_EQ(loadRow(r.model, 20), (Row{20, 1, 1, 0}));
}

TEST(LoadStatement, CommentsCountTowardTheTwentyLines) {
  std::string deck = "*NORMAL PRESSURE\n";
  for (int k = 1; k <= 19; ++k) deck += "** comment\n";
  const auto r = readDeck(deck + "1 DEAD 1.0 1\n\n** after\n2 DEAD 1.0 1\n*END\n");
  EXPECT_EQ(r.model.NLOAD, 1);
  const Lines expected = {
      "***ERROR: THE *NORMAL PRESSURE STATEMENT AT LINE     1 READS AT MOST 20 LINES:",
      "          THE    1 LINE(S) OF VALUES FROM LINE    24 ON ARE NOT READ"};
  EXPECT_EQ(r.report, expected);
  EXPECT_EQ(r.nerr, 1);
}

TEST(LoadStatement, RowsBeyondTheTableAreRefusedAcrossStatements) {
  std::string deck = "*NORMAL PRESSURE\n";
  for (int k = 1; k <= 20; ++k) deck += "1 DEAD 1.0 " + std::to_string(k) + "\n";
  deck += "*NORMAL PRESSURE\n2 LIVE 3.0 4\n3 UNIFORM 1.0\n*END\n";
  const auto r = readDeck(deck);
  const Lines expected = {
      "***ERROR: NUMBER OF LOADS EXCEEDING    20. INCREASE MXD5 PARAMETER",
      "          LOAD    2 OF TYPE    3 IS NOT STORED",
      "***ERROR: NUMBER OF LOADS EXCEEDING    20. INCREASE MXD5 PARAMETER",
      "          LOAD    3 OF TYPE    1 IS NOT STORED",
  };
  EXPECT_EQ(r.report, expected);
  EXPECT_EQ(r.nerr, 2);
  EXPECT_EQ(r.model.NLOAD, 20);
  EXPECT_EQ(loadRow(r.model, 20), (Row{1, 2, 1, 20}));
}

// A zone load without its zone, or a line without a load number, cannot be read: the run
// ends with an error naming the deck line.
TEST(LoadStatement, MissingValuesEndTheRunNamingTheLine) {
  for (const std::string line : {"1 DEAD 2.5", "DEAD 2.5 3", "1 LIVE LOAD 2.5 3"}) {
    DeckReader deck = DeckReader::fromText("*NORMAL PRESSURE\n" + line + "\n*END\n");
    std::ostringstream out;
    Writer report(out);
    ModelDeck model;
    try {
      readStatements(deck, model, Capacities{}, report);
      ADD_FAILURE() << line;
    } catch (const DeckError& e) {
      EXPECT_EQ(e.lineNumber(), 2) << line;
      EXPECT_EQ(e.lineText(), padded(line, 80)) << line;
    }
  }
}

TEST(DefaultPressureStatement, SetsThePressureAndOneLoadCase) {
  const auto r = readDeck("*DEFAULT PRESSURE\n  -0.25\n*END\n");
  EXPECT_EQ(r.model.PDEF, -0.25);
  EXPECT_EQ(r.model.NLC, 1);
  EXPECT_EQ(r.report, Lines{});
}

// ---- support layouts --------------------------------------------------------------------

TEST(BoundaryStatement, LibraryLayoutNamedInTheFirstTwentyColumns) {
  struct Case {
    std::string name;
    int SLABMODEL;
  };
  const std::vector<Case> cases = {
      {"9-COLUMN", 1},
      {"CLAMPED", 2},
      {"CLAMPED EDGES", 2},
      {"4-COLUMN FREE EDGE", 3},
      {"4-COLUMN SYMMETRIC EDGE", 4},
      {"  4-column free edge", 3},
      {"SSCF", 5},
      {"SFSF", 6},
      {"FSFS", 7},
      {"SIMPLY SUPPORTED", 8},
      {"simply supported", 8},
      {"Simply Supported", 0},  // S and I in different cases; no C, no pair
      {"4 EDGES", 4},           // the S of EDGES follows the 4
      {std::string(20, ' ') + "CLAMPED", 0},
      {"", 0},
  };
  for (const Case& c : cases) {
    const auto r = readDeck("*BOUNDARY = LIBRARY\n" + c.name + "\n*END\n");
    EXPECT_EQ(codeNumber(r.model.SLABMODEL), c.SLABMODEL) << c.name;
    EXPECT_EQ(r.report, Lines{}) << c.name;
    EXPECT_EQ(r.linesRead, 3) << c.name;
  }
}

TEST(BoundaryStatement, LaterStatementOverridesAndAnUnknownNameKeepsTheLayout) {
  const auto r = readDeck("*BOUNDARY = L\nSSCF\n*boundary = l\nNOTHING\n*END\n");
  EXPECT_EQ(r.model.SLABMODEL, SlabLayout::SSCF);
}

TEST(BoundaryStatement, NoTypeIsAnErrorAndNothingMoreIsRead) {
  for (const std::string statement : {"*BOUNDARY", "*BOUNDARY = NONE", "*BOUNDARY U"}) {
    const auto r = readDeck(statement + "\nCLAMPED\n*END\n");
    Lines expected = {"***ERROR: NO TYPE SPECIFIED ON *BOUNDARY STATEMENT", ""};
    const Lines w = improperFormat("CLAMPED");
    expected.insert(expected.end(), w.begin(), w.end());
    EXPECT_EQ(r.report, expected) << statement;
    EXPECT_EQ(r.nerr, 1);
    EXPECT_EQ(r.model.SLABMODEL, SlabLayout::NONE);
  }
}

TEST(BoundaryStatement, UserDefinedPointsUpToTheNextStatement) {
  const auto r = readDeck(
      "*BOUNDARY = USER-DEFINED\n"
      "5 1 S 1\n"
      "  3, 4, CLAMPED, 2\n"
      "** a comment\n"
      "2 2 FE 3\n"
      "\n"
      "7 7 fs 4\n"
      "1 9 SIMPLE\n"
      "6 1 FREE-SYM 12\n"  // F is followed by R; the S of SYM makes it SIMPLE
      "*SLAB\n"
      "10. 20.\n"
      "*END\n");
  EXPECT_EQ(r.report, Lines{});
  EXPECT_EQ(r.model.SLABMODEL, SlabLayout::USER_DEFINED);
  ASSERT_EQ(r.model.NUSERBC, 6);
  const std::vector<Point> expected = {{5, 1, 2, 1}, {3, 4, 1, 2}, {2, 2, 3, 3},
                                       {7, 7, 4, 4}, {1, 9, 2, 0}, {6, 1, 2, 12}};
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(userPoint(r.model, k), expected[k - 1]) << k;
  EXPECT_EQ(r.model.A, 10.0);
}

TEST(BoundaryStatement, PointWithoutConditionEndsTheListWithAnError) {
  const auto r = readDeck(
      "*BOUNDARY = U\n"
      "5 1 C 1\n"
      "5 2 FREE 1\n"
      "5 3 C 1\n"
      "*END\n");
  Lines expected = {"***ERROR: USER-DEFINED BOUNDARY TYPE FOR ENTRY    2 NOT RECOGNIZED"};
  const Lines w = improperFormat("5 3 C 1");
  expected.insert(expected.end(), w.begin(), w.end());
  EXPECT_EQ(r.report, expected);
  EXPECT_EQ(r.nerr, 1);
  ASSERT_EQ(r.model.NUSERBC, 2);
  EXPECT_EQ(userPoint(r.model, 1), (Point{5, 1, 1, 1}));
  EXPECT_EQ(userPoint(r.model, 2), (Point{0, 0, 0, 0}));
}

TEST(BoundaryStatement, FiveHundredFirstPointIsLeftToTheStatementLoop) {
  std::string deck = "*BOUNDARY = USER\n";
  for (int k = 1; k <= 501; ++k) deck += std::to_string(k) + " 1 S 1\n";
  const auto r = readDeck(deck + "*END\n");
  Lines expected = {"***ERROR: NUMBER OF USER-DEFINED BOUNDARY POINTS IS",
                    "          EXCEEDING INTERNAL ARRAYS. RESET MXD3"};
  const Lines w = improperFormat("501 1 S 1");
  expected.insert(expected.end(), w.begin(), w.end());
  EXPECT_EQ(r.report, expected);
  EXPECT_EQ(r.nerr, 1);
  EXPECT_EQ(r.model.NUSERBC, 500);
  EXPECT_EQ(userPoint(r.model, 500), (Point{500, 1, 2, 1}));
}

}  // namespace
}  // namespace korvant
