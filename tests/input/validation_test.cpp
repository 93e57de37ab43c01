// The checks after the end statement: each fatal error with its message, its place before
// or after the echo and the termination lines; the warnings; the derived quantities (matrix
// size, bandwidth estimate, default loads, storage mode, quarter column) worked by hand.
#include "input/validation.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "input/deck_reader.hpp"
#include "input/model.hpp"
#include "job/model_setup.hpp"
#include "support/test_support.hpp"

namespace korvant {
namespace {

using Lines = std::vector<std::string>;

using test::sp;

const std::string kBannerRule = sp(10) + std::string(57, '@');
const std::string kLastEchoLine = sp(15) + "* ZONE OVERLAP FACTOR = 1.00500";

void setRow(Matrix<double>& t, int row, std::vector<double> values) {
  for (std::size_t c = 0; c < values.size(); ++c) t(row, static_cast<int>(c) + 1) = values[c];
}

// A sound linear deck: a 100 x 60 slab on an 11 x 13 grid, simply supported, uncoupled and
// banded, one zone of a concrete, a steel and a combined layer, each with its damage law,
// under one uniform load.
ModelDeck soundDeck() {
  ModelDeck m;
  m.A = 100.0;
  m.B = 60.0;
  m.NUMA = 11;
  m.NUMB = 13;
  m.NCOL = 2;
  m.COUPLING = Coupling::W_ONLY;
  m.SOLVER = EquationSolver::BAND;
  m.SLABMODEL = SlabLayout::SIMPLY_SUPPORTED;
  setRow(m.STEEL, 1, {1, 0.5, 6, 29000, 0.3, 60});
  m.NSTEEL = 1;
  setRow(m.CONC, 1, {1, 3600, 0.2, 0.45, 4, 0.6});
  m.NCONC = 1;
  setRow(m.DLAWS, 1, {1, 20, 0, 0, 0, 1, 0, 0, 0});
  setRow(m.DLAWS, 2, {2, 50, 1800, 90, 0, 1, 0, 0, 0});
  setRow(m.DLAWS, 3, {3, 1000, 50, 2000, 100, 1, 0, 0, 0});
  m.NLAW = 3;
  setRow(m.LAYERS, 1, {1, 0, 1, 2, 1.0, 0});     // concrete
  setRow(m.LAYERS, 2, {2, 1, 0, 1, 0.0327, 0});  // steel
  setRow(m.LAYERS, 3, {3, 1, 1, 3, 1.0, 90});    // combined
  m.NLAYER = 3;
  setRow(m.ZONES, 1, {1, 100, 60, 50, 30});
  m.ZLAY(1, 1) = 1;
  m.ZLAY(1, 2) = 2;
  m.ZLAY(1, 3) = 3;
  m.NZONE = 1;
  setRow(m.LOADS, 1, {1, 1, 0.01, 0});
  m.NLOAD = 1;
  return m;
}

// The sound deck as a nonlinear analysis with usable limits and tolerances.
void makeNonlinear(ModelDeck& m) {
  m.SOLPROC = SolutionProcedure::NONLINEAR;
  m.NITCRK = 10;
  m.NPASSY = 3;
  m.NINCY = 5;
  m.CRKTOL = 0.01;
  m.WMAX = 0.1;
}

// Zone row z: the whole slab again, built from layer 1.
void addZone(ModelDeck& m, double number) {
  const int z = ++m.NZONE;
  setRow(m.ZONES, z, {number, 100, 60, 50, 30});
  m.ZLAY(z, 1) = 1;
}

// A user-defined layout's one SIMPLE point, the centre of the sound grid.
void addSimplePoint(ModelDeck& m) {
  m.USERBC(1, userbc_col::I) = 7;
  m.USERBC(1, userbc_col::J) = 6;
  m.USERBC(1, userbc_col::CONDITION) = codeNumber(Condition::SIMPLE);
  m.NUSERBC = 1;
}

struct ValidationRun {
  int nerr = 0;
  int CTOT = -1;
  Lines report;
  Lines zoneFile;
  WorkingFiles files;
};

void validate(ModelDeck& m, ValidationRun& r, const Capacities& cap = Capacities{}) {
  std::ostringstream report, zones;
  Writer out(report), zoneOut(zones);
  r.nerr = setUpModel(m, cap, validateModel(m, cap, out, 0), out, zoneOut, r.files, r.CTOT);
  r.report = test::splitLines(report.str());
  r.zoneFile = test::splitLines(zones.str());
}

std::ptrdiff_t indexOf(const Lines& lines, const std::string& line) {
  const auto at = std::find(lines.begin(), lines.end(), line);
  return at == lines.end() ? -1 : at - lines.begin();
}

// Index of the first line of `wanted` as a contiguous run inside `lines`, or -1.
std::ptrdiff_t indexOfBlock(const Lines& lines, const Lines& wanted) {
  const auto at = std::search(lines.begin(), lines.end(), wanted.begin(), wanted.end());
  return at == lines.end() ? -1 : at - lines.begin();
}

Lines terminationLines(const std::string& count) {
  return {"",
          "",
          sp(5) + "*** PARSING INPUT DETECTED " + count + " FATAL ERRORS ***",
          "",
          "",
          "",
          sp(20) + "### JOB TERMINATED ###",
          "",
          ""};
}

Lines tail(const Lines& lines, std::size_t n) {
  return Lines(lines.end() - static_cast<std::ptrdiff_t>(std::min(n, lines.size())), lines.end());
}

TEST(Validation, SoundDeckPassesAndSetsUpEveryPoint) {
  ModelDeck m = soundDeck();
  ValidationRun r;
  validate(m, r);
  EXPECT_EQ(r.nerr, 0);
  EXPECT_EQ(r.report.front(), "");  // the echo is the whole report
  EXPECT_EQ(r.report[3], kBannerRule);
  EXPECT_EQ(r.report.back(), "");
  EXPECT_EQ(r.report[r.report.size() - 2], kLastEchoLine);
  // Concrete and combined layers bear concrete: 2 per point over 11 x 13 points.
  EXPECT_EQ(r.CTOT, 2 * 11 * 13);
  EXPECT_TRUE(r.files.initialLayers.written(11 * 13));
  EXPECT_EQ(r.zoneFile.front(), "TITLE = \"Zone Layout\"");
  EXPECT_EQ(m.COLA, 1.0);
  EXPECT_EQ(m.COLB, 1.0);
}

TEST(Validation, DamageLawsGoToTheirWorkingFile) {
  ModelDeck m = soundDeck();
  ValidationRun r;
  validate(m, r);
  EXPECT_EQ(r.files.damageLaws.read(1)[0], 3.0);
  const double law3[10] = {3, 1000, 50, 2000, 100, 1, 0, 0, 0, 0};
  for (int c = 0; c < 10; ++c) EXPECT_EQ(r.files.damageLaws.read(4)[c], law3[c]) << c;
  EXPECT_FALSE(r.files.damageLaws.written(5));
}

// One deck fault per case: the message, where it stands relative to the echo, and the
// termination lines counting it.
struct FatalCase {
  const char* name;
  std::function<void(ModelDeck&)> fault;
  Lines message;
  bool afterEcho = false;
  Capacities cap{};
};

std::vector<FatalCase> fatalCases() {
  Capacities smallBand;
  smallBand.MXBD = 1000;
  return {
      {"steel layer, zero YIELDING modulus",
       [](ModelDeck& m) { m.DLAWS(1, 2) = 0.0; },
       {"***ERROR: LAYER ID    2 IS REFERENCING DAMAGE LAW    1 WHICH",
        sp(10) + "CONTAINS ONE OR MORE ZERO POST-FAILURE MODULI", sp(10) + "FOR A STEEL LAYER.", "",
        sp(10) + "CHECK IF LAYER DEFINITION AND DAMAGE LAW AGREE"}},
      {"concrete layer, zero SHEAR modulus",
       [](ModelDeck& m) { m.DLAWS(2, 4) = 0.0; },
       {"***ERROR: LAYER ID    1 IS REFERENCING DAMAGE LAW    2 WHICH",
        sp(10) + "CONTAINS ONE OR MORE ZERO POST-FAILURE MODULI", sp(10) + "FOR A CONCRETE LAYER.",
        "", sp(10) + "CHECK IF LAYER DEFINITION AND DAMAGE LAW AGREE"}},
      {"combined layer, zero SHEAR modulus",
       [](ModelDeck& m) { m.DLAWS(3, 5) = 0.0; },
       {"***ERROR: LAYER ID    3 IS REFERENCING DAMAGE LAW    3 WHICH",
        sp(10) + "CONTAINS ONE OR MORE ZERO POST-FAILURE MODULI",
        sp(10) + "FOR A COMBINED CONCRETE AND STEEL LAYER.", "",
        sp(10) + "CHECK IF LAYER DEFINITION AND DAMAGE LAW AGREE"}},
      {"three zones, no loads, no default pressure",
       [](ModelDeck& m) {
         m.NLOAD = 0;
         addZone(m, 2);
         addZone(m, 3);
       },
       {"***ERROR: THE NEEDED DEFAULT SLAB LOAD HAS NOT BEEN SPECIFIED"}},
      {"default loads beyond the load table",
       [](ModelDeck& m) {
         // 19 dead loads on zones 1..18 and 1 again; zones 19 and 20 need default rows,
         // and only one row is left.
         for (int k = 1; k <= 19; ++k) setRow(m.LOADS, k, {1, 2, 0.02, k <= 18 ? 1.0 * k : 1.0});
         m.NLOAD = 19;
         for (int z = 2; z <= 20; ++z) addZone(m, z);
         m.PDEF = 0.5;
       },
       {"***ERROR: NUMBER OF LOADS EXCEEDING    20. INCREASE MXD5 PARAMETER",
        sp(10) + "DEFAULT LOAD FOR ZONE   20 IS NOT STORED"}},
      {"NUMA 40 coupled, NUMB 27: global matrix size",
       [](ModelDeck& m) {
         m.NUMA = 40;
         m.NUMB = 27;
         m.COUPLING = Coupling::COUPLED;
         m.SOLVER = EquationSolver::FULL;
       },
       {"***ERROR: NUMBER OF DIVISIONS WILL CREATE GLOBAL MATRICES OF",
        sp(10) + "SIZE   4092 WHICH EXCEEDS MAXIMUM OF   4000.",
        sp(10) + "INCREASE PARAMETER MXD1"}},
      {"full storage above a smaller MXBD",
       [](ModelDeck& m) {
         m.NUMA = 31;
         m.NUMB = 31;
         m.SOLVER = EquationSolver::FULL;
       },
       {"***ERROR: NUMBER OF DIVISIONS WILL CREATE GLOBAL MATRICES OF",
        sp(10) + "SIZE   1225 WHICH EXCEEDS MAXIMUM OF   1000.",
        sp(10) + "INCREASE PARAMETER MXBD"},
       false,
       smallBand},
      {"band estimate above MXBD",
       [](ModelDeck& m) {
         m.NUMA = 500;
         m.NUMB = 3;
       },
       {"***ERROR: A CONSERVATIVE ESTIMATE OF THE BANDWIDTH IS GIVEN",
        sp(10) + "BY   4016. THIS EXCEEDS THE MAXIMUM DIMENSION OF",
        sp(10) + "  4000. INCREASE PARAMETER MXBD"}},
      {"no support layout",
       [](ModelDeck& m) { m.SLABMODEL = SlabLayout::NONE; },
       {"***ERROR: SLAB MODEL     0 NOT RECOGNIZED", ""}},
      {"9-column layout, NUMA even",
       [](ModelDeck& m) {
         m.SLABMODEL = SlabLayout::NINE_COLUMN;
         m.NUMA = 20;
         m.NUMB = 21;
       },
       {"***ERROR: NUMA (   20) MUST BE INPUT AS AN ODD NUMBER ",
        "          FOR THIS SLAB CONFIGURATION"},
       true},
      {"9-column layout, NUMB even",
       [](ModelDeck& m) {
         m.SLABMODEL = SlabLayout::NINE_COLUMN;
         m.NUMB = 12;
       },
       {"***ERROR: NUMB (   12) MUST BE INPUT AS AN ODD NUMBER",
        "          FOR THIS SLAB CONFIGURATION"},
       true},
      {"NUMA below 3",
       [](ModelDeck& m) { m.NUMA = 2; },
       {"***ERROR: NUMA (    2) MUST BE INPUT AS 3 OR MORE"}},
      {"NUMB below 3",
       [](ModelDeck& m) { m.NUMB = 0; },
       {"***ERROR: NUMB (    0) MUST BE INPUT AS 3 OR MORE"}},
      {"slab side A zero",
       [](ModelDeck& m) { m.A = 0.0; },
       {"***ERROR: SLAB DIMENSION A (0.000E+00) MUST BE POSITIVE"}},
      {"slab side B negative",
       [](ModelDeck& m) {
         m.B = -60.0;
         m.ZONES(1, zone_col::YO) = -30.0;
       },
       {"***ERROR: SLAB DIMENSION B (-.600E+02) MUST BE POSITIVE"}},
      {"steel bar diameter zero",
       [](ModelDeck& m) { m.STEEL(1, steel_col::BARDIA) = 0.0; },
       {"***ERROR: STEEL MATERIAL ID    1: BAR DIA. (0.000E+00) MUST BE POSITIVE"}},
      {"steel modulus negative",
       [](ModelDeck& m) { m.STEEL(1, steel_col::E) = -29000.0; },
       {"***ERROR: STEEL MATERIAL ID    1: E (-.290E+05) MUST BE POSITIVE"}},
      {"steel Poisson ratio 0.5",
       [](ModelDeck& m) { m.STEEL(1, steel_col::MU) = 0.5; },
       {"***ERROR: STEEL MATERIAL ID    1: MU (0.500E+00) MUST LIE IN 0 <= MU < 0.5"}},
      {"concrete modulus zero",
       [](ModelDeck& m) { m.CONC(1, conc_col::E) = 0.0; },
       {"***ERROR: CONCRETE MATERIAL ID    1: E (0.000E+00) MUST BE POSITIVE"}},
      {"concrete Poisson ratio negative",
       [](ModelDeck& m) { m.CONC(1, conc_col::MU) = -0.1; },
       {"***ERROR: CONCRETE MATERIAL ID    1: MU (-.100E+00) MUST LIE IN 0 <= MU < 0.5"}},
      {"layer thickness zero",
       [](ModelDeck& m) { m.LAYERS(1, layer_col::THICK) = 0.0; },
       {"***ERROR: LAYER ID    1: THICK (0.000E+00) MUST BE POSITIVE"}},
      {"layer of neither material",
       [](ModelDeck& m) { m.LAYERS(2, layer_col::SID) = 0.0; },
       {"***ERROR: LAYER ID    2 HAS STEEL ID    0 AND CONCRETE ID    0",
        sp(10) + "A LAYER NEEDS A STEEL OR A CONCRETE MATERIAL"}},
      {"zone names an undefined layer",
       [](ModelDeck& m) { m.ZLAY(1, 4) = 7; },
       {"***ERROR: ZONE    1 IS REFERENCING LAYER ID    7 WHICH",
        sp(10) + "IS NOT DEFINED BY ANY LAYER STATEMENT"}},
      {"steel bar spacing negative",
       [](ModelDeck& m) { m.STEEL(1, steel_col::SPACING) = -6.0; },
       {"***ERROR: STEEL MATERIAL ID    1: SPACING (-.600E+01) MUST BE POSITIVE"}},
      {"nonlinear, layer names no damage law",
       [](ModelDeck& m) {
         makeNonlinear(m);
         m.LAYERS(1, layer_col::DLAW) = 9.0;
       },
       {"***ERROR: LAYER ID    1 IS REFERENCING DAMAGE LAW    9 WHICH",
        sp(10) + "IS NOT DEFINED BY ANY DAMAGE LAW STATEMENT"}},
  };
}

TEST(Validation, EachFatalErrorIsReportedAndEndsTheJobAfterTheEcho) {
  for (const FatalCase& c : fatalCases()) {
    SCOPED_TRACE(c.name);
    ModelDeck m = soundDeck();
    c.fault(m);
    ValidationRun r;
    validate(m, r, c.cap);
    EXPECT_EQ(r.nerr, 1);
    const std::ptrdiff_t message = indexOfBlock(r.report, c.message);
    const std::ptrdiff_t banner = indexOf(r.report, kBannerRule);
    const std::ptrdiff_t echoEnd = indexOf(r.report, kLastEchoLine);
    ASSERT_GE(message, 0);
    ASSERT_GE(banner, 0);
    ASSERT_GE(echoEnd, 0);
    if (c.afterEcho) {
      EXPECT_GT(message, echoEnd);
    } else {
      EXPECT_LT(message, banner);
    }
    EXPECT_EQ(tail(r.report, 9), terminationLines("      1"));
  }
}

TEST(Validation, EveryErrorOfTheDeckIsReportedInOneRun) {
  ModelDeck m = soundDeck();
  m.DLAWS(1, 2) = 0.0;             // zero modulus of the steel layer's law
  m.A = 0.0;                       // then the slab
  m.SLABMODEL = SlabLayout::NONE;  // then the layout
  ValidationRun r;
  validate(m, r);
  EXPECT_EQ(r.nerr, 3);
  const std::ptrdiff_t law =
      indexOf(r.report, "***ERROR: LAYER ID    2 IS REFERENCING DAMAGE LAW    1 WHICH");
  const std::ptrdiff_t slab =
      indexOf(r.report, "***ERROR: SLAB DIMENSION A (0.000E+00) MUST BE POSITIVE");
  const std::ptrdiff_t layout = indexOf(r.report, "***ERROR: SLAB MODEL     0 NOT RECOGNIZED");
  EXPECT_GE(law, 0);
  EXPECT_LT(law, slab);
  EXPECT_LT(slab, layout);
  EXPECT_LT(layout, indexOf(r.report, kBannerRule));
  EXPECT_EQ(tail(r.report, 9), terminationLines("      3"));
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInfinity = std::numeric_limits<double>::infinity();

TEST(Validation, NonlinearSolutionLimitsAndTolerances) {
  const struct {
    const char* name;
    std::function<void(ModelDeck&)> change;
    Lines messages;  // the errors, in order; none when the values are accepted
  } cases[] = {
      {"cracking iteration limit 0",
       [](ModelDeck& m) { m.NITCRK = 0; },
       {"***ERROR: THE NUMBER OF ITERATIONS FOR CONCRETE CRACKING (    0) MUST BE AT LEAST 1"}},
      {"pass limit negative",
       [](ModelDeck& m) { m.NPASSY = -3; },
       {"***ERROR: THE NUMBER OF PASSES THROUGH YIELDING SOLUTION (   -3) MUST BE AT LEAST 1"}},
      {"increment count 0",
       [](ModelDeck& m) { m.NINCY = 0; },
       {"***ERROR: THE NUMBER OF YIELDING LOAD INCREMENTS (    0) MUST BE AT LEAST 1"}},
      {"tolerance negative",
       [](ModelDeck& m) { m.CRKTOL = -0.1; },
       {"***ERROR: THE CONVERGENCE TOLERANCE FOR CONCRETE CRACKING (-.100E+00) MUST NOT BE "
        "NEGATIVE"}},
      {"tolerance not a number",
       [](ModelDeck& m) { m.CRKTOL = kNaN; },
       {"***ERROR: THE CONVERGENCE TOLERANCE FOR CONCRETE CRACKING IS NOT A FINITE NUMBER"}},
      {"tolerance infinite",
       [](ModelDeck& m) { m.CRKTOL = kInfinity; },
       {"***ERROR: THE CONVERGENCE TOLERANCE FOR CONCRETE CRACKING IS NOT A FINITE NUMBER"}},
      {"allowable deflection negative",
       [](ModelDeck& m) { m.WMAX = -2.5; },
       {"***ERROR: THE MAXIMUM ALLOWABLE NORMAL DEFLECTION (-.250E+01) MUST NOT BE NEGATIVE"}},
      {"allowable deflection minus infinity",
       [](ModelDeck& m) { m.WMAX = -kInfinity; },
       {"***ERROR: THE MAXIMUM ALLOWABLE NORMAL DEFLECTION IS NOT A FINITE NUMBER"}},
      {"allowable deflection not a number",
       [](ModelDeck& m) { m.WMAX = kNaN; },
       {"***ERROR: THE MAXIMUM ALLOWABLE NORMAL DEFLECTION IS NOT A FINITE NUMBER"}},
      {"every value refused, each counted",
       [](ModelDeck& m) {
         m.NITCRK = -1;
         m.NPASSY = 0;
         m.NINCY = -20;
         m.CRKTOL = -1.0e-3;
         m.WMAX = kInfinity;
       },
       {"***ERROR: THE NUMBER OF ITERATIONS FOR CONCRETE CRACKING (   -1) MUST BE AT LEAST 1",
        "***ERROR: THE NUMBER OF PASSES THROUGH YIELDING SOLUTION (    0) MUST BE AT LEAST 1",
        "***ERROR: THE NUMBER OF YIELDING LOAD INCREMENTS (  -20) MUST BE AT LEAST 1",
        "***ERROR: THE CONVERGENCE TOLERANCE FOR CONCRETE CRACKING (-.100E-02) MUST NOT BE "
        "NEGATIVE",
        "***ERROR: THE MAXIMUM ALLOWABLE NORMAL DEFLECTION IS NOT A FINITE NUMBER"}},
      {"limits of 1, zero tolerance, zero allowable deflection",
       [](ModelDeck& m) {
         m.NITCRK = 1;
         m.NPASSY = 1;
         m.NINCY = 1;
         m.CRKTOL = 0.0;
         m.WMAX = 0.0;
       },
       {}},
      {"strengths of 0 or less, which every stress would exceed",
       [](ModelDeck& m) {
         m.STEEL(1, steel_col::Y) = 0.0;
         m.CONC(1, conc_col::XT) = -0.45;
         m.CONC(1, conc_col::S) = 0.0;
       },
       {"***ERROR: STEEL MATERIAL ID    1: Y (0.000E+00) MUST BE POSITIVE",
        "***ERROR: CONCRETE MATERIAL ID    1: XT (-.450E+00) MUST BE POSITIVE",
        "***ERROR: CONCRETE MATERIAL ID    1: S (0.000E+00) MUST BE POSITIVE"}},
      {"a linear analysis ignores them",
       [](ModelDeck& m) {
         m.SOLPROC = SolutionProcedure::LINEAR;
         m.CONC(1, conc_col::XC) = 0.0;
         m.NITCRK = 0;
         m.CRKTOL = -1.0;
         m.WMAX = kNaN;
       },
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ModelDeck m = soundDeck();
    makeNonlinear(m);
    c.change(m);
    ValidationRun r;
    validate(m, r);
    const int count = static_cast<int>(c.messages.size());
    EXPECT_EQ(r.nerr, count);
    // The messages open the report, one line each, before the echo.
    EXPECT_EQ(Lines(r.report.begin(), r.report.begin() + count), c.messages);
    EXPECT_EQ(r.report[static_cast<std::size_t>(count)], "");
    EXPECT_EQ(r.report[static_cast<std::size_t>(count) + 3], kBannerRule);
    if (count > 0) {
      EXPECT_EQ(tail(r.report, 9), terminationLines("      " + std::to_string(count)));
    } else {
      EXPECT_EQ(r.report.back(), "");
      EXPECT_EQ(r.report[r.report.size() - 2], kLastEchoLine);
    }
  }
}

// Through the statement reader: a limit of 1 has been raised to 2 before the checks, so it
// draws only its warning; a limit of 0 draws the error.
TEST(Validation, SolutionLimitsAreCheckedAfterTheRaiseOfUnity) {
  namespace fs = std::filesystem;
  const std::string deckText =
      test::readFile(fs::path(KORVANT_SOURCE_DIR) / "examples/simply_supported.inp");
  const std::string solutionLine = "25  10  10  0.01  0.1";
  ASSERT_NE(deckText.find(solutionLine), std::string::npos);
  const struct {
    std::string line;
    int nerr;
    std::string message;
  } cases[] = {
      {"1  1  1  0.01  0.1", 0, "***WARNING: ITERATION LIMIT OF UNITY FOR CONVERGING CONCRETE"},
      {"0  1  1  0.01  0.1", 1,
       "***ERROR: THE NUMBER OF ITERATIONS FOR CONCRETE CRACKING (    0) MUST BE AT LEAST 1"},
      {"25  10  10  0.01  -0.1", 1,
       "***ERROR: THE MAXIMUM ALLOWABLE NORMAL DEFLECTION (-.100E+00) MUST NOT BE NEGATIVE"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    std::string text = deckText;
    text.replace(text.find(solutionLine), solutionLine.size(), c.line);
    DeckReader deck = DeckReader::fromText(text);
    ModelDeck model;
    std::ostringstream report, zones;
    Writer out(report), zoneOut(zones);
    WorkingFiles files;
    int CTOT = 0;
    EXPECT_EQ(readAndSetUp(deck, model, Capacities{}, out, zoneOut, files, CTOT), c.nerr);
    EXPECT_GE(indexOf(test::splitLines(report.str()), c.message), 0);
  }
}

TEST(Validation, LinearAnalysisNeedsNoDamageLaws) {
  ModelDeck m = soundDeck();
  m.NLAW = 0;
  ValidationRun r;
  validate(m, r);
  EXPECT_EQ(r.nerr, 0);
  EXPECT_EQ(r.files.damageLaws.read(1)[0], 0.0);
  EXPECT_TRUE(r.files.damageLaws.written(1));
}

// Global size (NUMA + 4)(NUMB + 4) uncoupled, (3 NUMA + 12)(NUMB + 4) coupled; band estimate
// 24 max + 46 coupled; uncoupled 8 max + 16, unless the band the assembly writes reaches
// further: it runs 4 (NUMA + NUMB + 4) columns past the diagonal column MXBD / 2 + 1, which
// fits first at MXBD = 8 (NUMA + NUMB + 4) + 1. Each figure is found as the smallest capacity
// that passes: one below it draws the message naming it.
TEST(Validation, MatrixSizeAndBandEstimateFigures) {
  const struct {
    int numa, numb;
    Coupling coupling;
    int size, band;
  } cases[] = {
      {31, 31, Coupling::W_ONLY, 35 * 35, 8 * 66 + 1},
      {31, 31, Coupling::COUPLED, (93 + 12) * 35, 790},
      {40, 26, Coupling::COUPLED, 132 * 30, 24 * 40 + 46},
      {9, 21, Coupling::W_ONLY, 13 * 25, 8 * 34 + 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.numa * 1000 + c.numb * 10 + codeNumber(c.coupling));
    for (int below : {0, 1}) {
      ModelDeck m = soundDeck();
      m.NUMA = c.numa;
      m.NUMB = c.numb;
      m.COUPLING = c.coupling;
      Capacities cap;
      cap.MXD1 = c.size - below;
      cap.MXBD = c.band - below;
      ValidationRun r;
      validate(m, r, cap);
      EXPECT_EQ(r.nerr, 2 * below);
      const std::string size = std::to_string(c.size);
      const std::string band = std::to_string(c.band);
      const std::ptrdiff_t sizeLine = indexOf(
          r.report, sp(10) + "SIZE" + sp(7 - static_cast<int>(size.size())) + size +
                        " WHICH EXCEEDS MAXIMUM OF" + sp(7 - static_cast<int>(size.size())) +
                        std::to_string(c.size - 1) + ".");
      const std::ptrdiff_t bandLine =
          indexOf(r.report, sp(10) + "BY " + sp(6 - static_cast<int>(band.size())) + band +
                                ". THIS EXCEEDS THE MAXIMUM DIMENSION OF");
      EXPECT_EQ(sizeLine >= 0, below == 1);
      EXPECT_EQ(bandLine >= 0, below == 1);
    }
  }
}

TEST(Validation, CoupledBandRequestIsResetToFullStorage) {
  const Lines warning = {"***WARNING: A COUPLED SOLUTION IS REQUESTED USING A BAND",
                         "            STORAGE MODE. THIS APPEARS TO CAUSE PROBLEMS",
                         "            IN THE SOLVER.",
                         "",
                         "            CORRECTIVE ACTION: THE STORAGE MODE WILL BE",
                         "                               RESET TO FULL"};
  // Default settings: coupled and banded.
  ModelDeck m = soundDeck();
  m.COUPLING = ModelDeck{}.COUPLING;
  m.SOLVER = ModelDeck{}.SOLVER;
  ValidationRun r;
  validate(m, r);
  EXPECT_EQ(r.nerr, 0);
  EXPECT_EQ(m.SOLVER, EquationSolver::FULL);
  EXPECT_EQ(indexOfBlock(r.report, warning), 0);
  // The echo shows the solution options after the reset.
  const Lines options = {sp(15) + "* A FULLY COUPLED SOLUTION WILL BE OBTAINED",
                         "",
                         sp(15) + "* CENTRAL DIFFERENCES WILL BE USED ALONG EXTERNAL BOUNDARIES",
                         "",
                         sp(15) + "* NEUTRAL SURFACE CALCULATED USING WEIGHTED SECTIONS",
                         "",
                         sp(15) + "* EQUATION SOLVER FOR FULL MATRICES WILL BE USED",
                         "",
                         sp(15) + "* ZONE OVERLAP FACTOR = 1.00500",
                         ""};
  EXPECT_EQ(tail(r.report, options.size()), options);

  // Uncoupled, or coupled with full storage asked for: no warning.
  for (const auto& [coupling, solver] : {std::pair{Coupling::W_ONLY, EquationSolver::BAND},
                                         std::pair{Coupling::COUPLED, EquationSolver::FULL}}) {
    ModelDeck n = soundDeck();
    n.COUPLING = coupling;
    n.SOLVER = solver;
    ValidationRun q;
    validate(n, q);
    EXPECT_EQ(n.SOLVER, solver);
    EXPECT_EQ(indexOf(q.report, warning[0]), -1);
  }
}

Lines loadRows(const ModelDeck& m) {
  Lines rows;
  for (int k = 1; k <= m.NLOAD; ++k) {
    std::ostringstream s;
    for (int c = 1; c <= load_col::COUNT; ++c) s << (c > 1 ? " " : "") << m.LOADS(k, c);
    rows.push_back(s.str());
  }
  return rows;
}

TEST(Validation, DefaultLoadFillsUnloadedZonesOnly) {
  const struct {
    const char* name;
    std::function<void(ModelDeck&)> deck;
    Lines rows;  // number type magnitude zone, after the fill
  } cases[] = {
      {"one dead load on zone 1 of two",
       [](ModelDeck& m) {
         setRow(m.LOADS, 1, {3, 2, 0.02, 1});
         addZone(m, 2);
       },
       {"3 2 0.02 1", "3 1 0.5 2"}},
      {"two dead loads on zone 1, two zones: counts match, nothing added",
       [](ModelDeck& m) {
         setRow(m.LOADS, 1, {1, 2, 0.02, 1});
         setRow(m.LOADS, 2, {1, 2, 0.03, 1});
         m.NLOAD = 2;
         addZone(m, 2);
       },
       {"1 2 0.02 1", "1 2 0.03 1"}},
      {"no loads, zones numbered 5 and 7",
       [](ModelDeck& m) {
         m.NLOAD = 0;
         m.ZONES(1, zone_col::NUMBER) = 5;
         addZone(m, 7);
       },
       {"1 1 0.5 5", "1 1 0.5 7"}},
      {"a uniform load of the deck covers every zone",
       [](ModelDeck& m) {
         addZone(m, 2);
         addZone(m, 3);
       },
       {"1 1 0.01 0"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ModelDeck m = soundDeck();
    m.PDEF = 0.5;
    c.deck(m);
    ValidationRun r;
    validate(m, r);
    EXPECT_EQ(r.nerr, 0);
    EXPECT_EQ(loadRows(m), c.rows);
  }
}

TEST(Validation, UniformLoadNeedsNoDefaultPressure) {
  ModelDeck m = soundDeck();  // one uniform load, no DEFAULT P
  addZone(m, 2);
  ValidationRun r;
  validate(m, r);
  EXPECT_EQ(r.nerr, 0);
  EXPECT_EQ(m.NLOAD, 1);
}

// Column block: A/(NUMA - 1) * NCOL and B/(NUMB - 1) * NCOL as F7.4, written for the
// 9-column layout right after the echo, for the 4-column and user layouts after the zone
// plot, for no other layout.
TEST(Validation, QuarterColumnBlock) {
  const Lines block = {"",
                       "",
                       sp(17) + "*** DISCRETIZATION PARAMETERS YIELDS AN EFFECTIVE",
                       sp(21) + "QUARTER COLUMN CROSS SECTION GIVEN BY",
                       sp(24) + "       A         B    ",
                       sp(27) + "20.0000" + sp(3) + " 7.5000",
                       ""};
  using enum SlabLayout;
  for (SlabLayout layout : {NINE_COLUMN, CLAMPED_PLATE, FOUR_COLUMN_FREE, FOUR_COLUMN_SYM, SSCF,
                            SFSF, FSFS, SIMPLY_SUPPORTED, USER_DEFINED}) {
    SCOPED_TRACE(codeNumber(layout));
    ModelDeck m = soundDeck();
    m.SLABMODEL = layout;
    m.NUMB = 17;  // 60 / 16 * 2 = 7.5
    if (layout == USER_DEFINED) addSimplePoint(m);
    ValidationRun r;
    validate(m, r);
    EXPECT_EQ(r.nerr, 0);
    const bool written = layout == NINE_COLUMN || layout == FOUR_COLUMN_FREE ||
                         layout == FOUR_COLUMN_SYM || layout == USER_DEFINED;
    EXPECT_EQ(indexOfBlock(r.report, block), written ? indexOf(r.report, kLastEchoLine) + 2 : -1);
  }
}

TEST(Validation, NineColumnLayoutWithOddGridPasses) {
  ModelDeck m = soundDeck();
  m.SLABMODEL = SlabLayout::NINE_COLUMN;
  m.NUMA = 21;
  m.NUMB = 21;
  ValidationRun r;
  validate(m, r);
  EXPECT_EQ(r.nerr, 0);
}

// An oversized grid is refused before its points are set up: they would only fill memory.
TEST(Validation, RefusedGridIsNotSetUp) {
  ModelDeck m = soundDeck();
  m.NUMA = 3000;
  m.NUMB = 3000;
  ValidationRun r;
  validate(m, r);
  EXPECT_EQ(r.nerr, 2);  // size and band estimate
  EXPECT_EQ(r.CTOT, 0);
  EXPECT_FALSE(r.files.initialLayers.written(1));
  EXPECT_TRUE(r.files.damageLaws.written(1));
}

struct FactorCase {
  double a, b, c, d;
  std::string k2, k3;
  bool negative, aboveUnity;
};

TEST(Validation, ReductionFactorWarnings) {
  // K(2) = a + b + 3c + 7d, K(3) = a + 2b + 8c + 26d.
  const FactorCase cases[] = {
      {1, 0, 0, -0.1, "0.300E+00", "-.160E+01", true, false},
      {0.5, 0.5, 0, 0, "0.100E+01", "0.150E+01", false, true},
      {2, 0, 0, -0.1, "0.130E+01", "-.600E+00", true, true},
      {1, -0.1, -0.05, 0, "0.750E+00", "0.400E+00", false, false},
  };
  for (const FactorCase& c : cases) {
    SCOPED_TRACE(c.k2 + " " + c.k3);
    std::ostringstream text;
    Writer out(text);
    checkReductionFactors(c.a, c.b, c.c, c.d, out);
    const Lines opening = {"", "***WARNING: EQUATION LAW FOR POST-FAILURE MODULUS REDUCTION",
                           sp(12) + "FOR STRESS RATIOS EQUAL TO 2.0 AND 3.0 YIELDS",
                           sp(12) + "REDUCTION FACTORS OF " + c.k2 + " AND " + c.k3, ""};
    Lines expected;
    if (c.negative) {
      expected.insert(expected.end(), opening.begin(), opening.end());
      expected.push_back(sp(12) + "CORRECTIVE ACTION: NEGATIVE VALUES WILL BE SET");
      expected.push_back(sp(12) + "EQUAL TO THE DEFAULT POST-FAILURE MODULI");
      expected.push_back("");
    }
    if (c.aboveUnity) {
      expected.insert(expected.end(), opening.begin(), opening.end());
      expected.push_back(sp(12) + "CORRECTIVE ACTION: VALUES GREATER THAN UNITY WILL BE");
      expected.push_back(sp(12) + "SET EQUAL TO THE POST-FAILURE DEFAULT MODULI");
      expected.push_back("");
    }
    EXPECT_EQ(test::splitLines(text.str()), expected);
  }
}

}  // namespace
}  // namespace korvant

namespace korvant {
namespace {

// The example decks of the input checks each hold one fault, named on their second line
// ("** Expected: " and the first line of the message, "..." standing for the rest).
TEST(Validation, ErrorDecksDrawTheirOneError) {
  namespace fs = std::filesystem;
  int decks = 0;
  for (const auto& entry :
       fs::directory_iterator(fs::path(KORVANT_SOURCE_DIR) / "examples/errors")) {
    if (entry.path().extension() != ".inp") continue;
    SCOPED_TRACE(entry.path().filename().string());
    ++decks;
    const Lines text = test::splitLines(test::readFile(entry.path()));
    ASSERT_GE(text.size(), 2u);
    const std::string prefix = "** Expected: ";
    ASSERT_EQ(text[1].rfind(prefix, 0), 0u);
    std::string expected = text[1].substr(prefix.size());
    expected = expected.substr(0, expected.find(" ..."));
    expected = expected.substr(0, expected.find(" ("));  // a note in parentheses

    DeckReader deck = DeckReader::fromFile(entry.path().string());
    ModelDeck model;
    std::ostringstream report, zones;
    Writer out(report), zoneOut(zones);
    WorkingFiles files;
    int CTOT = 0;
    EXPECT_EQ(readAndSetUp(deck, model, Capacities{}, out, zoneOut, files, CTOT), 1);
    EXPECT_NE(report.str().find(expected), std::string::npos) << expected;
  }
  EXPECT_GE(decks, 20);
}

}  // namespace
}  // namespace korvant
