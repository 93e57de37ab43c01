// The difference stencils of the plate equations at one grid point.
//
// The equilibrium equations of a laminated plate in the displacements u, v (in-plane) and w
// (lateral) are written with central differences. Each (equation, unknown) pair has a 5 x 5
// stencil C(m, n) whose entry multiplies the unknown at grid point (I + m - 3, J + n - 3):
// m runs along B (y, spacing DY), n along A (x, spacing DX), C(3, 3) is the point itself.
#pragma once

#include <array>
#include <cassert>

#include "section/section_stiffness.hpp"

namespace korvant {

// Points of a stencil in each direction, and the position of its centre.
inline constexpr int kStencilWidth = 5;
inline constexpr int kStencilCentre = 3;

// One 5 x 5 stencil, held column by column, 1-based.
class Stencil {
 public:
  double& operator()(int m, int n) { return c_[index(m, n)]; }
  double operator()(int m, int n) const { return c_[index(m, n)]; }
  void clear() { c_.fill(0.0); }

 private:
  static std::size_t index(int m, int n) {
    assert(m >= 1 && m <= kStencilWidth && n >= 1 && n <= kStencilWidth);
    return static_cast<std::size_t>((n - 1) * kStencilWidth + (m - 1));
  }
  std::array<double, kStencilWidth * kStencilWidth> c_{};
};

// Numbers of the nine stencils: "U_ON_V" is the stencil of the u equation on the unknown v.
// Stencil 3f + e + 1 belongs to equation e and unknown f (0 u, 1 v, 2 w).
namespace stencil {
enum : int {
  U_ON_U = 1,
  V_ON_U,
  W_ON_U,
  U_ON_V,
  V_ON_V,
  W_ON_V,
  U_ON_W,
  V_ON_W,
  W_ON_W,
  COUNT = W_ON_W
};
constexpr int number(int equation, int unknown) {
  return 3 * unknown + equation + 1;
}
}  // namespace stencil

// The nine stencils of one point, C(k) for k = 1..9 in the order of `stencil`.
struct StencilSet {
  Stencil& operator()(int k) { return C[slot(k)]; }
  const Stencil& operator()(int k) const { return C[slot(k)]; }

  std::array<Stencil, stencil::COUNT> C{};

 private:
  static std::size_t slot(int k) {
    assert(k >= 1 && k <= stencil::COUNT);
    return static_cast<std::size_t>(k - 1);
  }
};

// COMPC: fills the nine stencils of `C` from the in-plane entries (xx, yy, xy) of the
// section stiffness A, B, D of a point and the grid spacings DX (along x) and DY (along y):
//   u on u   A11 (xx) + 2 A16 (xy) + A66 (yy)
//   u on v = v on u   A16 (xx) + (A12 + A66) (xy) + A26 (yy)
//   v on v   A66 (xx) + 2 A26 (xy) + A22 (yy)
//   u on w = w on u   -B11 (xxx) - 3 B16 (xxy) - (B12 + 2 B66) (xyy) - B26 (yyy)
//   v on w = w on v   -B16 (xxx) - (B12 + 2 B66) (xxy) - 3 B26 (xyy) - B22 (yyy)
//   w on w   D11 (xxxx) + 4 D16 (xxxy) + 2 (D12 + 2 D66) (xxyy) + 4 D26 (xyyy) + D22 (yyyy)
// Every entry of C is written; entries no term reaches are zero.
void COMPC(const SectionStiffness& abd, double DX, double DY, StencilSet& C);

// Whether position (m, n) of stencil k can hold a coefficient for any section at all. Every
// stencil of COMPC combines all the derivatives of one total order (2 for the membrane
// pairs, 3 for the coupling, 4 for bending), so its positions are those the difference
// weights of these derivatives reach, whatever the stiffness; everywhere else the stencil is
// exactly zero. The sparse store keeps only these positions, so that its pattern is the same
// for every section.
bool stencilReaches(int k, int m, int n);

}  // namespace korvant
