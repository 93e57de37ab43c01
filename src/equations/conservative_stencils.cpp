#include "equations/conservative_stencils.hpp"

#include <algorithm>

namespace korvant {

// Where each force is evaluated. The scheme is chosen so that, for a uniform section, every
// product of differences equals the one-dimensional weights COMPC multiplies (the compact
// second difference (1, -2, 1), the central first difference (-1/2, 0, 1/2) and their
// products), term by term:
// - Mxx and Myy at the nodes, with the node's own stiffness and the compact second
//   differences of w: the compact second difference of them gives (1, -4, 6, -4, 1) and
//   the compact products d2/dx2 d2/dy2 of the D11, D22 and D12 terms.
// - Mxy at the cell centres, with the mean stiffness of the cell's four nodes and the
//   compact mixed difference of w across the cell: the compact mixed difference of the four
//   cells about a node gives d2/dx2 d2/dy2 for the D66 term. The curvatures kxx, kyy at a
//   cell are the means of its four nodes' (so that D16, D26 give the central products), and
//   kxy at a node is the mean of its four cells' (the central mixed difference).
// - Nxx, Nxy at the half points between two nodes along x, Nxy, Nyy at those along y, with
//   the mean stiffness of the two nodes: the compact first difference across the half point
//   for the strain along the pair, the mean of the two nodes' central differences for the
//   others, and the curvatures as means of the two nodes' (kxy as the compact difference of
//   the central first differences), so that the difference of the forces between the two
//   half points about a node gives the compact second difference or the central products.
// Means of stiffness are arithmetic: exact for a uniform section, and second-order accurate
// where the stiffness is smooth; at a jump the node moments (which carry bending along x and
// y) keep the node's own stiffness.
namespace {

enum Unknown { U = 0, V = 1, W = 2 };
enum Strain { EXX = 0, EYY, GXY, KXX, KYY, KXY, STRAINS };
enum Force { NXX = 0, NYY, NXY, MXX, MYY, MXY };

// One term of a strain: weight times unknown c at the offset (m, n) from the equation's point
// (m along y, n along x).
struct Tap {
  int c, m, n;
  double w;
};

// One strain as a sum of taps.
struct StrainOp {
  std::array<Tap, 16> taps{};
  int count = 0;
  void add(int c, int m, int n, double w) { taps[static_cast<std::size_t>(count++)] = {c, m, n, w}; }
};

// The six strains at one place, built from differences about the nodes (a, b).
class Strains {
 public:
  Strains(double DX, double DY) : DX_(DX), DY_(DY) {}
  StrainOp& operator[](int k) { return s_[static_cast<std::size_t>(k)]; }
  const StrainOp& operator[](int k) const { return s_[static_cast<std::size_t>(k)]; }
  void clear() {
    for (StrainOp& op : s_) op.count = 0;
  }

  // Central first differences at node (a, b).
  void dx(int k, int c, int a, int b, double s) {
    (*this)[k].add(c, a, b + 1, s / (2.0 * DX_));
    (*this)[k].add(c, a, b - 1, -s / (2.0 * DX_));
  }
  void dy(int k, int c, int a, int b, double s) {
    (*this)[k].add(c, a + 1, b, s / (2.0 * DY_));
    (*this)[k].add(c, a - 1, b, -s / (2.0 * DY_));
  }
  // Compact second differences at node (a, b).
  void dxx(int k, int c, int a, int b, double s) {
    const double h2 = DX_ * DX_;
    (*this)[k].add(c, a, b - 1, s / h2);
    (*this)[k].add(c, a, b, -2.0 * s / h2);
    (*this)[k].add(c, a, b + 1, s / h2);
  }
  void dyy(int k, int c, int a, int b, double s) {
    const double h2 = DY_ * DY_;
    (*this)[k].add(c, a - 1, b, s / h2);
    (*this)[k].add(c, a, b, -2.0 * s / h2);
    (*this)[k].add(c, a + 1, b, s / h2);
  }
  // Compact first differences from node (a, b) to its neighbour along x or y.
  void fx(int k, int c, int a, int b, double s) {
    (*this)[k].add(c, a, b + 1, s / DX_);
    (*this)[k].add(c, a, b, -s / DX_);
  }
  void fy(int k, int c, int a, int b, double s) {
    (*this)[k].add(c, a + 1, b, s / DY_);
    (*this)[k].add(c, a, b, -s / DY_);
  }

  double DX() const { return DX_; }
  double DY() const { return DY_; }

 private:
  double DX_, DY_;
  std::array<StrainOp, STRAINS> s_{};
};

// The strains at node (a, b).
void nodeStrains(Strains& e, int a, int b) {
  e.clear();
  e.dx(EXX, U, a, b, 1.0);
  e.dy(EYY, V, a, b, 1.0);
  e.dy(GXY, U, a, b, 1.0);
  e.dx(GXY, V, a, b, 1.0);
  e.dxx(KXX, W, a, b, -1.0);
  e.dyy(KYY, W, a, b, -1.0);
  // -2 w,xy as the mean of the four cells' compact mixed differences (the central one).
  const double s = -2.0 / (4.0 * e.DX() * e.DY());
  e[KXY].add(W, a + 1, b + 1, s);
  e[KXY].add(W, a - 1, b - 1, s);
  e[KXY].add(W, a + 1, b - 1, -s);
  e[KXY].add(W, a - 1, b + 1, -s);
}

// The strains at the half point between nodes (a, b) and (a, b + 1).
void xHalfStrains(Strains& e, int a, int b) {
  e.clear();
  e.fx(EXX, U, a, b, 1.0);
  e.dy(EYY, V, a, b, 0.5), e.dy(EYY, V, a, b + 1, 0.5);
  e.dy(GXY, U, a, b, 0.5), e.dy(GXY, U, a, b + 1, 0.5), e.fx(GXY, V, a, b, 1.0);
  e.dxx(KXX, W, a, b, -0.5), e.dxx(KXX, W, a, b + 1, -0.5);
  e.dyy(KYY, W, a, b, -0.5), e.dyy(KYY, W, a, b + 1, -0.5);
  e.dy(KXY, W, a, b + 1, -2.0 / e.DX()), e.dy(KXY, W, a, b, 2.0 / e.DX());
}

// The strains at the half point between nodes (a, b) and (a + 1, b).
void yHalfStrains(Strains& e, int a, int b) {
  e.clear();
  e.dx(EXX, U, a, b, 0.5), e.dx(EXX, U, a + 1, b, 0.5);
  e.fy(EYY, V, a, b, 1.0);
  e.fy(GXY, U, a, b, 1.0), e.dx(GXY, V, a, b, 0.5), e.dx(GXY, V, a + 1, b, 0.5);
  e.dxx(KXX, W, a, b, -0.5), e.dxx(KXX, W, a + 1, b, -0.5);
  e.dyy(KYY, W, a, b, -0.5), e.dyy(KYY, W, a + 1, b, -0.5);
  e.dx(KXY, W, a + 1, b, -2.0 / e.DY()), e.dx(KXY, W, a, b, 2.0 / e.DY());
}

// The strains at the centre of the cell of nodes (a..a + 1, b..b + 1).
void cellStrains(Strains& e, int a, int b) {
  e.clear();
  e.fx(EXX, U, a, b, 0.5), e.fx(EXX, U, a + 1, b, 0.5);
  e.fy(EYY, V, a, b, 0.5), e.fy(EYY, V, a, b + 1, 0.5);
  e.fy(GXY, U, a, b, 0.5), e.fy(GXY, U, a, b + 1, 0.5);
  e.fx(GXY, V, a, b, 0.5), e.fx(GXY, V, a + 1, b, 0.5);
  for (int i = a; i <= a + 1; ++i) {
    for (int j = b; j <= b + 1; ++j) {
      e.dxx(KXX, W, i, j, -0.25);
      e.dyy(KYY, W, i, j, -0.25);
    }
  }
  const double s = -2.0 / (e.DX() * e.DY());
  e[KXY].add(W, a + 1, b + 1, s);
  e[KXY].add(W, a, b, s);
  e[KXY].add(W, a + 1, b, -s);
  e[KXY].add(W, a, b + 1, -s);
}

// Mean stiffness of the nodes (I + a .. I + a + da, J + b .. J + b + db).
PlaneStiffness meanStiffness(const StiffnessField& field, int I, int J, int da, int db) {
  PlaneStiffness mean;
  const double share = 1.0 / ((da + 1) * (db + 1));
  for (int i = I; i <= I + da; ++i) {
    for (int j = J; j <= J + db; ++j) {
      const PlaneStiffness& s = field.nearest(i, j);
      for (std::size_t k = 0; k < mean.S.size(); ++k) mean.S[k] += share * s.S[k];
    }
  }
  return mean;
}

// Adds `weight` times force f, evaluated from the strains e with the stiffness S, to the
// stencils of equation `eq`.
void addForce(StencilSet& C, int eq, int f, double weight, const Strains& e,
              const PlaneStiffness& S) {
  for (int k = 0; k < STRAINS; ++k) {
    const double coefficient = weight * S(f, k);
    if (coefficient == 0.0) continue;
    const StrainOp& op = e[k];
    for (int t = 0; t < op.count; ++t) {
      const Tap& tap = op.taps[static_cast<std::size_t>(t)];
      C(stencil::number(eq, tap.c))(kStencilCentre + tap.m, kStencilCentre + tap.n) +=
          coefficient * tap.w;
    }
  }
}

// The u and v equations: differences of the membrane forces at the four half points.
void membraneEquations(const StiffnessField& field, int I, int J, Strains& e, StencilSet& C) {
  const double gx = 1.0 / e.DX(), gy = 1.0 / e.DY();
  for (int b : {0, -1}) {
    xHalfStrains(e, 0, b);
    const PlaneStiffness S = meanStiffness(field, I, J + b, 0, 1);
    const double sign = b == 0 ? 1.0 : -1.0;
    addForce(C, U, NXX, sign * gx, e, S);
    addForce(C, V, NXY, sign * gx, e, S);
  }
  for (int a : {0, -1}) {
    yHalfStrains(e, a, 0);
    const PlaneStiffness S = meanStiffness(field, I + a, J, 1, 0);
    const double sign = a == 0 ? 1.0 : -1.0;
    addForce(C, U, NXY, sign * gy, e, S);
    addForce(C, V, NYY, sign * gy, e, S);
  }
}

// The w equation: second differences of the node moments and the mixed difference of the
// cell twisting moments, with the sign of -(Mxx,xx + 2 Mxy,xy + Myy,yy).
void bendingEquation(const StiffnessField& field, int I, int J, Strains& e, StencilSet& C) {
  const double gxx = 1.0 / (e.DX() * e.DX()), gyy = 1.0 / (e.DY() * e.DY());
  for (int b = -1; b <= 1; ++b) {
    nodeStrains(e, 0, b);
    addForce(C, W, MXX, b == 0 ? 2.0 * gxx : -gxx, e, field.nearest(I, J + b));
  }
  for (int a = -1; a <= 1; ++a) {
    nodeStrains(e, a, 0);
    addForce(C, W, MYY, a == 0 ? 2.0 * gyy : -gyy, e, field.nearest(I + a, J));
  }
  const double gxy = 2.0 / (e.DX() * e.DY());
  for (int a : {0, -1}) {
    for (int b : {0, -1}) {
      cellStrains(e, a, b);
      addForce(C, W, MXY, a == b ? -gxy : gxy, e, meanStiffness(field, I + a, J + b, 1, 1));
    }
  }
}

}  // namespace

PlaneStiffness planeStiffness(const SectionStiffness& abd) {
  using namespace component;
  const int c[3] = {XX, YY, XY};
  PlaneStiffness s;
  for (int f = 0; f < 3; ++f) {
    for (int k = 0; k < 3; ++k) {
      s(f, k) = abd.A(c[f], c[k]);
      s(f, k + 3) = abd.B(c[f], c[k]);
      s(f + 3, k) = abd.B(c[f], c[k]);
      s(f + 3, k + 3) = abd.D(c[f], c[k]);
    }
  }
  return s;
}

void StiffnessField::resize(int NUMA, int NUMB) {
  NUMA_ = NUMA, NUMB_ = NUMB;
  s_.resize(static_cast<std::size_t>(NUMA) * static_cast<std::size_t>(NUMB));
}

const PlaneStiffness& StiffnessField::nearest(int I, int J) const {
  return s_[index(std::clamp(I, 1, NUMB_), std::clamp(J, 1, NUMA_))];
}

void CONSC(const StiffnessField& field, int I, int J, double DX, double DY, StencilSet& C) {
  for (Stencil& s : C.C) s.clear();
  Strains e(DX, DY);
  membraneEquations(field, I, J, e, C);
  bendingEquation(field, I, J, e, C);
}

bool conservativeReaches(int k, int m, int n) {
  const bool coupling = k == stencil::U_ON_W || k == stencil::V_ON_W || k == stencil::W_ON_U ||
                        k == stencil::W_ON_V;
  return stencilReaches(k, m, n) || (coupling && m == kStencilCentre && n == kStencilCentre);
}

bool formReaches(EquationForm form, int k, int m, int n) {
  return form == EquationForm::Conservative ? conservativeReaches(k, m, n)
                                            : stencilReaches(k, m, n);
}

}  // namespace korvant
