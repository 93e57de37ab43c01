#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "input/keywords.hpp"
#include "input/model.hpp"
#include "job/model_setup.hpp"
#include "statement_reader_harness.hpp"

namespace korvant {
namespace {

using test::padded;
using test::readDeck;
using Lines = std::vector<std::string>;

TEST(StatementReader, KeywordsInOrderWithTheirCaseRules) {
  struct Case {
    std::string line;
    Statement statement;
  };
  const std::vector<Case> cases = {
      {"*STATUS", Statement::Status},
      {"*status", Statement::Status},
      {"*Status", Statement::Unrecognised},
      {"*DEBUG", Statement::Debug},
      {"*H", Statement::Heading},
      {"*HEADING", Statement::Heading},
      {"*hello", Statement::Heading},
      {"*DIAGNOSTICS", Statement::Diagnostic},
      {"*SOLUTION ANALYSIS=LINEAR", Statement::Solution},
      {"*coupling = yes", Statement::Coupling},
      {"*zone overlap", Statement::ZoneOverlap},
      {"*ZONE OVERLAP", Statement::ZoneOverlap},
      {"*Zone overlap", Statement::Unrecognised},
      {"*UNIFORM STRESS", Statement::UniformStress},
      {"*UNIFORMSTRESS", Statement::Unrecognised},  // the blank is part of the keyword
      {"*EQUATION SOLVER =FULL", Statement::EquationSolver},
      {"*YIELDING SOLUTION", Statement::YieldingSolution},
      {"*CRACKING SOLUTION", Statement::CrackingSolution},
      {"*BOUNDARY DERIVATIVES", Statement::BoundaryDer},
      {"*boundary der", Statement::BoundaryDer},
      {"*BOUNDARY =L", Statement::Boundary},
      {"*BOUNDARY DEF", Statement::Boundary},
      {"*NEUTRAL SURFACE", Statement::Neutral},
      {"*SLAB", Statement::Slab},
      {"*SLABS", Statement::Slab},
      {"*COLUMN", Statement::Column},
      {"*DISCRETIZATION", Statement::Disc},
      {"*DEFAULT PRESSURE", Statement::DefaultPressure},
      {"*DEFAULTP", Statement::Unrecognised},
      {"*NORMAL PRESSURE", Statement::NormalPressure},
      {"*MATERIAL", Statement::Material},
      {"*mat", Statement::Material},
      {"*Mat", Statement::Unrecognised},
      {"*LAYER", Statement::Layer},
      {"*ZONE = 1", Statement::Zone},
      {"*zone", Statement::Zone},
      {"*Zone", Statement::Unrecognised},
      {"*FILE PRINT", Statement::FilePrint},
      {"*DAMAGE LAW = 1", Statement::DamageLaw},
      {"*GRAPHIC =EXCEL", Statement::Graphic},
      {"*END", Statement::End},
      {"*end", Statement::End},
      {"*End", Statement::End},
      {"*eNd", Statement::End},
      {"*ENDING", Statement::End},
      {"* SLAB", Statement::Unrecognised},
      {"*", Statement::Unrecognised},
      {"*LOAD", Statement::Unrecognised},
  };
  for (const Case& c : cases)
    EXPECT_EQ(classifyStatement(normaliseLine(c.line)), c.statement) << c.line;
}

// A close keyword is suggested for an unrecognised statement line; no guess when none is
// close or two are equally close.
TEST(StatementReader, AnUnrecognisedKeywordGetsTheCloseOne) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"*SOLUTON = NONLINEAR", "did you mean *SOLUTION?"},
      {"*Zone = 1", "keywords are all upper or all lower case: *ZONE"},
      {"*Normal Pressure", "keywords are all upper or all lower case: *NORMAL PRESSURE"},
      {"*LAYRE = 1", "did you mean *LAYER?"},
      {"*BOUNDRY = LIBRARY", "did you mean *BOUNDARY?"},
      {"*XYZZY", ""},
      {"*QQ", ""},
  };
  for (const auto& [line, suggestion] : cases)
    EXPECT_EQ(suggestKeyword(normaliseLine(line)), suggestion) << line;
}

TEST(StatementReader, CommentsAndIndentedLinesAreSkippedSilently) {
  const auto r = readDeck(
      "** a comment\n"
      " * also a comment\n"
      "\n"
      "  *SLAB\n"
      "  120.0 96.0\n"
      "*END\n");
  EXPECT_EQ(r.report, Lines{});
  EXPECT_EQ(r.model.A, 0.0);
  EXPECT_EQ(r.linesRead, 6);
}

TEST(StatementReader, LineWithoutAsteriskDrawsTheImproperFormatWarning) {
  const std::string bad =
      "SSLAB 120.0 96.0 WITH A LONG COMMENT THAT RUNS WELL PAST THE SEVENTIETH COLUMN";
  const auto r = readDeck(bad + "\n*END\n");
  const Lines expected = {
      "*** WARNING: THE FOLLOWING INPUT LINE IS NOT IN THE PROPER ",
      "             FORMAT OF AN INPUT STATEMENT:",
      " SSLAB 120.0 96.0 WITH A LONG COMMENT THAT RUNS WELL PAST THE SEVENTIET",
  };
  EXPECT_EQ(r.report, expected);
  EXPECT_EQ(r.nerr, 0);
  EXPECT_EQ(r.model.A, 0.0);
}

// The asterisk in column 2 is tested first: a letter before a statement makes it a comment.
TEST(StatementReader, LetterBeforeTheAsteriskMakesAComment) {
  const auto r = readDeck("X*SLAB\n*END\n");
  EXPECT_EQ(r.report, Lines{});
  EXPECT_EQ(r.linesRead, 2);
}

TEST(StatementReader, ShortImproperLineIsEchoedOverSeventyColumns) {
  const auto r = readDeck("12 13\n*END\n");
  const Lines expected = {
      "*** WARNING: THE FOLLOWING INPUT LINE IS NOT IN THE PROPER ",
      "             FORMAT OF AN INPUT STATEMENT:",
      " " + padded("12 13", 70),
  };
  EXPECT_EQ(r.report, expected);
}

TEST(StatementReader, UnknownKeywordDrawsTheUnrecognisedWarning) {
  const auto r = readDeck("*Zone = 1\n*END\n");
  const Lines expected = {
      "*** WARNING: THE FOLLOWING INPUT LINE IS NOT RECOGNIZED:",
      " " + padded("*Zone = 1", 70),
  };
  EXPECT_EQ(r.report, expected);
  EXPECT_EQ(r.nerr, 0);
}

TEST(StatementReader, DebugEchoesEveryStatementLevelLineAfterTheBanner) {
  const auto r = readDeck(
      "*DEBUG\n"
      "** a comment\n"
      "*SLAB\n"
      "10.0 20.0\n"
      "*END\n");
  const Lines expected = {
      "",
      "",
      "### THE DEBUG OPTION HAS BEEN ACTIVATED. A NUMBER OF INTERNAL INPUT",
      "### STATEMENT PROCESSESING AND CALCULATIONS WILL BE OUTPUT TO AID",
      "### IN DETERMINING INCORRECT INPUT DEFINING THE MODEL",
      "",
      "",
      "",
      "*** DEBUG OPERATION: CURRENT LINE BEING INPUT IS:",
      "  " + padded("** a comment", 80),
      "",
      "*** DEBUG OPERATION: CURRENT LINE BEING INPUT IS:",
      "  " + padded("*SLAB", 80),
      // the data line of the slab statement is read by its handler and not echoed
      "",
      "*** DEBUG OPERATION: CURRENT LINE BEING INPUT IS:",
      "  " + padded("*END", 80),
  };
  EXPECT_EQ(r.report, expected);
  EXPECT_TRUE(r.model.DEBUG);
}

TEST(StatementReader, HeadingTakesTheNextLineWhateverItHolds) {
  for (const std::string keyword : {"*HEADING", "*HELLO", "*H", "*h"}) {
    const auto r = readDeck(keyword + "\n*END OF THE TITLE LINE\n*END\n");
    EXPECT_TRUE(r.model.HASTITLE) << keyword;
    EXPECT_EQ(r.model.TITLE, padded("*END OF THE TITLE LINE", 80)) << keyword;
    EXPECT_EQ(r.linesRead, 3) << keyword;
    EXPECT_EQ(r.report, Lines{});
  }
}

TEST(StatementReader, LongerKeywordsStillSelectTheirStatement) {
  const auto r = readDeck("*SLABS\n120.0, 96.0\n*zone overlap\n1.01\n*END\n");
  EXPECT_EQ(r.model.A, 120.0);
  EXPECT_EQ(r.model.B, 96.0);
  EXPECT_EQ(r.model.OVERLAP, 1.01);
  EXPECT_EQ(r.report, Lines{});
}

TEST(StatementReader, LinesAfterTheEndStatementAreNeverRead) {
  const auto r = readDeck("*eNd\n*SLAB\nnot numbers\n");
  EXPECT_EQ(r.linesRead, 1);
  EXPECT_EQ(r.model.A, 0.0);
}

// MODEL starts afresh: whatever the model held before is back at its default or empty.
TEST(StatementReader, ModelStartsFromTheDefaultsAndEmptyTables) {
  ModelDeck model;
  model.SOLPROC = SolutionProcedure::NONLINEAR;
  model.NITCRK = 9;
  model.NSTEEL = 3;
  model.STEEL(1, 1) = 5.0;
  model.PRINTREQ = "DSSEEF";
  DeckReader deck = DeckReader::fromText("*END\n");
  std::ostringstream out;
  std::ostringstream zones;
  Writer report(out);
  Writer zoneFile(zones);
  WorkingFiles files;
  int ctot = -1;
  readAndSetUp(deck, model, Capacities{}, report, zoneFile, files, ctot);

  EXPECT_EQ(model.SOLPROC, SolutionProcedure::LINEAR);
  EXPECT_EQ(model.NITCRK, 0);
  EXPECT_EQ(model.NSTEEL, 0);
  EXPECT_EQ(model.STEEL(1, 1), 0.0);
  EXPECT_EQ(model.PRINTREQ, "D     ");
}

// Reading that cannot go on leaves MODEL with a DeckError that names the deck line.
TEST(StatementReader, EndOfDeckOrTextForANumberStopsTheReading) {
  struct Case {
    std::string deck;
    int line;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"*SLAB\n10.0 20.0\n", 2, "10.0 20.0"},  // no end statement
      {"*SLAB\n10.0\n", 2, "10.0"},            // the deck ends inside a data list
      {"*SLAB\n10.0 ABC\n*END\n", 2, "10.0 ABC"},
      {"*DISC\n11 13 2.5\n*END\n", 2, "11 13 2.5"},  // a decimal for a whole number
      {"", 0, ""},
  };
  for (const Case& c : cases) {
    DeckReader deck = DeckReader::fromText(c.deck);
    ModelDeck model;
    std::ostringstream out;
    Writer report(out);
    WorkingFiles files;
    int ctot = 0;
    try {
      readAndSetUp(deck, model, Capacities{}, report, report, files, ctot);
      ADD_FAILURE() << "no error for " << c.deck;
    } catch (const DeckError& e) {
      EXPECT_EQ(e.lineNumber(), c.line) << c.deck;
      EXPECT_EQ(e.lineText(), c.text.empty() ? "" : padded(c.text, 80)) << c.deck;
    }
  }
}

}  // namespace
}  // namespace korvant
