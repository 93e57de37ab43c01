#include "core/report_notes.hpp"

#include <cctype>
#include <map>

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

bool startsWarning(const std::string& line) {
  return line.rfind("***WARNING", 0) == 0 || line.rfind("*** WARNING", 0) == 0;
}

// A message with every number and every blank run made one mark: messages that differ
// only in their numbers (the point, the identifier) have the same shape. A message of a deck
// line is its own: it is alike only to the same words of the same kind.
std::string shape(const Notice& notice) {
  std::string s = std::to_string(static_cast<int>(notice.kind)) + ":";
  if (notice.deckLine > 0) return s + notice.text;
  bool inNumber = false;
  for (const char c : notice.text) {
    const bool digit = std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' ||
                       c == '+' || (inNumber && (c == 'E' || c == 'e'));
    if (digit || c == ' ') {
      if (!inNumber) s += '#';
      inNumber = true;
    } else {
      s += c;
      inNumber = false;
    }
  }
  return s;
}

std::string consoleLine(const Notice& notice) {
  std::string text;
  if (notice.deckLine > 0) text = "line " + std::to_string(notice.deckLine) + ": ";
  if (notice.kind == NoticeKind::Caution) text += "note: ";
  if (notice.kind == NoticeKind::Advice) text += "check: ";
  if (notice.kind == NoticeKind::Remark) {
    const std::size_t colon = notice.text.find(": ");
    text += "note: " + (colon == std::string::npos ? notice.text : notice.text.substr(colon + 2));
  } else {
    text += notice.text;
  }
  if (!notice.hint.empty()) text += " (" + notice.hint + ")";
  return text;
}

}  // namespace

void ReportNotes::noteMessage(const std::string& line, const std::string& text) {
  const bool error = line.rfind("***ERROR", 0) == 0;
  if (error || startsWarning(line)) {
    notices_.push_back({error ? NoticeKind::Error : NoticeKind::Warning, deckLine_, text, {}});
    inNotice_ = true;
  } else if (inNotice_ && !line.empty() && line[0] == ' ' && !text.empty()) {
    notices_.back().text += " " + text;
  } else {
    inNotice_ = false;
  }
}

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
  noteMessage(line, text);
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

void ReportNotes::notice(NoticeKind kind, const std::string& text, int line) {
  notices_.push_back({kind, line < 0 ? deckLine_ : line, text, {}});
  inNotice_ = false;
}

void ReportNotes::remarkLast() {
  if (!notices_.empty() && notices_.back().kind == NoticeKind::Warning)
    notices_.back().kind = NoticeKind::Remark;
}

void ReportNotes::hint(const std::string& text) {
  if (notices_.empty()) return;
  join(notices_.back().hint, text);
}

int ReportNotes::count(NoticeKind kind) const {
  int n = 0;
  for (const Notice& notice : notices_) n += notice.kind == kind ? 1 : 0;
  return n;
}

std::vector<std::string> consoleNotices(const std::vector<Notice>& notices) {
  std::vector<std::string> lines;
  std::map<std::string, std::size_t> firstOfShape;  // shape -> index into `lines`
  std::vector<int> more;
  for (const Notice& notice : notices) {
    const auto [at, isNew] = firstOfShape.try_emplace(shape(notice), lines.size());
    if (isNew) {
      lines.push_back(consoleLine(notice));
      more.push_back(0);
    } else {
      ++more[at->second];
    }
  }
  for (std::size_t k = 0; k < lines.size(); ++k)
    if (more[k] > 0) lines[k] += " and " + std::to_string(more[k]) + " more like it";
  return lines;
}

}  // namespace korvant
