#include "equations/conservative_stencils.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "section/layer_table.hpp"

using namespace korvant;

namespace {

LayerRecord ply(double E1, double E2, double MU, double THICK, double THETA) {
  LayerRecord r;
  r.setKind(LayerKind::CONCRETE);
  r(layer_field::E1) = E1;
  r(layer_field::E2) = E2;
  r(layer_field::MU) = MU;
  r(layer_field::THICK) = THICK;
  r(layer_field::THETA) = THETA;
  return r;
}

SectionStiffness sectionOf(const std::vector<LayerRecord>& layers) {
  PointLayerTable table;
  table.layers = layers;
  SectionStiffness abd;
  sectionStiffness(table, NeutralSurface::GEOMETRIC_CENTRE, abd);
  return abd;
}

// A 5 x 4 grid whose every point has the section `abd`.
StiffnessField uniformField(const SectionStiffness& abd) {
  StiffnessField field;
  field.resize(5, 4);
  for (int J = 1; J <= 5; ++J)
    for (int I = 1; I <= 4; ++I) field.at(I, J) = planeStiffness(abd);
  return field;
}

double largest(const Stencil& s) {
  double m = 0.0;
  for (int i = 1; i <= kStencilWidth; ++i)
    for (int j = 1; j <= kStencilWidth; ++j) m = std::max(m, std::abs(s(i, j)));
  return m;
}

}  // namespace

// With the same section at every point the forms are the same operators: every entry of the
// nine stencils equals COMPC's, at an inner point and at a corner (whose neighbours beyond
// the edges take the corner's section), for an isotropic layer, a section with membrane-
// bending coupling and one of angled orthotropic layers (all of A16, B16, D16 present); the
// w-only stencil is the same as the coupled one's.
TEST(Consc, UniformSectionGivesTheStencilsOfCompcTermForTerm) {
  const std::vector<std::vector<LayerRecord>> sections = {
      {ply(30000.0, 30000.0, 0.2, 0.2, 0.0)},
      {ply(30000.0, 30000.0, 0.2, 0.15, 0.0), ply(200000.0, 2000.0, 0.3, 0.002, 0.0)},
      {ply(40000.0, 9000.0, 0.25, 0.05, 30.0), ply(30000.0, 30000.0, 0.15, 0.1, 0.0),
       ply(200000.0, 2000.0, 0.3, 0.003, -45.0)},
  };
  for (std::size_t s = 0; s < sections.size(); ++s) {
    const SectionStiffness abd = sectionOf(sections[s]);
    const StiffnessField field = uniformField(abd);
    for (auto [DX, DY] : {std::pair{0.4, 0.25}, std::pair{0.3, 0.3}}) {
      StencilSet specified, conservative;
      COMPC(abd, DX, DY, specified);
      for (auto [I, J] : {std::pair{2, 3}, std::pair{1, 1}}) {
        CONSC(field, I, J, DX, DY, conservative);
        StencilSet bending;
        CONSC(field, I, J, DX, DY, bending, false);
        for (int m = 1; m <= kStencilWidth; ++m)
          for (int n = 1; n <= kStencilWidth; ++n)
            EXPECT_EQ(bending(stencil::W_ON_W)(m, n), conservative(stencil::W_ON_W)(m, n));
        for (int k = 1; k <= stencil::COUNT; ++k) {
          const double scale = std::max(largest(specified(k)), 1e-300);
          for (int m = 1; m <= kStencilWidth; ++m)
            for (int n = 1; n <= kStencilWidth; ++n)
              EXPECT_NEAR(conservative(k)(m, n), specified(k)(m, n), 1e-12 * scale)
                  << "section " << s << " stencil " << k << " at " << m << "," << n;
        }
      }
    }
  }
}

// Where the stiffness varies from point to point, the stencils stay within the positions the
// sparse store keeps for them: the coupling stencils reach their centre as well, nothing
// reaches the corners of the bending stencil.
TEST(Consc, VaryingStiffnessStaysWithinTheReachOfTheForm) {
  const SectionStiffness abd =
      sectionOf({ply(40000.0, 9000.0, 0.25, 0.05, 30.0), ply(200000.0, 2000.0, 0.3, 0.003, -45.0)});
  StiffnessField field;
  field.resize(5, 5);
  for (int J = 1; J <= 5; ++J) {
    for (int I = 1; I <= 5; ++I) {
      PlaneStiffness s = planeStiffness(abd);
      for (double& v : s.S) v *= 1.0 + 0.13 * I + 0.31 * J * J;
      field.at(I, J) = s;
    }
  }
  StencilSet C;
  CONSC(field, 3, 3, 0.4, 0.25, C);
  for (int k = 1; k <= stencil::COUNT; ++k) {
    for (int m = 1; m <= kStencilWidth; ++m)
      for (int n = 1; n <= kStencilWidth; ++n)
        EXPECT_EQ(C(k)(m, n) != 0.0, conservativeReaches(k, m, n)) << k << ": " << m << "," << n;
  }
}
