#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "statement_reader_harness.hpp"

namespace korvant {
namespace {

using test::padded;
using test::readDeck;
using Lines = std::vector<std::string>;

const Lines kImproper3Values = test::improperFormat("10 5 10");

TEST(ModelStatements, SolutionSelectsTheProcedureByTheFirstLetterFromColumn11) {
  struct Case {
    std::string deck;
    int solproc;
    int nitcrk, npassy, nincy;
    double crktol, wmax;
  };
  const std::vector<Case> cases = {
      // The N of ANALYSIS is the first L or N from column 11.
      {"*SOLUTION ANALYSIS=LINEAR\n10 5 10 0.05\n", 2, 10, 5, 10, 0.05, 1.0e10},
      // Linear: one data line is consumed, its value unused.
      {"*SOLUTION =LINEAR\n0.0\n", 1, 0, 0, 0, 0.0, 1.0e10},
      {"*solution = nonlinear\n8, 4, 6, 1.0E-2, 2.5D0\n", 2, 8, 4, 6, 0.01, 2.5},
      // No letter: the procedure of the earlier statement stays, and so its data line.
      {"*SOLUTION N\n8 4 6 0.1\n*SOLUTION\n3 3 3 0.2\n", 2, 3, 3, 3, 0.2, 1.0e10},
      {"*SOLUTION\n7.5\n", 1, 0, 0, 0, 0.0, 1.0e10},
  };
  for (const Case& c : cases) {
    const auto r = readDeck(c.deck + "*END\n");
    EXPECT_EQ(r.report, Lines{}) << c.deck;
    EXPECT_EQ(codeNumber(r.model.SOLPROC), c.solproc) << c.deck;
    EXPECT_EQ(r.model.NITCRK, c.nitcrk) << c.deck;
    EXPECT_EQ(r.model.NPASSY, c.npassy) << c.deck;
    EXPECT_EQ(r.model.NINCY, c.nincy) << c.deck;
    EXPECT_DOUBLE_EQ(r.model.CRKTOL, c.crktol) << c.deck;
    EXPECT_DOUBLE_EQ(r.model.WMAX, c.wmax) << c.deck;
  }
}

TEST(ModelStatements, NonlinearLineWithThreeValuesIsLeftUnread) {
  const auto r = readDeck("*SOLUTION N\n8 4 6 0.1\n*SOLUTION NONLINEAR\n10 5 10\n*END\n");
  EXPECT_EQ(r.report, kImproper3Values);
  EXPECT_EQ(r.model.SOLPROC, SolutionProcedure::NONLINEAR);
  EXPECT_EQ(r.model.NITCRK, 8);
  EXPECT_EQ(r.model.NPASSY, 4);
  EXPECT_EQ(r.model.NINCY, 6);
  EXPECT_DOUBLE_EQ(r.model.CRKTOL, 0.1);
}

TEST(ModelStatements, LimitsOfUnityAreRaisedToTwoWithAWarningEach) {
  const auto r = readDeck("*SOLUTION NONLINEAR\n1 1 1 0.05\n*END\n");
  const Lines expected = {
      "***WARNING: ITERATION LIMIT OF UNITY FOR CONVERGING CONCRETE",
      "            CRACKING IS INCREASED TO THE MINIMUM OF TWO",
      "",
      "***WARNING: ITERATION LIMIT OF UNITY FOR CONVERGING STEEL",
      "            YEILDING IS INCREASED TO THE MINIMUM OF TWO",
      "",
      "***WARNING: INCREMENTATION LIMIT OF UNITY FOR CONVERGING STEEL",
      "            YEILDING IS INCREASED TO THE MINIMUM OF TWO",
      "",
  };
  EXPECT_EQ(r.report, expected);
  EXPECT_EQ(r.model.NITCRK, 2);
  EXPECT_EQ(r.model.NPASSY, 2);
  EXPECT_EQ(r.model.NINCY, 2);
  EXPECT_EQ(r.nerr, 0);
}

TEST(ModelStatements, OnlyLimitsOfExactlyOneAreRaised) {
  const auto r = readDeck("*SOLUTION NONLINEAR\n0 1 3 0.05\n*END\n");
  const Lines expected = {
      "***WARNING: ITERATION LIMIT OF UNITY FOR CONVERGING STEEL",
      "            YEILDING IS INCREASED TO THE MINIMUM OF TWO",
      "",
  };
  EXPECT_EQ(r.report, expected);
  EXPECT_EQ(r.model.NITCRK, 0);
  EXPECT_EQ(r.model.NPASSY, 2);
  EXPECT_EQ(r.model.NINCY, 3);
}

TEST(ModelStatements, DiscKeepsOneSpacingLessOfTheColumnAboveOne) {
  struct Case {
    std::string data;
    int numa, numb, ncol;
  };
  const std::vector<Case> cases = {
      {"21 21 1", 21, 21, 1}, {"21 17 3", 21, 17, 2},      {"5,7,2", 5, 7, 1},
      {"11 13 0", 11, 13, 0}, {"11 13\n3", 11, 13, 3 - 1},  // the list goes on to the next line
  };
  for (const Case& c : cases) {
    const auto r = readDeck("*DISC\n" + c.data + "\n*END\n");
    EXPECT_EQ(r.model.NUMA, c.numa) << c.data;
    EXPECT_EQ(r.model.NUMB, c.numb) << c.data;
    EXPECT_EQ(r.model.NCOL, c.ncol) << c.data;
    EXPECT_EQ(r.report, Lines{}) << c.data;
  }
}

TEST(ModelStatements, RequestLinesSetTheirPositionsFromCodesAnywhere) {
  struct Case {
    std::string data;
    std::string req;
  };
  const std::vector<Case> cases = {
      {"+S -S", " SS   "},   // no D: the displacement tables are off
      {"FIELDS", "D    F"},  // D and FI inside the word
      {"D +S -S +E -E FI", "DSSEEF"},
      {"d +s -e fi", "DS  EF"},
      {"Fi +S", " S    "},  // F and i of different case
      {"", "      "},
      {"*D", "D     "},  // a request line is taken even when it starts with *
      {"STRESSES +S", " S    "},
  };
  for (const Case& c : cases) {
    const auto print = readDeck("*FILE PRINT\n" + c.data + "\n*END\n");
    EXPECT_EQ(print.model.PRINTREQ, c.req) << c.data;
    EXPECT_EQ(print.report, Lines{}) << c.data;
    const auto graphic = readDeck("*GRAPHIC\n" + c.data + "\n*END\n");
    EXPECT_EQ(graphic.model.GRAPHREQ, c.req) << c.data;
    EXPECT_TRUE(graphic.model.GRAPHICS) << c.data;
    EXPECT_EQ(graphic.report, Lines{}) << c.data;
  }
}

TEST(ModelStatements, FilePrintOptionWordSelectsMaxMinTables) {
  struct Case {
    std::string statement;
    bool printmax;
  };
  const std::vector<Case> cases = {
      {"*FILE PRINT", false},
      {"*FILE PRINT OPTION=MAXMIN", true},
      {"*file print option", true},
      {"*FILE PRINT Option", false},
      // The word starts in column 61, beyond the searched columns 10 to 60.
      {"*FILE PRINT" + std::string(49, ' ') + "OPTION", false},
  };
  for (const Case& c : cases) {
    const auto r = readDeck(c.statement + "\nD\n*END\n");
    EXPECT_EQ(r.model.PRINTMAX, c.printmax) << c.statement;
  }
}

TEST(ModelStatements, GraphicFormatIsTheFirstCodeAfterTheEqualsSign) {
  struct Case {
    std::string statements;
    int format;
  };
  const std::vector<Case> cases = {
      {"*GRAPHIC =EXCEL\nD\n", 2},
      {"*graphic = excel\nD\n", 2},
      {"*GRAPHIC =EXCEL\nD\n*GRAPHIC =TECPLOT\nD\n", 1},
      {"*GRAPHIC =EXCEL\nD\n*GRAPHIC\nD\n", 2},  // no = keeps the format
      {"*GRAPHIC TECPLOT = EXCEL\nD\n", 2},      // text before the = is not looked at
      {"*GRAPHIC =Excel\nD\n", 1},               // mixed case is no code
  };
  for (const Case& c : cases) {
    const auto r = readDeck(c.statements + "*END\n");
    EXPECT_EQ(codeNumber(r.model.GRAPHFMT), c.format) << c.statements;
    EXPECT_TRUE(r.model.GRAPHICS);
  }
}

TEST(ModelStatements, OptionLettersSetTheirSettings) {
  // Each setting as the number the deck's letters give it.
  using Setting = int (*)(const ModelDeck&);
  const Setting solver = [](const ModelDeck& m) { return codeNumber(m.SOLVER); };
  const Setting coupling = [](const ModelDeck& m) { return codeNumber(m.COUPLING); };
  const Setting neutral = [](const ModelDeck& m) { return codeNumber(m.NEUTRAL); };
  const Setting bdiff = [](const ModelDeck& m) { return codeNumber(m.BDIFF); };
  const Setting nobfail = [](const ModelDeck& m) { return int{m.NOBFAIL}; };
  const Setting yldopt = [](const ModelDeck& m) { return codeNumber(m.YLDOPT); };
  const Setting crkonly = [](const ModelDeck& m) { return int{m.CRKONLY}; };
  struct Case {
    std::string statements;
    Setting field;
    int value;
  };
  const std::vector<Case> cases = {
      {"*EQUATION SOLVER =FULL", solver, 1},
      {"*EQUATION SOLVER =FULL\n*EQUATION SOLVER =BAND", solver, 2},
      {"*EQUATION SOLVER =FULL\n*EQUATION SOLVER", solver, 1},
      {"*COUPLING = NO", coupling, 1},
      {"*COUPLING = NO\n*coupling yes", coupling, 2},
      {"*NEUTRAL = GEOMETRIC", neutral, 0},
      {"*NEUTRAL SURFACE=GEOMETRIC\n*NEUTRAL = WEIGHTED", neutral, 1},
      {"*NEUTRAL GEOMETRIC", neutral, 1},  // no =: unchanged
      {"*BOUNDARY DERIVATIVES = MIXED", bdiff, 2},
      {"*BOUNDARY DER = MIXED\n*BOUNDARY DER = CENTRAL", bdiff, 1},
      {"*BOUNDARY DER = EXCLUDE", nobfail, 1},
      {"*BOUNDARY DER = MIXED\n*BOUNDARY DER = EXCLUDE", bdiff, 2},
      {"*YIELDING SOLUTION = SEPARATE", yldopt, 2},
      {"*YIELDING SOLUTION = SEPARATE\n*YIELDING SOLUTION = COMBINED", yldopt, 2},
      {"*YIELDING SOLUTION = COMBINED", yldopt, 1},
      {"*CRACKING SOLUTION", crkonly, 1},
  };
  for (const Case& c : cases) {
    const auto r = readDeck(c.statements + "\n*END\n");
    EXPECT_EQ(c.field(r.model), c.value) << c.statements;
    EXPECT_EQ(r.report, Lines{}) << c.statements;
  }
}

TEST(ModelStatements, FreeFormatValuesOfTheGeometryStatements) {
  const auto r = readDeck(
      "*STATUS\n"
      "*SLAB\n120.0 96.0\n"
      "*COLUMN\n0.3, 0.4 extra words are ignored\n"
      "*ZONE OVERLAP\n1.01\n"
      "*UNIFORM STRESS\n-1.5E2\n2.5D1\n"
      "*END\n");
  EXPECT_TRUE(r.model.STATUS);
  EXPECT_EQ(r.model.A, 120.0);
  EXPECT_EQ(r.model.B, 96.0);
  EXPECT_EQ(r.model.COLA, 0.3);
  EXPECT_EQ(r.model.COLB, 0.4);
  EXPECT_EQ(r.model.OVERLAP, 1.01);
  EXPECT_EQ(r.model.SIGMA_X, -150.0);
  EXPECT_EQ(r.model.SIGMA_Y, 25.0);
  EXPECT_EQ(r.report, Lines{});
}

TEST(ModelStatements, DiagnosticsListOfTheLastStatement) {
  const auto r = readDeck("*DIAGNOSTIC\n1 2 3\n*DIAGNOSTIC\n3,1\n*END\n");
  std::array<int, kDiagEntries> expected{};
  expected[0] = 3;
  expected[1] = 1;
  EXPECT_EQ(r.model.DIAG, expected);
  EXPECT_EQ(r.report, Lines{});
}

TEST(ModelStatements, DiagnosticsBeyondTheListAreDroppedWithAWarning) {
  std::string codes;
  for (int k = 1; k <= 27; ++k) codes += "1 ";
  const auto r = readDeck("*DIAGNOSTIC\n" + codes + "\n*END\n");
  std::array<int, kDiagEntries> expected{};
  expected.fill(1);
  EXPECT_EQ(r.model.DIAG, expected);
  const Lines warning = {"***WARNING: ONLY THE FIRST 25 DIAGNOSTICS REQUESTS ARE KEPT", ""};
  EXPECT_EQ(r.report, warning);
}

}  // namespace
}  // namespace korvant
