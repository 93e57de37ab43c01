#include "job/analysis.hpp"

#include "job/status_lines.hpp"

namespace korvant {
namespace {

constexpr int kInitialElasticStage = 0;

}  // namespace

// The solution stages are not part of this build: the job announces its first stage, says
// that it cannot go on, and raises the fatal flag so that the closing lines report it.
void runAnalysis(RunContext& run) {
  if (run.model.STATUS)
    PRSTAT(run.model.SOLPROC, kInitialElasticStage, run.statusBannersWritten, run.console);
  Writer out = run.report.mirroredTo(run.consoleStream, true);
  out.line("***ERROR: THE ANALYSIS STAGES ARE NOT AVAILABLE IN THIS BUILD OF THE PROGRAM");
  ++run.fatal;
}

}  // namespace korvant
