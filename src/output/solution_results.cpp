#include "output/solution_results.hpp"

#include <cmath>

#include "section/layer_results.hpp"
#include "section/layer_state.hpp"
#include "section/layer_table.hpp"
#include "section/point_zone.hpp"

namespace korvant {
namespace {

// The row (1..count) of `table` whose first column holds `id`; 0 when none does.
int rowWithId(const Matrix<double>& table, int count, int id) {
  for (int row = 1; row <= count; ++row)
    if (std::lround(table(row, 1)) == id) return row;
  return 0;
}

// The LAYERS row of layer k (1-based) of zone row `zone`; 0 when the deck has none.
int layerRow(const ModelDeck& m, int zone, int k) {
  if (zone < 1 || k < 1 || k > kZoneLayers) return 0;
  return rowWithId(m.LAYERS, m.NLAYER, m.ZLAY(zone, k));
}

struct Concrete {
  double E = 0.0, XT = 0.0;
};

// The concrete of layer k, or of the nearest layer of the zone that has concrete.
Concrete nearestConcrete(const ModelDeck& m, int zone, int k, int NL) {
  for (int offset = 0; offset < NL; ++offset)
    for (int layer : {k - offset, k + offset}) {
      const int row = layerRow(m, zone, layer);
      if (row == 0 || layer > NL) continue;
      const int c =
          rowWithId(m.CONC, m.NCONC, static_cast<int>(std::lround(m.LAYERS(row, layer_col::CID))));
      if (c != 0) return {m.CONC(c, conc_col::E), m.CONC(c, conc_col::XT)};
    }
  return {};
}

// The width at one bar layer cracked from the face below it (lower) or above it.
double barCrackWidth(const ModelDeck& m, int zone, int NL, double h, const BarLayerResult& bar,
                     double crackDepth, bool lower) {
  const int row = layerRow(m, zone, bar.layer);
  if (row == 0) return 0.0;
  const int s =
      rowWithId(m.STEEL, m.NSTEEL, static_cast<int>(std::lround(m.LAYERS(row, layer_col::SID))));
  if (s == 0) return 0.0;
  const Concrete c = nearestConcrete(m, zone, bar.layer, NL);
  CrackWidthInputs in;
  in.h = h;
  in.barCentre = lower ? bar.z : h - bar.z;
  in.crackDepth = crackDepth;
  in.diameter = m.STEEL(s, steel_col::BARDIA);
  in.spacing = m.STEEL(s, steel_col::SPACING);
  in.Es = m.STEEL(s, steel_col::E);
  in.sigmaS = in.Es * bar.strain;
  in.Ecm = c.E;
  in.fctEff = c.XT;
  return crackWidthEC2(in).wk;
}

double depthOf(const PointLayerTable& table) {
  double h = 0.0;
  for (const LayerRecord& layer : table.layers) h += layer(layer_field::THICK);
  return h;
}

void offerSteel(MostUtilised& most, const BarLayerResult& b, double x, double y) {
  if (most.any && b.utilisation <= most.utilisation) return;
  most = {true, b.layer, x, y, b.z, b.utilisation, b.stress, b.strain, b.yielded};
}

}  // namespace

double faceCrackWidth(const ModelDeck& model, int zoneRow, const PointLayerTable& table,
                      const PointResults& point, bool lower) {
  const double h = depthOf(table);
  const double depth = (lower ? point.cracks.lower : point.cracks.upper) * h;
  double widest = 0.0;
  for (const BarLayerResult& bar : point.bars) {
    const double fromFace = lower ? bar.z : h - bar.z;
    if (fromFace > 0.5 * h || fromFace > depth) continue;
    widest = std::max(widest, barCrackWidth(model, zoneRow, table.NL(), h, bar, depth, lower));
  }
  return widest;
}

SolutionResults solutionResults(const ModelDeck& model, const ResultSources& s) {
  SolutionResults out;
  out.grid = DifferenceGrid{model.A, model.B, model.NUMA, model.NUMB};
  const DifferenceGrid& g = out.grid;
  PointLayerTable table;
  LayerResults results;
  LayerState state;
  for (int J = 1; J <= g.NUMA; ++J)
    for (int I = 1; I <= g.NUMB; ++I) {
      const int n = pointRecord(I, J, g.NUMB);
      readLayerTable(s.currentLayers, n, table);
      readLayerResults(s.layerResults, n, results);
      readLayerState(s.layerState, n, state);
      PointResults p;
      p.forces = sectionForces(table, results);
      p.principal = principalMoments(p.forces);
      p.bars = barLayerResults(table, results, state);
      p.cracks = crackDepths(table, results, state);
      const int zone = zoneRowOfPoint(model, g.x(J), g.y(I));
      p.widthLower = faceCrackWidth(model, zone, table, p, true);
      p.widthUpper = faceCrackWidth(model, zone, table, p, false);
      out.barLayers = std::max(out.barLayers, static_cast<int>(p.bars.size()));
      out.points.push_back(std::move(p));
    }
  return out;
}

ResultPeaks resultPeaks(const SolutionResults& r) {
  ResultPeaks peaks;
  const DifferenceGrid& g = r.grid;
  for (int J = 1; J <= g.NUMA; ++J)
    for (int I = 1; I <= g.NUMB; ++I) {
      const PointResults& p = r.points[static_cast<std::size_t>(pointRecord(I, J, g.NUMB) - 1)];
      const double x = g.x(J), y = g.y(I);
      const SectionForces& f = p.forces;
      const std::array<double, 6> values{f.mxx, f.myy, f.mxy, f.nxx, f.nyy, f.nxy};
      for (std::size_t c = 0; c < values.size(); ++c) peaks.forces[c].offer(values[c], x, y);
      peaks.m1.offer(p.principal.m1, x, y);
      peaks.m2.offer(p.principal.m2, x, y);
      for (const BarLayerResult& b : p.bars) offerSteel(peaks.steel, b, x, y);
      peaks.crackLower.offer(p.cracks.lower, x, y);
      peaks.crackUpper.offer(p.cracks.upper, x, y);
      peaks.widthLower.offer(p.widthLower, x, y);
      peaks.widthUpper.offer(p.widthUpper, x, y);
    }
  return peaks;
}

}  // namespace korvant
