#include "output/result_tables.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "section/layer_results.hpp"
#include "support/test_support.hpp"

namespace korvant {
namespace {

using Lines = std::vector<std::string>;

using test::at;

void append(Lines& to, const Lines& more) {
  to.insert(to.end(), more.begin(), more.end());
}

// A 2 x 2 grid over a 2 x 1 slab: DX = 2, DY = 1. Point order (I, J): (1,1) at (0, 0),
// (2,1) at (0, 1), (1,2) at (2, 0), (2,2) at (2, 1).
struct Tables {
  ModelDeck model;
  DifferenceGrid grid{2.0, 1.0, 2, 2};
  Matrix<double> solution{4000, 1};
  WorkingFiles files;
  std::ostringstream out;
  Writer report{out};

  Tables() { model.A = 2.0, model.B = 1.0, model.NUMA = 2, model.NUMB = 2; }
  Lines lines() const { return test::splitLines(out.str()); }
};

Lines banner44(int indent, const Lines& inside) {
  Lines l{"", "", "", at(indent, std::string(44, '@'))};
  for (const std::string& s : inside) l.push_back(at(indent, s));
  l.push_back(at(indent, std::string(44, '@')));
  l.push_back("");
  return l;
}
const std::string kFrame44 = "@@@" + std::string(38, ' ') + "@@@";
const std::string kFrame46 = "@@@" + std::string(40, ' ') + "@@@";

TEST(ResultTables, LinearDisplacementsWOnlyFullTableWithFirstOfTiedMaxima) {
  Tables t;
  t.model.COUPLING = Coupling::W_ONLY;
  t.solution(2) = -0.0015;  // (0, 1)
  t.solution(3) = 0.0015;   // (2, 0): same magnitude, later point
  t.solution(4) = 0.001;
  PRNLU(t.solution, t.model, t.grid, 0, t.report);
  Lines expected = banner44(15, {kFrame44, "@@@     L I N E A R  A N A L Y S I S     @@@", kFrame44,
                                 "@@@          TOTAL DISPLACEMENTS         @@@", kFrame44});
  append(
      expected,
      {"", "", at(23, "S O L U T I O N   V E C T O R"), at(23, std::string(29, '-')), "",
       at(23, "  X           Y           W"), "", at(19, "0.00000E+00  0.00000E+00  0.00000E+00"),
       at(19, "0.00000E+00  0.10000E+01  -.15000E-02"),
       at(19, "0.20000E+01  0.00000E+00  0.15000E-02"),
       at(19, "0.20000E+01  0.10000E+01  0.10000E-02"), "", "", at(29, "MAXIMUM DEFLECTION:"), "",
       at(20, "     X            Y          W_max  "),
       at(20, "0.00000E+00  0.10000E+01  -.15000E-02"), "", ""});
  EXPECT_EQ(t.lines(), expected);
}

TEST(ResultTables, LinearDisplacementsCoupledFullAndMaximaOnly) {
  // u, v, w of the four points; all-zero v reports its maximum at X = Y = 0.
  const double u[4] = {1e-4, -2e-4, 0.0, 5e-5}, w[4] = {0.0, 0.0, 0.25, -0.125};
  const Lines maxima{"",
                     "",
                     at(29, "MAXIMUM DEFLECTIONS:"),
                     "",
                     at(21, "     X           Y          U_max  "),
                     at(21, "0.00000E+00  0.10000E+01  -.20000E-03"),
                     "",
                     at(21, "     X           Y          V_max  "),
                     at(21, "0.00000E+00  0.00000E+00  0.00000E+00"),
                     "",
                     at(21, "     X           Y          W_max  "),
                     at(21, "0.20000E+01  0.00000E+00  0.25000E+00"),
                     "",
                     ""};
  const Lines full{"",
                   "",
                   at(23, "S O L U T I O N  V E C T O R"),
                   at(23, std::string(28, '-')),
                   "",
                   at(11, "X            Y            U            V            W"),
                   "",
                   at(6, "0.00000E+00  0.00000E+00  0.10000E-03  0.00000E+00  0.00000E+00"),
                   at(6, "0.00000E+00  0.10000E+01  -.20000E-03  0.00000E+00  0.00000E+00"),
                   at(6, "0.20000E+01  0.00000E+00  0.00000E+00  0.00000E+00  0.25000E+00"),
                   at(6, "0.20000E+01  0.10000E+01  0.50000E-04  0.00000E+00  -.12500E+00")};
  for (bool PRINTMAX : {false, true}) {
    SCOPED_TRACE(PRINTMAX);
    Tables t;
    t.model.COUPLING = Coupling::COUPLED;
    t.model.PRINTMAX = PRINTMAX;
    for (int n = 1; n <= 4; ++n) {
      t.solution(3 * n - 2) = u[n - 1];
      t.solution(3 * n) = w[n - 1];
    }
    PRNLU(t.solution, t.model, t.grid, 3, t.report);
    Lines expected =
        banner44(15, {kFrame44, "@@@     L I N E A R  A N A L Y S I S     @@@", kFrame44,
                      "@@@           LOAD CASE     3            @@@", kFrame44});
    if (!PRINTMAX) append(expected, full);
    append(expected, maxima);
    EXPECT_EQ(t.lines(), expected);
  }
}

TEST(ResultTables, NonlinearDisplacementsShowTheLoadCaseAndTheStageHeading) {
  struct Case {
    SolutionStage STAGE;
    Lines heading;
  };
  const std::vector<Case> cases{
      {SolutionStage::INITIAL_ELASTIC,
       {"", at(25, "==========================="), at(25, "= LINEAR ELASTIC SOLUTION ="),
        at(25, "==========================="), ""}},
      {SolutionStage::CRACKING,
       {"", at(12, std::string(51, '=')),
        at(12, "= TOTAL SOLUTION ACCOUNTING FOR CONCRETE CRACKING ="), at(12, std::string(51, '=')),
        ""}},
      {SolutionStage::COMBINED,
       {"", at(17, std::string(42, '=')), at(17, "= FINAL SOLUTION ACCOUNTING FOR COMBINED ="),
        at(17, "= CONCRETE CRACKING AND STEEL YIELDING   ="), at(17, std::string(42, '=')), ""}},
      {SolutionStage::YIELDING,
       {"", at(7, std::string(61, '=')),
        at(7, "= FINAL SOLUTION ACCOUNTING FOR INCREMENTAL STEEL YIELDING ="),
        at(7, std::string(61, '=')), ""}},
      {SolutionStage::FAILED_COMBINED,
       {"", at(7, std::string(61, '=')),
        at(7, "=    FINAL SOLUTION VECTOR OBTAINED IN FAILED INCREMENTAL   ="),
        at(7, "=    STEEL YIELDING SOLUTION                                ="),
        at(7, std::string(61, '=')), ""}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(codeNumber(k.STAGE));
    Tables t;
    t.model.COUPLING = Coupling::W_ONLY;
    t.model.PRINTMAX = true;
    t.solution(4) = -0.5;
    PRNNU(t.solution, t.model, t.grid, 0, k.STAGE, t.report);
    Lines expected{"",
                   "",
                   "",
                   at(15, std::string(46, '@')),
                   at(15, kFrame46),
                   at(15, "@@@   N O N L I N E A R  A N A L Y S I S   @@@"),
                   at(15, kFrame46),
                   at(15, "@@@             LOAD CASE     0            @@@"),
                   at(15, kFrame46),
                   at(15, std::string(46, '@')),
                   ""};
    append(expected, k.heading);
    append(expected, {"", "", at(29, "MAXIMUM DEFLECTION:"), "",
                      at(20, "     X            Y          W_max  "),
                      at(20, "0.20000E+01  0.10000E+01  -.50000E+00"), "", ""});
    EXPECT_EQ(t.lines(), expected);
  }
}

// Fibre records of the four points: lower-face strains (n * 1e-4, -n * 1e-4, 0) and upper-face
// stresses (10 n, 0, -n) with point 3 the largest in magnitude.
void fillFibres(WorkingFiles& files) {
  const double scale[4] = {1.0, 2.0, -4.0, 3.0};
  for (int n = 1; n <= 4; ++n) {
    FibreResults f;
    f(fibre_field::LOWER_EXX) = scale[n - 1] * 1e-4;
    f(fibre_field::LOWER_EYY) = -scale[n - 1] * 1e-4;
    f(fibre_field::UPPER_SXX) = 10.0 * scale[n - 1];
    f(fibre_field::UPPER_SXY) = -scale[n - 1];
    writeFibreResults(files.fibreResults, n, f);
  }
}

TEST(ResultTables, LinearFibreTablesOfUpperStressesAndLowerStrains) {
  Tables t;
  t.model.PRINTREQ = "DS  E ";
  fillFibres(t.files);
  PRNLS(t.model, t.grid, 0, t.files.fibreResults, t.report);
  Lines expected = banner44(18, {kFrame44, "@@@     L I N E A R  A N A L Y S I S     @@@",
                                 "@@@        STRESS/STRAIN SOLUTION        @@@",
                                 "@@@          APPLIED TOTAL LOAD          @@@", kFrame44});
  append(expected, {"",
                    "",
                    at(28, "UPPER FIBER STRESSES:"),
                    "",
                    at(13, "X           Y           SXX          SYY          SXY "),
                    "",
                    at(8, "0.00000E+00  0.00000E+00  0.10000E+02  0.00000E+00  -.10000E+01"),
                    at(8, "0.00000E+00  0.10000E+01  0.20000E+02  0.00000E+00  -.20000E+01"),
                    at(8, "0.20000E+01  0.00000E+00  -.40000E+02  0.00000E+00  0.40000E+01"),
                    at(8, "0.20000E+01  0.10000E+01  0.30000E+02  0.00000E+00  -.30000E+01"),
                    "",
                    "",
                    at(26, "MAXIMUM UPPER FIBER STRESSES:"),
                    "",
                    at(22, "     X            Y         SXX_max  "),
                    at(22, "0.20000E+01  0.00000E+00  -.40000E+02"),
                    "",
                    at(22, "     X            Y         SYY_max  "),
                    at(22, "0.00000E+00  0.00000E+00  0.00000E+00"),
                    "",
                    at(22, "     X            Y         TXY_max  "),
                    at(22, "0.20000E+01  0.00000E+00  0.40000E+01"),
                    "",
                    ""});
  append(expected, {"",
                    "",
                    at(28, "LOWER FIBER STRAINS:"),
                    "",
                    at(13, "X           Y           EXX          EYY          EXY "),
                    "",
                    at(8, "0.00000E+00  0.00000E+00  0.10000E-03  -.10000E-03  0.00000E+00"),
                    at(8, "0.00000E+00  0.10000E+01  0.20000E-03  -.20000E-03  0.00000E+00"),
                    at(8, "0.20000E+01  0.00000E+00  -.40000E-03  0.40000E-03  0.00000E+00"),
                    at(8, "0.20000E+01  0.10000E+01  0.30000E-03  -.30000E-03  0.00000E+00"),
                    "",
                    "",
                    at(26, "MAXIMUM LOWER FIBER STRAINS:"),
                    "",
                    at(22, "     X            Y         EXX_max  "),
                    at(22, "0.20000E+01  0.00000E+00  -.40000E-03"),
                    "",
                    at(22, "     X            Y         EYY_max  "),
                    at(22, "0.20000E+01  0.00000E+00  0.40000E-03"),
                    "",
                    at(22, "     X            Y         GXY_max  "),
                    at(22, "0.00000E+00  0.00000E+00  0.00000E+00"),
                    "",
                    ""});
  EXPECT_EQ(t.lines(), expected);
}

TEST(ResultTables, NonlinearFibreMaximaOnly) {
  Tables t;
  t.model.PRINTREQ = "   E  ";
  t.model.PRINTMAX = true;
  fillFibres(t.files);
  PRNNS(t.model, t.grid, 1, t.files.fibreResults, t.report);
  Lines expected = banner44(18, {kFrame44, "@@@  N O N L I N E A R  A N A L Y S I S  @@@",
                                 "@@@        STRESS/STRAIN SOLUTION        @@@",
                                 "@@@           LOAD CASE     1            @@@", kFrame44});
  append(expected, {"", "", at(26, "MAXIMUM UPPER FIBER STRAINS:"), "",
                    at(22, "     X            Y         EXX_max  "),
                    at(22, "0.00000E+00  0.00000E+00  0.00000E+00"), "",
                    at(22, "     X            Y         EYY_max  "),
                    at(22, "0.00000E+00  0.00000E+00  0.00000E+00"), "",
                    at(22, "     X            Y         GXY_max  "),
                    at(22, "0.00000E+00  0.00000E+00  0.00000E+00"), "", ""});
  EXPECT_EQ(t.lines(), expected);
}

TEST(ResultTables, FailureMeasuresAlwaysInFull) {
  Tables t;
  t.model.PRINTREQ = "     F";
  t.model.PRINTMAX = true;
  const double ratio[4] = {0.0, 0.5, 0.25, 1.0};
  for (int n = 1; n <= 4; ++n) t.files.failureRatio.write(n, std::vector<double>{ratio[n - 1]});
  PRNNF(t.model, t.grid, 1, t.files.failureRatio, t.report);
  Lines expected = {"",
                    "",
                    "",
                    at(16, std::string(44, '@')),
                    at(16, kFrame44),
                    at(16, "@@@  N O N L I N E A R  A N A L Y S I S  @@@"),
                    at(16, "@@@        FAILURE STATE SOLUTION        @@@"),
                    at(16, "@@@ (RATIO = N_failed / N_total layers)  @@@"),
                    at(16, "@@@           LOAD CASE     1            @@@"),
                    at(16, kFrame44),
                    at(16, std::string(44, '@')),
                    ""};
  append(expected, {"", "", at(23, "F A I L U R E  M E A S U R E S"), at(23, std::string(30, '-')),
                    "", at(21, "    X           Y         RATIO"), "",
                    at(20, "0.00000E+00  0.00000E+00  0.00000E+00"),
                    at(20, "0.00000E+00  0.10000E+01  0.50000E+00"),
                    at(20, "0.20000E+01  0.00000E+00  0.25000E+00"),
                    at(20, "0.20000E+01  0.10000E+01  0.10000E+01"), "", "", ""});
  EXPECT_EQ(t.lines(), expected);
}

TEST(ResultTables, BlankRequestsPrintNothing) {
  Tables t;
  t.model.PRINTREQ = "      ";
  fillFibres(t.files);
  PRNLU(t.solution, t.model, t.grid, 0, t.report);
  PRNNU(t.solution, t.model, t.grid, 1, SolutionStage::CRACKING, t.report);
  PRNLS(t.model, t.grid, 0, t.files.fibreResults, t.report);
  PRNNS(t.model, t.grid, 1, t.files.fibreResults, t.report);
  PRNNF(t.model, t.grid, 1, t.files.failureRatio, t.report);
  EXPECT_EQ(t.out.str(), "");
}

}  // namespace
}  // namespace korvant
