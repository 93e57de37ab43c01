#include "equations/conservative_stencils.hpp"

#include <algorithm>

#include "equations/force_operators.hpp"

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

using namespace force_ops;

// Adds `weight` times force f, evaluated from the strains e with the stiffness S, to the
// stencils of equation `eq`.
void addForce(StencilSet& C, int eq, int f, double weight, const Strains& e,
              const PlaneStiffness& S) {
  forEachForceTerm(e, S, f, weight, [&](int c, int m, int n, double value) {
    C(stencil::number(eq, c))(kStencilCentre + m, kStencilCentre + n) += value;
  });
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
  nodeStrains(e, 0, 0);
  addForce(C, W, MXX, 2.0 * gxx, e, field.nearest(I, J));
  addForce(C, W, MYY, 2.0 * gyy, e, field.nearest(I, J));
  for (int s : {-1, 1}) {
    nodeStrains(e, 0, s);
    addForce(C, W, MXX, -gxx, e, field.nearest(I, J + s));
    nodeStrains(e, s, 0);
    addForce(C, W, MYY, -gyy, e, field.nearest(I + s, J));
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

void CONSC(const StiffnessField& field, int I, int J, double DX, double DY, StencilSet& C,
           bool coupled) {
  for (Stencil& s : C.C) s.clear();
  Strains e(DX, DY, !coupled);
  if (coupled) membraneEquations(field, I, J, e, C);
  bendingEquation(field, I, J, e, C);
}

bool conservativeReaches(int k, int m, int n) {
  const bool coupling =
      k == stencil::U_ON_W || k == stencil::V_ON_W || k == stencil::W_ON_U || k == stencil::W_ON_V;
  return stencilReaches(k, m, n) || (coupling && m == kStencilCentre && n == kStencilCentre);
}

bool formReaches(EquationForm form, int k, int m, int n) {
  return form == EquationForm::Conservative ? conservativeReaches(k, m, n)
                                            : stencilReaches(k, m, n);
}

}  // namespace korvant
