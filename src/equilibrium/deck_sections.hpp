// The one place where the equilibrium analysis reads the deck: the layers of a zone, from
// the real-valued tables of materials and layers, as plain SectionLayers.
#pragma once

#include <vector>

#include "core/model_deck.hpp"
#include "equilibrium/layer_secant.hpp"

namespace korvant::equilibrium {

// The width of the band over which concrete crushes: the grid's spacing, where a hinge's
// rotation concentrates, as the square root of a cell's area (the element size of a crack
// band in two dimensions, Rots et al. 1985); 0 on a grid of one point in a direction.
double crushingBand(const ModelDeck& model);

// What the command line adds to the deck's materials: the steel's hardening ratio and the
// deck's unit of stress in MPa (ConcreteLaw::MPa).
struct LayerOptions {
  double hardening = 0.0;
  double MPa = 1.0;
};

// The layers of zone row `zone`, lower face first: concrete E, MU, XT, XC; steel E, Y with
// the hardening ratio of `o`; crushing over the band crushingBand; bars smeared at the area pi
// BARDIA^2 / 4 / SPACING per unit width. A layer whose identifier or materials are not in the
// tables is left out (the input checks have refused such a deck). Each concrete layer is cut into
// equal slices no thicker than the section's depth over kSlicesThroughDepth (throughThickness),
// each slice remembering the deck layer it came from.
std::vector<SectionLayer> zoneLayers(const ModelDeck& model, int zone, const LayerOptions& o);

// The slices of the concrete layers: a layer is taken at its centre strain, so a thick layer
// cracks late and crushes all at once. Layered sections of reinforced concrete slabs are
// integrated with 10 to 20 concrete layers or more (Hand, Pecknold & Schnobrich 1973,
// "Nonlinear layered analysis of RC plates and shells", J. Struct. Div. ASCE 99(7)); with
// 30 through the depth the first crack comes within 2 % of XT h^2 / 6 and the compression
// zone of an under-reinforced section at its ultimate (about a tenth of the depth) spans
// three slices, so that it crushes slice by slice as its neutral axis moves down.
inline constexpr int kSlicesThroughDepth = 30;
std::vector<SectionLayer> throughThickness(const std::vector<SectionLayer>& layers);

}  // namespace korvant::equilibrium
