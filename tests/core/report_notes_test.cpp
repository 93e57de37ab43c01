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

// The console shows each message once with its deck line; the set-up's messages of every
// point (no deck line, other numbers) are counted, the messages of deck lines are not merged.
TEST(ReportNotes, TheConsoleShowsEachMessageOnceWithItsLine) {
  ReportNotes notes;
  notes.setDeckLine(6);
  notes.note("*** WARNING: THE FOLLOWING INPUT LINE IS NOT RECOGNIZED:");
  notes.note(" *SOLUTON");
  notes.hint("did you mean *SOLUTION?");
  notes.setDeckLine(7);
  notes.note("*** WARNING: THE FOLLOWING INPUT LINE IS NOT IN THE PROPER ");
  notes.note(" 0.0");
  notes.setDeckLine(8);
  notes.note("*** WARNING: THE FOLLOWING INPUT LINE IS NOT IN THE PROPER ");
  notes.note(" 1.0");
  notes.setDeckLine(0);
  for (int point = 1; point <= 3; ++point)
    notes.note("***ERROR: ZONE FOR DIFFERENCE POINT" + std::to_string(point) + " IS NOT DEFINED");
  notes.notice(NoticeKind::Advice, "CRKTOL = 5", 9);
  EXPECT_EQ(consoleNotices(notes.notices()),
            (std::vector<std::string>{
                "line 6: *** WARNING: THE FOLLOWING INPUT LINE IS NOT RECOGNIZED: *SOLUTON (did "
                "you mean *SOLUTION?)",
                "line 7: *** WARNING: THE FOLLOWING INPUT LINE IS NOT IN THE PROPER 0.0",
                "line 8: *** WARNING: THE FOLLOWING INPUT LINE IS NOT IN THE PROPER 1.0",
                "***ERROR: ZONE FOR DIFFERENCE POINT1 IS NOT DEFINED and 2 more like it",
                "line 9: check: CRKTOL = 5"}));
  EXPECT_EQ(notes.count(NoticeKind::Warning), 3);
  EXPECT_EQ(notes.count(NoticeKind::Error), 3);
}

}  // namespace
}  // namespace korvant
