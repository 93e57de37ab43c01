#include "section/section_stiffness.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "support/layer_records.hpp"

namespace korvant {
namespace {

using namespace component;

// Largest magnitude among the entries of M.
double largest(const Matrix<double>& M) {
  double m = 0.0;
  for (int k = 1; k <= M.rows() * M.cols(); ++k) m = std::max(m, std::fabs(M(k)));
  return m;
}

// Every entry of `actual` within `tol` of `expected`.
void expectNear(const Matrix<double>& actual, const Matrix<double>& expected, double tol) {
  for (int j = 1; j <= COUNT; ++j)
    for (int i = 1; i <= COUNT; ++i)
      EXPECT_NEAR(actual(i, j), expected(i, j), tol) << "entry (" << i << ", " << j << ")";
}

// Closed-form stiffness of an isotropic layer in the plane with a rigid, shear-free
// thickness direction, scaled by `factor`.
Matrix<double> isotropicC(double E, double MU, double factor = 1.0) {
  Matrix<double> C(COUNT, COUNT);
  const double plane = E / (1.0 - MU * MU);
  C(XX, XX) = C(YY, YY) = factor * plane;
  C(XX, YY) = C(YY, XX) = factor * MU * plane;
  C(XY, XY) = factor * E / (2.0 * (1.0 + MU));
  C(ZZ, ZZ) = factor * 1.0e6 * E;
  return C;
}

using test::elasticLayer;

TEST(Qmatx, IsotropicLayerHasTheClosedFormStiffness) {
  Matrix<double> Q;
  QMATX(Q, 30000.0, 30000.0, 0.2, 0.0);
  // C11 = 30000 / 0.96 = 31250, C12 = 6250, C66 = 12500, C33 = 3e10
  EXPECT_NEAR(Q(XX, XX), 31250.0, 1e-9);
  EXPECT_NEAR(Q(XX, YY), 6250.0, 1e-9);
  EXPECT_NEAR(Q(XY, XY), 12500.0, 1e-9);
  expectNear(Q, isotropicC(30000.0, 0.2), 1e-6);
}

TEST(Qmatx, RotatingAnIsotropicLayerChangesNothing) {
  Matrix<double> Q0, Q;
  QMATX(Q0, 30000.0, 30000.0, 0.2, 0.0);
  for (double theta : {15.0, 30.0, 45.0, 60.0, 90.0, 137.0, -20.0, 270.0}) {
    SCOPED_TRACE(theta);
    QMATX(Q, 30000.0, 30000.0, 0.2, theta);
    expectNear(Q, Q0, 1e-9 * 30000.0);
  }
}

TEST(Qmatx, SteelOnlyLayerKeepsItsDelta) {
  // E2 = E1 / 100: Delta = 1 - MU^2 * E2 / E1 = 1 - 0.09 / 100 = 0.9991.
  const double E1 = 31415.926535897932, E2 = 0.01 * E1, MU = 0.3;
  const double delta = 0.9991;
  Matrix<double> Q;
  QMATX(Q, E1, E2, MU, 0.0);
  EXPECT_NEAR(Q(XX, XX), E1 / delta, 1e-9);
  EXPECT_NEAR(Q(YY, YY), E2 / delta, 1e-9);
  EXPECT_NEAR(Q(XX, YY), MU * E2 / delta, 1e-9);
  EXPECT_NEAR(Q(YY, XX), MU * E2 / delta, 1e-9);
  EXPECT_NEAR(Q(XY, XY), E1 / 2.6, 1e-9);
  EXPECT_NEAR(Q(ZZ, ZZ), 1.0e6 * E1, 1e-3);
  for (int i : {YZ, XZ}) EXPECT_EQ(Q(i, i), 0.0);
  EXPECT_EQ(Q(XX, XY), 0.0);
  EXPECT_EQ(Q(XX, ZZ), 0.0);
}

TEST(Qmatx, NinetyDegreesSwapsTheModuli) {
  const double E1 = 200000.0, E2 = 2000.0, MU = 0.3;
  Matrix<double> Q0, Q90;
  QMATX(Q0, E1, E2, MU, 0.0);
  QMATX(Q90, E1, E2, MU, 90.0);
  const double tol = 1e-9 * E1;
  EXPECT_NEAR(Q90(XX, XX), Q0(YY, YY), tol);
  EXPECT_NEAR(Q90(YY, YY), Q0(XX, XX), tol);
  EXPECT_NEAR(Q90(XX, YY), Q0(XX, YY), tol);
  EXPECT_NEAR(Q90(XY, XY), Q0(XY, XY), tol);
  EXPECT_NEAR(Q90(XX, XY), 0.0, tol);
  EXPECT_NEAR(Q90(YY, XY), 0.0, tol);
}

TEST(Qmatx, YieldedSteelWithoutTransverseModulusStaysFinite) {
  Matrix<double> Q;
  QMATX(Q, 2000.0, 0.0, 0.0, 30.0);
  for (int k = 1; k <= COUNT * COUNT; ++k) EXPECT_TRUE(std::isfinite(Q(k))) << k;
  Matrix<double> Qs;
  QMATX(Qs, 2000.0, 0.0, 0.0, 0.0);
  EXPECT_NEAR(Qs(XX, XX), 2000.0, 1e-9);
  EXPECT_EQ(Qs(YY, YY), 0.0);
}

// Stress and strain transform as tensors: the stress Q(theta) gives in slab axes, turned
// into the layer axes, is the layer's own stiffness applied to the turned strain.
TEST(Qmatx, RotatedStiffnessAgreesWithRotatedStrainAndStress) {
  const double E1 = 200.0, E2 = 50.0, MU = 0.25;
  Matrix<double> Qlayer;
  QMATX(Qlayer, E1, E2, MU, 0.0);
  for (double theta : {30.0, 45.0, -60.0, 110.0}) {
    SCOPED_TRACE(theta);
    Matrix<double> Q;
    QMATX(Q, E1, E2, MU, theta);
    double exx = 1.0e-3, eyy = -4.0e-4, exy = 6.0e-4;
    double sxx = Q(XX, XX) * exx + Q(XX, YY) * eyy + Q(XX, XY) * exy;
    double syy = Q(YY, XX) * exx + Q(YY, YY) * eyy + Q(YY, XY) * exy;
    double sxy = Q(XY, XX) * exx + Q(XY, YY) * eyy + Q(XY, XY) * exy;
    SETRANS(exx, eyy, exy, sxx, syy, sxy, theta * std::numbers::pi / 180.0);
    EXPECT_NEAR(sxx, Qlayer(XX, XX) * exx + Qlayer(XX, YY) * eyy, 1e-12);
    EXPECT_NEAR(syy, Qlayer(YY, XX) * exx + Qlayer(YY, YY) * eyy, 1e-12);
    EXPECT_NEAR(sxy, Qlayer(XY, XY) * exy, 1e-12);
  }
}

TEST(Setrans, UniaxialStressFollowsMohrsCircle) {
  for (double deg : {0.0, 30.0, 45.0, 90.0, 150.0}) {
    SCOPED_TRACE(deg);
    const double t = deg * std::numbers::pi / 180.0;
    double exx = 1.0, eyy = 0.0, exy = 0.0, sxx = 1.0, syy = 0.0, sxy = 0.0;
    SETRANS(exx, eyy, exy, sxx, syy, sxy, t);
    EXPECT_NEAR(sxx, std::cos(t) * std::cos(t), 1e-15);
    EXPECT_NEAR(syy, std::sin(t) * std::sin(t), 1e-15);
    EXPECT_NEAR(sxy, -std::sin(t) * std::cos(t), 1e-15);
    // strain: normal parts alike, engineering shear twice the tensor shear
    EXPECT_NEAR(exx, std::cos(t) * std::cos(t), 1e-15);
    EXPECT_NEAR(eyy, std::sin(t) * std::sin(t), 1e-15);
    EXPECT_NEAR(exy, -2.0 * std::sin(t) * std::cos(t), 1e-15);
  }
}

TEST(Setrans, PureShearStrainBecomesNormalStrainsAtFortyFive) {
  double exx = 0.0, eyy = 0.0, exy = 2.0e-3, sxx = 0.0, syy = 0.0, sxy = 5.0;
  SETRANS(exx, eyy, exy, sxx, syy, sxy, std::numbers::pi / 4.0);
  EXPECT_NEAR(exx, 1.0e-3, 1e-15);
  EXPECT_NEAR(eyy, -1.0e-3, 1e-15);
  EXPECT_NEAR(exy, 0.0, 1e-15);
  EXPECT_NEAR(sxx, 5.0, 1e-12);
  EXPECT_NEAR(syy, -5.0, 1e-12);
  EXPECT_NEAR(sxy, 0.0, 1e-12);
}

TEST(SectionStiffness, SingleIsotropicLayerAboutEitherSurface) {
  const double E = 30000.0, MU = 0.2, h = 0.2;
  PointLayerTable table;
  table.layers = {elasticLayer(E, E, MU, h, 0.0)};
  for (NeutralSurface neutral :
       {NeutralSurface::GEOMETRIC_CENTRE, NeutralSurface::WEIGHTED_SECTIONS}) {
    SCOPED_TRACE(codeNumber(neutral));
    EXPECT_NEAR(lowerFaceZ(table, neutral), -0.1, 1e-15);
    SectionStiffness abd;
    sectionStiffness(table, neutral, abd);
    const Matrix<double> A = isotropicC(E, MU, h);                 // h C
    const Matrix<double> D = isotropicC(E, MU, h * h * h / 12.0);  // h^3 / 12 C
    expectNear(abd.A, A, 1e-12 * largest(A));
    expectNear(abd.B, Matrix<double>(COUNT, COUNT), 1e-12 * largest(A) * h);
    expectNear(abd.D, D, 1e-12 * largest(D));
    EXPECT_NEAR(abd.D(XX, XX), 31250.0 * 0.008 / 12.0, 1e-9);  // 20.8333...
  }
}

// Two isotropic layers of equal thickness h, the upper three times as stiff, C^ the
// stiffness of a unit modulus. About the geometric centre (layers at -h..0 and 0..h):
// B = h^2 / 2 (Eb - Ea) C^. About the weighted surface the reference lies at the stiffness
// centroid, zc = h (Ea + 3 Eb) / (2 (Ea + Eb)) = 0.125 above the lower face, where B vanishes;
// D follows from the parallel-axis rule about either surface.
TEST(SectionStiffness, TwoUnequalLayersAboutBothSurfaces) {
  const double h = 0.1, Ea = 10000.0, Eb = 30000.0, MU = 0.2;
  PointLayerTable table;
  table.layers = {elasticLayer(Ea, Ea, MU, h, 0.0), elasticLayer(Eb, Eb, MU, h, 0.0)};

  SectionStiffness geo, wtd;
  sectionStiffness(table, NeutralSurface::GEOMETRIC_CENTRE, geo);
  sectionStiffness(table, NeutralSurface::WEIGHTED_SECTIONS, wtd);
  EXPECT_NEAR(lowerFaceZ(table, NeutralSurface::GEOMETRIC_CENTRE), -0.1, 1e-15);
  EXPECT_NEAR(lowerFaceZ(table, NeutralSurface::WEIGHTED_SECTIONS), -0.125, 1e-15);

  // Unit-modulus stiffness C^, scaled by hand-worked section sums.
  const Matrix<double> A = isotropicC(1.0, MU, h * (Ea + Eb));               // 4000 C^
  const Matrix<double> Bgeo = isotropicC(1.0, MU, 0.5 * h * h * (Eb - Ea));  // 100 C^
  // geometric: each layer h^3/12 + h (h/2)^2 = 3.3333e-4, times Ea + Eb: 13.3333 C^
  const Matrix<double> Dgeo = isotropicC(1.0, MU, 40000.0 * (h * h * h / 12.0 + h * 0.0025));
  // weighted: centres 0.075 below and 0.025 above: Ea (8.3333e-5 + 5.625e-4) +
  // Eb (8.3333e-5 + 6.25e-5) = 6.45833 + 4.375 = 10.8333 C^
  const Matrix<double> Dwtd = isotropicC(
      1.0, MU,
      Ea * (h * h * h / 12.0 + h * 0.075 * 0.075) + Eb * (h * h * h / 12.0 + h * 0.025 * 0.025));
  EXPECT_NEAR(Dwtd(XX, XX), 10.833333333333 / 0.96, 1e-9);

  expectNear(geo.A, A, 1e-12 * largest(A));
  expectNear(wtd.A, A, 1e-12 * largest(A));
  expectNear(geo.B, Bgeo, 1e-12 * largest(Bgeo));
  expectNear(wtd.B, Matrix<double>(COUNT, COUNT), 1e-12 * largest(Bgeo));
  expectNear(geo.D, Dgeo, 1e-12 * largest(Dgeo));
  expectNear(wtd.D, Dwtd, 1e-12 * largest(Dwtd));
  EXPECT_GT(std::fabs(geo.B(XX, XX)), 100.0);
}

// A smeared steel layer (E2 = E1 / 100) under a concrete layer: the weighted surface is the
// mean of the E1 and the E2 centroids, so B does not vanish. B11, carried mostly by E1,
// shrinks; B22 follows the E2 centroid, which lies above both surfaces, and is not compared.
TEST(SectionStiffness, SteelUnderConcreteHasLessCouplingAboutTheWeightedSurface) {
  const double Es = 60000.0, Ec = 20000.0;
  PointLayerTable table;
  table.layers = {elasticLayer(Es, 0.01 * Es, 0.3, 0.02, 0.0),
                  elasticLayer(Ec, Ec, 0.2, 0.18, 0.0)};
  // E1 centroid: (60000*0.02*0.01 + 20000*0.18*0.11) / (1200 + 3600) = 408 / 4800 = 0.085
  // E2 centroid: (12 * 0.01 + 3600 * 0.11) / 3612 = 396.12 / 3612 = 0.1096677...
  const double z0 = -0.5 * (0.085 + 396.12 / 3612.0);
  EXPECT_NEAR(lowerFaceZ(table, NeutralSurface::WEIGHTED_SECTIONS), z0, 1e-14);

  SectionStiffness geo, wtd;
  sectionStiffness(table, NeutralSurface::GEOMETRIC_CENTRE, geo);
  sectionStiffness(table, NeutralSurface::WEIGHTED_SECTIONS, wtd);
  EXPECT_GT(std::fabs(geo.B(XX, XX)), 10.0);
  EXPECT_LT(std::fabs(wtd.B(XX, XX)), std::fabs(geo.B(XX, XX)));
}

TEST(Abdmat, ReadsThePointsRecordAndIntegratesIt) {
  RecordStore unit20(800);
  PointLayerTable written;
  written.MU = 0.2;
  written.layers = {elasticLayer(30000.0, 30000.0, 0.2, 0.2, 0.0)};
  const int NUMB = 4;
  writeLayerTable(unit20, (3 - 1) * NUMB + 2, written);  // point I = 2, J = 3

  PointLayerTable buffer;
  SectionStiffness abd;
  ABDMAT(buffer, 2, 3, abd, NUMB, NeutralSurface::WEIGHTED_SECTIONS, unit20);
  ASSERT_EQ(buffer.NL(), 1);
  EXPECT_NEAR(abd.A(XX, XX), 0.2 * 31250.0, 1e-9);
  EXPECT_NEAR(abd.D(XY, XY), 12500.0 * 0.008 / 12.0, 1e-9);

  ABDMAT(buffer, 3, 2, abd, NUMB, NeutralSurface::WEIGHTED_SECTIONS, unit20);  // no layers
  EXPECT_EQ(buffer.NL(), 0);
  EXPECT_EQ(largest(abd.A) + largest(abd.B) + largest(abd.D), 0.0);
}

}  // namespace
}  // namespace korvant
