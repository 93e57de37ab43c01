#include "equilibrium/layer_secant.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "section/degradation.hpp"
#include "section/layer_table.hpp"

namespace korvant::equilibrium {
namespace {

// T of toSlabAxes: the strains in axes along `d` of each unit strain in slab axes, column by
// column, with c^2 = (1 + cos 2a) / 2, s^2 = (1 - cos 2a) / 2 and s c = sin 2a / 2.
Stiffness3 strainRotation(const Direction& d) {
  const double cc = 0.5 * (1.0 + d.c2), ss = 0.5 * (1.0 - d.c2), sc = 0.5 * d.s2;
  Stiffness3 T;
  T(0, 0) = cc, T(1, 0) = ss, T(2, 0) = -d.s2;
  T(0, 1) = ss, T(1, 1) = cc, T(2, 1) = d.s2;
  T(0, 2) = sc, T(1, 2) = -sc, T(2, 2) = d.c2;
  return T;
}

// The secant along principal direction d (0 or 1), never above the one remembered.
double concreteSecant(double e, int d, const ConcreteLaw& c, const LayerMemory& m,
                      TensionStiffening ts, double capacity) {
  const auto k = static_cast<std::size_t>(d);
  if (e >= 0.0)
    return std::min(secantOf(tensionStress(e, c, ts, capacity), e, c.E), m.tensionSecant[k]);
  return std::min(secantOf(compressionStress(e, c), e, c.E), m.compressionSecant[k]);
}

// The memory after principal strain e of direction d was met with secant `secant`.
void rememberConcrete(double e, int d, double secant, const ConcreteLaw& c, LayerMemory& m) {
  const auto k = static_cast<std::size_t>(d);
  if (e >= 0.0) {
    m.tensionSecant[k] = secant;
    m.cracked = m.cracked || e > crackingStrain(c);
  } else {
    m.compressionSecant[k] = secant;
    m.crushed = m.crushed || -e > kCrushingStrain;
    // Concrete that carries nothing more in compression has gone in every direction.
    if (secant <= 0.0) m.compressionSecant = {0.0, 0.0};
  }
  // Crushed concrete, softening or gone, opens under no tension.
  if (m.crushed) m.tensionSecant = {0.0, 0.0};
}

// The equivalent uniaxial strains of principal strains e1, e2 under Poisson's ratio nu: the
// strains (e_i + nu e_j) / (1 - nu^2) that give alone, in uniaxial stress, the stresses the
// elastic plane state gives (Darwin & Pecknold 1977), so that the laws' strengths hold as
// principal stresses under any ratio of the principal strains.
Principal equivalentUniaxial(const Principal& p, double nu) {
  const double k = 1.0 / (1.0 - nu * nu);
  return {k * (p.e1 + nu * p.e2), k * (p.e2 + nu * p.e1), p.direction};
}

// The concrete of a layer in its principal axes (1 along e1): the secants of the uniaxial
// laws at the equivalent uniaxial strains, coupled by Poisson's ratio while uncracked as
// nu sqrt(E1 E2) (Darwin & Pecknold 1977), none in a layer cracked or cracking under these
// strains, and the coaxial shear modulus (s1 - s2) / 2 (e1 - e2) (Vecchio 1990), never below
// zero (in biaxial tension past cracking the principal stresses may change order).
Stiffness3 concretePrincipal(const Principal& p, const ConcreteLaw& c, LayerMemory& m,
                             const std::vector<CrossingBar>& bars, TensionStiffening ts) {
  const bool cracks = m.cracked || equivalentUniaxial(p, c.nu).e1 > crackingStrain(c);
  const double nu = cracks ? 0.0 : c.nu;
  const Principal u = equivalentUniaxial(p, nu);
  const double E1 = concreteSecant(u.e1, 0, c, m, ts, crackCapacity(bars, p.direction));
  const double E2 = concreteSecant(u.e2, 1, c, m, ts, crackCapacity(bars, p.direction.across()));
  rememberConcrete(u.e1, 0, E1, c, m);
  rememberConcrete(u.e2, 1, E2, c, m);
  const double k = 1.0 / (1.0 - nu * nu);
  Stiffness3 Q;
  Q(0, 0) = k * E1;
  Q(1, 1) = k * E2;
  Q(0, 1) = Q(1, 0) = k * nu * std::sqrt(E1 * E2);
  const double s1 = Q(0, 0) * p.e1 + Q(0, 1) * p.e2;
  const double s2 = Q(1, 0) * p.e1 + Q(1, 1) * p.e2;
  const double de = p.e1 - p.e2;
  const double G = de > 1e-12 ? (s1 - s2) / (2.0 * de) : 0.25 * (Q(0, 0) + Q(1, 1) - 2.0 * Q(0, 1));
  Q(2, 2) = std::max(G, 0.0);
  return Q;
}

// The bars' secant along them and the memory after it.
double barSecant(double e, const SteelLaw& s, LayerMemory& m) {
  const double secant = std::min(secantOf(steelStress(e, s), e, s.Es), m.steelSecant);
  m.steelSecant = secant;
  m.yielded = m.yielded || std::fabs(e) > s.fy / s.Es;
  return secant;
}

// A combined layer in the axes of its bars: the concrete seen in those axes, with the
// stiffness along the bars and across them mixed with the steel by the layer tables' own rule
// (recomposeCombinedLayer: in parallel along the bars with their secant, in series across
// them with the steel's modulus). Shear and Poisson coupling are the concrete's.
Stiffness3 combinedInBarAxes(const SectionLayer& layer, Stiffness3 Qc, double barSecant) {
  LayerRecord r;
  r(layer_field::THICK) = layer.thick;
  r(layer_field::RADIUS) = layer.barRadius;
  r(layer_field::SPACING) = layer.barSpacing;
  r(layer_field::MUS) = layer.steelNu;
  r(layer_field::MUC) = layer.concrete.nu;
  recomposeCombinedLayer(r, barSecant, Qc(0, 0));
  Qc(0, 0) = r(layer_field::E1);
  recomposeCombinedLayer(r, layer.steel.Es, Qc(1, 1));
  Qc(1, 1) = r(layer_field::E2);
  return Qc;
}

// The difference of principal strains under which the concrete of the layer counts as strained
// alike in every direction.
double isotropicBelow(const SectionLayer& layer) {
  return kIsotropicStrain * crackingStrain(layer.concrete);
}

}  // namespace

Stiffness3 inPlane(const Matrix<double>& M) {
  Stiffness3 S;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) S(i, j) = M(kPlaneComponents[i], kPlaneComponents[j]);
  return S;
}

Plane3 Stiffness3::operator*(const Plane3& e) const {
  Plane3 s{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      s[static_cast<std::size_t>(i)] += (*this)(i, j) * e[static_cast<std::size_t>(j)];
  return s;
}

Direction Direction::of(double angle) {
  return {std::cos(2.0 * angle), std::sin(2.0 * angle)};
}

Principal principalStrains(const Plane3& e, double isotropicBelow) {
  const double mean = 0.5 * (e[0] + e[1]);
  const double half = 0.5 * (e[0] - e[1]), shear = 0.5 * e[2];
  const double radius = std::sqrt(half * half + shear * shear);
  if (radius < isotropicBelow || radius == 0.0)
    return {mean + radius, mean - radius,
            e[0] >= e[1] ? Direction{1.0, 0.0} : Direction{-1.0, 0.0}};
  // cos 2a = (exx - eyy) / 2r, sin 2a = gxy / 2r (Mohr's circle of strain).
  return {mean + radius, mean - radius, {half / radius, shear / radius}};
}

Stiffness3 toSlabAxes(const Stiffness3& Q, const Direction& d) {
  const Stiffness3 T = strainRotation(d);
  Stiffness3 QT, R;
  for (int k = 0; k < 3; ++k)
    for (int j = 0; j < 3; ++j)
      QT(k, j) = Q(k, 0) * T(0, j) + Q(k, 1) * T(1, j) + Q(k, 2) * T(2, j);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      R(i, j) = T(0, i) * QT(0, j) + T(1, i) * QT(1, j) + T(2, i) * QT(2, j);
  return R;
}

double strainAlong(const Plane3& e, const Direction& d) {
  return 0.5 * (1.0 + d.c2) * e[0] + 0.5 * (1.0 - d.c2) * e[1] + 0.5 * d.s2 * e[2];
}

Direction barDirection(const SectionLayer& layer) {
  // Bars along the slab axes, the usual meshes, without a cosine's round-off.
  if (layer.theta == 0.0) return {1.0, 0.0};
  if (layer.theta == 90.0) return {-1.0, 0.0};
  return Direction::of(layer.theta * std::numbers::pi / 180.0);
}

CrossingBar crossingBar(const SectionLayer& bars, double rho, double fs) {
  return {rho, barDirection(bars), std::max(bars.steel.fy - fs, 0.0)};
}

double crackCapacity(const std::vector<CrossingBar>& bars, const Direction& normal) {
  double capacity = 0.0;
  for (const CrossingBar& b : bars) capacity += b.rho * b.reserve * normal.cosSquared(b.along);
  return capacity;
}

LayerResponse layerSecant(const SectionLayer& layer, const Plane3& e, const LayerMemory& memory,
                          const std::vector<CrossingBar>& bars, TensionStiffening ts) {
  LayerResponse r;
  r.memory = memory;
  const Direction along = barDirection(layer);
  if (layer.material == LayerMaterial::Concrete) {
    const Principal p = principalStrains(e, isotropicBelow(layer));
    r.Q = toSlabAxes(concretePrincipal(p, layer.concrete, r.memory, bars, ts), p.direction);
  } else {
    const double eb = strainAlong(e, along);
    const double secant = barSecant(eb, layer.steel, r.memory);
    r.barStress = secant * eb;
    if (layer.material == LayerMaterial::Bars) {
      Stiffness3 Q;
      Q(0, 0) = secant * layer.barArea / layer.thick;  // the bars smeared over the layer
      r.Q = toSlabAxes(Q, along);
    } else {
      const Principal p = principalStrains(e, isotropicBelow(layer));
      const Stiffness3 Qc = concretePrincipal(p, layer.concrete, r.memory, bars, ts);
      const Stiffness3 Qb = toSlabAxes(Qc, p.direction.from(along));
      r.Q = toSlabAxes(combinedInBarAxes(layer, Qb, secant), along);
    }
  }
  r.stress = r.Q * e;
  return r;
}

}  // namespace korvant::equilibrium
