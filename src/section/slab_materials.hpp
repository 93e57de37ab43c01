// SLBMAT: gives every difference point its zone and its table of layer records, and
// writes the initial and current layer tables and the zero layer state of every point.
#pragma once

#include "core/model_deck.hpp"
#include "core/record_store.hpp"
#include "core/writer.hpp"

namespace korvant {

// The steel area per unit width of bars of diameter BARDIA at SPACING: pi BARDIA^2 / 4 /
// SPACING, 0 without a spacing.
double barAreaPerWidth(double BARDIA, double SPACING);

// Writes units 21, 20 and 35 for every point of the NUMA x NUMB grid of `model`. Errors
// (undefined zones, missing materials, oversized bars) are reported and added to `nerr`.
// Returns CTOT, the number of concrete-bearing layers placed over all points.
int SLBMAT(const ModelDeck& model, WorkingFiles& files, Writer& report, int& nerr);

}  // namespace korvant
