#include "job/path_states.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/grid.hpp"
#include "equations/natural_edges.hpp"
#include "output/result_tables.hpp"
#include "section/layer_results.hpp"
#include "section/recovery.hpp"

namespace korvant {
namespace {

using namespace equilibrium;

// The path's tables are those of the nonlinear analysis, load case 1.
constexpr int kPathLoadCase = 1;
// The membrane strains of a section free of membrane force settle, to far below the printed
// digits, within this many rounds.
constexpr int kNeutralRounds = 50;
constexpr double kNeutralChange = 1e-9;

std::size_t unknownsPerPoint(const ModelDeck& m) {
  return m.COUPLING == Coupling::COUPLED ? 3 : 1;
}

// The state's solution in the real numbering of the run's solution vectors.
Matrix<double> solutionOf(const RunContext& run, const PathState& state) {
  const ModelDeck& m = run.model;
  const std::size_t per = unknownsPerPoint(m);
  Matrix<double> s = run.arrays.solutions.current;
  s.fill(0.0);
  std::size_t p = 0;
  for (int J = 1; J <= m.NUMA; ++J)
    for (int I = 1; I <= m.NUMB; ++I, ++p) {
      const int q = EQN(I, J, m.NUMA, m.NUMB, Numbering::REAL, m.COUPLING);
      for (std::size_t c = 0; c < per; ++c)
        s(q + static_cast<int>(c)) = state.solution[per * p + c];
    }
  return s;
}

// The membrane strains of a section free of membrane force under `curvature`, with the
// layers' memory of the state: the neutral surface the path's section settled on.
Plane3 neutralMembrane(const Section& s, const Plane3& curvature,
                       const std::vector<LayerMemory>& memory, TensionStiffening ts) {
  Plane3 e{};
  for (int round = 0; round < kNeutralRounds; ++round) {
    const Plane3 next =
        freeMembraneStrain(secantSection(s, {e, curvature}, memory, ts).abd, curvature);
    double change = 0.0, size = 0.0;
    for (std::size_t i = 0; i < 3; ++i) {
      change = std::max(change, std::abs(next[i] - e[i]));
      size = std::max(size, std::abs(next[i]));
    }
    e = next;
    if (change <= kNeutralChange * size) break;
  }
  return e;
}

// The strain plane of every point of a state, its solution differenced with the edge
// conditions the run's last pass left.
std::vector<StrainPlane> differencedPlanes(RunContext& run,
                                           const std::vector<const Section*>& sections,
                                           const PathState& state, TensionStiffening ts) {
  std::vector<PointStrains> strains;
  differencedStrains(run, solutionOf(run, state), strains);
  const bool coupled = run.model.COUPLING == Coupling::COUPLED;
  std::vector<StrainPlane> planes(strains.size());
  for (std::size_t p = 0; p < strains.size(); ++p) {
    planes[p].curvature = strains[p].curvature;
    planes[p].membrane =
        coupled ? strains[p].membrane
                : neutralMembrane(*sections[p], strains[p].curvature, state.memory[p], ts);
  }
  return planes;
}

// The strain plane of every point of a state. A free edge's conditions take the stiffness of
// its points, which the last pass had from another state: the state's own secant stiffness
// is solved once to set them, and the state's solution is differenced again.
std::vector<StrainPlane> statePlanes(RunContext& run, SecantSystem& system,
                                     const std::vector<const Section*>& sections,
                                     const PathState& state, TensionStiffening ts) {
  std::vector<StrainPlane> planes = differencedPlanes(run, sections, state, ts);
  const bool coupled = run.model.COUPLING == Coupling::COUPLED;
  StiffnessField& field = system.field();
  for (std::size_t p = 0; p < planes.size(); ++p) {
    const SectionStiffness abd = secantSection(*sections[p], planes[p], state.memory[p], ts).abd;
    const int I = static_cast<int>(p) % run.model.NUMB + 1,
              J = static_cast<int>(p) / run.model.NUMB + 1;
    field.at(I, J) = planeStiffness(coupled ? abd : uncoupledBending(abd));
  }
  std::vector<double> unit;
  std::vector<PointStrains> unitStrains;
  if (system.solveUnit(unit, unitStrains)) planes = differencedPlanes(run, sections, state, ts);
  return planes;
}

Plane3 strainAt(const Section& s, const StrainPlane& e, double z) {
  Plane3 strain{};
  for (std::size_t i = 0; i < 3; ++i)
    strain[i] = e.membrane[i] + (z - s.reference) * e.curvature[i];
  return strain;
}

// The bars crossing the cracks of layer k, with the stress each can still take at the state.
std::vector<CrossingBar> crossingAt(const Section& s, std::size_t k, const StrainPlane& e,
                                    const std::vector<LayerMemory>& memory, TensionStiffening ts) {
  std::vector<CrossingBar> bars;
  for (const auto& [b, rho] : s.crossing[k]) {
    const SectionLayer& l = s.layers[b];
    const double fs = layerSecant(l, strainAt(s, e, l.z), memory[b], {}, ts).barStress;
    bars.push_back({rho, barAngle(l), std::max(l.steel.fy - fs, 0.0)});
  }
  return bars;
}

// The strains and stresses of the section's faces: the outer layer's law at the face strain,
// from the layer's memory of the state.
FibreResults fibresOf(const Section& s, const StrainPlane& e,
                      const std::vector<LayerMemory>& memory, TensionStiffening ts) {
  FibreResults f;
  const std::size_t top = s.layers.size() - 1;
  const double h = s.layers[top].z + 0.5 * s.layers[top].thick;
  struct Face {
    std::size_t layer;
    double z;
    int strain, stress;
  };
  for (const Face& face : {Face{0, 0.0, fibre_field::LOWER_EXX, fibre_field::LOWER_SXX},
                           Face{top, h, fibre_field::UPPER_EXX, fibre_field::UPPER_SXX}}) {
    const Plane3 strain = strainAt(s, e, face.z);
    const Plane3 stress = layerSecant(s.layers[face.layer], strain, memory[face.layer],
                                      crossingAt(s, face.layer, e, memory, ts), ts)
                              .stress;
    for (int i = 0; i < 3; ++i) {
      f(face.strain + i) = strain[static_cast<std::size_t>(i)];
      f(face.stress + i) = stress[static_cast<std::size_t>(i)];
    }
  }
  return f;
}

// Layers cracked, crushed or yielded over the layers of the point.
double failedRatio(const std::vector<LayerMemory>& memory) {
  if (memory.empty()) return 0.0;
  const auto failed = std::count_if(memory.begin(), memory.end(), [](const LayerMemory& l) {
    return l.cracked || l.crushed || l.yielded;
  });
  return static_cast<double>(failed) / static_cast<double>(memory.size());
}

// The line that names a state: "AT THE PEAK, STEP 12, LOAD FACTOR 0.11658E+01".
std::string stateName(const char* which, const PathStep& s) {
  std::string factor = fmt::line(fmt::E(12, 5, s.loadFactor));
  factor.erase(0, factor.find_first_not_of(' '));
  return std::string(which) + ", STEP " + std::to_string(s.step) + ", LOAD FACTOR " + factor;
}

void printState(RunContext& run, SecantSystem& system, const std::vector<const Section*>& sections,
                const PathState& state, const std::string& name, TensionStiffening ts) {
  const ModelDeck& m = run.model;
  const DifferenceGrid grid{m.A, m.B, m.NUMA, m.NUMB};
  const std::vector<StrainPlane> planes = statePlanes(run, system, sections, state, ts);
  RecordStore fibres(run.files.fibreResults.recordLength());
  RecordStore failures(run.files.failureRatio.recordLength());
  for (std::size_t p = 0; p < planes.size(); ++p) {
    const int n = static_cast<int>(p) + 1;  // the point record (J - 1) NUMB + I
    fibres.write(n, fibresOf(*sections[p], planes[p], state.memory[p], ts).value);
    const double ratio = failedRatio(state.memory[p]);
    failures.write(n, std::span<const double>(&ratio, 1));
  }
  pathStateDisplacements(solutionOf(run, state), m, grid, kPathLoadCase, name, run.report);
  pathStateFibres(m, grid, kPathLoadCase, fibres, name, run.report);
  pathStateFailures(m, grid, kPathLoadCase, failures, name, run.report);
}

}  // namespace

void differencedStrains(RunContext& run, const Matrix<double>& solution,
                        std::vector<PointStrains>& strains) {
  AnalysisArrays& a = run.arrays;
  const ModelDeck& m = run.model;
  extendedValues(a.constraints, m, solution, a.beyondEdges);
  const DifferenceGrid grid{m.A, m.B, m.NUMA, m.NUMB};
  strains.resize(static_cast<std::size_t>(m.NUMA * m.NUMB));
  std::size_t p = 0;
  for (int J = 1; J <= m.NUMA; ++J) {
    for (int I = 1; I <= m.NUMB; ++I, ++p) {
      // Every point takes the strains of its own differences, a supported point included:
      // the fictitious values beyond the edges give its curvatures, and the twist of an edge
      // (largest at the corners of a simply supported slab) cracks its sections like any
      // other. A support point left unstrained would keep its uncracked stiffness and, in the
      // mean stiffness of the cells about it, stiffen the edges' twist for good.
      const PointDerivatives d = pointDerivatives(solution, grid, m.COUPLING, &a.beyondEdges, I, J);
      strains[p] = {{d.DUDX, d.DVDY, d.DUDY + d.DVDX}, {d.DWDXX, d.DWDYY, 2.0 * d.DWDXY}};
    }
  }
}

void printPathStates(RunContext& run, SecantSystem& system,
                     const std::vector<const Section*>& sections, const PathResult& path,
                     TensionStiffening ts) {
  if (path.steps.empty()) return;
  const bool peakIsLast = path.peak + 1 == path.steps.size();
  printState(run, system, sections, path.atPeak,
             stateName(peakIsLast ? "AT THE PEAK, THE LAST STEP" : "AT THE PEAK", path.atPeak.step),
             ts);
  if (!peakIsLast)
    printState(run, system, sections, path.last, stateName("AT THE LAST STEP", path.last.step), ts);
}

}  // namespace korvant
