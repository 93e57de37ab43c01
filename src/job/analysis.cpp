#include "job/analysis.hpp"

#include <cmath>

#include "equations/boundary.hpp"
#include "core/grid.hpp"
#include "equations/reduction.hpp"
#include "job/status_lines.hpp"
#include "output/result_tables.hpp"
#include "section/recovery.hpp"
#include "solver/matrix_ops.hpp"
#include "solver/solve.hpp"

namespace korvant {
namespace {

using fmt::A;
using fmt::I;
using fmt::X;

// The analysis runs once, as load case 1: the pressure rows of load number 1 are applied;
// the linear tables carry load-case number 0, the nonlinear ones 1.
constexpr int kLoadNumber = 1;
constexpr int kLinearLoadCase = 0;
constexpr int kNonlinearLoadCase = 1;

DifferenceGrid gridOf(const ModelDeck& model) {
  return DifferenceGrid{model.A, model.B, model.NUMA, model.NUMB};
}

// Names the point and the component of real unknown `k` in a message about a solution that
// is not a finite number, so that the user can look at the deck around that point.
void reportNonFinite(RunContext& run, int k) {
  const int perPoint = run.model.COUPLING == coupling::COUPLED ? 3 : 1;
  const int n = (k - 1) / perPoint + 1;
  const int pointI = (n - 1) % run.model.NUMB + 1;
  const int pointJ = (n - 1) / run.model.NUMB + 1;
  static constexpr const char* kComponents[] = {"U", "V", "W"};
  const char* component = perPoint == 3 ? kComponents[(k - 1) % 3] : "W";
  Writer out = run.statusReport();
  out.blank();
  out.line("***ERROR: THE SOLUTION IS NOT A FINITE NUMBER FOR ", A(component),
           " AT POINT I =", I(5, pointI), ", J =", I(5, pointJ));
  out.line(X(10), "THE EQUATIONS ARE ILL-CONDITIONED. NO RESULTS ARE PRINTED.");
  ++run.fatal;
}

// RECOV with the current solution, the boundary test bound to the model.
void recoverStresses(RunContext& run) {
  const ModelDeck& model = run.model;
  const DerivativePointTest test = [&model](int& I, int& J) {
    bool skip = false;
    BCHECK(model, I, J, skip);
    return skip;
  };
  AnalysisArrays& a = run.arrays;
  const PhaseTimer timer(run.phaseTimes.recovery);
  RECOV(a.solutions.current, model, gridOf(model), test, run.files, a.layerBuffer, a.resultsBuffer,
        run.report);
}

void announceStage(RunContext& run) {
  if (run.model.STATUS) PRSTAT(run.model.SOLPROC, run.STAGE, run.statusBannersWritten, run.console);
}

// The elastic solution under the whole pressure, with its layer and fibre results; false
// when the fatal flag stopped it.
bool elasticSolution(RunContext& run) {
  run.STAGE = solution_stage::INITIAL_ELASTIC;
  run.loadFactor = 1.0;
  run.appliedLoadFactor = 1.0;
  announceStage(run);
  if (!oneSolution(run)) return false;
  recoverStresses(run);
  return true;
}

// Linear analysis: one elastic solution under the whole pressure, its stresses and tables.
void linearAnalysis(RunContext& run) {
  if (!elasticSolution(run)) return;
  const DifferenceGrid grid = gridOf(run.model);
  const PhaseTimer timer(run.phaseTimes.printing);
  PRNLU(run.arrays.solutions.current, run.model, grid, kLinearLoadCase, run.report);
  PRNLS(run.model, grid, kLinearLoadCase, run.files.fibreResults, run.report);
}

// Nonlinear analysis: the initial elastic stage is made and printed; the cracking and
// yielding stages are not part of this build, so the run stops there with a fatal error
// instead of presenting the elastic solution as the nonlinear result.
void nonlinearAnalysis(RunContext& run) {
  if (!elasticSolution(run)) return;
  SolutionVectors& v = run.arrays.solutions;
  MXCPY(v.current.data(), v.elastic.data(), run.arrays.NEQ, run.arrays.NEQ, run.arrays.NEQ, 1);
  const DifferenceGrid grid = gridOf(run.model);
  {
    const PhaseTimer timer(run.phaseTimes.printing);
    PRNNU(v.elastic, run.model, grid, kNonlinearLoadCase, run.STAGE, run.report);
    PRNNS(run.model, grid, kNonlinearLoadCase, run.files.fibreResults, run.report);
  }
  Writer out = run.statusReport();
  out.blank();
  out.line("***ERROR: THE NONLINEAR STAGES (CONCRETE CRACKING AND STEEL YIELDING)");
  out.line(X(10), "ARE NOT AVAILABLE IN THIS BUILD OF THE PROGRAM. ONLY THE INITIAL");
  out.line(X(10), "ELASTIC SOLUTION WAS MADE.");
  ++run.fatal;
}

// The pass in its phases, each timed into the run's phase times.
void assemblePhase(RunContext& run) {
  const PhaseTimer timer(run.phaseTimes.assembly);
  AnalysisArrays& a = run.arrays;
  ASSEMBLE(a.store, run.model, run.files.currentLayers, kLoadNumber, run.appliedLoadFactor,
           a.assembly, run.report, run.fatal);
}

void boundaryPhase(RunContext& run) {
  const PhaseTimer timer(run.phaseTimes.boundary);
  AnalysisArrays& a = run.arrays;
  BOUNDARY(a.store, a.lists, a.constraints, a.removed, run.model, run.files.currentLayers, a.NEQ,
           a.BW, run.fatal, run.report);
  a.reducedNEQ = a.NEQ;
}

void solvePhase(RunContext& run) {
  const PhaseTimer timer(run.phaseTimes.solve);
  AnalysisArrays& a = run.arrays;
  SOLVE(a.store, a.solutions.current, a.solverWork, a.NEQ, run.model.SOLVER, a.BW, run.fatal,
        run.report);
}

// Returns false, with the message written, when the expanded solution is not finite.
bool expandPhase(RunContext& run) {
  const PhaseTimer timer(run.phaseTimes.expand);
  AnalysisArrays& a = run.arrays;
  const ModelDeck& model = run.model;
  EXPAND(a.solutions.current, a.store.RHS, a.removed, model.NUMA, model.NUMB, a.NEQ,
         model.COUPLING);
  if (const int k = firstNonFinite(a.solutions.current, a.NEQ); k > 0) {
    reportNonFinite(run, k);
    return false;
  }
  return true;
}

}  // namespace

int firstNonFinite(const Matrix<double>& solution, int NEQ) {
  for (int k = 1; k <= NEQ; ++k)
    if (!std::isfinite(solution(k))) return k;
  return 0;
}

bool oneSolution(RunContext& run) {
  ++run.phaseTimes.passes;
  assemblePhase(run);
  if (run.fatal > 0) return false;
  boundaryPhase(run);
  if (run.fatal > 0) return false;
  solvePhase(run);
  if (run.fatal > 0) return false;
  return expandPhase(run);
}

void runAnalysis(RunContext& run) {
  SYSDEF(run.model, run.cap, run.arrays.lists, run.arrays.NEQ, run.report, run.fatal);
  if (run.fatal > 0) return;
  if (run.model.SOLPROC == solution_procedure::NONLINEAR)
    nonlinearAnalysis(run);
  else if (run.model.SOLPROC == solution_procedure::LINEAR)
    linearAnalysis(run);
}

}  // namespace korvant
