#include "job/run_outcome.hpp"

#include <array>

namespace korvant {
namespace {

// The words of every end: in a job's closing line, and for a trial of the collapse search,
// which runs no job start and counts no input errors of its own.
struct EndWords {
  RunEnd end;
  const char* closing;
  const char* trial;
};

constexpr std::array<EndWords, 7> kEndWords{{
    {RunEnd::NotStarted, "did not start", "did not run"},
    {RunEnd::InputErrors, "input errors", "did not run"},
    {RunEnd::Completed, "completed", "completed"},
    {RunEnd::Collapse, "collapse predicted", "collapse predicted"},
    {RunEnd::WithoutConvergence, "completed without convergence", "completed without convergence"},
    {RunEnd::PassesExhausted, "completed", "passes ran out"},
    {RunEnd::Fatal, "fatal run-time error", "fatal run-time error"},
}};

const EndWords& wordsOf(RunEnd end) {
  for (const EndWords& w : kEndWords)
    if (w.end == end) return w;
  return kEndWords.back();
}

}  // namespace

std::string outcomeText(const RunOutcome& outcome) {
  if (outcome.end != RunEnd::InputErrors) return wordsOf(outcome.end).closing;
  return std::to_string(outcome.inputErrors) +
         (outcome.inputErrors == 1 ? " input error" : " input errors");
}

const char* outcomeName(RunEnd end) {
  return wordsOf(end).trial;
}

}  // namespace korvant
