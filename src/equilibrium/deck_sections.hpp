// The one place where the equilibrium analysis reads the deck: the layers of a zone, from
// the real-valued tables of materials and layers, as plain SectionLayers.
#pragma once

#include <vector>

#include "core/model_deck.hpp"
#include "equilibrium/layer_secant.hpp"

namespace korvant::equilibrium {

// The layers of zone row `zone`, lower face first: concrete E, MU, XT, XC; steel E, Y with
// the hardening ratio `hardening`; bars smeared at the area pi BARDIA^2 / 4 / SPACING per unit
// width. A layer whose identifier or materials are not in the tables is left out (the input
// checks have refused such a deck).
std::vector<SectionLayer> zoneLayers(const ModelDeck& model, int zone, double hardening);

}  // namespace korvant::equilibrium
