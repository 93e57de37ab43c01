// The run's pipeline and the outcome it records: a deck run to its end, one stopped by its
// input errors with their messages noted as the report wrote them, one that ends before its
// end statement, and a read-only run, which stops after the set-up.
#include "job/pipeline.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/slab_decks.hpp"

namespace korvant {
namespace {

using test::ConcreteSlabDeck;

ConcreteSlabDeck linearSlab(int NUMA) {
  ConcreteSlabDeck deck = test::smallMeshSlab(0.001, "D");
  deck.solution = "LINEAR";
  deck.NUMA = NUMA;
  return deck;
}

TEST(Pipeline, RecordsHowEachRunEnded) {
  const std::string good = linearSlab(9).text();
  struct Case {
    const char* what;
    std::string deck;
    bool readOnly;
    RunEnd end;
    int inputErrors;
    std::vector<std::string> messages;
  };
  const std::vector<Case> cases = {
      {"analysed", good, false, RunEnd::Completed, 0, {}},
      {"input errors",
       linearSlab(2).text(),
       false,
       RunEnd::InputErrors,
       1,
       {"***ERROR: NUMA (    2) MUST BE INPUT AS 3 OR MORE"}},
      // The report of a run in memory is no file: the message goes to the console alone.
      {"no end statement", good.substr(0, good.find("*END")), false, RunEnd::InputErrors, 1, {}},
      {"read only", good, true, RunEnd::NotStarted, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::istringstream keyboard;
    std::ostringstream console;
    JobRequest request;
    request.readOnly = c.readOnly;
    RunContext run(keyboard, console, request);
    const RunOutcome& outcome = runDeck(run, DeckSource::text(c.deck));
    EXPECT_EQ(outcome.end, c.end);
    EXPECT_EQ(outcome.analysed, c.end == RunEnd::Completed);
    EXPECT_EQ(outcome.inputErrors, c.inputErrors);
    EXPECT_EQ(outcome.notes.errorMessages(), c.messages);
    // The set-up ran on every deck that was read and checked whole.
    EXPECT_EQ(run.CTOT > 0, c.inputErrors == 0);
  }
}

}  // namespace
}  // namespace korvant
