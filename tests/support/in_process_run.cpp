#include "support/in_process_run.hpp"

#include "input/deck_reader.hpp"
#include "input/model.hpp"
#include "job/analysis.hpp"
#include "job/dbfile.hpp"

namespace korvant::test {

void runInProcess(InProcessRun& r, const std::string& deckText) {
  DeckReader deck = DeckReader::fromText(deckText);
  RunContext& run = r.run;
  r.inputErrors = MODEL(deck, run.model, run.cap, run.report, run.zonePlot, run.files, run.CTOT);
  if (r.inputErrors == 0) {
    DBINIT(run.model.NUMA, run.model.NUMB, run.files.fibreResults, run.files.failureRatio);
    runAnalysis(run);
  }
}

std::unique_ptr<InProcessRun> runInProcess(const std::string& deckText, JobRequest request) {
  auto r = std::make_unique<InProcessRun>(std::move(request));
  runInProcess(*r, deckText);
  return r;
}

JobRequest largeRequest() {
  JobRequest request;
  request.large = true;
  return request;
}

}  // namespace korvant::test
