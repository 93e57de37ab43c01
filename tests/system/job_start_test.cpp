// The job start through the real executable: the console dialogue, the names derived from
// the job text, the overwrite question, the termination of the dialogue and the command line.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/job_texts.hpp"
#include "support/test_support.hpp"

namespace korvant::test {
namespace {

namespace fs = std::filesystem;

// A deck that is read to its end statement and then stops on input errors (no slab): the
// dialogue and the files it opens are all that these tests look at.
const std::string kBareDeck = "*END\n";
const std::string kOldReport = "report of an earlier run\n";
constexpr int kInputErrorsStatus = 3;
constexpr int kDialogueStatus = 2;
constexpr int kUsageStatus = 1;

TEST(JobStart, JobTextsNameTheSameFiles) {
  for (const std::string typed : {"job.inp", " job", "j ob", "job.txt", "job", "  j o b  .x.y"}) {
    SCOPED_TRACE("typed '" + typed + "'");
    TempDir dir;
    writeFile(dir / "job.inp", kBareDeck);
    const RunResult r = runKorvant(dir.path(), {}, typed + "\n");
    EXPECT_EQ(r.status, kInputErrorsStatus);
    EXPECT_EQ(r.console, kPrompt);
    EXPECT_EQ(filesIn(dir.path()), (std::set<std::string>{"job.inp", "job.out", "job.zon"}));
    EXPECT_NE(readFile(dir / "job.out"), "");
  }
}

TEST(JobStart, MissingDeckWithExistingReportAsksThenTerminates) {
  for (const std::string answer : {"", "yes", "no", "maybe", "Nay"}) {
    SCOPED_TRACE("answer '" + answer + "'");
    TempDir dir;
    writeFile(dir / "job.out", kOldReport);
    const RunResult r = runKorvant(dir.path(), {}, "job\n" + answer + "\n");
    EXPECT_EQ(r.status, kDialogueStatus);
    EXPECT_EQ(r.console, kPrompt + kMissingDeck + kOverwriteQuestion + kTerminationBanner);
    EXPECT_EQ(filesIn(dir.path()), std::set<std::string>{"job.out"});
    EXPECT_EQ(readFile(dir / "job.out"), kOldReport);
  }
}

TEST(JobStart, MissingDeckAloneTerminates) {
  TempDir dir;
  const RunResult r = runKorvant(dir.path(), {}, "job\n");
  EXPECT_EQ(r.status, kDialogueStatus);
  EXPECT_EQ(r.console, kPrompt + kMissingDeck + kTerminationBanner);
  EXPECT_TRUE(filesIn(dir.path()).empty());
}

TEST(JobStart, OverwriteAnswersThatAccept) {
  // No y/n at all accepts; the first y or n of the line decides wherever it stands.
  for (const std::string answer : {"", "yes", "Y", "sure", "maybe", "  YES PLEASE", "x yn"}) {
    SCOPED_TRACE("answer '" + answer + "'");
    TempDir dir;
    writeFile(dir / "job.inp", kBareDeck);
    writeFile(dir / "job.out", kOldReport);
    const RunResult r = runKorvant(dir.path(), {}, "job\n" + answer + "\n");
    EXPECT_EQ(r.status, kInputErrorsStatus);
    EXPECT_EQ(r.console, kPrompt + kOverwriteQuestion);
    EXPECT_EQ(readFile(dir / "job.out").find(kOldReport), std::string::npos);
    EXPECT_TRUE(fs::exists(dir / "job.zon"));
  }
}

TEST(JobStart, OverwriteAnswersThatRefuse) {
  for (const std::string answer : {"no", "N", " nope", "Nay", "any", "x ny"}) {
    SCOPED_TRACE("answer '" + answer + "'");
    TempDir dir;
    writeFile(dir / "job.inp", kBareDeck);
    writeFile(dir / "job.out", kOldReport);
    writeFile(dir / "job.zon", "old plot\n");
    const RunResult r = runKorvant(dir.path(), {}, "job\n" + answer + "\n");
    EXPECT_EQ(r.status, kDialogueStatus);
    EXPECT_EQ(r.console, kPrompt + kOverwriteQuestion + kTerminationBanner);
    EXPECT_EQ(readFile(dir / "job.out"), kOldReport);
    EXPECT_EQ(readFile(dir / "job.zon"), "old plot\n");
    EXPECT_EQ(filesIn(dir.path()), (std::set<std::string>{"job.inp", "job.out", "job.zon"}));
  }
}

TEST(JobStart, EndOfConsoleInputIsNoConsent) {
  // No overwrite answer at all (the console input ends): the old report is kept, and the
  // console says how to overwrite. A typed empty line still overwrites.
  TempDir dir;
  writeFile(dir / "job.inp", kBareDeck);
  writeFile(dir / "job.out", kOldReport);
  RunResult r = runKorvant(dir.path(), {}, "job");
  EXPECT_EQ(r.status, kDialogueStatus);
  EXPECT_EQ(r.console, kPrompt + kOverwriteQuestion +
                           "No answer was given: job.out is kept (korvant --yes overwrites it)\n" +
                           kTerminationBanner);
  EXPECT_EQ(readFile(dir / "job.out"), kOldReport);
  EXPECT_EQ(filesIn(dir.path()), (std::set<std::string>{"job.inp", "job.out"}));
  r = runKorvant(dir.path(), {}, "job\n\n");
  EXPECT_EQ(r.status, kInputErrorsStatus);
  EXPECT_NE(readFile(dir / "job.out"), kOldReport);

  // No job text at all: an empty job text, a missing deck.
  TempDir empty;
  r = runKorvant(empty.path(), {}, "");
  EXPECT_EQ(r.status, kDialogueStatus);
  EXPECT_EQ(r.console, kPrompt + kMissingDeck + kTerminationBanner);
}

TEST(JobStart, EmptyBaseNameIsAMissingDeck) {
  // Nothing before the first full stop names no file: not even ".inp" or ".out" is looked at.
  for (const std::string typed : {"", "   ", ".inp", " .out", "."}) {
    SCOPED_TRACE("typed '" + typed + "'");
    TempDir dir;
    writeFile(dir / ".inp", kBareDeck);
    writeFile(dir / ".out", kOldReport);
    const RunResult r = runKorvant(dir.path(), {}, typed + "\nyes\n");
    EXPECT_EQ(r.status, kDialogueStatus);
    EXPECT_EQ(r.console, kPrompt + kMissingDeck + kTerminationBanner);
    EXPECT_EQ(readFile(dir / ".out"), kOldReport);
    EXPECT_EQ(filesIn(dir.path()), (std::set<std::string>{".inp", ".out"}));
  }
}

TEST(JobStart, LongBaseNamesAreKeptWhole) {
  const std::string sixteen = "slab_with_16_chr";
  const std::string eighty(80, 'k');
  struct Case {
    std::string typed;
    std::string base;
  };
  // A job text is read as 80 characters: blanks beyond them are dropped.
  for (const Case& c :
       {Case{sixteen, sixteen}, Case{sixteen + ".inp", sixteen}, Case{eighty + "     ", eighty}}) {
    SCOPED_TRACE(c.typed);
    TempDir dir;
    writeFile(dir / (c.base + ".inp"), kBareDeck);
    const RunResult r = runKorvant(dir.path(), {}, c.typed + "\n");
    EXPECT_EQ(r.status, kInputErrorsStatus);
    EXPECT_EQ(r.console, kPrompt);
    EXPECT_TRUE(fs::exists(dir / (c.base + ".out")));
    EXPECT_TRUE(fs::exists(dir / (c.base + ".zon")));
  }
}

// A longer job text would be cut and could name another deck: it is refused, typed or given.
TEST(JobStart, JobTextLongerThanEightyCharactersIsRefused) {
  const std::string eighty(80, 'k');
  const std::string refused =
      textOf({"", "", "Problem here: Inputted file name is longer than 80 characters"});
  TempDir dir;
  writeFile(dir / (eighty + ".inp"), kBareDeck);
  RunResult r = runKorvant(dir.path(), {}, eighty + "zzzzz\n");
  EXPECT_EQ(r.status, kDialogueStatus);
  EXPECT_EQ(r.console, kPrompt + refused + kTerminationBanner);
  r = runKorvant(dir.path(), {eighty + ".inp"}, "");
  EXPECT_EQ(r.status, kDialogueStatus);
  EXPECT_EQ(r.console, refused + kTerminationBanner);
  EXPECT_EQ(r.errors.rfind("korvant: job '" + eighty + "...' did not start", 0), 0u) << r.errors;
  EXPECT_EQ(filesIn(dir.path()), std::set<std::string>{eighty + ".inp"});
}

TEST(JobStart, ReportThatCannotBeWrittenStopsTheJob) {
  TempDir dir;
  writeFile(dir / "job.inp", kBareDeck);
  fs::create_directory(dir / "job.out");
  const RunResult r = runKorvant(dir.path(), {"--yes", "job"}, "");
  EXPECT_EQ(r.status, kDialogueStatus);
  EXPECT_EQ(r.console, "***ERROR: THE FILE job.out CANNOT BE OPENED FOR WRITING\n");
}

TEST(CommandLine, JobGivenAsArgumentSkipsThePrompt) {
  TempDir dir;
  writeFile(dir / "job.inp", kBareDeck);
  RunResult r = runKorvant(dir.path(), {" job.inp"}, "");
  EXPECT_EQ(r.status, kInputErrorsStatus);
  EXPECT_EQ(r.console, "");
  EXPECT_TRUE(fs::exists(dir / "job.out"));

  // The report exists now: the question is still asked, and answered from the console.
  r = runKorvant(dir.path(), {"job"}, "no\n");
  EXPECT_EQ(r.status, kDialogueStatus);
  EXPECT_EQ(r.console, kOverwriteQuestion + kTerminationBanner);

  r = runKorvant(dir.path(), {"--", "job"}, "\n");
  EXPECT_EQ(r.status, kInputErrorsStatus);
  EXPECT_EQ(r.console, kOverwriteQuestion);
}

TEST(CommandLine, YesOverwritesWithoutAsking) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--yes", "job"}, {"job", "--yes"}, {"-y", "job"}}) {
    TempDir dir;
    writeFile(dir / "job.inp", kBareDeck);
    writeFile(dir / "job.out", kOldReport);
    const RunResult r = runKorvant(dir.path(), args, "no\n");
    EXPECT_EQ(r.status, kInputErrorsStatus);
    EXPECT_EQ(r.console, "");
    EXPECT_NE(readFile(dir / "job.out"), kOldReport);
  }

  // With the dialogue: the job name is still asked, the overwrite question is not.
  TempDir dir;
  writeFile(dir / "job.inp", kBareDeck);
  writeFile(dir / "job.out", kOldReport);
  const RunResult r = runKorvant(dir.path(), {"--yes"}, "job\nno\n");
  EXPECT_EQ(r.status, kInputErrorsStatus);
  EXPECT_EQ(r.console, kPrompt);

  // A missing deck still terminates.
  TempDir none;
  writeFile(none / "job.out", kOldReport);
  const RunResult m = runKorvant(none.path(), {"--yes", "job"}, "");
  EXPECT_EQ(m.status, kDialogueStatus);
  EXPECT_EQ(m.console, kMissingDeck + kTerminationBanner);
  EXPECT_EQ(readFile(none / "job.out"), kOldReport);
}

TEST(CommandLine, HelpAndVersion) {
  TempDir dir;
  RunResult r = runKorvant(dir.path(), {"--version"}, "");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.console, "korvant 2.01\n");

  for (const std::string help : {"--help", "-h"}) {
    r = runKorvant(dir.path(), {help}, "");
    EXPECT_EQ(r.status, 0);
    const auto lines = splitLines(r.console);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "Usage: korvant [--yes] [--strict] [--json] [--plots] [--vtk] [--large]");
    ASSERT_GE(lines.size(), 4u);
    // The synopsis (the lines up to the blank one) names every option.
    std::string synopsis;
    for (std::size_t k = 0; k < lines.size() && !lines[k].empty(); ++k) synopsis += lines[k];
    for (const std::string option : {"--yes",
                                     "--strict",
                                     "--json",
                                     "--plots",
                                     "--vtk",
                                     "--large",
                                     "--vtk-ascii",
                                     "--units",
                                     "--conservative",
                                     "--collapse",
                                     "--tolerance",
                                     "--workers",
                                     "--equilibrium",
                                     "--tension-stiffening",
                                     "--steel-hardening",
                                     "--control",
                                     "--eq-step",
                                     "--eq-tolerance",
                                     "--stop-at",
                                     "--help",
                                     "--version"})
      EXPECT_NE(synopsis.find(option), std::string::npos) << option;
  }
  EXPECT_TRUE(filesIn(dir.path()).empty());
}

TEST(CommandLine, BadCommandLinesAreUsageErrors) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--frobnicate"},
        {"job", "other"},
        {"-x", "job"},
        {"--eq-step", "2", "job"},
        {"--equilibrium", "--collapse", "job"},
        {"--equilibrium", "--tension-stiffening", "300", "job"},
        {"--equilibrium", "--control", "3", "job"},
        {"--equilibrium", "--control", "0,3", "job"},
        {"--equilibrium", "--eq-step", "-1", "job"},
        {"--equilibrium", "--eq-tolerance", "1", "job"},
        {"--equilibrium", "--tension-stiffening", "job"},
        {"--equilibrium", "--stop-at", "1.5", "job"},
        {"--equilibrium", "--steel-hardening", "-0.1", "job"}}) {
    TempDir dir;
    writeFile(dir / "job.inp", kBareDeck);
    const RunResult r = runKorvant(dir.path(), args, "job\n");
    EXPECT_EQ(r.status, kUsageStatus);
    EXPECT_EQ(r.console, "");
    EXPECT_NE(r.errors.find("korvant --help"), std::string::npos);
    EXPECT_EQ(filesIn(dir.path()), std::set<std::string>{"job.inp"});
  }
}

}  // namespace
}  // namespace korvant::test

namespace korvant::test {
namespace {

// A job named on the command line ends with one line on standard error, after the deck's
// messages; the console dialogue writes no closing line.
TEST(CommandLine, EveryJobEndsWithOneClosingLine) {
  TempDir dir;
  RunResult r = runKorvant(dir.path(), {"job"}, "");
  EXPECT_EQ(r.errors, "korvant: job 'job' did not start; looked for the input deck job.inp\n");

  writeFile(dir / "job.inp", kBareDeck);
  r = runKorvant(dir.path(), {"--yes", "job"}, "");
  auto lines = splitLines(r.errors);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back().rfind("korvant: job 'job' ", 0), 0u) << r.errors;
  EXPECT_TRUE(endsWith(r.errors, " input errors; report job.out\n")) << r.errors;
  EXPECT_EQ(lines.front(), "korvant: ***ERROR: SLAB DIMENSION A (0.000E+00) MUST BE POSITIVE");

  r = runKorvant(dir.path(), {}, "job\nyes\n");
  EXPECT_EQ(r.errors.find("korvant: job"), std::string::npos) << r.errors;

  // The 2 m simply supported square slab of plate.inp, 150 mm deep: Navier's centre deflection
  // 0.00406 q a^4 / D, to within the coarse grid and the steel layers.
  writeFile(dir / "job.inp", exampleDeck("plate.inp"));
  r = runKorvant(dir.path(), {"--yes", "job"}, "");
  const std::string head = "korvant: job 'job' completed, largest deflection ";
  ASSERT_EQ(r.errors.rfind(head, 0), 0u) << r.errors;
  EXPECT_TRUE(endsWith(r.errors, "; report job.out\n")) << r.errors;
  const double D = 25000.0 * 150.0 * 150.0 * 150.0 / (12.0 * (1.0 - 0.2 * 0.2));
  const double navier = 0.00406 * 0.01 * 2000.0 * 2000.0 * 2000.0 * 2000.0 / D;
  EXPECT_NEAR(std::stod(r.errors.substr(head.size())), navier, 0.05 * navier);
}

}  // namespace
}  // namespace korvant::test
