// The job start through the real executable: the console dialogue, the names derived from
// the job text, the overwrite question, the termination of the dialogue and the command line.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "job/job_texts.hpp"
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

std::set<std::string> filesIn(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
  return names;
}

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

TEST(JobStart, EndOfConsoleInputAnswersLikeAnEmptyLine) {
  // No overwrite answer at all: an empty answer, which accepts.
  TempDir dir;
  writeFile(dir / "job.inp", kBareDeck);
  writeFile(dir / "job.out", kOldReport);
  RunResult r = runKorvant(dir.path(), {}, "job");
  EXPECT_EQ(r.status, kInputErrorsStatus);
  EXPECT_EQ(r.console, kPrompt + kOverwriteQuestion);
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
  // A job text is read as 80 characters: a longer line loses its end.
  for (const Case& c :
       {Case{sixteen, sixteen}, Case{sixteen + ".inp", sixteen}, Case{eighty + "zzzzz", eighty}}) {
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
    EXPECT_EQ(lines[0], "Usage: korvant [--yes] [JOB]");
    for (const std::string option : {"--yes", "--json", "--plots", "--help", "--version"})
      EXPECT_NE(r.console.find(option), std::string::npos) << option;
  }
  EXPECT_TRUE(filesIn(dir.path()).empty());
}

TEST(CommandLine, BadCommandLinesAreUsageErrors) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--frobnicate"}, {"job", "other"}, {"-x", "job"}}) {
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
