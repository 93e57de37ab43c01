// The phase timers: a timer adds to its own phase only, and a solution pass of a linear job
// counts itself and records the size of the reduced system it solved.
#include <gtest/gtest.h>

#include <sstream>

#include "job/phase_times.hpp"
#include "job/pipeline.hpp"
#include "job/run_context.hpp"

namespace korvant {
namespace {

TEST(PhaseTimer, AddsToItsOwnPhaseOnly) {
  PhaseTimes t;
  { const PhaseTimer timer(t.solve); }
  { const PhaseTimer timer(t.solve); }
  EXPECT_GE(t.solve.count(), 0.0);
  for (const auto* other : {&t.assembly, &t.boundary, &t.expand, &t.recovery, &t.printing})
    EXPECT_EQ(other->count(), 0.0);
  EXPECT_EQ(t.passes, 0);
}

// A simply supported plate on a NUMA x NUMB grid: every edge point has w fixed, so the
// reduced system keeps the (NUMA - 2) (NUMB - 2) interior points, three unknowns each when
// coupled (u and v are fixed with w at the edge of a simply supported layout).
std::string plateDeck(int NUMA, int NUMB, bool coupled) {
  std::ostringstream d;
  d << "*HEADING\nPHASE TIMES\n*SOLUTION = LINEAR\n0.0\n"
    << "*COUPLING = " << (coupled ? "YES" : "NO") << "\n*EQUATION SOLVER = BAND\n"
    << "*BOUNDARY = LIBRARY\nSIMPLY SUPPORTED\n*SLAB\n1000.0  800.0\n*DISC\n"
    << NUMA << "  " << NUMB << "  1\n"
    << "*DAMAGE LAW ID = 1\nCONCRETE\nCONSTANT MODULI\n2500.0  2500.0  2500.0\n"
    << "1.0  0.0  0.0  0.0\n*MATERIAL TYPE=CONCRETE, MATID=1\n25000.0  0.2  2.5  30.0  3.0\n"
    << "*LAYER = 1\n0  1  1  150.0  0.0\n*ZONE = 1\n1000.0  800.0  500.0  400.0\n1\n"
    << "*NORMAL PRESSURE\n1  UNIFORM LOAD  0.01\n*END\n";
  return d.str();
}

TEST(PhaseTimes, ALinearJobMakesOnePassAndRecordsItsReducedSystem) {
  struct Case {
    int NUMA, NUMB;
    bool coupled;
    int reducedNEQ;
  };
  for (const Case& c : {Case{7, 5, false, 5 * 3}, Case{6, 7, true, 3 * 4 * 5}}) {
    std::istringstream keyboard;
    std::ostringstream console;
    RunContext run(keyboard, console);
    const std::string deck = plateDeck(c.NUMA, c.NUMB, c.coupled);
    const RunOutcome& outcome = runDeck(run, DeckSource::text(deck));
    ASSERT_EQ(outcome.end, RunEnd::Completed);
    ASSERT_EQ(run.fatal, 0);
    EXPECT_EQ(run.phaseTimes.passes, 1);
    EXPECT_EQ(run.arrays.reducedNEQ, c.reducedNEQ) << c.NUMA << " x " << c.NUMB;
    EXPECT_EQ(run.arrays.NEQ, c.NUMA * c.NUMB * (c.coupled ? 3 : 1));
  }
}

}  // namespace
}  // namespace korvant
