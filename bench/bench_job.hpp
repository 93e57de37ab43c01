// One korvant job run in this process, in the order of the main program, with the figures
// the benchmark reports: its exit status, the size of the system it solved and the time
// of each phase of its solution passes.
#pragma once

#include <string>

namespace korvant::bench {

struct JobFigures {
  int exitStatus = -1;
  int NEQ = 0;     // unknowns of the reduced system solved
  int BW = 0;      // its bandwidth as the program measured it
  int SOLVER = 0;  // storage mode used: 1 full, 2 band
  int passes = 0;
  int MXD1 = 0;  // capacities of the equation store
  int MXBD = 0;
  double wallSeconds = 0.0;     // from the creation of the run's context to its release
  double setupSeconds = 0.0;    // creating the context: the equation store and the buffers
  double releaseSeconds = 0.0;  // releasing the context at the end of the run
  double assembly = 0.0;
  double boundary = 0.0;
  double solve = 0.0;
  double expand = 0.0;
  double recovery = 0.0;
  double degradation = 0.0;  // layer failure tests of the nonlinear stages
  double printing = 0.0;
  int pathSteps = 0;       // converged steps of a load path in equilibrium
  double peak = 0.0;       // its peak load factor
  bool fell = false;       // whether it ended with the load fallen past the peak
  int analyses = 0;        // symbolic analyses of the sparse store (--large)
  int factorizations = 0;  // and its numerical factorizations
};

// Runs the job `name` (deck name.inp in the current folder; the report is overwritten
// without asking and the console output is dropped); `large`: on the sparse store;
// `conservative`: on the equations on the section forces (--conservative); `equilibrium`:
// the load path in equilibrium with its default controls (--equilibrium).
JobFigures runBenchJob(const std::string& name, bool large = false, bool conservative = false,
                       bool equilibrium = false);

}  // namespace korvant::bench
