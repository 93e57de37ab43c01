// What a report has said of errors, noted line by line as the report's writer writes it, so
// that how a run ended can be told without reading the report back: the error messages, the
// last error line, and the message of the last fatal-error line.
#pragma once

#include <string>
#include <vector>

namespace korvant {

class ReportNotes {
 public:
  // One line of the report, as written.
  void note(const std::string& line);

  // Every message that starts a line with "***ERROR", with the indented lines that go on
  // with it joined to it by one blank, each line without its blanks at either end.
  const std::vector<std::string>& errorMessages() const { return messages_; }
  // The last line that holds "***ERROR", from there on, without trailing blanks; empty when
  // the report has none.
  const std::string& lastError() const { return lastError_; }
  // The block of lines written last before the last "PROGRAM TERMINATING DUE TO FATAL" line
  // (blank lines between skipped), joined without their frames of '#' or '@'; empty when no
  // such line was written.
  const std::string& fatalMessage() const { return fatalMessage_; }

 private:
  std::vector<std::string> messages_;
  bool inMessage_ = false;
  std::string lastError_;
  std::string fatalMessage_;
  std::string block_;          // the lines since the last blank line, unframed and joined
  bool blockOpen_ = false;     // a line that is not blank was written since the last blank one
  std::string previousBlock_;  // the block before that blank line
};

}  // namespace korvant
