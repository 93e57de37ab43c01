// The checks and derived quantities that follow the end statement: capacity and
// consistency checks, default loads, the storage-mode reset, the echo, the zone layout,
// the per-point layer tables, the damage-law working file and the stop on fatal errors.
#pragma once

#include "core/model_deck.hpp"
#include "core/record_store.hpp"
#include "core/writer.hpp"

namespace korvant {

// Runs every check in order on the model read so far, starting from `nerr` errors found
// while reading. Returns the final fatal error count; when it is above zero the
// termination lines have been written to the report. `CTOT` is set by the layer set-up.
int validateModel(ModelDeck& model, const Capacities& cap, Writer& report, Writer& zoneFile,
                  WorkingFiles& files, int nerr, int& CTOT);

// Warns when the reduction equation with coefficients a, b, c, d gives a negative factor,
// or one above unity, at stress ratio 2 or 3. Called by the damage-law statement right
// after the coefficients are read; a warning only.
void checkReductionFactors(double a, double b, double c, double d, Writer& report);

}  // namespace korvant
