// The report of a small coupled linear job, run through the executable: a simply supported
// square slab on a 5 x 5 grid whose two concrete layers differ in stiffness, so that with the
// geometric centre as reference surface the section couples stretching and bending and u and
// v are not zero. Every print request is given; the job runs once with full tables and once
// with the maxima only. The result section is compared line by line with the layouts written
// out here; the numbers are checked by their field widths and by the symmetry of the square
// plate (u odd about x = A/2 and even about y = B/2, v the other way round, w even about both
// and the whole field unchanged by exchanging x and y).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "support/job_texts.hpp"
#include "support/slab_decks.hpp"
#include "support/test_support.hpp"

namespace korvant::test {
namespace {

using Lines = std::vector<std::string>;

constexpr int kGrid = 5;
constexpr double kSpacing = 100.0;  // 400 / (5 - 1)
constexpr double kCentre = 200.0;

std::string deck(const std::string& printStatement) {
  PlainSlabDeck d;
  d.heading = "COUPLED SIMPLY SUPPORTED SQUARE SLAB ON A 5 X 5 GRID";
  d.options = "*COUPLING = YES\n*EQUATION SOLVER = FULL\n*NEUTRAL = GEOMETRIC\n" + printStatement +
              "\nD +S -S +E -E FI\n";
  d.layers = {{"30000.0", "100.0"}, {"10000.0", "100.0"}};
  return d.text();
}

// Ew.d with w = 11, d = 5 for the non-negative coordinates: "0.ddddd" then "E", the
// exponent sign and two digits.
std::string e11_5(double v) {
  if (v == 0.0) return "0.00000E+00";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.4E", v);  // d.ddddE+xx
  const std::string s(buf);
  const int exponent = std::stoi(s.substr(7)) + 1;
  std::snprintf(buf, sizeof buf, "0.%s%sE%c%02d", s.substr(0, 1).c_str(), s.substr(2, 4).c_str(),
                exponent < 0 ? '-' : '+', std::abs(exponent));
  return buf;
}

// One E11.5 field: 11 columns, "0.ddddd" for a value >= 0, "-.ddddd" (the optional zero left
// out for want of room) for a negative one.
const std::string kField = R"([0-]\.\d{5}E[+-]\d{2})";

// `count` fields after `indent` blanks, two blanks between them (trailing blanks dropped).
std::regex numberLine(int indent, int count) {
  std::string pattern = " {" + std::to_string(indent) + "}" + kField;
  for (int k = 1; k < count; ++k) pattern += "  " + kField;
  return std::regex(pattern);
}

// Value k (0-based) of a line of fields that starts after `indent` blanks.
double fieldValue(const std::string& line, int indent, int k) {
  return std::stod(line.substr(static_cast<std::size_t>(indent + 13 * k), 11));
}

Lines frame(int indent, int width, const Lines& inside) {
  Lines l{"", "", "", at(indent, std::string(static_cast<std::size_t>(width), '@'))};
  for (const std::string& s : inside) l.push_back(at(indent, s));
  l.push_back(at(indent, std::string(static_cast<std::size_t>(width), '@')));
  l.push_back("");
  return l;
}
const std::string kBlank44 = "@@@" + std::string(38, ' ') + "@@@";

void append(Lines& to, const Lines& more) {
  to.insert(to.end(), more.begin(), more.end());
}

// A line of numbers in the expected blocks: its indent and field count; every other line is
// compared as text.
struct Numbers {
  int indent, count;
};
constexpr Numbers kDisplacementRow{6, 5};
constexpr Numbers kDisplacementMax{21, 3};
constexpr Numbers kFibreRow{8, 5};
constexpr Numbers kFibreMax{22, 3};
const std::string kNumbersTag = "#numbers ";
std::string numbers(Numbers n) {
  return kNumbersTag + std::to_string(n.indent) + " " + std::to_string(n.count);
}

Lines statisticsBlock() {
  const std::string border(42, '@');
  const std::string empty = "@@@" + std::string(36, ' ') + "@@@";
  return {"", at(17, border), at(17, empty), at(17, "@@@  S Y S T E M  S T A T I S T I C S  @@@"),
          at(17, empty),
          // u, v and w of the 3 x 3 interior points; the perimeter is fixed in all three.
          at(17, "@@@     NUMBER OF EQUATIONS:     27    @@@"),
          // The farthest reach in the upper triangle is from the u equation of a point to w
          // two points along A (the third x-derivative of w of the coupling terms): 2 points
          // x 3 unknowns x 3 rows + 2 = 20, so the band is 2 x 20 + 1 wide.
          at(17, "@@@     MATRIX BANDWIDTH   :     41    @@@"), at(17, empty), at(17, border), "",
          ""};
}

Lines displacementBlock(bool fullTables) {
  Lines l = frame(15, 44,
                  {kBlank44, "@@@     L I N E A R  A N A L Y S I S     @@@", kBlank44,
                   "@@@          TOTAL DISPLACEMENTS         @@@", kBlank44});
  if (fullTables) {
    append(l, {"", "", at(23, "S O L U T I O N  V E C T O R"), at(23, std::string(28, '-')), "",
               at(11, "X") + at(12, "Y") + at(12, "U") + at(12, "V") + at(12, "W"), ""});
    for (int p = 0; p < kGrid * kGrid; ++p) l.push_back(numbers(kDisplacementRow));
  }
  append(l, {"", "", at(29, "MAXIMUM DEFLECTIONS:"), ""});
  for (const char* label : {"U_max", "V_max", "W_max"})
    append(l, {at(21, std::string("     X           Y          ") + label + "  "),
               numbers(kDisplacementMax), ""});
  l.push_back("");
  return l;
}

struct FibreItem {
  std::string heading, columns, maxima;
  std::array<std::string, 3> labels;
};

std::vector<FibreItem> fibreItems() {
  const std::string stresses = "X           Y           SXX          SYY          SXY ";
  const std::string strains = "X           Y           EXX          EYY          EXY ";
  return {{"UPPER FIBER STRESSES:",
           stresses,
           "MAXIMUM UPPER FIBER STRESSES:",
           {"SXX_max", "SYY_max", "TXY_max"}},
          {"LOWER FIBER STRESSES:",
           stresses,
           "MAXIMUM LOWER FIBER STRESSES:",
           {"SXX_max", "SYY_max", "TXY_max"}},
          {"UPPER FIBER STRAINS:",
           strains,
           "MAXIMUM UPPER FIBER STRAINS:",
           {"EXX_max", "EYY_max", "GXY_max"}},
          {"LOWER FIBER STRAINS:",
           strains,
           "MAXIMUM LOWER FIBER STRAINS:",
           {"EXX_max", "EYY_max", "GXY_max"}}};
}

Lines fibreBlock(bool fullTables) {
  Lines l = frame(18, 44,
                  {kBlank44, "@@@     L I N E A R  A N A L Y S I S     @@@",
                   "@@@        STRESS/STRAIN SOLUTION        @@@",
                   "@@@          APPLIED TOTAL LOAD          @@@", kBlank44});
  for (const FibreItem& item : fibreItems()) {
    if (fullTables) {
      append(l, {"", "", at(28, item.heading), "", at(13, item.columns), ""});
      for (int p = 0; p < kGrid * kGrid; ++p) l.push_back(numbers(kFibreRow));
    }
    append(l, {"", "", at(26, item.maxima), ""});
    for (const std::string& label : item.labels)
      append(l, {at(22, "     X            Y         " + label + "  "), numbers(kFibreMax), ""});
    l.push_back("");
  }
  return l;
}

Lines resultSection(bool fullTables) {
  Lines l = statisticsBlock();
  append(l, displacementBlock(fullTables));
  append(l, fibreBlock(fullTables));
  return l;
}

// Compares the report lines with the expected ones: text lines exactly, number lines by the
// field pattern their tag names.
void expectLayout(const Lines& actual, const Lines& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t k = 0; k < expected.size(); ++k) {
    if (expected[k].rfind(kNumbersTag, 0) != 0) {
      EXPECT_EQ(actual[k], expected[k]) << "line " << k;
      continue;
    }
    int indent = 0, count = 0;
    std::sscanf(expected[k].c_str() + kNumbersTag.size(), "%d %d", &indent, &count);
    EXPECT_TRUE(std::regex_match(actual[k], numberLine(indent, count)))
        << "line " << k << ": [" << actual[k] << "]";
  }
}

struct Report {
  int status = -1;
  std::string text;
  Lines results;  // from the statistics block up to the closing banner
};

Report runJob(const std::string& printStatement) {
  TempDir dir;
  writeFile(dir / "slab.inp", deck(printStatement));
  Report r;
  r.status = runKorvant(dir.path(), {"slab"}, "").status;
  r.text = readFile(dir / "slab.out");
  if (!endsWith(r.text, kCompletedBanner)) return r;
  const Lines lines = splitLines(r.text.substr(0, r.text.size() - kCompletedBanner.size()));
  std::size_t start = 0;
  while (start < lines.size() && lines[start].find("S Y S T E M") == std::string::npos) ++start;
  if (start < 3) return r;
  r.results.assign(lines.begin() + static_cast<long>(start - 3), lines.end());
  return r;
}

// The values of a table of 25 point lines, one row of `count` fields per point.
using Table = std::vector<std::vector<double>>;
Table tableAfter(const Lines& lines, const std::string& heading, Numbers n) {
  const auto it = std::find(lines.begin(), lines.end(), heading);
  Table t;
  if (it == lines.end()) return t;
  const std::regex row = numberLine(n.indent, n.count);
  for (auto k = it; k != lines.end() && t.size() < kGrid * kGrid; ++k) {
    if (!std::regex_match(*k, row)) continue;
    std::vector<double> values;
    for (int f = 0; f < n.count; ++f) values.push_back(fieldValue(*k, n.indent, f));
    t.push_back(values);
  }
  return t;
}

// Point (i, j), both 1-based: i along B, j along A; listed with j outside, i inside.
std::size_t point(int i, int j) {
  return static_cast<std::size_t>((j - 1) * kGrid + (i - 1));
}

double largestMagnitude(const Table& t, int column) {
  double m = 0.0;
  for (const auto& row : t) m = std::max(m, std::abs(row[static_cast<std::size_t>(column)]));
  return m;
}

// Mirror symmetry of one column: parity +1 even, -1 odd, about x = A/2 (mirror in j) and
// about y = B/2 (mirror in i). Printed values carry five digits, hence the tolerance.
void expectParity(const Table& t, int column, int parityX, int parityY, const std::string& what) {
  const std::size_t c = static_cast<std::size_t>(column);
  const double tol = 2e-5 * largestMagnitude(t, column);
  for (int j = 1; j <= kGrid; ++j)
    for (int i = 1; i <= kGrid; ++i) {
      const double v = t[point(i, j)][c];
      EXPECT_NEAR(t[point(i, kGrid + 1 - j)][c], parityX * v, tol)
          << what << " (" << i << ", " << j << ")";
      EXPECT_NEAR(t[point(kGrid + 1 - i, j)][c], parityY * v, tol)
          << what << " (" << i << ", " << j << ")";
    }
}

// Exchanging x and y maps column a onto column b (u onto v, SXX onto SYY ...).
void expectTransposed(const Table& t, int a, int b, const std::string& what) {
  const double tol = 2e-5 * std::max(largestMagnitude(t, a), largestMagnitude(t, b));
  for (int j = 1; j <= kGrid; ++j)
    for (int i = 1; i <= kGrid; ++i)
      EXPECT_NEAR(t[point(j, i)][static_cast<std::size_t>(b)],
                  t[point(i, j)][static_cast<std::size_t>(a)], tol)
          << what << " (" << i << ", " << j << ")";
}

// Coordinates of every point line: X = (j - 1) DX, Y = (i - 1) DY in point order.
void expectCoordinates(const Lines& lines, const std::string& heading, Numbers n) {
  const Table t = tableAfter(lines, heading, n);
  ASSERT_EQ(t.size(), static_cast<std::size_t>(kGrid * kGrid)) << heading;
  for (int j = 1; j <= kGrid; ++j)
    for (int i = 1; i <= kGrid; ++i) {
      EXPECT_EQ(t[point(i, j)][0], (j - 1) * kSpacing) << heading;
      EXPECT_EQ(t[point(i, j)][1], (i - 1) * kSpacing) << heading;
    }
}

// The value lines under the maxima headings, in report order.
Lines maximaLines(const Lines& lines) {
  Lines m;
  const std::regex value3 = numberLine(21, 3), fibre3 = numberLine(22, 3);
  for (const std::string& l : lines)
    if (std::regex_match(l, value3) || std::regex_match(l, fibre3)) m.push_back(l);
  return m;
}

// Both jobs run once for all the tests below.
const Report& fullReport() {
  static const Report r = runJob("*FILE PRINT");
  return r;
}
const Report& maximaReport() {
  static const Report r = runJob("*FILE PRINT OPTION");
  return r;
}

TEST(CoupledReport, BothJobsCompleteWithoutErrors) {
  for (const Report* r : {&fullReport(), &maximaReport()}) {
    EXPECT_EQ(r->status, 0);
    EXPECT_TRUE(endsWith(r->text, kCompletedBanner)) << r->text;
    EXPECT_EQ(r->text.find("***ERROR"), std::string::npos) << r->text;
    EXPECT_EQ(r->text.find("FATAL"), std::string::npos) << r->text;
    // A linear job has no failed layers: the request for their ratios prints no table.
    EXPECT_EQ(r->text.find("F A I L U R E"), std::string::npos) << r->text;
  }
  EXPECT_NE(fullReport().text.find(at(20, "* FULL TABLES WILL BE PRINTED")), std::string::npos);
  EXPECT_NE(maximaReport().text.find(at(20, "* ONLY MAX/MIN VALUES WILL BE PRINTED")),
            std::string::npos);
}

TEST(CoupledReport, FullTablesFollowTheLayout) {
  ASSERT_FALSE(fullReport().results.empty()) << fullReport().text;
  expectLayout(fullReport().results, resultSection(true));
}

TEST(CoupledReport, MaximaOnlyReportOmitsTheTablesAndKeepsTheMaxima) {
  ASSERT_FALSE(maximaReport().results.empty()) << maximaReport().text;
  expectLayout(maximaReport().results, resultSection(false));
  // Neither the heading of the solution vector nor those of the fibre tables.
  const Lines& lines = maximaReport().results;
  for (const std::string& heading :
       {at(23, "S O L U T I O N  V E C T O R"), at(28, "UPPER FIBER STRESSES:"),
        at(28, "LOWER FIBER STRESSES:"), at(28, "UPPER FIBER STRAINS:"),
        at(28, "LOWER FIBER STRAINS:")})
    EXPECT_EQ(std::find(lines.begin(), lines.end(), heading), lines.end()) << heading;
  // The same job, so the same maxima: 3 displacement and 4 x 3 fibre value lines.
  const Lines kept = maximaLines(maximaReport().results);
  EXPECT_EQ(kept.size(), 15u);
  EXPECT_EQ(kept, maximaLines(fullReport().results));
}

TEST(CoupledReport, DisplacementsAreSymmetricAndSupported) {
  const std::string heading = at(23, "S O L U T I O N  V E C T O R");
  expectCoordinates(fullReport().results, heading, kDisplacementRow);
  const Table t = tableAfter(fullReport().results, heading, kDisplacementRow);
  ASSERT_EQ(t.size(), static_cast<std::size_t>(kGrid * kGrid));
  constexpr int kU = 2, kV = 3, kW = 4;
  // The unequal layers couple stretching with bending: the plate moves in its plane.
  EXPECT_GT(largestMagnitude(t, kU), 0.0);
  EXPECT_GT(largestMagnitude(t, kW), 0.0);
  expectParity(t, kU, -1, +1, "u");
  expectParity(t, kV, +1, -1, "v");
  expectParity(t, kW, +1, +1, "w");
  expectTransposed(t, kU, kV, "u/v");
  expectTransposed(t, kW, kW, "w");
  for (int j = 1; j <= kGrid; ++j)
    for (int i = 1; i <= kGrid; ++i) {
      const bool edge = i == 1 || i == kGrid || j == 1 || j == kGrid;
      for (int c : {kU, kV, kW}) {
        if (edge) {
          EXPECT_EQ(t[point(i, j)][static_cast<std::size_t>(c)], 0.0) << i << ", " << j;
        }
      }
      if (!edge) {
        EXPECT_GT(t[point(i, j)][kW], 0.0) << i << ", " << j;
      }
    }

  // The maxima: W at the centre; U and V of the largest magnitude in the table, at a point
  // that carries it.
  const Lines m = maximaLines(fullReport().results);
  ASSERT_GE(m.size(), 3u);
  for (int c : {kU, kV, kW}) {
    const std::string& line = m[static_cast<std::size_t>(c - kU)];
    const double x = fieldValue(line, 21, 0), y = fieldValue(line, 21, 1);
    const double value = fieldValue(line, 21, 2);
    EXPECT_EQ(std::abs(value), largestMagnitude(t, c)) << line;
    const auto j = static_cast<int>(x / kSpacing) + 1, i = static_cast<int>(y / kSpacing) + 1;
    ASSERT_TRUE(i >= 1 && i <= kGrid && j >= 1 && j <= kGrid) << line;
    EXPECT_EQ(t[point(i, j)][static_cast<std::size_t>(c)], value) << line;
  }
  EXPECT_EQ(m[2].substr(21, 24), e11_5(kCentre) + "  " + e11_5(kCentre));
}

TEST(CoupledReport, FibreFieldsAreSymmetric) {
  for (const FibreItem& item : fibreItems()) {
    const std::string heading = at(28, item.heading);
    expectCoordinates(fullReport().results, heading, kFibreRow);
    const Table t = tableAfter(fullReport().results, heading, kFibreRow);
    ASSERT_EQ(t.size(), static_cast<std::size_t>(kGrid * kGrid)) << item.heading;
    EXPECT_GT(largestMagnitude(t, 2), 0.0) << item.heading;
    expectParity(t, 2, +1, +1, item.heading + " XX");
    expectParity(t, 3, +1, +1, item.heading + " YY");
    expectParity(t, 4, -1, -1, item.heading + " XY");
    expectTransposed(t, 2, 3, item.heading + " XX/YY");
  }
}

}  // namespace
}  // namespace korvant::test
