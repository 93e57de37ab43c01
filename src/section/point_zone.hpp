// The zone of a point of the slab: the first row of the zone table whose rectangle, widened
// by the overlap factor, holds the point.
#pragma once

#include "core/model_deck.hpp"

namespace korvant {

// Row (1..NZONE) of the first zone whose rectangle, its widths multiplied by OVERLAP about
// its centre (XO, YO), holds the point (x, y), all four bounds inclusive; 0 when none does.
int zoneRowOfPoint(const ModelDeck& model, double x, double y);

}  // namespace korvant
