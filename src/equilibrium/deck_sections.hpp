// The one place where the equilibrium analysis reads the deck: the layers of a zone, from
// the real-valued tables of materials and layers, as plain SectionLayers.
#pragma once

#include <vector>

#include "core/model_deck.hpp"
#include "equilibrium/layer_secant.hpp"
#include "section/layer_table.hpp"

namespace korvant::equilibrium {

// The layers of a point of zone row `zone`, lower face first: concrete E, MU, XT, XC; steel E,
// Y with the hardening ratio `hardening`; bars of area pi BARDIA^2 / 4 / SPACING per unit
// width; and the moduli of the point's initial layer table `initial` (unit 21, which the
// layer set-up built from the same zone, layer for layer). A layer whose identifier or
// materials are not in the tables is left out (the input checks have refused such a deck).
std::vector<SectionLayer> pointLayers(const ModelDeck& model, int zone,
                                      const PointLayerTable& initial, double hardening);

}  // namespace korvant::equilibrium
