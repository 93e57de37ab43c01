#include "equations/stencils.hpp"

#include <initializer_list>

namespace korvant {

namespace {

using component::XX;
using component::XY;
using component::YY;

// Central difference weights at the offsets -2..+2 for derivatives of order 0 to 4, for a
// unit spacing: the weights of order k are divided by h^k.
constexpr std::array<std::array<double, kStencilWidth>, 5> kWeights = {{
    {0.0, 0.0, 1.0, 0.0, 0.0},    // the value itself
    {0.0, -0.5, 0.0, 0.5, 0.0},   // first derivative
    {0.0, 1.0, -2.0, 1.0, 0.0},   // second derivative
    {-0.5, 1.0, 0.0, -1.0, 0.5},  // third derivative
    {1.0, -4.0, 6.0, -4.0, 1.0},  // fourth derivative
}};

double power(double h, int k) {
  double p = 1.0;
  for (int i = 0; i < k; ++i) p *= h;
  return p;
}

// One term of a difference operator: factor times the derivative of order px in x and
// py in y.
struct Term {
  double factor;
  int px;
  int py;
};

// Writes into s the operator made of `terms`; a mixed derivative is the product of the
// one-dimensional weights in x (along n) and in y (along m).
void buildStencil(Stencil& s, std::initializer_list<Term> terms, double DX, double DY) {
  s.clear();
  for (const Term& t : terms) {
    const double scale = t.factor / (power(DX, t.px) * power(DY, t.py));
    const auto& wx = kWeights[static_cast<std::size_t>(t.px)];
    const auto& wy = kWeights[static_cast<std::size_t>(t.py)];
    for (int n = 1; n <= kStencilWidth; ++n) {
      for (int m = 1; m <= kStencilWidth; ++m) {
        s(m, n) +=
            scale * wy[static_cast<std::size_t>(m - 1)] * wx[static_cast<std::size_t>(n - 1)];
      }
    }
  }
}

// Total order of the derivatives in stencil k: two per w among its equation and unknown.
int totalOrder(int k) {
  const int equation = (k - 1) % 3, unknown = (k - 1) / 3;
  return 2 + (equation == 2 ? 1 : 0) + (unknown == 2 ? 1 : 0);
}

}  // namespace

bool stencilReaches(int k, int m, int n) {
  const int order = totalOrder(k);
  for (int px = 0; px <= order; ++px) {
    const double wx = kWeights[static_cast<std::size_t>(px)][static_cast<std::size_t>(n - 1)];
    const double wy =
        kWeights[static_cast<std::size_t>(order - px)][static_cast<std::size_t>(m - 1)];
    if (wx != 0.0 && wy != 0.0) return true;
  }
  return false;
}

void COMPC(const SectionStiffness& abd, double DX, double DY, StencilSet& C) {
  const Matrix<double>& A = abd.A;
  const Matrix<double>& B = abd.B;
  const Matrix<double>& D = abd.D;
  using namespace stencil;

  // Membrane: the in-plane equilibrium of the stress resultants.
  buildStencil(C(U_ON_U), {{A(XX, XX), 2, 0}, {2.0 * A(XX, XY), 1, 1}, {A(XY, XY), 0, 2}}, DX, DY);
  buildStencil(C(U_ON_V), {{A(XX, XY), 2, 0}, {A(XX, YY) + A(XY, XY), 1, 1}, {A(YY, XY), 0, 2}}, DX,
               DY);
  buildStencil(C(V_ON_V), {{A(XY, XY), 2, 0}, {2.0 * A(YY, XY), 1, 1}, {A(YY, YY), 0, 2}}, DX, DY);
  C(V_ON_U) = C(U_ON_V);

  // Membrane-bending coupling; the system is symmetric in these blocks.
  const double B12B66 = B(XX, YY) + 2.0 * B(XY, XY);
  buildStencil(C(U_ON_W),
               {{-B(XX, XX), 3, 0}, {-3.0 * B(XX, XY), 2, 1}, {-B12B66, 1, 2}, {-B(YY, XY), 0, 3}},
               DX, DY);
  buildStencil(C(V_ON_W),
               {{-B(XX, XY), 3, 0}, {-B12B66, 2, 1}, {-3.0 * B(YY, XY), 1, 2}, {-B(YY, YY), 0, 3}},
               DX, DY);
  C(W_ON_U) = C(U_ON_W);
  C(W_ON_V) = C(V_ON_W);

  // Bending.
  buildStencil(C(W_ON_W),
               {{D(XX, XX), 4, 0},
                {4.0 * D(XX, XY), 3, 1},
                {2.0 * (D(XX, YY) + 2.0 * D(XY, XY)), 2, 2},
                {4.0 * D(YY, XY), 1, 3},
                {D(YY, YY), 0, 4}},
               DX, DY);
}

}  // namespace korvant
