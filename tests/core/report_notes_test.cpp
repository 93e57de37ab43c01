// The notes a report's writer keeps of what it writes: the error messages with their indented
// continuation lines, the last error line, and the framed block before the fatal-error line.
#include "core/report_notes.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/writer.hpp"

namespace korvant {
namespace {

ReportNotes notesOf(const std::vector<std::string>& lines) {
  ReportNotes notes;
  std::ostringstream report;
  Writer out(report, notes);
  Writer mirrored = out.mirroredTo(report, false);  // a writer made from it notes too
  for (const std::string& line : lines) mirrored.line(line);
  return notes;
}

TEST(ReportNotes, JoinsEachErrorWithItsIndentedLines) {
  const ReportNotes notes =
      notesOf({"***ERROR: NUMA (    2) MUST BE INPUT AS 3 OR MORE", "          FOR THIS SLAB", "",
               "  ***ERROR: INDENTED", "***ERROR: SECOND", "NOT GOING ON", "          NOR THIS"});
  EXPECT_EQ(
      notes.errorMessages(),
      (std::vector<std::string>{"***ERROR: NUMA (    2) MUST BE INPUT AS 3 OR MORE FOR THIS SLAB",
                                "***ERROR: SECOND"}));
  EXPECT_EQ(notes.lastError(), "***ERROR: SECOND");
  EXPECT_EQ(notes.fatalMessage(), "");
}

TEST(ReportNotes, TheFatalMessageIsTheBlockBeforeTheLastFatalLineWithoutItsFrame) {
  const std::string fatal = "          @@@ PROGRAM TERMINATING DUE TO FATAL RUN-TIME ERRORS @@@";
  struct Case {
    const char* what;
    std::vector<std::string> lines;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"after blank lines",
       {"***ERROR: FIRST", "", "###  SINGULAR  ###", "  MATRIX   ", "", "", fatal},
       "SINGULAR MATRIX"},
      {"right before it", {"@@@@@@", "@@@ ONE @@@", fatal}, "ONE"},
      {"the last fatal line", {"A", "", fatal, "", "B", "", fatal}, "B"},
      {"nothing before it", {"", fatal}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(notesOf(c.lines).fatalMessage(), c.message) << c.what;
}

}  // namespace
}  // namespace korvant
