#include "equilibrium/load_path.hpp"

#include <algorithm>
#include <cmath>
#include <deque>

#include "core/grid.hpp"

namespace korvant::equilibrium {
namespace {

constexpr int kPlane = 6;  // membrane strains and curvatures of a point in an iterate

// The relaxation of the iterates once a step has stalled: a kink or jump of the laws that
// Anderson's linear model of the map cannot follow makes its steps overshoot; half of them
// (Walker & Ni 2011, the damped form of Algorithm AA) moves on where the full ones cycle.
constexpr double kRelaxation = 0.5;

// The iterations of a step at the smallest step, in multiples of the controls' maxIterations.
constexpr int kSmallestStepBudget = 4;

// An iterate of the path: the strain plane of every point, then the solution of every point.
using Iterate = std::vector<double>;

StrainPlane planeOf(const Iterate& x, std::size_t p) {
  StrainPlane e;
  for (std::size_t i = 0; i < 3; ++i) {
    e.membrane[i] = x[kPlane * p + i];
    e.curvature[i] = x[kPlane * p + 3 + i];
  }
  return e;
}

double largestMagnitude(const Iterate& x, std::size_t from, std::size_t stride = 1) {
  double m = 0.0;
  for (std::size_t k = from; k < x.size(); k += stride) m = std::max(m, std::abs(x[k]));
  return m;
}

// Unknowns per point, the last of them w.
std::size_t perPoint(bool coupled) {
  return coupled ? 3 : 1;
}

// The largest change from x to g of the entries from `from` on, over the largest of g.
double relativeChange(const Iterate& x, const Iterate& g, std::size_t from) {
  double d = 0.0;
  for (std::size_t k = from; k < g.size(); ++k) d = std::max(d, std::abs(g[k] - x[k]));
  const double m = largestMagnitude(g, from);
  return m > 0.0 ? d / m : d;
}

// The point whose unknown `per - 1` (w) changes most from x to g, of the entries from `from`.
std::size_t largestChangeAt(const Iterate& x, const Iterate& g, std::size_t from, std::size_t per) {
  std::size_t at = from + per - 1;
  for (std::size_t k = at; k < g.size(); k += per)
    if (std::abs(g[k] - x[k]) > std::abs(g[at] - x[at])) at = k;
  return (at - from) / per;
}

// The secant map of one state and what it leaves behind: the layers' memory of its
// strains and their counts, the load factor of the unit solution that gives the target.
struct Evaluation {
  std::vector<std::vector<LayerMemory>> memory;
  std::vector<int> crackedAt, crushedAt, yieldedAt;  // the counts point by point
  double loadFactor = 0.0;
  int cracked = 0, crushed = 0, yielded = 0;
};

// Anderson acceleration of x = G(x) with a history of `depth` differences (Walker & Ni
// 2011, Algorithm AA, the unconstrained least-squares form solved by its normal equations
// with a small Tikhonov term, enough for the few columns kept).
class Anderson {
 public:
  explicit Anderson(int depth) : depth_(static_cast<std::size_t>(depth)) {}
  void clear() { x_.clear(), g_.clear(); }
  // The next iterate after G(x) = g.
  Iterate next(const Iterate& x, const Iterate& g);

 private:
  std::size_t depth_;
  std::deque<Iterate> x_, g_;
};

// Solves the n x n system M y = r in place by Gaussian elimination with partial pivoting.
std::vector<double> solveSmall(std::vector<double> M, std::vector<double> r, std::size_t n) {
  for (std::size_t p = 0; p < n; ++p) {
    std::size_t best = p;
    for (std::size_t i = p + 1; i < n; ++i)
      if (std::abs(M[i * n + p]) > std::abs(M[best * n + p])) best = i;
    for (std::size_t j = 0; j < n; ++j) std::swap(M[p * n + j], M[best * n + j]);
    std::swap(r[p], r[best]);
    if (M[p * n + p] == 0.0) continue;
    for (std::size_t i = p + 1; i < n; ++i) {
      const double f = M[i * n + p] / M[p * n + p];
      for (std::size_t j = p; j < n; ++j) M[i * n + j] -= f * M[p * n + j];
      r[i] -= f * r[p];
    }
  }
  std::vector<double> y(n, 0.0);
  for (std::size_t p = n; p-- > 0;) {
    double s = r[p];
    for (std::size_t j = p + 1; j < n; ++j) s -= M[p * n + j] * y[j];
    y[p] = M[p * n + p] != 0.0 ? s / M[p * n + p] : 0.0;
  }
  return y;
}

Iterate Anderson::next(const Iterate& x, const Iterate& g) {
  x_.push_back(x), g_.push_back(g);
  if (x_.size() > depth_ + 1) x_.pop_front(), g_.pop_front();
  const std::size_t m = x_.size() - 1, n = x.size();
  if (m == 0) return g;
  // f_i = g_i - x_i; the columns dF_i = f_{i+1} - f_i, dG_i = g_{i+1} - g_i.
  auto f = [&](std::size_t i, std::size_t k) { return g_[i][k] - x_[i][k]; };
  std::vector<double> M(m * m, 0.0), r(m, 0.0);
  double scale = 0.0;
  for (std::size_t k = 0; k < n; ++k) {
    for (std::size_t i = 0; i < m; ++i) {
      const double di = f(i + 1, k) - f(i, k);
      r[i] += di * f(m, k);
      for (std::size_t j = 0; j <= i; ++j) M[i * m + j] += di * (f(j + 1, k) - f(j, k));
    }
  }
  for (std::size_t i = 0; i < m; ++i) {
    for (std::size_t j = 0; j < i; ++j) M[j * m + i] = M[i * m + j];
    scale = std::max(scale, M[i * m + i]);
  }
  for (std::size_t i = 0; i < m; ++i) M[i * m + i] += 1e-10 * scale;
  const std::vector<double> gamma = solveSmall(M, r, m);
  Iterate out = g;
  for (std::size_t i = 0; i < m; ++i)
    for (std::size_t k = 0; k < n; ++k) out[k] -= gamma[i] * (g_[i + 1][k] - g_[i][k]);
  return out;
}

// One step of the path: the fixed point of the secant map at the control displacement
// `target`, from the committed memory of the last converged step.
class StepSolver {
 public:
  StepSolver(SecantSystem& system, const std::vector<const Section*>& sections,
             const PathControls& c)
      : system_(system), sections_(sections), c_(c), anderson_(c.memory) {
    const std::size_t n = sections.size();
    unit_.resize(n), abd_.resize(n);
  }

  enum class Result { Converged, NotConverged, SolveFailed };

  // Iterates from x toward the step's state; on convergence x holds it and `e` its memory.
  // With `selective`, an iterate takes the new secants of the points that change most only.
  Result solve(double target, Iterate& x, const std::vector<std::vector<LayerMemory>>& committed,
               Evaluation& e, int& iterations, int budget, bool selective = false);
  // After a step that did not converge: the point that changed most at its last iterate.
  std::size_t unsettled() const { return unsettled_; }

 private:
  bool map(double target, const Iterate& x, const std::vector<std::vector<LayerMemory>>& base,
           Iterate& g, Evaluation& e);
  Iterate next(const Iterate& x, const Iterate& g, int iterations);
  std::vector<bool> taking();

  SecantSystem& system_;
  const std::vector<const Section*>& sections_;
  const PathControls& c_;
  Anderson anderson_;
  std::vector<double> solution_;
  std::vector<PointStrains> unit_;
  std::vector<SectionStiffness> abd_;
  std::size_t unsettled_ = 0;
  // The sections of the last evaluation, their plane stiffness, and the plane stiffness that
  // each point has in the secant system (selective iterates leave some points as they were).
  std::vector<SectionResponse> fresh_;
  std::vector<PlaneStiffness> freshPlane_, installed_;
  bool selective_ = false, installAll_ = true;
  double mostChange_ = 0.0;  // the largest relative change of a point's stiffness, last map
};

// The relative change from the plane stiffness a to b: the largest change of a term over the
// largest term of a.
double stiffnessChange(const PlaneStiffness& a, const PlaneStiffness& b) {
  double d = 0.0, m = 0.0;
  for (std::size_t k = 0; k < a.S.size(); ++k)
    d = std::max(d, std::abs(b.S[k] - a.S[k])), m = std::max(m, std::abs(a.S[k]));
  return m > 0.0 ? d / m : d;
}

// The points whose new secants an iterate takes: all of them, or, in selective iterates,
// those whose stiffness changes by at least half as much as the one that changes most. Where
// several points of a slab soften alike, all of them softening at once overshoots and the
// iterates swing from one to the other; taking the most critical first lets it go on while
// the others unload, as sequentially linear analysis takes one critical element a time
// (Rots 2001, "Sequentially linear continuum model for concrete fracture").
std::vector<bool> StepSolver::taking() {
  const std::size_t n = fresh_.size();
  std::vector<bool> take(n, true);
  mostChange_ = 0.0;
  if (!selective_ || installAll_) return take;
  std::vector<double> change(n);
  for (std::size_t p = 0; p < n; ++p) {
    change[p] = stiffnessChange(installed_[p], freshPlane_[p]);
    mostChange_ = std::max(mostChange_, change[p]);
  }
  for (std::size_t p = 0; p < n; ++p) take[p] = change[p] >= 0.5 * mostChange_;
  return take;
}

// G(x): every point's secant section under the strains of x, the unit solution of their
// stiffness, scaled to the target.
bool StepSolver::map(double target, const Iterate& x,
                     const std::vector<std::vector<LayerMemory>>& base, Iterate& g, Evaluation& e) {
  const std::size_t n = sections_.size();
  fresh_.resize(n), freshPlane_.resize(n), installed_.resize(n);
  for (std::size_t p = 0; p < n; ++p) {
    fresh_[p] = secantSection(*sections_[p], planeOf(x, p), base[p], c_.ts);
    freshPlane_[p] = planeStiffness(c_.coupled ? fresh_[p].abd : uncoupledBending(fresh_[p].abd));
  }
  const std::vector<bool> take = taking();
  installAll_ = false;
  e.memory.resize(n), e.crackedAt.resize(n), e.crushedAt.resize(n), e.yieldedAt.resize(n);
  StiffnessField& field = system_.field();
  for (std::size_t p = 0; p < n; ++p) {
    if (!take[p]) continue;
    SectionResponse& r = fresh_[p];
    const GridPoint at = pointOfIndex(p, c_.NUMB);
    field.at(at.I, at.J) = installed_[p] = freshPlane_[p];
    abd_[p] = r.abd;
    e.memory[p] = std::move(r.memory);
    e.crackedAt[p] = r.cracked, e.crushedAt[p] = r.crushed, e.yieldedAt[p] = r.yielded;
  }
  e.cracked = e.crushed = e.yielded = 0;
  for (std::size_t p = 0; p < n; ++p)
    e.cracked += e.crackedAt[p], e.crushed += e.crushedAt[p], e.yielded += e.yieldedAt[p];
  if (!system_.solveUnit(solution_, unit_)) return false;
  const std::size_t per = perPoint(c_.coupled);
  const double wUnit = solution_[per * c_.control + per - 1];
  e.loadFactor = wUnit != 0.0 ? target / wUnit : 0.0;
  g.assign(kPlane * n + solution_.size(), 0.0);
  for (std::size_t p = 0; p < n; ++p) {
    Plane3 k = unit_[p].curvature;
    for (double& v : k) v *= e.loadFactor;
    const Plane3 m = c_.coupled ? unit_[p].membrane : freeMembraneStrain(abd_[p], k);
    for (std::size_t i = 0; i < 3; ++i) {
      g[kPlane * p + i] = c_.coupled ? e.loadFactor * m[i] : m[i];
      g[kPlane * p + 3 + i] = k[i];
    }
  }
  for (std::size_t k = 0; k < solution_.size(); ++k)
    g[kPlane * n + k] = e.loadFactor * solution_[k];
  return true;
}

// The committed memory of a point with the cracks of an iterate held: the cracked state and
// the tension secants of that iterate's concrete, nothing else. A crack is what makes a point
// cycle (the stress jump at cracking); crushing and yielding stay with the iterates, so that
// a wild iterate that crushes or yields a layer does not fail it for the rest of the step.
std::vector<LayerMemory> withHeldCracks(std::vector<LayerMemory> committed,
                                        const std::vector<LayerMemory>& iterate) {
  for (std::size_t k = 0; k < committed.size(); ++k) {
    if (iterate[k].crushed || !iterate[k].cracked) continue;
    committed[k].cracked = true;
    committed[k].tensionSecant = iterate[k].tensionSecant;
  }
  return committed;
}

// The committed memory of a point with the state of an iterate held: its layers' secants,
// cracks and yielding, not their crushing. Taken at every point once a step has stalled (the
// iterates then close in on the state, with a few points switching between two secant
// states at a stress jump or a kink of the laws), so that from there no secant grows back
// above the one of that iterate within the step; a layer crushed in an iterate stays free.
std::vector<LayerMemory> withHeldState(std::vector<LayerMemory> committed,
                                       const std::vector<LayerMemory>& iterate) {
  for (std::size_t k = 0; k < committed.size(); ++k)
    if (!iterate[k].crushed) committed[k] = iterate[k];
  return committed;
}

StepSolver::Result StepSolver::solve(double target, Iterate& x,
                                     const std::vector<std::vector<LayerMemory>>& committed,
                                     Evaluation& e, int& iterations, int budget, bool selective) {
  const std::size_t n = sections_.size();
  // A point whose cracks open and close again from one iterate to the next holds the
  // cracks of its iterate with the more of them for the rest of the step: the stress
  // jump at cracking otherwise makes it cycle. Points that settle are left free, so that
  // wild early iterates do not crack the slab for good.
  std::vector<std::vector<LayerMemory>> base = committed;
  std::vector<int> closings(n, 0), lastCracked(n, -1);
  std::vector<std::vector<LayerMemory>> lastMemory(n);
  anderson_.clear();
  selective_ = selective, installAll_ = true;
  Iterate g;
  double lastFactor = 0.0;
  for (iterations = 1; iterations <= budget; ++iterations) {
    if (!map(target, x, base, g, e)) return Result::SolveFailed;
    const double dw = relativeChange(x, g, kPlane * n);
    const double dl = std::abs(e.loadFactor - lastFactor) / std::abs(e.loadFactor);
    // Selective iterates leave points at secants of earlier iterates: the state is one only
    // once no point's secant still changes by more than ten tolerances.
    const bool settled = !selective_ || mostChange_ < 10.0 * c_.tolerance;
    if (iterations > 1 && dw < c_.tolerance && dl < c_.tolerance && settled) {
      x = std::move(g);
      return Result::Converged;
    }
    lastFactor = e.loadFactor;
    if (iterations == budget) unsettled_ = largestChangeAt(x, g, kPlane * n, perPoint(c_.coupled));
    const bool stalled = iterations % c_.stall == 0;
    for (std::size_t p = 0; p < n; ++p) {
      if (e.crackedAt[p] < lastCracked[p] && ++closings[p] >= 2)
        base[p] = withHeldCracks(committed[p], lastMemory[p]);
      if (stalled) base[p] = withHeldState(committed[p], e.memory[p]);
      lastCracked[p] = e.crackedAt[p];
      lastMemory[p] = e.memory[p];
    }
    x = next(x, g, iterations);
  }
  return Result::NotConverged;
}

// The next iterate: Anderson's, relaxed by half once the step has stalled, its history
// cleared at every stall (the held states have changed the map).
Iterate StepSolver::next(const Iterate& x, const Iterate& g, int iterations) {
  Iterate out = anderson_.next(x, g);
  if (iterations % c_.stall == 0) anderson_.clear();
  if (iterations > c_.stall)
    for (std::size_t k = 0; k < out.size(); ++k) out[k] = x[k] + kRelaxation * (out[k] - x[k]);
  return out;
}

PathStep stepOf(int number, double target, const Iterate& x, std::size_t n, bool coupled,
                const Evaluation& e, int iterations) {
  PathStep s;
  s.step = number;
  s.loadFactor = e.loadFactor;
  s.wControl = target;
  const std::size_t per = perPoint(coupled);
  s.wMax = largestMagnitude(x, kPlane * n + per - 1, per);
  s.iterations = iterations;
  s.cracked = e.cracked, s.crushed = e.crushed, s.yielded = e.yielded;
  return s;
}

// The state of a converged step: its solution, strain planes, the memory of every layer
// (slice) of every point's section and that of the deck's layers.
PathState stateOf(const PathStep& s, const Iterate& x, const std::vector<const Section*>& sections,
                  const std::vector<std::vector<LayerMemory>>& memory) {
  const std::size_t n = sections.size();
  PathState state{s,
                  Iterate(x.begin() + static_cast<std::ptrdiff_t>(kPlane * n), x.end()),
                  std::vector<StrainPlane>(n),
                  memory,
                  {}};
  state.deckMemory.reserve(n);
  for (std::size_t p = 0; p < n; ++p) {
    state.strains[p] = planeOf(x, p);
    state.deckMemory.push_back(deckLayerMemory(*sections[p], memory[p]));
  }
  return state;
}

}  // namespace

bool elasticUnitSolution(SecantSystem& system, const std::vector<const Section*>& sections,
                         bool coupled, int NUMB, std::vector<double>& solution,
                         std::vector<PointStrains>& strains) {
  StiffnessField& field = system.field();
  for (std::size_t p = 0; p < sections.size(); ++p) {
    const Section& s = *sections[p];
    const SectionResponse r =
        secantSection(s, {}, std::vector<LayerMemory>(s.layers.size()), kDefaultStiffening);
    const GridPoint at = pointOfIndex(p, NUMB);
    field.at(at.I, at.J) = planeStiffness(coupled ? r.abd : uncoupledBending(r.abd));
  }
  if (!system.solveUnit(solution, strains)) return false;
  if (coupled) return true;
  // w alone: the membrane strains of a section free of membrane force.
  for (std::size_t p = 0; p < sections.size(); ++p) {
    const Section& s = *sections[p];
    const SectionResponse r =
        secantSection(s, {}, std::vector<LayerMemory>(s.layers.size()), kDefaultStiffening);
    strains[p].membrane = freeMembraneStrain(r.abd, strains[p].curvature);
  }
  return true;
}

double firstCrackingFactor(const std::vector<const Section*>& sections,
                           const std::vector<PointStrains>& strains) {
  double worst = 0.0;
  for (std::size_t p = 0; p < sections.size(); ++p) {
    const Section& s = *sections[p];
    for (const SectionLayer& l : s.layers) {
      if (l.material == LayerMaterial::Bars) continue;
      const Plane3 e = strainAtHeight(s, {strains[p].membrane, strains[p].curvature}, l.z);
      worst = std::max(worst, principalStrains(e).e1 / crackingStrain(l.concrete));
    }
  }
  return worst > 0.0 ? 1.0 / worst : 0.0;
}

const char* pathEndText(PathEnd end) {
  switch (end) {
    case PathEnd::FellPastPeak:
      return "the load fell past the peak to the stopping fraction";
    case PathEnd::DeflectionLimit:
      return "the control deflection reached its limit";
    case PathEnd::NotConverged:
      return "a step did not converge at the smallest step";
    case PathEnd::SolveFailed:
      return "a solution failed";
    case PathEnd::StepLimit:
      break;
  }
  return "the steps ran out";
}

PathResult followPath(SecantSystem& system, const std::vector<const Section*>& sections,
                      const PathControls& c) {
  const std::size_t n = sections.size();
  std::vector<std::vector<LayerMemory>> committed(n);
  for (std::size_t p = 0; p < n; ++p) committed[p].resize(sections[p]->layers.size());
  StepSolver solver(system, sections, c);
  PathResult result;
  Iterate converged(kPlane * n + perPoint(c.coupled) * n, 0.0);
  double reached = 0.0, h = c.step, peak = 0.0;
  const double floor = c.step / std::pow(2.0, c.halvings);
  while (static_cast<int>(result.steps.size()) < c.maxSteps) {
    const double target = reached + c.direction * h;
    // The first iterate: the last converged state, scaled to the target.
    auto firstIterate = [&] {
      Iterate x = converged;
      if (reached != 0.0)
        for (double& v : x) v *= target / reached;
      return x;
    };
    Iterate x = firstIterate();
    Evaluation e;
    int iterations = 0;
    // The smallest step may take longer: a crack band that spreads across the slab at one
    // control displacement, the load falling as it goes, needs a hundred iterates or more.
    const bool smallest = h / 2.0 < floor * (1.0 - 1e-9);
    const int budget = smallest ? kSmallestStepBudget * c.maxIterations : c.maxIterations;
    StepSolver::Result r = solver.solve(target, x, committed, e, iterations, budget);
    // At the smallest step, points that soften alike may take turns from iterate to
    // iterate: the step is tried again with the most critical of them first.
    if (r == StepSolver::Result::NotConverged && smallest) {
      x = firstIterate();
      r = solver.solve(target, x, committed, e, iterations, budget, true);
    }
    if (r == StepSolver::Result::SolveFailed) {
      result.end = PathEnd::SolveFailed;
      return result;
    }
    if (r == StepSolver::Result::NotConverged) {
      if (smallest) {
        result.end = PathEnd::NotConverged;
        result.unsettled = solver.unsettled();
        return result;
      }
      h /= 2.0;
      continue;
    }
    committed = std::move(e.memory);
    converged = std::move(x);
    reached = target;
    h = std::min(2.0 * h, c.step);
    const PathStep s = stepOf(static_cast<int>(result.steps.size()) + 1, target, converged, n,
                              c.coupled, e, iterations);
    result.steps.push_back(s);
    result.last = stateOf(s, converged, sections, committed);
    if (result.steps.size() == 1) result.first = result.last;
    if (c.onStep) c.onStep(result.last);
    if (s.loadFactor > peak) {
      peak = s.loadFactor;
      result.peak = result.steps.size() - 1;
      result.atPeak = result.last;
    }
    const bool failing = s.yielded > 0 || s.crushed > 0;
    if (failing && s.loadFactor < c.stopAt * peak) {
      result.end = PathEnd::FellPastPeak;
      return result;
    }
    if (std::abs(target) >= c.limit) {
      result.end = PathEnd::DeflectionLimit;
      return result;
    }
  }
  result.end = PathEnd::StepLimit;
  return result;
}

}  // namespace korvant::equilibrium
