#include "job/equilibrium_run.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <string>

#include "core/grid.hpp"
#include "equations/reduction.hpp"
#include "equilibrium/deck_sections.hpp"
#include "job/analysis.hpp"
#include "job/path_states.hpp"
#include "output/units.hpp"
#include "section/point_zone.hpp"

namespace korvant {
namespace {

using namespace equilibrium;
using fmt::A;
using fmt::E;
using fmt::F;
using fmt::I;
using fmt::X;

// The sections of the deck's zones and, for every point, the one of its zone.
struct DeckSections {
  std::vector<Section> zones;
  std::vector<const Section*> points;
};

DeckSections deckSections(const ModelDeck& m, const LayerOptions& o) {
  DeckSections d;
  for (int z = 1; z <= m.NZONE; ++z) d.zones.push_back(makeSection(zoneLayers(m, z, o)));
  const DifferenceGrid grid{m.A, m.B, m.NUMA, m.NUMB};
  for (int J = 1; J <= m.NUMA; ++J) {
    for (int I = 1; I <= m.NUMB; ++I) {
      const int z = std::max(zoneRowOfPoint(m, grid.x(J), grid.y(I)), 1);
      d.points.push_back(&d.zones[static_cast<std::size_t>(z - 1)]);
    }
  }
  return d;
}

// The secant system of the run: the pass of the run on the section forces, with the stiffness
// the path writes, and the strains of its solution by the differences of the recovery.
//
// While it lives, the passes solve on the full store (the Crout decomposition restricted to
// the band) whatever the deck's solver option, where the store holds every unknown: that
// decomposition calls no BLAS routine, whereas the band routines' level-1 BLAS rounds
// differently from one library and processor to another. Past the spread of yielding a path
// has more than one equilibrium at a deflection and the round-off decides which it finds, so
// this keeps a deck's path the same whatever BLAS the machine has. The deck's option comes
// back with the system's end (the summary names it).
class RunSecantSystem final : public SecantSystem {
 public:
  explicit RunSecantSystem(RunContext& run) : run_(run), deckSolver_(run.model.SOLVER) {
    const ModelDeck& m = run.model;
    run.arrays.assembly.field.resize(m.NUMA, m.NUMB);
    if (!run.arrays.store.sparse() &&
        realUnknowns(m.NUMA, m.NUMB, m.COUPLING) <= run.arrays.store.MXBD())
      run.model.SOLVER = EquationSolver::FULL;
  }
  ~RunSecantSystem() override { run_.model.SOLVER = deckSolver_; }
  RunSecantSystem(const RunSecantSystem&) = delete;
  RunSecantSystem& operator=(const RunSecantSystem&) = delete;
  StiffnessField& field() override { return run_.arrays.assembly.field; }
  bool solveUnit(std::vector<double>& solution, std::vector<PointStrains>& strains) override;

 private:
  RunContext& run_;
  EquationSolver deckSolver_;
};

bool RunSecantSystem::solveUnit(std::vector<double>& solution, std::vector<PointStrains>& strains) {
  AnalysisArrays& a = run_.arrays;
  const ModelDeck& m = run_.model;
  a.assembly.fieldGiven = true;
  const PassOutcome outcome = solvePass(run_, 1.0);
  a.assembly.fieldGiven = false;
  if (outcome != PassOutcome::Solved) return false;
  const Matrix<double>& s = a.solutions.current;
  const int per = unknownsPerPoint(m.COUPLING);
  solution.resize(static_cast<std::size_t>(per * m.NUMA * m.NUMB));
  std::size_t p = 0;
  for (int J = 1; J <= m.NUMA; ++J) {
    for (int I = 1; I <= m.NUMB; ++I, ++p) {
      const int q = EQN(I, J, m.NUMA, m.NUMB, Numbering::REAL, m.COUPLING);
      for (int c = 0; c < per; ++c) solution[static_cast<std::size_t>(per) * p + c] = s(q + c);
    }
  }
  differencedStrains(run_, s, strains);
  return true;
}

// The point of the largest elastic deflection, or the one asked for.
std::size_t controlPoint(const RunContext& run, const std::vector<double>& solution) {
  const ModelDeck& m = run.model;
  if (const auto& c = run.request.equilibrium.control)
    return static_cast<std::size_t>((c->second - 1) * m.NUMB + (c->first - 1));
  const auto per = static_cast<std::size_t>(unknownsPerPoint(m.COUPLING));
  double largest = 0.0;
  for (std::size_t p = 0; p * per < solution.size(); ++p)
    largest = std::max(largest, std::abs(solution[per * p + per - 1]));
  // Points that a symmetric slab deflects alike differ in their round-off only: the first of
  // them in point order is taken, whatever the round-off of the sections.
  std::size_t p = 0;
  while ((p + 1) * per < solution.size() &&
         std::abs(solution[per * p + per - 1]) < (1.0 - 1e-9) * largest)
    ++p;
  return p;
}

// The controls of the path from the elastic unit solution: the step a quarter of the control
// deflection at first cracking unless one is asked for, the deflection limit span / 15.
PathControls controlsOf(const RunContext& run, const std::vector<const Section*>& sections,
                        const std::vector<double>& solution,
                        const std::vector<PointStrains>& strains) {
  const ModelDeck& m = run.model;
  const EquilibriumRequest& r = run.request.equilibrium;
  PathControls c;
  c.NUMB = m.NUMB;
  c.coupled = m.COUPLING == Coupling::COUPLED;
  c.control = controlPoint(run, solution);
  const std::size_t per = c.coupled ? 3 : 1;
  const double wUnit = solution[per * c.control + per - 1];
  c.direction = wUnit < 0.0 ? -1.0 : 1.0;
  c.limit = std::min(m.A, m.B) / 15.0;
  const double wCracking = std::abs(wUnit) * firstCrackingFactor(sections, strains);
  c.step = r.step > 0.0 ? r.step : (wCracking > 0.0 ? 0.25 * wCracking : c.limit / 400.0);
  c.tolerance = r.tolerance;
  c.stopAt = r.stopAt;
  c.ts = r.stiffening;
  return c;
}

// How the path ended, as the report says it: in capitals.
std::string endText(PathEnd end) {
  std::string text = pathEndText(end);
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

void writeHeader(Writer& out, const PathControls& c) {
  const GridPoint control = pointOfIndex(c.control, c.NUMB);
  out.blank();
  out.line(X(15), "* EQUILIBRIUM ANALYSIS ALONG THE LOAD PATH (SECANT, DISPLACEMENT CONTROL)");
  out.blank();
  out.line(X(5), "CONTROL POINT I =", I(5, control.I), ", J =", I(5, control.J), X(3), "STEP",
           E(11, 3, c.step), X(3), "TOLERANCE", E(11, 3, c.tolerance), X(3), "LIMIT",
           E(11, 3, c.limit));
  out.blank();
  out.line(X(5), " STEP  LOAD FACTOR     PRESSURE    W CONTROL        W MAX  ITER",
           "  CRACKED  CRUSHED  YIELDED");
}

void writeStep(Writer& out, const PathStep& s, double pressure) {
  out.line(X(5), I(5, s.step), E(13, 5, s.loadFactor), E(13, 5, s.loadFactor * pressure),
           E(13, 5, s.wControl), E(13, 5, s.wMax), I(6, s.iterations), I(9, s.cracked),
           I(9, s.crushed), I(9, s.yielded));
}

bool writeCurve(const std::string& name, const std::vector<PathStep>& steps, double pressure) {
  std::ofstream f(name);
  f << "step,load_factor,pressure,w_control,w_max,iterations,cracked,crushed,yielded\n";
  f.precision(9);
  for (const PathStep& s : steps)
    f << s.step << ',' << s.loadFactor << ',' << s.loadFactor * pressure << ',' << s.wControl << ','
      << s.wMax << ',' << s.iterations << ',' << s.cracked << ',' << s.crushed << ',' << s.yielded
      << '\n';
  f.close();
  return !f.fail();
}

// The step lines, how the path ended and, over its converged steps, its peak.
void writeBlock(RunContext& run, const PathControls& c, const PathResult& path, double pressure) {
  Writer out = run.statusReport();
  writeHeader(out, c);
  for (const PathStep& s : path.steps) writeStep(out, s, pressure);
  out.blank();
  out.line(X(5), "THE PATH ENDED: ", endText(path.end));
  if (path.steps.empty()) {
    out.line(X(5), "NO STEP CONVERGED: THE PATH HAS NO PEAK");
    return;
  }
  const PathStep& peak = path.steps[path.peak];
  out.line(X(5), "PEAK LOAD FACTOR", E(13, 5, peak.loadFactor), X(3), "PRESSURE",
           E(13, 5, peak.loadFactor * pressure), X(3), "AT STEP", I(5, peak.step), X(3),
           "W CONTROL", E(13, 5, peak.wControl));
  if (path.end == PathEnd::FellPastPeak || path.end == PathEnd::DeflectionLimit) return;
  // A path that stopped before its rules ended it has not shown the load falling past its
  // peak: the largest load of its converged steps bounds the slab's from below.
  if (peak.loadFactor > 0.0)
    out.line(X(5), "THE PATH STOPPED AT", F(8, 5, path.steps.back().loadFactor / peak.loadFactor),
             " OF THE PEAK: THE SLAB'S PEAK MAY LIE HIGHER");
  if (path.end != PathEnd::NotConverged) return;
  // Where the slab did not settle: a hinge whose moment falls as it turns, most often.
  const GridPoint at = pointOfIndex(path.unsettled, c.NUMB);
  out.line(X(5), "THE LAST ITERATE CHANGED MOST AT POINT I =", I(5, at.I), ", J =", I(5, at.J));
}

// How the path ended, for the closing lines: its peak, and a path that stopped undecided.
void recordOutcome(RunOutcome& outcome, const PathResult& path, double pressure) {
  if (!path.steps.empty()) {
    const PathStep& peak = path.steps[path.peak];
    outcome.peak = PathPeak{peak.step, peak.loadFactor, peak.loadFactor * pressure, peak.wControl};
  }
  if (path.end == PathEnd::NotConverged || path.end == PathEnd::StepLimit)
    outcome.end = RunEnd::WithoutConvergence;
}

// False, with a fatal error in the report, when the control point asked for is not a point
// of the grid.
bool controlOnGrid(RunContext& run) {
  const ModelDeck& m = run.model;
  const auto& c = run.request.equilibrium.control;
  if (!c || (c->first <= m.NUMB && c->second <= m.NUMA)) return true;
  run.statusReport().line("***ERROR: THE CONTROL POINT I =", I(5, c->first),
                          ", J =", I(5, c->second), " IS NOT A POINT OF THE GRID (I TO",
                          I(5, m.NUMB), ", J TO", I(5, m.NUMA), ")");
  ++run.fatal;
  return false;
}

}  // namespace

void equilibriumPath(RunContext& run) {
  if (!controlOnGrid(run)) return;
  const ModelDeck& m = run.model;
  const DeckSections sections =
      deckSections(m, {run.request.equilibrium.hardening, unitLabels(run.request.units).MPa});
  RunSecantSystem system(run);
  std::vector<double> solution;
  std::vector<PointStrains> strains;
  if (!elasticUnitSolution(system, sections.points, m.COUPLING == Coupling::COUPLED, m.NUMB,
                           solution, strains))
    return;
  PathControls c = controlsOf(run, sections.points, solution, strains);
  c.onStep = [&run, &sections, ts = c.ts](const PathState& s) {
    for (RunWatcher* w : run.watchers) w->pathStep({s, sections.points, ts});
  };
  run.path = followPath(system, sections.points, c);
  const double pressure = firstPressure(m);
  writeBlock(run, c, *run.path, pressure);
  if (run.path->end != PathEnd::SolveFailed) printPathStates(run, sections.points, *run.path, c.ts);
  const std::string curve = run.names.base + ".curve.csv";
  if (run.reportFile.is_open() && !writeCurve(curve, run.path->steps, pressure))
    run.unwrittenFiles.push_back(curve);
  recordOutcome(run.outcome, *run.path, pressure);
}

}  // namespace korvant
