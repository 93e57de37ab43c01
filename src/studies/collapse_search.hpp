// The collapse load of a slab in one command: the nonlinear analysis of a deck run again and
// again with every pressure multiplied by a load multiplier, each trial from the initial
// layer tables, to bracket the multiplier at which a collapse is first predicted. From 1 the
// multiplier doubles while the trial completes and halves while it collapses; the bracket is
// then cut in three until it is narrower than a tolerance times its lower end: the lower
// third point is tried, and the upper one when the lower completes.
//
// The search is a fixed sequence of trials, the same whatever the number of workers: with
// more than one, the trials the sequence may need next (both third points of a bracket, the
// next two doublings) are run side by side and the sequence then takes the results it needs,
// so the bracket does not depend on the workers.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "job/run_context.hpp"
#include "section/yield_line.hpp"

namespace korvant {

// One trial: the deck's pressures times `multiplier`, and how its analysis ended.
struct TrialResult {
  double multiplier = 0.0;
  RunEnd end = RunEnd::NotStarted;
  StagePosition position;   // where the stages were when the analysis ended
  double deflection = 0.0;  // w of largest magnitude of the final (or collapsing) solution
  std::string error;        // the message of a fatal run-time error
  double seconds = 0.0;

  bool collapsed() const { return end == RunEnd::Collapse; }
};

// How the run of `run` ended, as a trial at `multiplier` (from the run's outcome; the
// message of a fatal error is the trial's own, not taken here).
TrialResult trialOf(const RunContext& run, double multiplier, double seconds);

// Runs the deck text under its pressures times `multiplier` in a context of its own; nothing
// is written to any file. `large`: on the sparse equation store, `conservative`: on the
// equations on the section forces, as the job itself ran.
TrialResult runTrial(const std::string& deckText, double multiplier, bool large = false,
                     bool conservative = false);

// The largest and smallest multipliers the search tries.
inline constexpr double kLargestMultiplier = 1024.0;
inline constexpr double kSmallestMultiplier = 1.0 / 1024.0;

// Where the search got to.
struct SearchResult {
  enum class Verdict { Bracketed, NoCollapseUpTo, CollapseBelow, Stopped };
  Verdict verdict = Verdict::Stopped;
  double lo = 0.0, hi = 0.0;        // the bracket: lo completes, hi collapses
  std::vector<TrialResult> trials;  // in the order run
  std::string error;                // Stopped: the fatal error of a trial
};

// The search from the result at multiplier 1, with `trial` running one multiplier and
// `workers` trials at a time; `report` is told each trial as it ends, in the order run.
SearchResult searchCollapse(const TrialResult& atOne, double tolerance, int workers,
                            const std::function<TrialResult(double)>& trial,
                            const std::function<void(const TrialResult&, int)>& report);

// What the whole command found, for the run's summary.
struct CollapseSearch {
  int status = 0;  // the exit status of the command
  SearchResult result;
  double pressure = 0.0;  // the deck's pressure of largest magnitude, at multiplier 1
  double tolerance = 0.0;
  int workers = 0;
  YieldLineEstimate yieldLine;
};

// The whole command: the search on the job of `run`, whose report of multiplier 1 has been
// written in `seconds`, its table JOB.col, and its console lines.
CollapseSearch runCollapseSearch(RunContext& run, const CollapseSearchRequest& request,
                                 double seconds);

}  // namespace korvant
