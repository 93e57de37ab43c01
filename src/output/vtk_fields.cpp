#include "output/vtk_fields.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "core/codes.hpp"
#include "core/grid.hpp"
#include "output/maxima.hpp"
#include "output/solution_results.hpp"
#include "section/layer_results.hpp"
#include "section/layer_state.hpp"
#include "section/layer_table.hpp"

namespace korvant {
namespace {

struct FibreArray {
  const char* name;
  int field;
};

constexpr std::array<FibreArray, fibre_field::COUNT> kFibreArrays{{
    {"SXX_upper", fibre_field::UPPER_SXX},
    {"SYY_upper", fibre_field::UPPER_SYY},
    {"SXY_upper", fibre_field::UPPER_SXY},
    {"SXX_lower", fibre_field::LOWER_SXX},
    {"SYY_lower", fibre_field::LOWER_SYY},
    {"SXY_lower", fibre_field::LOWER_SXY},
    {"EXX_upper", fibre_field::UPPER_EXX},
    {"EYY_upper", fibre_field::UPPER_EYY},
    {"EXY_upper", fibre_field::UPPER_EXY},
    {"EXX_lower", fibre_field::LOWER_EXX},
    {"EYY_lower", fibre_field::LOWER_EYY},
    {"EXY_lower", fibre_field::LOWER_EXY},
}};

int points(const ModelDeck& model) {
  return model.NUMA * model.NUMB;
}

VtkArray scalar(std::string name, const ModelDeck& model) {
  VtkArray a{std::move(name), {}, {}, ""};
  a.values.reserve(static_cast<std::size_t>(points(model)));
  return a;
}

void addDisplacements(const ModelDeck& model, const DifferenceGrid& grid,
                      const Matrix<double>& solution, const UnitLabels& units, VtkDataset& d) {
  d.pointData.push_back({"w", {}, wField(solution, model, grid), units.length});
  if (model.COUPLING != Coupling::COUPLED) return;
  VtkArray u = scalar("u", model), v = scalar("v", model);
  u.units = v.units = units.length;
  for (int J = 1; J <= grid.NUMA; ++J)
    for (int I = 1; I <= grid.NUMB; ++I) {
      const int k = EQN(I, J, grid.NUMA, grid.NUMB, Numbering::REAL, model.COUPLING);
      u.values.push_back(solution(k));
      v.values.push_back(solution(k + 1));
    }
  d.pointData.push_back(std::move(u));
  d.pointData.push_back(std::move(v));
}

void addFibres(const ModelDeck& model, const RecordStore& fibreResults, const UnitLabels& units,
               VtkDataset& d) {
  const std::size_t first = d.pointData.size();
  for (const FibreArray& f : kFibreArrays) {
    d.pointData.push_back(scalar(f.name, model));
    d.pointData.back().units = f.name[0] == 'S' ? units.stress : "strain";
  }
  for (int n = 1; n <= points(model); ++n) {
    const FibreResults r = readFibreResults(fibreResults, n);
    for (std::size_t a = 0; a < kFibreArrays.size(); ++a)
      d.pointData[first + a].values.push_back(r(kFibreArrays[a].field));
  }
}

// Height of the centre of layer k (1-based) above the lower face.
double layerCentreHeight(const PointLayerTable& table, int k) {
  double below = 0.0;
  for (int i = 1; i < k; ++i)
    below += table.layers[static_cast<std::size_t>(i - 1)](layer_field::THICK);
  return below + 0.5 * table.layers[static_cast<std::size_t>(k - 1)](layer_field::THICK);
}

std::string layerName(int k, const char* what) {
  char text[32];
  std::snprintf(text, sizeof text, "layer_%02d_%s", k, what);
  return text;
}

VtkArray pointArray(std::string name, std::string units, const SolutionResults& r,
                    double (*value)(const PointResults&)) {
  VtkArray a{std::move(name), {}, {}, std::move(units)};
  a.values.reserve(r.points.size());
  for (const PointResults& p : r.points) a.values.push_back(value(p));
  return a;
}

void addSectionForces(const SolutionResults& r, const UnitLabels& u, VtkDataset& d) {
  using P = const PointResults&;
  d.pointData.push_back(pointArray("mxx", u.moment, r, [](P p) { return p.forces.mxx; }));
  d.pointData.push_back(pointArray("myy", u.moment, r, [](P p) { return p.forces.myy; }));
  d.pointData.push_back(pointArray("mxy", u.moment, r, [](P p) { return p.forces.mxy; }));
  d.pointData.push_back(pointArray("nxx", u.force, r, [](P p) { return p.forces.nxx; }));
  d.pointData.push_back(pointArray("nyy", u.force, r, [](P p) { return p.forces.nyy; }));
  d.pointData.push_back(pointArray("nxy", u.force, r, [](P p) { return p.forces.nxy; }));
  d.pointData.push_back(pointArray("m1", u.moment, r, [](P p) { return p.principal.m1; }));
  d.pointData.push_back(pointArray("m2", u.moment, r, [](P p) { return p.principal.m2; }));
  d.pointData.push_back(
      pointArray("m1_angle", "degrees", r, [](P p) { return p.principal.angle; }));
}

void addCracks(const SolutionResults& r, const UnitLabels& u, VtkDataset& d) {
  using P = const PointResults&;
  const char* ratio = "depth over section depth";
  d.pointData.push_back(
      pointArray("crack_depth_lower", ratio, r, [](P p) { return p.cracks.lower; }));
  d.pointData.push_back(
      pointArray("crack_depth_upper", ratio, r, [](P p) { return p.cracks.upper; }));
  d.pointData.push_back(
      pointArray("crack_width_lower", u.length, r, [](P p) { return p.widthLower; }));
  d.pointData.push_back(
      pointArray("crack_width_upper", u.length, r, [](P p) { return p.widthUpper; }));
}

// The bb-th bar layer of every point from the lower face, zero where a point has fewer.
void addBars(const SolutionResults& r, const UnitLabels& u, VtkDataset& d) {
  for (int b = 1; b <= r.barLayers; ++b) {
    char name[32];
    std::snprintf(name, sizeof name, "bar_layer_%02d", b);
    VtkArray a{name,
               {"layer", "z", "strain", "stress", "utilisation", "yielded"},
               {},
               "z: " + u.length + ", stress: " + u.stress};
    for (const PointResults& p : r.points) {
      BarLayerResult bar;
      if (b <= static_cast<int>(p.bars.size())) bar = p.bars[static_cast<std::size_t>(b - 1)];
      a.values.insert(a.values.end(), {static_cast<double>(bar.layer), bar.z, bar.strain,
                                       bar.stress, bar.utilisation, bar.yielded ? 1.0 : 0.0});
    }
    d.pointData.push_back(std::move(a));
  }
}

// The layer count of every point, the failure indices and the moduli of every layer.
void addLayers(const ModelDeck& model, const VtkSources& s, VtkDataset& d) {
  VtkArray count = scalar("layers", model);
  std::vector<PointLayerTable> tables(static_cast<std::size_t>(points(model)));
  std::vector<LayerState> states(tables.size());
  int most = 0;
  for (int n = 1; n <= points(model); ++n) {
    readLayerTable(s.currentLayers, n, tables[static_cast<std::size_t>(n - 1)]);
    readLayerState(s.layerState, n, states[static_cast<std::size_t>(n - 1)]);
    const int NL = tables[static_cast<std::size_t>(n - 1)].NL();
    count.values.push_back(NL);
    most = std::max(most, NL);
  }
  d.pointData.push_back(std::move(count));
  for (int k = 1; k <= most; ++k) {
    VtkArray failure{layerName(k, "failure"), {"FICT", "FICC", "FICS", "FY"}, {}, "failure index"};
    VtkArray moduli{layerName(k, "moduli"), {"E1", "E2"}, {}, s.units.stress};
    VtkArray centre{layerName(k, "z"), {}, {}, s.units.length};
    for (std::size_t p = 0; p < tables.size(); ++p) {
      const bool has = k <= tables[p].NL() && k <= states[p].NL();
      const auto layer = static_cast<std::size_t>(k - 1);
      for (int index = 1; index <= failure_index::COUNT; ++index)
        failure.values.push_back(has ? states[p].layers[layer](index) : 0.0);
      moduli.values.push_back(has ? tables[p].layers[layer](layer_field::E1) : 0.0);
      moduli.values.push_back(has ? tables[p].layers[layer](layer_field::E2) : 0.0);
      centre.values.push_back(has ? layerCentreHeight(tables[p], k) : 0.0);
    }
    d.pointData.push_back(std::move(failure));
    d.pointData.push_back(std::move(moduli));
    d.pointData.push_back(std::move(centre));
  }
}

// The displacements of a path state, whose solution holds u, v, w of every point of a
// coupled deck in record order (w alone otherwise).
void addPathDisplacements(const ModelDeck& model, const equilibrium::PathState& state,
                          const UnitLabels& units, VtkDataset& d) {
  d.pointData.push_back({"w", {}, pathDeflections(model, state), units.length});
  if (model.COUPLING != Coupling::COUPLED) return;
  VtkArray u = scalar("u", model), v = scalar("v", model);
  u.units = v.units = units.length;
  for (std::size_t p = 0; p + 3 <= state.solution.size(); p += 3) {
    u.values.push_back(state.solution[p]);
    v.values.push_back(state.solution[p + 1]);
  }
  d.pointData.push_back(std::move(u));
  d.pointData.push_back(std::move(v));
}

// The layer count of every point, the state of every layer from its memory and its height.
void addPathLayers(const ModelDeck& model, const equilibrium::PathState& state,
                   const std::vector<const equilibrium::Section*>& sections,
                   const UnitLabels& units, VtkDataset& d) {
  VtkArray count = scalar("layers", model);
  std::size_t most = 0;
  for (const equilibrium::Section* s : sections) {
    count.values.push_back(static_cast<double>(s->layers.size()));
    most = std::max(most, s->layers.size());
  }
  d.pointData.push_back(std::move(count));
  for (std::size_t k = 0; k < most; ++k) {
    const int number = static_cast<int>(k) + 1;
    VtkArray states{layerName(number, "state"), {"cracked", "crushed", "yielded"}, {}, "1 or 0"};
    VtkArray centre{layerName(number, "z"), {}, {}, units.length};
    for (std::size_t p = 0; p < sections.size(); ++p) {
      const bool has = k < sections[p]->layers.size();
      const equilibrium::LayerMemory m = has ? state.memory[p][k] : equilibrium::LayerMemory{};
      states.values.insert(states.values.end(),
                           {m.cracked ? 1.0 : 0.0, m.crushed ? 1.0 : 0.0, m.yielded ? 1.0 : 0.0});
      centre.values.push_back(has ? sections[p]->layers[k].z : 0.0);
    }
    d.pointData.push_back(std::move(states));
    d.pointData.push_back(std::move(centre));
  }
}

}  // namespace

VtkDataset pathDataset(const ModelDeck& model, const equilibrium::PathState& state,
                       const std::vector<const equilibrium::Section*>& sections,
                       const SolutionResults& results, const UnitLabels& units) {
  VtkDataset d;
  d.grid = DifferenceGrid{model.A, model.B, model.NUMA, model.NUMB};
  addPathDisplacements(model, state, units, d);
  addPathLayers(model, state, sections, units, d);
  addSectionForces(results, units, d);
  addCracks(results, units, d);
  addBars(results, units, d);
  return d;
}

VtkDataset solutionDataset(const ModelDeck& model, const VtkSources& s) {
  VtkDataset d;
  d.grid = DifferenceGrid{model.A, model.B, model.NUMA, model.NUMB};
  addDisplacements(model, d.grid, s.solution, s.units, d);
  if (s.fibreResults) addFibres(model, *s.fibreResults, s.units, d);
  if (s.failureRatio) {
    VtkArray measure = scalar("failure_measure", model);
    for (int n = 1; n <= points(model); ++n) measure.values.push_back(s.failureRatio->read(n)[0]);
    d.pointData.push_back(std::move(measure));
  }
  addLayers(model, s, d);
  if (s.layerResults) {
    const SolutionResults r =
        solutionResults(model, {s.currentLayers, *s.layerResults, s.layerState});
    addSectionForces(r, s.units, d);
    addCracks(r, s.units, d);
    addBars(r, s.units, d);
  }
  return d;
}

}  // namespace korvant
