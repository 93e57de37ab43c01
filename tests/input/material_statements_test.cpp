// Material, layer, zone and damage-law statements, read through the statement loop.
#include <gtest/gtest.h>

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

Row rowOf(const Matrix<double>& t, int i) {
  Row r;
  for (int j = 1; j <= t.cols(); ++j) r.push_back(t(i, j));
  return r;
}

std::vector<int> zoneLayers(const ModelDeck& m, int zone) {
  std::vector<int> ids;
  for (int k = 1; k <= kZoneLayers && m.ZLAY(zone, k) != 0; ++k) ids.push_back(m.ZLAY(zone, k));
  return ids;
}

// The three lines with which the statement loop answers a data line left unread.
Lines joined(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// ---- materials --------------------------------------------------------------------------

TEST(MaterialStatement, TypeAndIdentifierInEitherOrder) {
  struct Case {
    std::string statement;
    bool steel;
    Row row;
  };
  const std::vector<Case> cases = {
      {"*MATERIAL, MATID=3, TYPE=STEEL", true, {3, 0.5, 6, 29000, 0.3, 60}},
      {"*MATERIAL, TYPE=STEEL, MATID=3", true, {3, 0.5, 6, 29000, 0.3, 60}},
      {"*MATERIAL TYPE=CONCRETE MATID=7", false, {7, 0.5, 6, 29000, 0.3, 60}},
      {"*material matid = 12,type = concrete", false, {12, 0.5, 6, 29000, 0.3, 60}},
      // without MATID the row is stored with identifier 0
      {"*MATERIAL TYPE = STEEL", true, {0, 0.5, 6, 29000, 0.3, 60}},
      // the first S or C after TYPE's `=` decides, here the C of CONCRETE-LIKE
      {"*MATERIAL MATID=4 TYPE = A CONCRETE-LIKE STEEL", false, {4, 0.5, 6, 29000, 0.3, 60}},
  };
  for (const Case& c : cases) {
    const auto r = readDeck(c.statement + "\n 0.5, 6.0  29000. 0.3 60.\n*END\n");
    EXPECT_EQ(r.report, Lines{}) << c.statement;
    EXPECT_EQ(r.nerr, 0);
    EXPECT_EQ(r.model.NSTEEL, c.steel ? 1 : 0) << c.statement;
    EXPECT_EQ(r.model.NCONC, c.steel ? 0 : 1) << c.statement;
    EXPECT_EQ(rowOf(c.steel ? r.model.STEEL : r.model.CONC, 1), c.row) << c.statement;
  }
}

TEST(MaterialStatement, WithoutATypeNothingIsReadAndTheDataLineIsAnswered) {
  for (const std::string statement : {"*MATERIAL, MATID=3, TYPE=X", "*MATERIAL MATID=3"}) {
    const auto r = readDeck(statement + "\n1.0 2.0 3.0 4.0 5.0\n*END\n");
    EXPECT_EQ(r.report, improperFormat("1.0 2.0 3.0 4.0 5.0")) << statement;
    EXPECT_EQ(r.model.NSTEEL + r.model.NCONC, 0);
    EXPECT_EQ(r.nerr, 0);
  }
}

TEST(MaterialStatement, TwentyFirstSteelIsReadAndRefused) {
  std::string deck;
  for (int k = 1; k <= 21; ++k)
    deck += "*MATERIAL TYPE=STEEL MATID=" + std::to_string(k) + "\n" + std::to_string(k) +
            ". 6. 29000. 0.3 60.\n";
  deck += "*MATERIAL TYPE=CONCRETE MATID=1\n3600. 0.2 0.4 4.0 0.5\n*END\n";
  const auto r = readDeck(deck);
  EXPECT_EQ(r.report,
            Lines{"***ERROR: NUMBER OF MATERIALS EXCEEDING    20. INCREASE MXD5 PARAMETER"});
  EXPECT_EQ(r.nerr, 1);
  EXPECT_EQ(r.model.NSTEEL, 20);
  EXPECT_EQ(rowOf(r.model.STEEL, 20), (Row{20, 20, 6, 29000, 0.3, 60}));
  // the concrete table has room of its own
  EXPECT_EQ(r.model.NCONC, 1);
  EXPECT_EQ(rowOf(r.model.CONC, 1), (Row{1, 3600, 0.2, 0.4, 4.0, 0.5}));
}

// ---- layers -----------------------------------------------------------------------------

TEST(LayerStatement, IdentifierFromTheEqualsOrFromThePreviousLayer) {
  const auto r = readDeck(
      "*LAYER\n"  // before any layer: identifier 0
      "0 2 1 0.25 0.0\n"
      "*LAYER = 4\n"
      "1, 0, 3, 0.5, 90.\n"
      "*MATERIAL TYPE=STEEL MATID=9\n"  // a material identifier does not carry over
      "0.5 6 29000 0.3 60\n"
      "*LAYER\n"
      "1 2 3\n"
      "  0.75 45\n"  // the data continue on the next line
      "*END\n");
  EXPECT_EQ(r.report, Lines{});
  ASSERT_EQ(r.model.NLAYER, 3);
  EXPECT_EQ(rowOf(r.model.LAYERS, 1), (Row{0, 0, 2, 1, 0.25, 0}));
  EXPECT_EQ(rowOf(r.model.LAYERS, 2), (Row{4, 1, 0, 3, 0.5, 90}));
  EXPECT_EQ(rowOf(r.model.LAYERS, 3), (Row{4, 1, 2, 3, 0.75, 45}));
}

TEST(LayerStatement, TwentyFirstLayerIsRefusedAndItsDataLineAnswered) {
  std::string deck;
  for (int k = 1; k <= 21; ++k) deck += "*LAYER = " + std::to_string(k) + "\n1 0 1 0.1 0\n";
  const auto r = readDeck(deck + "*END\n");
  EXPECT_EQ(r.report,
            joined({{"***ERROR: NUMBER OF ZONES EXCEEDING    20. INCREASE MXD5 PARAMETER"},
                    improperFormat("1 0 1 0.1 0")}));
  EXPECT_EQ(r.nerr, 1);
  EXPECT_EQ(r.model.NLAYER, 20);
  EXPECT_EQ(r.model.LAYERS(20, layer_col::LAYID), 20);
}

// ---- zones ------------------------------------------------------------------------------

TEST(ZoneStatement, RectangleAndLayerListsOverSeveralLines) {
  const auto r = readDeck(
      "*ZONE = 2\n"
      "120.0 48.0 60.0 24.0\n"
      "1 2 3 4 5 6\n"
      "** between the lines\n"
      " 7,8,9,10,11,12\n"
      "*ZONE\n"  // without `=`: the number of the last zone
      "120.0 48.0 60.0 72.0\n"
      "12 11\n"
      "\n"  // a blank line holds no identifiers
      "*END\n");
  EXPECT_EQ(r.report, Lines{});
  ASSERT_EQ(r.model.NZONE, 2);
  EXPECT_EQ(rowOf(r.model.ZONES, 1), (Row{2, 120, 48, 60, 24}));
  EXPECT_EQ(rowOf(r.model.ZONES, 2), (Row{2, 120, 48, 60, 72}));
  EXPECT_EQ(zoneLayers(r.model, 1), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  EXPECT_EQ(zoneLayers(r.model, 2), (std::vector<int>{12, 11}));
}

TEST(ZoneStatement, ListExaminesTenLinesCommentsIncluded) {
  std::string deck = "*ZONE = 1\n10. 10. 5. 5.\n** first line of the list\n";
  for (int k = 1; k <= 10; ++k) deck += std::to_string(k) + "\n";
  const auto r = readDeck(deck + "*END\n");
  EXPECT_EQ(zoneLayers(r.model, 1), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
  const Lines expected = {"***ERROR: THE *ZONE STATEMENT AT LINE     1 READS AT MOST 10 LINES:",
                          "          THE    1 LINE(S) OF VALUES FROM LINE    13 ON ARE NOT READ"};
  EXPECT_EQ(r.report, expected);
  EXPECT_EQ(r.nerr, 1);
}

TEST(ZoneStatement, MoreThanTwentyFiveLayersKeepTheFirstAndAreRefused) {
  std::string deck = "*ZONE = 3\n10. 10. 5. 5.\n";
  for (int line = 0; line < 3; ++line) {
    for (int k = 1; k <= 10; ++k) deck += std::to_string(10 * line + k) + " ";
    deck += "\n";
  }
  const auto r = readDeck(deck + "*END\n");
  const Lines expected = {
      "***ERROR: NUMBER OF LAYERS IN ZONE    3 EXCEEDING    25.",
      "          THE ZONE LISTS   30 LAYERS; ONLY THE FIRST   25 ARE STORED",
  };
  EXPECT_EQ(r.report, expected);
  EXPECT_EQ(r.nerr, 1);
  std::vector<int> first25;
  for (int k = 1; k <= 25; ++k) first25.push_back(k);
  EXPECT_EQ(zoneLayers(r.model, 1), first25);
}

TEST(ZoneStatement, TwentyFirstZoneIsReadWithItsListAndRefused) {
  std::string deck;
  for (int k = 1; k <= 21; ++k) deck += "*ZONE = " + std::to_string(k) + "\n10. 10. 5. 5.\n1 2\n";
  const auto r = readDeck(deck + "*END\n");
  const Lines expected = {
      "***ERROR: NUMBER OF ZONES EXCEEDING    20. INCREASE MXD5 PARAMETER",
      "          ZONE   21 IS NOT STORED",
  };
  EXPECT_EQ(r.report, expected);  // the refused zone's lines are consumed, not answered
  EXPECT_EQ(r.nerr, 1);
  EXPECT_EQ(r.model.NZONE, 20);
  EXPECT_EQ(r.model.ZONES(20, zone_col::NUMBER), 20);
}

// ---- damage laws ------------------------------------------------------------------------

struct LawCase {
  std::string deck;  // the statement and its lines, without *END
  Row row;
  int DLFORM;
  int CRKDENS;
};

TEST(DamageLawStatement, KindDecidesHowManyModuliAreRead) {
  const std::vector<LawCase> cases = {
      {"*DAMAGE LAW, LAWID=5\nSTEEL\nCONSTANT\n2900.\n1.0 0.0 0.0 0.0\n",
       {5, 2900, 0, 0, 0, 1, 0, 0, 0, 0},
       1,
       1},
      {"*DAMAGE LAW, LAWID=6\nCOMBINED\nCONSTANT\n10. 20. 30. 40.\n1 0 0 0\n",
       {6, 10, 20, 30, 40, 1, 0, 0, 0, 0},
       1,
       1},
      // CON is found before any S
      {"*DAMAGE LAW, LAWID=7\nCONCRETE AND STEEL\nPOLYNOMIAL\n10. 20. 30.\n0.5,0.1,0.01,0.001\n",
       {7, 10, 20, 30, 0, 0.5, 0.1, 0.01, 0.001, 0},
       2,
       1},
      {"*damage law lawid=8\nconcrete\npolynomial\n10. 20. 30.\n1 0 0 0\n",
       {8, 10, 20, 30, 0, 1, 0, 0, 0, 0},
       2,
       1},
      // the moduli may run over two lines
      {"*DAMAGE LAW  LAWID = 9 STRESS\nCOMBINED\nC\n10. 20.\n30. 40.\n1 0 0 0\n",
       {9, 10, 20, 30, 40, 1, 0, 0, 0, 0},
       1,
       2},
      {"*DAMAGE LAW  LAWID = 9, STRAIN THEN STRESS\nSTEEL\nC\n10.\n1 0 0 0\n",
       {9, 10, 0, 0, 0, 1, 0, 0, 0, 0},
       1,
       1},
      // the crack density word is looked for from the `=` on only
      {"*DAMAGE LAW STRESS LAWID=3\nSTEEL\nC\n10.\n1 0 0 0\n",
       {3, 10, 0, 0, 0, 1, 0, 0, 0, 0},
       1,
       1},
  };
  for (const LawCase& c : cases) {
    const auto r = readDeck(c.deck + "*END\n");
    EXPECT_EQ(r.report, Lines{}) << c.deck;
    EXPECT_EQ(r.nerr, 0);
    ASSERT_EQ(r.model.NLAW, 1) << c.deck;
    EXPECT_EQ(rowOf(r.model.DLAWS, 1), c.row) << c.deck;
    EXPECT_EQ(codeNumber(r.model.DLFORM), c.DLFORM) << c.deck;
    EXPECT_EQ(codeNumber(r.model.CRKDENS), c.CRKDENS) << c.deck;
  }
}

TEST(DamageLawStatement, IdentifierAndKindCarryOverFromThePreviousLaw) {
  const auto r = readDeck(
      "*DAMAGE LAW, LAWID=4, STRESS\n"
      "CONCRETE\n"
      "POLY\n"
      "1. 2. 3.\n"
      "1 0 0 0\n"
      // an `=` before column 15 is not the law's: LAWID, kind and form stay as they were
      "*DAMAGE LAW = 8\n"
      "----\n"
      "----\n"
      "4. 5. 6.\n"
      "1 0 0 0\n"
      "*END\n");
  EXPECT_EQ(r.report, Lines{});
  ASSERT_EQ(r.model.NLAW, 2);
  EXPECT_EQ(rowOf(r.model.DLAWS, 2), (Row{4, 4, 5, 6, 0, 1, 0, 0, 0, 0}));
  EXPECT_EQ(r.model.DLFORM, LawForm::EQUATION);
  EXPECT_EQ(r.model.CRKDENS, CrackDensity::STRESS_BASED);
}

TEST(DamageLawStatement, KindFromTheFirstMatchingPositionAndNoneGivesAnEmptyRow) {
  const auto r = readDeck(
      "*DAMAGE LAW, LAWID=2\n"
      "ELASTIC-PLASTIC\n"  // holds an S: a steel law
      "C\n"
      "7.\n"
      "1 0 0 0\n"
      "*END\n");
  EXPECT_EQ(rowOf(r.model.DLAWS, 1), (Row{2, 7, 0, 0, 0, 1, 0, 0, 0, 0}));

  const auto none = readDeck(
      "*DAMAGE LAW, LAWID=2\n"
      "SOFTENING\n"
      "NONE\n"
      "7.\n"
      "1 0 0 0\n"
      "*END\n");
  EXPECT_EQ(none.model.DLAWS(1, law_col::LAWID), 2);  // S of SOFTENING

  const auto r0 = readDeck(
      "*DAMAGE LAW, LAWID=2\n"
      "NO KIND GIVEN\n"
      "CONSTANT\n"
      "7.\n"
      "1 0 0 0\n"
      "*END\n");
  EXPECT_EQ(r0.report, joined({{"***ERROR: DAMAGE LAW TYPE FOR LAW ID    2 NOT RECOGNIZED"},
                               improperFormat("7."),
                               improperFormat("1 0 0 0")}));
  EXPECT_EQ(r0.nerr, 1);
  ASSERT_EQ(r0.model.NLAW, 1);
  EXPECT_EQ(rowOf(r0.model.DLAWS, 1), Row(10, 0.0));
}

TEST(DamageLawStatement, StatementInPlaceOfTheCoefficientsIsLost) {
  const auto r = readDeck(
      "*DAMAGE LAW, LAWID=2\n"
      "CONCRETE\n"
      "CONSTANT\n"
      "100. 200. 300.\n"
      "*LAYER = 1\n"
      "0 1 2 1.0 0.0\n"
      "*END\n");
  EXPECT_EQ(r.report, joined({{"***ERROR: MISSING SECOND LINE OF DATA INPUT FOR DAMAGE LAW"},
                              improperFormat("0 1 2 1.0 0.0")}));
  EXPECT_EQ(r.nerr, 1);
  EXPECT_EQ(r.model.NLAYER, 0);
  ASSERT_EQ(r.model.NLAW, 1);
  EXPECT_EQ(rowOf(r.model.DLAWS, 1), (Row{2, 100, 200, 300, 0, 0, 0, 0, 0, 0}));
}

// K(2) = a + b + 3c + 7d and K(3) = a + 2b + 8c + 26d.
TEST(DamageLawStatement, ReductionFactorsOutsideZeroToOneAreWarnedAbout) {
  const Lines negative = {"            CORRECTIVE ACTION: NEGATIVE VALUES WILL BE SET",
                          "            EQUAL TO THE DEFAULT POST-FAILURE MODULI", ""};
  const Lines aboveOne = {"            CORRECTIVE ACTION: VALUES GREATER THAN UNITY WILL BE",
                          "            SET EQUAL TO THE POST-FAILURE DEFAULT MODULI", ""};
  const auto head = [](const std::string& factors) {
    return Lines{"", "***WARNING: EQUATION LAW FOR POST-FAILURE MODULUS REDUCTION",
                 "            FOR STRESS RATIOS EQUAL TO 2.0 AND 3.0 YIELDS",
                 "            REDUCTION FACTORS OF " + factors, ""};
  };
  struct Case {
    std::string coefficients;
    Lines report;
  };
  const std::vector<Case> cases = {
      // a = 1, d = -0.1: K(2) = 1 - 0.7 = 0.3, K(3) = 1 - 2.6 = -1.6
      {"1.0 0.0 0.0 -0.1", joined({head("0.300E+00 AND -.160E+01"), negative})},
      // b = 7.5, c = -2: K(2) = 7.5 - 6 = 1.5, K(3) = 15 - 16 = -1
      {"0.0 7.5 -2.0 0.0", joined({head("0.150E+01 AND -.100E+01"), negative,
                                   head("0.150E+01 AND -.100E+01"), aboveOne})},
      // b = 0.5: K(2) = 0.5, K(3) = 1.0; one is not above unity
      {"0.0 0.5 0.0 0.0", {}},
      // a = 1.25: K(2) = K(3) = 1.25
      {"1.25 0 0 0", joined({head("0.125E+01 AND 0.125E+01"), aboveOne})},
  };
  for (const Case& c : cases) {
    const auto r =
        readDeck("*DAMAGE LAW, LAWID=1\nSTEEL\nPOLYNOMIAL\n10.\n" + c.coefficients + "\n*END\n");
    EXPECT_EQ(r.report, c.report) << c.coefficients;
    EXPECT_EQ(r.nerr, 0);
  }
}

TEST(DamageLawStatement, TwentyFirstLawIsReadAndRefused) {
  std::string deck;
  for (int k = 1; k <= 21; ++k)
    deck += "*DAMAGE LAW, LAWID=" + std::to_string(k) + "\nSTEEL\nC\n10.\n1 0 0 0\n";
  const auto r = readDeck(deck + "*LAYER = 1\n1 0 1 0.1 0\n*END\n");
  const Lines expected = {
      "***ERROR: NUMBER OF DAMAGE LAWS EXCEEDING    20. INCREASE MXD5 PARAMETER",
      "          DAMAGE LAW   21 IS NOT STORED",
  };
  EXPECT_EQ(r.report, expected);
  EXPECT_EQ(r.nerr, 1);
  EXPECT_EQ(r.model.NLAW, 20);
  EXPECT_EQ(r.model.DLAWS(20, law_col::LAWID), 20);
  EXPECT_EQ(r.model.NLAYER, 1);  // the deck stays in step after the refused law
}

}  // namespace
}  // namespace korvant
