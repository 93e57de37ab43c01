// The load-deflection path of a slab in equilibrium, from zero past its peak load, under
// displacement control: at each step the lateral displacement of one control point is set,
// and the load factor is the one whose secant solution gives it.
//
// The secant system of a state is linear in the load: its solution under the deck's pressure
// times 1 (the unit solution), scaled by wControl / wUnit(control), is the solution of the
// step. The map from the strains of an iterate to those of the scaled unit solution of their
// secant state is a fixed point iteration, accelerated after Anderson (1965) in the form of
// Walker & Ni (2011), "Anderson acceleration for fixed-point iterations", SIAM J. Numer.
// Anal. 49(4): plain secant iteration stalls once the load falls past the peak.
#pragma once

#include <functional>
#include <vector>

#include "equations/conservative_stencils.hpp"
#include "equilibrium/secant_section.hpp"

namespace korvant::equilibrium {

// The strain plane of a point of the unit solution: membrane strains (a coupled deck) and the
// curvatures (DWDXX, DWDYY, 2 DWDXY).
struct PointStrains {
  Plane3 membrane{}, curvature{};
};

// The secant system of the deck, bound by the caller: the stiffness of every point is
// written into field(), then solveUnit solves the difference equations on the section forces
// under the pressure times 1 and gives the solution of the real points (their u, v, w or w,
// point after point, point (I, J) the ((J - 1) NUMB + I)-th) and the strain plane of every
// point. False when the solution failed (the caller has reported why).
class SecantSystem {
 public:
  virtual ~SecantSystem() = default;
  virtual StiffnessField& field() = 0;
  virtual bool solveUnit(std::vector<double>& solution, std::vector<PointStrains>& strains) = 0;
};

struct PathState;

struct PathControls {
  int NUMB = 0;             // points along y: point (I, J) has index (J - 1) NUMB + (I - 1)
  std::size_t control = 0;  // the control point's index
  double direction = 1.0;   // sign of the elastic deflection of the control point
  double step = 0.0;        // control displacement per step
  double tolerance = 1e-4;  // on the change of displacements and of the load factor
  double stopAt = 0.8;      // fraction of the peak that ends the path past it
  double limit = 0.0;       // control deflection that ends the path
  bool coupled = false;     // u, v, w solved; otherwise w with the membrane force condensed
  TensionStiffening ts = kDefaultStiffening;
  int maxIterations = 80;  // per attempt of a step
  int halvings = 4;        // of the step, before a step is reported as not converged
  int memory = 5;          // Anderson's history
  int stall = 20;          // iterations after which a step counts as stalled (and again)
  int maxSteps = 2000;
  // Told of every converged step as the path reaches it (the files of the run beside the
  // report); it only reads.
  std::function<void(const PathState&)> onStep;
};

// One converged step.
struct PathStep {
  int step = 0;
  double loadFactor = 0.0, wControl = 0.0, wMax = 0.0;
  int iterations = 0, cracked = 0, crushed = 0, yielded = 0;
};

enum class PathEnd { FellPastPeak, DeflectionLimit, NotConverged, SolveFailed, StepLimit };

// How a path ended, in words ("the control deflection reached its limit").
const char* pathEndText(PathEnd end);

// A converged state: its step, the solution of every point (as solveUnit gives it), the
// strain plane of every point and the memory of every layer of every point's section (its
// slices), and that memory folded into the deck's layers (deckLayerMemory).
struct PathState {
  PathStep step;
  std::vector<double> solution;
  std::vector<StrainPlane> strains;
  std::vector<std::vector<LayerMemory>> memory;
  std::vector<std::vector<LayerMemory>> deckMemory;
};

struct PathResult {
  std::vector<PathStep> steps;
  PathEnd end = PathEnd::StepLimit;
  std::size_t peak = 0;  // index in steps of the largest load factor
  // A path that ended at a step that did not converge: the point whose deflection changed
  // most at that step's last iterate, where the slab did not settle (its index).
  std::size_t unsettled = 0;
  PathState first, atPeak, last;
};

// The elastic unit solution of the unstrained sections and the strain plane of every
// point: the caller chooses the control point and the step from it. False when the solution
// failed.
bool elasticUnitSolution(SecantSystem& system, const std::vector<const Section*>& sections,
                         bool coupled, int NUMB, std::vector<double>& solution,
                         std::vector<PointStrains>& strains);

// The load factor at which the first layer of any point reaches its cracking strain, under
// the elastic unit solution `strains` of `sections` (a linear scaling of it).
double firstCrackingFactor(const std::vector<const Section*>& sections,
                           const std::vector<PointStrains>& strains);

// Follows the path from zero over the points' `sections` (one pointer per point) until the
// load has fallen to stopAt of the peak after a bar yielded or concrete crushed, or the
// control deflection reaches the limit, or a step fails to converge at the smallest step.
PathResult followPath(SecantSystem& system, const std::vector<const Section*>& sections,
                      const PathControls& controls);

}  // namespace korvant::equilibrium
