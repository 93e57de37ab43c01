#include "support/in_process_run.hpp"

#include "job/pipeline.hpp"

namespace korvant::test {

void runInProcess(InProcessRun& r, const std::string& deckText) {
  r.inputErrors = runDeck(r.run, DeckSource::text(deckText)).inputErrors;
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
