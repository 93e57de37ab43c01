// The set-up that follows MODEL, before the analysis: the echo of the model (INPRT), the
// column of a column layout, the zone layout file (ZPLOT), the layer table of every
// difference point (SLBMAT), the damage-law working file and, when fatal input errors were
// counted, the termination lines.
#pragma once

#include "core/model_deck.hpp"
#include "core/record_store.hpp"
#include "core/writer.hpp"
#include "input/deck_reader.hpp"
#include "input/validation.hpp"

namespace korvant {

// Sets up the model that MODEL read and checked into `check`. Returns the fatal input errors
// in all; when above zero the termination lines are in the report and the run stops without
// analysis. `CTOT` receives the number of concrete-bearing layers over all points (0 for a
// grid that is not set up).
int setUpModel(ModelDeck& model, const Capacities& cap, const ModelCheck& check, Writer& report,
               Writer& zoneFile, WorkingFiles& files, int& CTOT);

// MODEL and the set-up, as a run makes them: returns the fatal input errors in all. Throws
// DeckError when the deck cannot be read on. With `strict` every warning of the input (and
// every console note of a deck read perhaps not as meant) is one more input error.
int readAndSetUp(DeckReader& deck, ModelDeck& model, const Capacities& cap, Writer& report,
                 Writer& zoneFile, WorkingFiles& files, int& CTOT, bool strict = false);

}  // namespace korvant
