// The input echo against its layout: every expected line below is typed out from the block
// descriptions (nX blanks, Iw / Ew.d / Fw.d fields worked by hand), never taken from a run.
#include "input/echo.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_support.hpp"

namespace korvant {
namespace {

using Lines = std::vector<std::string>;

using test::sp;

Lines echoOf(const ModelDeck& m) {
  std::ostringstream text;
  Writer out(text);
  INPRT(m, Capacities{}, out);
  return test::splitLines(text.str());
}

// Compares line by line, so that a failure names the first line that differs.
void expectLines(const Lines& actual, const Lines& expected) {
  for (std::size_t k = 0; k < std::min(actual.size(), expected.size()); ++k)
    ASSERT_EQ(actual[k], expected[k]) << "line " << k + 1;
  ASSERT_EQ(actual.size(), expected.size());
}

// The `count` lines that start at the first line equal to `first`.
Lines block(const Lines& all, const std::string& first, std::size_t count) {
  auto at = std::find(all.begin(), all.end(), first);
  if (at == all.end()) return {"<no line: " + first + ">"};
  const auto n = std::min<std::size_t>(count, static_cast<std::size_t>(all.end() - at));
  return Lines(at, at + static_cast<std::ptrdiff_t>(n));
}

Lines bannerLines() {
  const std::string rule = sp(10) + std::string(57, '@');
  const std::string side = sp(10) + "@@@" + sp(51) + "@@@";
  return {"",
          "",
          "",
          rule,
          side,
          sp(10) + "@@@                 PROGRAM KORVANT                   @@@",
          side,
          sp(10) + "@@@  COUPLED SOLUTION OF PLATE DEFLECTION ACCOUNTING  @@@",
          sp(10) + "@@@   FOR NONLINEAR INELASTIC FRACTURE AND PLASTIC    @@@",
          sp(10) + "@@@       YIELDING IN REINFORCED CONCRETE SLABS       @@@",
          side,
          sp(10) + "@@@                   VERSION 2.01                    @@@",
          side,
          rule,
          "",
          "",
          "",
          ""};
}

void setRow(Matrix<double>& t, int row, std::vector<double> values) {
  for (std::size_t c = 0; c < values.size(); ++c) t(row, static_cast<int>(c) + 1) = values[c];
}

void setZoneLayers(ModelDeck& m, int zone, std::vector<int> ids) {
  for (std::size_t k = 0; k < ids.size(); ++k) m.ZLAY(zone, static_cast<int>(k) + 1) = ids[k];
}

// A deck using every statement: heading, nonlinear solution, user-defined supports, both
// materials, three kinds of damage law, layers, two zones, every load type, print and
// graphic requests, all solution options away from their defaults, diagnostics.
ModelDeck richDeck() {
  ModelDeck m;
  m.HASTITLE = true;
  m.TITLE = "TWO-WAY SLAB, EDGE BEAMS, CENTRE STRIP" + sp(42);
  m.SOLPROC = SolutionProcedure::NONLINEAR;
  m.NITCRK = 10;
  m.NPASSY = 3;
  m.NINCY = 5;
  m.CRKTOL = 0.02;
  m.WMAX = 1.5;
  m.SLABMODEL = SlabLayout::USER_DEFINED;
  const int points[5][4] = {
      {1, 1, 1, 1}, {21, 1, 2, 3}, {17, 21, 3, 2}, {9, 21, 4, 4}, {5, 5, 6, 0}};
  for (int k = 0; k < 5; ++k)
    for (int c = 0; c < 4; ++c) m.USERBC(k + 1, c + 1) = points[k][c];
  m.NUSERBC = 5;
  m.A = 120.0;
  m.B = 96.0;
  m.NUMA = 21;
  m.NUMB = 17;
  m.NCOL = 2;
  setRow(m.LOADS, 1, {1, 2, 0.25, 1});
  setRow(m.LOADS, 2, {1, 3, 0.1, 1});
  setRow(m.LOADS, 3, {2, 4, 0.05, 2});
  setRow(m.LOADS, 4, {1, 7, 9.0, 1});  // a type without a name prints nothing
  setRow(m.LOADS, 5, {1, 1, 0.5, 2});
  m.NLOAD = 5;
  setRow(m.STEEL, 1, {1, 0.5, 6, 29000, 0.3, 60});
  setRow(m.STEEL, 2, {11.9999999, 0.625, 12, 29000, 0.3, 60});  // printed as 12
  m.NSTEEL = 2;
  setRow(m.CONC, 1, {1, 3600, 0.2, 0.45, 4.0, 0.6});
  m.NCONC = 1;
  setRow(m.DLAWS, 1, {1, 20, 0, 0, 0, 1, 0, 0, -0.1});                   // steel law
  setRow(m.DLAWS, 2, {2, 1000, 50, 2000, 100, 0.9, -0.2, 0.01, 0});      // combined law
  setRow(m.DLAWS, 3, {3, 50, 1800, 90, 0, 0.5, -0.25, 0.0625, -0.003});  // concrete law
  m.NLAW = 3;
  setRow(m.LAYERS, 1, {1, 0, 1, 3, 0.75, 0});
  setRow(m.LAYERS, 2, {2, 1, 0, 1, 0.0327, 90});
  setRow(m.LAYERS, 3, {3, 12, 1, 2, 1.5, -45});
  m.NLAYER = 3;
  setRow(m.ZONES, 1, {1, 120, 96, 60, 48});
  setZoneLayers(m, 1, {1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3});
  setRow(m.ZONES, 2, {2, 40, 30, 60, 48});
  setZoneLayers(m, 2, {3, 1});
  m.NZONE = 2;
  m.PRINTMAX = true;
  m.PRINTREQ = "DS E F";
  m.GRAPHICS = true;
  m.GRAPHREQ = " SSEE ";
  m.COUPLING = Coupling::W_ONLY;
  m.BDIFF = BoundaryDifferences::MIXED;
  m.NEUTRAL = NeutralSurface::GEOMETRIC_CENTRE;
  m.NOBFAIL = true;
  m.YLDOPT = YieldingSolution::WITHOUT_CRACKING;
  m.SOLVER = EquationSolver::BAND;
  m.OVERLAP = 1.01;
  m.SIGMA_X = 150.5;
  m.SIGMA_Y = -20.0;
  m.DIAG = {2, 7, 3, 0, 1};
  return m;
}

TEST(Echo, RichDeckInFullLayout) {
  Lines expected = bannerLines();
  const Lines rest = {
      "",
      sp(23) + "J O B  H E A D I N G",
      sp(23) + "--------------------",
      "",
      "TWO-WAY SLAB, EDGE BEAMS, CENTRE STRIP" + sp(42),
      "",
      "",
      "",
      sp(17) + "S O L U T I O N  P R O C E D U R E",
      sp(17) + "----------------------------------",
      "",
      sp(10) + "* A NONLINEAR ANALYSIS WILL BE PERFORMED",
      "",
      sp(10) + "NUMBER OF ITERATIONS FOR CONCRETE CRACKING  =    10",
      sp(10) + "NUMBER OF PASSES THROUGH YIELDING SOLUTION  =     3",
      sp(10) + "NUMBER OF YIELDING LOAD INCREMENTS          =     5",
      sp(10) + "CONVERGENCE TOLERANCE FOR CONCRETE CRACKING = 0.200E-01",
      sp(10) + "MAXIMUM ALLOWABLE NORMAL DEFLECTION         = 0.150E+01",
      "",
      "",
      sp(17) + "B O U D A R Y  C O N D I T I O N S",
      sp(17) + "----------------------------------",
      "",
      sp(15) + "A USER-DEFINED LAYOUT WILL BE ANALYZED",
      "",
      sp(22) + " USER BOUNDARY CONDITIONS:",
      "",
      sp(17) + " I    J     CONDITION     LOCATION",
      "",
      sp(14) + "    1    1" + sp(6) + "CLAMPED " + sp(4) + "LOWER EDGE      ",
      sp(14) + "   21    1" + sp(6) + "SIMPLE  " + sp(4) + "UPPER EDGE      ",
      sp(14) + "   17   21" + sp(6) + "FREE    " + sp(4) + "LEFT EDGE       ",
      sp(14) + "    9   21" + sp(6) + "FREE-SYM" + sp(4) + "RIGHT EDGE      ",
      sp(14) + "    5    5" + sp(6) + sp(8) + sp(4) + sp(16),
      "",
      "",
      sp(20) + "S L A B  D I M E N S I O N S:",
      sp(20) + "-----------------------------",
      "",
      sp(21) + "A = 0.120E+03 B = 0.960E+02",
      "",
      "",
      sp(10) + "D I S C R E T I Z A T I O N  P A R A M E T E R S :",
      sp(10) + "--------------------------------------------------",
      "",
      sp(14) + "NUMA =   21    NUMB =   17    NCOL =    2",
      "",
      "",
      sp(20) + "A P P L I E D  L O A D I N G",
      sp(20) + "----------------------------",
      "",
      sp(15) + "   LOAD  TYPE     MAGNITUDE    ZONE",
      "",
      sp(15) + "    1  DEAD LOAD  0.250E+00      1",
      sp(15) + "    1  LIVE LOAD  0.100E+00      1",
      sp(15) + "    2  USER-DEFINED  0.500E-01      2",
      sp(15) + "    1   UNIFORM   0.500E+00      2",
      "",
      "",
      sp(20) + "M A T E R I A L  I N P U T",
      sp(20) + "--------------------------",
      "",
      "",
      sp(18) + "S T E E L  P R O P E R T I E S:",
      "",
      sp(5) + "SID   BAR DIA.    SPACING      E         MU         Y",
      "",
      "      1   0.500E+00  0.600E+01  0.290E+05  0.300E+00  0.600E+02",
      "     12   0.625E+00  0.120E+02  0.290E+05  0.300E+00  0.600E+02",
      "",
      "",
      sp(16) + "C O N C R E T E  P R O P E R T I E S:",
      "",
      sp(5) + "CID      E        MU         XT         XC          S",
      "",
      "      1  0.360E+04  0.200E+00  0.450E+00  0.400E+01  0.600E+00",
      "",
      "",
      sp(25) + "D A M A G E  L A W S",
      sp(25) + "--------------------",
      sp(23) + "  POST-FAILURE MODULI: ",
      "",
      sp(10) + "LAWID   YEILDING   TENSION  COMPRESSION  SHEAR",
      "",
      sp(8) + "    1" + sp(15) + "0.200E+02",
      sp(8) + "    2" + sp(4) + "0.100E+04  0.500E+02  0.200E+04  0.100E+03",
      sp(8) + "    3" + sp(15) + "0.500E+02  0.180E+04  0.900E+02",
      "",
      "",
      sp(20) + "L A Y E R  D E F I N I T I O N S",
      sp(20) + "--------------------------------",
      "",
      sp(10) + " LAYID  STEEL ID  CONCRETE ID  DLAW    THICK     THETA",
      "",
      sp(6) + "        1        0        1          3   0.750E+00  0.000E+00",
      sp(6) + "        2        1        0          1   0.327E-01  0.900E+02",
      sp(6) + "        3       12        1          2   0.150E+01  -.450E+02",
      "",
      "",
      sp(20) + "Z O N E  D E F I N I T I O N S",
      sp(20) + "------------------------------",
      "",
      sp(15) + "        A          B          XO         YO ",
      "",
      sp(5) + "NUMBER     1 :0.120E+03  0.960E+02  0.600E+02  0.480E+02",
      sp(5) + "LAYERS:    1    2    3    1    2    3    1    2    3    1",
      sp(11) + "     2     3",
      "",
      sp(5) + "NUMBER     2 :0.400E+02  0.300E+02  0.600E+02  0.480E+02",
      sp(5) + "LAYERS:    3    1",
      "",
      "",
      sp(20) + "P R I N T  R E Q U E S T S:",
      sp(20) + "---------------------------",
      "",
      sp(20) + "* ONLY MAX/MIN VALUES WILL BE PRINTED",
      "",
      sp(20) + "* DISPLACEMENT FIELDS",
      sp(20) + "* OUTER FIBER STRESSES ON UPPER SURFACE",
      sp(20) + "* OUTER FIBER STRAINS ON UPPER SURFACE",
      sp(20) + "* FAILED LAYER RATIOS OVER DOMAIN",
      "",
      "",
      sp(10) + "G R A P H I C A L  O U T P U T  R E Q U E S T S:",
      sp(10) + "------------------------------------------------",
      sp(13) + "[DATASET LIST STORED IN FILE: content.dat] ",
      "",
      sp(15) + "* OUTER FIBER STRESSES ON UPPER SURFACE",
      sp(15) + "* OUTER FIBER STRESSES ON LOWER SURFACE",
      sp(15) + "* OUTER FIBER STRAINS ON UPPER SURFACE",
      sp(15) + "* OUTER FIBER STRAINS ON LOWER SURFACE",
      "",
      "",
      sp(20) + "S O L U T I O N  O P T I O N S:",
      sp(20) + "-------------------------------",
      "",
      sp(15) + "* COUPLING WILL BE NEGLECTED AND ONLY LATERAL",
      sp(15) + "  DEFLECTIONS WILL BE CALCULATED",
      "",
      sp(15) + "* A COMBINATION OF CENTRAL, FORWARD, AND BACKWARD DIFFERENCES",
      sp(15) + "  WILL BE USED ALONG EXTERNAL BOUNDARIES",
      "",
      sp(15) + "* NEUTRAL SURFACE CALCULATED AS GEOMETRIC CENTER",
      "",
      sp(15) + "* FAILURE ALONG BOUNDARIES WILL NOT BE PREDICTED",
      "",
      sp(15) + "* YIELDING SOLUTION WILL EXCLUDE ADDITIONAL CONCRETE CRACKING",
      "",
      sp(15) + "* EQUATION SOLVER FOR BANDED MATRICES WILL BE USED",
      "",
      sp(15) + "* ZONE OVERLAP FACTOR = 1.01000",
      "",
      sp(15) + "* UNIFORM MEMBRANE STRESS:",
      sp(17) + "  SIGMA_X =      150.500",
      sp(17) + "  SIGMA_Y =      -20.000",
      "",
      "",
      sp(25) + "D I A G N O S T I C S",
      sp(25) + "---------------------",
      "",
      sp(15) + "* ALL CRACKING FAILURE MODES WILL BE IDENTIFIED",
      "",
      sp(15) + "* ALL LAYER FAILURE INDICES WILL BE OUTPUTTED",
      "",
  };
  expected.insert(expected.end(), rest.begin(), rest.end());
  expectLines(echoOf(richDeck()), expected);
}

// Nothing set: no heading block, no layout line, no materials, laws, graphics or
// diagnostics; the defaults restated.
TEST(Echo, DefaultDeckInFullLayout) {
  Lines expected = bannerLines();
  const Lines rest = {
      "",
      sp(17) + "S O L U T I O N  P R O C E D U R E",
      sp(17) + "----------------------------------",
      "",
      sp(10) + "* A LINEAR ELASTIC ANALYSIS WILL BE PERFORMED",
      "",
      "",
      sp(17) + "B O U D A R Y  C O N D I T I O N S",
      sp(17) + "----------------------------------",
      "",
      "",
      "",
      sp(20) + "S L A B  D I M E N S I O N S:",
      sp(20) + "-----------------------------",
      "",
      sp(21) + "A = 0.000E+00 B = 0.000E+00",
      "",
      "",
      sp(10) + "D I S C R E T I Z A T I O N  P A R A M E T E R S :",
      sp(10) + "--------------------------------------------------",
      "",
      sp(14) + "NUMA =    0    NUMB =    0    NCOL =    0",
      "",
      "",
      sp(20) + "A P P L I E D  L O A D I N G",
      sp(20) + "----------------------------",
      "",
      sp(15) + "   LOAD  TYPE     MAGNITUDE    ZONE",
      "",
      "",
      "",
      sp(20) + "M A T E R I A L  I N P U T",
      sp(20) + "--------------------------",
      "",
      "",
      "",
      sp(20) + "L A Y E R  D E F I N I T I O N S",
      sp(20) + "--------------------------------",
      "",
      sp(10) + " LAYID  STEEL ID  CONCRETE ID  DLAW    THICK     THETA",
      "",
      "",
      "",
      sp(20) + "Z O N E  D E F I N I T I O N S",
      sp(20) + "------------------------------",
      "",
      sp(15) + "        A          B          XO         YO ",
      "",
      "",
      sp(20) + "P R I N T  R E Q U E S T S:",
      sp(20) + "---------------------------",
      "",
      sp(20) + "* FULL TABLES WILL BE PRINTED",
      "",
      sp(20) + "* DISPLACEMENT FIELDS",
      "",
      "",
      sp(20) + "S O L U T I O N  O P T I O N S:",
      sp(20) + "-------------------------------",
      "",
      sp(15) + "* A FULLY COUPLED SOLUTION WILL BE OBTAINED",
      "",
      sp(15) + "* CENTRAL DIFFERENCES WILL BE USED ALONG EXTERNAL BOUNDARIES",
      "",
      sp(15) + "* NEUTRAL SURFACE CALCULATED USING WEIGHTED SECTIONS",
      "",
      sp(15) + "* EQUATION SOLVER FOR BANDED MATRICES WILL BE USED",
      "",
      sp(15) + "* ZONE OVERLAP FACTOR = 1.00500",
      "",
  };
  expected.insert(expected.end(), rest.begin(), rest.end());
  expectLines(echoOf(ModelDeck{}), expected);
}

TEST(Echo, EquationFormDamageLawsWithCrackDensityModel) {
  ModelDeck m = richDeck();
  m.DLFORM = LawForm::EQUATION;
  const std::string heading = sp(25) + "D A M A G E  L A W S";
  const Lines table = {
      heading,
      sp(25) + "--------------------",
      sp(12) + "EQUATION FORM: E_reduced = K(a,b,c,d)*E_initial",
      "",
      sp(4) + "WHERE K = a + b*((S/S_CR)^1-1) + c*((S/S_CR)^2-1) + d*((S/S_CR)^3-1)",
      "",
      sp(10) + "LAWID      a           b          c          d",
      "",
      sp(8) + "    1" + sp(4) + "0.100E+01  0.000E+00  0.000E+00  -.100E+00",
      sp(8) + "    2" + sp(4) + "0.900E+00  -.200E+00  0.100E-01  0.000E+00",
      sp(8) + "    3" + sp(4) + "0.500E+00  -.250E+00  0.625E-01  -.300E-02",
      "",
  };
  const struct {
    CrackDensity crkdens;
    std::string line;
  } cases[] = {
      {CrackDensity::STRAIN_BASED, sp(15) + "THE CRACK DENSITY MODEL WILL BE STRAIN-BASED"},
      {CrackDensity::STRESS_BASED, sp(15) + "THE CRACK DENSITY MODEL WILL BE STRESS-BASED"}};
  for (const auto& c : cases) {
    m.CRKDENS = c.crkdens;
    Lines expected = table;
    expected.push_back(c.line);
    expected.push_back("");  // the layer block opens with two blank lines
    expected.push_back("");
    expected.push_back(sp(20) + "L A Y E R  D E F I N I T I O N S");
    expectLines(block(echoOf(m), heading, expected.size()), expected);
  }
}

// The post-failure form tells a law's kind by its moduli: a steel law's single modulus
// sits where a concrete law's TENSION sits (column 29), a combined law starts at 18.
TEST(Echo, PostFailureModuliStartColumns) {
  const Lines echo = echoOf(richDeck());
  const auto lawLine = [&](const std::string& id) {
    return *std::find_if(echo.begin(), echo.end(), [&](const std::string& l) {
      return l.rfind(sp(8) + id + " ", 0) == 0 && l.find("E+") != std::string::npos;
    });
  };
  EXPECT_EQ(lawLine("    1").find("0.200E+02") + 1, 29u);  // steel
  EXPECT_EQ(lawLine("    3").find("0.500E+02") + 1, 29u);  // concrete
  EXPECT_EQ(lawLine("    2").find("0.100E+04") + 1, 18u);  // combined
}

TEST(Echo, ZoneLayerListsTenThenTenPerLine) {
  const std::string zoneLine = sp(5) + "NUMBER     1 :0.120E+03  0.960E+02  0.600E+02  0.480E+02";
  const struct {
    int count;
    Lines lists;
  } cases[] = {
      {0, {sp(5) + "LAYERS:"}},
      {3, {sp(5) + "LAYERS:    1    2    3"}},
      {10, {sp(5) + "LAYERS:    1    2    3    4    5    6    7    8    9   10"}},
      {11,
       {sp(5) + "LAYERS:    1    2    3    4    5    6    7    8    9   10", sp(11) + "    11"}},
      {21,
       {sp(5) + "LAYERS:    1    2    3    4    5    6    7    8    9   10",
        sp(11) + "    11    12    13    14    15    16    17    18    19    20",
        sp(11) + "    21"}},
      {25,
       {sp(5) + "LAYERS:    1    2    3    4    5    6    7    8    9   10",
        sp(11) + "    11    12    13    14    15    16    17    18    19    20",
        sp(11) + "    21    22    23    24    25"}},
  };
  for (const auto& c : cases) {
    ModelDeck m = richDeck();
    m.NZONE = 1;
    for (int k = 1; k <= kZoneLayers; ++k) m.ZLAY(1, k) = k <= c.count ? k : 0;
    Lines expected = {zoneLine};
    expected.insert(expected.end(), c.lists.begin(), c.lists.end());
    expected.push_back("");  // the print requests open with two blank lines
    expected.push_back("");
    expected.push_back(sp(20) + "P R I N T  R E Q U E S T S:");
    SCOPED_TRACE(c.count);
    expectLines(block(echoOf(m), zoneLine, expected.size()), expected);
  }
}

TEST(Echo, SupportLayoutLines) {
  const std::string heading = sp(17) + "B O U D A R Y  C O N D I T I O N S";
  const struct {
    SlabLayout layout;
    std::string line;
  } cases[] = {
      {SlabLayout::NINE_COLUMN, sp(15) + "A 9-COLUMN LAYOUT WILL BE ANALYZED"},
      {SlabLayout::CLAMPED_PLATE, sp(15) + "A CLAMPED PLATE WILL BE ANALYZED"},
      {SlabLayout::FOUR_COLUMN_FREE, sp(12) + "A 4-COLUMN FREE EDGE PLATE WILL BE ANALYZED"},
      {SlabLayout::FOUR_COLUMN_SYM, sp(11) + "A 4-COLUMN SYMMETRIC EDGE PLATE WILL BE ANALYZED"},
      {SlabLayout::SSCF, sp(15) + "A SSCF LAYOUT WILL BE ANALYZED"},
      {SlabLayout::SFSF, sp(15) + "A SFSF LAYOUT WILL BE ANALYZED"},
      {SlabLayout::FSFS, sp(15) + "A FSFS LAYOUT WILL BE ANALYZED"},
      {SlabLayout::SIMPLY_SUPPORTED, sp(15) + "A SIMPLY SUPPORTED PLATE WILL BE ANALYZED"},
  };
  for (const auto& c : cases) {
    ModelDeck m;
    m.SLABMODEL = c.layout;
    const Lines expected = {
        heading, sp(17) + "----------------------------------", "", c.line, "", "",
        "",      sp(20) + "S L A B  D I M E N S I O N S:"};
    SCOPED_TRACE(codeNumber(c.layout));
    expectLines(block(echoOf(m), heading, expected.size()), expected);
  }
}

TEST(Echo, DiagnosticsInListOrderUpToFirstZero) {
  const std::string heading = sp(25) + "D I A G N O S T I C S";
  ModelDeck m;
  m.DIAG = {3, 1, 0, 2};
  const Lines expected = {heading, sp(25) + "---------------------",
                          "",      sp(15) + "* ALL LAYER FAILURE INDICES WILL BE OUTPUTTED",
                          "",      sp(15) + "* COMPRESSION FAILURES WILL BE IDENTIFIED",
                          ""};
  const Lines echo = echoOf(m);
  expectLines(block(echo, heading, 99), expected);
  ASSERT_EQ(echo[echo.size() - expected.size() - 1], "");  // one blank line opens the block
}

TEST(Echo, DiagnosticsAbsentWhenFirstEntryIsZero) {
  ModelDeck m;
  m.DIAG = {0, 1, 2};
  const Lines echo = echoOf(m);
  EXPECT_EQ(echo.back(), "");
  EXPECT_EQ(echo[echo.size() - 2], sp(15) + "* ZONE OVERLAP FACTOR = 1.00500");
}

}  // namespace
}  // namespace korvant
