// The pictures of --plots through the executable. Each job runs with and without the option
// (and --json and --vtk beside it): the report, the zone file and the datasets must be the
// same byte for byte. The data files the pictures are drawn from are read back against the
// report's own tables and iteration reports, and every picture must be a PNG of the size the
// script asks for. gnuplot missing from PATH must leave the job and its data files as they are.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "output/pictures.hpp"
#include "support/slab_decks.hpp"
#include "support/test_support.hpp"

namespace korvant::test {
namespace {

namespace fs = std::filesystem;

std::string exampleDeck(const std::string& name) {
  return readFile(fs::path(KORVANT_SOURCE_DIR) / "examples" / (name + ".inp"));
}

struct Case {
  std::string label;
  std::string deck;
  std::vector<std::string> pictures;  // the names after "job_"
  bool collapse = false;
};

std::vector<Case> cases() {
  ConcreteSlabDeck linear;
  linear.solution = "LINEAR";
  linear.coupled = true;
  linear.NUMA = 9, linear.NUMB = 7, linear.A = 4000.0, linear.B = 3000.0;
  return {
      {"completed",
       exampleDeck("yielding"),
       {"w_elastic", "w_cracking", "failure_cracking", "w_combined", "failure_end",
        "load_deflection", "moments_m1", "moments_m2", "cracks_lower", "cracks_upper",
        "crack_width_lower", "crack_width_upper", "yield_bars_1", "yield_bars_2"}},
      {"re-attempt and collapse",
       exampleDeck("collapse"),
       {"w_elastic", "w_cracking", "failure_cracking", "failure_end", "load_deflection",
        "moments_m1", "moments_m2", "cracks_lower", "cracks_upper", "crack_width_lower",
        "crack_width_upper", "yield_bars_1", "yield_bars_2"},
       true},
      {"linear coupled", linear.text(), {"w_linear", "moments_m1", "moments_m2"}},
  };
}

// Every picture the program can draw.
std::vector<std::string> allPictures() {
  return pictureNames();
}

// The rows of a data file, comment lines left out, blank lines kept as empty rows.
std::vector<std::vector<double>> dataRows(const fs::path& file) {
  std::vector<std::vector<double>> rows;
  for (const std::string& line : splitLines(readFile(file)))
    if (line.rfind('#', 0) != 0) rows.push_back(numbersOf(line));
  return rows;
}

std::vector<std::vector<double>> withoutBlanks(std::vector<std::vector<double>> rows) {
  std::erase_if(rows, [](const std::vector<double>& r) { return r.empty(); });
  return rows;
}

// The PNG signature and the IHDR chunk that must follow it: width, height, bit depth and
// colour type.
struct PngHeader {
  bool signature = false, ihdr = false;
  std::uint32_t width = 0, height = 0;
  int bitDepth = 0, colourType = -1;
};

PngHeader pngHeader(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::array<unsigned char, 26> b{};
  in.read(reinterpret_cast<char*>(b.data()), b.size());
  PngHeader h;
  if (in.gcount() != static_cast<std::streamsize>(b.size())) return h;
  const std::array<unsigned char, 8> signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  h.signature = std::equal(signature.begin(), signature.end(), b.begin());
  const auto big = [&](int at) {
    return std::uint32_t{b[at]} << 24 | std::uint32_t{b[at + 1]} << 16 |
           std::uint32_t{b[at + 2]} << 8 | b[at + 3];
  };
  h.ihdr = big(8) == 13 && std::string(b.begin() + 12, b.begin() + 16) == "IHDR";
  h.width = big(16), h.height = big(20);
  h.bitDepth = b[24], h.colourType = b[25];
  return h;
}

// The (x, y, w) rows of every displacement table of the report, in order.
std::vector<std::vector<std::vector<double>>> wTables(const std::string& report) {
  std::vector<std::vector<std::vector<double>>> tables;
  for (std::size_t at = report.find("V E C T O R"); at != std::string::npos;
       at = report.find("V E C T O R", at + 1)) {
    std::vector<std::vector<double>> rows =
        solutionRows(report, "V E C T O R", report.rfind('\n', at) + 1);
    for (auto& r : rows) r = {r[0], r[1], r.back()};
    tables.push_back(rows);
  }
  return tables;
}

void expectRowsNear(const std::vector<std::vector<double>>& data,
                    const std::vector<std::vector<double>>& printed, double relative) {
  ASSERT_EQ(data.size(), printed.size());
  for (std::size_t k = 0; k < data.size(); ++k) {
    ASSERT_EQ(data[k].size(), printed[k].size()) << k;
    for (std::size_t f = 0; f < data[k].size(); ++f)
      EXPECT_NEAR(data[k][f], printed[k][f], relative * std::abs(printed[k][f]) + 1e-12)
          << "row " << k << " field " << f;
  }
}

// The values the pictures are drawn from against the report of the same run.
void checkData(const Case& c, const fs::path& folder, const std::string& report) {
  // Every map of w is the table of its printed solution, in the order they were printed.
  const auto tables = wTables(report);
  std::size_t table = 0;
  for (const std::string& name : c.pictures) {
    if (name.rfind("w_", 0) != 0) continue;
    SCOPED_TRACE(name);
    ASSERT_LT(table, tables.size());
    // The table runs J outer, I inner; the map by rows of constant y.
    auto printed = tables[table++];
    std::sort(printed.begin(), printed.end(), [](const auto& a, const auto& b) {
      return std::tie(a[1], a[0]) < std::tie(b[1], b[0]);
    });
    expectRowsNear(withoutBlanks(dataRows(folder / (name + ".dat"))), printed, 1e-4);
  }
  EXPECT_EQ(table, tables.size());

  // The crack and yield maps are the failure measures after the cracking stage and at the end.
  if (fs::exists(folder / "failure_cracking.dat")) {
    auto sorted = [](std::vector<std::vector<double>> rows) {
      std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
        return std::tie(a[1], a[0]) < std::tie(b[1], b[0]);
      });
      return rows;
    };
    const std::string crackingOn = report.substr(report.find("F A I L U R E  M E A S U R E S"));
    expectRowsNear(withoutBlanks(dataRows(folder / "failure_cracking.dat")),
                   sorted(failureRows(crackingOn)), 1e-4);
    if (!c.collapse) {
      const std::string lastOn = report.substr(report.rfind("F A I L U R E  M E A S U R E S"));
      expectRowsNear(withoutBlanks(dataRows(folder / "failure_end.dat")),
                     sorted(failureRows(lastOn)), 1e-4);
    }
  }

  // The curve: pass, increment and load factor of every printed increment, the passes as
  // blocks of their own.
  if (!fs::exists(folder / "load_deflection.dat")) return;
  std::vector<std::vector<double>> printed;
  for (const auto& s : printedSteps(report))
    if (s[0] > 0) printed.push_back({s[0], s[1], s[2], s[3], s[4]});
  std::vector<std::vector<double>> curve;
  int blanks = 0;
  double previousPass = 0;
  for (const auto& r : dataRows(folder / "load_deflection.dat")) {
    if (r.empty()) {
      ++blanks;
      continue;
    }
    if (!curve.empty()) {
      EXPECT_EQ(blanks, r[0] != previousPass ? 2 : 0);
    }
    blanks = 0;
    previousPass = r[0];
    curve.push_back({r[0], r[1], r[2], r[6], r[7]});
  }
  expectRowsNear(curve, printed, 5e-4);
  if (c.collapse) {
    // The collapse: the increment the report names, past the allowable deflection.
    const auto point = withoutBlanks(dataRows(folder / "collapse_point.dat"));
    ASSERT_EQ(point.size(), 1u);
    EXPECT_GT(point[0][0], curve.back()[0]);  // in the re-attempted pass
    EXPECT_NE(report.find("A MAXIMUM LATERAL DEFLECTION OF 0.188E+03"), std::string::npos);
    EXPECT_NEAR(point[0][3], 188.0, 0.5);
  } else {
    // The converged total's deflection ends the curve.
    const std::vector<double> last = withoutBlanks(dataRows(folder / "load_deflection.dat")).back();
    EXPECT_NEAR(last[2], 1.0, 1e-6);
    double largest = 0;
    for (const auto& r : tables.back()) largest = std::max(largest, std::abs(r[2]));
    EXPECT_NEAR(std::abs(last[3]), largest, 1e-4 * largest);
  }
}

TEST(Plots, OptionChangesNoFileOfTheJobAndItsPicturesShowTheReportsValues) {
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.label);
    TempDir plain, plotted;
    for (const TempDir* dir : {&plain, &plotted}) writeFile(*dir / "job.inp", withGraphic(c.deck));
    const RunResult without = runKorvant(plain.path(), {"job"}, "");
    const RunResult with = runKorvant(plotted.path(), {"--plots", "--json", "--vtk", "job"}, "");
    EXPECT_EQ(without.status, 0);
    EXPECT_EQ(with.status, 0);
    EXPECT_EQ(with.console, without.console);
    EXPECT_EQ(with.errors, without.errors);  // the closing line of the job, nothing more
    for (const char* name : {"job.out", "job.zon", "content.dat", "gparams.dat", "job.dln",
                             "job.dcr", "job.dcy", "job.sxx", "job.flt"}) {
      ASSERT_EQ(fs::exists(plain / name), fs::exists(plotted / name)) << name;
      if (fs::exists(plain / name)) {
        EXPECT_TRUE(readFile(plain / name) == readFile(plotted / name)) << name;
      }
    }
    for (const std::string& name : allPictures()) {
      const fs::path png = plotted / ("job_" + name + ".png");
      const bool expected = std::count(c.pictures.begin(), c.pictures.end(), name) > 0;
      ASSERT_EQ(fs::exists(png), expected) << name;
      if (!expected) continue;
      const PngHeader h = pngHeader(png);
      EXPECT_TRUE(h.signature && h.ihdr) << name;
      EXPECT_EQ(h.width, 1000u);
      EXPECT_EQ(h.height, 800u);
      EXPECT_EQ(h.bitDepth, 8);
      EXPECT_TRUE(h.colourType == 2 || h.colourType == 6) << h.colourType;  // RGB, RGBA
    }
    EXPECT_TRUE(fs::exists(plotted / "job.plots" / "pictures.gp"));
    checkData(c, plotted / "job.plots", readFile(plotted / "job.out"));
  }
}

TEST(Plots, WithoutGnuplotTheJobEndsAsItWouldAndKeepsTheDataFiles) {
  TempDir plain, plotted;
  for (const TempDir* dir : {&plain, &plotted})
    writeFile(*dir / "job.inp", exampleDeck("collapse"));
  const RunResult without = runKorvant(plain.path(), {"job"}, "");
  const RunResult with = runKorvant(plotted.path(), {"--plots", "job"}, "", "PATH=/nonexistent");
  EXPECT_EQ(with.status, without.status);
  EXPECT_EQ(with.console, without.console);
  EXPECT_TRUE(readFile(plain / "job.out") == readFile(plotted / "job.out"));
  EXPECT_NE(with.errors.find("gnuplot was not found on PATH"), std::string::npos) << with.errors;
  EXPECT_NE(with.errors.find("cd job.plots && gnuplot pictures.gp"), std::string::npos);
  for (const char* data : {"pictures.gp", "w_elastic.dat", "failure_end.dat", "load_deflection.dat",
                           "collapse_point.dat"})
    EXPECT_TRUE(fs::exists(plotted / "job.plots" / data)) << data;
  for (const std::string& name : allPictures())
    EXPECT_FALSE(fs::exists(plotted / ("job_" + name + ".png"))) << name;
}

TEST(Plots, ALaterRunLeavesNoPictureOfAnEarlierOne) {
  TempDir dir;
  writeFile(dir / "job.inp", exampleDeck("collapse"));
  ASSERT_EQ(runKorvant(dir.path(), {"--plots", "job"}, "").status, 0);
  ASSERT_TRUE(fs::exists(dir / "job_load_deflection.png"));
  ConcreteSlabDeck linear;
  linear.solution = "LINEAR";
  writeFile(dir / "job.inp", linear.text());
  ASSERT_EQ(runKorvant(dir.path(), {"--yes", "--plots", "job"}, "").status, 0);
  for (const std::string& name : allPictures())
    EXPECT_EQ(fs::exists(dir / ("job_" + name + ".png")),
              name == "w_linear" || name == "moments_m1" || name == "moments_m2")
        << name;
  EXPECT_FALSE(fs::exists(dir / "job.plots" / "load_deflection.dat"));
  EXPECT_FALSE(fs::exists(dir / "job.plots" / "collapse_point.dat"));
}

}  // namespace
}  // namespace korvant::test
