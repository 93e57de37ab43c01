#include "section/section_results.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/matrix.hpp"
#include "section/combined_layer.hpp"
#include "section/section_stiffness.hpp"

namespace korvant {
namespace {

struct Plane {
  double xx = 0.0, yy = 0.0, xy = 0.0;
};

double depthOf(const PointLayerTable& table) {
  double h = 0.0;
  for (const LayerRecord& layer : table.layers) h += layer(layer_field::THICK);
  return h;
}

// Heights of the layer centres above the lower face.
std::vector<double> layerCentres(const PointLayerTable& table) {
  std::vector<double> z;
  double below = 0.0;
  for (const LayerRecord& layer : table.layers) {
    z.push_back(below + 0.5 * layer(layer_field::THICK));
    below += layer(layer_field::THICK);
  }
  return z;
}

bool carriesBars(const LayerRecord& layer) {
  return layer.kind() == LayerKind::STEEL || layer.kind() == LayerKind::COMBINED;
}

bool carriesConcrete(const LayerRecord& layer) {
  return layer.kind() == LayerKind::CONCRETE || layer.kind() == LayerKind::COMBINED;
}

// The steel volume fraction of a combined layer: bar area over the layer's cell.
double steelFraction(const LayerRecord& layer) {
  const double cell = layer(layer_field::THICK) * layer(layer_field::SPACING);
  return cell > 0.0 ? barArea(layer(layer_field::RADIUS), std::numbers::pi) / cell : 0.0;
}

// The mean stress of a layer at its centre: a combined layer's phases mixed by volume.
Plane centreStress(const LayerRecord& layer, const LayerResult& r) {
  Plane s{r(result_field::SXX), r(result_field::SYY), r(result_field::SXY)};
  if (layer.kind() != LayerKind::COMBINED) return s;
  const double Vs = steelFraction(layer);
  return {(1.0 - Vs) * s.xx + Vs * r(result_field::STEEL_SXX),
          (1.0 - Vs) * s.yy + Vs * r(result_field::STEEL_SYY),
          (1.0 - Vs) * s.xy + Vs * r(result_field::STEEL_SXY)};
}

// The curvature: the slope of the layer strains from the lowest to the highest layer.
Plane curvature(const std::vector<double>& z, const LayerResults& results) {
  const std::size_t top = results.layers.size() - 1;
  if (results.layers.size() < 2 || z[top] == z[0]) return {};
  const LayerResult &lo = results.layers.front(), &hi = results.layers[top];
  const double dz = z[top] - z[0];
  return {(hi(result_field::EXX) - lo(result_field::EXX)) / dz,
          (hi(result_field::EYY) - lo(result_field::EYY)) / dz,
          (hi(result_field::EXY) - lo(result_field::EXY)) / dz};
}

// Q of the layer times the curvature: how fast its stress grows with height.
Plane stressSlope(const LayerRecord& layer, const Plane& k, Matrix<double>& Q) {
  using namespace component;
  QMATX(Q, layer(layer_field::E1), layer(layer_field::E2), layer(layer_field::MU),
        layer(layer_field::THETA));
  return {Q(XX, XX) * k.xx + Q(XX, YY) * k.yy + Q(XX, XY) * k.xy,
          Q(YY, XX) * k.xx + Q(YY, YY) * k.yy + Q(YY, XY) * k.xy,
          Q(XY, XX) * k.xx + Q(XY, YY) * k.yy + Q(XY, XY) * k.xy};
}

// A strain triple (engineering shear) and a stress triple turned into the direction THETA
// (degrees) of a layer: their components along it.
struct AlongBars {
  double strain = 0.0, stress = 0.0;
};

AlongBars alongLayer(const LayerRecord& layer, Plane strain, Plane stress) {
  SETRANS(strain.xx, strain.yy, strain.xy, stress.xx, stress.yy, stress.xy,
          layer(layer_field::THETA) * std::numbers::pi / 180.0);
  return {strain.xx, stress.xx};
}

// Tension along some direction: the larger principal strain is positive.
bool inTension(const LayerResult& r) {
  const double mean = 0.5 * (r(result_field::EXX) + r(result_field::EYY));
  const double radius =
      std::hypot(0.5 * (r(result_field::EXX) - r(result_field::EYY)), 0.5 * r(result_field::EXY));
  return mean + radius > 0.0;
}

bool cracked(const LayerFailure& f, const LayerResult& r) {
  using namespace failure_index;
  return std::max({f(FICT), f(FICC), f(FICS)}) >= 1.0 && inTension(r);
}

}  // namespace

SectionForces sectionForces(const PointLayerTable& table, const LayerResults& results) {
  SectionForces f;
  const int NL = std::min(table.NL(), static_cast<int>(results.layers.size()));
  if (NL == 0) return f;
  const std::vector<double> z = layerCentres(table);
  const double mid = 0.5 * depthOf(table);
  const Plane k = curvature(z, results);
  Matrix<double> Q(component::COUNT, component::COUNT);
  for (int i = 0; i < NL; ++i) {
    const auto n = static_cast<std::size_t>(i);
    const LayerRecord& layer = table.layers[n];
    const double t = layer(layer_field::THICK), zc = z[n] - mid;
    const Plane s = centreStress(layer, results.layers[n]);
    const Plane g = stressSlope(layer, k, Q);
    // Over the layer: integral of s + g (z - zc) is s t; of its moment, s zc t + g t^3 / 12.
    const double t3 = t * t * t / 12.0;
    f.nxx += s.xx * t;
    f.nyy += s.yy * t;
    f.nxy += s.xy * t;
    f.mxx -= s.xx * zc * t + g.xx * t3;
    f.myy -= s.yy * zc * t + g.yy * t3;
    f.mxy -= s.xy * zc * t + g.xy * t3;
  }
  return f;
}

PrincipalMoments principalMoments(const SectionForces& f) {
  const double mean = 0.5 * (f.mxx + f.myy);
  const double radius = std::hypot(0.5 * (f.mxx - f.myy), f.mxy);
  const double angle = 0.5 * std::atan2(2.0 * f.mxy, f.mxx - f.myy) * 180.0 / std::numbers::pi;
  return {mean + radius, mean - radius, angle};
}

std::vector<BarLayerResult> barLayerResults(const PointLayerTable& table,
                                            const LayerResults& results, const LayerState& state) {
  std::vector<BarLayerResult> bars;
  const std::vector<double> z = layerCentres(table);
  const int NL = std::min({table.NL(), static_cast<int>(results.layers.size()), state.NL()});
  for (int i = 0; i < NL; ++i) {
    const auto n = static_cast<std::size_t>(i);
    const LayerRecord& layer = table.layers[n];
    if (!carriesBars(layer)) continue;
    const LayerResult& r = results.layers[n];
    const bool combined = layer.kind() == LayerKind::COMBINED;
    const Plane stress =
        combined ? Plane{r(result_field::STEEL_SXX), r(result_field::STEEL_SYY),
                         r(result_field::STEEL_SXY)}
                 : Plane{r(result_field::SXX), r(result_field::SYY), r(result_field::SXY)};
    BarLayerResult b;
    b.layer = i + 1;
    b.z = z[n];
    b.theta = layer(layer_field::THETA);
    b.lowerHalf = z[n] < 0.5 * depthOf(table);
    const AlongBars turned = alongLayer(
        layer, {r(result_field::EXX), r(result_field::EYY), r(result_field::EXY)}, stress);
    b.strain = turned.strain;
    b.stress = turned.stress;
    const double Y = layer(layer_field::Y);
    b.utilisation = Y > 0.0 ? std::abs(b.stress) / Y : 0.0;
    b.yielded = state.layers[n](failure_index::FY) >= 1.0;
    bars.push_back(b);
  }
  return bars;
}

CrackDepths crackDepths(const PointLayerTable& table, const LayerResults& results,
                        const LayerState& state) {
  CrackDepths d;
  const int NL = std::min({table.NL(), static_cast<int>(results.layers.size()), state.NL()});
  const double h = depthOf(table);
  if (NL == 0 || h <= 0.0) return d;
  // From one face inwards: the depth down to the last cracked concrete layer of the run.
  auto reach = [&](int first, int step) {
    double depth = 0.0, passed = 0.0;
    for (int i = first; i >= 0 && i < NL; i += step) {
      const auto n = static_cast<std::size_t>(i);
      passed += table.layers[n](layer_field::THICK);
      if (!carriesConcrete(table.layers[n])) continue;
      if (!cracked(state.layers[n], results.layers[n])) break;
      depth = passed;
    }
    return depth / h;
  };
  d.lower = reach(0, 1);
  d.upper = reach(NL - 1, -1);
  return d;
}

CrackWidth crackWidthEC2(const CrackWidthInputs& in) {
  CrackWidth w;
  if (in.sigmaS <= 0.0 || in.spacing <= 0.0 || in.Es <= 0.0) return w;
  constexpr double kt = 0.4, k1 = 0.8, k2 = 0.5, k3 = 3.4, k4 = 0.425;
  const double As = std::numbers::pi * in.diameter * in.diameter / 4.0 / in.spacing;
  const double hcEff = std::min({2.5 * in.barCentre, in.crackDepth / 3.0, in.h / 2.0});
  if (hcEff <= 0.0) return w;
  w.rhoEff = As / hcEff;
  const double cover = in.barCentre - 0.5 * in.diameter;
  const double alphaE = in.Ecm > 0.0 ? in.Es / in.Ecm : 0.0;
  const double relief = kt * in.fctEff / w.rhoEff * (1.0 + alphaE * w.rhoEff);
  w.strain = std::max((in.sigmaS - relief) / in.Es, 0.6 * in.sigmaS / in.Es);
  const bool wideSpacing = in.spacing > 5.0 * (cover + 0.5 * in.diameter);
  w.srMax = wideSpacing ? 1.3 * in.crackDepth : k3 * cover + k1 * k2 * k4 * in.diameter / w.rhoEff;
  w.wk = w.srMax * w.strain;
  return w;
}

}  // namespace korvant
