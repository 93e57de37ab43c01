#include "exporters/summary_json.hpp"

#include "job/exit_status.hpp"

#ifdef KORVANT_HAVE_JSON

#include <charconv>
#include <fstream>
#include <nlohmann/json.hpp>
#include <vector>

#include "core/codes.hpp"
#include "core/text.hpp"
#include "job/stage_names.hpp"
#include "output/units.hpp"

namespace korvant {
namespace {

using Json = nlohmann::ordered_json;

Json peak(const Peak& p) {
  return Json{{"value", p.value}, {"x", p.x}, {"y", p.y}};
}

// A load factor of the incremental stage is a whole number of steps 1 / NINCY, the step
// rounded to single precision as the stage takes it: 10 steps of 0.1 make 1.0000000149 in
// double precision. It is given as the single-precision number it is, in its shortest
// decimal form (1 there).
double singlePrecision(double loadFactor) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, static_cast<float>(loadFactor)).ptr;
  double value = loadFactor;
  std::from_chars(text, end, value);
  return value;
}

Json resultsPart(const ResultPeaks& r) {
  static constexpr const char* kForces[] = {"mxx", "myy", "mxy", "nxx", "nyy", "nxy"};
  Json forces;
  for (std::size_t c = 0; c < r.forces.size(); ++c) forces[kForces[c]] = peak(r.forces[c]);
  forces["m1"] = peak(r.m1);
  forces["m2"] = peak(r.m2);
  Json results{{"section_forces", forces}};
  if (r.steel.any)
    results["most_utilised_bars"] = Json{{"layer", r.steel.layer},
                                         {"x", r.steel.x},
                                         {"y", r.steel.y},
                                         {"z", r.steel.z},
                                         {"utilisation", r.steel.utilisation},
                                         {"stress", r.steel.stress},
                                         {"strain", r.steel.strain},
                                         {"yielded", r.steel.yielded}};
  results["crack_depth"] = Json{{"lower", peak(r.crackLower)}, {"upper", peak(r.crackUpper)}};
  results["crack_width"] = Json{{"lower", peak(r.widthLower)}, {"upper", peak(r.widthUpper)}};
  return results;
}

Json unitsPart(const UnitLabels& u) {
  return Json{{"system", u.system},
              {"length", u.length},
              {"membrane_force", u.force},
              {"moment", u.moment},
              {"stress", u.stress},
              {"pressure", u.pressure},
              {"load_factor",
               "none: a multiple of the deck's loads (those of the incremental stage in single "
               "precision)"}};
}

const char* layoutName(SlabLayout SLABMODEL) {
  switch (SLABMODEL) {
    case SlabLayout::NINE_COLUMN:
      return "9-column";
    case SlabLayout::CLAMPED_PLATE:
      return "clamped";
    case SlabLayout::FOUR_COLUMN_FREE:
      return "4-column free edge";
    case SlabLayout::FOUR_COLUMN_SYM:
      return "4-column symmetric edge";
    case SlabLayout::SSCF:
      return "SSCF";
    case SlabLayout::SFSF:
      return "SFSF";
    case SlabLayout::FSFS:
      return "FSFS";
    case SlabLayout::SIMPLY_SUPPORTED:
      return "simply supported";
    case SlabLayout::USER_DEFINED:
      return "user-defined";
    default:
      return "none";
  }
}

Json jobPart(const RunContext& run) {
  const ModelDeck& m = run.model;
  return Json{{"name", run.names.base},
              {"deck", run.names.deck},
              {"report", run.names.report},
              {"heading", trimmed(m.TITLE)}};
}

Json optionsPart(const ModelDeck& m) {
  const bool nonlinear = m.SOLPROC == SolutionProcedure::NONLINEAR;
  Json options{{"procedure", nonlinear ? "nonlinear" : "linear"},
               {"coupling", m.COUPLING == Coupling::COUPLED ? "u, v, w" : "w only"},
               {"solver", m.SOLVER == EquationSolver::FULL ? "full" : "band"}};
  if (nonlinear) {
    options["NITCRK"] = m.NITCRK;
    options["NPASSY"] = m.NPASSY;
    options["NINCY"] = m.NINCY;
    options["CRKTOL"] = m.CRKTOL;
    options["WMAX"] = m.WMAX;
    options["yielding"] =
        m.YLDOPT == YieldingSolution::WITHOUT_CRACKING ? "yielding only" : "combined with cracking";
    options["cracking_only"] = m.CRKONLY;
  }
  return options;
}

Json stagesPart(const RunSummary& summary) {
  Json stages = Json::array();
  for (const StageRecord& s : summary.stages()) {
    Json stage{{"stage", codeNumber(s.STAGE)},
               {"name", stageNames(s.STAGE).name},
               {"solutions", s.solutions}};
    const bool incremental =
        s.STAGE != SolutionStage::INITIAL_ELASTIC && s.STAGE != SolutionStage::CRACKING;
    if (incremental) stage["passes"] = s.passes;
    Json steps = Json::array();
    for (const StageStep& step : s.steps) {
      Json entry;
      if (incremental) {
        entry["pass"] = step.pass;
        entry["increment"] = step.step;
        entry["load_factor"] = singlePrecision(step.loadFactor);
        entry["YINC"] = step.YINC;
      } else {
        entry["iteration"] = step.step;
      }
      entry["CINC"] = step.CINC;
      entry["w_max"] = peak(step.w);
      entry["completed"] = step.degraded;
      steps.push_back(entry);
    }
    if (!s.steps.empty()) stage[incremental ? "increments" : "iterations"] = steps;
    stages.push_back(stage);
  }
  return stages;
}

Json solutionsPart(const RunSummary& summary, bool coupled) {
  Json solutions = Json::array();
  for (const PrintedSolution& p : summary.solutions()) {
    Json maxima;
    if (coupled) {
      maxima["u"] = peak(p.displacement[0]);
      maxima["v"] = peak(p.displacement[1]);
    }
    maxima["w"] = peak(p.displacement[2]);
    if (p.fibres) {
      static const char* kNames[] = {"SXX", "SYY", "SXY"};
      for (int c = 0; c < 3; ++c) {
        maxima["upper"][kNames[c]] = peak(p.upper[static_cast<std::size_t>(c)]);
        maxima["lower"][kNames[c]] = peak(p.lower[static_cast<std::size_t>(c)]);
      }
    }
    Json solution{{"stage", p.linear ? "linear" : stageNames(p.STAGE).name},
                  {"STAGE", codeNumber(p.STAGE)},
                  {"maxima", maxima}};
    if (p.results) solution["results"] = resultsPart(p.peaks);
    solutions.push_back(solution);
  }
  return solutions;
}

// One converged step of the path: the columns of JOB.curve.csv.
Json curveEntry(const equilibrium::PathStep& s, double pressure) {
  return Json{{"step", s.step},
              {"load_factor", s.loadFactor},
              {"pressure", s.loadFactor * pressure},
              {"w_control", s.wControl},
              {"w_max", s.wMax},
              {"iterations", s.iterations},
              {"cracked", s.cracked},
              {"crushed", s.crushed},
              {"yielded", s.yielded}};
}

Json pathResultsPart(const PathStepResults& r, double pressure) {
  Json part{{"step", r.step.step},
            {"load_factor", r.step.loadFactor},
            {"pressure", r.step.loadFactor * pressure},
            {"w_control", r.step.wControl}};
  part["results"] = resultsPart(r.peaks);
  return part;
}

// The load path in equilibrium: how it ended, its curve, its peak, and the results at the
// peak and at the last step.
Json pathPart(const equilibrium::PathResult& path, const RunSummary& summary, double pressure) {
  Json part{{"end", pathEndText(path.end)}, {"steps", path.steps.size()}};
  Json curve = Json::array();
  for (const equilibrium::PathStep& s : path.steps) curve.push_back(curveEntry(s, pressure));
  part["curve"] = curve;
  if (path.steps.empty()) return part;
  const equilibrium::PathStep& peak = path.steps[path.peak];
  part["peak"] = Json{{"step", peak.step},
                      {"load_factor", peak.loadFactor},
                      {"pressure", peak.loadFactor * pressure},
                      {"w_control", peak.wControl}};
  // The summary keeps the results of the step with the largest load factor so far, the peak.
  if (summary.pathPeak().any && summary.pathPeak().step.step == peak.step)
    part["at_peak"] = pathResultsPart(summary.pathPeak(), pressure);
  if (summary.pathLast().any) part["at_last_step"] = pathResultsPart(summary.pathLast(), pressure);
  return part;
}

// Every error, warning and console note of the run, with its deck line where it has one.
Json noticesPart(const ReportNotes& notes) {
  static constexpr const char* kKinds[] = {"error", "warning", "note", "check", "remark"};
  Json list = Json::array();
  for (const Notice& notice : notes.notices()) {
    Json entry{{"kind", kKinds[static_cast<int>(notice.kind)]}, {"message", notice.text}};
    if (notice.deckLine > 0) entry["line"] = notice.deckLine;
    if (!notice.hint.empty()) entry["hint"] = notice.hint;
    list.push_back(entry);
  }
  return list;
}

// How the run ended, from its exit status, the run's outcome and the summary of its stages.
Json outcomePart(const RunContext& run, int exitStatus, const RunSummary& summary) {
  Json outcome{{"exit_status", exitStatus}};
  const ReportNotes& notes = run.outcome.notes;
  if (exitStatus == exit_status::kInputErrors) {
    const std::vector<std::string>& messages = notes.errorMessages();
    outcome["result"] = "input errors";
    outcome["input_errors"] = messages.size();
    outcome["messages"] = messages;
    return outcome;
  }
  if (exitStatus != exit_status::kCompleted) {
    outcome["result"] = "fatal run-time error";
    outcome["message"] = notes.fatalMessage();
    return outcome;
  }
  if (run.outcome.end == RunEnd::Collapse) {
    outcome["result"] = "collapse predicted";
    outcome["stage"] = codeNumber(run.STAGE);
    if (const StageStep* step = summary.lastStep()) {
      if (run.STAGE == SolutionStage::CRACKING) {
        outcome["iteration"] = step->step;
      } else {
        outcome["pass"] = step->pass;
        outcome["increment"] = step->step;
      }
      outcome["load_factor"] = singlePrecision(step->loadFactor);
    }
    return outcome;
  }
  if (run.outcome.end == RunEnd::WithoutConvergence) {
    outcome["result"] = "completed without convergence";
    outcome["stage"] = codeNumber(run.STAGE);
    return outcome;
  }
  const bool finalPrinted =
      !summary.solutions().empty() && summary.solutions().back().STAGE == run.STAGE;
  outcome["result"] = finalPrinted ? "completed" : "completed without a final solution";
  return outcome;
}

Json trialPart(const TrialResult& t, double pressure) {
  Json trial{{"multiplier", t.multiplier},
             {"pressure", t.multiplier * pressure},
             {"outcome", outcomeName(t.end)},
             {"deflection", t.deflection},
             {"seconds", t.seconds}};
  if (t.collapsed()) {
    trial["stage"] = codeNumber(t.position.STAGE);
    trial[t.position.STAGE == SolutionStage::CRACKING ? "iteration" : "pass"] =
        t.position.iteration;
    if (t.position.STAGE != SolutionStage::CRACKING) trial["increment"] = t.position.increment;
    trial["load_factor"] = singlePrecision(t.position.loadFactor);
  }
  if (!t.error.empty()) trial["message"] = t.error;
  return trial;
}

Json searchPart(const CollapseSearch& s) {
  static constexpr const char* kVerdicts[] = {"bracketed", "no collapse up to the limit",
                                              "collapse down to the limit", "stopped"};
  const SearchResult& r = s.result;
  Json search{{"tolerance", s.tolerance},
              {"workers", s.workers},
              {"deck_pressure", s.pressure},
              {"verdict", kVerdicts[static_cast<int>(r.verdict)]}};
  if (r.verdict == SearchResult::Verdict::Bracketed) {
    search["load_factor"] = Json{{"lo", r.lo}, {"hi", r.hi}};
    search["pressure"] = Json{{"lo", r.lo * s.pressure}, {"hi", r.hi * s.pressure}};
  }
  if (!r.error.empty()) search["message"] = r.error;
  if (s.yieldLine.available) {
    search["yield_line"] = Json{{"pressure", s.yieldLine.pressure}};
    if (r.verdict == SearchResult::Verdict::Bracketed)
      search["yield_line"]["collapse_ratio"] =
          0.5 * (r.lo + r.hi) * s.pressure / s.yieldLine.pressure;
  } else {
    search["yield_line"] = Json{{"none", s.yieldLine.reason}};
  }
  Json trials = Json::array();
  for (const TrialResult& t : r.trials) trials.push_back(trialPart(t, s.pressure));
  search["trials"] = trials;
  return search;
}

}  // namespace

bool writeJsonSummary(const RunContext& run, const RunSummary& summary, int exitStatus,
                      const CollapseSearch* search, std::string& problem) {
  // A job that never started (no job named, no report opened) has no summary.
  if (run.names.base.empty() || exitStatus == exit_status::kDialogue) return true;
  const ModelDeck& m = run.model;
  Json doc{{"program", "korvant"}, {"version", KORVANT_VERSION}, {"job", jobPart(run)}};
  doc["units"] = unitsPart(unitLabels(run.request.units));
  doc["grid"] = Json{{"A", m.A}, {"B", m.B}, {"NUMA", m.NUMA}, {"NUMB", m.NUMB}};
  doc["layout"] = Json{{"SLABMODEL", codeNumber(m.SLABMODEL)}, {"name", layoutName(m.SLABMODEL)}};
  doc["solution"] = optionsPart(m);
  doc["outcome"] = outcomePart(run, exitStatus, summary);
  doc["stages"] = stagesPart(summary);
  doc["solutions"] = solutionsPart(summary, m.COUPLING == Coupling::COUPLED);
  if (run.path) doc["equilibrium_path"] = pathPart(*run.path, summary, firstPressure(m));
  if (search) doc["collapse_search"] = searchPart(*search);
  if (!run.outcome.notes.notices().empty()) doc["notices"] = noticesPart(run.outcome.notes);
  const std::string name = run.names.base + ".json";
  std::ofstream file(name, std::ios::out | std::ios::trunc);
  file << doc.dump(2) << '\n';
  file.close();
  if (file) return true;
  problem = "the summary file " + name + " cannot be written";
  return false;
}

}  // namespace korvant

#else  // built without nlohmann-json

namespace korvant {

bool writeJsonSummary(const RunContext&, const RunSummary&, int, const CollapseSearch*,
                      std::string& problem) {
  problem = "this build of korvant has no JSON support";
  return false;
}

}  // namespace korvant

#endif
