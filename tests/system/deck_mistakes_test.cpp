// The mistakes a new user makes in a deck, run end to end: each is refused (exit status 3) or
// told on standard error with its deck line, never a silent wrong analysis, and the report
// keeps its own lines. Every deck is the plate example with one mistake put in.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "support/test_support.hpp"

namespace korvant::test {
namespace {

namespace fs = std::filesystem;

constexpr int kCompleted = 0;
constexpr int kInputErrors = 3;

std::string plate() {
  return exampleDeck("plate.inp");
}

struct Mistake {
  std::string name;
  std::string deck;
  std::vector<std::string> options;
  int status;
  std::vector<std::string> stderrSays;  // texts that standard error holds
  std::vector<std::string> reportHas;   // whole lines of the report
};

// Whether `text` holds the line, trailing blanks aside.
bool hasLine(const std::string& text, const std::string& line) {
  const auto bare = [](std::string s) { return s.erase(s.find_last_not_of(' ') + 1); };
  for (const std::string& l : splitLines(text))
    if (bare(l) == bare(line)) return true;
  return false;
}

void expectMistake(const Mistake& m) {
  SCOPED_TRACE(m.name);
  TempDir dir;
  writeFile(dir / "slab.inp", m.deck);
  std::vector<std::string> args = m.options;
  args.insert(args.end(), {"--yes", "slab"});
  const RunResult r = runKorvant(dir.path(), args, "");
  EXPECT_EQ(r.status, m.status) << r.errors;
  for (const std::string& text : m.stderrSays)
    EXPECT_NE(r.errors.find(text), std::string::npos) << text << "\n" << r.errors;
  const std::string report = readFile(dir / "slab.out");
  for (const std::string& line : m.reportHas) EXPECT_TRUE(hasLine(report, line)) << line;
}

const std::string kNotRecognized = "*** WARNING: THE FOLLOWING INPUT LINE IS NOT RECOGNIZED:";

std::vector<Mistake> mistakes() {
  const std::string layers = "1  2  3  4  5";
  const std::string cutLayers = "1  2  3" + std::string(81 - 8, ' ') + "4  5";
  return {
      {"layer list past column 80",
       withLine(plate(), layers, cutLayers),
       {},
       kInputErrors,
       {"line 47: ***ERROR: TEXT BEYOND COLUMN 80 IS NOT READ: LINE    47, COLUMN  81"},
       {"***ERROR: TEXT BEYOND COLUMN 80 IS NOT READ: LINE    47, COLUMN  81"}},
      {"a value the statement does not read",
       withLine(plate(), "2000.0  2000.0", "2000.0  2000.0  150.0"),
       {},
       kInputErrors,
       {"line 12: ***ERROR: VALUES NOT READ BY THE STATEMENT: LINE    12, FROM COLUMN  17"},
       {"***ERROR: VALUES NOT READ BY THE STATEMENT: LINE    12, FROM COLUMN  17"}},
      {"misspelt keyword",
       withLine(plate(), "*SOLUTION = LINEAR", "*SOLUTON = NONLINEAR"),
       {},
       kCompleted,
       {"line 6: *** WARNING: THE FOLLOWING INPUT LINE IS NOT RECOGNIZED: *SOLUTON = NONLINEAR "
        "(did you mean *SOLUTION?)"},
       {kNotRecognized, " *SOLUTON = NONLINEAR"}},
      {"misspelt keyword under --strict",
       withLine(plate(), "*SOLUTION = LINEAR", "*SOLUTON = NONLINEAR"),
       {"--strict"},
       kInputErrors,
       {"did you mean *SOLUTION?", "WARNINGS ARE INPUT ERRORS UNDER --strict"},
       {kNotRecognized, "***ERROR:    2 WARNINGS ARE INPUT ERRORS UNDER --strict"}},
      {"mixed-case keyword",
       withLine(plate(), "*ZONE = 1", "*Zone = 1"),
       {},
       kInputErrors,
       {"keywords are all upper or all lower case: *ZONE", "more like it"},
       {kNotRecognized, " *Zone = 1"}},
      {"layout line that is not a layout name",
       withLine(plate(), "SIMPLY SUPPORTED", "SS ALL EDGES"),
       {},
       kCompleted,
       {"line 10: note: the layout line 'SS ALL EDGES' is not a layout name; it is read as SSCF",
        "the layouts are 9-COLUMN, CLAMPED"},
       {}},
      {"layout line that is not a layout name under --strict",
       withLine(plate(), "SIMPLY SUPPORTED", "SS ALL EDGES"),
       {"--strict"},
       kInputErrors,
       {"read as SSCF", "1 WARNING IS AN INPUT ERROR UNDER --strict"},
       {"***ERROR:    1 WARNING IS AN INPUT ERROR UNDER --strict"}},
      {"layout line naming no layout",
       withLine(plate(), "SIMPLY SUPPORTED", "PINNED ALL ROUND"),
       {},
       kInputErrors,
       {"***ERROR: SLAB MODEL     0 NOT RECOGNIZED", "the layouts are 9-COLUMN"},
       {"***ERROR: SLAB MODEL     0 NOT RECOGNIZED"}},
      {"load on a zone that does not exist",
       withLine(plate(), "1  UNIFORM LOAD  0.01", "1  DEAD  0.01  3"),
       {},
       kInputErrors,
       {"***ERROR: LOAD    1 ACTS ON ZONE    3 WHICH IS NOT DEFINED BY A *ZONE STATEMENT"},
       {"***ERROR: LOAD    1 ACTS ON ZONE    3 WHICH IS NOT DEFINED BY A *ZONE STATEMENT"}},
      {"undefined steel material",
       withLine(plate(), "1  0  2  0.5236  0.0", "9  0  2  0.5236  0.0"),
       {},
       kInputErrors,
       {"more like it"},
       {}},
      {"boundary without its layout line",
       withLine(plate(), "*BOUNDARY = LIBRARY\nSIMPLY SUPPORTED", "*BOUNDARY = LIBRARY"),
       {},
       kInputErrors,
       {"line 9: ***ERROR: *BOUNDARY AT LINE     9 HAS NO LAYOUT LINE: LINE    10 IS A STATEMENT"},
       {"***ERROR: *BOUNDARY AT LINE     9 HAS NO LAYOUT LINE: LINE    10 IS A STATEMENT"}},
      {"statement without its data line",
       withLine(plate(), "*SLAB DIMENSIONS\n2000.0  2000.0", "*SLAB DIMENSIONS"),
       {},
       kInputErrors,
       {"***ERROR: A DATA LINE IS MISSING AFTER THE STATEMENT AT LINE 11: A STATEMENT STANDS "
        "WHERE THE SLAB DIMENSIONS A AND B BELONG"},
       {"***ERROR: A DATA LINE IS MISSING AFTER THE STATEMENT AT LINE 11: A STATEMENT STANDS "
        "WHERE THE SLAB DIMENSIONS A AND B BELONG",
        "          AT LINE    12: *DISCRETIZATION"}},
      {"grid over the build's capacity",
       withLine(plate(), "7  7  1", "71  71  1"),
       {},
       kInputErrors,
       {"korvant --large lifts this limit"},
       {"          INCREASE PARAMETER MXD1"}},
      {"tolerance given as a percentage",
       withLine(withLine(plate(), "*SOLUTION = LINEAR", "*SOLUTION = NONLINEAR"), "0.0",
                "10  2  2  5"),
       {"--strict"},
       kCompleted,
       {"line 6: check: the cracking tolerance CRKTOL = 5 is above 1"},
       {}},
      {"concrete modulus in GPa",
       withLine(plate(), "25000.0  0.2  2.5  30.0  3.0", "25.0  0.2  2.5  30.0  3.0"),
       {"--strict"},
       kCompleted,
       {"line 16: check: concrete material 1: E = 25 is 0.833333 times"},
       {}},
      {"pressure in kPa in an N-mm deck (30 kPa written 30.0: w 256 mm on a 2 m span)",
       withLine(plate(), "1  UNIFORM LOAD  0.01", "1  UNIFORM LOAD  30.0"),
       {},
       kCompleted,
       {"the linear deflection w = ", "check the units of the pressure and the moduli"},
       {}},
      {"bar layer with THICK and THETA swapped",
       withLine(plate(), "1  0  2  0.5236  90.0", "1  0  2  90.0  0.5236"),
       {},
       kCompleted,
       {"check: steel layer 3 of zone 1: THICK = 90 is more than a tenth of the slab"},
       {}},
  };
}

TEST(DeckMistakes, EachIsRefusedOrToldWithItsLine) {
  for (const Mistake& m : mistakes()) expectMistake(m);
}

// The written JSON lists the notices with their deck lines.
TEST(DeckMistakes, TheSummaryListsTheNotices) {
  TempDir dir;
  writeFile(dir / "slab.inp", withLine(plate(), "*SOLUTION = LINEAR", "*SOLUTON = LINEAR"));
  const RunResult r = runKorvant(dir.path(), {"--yes", "--json", "slab"}, "");
  EXPECT_EQ(r.status, kCompleted);
  const std::string json = readFile(dir / "slab.json");
  EXPECT_NE(json.find("\"notices\""), std::string::npos);
  EXPECT_NE(json.find("did you mean *SOLUTION?"), std::string::npos);
  EXPECT_NE(json.find("\"line\": 6"), std::string::npos) << json;
}

// Every bundled example runs under --strict without a warning or a note of its own.
TEST(DeckMistakes, EveryExampleRunsStrictWithoutAWarning) {
  for (const auto& entry : fs::directory_iterator(fs::path(KORVANT_SOURCE_DIR) / "examples")) {
    if (entry.path().extension() != ".inp") continue;
    SCOPED_TRACE(entry.path().filename().string());
    TempDir dir;
    fs::copy_file(entry.path(), dir / "job.inp");
    const RunResult r = runKorvant(dir.path(), {"--strict", "job"}, "");
    EXPECT_EQ(r.status, kCompleted) << r.errors;
    for (const char* word : {"WARNING", "ERROR", "check:"})
      EXPECT_EQ(r.errors.find(word), std::string::npos) << r.errors;
  }
}

// A fresh user's sweep: ten decks in folders q1.0/ ... q10.0/, each run by its path from the
// folder above, as README shows (with GNU parallel where it is installed, else one by one).
// Each report is written beside its deck, and the linear deflections grow as the pressures.
TEST(DeckMistakes, ASweepRunsDecksInDottedFoldersByPath) {
  TempDir dir;
  for (int q = 1; q <= 10; ++q) {
    const std::string folder = "q" + std::to_string(q) + ".0";
    fs::create_directory(dir / folder);
    writeFile(dir / folder / "slab.inp", withLine(plate(), "1  UNIFORM LOAD  0.01",
                                                  "1  UNIFORM LOAD  " + std::to_string(0.001 * q)));
  }
  const std::string korvant = KORVANT_EXE;
  const std::string script =
      fs::exists("/usr/bin/parallel")
          ? "parallel --will-cite '" + korvant + "' --yes {}slab ::: q*/"
          : "for d in q*/; do '" + korvant + "' --yes \"$d\"slab || exit 1; done";
  const RunResult r = runProgram(dir.path(), "/bin/sh", {"-c", script}, "");
  EXPECT_EQ(r.status, 0) << r.errors;
  std::vector<double> w;
  for (int q = 1; q <= 10; ++q) {
    const fs::path report = dir / ("q" + std::to_string(q) + ".0") / "slab.out";
    ASSERT_TRUE(fs::exists(report)) << report;
    EXPECT_TRUE(hasLine(readFile(report), sp(15) + "###  A N A L Y S I S  C O M P L E T E D  ###"));
  }
  EXPECT_FALSE(fs::exists(dir / "slab.out"));
  // Linear elasticity: the deflection is proportional to the pressure.
  const auto said = [&](int q) {
    const std::string e = r.errors;
    const std::string key = "job 'slab' completed, largest deflection";
    std::size_t at = 0;
    std::vector<double> all;
    while ((at = e.find(key, at)) != std::string::npos) {
      at += key.size();
      all.push_back(std::stod(e.substr(at, 12)));
    }
    std::sort(all.begin(), all.end());
    return all.at(static_cast<std::size_t>(q - 1));
  };
  for (int q = 2; q <= 10; ++q) EXPECT_NEAR(said(q) / said(1), q, 1e-3 * q);
}

// Paths with a dot, blanks, ./ and ../ in them, with or without .inp.
TEST(DeckMistakes, PathsNameTheDeckAndTheFolderOfItsFiles) {
  TempDir dir;
  for (const std::string folder : {"v1.2", "my runs", "lin"}) {
    fs::create_directory(dir / folder);
    writeFile(dir / folder / "slab.inp", plate());
  }
  writeFile(dir / "slab.inp", plate());
  for (const auto& [where, path, folder] :
       std::vector<std::tuple<std::string, std::string, std::string>>{
           {".", "./slab", "."},
           {".", "v1.2/slab.inp", "v1.2"},
           {".", "my runs/slab", "my runs"},
           {"v1.2", "../lin/slab", "lin"}}) {
    SCOPED_TRACE(path);
    const RunResult r = runKorvant(dir / where, {"--yes", path}, "");
    EXPECT_EQ(r.status, kCompleted) << r.errors;
    EXPECT_TRUE(fs::exists(dir / folder / "slab.out"));
    EXPECT_TRUE(fs::exists(dir / folder / "slab.zon"));
  }
  const RunResult missing = runKorvant(dir.path(), {"--yes", "nowhere/slab"}, "");
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.console.find("Problem here: Inputted file name does not exist in directory"),
            std::string::npos);
}

}  // namespace
}  // namespace korvant::test
