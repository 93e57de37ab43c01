// The linear analysis against plate theory: decks written here run through MODEL and the
// analysis sequence, and their solutions are compared with the Navier double series, the
// clamped-plate coefficient and the Levy series of a plate with two opposite edges simply
// supported and two free, all summed here, independently of the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "job/run_context.hpp"
#include "section/layer_results.hpp"
#include "solver/sparse_factor.hpp"
#include "support/in_process_run.hpp"
#include "support/plate_theory.hpp"

namespace korvant::test {
namespace {

constexpr double kPi = std::numbers::pi;

// ---------------------------------------------------------------------------------------
// Decks

struct Ply {
  double E;
  double nu;
  double thick;
};

struct PlateDeck {
  double A = 1000.0;  // along x (J)
  double B = 1000.0;  // along y (I)
  int NUMA = 21;
  int NUMB = 21;
  std::string layout = "SIMPLY SUPPORTED";
  bool coupled = false;
  bool band = false;
  double pressure = 0.01;
  std::vector<Ply> plies = {{25000.0, 0.2, 200.0}};
  std::string neutral;  // "GEOMETRIC" or "WEIGHTED"; empty keeps the default

  std::string text() const;
};

std::string PlateDeck::text() const {
  std::ostringstream d;
  d.precision(10);
  d << "*HEADING\nPLATE THEORY CHECK\n*SOLUTION = LINEAR\n0.0\n";
  d << "*COUPLING = " << (coupled ? "YES" : "NO") << "\n";
  d << "*EQUATION SOLVER = " << (band ? "BAND" : "FULL") << "\n";
  if (!neutral.empty()) d << "*NEUTRAL = " << neutral << "\n";
  d << "*FILE PRINT\nD +S -S\n";
  d << "*BOUNDARY = LIBRARY\n" << layout << "\n";
  d << "*SLAB\n" << A << "  " << B << "\n*DISC\n" << NUMA << "  " << NUMB << "  1\n";
  d << "*DAMAGE LAW ID = 1\nCONCRETE\nCONSTANT MODULI\n2500.0  2500.0  2500.0\n"
       "1.0  0.0  0.0  0.0\n";
  for (std::size_t k = 0; k < plies.size(); ++k) {
    d << "*MATERIAL TYPE=CONCRETE, MATID=" << k + 1 << "\n"
      << plies[k].E << "  " << plies[k].nu << "  2.5  30.0  3.0\n";
    d << "*LAYER = " << k + 1 << "\n0  " << k + 1 << "  1  " << plies[k].thick << "  0.0\n";
  }
  d << "*ZONE = 1\n" << A << "  " << B << "  " << A / 2 << "  " << B / 2 << "\n";
  for (std::size_t k = 0; k < plies.size(); ++k) d << k + 1 << "  ";
  d << "\n*NORMAL PRESSURE\n1  UNIFORM LOAD  " << pressure << "\n*END\n";
  return d.str();
}

// One job run in memory; the solution is read straight from the run's current solution vector.
struct PlateRun : InProcessRun {
  using InProcessRun::InProcessRun;
  int perPoint() const { return run.model.COUPLING == Coupling::COUPLED ? 3 : 1; }
  // Component c (0 u, 1 v, 2 w) of point (I, J); w alone without coupling.
  double value(int I, int J, int c) const {
    const int n = (J - 1) * run.model.NUMB + I;
    return run.arrays.solutions.current(perPoint() == 3 ? 3 * n - 2 + c : n);
  }
  double w(int I, int J) const { return value(I, J, perPoint() == 3 ? 2 : 0); }
  double fibre(int I, int J, int field) const {
    return run.files.fibreResults.read((J - 1) * run.model.NUMB + I)[field - 1];
  }
  double maxAbs(int c) const {
    double m = 0.0;
    for (int J = 1; J <= run.model.NUMA; ++J)
      for (int I = 1; I <= run.model.NUMB; ++I) m = std::max(m, std::abs(value(I, J, c)));
    return m;
  }
  double maxW() const { return maxAbs(perPoint() == 3 ? 2 : 0); }
};

// `large`: on the sparse equation store, for grids beyond the build's capacities.
std::unique_ptr<PlateRun> solve(const PlateDeck& deckSpec, bool large = false) {
  auto r = large ? std::make_unique<PlateRun>(largeRequest()) : std::make_unique<PlateRun>();
  runInProcess(*r, deckSpec.text());
  return r;
}

// Runs the deck and asserts that the analysis went through.
std::unique_ptr<PlateRun> solved(const PlateDeck& deck, bool large = false) {
  auto r = solve(deck, large);
  EXPECT_EQ(r->inputErrors, 0);
  EXPECT_EQ(r->run.fatal, 0);
  return r;
}

double flexuralRigidity(const Ply& p) {
  return p.E * p.thick * p.thick * p.thick / (12.0 * (1.0 - p.nu * p.nu));
}

// ---------------------------------------------------------------------------------------
// Plate theory

// Levy series of a plate simply supported along x = 0 and x = a and free along
// y = -b/2 and y = b/2, under uniform pressure q: w at (x, y). Each term is
// sin(am x) (wp + Am cosh(am y) + Bm am y sinh(am y)), wp the particular part of the load
// term; Am and Bm make the moment and the Kirchhoff shear vanish along the free edges.
double levy(double a, double b, double D, double nu, double q, double x, double y) {
  double w = 0.0;
  for (int m = 1; m <= 201; m += 2) {
    const double am = m * kPi / a;
    const double wp = 4.0 * q / (m * kPi * D * std::pow(am, 4));
    const double t = am * b / 2.0;
    if (t > 300.0) break;  // the edge terms have died out long before
    const double ch = std::cosh(t), sh = std::sinh(t);
    // moment:  (1 - nu) ch A + (2 ch + (1 - nu) t sh) B = nu wp
    // shear:  -(1 - nu) sh A + ((1 + nu) sh - (1 - nu) t ch) B = 0
    const double a11 = (1.0 - nu) * ch, a12 = 2.0 * ch + (1.0 - nu) * t * sh;
    const double a21 = -(1.0 - nu) * sh, a22 = (1.0 + nu) * sh - (1.0 - nu) * t * ch;
    const double det = a11 * a22 - a12 * a21;
    const double Am = nu * wp * a22 / det;
    const double Bm = -nu * wp * a21 / det;
    const double ay = am * y;
    w += std::sin(am * x) * (wp + Am * std::cosh(ay) + Bm * ay * std::sinh(ay));
  }
  return w;
}

double relativeError(double value, double reference) {
  return std::abs(value - reference) / std::abs(reference);
}

// ---------------------------------------------------------------------------------------
// Simply supported plates

TEST(PlatePhysics, SimplySupportedDeflectionAndFibreStressFollowNavier) {
  struct Case {
    double A, B;
    bool coupled;
  };
  for (const Case& c : {Case{1000.0, 1000.0, false}, Case{1000.0, 1000.0, true},
                        Case{1000.0, 1500.0, false}, Case{1000.0, 1500.0, true}}) {
    SCOPED_TRACE(testing::Message() << c.A << " x " << c.B << (c.coupled ? " coupled" : ""));
    PlateDeck deck;
    deck.A = c.A;
    deck.B = c.B;
    deck.coupled = c.coupled;
    const auto r = solved(deck);
    const Ply& p = deck.plies[0];
    const double D = flexuralRigidity(p);
    const PlateResponse exact = navier(c.A, c.B, D, p.nu, deck.pressure, c.A / 2, c.B / 2);

    const double wmax = r->maxW();
    EXPECT_LT(relativeError(wmax, exact.w), 0.01) << wmax << " against " << exact.w;
    EXPECT_DOUBLE_EQ(std::abs(r->w(11, 11)), wmax);  // the largest deflection is the centre's

    const double h = p.thick;
    const double upper = r->fibre(11, 11, fibre_field::UPPER_SXX);
    const double lower = r->fibre(11, 11, fibre_field::LOWER_SXX);
    EXPECT_LT(relativeError(std::abs(upper), 6.0 * exact.Mx / (h * h)), 0.02) << upper;
    EXPECT_LT(
        relativeError(std::abs(r->fibre(11, 11, fibre_field::UPPER_SYY)), 6.0 * exact.My / (h * h)),
        0.02);
    EXPECT_NEAR(upper, -lower, 1e-9 * std::abs(upper));  // bending about the middle surface
  }
}

// The relative errors of the largest deflection of the simply supported square against the
// Navier series on the grids `sizes` (band storage, or the sparse store when `large`), and
// the orders of convergence they show between successive grids, h = a / (N - 1).
std::vector<double> navierErrors(const std::vector<int>& sizes, bool large) {
  PlateDeck deck;
  const Ply& p = deck.plies[0];
  const double exact =
      navier(deck.A, deck.B, flexuralRigidity(p), p.nu, deck.pressure, deck.A / 2, deck.B / 2).w;
  std::vector<double> error;
  for (int N : sizes) {
    deck.NUMA = deck.NUMB = N;
    deck.band = !large;
    error.push_back(relativeError(solved(deck, large)->maxW(), exact));
  }
  return error;
}

void expectSecondOrder(const std::vector<int>& sizes, const std::vector<double>& error,
                       double within) {
  for (std::size_t k = 1; k < sizes.size(); ++k) {
    const double order =
        std::log(error[k - 1] / error[k]) / std::log((sizes[k] - 1.0) / (sizes[k - 1] - 1.0));
    EXPECT_NEAR(order, 2.0, within) << error[k - 1] << " " << error[k];
  }
}

TEST(PlatePhysics, SimplySupportedDeflectionConvergesAtSecondOrder) {
  const std::vector<int> sizes = {11, 21, 31};
  const std::vector<double> error = navierErrors(sizes, false);
  expectSecondOrder(sizes, error, 0.15);
  EXPECT_LT(error[2], error[1]);
}

// Beyond the build's capacities, on the sparse store: the error keeps falling as h^2 on the
// 61 x 61 and 101 x 101 grids (3721 and 10201 points; the band store ends near 59 x 59).
TEST(PlatePhysics, FineGridsOnTheSparseStoreConvergeAtSecondOrder) {
  if (!SparseFactor::available()) GTEST_SKIP() << "built without the sparse solver";
  const std::vector<int> sizes = {31, 61, 101};
  const std::vector<double> error = navierErrors(sizes, true);
  expectSecondOrder(sizes, error, 0.1);
  EXPECT_LT(error[2], 2e-4);
}

// ---------------------------------------------------------------------------------------
// Clamped plate: centre deflection 0.001265 q a^4 / D.

TEST(PlatePhysics, ClampedSquarePlateCentreDeflection) {
  PlateDeck deck;
  deck.layout = "CLAMPED";
  const double D = flexuralRigidity(deck.plies[0]);
  const double exact = 0.001265 * deck.pressure * std::pow(deck.A, 4) / D;
  std::vector<double> error;
  for (int N : {21, 31}) {
    deck.NUMA = deck.NUMB = N;
    const auto r = solved(deck);
    const int c = (N + 1) / 2;
    error.push_back(relativeError(r->w(c, c), exact));
  }
  EXPECT_LT(error[0], 0.03);
  EXPECT_LT(error[1], error[0]);
}

// The same on a 101 x 101 grid on the sparse store, against the coefficient to five figures.
TEST(PlatePhysics, ClampedSquareOnAFineGridMatchesTheCoefficient) {
  if (!SparseFactor::available()) GTEST_SKIP() << "built without the sparse solver";
  PlateDeck deck;
  deck.layout = "CLAMPED";
  deck.NUMA = deck.NUMB = 101;
  const double D = flexuralRigidity(deck.plies[0]);
  const double exact = 0.0012653 * deck.pressure * std::pow(deck.A, 4) / D;
  EXPECT_LT(relativeError(solved(deck, true)->w(51, 51), exact), 1e-3);
}

// ---------------------------------------------------------------------------------------
// Two opposite edges simply supported, two free: the Levy series.

TEST(PlatePhysics, PlatesWithTwoFreeEdgesFollowLevy) {
  struct Case {
    std::string layout;
    double A, B;
  };
  for (const Case& c : {Case{"SFSF", 1000.0, 1000.0}, Case{"FSFS", 1000.0, 1000.0},
                        Case{"FSFS", 1000.0, 1500.0}, Case{"SFSF", 1500.0, 1000.0}}) {
    SCOPED_TRACE(testing::Message() << c.layout << " " << c.A << " x " << c.B);
    PlateDeck deck;
    deck.layout = c.layout;
    deck.A = c.A;
    deck.B = c.B;
    const auto r = solved(deck);
    const Ply& p = deck.plies[0];
    const double D = flexuralRigidity(p);
    // SFSF: the supported edges are I = 1 and I = NUMB (y = 0, y = B), free x = 0, x = A.
    // FSFS: supported J = 1 and J = NUMA (x = 0, x = A), free y = 0, y = B.
    const bool sfsf = c.layout == "SFSF";
    const double span = sfsf ? c.B : c.A;
    const double width = sfsf ? c.A : c.B;
    const double centre = levy(span, width, D, p.nu, deck.pressure, span / 2, 0.0);
    const double edge = levy(span, width, D, p.nu, deck.pressure, span / 2, width / 2);
    const int mid = 11;
    const double edgeW = sfsf ? r->w(mid, 1) : r->w(1, mid);
    EXPECT_LT(relativeError(r->w(mid, mid), centre), 0.03) << r->w(mid, mid) << " " << centre;
    EXPECT_LT(relativeError(edgeW, edge), 0.03) << edgeW << " " << edge;
    const double otherEdgeW = sfsf ? r->w(mid, 21) : r->w(21, mid);
    EXPECT_NEAR(edgeW, otherEdgeW, 1e-9 * std::abs(edgeW));
  }
}

// ---------------------------------------------------------------------------------------
// Properties of the linear system

TEST(PlatePhysics, SymmetricDeckGivesSymmetricDeflections) {
  for (const std::string layout : {"SIMPLY SUPPORTED", "CLAMPED", "SFSF"}) {
    SCOPED_TRACE(layout);
    PlateDeck deck;
    deck.layout = layout;
    deck.NUMA = deck.NUMB = 15;
    const auto r = solved(deck);
    const double scale = 1e-9 * r->maxW();
    ASSERT_GT(r->maxW(), 0.0);
    for (int J = 1; J <= 15; ++J) {
      for (int I = 1; I <= 15; ++I) {
        EXPECT_NEAR(r->w(I, J), r->w(16 - I, J), scale) << I << " " << J;
        EXPECT_NEAR(r->w(I, J), r->w(I, 16 - J), scale) << I << " " << J;
        if (layout != "SFSF") {
          EXPECT_NEAR(r->w(I, J), r->w(J, I), scale) << I << " " << J;
        }
      }
    }
  }
}

TEST(PlatePhysics, DeflectionsAreLinearInThePressure) {
  PlateDeck deck;
  deck.NUMA = 13;
  deck.NUMB = 17;
  deck.layout = "FSFS";
  const auto once = solved(deck);
  deck.pressure *= 2.0;
  const auto twice = solved(deck);
  const double scale = 1e-9 * twice->maxW();
  for (int J = 1; J <= 13; ++J)
    for (int I = 1; I <= 17; ++I) EXPECT_NEAR(twice->w(I, J), 2.0 * once->w(I, J), scale);
}

TEST(PlatePhysics, SectionSymmetricAboutItsMiddleIsNotCoupled) {
  PlateDeck deck;
  deck.NUMA = deck.NUMB = 15;
  deck.plies = {{30000.0, 0.2, 40.0}, {15000.0, 0.2, 120.0}, {30000.0, 0.2, 40.0}};
  const auto uncoupled = solved(deck);
  deck.coupled = true;
  const auto coupled = solved(deck);
  const double scale = 1e-9 * uncoupled->maxW();
  EXPECT_LT(coupled->maxAbs(0), scale);
  EXPECT_LT(coupled->maxAbs(1), scale);
  for (int J = 1; J <= 15; ++J)
    for (int I = 1; I <= 15; ++I) EXPECT_NEAR(coupled->w(I, J), uncoupled->w(I, J), scale);
}

TEST(PlatePhysics, BandAndFullSolversAgree) {
  for (const std::string layout : {"SIMPLY SUPPORTED", "CLAMPED", "FSFS"}) {
    SCOPED_TRACE(layout);
    PlateDeck deck;
    deck.layout = layout;
    deck.NUMA = 17;
    deck.NUMB = 13;
    const auto full = solved(deck);
    deck.band = true;
    const auto band = solved(deck);
    const double scale = 1e-9 * full->maxW();
    for (int J = 1; J <= 17; ++J)
      for (int I = 1; I <= 13; ++I) EXPECT_NEAR(band->w(I, J), full->w(I, J), scale);
  }
}

// Two plies of very different moduli: about the geometric middle the section couples
// stretching and bending, so the coupled solution moves in plane; about the modulus-weighted
// middle surface of plies with one Poisson ratio it does not.
TEST(PlatePhysics, UnsymmetricSectionMovesInPlaneAboutItsGeometricMiddle) {
  PlateDeck deck;
  deck.NUMA = deck.NUMB = 15;
  deck.coupled = true;
  deck.plies = {{200000.0, 0.2, 100.0}, {20000.0, 0.2, 100.0}};
  deck.neutral = "GEOMETRIC";
  const auto geometric = solved(deck);
  const double w = geometric->maxW();
  ASSERT_GT(w, 0.0);
  EXPECT_GT(geometric->maxAbs(0), 1e-3 * w * 200.0 / 1000.0);
  EXPECT_GT(geometric->maxAbs(1), 1e-3 * w * 200.0 / 1000.0);
  deck.neutral = "WEIGHTED";
  const auto weighted = solved(deck);
  EXPECT_LT(weighted->maxAbs(0), 1e-9 * weighted->maxW());
  EXPECT_LT(weighted->maxAbs(1), 1e-9 * weighted->maxW());
}

}  // namespace
}  // namespace korvant::test
