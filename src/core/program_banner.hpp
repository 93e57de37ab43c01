// The framed program banner that opens the report's echo and the console status output.
#pragma once

#include "core/writer.hpp"

namespace korvant {

// Writes the eleven banner lines, each indented by 10 blanks, with no blank lines around
// them: the callers frame it with the blank lines of their own layout.
void writeProgramBanner(Writer& out);

}  // namespace korvant
