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

// The state's solution in the real numbering of the run's solution vectors.
Matrix<double> solutionOf(const RunContext& run, const PathState& state) {
  const ModelDeck& m = run.model;
  const auto per = static_cast<std::size_t>(unknownsPerPoint(m.COUPLING));
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

// The bars crossing the cracks of layer k, with the stress each can still take at the state.
std::vector<CrossingBar> crossingAt(const Section& s, std::size_t k, const StrainPlane& e,
                                    const std::vector<LayerMemory>& memory, TensionStiffening ts) {
  std::vector<CrossingBar> bars;
  for (const auto& [b, rho] : s.crossing[k]) {
    const SectionLayer& l = s.layers[b];
    const double fs = layerSecant(l, strainAtHeight(s, e, l.z), memory[b], {}, ts).barStress;
    bars.push_back(crossingBar(l, rho, fs));
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
    const Plane3 strain = strainAtHeight(s, e, face.z);
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

void printState(RunContext& run, const std::vector<const Section*>& sections,
                const PathState& state, const std::string& name, TensionStiffening ts) {
  const ModelDeck& m = run.model;
  const DifferenceGrid grid{m.A, m.B, m.NUMA, m.NUMB};
  const std::vector<StrainPlane>& planes = state.strains;
  RecordStore fibres(run.files.fibreResults.recordLength());
  RecordStore failures(run.files.failureRatio.recordLength());
  for (std::size_t p = 0; p < planes.size(); ++p) {
    const int n = static_cast<int>(p) + 1;  // the point record (J - 1) NUMB + I
    fibres.write(n, fibresOf(*sections[p], planes[p], state.memory[p], ts).value);
    const double ratio = failedRatio(state.deckMemory[p]);
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

void printPathStates(RunContext& run, const std::vector<const Section*>& sections,
                     const PathResult& path, TensionStiffening ts) {
  if (path.steps.empty()) return;
  const bool peakIsLast = path.peak + 1 == path.steps.size();
  printState(run, sections, path.atPeak,
             stateName(peakIsLast ? "AT THE PEAK, THE LAST STEP" : "AT THE PEAK", path.atPeak.step),
             ts);
  if (!peakIsLast)
    printState(run, sections, path.last, stateName("AT THE LAST STEP", path.last.step), ts);
}

}  // namespace korvant
