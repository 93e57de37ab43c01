// MODEL: reads the whole input deck into the model, then checks it, echoes it, writes the
// zone layout file, the per-point layer tables and the damage-law working file.
#pragma once

#include "input/deck_reader.hpp"
#include "core/model_deck.hpp"
#include "core/record_store.hpp"
#include "core/writer.hpp"

namespace korvant {

// Reads statements up to the end statement and runs the checks that follow it. Returns the
// fatal input error count; when it is above zero the termination lines are already in the
// report and the job must stop without analysis. `CTOT` receives the number of
// concrete-bearing layers over all points. Throws DeckError when the deck ends early or a
// number cannot be read.
int MODEL(DeckReader& deck, ModelDeck& model, const Capacities& cap, Writer& report,
          Writer& zoneFile, WorkingFiles& files, int& CTOT);

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
