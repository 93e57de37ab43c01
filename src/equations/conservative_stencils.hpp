// The difference stencils of the plate equations written on the section forces (the
// conservative form), beside those of COMPC, which hold the point's own stiffness outside
// the derivatives.
//
// At every point the membrane strains and curvatures come from differences of the
// displacements, the section forces from the stiffness where they are evaluated
// (N = A e + B k, M = B e + D k), and the equilibrium equations from differences of the
// forces:
//   u:  dNxx/dx + dNxy/dy = 0
//   v:  dNxy/dx + dNyy/dy = 0
//   w:  -(d2Mxx/dx2 + 2 d2Mxy/dxdy + d2Myy/dy2) = p
// with e = (du/dx, dv/dy, du/dy + dv/dx) and k = -(d2w/dx2, d2w/dy2, 2 d2w/dxdy), the signs
// under which the stencils of COMPC are the same operators for a uniform section. Where the
// stiffness varies, equilibrium holds for the forces themselves, as in a finite-volume
// (conservative) discretisation (LeVeque 2002, Finite Volume Methods for Hyperbolic
// Problems, ch. 4, for the one-dimensional flux form), so that a stiffer or softer region
// carries its share of the load by its own stiffness, not by the ratio of the stiffness
// of the loaded point's neighbours.
#pragma once

#include <vector>

#include "equations/stencils.hpp"
#include "section/section_stiffness.hpp"

namespace korvant {

// Which difference equations a run assembles: those of COMPC (the stiffness of the point
// outside the derivatives) or those on the section forces.
enum class EquationForm { Specified, Conservative };

// The in-plane stiffness of a section as one 6 x 6 matrix relating the forces
// (Nxx, Nyy, Nxy, Mxx, Myy, Mxy) to the strains (exx, eyy, gxy, kxx, kyy, kxy):
// [A B; B D] in the components xx, yy, xy.
struct PlaneStiffness {
  std::array<double, 36> S{};
  double operator()(int f, int k) const { return S[static_cast<std::size_t>(6 * f + k)]; }
  double& operator()(int f, int k) { return S[static_cast<std::size_t>(6 * f + k)]; }
};

PlaneStiffness planeStiffness(const SectionStiffness& abd);

// The plane stiffness of every real point of the grid for one pass. A point beyond the
// grid (a fictitious point) takes the stiffness of the nearest real point.
class StiffnessField {
 public:
  // Sized once for the grid; a later call for the same grid keeps the storage.
  void resize(int NUMA, int NUMB);
  PlaneStiffness& at(int I, int J) { return s_[index(I, J)]; }
  const PlaneStiffness& nearest(int I, int J) const;

 private:
  std::size_t index(int I, int J) const {
    return static_cast<std::size_t>((J - 1) * NUMB_ + (I - 1));
  }
  int NUMA_ = 0, NUMB_ = 0;
  std::vector<PlaneStiffness> s_;
};

// CONSC: fills the nine stencils of `C` for the equations of point (I, J) on the section
// forces of `field`, for the grid spacings DX (x) and DY (y). With a uniform section the
// stencils equal those of COMPC. Every entry of C is written; without `coupled` only the w
// equation on w is built (the others are left zero).
void CONSC(const StiffnessField& field, int I, int J, double DX, double DY, StencilSet& C,
           bool coupled = true);

// Whether position (m, n) of stencil k can hold a coefficient of CONSC for any stiffness:
// the positions of COMPC and, for the membrane-bending stencils, the centre, which a
// stiffness that varies between the point's neighbours reaches.
bool conservativeReaches(int k, int m, int n);

// The positions a stencil of the form can reach (stencilReaches or conservativeReaches).
bool formReaches(EquationForm form, int k, int m, int n);

}  // namespace korvant
