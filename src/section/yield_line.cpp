#include "section/yield_line.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "core/pi.hpp"
#include "section/slab_materials.hpp"

namespace korvant {
namespace {

// First row of 1..count whose identifier (column 1) is `id`; 0 when none is.
int rowOf(const Matrix<double>& table, int count, int id) {
  for (int row = 1; row <= std::min(count, table.rows()); ++row)
    if (wholeValue(table(row, 1)) == id) return row;
  return 0;
}

// One layer of a zone's stack, with the rows of its materials (0 for none).
struct StackLayer {
  double thick = 0.0, theta = 0.0;
  int steel = 0, concrete = 0;
};

std::vector<StackLayer> stackOf(const ModelDeck& m, int zone) {
  std::vector<StackLayer> stack;
  for (int k = 1; k <= m.ZLAY.cols() && m.ZLAY(zone, k) != 0; ++k) {
    const int row = rowOf(m.LAYERS, m.NLAYER, m.ZLAY(zone, k));
    if (row == 0) continue;
    const auto id = [&](int col) { return static_cast<int>(wholeValue(m.LAYERS(row, col))); };
    stack.push_back({m.LAYERS(row, layer_col::THICK), m.LAYERS(row, layer_col::THETA),
                     id(layer_col::SID) ? rowOf(m.STEEL, m.NSTEEL, id(layer_col::SID)) : 0,
                     id(layer_col::CID) ? rowOf(m.CONC, m.NCONC, id(layer_col::CID)) : 0});
  }
  return stack;
}

// The tension of the bars in one direction and its moment about the compressed face.
struct Tension {
  double force = 0.0;   // sum of As fy
  double moment = 0.0;  // sum of As fy d
  void add(double Asfy, double d) {
    force += Asfy;
    moment += Asfy * d;
  }
  // As fy (d - a/2) summed, with a = T / (0.85 fc) the depth of the rectangular block.
  double plastic(double fc) const {
    if (force <= 0.0 || fc <= 0.0) return 0.0;
    return moment - force * force / (2.0 * 0.85 * fc);
  }
};

// Compressive strength of the concrete of the first concrete-bearing layer in `order`.
template <typename Range>
double faceStrength(const ModelDeck& m, const Range& order) {
  for (const StackLayer& l : order)
    if (l.concrete > 0) return m.CONC(l.concrete, conc_col::XC);
  return 0.0;
}

// Johansen's pattern for an isotropic rectangle; an infinite side makes it the one-way span.
double isotropicRectangle(double Lx, double Ly, double m) {
  const double s = std::min(Lx, Ly), l = std::max(Lx, Ly);
  const double r = s / l;
  const double k = std::sqrt(3.0 + r * r) - r;
  return 24.0 * m / (s * s * k * k);
}

// The folding mechanism of a strip spanning L between lines of hogging moment (or free
// supports where the hogging moment is 0): 8 (m + m') / L^2.
double folding(double L, double sagging, double hogging) {
  return 8.0 * (sagging + hogging) / (L * L);
}

YieldLineEstimate none(const char* reason) {
  YieldLineEstimate e;
  e.reason = reason;
  return e;
}

}  // namespace

PlasticMoments plasticMoments(const ModelDeck& m, int zone) {
  const std::vector<StackLayer> stack = stackOf(m, zone);
  double h = 0.0;
  for (const StackLayer& l : stack) h += l.thick;
  Tension bottomX, bottomY, topX, topY;
  double z = 0.0;  // the lower face of the layer, from the lower surface
  for (const StackLayer& l : stack) {
    const double centre = z + l.thick / 2;
    z += l.thick;
    if (l.steel == 0) continue;
    const double As =
        barAreaPerWidth(m.STEEL(l.steel, steel_col::BARDIA), m.STEEL(l.steel, steel_col::SPACING));
    const double Asfy = As * m.STEEL(l.steel, steel_col::Y);
    const double c = std::cos(radians(l.theta, std::numbers::pi));
    const double alongX = c * c, alongY = 1.0 - c * c;
    if (centre < h / 2) {
      bottomX.add(Asfy * alongX, h - centre);
      bottomY.add(Asfy * alongY, h - centre);
    } else {
      topX.add(Asfy * alongX, centre);
      topY.add(Asfy * alongY, centre);
    }
  }
  // Sagging compresses the upper face, hogging the lower one.
  const auto reversed = std::vector<StackLayer>(stack.rbegin(), stack.rend());
  const double fcTop = faceStrength(m, reversed), fcBottom = faceStrength(m, stack);
  return {bottomX.plastic(fcTop), bottomY.plastic(fcTop), topX.plastic(fcBottom),
          topY.plastic(fcBottom)};
}

double simplySupportedRectangle(double a, double b, double mx, double my) {
  if (mx <= 0.0 && my <= 0.0) return 0.0;
  if (my <= 0.0) return folding(a, mx, 0.0);
  if (mx <= 0.0) return folding(b, my, 0.0);
  // Affinity: the orthotropic slab is the isotropic one of moment mx with its sides along y
  // stretched by sqrt(mx / my).
  return isotropicRectangle(a, b * std::sqrt(mx / my), mx);
}

double clampedRectangle(double a, double b, const PlasticMoments& m) {
  // Johansen's reduced sides: a clamped edge with hogging i m acts as a simple edge of a
  // rectangle whose side is shortened by sqrt(1 + i).
  const double ar = m.mx > 0.0 ? a / std::sqrt(1.0 + m.mxTop / m.mx) : a;
  const double br = m.my > 0.0 ? b / std::sqrt(1.0 + m.myTop / m.my) : b;
  return simplySupportedRectangle(ar, br, m.mx, m.my);
}

YieldLineEstimate yieldLineEstimate(const ModelDeck& model) {
  if (model.NZONE != 1) return none("the slab has several zones");
  YieldLineEstimate e;
  e.moments = plasticMoments(model, 1);
  const PlasticMoments& m = e.moments;
  if (m.mx + m.my + m.mxTop + m.myTop <= 0.0) return none("the section has no steel");
  const double a = model.A, b = model.B;
  switch (model.SLABMODEL) {
    case SlabLayout::SIMPLY_SUPPORTED:
      e.pressure = simplySupportedRectangle(a, b, m.mx, m.my);
      break;
    case SlabLayout::CLAMPED_PLATE:
      e.pressure = clampedRectangle(a, b, m);
      break;
    case SlabLayout::SFSF:  // simple lower and upper edges: spans along y
      e.pressure = folding(b, m.my, 0.0);
      break;
    case SlabLayout::FSFS:  // simple left and right edges: spans along x
      e.pressure = folding(a, m.mx, 0.0);
      break;
    case SlabLayout::FOUR_COLUMN_FREE:  // the panel folds across its middle
      e.pressure = std::min(folding(a, m.mx, 0.0), folding(b, m.my, 0.0));
      break;
    case SlabLayout::FOUR_COLUMN_SYM:  // an interior panel: hogging along the column lines
      e.pressure = std::min(folding(a, m.mx, m.mxTop), folding(b, m.my, m.myTop));
      break;
    case SlabLayout::NINE_COLUMN:  // two bays each way, continuous over every column line
      e.pressure = std::min(folding(a / 2, m.mx, m.mxTop), folding(b / 2, m.my, m.myTop));
      break;
    default:
      return none("the support layout has no classical mechanism here");
  }
  if (!(e.pressure > 0.0)) return none("the steel does not resist the mechanism");
  e.available = true;
  return e;
}

}  // namespace korvant
