// Faults that once lost data or ended as a success, each from a small change to the smallest
// linear example deck, run through the real executable: every one must end with its status
// and its message, never with a wrong success.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/test_support.hpp"

namespace korvant::test {
namespace {

namespace fs = std::filesystem;

constexpr int kCompleted = 0;
constexpr int kInputErrors = 3;
constexpr int kFilesNotWritten = 5;

const std::string kGrid = "7  7  1";  // the DISCRETIZATION line of plate.inp

std::string plateWith(const std::string& line, const std::string& with) {
  return withLine(exampleDeck("plate.inp"), line, with);
}

std::string bandStored(const std::string& grid) {
  return withLine(plateWith(kGrid, grid), "*COUPLING = NO",
                  "*COUPLING = NO\n*EQUATION SOLVER = BAND");
}

std::string layout(const std::string& name, const std::string& grid) {
  return withLine(plateWith(kGrid, grid), "SIMPLY SUPPORTED", name);
}

std::string loadLines(int count) {
  std::string lines;
  for (int k = 1; k <= count; ++k) lines += std::to_string(k) + "  UNIFORM LOAD  0.0005\n";
  lines.pop_back();
  return lines;
}

void fullDisc(const fs::path& file) {
  fs::create_symlink("/dev/full", file);
}

struct Fault {
  std::string name;
  std::string deck;
  int status;
  std::string message;  // the start of a line of the report, or of standard error when
  bool onStandardError = false;
  std::function<void(const TempDir&)> prepare = nullptr;
  std::vector<std::string> options = {};
};

std::vector<Fault> faults() {
  return {
      {"report on a full disc", exampleDeck("plate.inp"), kFilesNotWritten,
       "korvant: ***ERROR: THE FILE job.out COULD NOT BE WRITTEN COMPLETELY", true,
       [](const TempDir& d) { fullDisc(d / "job.out"); }},
      {"zone plot on a full disc", exampleDeck("plate.inp"), kFilesNotWritten,
       "korvant: ***ERROR: THE FILE job.zon COULD NOT BE WRITTEN COMPLETELY", true,
       [](const TempDir& d) { fullDisc(d / "job.zon"); }},
      {"summary on a full disc",
       exampleDeck("plate.inp"),
       kFilesNotWritten,
       "korvant: the summary file job.json cannot be written",
       true,
       [](const TempDir& d) { fullDisc(d / "job.json"); },
       {"--json"}},
      {"VTK file on a full disc",
       exampleDeck("plate.inp"),
       kFilesNotWritten,
       "korvant: ***ERROR: THE FILE job.vtk/000_linear.vts COULD NOT BE WRITTEN COMPLETELY",
       true,
       [](const TempDir& d) {
         fs::create_directory(d / "job.vtk");
         fullDisc(d / "job.vtk" / "000_linear.vts");
       },
       {"--vtk"}},
      {"VTK collection on a full disc",
       exampleDeck("plate.inp"),
       kFilesNotWritten,
       "korvant: ***ERROR: THE FILE job.pvd COULD NOT BE WRITTEN COMPLETELY",
       true,
       [](const TempDir& d) { fullDisc(d / "job.pvd"); },
       {"--vtk"}},
      {"VTK folder taken by a file",
       exampleDeck("plate.inp"),
       kFilesNotWritten,
       "korvant: ***ERROR: THE FOLDER job.vtk COULD NOT BE MADE",
       true,
       [](const TempDir& d) { writeFile(d / "job.vtk", ""); },
       {"--vtk"}},
      {"NUMA x NUMB past the range of whole numbers, coupled",
       withLine(plateWith(kGrid, "2147483647  2147483647  1"), "*COUPLING = NO", "*COUPLING = YES"),
       kInputErrors, "***ERROR: NUMBER OF DIVISIONS WILL CREATE GLOBAL MATRICES OF"},
      {"the smallest NUMA", plateWith(kGrid, "-2147483648  7  1"), kInputErrors,
       "***ERROR: NUMA (*****) MUST BE INPUT AS 3 OR MORE"},
      {"negative NCOL", layout("4-COLUMN FREE", "7  7  -5"), kInputErrors,
       "***ERROR: NCOL (   -5) MUST LIE IN 0 <= NCOL <=    7"},
      {"the largest NCOL", layout("4-COLUMN FREE", "7  7  2147483647"), kInputErrors,
       "***ERROR: NCOL (*****) MUST LIE IN 0 <= NCOL <=    7"},
      {"columns covering the slab", layout("4-COLUMN FREE", "7  7  4"), kInputErrors,
       "***ERROR: NCOL (    3) GIVES COLUMN REGIONS THAT COVER THE SLAB:"},
      {"9 columns covering the slab", layout("9-COLUMN", "9  9  3"), kInputErrors,
       "***ERROR: NCOL (    2) GIVES COLUMN REGIONS THAT COVER THE SLAB:"},
      {"columns leaving a panel", layout("4-COLUMN FREE", "7  7  3"), kCompleted, ""},
      {"user-defined layout without a support",
       withLine(withLine(exampleDeck("plate.inp"), "*BOUNDARY = LIBRARY", "*BOUNDARY = USER"),
                "SIMPLY SUPPORTED", "1  1  FE  1\n4  4  FS  1"),
       kInputErrors, "***ERROR: THE USER-DEFINED BOUNDARY POINTS HOLD NO CLAMPED OR SIMPLE"},
      {"21 lines of one load list", plateWith("1  UNIFORM LOAD  0.01", loadLines(21)), kInputErrors,
       "***ERROR: THE *NORMAL PRESSURE STATEMENT AT LINE    48 READS AT MOST 20 LINES:"},
      {"11 lines of a zone's layer list",
       plateWith("1  2  3  4  5", "1\n2\n3\n4\n5\n1\n1\n1\n1\n1\n1"), kInputErrors,
       "***ERROR: THE *ZONE STATEMENT AT LINE    45 READS AT MOST 10 LINES:"},
      // A 493 x 3 band reaches column 2001 + 4 (493 + 3 + 4) = 4001 of the 4000 stored.
      {"a long thin band one column past the store", bandStored("493  3  1"), kInputErrors,
       "          BY   4001. THIS EXCEEDS THE MAXIMUM DIMENSION OF"},
      {"a long thin band that just fits", bandStored("492  3  1"), kCompleted, ""},
      // Found by the fuzzer: the number of a load the full table cannot store, printed in
      // its message, was converted from beyond the range of whole numbers.
      {"an unstored load numbered 4.4e25",
       plateWith("1  UNIFORM LOAD  0.01",
                 loadLines(20) + "\n*NORMAL PRESSURE\n4.4e25  UNIFORM LOAD  0.01"),
       kInputErrors, "          LOAD***** OF TYPE    1 IS NOT STORED"},
  };
}

bool hasLineStartingWith(const std::string& text, const std::string& start) {
  for (const std::string& l : splitLines(text))
    if (l.rfind(start, 0) == 0) return true;
  return false;
}

TEST(FaultRegressions, EachEndsWithItsStatusAndMessage) {
  for (const Fault& f : faults()) {
    SCOPED_TRACE(f.name);
    TempDir dir;
    writeFile(dir / "job.inp", f.deck);
    if (f.prepare) f.prepare(dir);
    std::vector<std::string> args = f.options;
    args.insert(args.end(), {"--yes", "job"});
    const RunResult r = runKorvant(dir.path(), args, "");
    EXPECT_EQ(r.status, f.status) << r.errors;
    // A report on the full disc device is never read back: it reads as endless zeros.
    const std::string report =
        fs::is_regular_file(dir / "job.out") ? readFile(dir / "job.out") : std::string();
    const std::string& where = f.onStandardError ? r.errors : report;
    if (!f.message.empty()) {
      EXPECT_TRUE(hasLineStartingWith(where, f.message)) << where;
    }
    EXPECT_FALSE(hasLineStartingWith(report, "***ERROR: INTERNAL ERROR"));
  }
}

}  // namespace
}  // namespace korvant::test
