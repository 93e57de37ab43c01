// The checks and derived quantities that follow the end statement: capacity and
// consistency checks, default loads and the storage-mode reset; then, after the echo, the
// column of a column layout, and the termination lines of a deck with fatal errors.
#pragma once

#include "core/model_deck.hpp"
#include "core/writer.hpp"

namespace korvant {

// What the checks found: the fatal input errors counted so far, and whether the grid may be
// set up (one refused by the storage checks, or of fewer than 3 lines, is not: its points
// could exhaust memory, or lie nowhere).
struct ModelCheck {
  int errors = 0;
  bool gridAccepted = false;
};

// Runs every check in order on the model read so far, starting from `nerr` errors found
// while reading, their messages into the report.
ModelCheck validateModel(ModelDeck& model, const Capacities& cap, Writer& report, int nerr);

// After the echo: the column of the column layouts, from the grid (the effective quarter
// column, and the odd grid the 9-column layout needs, counted into `nerr`). The column
// values of the deck give way to 1.
void checkColumnGrid(ModelDeck& model, Writer& report, int& nerr);

// The lines that end the report of a deck with `nerr` fatal input errors.
void writeInputTermination(int nerr, Writer& report);

// Warns when the reduction equation with coefficients a, b, c, d gives a negative factor,
// or one above unity, at stress ratio 2 or 3. Called by the damage-law statement right
// after the coefficients are read; a warning only.
void checkReductionFactors(double a, double b, double c, double d, Writer& report);

}  // namespace korvant
