#include "output/vtk_fields.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "core/codes.hpp"
#include "core/grid.hpp"
#include "output/maxima.hpp"
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
  VtkArray a{std::move(name), {}, {}};
  a.values.reserve(static_cast<std::size_t>(points(model)));
  return a;
}

void addDisplacements(const ModelDeck& model, const DifferenceGrid& grid,
                      const Matrix<double>& solution, VtkDataset& d) {
  d.pointData.push_back({"w", {}, wField(solution, model, grid)});
  if (model.COUPLING != Coupling::COUPLED) return;
  VtkArray u = scalar("u", model), v = scalar("v", model);
  for (int J = 1; J <= grid.NUMA; ++J)
    for (int I = 1; I <= grid.NUMB; ++I) {
      const int k = EQN(I, J, grid.NUMA, grid.NUMB, Numbering::REAL, model.COUPLING);
      u.values.push_back(solution(k));
      v.values.push_back(solution(k + 1));
    }
  d.pointData.push_back(std::move(u));
  d.pointData.push_back(std::move(v));
}

void addFibres(const ModelDeck& model, const RecordStore& fibreResults, VtkDataset& d) {
  const std::size_t first = d.pointData.size();
  for (const FibreArray& f : kFibreArrays) d.pointData.push_back(scalar(f.name, model));
  for (int n = 1; n <= points(model); ++n) {
    const FibreResults r = readFibreResults(fibreResults, n);
    for (std::size_t a = 0; a < kFibreArrays.size(); ++a)
      d.pointData[first + a].values.push_back(r(kFibreArrays[a].field));
  }
}

std::string layerName(int k, const char* what) {
  char text[32];
  std::snprintf(text, sizeof text, "layer_%02d_%s", k, what);
  return text;
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
    VtkArray failure{layerName(k, "failure"), {"FICT", "FICC", "FICS", "FY"}, {}};
    VtkArray moduli{layerName(k, "moduli"), {"E1", "E2"}, {}};
    for (std::size_t p = 0; p < tables.size(); ++p) {
      const bool has = k <= tables[p].NL() && k <= states[p].NL();
      const auto layer = static_cast<std::size_t>(k - 1);
      for (int index = 1; index <= failure_index::COUNT; ++index)
        failure.values.push_back(has ? states[p].layers[layer](index) : 0.0);
      moduli.values.push_back(has ? tables[p].layers[layer](layer_field::E1) : 0.0);
      moduli.values.push_back(has ? tables[p].layers[layer](layer_field::E2) : 0.0);
    }
    d.pointData.push_back(std::move(failure));
    d.pointData.push_back(std::move(moduli));
  }
}

}  // namespace

VtkDataset solutionDataset(const ModelDeck& model, const VtkSources& s) {
  VtkDataset d;
  d.grid = DifferenceGrid{model.A, model.B, model.NUMA, model.NUMB};
  addDisplacements(model, d.grid, s.solution, d);
  if (s.fibreResults) addFibres(model, *s.fibreResults, d);
  if (s.failureRatio) {
    VtkArray measure = scalar("failure_measure", model);
    for (int n = 1; n <= points(model); ++n) measure.values.push_back(s.failureRatio->read(n)[0]);
    d.pointData.push_back(std::move(measure));
  }
  addLayers(model, s, d);
  return d;
}

}  // namespace korvant
