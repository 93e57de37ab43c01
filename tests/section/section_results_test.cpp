// The engineer's results of one section against hand calculations: Mohr's circle of the
// moments, the crack width of EN 1992-1-1 7.3.4 worked by hand, and the crack depth read
// from the layer states.
#include <gtest/gtest.h>

#include <cmath>

#include "section/section_results.hpp"

namespace korvant {
namespace {

TEST(SectionResults, PrincipalMomentsFollowMohrsCircle) {
  struct Case {
    SectionForces f;
    double m1, m2, angle;
  };
  // Pure twist mxy = 10 is +-10 at 45 degrees; mxx = 30, myy = 10, mxy = 10: centre 20,
  // radius sqrt(10^2 + 10^2), 2 theta = 45 degrees.
  for (const Case& c :
       {Case{{0, 0, 0, 0, 0, 10}, 10, -10, 45},
        Case{{0, 0, 0, 30, 10, 10}, 20 + std::sqrt(200.0), 20 - std::sqrt(200.0), 22.5},
        Case{{0, 0, 0, -5, 7, 0}, 7, -5, 90}}) {
    const PrincipalMoments p = principalMoments(c.f);
    EXPECT_NEAR(p.m1, c.m1, 1e-12);
    EXPECT_NEAR(p.m2, c.m2, 1e-12);
    EXPECT_NEAR(p.angle, c.angle, 1e-12);
  }
}

// One point worked by hand, N and mm: h = 200, 12 mm bars at 150 mm, centre 40 mm above the
// tension face (cover 34), cracked 120 mm deep (x = 80), sigma_s = 250 MPa, Es = 200000,
// Ecm = 30000, f_ct,eff = 2.9.
//   As = pi 144 / 4 / 150 = 0.753982 mm2/mm; h_c,eff = min(2.5 x 40, 120 / 3, 100) = 40;
//   rho = 0.0188496; alpha_e = 6.6667;
//   eps = [250 - 0.4 x 2.9 / 0.0188496 x (1 + 6.6667 x 0.0188496)] / 200000
//       = [250 - 61.539 x 1.125664] / 200000 = 180.727 / 200000 = 9.0364e-4 (> 0.6 x 250 / Es);
//   s_r,max = 3.4 x 34 + 0.8 x 0.5 x 0.425 x 12 / 0.0188496 = 115.6 + 108.225 = 223.825;
//   w_k = 223.825 x 9.0364e-4 = 0.20226 mm.
TEST(SectionResults, CrackWidthOfEurocodeTwoByHand) {
  CrackWidthInputs in{200.0, 40.0, 120.0, 12.0, 150.0, 250.0, 200000.0, 30000.0, 2.9};
  const CrackWidth w = crackWidthEC2(in);
  EXPECT_NEAR(w.rhoEff, 0.0188496, 1e-6);
  EXPECT_NEAR(w.srMax, 223.825, 1e-2);
  EXPECT_NEAR(w.strain, 9.0364e-4, 1e-7);
  EXPECT_NEAR(w.wk, 0.20226, 2e-4);
  // Low stress: the floor 0.6 sigma_s / Es governs (sigma_s = 80: 80 - 69.27 < 0.6 x 80).
  in.sigmaS = 80.0;
  EXPECT_NEAR(crackWidthEC2(in).strain, 0.6 * 80.0 / 200000.0, 1e-12);
  // Bars wider apart than 5 (c + phi / 2) = 200: s_r,max = 1.3 (h - x) = 156.
  in.spacing = 250.0;
  EXPECT_NEAR(crackWidthEC2(in).srMax, 156.0, 1e-9);
  in.sigmaS = -10.0;  // bars in compression: no crack width
  EXPECT_EQ(crackWidthEC2(in).wk, 0.0);
}

LayerRecord concrete(double thick) {
  LayerRecord r;
  r.setKind(LayerKind::CONCRETE);
  r(layer_field::THICK) = thick;
  r(layer_field::E1) = r(layer_field::E2) = 30000.0;
  return r;
}

// Four 50 mm concrete layers with a bar layer over the lowest: the two lowest concrete
// layers failed and stretched, the upper one failed but compressed (crushed, not a crack).
TEST(SectionResults, CrackDepthCountsFailedStretchedConcreteFromEachFace) {
  PointLayerTable table;
  LayerRecord bars;
  bars.setKind(LayerKind::STEEL);
  bars(layer_field::THICK) = 1.0;
  table.layers = {concrete(50), bars, concrete(50), concrete(49), concrete(50)};
  LayerResults results;
  LayerState state;
  const double strain[] = {2e-3, 1.5e-3, 1e-3, -1e-4, -1e-3};
  const double failed[] = {1.2, 0.0, 1.1, 0.0, 1.5};
  for (int k = 0; k < 5; ++k) {
    LayerResult r;
    r(result_field::EXX) = strain[k];
    results.layers.push_back(r);
    LayerFailure f;
    f(failure_index::FICT) = failed[k];
    state.layers.push_back(f);
  }
  const CrackDepths d = crackDepths(table, results, state);
  EXPECT_NEAR(d.lower, 101.0 / 200.0, 1e-12);
  EXPECT_EQ(d.upper, 0.0);
}

}  // namespace
}  // namespace korvant
