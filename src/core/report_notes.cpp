#include "core/report_notes.hpp"

#include "core/text.hpp"

namespace korvant {
namespace {

// A report line without its frame: the runs of '#' or '@' at either end, and the blanks.
std::string unframed(const std::string& line) {
  std::string text = trimmed(line);
  const std::size_t first = text.find_first_not_of("#@");
  if (first == std::string::npos) return {};
  text = text.substr(first, text.find_last_not_of("#@") - first + 1);
  return trimmed(text);
}

void join(std::string& text, const std::string& more) {
  if (more.empty()) return;
  if (!text.empty()) text += ' ';
  text += more;
}

}  // namespace

void ReportNotes::note(const std::string& line) {
  const std::string text = trimmed(line);
  if (line.rfind("***ERROR", 0) == 0) {
    messages_.push_back(text);
    inMessage_ = true;
  } else if (inMessage_ && !line.empty() && line[0] == ' ' && !text.empty()) {
    messages_.back() += " " + text;
  } else {
    inMessage_ = false;
  }
  if (const std::size_t at = line.find("***ERROR"); at != std::string::npos)
    lastError_ = trimRight(line.substr(at));
  if (line.find("PROGRAM TERMINATING DUE TO FATAL") != std::string::npos)
    fatalMessage_ = blockOpen_ ? block_ : previousBlock_;
  if (text.empty()) {
    if (blockOpen_) previousBlock_ = std::move(block_);
    block_.clear();
    blockOpen_ = false;
  } else {
    join(block_, unframed(line));
    blockOpen_ = true;
  }
}

}  // namespace korvant
