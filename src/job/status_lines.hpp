// PRSTAT: the console status lines of the analysis, shown when the STATUS switch is on.
#pragma once

#include "core/codes.hpp"
#include "core/writer.hpp"

namespace korvant {

// Writes the line of solution stage `STAGE` of procedure `SOLPROC` (1 linear, 2 nonlinear)
// to the console. The first call of a run (`bannersWritten` false) writes the program
// banner and the status banner of the procedure before it and sets `bannersWritten`.
void PRSTAT(SolutionProcedure SOLPROC, SolutionStage STAGE, bool& bannersWritten, Writer& console);

}  // namespace korvant
