// Bad decks and bad job folders through the real executable: each ends with its exit status
// and a message that starts as given, on the console or in the report; none crashes or hangs.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "support/test_support.hpp"

namespace korvant::test {
namespace {

namespace fs = std::filesystem;

constexpr int kCompleted = 0;
constexpr int kDialogue = 2;
constexpr int kInputErrors = 3;
constexpr int kFatalRunTime = 4;

const std::string kEndOfDeck = "***ERROR: END OF INPUT DECK REACHED WHILE READING";

struct BadDeck {
  std::string name;
  std::string deck;
  int status;
  std::string message;  // start of a console or report line; empty: no message looked for
  std::function<void(const TempDir&)> prepare = nullptr;  // replaces the deck file when set
};

std::string plate() {
  return exampleDeck("plate.inp");
}

std::string replacedAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

std::string binaryJunk() {
  std::mt19937 random(13);
  std::string junk(4096, '\0');
  for (char& c : junk) c = static_cast<char>(random() % 256);
  return junk;
}

std::vector<BadDeck> corpus() {
  const std::string p = plate();
  std::vector<BadDeck> decks = {
      // The deck ends inside every kind of statement.
      {"empty file", "", kInputErrors, kEndOfDeck},
      {"no end statement", "*STATUS\n", kInputErrors, kEndOfDeck},
      {"heading", "*HEADING\n", kInputErrors, kEndOfDeck},
      {"solution", "*SOLUTION = NONLINEAR\n", kInputErrors, kEndOfDeck},
      {"solution limits", "*SOLUTION = NONLINEAR\n10 2\n", kInputErrors, kEndOfDeck},
      {"slab", "*SLAB DIMENSIONS\n", kInputErrors, kEndOfDeck},
      {"slab, one value", "*SLAB DIMENSIONS\n2000.0\n", kInputErrors, kEndOfDeck},
      {"discretization", "*DISCRETIZATION\n7 7\n", kInputErrors, kEndOfDeck},
      {"column", "*COLUMN\n", kInputErrors, kEndOfDeck},
      {"default pressure", "*DEFAULT PRESSURE\n", kInputErrors, kEndOfDeck},
      {"normal pressure", "*NORMAL PRESSURE\n", kInputErrors, kEndOfDeck},
      {"normal pressure line", "*NORMAL PRESSURE\n1 UNIFORM LOAD 0.01\n", kInputErrors, kEndOfDeck},
      {"material", "*MATERIAL TYPE=CONCRETE, MATID=1\n25000.0 0.2\n", kInputErrors, kEndOfDeck},
      {"layer", "*LAYER = 1\n0 1 1\n", kInputErrors, kEndOfDeck},
      {"zone", "*ZONE = 1\n2000.0 2000.0\n", kInputErrors, kEndOfDeck},
      {"zone layer list", "*ZONE = 1\n2000.0 2000.0 1000.0 1000.0\n", kInputErrors, kEndOfDeck},
      {"damage law", "*DAMAGE LAW ID = 1\nCONCRETE\n", kInputErrors, kEndOfDeck},
      {"damage law moduli", "*DAMAGE LAW ID = 1\nCONCRETE\nCONSTANT MODULI\n1.0\n", kInputErrors,
       kEndOfDeck},
      {"library boundary", "*BOUNDARY = LIBRARY\n", kInputErrors, kEndOfDeck},
      {"user boundary", "*BOUNDARY = USER\n1 1 CLAMPED 1\n", kInputErrors, kEndOfDeck},
      {"file print", "*FILE PRINT\n", kInputErrors, kEndOfDeck},
      {"graphic", "*GRAPHIC = TECPLOT\n", kInputErrors, kEndOfDeck},
      // Numbers that are not numbers, or not representable.
      {"text for a number", withLine(p, "2000.0  2000.0", "2000.0  abc"), kInputErrors,
       "***ERROR: 'abc' IS NOT A NUMBER"},
      {"NaN", withLine(p, "2000.0  2000.0", "NaN  2000.0"), kInputErrors,
       "***ERROR: 'NaN' IS NOT A NUMBER"},
      {"infinity", withLine(p, "2000.0  2000.0", "inf  2000.0"), kInputErrors,
       "***ERROR: 'inf' IS NOT A NUMBER"},
      {"1e309", withLine(p, "2000.0  2000.0", "1e309  2000.0"), kInputErrors,
       "***ERROR: '1e309' IS NOT A NUMBER"},
      {"whole number past its range", withLine(p, "7  7  1", "99999999999  7  1"), kInputErrors,
       "***ERROR: '99999999999' IS NOT A WHOLE NUMBER"},
      {"decimal for a whole number", withLine(p, "7  7  1", "7.5  7  1"), kInputErrors,
       "***ERROR: '7.5' IS NOT A WHOLE NUMBER"},
      {"zero slab side", withLine(p, "2000.0  2000.0", "0.0  2000.0"), kInputErrors,
       "***ERROR: SLAB DIMENSION A (0.000E+00) MUST BE POSITIVE"},
      {"1e-309 slab side, a denormal", withLine(p, "2000.0  2000.0", "1e-309  2000.0"),
       kFatalRunTime, "     * SINGULAR MATRIX ENCOUNTERED DURING MATRIX DECOMPOSITION IN"},
      // Extreme grids.
      {"grid of 2", withLine(p, "7  7  1", "2  7  1"), kInputErrors,
       "***ERROR: NUMA (    2) MUST BE INPUT AS 3 OR MORE"},
      {"grid of 0", withLine(p, "7  7  1", "7  0  1"), kInputErrors,
       "***ERROR: NUMB (    0) MUST BE INPUT AS 3 OR MORE"},
      {"largest grid", withLine(p, "7  7  1", "2147483647  2147483647  1"), kInputErrors,
       "***ERROR: NUMBER OF DIVISIONS WILL CREATE GLOBAL MATRICES OF"},
      {"smallest grid", withLine(p, "7  7  1", "-2147483648  -2147483648  1"), kInputErrors,
       "***ERROR: NUMA (*****) MUST BE INPUT AS 3 OR MORE"},
      {"grid one past the store", withLine(p, "7  7  1", "59  60  1"), kInputErrors,
       "***ERROR: NUMBER OF DIVISIONS WILL CREATE GLOBAL MATRICES OF"},
      // Line ends, blanks and bytes.
      {"CRLF line ends", replacedAll(p, "\n", "\r\n"), kCompleted, ""},
      {"tabs for blanks", replacedAll(p, "  ", "\t"), kCompleted, ""},
      {"a 10 MB line", "**" + std::string(10 * 1024 * 1024, 'x') + "\n" + p, kCompleted, ""},
      {"binary junk", binaryJunk(), kInputErrors, ""},
      {"NUL bytes", std::string("\0\0\0\n*\0END\n", 10) + "*END\n", kInputErrors,
       "***ERROR: SLAB DIMENSION A"},
      {"end statement alone", "*END\n", kInputErrors, "***ERROR: SLAB DIMENSION A"},
      // The deck and the folder of the job.
      {"deck that is a directory", "", kInputErrors,
       "***ERROR: THE INPUT DECK job.inp IS A DIRECTORY",
       [](const TempDir& d) { fs::create_directory(d / "job.inp"); }},
      {"deck that is a FIFO", "", kInputErrors, "***ERROR: THE INPUT DECK job.inp IS A FIFO",
       [](const TempDir& d) { ::mkfifo((d / "job.inp").c_str(), 0600); }},
      {"report that is a directory", p, kDialogue,
       "***ERROR: THE FILE job.out CANNOT BE OPENED FOR WRITING",
       [p](const TempDir& d) {
         writeFile(d / "job.inp", p);
         fs::create_directory(d / "job.out");
       }},
  };
  if (::geteuid() != 0)  // permissions do not bind the superuser
    decks.push_back({"unwritable folder", p, kDialogue,
                     "***ERROR: THE FILE job.out CANNOT BE OPENED FOR WRITING",
                     [p](const TempDir& d) {
                       writeFile(d / "job.inp", p);
                       fs::permissions(d.path(), fs::perms::owner_read | fs::perms::owner_exec);
                     }});
  return decks;
}

bool hasLineStartingWith(const std::string& text, const std::string& start) {
  for (const std::string& l : splitLines(text))
    if (l.rfind(start, 0) == 0) return true;
  return false;
}

TEST(BadDeckCorpus, EachEndsWithItsStatusAndMessage) {
  const std::vector<BadDeck> decks = corpus();
  EXPECT_GE(decks.size(), 40u);
  for (const BadDeck& d : decks) {
    SCOPED_TRACE(d.name);
    TempDir dir;
    if (d.prepare)
      d.prepare(dir);
    else
      writeFile(dir / "job.inp", d.deck);
    const RunResult r = runKorvant(dir.path(), {"--yes", "job"}, "");
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(r.status, d.status) << r.console;
    const std::string report =
        fs::is_regular_file(dir / "job.out") ? readFile(dir / "job.out") : std::string();
    if (!d.message.empty()) {
      EXPECT_TRUE(hasLineStartingWith(r.console + report, d.message)) << r.console << report;
    }
    // The deck's messages, then the closing line.
    const auto lines = splitLines(r.errors);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().rfind("korvant: job 'job' ", 0), 0u) << r.errors;
  }
}

}  // namespace
}  // namespace korvant::test
