// Section forces as linear combinations of the displacements of the grid: the strains at a
// node, at a half point between two nodes or at a cell centre as differences of u, v, w
// about a point, and the forces there from the stiffness of that place. The equations on
// the section forces (CONSC) and the natural conditions of free edges are built from them.
// Offsets (m, n) count grid steps from the point whose equation or condition is written,
// m along y (I), n along x (J).
#pragma once

#include <array>

#include "equations/conservative_stencils.hpp"

namespace korvant::force_ops {

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
  void add(int c, int m, int n, double w) {
    taps[static_cast<std::size_t>(count++)] = {c, m, n, w};
  }
};

// The six strains at one place, built from differences about the nodes (a, b).
class Strains {
 public:
  // `bendingOnly`: the terms in u and v are left out (the equations in w alone).
  Strains(double DX, double DY, bool bendingOnly = false)
      : DX_(DX), DY_(DY), bendingOnly_(bendingOnly) {}
  StrainOp& operator[](int k) { return s_[static_cast<std::size_t>(k)]; }
  const StrainOp& operator[](int k) const { return s_[static_cast<std::size_t>(k)]; }
  void clear() {
    for (StrainOp& op : s_) op.count = 0;
  }

  // Central first differences at node (a, b).
  void dx(int k, int c, int a, int b, double s) {
    if (skip(c)) return;
    (*this)[k].add(c, a, b + 1, s / (2.0 * DX_));
    (*this)[k].add(c, a, b - 1, -s / (2.0 * DX_));
  }
  void dy(int k, int c, int a, int b, double s) {
    if (skip(c)) return;
    (*this)[k].add(c, a + 1, b, s / (2.0 * DY_));
    (*this)[k].add(c, a - 1, b, -s / (2.0 * DY_));
  }
  // Compact second differences at node (a, b).
  void dxx(int k, int c, int a, int b, double s) {
    if (skip(c)) return;
    const double h2 = DX_ * DX_;
    (*this)[k].add(c, a, b - 1, s / h2);
    (*this)[k].add(c, a, b, -2.0 * s / h2);
    (*this)[k].add(c, a, b + 1, s / h2);
  }
  void dyy(int k, int c, int a, int b, double s) {
    if (skip(c)) return;
    const double h2 = DY_ * DY_;
    (*this)[k].add(c, a - 1, b, s / h2);
    (*this)[k].add(c, a, b, -2.0 * s / h2);
    (*this)[k].add(c, a + 1, b, s / h2);
  }
  // Compact first differences from node (a, b) to its neighbour along x or y.
  void fx(int k, int c, int a, int b, double s) {
    if (skip(c)) return;
    (*this)[k].add(c, a, b + 1, s / DX_);
    (*this)[k].add(c, a, b, -s / DX_);
  }
  void fy(int k, int c, int a, int b, double s) {
    if (skip(c)) return;
    (*this)[k].add(c, a + 1, b, s / DY_);
    (*this)[k].add(c, a, b, -s / DY_);
  }

  double DX() const { return DX_; }
  double DY() const { return DY_; }

 private:
  bool skip(int c) const { return bendingOnly_ && c != W; }
  double DX_, DY_;
  bool bendingOnly_;
  std::array<StrainOp, STRAINS> s_{};
};

// The strains at node (a, b): central first differences for the membrane strains, compact
// second differences for kxx, kyy, and kxy as the mean of the four cells about the node.
void nodeStrains(Strains& e, int a, int b);

// The strains at the half point between nodes (a, b) and (a, b + 1): the compact difference
// along the pair, the means of the two nodes' central differences across it.
void xHalfStrains(Strains& e, int a, int b);

// The same at the half point between nodes (a, b) and (a + 1, b).
void yHalfStrains(Strains& e, int a, int b);

// The strains at the centre of the cell of nodes (a..a + 1, b..b + 1).
void cellStrains(Strains& e, int a, int b);

// Kxy of the cell of nodes (a..a + 1, b..b + 1), times `share`, added to the strains.
void addCellTwist(Strains& e, int a, int b, double share);

// Mean stiffness of the nodes (I .. I + dI, J .. J + dJ); beyond the grid, the nearest
// real point's.
PlaneStiffness meanStiffness(const StiffnessField& field, int I, int J, int dI, int dJ);

// Calls add(c, m, n, value) for every term of `weight` times force f evaluated from the
// strains e with the stiffness S.
template <class Add>
void forEachForceTerm(const Strains& e, const PlaneStiffness& S, int f, double weight, Add&& add) {
  for (int k = 0; k < STRAINS; ++k) {
    const double coefficient = weight * S(f, k);
    if (coefficient == 0.0) continue;
    const StrainOp& op = e[k];
    for (int t = 0; t < op.count; ++t) {
      const Tap& tap = op.taps[static_cast<std::size_t>(t)];
      add(tap.c, tap.m, tap.n, coefficient * tap.w);
    }
  }
}

}  // namespace korvant::force_ops
