#include "output/solution_results.hpp"

#include <algorithm>
#include <cmath>

#include "core/grid.hpp"
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

// The widest crack at one face of a point of depth h and NL layers in zone row `zoneRow`.
double widestAtFace(const ModelDeck& model, int zoneRow, double h, int NL,
                    const PointResults& point, bool lower) {
  const double depth = (lower ? point.cracks.lower : point.cracks.upper) * h;
  double widest = 0.0;
  for (const BarLayerResult& bar : point.bars) {
    const double fromFace = lower ? bar.z : h - bar.z;
    if (fromFace > 0.5 * h || fromFace > depth) continue;
    widest = std::max(widest, barCrackWidth(model, zoneRow, NL, h, bar, depth, lower));
  }
  return widest;
}

// The strains at the centre of layer k of a section under the strain plane e.
equilibrium::Plane3 layerStrain(const equilibrium::Section& s, const equilibrium::StrainPlane& e,
                                std::size_t k) {
  return equilibrium::strainAtHeight(s, e, s.layers[k].z);
}

double sectionDepth(const equilibrium::Section& s) {
  double h = 0.0;
  for (const equilibrium::SectionLayer& l : s.layers) h += l.thick;
  return h;
}

// The bar layers of a path point: the strain along the bars and the stress of their law.
std::vector<BarLayerResult> pathBars(const equilibrium::Section& s,
                                     const equilibrium::StrainPlane& e,
                                     const std::vector<equilibrium::LayerMemory>& memory,
                                     equilibrium::TensionStiffening ts) {
  using namespace equilibrium;
  std::vector<BarLayerResult> bars;
  const double h = sectionDepth(s);
  for (std::size_t k = 0; k < s.layers.size(); ++k) {
    const SectionLayer& l = s.layers[k];
    if (l.material == LayerMaterial::Concrete) continue;
    const Plane3 strain = layerStrain(s, e, k);
    BarLayerResult b;
    b.layer = l.deckLayer + 1;  // the deck's layer number (the section may be sliced)
    b.z = l.z;
    b.theta = l.theta;
    b.lowerHalf = l.z < 0.5 * h;
    b.strain = strainAlong(strain, barDirection(l));
    b.stress = layerSecant(l, strain, memory[k], {}, ts).barStress;
    b.utilisation = l.steel.fy > 0.0 ? std::abs(b.stress) / l.steel.fy : 0.0;
    b.yielded = memory[k].yielded;
    bars.push_back(b);
  }
  return bars;
}

// How deep the cracks of a path point reach from one face, over its depth: the concrete
// layers from the face inwards whose memory holds a crack and that are stretched along some
// direction; the first that is not stops the crack, bar layers neither stop nor count.
double pathCrackDepth(const equilibrium::Section& s, const equilibrium::StrainPlane& e,
                      const std::vector<equilibrium::LayerMemory>& memory, bool lower) {
  using namespace equilibrium;
  const std::size_t n = s.layers.size();
  const double h = sectionDepth(s);
  double depth = 0.0, passed = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t k = lower ? i : n - 1 - i;
    passed += s.layers[k].thick;
    if (s.layers[k].material == LayerMaterial::Bars) continue;
    if (!memory[k].cracked || principalStrains(layerStrain(s, e, k)).e1 <= 0.0) break;
    depth = passed;
  }
  return h > 0.0 ? depth / h : 0.0;
}

PointResults pathPoint(const ModelDeck& model, int zoneRow, const equilibrium::Section& s,
                       const equilibrium::StrainPlane& e,
                       const std::vector<equilibrium::LayerMemory>& memory,
                       equilibrium::TensionStiffening ts) {
  const equilibrium::SectionResponse r = secantSection(s, e, memory, ts);
  PointResults p;
  // The secant section's moments are the stresses times the height above the mid-depth:
  // a sagging moment is negative there.
  p.forces = {r.N[0], r.N[1], r.N[2], -r.M[0], -r.M[1], -r.M[2]};
  p.principal = principalMoments(p.forces);
  p.bars = pathBars(s, e, memory, ts);
  p.cracks = {pathCrackDepth(s, e, memory, true), pathCrackDepth(s, e, memory, false)};
  const double h = sectionDepth(s);
  const int NL = s.layers.empty() ? 0 : s.layers.back().deckLayer + 1;  // the deck's layers
  p.widthLower = widestAtFace(model, zoneRow, h, NL, p, true);
  p.widthUpper = widestAtFace(model, zoneRow, h, NL, p, false);
  return p;
}

void offerSteel(MostUtilised& most, const BarLayerResult& b, double x, double y) {
  if (most.any && b.utilisation <= most.utilisation) return;
  most = {true, b.layer, x, y, b.z, b.utilisation, b.stress, b.strain, b.yielded};
}

}  // namespace

double faceCrackWidth(const ModelDeck& model, int zoneRow, const PointLayerTable& table,
                      const PointResults& point, bool lower) {
  return widestAtFace(model, zoneRow, depthOf(table), table.NL(), point, lower);
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

SolutionResults pathResults(const ModelDeck& model,
                            const std::vector<const equilibrium::Section*>& sections,
                            const equilibrium::PathState& state,
                            equilibrium::TensionStiffening ts) {
  SolutionResults out;
  out.grid = DifferenceGrid{model.A, model.B, model.NUMA, model.NUMB};
  const DifferenceGrid& g = out.grid;
  std::size_t p = 0;
  for (int J = 1; J <= g.NUMA; ++J)
    for (int I = 1; I <= g.NUMB; ++I, ++p) {
      const int zone = zoneRowOfPoint(model, g.x(J), g.y(I));
      PointResults r = pathPoint(model, zone, *sections[p], state.strains[p], state.memory[p], ts);
      out.barLayers = std::max(out.barLayers, static_cast<int>(r.bars.size()));
      out.points.push_back(std::move(r));
    }
  return out;
}

std::vector<double> pathDeflections(const ModelDeck& model, const equilibrium::PathState& state) {
  const auto per = static_cast<std::size_t>(unknownsPerPoint(model.COUPLING));
  std::vector<double> w;
  for (std::size_t k = per - 1; k < state.solution.size(); k += per) w.push_back(state.solution[k]);
  return w;
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
