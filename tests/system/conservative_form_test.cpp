// The equations written on the section forces against the specified ones and against beam
// theory: runs made in this process, their solution vectors compared.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "job/run_context.hpp"
#include "section/layer_results.hpp"
#include "solver/sparse_factor.hpp"
#include "support/corner_supported_plate.hpp"
#include "support/in_process_run.hpp"
#include "support/slab_decks.hpp"
#include "support/test_support.hpp"
#include "support/zoned_decks.hpp"

namespace korvant::test {
namespace {

JobRequest formRequest(bool conservative, bool large = false) {
  JobRequest request;
  request.conservative = conservative;
  request.large = large;
  return request;
}

// The expanded solution of a run that went through.
std::vector<double> solutionOf(const std::string& deck, const JobRequest& request) {
  const auto r = runInProcess(deck, request);
  EXPECT_EQ(r->inputErrors, 0);
  EXPECT_EQ(r->run.fatal, 0);
  const RunContext& run = r->run;
  const int perPoint = run.model.COUPLING == Coupling::COUPLED ? 3 : 1;
  const int NR = perPoint * run.model.NUMA * run.model.NUMB;
  std::vector<double> v(static_cast<std::size_t>(NR));
  for (int k = 1; k <= NR; ++k)
    v[static_cast<std::size_t>(k - 1)] = run.arrays.solutions.current(k);
  return v;
}

// A uniform section with membrane-bending coupling and angled steel (A16, B16, D16 all
// present) on a rectangular grid of unequal spacings: on slabs whose edges are all supported
// the two forms are the same equations, so their solutions agree to round-off, component by
// component, in the band, the full and the sparse store.
TEST(ConservativeForm, SupportedEdgesGiveTheSpecifiedSolution) {
  for (const char* layout : {"SIMPLY SUPPORTED", "CLAMPED"}) {
    for (bool coupled : {false, true}) {
      for (bool large : {false, true}) {
        if (large && !SparseFactor::available()) continue;
        SCOPED_TRACE(std::string(layout) + (coupled ? " coupled" : " uncoupled") +
                     (large ? " sparse" : ""));
        ConcreteSlabDeck d;
        d.solution = "LINEAR";
        d.layout = layout;
        d.coupled = coupled;
        d.B = 3000.0, d.NUMA = 9, d.NUMB = 7;
        d.bars = {BarLayer{12.0, 150.0, 30.0, 40.0}, BarLayer{10.0, 200.0, 120.0, 160.0}};
        const std::vector<double> specified = solutionOf(d.text(), formRequest(false, large));
        const std::vector<double> conservative = solutionOf(d.text(), formRequest(true, large));
        const std::size_t perPoint = coupled ? 3 : 1;
        for (std::size_t c = 0; c < perPoint; ++c) {
          double scale = 0.0, difference = 0.0;
          for (std::size_t k = c; k < specified.size(); k += perPoint) {
            scale = std::max(scale, std::abs(specified[k]));
            difference = std::max(difference, std::abs(conservative[k] - specified[k]));
          }
          EXPECT_GT(scale, 0.0) << c;
          EXPECT_LE(difference, 1e-10 * scale) << "component " << c;
        }
      }
    }
  }
}

// Beam theory for a strip of span L simply supported at both ends under the load q per unit
// area, with the flexural rigidity D1 for y < c and D2 beyond: the moment is statically
// determinate, M = q y (L - y) / 2, and w'' = -M / D. With F'' = M, F = q (L y^3/6 - y^4/12)/2,
// w = -F / D + a y + b in each part, w(0) = w(L) = 0 and w, w' continuous at c.
struct TwoZoneBeam {
  double L, c, D1, D2, q;
  double F(double y) const { return q * (L * y * y * y / 6.0 - y * y * y * y / 12.0) / 2.0; }
  double dF(double y) const { return q * (L * y * y / 2.0 - y * y * y / 3.0) / 2.0; }
  double w(double y) const {
    const double jump = 1.0 / D1 - 1.0 / D2;
    const double b2 = dF(c) * jump * c - F(c) * jump;
    const double a2 = (F(L) / D2 - b2) / L;
    const double a1 = a2 + dF(c) * jump;
    return y <= c ? -F(y) / D1 + a1 * y : -F(y) / D2 + a2 * y + b2;
  }
};

// The largest error of w along the span of the two-zone strip on an n-point grid, over the
// largest w of beam theory. The zones meet at 0.45 L, half-way between two grid lines on
// every grid of 10 * 3^k intervals.
double stripError(int n, bool conservative) {
  ZonedPlateDeck d;
  d.layout = "SFSF";
  d.A = 400.0, d.B = 3000.0;
  d.NUMA = 5, d.NUMB = n;
  d.nu = 0.0;
  const double c = 0.45 * d.B, h = 150.0, soft = 3000.0, stiff = 30000.0;
  d.zones = {{0.0, d.A, 0.0, c, soft, h}, {0.0, d.A, 0.0, d.B, stiff, h}};
  const std::vector<double> w = solutionOf(d.text(), formRequest(conservative));
  const TwoZoneBeam beam{d.B, c, soft * h * h * h / 12.0, stiff * h * h * h / 12.0, d.pressure};
  double error = 0.0, largest = 0.0;
  for (int I = 1; I <= n; ++I) {
    const double exact = beam.w((I - 1) * d.B / (n - 1));
    largest = std::max(largest, std::abs(exact));
    for (int J = 1; J <= d.NUMA; ++J)
      error = std::max(error, std::abs(w[static_cast<std::size_t>((J - 1) * n + I - 1)] - exact));
  }
  return error / largest;
}

// A one-way strip (SFSF, Poisson's ratio 0) of two zones, ten times softer over 0.45 of the
// span: the conservative form converges to beam theory at second order; the specified form,
// which sees only the stiffness of each loaded point, misses it by a margin that does not fall.
TEST(ConservativeForm, TwoZoneStripFollowsBeamTheory) {
  const double coarse = stripError(11, true), fine = stripError(31, true),
               finest = stripError(91, true);
  const double order = std::log(coarse / fine) / std::log(3.0);
  const double orderFine = std::log(fine / finest) / std::log(3.0);
  const double specified = stripError(31, false), specifiedFine = stripError(91, false);
  std::printf(
      "two-zone strip, error / wmax: conservative %.3e %.3e %.3e (order %.2f, %.2f);"
      " specified %.3e %.3e\n",
      coarse, fine, finest, order, orderFine, specified, specifiedFine);
  EXPECT_LT(fine, 2e-2);
  EXPECT_GT(order, 1.8);
  EXPECT_GT(orderFine, 1.8);
  EXPECT_GT(specifiedFine, 0.1);
}

// The grids of the free-edge checks, points a side; the largest one beyond the build's
// equation rows, on the sparse store, when the build has it.
constexpr int kLargestStoredGrid = 41;
std::vector<int> gridSizes() {
  if (SparseFactor::available()) return {21, 31, 41, 61};
  return {21, 31, 41};
}

// The recovered upper-face stresses at mid-free-edge and at mid-span of an SFSF slab of one
// isotropic layer (Poisson's ratio 0.2) on an n x n grid: (normal stress at the edge, largest
// span stress at mid-span), and the deflection at mid-free-edge.
struct FreeEdgeStress {
  double normal, span, w;
};
FreeEdgeStress sfsfFreeEdge(int n, bool conservative, bool coupled = false) {
  ZonedPlateDeck d;
  d.layout = "SFSF";
  d.NUMA = d.NUMB = n;
  d.nu = 0.2;
  d.coupled = coupled;
  d.print = "D +S";
  d.zones = {{0.0, d.A, 0.0, d.B, 30000.0, 150.0}};
  const auto r = runInProcess(d.text(), formRequest(conservative, n > kLargestStoredGrid));
  EXPECT_EQ(r->run.fatal, 0);
  const int mid = (n + 1) / 2;
  auto fibre = [&](int I, int J, int field) {
    return r->run.files.fibreResults.read((J - 1) * n + I)[static_cast<std::size_t>(field - 1)];
  };
  const int perPoint = coupled ? 3 : 1;
  const double w = r->run.arrays.solutions.current(perPoint * mid);
  return {fibre(mid, 1, fibre_field::UPPER_SXX), fibre(mid, mid, fibre_field::UPPER_SYY), w};
}

// Free edges of an SFSF slab: the normal stress recovered at mid-free-edge is zero to the
// discretisation error with the natural conditions (here round-off: one isotropic layer, so
// the fibre stress is proportional to the edge moment), coupled and uncoupled; the specified
// form, which takes the neighbours beyond the edge as 0, grows with the square of the grid.
TEST(ConservativeForm, FreeEdgeCarriesNoNormalStress) {
  std::vector<double> specified;
  for (int n : gridSizes()) {
    for (bool coupled : {false, true}) {
      if (coupled && n > 31) continue;  // beyond the build's equation rows
      const FreeEdgeStress c = sfsfFreeEdge(n, true, coupled);
      EXPECT_LE(std::abs(c.normal), 1e-9 * std::abs(c.span)) << n << (coupled ? " coupled" : "");
    }
    specified.push_back(sfsfFreeEdge(n, false).normal);
  }
  std::printf("SFSF mid-free-edge normal stress, specified form:");
  for (double v : specified) std::printf(" %.3e", v);
  std::printf("\n");
  EXPECT_GT(std::abs(specified[2]), 3.0 * std::abs(specified[0]));
}

// The slab supported at its corners alone (user layout) under a point load P at its centre:
// w at the centre over P a^2 / D, w at the centre with the slab outside the central fifth
// ten times softer over w with the uniform slab, and the recovered normal stress at mid-edge.
struct CornerSupported {
  double alpha, softRatio, edgeStress;
};
CornerSupported cornerSupported(int n, bool conservative) {
  const double P = 1000.0;
  double w[2] = {0.0, 0.0}, edge = 0.0;
  for (int soft = 0; soft < 2; ++soft) {
    ZonedPlateDeck d = cornerSupportedSlab(n, P, soft ? 10.0 : 1.0);
    d.print = "D +S";
    const auto r = runInProcess(d.text(), formRequest(conservative, n > kLargestStoredGrid));
    EXPECT_EQ(r->run.fatal + r->inputErrors, 0);
    const int mid = (n + 1) / 2;
    w[soft] = r->run.arrays.solutions.current((mid - 1) * n + mid);
    if (soft == 0)
      edge = r->run.files.fibreResults.read((mid - 1) * n + 1)[fibre_field::UPPER_SYY - 1];
  }
  const ZonedPlateDeck d = cornerSupportedSlab(n, P);
  const PlateZone& z = d.zones.back();
  const double D = z.E * z.h * z.h * z.h / (12.0 * (1.0 - d.nu * d.nu));
  return {w[0] * D / (P * d.A * d.A), w[1] / w[0], edge};
}

// The corner-supported slab: with a uniform section both forms solve the same equations
// (the centre deflection converges at second order); with the unloaded region ten times
// softer the conservative form deflects several times more, the specified form not at all
// (only the stiffness ratios of unloaded points enter it); the normal stress at mid-free-edge
// is zero with the natural conditions and grows with the grid in the specified form.
TEST(ConservativeForm, CornerSupportedSlabFeelsItsSoftRegion) {
  std::vector<CornerSupported> c, s;
  for (int n : gridSizes()) {
    c.push_back(cornerSupported(n, true));
    s.push_back(cornerSupported(n, false));
    std::printf(
        "corner-supported %d: w D / (P a^2) %.5f (specified %.5f), soft/uniform %.4f "
        "(specified %.4f), mid-edge normal stress %.3e (specified %.3e)\n",
        n, c.back().alpha, s.back().alpha, c.back().softRatio, s.back().softRatio,
        c.back().edgeStress, s.back().edgeStress);
    // The same equations, the edge relations summed in another order: round-off apart.
    EXPECT_NEAR(c.back().alpha, s.back().alpha, 1e-8 * s.back().alpha);
    EXPECT_NEAR(s.back().softRatio, 1.0, 1e-10);
    EXPECT_GT(c.back().softRatio, 5.0);
    EXPECT_LE(std::abs(c.back().edgeStress), 1e-12 * std::abs(s.back().edgeStress));
  }
  // Second order: the differences of 21 to 31 and 31 to 41 points stand as (1/20^2 - 1/30^2)
  // to (1/30^2 - 1/40^2); extrapolated from 31 and 41 points, the centre deflection is that of
  // thin-plate theory (Ritz, degree 40: 0.04097 P a^2 / D, the value the issue gives).
  const double ratio = (c[0].alpha - c[1].alpha) / (c[1].alpha - c[2].alpha);
  EXPECT_NEAR(ratio, (1.0 / 400 - 1.0 / 900) / (1.0 / 900 - 1.0 / 1600), 0.3);
  const double extrapolated =
      c[2].alpha + (c[2].alpha - c[1].alpha) * (1.0 / 1600) / (1.0 / 900 - 1.0 / 1600);
  const double theory = cornerSupportedCentreCoefficient(0.15, 20);
  std::printf("corner-supported: extrapolated %.5f, Ritz %.5f\n", extrapolated, theory);
  EXPECT_NEAR(theory, 0.04097, 5e-5);
  EXPECT_NEAR(extrapolated, theory, 1e-3 * theory);
  EXPECT_LT(c[2].softRatio - c[1].softRatio, c[1].softRatio - c[0].softRatio);
  EXPECT_GT(std::abs(s[2].edgeStress), 3.0 * std::abs(s[0].edgeStress));
}

// korvant --conservative JOB: the report says so in one line after the echo and otherwise
// keeps its layout; on a simply supported slab of one section its numbers are those of the
// specified form.
TEST(ConservativeForm, CommandLineOptionAddsOneLineAfterTheEcho) {
  ConcreteSlabDeck d;
  d.solution = "LINEAR";
  d.NUMA = d.NUMB = 9;
  d.bars = {BarLayer{12.0, 150.0, 0.0, 40.0}};
  TempDir dir;
  writeFile(dir / "slab.inp", d.text());
  ASSERT_EQ(runKorvant(dir.path(), {"--yes", "slab"}, "").status, 0);
  const std::string specified = readFile(dir / "slab.out");
  ASSERT_EQ(runKorvant(dir.path(), {"--yes", "--conservative", "slab"}, "").status, 0);
  std::string conservative = readFile(dir / "slab.out");
  const std::string line =
      "               * EQUILIBRIUM WRITTEN ON THE SECTION FORCES (CONSERVATIVE FORM)\n\n";
  const std::size_t at = conservative.find(line);
  ASSERT_NE(at, std::string::npos);
  EXPECT_LT(conservative.rfind("* EQUATION SOLVER", at), at);
  EXPECT_GT(conservative.find("S Y S T E M  S T A T I S T I C S"), at);
  conservative.erase(at, line.size());
  // Line by line the same, the numbers to round-off (zeros of 1e-15 print as they fall).
  std::istringstream a(conservative), b(specified);
  std::string la, lb;
  while (std::getline(b, lb)) {
    ASSERT_TRUE(std::getline(a, la));
    if (la == lb) continue;
    const std::vector<double> x = numbersOf(la), y = numbersOf(lb);
    ASSERT_EQ(x.size(), y.size()) << la << "\n" << lb;
    for (std::size_t k = 0; k < x.size(); ++k)
      EXPECT_NEAR(x[k], y[k], 1e-12 + 1e-8 * std::abs(y[k])) << la << "\n" << lb;
  }
  EXPECT_FALSE(std::getline(a, la));
}

// A cantilever strip of span L = B (user layout: the lower edge clamped, the other three free,
// with two free corners), Poisson's ratio 0, on 5 x n points: the tip deflection over beam
// theory's q L^4 / (8 D) minus 1, and its spread across the tip over its mean.
struct CantileverTip {
  double error, spread;
};
CantileverTip cantileverTip(int n, bool coupled) {
  ZonedPlateDeck d;
  d.A = 400.0, d.B = 2000.0;
  d.NUMA = 5, d.NUMB = n;
  d.coupled = coupled;
  d.zones = {{0.0, d.A, 0.0, d.B, 30000.0, 150.0}};
  for (int J = 1; J <= d.NUMA; ++J) d.userPoints.push_back("1 " + std::to_string(J) + " CLAMPED 1");
  for (int I = 2; I <= n; ++I) {
    d.userPoints.push_back(std::to_string(I) + " 1 FE 2");
    d.userPoints.push_back(std::to_string(I) + " " + std::to_string(d.NUMA) + " FE 4");
  }
  for (int J = 1; J <= d.NUMA; ++J)
    d.userPoints.push_back(std::to_string(n) + " " + std::to_string(J) + " FE 3");
  const std::vector<double> v = solutionOf(d.text(), formRequest(true));
  const double D = 30000.0 * 150.0 * 150.0 * 150.0 / 12.0;
  const double beam = d.pressure * std::pow(d.B, 4) / (8.0 * D);
  const std::size_t perPoint = coupled ? 3 : 1;
  double lo = 1e300, hi = -1e300;
  for (int J = 1; J <= d.NUMA; ++J) {
    const double w = v[perPoint * static_cast<std::size_t>((J - 1) * n + n) - 1];
    lo = std::min(lo, w), hi = std::max(hi, w);
  }
  return {(lo + hi) / 2.0 / beam - 1.0, (hi - lo) / ((lo + hi) / 2.0)};
}

// Free corners: with Poisson's ratio 0 a cantilever plate bends as a beam (w of y alone), which
// satisfies every free edge and the corner condition (no twisting moment at a free corner);
// the tip deflection converges to q L^4 / (8 D) at second order, flat across the tip.
TEST(ConservativeForm, CantileverWithFreeCornersBendsAsABeam) {
  const CantileverTip coarse = cantileverTip(11, false), fine = cantileverTip(21, false),
                      finest = cantileverTip(41, false), coupled = cantileverTip(21, true);
  std::printf(
      "cantilever tip / beam - 1: %.3e %.3e %.3e on 11, 21, 41 points (coupled 21: %.3e);"
      " spread %.1e\n",
      coarse.error, fine.error, finest.error, coupled.error, finest.spread);
  EXPECT_LT(std::abs(fine.error), 5e-3);
  EXPECT_GT(std::log(coarse.error / fine.error) / std::log(2.0), 1.8);
  EXPECT_GT(std::log(fine.error / finest.error) / std::log(2.0), 1.8);
  EXPECT_NEAR(coupled.error, fine.error, 1e-8);
  for (const CantileverTip& t : {coarse, fine, finest, coupled}) EXPECT_LT(t.spread, 1e-8);
}

// A symmetric edge is a line of symmetry: the simply supported 4 x 3 m slab of a section
// with membrane-bending coupling (bars at 0 and 90 degrees, so that it is symmetric about
// the line x = A / 2) on 13 x 7 points, and its half (user layout: SIMPLE on three edges, FS
// on the line of symmetry) on 7 x 7 points, coupled: on the equations on the section forces
// the half gives the whole slab's u, v, w to round-off (the slab slides along the line, u
// alone is held); the specified form holds v at zero there too, and differs.
TEST(ConservativeForm, SymmetricEdgeIsALineOfSymmetry) {
  ConcreteSlabDeck whole;
  whole.solution = "LINEAR";
  whole.coupled = true;
  whole.A = 4000.0, whole.B = 3000.0, whole.NUMA = 13, whole.NUMB = 7;
  whole.bars = {BarLayer{12.0, 150.0, 0.0, 40.0}, BarLayer{10.0, 150.0, 90.0, 50.0}};
  ConcreteSlabDeck half = whole;
  half.A = 2000.0, half.NUMA = 7;
  std::string points = "*BOUNDARY = USER\n";
  for (int I = 1; I <= 7; ++I) points += std::to_string(I) + " 1 SIMPLE 2\n";
  for (int J = 2; J <= 7; ++J) points += "1 " + std::to_string(J) + " SIMPLE 1\n";
  for (int J = 2; J <= 7; ++J) points += "7 " + std::to_string(J) + " SIMPLE 3\n";
  for (int I = 2; I <= 6; ++I) points += std::to_string(I) + " 7 FS 4\n";
  std::string halfText = half.text();
  const std::string library = "*BOUNDARY = LIBRARY\nSIMPLY SUPPORTED\n";
  halfText.replace(halfText.find(library), library.size(), points);
  const std::vector<double> reference = solutionOf(whole.text(), formRequest(true));
  for (bool conservative : {true, false}) {
    const std::vector<double> v = solutionOf(halfText, formRequest(conservative));
    for (std::size_t c = 0; c < 3; ++c) {  // u, v, w; the half's points are the whole's first
      double difference = 0.0, scale = 0.0;
      for (std::size_t k = c; k < v.size(); k += 3) {
        difference = std::max(difference, std::abs(v[k] - reference[k]));
        scale = std::max(scale, std::abs(reference[k]));
      }
      std::printf("symmetric edge, %s form, component %zu: largest difference %.3e of %.3e\n",
                  conservative ? "conservative" : "specified", c, difference, scale);
      if (conservative) {
        EXPECT_LE(difference, 1e-9 * scale);
      } else if (c == 1) {
        EXPECT_GT(difference, 0.1 * scale);
      }
    }
  }
}

}  // namespace
}  // namespace korvant::test
