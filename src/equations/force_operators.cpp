#include "equations/force_operators.hpp"

#include <algorithm>

namespace korvant::force_ops {

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
  addCellTwist(e, a, b, 1.0);
}

void addCellTwist(Strains& e, int a, int b, double share) {
  const double s = -2.0 * share / (e.DX() * e.DY());
  e[KXY].add(W, a + 1, b + 1, s);
  e[KXY].add(W, a, b, s);
  e[KXY].add(W, a + 1, b, -s);
  e[KXY].add(W, a, b + 1, -s);
}

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

}  // namespace korvant::force_ops
