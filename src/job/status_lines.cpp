#include "job/status_lines.hpp"

#include <string>

#include "core/codes.hpp"
#include "core/program_banner.hpp"
#include "job/stage_names.hpp"

namespace korvant {
namespace {

using fmt::X;

// The framed banner "S O L U T I O N  S T A T U S  F O R" the procedure, `width` wide.
void writeStatusBanner(Writer& console, int width, const char* forLine, const char* procedureLine) {
  const std::string row(static_cast<std::size_t>(width), '@');
  console.blank(3);
  console.line(X(15), row);
  console.line(X(15), "@@@", X(width - 6), "@@@");
  console.line(X(15), forLine);
  console.line(X(15), "@@@", X(width - 6), "@@@");
  console.line(X(15), procedureLine);
  console.line(X(15), "@@@", X(width - 6), "@@@");
  console.line(X(15), row);
  console.blank(3);
}

void writeBanners(SolutionProcedure SOLPROC, Writer& console) {
  console.blank(3);
  writeProgramBanner(console);
  console.blank(2);
  if (SOLPROC == SolutionProcedure::LINEAR) {
    writeStatusBanner(console, 44, "@@@ S O L U T I O N  S T A T U S  F O R  @@@",
                      "@@@     L I N E A R  A N A L Y S I S     @@@");
  } else {
    writeStatusBanner(console, 46, "@@@  S O L U T I O N  S T A T U S  F O R   @@@",
                      "@@@   N O N L I N E A R  A N A L Y S I S   @@@");
  }
}

// The text of the stage line, or nullptr for a stage that has none.
const char* stageText(SolutionProcedure SOLPROC, SolutionStage STAGE) {
  if (SOLPROC == SolutionProcedure::LINEAR) return "* BEGINNING ELASTIC SOLUTION";
  return stageNames(STAGE).statusLine;
}

}  // namespace

void PRSTAT(SolutionProcedure SOLPROC, SolutionStage STAGE, bool& bannersWritten, Writer& console) {
  if (!bannersWritten) {
    writeBanners(SOLPROC, console);
    bannersWritten = true;
  }
  if (const char* text = stageText(SOLPROC, STAGE)) {
    console.blank();
    console.line(X(10), text);
  }
  console.flush();
}

}  // namespace korvant
