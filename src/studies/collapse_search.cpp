#include "studies/collapse_search.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <future>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <thread>

#include "core/text.hpp"
#include "input/model.hpp"
#include "job/analysis.hpp"
#include "job/exit_status.hpp"
#include "job/pipeline.hpp"
#include "nonlinear/convergence.hpp"

namespace korvant {
namespace {

using fmt::A;
using fmt::E;
using fmt::F;
using fmt::I;
using fmt::X;
using Clock = std::chrono::steady_clock;

// ---- The search as one fixed sequence of trials -------------------------------------------

enum class Seen { Completes, Collapses, Fatal };
using Outcomes = std::map<double, Seen>;

Seen seenOf(const TrialResult& t) {
  if (t.end == RunEnd::Fatal) return Seen::Fatal;
  return t.collapsed() ? Seen::Collapses : Seen::Completes;
}

// The sequence walked over the outcomes known so far: the round of multipliers it needs
// next, or, when it has ended, how. A round is two trials: the next two doublings (or
// halvings) while bracketing, both third points of the bracket after.
struct Walk {
  std::vector<double> next;
  SearchResult::Verdict verdict = SearchResult::Verdict::Stopped;
  double lo = 0.0, hi = 0.0;
  double stoppedAt = 0.0;  // the multiplier of a fatal trial
};

class Walker {
 public:
  Walker(const Outcomes& known, double tolerance) : known_(known), tolerance_(tolerance) {}

  Walk walk() {
    if (!round({1.0})) return w_;
    const bool up = seen_[0] == Seen::Completes;
    (up ? w_.lo : w_.hi) = 1.0;
    if (!bracket(up)) return w_;
    while (w_.hi - w_.lo >= tolerance_ * w_.lo) {
      const double third = (w_.hi - w_.lo) / 3.0;
      const double p1 = w_.lo + third, p2 = w_.lo + 2.0 * third;
      if (!round({p1, p2})) return w_;
      if (seen_[0] == Seen::Collapses) {
        w_.hi = p1;
      } else if (seen_[1] == Seen::Collapses) {
        w_.lo = p1;
        w_.hi = p2;
      } else {
        w_.lo = p2;
      }
    }
    w_.verdict = SearchResult::Verdict::Bracketed;
    return w_;
  }

 private:
  // The outcomes of the round into seen_; false (with the walk ended) when one is unknown or
  // fatal. Rounds are taken whole, so that they can run side by side.
  bool round(const std::vector<double>& multipliers) {
    seen_.clear();
    for (double m : multipliers) {
      const auto it = known_.find(m);
      if (it == known_.end()) {
        w_.next.push_back(m);
        continue;
      }
      seen_.push_back(it->second);
    }
    if (!w_.next.empty()) return false;
    for (std::size_t k = 0; k < seen_.size(); ++k)
      if (seen_[k] == Seen::Fatal) {
        w_.verdict = SearchResult::Verdict::Stopped;
        w_.stoppedAt = multipliers[k];
        return false;
      }
    return true;
  }

  // Doubling from a completed 1 (or halving from a collapsed 1) two trials a round, until a
  // trial changes the outcome or the limit is passed.
  bool bracket(bool up) {
    const double factor = up ? 2.0 : 0.5;
    double& kept = up ? w_.lo : w_.hi;   // the end the outcome of 1 fixed
    double& found = up ? w_.hi : w_.lo;  // the end a changed outcome fixes
    const Seen changed = up ? Seen::Collapses : Seen::Completes;
    for (double m = factor; m <= kLargestMultiplier && m >= kSmallestMultiplier;
         m *= factor * factor) {
      if (!round({m, m * factor})) return false;
      if (seen_[0] == changed) {
        found = m;
        return true;
      }
      kept = m;
      if (seen_[1] == changed) {
        found = m * factor;
        return true;
      }
      kept = m * factor;
    }
    w_.verdict = up ? SearchResult::Verdict::NoCollapseUpTo : SearchResult::Verdict::CollapseBelow;
    return false;
  }

  const Outcomes& known_;
  double tolerance_;
  Walk w_;
  std::vector<Seen> seen_;
};

// ---- What the search writes ---------------------------------------------------------------

std::string number(double value, int digits = 5) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*g", digits, value);
  return text;
}

// Where a collapse happened, as the console says it.
std::string collapsePlace(const TrialResult& t) {
  const StagePosition& p = t.position;
  if (p.STAGE == SolutionStage::CRACKING)
    return "cracking stage, iteration " + std::to_string(p.iteration);
  return "stage " + std::to_string(codeNumber(p.STAGE)) + ", pass " + std::to_string(p.iteration) +
         ", increment " + std::to_string(p.increment) + ", load factor " + number(p.loadFactor, 4);
}

void writeTrialLine(Writer& console, const TrialResult& t, int number_) {
  std::string what = outcomeName(t.end);
  if (t.collapsed()) what += " (" + collapsePlace(t) + ")";
  if (t.end == RunEnd::Fatal) what += ": " + t.error;
  console.line("trial ", I(3, number_), ": multiplier ", A(padRight(number(t.multiplier), 10)),
               what, ", ", F(7, 2, t.seconds), " s");
}

// The result lines, the same at the console and at the end of JOB.col.
void writeResultLines(Writer& out, const SearchResult& r, double pressure,
                      const YieldLineEstimate& yieldLine) {
  using Verdict = SearchResult::Verdict;
  switch (r.verdict) {
    case Verdict::Bracketed:
      out.line("collapse load factor: ", number(r.lo), " .. ", number(r.hi), " (pressure ",
               number(r.lo * pressure), " .. ", number(r.hi * pressure), ")");
      break;
    case Verdict::NoCollapseUpTo:
      out.line("collapse load factor: no collapse up to ", number(kLargestMultiplier),
               " (pressure ", number(kLargestMultiplier * pressure), ")");
      break;
    case Verdict::CollapseBelow:
      out.line("collapse load factor: a collapse down to ", number(kSmallestMultiplier),
               " (pressure ", number(kSmallestMultiplier * pressure), ")");
      break;
    case Verdict::Stopped:
      out.line("collapse load factor: not found: ", r.error);
      break;
  }
  if (!yieldLine.available) {
    out.line("yield-line estimate: none (", yieldLine.reason, ")");
  } else if (r.verdict == Verdict::Bracketed) {
    const double ratio = 0.5 * (r.lo + r.hi) * pressure / yieldLine.pressure;
    out.line("yield-line estimate: ", number(yieldLine.pressure),
             " (collapse / yield-line = ", number(ratio, 3), ")");
  } else {
    out.line("yield-line estimate: ", number(yieldLine.pressure));
  }
}

void writeTable(Writer& out, const RunContext& run, const SearchResult& r, double pressure,
                double tolerance, int workers, const YieldLineEstimate& yieldLine) {
  out.line("COLLAPSE LOAD SEARCH OF JOB ", run.names.base);
  out.line("DECK PRESSURE ", E(12, 5, pressure), "   TOLERANCE ", F(8, 5, tolerance), "   WORKERS ",
           I(3, workers));
  out.blank();
  out.line(" TRIAL       MULTIPLIER     PRESSURE  ", A(padRight("OUTCOME", 30)),
           " MAX DEFLECTION  STAGE  PASS  INCR  LOAD FACTOR  SECONDS");
  for (std::size_t k = 0; k < r.trials.size(); ++k) {
    const TrialResult& t = r.trials[k];
    const std::string where =
        t.collapsed() ? fmt::line(I(6, codeNumber(t.position.STAGE)), I(6, t.position.iteration),
                                  I(6, t.position.increment), F(13, 4, t.position.loadFactor))
                      : std::string(31, ' ');
    out.line(I(6, static_cast<long long>(k + 1)), E(17, 9, t.multiplier),
             E(13, 5, t.multiplier * pressure), X(2), A(padRight(outcomeName(t.end), 30)),
             E(15, 5, t.deflection), A(where), F(9, 2, t.seconds));
  }
  out.blank();
  writeResultLines(out, r, pressure, yieldLine);
}

std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The trials of a round, `workers` at a time, each handed to `done` in the round's order.
void runRound(const std::vector<double>& multipliers, int workers,
              const std::function<TrialResult(double)>& trial,
              const std::function<void(const TrialResult&)>& done) {
  const std::size_t step = static_cast<std::size_t>(std::max(1, workers));
  for (std::size_t first = 0; first < multipliers.size(); first += step) {
    std::vector<std::future<TrialResult>> running;
    for (std::size_t k = first; k < std::min(multipliers.size(), first + step); ++k)
      running.push_back(std::async(std::launch::async, trial, multipliers[k]));
    for (auto& r : running) done(r.get());
  }
}

}  // namespace

TrialResult trialOf(const RunContext& run, double multiplier, double seconds) {
  TrialResult t;
  t.multiplier = multiplier;
  t.end = run.outcome.analysed ? run.outcome.end : RunEnd::NotStarted;
  t.position = run.position;
  t.seconds = seconds;
  if (run.outcome.analysed && run.outcome.end != RunEnd::Fatal)
    t.deflection =
        largestDeflection(finalSolution(run), run.model.NUMA, run.model.NUMB, run.model.COUPLING);
  return t;
}

TrialResult runTrial(const std::string& deckText, double multiplier, bool large,
                     bool conservative) {
  const auto start = Clock::now();
  std::istringstream keyboard;
  std::ostringstream console;
  JobRequest request;
  request.large = large;
  request.conservative = conservative;
  RunContext trial(keyboard, console, request);  // its report goes to no file
  RunPlan plan;
  plan.beforeAnalysis = [multiplier](ModelDeck& model) {
    scalePressures(model, multiplier);
    model.STATUS = false;
    model.GRAPHICS = false;
  };
  const RunOutcome& outcome = runDeck(trial, DeckSource::text(deckText), plan);
  const std::chrono::duration<double> seconds = Clock::now() - start;
  TrialResult t = trialOf(trial, multiplier, seconds.count());
  // A trial that ends before its analysis (its deck read differently than the job's) stops
  // the search like a fatal error, with the last error the report wrote.
  if (outcome.end == RunEnd::InputErrors) t.end = RunEnd::Fatal;
  if (t.end == RunEnd::Fatal) {
    const std::string& error = outcome.notes.lastError();
    t.error = error.empty() ? "a fatal run-time error" : error;
  }
  return t;
}

SearchResult searchCollapse(const TrialResult& atOne, double tolerance, int workers,
                            const std::function<TrialResult(double)>& trial,
                            const std::function<void(const TrialResult&, int)>& report) {
  SearchResult result;
  Outcomes known{{1.0, seenOf(atOne)}};
  result.trials.push_back(atOne);
  report(atOne, 1);
  for (;;) {
    const Walk w = Walker(known, tolerance).walk();
    if (w.next.empty()) {
      result.verdict = w.verdict;
      result.lo = w.lo;
      result.hi = w.hi;
      if (w.verdict == SearchResult::Verdict::Stopped) {
        const auto t =
            std::find_if(result.trials.begin(), result.trials.end(),
                         [&](const TrialResult& r) { return r.multiplier == w.stoppedAt; });
        result.error = "the trial at multiplier " + number(w.stoppedAt) + " stopped: " + t->error;
      }
      return result;
    }
    runRound(w.next, std::max(1, workers), trial, [&](const TrialResult& t) {
      result.trials.push_back(t);
      known[t.multiplier] = seenOf(t);
      report(t, static_cast<int>(result.trials.size()));
    });
  }
}

CollapseSearch runCollapseSearch(RunContext& run, const CollapseSearchRequest& request,
                                 double seconds) {
  CollapseSearch search;
  if (run.model.SOLPROC != SolutionProcedure::NONLINEAR) {
    Writer(std::cerr).line("korvant: --collapse needs a nonlinear deck (*SOLUTION = NONLINEAR); ",
                           run.names.deck, " is not one");
    search.status = exit_status::kUsage;
    return search;
  }
  if (run.model.CRKONLY)
    run.console.line(
        "note: the deck asks for the cracking solution only; its trials crack the "
        "concrete but never yield the steel");
  const std::string deckText = readText(run.names.deck);
  search.tolerance = request.tolerance;
  search.workers = request.workers > 0
                       ? request.workers
                       : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
  search.pressure = largestPressure(run.model);
  search.yieldLine = yieldLineEstimate(run.model);
  search.result = searchCollapse(
      trialOf(run, 1.0, seconds), search.tolerance, search.workers,
      [&deckText, large = run.request.large, conservative = run.request.conservative](double m) {
        return runTrial(deckText, m, large, conservative);
      },
      [&run](const TrialResult& t, int k) {
        writeTrialLine(run.console, t, k);
        run.console.flush();
      });
  std::ofstream table(run.names.base + ".col");
  Writer out(table);
  writeTable(out, run, search.result, search.pressure, search.tolerance, search.workers,
             search.yieldLine);
  table.flush();
  writeResultLines(run.console, search.result, search.pressure, search.yieldLine);
  run.console.flush();
  if (!table) {
    Writer(std::cerr).line("korvant: cannot write ", run.names.base, ".col");
    search.status = exit_status::kFatalRunTime;
  } else {
    search.status = search.result.verdict == SearchResult::Verdict::Stopped
                        ? exit_status::kFatalRunTime
                        : exit_status::kCompleted;
  }
  return search;
}

}  // namespace korvant
