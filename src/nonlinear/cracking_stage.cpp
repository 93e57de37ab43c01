#include "nonlinear/cracking_stage.hpp"

#include "core/codes.hpp"
#include "nonlinear/stage_reports.hpp"

namespace korvant {

StageOutcome crackingIterations(StagePasses& passes, const ModelDeck& model,
                                const ConvergenceLimits& limits, RunFlags flags, Writer& out) {
  constexpr SolutionStage STAGE = SolutionStage::CRACKING;
  constexpr double fullLoad = 1.0;
  ConvergenceFlags conv;
  FailureCounts counts;  // YINC is cleared once for the stage, CINC at every iteration
  for (int IT = 1; IT <= limits.NITCRK; ++IT) {
    counts.CINC = 0;
    passes.reached({STAGE, IT, 0, fullLoad});
    if (passes.solve(fullLoad) != PassOutcome::Solved) return StageOutcome::Fatal;
    if (MAXDEF(passes.current(), model.WMAX, model.NUMA, model.NUMB, model.COUPLING,
               collapse_wording::CRACKING, out, flags.collapse))
      return StageOutcome::Collapsed;
    passes.recover(passes.current());
    passes.degrade(STAGE, counts);
    PRNIT(fullLoad, fullLoad, STAGE, IT, 0, counts.CINC, counts.YINC, out);
    CONV(IT, STAGE, counts.CINC, fullLoad, limits, conv, out, flags.fatal);
    if (flags.fatal > 0) return StageOutcome::Fatal;
    if (conv.converged == 1) return StageOutcome::Converged;
  }
  // Only a limit below 1, which the input checks refuse, leaves the loop undecided: never
  // present its solution as converged.
  ++flags.fatal;
  return StageOutcome::Fatal;
}

}  // namespace korvant
