// The files of the load path in equilibrium through the executable: the example square of
// 4 m, 150 mm, 10 mm bars at 150 mm both ways, simply supported, on 11 x 11 points. The job
// runs twice, with and without --json --plots --vtk: the report and JOB.curve.csv must be
// the same byte for byte. The summary's curve and peak are read against the curve file, the
// VTK series against the steps and, at the first (uncracked) step, against plate theory; the
// crack maps at the peak against the symmetry of the slab.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/slab_decks.hpp"
#include "support/test_support.hpp"
#include "support/vtk_readback.hpp"

#ifdef KORVANT_HAVE_JSON
#include <nlohmann/json.hpp>
#endif

namespace korvant::test {
namespace {

namespace fs = std::filesystem;

constexpr double kSpan = 4000.0, kPressure = 0.043;

std::string squareDeck() {
  return withLine(exampleDeck("yielding.inp"), "21  21  1", "11  11  1");
}

// The rows of JOB.curve.csv below its header, each row's numbers.
std::vector<std::vector<double>> curveRows(const fs::path& file) {
  std::vector<std::vector<double>> rows;
  const std::vector<std::string> lines = splitLines(readFile(file));
  for (std::size_t k = 1; k < lines.size(); ++k) {
    if (lines[k].empty()) continue;
    std::string line = lines[k];
    std::replace(line.begin(), line.end(), ',', ' ');
    rows.push_back(numbersOf(line));
  }
  return rows;
}

// The map data file of a picture: the value at every (x, y).
std::map<std::pair<double, double>, double> mapData(const fs::path& file) {
  std::map<std::pair<double, double>, double> values;
  for (const std::string& line : splitLines(readFile(file))) {
    if (line.empty() || line[0] == '#') continue;
    const std::vector<double> v = numbersOf(line);
    values[{std::round(v.at(0)), std::round(v.at(1))}] = v.at(2);
  }
  return values;
}

// Both runs of the job, one folder each: the plain one and the one with every file beside it.
struct Runs {
  TempDir plain, files;
};

const Runs& runs() {
  static Runs made;
  static const bool ran = [] {
    for (const bool withFiles : {false, true}) {
      const fs::path& dir = withFiles ? made.files.path() : made.plain.path();
      writeFile(dir / "job.inp", squareDeck());
      std::vector<std::string> args = {"--yes", "--equilibrium", "job"};
      if (withFiles) args.insert(args.end(), {"--json", "--plots", "--vtk", "--units", "N-mm"});
      const RunResult result = runKorvant(dir, args, "");
      EXPECT_EQ(result.status, 0) << result.errors;
    }
    return true;
  }();
  EXPECT_TRUE(ran);
  return made;
}

TEST(PathFiles, FilesBesideTheReportChangeNeitherTheReportNorTheCurve) {
  const Runs& r = runs();
  EXPECT_EQ(readFile(r.plain / "job.out"), readFile(r.files / "job.out"));
  EXPECT_EQ(readFile(r.plain / "job.curve.csv"), readFile(r.files / "job.curve.csv"));
  EXPECT_FALSE(curveRows(r.plain / "job.curve.csv").empty());
}

#ifdef KORVANT_HAVE_JSON
// The summary's curve is the curve file, its peak the largest load factor of it, and the
// results at the peak and the last step name their steps.
TEST(PathFiles, SummaryHoldsTheCurveAndItsPeak) {
  const Runs& r = runs();
  const auto rows = curveRows(r.files / "job.curve.csv");
  const nlohmann::json j = nlohmann::json::parse(readFile(r.files / "job.json"));
  const nlohmann::json& path = j.at("equilibrium_path");
  ASSERT_EQ(path.at("curve").size(), rows.size());
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const nlohmann::json& step = path["curve"][k];
    EXPECT_EQ(step["step"], rows[k][0]);
    EXPECT_NEAR(step["load_factor"].get<double>(), rows[k][1], 1e-8 * rows[k][1]);
    EXPECT_NEAR(step["pressure"].get<double>(), rows[k][1] * kPressure, 1e-8 * rows[k][2]);
    EXPECT_NEAR(step["w_control"].get<double>(), rows[k][3], 1e-8 * rows[k][3]);
  }
  const auto largest = std::max_element(rows.begin(), rows.end(),
                                        [](const auto& a, const auto& b) { return a[1] < b[1]; });
  EXPECT_NEAR(path["peak"]["load_factor"].get<double>(), (*largest)[1], 1e-8 * (*largest)[1]);
  EXPECT_EQ(path["peak"]["step"], (*largest)[0]);
  EXPECT_EQ(path["at_peak"]["step"], (*largest)[0]);
  EXPECT_EQ(path["at_last_step"]["step"], rows.back()[0]);
  const nlohmann::json& atPeak = path["at_peak"]["results"];
  // Sagging at the middle of the square, the bottom bars the most utilised.
  EXPECT_GT(atPeak["section_forces"]["mxx"]["value"].get<double>(), 0.0);
  EXPECT_EQ(atPeak["section_forces"]["mxx"]["x"], kSpan / 2);
  EXPECT_LT(atPeak["most_utilised_bars"]["z"].get<double>(), 75.0);
  EXPECT_GT(atPeak["crack_width"]["lower"]["value"].get<double>(), 0.0);
  EXPECT_EQ(j["units"]["moment"], "N mm/mm");
}
#endif

// The pictures of the path at its peak and its curve, from zero through every step, beside
// the square's yield line: 24 m / L^2 with m = As fy (d - a/2) = 0.5236 x 500 x (115 - 5.13)
// = 28.76 kNm/m (d the mean of the two meshes'), 0.04314 N/mm2 for L = 4 m. The crack maps of
// the square at its peak are symmetric about both of its middle lines.
TEST(PathFiles, PicturesOfThePeakAreDrawnAndSymmetric) {
  const Runs& r = runs();
  for (const char* name : {"load_deflection", "w_path_peak", "moments_m1", "cracks_lower",
                           "cracks_upper", "crack_width_lower", "yield_bars_1", "yield_bars_2"}) {
    EXPECT_TRUE(fs::exists(r.files / "job.plots" / (std::string(name) + ".dat"))) << name;
    EXPECT_TRUE(fs::exists(r.files / ("job_" + std::string(name) + ".png"))) << name;
  }
  std::size_t points = 0;
  for (const std::string& line :
       splitLines(readFile(r.files / "job.plots" / "load_deflection.dat")))
    points += !line.empty() && line[0] != '#';
  EXPECT_EQ(points, curveRows(r.files / "job.curve.csv").size() + 1);
  const std::string script = readFile(r.files / "job.plots" / "pictures.gp");
  const std::size_t title = script.find("title \"yield-line pressure ");
  ASSERT_NE(title, std::string::npos);
  EXPECT_NEAR(numbersOf(script.substr(title + 27, 12)).at(0), 0.04314, 0.01 * 0.04314);
  for (const char* face : {"cracks_lower", "cracks_upper"}) {
    const auto values = mapData(r.files / "job.plots" / (std::string(face) + ".dat"));
    ASSERT_EQ(values.size(), 121u);
    double deepest = 0.0;
    // The depths count slices of a thirtieth of the depth: at the crack front a slice whose
    // strain is XT / E to within the round-off of the solution may crack on one side of a
    // line of symmetry and not on the other, one slice's difference at the most.
    const double slice = 1.0 / 30.0 + 1e-6;
    for (const auto& [at, v] : values) {
      EXPECT_NEAR(v, values.at({kSpan - at.first, at.second}), slice) << face;
      EXPECT_NEAR(v, values.at({at.first, kSpan - at.second}), slice) << face;
      deepest = std::max(deepest, v);
    }
    EXPECT_GT(deepest, 0.0) << face;
  }
}

// One file per converged step after the elastic solution's, each read back by VTK's reader
// with its step's load factor and largest deflection. At the first step, uncracked, the
// moment at the middle is that of plate theory (Timoshenko and Woinowsky-Krieger 1959, table
// 8): 0.0479 q a^2 for nu = 0.3, whose centre moment D (1 + nu) |w,xx| scales with 1 + nu,
// so 0.0479 x 1.2 / 1.3 = 0.04422 q a^2 for the deck's nu = 0.2 (the bars make the section
// a little orthotropic, the 11 x 11 grid coarse: 3 %).
TEST(PathFiles, VtkSeriesHoldsEveryStepAndReadsBack) {
  if (!pythonReadsVtk()) GTEST_SKIP() << "python3 cannot import vtk (python3-vtk9)";
  const Runs& r = runs();
  const auto rows = curveRows(r.files / "job.curve.csv");
  const std::vector<VtkReadDataset> steps =
      readVtkCollection(r.files / "job.pvd",
                        {"w", "mxx", "myy", "crack_depth_lower", "bar_layer_01"})
          .datasets;
  ASSERT_EQ(steps.size(), rows.size() + 1);
  EXPECT_NE(steps[0].file.find("_elastic.vts"), std::string::npos);
  EXPECT_NE(readFile(r.files / steps[1].file).find("format=\"binary\""), std::string::npos);
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const VtkReadDataset& s = steps[k + 1];
    SCOPED_TRACE(s.file);
    EXPECT_EQ(s.fields.at("path_step"), rows[k][0]);
    EXPECT_NEAR(s.fields.at("load_factor"), rows[k][1], 1e-8 * rows[k][1]);
    double wMax = 0.0;
    for (double w : s.values.at("w")) wMax = std::max(wMax, std::abs(w));
    EXPECT_NEAR(wMax, rows[k][4], 1e-8 * rows[k][4]);
  }
  const VtkReadDataset& first = steps[1];
  const std::size_t middle = 60;  // (6, 6) of 11 x 11
  const double q = first.fields.at("load_factor") * kPressure;
  EXPECT_NEAR(first.values.at("mxx")[middle] / (q * kSpan * kSpan), 0.04422, 0.03 * 0.04422);
  EXPECT_NEAR(first.values.at("myy")[middle] / (q * kSpan * kSpan), 0.04422, 0.03 * 0.04422);
  EXPECT_EQ(first.values.at("crack_depth_lower")[middle], 0.0);
  // The bottom bars along x (layer 3) at the middle: their stress is elastic, Es times their
  // strain, as no layer has cracked.
  const double* bars = &first.values.at("bar_layer_01")[6 * middle];
  EXPECT_EQ(bars[0], 3.0);
  EXPECT_NEAR(bars[3], 200000.0 * bars[2], 1e-9 * std::abs(bars[3]));
  EXPECT_NEAR(bars[4], bars[3] / 500.0, 1e-12);
}

}  // namespace
}  // namespace korvant::test
