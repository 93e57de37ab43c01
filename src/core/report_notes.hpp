// What a report has said of errors, noted line by line as the report's writer writes it, so
// that how a run ended can be told without reading the report back: the error messages, the
// last error line, and the message of the last fatal-error line.
//
// Beside them the notes keep every message the user must see on the console as well, each
// with the deck line it was written for: the errors and warnings of the report, and the
// notices that go to the console only (a layout read from words that are not its name, a
// value that is almost certainly in other units). The job writes them to standard error and
// the summary lists them.
#pragma once

#include <string>
#include <vector>

namespace korvant {

enum class NoticeKind {
  Error,    // an "***ERROR" message of the report: an input error or a fatal one
  Warning,  // a "WARNING" message of the report
  Caution,  // console only: the deck was read, but perhaps not as meant (refused by --strict)
  Advice,   // console only: a value that is almost certainly in other units or misplaced
  Remark,   // a "WARNING" of the report that tells of a corrective action on a default: the
            // analysis is the one meant, so --strict does not refuse it
};

struct Notice {
  NoticeKind kind = NoticeKind::Error;
  int deckLine = 0;  // the deck line the message was written for; 0 when it has none
  std::string text;  // the message, its lines joined by one blank
  std::string hint;  // what the console adds to the message (a suggestion); may be empty
};

class ReportNotes {
 public:
  // One line of the report, as written.
  void note(const std::string& line);

  // The deck line that the messages written from now on belong to (0: none).
  void setDeckLine(int line) { deckLine_ = line; }
  int deckLine() const { return deckLine_; }
  // A console-only notice for the current deck line, or for `line` when it is given.
  void notice(NoticeKind kind, const std::string& text, int line = -1);
  // The last notice, a warning of the report, tells of a corrective action: a remark.
  void remarkLast();
  // Adds a suggestion to the last notice, for the console.
  void hint(const std::string& text);

  // Every message that starts a line with "***ERROR", with the indented lines that go on
  // with it joined to it by one blank, each line without its blanks at either end.
  const std::vector<std::string>& errorMessages() const { return messages_; }
  // Every error, warning and console-only notice, in the order written.
  const std::vector<Notice>& notices() const { return notices_; }
  // How many notices of the kind were noted.
  int count(NoticeKind kind) const;
  // The last line that holds "***ERROR", from there on, without trailing blanks; empty when
  // the report has none.
  const std::string& lastError() const { return lastError_; }
  // The block of lines written last before the last "PROGRAM TERMINATING DUE TO FATAL" line
  // (blank lines between skipped), joined without their frames of '#' or '@'; empty when no
  // such line was written.
  const std::string& fatalMessage() const { return fatalMessage_; }

 private:
  void noteMessage(const std::string& line, const std::string& text);

  std::vector<std::string> messages_;
  bool inMessage_ = false;
  std::vector<Notice> notices_;
  bool inNotice_ = false;  // the last line written belongs to the last notice
  int deckLine_ = 0;
  std::string lastError_;
  std::string fatalMessage_;
  std::string block_;          // the lines since the last blank line, unframed and joined
  bool blockOpen_ = false;     // a line that is not blank was written since the last blank one
  std::string previousBlock_;  // the block before that blank line
};

// The notices as the console shows them: one line each, "line N: " before the message where
// it has a deck line, its hint after it; a message met again is shown once with "and N more
// like it": the same words, or, where the message has no deck line (the set-up's messages of
// every grid point), the same words with other numbers.
std::vector<std::string> consoleNotices(const std::vector<Notice>& notices);

}  // namespace korvant
