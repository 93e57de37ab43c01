// The secant section against the mechanics of sections worked by hand: the elastic stiffness
// of a homogeneous and of a transformed reinforced section, and the moment-curvature of a
// slab strip in uniform moment (no membrane force) against the hand calculation of the same
// section with the same laws: the cracking moment of the transformed section at the centre of
// the lowest layer, the yield moment of Hognestad's parabola over the compression zone, and
// the plastic moment As fy (d - a/2) of Whitney's block (a = As fy / 0.85 fc).
#include "equilibrium/secant_section.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>

namespace korvant::equilibrium {
namespace {

using namespace component;

constexpr double kE = 30000.0, kXT = 3.0, kXC = 30.0, kEs = 200000.0, kFy = 500.0;
constexpr double kH = 150.0, kZs = 30.0;  // depth, bar centre above the lower face
const double kAs = 0.25 * std::numbers::pi * 100.0 / 150.0;  // 10 mm bars at 150: 0.5236 mm2/mm

SectionLayer concrete(double thick, double nu) {
  SectionLayer l;
  l.thick = thick;
  l.concrete = {kE, nu, kXT, kXC};
  return l;
}

SectionLayer barLayer(double theta) {
  SectionLayer b;
  b.material = LayerMaterial::Bars;
  b.thick = b.barArea = kAs;
  b.theta = theta;
  b.steel = {kEs, kFy, 0.0};
  return b;
}

// Concrete of depth kH in layers of about 5 mm, with the bar layer (its thickness the bar
// area, as the decks smear bars) centred kZs above the lower face when `bars`, and a second
// one across it 10 mm higher when `mesh`. A strip has no Poisson's ratio (it is in uniaxial
// bending); a mesh, for two-way bending, has 0.2.
Section strip(bool bars, bool mesh = false) {
  std::vector<SectionLayer> layers;
  const auto fill = [&](double from, double to) {
    const int n = static_cast<int>(std::ceil((to - from) / 5.0));
    for (int k = 0; k < n; ++k) layers.push_back(concrete((to - from) / n, mesh ? 0.2 : 0.0));
  };
  if (!bars) {
    fill(0.0, kH);
    return makeSection(layers);
  }
  fill(0.0, kZs - 0.5 * kAs);
  layers.push_back(barLayer(0.0));
  if (mesh) {
    fill(kZs + 0.5 * kAs, kZs + 10.0 - 0.5 * kAs);
    layers.push_back(barLayer(90.0));
    fill(kZs + 10.0 + 0.5 * kAs, kH);
  } else {
    fill(kZs + 0.5 * kAs, kH);
  }
  return makeSection(layers);
}

// Bisection for the root of f between lo and hi (f(lo) < 0 < f(hi)).
double root(const std::function<double(double)>& f, double lo, double hi) {
  for (int it = 0; it < 60; ++it) {
    const double mid = 0.5 * (lo + hi);
    (f(mid) < 0.0 ? lo : hi) = mid;
  }
  return 0.5 * (lo + hi);
}

struct StripPoint {
  double curvature, moment, condensed;  // condensed: (D - B A^-1 B) times the curvature
  int cracked, crushed, yielded;
};

// The strip bent in sagging (tension below: strains falling upward) to each curvature in turn,
// its membrane strain found for Nxx = 0 (the root nearest the last one, bracketed outward
// from it), each state accepted before the next. Curvatures and moments are sagging-positive.
std::vector<StripPoint> momentCurvature(const Section& s, TensionStiffening ts,
                                        const std::vector<double>& curvatures) {
  std::vector<LayerMemory> memory(s.layers.size());
  std::vector<StripPoint> path;
  double e0 = 0.0;
  for (double k : curvatures) {
    const auto at = [&](double e) { return secantSection(s, {{e, 0, 0}, {-k, 0, 0}}, memory, ts); };
    const auto N = [&](double e) { return at(e).N[0]; };
    double lo = e0, hi = e0;
    for (double step = 1e-7; !(N(lo) < 0.0 && N(hi) > 0.0); step *= 2.0) {
      if (!(N(lo) < 0.0)) lo = e0 - step;
      if (!(N(hi) > 0.0)) hi = e0 + step;
    }
    e0 = root(N, lo, hi);
    const SectionResponse r = at(e0);
    memory = r.memory;
    path.push_back(
        {k, -r.M[0], uncoupledBending(r.abd).D(XX, XX) * k, r.cracked, r.crushed, r.yielded});
  }
  return path;
}

// Curvatures after the last of `k` (or 0) up to `last` in steps of `step`.
std::vector<double> steps(double step, double last, std::vector<double> k = {}) {
  for (double c = (k.empty() ? 0.0 : k.back()) + step; c <= last; c += step) k.push_back(c);
  return k;
}

// The strip's section by hand, per unit width, d = h - zs, n = Es / E. Uncracked: the
// transformed section (the bars less the concrete they displace), its centroid and E I.
// Cracked and elastic (Park & Paulay 1975, 10.1): x = k d, k = sqrt(2 n rho + (n rho)^2) - n rho,
// E I_cr = E (x^3 / 3 + n As (d - x)^2). Yield: the steel at fy / Es, Hognestad's parabola over
// the compression zone of depth x and top strain ec: C = x fc (ec/e0 - ec^2/3e0^2) = As fy,
// and the moment about the neutral axis As fy (d - x) + (x/ec)^2 fc (2 ec^3/3e0 - ec^4/4e0^2).
struct HandSection {
  double centroid, EI, EIcracked, yieldMoment, yieldCurvature;
};
HandSection handSection() {
  HandSection s{};
  const double extra = (kEs - kE) * kAs, d = kH - kZs;
  s.centroid = (kE * kH * kH / 2.0 + extra * kZs) / (kE * kH + extra);
  s.EI = kE * kH * kH * kH / 12.0 + kE * kH * std::pow(kH / 2 - s.centroid, 2) +
         extra * std::pow(kZs - s.centroid, 2);
  const double n = kEs / kE, nrho = n * kAs / d,
               xc = (std::sqrt(2 * nrho + nrho * nrho) - nrho) * d;
  s.EIcracked = kE * (xc * xc * xc / 3.0 + n * kAs * (d - xc) * (d - xc));

  const double e0 = 2.0 * kXC / kE, ey = kFy / kEs;
  const auto ec = [&](double x) { return ey * x / (d - x); };
  const auto C = [&](double x) { return x * kXC * (ec(x) / e0 - ec(x) * ec(x) / (3 * e0 * e0)); };
  const double x = root([&](double depth) { return C(depth) - kAs * kFy; }, 1.0, 0.5 * d);
  const double c = ec(x), q = x / c;
  s.yieldMoment = kAs * kFy * (d - x) +
                  q * q * kXC * (2 * c * c * c / (3 * e0) - c * c * c * c / (4 * e0 * e0));
  s.yieldCurvature = ey / (d - x);
  return s;
}

SectionResponse unstrained(const Section& s) {
  return secantSection(s, {}, std::vector<LayerMemory>(s.layers.size()), TensionStiffening::None);
}

TEST(SecantSection, ElasticStiffnessOfHomogeneousAndTransformedSections) {
  // Homogeneous: A = E h, B = 0, D = E h^3 / 12.
  const SectionResponse p = unstrained(strip(false));
  EXPECT_NEAR(p.abd.A(XX, XX), kE * kH, 1e-6 * kE * kH);
  EXPECT_NEAR(p.abd.B(XX, XX), 0.0, 1e-9 * kE * kH * kH);
  EXPECT_NEAR(p.abd.D(XX, XX), kE * kH * kH * kH / 12.0, 1e-9 * kE * kH * kH * kH);
  // Reinforced: the condensed D - B A^-1 B is E I about the transformed section's own centroid.
  const SectionStiffness u = uncoupledBending(unstrained(strip(true)).abd);
  EXPECT_NEAR(u.D(XX, XX), handSection().EI, 1e-3 * handSection().EI);
  EXPECT_EQ(u.B(XX, XX), 0.0);
}

TEST(SecantSection, EffectiveTensionAreaOfTheBars) {
  // h - d = 30, d = 120: n rho = 6.667 x 0.5236 / 120 = 0.02909, k = 0.2139, x = 25.66 mm;
  // h_c,eff = min(2.5 x 30, (150 - 25.66) / 3, 150 / 2) = 41.45 mm from the lower face: the six
  // layers below the bars and the two above them whose centres (32.8, 37.8) lie within it.
  const Section s = strip(true);
  const double depth = 41.4466;
  std::size_t covered = 0;
  for (std::size_t k = 0; k < s.layers.size(); ++k) {
    if (s.crossing[k].empty()) continue;
    ++covered;
    EXPECT_LE(s.layers[k].z, depth);
    EXPECT_NEAR(s.crossing[k][0].second, kAs / depth, 1e-6);
  }
  EXPECT_EQ(covered, 8u);
}

// Pure twist has principal moments +-Mxy at 45 degrees (Timoshenko & Woinowsky-Krieger 1959,
// 2.4): with G = E / 2 (no Poisson's ratio) the plain section cracks, at both faces at once,
// when Mxy reaches the bending cracking moment XT h^2 / 6 x h / (h - 5) of its layers.
TEST(SecantSection, TwistCracksAtTheBendingCrackingMoment) {
  const Section plain = strip(false);
  std::vector<LayerMemory> memory(plain.layers.size());
  const double kcr = 2.0 * kXT / kE / (0.5 * kH - 2.5);
  double cracking = 0.0;
  for (double k = kcr / 200; k < 1.2 * kcr; k += kcr / 200) {
    const SectionResponse r =
        secantSection(plain, {{}, {0, 0, k}}, memory, TensionStiffening::None);
    if (r.cracked == 0) cracking = std::max(cracking, r.M[2]);
    EXPECT_NEAR(r.M[0], r.M[1], 1e-9 * kXT * kH * kH);
    memory = r.memory;
  }
  EXPECT_NEAR(cracking, kXT * kH * kH / 6.0 * kH / (kH - 5.0), 0.02 * cracking);
}

// Both ways at once, as at the centre of a square slab: equal sagging curvatures, the section
// free of membrane force (its membrane strains taken again from each secant state until they
// settle). The largest moments reach As fy (d - a/2) of each layer of bars, d = 120 and 110.
TEST(SecantSection, TwoWayBendingReachesThePlasticMomentsOfBothLayers) {
  const Section s = strip(true, true);
  std::vector<LayerMemory> memory(s.layers.size());
  Plane3 e0{};
  double largest[2] = {0.0, 0.0};
  for (double k = 1e-7; k < 4e-4; k *= 1.02) {
    const Plane3 curvature{-k, -k, 0.0};
    SectionResponse r =
        secantSection(s, {e0, curvature}, memory, TensionStiffening::VecchioCollins);
    for (int it = 0; it < 200; ++it) {
      const Plane3 next = freeMembraneStrain(r.abd, curvature);
      const double change = std::fabs(next[0] - e0[0]) + std::fabs(next[1] - e0[1]);
      e0 = next;
      r = secantSection(s, {e0, curvature}, memory, TensionStiffening::VecchioCollins);
      if (change < 1e-12) break;
    }
    EXPECT_NEAR(r.N[0], 0.0, 1e-3) << k;
    EXPECT_NEAR(r.N[1], 0.0, 1e-3) << k;
    memory = r.memory;
    for (int i = 0; i < 2; ++i)
      largest[i] = std::max(largest[i], -r.M[static_cast<std::size_t>(i)]);
  }
  const double a = kAs * kFy / (0.85 * kXC);
  EXPECT_NEAR(largest[0], kAs * kFy * (120.0 - a / 2), 0.03 * kAs * kFy * 120.0);
  EXPECT_NEAR(largest[1], kAs * kFy * (110.0 - a / 2), 0.03 * kAs * kFy * 110.0);
}

// The largest moment of `path` before its first crack.
double crackingMoment(const std::vector<StripPoint>& path) {
  double m = 0.0;
  for (const StripPoint& p : path)
    if (p.cracked == 0) m = std::max(m, p.moment);
  return m;
}

// The moment at the first yield, the largest moment, and the curvature where the moment first
// reaches `service`.
struct PathFigures {
  double yield = 0.0, largest = 0.0, service = 0.0;
};
PathFigures figuresOf(const std::vector<StripPoint>& path, double service) {
  PathFigures f;
  for (const StripPoint& p : path) {
    if (p.yielded > 0 && f.yield == 0.0) f.yield = p.moment;
    if (p.moment >= service && f.service == 0.0) f.service = p.curvature;
    f.largest = std::max(f.largest, p.moment);
  }
  return f;
}

TEST(SecantSection, UniformMomentStripAgainstTheHandMomentCurvature) {
  const HandSection hand = handSection();
  const double plastic = kAs * kFy * (kH - kZs - 0.5 * kAs * kFy / (0.85 * kXC));
  const double service = 0.6 * hand.yieldMoment;

  // The first crack comes when the centre of the lowest layer, 2.5 mm up, reaches XT / E.
  const double kcrPlain = kXT / kE / (0.5 * kH - 2.5), kcr = kXT / kE / (hand.centroid - 2.5);
  const Section rc = strip(true);
  const std::vector<double> k = steps(
      hand.yieldCurvature / 20, 20 * hand.yieldCurvature,
      steps(hand.yieldCurvature / 400, 1.5 * hand.yieldCurvature, steps(kcr / 200, 1.2 * kcr)));
  const std::vector<StripPoint> bare = momentCurvature(rc, TensionStiffening::None, k);
  const std::vector<StripPoint> stiff = momentCurvature(rc, TensionStiffening::VecchioCollins, k);
  const PathFigures b = figuresOf(bare, service), s = figuresOf(stiff, service);

  const struct {
    const char* what;
    double computed, expected, tolerance;
  } rows[] = {
      {"cracking, plain: XT h^2 / 6 x h / (h - 5)",
       crackingMoment(momentCurvature(strip(false), TensionStiffening::None,
                                      steps(kcrPlain / 200, 1.5 * kcrPlain))),
       kXT * kH * kH / 6.0 * kH / (kH - 5.0), 0.03},
      {"cracking, transformed: E I kcr", crackingMoment(bare), hand.EI * kcr, 0.03},
      {"first yield", b.yield, hand.yieldMoment, 0.03},
      {"largest: As fy (d - a/2)", b.largest, plastic, 0.03},
      {"largest, stiffened", s.largest, plastic, 0.05},
      {"service curvature, cracked elastic", b.service, service / hand.EIcracked, 0.03},
  };
  for (const auto& r : rows)
    EXPECT_NEAR(r.computed, r.expected, r.tolerance * r.expected) << r.what;
  // The stiffening shows in service: a smaller curvature, yet more than the uncracked one.
  EXPECT_LT(s.service, b.service);
  EXPECT_GT(s.service, service / hand.EI);
  // Free of membrane force, the moment is the condensed bending stiffness times the curvature.
  for (const StripPoint& p : bare) EXPECT_NEAR(p.condensed, p.moment, 1e-6 * plastic);
}

}  // namespace
}  // namespace korvant::equilibrium
