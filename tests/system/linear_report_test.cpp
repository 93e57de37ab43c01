// The report of a small linear job, run through the executable: a simply supported square
// slab on a 5 x 5 grid. The system statistics, the displacement table, the headings of the
// outer-fibre tables and the closing banner are compared line by line with the layouts
// written out here; the deflections come from the difference equations solved by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "support/job_texts.hpp"
#include "support/slab_decks.hpp"
#include "support/test_support.hpp"

namespace korvant::test {
namespace {

using Lines = std::vector<std::string>;

constexpr double kSide = 400.0;  // 5 x 5 grid: spacing h = 100
constexpr double kSpacing = 100.0;
constexpr double kE = 30000.0;
constexpr double kNu = 0.2;
constexpr double kThick = 200.0;
constexpr double kPressure = 0.01;

const std::string kDeck = [] {
  PlainSlabDeck d;
  d.heading = "SIMPLY SUPPORTED SQUARE SLAB ON A 5 X 5 GRID";
  d.options = "*COUPLING = NO\n*FILE PRINT\nD +S -S +E -E\n";
  return d.text();
}();

// Ew.d with w = 11, d = 5: "0.ddddd" then "E", the exponent sign and two digits.
std::string e11_5(double v) {
  if (v == 0.0) return "0.00000E+00";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.4E", std::abs(v));  // d.ddddE+xx
  const std::string s(buf);
  const std::string digits = s.substr(0, 1) + s.substr(2, 4);
  const int exponent = std::stoi(s.substr(7)) + 1;
  std::snprintf(buf, sizeof buf, "%s0.%sE%c%02d", v < 0 ? "-" : "", digits.c_str(),
                exponent < 0 ? '-' : '+', std::abs(exponent));
  return std::string(buf).insert(0, 11 - std::string(buf).size(), ' ');
}

// The difference equations of the simply supported plate with h = side / 4 leave three
// distinct unknowns by symmetry: a at the four interior corners, b at the four interior
// edge middles, c at the centre. With the odd mirror w(-1) = -w(1) beyond the supports,
// the 13-point biharmonic operator 20 w0 - 8 (sides) + 2 (diagonals) + (second sides)
// gives, in units of q h^4 / D:
//   corner       20 a - 16 b +  2 c = 1
//   edge middle -16 a + 24 b -  8 c = 1
//   centre        8 a - 32 b + 20 c = 1
struct HandSolution {
  double a, b, c;
};
HandSolution handSolution() {
  const double m[3][3] = {{20, -16, 2}, {-16, 24, -8}, {8, -32, 20}};
  auto det = [](const double k[3][3]) {
    return k[0][0] * (k[1][1] * k[2][2] - k[1][2] * k[2][1]) -
           k[0][1] * (k[1][0] * k[2][2] - k[1][2] * k[2][0]) +
           k[0][2] * (k[1][0] * k[2][1] - k[1][1] * k[2][0]);
  };
  double x[3];
  for (int col = 0; col < 3; ++col) {
    double k[3][3];
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) k[r][c] = c == col ? 1.0 : m[r][c];
    x[col] = det(k) / det(m);
  }
  const double D = kE * kThick * kThick * kThick / (12.0 * (1.0 - kNu * kNu));
  const double unit = kPressure * std::pow(kSpacing, 4) / D;
  return {x[0] * unit, x[1] * unit, x[2] * unit};
}

// Deflection of grid point (i, j), both 1..5, from the hand solution.
double handW(int i, int j, const HandSolution& s) {
  if (i == 1 || i == 5 || j == 1 || j == 5) return 0.0;
  const int inner = (i == 3) + (j == 3);  // 0 corner, 1 edge middle, 2 centre
  return inner == 0 ? s.a : inner == 1 ? s.b : s.c;
}

Lines frame44(int indent, const Lines& inside) {
  Lines l{"", "", "", at(indent, std::string(44, '@'))};
  for (const std::string& s : inside) l.push_back(at(indent, s));
  l.push_back(at(indent, std::string(44, '@')));
  l.push_back("");
  return l;
}
const std::string kBlank44 = "@@@" + std::string(38, ' ') + "@@@";

void append(Lines& to, const Lines& more) {
  to.insert(to.end(), more.begin(), more.end());
}

Lines statisticsBlock() {
  const std::string border(42, '@');
  const std::string empty = "@@@" + std::string(36, ' ') + "@@@";
  return {"", at(17, border), at(17, empty), at(17, "@@@  S Y S T E M  S T A T I S T I C S  @@@"),
          at(17, empty),
          // 3 x 3 interior unknowns; the farthest coupling is two points along A, 2 x 3
          // unknowns away, so the band is 2 x 6 + 1 wide.
          at(17, "@@@     NUMBER OF EQUATIONS:      9    @@@"),
          at(17, "@@@     MATRIX BANDWIDTH   :     13    @@@"), at(17, empty), at(17, border), "",
          ""};
}

Lines displacementBlock() {
  Lines l = frame44(15, {kBlank44, "@@@     L I N E A R  A N A L Y S I S     @@@", kBlank44,
                         "@@@          TOTAL DISPLACEMENTS         @@@", kBlank44});
  append(l, {"", "", at(23, "S O L U T I O N   V E C T O R"), at(23, std::string(29, '-')), "",
             at(23, "  X           Y           W"), ""});
  const HandSolution s = handSolution();
  for (int j = 1; j <= 5; ++j)
    for (int i = 1; i <= 5; ++i)
      l.push_back(at(19, e11_5((j - 1) * kSpacing) + "  " + e11_5((i - 1) * kSpacing) + "  " +
                             e11_5(handW(i, j, s))));
  append(l,
         {"", "", at(29, "MAXIMUM DEFLECTION:"), "", at(20, "     X            Y          W_max  "),
          at(20, e11_5(kSide / 2) + "  " + e11_5(kSide / 2) + "  " + e11_5(s.c)), "", ""});
  return l;
}

// The fibre block without its data lines (one per point) and without the value lines of
// its maxima, which the physics tests check.
Lines fibreHeadings() {
  Lines l = frame44(18, {kBlank44, "@@@     L I N E A R  A N A L Y S I S     @@@",
                         "@@@        STRESS/STRAIN SOLUTION        @@@",
                         "@@@          APPLIED TOTAL LOAD          @@@", kBlank44});
  struct Item {
    std::string heading, columns, maxima;
    std::array<std::string, 3> labels;
  };
  const std::string stresses = "X           Y           SXX          SYY          SXY ";
  const std::string strains = "X           Y           EXX          EYY          EXY ";
  for (const Item& item : {Item{"UPPER FIBER STRESSES:",
                                stresses,
                                "MAXIMUM UPPER FIBER STRESSES:",
                                {"SXX_max", "SYY_max", "TXY_max"}},
                           Item{"LOWER FIBER STRESSES:",
                                stresses,
                                "MAXIMUM LOWER FIBER STRESSES:",
                                {"SXX_max", "SYY_max", "TXY_max"}},
                           Item{"UPPER FIBER STRAINS:",
                                strains,
                                "MAXIMUM UPPER FIBER STRAINS:",
                                {"EXX_max", "EYY_max", "GXY_max"}},
                           Item{"LOWER FIBER STRAINS:",
                                strains,
                                "MAXIMUM LOWER FIBER STRAINS:",
                                {"EXX_max", "EYY_max", "GXY_max"}}}) {
    append(l, {"", "", at(28, item.heading), "", at(13, item.columns), ""});
    append(l, {"", "", at(26, item.maxima), ""});
    for (const std::string& label : item.labels)
      append(l, {at(22, "     X            Y         " + label + "  "), ""});
    l.push_back("");
  }
  return l;
}

bool isNumberLine(const std::string& line) {
  return line.find("E+") != std::string::npos || line.find("E-") != std::string::npos;
}

TEST(LinearReport, SimplySupportedFiveByFiveJob) {
  TempDir dir;
  writeFile(dir / "slab.inp", kDeck);
  const RunResult r = runKorvant(dir.path(), {"slab"}, "");
  EXPECT_EQ(r.status, 0);
  const std::string report = readFile(dir / "slab.out");
  ASSERT_TRUE(endsWith(report, kCompletedBanner)) << report;
  EXPECT_EQ(report.find("***ERROR"), std::string::npos) << report;

  const Lines lines = splitLines(report.substr(0, report.size() - kCompletedBanner.size()));
  std::size_t start = 0;
  while (start < lines.size() && lines[start].find("S Y S T E M") == std::string::npos) ++start;
  ASSERT_GE(start, 3u) << report;
  start -= 3;  // the blank line and the two lines of frame above the title

  Lines expected = statisticsBlock();
  append(expected, displacementBlock());
  const Lines head(
      lines.begin() + static_cast<long>(start),
      lines.begin() + static_cast<long>(std::min(lines.size(), start + expected.size())));
  EXPECT_EQ(head, expected);

  // The fibre block: headings in order, 25 point lines under each of the four tables and
  // three value lines under each maxima heading.
  Lines headings;
  int numberLines = 0;
  for (std::size_t k = start + expected.size(); k < lines.size(); ++k) {
    if (isNumberLine(lines[k]))
      ++numberLines;
    else
      headings.push_back(lines[k]);
  }
  EXPECT_EQ(headings, fibreHeadings());
  EXPECT_EQ(numberLines, 4 * (25 + 3));
}

// The example job of the README: a linear deck that must run to the closing banner.
TEST(LinearReport, BundledExampleJobCompletes) {
  TempDir dir;
  std::filesystem::copy_file(std::filesystem::path(KORVANT_SOURCE_DIR) / "examples" / "plate.inp",
                             dir / "plate.inp");
  const RunResult r = runKorvant(dir.path(), {"--yes", "plate"}, "");
  EXPECT_EQ(r.status, 0);
  const std::string report = readFile(dir / "plate.out");
  EXPECT_TRUE(endsWith(report, kCompletedBanner)) << report;
  EXPECT_EQ(report.find("FATAL"), std::string::npos) << report;
  EXPECT_NE(report.find("MAXIMUM DEFLECTION:"), std::string::npos) << report;
}

}  // namespace
}  // namespace korvant::test
