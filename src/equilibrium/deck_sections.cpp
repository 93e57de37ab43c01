#include "equilibrium/deck_sections.hpp"

#include <algorithm>
#include <cmath>

#include "core/grid.hpp"
#include "section/slab_materials.hpp"

namespace korvant::equilibrium {
namespace {

// The first of rows 1..count of `table` whose identifier (column 1) is id; 0 when none is.
int rowOf(const Matrix<double>& table, int count, long long id) {
  for (int row = 1; row <= std::min(count, table.rows()); ++row)
    if (wholeValue(table(row, 1)) == id) return row;
  return 0;
}

// The layer of LAYERS row `row`; false when a material it names is missing.
bool readLayer(const ModelDeck& m, int row, const LayerOptions& o, SectionLayer& l) {
  const long long sid = wholeValue(m.LAYERS(row, layer_col::SID));
  const long long cid = wholeValue(m.LAYERS(row, layer_col::CID));
  const int s = sid != 0 ? rowOf(m.STEEL, m.NSTEEL, sid) : 0;
  const int c = cid != 0 ? rowOf(m.CONC, m.NCONC, cid) : 0;
  if ((sid != 0 && s == 0) || (cid != 0 && c == 0) || (s == 0 && c == 0)) return false;
  l.material = s == 0   ? LayerMaterial::Concrete
               : c == 0 ? LayerMaterial::Bars
                        : LayerMaterial::Combined;
  l.thick = m.LAYERS(row, layer_col::THICK);
  l.theta = m.LAYERS(row, layer_col::THETA);
  if (c != 0) {
    l.concrete = {m.CONC(c, conc_col::E),  m.CONC(c, conc_col::MU), m.CONC(c, conc_col::XT),
                  m.CONC(c, conc_col::XC), crushingBand(m),         o.MPa};
  }
  if (s != 0) {
    const double bar = m.STEEL(s, steel_col::BARDIA), spacing = m.STEEL(s, steel_col::SPACING);
    l.steel = {m.STEEL(s, steel_col::E), m.STEEL(s, steel_col::Y), o.hardening};
    l.barArea = barAreaPerWidth(bar, spacing);
    l.barRadius = 0.5 * bar;
    l.barSpacing = spacing;
    l.steelNu = m.STEEL(s, steel_col::MU);
  }
  return true;
}

}  // namespace

double crushingBand(const ModelDeck& model) {
  const DifferenceGrid grid{model.A, model.B, model.NUMA, model.NUMB};
  if (model.NUMA < 2 || model.NUMB < 2) return 0.0;
  return std::sqrt(grid.DX() * grid.DY());
}

std::vector<SectionLayer> zoneLayers(const ModelDeck& model, int zone, const LayerOptions& o) {
  std::vector<SectionLayer> layers;
  for (int k = 1; k <= model.ZLAY.cols() && model.ZLAY(zone, k) != 0; ++k) {
    const int row = rowOf(model.LAYERS, model.NLAYER, model.ZLAY(zone, k));
    SectionLayer l;
    l.deckLayer = static_cast<int>(layers.size());
    if (row != 0 && readLayer(model, row, o, l)) layers.push_back(l);
  }
  return throughThickness(layers);
}

std::vector<SectionLayer> throughThickness(const std::vector<SectionLayer>& layers) {
  double h = 0.0;
  for (const SectionLayer& l : layers) h += l.thick;
  const double slice = h / kSlicesThroughDepth;
  std::vector<SectionLayer> sliced;
  for (const SectionLayer& l : layers) {
    const int n = l.material == LayerMaterial::Concrete
                      ? std::max(1, static_cast<int>(std::ceil(l.thick / slice - 1e-9)))
                      : 1;
    SectionLayer part = l;
    part.thick = l.thick / n;
    sliced.insert(sliced.end(), static_cast<std::size_t>(n), part);
  }
  return sliced;
}

}  // namespace korvant::equilibrium
