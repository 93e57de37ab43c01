// How a run's end is worded, in one table: the closing line of a job and the collapse
// search's trials name every end as the program has always printed them.
#include "job/run_outcome.hpp"

#include <gtest/gtest.h>

#include <string>

namespace korvant {
namespace {

TEST(RunOutcome, EveryEndHasTheWordsOfTheClosingLineAndOfATrial) {
  struct Case {
    RunEnd end;
    int inputErrors;
    const char* closing;
    const char* trial;
  };
  for (const Case& c : {
           Case{RunEnd::NotStarted, 0, "did not start", "did not run"},
           Case{RunEnd::InputErrors, 1, "1 input error", "did not run"},
           Case{RunEnd::InputErrors, 3, "3 input errors", "did not run"},
           Case{RunEnd::Completed, 0, "completed", "completed"},
           Case{RunEnd::Collapse, 0, "collapse predicted", "collapse predicted"},
           Case{RunEnd::WithoutConvergence, 0, "completed without convergence",
                "completed without convergence"},
           Case{RunEnd::PassesExhausted, 0, "completed", "passes ran out"},
           Case{RunEnd::Fatal, 0, "fatal run-time error", "fatal run-time error"},
       }) {
    RunOutcome outcome;
    outcome.end = c.end;
    outcome.inputErrors = c.inputErrors;
    EXPECT_EQ(outcomeText(outcome), c.closing);
    EXPECT_EQ(std::string(outcomeName(c.end)), c.trial);
  }
}

}  // namespace
}  // namespace korvant
