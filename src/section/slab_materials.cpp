// Zone and material set-up: every difference point takes the layer stack of the first zone
// that covers it, with moduli built from the steel and concrete materials of each layer.
// Reinforcing bars are smeared into an equivalent layer: a steel-only layer carries the
// bars' stiffness per unit width over its thickness, a combined layer mixes steel and
// concrete by the steel volume fraction Vs.
#include "section/slab_materials.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "section/combined_layer.hpp"
#include "section/layer_state.hpp"
#include "section/layer_table.hpp"
#include "section/point_zone.hpp"

namespace korvant {
namespace {

using namespace fmt;

// A combined layer may hold at most this steel volume fraction (bars slightly thicker
// than the layer are tolerated).
constexpr double kMaxSteelFraction = 1.05;

struct SteelMaterial {
  double BARDIA = 0.0, SPACING = 0.0, E = 0.0, MU = 0.0, Y = 0.0;
};
struct ConcreteMaterial {
  double E = 0.0, MU = 0.0, XT = 0.0, XC = 0.0, S = 0.0;
};

double ratioOrZero(double num, double den) {
  return den != 0.0 ? num / den : 0.0;
}

// Spacing of `points` grid points over `length`; a single point has no spacing.
double gridSpacing(double length, int points) {
  return points > 1 ? length / (points - 1) : 0.0;
}

// Steel volume fraction of bars of `steel` smeared over a layer of thickness `thick`.
double steelFraction(const SteelMaterial& steel, double thick) {
  return ratioOrZero(barAreaPerWidth(steel.BARDIA, steel.SPACING), thick);
}

// The model's tables, limited to the rows actually held, and the lookups into them.
class MaterialTables {
 public:
  explicit MaterialTables(const ModelDeck& m)
      : m_(m),
        nsteel_(std::clamp(m.NSTEEL, 0, m.STEEL.rows())),
        nconc_(std::clamp(m.NCONC, 0, m.CONC.rows())),
        nlayer_(std::clamp(m.NLAYER, 0, m.LAYERS.rows())),
        nzone_(std::clamp(m.NZONE, 0, std::min(m.ZONES.rows(), m.ZLAY.rows()))) {}

  int zones() const { return nzone_; }
  const ModelDeck& model() const { return m_; }

  // Layer identifiers of zone row z, in stacking order, up to the first 0.
  std::vector<int> zoneLayers(int z) const {
    std::vector<int> ids;
    for (int k = 1; k <= m_.ZLAY.cols() && m_.ZLAY(z, k) != 0; ++k) ids.push_back(m_.ZLAY(z, k));
    return ids;
  }
  int layerRow(int id) const { return findRow(m_.LAYERS, nlayer_, id); }
  int steelRow(int id) const { return findRow(m_.STEEL, nsteel_, id); }
  int concreteRow(int id) const { return findRow(m_.CONC, nconc_, id); }

  SteelMaterial steel(int row) const {
    if (row == 0) return {};
    const auto& t = m_.STEEL;
    return {t(row, steel_col::BARDIA), t(row, steel_col::SPACING), t(row, steel_col::E),
            t(row, steel_col::MU), t(row, steel_col::Y)};
  }
  ConcreteMaterial concrete(int row) const {
    if (row == 0) return {};
    const auto& t = m_.CONC;
    return {t(row, conc_col::E), t(row, conc_col::MU), t(row, conc_col::XT), t(row, conc_col::XC),
            t(row, conc_col::S)};
  }
  double layer(int row, int col) const { return m_.LAYERS(row, col); }
  int layerId(int row, int col) const { return static_cast<int>(wholeValue(m_.LAYERS(row, col))); }

  // Kind of LAYERS row `row` by which of its material identifiers are non-zero.
  LayerKind layerKind(int row) const {
    const bool steel = layerId(row, layer_col::SID) != 0;
    const bool concrete = layerId(row, layer_col::CID) != 0;
    if (steel && concrete) return LayerKind::COMBINED;
    if (steel) return LayerKind::STEEL;
    if (concrete) return LayerKind::CONCRETE;
    return LayerKind::NONE;
  }

 private:
  // First row of 1..count whose identifier (column 1) equals id; 0 when none does.
  static int findRow(const Matrix<double>& table, int count, int id) {
    for (int row = 1; row <= count; ++row)
      if (wholeValue(table(row, 1)) == id) return row;
    return 0;
  }

  const ModelDeck& m_;
  int nsteel_, nconc_, nlayer_, nzone_;
};

// Fields every kind of layer record carries.
LayerRecord layerBase(const MaterialTables& t, int row, LayerKind kind) {
  LayerRecord r;
  r.setKind(kind);
  r(layer_field::DLAW) = t.layer(row, layer_col::DLAW);
  r(layer_field::THICK) = t.layer(row, layer_col::THICK);
  r(layer_field::THETA) = t.layer(row, layer_col::THETA);
  return r;
}

LayerRecord steelLayer(const MaterialTables& t, int row, const SteelMaterial& st) {
  LayerRecord r = layerBase(t, row, LayerKind::STEEL);
  // Bar area per unit width, pi r^2 / SPACING, at modulus Es spread over THICK: Vs Es.
  r(layer_field::E1) = steelFraction(st, r(layer_field::THICK)) * st.E;
  // Bars in one direction: across them a nominal 1 % of E1 keeps the layer stiffness regular.
  r(layer_field::E2) = 0.01 * r(layer_field::E1);
  r(layer_field::MU) = st.MU;
  r(layer_field::Y) = st.Y;
  return r;
}

LayerRecord concreteLayer(const MaterialTables& t, int row, const ConcreteMaterial& c) {
  LayerRecord r = layerBase(t, row, LayerKind::CONCRETE);
  r(layer_field::E1) = c.E;
  r(layer_field::E2) = c.E;
  r(layer_field::MU) = c.MU;
  r(layer_field::XT) = c.XT;
  r(layer_field::XC) = c.XC;
  r(layer_field::S) = c.S;
  return r;
}

LayerRecord combinedLayer(const MaterialTables& t, int row, const SteelMaterial& st,
                          const ConcreteMaterial& c) {
  LayerRecord r = concreteLayer(t, row, c);
  r.setKind(LayerKind::COMBINED);
  const CombinedModuli mixed =
      combinedModuli(steelFraction(st, r(layer_field::THICK)), st.E, c.E, st.MU, c.MU);
  r(layer_field::E1) = mixed.E1;
  r(layer_field::E2) = mixed.E2;
  r(layer_field::MU) = mixed.MU;
  r(layer_field::Y) = st.Y;
  r(layer_field::RADIUS) = 0.5 * st.BARDIA;
  r(layer_field::SPACING) = st.SPACING;
  r(layer_field::ES) = st.E;
  r(layer_field::EC) = c.E;
  r(layer_field::MUS) = st.MU;
  r(layer_field::MUC) = c.MU;
  return r;
}

// Builds the point tables of the whole grid, reporting and counting what it cannot build.
class SlabSetUp {
 public:
  SlabSetUp(const ModelDeck& m, Writer& report, int& nerr) : t_(m), report_(report), nerr_(nerr) {}

  void reportZoneThicknesses();
  // Zone row covering (x, y), the first in row order; 0 when none does.
  int zoneAt(double x, double y) const;
  void reportUndefinedZone(int pointI, int pointJ, double x, double y);
  // Fills `table` with the layers of zone row z.
  void buildTable(int z, PointLayerTable& table);
  int CTOT() const { return ctot_; }

 private:
  void placeLayer(int row, PointLayerTable& table);
  void checkSteelFraction(int row, const SteelMaterial& st);
  void error() { ++nerr_; }

  MaterialTables t_;
  Writer& report_;
  int& nerr_;
  int ctot_ = 0;
  bool zoneBlockWritten_ = false;
};

void SlabSetUp::reportZoneThicknesses() {
  for (int z = 1; z <= t_.zones(); ++z) {
    double thickness = 0.0;
    for (int id : t_.zoneLayers(z)) {
      const int row = t_.layerRow(id);
      if (row != 0) thickness += t_.layer(row, layer_col::THICK);
    }
    report_.line("*** DEBUG OPERATION:");
    report_.line(X(5), "THICKNESS OF ZONE", I(6, z), " IS ", E(9, 3, thickness));
  }
}

int SlabSetUp::zoneAt(double x, double y) const {
  return zoneRowOfPoint(t_.model(), x, y);
}

void SlabSetUp::reportUndefinedZone(int pointI, int pointJ, double x, double y) {
  error();
  report_.line("***ERROR: ZONE FOR DIFFERENCE POINT", I(5, pointI), I(5, pointJ), " LOCATED");
  report_.line(X(10), "AT ", E(9, 3, x), X(2), E(9, 3, y), X(2), " IS NOT DEFINED");
  if (zoneBlockWritten_) return;
  zoneBlockWritten_ = true;
  report_.blank(2);
  report_.line(X(10), "INDETERMINATE ZONES WILL USUALLY  BE DUE  TO AN");
  report_.line(X(10), "INCORRECT DEFINITION OF THE EXTENT AND MIDPOINT");
  report_.line(X(10), "OF THE ZONE  SUCH  THAT  IT  DOES NOT COVER THE");
  report_.line(X(10), "INTENDED EXTENT OF THE SLAB. ");
  report_.blank();
  report_.line(X(15), "ACTION: CHECK ZONE DEFINITIONS");
  report_.blank();
}

void SlabSetUp::buildTable(int z, PointLayerTable& table) {
  table.layers.clear();
  for (int id : t_.zoneLayers(z)) {
    const int row = t_.layerRow(id);  // an undefined layer is refused by the input checks
    if (row != 0) placeLayer(row, table);
  }
  double moment = 0.0, thickness = 0.0;
  for (const LayerRecord& layer : table.layers) {
    moment += layer(layer_field::MU) * layer(layer_field::THICK);
    thickness += layer(layer_field::THICK);
  }
  table.MU = ratioOrZero(moment, thickness);
}

void SlabSetUp::placeLayer(int row, PointLayerTable& table) {
  const int sid = t_.layerId(row, layer_col::SID);
  const int cid = t_.layerId(row, layer_col::CID);
  switch (t_.layerKind(row)) {
    case LayerKind::STEEL: {
      const int s = t_.steelRow(sid);
      if (s == 0) {
        error();
        report_.line("***ERROR: STEEL MATERIAL ID ", I(5, sid), " NOT FOUND");
      }
      table.layers.push_back(steelLayer(t_, row, t_.steel(s)));
      break;
    }
    case LayerKind::CONCRETE: {
      const int c = t_.concreteRow(cid);
      if (c == 0) {
        error();
        report_.line("***ERROR: CONCRETE MATERIAL ID ", I(5, cid), " NOT FOUND");
      }
      ++ctot_;
      table.layers.push_back(concreteLayer(t_, row, t_.concrete(c)));
      break;
    }
    case LayerKind::COMBINED: {
      const int s = t_.steelRow(sid), c = t_.concreteRow(cid);
      if (s == 0 || c == 0) {
        error();
        report_.line("***ERROR: ONE OR BOTH OF STEEL AND CONCRETE IDS ", I(5, sid), I(5, cid),
                     " NOT FOUND");
      } else {
        checkSteelFraction(row, t_.steel(s));
      }
      ++ctot_;
      table.layers.push_back(combinedLayer(t_, row, t_.steel(s), t_.concrete(c)));
      break;
    }
    default:  // neither material (refused by the input checks): nothing to place
      break;
  }
}

void SlabSetUp::checkSteelFraction(int row, const SteelMaterial& st) {
  const double vs = steelFraction(st, t_.layer(row, layer_col::THICK));
  if (!(vs > kMaxSteelFraction)) return;
  error();
  report_.line("***ERROR: INPUTTED BAR DIAMETER FOR LAYER", I(5, t_.layerId(row, layer_col::LAYID)),
               " REFERENCING");
  report_.line(X(13), "MATERIAL", I(5, t_.layerId(row, layer_col::SID)), " YIELDS AN ",
               "EFFECTIVE LAYER");
  report_.line(X(13), "THICKNESS TAHT IS", F(7, 4, 1.0 - vs), " PERCENT GREATER");
  report_.line(X(13), "THAN SPECIFIED THICKNESS");
}

}  // namespace

double barAreaPerWidth(double BARDIA, double SPACING) {
  return ratioOrZero(barArea(0.5 * BARDIA, std::numbers::pi), SPACING);
}

int SLBMAT(const ModelDeck& model, WorkingFiles& files, Writer& report, int& nerr) {
  SlabSetUp setUp(model, report, nerr);
  const double DX = gridSpacing(model.A, model.NUMA);
  const double DY = gridSpacing(model.B, model.NUMB);
  if (model.DEBUG) setUp.reportZoneThicknesses();

  PointLayerTable table;
  for (int I = 1; I <= model.NUMB; ++I) {
    const double y = (I - 1) * DY;
    for (int J = 1; J <= model.NUMA; ++J) {
      const double x = (J - 1) * DX;
      const int z = setUp.zoneAt(x, y);
      if (z == 0) {
        setUp.reportUndefinedZone(I, J, x, y);
        table.layers.clear();
        table.MU = 0.0;
      } else {
        setUp.buildTable(z, table);
      }
      const int n = pointRecord(I, J, model.NUMB);
      writeLayerTable(files.initialLayers, n, table);
      writeLayerTable(files.currentLayers, n, table);
      writeUnfailedLayerState(files.layerState, n, table.NL());
    }
  }
  return setUp.CTOT();
}

}  // namespace korvant
