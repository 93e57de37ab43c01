#include "input/deck_reader.hpp"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

namespace korvant {
namespace {

bool isSeparator(char c) {
  return c == ' ' || c == ',';
}

// One free-format item of a line: its text, or a null value (two commas with nothing
// between them), or the end of the list (a slash).
struct Item {
  enum Kind { Value, Null, Slash } kind;
  std::string text;
};

// Splits a line into items. Blanks separate items; a comma ends the current item, and a
// comma that follows another comma (blanks between them allowed) is a null value.
std::vector<Item> splitItems(const std::string& line) {
  std::vector<Item> items;
  std::size_t i = 0;
  bool afterComma = false;  // last separator seen since the last value was a comma
  const std::size_t n = line.size();
  bool lineStart = true;
  while (i < n) {
    char c = line[i];
    if (c == ' ') {
      ++i;
      continue;
    }
    if (c == ',') {
      if (afterComma || lineStart) items.push_back({Item::Null, {}});
      afterComma = true;
      lineStart = false;
      ++i;
      continue;
    }
    if (c == '/') {
      items.push_back({Item::Slash, {}});
      return items;
    }
    std::size_t j = i;
    while (j < n && !isSeparator(line[j]) && line[j] != '/') ++j;
    items.push_back({Item::Value, line.substr(i, j - i)});
    afterComma = false;
    lineStart = false;
    i = j;
  }
  return items;
}

bool parseInt(const std::string& text, int& out) {
  std::size_t k = 0;
  if (k < text.size() && (text[k] == '+' || text[k] == '-')) ++k;
  if (k == text.size()) return false;
  for (std::size_t m = k; m < text.size(); ++m)
    if (text[m] < '0' || text[m] > '9') return false;
  errno = 0;
  long v = std::strtol(text.c_str(), nullptr, 10);
  if (errno == ERANGE || v > 2147483647L || v < -2147483647L - 1) return false;
  out = static_cast<int>(v);
  return true;
}

// A real in Fortran's free form: optional sign, digits with an optional decimal point,
// an optional exponent introduced by E or D (or by a sign alone, as in 1.5+3).
bool parseReal(std::string text, double& out) {
  for (char& c : text)
    if (c == 'd' || c == 'D') c = 'E';
  std::size_t k = 0;
  if (k < text.size() && (text[k] == '+' || text[k] == '-')) ++k;
  std::size_t digits = 0;
  bool point = false;
  for (; k < text.size(); ++k) {
    if (text[k] >= '0' && text[k] <= '9')
      ++digits;
    else if (text[k] == '.' && !point)
      point = true;
    else
      break;
  }
  if (digits == 0) return false;
  if (k < text.size()) {
    std::size_t e = k;
    if (text[e] == 'E' || text[e] == 'e')
      ++e;
    else if (text[e] != '+' && text[e] != '-')
      return false;
    else
      text.insert(e, 1, 'E'), ++e;
    if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
    if (e == text.size()) return false;
    for (; e < text.size(); ++e)
      if (text[e] < '0' || text[e] > '9') return false;
  }
  errno = 0;
  double v = std::strtod(text.c_str(), nullptr);
  if (errno == ERANGE && std::isinf(v)) return false;
  out = v;
  return true;
}

}  // namespace

std::string normaliseLine(std::string raw) {
  if (!raw.empty() && raw.back() == '\r') raw.pop_back();
  for (char& c : raw)
    if (c == '\t') c = ' ';
  raw.resize(kLineWidth, ' ');
  return raw;
}

namespace {
// The first column beyond 80 that holds text, or 0.
int cutColumn(std::string raw) {
  if (!raw.empty() && raw.back() == '\r') raw.pop_back();
  const std::size_t at = raw.find_first_not_of(" \t", kLineWidth);
  return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}
}  // namespace

DeckReader::DeckReader(const std::vector<std::string>& lines) {
  lines_.reserve(lines.size());
  for (const auto& l : lines) {
    lines_.push_back(normaliseLine(l));
    cutColumn_.push_back(cutColumn(l));
  }
}

std::vector<DeckReader::CutText> DeckReader::cutText() const {
  std::vector<CutText> cut;
  for (std::size_t k = 0; k < furthest_; ++k)
    if (cutColumn_[k] > 0 && lines_[k][1] != '*')
      cut.push_back({static_cast<int>(k) + 1, cutColumn_[k]});
  return cut;
}

DeckReader DeckReader::fromText(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string l;
  while (std::getline(in, l)) lines.push_back(l);
  return DeckReader(lines);
}

void DeckReader::requireRegularFile(const std::filesystem::path& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_type type = fs::status(path, ec).type();
  if (ec || type == fs::file_type::regular) return;  // an unreadable deck is told on opening
  const char* kind = type == fs::file_type::directory ? "A DIRECTORY"
                     : type == fs::file_type::fifo    ? "A FIFO (NAMED PIPE)"
                     : type == fs::file_type::socket  ? "A SOCKET"
                     : type == fs::file_type::character || type == fs::file_type::block
                         ? "A DEVICE"
                         : "A SPECIAL FILE";
  throw DeckError("THE INPUT DECK " + path.string() + " IS " + kind + ", NOT A FILE", 0, "");
}

DeckReader DeckReader::fromFile(const std::filesystem::path& path) {
  requireRegularFile(path);
  std::ifstream in(path, std::ios::binary);
  if (!in)
    throw DeckError("THE INPUT DECK " + path.string() + " CANNOT BE OPENED FOR READING", 0, "");
  std::vector<std::string> lines;
  std::string l;
  while (std::getline(in, l)) lines.push_back(l);
  if (in.bad()) throw DeckError("THE INPUT DECK " + path.string() + " CANNOT BE READ", 0, "");
  return DeckReader(lines);
}

const std::string& DeckReader::readLine(const std::string& expected) {
  if (next_ >= lines_.size())
    throw DeckError("END OF INPUT DECK REACHED WHILE READING " + expected, static_cast<int>(next_),
                    next_ > 0 ? lines_[next_ - 1] : std::string());
  furthest_ = std::max(furthest_, next_ + 1);
  return lines_[next_++];
}

std::string DeckReader::peekColumns(const std::string& expected) {
  const std::string& l = readLine(expected);
  stepBack();
  return l.substr(0, 2);
}

void DeckReader::stepBack() {
  if (next_ > 0) --next_;
  if (!unread_.empty() && unread_.back().line == static_cast<int>(next_) + 1) unread_.pop_back();
}

void DeckReader::readNumbers(std::initializer_list<NumberTarget> targets,
                             const std::string& expected) {
  readNumbers(std::vector<NumberTarget>(targets), expected);
}

void DeckReader::readNumbers(const std::vector<NumberTarget>& targets,
                             const std::string& expected) {
  std::size_t k = 0;
  while (k < targets.size()) {
    const std::string& l = readLine(expected);
    if (l[0] == '*' && l[1] != '*')
      throw DeckError("A DATA LINE IS MISSING AFTER THE STATEMENT AT LINE " +
                          std::to_string(lastStatementBefore(lineNumber())) +
                          ": A STATEMENT STANDS WHERE " + expected + " BELONG",
                      lineNumber(), l);
    for (const Item& item : splitItems(l)) {
      if (k >= targets.size()) {
        double unused = 0.0;  // a number left over is a value lost; words are remarks
        if (item.kind == Item::Value && parseReal(item.text, unused))
          unread_.push_back({lineNumber(), static_cast<int>(l.find(item.text)) + 1});
        if (item.kind != Item::Null) break;
        continue;
      }
      if (item.kind == Item::Slash) return;
      if (item.kind == Item::Null) {
        ++k;
        continue;
      }
      const NumberTarget& t = targets[k];
      bool ok = false;
      if (std::holds_alternative<int*>(t)) {
        ok = parseInt(item.text, *std::get<int*>(t));
      } else {
        ok = parseReal(item.text, *std::get<double*>(t));
      }
      if (!ok) {
        const char* kind = std::holds_alternative<int*>(t) ? "A WHOLE NUMBER" : "A NUMBER";
        throw DeckError("'" + item.text + "' IS NOT " + kind + "; EXPECTED " + expected,
                        lineNumber(), l);
      }
      ++k;
    }
  }
}

int DeckReader::lastStatementBefore(int line) const {
  for (int k = line - 1; k >= 1; --k) {
    const std::string& text = lines_[static_cast<std::size_t>(k - 1)];
    if (text[0] == '*' && text[1] != '*') return k;
  }
  return 0;
}

std::vector<double> DeckReader::readReals(int count, const std::string& expected) {
  std::vector<double> values(static_cast<std::size_t>(count > 0 ? count : 0), 0.0);
  std::vector<NumberTarget> targets;
  for (double& v : values) targets.emplace_back(&v);
  readNumbers(targets, expected);
  return values;
}

std::vector<int> DeckReader::readInts(int count, const std::string& expected) {
  std::vector<int> values(static_cast<std::size_t>(count > 0 ? count : 0), 0);
  std::vector<NumberTarget> targets;
  for (int& v : values) targets.emplace_back(&v);
  readNumbers(targets, expected);
  return values;
}

}  // namespace korvant
