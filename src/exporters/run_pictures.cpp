#include "exporters/run_pictures.hpp"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "core/codes.hpp"
#include "core/text.hpp"
#include "core/writer.hpp"
#include "job/stage_names.hpp"
#include "output/maxima.hpp"
#include "section/yield_line.hpp"

extern char** environ;

namespace korvant {
namespace {

namespace fs = std::filesystem;

std::string shortNumber(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", value);
  return text;
}

// The name of a printed solution's picture after "w_", and what the solution is.
std::pair<std::string, std::string> solutionOf(const PrintedSolution& p) {
  const char* name = solutionLabel(p.STAGE, p.linear);
  return {name, p.linear ? "linear solution" : stageNames(p.STAGE).solution};
}

// Where the stage was when it stopped: the iteration, or the pass and increment with the
// load factor.
std::string positionOf(const RunSummary& summary) {
  const StageStep* step = summary.lastStep();
  if (!step || summary.stages().empty()) return {};
  const std::string stage =
      std::string(" in the ") + stageNames(summary.stages().back().STAGE).name + " stage";
  if (step->pass == 0) return stage + ", iteration " + std::to_string(step->step);
  return stage + ", pass " + std::to_string(step->pass) + ", increment " +
         std::to_string(step->step) + ", load factor " + shortNumber(step->loadFactor);
}

std::string endOf(const RunOutcome& outcome, const RunSummary& summary) {
  switch (outcome.end) {
    case RunEnd::Completed:
      return "analysis completed";
    case RunEnd::Collapse:
      return "collapse predicted" + positionOf(summary);
    case RunEnd::WithoutConvergence:
      return "completed without convergence" + positionOf(summary);
    case RunEnd::PassesExhausted:
      return "passes exhausted" + positionOf(summary);
    case RunEnd::Fatal:
      return "stopped by a fatal error" + positionOf(summary);
    case RunEnd::NotStarted:
    case RunEnd::InputErrors:
      break;
  }
  return "analysis not run";
}

PictureMap failureMap(std::string name, std::string when, std::vector<double> values) {
  return {std::move(name),
          "Failure measure " + when +
              "\nper point, the largest fraction of its layers newly failed in one failure test",
          "newly failed layers / layers (largest in one test)",
          true,
          false,
          std::move(values),
          {}};
}

// Where the cracks are: the crack depth, or the crack width, of every point of `r` at one face.
std::vector<double> faceValues(const SolutionResults& r, bool lower, bool width) {
  std::vector<double> v;
  for (const PointResults& p : r.points)
    v.push_back(width ? (lower ? p.widthLower : p.widthUpper)
                      : (lower ? p.cracks.lower : p.cracks.upper));
  return v;
}

// The bars of the b-th bar layer as an engineer names them: "bottom x", "top y", ...
std::string barName(const SolutionResults& r, int b) {
  for (const PointResults& p : r.points) {
    if (static_cast<int>(p.bars.size()) < b) continue;
    const BarLayerResult& bar = p.bars[static_cast<std::size_t>(b - 1)];
    const double c = std::abs(std::cos(bar.theta * std::numbers::pi / 180.0));
    return std::string(bar.lowerHalf ? "bottom" : "top") + (c >= std::sqrt(0.5) ? " x" : " y") +
           " (layer " + std::to_string(bar.layer) + ", theta " + shortNumber(bar.theta) + ")";
  }
  return "bar layer " + std::to_string(b);
}

// The maps of the results `r` of a solution, `what`: principal moments; with `cracks` the
// crack depth and width per face; the utilisation of every bar layer.
void addResultMaps(const SolutionResults& r, const std::string& what, bool cracks,
                   PictureSet& set) {
  if (r.points.empty()) return;
  const UnitLabels& u = set.units;
  for (const bool first : {true, false}) {
    std::vector<double> m;
    for (const PointResults& p : r.points) m.push_back(first ? p.principal.m1 : p.principal.m2);
    set.maps.push_back({first ? "moments_m1" : "moments_m2",
                        std::string(first ? "Larger" : "Smaller") +
                            " principal moment per unit width, " + what +
                            "\npositive: lower face in tension",
                        std::string(first ? "m1" : "m2") + " [" + u.moment + "]",
                        false,
                        false,
                        std::move(m),
                        {}});
  }
  if (cracks) {
    for (const bool lower : {true, false}) {
      const std::string face = lower ? "lower" : "upper";
      set.maps.push_back({"cracks_" + face,
                          "Crack map of the " + face + " face, " + what +
                              "\ndepth of the cracked concrete from the face",
                          "crack depth / section depth",
                          true,
                          false,
                          faceValues(r, lower, false),
                          {}});
      set.maps.push_back({"crack_width_" + face,
                          "Crack width at the " + face + " face, " + what +
                              "\nEN 1992-1-1 7.3.4, long-term (k_t = 0.4)",
                          "w_k [" + u.length + "]",
                          false,
                          false,
                          faceValues(r, lower, true),
                          {}});
    }
  }
  for (int b = 1; b <= std::min(r.barLayers, kBarLayerPictures); ++b) {
    std::vector<double> v, yielded;
    for (const PointResults& p : r.points) {
      const bool has = static_cast<int>(p.bars.size()) >= b;
      const BarLayerResult bar = has ? p.bars[static_cast<std::size_t>(b - 1)] : BarLayerResult{};
      v.push_back(bar.utilisation);
      yielded.push_back(bar.yielded ? 1.0 : 0.0);
    }
    set.maps.push_back({barPictureName(b),
                        "Yield map of the bars " + barName(r, b) + ", " + what +
                            "\nstress along the bars over the yield stress",
                        "utilisation |stress| / yield stress", false, true, std::move(v),
                        std::move(yielded)});
  }
}

// The results of the last printed solution.
void addLastResultMaps(const RunContext& run, const RunSummary& summary, PictureSet& set) {
  if (summary.solutions().empty()) return;
  addResultMaps(summary.lastResults(), solutionOf(summary.solutions().back()).second,
                run.model.SOLPROC == SolutionProcedure::NONLINEAR, set);
}

// The load path in equilibrium: its curve beside the layout's yield line, and w, the
// moments, the cracks and the bars at its peak.
void addPath(const RunContext& run, const RunSummary& summary, PictureSet& set) {
  const equilibrium::PathResult& path = *run.path;
  if (path.steps.empty()) return;
  for (const equilibrium::PathStep& s : path.steps)
    set.path.push_back({s.step, s.loadFactor, s.wControl, s.yielded, s.crushed});
  set.pathPeak = path.peak;
  const equilibrium::PathStep& peak = path.steps[path.peak];
  set.pathTitle = "Load-deflection path in equilibrium, " + std::to_string(path.steps.size()) +
                  " converged steps\n" + pathEndText(path.end) + "; peak load factor " +
                  shortNumber(peak.loadFactor) + " at step " + std::to_string(peak.step);
  if (const YieldLineEstimate y = yieldLineEstimate(run.model); y.available)
    set.yieldLinePressure = y.pressure;
  const PathStepResults& r = summary.pathPeak();
  if (!r.any) return;
  const std::string what = "peak of the load path (step " + std::to_string(r.step.step) +
                           ", load factor " + shortNumber(r.step.loadFactor) + ")";
  if (!r.w.empty())
    set.maps.push_back({"w_path_peak",
                        "Lateral displacement w, " + what,
                        "w [" + set.units.length + "]",
                        false,
                        false,
                        r.w,
                        {}});
  addResultMaps(r.fields, what, true, set);
}

bool hasStage(const RunSummary& summary, SolutionStage STAGE) {
  for (const StageRecord& s : summary.stages())
    if (s.STAGE == STAGE) return true;
  return false;
}

void addMaps(const RunContext& run, const RunSummary& summary, PictureSet& set) {
  bool crackingMap = false;
  for (const PrintedSolution& p : summary.solutions()) {
    if (p.w.empty()) continue;
    const auto [name, what] = solutionOf(p);
    const Peak& w = p.displacement[2];
    set.maps.push_back({"w_" + name,
                        "Lateral displacement w, " + what + "\nlargest " + shortNumber(w.value) +
                            " at x = " + shortNumber(w.x) + ", y = " + shortNumber(w.y),
                        "w [" + set.units.length + "]",
                        false,
                        false,
                        p.w,
                        {}});
    if (p.STAGE == SolutionStage::CRACKING && !p.failure.empty()) {
      set.maps.push_back(failureMap("failure_cracking", "after the cracking stage", p.failure));
      crackingMap = true;
    }
  }
  // The end differs from the cracking map once the incremental stage ran, or when the
  // cracking stage itself ended the run.
  if (!hasStage(summary, SolutionStage::CRACKING)) return;
  const bool incremental =
      hasStage(summary, SolutionStage::COMBINED) || hasStage(summary, SolutionStage::YIELDING);
  if (crackingMap && !incremental) return;
  std::vector<double> values;
  for (int n = 1; n <= set.grid.NUMA * set.grid.NUMB; ++n)
    values.push_back(run.files.failureRatio.read(n)[0]);
  set.maps.push_back(failureMap(
      "failure_end", "at the end of the run\n" + endOf(run.outcome, summary), std::move(values)));
}

void addCurve(const RunContext& run, const RunSummary& summary, PictureSet& set) {
  for (const StageRecord& stage : summary.stages()) {
    if (stage.STAGE != SolutionStage::COMBINED && stage.STAGE != SolutionStage::YIELDING) continue;
    for (const StageStep& s : stage.steps)
      if (s.degraded)  // the increments whose iteration report was printed
        set.curve.push_back(
            {s.pass, s.step, s.loadFactor, s.w.value, s.w.x, s.w.y, s.YINC, s.CINC});
    set.curveTitle = std::string("Load-deflection curve of the ") + stageNames(stage.STAGE).name +
                     " stage, every increment of every pass\n" + endOf(run.outcome, summary);
    // The collapsing increment was added to the running total before its deflection
    // stopped the stage: that total is the curve's last point.
    const bool collapsed = run.outcome.end == RunEnd::Collapse;
    if (collapsed && !stage.steps.empty() && !stage.steps.back().degraded) {
      const StageStep& s = stage.steps.back();
      const Peak w = displacementPeaks(run.arrays.solutions.yieldingTotal, run.model, set.grid)[2];
      set.collapse = CurvePoint{s.pass, s.step, s.loadFactor, w.value, w.x, w.y, 0, 0};
    }
  }
}

// Runs gnuplot on the script inside `folder`, its messages into gnuplot.log there. Returns
// the exit status, or -1 with errno's value in `error` when it could not be started.
int runGnuplot(const fs::path& folder, int& error) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  posix_spawn_file_actions_addopen(&actions, 1, "gnuplot.log", O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  std::string program = "gnuplot", script = kPictureScript;
  char* argv[] = {program.data(), script.data(), nullptr};
  pid_t pid = 0;
  error = posix_spawnp(&pid, "gnuplot", &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return -1;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

PictureSet picturesOf(const RunContext& run, const RunSummary& summary) {
  PictureSet set;
  set.heading = run.model.HASTITLE ? trimmed(run.model.TITLE) : std::string();
  set.grid = DifferenceGrid{run.model.A, run.model.B, run.model.NUMA, run.model.NUMB};
  set.units = unitLabels(run.request.units);
  set.pressure = firstPressure(run.model);
  addMaps(run, summary, set);
  if (run.path) {
    addPath(run, summary, set);
  } else {
    addLastResultMaps(run, summary, set);
    addCurve(run, summary, set);
  }
  return set;
}

void drawPictures(const RunContext& run, const RunSummary& summary, std::ostream& errors) {
  Writer say(errors);
  const fs::path base(run.names.base);
  const fs::path folder = base.string() + ".plots";
  const std::string stem = base.filename().string();
  const fs::path beside = base.parent_path();
  std::error_code ignored;
  for (const std::string& name : pictureNames()) {
    fs::remove(beside / (stem + "_" + name + ".png"), ignored);
    fs::remove(folder / (name + ".dat"), ignored);
  }
  fs::remove(folder / kCollapsePoint, ignored);
  const PictureSet set = picturesOf(run, summary);
  std::vector<std::string> drawn;
  std::string problem;
  if (!writePictureFiles(folder, stem, set, drawn, problem)) {
    say.line("korvant: --plots: ", problem, "; no pictures were drawn");
    return;
  }
  if (drawn.empty()) return;
  int error = 0;
  const int status = runGnuplot(folder, error);
  const std::string command = "cd " + folder.string() + " && gnuplot " + kPictureScript;
  if (status < 0 && error == ENOENT) {
    say.line("korvant: --plots: gnuplot was not found on PATH, so no pictures were drawn;");
    say.line("korvant: their data files and script are kept in ", folder.string(),
             " (install gnuplot, e.g. the Debian package gnuplot-nox, then: ", command, ")");
  } else if (status != 0) {
    say.line("korvant: --plots: gnuplot ", status < 0 ? "could not be started" : "failed",
             ", so the pictures may be missing; see ", (folder / "gnuplot.log").string(),
             " (the data files are kept; again: ", command, ")");
  }
}

}  // namespace korvant
