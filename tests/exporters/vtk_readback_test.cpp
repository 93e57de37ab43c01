// The VTK files of --vtk through the executable, read back with VTK's own reader
// (data/vtk_readback.py on /usr/bin/python3; skipped when it cannot import vtk). The jobs of
// the table run one after another in one folder, each replacing the files of the one before.
// The collection must list one file for every printed table and every printed increment of
// the report, and the increment whose deflection predicted a collapse, in the report's order;
// each file must hold the deck's grid and the values the report prints, and the layer state
// the damage laws give.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/slab_decks.hpp"
#include "support/test_support.hpp"
#include "support/vtk_readback.hpp"

namespace korvant::test {
namespace {

namespace fs = std::filesystem;

// A layer whose modulus E1 follows its failure index: `initial` below 1, `failed` from 1 on
// (the constant post-failure modulus of its damage law). A bar layer's initial modulus is
// that of its steel to the digits of the bars' area, which its thickness gives to six
// decimals.
struct LayerCheck {
  int layer;
  bool steel;  // the steel yield index decides, else the largest concrete index
  double initial, failed;
};

struct Case {
  std::string label;
  std::string deck;
  std::vector<std::string> before, after;  // the printed solutions before and after the increments
  bool coupled = false;
  int layers = 0;
  std::vector<LayerCheck> layerChecks;
  int barLayers = 0;       // the bars along x, then along y
  double barHeight = 0.0;  // the centre of the first above the lower face
};

std::vector<Case> cases() {
  ConcreteSlabDeck linear;
  linear.solution = "LINEAR";
  linear.coupled = true;
  linear.print = "D +S -S FI";
  linear.NUMA = 9, linear.NUMB = 7, linear.A = 4000.0, linear.B = 3000.0;
  // The mesh slab of the examples: concrete of 30000 MPa cracking to 30, bars of 200000 MPa
  // yielding to 2000 (layer 3 the bars along x).
  const std::vector<LayerCheck> mesh = {{1, false, 30000.0, 30.0}, {3, true, 200000.0, 2000.0}};
  return {
      {"re-attempt and collapse",
       exampleDeck("collapse.inp"),
       {"elastic", "cracking"},
       {},
       false,
       13,
       mesh,
       2,
       30.0},
      {"completed",
       exampleDeck("yielding.inp"),
       {"elastic", "cracking"},
       {"combined"},
       false,
       13,
       mesh,
       2,
       30.0},
      {"linear coupled",
       linear.text(),
       {"linear"},
       {},
       true,
       static_cast<int>(placedLayers(linear).size()),
       {{1, false, 30000.0, 30000.0}}},
  };
}

using Dataset = VtkReadDataset;

// The value of `name` at the point (x, y) of `d`.
double valueAt(const Dataset& d, const std::string& name, double x, double y) {
  const std::vector<double>& xs = d.values.at("x");
  const std::vector<double>& ys = d.values.at("y");
  for (std::size_t p = 0; p < xs.size(); ++p)
    if (std::abs(xs[p] - x) <= 1e-6 * (1 + std::abs(x)) &&
        std::abs(ys[p] - y) <= 1e-6 * (1 + std::abs(y)))
      return d.values.at(name).at(p);
  ADD_FAILURE() << "no point at " << x << ", " << y << " in " << d.file;
  return 0.0;
}

// Column `column` of the printed rows (X, Y, values) against array `name`, to the five
// digits of an E11.5 field.
void expectTable(const Dataset& d, const std::string& name,
                 const std::vector<std::vector<double>>& rows, std::size_t column) {
  SCOPED_TRACE(d.file + " " + name);
  ASSERT_FALSE(rows.empty());
  ASSERT_EQ(d.values.count(name), 1u);
  for (const std::vector<double>& r : rows)
    EXPECT_NEAR(valueAt(d, name, r[0], r[1]), r[column], 5e-5 * std::abs(r[column]) + 1e-12)
        << "at " << r[0] << ", " << r[1];
}

// The beginning of the names of the arrays of layer `layer`.
std::string layerArrays(int layer) {
  char name[32];
  std::snprintf(name, sizeof name, "layer_%02d_", layer);
  return name;
}

// The arrays every file has, and the fibre values that an unrecovered collapse has not.
void expectArrays(const Dataset& d, const Case& c, bool fibres) {
  SCOPED_TRACE(d.file);
  std::map<std::string, int> expected = {{"w", 1}, {"layers", 1}};
  if (c.coupled) expected["u"] = expected["v"] = 1;
  if (fibres)
    for (const char* q : {"SXX", "SYY", "SXY", "EXX", "EYY", "EXY"})
      for (const char* face : {"_upper", "_lower"}) expected[std::string(q) + face] = 1;
  if (c.before.front() != "linear") expected["failure_measure"] = 1;
  for (int k = 1; k <= c.layers; ++k) {
    expected[layerArrays(k) + "failure"] = 4;
    expected[layerArrays(k) + "moduli"] = 2;
    expected[layerArrays(k) + "z"] = 1;
  }
  // The section forces, cracks and bars of a recovered solution.
  if (fibres) {
    for (const char* q :
         {"mxx", "myy", "mxy", "nxx", "nyy", "nxy", "m1", "m2", "m1_angle", "crack_depth_lower",
          "crack_depth_upper", "crack_width_lower", "crack_width_upper"})
      expected[q] = 1;
    for (int b = 1; b <= c.barLayers; ++b) expected["bar_layer_0" + std::to_string(b)] = 6;
  }
  std::map<std::string, int> found;
  for (const auto& [name, info] : d.arrays) {
    found[name] = info.components;
    EXPECT_EQ(static_cast<std::size_t>(info.tuples), d.values.at("x").size()) << name;
  }
  EXPECT_EQ(found, expected);
  EXPECT_EQ(d.arrays.at("layer_01_failure").names,
            (std::vector<std::string>{"FICT", "FICC", "FICS", "FY"}));
  EXPECT_EQ(d.arrays.at("layer_01_moduli").names, (std::vector<std::string>{"E1", "E2"}));
}

void expectLayerState(const Dataset& d, const LayerCheck& check) {
  const std::vector<double>& index = d.values.at(layerArrays(check.layer) + "failure");
  const std::vector<double>& moduli = d.values.at(layerArrays(check.layer) + "moduli");
  ASSERT_EQ(index.size(), 2 * moduli.size());
  for (std::size_t p = 0; p < moduli.size() / 2; ++p) {
    const double* i = &index[4 * p];
    const double governing = check.steel ? i[3] : std::max({i[0], i[1], i[2]});
    const double expected = governing >= 1.0 ? check.failed : check.initial;
    EXPECT_NEAR(moduli[2 * p], expected, 1e-5 * expected)
        << d.file << " layer " << check.layer << " point " << p;
  }
}

// The first bar layer at every point: its number in the table (3), the height of its centre
// and a utilisation of its stress over the yield stress of 500 MPa.
void expectBars(const Dataset& d, const Case& c) {
  const std::vector<double>& bars = d.values.at("bar_layer_01");
  ASSERT_EQ(bars.size(), 6 * d.values.at("x").size());
  for (std::size_t p = 0; p < bars.size(); p += 6) {
    EXPECT_EQ(bars[p], 3.0);
    EXPECT_NEAR(bars[p + 1], c.barHeight, 1e-5);
    EXPECT_NEAR(bars[p + 4], std::abs(bars[p + 3]) / 500.0, 1e-12);
  }
}

// The grid of the report's tables: NUMA x NUMB x 1 points at z = 0, along x fastest.
void expectGrid(const Dataset& s, const std::string& report) {
  std::set<double> xs, ys;
  for (const auto& r : solutionRows(report, "V E C T O R")) xs.insert(r[0]), ys.insert(r[1]);
  const std::vector<double> columns(xs.begin(), xs.end()), rows(ys.begin(), ys.end());
  EXPECT_EQ(s.dimensions,
            (std::vector<int>{static_cast<int>(columns.size()), static_cast<int>(rows.size()), 1}));
  ASSERT_EQ(s.values.at("x").size(), columns.size() * rows.size());
  for (std::size_t p = 0; p < s.values.at("x").size(); ++p) {
    EXPECT_NEAR(s.values.at("x")[p], columns[p % columns.size()], 1e-9 * columns.back()) << p;
    EXPECT_NEAR(s.values.at("y")[p], rows[p / columns.size()], 1e-9 * rows.back()) << p;
    EXPECT_EQ(s.values.at("z")[p], 0.0) << p;
  }
}

// The increment whose deflection predicted the collapse. When it is the first of its pass,
// the running total is the increment itself, whose deflection the collapse block prints.
void expectCollapse(const Dataset& s, const std::string& report) {
  EXPECT_NE(s.file.find("_collapse.vts"), std::string::npos);
  if (s.fields.at("increment") != 1.0) return;
  const std::size_t at = report.find("A MAXIMUM LATERAL DEFLECTION OF");
  const double printed = numbersOf(report.substr(at, 50)).at(0);
  double largest = 0.0;
  for (double w : s.values.at("w")) largest = std::max(largest, std::abs(w));
  EXPECT_NEAR(largest, printed, 5e-3 * printed);
}

// A printed solution against its tables, `own` the report from its displacement table on to
// the next one.
void expectTables(const Dataset& s, const Case& c, const std::string& own) {
  const auto rows = solutionRows(own, "V E C T O R");
  expectTable(s, "w", rows, c.coupled ? 4 : 2);
  if (c.coupled) expectTable(s, "u", rows, 2), expectTable(s, "v", rows, 3);
  for (const auto& [heading, array] : {std::pair{"UPPER FIBER STRESSES:", "SXX_upper"},
                                       std::pair{"LOWER FIBER STRESSES:", "SXX_lower"}})
    if (own.find(heading) != std::string::npos) expectTable(s, array, fibreRows(own, heading), 2);
  if (own.find("F A I L U R E  M E A S U R E S") != std::string::npos)
    expectTable(s, "failure_measure", failureRows(own), 2);
}

// The collection and its files against the report of the same run.
void checkFiles(const Case& c, const fs::path& dir) {
  const std::string report = readFile(dir / "job.out");
  std::vector<std::string> wanted = {
      "w", "u", "v", "SXX_upper", "SXX_lower", "failure_measure", "bar_layer_01"};
  for (const LayerCheck& l : c.layerChecks) {
    wanted.push_back(layerArrays(l.layer) + "failure");
    wanted.push_back(layerArrays(l.layer) + "moduli");
  }
  const VtkReadback back = readVtkCollection(dir / "job.pvd", wanted);
  const std::vector<Dataset>& d = back.datasets;
  ASSERT_EQ(back.listed, static_cast<int>(d.size()));

  // In the report's order: the printed solutions, every printed increment, the collapse.
  const PrintedIncrements increments = printedIncrements(report);
  ASSERT_EQ(d.size(), vtkSolutionsOf(report));
  ASSERT_EQ(d.size(), c.before.size() + increments.steps.size() + (increments.collapse ? 1 : 0) +
                          c.after.size());
  std::set<std::string> listed;
  for (std::size_t k = 0; k < d.size(); ++k) {
    EXPECT_EQ(d[k].timestep, static_cast<int>(k));
    EXPECT_EQ(d[k].fields.at("step"), static_cast<double>(k));
    EXPECT_EQ(d[k].file.rfind("job.vtk/", 0), 0u) << d[k].file;
    listed.insert(fs::path(d[k].file).filename().string());
  }
  EXPECT_EQ(filesIn(dir / "job.vtk"), listed);  // nothing of the jobs before

  std::vector<std::string> printed = c.before;
  printed.insert(printed.end(), c.after.begin(), c.after.end());
  std::size_t table = 0, from = 0;  // the next table is the first from `from` on
  for (std::size_t k = 0; k < d.size(); ++k) {
    const Dataset& s = d[k];
    SCOPED_TRACE(s.file);
    expectGrid(s, report);
    const bool isCollapse = s.fields.at("collapse") == 1.0;
    expectArrays(s, c, !isCollapse);
    if (!isCollapse)
      for (const LayerCheck& l : c.layerChecks) expectLayerState(s, l);
    if (!isCollapse && c.barLayers > 0) expectBars(s, c);
    if (s.fields.at("printed") == 0.0) {
      // An increment: its pass, increment and load factor as its iteration report prints them.
      const std::size_t i = k - c.before.size();
      ASSERT_LE(i, increments.steps.size());
      EXPECT_EQ(isCollapse, i == increments.steps.size());
      if (isCollapse) {
        expectCollapse(s, report);
        continue;
      }
      EXPECT_EQ(s.fields.at("pass"), increments.steps[i][0]);
      EXPECT_EQ(s.fields.at("increment"), increments.steps[i][1]);
      EXPECT_NEAR(s.fields.at("load_factor"), increments.steps[i][2],
                  5e-3 * increments.steps[i][2]);
      continue;
    }
    // A printed solution: its tables, in order, at every point.
    ASSERT_LT(table, printed.size());
    EXPECT_NE(s.file.find("_" + printed[table++] + ".vts"), std::string::npos);
    const std::size_t at = report.find("V E C T O R", from);
    ASSERT_NE(at, std::string::npos);
    from = at + 1;
    const std::size_t line = report.rfind('\n', at) + 1;
    expectTables(s, c, report.substr(line, report.find("V E C T O R", from) - line));
  }
  EXPECT_EQ(table, printed.size());
}

TEST(VtkFiles, ParaViewFilesHoldEverySolutionOfTheLoadHistoryAsTheReportPrintsIt) {
  if (!pythonReadsVtk()) GTEST_SKIP() << "python3 cannot import vtk (python3-vtk9)";
  TempDir dir;
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.label);
    writeFile(dir / "job.inp", c.deck);
    const RunResult r = runKorvant(dir.path(), {"--yes", "--vtk", "job"}, "");
    ASSERT_EQ(r.status, 0) << r.errors;
    EXPECT_NE(
        readFile(dir / "job.vtk" / ("000_" + c.before.front() + ".vts")).find("format=\"binary\""),
        std::string::npos);
    checkFiles(c, dir.path());
  }
  // The text form reads back the same.
  const std::vector<Case> all = cases();
  const Case& c = all.back();
  writeFile(dir / "job.inp", c.deck);
  ASSERT_EQ(runKorvant(dir.path(), {"--yes", "--vtk-ascii", "job"}, "").status, 0);
  EXPECT_EQ(readFile(dir / "job.vtk" / "000_linear.vts").find("format=\"binary\""),
            std::string::npos);
  checkFiles(c, dir.path());
}

}  // namespace
}  // namespace korvant::test
