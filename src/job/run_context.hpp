// The context of one run: everything a job owns from its start to its end, created once by
// the main program and handed to the routines, which fill or read what they need of it.
// Nothing here is global; a second context would be a second, independent job.
#pragma once

#include <algorithm>
#include <array>
#include <fstream>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "core/matrix.hpp"
#include "core/model_deck.hpp"
#include "core/record_store.hpp"
#include "core/writer.hpp"
#include "equations/assembly.hpp"
#include "equations/boundary_lists.hpp"
#include "equations/constraint_table.hpp"
#include "equilibrium/load_path.hpp"
#include "job/phase_times.hpp"
#include "job/run_outcome.hpp"
#include "job/run_watcher.hpp"
#include "nonlinear/stage_passes.hpp"
#include "output/graphical_datasets.hpp"
#include "section/degradation.hpp"
#include "section/layer_results.hpp"
#include "section/layer_table.hpp"
#include "solver/equation_store.hpp"

namespace korvant {

// The names derived from the job text.
struct JobNames {
  std::string base;      // blanks dropped, cut at the first full stop
  std::string deck;      // base + ".inp"
  std::string report;    // base + ".out"
  std::string zonePlot;  // base + ".zon"
};

// What the command line asked of a collapse-load search after the job.
struct CollapseSearchRequest {
  bool enabled = false;
  double tolerance = 0.01;  // the bracket's width as a fraction of its lower end
  int workers = 0;          // trials run side by side; 0 for one per processor
};

// What the command line asked of the job.
// What the command line asked of an analysis in equilibrium along the load path.
struct EquilibriumRequest {
  bool enabled = false;
  equilibrium::TensionStiffening stiffening = equilibrium::kDefaultStiffening;
  double hardening = 0.0;                      // steel's slope after yield over Es
  std::optional<std::pair<int, int>> control;  // point I, J; the largest elastic deflection
  double step = 0.0;                           // control displacement per step; 0: the default
  double tolerance = 1e-4;
  double stopAt = 0.8;
};

struct JobRequest {
  std::optional<std::string> jobText;  // given on the command line: no prompt, no keyboard read
  bool overwrite = false;              // answer the overwrite question with yes, unasked
  bool json = false;                   // write the run's summary as JOB.json
  bool plots = false;                  // draw the run's pictures beside the report
  bool large = false;                  // the sparse equation store, limited by the machine's memory
  // Capacities other than the build's, for a harness that analyses small grids only (the
  // deck fuzzer): its runs then allocate a store of their size, not 128 MB each.
  std::optional<Capacities> capacities;
  bool vtk = false;           // write the run's solutions as VTK files for ParaView
  bool conservative = false;  // the equilibrium written on the section forces
  bool vtkAscii = false;      // the VTK values as text rather than base64-encoded binary
  std::string units;          // --units: N-mm or kN-m, names the deck's units in the labels
  bool strict = false;        // every warning of the input is an input error
  // The deck is read, checked and set up, never analysed, and the run holds no analysis
  // arrays: for a harness that reads decks only (the deck fuzzer's reading of every deck).
  bool readOnly = false;
  CollapseSearchRequest collapse;
  EquilibriumRequest equilibrium;
};

// The solution vectors of the analysis, MXD1 entries each, zero at the start of the run; a
// solution uses the first NEQ entries, in the real numbering of the grid once expanded.
struct SolutionVectors {
  explicit SolutionVectors(const Capacities& cap)
      : current(cap.MXD1, 1),
        elastic(cap.MXD1, 1),
        cracked(cap.MXD1, 1),
        increment(cap.MXD1, 1),
        yieldingTotal(cap.MXD1, 1) {}

  Matrix<double> current;        // written by the solver and the expansion in every solution
  Matrix<double> elastic;        // the initial elastic solution of a nonlinear run
  Matrix<double> cracked;        // the converged cracking solution
  Matrix<double> increment;      // the solution of the current load increment
  Matrix<double> yieldingTotal;  // the increments of a yielding pass, summed
};

// Everything one solution pass works in: the equation store and the solver's workspaces, the
// boundary point lists and the constraint table, the per-point buffers of the assembly and
// the recovery, and the size and bandwidth of the system. Allocated once, for the whole run.
struct AnalysisArrays {
  explicit AnalysisArrays(const Capacities& cap, StoreKind kind = StoreKind::Array)
      : store(cap, kind),
        solverWork(cap),
        solutions(cap),
        lists(cap.MXD2),
        constraints(cap.MXD2),
        removed(cap.MXD2) {}

  EquationStore store;
  SolverWork solverWork;
  SolutionVectors solutions;
  BoundaryPointLists lists;
  ConstraintTable constraints;
  RemovedList removed;
  AssemblyWork assembly;
  PointLayerTable layerBuffer;
  LayerResults resultsBuffer;
  DegradationBuffers degradation;
  std::vector<double> beyondEdges;  // the extended grid's displacements, for the recovery

  int NEQ = 0;         // unknowns of the system: the extended count, the reduced one, then expanded
  int BW = 0;          // bandwidth of the reduced system
  int reducedNEQ = 0;  // unknowns of the last reduced system handed to the solver
};

// The capacities a run starts with: the build's, or on the sparse store (--large) those of
// the machine's memory.
// The natural conditions of free edges on the section forces write several times the
// constraint rows of the specified ones: twenty an equation.
inline Capacities withEdgeConditionRows(Capacities cap, const JobRequest& request) {
  if (request.conservative || request.equilibrium.enabled)
    cap.MXD2 = std::max(cap.MXD2, 20 * cap.MXD1);
  return cap;
}

inline Capacities capacitiesOf(const JobRequest& request) {
  if (request.large) return machineCapacities();
  return withEdgeConditionRows(request.capacities.value_or(Capacities{}), request);
}

// The analysis arrays a run starts with: for the build's capacities, or, on the sparse store,
// none until the deck has given the grid (sizeArraysToGrid); none for a run that only reads.
inline AnalysisArrays initialArrays(const JobRequest& request, const Capacities& cap) {
  if (!request.large && !request.readOnly) return AnalysisArrays(cap);
  Capacities none = cap;
  none.MXD1 = none.MXBD = none.MXD2 = 0;
  return AnalysisArrays(none, request.large ? StoreKind::Sparse : StoreKind::Array);
}

struct RunContext {
  RunContext(std::istream& keyboardIn, std::ostream& consoleOut, JobRequest jobRequest = {})
      : request(std::move(jobRequest)), keyboard(keyboardIn), consoleStream(consoleOut) {}
  RunContext(const RunContext&) = delete;
  RunContext& operator=(const RunContext&) = delete;

  JobRequest request;
  std::string jobText;  // the job text, 80 characters at most, kept for the whole run
  JobNames names;

  // Console: unit 5 (keyboard) and unit 6 (screen).
  std::istream& keyboard;
  std::ostream& consoleStream;
  Writer console{consoleStream};

  Capacities cap{capacitiesOf(request)};
  ModelDeck model{cap};
  WorkingFiles files;

  RunOutcome outcome;  // how the run ended, with what its report said of errors

  std::ofstream reportFile;  // unit 15
  Writer report{reportFile, outcome.notes};
  std::ofstream zoneFile;  // unit 41
  Writer zonePlot{zoneFile};
  GraphicsFiles graphics;  // units 79 to 85, open only when graphics were requested
  // Further files of the analysis written whole as the run goes (the load path's curve) that
  // could not be written completely: the job's end names them with the files above.
  std::vector<std::string> unwrittenFiles;

  AnalysisArrays arrays{initialArrays(request, cap)};

  int fatal = 0;     // fatal flag: raised by a routine that finds the analysis cannot go on
  int collapse = 0;  // collapse flag: raised when the lateral displacement exceeds WMAX
  SolutionStage STAGE = SolutionStage::INITIAL_ELASTIC;
  StagePosition position;           // where the nonlinear stages last were
  double appliedLoadFactor = 1.0;   // the factor on the pressure of the solution being made
  double lastSafeLoadFactor = 0.0;  // the last load factor an increment reached without failures
  int CTOT = 0;  // concrete-bearing layers over all points, the divisor of the cracking ratio
  bool statusBannersWritten = false;  // the console status banners come once per run
  PhaseTimes phaseTimes;              // time spent in each phase of the solution passes
  // Those who follow the analysis for the files the command line asks for (the summary, the
  // VTK files: exporters/); owned by the main program, told of every stage, step and printed
  // solution.
  std::vector<RunWatcher*> watchers;
  // The load path of an analysis in equilibrium, once followed.
  std::optional<equilibrium::PathResult> path;

  // The report, mirrored to the console when the STATUS switch is on: the writer of the
  // blocks that matter during a run.
  Writer statusReport() const { return report.mirroredTo(consoleStream, model.STATUS); }
};

}  // namespace korvant
