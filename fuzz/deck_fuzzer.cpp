// libFuzzer target: one deck text per input, run in memory through the run's pipeline: first
// read, checked and set up only (the statement reader, the checks, the echo, the zone layout
// and the point set-up); a deck that passes with a grid of at most kLargestAnalysedPoints
// points is then run again and analysed. Every way a deck can be bad must end as a counted
// error or a DeckError (an input error too), never as a crash, a leak or a sanitizer report.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "job/pipeline.hpp"
#include "job/run_context.hpp"

namespace {

using namespace korvant;

// Only small grids are analysed, so that the fuzzer spends its time on the reading and the
// checks, and their runs are given a store of 1000 equations, which holds the extended grid
// of any such deck (at most 7 x 44 points of three unknowns), instead of the build's 128 MB.
constexpr long long kLargestAnalysedPoints = 121;
constexpr int kLargestStageLimit = 6;

JobRequest smallGrids() {
  JobRequest request;
  Capacities cap;
  cap.MXD1 = cap.MXBD = 1000;
  request.capacities = cap;
  return request;
}

// The reading of every deck: against the build's capacities, with no analysis arrays.
JobRequest readOnly() {
  JobRequest request;
  request.readOnly = true;
  return request;
}

void analyse(const std::string& text) {
  std::istringstream keyboard;
  std::ostringstream console;
  auto run = std::make_unique<RunContext>(keyboard, console, smallGrids());
  RunPlan plan;
  // The stages' limits kept small as well: a fuzzed deck may ask for a million iterations,
  // which would only repeat what the first few cover.
  plan.beforeAnalysis = [](ModelDeck& m) {
    m.NITCRK = std::min(m.NITCRK, kLargestStageLimit);
    m.NPASSY = std::min(m.NPASSY, kLargestStageLimit);
    m.NINCY = std::min(m.NINCY, kLargestStageLimit);
  };
  runDeck(*run, DeckSource::text(text), plan);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::istringstream keyboard;
  std::ostringstream console;
  auto run = std::make_unique<RunContext>(keyboard, console, readOnly());
  const RunOutcome& read = runDeck(*run, DeckSource::text(text));
  // A deck that cannot be read on ends as an input error, reported like one.
  const long long points = static_cast<long long>(run->model.NUMA) * run->model.NUMB;
  if (read.end != RunEnd::InputErrors && points <= kLargestAnalysedPoints) analyse(text);
  return 0;
}
