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
};

// Runs the job `name` (deck name.inp in the current folder; the report is overwritten
// without asking and the console output is dropped); `large`: on the sparse store;
// `conservative`: on the equations on the section forces (--conservative).
JobFigures runBenchJob(const std::string& name, bool large = false, bool conservative = false);

}  // namespace korvant::bench
