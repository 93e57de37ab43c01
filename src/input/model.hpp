// MODEL: reads the whole input deck into the model and checks it. What follows it (the
// echo, the zone layout, the layer tables of the points, the damage-law working file) is the
// run's set-up (job/model_setup.hpp).
#pragma once

#include "core/model_deck.hpp"
#include "core/writer.hpp"
#include "input/deck_reader.hpp"
#include "input/validation.hpp"

namespace korvant {

// Reads statements up to the end statement and runs the checks that follow it, their
// messages into the report. Returns the fatal input errors counted and whether the grid may
// be set up. Throws DeckError when the deck ends early or a number cannot be read.
ModelCheck MODEL(DeckReader& deck, ModelDeck& model, const Capacities& cap, Writer& report);

// The statement loop of MODEL on its own: reads statements into `model` as it stands, up to
// and including the end statement, and returns the fatal errors counted while reading.
// Throws DeckError like MODEL.
int readStatements(DeckReader& deck, ModelDeck& model, const Capacities& cap, Writer& report);

// Multiplies every pressure of the model's load rows by `multiplier`: the same slab under a
// proportionally larger or smaller load. The default pressure is a load row once checked.
void scalePressures(ModelDeck& model, double multiplier);

// The pressure of largest magnitude among the load rows, signed; 0 without any.
double largestPressure(const ModelDeck& model);

}  // namespace korvant
