#include "equilibrium/secant_section.hpp"

#include <algorithm>
#include <cmath>

namespace korvant::equilibrium {
namespace {

bool carriesBars(const SectionLayer& l) {
  return l.material != LayerMaterial::Concrete;
}

// The bars crossing the cracks of layer k under the bar stresses `fs` of the layers, into
// `bars` (the caller's buffer, reused from layer to layer).
void crossingBars(const Section& s, std::size_t k, const std::vector<double>& fs,
                  std::vector<CrossingBar>& bars) {
  bars.clear();
  for (const auto& [b, rho] : s.crossing[k]) bars.push_back(crossingBar(s.layers[b], rho, fs[b]));
}

// The in-plane parts of a section's A, B and D, summed layer by layer.
struct PlaneABD {
  Stiffness3 A, B, D;
};

// Adds the layer's Q over [zb, zt] (heights about the reference surface) into A, B and D.
void integrate(PlaneABD& abd, const Stiffness3& Q, double zb, double zt) {
  const double a = zt - zb;
  const double b = 0.5 * (zt * zt - zb * zb);
  const double d = (zt * zt * zt - zb * zb * zb) / 3.0;
  for (std::size_t i = 0; i < Q.q.size(); ++i) {
    abd.A.q[i] += a * Q.q[i];
    abd.B.q[i] += b * Q.q[i];
    abd.D.q[i] += d * Q.q[i];
  }
}

// The in-plane parts placed in the section code's 6 x 6 matrices.
void place(const Stiffness3& S, Matrix<double>& M) {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) M(kPlaneComponents[i], kPlaneComponents[j]) = S(i, j);
}

// X = A^-1 B for symmetric positive semi-definite A by Gauss-Jordan elimination; a direction
// in which A has no stiffness (a pivot below 1e-12 of the largest diagonal) takes no part.
Stiffness3 solveSymmetric(Stiffness3 A, Stiffness3 B) {
  const double scale = std::max({A(0, 0), A(1, 1), A(2, 2)});
  for (int p = 0; p < 3; ++p) {
    const double pivot = A(p, p);
    if (!(pivot > 1e-12 * scale)) {
      for (int j = 0; j < 3; ++j) A(p, j) = A(j, p) = B(p, j) = 0.0;
      continue;
    }
    for (int j = 0; j < 3; ++j) A(p, j) /= pivot, B(p, j) /= pivot;
    for (int i = 0; i < 3; ++i) {
      if (i == p) continue;
      const double f = A(i, p);
      for (int j = 0; j < 3; ++j) A(i, j) -= f * A(p, j), B(i, j) -= f * B(p, j);
    }
  }
  return B;
}

// The thickness-weighted mean modulus of the concrete of the layers.
double meanConcreteModulus(const std::vector<SectionLayer>& layers) {
  double weighted = 0.0, thick = 0.0;
  for (const SectionLayer& l : layers) {
    if (l.material == LayerMaterial::Bars) continue;
    weighted += l.concrete.E * l.thick;
    thick += l.thick;
  }
  return thick > 0.0 ? weighted / thick : 0.0;
}

// The depth h_c,eff of the effective tension area of bars of area As per unit width at
// `cover` (h - d) from the nearer face of a section of depth h: min(2.5 (h - d), (h - x) / 3,
// h / 2) (EN 1992-1-1, 7.3.2 (3)), with x the depth of the compression zone of the cracked
// elastic section in bending, k d with k = sqrt(2 n rho + (n rho)^2) - n rho, n = Es / Ec,
// rho = As / d (Park & Paulay 1975, 10.1), so that the area is a property of the section.
double effectiveDepth(double As, double cover, double h, double Es, double Ec) {
  const double d = h - cover;
  const double nrho = Ec > 0.0 ? Es / Ec * As / d : 0.0;
  const double x = (std::sqrt(2.0 * nrho + nrho * nrho) - nrho) * d;
  return std::min({2.5 * cover, (h - x) / 3.0, 0.5 * h});
}

}  // namespace

Section makeSection(std::vector<SectionLayer> layers) {
  Section s;
  double h = 0.0;
  for (std::size_t k = 0; k < layers.size(); ++k) {
    SectionLayer& l = layers[k];
    l.z = h + 0.5 * l.thick;
    h += l.thick;
    if (l.deckLayer < 0) l.deckLayer = static_cast<int>(k);
  }
  s.reference = 0.5 * h;
  s.crossing.resize(layers.size());
  const double Ec = meanConcreteModulus(layers);
  for (std::size_t b = 0; b < layers.size(); ++b) {
    if (!carriesBars(layers[b])) continue;
    const double cover = std::min(layers[b].z, h - layers[b].z);  // h - d from the nearer face
    const double depth = effectiveDepth(layers[b].barArea, cover, h, layers[b].steel.Es, Ec);
    const bool lower = layers[b].z <= 0.5 * h;
    for (std::size_t k = 0; k < layers.size(); ++k) {
      const double fromFace = lower ? layers[k].z : h - layers[k].z;
      if (layers[k].material != LayerMaterial::Bars && fromFace <= depth)
        s.crossing[k].push_back({b, layers[b].barArea / depth});
    }
  }
  s.layers = std::move(layers);
  return s;
}

Plane3 strainAtHeight(const Section& section, const StrainPlane& e, double z) {
  Plane3 s{};
  for (std::size_t i = 0; i < 3; ++i)
    s[i] = e.membrane[i] + (z - section.reference) * e.curvature[i];
  return s;
}

SectionResponse secantSection(const Section& section, const StrainPlane& e,
                              const std::vector<LayerMemory>& committed, TensionStiffening ts) {
  const std::size_t n = section.layers.size();
  auto strainAt = [&](std::size_t k) { return strainAtHeight(section, e, section.layers[k].z); };
  // The bars first: their stresses decide what the cracks of the concrete can carry.
  std::vector<double> fs(n, 0.0);
  for (std::size_t k = 0; k < n; ++k)
    if (carriesBars(section.layers[k]))
      fs[k] = layerSecant(section.layers[k], strainAt(k), committed[k], {}, ts).barStress;

  SectionResponse r;
  r.memory.resize(n);
  PlaneABD abd;
  std::vector<CrossingBar> bars;
  for (std::size_t k = 0; k < n; ++k) {
    const SectionLayer& l = section.layers[k];
    crossingBars(section, k, fs, bars);
    const LayerResponse lr = layerSecant(l, strainAt(k), committed[k], bars, ts);
    const double zb = l.z - 0.5 * l.thick - section.reference;
    integrate(abd, lr.Q, zb, zb + l.thick);
    r.memory[k] = lr.memory;
  }
  const std::vector<LayerMemory> deck = deckLayerMemory(section, r.memory);
  for (const LayerMemory& m : deck) {
    r.cracked += m.cracked ? 1 : 0;
    r.crushed += m.crushed ? 1 : 0;
    r.yielded += m.yielded ? 1 : 0;
  }
  place(abd.A, r.abd.A), place(abd.B, r.abd.B), place(abd.D, r.abd.D);
  const Stiffness3 &A = abd.A, &B = abd.B, &D = abd.D;
  const Plane3 Ae = A * e.membrane, Bk = B * e.curvature, Be = B * e.membrane, Dk = D * e.curvature;
  for (std::size_t i = 0; i < 3; ++i) {
    r.N[i] = Ae[i] + Bk[i];
    r.M[i] = Be[i] + Dk[i];
  }
  return r;
}

std::vector<LayerMemory> deckLayerMemory(const Section& section,
                                         const std::vector<LayerMemory>& memory) {
  std::vector<LayerMemory> deck;
  for (std::size_t k = 0; k < memory.size(); ++k) {
    const auto d = static_cast<std::size_t>(section.layers[k].deckLayer);
    if (deck.size() <= d) deck.resize(d + 1);
    LayerMemory& m = deck[d];
    const LayerMemory& s = memory[k];
    for (std::size_t i = 0; i < 2; ++i) {
      m.tensionSecant[i] = std::min(m.tensionSecant[i], s.tensionSecant[i]);
      m.compressionSecant[i] = std::min(m.compressionSecant[i], s.compressionSecant[i]);
    }
    m.steelSecant = std::min(m.steelSecant, s.steelSecant);
    m.cracked = m.cracked || s.cracked;
    m.crushed = m.crushed || s.crushed;
    m.yielded = m.yielded || s.yielded;
  }
  return deck;
}

SectionStiffness uncoupledBending(const SectionStiffness& abd) {
  const Stiffness3 B = inPlane(abd.B);
  const Stiffness3 X = solveSymmetric(inPlane(abd.A), B);
  SectionStiffness u;
  u.A = abd.A;
  u.D = abd.D;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k)
        u.D(kPlaneComponents[i], kPlaneComponents[j]) -= B(k, i) * X(k, j);
  return u;
}

Plane3 freeMembraneStrain(const SectionStiffness& abd, const Plane3& curvature) {
  Plane3 e = solveSymmetric(inPlane(abd.A), inPlane(abd.B)) * curvature;
  for (double& v : e) v = -v;
  return e;
}

}  // namespace korvant::equilibrium
