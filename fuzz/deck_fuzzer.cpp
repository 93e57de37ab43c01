// libFuzzer target: one deck text per input, read in memory through the statement reader,
// the checks, the echo, the zone layout and the point set-up; a deck that passes with a grid
// of at most kLargestAnalysedPoints points is analysed as well. Every way a deck can be bad
// must end as a counted error or a DeckError, never as a crash, a leak or a sanitizer report.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "input/deck_reader.hpp"
#include "input/model.hpp"
#include "job/analysis.hpp"
#include "job/dbfile.hpp"
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

void analyse(const std::string& text) {
  std::istringstream keyboard;
  std::ostringstream console;
  auto run = std::make_unique<RunContext>(keyboard, console, smallGrids());
  DeckReader deck = DeckReader::fromText(text);
  if (MODEL(deck, run->model, run->cap, run->report, run->zonePlot, run->files, run->CTOT) > 0)
    return;
  // The stages' limits kept small as well: a fuzzed deck may ask for a million iterations,
  // which would only repeat what the first few cover.
  ModelDeck& m = run->model;
  m.NITCRK = std::min(m.NITCRK, kLargestStageLimit);
  m.NPASSY = std::min(m.NPASSY, kLargestStageLimit);
  m.NINCY = std::min(m.NINCY, kLargestStageLimit);
  DBINIT(m.NUMA, m.NUMB, run->files.fibreResults, run->files.failureRatio);
  runAnalysis(*run);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    const Capacities cap;
    ModelDeck model(cap);
    std::ostringstream report, zones;
    Writer reportWriter(report), zoneWriter(zones);
    WorkingFiles files;
    int CTOT = 0;
    DeckReader deck = DeckReader::fromText(text);
    const int errors = MODEL(deck, model, cap, reportWriter, zoneWriter, files, CTOT);
    const long long points = static_cast<long long>(model.NUMA) * model.NUMB;
    if (errors == 0 && points <= kLargestAnalysedPoints) analyse(text);
  } catch (const DeckError&) {
    // a deck that cannot be read on: reported to the user as an input error
  }
  return 0;
}
