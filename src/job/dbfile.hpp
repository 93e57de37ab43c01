// The files of a run: the console dialogue that names the job, the opening of the report,
// plot and working files, the initial per-point result records, and the closing lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/record_store.hpp"
#include "core/writer.hpp"
#include "job/run_context.hpp"

namespace korvant {

// Longest job text that is read; a longer one is refused unless all it loses is blanks.
inline constexpr std::size_t kJobTextWidth = 80;

// The base name of a job text: its characters in order with every blank dropped, up to
// (not including) the first full stop. A name longer than 15 characters is kept whole.
std::string baseName(std::string_view jobText);
JobNames deriveNames(std::string_view jobText);

// The overwrite answer: the first y/Y or n/N of the line decides, wherever it stands;
// a line with neither (an empty one too) accepts.
bool overwriteAccepted(std::string_view answer);

// The two calls of DBFILE, by the number each has always been called with.
enum class DbfileMode : int {
  JOB_START = 1,    // before the deck is read
  AFTER_INPUT = 0,  // after the deck has been read and checked
};

// DBFILE: mode JOB_START, before the deck is read, asks for the job at the console (or takes
// it from the request), checks the deck and the report, and opens the report, the zone
// layout plot and the working files 20 to 35; a missing deck, a job text longer than
// kJobTextWidth or a refused overwrite (the end of the keyboard input refuses) writes the
// termination banner, opens nothing and raises `nerr`; a deck that is not a regular file
// throws DeckError before anything is opened. Mode AFTER_INPUT, after the deck has been
// read, opens the working files 70 and 71 and, with GRAPHICS on, the dataset files; a file
// that cannot be opened is reported and raises `nerr`.
void DBFILE(RunContext& run, DbfileMode mode, int& nerr);

// DBINIT: writes, for every point of the NUMA x NUMB grid, record n of unit 70 as 12
// zeros and record n of unit 71 as one zero, so that every point can be read back.
void DBINIT(int NUMA, int NUMB, RecordStore& fibreResults, RecordStore& failureRatio);

// PRNTT: the closing banner, to the report and, with STATUS on, to the console.
void PRNTT(Writer& report, std::ostream& console, bool STATUS);

// Flushes and closes every open file of the job that the user reads (the report, the zone
// layout plot, the graphics files) and returns the names of those that could not be
// written completely (a full disc, a device that refuses): the run must not end as a success.
std::vector<std::string> closeJobFiles(RunContext& run);

// The closing lines of a run that reached the analysis: the fatal-error line when the
// fatal flag is raised, then the closing banner.
void writeClosingLines(RunContext& run);

}  // namespace korvant
