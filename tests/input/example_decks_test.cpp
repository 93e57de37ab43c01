// The example decks shipped with the program: every one must be read without a fatal error,
// and its support layout must come out as the one the deck is named for, both in the model
// and in the boundary-condition block of the echo.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "input/deck_reader.hpp"
#include "input/model.hpp"
#include "job/model_setup.hpp"
#include "support/test_support.hpp"

namespace korvant {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

using test::sp;

struct ExampleDeck {
  std::string file;
  int slabModel;
  std::string layoutLine;  // the echo line naming the layout, indent included
};

const std::vector<ExampleDeck>& exampleDecks() {
  static const std::vector<ExampleDeck> decks{
      {"nine_column.inp", 1, sp(15) + "A 9-COLUMN LAYOUT WILL BE ANALYZED"},
      {"clamped.inp", 2, sp(15) + "A CLAMPED PLATE WILL BE ANALYZED"},
      {"four_column_free_edge.inp", 3, sp(12) + "A 4-COLUMN FREE EDGE PLATE WILL BE ANALYZED"},
      {"four_column_symmetric_edge.inp", 4,
       sp(11) + "A 4-COLUMN SYMMETRIC EDGE PLATE WILL BE ANALYZED"},
      {"sscf.inp", 5, sp(15) + "A SSCF LAYOUT WILL BE ANALYZED"},
      {"sfsf.inp", 6, sp(15) + "A SFSF LAYOUT WILL BE ANALYZED"},
      {"fsfs.inp", 7, sp(15) + "A FSFS LAYOUT WILL BE ANALYZED"},
      {"simply_supported.inp", 8, sp(15) + "A SIMPLY SUPPORTED PLATE WILL BE ANALYZED"},
      {"plate.inp", 8, sp(15) + "A SIMPLY SUPPORTED PLATE WILL BE ANALYZED"},
      {"cracking.inp", 8, sp(15) + "A SIMPLY SUPPORTED PLATE WILL BE ANALYZED"},
      {"yielding.inp", 8, sp(15) + "A SIMPLY SUPPORTED PLATE WILL BE ANALYZED"},
      {"collapse.inp", 8, sp(15) + "A SIMPLY SUPPORTED PLATE WILL BE ANALYZED"},
      {"flat_slab.inp", 4, sp(11) + "A 4-COLUMN SYMMETRIC EDGE PLATE WILL BE ANALYZED"},
      {"user_defined.inp", 99, sp(15) + "A USER-DEFINED LAYOUT WILL BE ANALYZED"},
      {"corner_supported.inp", 99, sp(15) + "A USER-DEFINED LAYOUT WILL BE ANALYZED"},
  };
  return decks;
}

const fs::path kExamples = fs::path(KORVANT_SOURCE_DIR) / "examples";

struct ModelRun {
  int nerr = -1;
  ModelDeck model;
  Lines report;
};

ModelRun runModel(const fs::path& deckFile) {
  ModelRun run;
  DeckReader deck = DeckReader::fromFile(deckFile);
  std::ostringstream report, zones;
  Writer out(report), zoneOut(zones);
  WorkingFiles files;
  int CTOT = 0;
  try {
    run.nerr = readAndSetUp(deck, run.model, Capacities{}, out, zoneOut, files, CTOT);
  } catch (const DeckError& e) {
    ADD_FAILURE() << "deck line " << e.lineNumber() << ": " << e.what() << "\n" << e.lineText();
  }
  run.report = test::splitLines(report.str());
  return run;
}

// The boundary-condition block of the echo: heading, rule, blank line, the layout line and
// the blank line after it.
Lines boundaryBlock(const Lines& report) {
  const std::string heading = sp(17) + "B O U D A R Y  C O N D I T I O N S";
  const auto at = std::find(report.begin(), report.end(), heading);
  if (at == report.end() || report.end() - at < 5) return {};
  return Lines(at, at + 5);
}

// Every deck in the folder has its row in the table and every row has its deck, so a new
// example cannot slip in untested.
TEST(ExampleDecks, TableCoversEveryDeckInTheFolder) {
  std::set<std::string> onDisk;
  for (const auto& entry : fs::directory_iterator(kExamples))
    if (entry.is_regular_file() && entry.path().extension() == ".inp")
      onDisk.insert(entry.path().filename().string());
  std::set<std::string> listed;
  for (const ExampleDeck& d : exampleDecks()) listed.insert(d.file);
  EXPECT_EQ(onDisk, listed);
}

TEST(ExampleDecks, EveryLayoutHasItsDeck) {
  std::set<int> layouts;
  for (const ExampleDeck& d : exampleDecks()) layouts.insert(d.slabModel);
  EXPECT_EQ(layouts, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 99}));
}

TEST(ExampleDecks, ReadWithoutFatalErrorsAndEchoTheirLayout) {
  for (const ExampleDeck& d : exampleDecks()) {
    SCOPED_TRACE(d.file);
    const ModelRun run = runModel(kExamples / d.file);
    EXPECT_EQ(run.nerr, 0);
    EXPECT_EQ(codeNumber(run.model.SLABMODEL), d.slabModel);
    // A misread statement leaves its data line to the statement loop, which warns about it.
    for (const std::string& line : run.report) {
      EXPECT_EQ(line.find("***ERROR"), std::string::npos) << line;
      EXPECT_EQ(line.find("*** WARNING: THE FOLLOWING INPUT LINE"), std::string::npos) << line;
    }
    const Lines expected{sp(17) + "B O U D A R Y  C O N D I T I O N S",
                         sp(17) + "----------------------------------", "", d.layoutLine, ""};
    EXPECT_EQ(boundaryBlock(run.report), expected);
  }
}

// Together the decks show both analyses, both damage-law forms, both crack density models,
// the uncoupled solution, more than one zone and explicit print requests; each has a heading.
TEST(ExampleDecks, TogetherShowTheMainInputFeatures) {
  std::set<int> solutions, forms, densities, couplings, zoneCounts, printMax;
  bool printRequests = false;
  for (const ExampleDeck& d : exampleDecks()) {
    SCOPED_TRACE(d.file);
    const ModelRun run = runModel(kExamples / d.file);
    const ModelDeck& m = run.model;
    EXPECT_TRUE(m.HASTITLE);
    solutions.insert(codeNumber(m.SOLPROC));
    forms.insert(codeNumber(m.DLFORM));
    if (m.DLFORM == LawForm::EQUATION) densities.insert(codeNumber(m.CRKDENS));
    couplings.insert(codeNumber(m.COUPLING));
    zoneCounts.insert(m.NZONE);
    printMax.insert(m.PRINTMAX);
    printRequests = printRequests || m.PRINTREQ.find('S') != std::string::npos;
  }
  EXPECT_EQ(solutions, (std::set<int>{1, 2}));
  EXPECT_EQ(forms, (std::set<int>{1, 2}));
  EXPECT_EQ(densities, (std::set<int>{1, 2}));
  EXPECT_EQ(couplings, (std::set<int>{1, 2}));
  EXPECT_EQ(printMax, (std::set<int>{0, 1}));
  EXPECT_TRUE(zoneCounts.count(2));
  EXPECT_TRUE(printRequests);
}

}  // namespace
}  // namespace korvant
