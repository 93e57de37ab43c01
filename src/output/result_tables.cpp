#include "output/result_tables.hpp"

#include <array>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "output/maxima.hpp"
#include "section/layer_results.hpp"
#include "section/layer_table.hpp"

namespace korvant {
namespace {

using namespace fmt;

// Calls visit(n, x, y) for every point in record order (J outer, I inner).
template <typename Visit>
void forEachPoint(const DifferenceGrid& grid, Visit visit) {
  for (int J = 1; J <= grid.NUMA; ++J)
    for (int I = 1; I <= grid.NUMB; ++I) visit(I, J, grid.x(J), grid.y(I));
}

// A line inside a banner: "" is a blank frame line ("@@@", blanks, "@@@").
std::string frameLine(int width, std::string_view text) {
  if (!text.empty()) return std::string(text);
  return "@@@" + std::string(static_cast<std::size_t>(width - 6), ' ') + "@@@";
}

// Framed banner: three blank lines, the border, the lines, the border, one blank line.
void banner(Writer& out, int indent, int width, const std::vector<std::string>& lines) {
  out.blank(3);
  const std::string border(static_cast<std::size_t>(width), '@');
  out.line(X(indent), border);
  for (const std::string& text : lines) out.line(X(indent), frameLine(width, text));
  out.line(X(indent), border);
  out.blank();
}

std::string loadCaseLine44(int loadCase) {
  return line("@@@           LOAD CASE", I(6, loadCase), "            @@@");
}

// --- displacements ---------------------------------------------------------------------

// The displacement tables after the banner: the full table (PRINTMAX off) and the maxima.
void displacementTables(const Matrix<double>& solution, const ModelDeck& model,
                        const DifferenceGrid& grid, Writer& out) {
  const bool coupled = model.COUPLING == Coupling::COUPLED;
  const bool full = !model.PRINTMAX;
  if (full) {
    out.blank(2);
    if (coupled) {
      out.line(X(23), "S O L U T I O N  V E C T O R");
      out.line(X(23), std::string(28, '-'));
      out.blank();
      out.line(X(11), "X", X(12), "Y", X(12), "U", X(12), "V", X(12), "W");
    } else {
      out.line(X(23), "S O L U T I O N   V E C T O R");
      out.line(X(23), std::string(29, '-'));
      out.blank();
      out.line(X(23), "  X           Y           W");
    }
    out.blank();
  }
  if (full) {
    forEachPoint(grid, [&](int I, int J, double x, double y) {
      const int k = EQN(I, J, grid.NUMA, grid.NUMB, Numbering::REAL, model.COUPLING);
      if (coupled)
        out.line(X(6), E(11, 5, x), X(2), E(11, 5, y), X(2), E(11, 5, solution(k)), X(2),
                 E(11, 5, solution(k + 1)), X(2), E(11, 5, solution(k + 2)), X(2));
      else
        out.line(X(19), E(11, 5, x), X(2), E(11, 5, y), X(2), E(11, 5, solution(k)), X(2));
    });
  }
  const std::array<Peak, 3> peak = displacementPeaks(solution, model, grid);  // u, v, w
  out.blank(2);
  if (!coupled) {
    out.line(X(29), "MAXIMUM DEFLECTION:");
    out.blank();
    out.line(X(20), "     X            Y          W_max  ");
    out.line(X(20), E(11, 5, peak[2].x), X(2), E(11, 5, peak[2].y), X(2), E(11, 5, peak[2].value),
             X(2));
    out.blank(2);
    return;
  }
  out.line(X(29), "MAXIMUM DEFLECTIONS:");
  out.blank();
  const std::array<const char*, 3> labels{"     X           Y          U_max  ",
                                          "     X           Y          V_max  ",
                                          "     X           Y          W_max  "};
  for (std::size_t c = 0; c < 3; ++c) {
    out.line(X(21), labels[c]);
    out.line(X(21), E(11, 5, peak[c].x), X(2), E(11, 5, peak[c].y), X(2), E(11, 5, peak[c].value),
             X(2));
    out.blank();
  }
  out.blank();
}

// Heading of a nonlinear solution stage: its indent and the lines between its borders.
struct StageHeading {
  SolutionStage stage;
  int indent;
  int border;
  std::vector<std::string> lines;
};

const std::vector<StageHeading>& stageHeadings() {
  static const std::vector<StageHeading> headings{
      {SolutionStage::INITIAL_ELASTIC, 25, 27, {"= LINEAR ELASTIC SOLUTION ="}},
      {SolutionStage::CRACKING, 12, 51, {"= TOTAL SOLUTION ACCOUNTING FOR CONCRETE CRACKING ="}},
      {SolutionStage::COMBINED,
       17,
       42,
       {"= FINAL SOLUTION ACCOUNTING FOR COMBINED =",
        "= CONCRETE CRACKING AND STEEL YIELDING   ="}},
      {SolutionStage::YIELDING,
       7,
       61,
       {"= FINAL SOLUTION ACCOUNTING FOR INCREMENTAL STEEL YIELDING ="}},
      {SolutionStage::FAILED_COMBINED,
       7,
       61,
       {"=    FINAL SOLUTION VECTOR OBTAINED IN FAILED INCREMENTAL   =",
        "=    STEEL YIELDING SOLUTION                                ="}},
  };
  return headings;
}

// The stage heading; a stage without one prints nothing.
void stageHeading(SolutionStage STAGE, Writer& out) {
  for (const StageHeading& h : stageHeadings()) {
    if (h.stage != STAGE) continue;
    const std::string border(static_cast<std::size_t>(h.border), '=');
    out.blank();
    out.line(X(h.indent), border);
    for (const std::string& text : h.lines) out.line(X(h.indent), text);
    out.line(X(h.indent), border);
    out.blank();
  }
}

// --- outer fibres ----------------------------------------------------------------------

struct FibreItem {
  int position;    // request position in PRINTREQ
  int firstValue;  // FibreResults value of its XX component; YY and XY follow
  const char* heading;
  const char* columns;
  const char* maxHeading;
  std::array<const char*, 3> labels;
};

const std::array<FibreItem, 4>& fibreItems() {
  static constexpr const char* kStressColumns =
      "X           Y           SXX          SYY          SXY ";
  static constexpr const char* kStrainColumns =
      "X           Y           EXX          EYY          EXY ";
  static const std::array<FibreItem, 4> items{{
      {request::UPPER_STRESSES,
       fibre_field::UPPER_SXX,
       "UPPER FIBER STRESSES:",
       kStressColumns,
       "MAXIMUM UPPER FIBER STRESSES:",
       {"SXX_max", "SYY_max", "TXY_max"}},
      {request::LOWER_STRESSES,
       fibre_field::LOWER_SXX,
       "LOWER FIBER STRESSES:",
       kStressColumns,
       "MAXIMUM LOWER FIBER STRESSES:",
       {"SXX_max", "SYY_max", "TXY_max"}},
      {request::UPPER_STRAINS,
       fibre_field::UPPER_EXX,
       "UPPER FIBER STRAINS:",
       kStrainColumns,
       "MAXIMUM UPPER FIBER STRAINS:",
       {"EXX_max", "EYY_max", "GXY_max"}},
      {request::LOWER_STRAINS,
       fibre_field::LOWER_EXX,
       "LOWER FIBER STRAINS:",
       kStrainColumns,
       "MAXIMUM LOWER FIBER STRAINS:",
       {"EXX_max", "EYY_max", "GXY_max"}},
  }};
  return items;
}

// One fibre item: its full table (PRINTMAX off) and its maxima; every record is read.
void fibreItemTables(const FibreItem& item, const ModelDeck& model, const DifferenceGrid& grid,
                     const RecordStore& fibreResults, Writer& out) {
  const bool full = !model.PRINTMAX;
  if (full) {
    out.blank(2);
    out.line(X(28), item.heading);
    out.blank();
    out.line(X(13), item.columns);
    out.blank();
  }
  if (full) {
    forEachPoint(grid, [&](int I, int J, double x, double y) {
      const FibreResults f = readFibreResults(fibreResults, pointRecord(I, J, grid.NUMB));
      out.line(X(8), E(11, 5, x), X(2), E(11, 5, y), X(2), E(11, 5, f(item.firstValue)), X(2),
               E(11, 5, f(item.firstValue + 1)), X(2), E(11, 5, f(item.firstValue + 2)), X(2));
    });
  }
  const std::array<Peak, 3> peak = fibrePeaks(fibreResults, grid, item.firstValue);
  out.blank(2);
  out.line(X(26), item.maxHeading);
  out.blank();
  for (std::size_t c = 0; c < 3; ++c) {
    out.line(X(22), "     X            Y         ", item.labels[c], "  ");
    out.line(X(22), E(11, 5, peak[c].x), X(2), E(11, 5, peak[c].y), X(2), E(11, 5, peak[c].value),
             X(2));
    out.blank();
  }
  out.blank();
}

// The line that names the state a table of a load path shows, below the table's banner at
// its indent; nothing for the tables of the stages.
void stateLine(int indent, std::string_view state, Writer& out) {
  if (state.empty()) return;
  out.line(X(indent), state);
  out.blank();
}

void fibreBlock(std::string_view analysisLine, const ModelDeck& model, const DifferenceGrid& grid,
                int loadCase, const RecordStore& fibreResults, Writer& out,
                std::string_view state = {}) {
  if (!fibreItemsRequested(model.PRINTREQ)) return;
  banner(out, 18, 44,
         {"", std::string(analysisLine), "@@@        STRESS/STRAIN SOLUTION        @@@",
          loadCase >= 1 ? loadCaseLine44(loadCase) : "@@@          APPLIED TOTAL LOAD          @@@",
          ""});
  stateLine(18, state, out);
  for (const FibreItem& item : fibreItems())
    if (requested(model.PRINTREQ, item.position))
      fibreItemTables(item, model, grid, fibreResults, out);
}

void nonlinearBanner(int loadCase, Writer& report) {
  banner(report, 15, 46,
         {"", "@@@   N O N L I N E A R  A N A L Y S I S   @@@", "",
          line("@@@             LOAD CASE", I(6, loadCase), "            @@@"), ""});
}

void failureBlock(const ModelDeck& model, const DifferenceGrid& grid, int loadCase,
                  const RecordStore& failureRatio, Writer& report, std::string_view state = {}) {
  if (!requested(model.PRINTREQ, request::FAILURE)) return;
  banner(report, 16, 44,
         {"", "@@@  N O N L I N E A R  A N A L Y S I S  @@@",
          "@@@        FAILURE STATE SOLUTION        @@@",
          "@@@ (RATIO = N_failed / N_total layers)  @@@", loadCaseLine44(loadCase), ""});
  stateLine(16, state, report);
  report.blank(2);
  report.line(X(23), "F A I L U R E  M E A S U R E S");
  report.line(X(23), std::string(30, '-'));
  report.blank();
  report.line(X(21), "    X           Y         RATIO");
  report.blank();
  forEachPoint(grid, [&](int I, int J, double x, double y) {
    const double ratio = failureRatio.read(pointRecord(I, J, grid.NUMB))[0];
    report.line(X(20), E(11, 5, x), X(2), E(11, 5, y), X(2), E(11, 5, ratio), X(2));
  });
  report.blank(3);
}

}  // namespace

void PRNLU(const Matrix<double>& solution, const ModelDeck& model, const DifferenceGrid& grid,
           int loadCase, Writer& report) {
  if (!requested(model.PRINTREQ, request::DISPLACEMENTS)) return;
  banner(report, 15, 44,
         {"", "@@@     L I N E A R  A N A L Y S I S     @@@", "",
          loadCase >= 1 ? loadCaseLine44(loadCase) : "@@@          TOTAL DISPLACEMENTS         @@@",
          ""});
  displacementTables(solution, model, grid, report);
}

void PRNNU(const Matrix<double>& solution, const ModelDeck& model, const DifferenceGrid& grid,
           int loadCase, SolutionStage STAGE, Writer& report) {
  if (!requested(model.PRINTREQ, request::DISPLACEMENTS)) return;
  nonlinearBanner(loadCase, report);
  stageHeading(STAGE, report);
  displacementTables(solution, model, grid, report);
}

void PRNLS(const ModelDeck& model, const DifferenceGrid& grid, int loadCase,
           const RecordStore& fibreResults, Writer& report) {
  fibreBlock("@@@     L I N E A R  A N A L Y S I S     @@@", model, grid, loadCase, fibreResults,
             report);
}

void PRNNS(const ModelDeck& model, const DifferenceGrid& grid, int loadCase,
           const RecordStore& fibreResults, Writer& report) {
  fibreBlock("@@@  N O N L I N E A R  A N A L Y S I S  @@@", model, grid, loadCase, fibreResults,
             report);
}

void PRNNF(const ModelDeck& model, const DifferenceGrid& grid, int loadCase,
           const RecordStore& failureRatio, Writer& report) {
  failureBlock(model, grid, loadCase, failureRatio, report);
}

void pathStateDisplacements(const Matrix<double>& solution, const ModelDeck& model,
                            const DifferenceGrid& grid, int loadCase, std::string_view state,
                            Writer& report) {
  if (!requested(model.PRINTREQ, request::DISPLACEMENTS)) return;
  nonlinearBanner(loadCase, report);
  stateLine(15, state, report);
  displacementTables(solution, model, grid, report);
}

void pathStateFibres(const ModelDeck& model, const DifferenceGrid& grid, int loadCase,
                     const RecordStore& fibreResults, std::string_view state, Writer& report) {
  fibreBlock("@@@  N O N L I N E A R  A N A L Y S I S  @@@", model, grid, loadCase, fibreResults,
             report, state);
}

void pathStateFailures(const ModelDeck& model, const DifferenceGrid& grid, int loadCase,
                       const RecordStore& failureRatio, std::string_view state, Writer& report) {
  failureBlock(model, grid, loadCase, failureRatio, report, state);
}

}  // namespace korvant
