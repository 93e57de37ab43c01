// How a run ended, recorded once as the run goes: the job start, the input, the set-up and
// the analysis each note here where they end the run, and the report's writer notes every
// error line it writes. The closing line, the summary file, the pictures and the collapse
// search read this record; none of them works the outcome out again or reads the report back.
#pragma once

#include <optional>
#include <string>

#include "core/report_notes.hpp"

namespace korvant {

enum class RunEnd {
  NotStarted,          // the job did not start: a missing deck, a refused overwrite, ...
  InputErrors,         // fatal input errors, or a deck that could not be read on
  Completed,           // the linear solution, the cracking solution alone, or the full load reached
  Collapse,            // a deflection reached the allowable: a structural collapse is predicted
  WithoutConvergence,  // the combined procedure failed in its last pass: the stage 6 table
  PassesExhausted,     // the incremental passes ran out undecided
  Fatal,               // a fatal run-time error stopped the run
};

// The peak of a load path followed in equilibrium, over its converged steps.
struct PathPeak {
  int step = 0;
  double loadFactor = 0.0;
  double pressure = 0.0;  // the deck's first load times the load factor
  double wControl = 0.0;  // the control point's deflection
};

struct RunOutcome {
  RunEnd end = RunEnd::NotStarted;
  bool analysed = false;         // the analysis began (a fatal error can stop a run before it)
  int inputErrors = 0;           // the fatal input errors counted (1 for a deck not read on)
  ReportNotes notes;             // what the report said of errors, noted as it was written
  std::optional<PathPeak> peak;  // an analysis in equilibrium with a converged step
};

// How a run ended in words: in the closing line of a job ("completed", "3 input errors", ...)
// and as a trial of the collapse search names it ("passes ran out", "did not run", ...).
std::string outcomeText(const RunOutcome& outcome);
const char* outcomeName(RunEnd end);

}  // namespace korvant
