// The secant section of a point: the layers' secant stiffnesses integrated through the
// thickness into the membrane (A), coupling (B) and bending (D) matrices of the current
// state, and the section forces they give. The strains of the section are a plane,
//   e(z) = membrane + (z - reference) curvature,
// z the height above the lower face; the forces are per unit width, the moments about the
// reference surface. The stiffness is returned as the section code's SectionStiffness (the
// components xx, yy, xy filled), which the difference equations on the section forces read.
#pragma once

#include <utility>
#include <vector>

#include "equilibrium/layer_secant.hpp"
#include "section/section_stiffness.hpp"

namespace korvant::equilibrium {

// The layers of a point, lower face first, and for each concrete-bearing layer the bars
// whose effective tension area holds it.
struct Section {
  std::vector<SectionLayer> layers;
  double reference = 0.0;  // height of the reference surface above the lower face
  // crossing[k]: (bar layer, ratio of its bars over the effective area) for layer k
  std::vector<std::vector<std::pair<std::size_t, double>>> crossing;
};

// A section of `layers` (their z set from the thicknesses, a layer of no deck layer its own) about
// its mid-depth. The effective tension area of a bar layer is the depth h_c,eff = min(2.5 (h - d),
// (h - x) / 3, h / 2) from its nearer face (EN 1992-1-1, 7.3.2 (3)), x the compression zone of the
// cracked elastic section, fixed for the section rather than taken from each iterate; the concrete
// layers whose centres lie in it take the stiffening of those bars, at the ratio As / h_c,eff.
Section makeSection(std::vector<SectionLayer> layers);

struct StrainPlane {
  Plane3 membrane{};   // exx, eyy, gxy at the reference surface
  Plane3 curvature{};  // the gradients of those strains through the thickness
};

// The strains at the height z (above the lower face) of a section under the plane e.
Plane3 strainAtHeight(const Section& section, const StrainPlane& e, double z);

struct SectionResponse {
  SectionStiffness abd;             // secant A, B, D about the reference surface
  Plane3 N{}, M{};                  // Nxx, Nyy, Nxy and Mxx, Myy, Mxy
  std::vector<LayerMemory> memory;  // the layers' memory once this plane is accepted
  // deck layers in those states, memory included (a layer cut into slices counts once)
  int cracked = 0, crushed = 0, yielded = 0;
};

// The memory of the deck's layers from that of the section's layers (the slices of a deck
// layer, SectionLayer::deckLayer): cracked, crushed or yielded where any slice is, with the
// smallest secants of its slices.
std::vector<LayerMemory> deckLayerMemory(const Section& section,
                                         const std::vector<LayerMemory>& memory);

// The section under the strain plane `e`, from the memory `committed` of the last accepted
// state (one per layer), with the tension stiffening `ts`.
SectionResponse secantSection(const Section& section, const StrainPlane& e,
                              const std::vector<LayerMemory>& committed, TensionStiffening ts);

// The same A and D with no coupling and the bending stiffness with the membrane forces
// condensed out, D - B A^-1 B (a section free of membrane force bends about its own neutral
// surface): the stiffness of a point of a deck solved for w alone.
SectionStiffness uncoupledBending(const SectionStiffness& abd);

// The membrane strains of a section free of membrane force under `curvature`, with the secant
// A and B of `abd`: -A^-1 B curvature. Taken again with the secant state they give, they
// settle on the neutral surface of a cracked section: the layer strains of a point of a deck
// solved for w alone.
Plane3 freeMembraneStrain(const SectionStiffness& abd, const Plane3& curvature);

}  // namespace korvant::equilibrium
