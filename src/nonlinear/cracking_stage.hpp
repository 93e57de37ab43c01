// The cracking iterations of the nonlinear analysis: the slab is solved again and again under
// the full load, each time with the moduli that the previous iteration's degradation left,
// until the layers newly cracked in an iteration, relative to all concrete-bearing layers,
// fall to the tolerance; or the deflection predicts a collapse; or the iteration limit is
// reached first.
#pragma once

#include "core/matrix.hpp"
#include "core/model_deck.hpp"
#include "core/writer.hpp"
#include "nonlinear/convergence.hpp"
#include "nonlinear/stage_passes.hpp"

namespace korvant {

// The cracking iterations of stage 1, at most NITCRK: solve, MAXDEF (wording 1), recover,
// DEGRAD, PRNIT, CONV, until CONV declares convergence. Blocks go to `out`, the report
// mirrored to the console when STATUS is on. On convergence the current solution of `passes`
// is the cracked solution.
StageOutcome crackingIterations(StagePasses& passes, const ModelDeck& model,
                                const ConvergenceLimits& limits, RunFlags flags, Writer& out);

}  // namespace korvant
