// The normal (lateral) pressure at a difference point for one load number, from the load
// table of the model.
#pragma once

#include "core/model_deck.hpp"
#include "core/writer.hpp"

namespace korvant {

// Pressure returned for a point that no load row reaches.
inline constexpr double kUnassignedPressure = -9999.0;

// PRESSURE: the pressure of load number `loadNumber` at the point (x, y) of the slab.
// Rows of the load table with another load number take no part. A whole-slab row (a
// user-defined load, or a uniform load whose zone column is 0) gives the pressure and ends
// the search; a zone row (dead load, live load, or a uniform row that names a zone) gives
// the pressure when it names the number of the point's zone, a later such row overriding an
// earlier one. A point that no row reaches is reported with its coordinates, adds 1 to
// `errors` and gets kUnassignedPressure.
double PRESSURE(const ModelDeck& model, double x, double y, int loadNumber, Writer& report,
                int& errors);

// UPRESS: sets its eighth and ninth arguments to 0 and copies its sixth into its tenth. It
// belongs to the routine set; no routine of the program calls it.
void UPRESS(double&, double&, double&, double&, double&, double& a6, double&, double& a8,
            double& a9, double& a10);

}  // namespace korvant
