// Decks that cannot be read to their end: the message names the deck line, goes to the
// report and the console, and the job ends with the input-error status; nothing hangs.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/job_texts.hpp"
#include "support/test_support.hpp"

namespace korvant::test {
namespace {

namespace fs = std::filesystem;

constexpr int kInputErrorsStatus = 3;

// The lines of the console after the prompt: the whole block the report also holds.
struct Expected {
  std::string deck;
  std::string messageStart;  // the message line, up to what the reader says it was reading
  std::string lineLine;      // the line naming the deck line, or empty for none
};

void expectDeckError(const Expected& e) {
  TempDir dir;
  writeFile(dir / "job.inp", e.deck);
  const RunResult r = runKorvant(dir.path(), {}, "job\n");
  EXPECT_EQ(r.status, kInputErrorsStatus);
  ASSERT_EQ(r.console.rfind(kPrompt, 0), 0u) << r.console;
  const std::string block = r.console.substr(kPrompt.size());
  const auto lines = splitLines(block);
  ASSERT_GE(lines.size(), 2u) << block;
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1].rfind(e.messageStart, 0), 0u) << lines[1];
  const std::size_t rest = e.lineLine.empty() ? 2 : 3;
  if (!e.lineLine.empty()) {
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[2], e.lineLine);
  }
  EXPECT_EQ(lines.size(), rest + 5) << block;
  EXPECT_TRUE(endsWith(block, kJobTerminated)) << block;
  EXPECT_TRUE(endsWith(readFile(dir / "job.out"), block)) << readFile(dir / "job.out");
}

TEST(DeckErrors, DeckEndingBeforeItsEndStatement) {
  // The heading statement takes the next line, and there is none.
  expectDeckError({"*HEADING\n", "***ERROR: END OF INPUT DECK REACHED WHILE READING",
                   "          AT LINE     1: *HEADING"});
  // The statement loop runs out of lines: the last line read is named.
  expectDeckError({"*SLAB\n1000.0  2000.0    \n** no end statement\n",
                   "***ERROR: END OF INPUT DECK REACHED WHILE READING",
                   "          AT LINE     3: ** no end statement"});
  // Numbers missing on the data line are looked for on the next lines, past the end.
  expectDeckError({"*SLAB\n1000.0\n", "***ERROR: END OF INPUT DECK REACHED WHILE READING",
                   "          AT LINE     2: 1000.0"});
}

TEST(DeckErrors, EmptyDeck) {
  expectDeckError({"", "***ERROR: END OF INPUT DECK REACHED WHILE READING", ""});
}

TEST(DeckErrors, TextWhereANumberIsExpected) {
  expectDeckError({"*SLAB\n1000.0  abc\n*END\n", "***ERROR: 'abc' IS NOT A NUMBER",
                   "          AT LINE     2: 1000.0  abc"});
}

// A deck that is not a regular file could not be read to its end, or reading it would wait
// forever (a FIFO without a writer): it is refused before any file is created.
TEST(DeckErrors, DeckThatIsNotARegularFile) {
  struct Case {
    std::string kind;
    std::function<void(const fs::path&)> make;
  };
  const Case cases[] = {
      {"A DIRECTORY", [](const fs::path& p) { fs::create_directory(p); }},
      {"A FIFO (NAMED PIPE)", [](const fs::path& p) { ::mkfifo(p.c_str(), 0600); }},
      {"A DEVICE", [](const fs::path& p) { fs::create_symlink("/dev/null", p); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    TempDir dir;
    c.make(dir / "job.inp");
    const RunResult r = runKorvant(dir.path(), {"job"}, "");
    EXPECT_EQ(r.status, kInputErrorsStatus);
    EXPECT_EQ(r.console, "\n***ERROR: THE INPUT DECK job.inp IS " + c.kind + ", NOT A FILE\n" +
                             kJobTerminated);
    EXPECT_FALSE(fs::exists(dir / "job.out"));
    EXPECT_FALSE(fs::exists(dir / "job.zon"));
  }
}

TEST(DeckErrors, DeckWithoutReadPermission) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  TempDir dir;
  writeFile(dir / "job.inp", "*END\n");
  fs::permissions(dir / "job.inp", fs::perms::none);
  const RunResult r = runKorvant(dir.path(), {"job"}, "");
  EXPECT_EQ(r.status, kInputErrorsStatus);
  EXPECT_EQ(r.console.rfind("\n***ERROR: THE INPUT DECK job.inp", 0), 0u) << r.console;
  EXPECT_TRUE(endsWith(r.console, kJobTerminated));
}

}  // namespace
}  // namespace korvant::test
