#include "job/analysis.hpp"

#include <cmath>

#include "core/grid.hpp"
#include "equations/boundary.hpp"
#include "equations/natural_edges.hpp"
#include "equations/reduction.hpp"
#include "input/plausibility.hpp"
#include "job/equilibrium_run.hpp"
#include "job/run_watcher.hpp"
#include "job/status_lines.hpp"
#include "nonlinear/convergence.hpp"
#include "nonlinear/cracking_stage.hpp"
#include "nonlinear/stage_reports.hpp"
#include "nonlinear/yielding_stage.hpp"
#include "output/graphical_datasets.hpp"
#include "output/result_tables.hpp"
#include "section/recovery.hpp"
#include "section/reset.hpp"
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
  const int perPoint = unknownsPerPoint(run.model.COUPLING);
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

void announceStage(RunContext& run) {
  if (run.model.STATUS) PRSTAT(run.model.SOLPROC, run.STAGE, run.statusBannersWritten, run.console);
}

// The elastic solution under the whole pressure, with its layer and fibre results; false
// when the fatal flag stopped it.
bool elasticSolution(RunContext& run) {
  run.STAGE = SolutionStage::INITIAL_ELASTIC;
  run.appliedLoadFactor = 1.0;
  announceStage(run);
  if (solvePass(run, 1.0) != PassOutcome::Solved) return false;
  recoverStresses(run, run.arrays.solutions.current);
  return true;
}

// The graphical datasets of call `mode` for `solution`, when the deck asks for graphics.
void graphicalDatasets(RunContext& run, int mode, const Matrix<double>& solution) {
  if (!run.model.GRAPHICS) return;
  const PhaseTimer timer(run.phaseTimes.printing);
  GRPDRV(mode, run.model, gridOf(run.model),
         DatasetSources{solution, run.files.fibreResults, run.files.failureRatio}, run.graphics,
         run.report, run.fatal);
}

// The run's watchers are told of a printed solution.
void summarise(RunContext& run, const Matrix<double>& solution, bool linear, bool fibres,
               bool failureMeasures = false) {
  const PrintedTables tables{run.STAGE, linear, solution,
                             fibres ? &run.files.fibreResults : nullptr,
                             failureMeasures ? &run.files.failureRatio : nullptr};
  for (RunWatcher* watcher : run.watchers) watcher->printed(tables);
}

// The elastic solution's largest deflection, told on the console when it is so large that
// the units of the deck cannot agree.
void adviseElasticDeflection(RunContext& run) {
  const ModelDeck& m = run.model;
  const double w = largestDeflection(run.arrays.solutions.current, m.NUMA, m.NUMB, m.COUPLING);
  adviseDeflection(w, m.A, m.B, run.outcome.notes);
}

// Linear analysis: one elastic solution under the whole pressure, its stresses and tables.
void linearAnalysis(RunContext& run) {
  if (!elasticSolution(run)) return;
  adviseElasticDeflection(run);
  const DifferenceGrid grid = gridOf(run.model);
  const PhaseTimer timer(run.phaseTimes.printing);
  PRNLU(run.arrays.solutions.current, run.model, grid, kLinearLoadCase, run.report);
  PRNLS(run.model, grid, kLinearLoadCase, run.files.fibreResults, run.report);
  summarise(run, run.arrays.solutions.current, true, true);
  graphicalDatasets(run, dataset_mode::LINEAR, run.arrays.solutions.current);
}

// The passes of the nonlinear stages, bound to the run.
class RunPasses final : public StagePasses {
 public:
  explicit RunPasses(RunContext& run) : run_(run) {}
  PassOutcome solve(double appliedLoadFactor) override {
    return solvePass(run_, appliedLoadFactor);
  }
  const Matrix<double>& current() const override { return run_.arrays.solutions.current; }
  void recover(const Matrix<double>& solution) override { recoverStresses(run_, solution); }
  void degrade(SolutionStage STAGE, FailureCounts& counts) override {
    const PhaseTimer timer(run_.phaseTimes.degradation);
    DEGRAD(run_.model, STAGE, run_.files, run_.arrays.degradation, counts, run_.report);
  }
  void reset() override {
    const PhaseTimer timer(run_.phaseTimes.degradation);
    RESET(run_.model, run_.files, run_.arrays.degradation);
  }
  void reached(const StagePosition& position) override { run_.position = position; }

 private:
  RunContext& run_;
};

// The tables of a stage's solution: displacements under STAGE, fibre results, and the
// failure measures after a stage that degraded layers.
void printStageTables(RunContext& run, const Matrix<double>& solution, bool failureMeasures) {
  const DifferenceGrid grid = gridOf(run.model);
  const PhaseTimer timer(run.phaseTimes.printing);
  PRNNU(solution, run.model, grid, kNonlinearLoadCase, run.STAGE, run.report);
  PRNNS(run.model, grid, kNonlinearLoadCase, run.files.fibreResults, run.report);
  if (failureMeasures)
    PRNNF(run.model, grid, kNonlinearLoadCase, run.files.failureRatio, run.report);
  summarise(run, solution, false, true, failureMeasures);
}

// The limits of the convergence control, from the model and the layer set-up.
ConvergenceLimits limitsOf(const RunContext& run) {
  return {run.model.NITCRK, run.model.NPASSY, run.model.CRKTOL, run.CTOT};
}

// The cracking stage: the iterations under the full load from the initial moduli; on
// convergence the cracked solution and its tables. False when the analysis ends in it.
bool crackingStage(RunContext& run) {
  run.STAGE = SolutionStage::CRACKING;
  run.appliedLoadFactor = 1.0;
  PRNRTN(procedure_banner::CRACKING, run.report);
  announceStage(run);
  RunPasses runPasses(run);
  WatchedPasses passes(runPasses, run.watchers, run.STAGE);
  Writer out = run.statusReport();
  const StageOutcome outcome =
      crackingIterations(passes, run.model, limitsOf(run), RunFlags{run.fatal, run.collapse}, out);
  if (outcome == StageOutcome::Collapsed) run.outcome.end = RunEnd::Collapse;
  if (outcome != StageOutcome::Converged) return false;
  SolutionVectors& v = run.arrays.solutions;
  MXCPY(v.current.data(), v.cracked.data(), run.arrays.NEQ, run.arrays.NEQ, run.arrays.NEQ, 1);
  printStageTables(run, v.cracked, true);
  graphicalDatasets(run, dataset_mode::CRACKED, v.cracked);
  return true;
}

RunEnd endOf(YieldingOutcome outcome) {
  switch (outcome) {
    case YieldingOutcome::Converged:
      return RunEnd::Completed;
    case YieldingOutcome::FailedCombined:
      return RunEnd::WithoutConvergence;
    case YieldingOutcome::PassesExhausted:
      return RunEnd::PassesExhausted;
    case YieldingOutcome::Collapsed:
      return RunEnd::Collapse;
    case YieldingOutcome::Fatal:
      break;
  }
  return RunEnd::Fatal;
}

// The incremental stage: the passes of load increments, combined with further cracking
// (YLDOPT 1) or yielding alone (YLDOPT 2); the final tables of its running total when it
// converged, the total alone under stage 6 when the combined procedure failed.
void incrementalStage(RunContext& run) {
  run.STAGE = run.model.YLDOPT == YieldingSolution::WITHOUT_CRACKING ? SolutionStage::YIELDING
                                                                     : SolutionStage::COMBINED;
  PRNRTN(procedure_banner::CRACKING_YIELDING, run.report);
  announceStage(run);
  RunPasses runPasses(run);
  WatchedPasses passes(runPasses, run.watchers, run.STAGE);
  SolutionVectors& v = run.arrays.solutions;
  Writer out = run.statusReport();
  const YieldingOutcome outcome =
      yieldingIncrements(passes, run.model, limitsOf(run), run.STAGE,
                         YieldingVectors{v.increment, v.yieldingTotal, run.arrays.NEQ},
                         run.lastSafeLoadFactor, RunFlags{run.fatal, run.collapse}, out);
  run.outcome.end = endOf(outcome);
  if (outcome == YieldingOutcome::Converged) {
    printStageTables(run, v.yieldingTotal, true);
    graphicalDatasets(run, dataset_mode::INCREMENTAL, v.yieldingTotal);
  }
  if (outcome == YieldingOutcome::FailedCombined) {
    run.STAGE = SolutionStage::FAILED_COMBINED;
    const PhaseTimer timer(run.phaseTimes.printing);
    PRNNU(v.yieldingTotal, run.model, gridOf(run.model), kNonlinearLoadCase, run.STAGE, run.report);
    summarise(run, v.yieldingTotal, false, false);
  }
}

// Nonlinear analysis: the initial elastic stage, the cracking stage and, unless the deck asks
// for the cracking solution only, the incremental stage, each printed.
void nonlinearAnalysis(RunContext& run) {
  if (!elasticSolution(run)) return;
  adviseElasticDeflection(run);
  SolutionVectors& v = run.arrays.solutions;
  MXCPY(v.current.data(), v.elastic.data(), run.arrays.NEQ, run.arrays.NEQ, run.arrays.NEQ, 1);
  printStageTables(run, v.elastic, false);
  graphicalDatasets(run, dataset_mode::ELASTIC, v.elastic);
  if (!crackingStage(run) || run.model.CRKONLY) return;
  incrementalStage(run);
}

// The analysis in equilibrium along the load path: the elastic solution and its tables, then
// the path from zero past the peak.
void equilibriumAnalysis(RunContext& run) {
  if (!elasticSolution(run)) return;
  SolutionVectors& v = run.arrays.solutions;
  MXCPY(v.current.data(), v.elastic.data(), run.arrays.NEQ, run.arrays.NEQ, run.arrays.NEQ, 1);
  printStageTables(run, v.elastic, false);
  equilibriumPath(run);
}

EquationForm formOf(const RunContext& run) {
  return run.request.conservative || run.request.equilibrium.enabled ? EquationForm::Conservative
                                                                     : EquationForm::Specified;
}

// The pass in its phases, each timed into the run's phase times.
void assemblePhase(RunContext& run) {
  const PhaseTimer timer(run.phaseTimes.assembly);
  AnalysisArrays& a = run.arrays;
  ASSEMBLE(a.store, run.model, run.files.currentLayers, kLoadNumber, run.appliedLoadFactor,
           a.assembly, run.report, run.fatal, formOf(run));
}

void boundaryPhase(RunContext& run) {
  const PhaseTimer timer(run.phaseTimes.boundary);
  AnalysisArrays& a = run.arrays;
  BOUNDARY(a.store, a.lists, a.constraints, a.removed, run.model, run.files.currentLayers, a.NEQ,
           a.BW, run.fatal, run.report, formOf(run), &a.assembly.field);
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

const Matrix<double>& finalSolution(const RunContext& run) {
  const SolutionVectors& v = run.arrays.solutions;
  if (run.collapse > 0 || run.model.SOLPROC != SolutionProcedure::NONLINEAR) return v.current;
  return run.model.CRKONLY ? v.cracked : v.yieldingTotal;
}

int firstNonFinite(const Matrix<double>& solution, int NEQ) {
  for (int k = 1; k <= NEQ; ++k)
    if (!std::isfinite(solution(k))) return k;
  return 0;
}

PassOutcome solvePass(RunContext& run, double appliedLoadFactor) {
  ++run.phaseTimes.passes;
  run.appliedLoadFactor = appliedLoadFactor;
  assemblePhase(run);
  if (run.fatal > 0) return PassOutcome::Fatal;
  boundaryPhase(run);
  if (run.fatal > 0) return PassOutcome::Fatal;
  solvePhase(run);
  if (run.fatal > 0) return PassOutcome::Fatal;
  return expandPhase(run) ? PassOutcome::Solved : PassOutcome::Fatal;
}

void recoverStresses(RunContext& run, const Matrix<double>& solution) {
  const ModelDeck& model = run.model;
  const DerivativePointTest test = [&model](int& I, int& J) {
    bool skip = false;
    BCHECK(model, I, J, skip);
    return skip;
  };
  AnalysisArrays& a = run.arrays;
  const PhaseTimer timer(run.phaseTimes.recovery);
  // On the section forces, the neighbours beyond the edges are the fictitious points of the
  // edge conditions of the last pass.
  const bool conservative = formOf(run) == EquationForm::Conservative;
  if (conservative) extendedValues(a.constraints, model, solution, a.beyondEdges);
  RECOV(solution, model, gridOf(model), test, run.files, a.layerBuffer, a.resultsBuffer, run.report,
        conservative ? &a.beyondEdges : nullptr);
}

namespace {

// A run on the sparse store: its capacities and analysis arrays made to hold the grid of its
// deck, within the limits the deck was checked against. Done once, before the analysis.
void sizeArraysToGrid(RunContext& run) {
  const ModelDeck& m = run.model;
  run.cap = withEdgeConditionRows(
      gridCapacities(run.cap, extendedUnknownsWide(m.NUMA, m.NUMB, m.COUPLING)), run.request);
  run.arrays = AnalysisArrays(run.cap, StoreKind::Sparse);
}

}  // namespace

void runAnalysis(RunContext& run) {
  if (run.request.large) sizeArraysToGrid(run);
  // Every stage that ends the analysis otherwise says so; what runs to its end completed.
  run.outcome.analysed = true;
  run.outcome.end = RunEnd::Completed;
  if (run.request.equilibrium.enabled) {
    run.report.line(X(15), "* ANALYSIS IN EQUILIBRIUM ALONG THE LOAD PATH, ON THE SECTION FORCES");
    run.report.blank();
  } else if (run.request.conservative) {
    run.report.line(X(15), "* EQUILIBRIUM WRITTEN ON THE SECTION FORCES (CONSERVATIVE FORM)");
    run.report.blank();
  }
  SYSDEF(run.model, run.cap, run.arrays.lists, run.arrays.NEQ, run.report, run.fatal);
  if (run.fatal == 0) {
    // The one place where the analysis procedure of the deck is chosen: a new procedure is
    // one more branch here, recording how it ends in run.outcome as these do.
    if (run.request.equilibrium.enabled)
      equilibriumAnalysis(run);
    else if (run.model.SOLPROC == SolutionProcedure::NONLINEAR)
      nonlinearAnalysis(run);
    else if (run.model.SOLPROC == SolutionProcedure::LINEAR)
      linearAnalysis(run);
  }
  if (run.fatal > 0) run.outcome.end = RunEnd::Fatal;
}

}  // namespace korvant
