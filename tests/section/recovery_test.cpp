#include "section/recovery.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/layer_records.hpp"
#include "support/test_support.hpp"

namespace korvant {
namespace {

// In-plane stiffness of an isotropic layer: Q11 = Q22 = E / (1 - mu^2), Q12 = mu E / (1 - mu^2),
// Q66 = E / (2 (1 + mu)); Q16 = Q26 = 0.
struct Iso {
  double E, mu;
  double q11() const { return E / (1.0 - mu * mu); }
  double q12() const { return mu * E / (1.0 - mu * mu); }
  double q66() const { return E / (2.0 * (1.0 + mu)); }
  // Stresses of strains (exx, eyy, gxy).
  std::array<double, 3> stress(double exx, double eyy, double gxy) const {
    return {q11() * exx + q12() * eyy, q12() * exx + q11() * eyy, q66() * gxy};
  }
};

using test::elasticLayer;
using test::layerRecord;

struct RecoveryJob {
  ModelDeck model;
  DifferenceGrid grid;
  WorkingFiles files;
  Matrix<double> solution{4000, 1};

  RecoveryJob(double A, double B, int NUMA, int NUMB, Coupling COUPLING) : grid{A, B, NUMA, NUMB} {
    model.A = A, model.B = B, model.NUMA = NUMA, model.NUMB = NUMB, model.COUPLING = COUPLING;
    model.PRINTREQ = "D     ";
    model.GRAPHREQ = "      ";
  }
  void layersEverywhere(const PointLayerTable& table) {
    for (int n = 1; n <= grid.NUMA * grid.NUMB; ++n) writeLayerTable(files.currentLayers, n, table);
  }
  int unknown(int I, int J, int component) const {
    return EQN(I, J, grid.NUMA, grid.NUMB, Numbering::REAL, model.COUPLING) + component;
  }
  std::string run(const DerivativePointTest& test) {
    std::ostringstream out;
    Writer report(out);
    PointLayerTable layers;
    LayerResults results;
    RECOV(solution, model, grid, test, files, layers, results, report);
    return out.str();
  }
};

bool never(int&, int&) {
  return false;
}

// w = a x^2 + b y^2 + c x y, u = p x + q y, v = r x + s y: central differences are exact, so
// the curvatures are 2a, 2b, c and the membrane strains p, s, q + r at every inner point.
TEST(Recov, QuadraticFieldGivesClosedFormStrainsAndStressesOfEachLayer) {
  const double a = 3e-3, b = -2e-3, c = 1.5e-3, p = 1e-4, q = -2e-4, r = 3e-4, s = 5e-5;
  const double SX = 5.0, SY = -2.0;
  const Iso lower{30000.0, 0.2}, upper{20000.0, 0.15};
  struct Case {
    NeutralSurface NEUTRAL;
    double z0;  // lower face from the reference surface, worked by hand
  };
  // Weighted: centroids (30000*0.1*0.05 + 20000*0.15*0.175) / 6000 = 0.1125 for E1 and E2.
  for (const Case& k : {Case{NeutralSurface::GEOMETRIC_CENTRE, -0.125},
                        Case{NeutralSurface::WEIGHTED_SECTIONS, -0.1125}}) {
    SCOPED_TRACE(codeNumber(k.NEUTRAL));
    RecoveryJob t(4.0, 2.0, 5, 5, Coupling::COUPLED);  // DX = 1, DY = 0.5
    t.model.NEUTRAL = k.NEUTRAL;
    t.model.SIGMA_X = SX;
    t.model.SIGMA_Y = SY;
    t.model.GRAPHREQ = "    E ";  // lower-face strains alone still ask for fibre results
    PointLayerTable table;
    table.layers = {elasticLayer(lower.E, lower.E, lower.mu, 0.1, 0.0),
                    elasticLayer(upper.E, upper.E, upper.mu, 0.15, 45.0)};
    t.layersEverywhere(table);
    for (int J = 1; J <= 5; ++J)
      for (int I = 1; I <= 5; ++I) {
        const double x = J - 1.0, y = 0.5 * (I - 1);
        t.solution(t.unknown(I, J, 0)) = p * x + q * y;
        t.solution(t.unknown(I, J, 1)) = r * x + s * y;
        t.solution(t.unknown(I, J, 2)) = a * x * x + b * y * y + c * x * y;
      }
    auto perimeter = [](int& I, int& J) { return I == 1 || I == 5 || J == 1 || J == 5; };
    t.run(perimeter);

    const double zc[2] = {k.z0 + 0.05, k.z0 + 0.175};
    const Iso iso[2] = {lower, upper};
    for (int J = 1; J <= 5; ++J)
      for (int I = 1; I <= 5; ++I) {
        const bool inner = !(I == 1 || I == 5 || J == 1 || J == 5);
        const int n = (J - 1) * 5 + I;
        LayerResults res;
        readLayerResults(t.files.layerResults, n, res);
        ASSERT_EQ(res.NL(), 2);
        for (int l = 0; l < 2; ++l) {
          const double f = inner ? 1.0 : 0.0;  // a flagged point has no derivatives
          const double exx = f * (p + zc[l] * 2 * a), eyy = f * (s + zc[l] * 2 * b),
                       gxy = f * (q + r + 2 * zc[l] * c);
          const auto sig = iso[l].stress(exx, eyy, gxy);
          const double ex0 = (SX - iso[l].mu * SY) / iso[l].E,
                       ey0 = (SY - iso[l].mu * SX) / iso[l].E;
          const LayerResult& lr = res.layers[l];
          EXPECT_EQ(lr(result_field::LAYER), l + 1);
          EXPECT_NEAR(lr(result_field::EXX), exx + ex0, 1e-12);
          EXPECT_NEAR(lr(result_field::EYY), eyy + ey0, 1e-12);
          EXPECT_NEAR(lr(result_field::EXY), gxy, 1e-12);
          EXPECT_NEAR(lr(result_field::SXX), sig[0] + SX, 1e-8);
          EXPECT_NEAR(lr(result_field::SYY), sig[1] + SY, 1e-8);
          EXPECT_NEAR(lr(result_field::SXY), sig[2], 1e-8);
        }
        // Outer faces at z0 and z0 + 0.25: mechanical strains, stresses with the uniform ones.
        const FibreResults fr = readFibreResults(t.files.fibreResults, n);
        const double f = inner ? 1.0 : 0.0;
        const double zf[2] = {k.z0, k.z0 + 0.25};
        for (int face = 0; face < 2; ++face) {
          const double exx = f * (p + zf[face] * 2 * a), eyy = f * (s + zf[face] * 2 * b),
                       gxy = f * (q + r + 2 * zf[face] * c);
          const auto sig = iso[face].stress(exx, eyy, gxy);
          const int e0 = face == 0 ? fibre_field::LOWER_EXX : fibre_field::UPPER_EXX;
          const int s0 = face == 0 ? fibre_field::LOWER_SXX : fibre_field::UPPER_SXX;
          EXPECT_NEAR(fr(e0), exx, 1e-12);
          EXPECT_NEAR(fr(e0 + 1), eyy, 1e-12);
          EXPECT_NEAR(fr(e0 + 2), gxy, 1e-12);
          EXPECT_NEAR(fr(s0), sig[0] + SX, 1e-8);
          EXPECT_NEAR(fr(s0 + 1), sig[1] + SY, 1e-8);
          EXPECT_NEAR(fr(s0 + 2), sig[2], 1e-8);
        }
      }
  }
}

// w = 1 everywhere on a 3 x 3 grid (DX = 2, DY = 1), w only: outside neighbours count as 0,
// so the corner (1, 1) sees w_xx = -1/4, w_yy = -1, w_xy = w(2,2) / (4 DX DY) = 1/8, and the
// centre sees no curvature. The single layer (h = 0.4) has its faces at -0.2 and +0.2.
TEST(Recov, NeighboursOutsideTheGridCountAsZeroAndMovedPointsLendTheirDerivatives) {
  struct Case {
    const char* name;
    DerivativePointTest test;
    int I, J;
    double kxx, kyy, kxy;
  };
  auto lowerRowMovedUp = [](int& I, int&) {
    if (I == 1) I = 2;
    return false;
  };
  const std::vector<Case> cases{
      {"corner", never, 1, 1, -0.25, -1.0, 0.125},
      {"centre", never, 2, 2, 0.0, 0.0, 0.0},
      {"edge", never, 1, 2, 0.0, -1.0, 0.0},  // w_xy = (0 - 0 - 1 + 1) / 8
      {"edge evaluated one row in", lowerRowMovedUp, 1, 2, 0.0, 0.0, 0.0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    RecoveryJob t(4.0, 2.0, 3, 3, Coupling::W_ONLY);
    t.model.PRINTREQ = " S    ";
    PointLayerTable table;
    table.layers = {elasticLayer(1000.0, 1000.0, 0.0, 0.4, 0.0)};
    t.layersEverywhere(table);
    for (int n = 1; n <= 9; ++n) t.solution(n) = 1.0;
    t.run(k.test);
    const FibreResults fr = readFibreResults(t.files.fibreResults, (k.J - 1) * 3 + k.I);
    EXPECT_DOUBLE_EQ(fr(fibre_field::LOWER_EXX), -0.2 * k.kxx);
    EXPECT_DOUBLE_EQ(fr(fibre_field::LOWER_EYY), -0.2 * k.kyy);
    EXPECT_DOUBLE_EQ(fr(fibre_field::LOWER_EXY), -0.4 * k.kxy);
    EXPECT_DOUBLE_EQ(fr(fibre_field::UPPER_EXX), 0.2 * k.kxx);
    EXPECT_DOUBLE_EQ(fr(fibre_field::UPPER_EYY), 0.2 * k.kyy);
    EXPECT_DOUBLE_EQ(fr(fibre_field::UPPER_EXY), 0.4 * k.kxy);
    EXPECT_DOUBLE_EQ(fr(fibre_field::UPPER_SXX), 1000.0 * 0.2 * k.kxx);  // mu = 0
  }
}

TEST(Recov, FibreRecordsAreLeftAloneWithoutAFibreRequest) {
  RecoveryJob t(4.0, 2.0, 3, 3, Coupling::W_ONLY);
  t.model.PRINTREQ = "D    F";
  t.model.GRAPHREQ = "D    F";
  PointLayerTable table;
  table.layers = {elasticLayer(1000.0, 1000.0, 0.2, 0.4, 0.0)};
  t.layersEverywhere(table);
  t.solution(5) = 1.0;
  t.run(never);
  for (int n = 1; n <= 9; ++n) {
    EXPECT_TRUE(t.files.layerResults.written(n));
    EXPECT_FALSE(t.files.fibreResults.written(n));
  }
}

// One point with a combined layer under a concrete layer, w only on a 3 x 3 grid with
// DX = DY = 1: w(2,1) = 0.002, w(2,2) = 0.01, w(2,3) = 0.004, so w_xx = -0.014, w_yy = -0.02,
// w_xy = 0. Reference at the geometric centre: layer centres at -0.05 and +0.05.
// Uniform stresses 0.6 and 0.2; concrete E = 1000, mu = 0.25: initial strains 0.55e-3, 0.05e-3.
// Layer 1: EXX = 0.7e-3 + 0.55e-3 = 1.25e-3, EYY = 1e-3 + 0.05e-3 = 1.05e-3,
//   SXX = (1000 * 0.7e-3 + 250 * 1e-3) / 0.9375 + 0.6 = 1.6133, SYY = 1.2533 + 0.2 = 1.4533.
// Layer 2: EXX = -0.15e-3, EYY = -0.95e-3, SXX = -0.4133, SYY = -1.0533.
TEST(Recov, CombinedLayerAddsSteelPhaseStressesAndTheDebugListingShowsBothPhases) {
  RecoveryJob t(2.0, 2.0, 3, 3, Coupling::W_ONLY);
  t.model.NEUTRAL = NeutralSurface::GEOMETRIC_CENTRE;
  t.model.DEBUG = true;
  t.model.SIGMA_X = 0.6;
  t.model.SIGMA_Y = 0.2;
  const Iso conc{1000.0, 0.25}, steel{200000.0, 0.3};
  PointLayerTable table;
  // The combined layer carries the mean of the phases as its smeared moduli.
  const LayerRecord combined = layerRecord({.KIND = LayerKind::COMBINED,
                                            .E1 = 0.5 * (conc.E + steel.E),
                                            .E2 = 0.5 * (conc.E + steel.E),
                                            .MU = 0.5 * (conc.mu + steel.mu),
                                            .THICK = 0.1,
                                            .ES = steel.E,
                                            .EC = conc.E,
                                            .MUS = steel.mu,
                                            .MUC = conc.mu});
  table.layers = {combined, elasticLayer(conc.E, conc.E, conc.mu, 0.1, 0.0)};
  writeLayerTable(t.files.currentLayers, 5, table);  // the centre point only
  t.solution(2) = 0.002;
  t.solution(5) = 0.01;
  t.solution(8) = 0.004;
  const std::vector<std::string> header{
      "",
      " DEBUG OPERATION:    (X,Y)   = 0.100E+01  0.100E+01",
      "                  (W1,W2,W3) = 0.200E-02  0.100E-01  0.400E-02",
      "",
      "  ZCENT       DUDX       DVDY       DUDY      DWDXX      DWDYY      DWDXY",
      "-.500E-01  0.000E+00  0.000E+00  0.000E+00  -.140E-01  -.200E-01  0.000E+00",
      "",
      "LAYER  EXX        EYY        EXY        SXX        SYY        SXY",
  };
  const std::string layer1 =
      "  1  0.125E-02  0.105E-02  0.000E+00  0.161E+01  0.145E+01  0.000E+00";
  const std::string layer2 =
      "  2  -.150E-03  -.950E-03  0.000E+00  -.413E+00  -.105E+01  0.000E+00";
  std::vector<std::string> expected = header;
  expected.push_back(layer1);
  expected.insert(expected.end(), header.begin(), header.end());
  expected.push_back(layer1);
  expected.push_back(layer2);
  EXPECT_EQ(test::splitLines(t.run(never)), expected);

  LayerResults res;
  readLayerResults(t.files.layerResults, 5, res);
  ASSERT_EQ(res.NL(), 2);
  const auto sig = steel.stress(0.7e-3, 1e-3, 0.0);  // steel phase: mechanical strains only
  EXPECT_NEAR(res.layers[0](result_field::STEEL_SXX), sig[0] + 0.6, 1e-9);
  EXPECT_NEAR(res.layers[0](result_field::STEEL_SYY), sig[1] + 0.2, 1e-9);
  EXPECT_NEAR(res.layers[0](result_field::STEEL_SXY), 0.0, 1e-12);
  EXPECT_NEAR(res.layers[0](result_field::SXX), 1.6133333333, 1e-9);
}

// A failed direction (modulus 0) takes no initial strain instead of an infinite one.
TEST(Recov, LayerWithoutModulusAcrossItsDirectionStaysFinite) {
  RecoveryJob t(2.0, 2.0, 3, 3, Coupling::W_ONLY);
  t.model.SIGMA_X = 1.0;
  t.model.SIGMA_Y = 1.0;
  PointLayerTable table;
  const LayerRecord steel =
      layerRecord({.KIND = LayerKind::STEEL, .E1 = 1000.0, .MU = 0.3, .THICK = 0.1});
  table.layers = {steel};
  t.layersEverywhere(table);
  t.run(never);
  LayerResults res;
  readLayerResults(t.files.layerResults, 1, res);
  EXPECT_NEAR(res.layers[0](result_field::EXX), 0.7e-3, 1e-15);
  EXPECT_EQ(res.layers[0](result_field::EYY), 0.0);
  EXPECT_EQ(res.layers[0](result_field::SYY), 1.0);
}

}  // namespace
}  // namespace korvant
