// The section forces, bar stresses and crack maps of whole runs against plate theory, a hand
// calculation of the cracked section and the symmetry of the slab.
#include <gtest/gtest.h>

#include <cmath>

#include "output/solution_results.hpp"
#include "support/in_process_run.hpp"
#include "support/slab_decks.hpp"

namespace korvant {
namespace {

using test::ConcreteSlabDeck;

SolutionResults resultsOf(const test::InProcessRun& r) {
  const WorkingFiles& f = r.run.files;
  return solutionResults(r.run.model, {f.currentLayers, f.layerResults, f.layerState});
}

const PointResults& at(const SolutionResults& r, int I, int J) {
  return r.points[static_cast<std::size_t>(pointRecord(I, J, r.grid.NUMB) - 1)];
}

// A linear concrete square, 4 m, 200 mm deep in eight layers, nu = 0.3, q = 0.01 MPa.
ConcreteSlabDeck elasticSquare(const std::string& layout, int N) {
  ConcreteSlabDeck d;
  d.solution = "LINEAR";
  d.layout = layout;
  d.nu = 0.3;
  d.concreteLayers = 8;
  d.NUMA = d.NUMB = N;
  return d;
}

// Timoshenko and Woinowsky-Krieger, Theory of Plates and Shells, 1959, tables 8 and 35
// (nu = 0.3): the simply supported square carries 0.0479 q a^2 at its centre, the clamped
// one -0.0513 q a^2 at the middle of its edges. The recovery gives no curvature at a support
// point, so the edge moment is extrapolated from the three points inside it (quadratically).
// Both forms of the difference equations, the specified and the conservative one.
TEST(SolutionResults, MomentsOfSquarePlatesApproachPlateTheory) {
  struct Case {
    const char* layout;
    double coefficient;
    bool edge;
  };
  for (const bool conservative : {false, true})
    for (const Case& c :
         {Case{"SIMPLY SUPPORTED", 0.0479, false}, Case{"CLAMPED", -0.0513, true}}) {
      std::vector<double> error;
      for (int N : {11, 21}) {
        const ConcreteSlabDeck d = elasticSquare(c.layout, N);
        JobRequest request;
        request.conservative = conservative;
        const auto r = test::runInProcess(d.text(), request);
        const SolutionResults s = resultsOf(*r);
        const int mid = (N + 1) / 2;
        const double qa2 = d.pressure * d.A * d.A;
        const double m = c.edge ? 3 * at(s, mid, 2).forces.mxx - 3 * at(s, mid, 3).forces.mxx +
                                      at(s, mid, 4).forces.mxx
                                : at(s, mid, mid).forces.mxx;
        SCOPED_TRACE(testing::Message() << c.layout << (conservative ? " conservative" : "")
                                        << " N = " << N << ": " << m / qa2);
        EXPECT_NEAR(at(s, mid, mid).forces.mxx, at(s, mid, mid).forces.myy, 1e-9 * qa2);
        error.push_back(std::abs(m / qa2 - c.coefficient) / std::abs(c.coefficient));
      }
      EXPECT_LT(error[1], error[0]) << c.layout;
      EXPECT_LT(error[1], c.edge ? 0.10 : 0.02) << c.layout;
    }
}

// A one-way strip, SFSF (simply supported at y = 0 and y = B, free along x), 200 mm deep in
// 16 concrete layers with 12 mm bars at 150 mm along y 30 mm above the lower face, cracked
// under q = 0.02 MPa; a failed concrete layer keeps 30 MPa, a thousandth of its modulus (no
// tension stiffening worth the name); the bars stay elastic (cracking stage only).
// Statics: across the width the mid-span moment is q B^2 / 8 = 40000 N mm/mm.
// Cracked elastic section: n = 200000 / 30000, As = pi 144 / 4 / 150 = 0.75398, d = 170,
// x = d (-n rho + sqrt((n rho)^2 + 2 n rho)) with rho = As / d, z = d - x / 3. The supports
// hold the strip's ends in its plane, so the section carries a membrane tension N at
// mid-depth beside its moment M about mid-depth: the bars take T = (M + N (h/2 - x/3)) / z
// (moments about the concrete's resultant), sigma_s = T / As.
TEST(SolutionResults, BarStressOfACrackedStripMatchesTheCrackedSection) {
  ConcreteSlabDeck d;
  d.layout = "SFSF";
  d.NUMA = 5;
  d.NUMB = 21;
  d.concreteLayers = 16;
  d.coupled = true;
  d.bars = {test::BarLayer{12.0, 150.0, 90.0, 170.0}};
  d.pressure = 0.02;
  const auto r = test::runInProcess(d.text());
  const SolutionResults s = resultsOf(*r);
  double mean = 0.0;  // trapezoidal over the width
  for (int J = 1; J <= d.NUMA; ++J)
    mean += at(s, 11, J).forces.myy * (J == 1 || J == d.NUMA ? 0.5 : 1.0) / (d.NUMA - 1);
  const double m = d.pressure * d.B * d.B / 8.0;
  EXPECT_NEAR(mean, m, 0.05 * m);
  const double As = std::acos(-1.0) * 144.0 / 4.0 / 150.0, dd = 170.0, n = 200000.0 / 30000.0;
  const double nrho = n * As / dd;
  const double x = dd * (-nrho + std::sqrt(nrho * nrho + 2.0 * nrho));
  for (int J = 2; J < d.NUMA; ++J) {
    const PointResults& p = at(s, 11, J);
    const double sigma = (p.forces.myy + p.forces.nyy * (100.0 - x / 3.0)) / (dd - x / 3.0) / As;
    ASSERT_EQ(p.bars.size(), 1u);
    EXPECT_NEAR(p.bars[0].stress, sigma, 0.10 * sigma) << "hand " << sigma;
    EXPECT_NEAR(p.bars[0].utilisation, p.bars[0].stress / 500.0, 1e-12);
    EXPECT_FALSE(p.bars[0].yielded);
    EXPECT_GT(p.cracks.lower, 0.5);
    EXPECT_GT(p.widthLower, 0.0);
  }
}

// The crack maps of a symmetric square are symmetric; the simply supported slab cracks
// first from its lower face at the centre, the clamped one from its upper face at the
// middle of its edges.
TEST(SolutionResults, CrackMapsAreSymmetricAndStartWhereTheMomentPeaks) {
  // Cracking moment f_t h^2 / 6 = 20000 N mm/mm: the simply supported square (11 x 11)
  // cracks at its centre from q = 0.028 MPa (0.0442 q a^2, nu = 0.2), the clamped one
  // (21 x 21) 200 mm inside its edges from about 0.046 MPa and at its centre only from about
  // 0.08 MPa (0.0226 q a^2 at the centre of the layer 90 mm below the mid-depth).
  struct Case {
    const char* layout;
    double pressure;
    int N;
  };
  for (const Case& c : {Case{"SIMPLY SUPPORTED", 0.035, 11}, Case{"CLAMPED", 0.05, 21}}) {
    SCOPED_TRACE(c.layout);
    ConcreteSlabDeck d;
    d.layout = c.layout;
    d.NUMA = d.NUMB = c.N;
    d.concreteLayers = 10;
    d.pressure = c.pressure;
    d.NITCRK = 2;  // the cracks of the first test and one more
    const auto r = test::runInProcess(d.text());
    const SolutionResults s = resultsOf(*r);
    const int N = d.NUMA;
    double lower = 0.0, upper = 0.0;
    for (int I = 1; I <= N; ++I)
      for (int J = 1; J <= N; ++J) {
        const CrackDepths& k = at(s, I, J).cracks;
        for (const auto& [i, j] : {std::pair{N + 1 - I, J}, {I, N + 1 - J}, {J, I}}) {
          EXPECT_EQ(k.lower, at(s, i, j).cracks.lower) << I << ", " << J;
          EXPECT_EQ(k.upper, at(s, i, j).cracks.upper) << I << ", " << J;
        }
        lower = std::max(lower, k.lower);
        upper = std::max(upper, k.upper);
      }
    const int mid = (N + 1) / 2;
    if (std::string(c.layout) == "CLAMPED") {
      EXPECT_GT(upper, 0.0);
      EXPECT_EQ(at(s, mid, 2).cracks.upper, upper);
      EXPECT_EQ(at(s, mid, mid).cracks.upper, 0.0);
    } else {
      EXPECT_GT(lower, 0.0);
      EXPECT_EQ(at(s, mid, mid).cracks.lower, lower);
    }
  }
}

}  // namespace
}  // namespace korvant
