// The analysis in equilibrium from the command line, end to end, on the example square slab
// made 11 x 11 and on the same slab as a one-way strip (free at x = 0 and x = 4 m): the step
// block of the report and the tables of the peak and the last step, laid out as the report's
// own blocks are, the curve file beside it, the closing line with the peak, and a control
// point off the grid.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "support/job_texts.hpp"
#include "support/test_support.hpp"

namespace korvant::test {
namespace {

constexpr int kFatalRunTimeStatus = 4;
constexpr int kPoints = 11 * 11;
constexpr double kXT = 3.0, kXC = 30.0;  // the example's concrete strengths

std::string squareDeck(const std::string& layout = "SIMPLY SUPPORTED") {
  return withLine(withLine(exampleDeck("yielding.inp"), "21  21  1", "11  11  1"),
                  "SIMPLY SUPPORTED", layout);
}

// A layout, its control point (the point of largest elastic deflection: the middle of the
// square, the middle of a free edge of the strip) and the point's X and Y in the tables.
struct PathCase {
  const char* layout;
  const char* control;
  const char* point;
};

// The step block's column line, and one step: I5, four E13.5, I6, three I9 after 5X.
const std::string kStepColumns =
    at(5,
       " STEP  LOAD FACTOR     PRESSURE    W CONTROL        W MAX  ITER  CRACKED  CRUSHED"
       "  YIELDED");
const std::regex kStepLine(
    R"( {5}([ \d]{5})((?:[ .\dE+-]{13}){4})([ \d]{6})([ \d]{9})([ \d]{9})([ \d]{9}))");

struct StepLine {
  int step = 0;
  double loadFactor = 0, pressure = 0, wControl = 0, wMax = 0;
  int cracked = 0, crushed = 0, yielded = 0;
};

StepLine parseStep(const std::smatch& m) {
  StepLine s;
  s.step = std::stoi(m[1]);
  std::vector<double> e;
  const std::string values = m[2];
  for (std::size_t k = 0; k < values.size(); k += 13) e.push_back(std::stod(values.substr(k, 13)));
  s.loadFactor = e[0], s.pressure = e[1], s.wControl = e[2], s.wMax = e[3];
  s.cracked = std::stoi(m[4]), s.crushed = std::stoi(m[5]), s.yielded = std::stoi(m[6]);
  return s;
}

// How the path ended, in the report and in the closing line's outcome.
struct Ending {
  const char* report;
  const char* outcome;
};
constexpr Ending kEndings[] = {
    {"THE LOAD FELL PAST THE PEAK TO THE STOPPING FRACTION", "completed"},
    {"THE CONTROL DEFLECTION REACHED ITS LIMIT", "completed"},
    {"A STEP DID NOT CONVERGE AT THE SMALLEST STEP", "completed without convergence"},
    {"THE STEPS RAN OUT", "completed without convergence"},
};

std::size_t indexOf(const std::vector<std::string>& lines, const std::string& line,
                    std::size_t from = 0) {
  return static_cast<std::size_t>(
      std::find(lines.begin() + static_cast<std::ptrdiff_t>(from), lines.end(), line) -
      lines.begin());
}

// The first line from `from` on that begins with `text`, or lines.size().
std::size_t startingWith(const std::vector<std::string>& lines, const std::string& text,
                         std::size_t from = 0) {
  while (from < lines.size() && lines[from].rfind(text, 0) != 0) ++from;
  return from;
}

// A state's tables: the banner of each block (at its indent, of its width), the state's line
// below it at the same indent, then the block's first heading.
void expectStateTables(const std::vector<std::string>& lines, const std::string& state,
                       const StepLine& s) {
  const std::string line = "AT THE " + state + ", STEP " + std::to_string(s.step) + ", LOAD FACTOR";
  struct Block {
    int indent, width;
    const char* loadCase;  // the banner's last text line
    std::string heading;   // the block's first heading, two blank lines below the state's line
  };
  for (const Block& b : {Block{15, 46, "@@@             LOAD CASE     1            @@@",
                               at(23, "S O L U T I O N   V E C T O R")},
                         Block{18, 44, "@@@           LOAD CASE     1            @@@",
                               at(28, "LOWER FIBER STRESSES:")},
                         Block{16, 44, "@@@           LOAD CASE     1            @@@",
                               at(23, "F A I L U R E  M E A S U R E S")}}) {
    SCOPED_TRACE(b.heading);
    const std::size_t k = startingWith(lines, at(b.indent, line));
    ASSERT_LT(k + 4, lines.size()) << line;
    EXPECT_NEAR(std::stod(lines[k].substr(at(b.indent, line).size())), s.loadFactor,
                1e-4 * s.loadFactor);
    EXPECT_EQ(lines[k - 4], at(b.indent, b.loadCase));
    EXPECT_EQ(lines[k - 3], at(b.indent, "@@@" + sp(b.width - 6) + "@@@"));
    EXPECT_EQ(lines[k - 2], at(b.indent, std::string(static_cast<std::size_t>(b.width), '@')));
    EXPECT_EQ(lines[k - 1], "");
    for (std::size_t blank = k + 1; blank <= k + 3; ++blank) EXPECT_EQ(lines[blank], "");
    EXPECT_EQ(lines[k + 4], b.heading);
  }
}

// The peak's tables: the displacement table's W at the control point is the peak's W
// CONTROL, its maximum the peak's W MAX, one line per point; the lower-face stresses never
// above XT nor below -XC.
void expectPeakTables(const std::vector<std::string>& lines, const StepLine& peak,
                      const PathCase& c) {
  const std::size_t table = startingWith(lines, at(15, "AT THE PEAK")) + 4;
  const std::size_t middle = startingWith(lines, at(19, c.point), table);
  ASSERT_LT(middle, lines.size());
  EXPECT_NEAR(std::stod(lines[middle].substr(19 + 26)), peak.wControl, 1e-4 * peak.wControl);
  const std::size_t maxima = indexOf(lines, at(29, "MAXIMUM DEFLECTION:"), table);
  EXPECT_EQ(maxima, table + 5 + kPoints + 2);
  ASSERT_LT(maxima + 3, lines.size());
  EXPECT_NEAR(std::stod(lines[maxima + 3].substr(20 + 26)), peak.wMax, 1e-4 * peak.wMax);
  const std::size_t fibres = indexOf(lines, at(28, "LOWER FIBER STRESSES:"), maxima);
  ASSERT_LT(fibres + 4 + kPoints, lines.size());
  for (std::size_t p = fibres + 4; p < fibres + 4 + kPoints; ++p) {
    for (std::size_t column : {34u, 47u}) {  // SXX, SYY
      const double sigma = std::stod(lines[p].substr(column, 11));
      EXPECT_LE(sigma, kXT * (1 + 1e-4)) << lines[p];
      EXPECT_GE(sigma, -kXC * (1 + 1e-4)) << lines[p];
    }
  }
}

void expectPathReport(const PathCase& c) {
  SCOPED_TRACE(c.layout);
  TempDir dir;
  writeFile(dir / "job.inp", squareDeck(c.layout));
  const RunResult r = runKorvant(dir.path(), {"--yes", "--equilibrium", "job"}, "");
  EXPECT_EQ(r.status, 0);
  const std::string report = readFile(dir / "job.out");
  const std::vector<std::string> lines = splitLines(report);

  const std::size_t head =
      indexOf(lines, at(15,
                        "* EQUILIBRIUM ANALYSIS ALONG THE LOAD PATH (SECANT, DISPLACEMENT "
                        "CONTROL)"));
  ASSERT_LT(head + 5, lines.size());
  EXPECT_EQ(lines[head + 1], "");
  EXPECT_EQ(lines[head + 2].rfind(at(5, c.control) + "   STEP ", 0), 0u) << lines[head + 2];
  EXPECT_EQ(lines[head + 3], "");
  EXPECT_EQ(lines[head + 4], kStepColumns);
  std::vector<StepLine> steps;
  std::size_t k = head + 5;
  for (std::smatch m; k < lines.size() && std::regex_match(lines[k], m, kStepLine); ++k) {
    steps.push_back(parseStep(m));
    EXPECT_EQ(steps.back().step, static_cast<int>(steps.size()));
  }
  ASSERT_GT(steps.size(), 3u);
  EXPECT_EQ(steps[0].cracked, 0);  // the first step is elastic
  EXPECT_EQ(lines[k], "");

  // How it ended, and the peak over the steps.
  const std::string ended = lines[k + 1];
  ASSERT_EQ(ended.rfind(at(5, "THE PATH ENDED: "), 0), 0u) << ended;
  const auto ending = std::find_if(std::begin(kEndings), std::end(kEndings), [&](const Ending& e) {
    return ended == at(5, "THE PATH ENDED: ") + e.report;
  });
  ASSERT_NE(ending, std::end(kEndings)) << ended;
  // The peak line names the step of the largest load factor (the first of equal ones as
  // printed: they may differ beyond the printed digits) and repeats its numbers.
  ASSERT_LT(k + 2, lines.size());
  const int peakStep = std::stoi(lines[k + 2].substr(68, 5));
  ASSERT_GE(peakStep, 1);
  ASSERT_LE(peakStep, static_cast<int>(steps.size()));
  const StepLine& peak = steps[static_cast<std::size_t>(peakStep - 1)];
  for (const StepLine& s : steps) EXPECT_LE(s.loadFactor, peak.loadFactor) << s.step;
  const std::string& peakRow = lines[head + 4 + static_cast<std::size_t>(peakStep)];
  char peakLine[160];
  std::snprintf(peakLine, sizeof peakLine,
                "     PEAK LOAD FACTOR%13s   PRESSURE%13s   AT STEP%5d   W CONTROL%13s",
                peakRow.substr(10, 13).c_str(), peakRow.substr(23, 13).c_str(), peakStep,
                peakRow.substr(36, 13).c_str());
  EXPECT_EQ(lines[k + 2], peakLine);
  // A path that stopped before its rules ended it says that its peak may lie higher, with
  // the load of its last step over the peak (F8.5), and, when a step did not converge, where
  // the slab did not settle: a point of the grid.
  if (std::string(ending->outcome) != "completed") {
    std::smatch m;
    const std::regex stopped(
        "     THE PATH STOPPED AT( [ .\\d]{7}) OF THE PEAK: THE SLAB'S PEAK MAY LIE HIGHER");
    ASSERT_TRUE(std::regex_match(lines[k + 3], m, stopped)) << lines[k + 3];
    EXPECT_NEAR(std::stod(m[1]), steps.back().loadFactor / peak.loadFactor, 3e-5);
  }
  if (std::string(ending->report) == "A STEP DID NOT CONVERGE AT THE SMALLEST STEP") {
    std::smatch m;
    const std::regex unsettled(
        "     THE LAST ITERATE CHANGED MOST AT POINT I = +(\\d+), J = +(\\d+)");
    ASSERT_TRUE(std::regex_match(lines[k + 4], m, unsettled)) << lines[k + 4];
    EXPECT_LE(std::stoi(m[1]), 11);  // the 11 x 11 grid
    EXPECT_LE(std::stoi(m[2]), 11);
  }

  // The tables of the peak and of the last step (one set when they are one step).
  const bool peakIsLast = peak.step == steps.back().step;
  expectStateTables(lines, peakIsLast ? "PEAK, THE LAST STEP" : "PEAK", peak);
  if (!peakIsLast) expectStateTables(lines, "LAST STEP", steps.back());
  const std::regex stateLine(" +AT THE (PEAK|LAST STEP), .*");
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [&](const std::string& l) { return std::regex_match(l, stateLine); }),
            peakIsLast ? 3 : 6);
  expectPeakTables(lines, peak, c);
  EXPECT_TRUE(endsWith(report, kCompletedBanner));

  // One row of the curve per step line, with its numbers.
  const std::vector<std::string> curve = splitLines(readFile(dir / "job.curve.csv"));
  ASSERT_EQ(curve.size(), steps.size() + 1);
  EXPECT_EQ(curve[0],
            "step,load_factor,pressure,w_control,w_max,iterations,cracked,crushed,yielded");
  for (std::size_t s = 0; s < steps.size(); ++s) {
    double n, factor, pressure, wControl;
    ASSERT_EQ(
        std::sscanf(curve[s + 1].c_str(), "%lf,%lf,%lf,%lf", &n, &factor, &pressure, &wControl), 4);
    EXPECT_EQ(n, steps[s].step);
    EXPECT_NEAR(factor, steps[s].loadFactor, 5e-5 * steps[s].loadFactor);  // five digits
    EXPECT_NEAR(pressure, steps[s].pressure, 5e-5 * steps[s].pressure);
    EXPECT_NEAR(pressure / factor, 0.043, 1e-9);  // the deck's pressure times the factor
  }

  // The closing line: the outcome and the peak.
  const std::regex closingLine(std::string("korvant: job 'job' ") + ending->outcome +
                               R"(, peak load factor([ .\dE+-]{12}), pressure([ .\dE+-]{12}) at )"
                               R"(control deflection([ .\dE+-]{12}); report job.out\n)");
  std::smatch m;
  ASSERT_TRUE(std::regex_search(r.errors, m, closingLine)) << r.errors;
  EXPECT_NEAR(std::stod(m[1]), peak.loadFactor, 5e-4 * peak.loadFactor);  // four digits
  EXPECT_NEAR(std::stod(m[2]), peak.pressure, 5e-4 * peak.pressure);      // four digits
  EXPECT_NEAR(std::stod(m[3]), peak.wControl, 5e-4 * peak.wControl);      // four digits
  EXPECT_TRUE(endsWith(r.errors, m.str())) << r.errors;
}

TEST(EquilibriumReport, StepBlockStateTablesCurveAndClosingLine) {
  for (const PathCase& c :
       {PathCase{"SIMPLY SUPPORTED", "CONTROL POINT I =    6, J =    6",
                 "0.20000E+04  0.20000E+04  "},
        PathCase{"SFSF", "CONTROL POINT I =    6, J =    1", "0.00000E+00  0.20000E+04  "}})
    expectPathReport(c);
}

// The path solves its secant systems by one decomposition whatever the deck's solver option,
// one without BLAS calls (whose rounding differs from one library and processor to another,
// and past the spread of yielding the round-off decides which of the slab's equilibria a path
// finds): a coarse path through cracking and yielding is the same to the curve's nine digits
// under the band option and under *EQUATION SOLVER = FULL.
TEST(EquilibriumReport, PathDoesNotDependOnTheSolverOption) {
  std::string curves[2];
  const std::string decks[2] = {squareDeck(), withLine(squareDeck(), "*COUPLING = NO",
                                                       "*COUPLING = NO\n*EQUATION SOLVER = FULL")};
  for (int k = 0; k < 2; ++k) {
    TempDir dir;
    writeFile(dir / "job.inp", decks[k]);
    runKorvant(dir.path(), {"--yes", "--equilibrium", "--eq-step", "20", "job"}, "");
    curves[k] = readFile(dir / "job.curve.csv");
  }
  EXPECT_GT(splitLines(curves[0]).size(), 5u);
  EXPECT_EQ(curves[0], curves[1]);
}

// A control point off the grid stops the analysis after the elastic tables with a fatal
// error that names it and the grid; no curve is written.
TEST(EquilibriumReport, ControlPointOffTheGridIsAFatalError) {
  TempDir dir;
  writeFile(dir / "job.inp", squareDeck());
  const RunResult r =
      runKorvant(dir.path(), {"--yes", "--equilibrium", "--control", "12,3", "job"}, "");
  EXPECT_EQ(r.status, kFatalRunTimeStatus);
  const std::string message =
      "***ERROR: THE CONTROL POINT I =   12, J =    3 IS NOT A POINT OF THE GRID (I TO   11, J "
      "TO   11)\n";
  EXPECT_TRUE(endsWith(readFile(dir / "job.out"), message + kFatalLine + kCompletedBanner));
  EXPECT_TRUE(endsWith(r.errors, "korvant: " + message +
                                     "korvant: job 'job' fatal run-time error; report job.out\n"))
      << r.errors;
  EXPECT_EQ(filesIn(dir.path()), (std::set<std::string>{"job.inp", "job.out", "job.zon"}));
}

// A curve that cannot be written is named at the job's end, and the job says so in its
// status, as for every other file of a run.
TEST(EquilibriumReport, CurveOnAFullDiscIsAFileNotWritten) {
  TempDir dir;
  writeFile(dir / "job.inp", squareDeck());
  std::filesystem::create_symlink("/dev/full", dir / "job.curve.csv");
  const RunResult r =
      runKorvant(dir.path(), {"--yes", "--equilibrium", "--eq-step", "20", "job"}, "");
  EXPECT_EQ(r.status, 5);
  EXPECT_NE(r.errors.find("korvant: ***ERROR: THE FILE job.curve.csv COULD NOT BE WRITTEN "
                          "COMPLETELY\n"),
            std::string::npos)
      << r.errors;
}

}  // namespace
}  // namespace korvant::test
