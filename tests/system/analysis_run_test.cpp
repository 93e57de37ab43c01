// Jobs whose deck is read and checked: the analysis is reached, the console status output
// follows the STATUS switch, the dataset files follow the GRAPHICS switch, and the report
// ends with the closing lines, with the fatal line first when the analysis was stopped.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "support/job_texts.hpp"
#include "support/test_support.hpp"

namespace korvant::test {
namespace {

namespace fs = std::filesystem;

constexpr int kFatalRunTimeStatus = 4;

// A simply supported square slab on a 5 x 5 grid: one zone of concrete around two steel
// layers with their damage laws, and the load line `load`. `extra` adds statements before
// the end statement.
std::string slabDeck(const std::string& solution, const std::string& load,
                     const std::string& extra) {
  return "*HEADING\n"
         "SQUARE SLAB FOR THE JOB TESTS\n" +
         solution +
         "*COUPLING = NO\n"
         "*BOUNDARY = LIBRARY\n"
         "SIMPLY SUPPORTED\n"
         "*SLAB\n"
         "1000.0  1000.0\n"
         "*DISC\n"
         "5  5  1\n"
         "*MATERIAL TYPE=CONCRETE, MATID=1\n"
         "25000.0  0.2  2.5  30.0  3.0\n"
         "*MATERIAL TYPE=STEEL, MATID=2\n"
         "10.0  150.0  200000.0  0.3  400.0\n"
         "*DAMAGE LAW ID = 1\n"
         "CONCRETE\n"
         "CONSTANT MODULI\n"
         "2500.0  2500.0  2500.0\n"
         "1.0  0.0  0.0  0.0\n"
         "*DAMAGE LAW ID = 2\n"
         "STEEL\n"
         "CONSTANT MODULI\n"
         "2000.0\n"
         "1.0  0.0  0.0  0.0\n"
         "*LAYER = 1\n"
         "0  1  1  40.0  0.0\n"
         "*LAYER = 2\n"
         "2  0  2  0.5  0.0\n"
         "*LAYER = 3\n"
         "2  0  2  0.5  90.0\n"
         "*LAYER = 4\n"
         "0  1  1  59.0  0.0\n"
         "*ZONE = 1\n"
         "1000.0  1000.0  500.0  500.0\n"
         "1  2  3  4\n"
         "*NORMAL PRESSURE\n" +
         load + extra + "*END\n";
}

const std::string kLinear = "*SOLUTION = LINEAR\n0.0\n";
const std::string kNonlinear = "*SOLUTION = NONLINEAR\n10  3  5  0.01\n";
const std::string kUniformLoad = "1  UNIFORM LOAD  0.01\n";
// A dead load of load case 2 on the one zone: the analysis takes load case 1, so no point of
// the slab gets a pressure, which the analysis cannot go on from. (A load on a zone that
// does not exist is refused at input.)
const std::string kLoadOfAnotherCase = "2  DEAD  0.01  1\n";

std::string row(int width) {
  return std::string(static_cast<std::size_t>(width), '@');
}

const std::string kProgramBanner =
    textOf({"", "", "", "          " + row(57),
            "          @@@                                                   @@@",
            "          @@@                 PROGRAM KORVANT                   @@@",
            "          @@@                                                   @@@",
            "          @@@  COUPLED SOLUTION OF PLATE DEFLECTION ACCOUNTING  @@@",
            "          @@@   FOR NONLINEAR INELASTIC FRACTURE AND PLASTIC    @@@",
            "          @@@       YIELDING IN REINFORCED CONCRETE SLABS       @@@",
            "          @@@                                                   @@@",
            "          @@@                   VERSION 2.01                    @@@",
            "          @@@                                                   @@@",
            "          " + row(57), "", ""});

const std::string kLinearStatusBanner =
    textOf({"", "", "", "               " + row(44),
            "               @@@                                      @@@",
            "               @@@ S O L U T I O N  S T A T U S  F O R  @@@",
            "               @@@                                      @@@",
            "               @@@     L I N E A R  A N A L Y S I S     @@@",
            "               @@@                                      @@@",
            "               " + row(44), "", "", ""});

const std::string kNonlinearStatusBanner =
    textOf({"", "", "", "               " + row(46),
            "               @@@                                        @@@",
            "               @@@  S O L U T I O N  S T A T U S  F O R   @@@",
            "               @@@                                        @@@",
            "               @@@   N O N L I N E A R  A N A L Y S I S   @@@",
            "               @@@                                        @@@",
            "               " + row(46), "", "", ""});

const std::set<std::string> kDatasetFiles = {"gparams.dat", "content.dat", "job.dln", "job.dcr",
                                             "job.dcy",     "job.sxx",     "job.flt"};

TEST(AnalysisRun, QuietJobStoppedByAFatalErrorEndsWithTheFatalLineAndTheBanner) {
  TempDir dir;
  writeFile(dir / "job.inp", slabDeck(kLinear, kLoadOfAnotherCase, ""));
  const RunResult r = runKorvant(dir.path(), {}, "job\n");
  EXPECT_EQ(r.status, kFatalRunTimeStatus);
  // STATUS off: no status banner and no closing lines at the console.
  EXPECT_EQ(r.console.rfind(kPrompt, 0), 0u) << r.console;
  EXPECT_EQ(r.console.find("PROGRAM KORVANT"), std::string::npos) << r.console;
  EXPECT_EQ(r.console.find("A N A L Y S I S"), std::string::npos) << r.console;
  const std::string report = readFile(dir / "job.out");
  EXPECT_TRUE(endsWith(report, kFatalLine + kCompletedBanner)) << report;
  for (const auto& name : kDatasetFiles) EXPECT_FALSE(fs::exists(dir / name)) << name;
}

TEST(AnalysisRun, StatusShowsTheBannersTheStageAndTheClosingLines) {
  struct Case {
    std::string solution;
    std::string statusBanner;
    std::string stageLine;
  };
  for (const Case& c :
       {Case{kLinear, kLinearStatusBanner, "          * BEGINNING ELASTIC SOLUTION"},
        Case{kNonlinear, kNonlinearStatusBanner,
             "          * BEGINNING INITIAL ELASTIC SOLUTION"}}) {
    SCOPED_TRACE(c.stageLine);
    TempDir dir;
    writeFile(dir / "job.inp", "*STATUS\n" + slabDeck(c.solution, kLoadOfAnotherCase, ""));
    const RunResult r = runKorvant(dir.path(), {"job"}, "");
    EXPECT_EQ(r.status, kFatalRunTimeStatus);
    const std::string opening = kProgramBanner + c.statusBanner + textOf({"", c.stageLine});
    EXPECT_EQ(r.console.rfind(opening, 0), 0u) << r.console;
    EXPECT_TRUE(endsWith(r.console, kFatalLine + kCompletedBanner)) << r.console;
    EXPECT_TRUE(endsWith(readFile(dir / "job.out"), kFatalLine + kCompletedBanner));
  }
}

TEST(AnalysisRun, GraphicsRequestOpensTheDatasetFiles) {
  TempDir dir;
  writeFile(dir / "job.inp", slabDeck(kLinear, kUniformLoad, "*GRAPHIC\nD\n"));
  const RunResult r = runKorvant(dir.path(), {"job"}, "");
  EXPECT_NE(r.status, 3) << readFile(dir / "job.out");
  for (const auto& name : kDatasetFiles) EXPECT_TRUE(fs::exists(dir / name)) << name;
}

TEST(AnalysisRun, DatasetFileThatCannotBeOpenedIsAFatalError) {
  TempDir dir;
  writeFile(dir / "job.inp", slabDeck(kLinear, kUniformLoad, "*GRAPHIC\nD\n"));
  fs::create_directory(dir / "job.dcy");
  const RunResult r = runKorvant(dir.path(), {"job"}, "");
  EXPECT_EQ(r.status, kFatalRunTimeStatus);
  const std::string message = "***ERROR: THE FILE job.dcy CANNOT BE OPENED FOR WRITING\n";
  EXPECT_EQ(r.console, message);
  EXPECT_TRUE(endsWith(readFile(dir / "job.out"), message + kFatalLine + kCompletedBanner));
}

TEST(AnalysisRun, BundledExampleIsReadWithoutErrorsOrWarnings) {
  TempDir dir;
  fs::copy_file(fs::path(KORVANT_SOURCE_DIR) / "examples" / "plate.inp", dir / "plate.inp");
  const RunResult r = runKorvant(dir.path(), {"--yes", "plate"}, "");
  std::string report = readFile(dir / "plate.out");
  EXPECT_NE(r.status, 3) << report;
  const std::size_t unavailable = report.find(kAnalysisUnavailable);
  if (unavailable != std::string::npos) report.erase(unavailable, kAnalysisUnavailable.size());
  EXPECT_EQ(report.find("***ERROR"), std::string::npos) << report;
  EXPECT_EQ(report.find("WARNING"), std::string::npos) << report;
}

}  // namespace
}  // namespace korvant::test
