// The decisions of the nonlinear stages after each solution: MAXDEF, the collapse check on
// the lateral displacement, and CONV, the convergence control of the cracking iterations.
// Their blocks go to the writer they are handed: the report, mirrored to the console when
// the STATUS switch is on.
#pragma once

#include "core/codes.hpp"
#include "core/matrix.hpp"
#include "core/writer.hpp"

namespace korvant {

// Wordings of the collapse block: which solution reached the deflection.
namespace collapse_wording {
enum : int {
  CRACKING = 1,  // "CONCRETE CRACKING SOLUTION HAS REACHED"
  YIELDING = 2,  // "STEEL YIELDING SOLUTION HAS REACHED"
};
}

// The w of largest magnitude of `solution` over the NUMA x NUMB points (every entry with
// COUPLING 1, the third of each u, v, w triple with COUPLING 2), signed, the first one winning
// a tie.
double largestDeflection(const Matrix<double>& solution, int NUMA, int NUMB, Coupling COUPLING);

// MAXDEF: the w of largest magnitude of `solution` over the NUMA x NUMB points (every entry
// with COUPLING 1, the third of each u, v, w triple with COUPLING 2), signed, the first one
// winning a tie. When its magnitude is at or above |WMAX| the collapse block of `wording` is
// written to `out` and `collapse` raised by 1. Returns true when a collapse was predicted.
bool MAXDEF(const Matrix<double>& solution, double WMAX, int NUMA, int NUMB, Coupling COUPLING,
            int wording, Writer& out, int& collapse);

// The limits and the divisor of the convergence control, from the model and the layer set-up.
struct ConvergenceLimits {
  int NITCRK = 0;       // cracking iteration limit
  int NPASSY = 0;       // yielding pass limit
  double CRKTOL = 0.0;  // tolerance on the ratio CINC / CTOT
  int CTOT = 0;         // concrete-bearing layers over all points
};

// The flags CONV sets for the caller.
struct ConvergenceFlags {
  int converged = 0;               // 1 once the stage has converged
  int reattempt = 0;               // 1 when a pass of the incremental stage must be re-attempted
  int nonConvergenceReported = 0;  // the non-convergence block comes once a run
};

// CONV: the convergence decision after iteration (stage 1) or pass (stages 2 and 3)
// `iteration` of stage STAGE, with CINC layers newly cracked (since the start of the pass in
// stages 2 and 3) and the load factor reached. Stage 1: an iteration that cracked layers is
// never the first to converge; a ratio CINC / CTOT at or below CRKTOL converges (the
// convergence block); above it at the iteration limit the failure block is written and
// `fatal` raised. Stage 2: a ratio at or above CRKTOL asks for a re-attempt (its block), and
// in the last pass raises `fatal` (the non-convergence block, once); below it the stage
// converges within 0.01 of the full load. Stage 3 converges within 0.001 of the full load. A
// first pass of stage 3 that cracked layers decides nothing. With CTOT = 0 (no layer can
// crack) the ratio is 0.
void CONV(int iteration, SolutionStage STAGE, int CINC, double loadFactor,
          const ConvergenceLimits& limits, ConvergenceFlags& flags, Writer& out, int& fatal);

}  // namespace korvant
