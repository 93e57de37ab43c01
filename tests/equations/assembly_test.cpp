#include "equations/assembly.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "core/grid.hpp"
#include "equations/stencils.hpp"
#include "equations/support_points.hpp"
#include "section/layer_table.hpp"
#include "support/layer_records.hpp"
#include "support/test_support.hpp"

using namespace korvant;

namespace {

using component::XX;
using component::XY;
using component::YY;

constexpr double kTol = 1e-9;

// ---- Fields sampled on the stencil ---------------------------------------------------------

// A polynomial sum of c x^p y^q.
struct Monomial {
  double c;
  int p;
  int q;
};
using Poly = std::vector<Monomial>;

double fallingPower(double z, int k, int d) {
  double f = 1.0;
  for (int i = 0; i < d; ++i) f *= (k - i);
  return k < d ? 0.0 : f * std::pow(z, k - d);
}

// The derivative of order a in x and b in y, at (x, y).
double derivative(const Poly& f, int a, int b, double x, double y) {
  double s = 0.0;
  for (const Monomial& t : f) s += t.c * fallingPower(x, t.p, a) * fallingPower(y, t.q, b);
  return s;
}

// Applies a stencil centred at (x0, y0) to a field: entry (m, n) samples the field at
// x0 + (n - 3) DX, y0 + (m - 3) DY.
double apply(const Stencil& s, const Poly& f, double x0, double y0, double DX, double DY) {
  double sum = 0.0;
  for (int m = 1; m <= 5; ++m) {
    for (int n = 1; n <= 5; ++n) {
      sum += s(m, n) * derivative(f, 0, 0, x0 + (n - 3) * DX, y0 + (m - 3) * DY);
    }
  }
  return sum;
}

// Section of one isotropic layer of modulus E, Poisson ratio nu and thickness t about its
// mid-surface, written out from plate theory (in-plane entries only).
SectionStiffness isotropicSection(double E, double nu, double t) {
  SectionStiffness s;
  const double q11 = E / (1 - nu * nu), q12 = nu * E / (1 - nu * nu), q66 = E / (2 * (1 + nu));
  const double d = t * t * t / 12.0;
  for (auto [i, j, q] :
       {std::tuple{XX, XX, q11}, {YY, YY, q11}, {XX, YY, q12}, {YY, XX, q12}, {XY, XY, q66}}) {
    s.A(i, j) = t * q;
    s.D(i, j) = d * q;
  }
  return s;
}

// ---- COMPC ---------------------------------------------------------------------------------

TEST(Compc, IsotropicBendingStencilIsTheThirteenPointBiharmonic) {
  const double E = 30000.0, nu = 0.2, t = 0.25, h = 0.5;
  const double D = E * t * t * t / (12.0 * (1.0 - nu * nu));
  StencilSet C;
  COMPC(isotropicSection(E, nu, t), h, h, C);

  // D (20 w0 - 8 (edge neighbours) + 2 (diagonals) + (second neighbours)) / h^4
  const double pattern[5][5] = {
      {0, 0, 1, 0, 0}, {0, 2, -8, 2, 0}, {1, -8, 20, -8, 1}, {0, 2, -8, 2, 0}, {0, 0, 1, 0, 0}};
  const double h4 = h * h * h * h;
  for (int m = 1; m <= 5; ++m) {
    for (int n = 1; n <= 5; ++n) {
      EXPECT_NEAR(C(stencil::W_ON_W)(m, n), D * pattern[m - 1][n - 1] / h4, 1e-9 * D / h4)
          << m << "," << n;
    }
  }
  // No membrane-bending coupling in a symmetric section.
  for (int k : {stencil::W_ON_U, stencil::W_ON_V, stencil::U_ON_W, stencil::V_ON_W}) {
    for (int m = 1; m <= 5; ++m)
      for (int n = 1; n <= 5; ++n) EXPECT_EQ(C(k)(m, n), 0.0);
  }
}

// The positions a stencil can reach: a section whose every stiffness is non-zero and unlike
// the others fills exactly those, and they are the supports of the central differences of
// the stencil's order: 3 x 3 for the membrane (second order), the twelve points of the third
// derivatives for the coupling (never the point itself), all but the corners for bending.
TEST(Compc, StencilsReachThePositionsOfTheirDerivatives) {
  SectionStiffness s;
  double value = 1.0;
  for (Matrix<double>* m : {&s.A, &s.B, &s.D})
    for (int i = 1; i <= component::COUNT; ++i)
      for (int j = 1; j <= component::COUNT; ++j) (*m)(i, j) = (value *= 1.37);
  StencilSet C;
  COMPC(s, 0.4, 0.25, C);
  for (int k = 1; k <= stencil::COUNT; ++k) {
    SCOPED_TRACE(k);
    const int e = (k - 1) % 3, f = (k - 1) / 3;
    const int expected = e == 2 && f == 2 ? 21 : e == 2 || f == 2 ? 12 : 9;
    int reached = 0;
    for (int m = 1; m <= 5; ++m)
      for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(C(k)(m, n) != 0.0, stencilReaches(k, m, n)) << m << "," << n;
        reached += stencilReaches(k, m, n) ? 1 : 0;
      }
    EXPECT_EQ(reached, expected);
  }
}

TEST(Compc, UnequalSpacingsGiveTheOrthotropicCentreAndMembraneEntries) {
  SectionStiffness s;
  s.A(XX, XX) = 7.0, s.A(XY, XY) = 2.0, s.A(XX, XY) = s.A(XY, XX) = 0.6;
  s.D(XX, XX) = 5.0, s.D(YY, YY) = 3.0, s.D(XX, YY) = s.D(YY, XX) = 0.7, s.D(XY, XY) = 1.1;
  const double DX = 0.4, DY = 0.25;
  StencilSet C;
  COMPC(s, DX, DY, C);
  const Stencil& c1 = C(stencil::U_ON_U);
  EXPECT_NEAR(c1(3, 2), 7.0 / (DX * DX), kTol);
  EXPECT_NEAR(c1(3, 4), 7.0 / (DX * DX), kTol);
  EXPECT_NEAR(c1(2, 3), 2.0 / (DY * DY), kTol);
  EXPECT_NEAR(c1(4, 3), 2.0 / (DY * DY), kTol);
  EXPECT_NEAR(c1(3, 3), -14.0 / (DX * DX) - 4.0 / (DY * DY), kTol);
  EXPECT_NEAR(c1(2, 2), 0.6 / (2 * DX * DY), kTol);
  EXPECT_NEAR(c1(4, 4), 0.6 / (2 * DX * DY), kTol);
  EXPECT_NEAR(c1(4, 2), -0.6 / (2 * DX * DY), kTol);
  EXPECT_NEAR(c1(2, 4), -0.6 / (2 * DX * DY), kTol);
  const double centre =
      6 * 5.0 / std::pow(DX, 4) + 8 * (0.7 + 2.2) / (DX * DX * DY * DY) + 6 * 3.0 / std::pow(DY, 4);
  EXPECT_NEAR(C(stencil::W_ON_W)(3, 3), centre, 1e-9 * centre);
}

// Which entries each kind of stencil reaches: the 3 x 3 centre, the cross and square without
// the centre, the 5 x 5 array without its corners.
TEST(Compc, StencilsOccupyTheirPatternsAndCouplingBlocksAreSymmetric) {
  SectionStiffness s;
  for (int i : {XX, YY, XY}) {
    for (int j : {XX, YY, XY}) {
      const double v = 1.0 + 0.3 * i + 0.2 * j + (i == j ? 2.0 : 0.0);
      s.A(i, j) = s.A(j, i) = v;
      s.B(i, j) = s.B(j, i) = 0.5 * v;
      s.D(i, j) = s.D(j, i) = 0.1 * v;
    }
  }
  StencilSet C;
  COMPC(s, 0.3, 0.7, C);
  auto count = [](const Stencil& st) {
    int k = 0;
    for (int m = 1; m <= 5; ++m)
      for (int n = 1; n <= 5; ++n) k += st(m, n) != 0.0;
    return k;
  };
  for (int k : {stencil::U_ON_U, stencil::V_ON_U, stencil::U_ON_V, stencil::V_ON_V})
    EXPECT_EQ(count(C(k)), 9) << k;
  for (int k : {stencil::W_ON_U, stencil::W_ON_V, stencil::U_ON_W, stencil::V_ON_W}) {
    EXPECT_EQ(count(C(k)), 12) << k;
    EXPECT_EQ(C(k)(3, 3), 0.0);
  }
  EXPECT_EQ(count(C(stencil::W_ON_W)), 21);
  for (int m = 1; m <= 5; ++m) {
    for (int n = 1; n <= 5; ++n) {
      EXPECT_EQ(C(stencil::W_ON_U)(m, n), C(stencil::U_ON_W)(m, n));
      EXPECT_EQ(C(stencil::W_ON_V)(m, n), C(stencil::V_ON_W)(m, n));
      EXPECT_EQ(C(stencil::V_ON_U)(m, n), C(stencil::U_ON_V)(m, n));
    }
  }
}

// Isotropic plane stress, Navier's equations:
//   Et/(1 - nu^2) [u_xx + (1 - nu)/2 u_yy + (1 + nu)/2 v_xy] = 0, and the same with u, v and
//   x, y exchanged. Central differences are exact on these fields.
TEST(Compc, MembraneStencilsReproduceNaviersPlaneStressEquations) {
  const double E = 200.0, nu = 0.3, t = 0.2, DX = 0.5, DY = 0.3, x0 = 1.1, y0 = 0.7;
  StencilSet C;
  COMPC(isotropicSection(E, nu, t), DX, DY, C);
  const Poly u = {{1.0, 2, 0}, {-0.7, 0, 2}, {0.4, 1, 1}, {0.3, 2, 2}, {0.2, 3, 0}, {-0.1, 0, 3}};
  const Poly v = {{-0.5, 2, 0}, {1.3, 0, 2}, {0.9, 1, 1}, {-0.2, 2, 1}, {0.6, 0, 3}};
  auto d = [&](const Poly& f, int a, int b) { return derivative(f, a, b, x0, y0); };
  const double k = E * t / (1 - nu * nu);
  const double navierU = k * (d(u, 2, 0) + (1 - nu) / 2 * d(u, 0, 2) + (1 + nu) / 2 * d(v, 1, 1));
  const double navierV = k * (d(v, 0, 2) + (1 - nu) / 2 * d(v, 2, 0) + (1 + nu) / 2 * d(u, 1, 1));
  EXPECT_NEAR(
      apply(C(stencil::U_ON_U), u, x0, y0, DX, DY) + apply(C(stencil::U_ON_V), v, x0, y0, DX, DY),
      navierU, 1e-9 * std::abs(k));
  EXPECT_NEAR(
      apply(C(stencil::V_ON_U), u, x0, y0, DX, DY) + apply(C(stencil::V_ON_V), v, x0, y0, DX, DY),
      navierV, 1e-9 * std::abs(k));
}

// A general laminate (every in-plane entry of A, B, D non-zero), unequal spacings: the
// rows of the stencil set applied to u, v, w fields reproduce the equilibrium equations
//   Nx,x + Nxy,y = 0,  Nxy,x + Ny,y = 0,  -(Mx,xx + 2 Mxy,xy + My,yy) = q
// with N = A e + B k, M = B e + D k, e = (u,x, v,y, u,y + v,x), k = -(w,xx, w,yy, 2 w,xy).
TEST(Compc, StencilRowsReproduceTheLaminateEquilibriumEquations) {
  SectionStiffness s;
  const int idx[3] = {XX, YY, XY};
  const double a[3][3] = {{9.0, 2.1, 0.8}, {2.1, 6.0, -0.5}, {0.8, -0.5, 3.3}};
  const double b[3][3] = {{1.2, -0.4, 0.3}, {-0.4, 0.9, 0.25}, {0.3, 0.25, -0.6}};
  const double dd[3][3] = {{4.0, 1.1, -0.2}, {1.1, 2.5, 0.35}, {-0.2, 0.35, 1.4}};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      s.A(idx[i], idx[j]) = a[i][j];
      s.B(idx[i], idx[j]) = b[i][j];
      s.D(idx[i], idx[j]) = dd[i][j];
    }
  }
  const double DX = 0.4, DY = 0.3, x0 = 0.9, y0 = 1.3;
  StencilSet C;
  COMPC(s, DX, DY, C);

  // Fields on which every difference operator used is exact.
  const Poly u = {{0.5, 2, 0}, {-0.3, 0, 2}, {0.7, 1, 1}, {0.2, 2, 2}, {0.15, 3, 0}};
  const Poly v = {{-0.4, 2, 0}, {0.6, 0, 2}, {0.25, 1, 2}, {-0.35, 0, 3}};
  const Poly w = {{0.8, 2, 2}, {0.3, 4, 0}, {-0.45, 0, 4}, {0.5, 3, 0}, {0.2, 2, 1}, {-0.6, 1, 2}};
  const Poly* field[3] = {&u, &v, &w};

  // Strains and curvatures, differentiated p times in x and q times in y.
  auto strains = [&](int p, int q) {
    auto d = [&](const Poly& f, int da, int db) { return derivative(f, p + da, q + db, x0, y0); };
    return std::array<double, 6>{d(u, 1, 0),  d(v, 0, 1),  d(u, 0, 1) + d(v, 1, 0),
                                 -d(w, 2, 0), -d(w, 0, 2), -2.0 * d(w, 1, 1)};
  };
  // Resultant r (0 x, 1 y, 2 xy) of N (membrane) or M (bending), differentiated (p, q).
  auto N = [&](int r, int p, int q) {
    const auto e = strains(p, q);
    double sum = 0.0;
    for (int j = 0; j < 3; ++j) sum += a[r][j] * e[j] + b[r][j] * e[3 + j];
    return sum;
  };
  auto M = [&](int r, int p, int q) {
    const auto e = strains(p, q);
    double sum = 0.0;
    for (int j = 0; j < 3; ++j) sum += b[r][j] * e[j] + dd[r][j] * e[3 + j];
    return sum;
  };
  const double expected[3] = {N(0, 1, 0) + N(2, 0, 1), N(2, 1, 0) + N(1, 0, 1),
                              -(M(0, 2, 0) + 2.0 * M(2, 1, 1) + M(1, 0, 2))};
  for (int e = 0; e < 3; ++e) {
    double row = 0.0;
    for (int f = 0; f < 3; ++f) row += apply(C(stencil::number(e, f)), *field[f], x0, y0, DX, DY);
    EXPECT_NEAR(row, expected[e], 1e-8 * (1.0 + std::abs(expected[e]))) << "equation " << e;
  }
}

// ---- LOADG ---------------------------------------------------------------------------------

// A stencil set whose entry (m, n) of stencil k is 100 k + 10 m + n.
StencilSet numberedStencils() {
  StencilSet C;
  for (int k = 1; k <= 9; ++k)
    for (int m = 1; m <= 5; ++m)
      for (int n = 1; n <= 5; ++n) C(k)(m, n) = 100 * k + 10 * m + n;
  return C;
}

Capacities caps(int MXD1, int MXBD) {
  Capacities c;
  c.MXD1 = MXD1;
  c.MXBD = MXBD;
  return c;
}

int nonZeros(const CoefficientArray& K) {
  int k = 0;
  for (int j = 1; j <= K.cols(); ++j)
    for (int i = 1; i <= K.rows(); ++i) k += K(i, j) != 0.0;
  return k;
}

TEST(Loadg, CoupledBlockGoesToItsRowsAndUnknownsInBothStorageModes) {
  const StencilSet C = numberedStencils();
  std::ostringstream out;
  Writer report(out);
  for (EquationSolver solver : {EquationSolver::FULL, EquationSolver::BAND}) {
    EquationStore store(caps(12, 20));
    int errors = 0;
    LOADG(store, 4, 7, 2, 5, C, Coupling::COUPLED, solver, report, errors);
    LOADG(store, 4, 7, 2, 5, C, Coupling::COUPLED, solver, report, errors);  // adds
    EXPECT_EQ(errors, 0);
    for (int e = 0; e < 3; ++e) {
      for (int f = 0; f < 3; ++f) {
        const int r = 4 + e, q = 7 + f;
        // band: diagonal in storage column 20 / 2 + 1 = 11
        const int c = solver == EquationSolver::FULL ? q : q - r + 11;
        EXPECT_EQ(store.K(r, c), 2.0 * (100 * (3 * f + e + 1) + 25))
            << codeNumber(solver) << e << f;
      }
    }
    EXPECT_EQ(nonZeros(store.K), 9);
  }
  EXPECT_EQ(out.str(), "");
}

TEST(Loadg, WOnlyAddsTheBendingEntryAlone) {
  const StencilSet C = numberedStencils();
  std::ostringstream out;
  Writer report(out);
  for (EquationSolver solver : {EquationSolver::FULL, EquationSolver::BAND}) {
    EquationStore store(caps(12, 20));
    int errors = 0;
    LOADG(store, 5, 9, 4, 1, C, Coupling::W_ONLY, solver, report, errors);
    EXPECT_EQ(store.K(5, solver == EquationSolver::FULL ? 9 : 9 - 5 + 11), 941.0);
    EXPECT_EQ(nonZeros(store.K), 1);
    EXPECT_EQ(errors, 0);
  }
}

TEST(Loadg, BandEntriesLeftOfTheStoredBandAreDroppedSilently) {
  const StencilSet C = numberedStencils();
  std::ostringstream out;
  Writer report(out);
  EquationStore store(caps(12, 6));  // diagonal in storage column 4
  int errors = 0;
  // Block at row 6, unknown 2: first storage column 2 - 6 + 4 = 0, nothing stored.
  LOADG(store, 6, 2, 1, 1, C, Coupling::COUPLED, EquationSolver::BAND, report, errors);
  EXPECT_EQ(nonZeros(store.K), 0);
  // Block at row 6, unknown 3: first storage column 1; entries (7, 3), (8, 3), (8, 4)
  // would fall in columns 0, -1, 0 and are left out; the other six are stored.
  LOADG(store, 6, 3, 1, 1, C, Coupling::COUPLED, EquationSolver::BAND, report, errors);
  EXPECT_EQ(nonZeros(store.K), 6);
  EXPECT_EQ(store.K(6, 1), 111.0);  // u on u
  EXPECT_EQ(store.K(7, 1), 511.0);  // v on v: equation 7, unknown 4
  EXPECT_EQ(store.K(6, 3), 711.0);  // u on w: equation 6, unknown 5
  EXPECT_EQ(errors, 0);
  EXPECT_EQ(out.str(), "");
}

struct Overflow {
  const char* what;
  Coupling coupling;
  EquationSolver solver;
  int row, column;
  std::vector<std::string> lines;
};

TEST(Loadg, BlocksBeyondTheStoreAreReportedAndNotStored) {
  const StencilSet C = numberedStencils();
  const std::vector<Overflow> cases = {
      {"coupled row",
       Coupling::COUPLED,
       EquationSolver::FULL,
       11,
       3,
       {"***ERROR: EQUATION STORAGE FOR ROW   13EXCEEDS MAXIMUM",
        "          DIMENSION OF   12. INCREASE MXD1"}},
      {"w-only row",
       Coupling::W_ONLY,
       EquationSolver::BAND,
       13,
       14,
       {"***ERROR: EQUATION STORAGE FOR ROW   13EXCEEDS MAXIMUM",
        "          DIMENSION OF   12. INCREASE MXD1"}},
      {"full column",
       Coupling::COUPLED,
       EquationSolver::FULL,
       1,
       19,
       {"***ERROR: EQUATION STORAGE FOR COLUMN   21 EXCEEDS",
        "          MAXIMUM DIMENSION OF   20. INCREASE MXBD"}},
      // band: storage column 9 - 1 + 11 = 19, its block reaches 21
      {"band column",
       Coupling::COUPLED,
       EquationSolver::BAND,
       1,
       9,
       {"***ERROR: EQUATION STORAGE FOR COLUMN   21 EXCEEDS",
        "          MAXIMUM DIMENSION OF   20. INCREASE MXBD"}},
  };
  for (const Overflow& c : cases) {
    EquationStore store(caps(12, 20));
    std::ostringstream out;
    Writer report(out);
    int errors = 0;
    LOADG(store, c.row, c.column, 3, 3, C, c.coupling, c.solver, report, errors);
    EXPECT_EQ(errors, 1) << c.what;
    EXPECT_EQ(test::splitLines(out.str()), c.lines) << c.what;
    EXPECT_EQ(nonZeros(store.K), 0) << c.what;
  }
}

// ---- Support points ----------------------------------------------------------------------

ModelDeck layoutDeck(SlabLayout layout, int NUMA, int NUMB, int NCOL = 0) {
  ModelDeck m;
  m.NUMA = NUMA;
  m.NUMB = NUMB;
  m.NCOL = NCOL;
  m.SLABMODEL = layout;
  return m;
}

int pointsWithEquations(const ModelDeck& m) {
  int k = 0;
  for (int J = 1; J <= m.NUMA; ++J)
    for (int I = 1; I <= m.NUMB; ++I) k += !isSupportPoint(m, I, J);
  return k;
}

TEST(SupportPoints, EachLayoutDropsTheEquationsOfItsSupportedPoints) {
  struct Case {
    SlabLayout layout;
    int NUMA, NUMB, NCOL, withEquations;
  };
  const std::vector<Case> cases = {
      {SlabLayout::SIMPLY_SUPPORTED, 7, 5, 0, 5 * 3},  // interior only
      {SlabLayout::CLAMPED_PLATE, 7, 5, 0, 5 * 3},
      {SlabLayout::SSCF, 7, 5, 0, 6 * 3},  // J = 2..7, I = 2..4: the free right edge stays
      {SlabLayout::SFSF, 7, 5, 0, 7 * 3},  // I = 2..4
      {SlabLayout::FSFS, 7, 5, 0, 5 * 5},  // J = 2..6
      {SlabLayout::FOUR_COLUMN_FREE, 11, 9, 1, 99 - 4 * 4},
      {SlabLayout::FOUR_COLUMN_SYM, 11, 9, 1, 99 - 4 * 4},
      // nine regions: four corners of 2 x 2, four edge middles of 2 x 3, the centre 3 x 3
      {SlabLayout::NINE_COLUMN, 9, 13, 1, 117 - (16 + 24 + 9)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pointsWithEquations(layoutDeck(c.layout, c.NUMA, c.NUMB, c.NCOL)), c.withEquations)
        << codeNumber(c.layout);
  }
  const ModelDeck nine = layoutDeck(SlabLayout::NINE_COLUMN, 9, 13, 1);
  EXPECT_TRUE(isSupportPoint(nine, 8, 6));  // middle region: I = 6..8, J = 4..6
  EXPECT_FALSE(isSupportPoint(nine, 9, 6));
  EXPECT_FALSE(isSupportPoint(nine, 1, 3));  // free-symmetric edge point
  EXPECT_TRUE(isSupportPoint(nine, 0, 3));   // outside the grid
}

TEST(SupportPoints, UserLayoutDropsClampedAndSimplePointsOnly) {
  ModelDeck m = layoutDeck(SlabLayout::USER_DEFINED, 5, 5);
  const int rows[4][4] = {{1, 2, 1, 1}, {2, 1, 2, 2}, {5, 3, 3, 3}, {4, 5, 4, 4}};
  for (const auto& r : rows) {
    ++m.NUSERBC;
    for (int c = 0; c < 4; ++c) m.USERBC(m.NUSERBC, c + 1) = r[c];
  }
  EXPECT_TRUE(isSupportPoint(m, 1, 2));
  EXPECT_TRUE(isSupportPoint(m, 2, 1));
  EXPECT_FALSE(isSupportPoint(m, 5, 3));  // free
  EXPECT_FALSE(isSupportPoint(m, 4, 5));  // free-symmetric
  EXPECT_EQ(pointsWithEquations(m), 23);
}

// ---- ASSEMBLE ------------------------------------------------------------------------------

// A slab of A x B on a NUMA x NUMB grid whose every point has the layers given, and one
// uniform load (number 1) of magnitude q over the whole slab.
struct Slab {
  ModelDeck model;
  WorkingFiles files;
};

using test::elasticLayer;

void setUpSlab(Slab& s, SlabLayout layout, Coupling couplingOption, EquationSolver solver, double A,
               double B, int NUMA, int NUMB, const std::vector<LayerRecord>& layers, double q) {
  ModelDeck& m = s.model;
  m.A = A, m.B = B, m.NUMA = NUMA, m.NUMB = NUMB, m.SLABMODEL = layout;
  m.COUPLING = couplingOption, m.SOLVER = solver, m.NEUTRAL = NeutralSurface::GEOMETRIC_CENTRE;
  m.NLOAD = 1;
  m.LOADS(1, load_col::NUMBER) = 1;
  m.LOADS(1, load_col::TYPE) = 1;  // uniform, whole slab
  m.LOADS(1, load_col::MAGNITUDE) = q;
  PointLayerTable table;
  table.layers = layers;
  for (int J = 1; J <= NUMA; ++J)
    for (int I = 1; I <= NUMB; ++I)
      writeLayerTable(s.files.currentLayers, pointRecord(I, J, NUMB), table);
}

TEST(Assemble, SimplySupportedIsotropicPlateGetsTheBiharmonicRowsAndTheLoad) {
  // 5 x 5 grid over 4 x 4: h = 1; one layer E = 1000, nu = 0.25, t = 0.3.
  const double E = 1000.0, nu = 0.25, t = 0.3, q = 3.0, factor = 0.5;
  const double D = E * t * t * t / (12.0 * (1.0 - nu * nu));
  Slab s;
  setUpSlab(s, SlabLayout::SIMPLY_SUPPORTED, Coupling::W_ONLY, EquationSolver::FULL, 4.0, 4.0, 5, 5,
            {elasticLayer(E, E, nu, t, 0.0)}, q);
  EquationStore store(caps(30, 90));
  store.K.fill(7.0);  // what a previous pass left, recorded as written
  for (int col = 1; col <= 90; ++col) store.markWritten(1, 30, col);
  store.RHS.fill(7.0);
  AssemblyWork work;
  std::ostringstream out;
  Writer report(out);
  int fatal = 0;
  ASSEMBLE(store, s.model, s.files.currentLayers, 1, factor, work, report, fatal);
  ASSERT_EQ(fatal, 0);
  EXPECT_EQ(out.str(), "");

  const double weight[5][5] = {
      {0, 0, 1, 0, 0}, {0, 2, -8, 2, 0}, {1, -8, 20, -8, 1}, {0, 2, -8, 2, 0}, {0, 0, 1, 0, 0}};
  for (int J = 1; J <= 5; ++J) {
    for (int I = 1; I <= 5; ++I) {
      const int row = (J - 1) * 5 + I;
      const bool interior = I > 1 && I < 5 && J > 1 && J < 5;
      EXPECT_EQ(store.RHS(row), interior ? q * factor : 0.0) << row;
      Matrix<double> expected(1, 90);
      if (interior) {
        // unknown of extended point (I + 2 + a, J + 2 + b), 9 extended points a column
        for (int a = -2; a <= 2; ++a)
          for (int b = -2; b <= 2; ++b)
            expected(1, (J + 1 + b) * 9 + I + 2 + a) = D * weight[a + 2][b + 2];
      }
      for (int col = 1; col <= 90; ++col)
        EXPECT_NEAR(store.K(row, col), expected(1, col), 1e-9 * D) << row << "," << col;
    }
  }
  for (int row = 26; row <= 30; ++row)
    for (int col = 1; col <= 90; ++col) EXPECT_EQ(store.K(row, col), 0.0);
}

// A two-layer section at 30 degrees (membrane-bending coupling and shear terms all present)
// with a free edge: band storage must hold exactly the coefficients of full storage.
TEST(Assemble, BandStorageHoldsTheCoefficientsOfFullStorage) {
  const std::vector<LayerRecord> layers = {elasticLayer(3000, 1000, 0.2, 0.1, 30.0),
                                           elasticLayer(500, 800, 0.15, 0.15, -20.0)};
  Slab full, band;
  setUpSlab(full, SlabLayout::SSCF, Coupling::COUPLED, EquationSolver::FULL, 3.0, 2.0, 5, 4, layers,
            2.5);
  setUpSlab(band, SlabLayout::SSCF, Coupling::COUPLED, EquationSolver::BAND, 3.0, 2.0, 5, 4, layers,
            2.5);
  const int rows = 3 * 5 * 4, unknowns = 3 * 9 * 8;
  EquationStore kFull(caps(rows, unknowns)), kBand(caps(rows, 500));
  AssemblyWork work;
  std::ostringstream out;
  Writer report(out);
  int fatal = 0;
  ASSEMBLE(kFull, full.model, full.files.currentLayers, 1, 1.0, work, report, fatal);
  ASSEMBLE(kBand, band.model, band.files.currentLayers, 1, 1.0, work, report, fatal);
  ASSERT_EQ(fatal, 0);
  int present = 0;
  for (int r = 1; r <= rows; ++r) {
    for (int c = 1; c <= unknowns; ++c) {
      const int sc = c - r + 251;  // diagonal in storage column 500 / 2 + 1
      ASSERT_EQ(kBand.K(r, sc), kFull.K(r, c)) << r << "," << c;
      present += kFull.K(r, c) != 0.0;
    }
    EXPECT_EQ(kBand.RHS(r), kFull.RHS(r));
  }
  EXPECT_EQ(nonZeros(kBand.K), nonZeros(kFull.K));
  // rows with equations: I = 2..3, J = 2..5 (SSCF on 5 x 4)
  for (int J = 1; J <= 5; ++J) {
    for (int I = 1; I <= 4; ++I) {
      const int row = 3 * ((J - 1) * 4 + I) - 2;
      const bool kept = I > 1 && I < 4 && J > 1;
      EXPECT_EQ(kFull.RHS(row), 0.0);
      EXPECT_EQ(kFull.RHS(row + 1), 0.0);
      EXPECT_EQ(kFull.RHS(row + 2), kept ? 2.5 : 0.0) << I << "," << J;
    }
  }
  EXPECT_GT(present, 0);
}

TEST(Assemble, APointWithoutPressureOrARowBeyondTheStoreEndsThePass) {
  {
    Slab s;
    setUpSlab(s, SlabLayout::SIMPLY_SUPPORTED, Coupling::W_ONLY, EquationSolver::FULL, 4.0, 4.0, 5,
              5, {elasticLayer(1000, 1000, 0.2, 0.2, 0.0)}, 1.0);
    s.model.LOADS(1, load_col::TYPE) = 2;  // a dead load on zone 1, which no point lies in
    s.model.LOADS(1, load_col::ZONE) = 1;
    EquationStore store(caps(30, 90));
    AssemblyWork work;
    std::ostringstream out;
    Writer report(out);
    int fatal = 0;
    ASSEMBLE(store, s.model, s.files.currentLayers, 1, 1.0, work, report, fatal);
    EXPECT_EQ(fatal, 1);
    const auto lines = test::splitLines(out.str());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("***ERROR: NORMAL PRESSURE NOT ASSIGNED FOR COORDINATE ", 0), 0u);
    EXPECT_EQ(nonZeros(store.K), 0);
  }
  {
    Slab s;
    setUpSlab(s, SlabLayout::SIMPLY_SUPPORTED, Coupling::COUPLED, EquationSolver::FULL, 4.0, 4.0, 5,
              5, {elasticLayer(1000, 1000, 0.2, 0.2, 0.0)}, 1.0);
    EquationStore store(caps(30, 243));  // the point (4, 2) has rows 25..27
    AssemblyWork work;
    std::ostringstream out;
    Writer report(out);
    int fatal = 0;
    ASSEMBLE(store, s.model, s.files.currentLayers, 1, 1.0, work, report, fatal);
    EXPECT_EQ(fatal, 1);
    // points (2, 2) .. (4, 2) fit, (2, 3) has rows 34..36
    EXPECT_EQ(test::splitLines(out.str()),
              (std::vector<std::string>{"***ERROR: EQUATION STORAGE FOR ROW   36EXCEEDS MAXIMUM",
                                        "          DIMENSION OF   30. INCREASE MXD1"}));
  }
}

}  // namespace
