// The graphical datasets of a job through the executable, in both formats: a coupled linear
// job on a grid of unequal counts (so that an exchange of NUMA and NUMB or of the point order
// shows) and a nonlinear job that runs through the incremental stage. Every dataset file is
// compared line by line with the layout written out here, and its values with the report's
// tables of the same solution: w with its sign reversed (the third entry of each coupled
// point), the upper-face SXX, the failure measures; content.dat with its double entries.
// Last, GRAPHICS itself: a later dataset replaces an earlier one in its file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "core/matrix.hpp"
#include "core/record_store.hpp"
#include "output/graphical_datasets.hpp"
#include "support/slab_decks.hpp"
#include "support/test_support.hpp"

namespace korvant::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using Row = std::vector<std::string>;  // the fields of a report table row, as printed

std::string padded(std::string text, std::size_t width) {
  text.resize(width, ' ');
  return text;
}

std::string i5(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%5d", v);
  return buf;
}

// The graphics statement and its request line, put in before the support statement.
std::string withGraphic(std::string deck, const std::string& format, const std::string& request) {
  const std::size_t at = deck.find("*BOUNDARY");
  return deck.insert(at, "*GRAPHIC = " + format + "\n" + request + "\n");
}

// The rows of `width` numbers of the first table after the markers, found in turn from the
// start of the report, each row split into its printed fields.
std::vector<Row> tableAfter(const std::string& report, const Lines& markers, std::size_t width) {
  std::size_t from = 0;
  for (const std::string& m : markers) from = report.find(m, from);
  std::vector<Row> rows;
  if (from == std::string::npos) return rows;
  for (const std::string& line : splitLines(report.substr(from))) {
    std::istringstream in(line);
    Row fields;
    for (std::string f; in >> f;) fields.push_back(f);
    const bool numeric = fields.size() == width && numbersOf(line).size() == width;
    if (numeric) rows.push_back(fields);
    if (!numeric && !rows.empty() && !fields.empty()) break;
  }
  return rows;
}

// An E11.5 field with its sign reversed: 0.12345E-02 and -.12345E-02 trade places, and zero
// stays zero.
std::string reversed(const std::string& field) {
  if (std::stod(field) == 0.0) return "0.00000E+00";
  return field[0] == '-' ? "0" + field.substr(1) : "-" + field.substr(1);
}

// One dataset as it must come out: its file, label, title, type and the (x, y, value) fields
// of its points in the dataset's order.
struct Expected {
  std::string extension;
  std::string name;
  std::string title;
  int type;
  std::vector<Row> points;
};

struct Grid {
  int NUMA, NUMB;
};

// The displacement points in report order (J outer, I inner, the dataset's order too), w
// reversed; `width` is 3 (x, y, w) or 5 (x, y, u, v, w).
std::vector<Row> displacementPoints(const std::vector<Row>& rows) {
  std::vector<Row> points;
  for (const Row& r : rows) points.push_back({r[0], r[1], reversed(r.back())});
  return points;
}

// Points of a report table (J outer, I inner) in x-fastest order (I outer, J inner), with
// the value in column `column`.
std::vector<Row> byGridRows(const std::vector<Row>& rows, const Grid& g, std::size_t column) {
  std::vector<Row> points;
  if (rows.size() != static_cast<std::size_t>(g.NUMA * g.NUMB)) return points;
  for (int I = 1; I <= g.NUMB; ++I)
    for (int J = 1; J <= g.NUMA; ++J) {
      const Row& r = rows[static_cast<std::size_t>((J - 1) * g.NUMB + I - 1)];
      points.push_back({r[0], r[1], r[column]});
    }
  return points;
}

const Lines kInstructions = {
    std::string(20, ' ') + "INSTRUCTIONS FOR PLOTTING IN EXCEL:",
    "",
    "1) FIRST, USING MICROSOFT WORD, MOVE CURSOR TO HIGHLIGHT THE BLOCK",
    "   OF NUMBERS BELOW",
    "2) GO TO UP TO THE MENU ITEM LABLED \"TABLE\" AND SELECT",
    "   \"CONVERT TEXT TO TABLE\".",
    "3) IN THE MENU BOX THAT OPENS UP, SELECT \"COMMAS\" AND THEN CLICK \"OK\"",
    "4) NOW, YOU SHOULD HAVE THE ENTIRE SELECTED BLOCK CONVERTED TO A COLUMN ",
    "   FORMAT AND HIGHLIGHTED. GO UP TO \"EDIT\" AND SELECT \"COPY\"",
    "5) OPEN UP MICROSOFT EXCEL AND SELECT \"PASTE SPECIAL\". CHOOSE \"TEXT\" ",
    "   TO PASTE INTO THE SHEET.",
    "6) FINALLY, THE PASTED BLOCK SHOULD BE HIGHLIGHTED SO NOW GO TO THE \"INSERT\"",
    "   MENU ITEM AND SELECT \"CHART\" AND GO DOWN TO SELECT \"SURFACE\"",
    "   NOW, SELECT THE UPPER LEFT TYPE OF AREA PLOT AND KEEP SELECTING \"NEXT\" ",
    "   TO GET THE GRAPHIC. YOU CAN NOW GO IN AND CLEAN UP THE PICTURE USING ",
    "   VARIOUS EXCEL COMMANDS.",
    ""};

std::string contentLine(const Expected& e) {
  return padded(e.name, 10) + std::string(5, ' ') + padded(e.title, 60);
}

// content.dat of the datasets in order: the plot files list every dataset but a failure
// ratio twice, the spreadsheet blocks every dataset twice.
Lines expectedContent(const std::vector<Expected>& datasets, bool plotFiles) {
  Lines lines;
  for (const Expected& e : datasets) {
    lines.push_back(contentLine(e));
    if (!plotFiles || e.type != 6) lines.push_back(contentLine(e));
  }
  return lines;
}

Lines expectedPlotFile(const Expected& e, const Grid& g) {
  const bool displacement = e.type == 1;
  Lines lines{"#!MC 750", "TITLE = \"" + padded(e.title, 60) + "\"",
              "VARIABLES = \"x       \",\"y       \",\" w   \"",
              "ZONE I=  " + i5(displacement ? g.NUMB : g.NUMA) +
                  "J=  " + i5(displacement ? g.NUMA : g.NUMB) + ", F=POINT "};
  for (const Row& p : e.points) lines.push_back("  " + p[0] + "  " + p[1] + "  " + p[2]);
  return lines;
}

// A spreadsheet dataset: the instructions, then rows of E9.3 fields ("  v  ,v  ,...,v"),
// a grid column of w per row or a grid row of the other values, each field the report's
// value to its three digits.
void checkSpreadsheet(const Lines& file, const Expected& e, const Grid& g) {
  ASSERT_GE(file.size(), kInstructions.size());
  EXPECT_EQ(Lines(file.begin(), file.begin() + static_cast<long>(kInstructions.size())),
            kInstructions);
  const std::size_t perRow = static_cast<std::size_t>(e.type == 1 ? g.NUMB : g.NUMA);
  const std::size_t rows = static_cast<std::size_t>(e.type == 1 ? g.NUMA : g.NUMB);
  ASSERT_EQ(file.size(), kInstructions.size() + rows);
  const std::regex e9_3(R"((-\.|0\.)\d{3}E[+-]\d{2})");
  for (std::size_t r = 0; r < rows; ++r) {
    const std::string& line = file[kInstructions.size() + r];
    ASSERT_EQ(line.size(), 2 + 9 + (perRow - 1) * 12) << line;
    for (std::size_t c = 0; c < perRow; ++c) {
      const std::string field = line.substr(2 + 12 * c, 9);
      if (c > 0) {
        EXPECT_EQ(line.substr(12 * c - 1, 3), "  ,") << line;
      }
      EXPECT_TRUE(std::regex_match(field, e9_3)) << field;
      const double value = std::stod(field), exponent = std::stoi(field.substr(6));
      const double expected = std::stod(e.points[r * perRow + c][2]);
      EXPECT_NEAR(value, expected, 0.51e-3 * std::pow(10.0, exponent)) << line;
    }
  }
}

// Every dataset file of the job: the expected ones, the others empty; gparams.dat empty;
// content.dat in the order of `datasets`.
void checkDatasets(const fs::path& dir, const std::vector<Expected>& datasets, const Grid& g,
                   bool plotFiles) {
  EXPECT_EQ(splitLines(readFile(dir / "content.dat")), expectedContent(datasets, plotFiles));
  EXPECT_TRUE(fs::exists(dir / "gparams.dat"));
  EXPECT_EQ(readFile(dir / "gparams.dat"), "");
  for (const char* extension : {".dln", ".dcr", ".dcy", ".sxx", ".flt"}) {
    SCOPED_TRACE(extension);
    const Lines file = splitLines(readFile(dir / ("job" + std::string(extension))));
    const Expected* expected = nullptr;
    for (const Expected& e : datasets)
      if (e.extension == extension) expected = &e;
    if (!expected) {
      EXPECT_TRUE(file.empty());
      continue;
    }
    ASSERT_EQ(expected->points.size(), static_cast<std::size_t>(g.NUMA * g.NUMB));
    if (plotFiles)
      EXPECT_EQ(file, expectedPlotFile(*expected, g));
    else
      checkSpreadsheet(file, *expected, g);
  }
}

const std::vector<std::pair<std::string, bool>> kFormats = {{"TECPLOT", true}, {"EXCEL", false}};

// A coupled linear job: 5 points along A, 4 along B; the bars low in the section make it
// unsymmetric, so u and v are not zero and w is every third entry.
ConcreteSlabDeck coupledLinearSlab() {
  ConcreteSlabDeck d;
  d.solution = "LINEAR";
  d.coupled = true;
  d.A = 4000.0, d.B = 3000.0;
  d.NUMA = 5, d.NUMB = 4;
  d.bars = {BarLayer{12.0, 150.0, 0.0, 160.0}};
  d.print = "D +S FI";
  return d;
}

TEST(GraphicalDatasets, CoupledLinearJobWritesItsDisplacementAndStressDatasets) {
  const Grid g{5, 4};
  for (const auto& [format, plotFiles] : kFormats) {
    SCOPED_TRACE(format);
    TempDir dir;
    writeFile(dir / "job.inp", withGraphic(coupledLinearSlab().text(), format, "D +S -S FI"));
    const RunResult r = runKorvant(dir.path(), {"job"}, "");
    const std::string report = readFile(dir / "job.out");
    ASSERT_EQ(r.status, 0) << report;
    const std::vector<Row> w = tableAfter(report, {"S O L U T I O N  V E C T O R"}, 5);
    const std::vector<Row> s = tableAfter(report, {"UPPER FIBER STRESSES:"}, 5);
    EXPECT_NE(std::stod(w[6][2]), 0.0);  // u of an inner point: the job is coupled
    checkDatasets(
        dir.path(),
        {{".dln", "fname.dln", "TOTAL LINEAR DISPLACEMENT SOLUTION", 1, displacementPoints(w)},
         {".sxx", "fname.sxx", "UPPER FIBER STRESSES", 2, byGridRows(s, g, 2)}},
        g, plotFiles);
    EXPECT_EQ(report.find("nrec-cmp"), std::string::npos);
  }
}

TEST(GraphicalDatasets, RequestWithoutDisplacementsStressesOrFailuresWritesNothing) {
  TempDir dir;
  writeFile(dir / "job.inp", withGraphic(coupledLinearSlab().text(), "TECPLOT", "-S +E -E"));
  ASSERT_EQ(runKorvant(dir.path(), {"job"}, "").status, 0);
  checkDatasets(dir.path(), {}, Grid{5, 4}, true);
}

TEST(GraphicalDatasets, NonlinearJobWritesTheDatasetsOfItsStages) {
  const Grid g{9, 7};
  for (const auto& [format, plotFiles] : kFormats) {
    SCOPED_TRACE(format);
    TempDir dir;
    writeFile(dir / "job.inp",
              withGraphic(smallMeshSlab(0.03, "D +S FI").text(), format, "D +S FI"));
    const RunResult r = runKorvant(dir.path(), {"job"}, "");
    const std::string report = readFile(dir / "job.out");
    ASSERT_EQ(r.status, 0) << report;
    const std::string cracked = "= TOTAL SOLUTION ACCOUNTING FOR CONCRETE CRACKING =";
    const std::string final = "= FINAL SOLUTION ACCOUNTING FOR COMBINED =";
    ASSERT_NE(report.find(final), std::string::npos) << report;
    const std::vector<Row> failures = tableAfter(report, {final, "F A I L U R E  M E A S"}, 3);
    checkDatasets(
        dir.path(),
        {{".dln", "fname.dln", "INITIAL ELASTIC DISPLACEMENT SOLUTION", 1,
          displacementPoints(tableAfter(report, {"= LINEAR ELASTIC SOLUTION =", "S O L"}, 3))},
         {".dcr", "fname.dcr", "CONCRETE CRACKING DISPLACEMENT SOLUTION", 1,
          displacementPoints(tableAfter(report, {cracked, "S O L"}, 3))},
         {".sxx", "fname.sxx", "UPPER FIBER STRESSES", 2,
          byGridRows(tableAfter(report, {cracked, "UPPER FIBER STRESSES:"}, 5), g, 2)},
         {".dcy", "fname.fcy", "COMPLETE NONLINEAR DISPLACEMENT SOLUTION", 1,
          displacementPoints(tableAfter(report, {final, "S O L"}, 3))},
         {".flt", "fname.fcr", "LAYER FAILURE RATIOS OVER SLAB", 6, byGridRows(failures, g, 2)}},
        g, plotFiles);

    // The spreadsheet's failure ratios also go to the report, one line per point while the
    // rows are read: x fastest, with the record number n = (J - 1) NUMB + I.
    const Lines nrec = linesStartingWith(report, "nrec-cmp");
    if (plotFiles) {
      EXPECT_TRUE(nrec.empty());
      continue;
    }
    const std::vector<Row> ratios = byGridRows(failures, g, 2);
    ASSERT_EQ(nrec.size(), ratios.size());
    for (int I = 1, k = 0; I <= g.NUMB; ++I)
      for (int J = 1; J <= g.NUMA; ++J, ++k) {
        const std::string& line = nrec[static_cast<std::size_t>(k)];
        ASSERT_EQ(line.substr(0, 16), "nrec-cmp " + i5((J - 1) * g.NUMB + I) + "  ");
        EXPECT_NEAR(std::stod(line.substr(16)), std::stod(ratios[static_cast<std::size_t>(k)][2]),
                    0.51e-3);
      }
    EXPECT_TRUE(std::any_of(ratios.begin(), ratios.end(),
                            [](const Row& p) { return std::stod(p[2]) > 0.0; }));
  }
}

// GRAPHICS on its own: a second dataset written to the same file replaces the first, while
// content.dat keeps both.
TEST(GraphicalDatasets, LaterDatasetReplacesTheEarlierOneInItsFile) {
  TempDir dir;
  ModelDeck model{Capacities{}};
  model.NUMA = 3, model.NUMB = 2;
  model.GRAPHFMT = GraphicFormat::PLOT_FILES;
  model.COUPLING = Coupling::W_ONLY;  // one unknown, w, per point
  Matrix<double> solution(6, 1);
  for (int k = 1; k <= 6; ++k) solution(k) = 0.001 * k;
  RecordStore fibres(200), ratios(200);
  const DatasetSources sources{solution, fibres, ratios};
  DatasetFile file;
  ASSERT_TRUE(file.open((dir / "job.dln").string()));
  std::ostringstream list, reportText;
  Writer report(reportText);
  int fatal = 0;
  GRAPHICS(model, DifferenceGrid{200.0, 100.0, 3, 2}, Dataset{"first", "FIRST", 1}, sources, list,
           file, report, fatal);
  GRAPHICS(model, DifferenceGrid{200.0, 100.0, 3, 2}, Dataset{"second", "SECOND", 6}, sources, list,
           file, report, fatal);
  EXPECT_EQ(fatal, 0);
  EXPECT_EQ(reportText.str(), "");
  const Lines lines = splitLines(readFile(dir / "job.dln"));
  ASSERT_EQ(lines.size(), 4u + 6u);
  EXPECT_EQ(lines[1], "TITLE = \"" + padded("SECOND", 60) + "\"");
  EXPECT_EQ(lines[4], "  0.00000E+00  0.00000E+00  0.00000E+00");
  EXPECT_EQ(splitLines(list.str()), (Lines{padded("first", 15) + padded("FIRST", 60),
                                           padded("first", 15) + padded("FIRST", 60),
                                           padded("second", 15) + padded("SECOND", 60)}));
}

}  // namespace
}  // namespace korvant::test
