// MAXDEF and CONV: the collapse check on the lateral displacement and the convergence
// control after each solution of a nonlinear stage, with the blocks they write.
#include "nonlinear/convergence.hpp"

#include <cmath>
#include <string>

#include "core/codes.hpp"
#include "core/frame.hpp"
#include "core/grid.hpp"

namespace korvant {
namespace {

using fmt::E;
using fmt::F;
using fmt::I;
using fmt::X;

const char* collapseReachedLine(int wording) {
  return wording == collapse_wording::YIELDING
             ? "@@@  STEEL YIELDING SOLUTION HAS REACHED        @@@"
             : "@@@  CONCRETE CRACKING SOLUTION HAS REACHED     @@@";
}

void writeCollapseBlock(double largest, double WMAX, int wording, Writer& out) {
  const std::string row(51, '@');
  out.blank(2);
  out.line(X(15), row);
  frameSide(out, 15, 51, "@@@");
  out.line(X(15), "@@@    S T R U C T U R A L  C O L L A P S E     @@@");
  out.line(X(15), "@@@            P R E D I C T E D !!             @@@");
  out.line(X(15), "@@@    ====================================     @@@");
  frameSide(out, 15, 51, "@@@");
  out.line(X(15), collapseReachedLine(wording));
  out.line(X(15), "@@@  A MAXIMUM LATERAL DEFLECTION OF ", E(9, 3, largest), "  @@@");
  out.line(X(15), "@@@  WHICH EXCEEDS MAXIMUM ALLOWABLE ", E(9, 3, WMAX), "  @@@");
  frameSide(out, 15, 51, "@@@");
  out.line(X(15), "@@@       ACTION:  SOLUTION TERMINATING         @@@");
  frameSide(out, 15, 51, "@@@");
  out.line(X(15), row);
  out.blank(2);
}

// Newly cracked layers relative to all concrete-bearing layers. A model with none
// (CTOT = 0) has nothing that can crack, so its ratio is 0 rather than 0/0.
double crackingRatio(int CINC, int CTOT) {
  if (CTOT == 0) return 0.0;
  return static_cast<double>(CINC) / static_cast<double>(CTOT);
}

// The block that ends a converged stage, after iteration or pass `number`.
void writeConvergenceBlock(int number, Writer& out) {
  const std::string row(48, '#');
  out.blank(2);
  out.line(X(14), row);
  frameSide(out, 14, 48, "###");
  out.line(X(14), "###  CONVERGENCE ACHIEVED AT ITERATION", I(6, number), " ###");
  frameSide(out, 14, 48, "###");
  out.line(X(14), row);
  out.blank();
}

void writeCrackingFailureBlock(int limit, double ratio, Writer& out) {
  const std::string row(59, '#');
  out.blank(2);
  out.line(X(10), row);
  out.line(X(10), "### CONVERGENCE FAILURE FOR CONCRETE CRACKING SOLUTION. ###");
  out.line(X(10), "### INPUT ITERATION LIMIT OF", I(4, limit), " REACHED WITH CINC/CTOT ###");
  out.line(X(10), "### RATIO = ", F(7, 5, ratio), ". INCREASE NUMBER OF ITERATIONS      ###");
  out.line(X(10), row);
  out.blank(2);
}

// Stage 1: the first iteration converges only when it cracked nothing; later ones when
// the ratio is at or below the tolerance. Above it at the limit the stage has failed.
void convergeCracking(int iteration, int CINC, const ConvergenceLimits& limits,
                      ConvergenceFlags& flags, Writer& out, int& fatal) {
  if (CINC != 0 && iteration == 1) return;
  const double ratio = crackingRatio(CINC, limits.CTOT);
  if (ratio <= limits.CRKTOL) {
    flags.converged = 1;
    writeConvergenceBlock(iteration, out);
    return;
  }
  if (iteration == limits.NITCRK) {
    ++fatal;
    writeCrackingFailureBlock(limits.NITCRK, ratio, out);
  }
}

// The block of a combined pass whose yielding cracked more layers than the tolerance allows.
void writeReattemptBlock(int pass, double loadFactor, double ratio, double CRKTOL, Writer& out) {
  const std::string row(58, '#');
  out.blank(2);
  out.line(X(10), row);
  frameSide(out, 10, 58, "###");
  out.line(X(10), "### ITERATION ", I(5, pass), " HAS REACHED A LOAD OF   ", E(9, 3, loadFactor),
           "  ###");
  out.line(X(10), "### IN WHICH STEEL YIELDING HAS RESULTED IN ADDITIONAL ###");
  out.line(X(10), "### LAYER CRACKING WITH RATIO = ", F(7, 5, ratio), "  WHICH EXCEEDS ###");
  out.line(X(10), "### THE SPECIFIED TOLERANCE OF  ", F(7, 5, CRKTOL), ".", X(14), " ###");
  frameSide(out, 10, 58, "###");
  out.line(X(10), "###      * ACTION: ANALYSIS WILL BE REATTEMPTED.", X(7), "###");
  frameSide(out, 10, 58, "###");
  out.line(X(10), row);
  out.blank(2);
}

void writeNonConvergenceBlock(int NPASSY, Writer& out) {
  const std::string row(54, '#');
  out.blank(2);
  out.line(X(11), row);
  frameSide(out, 11, 54, "###");
  out.line(X(11), "### CONVERGENCE FOR COMBINED YIELDING AND CRACKING ###");
  out.line(X(11), "### NOT OBTAINED WITHIN", I(5, NPASSY), " ITERATIONS            ###");
  frameSide(out, 11, 54, "###");
  out.line(X(11), row);
  out.blank(2);
}

// Stage 2: the layers cracked since the start of the pass, relative to all, at or above the
// tolerance ask for the pass to be re-attempted, and in the last pass fail the procedure (its
// block once a run). A pass that cracked nothing never asks, whatever the tolerance: there is
// no additional cracking to exceed it. Below it, the pass converges at the full load.
void convergeCombined(int pass, int CINC, double loadFactor, const ConvergenceLimits& limits,
                      ConvergenceFlags& flags, Writer& out, int& fatal) {
  constexpr double closeness = 0.01;
  flags.reattempt = 0;
  const double ratio = crackingRatio(CINC, limits.CTOT);
  if (CINC != 0 && ratio >= limits.CRKTOL) {
    if (pass == limits.NPASSY) {
      ++fatal;
      if (flags.nonConvergenceReported == 0) writeNonConvergenceBlock(limits.NPASSY, out);
      flags.nonConvergenceReported = 1;
      return;
    }
    writeReattemptBlock(pass, loadFactor, ratio, limits.CRKTOL, out);
    flags.reattempt = 1;
    return;
  }
  if (std::abs(loadFactor - 1.0) <= closeness) {
    flags.converged = 1;
    writeConvergenceBlock(pass, out);
  }
}

// Stage 3 has no cracking to control: it converges once the load has come within 0.001 of
// the full load.
void convergeYielding(int pass, double loadFactor, ConvergenceFlags& flags, Writer& out) {
  constexpr double closeness = 0.001;
  flags.reattempt = 0;
  if (std::abs(loadFactor - 1.0) <= closeness) {
    flags.converged = 1;
    writeConvergenceBlock(pass, out);
  }
}

}  // namespace

// The w of point n sits at entry n with one unknown per point, at 3n after u and v.
double largestDeflection(const Matrix<double>& solution, int NUMA, int NUMB, Coupling COUPLING) {
  const int perPoint = unknownsPerPoint(COUPLING);
  double largest = 0.0;
  for (int n = 1; n <= NUMA * NUMB; ++n) {
    const double w = solution(perPoint * n);
    if (std::abs(w) > std::abs(largest)) largest = w;
  }
  return largest;
}

bool MAXDEF(const Matrix<double>& solution, double WMAX, int NUMA, int NUMB, Coupling COUPLING,
            int wording, Writer& out, int& collapse) {
  const double largest = largestDeflection(solution, NUMA, NUMB, COUPLING);
  if (std::abs(largest) >= std::abs(WMAX)) {
    ++collapse;
    writeCollapseBlock(largest, WMAX, wording, out);
    return true;
  }
  return false;
}

void CONV(int iteration, SolutionStage STAGE, int CINC, double loadFactor,
          const ConvergenceLimits& limits, ConvergenceFlags& flags, Writer& out, int& fatal) {
  if (STAGE == SolutionStage::CRACKING) {
    convergeCracking(iteration, CINC, limits, flags, out, fatal);
    return;
  }
  // A first yielding pass that cracked layers decides nothing; the combined procedure
  // decides on its cracking ratio from the first pass on.
  if (CINC != 0 && STAGE != SolutionStage::COMBINED && iteration == 1) return;
  if (STAGE == SolutionStage::COMBINED)
    convergeCombined(iteration, CINC, loadFactor, limits, flags, out, fatal);
  else if (STAGE == SolutionStage::YIELDING)
    convergeYielding(iteration, loadFactor, flags, out);
}

}  // namespace korvant
