// The analysis sequence of a job whose deck has been read and checked.
#pragma once

#include "job/run_context.hpp"

namespace korvant {

// Runs the system definition and then the linear analysis or the nonlinear stages of the
// model in `run`, stopping as soon as the fatal flag is raised. The closing lines are left
// to the caller. The per-point result records must have been initialised (DBINIT).
void runAnalysis(RunContext& run);

// One solution pass at the applied load factor of `run`: ASSEMBLE, BOUNDARY, SOLVE and
// EXPAND, leaving the solution of every real point in the current solution vector. The
// pass stops at the first step that raises the fatal flag; a solution that holds a value
// that is not a finite number is reported and raises the flag too. Returns true when the
// pass went through.
bool oneSolution(RunContext& run);

// The first unknown of `solution(1..NEQ)` that is not a finite number, 0 when all are.
int firstNonFinite(const Matrix<double>& solution, int NEQ);

}  // namespace korvant
