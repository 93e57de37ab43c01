// The analysis sequence of a job whose deck has been read and checked.
#pragma once

#include "job/run_context.hpp"
#include "nonlinear/cracking_stage.hpp"

namespace korvant {

// Runs the system definition and then the linear analysis or the nonlinear stages of the
// model in `run`, stopping as soon as the fatal flag is raised. The closing lines are left
// to the caller. The per-point result records must have been initialised (DBINIT).
void runAnalysis(RunContext& run);

// One solution pass with the pressure times `appliedLoadFactor` (kept as the run's applied
// load factor): ASSEMBLE, BOUNDARY, SOLVE and EXPAND, leaving the solution of every real
// point in the current solution vector. The pass stops at the first step that raises the
// fatal flag; a solution that holds a value that is not a finite number is reported and
// raises the flag too. The caller decides on the outcome.
PassOutcome solvePass(RunContext& run, double appliedLoadFactor);

// RECOV of `solution` (the current solution, or the running total of a yielding pass): the
// layer and fibre results of every point onto the working files.
void recoverStresses(RunContext& run, const Matrix<double>& solution);

// The solution whose table ends the analysis: the linear solution, the cracked one of a
// cracking-only deck, the yielding running total; after a predicted collapse, the solution
// whose deflection reached the allowable.
const Matrix<double>& finalSolution(const RunContext& run);

// The first unknown of `solution(1..NEQ)` that is not a finite number, 0 when all are.
int firstNonFinite(const Matrix<double>& solution, int NEQ);

}  // namespace korvant
