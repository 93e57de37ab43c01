#include "input/option_scans.hpp"
#include "core/text.hpp"

#include <cctype>

namespace korvant {
namespace {

// Character of a 1-based column, or a blank beyond the line.
char at(const std::string& line, int column) {
  if (column < 1 || column > static_cast<int>(line.size())) return ' ';
  return line[static_cast<std::size_t>(column - 1)];
}

// The upper-case letter of `letters` that `c` is, in either case; 0 when none.
char memberOf(char c, std::string_view letters) {
  const char u = upper(c);
  return letters.find(u) != std::string_view::npos && u != ' ' ? u : 0;
}

// Column of the first `=` in from..to, or 0.
int findEquals(const std::string& line, int from, int to) {
  for (int k = from; k <= to; ++k)
    if (at(line, k) == '=') return k;
  return 0;
}

// True when `word` stands at `column` entirely in upper or entirely in lower case.
bool wordAt(const std::string& line, std::string_view word, int column) {
  bool isUpper = true;
  bool isLower = true;
  for (std::size_t k = 0; k < word.size(); ++k) {
    const char c = at(line, column + static_cast<int>(k));
    isUpper = isUpper && c == upper(word[k]);
    isLower = isLower && c == lower(word[k]);
  }
  return isUpper || isLower;
}

}  // namespace

bool NVL(const std::string& line, int /*length*/, int position) {
  if (position < 1 || position > static_cast<int>(line.size())) return false;
  const char c = line[static_cast<std::size_t>(position - 1)];
  if (c >= '0' && c <= '9') return true;
  return std::string_view(".EeDd+-").find(c) != std::string_view::npos;
}

// Counts the values of a line: the starts of runs of numeric characters, and the commas.
// A comma-separated line with empty fields counts every field; a blank line counts one.
void STRLN(const std::string& line, int length, int& count) {
  int commas = 0;
  int starts = 0;
  for (int i = 1; i <= kLineWidth - 1; ++i) {
    if (at(line, i) == ',') ++commas;
    if (i == 1 && NVL(line, length, 1)) starts = 1;
    if (!NVL(line, length, i) && NVL(line, length, i + 1)) ++starts;
  }
  count = starts > commas + 1 ? starts : commas + 1;
}

char firstLetter(const std::string& line, int from, std::string_view letters) {
  for (int k = from; k <= kLineWidth; ++k)
    if (char found = memberOf(at(line, k), letters)) return found;
  return 0;
}

char equalsThenLetter(const std::string& line, int from, std::string_view letters, int span) {
  for (int eq = findEquals(line, from, kLineWidth); eq > 0;
       eq = findEquals(line, eq + 1, kLineWidth)) {
    const int last = span > 0 ? eq + span : kLineWidth;
    for (int k = eq + 1; k <= last && k <= kLineWidth; ++k)
      if (char found = memberOf(at(line, k), letters)) return found;
  }
  return 0;
}

// The text after the `=` is read on its own, as an internal record: a blank rest of line
// or anything but a whole number first is an error of the deck line being read.
bool equalsThenNumber(const DeckReader& deck, const std::string& line, int from, int to,
                      int& value) {
  const int eq = findEquals(line, from, to);
  if (eq == 0) return false;
  const std::string rest = eq < kLineWidth ? line.substr(static_cast<std::size_t>(eq)) : "";
  DeckReader text(std::vector<std::string>{rest});
  try {
    text.readNumbers({&value}, "IDENTIFIER");
  } catch (const DeckError&) {
    throw DeckError("NO WHOLE NUMBER FOLLOWS THE '=' IN COLUMN " + std::to_string(eq),
                    deck.lineNumber(), line);
  }
  return true;
}

int findWord(const std::string& line, std::string_view word, int from, int to) {
  for (int k = from; k <= to; ++k)
    if (wordAt(line, word, k)) return k;
  return 0;
}

ListLine lookAhead(DeckReader& deck, const std::string& expected) {
  const std::string columns = deck.peekColumns(expected);
  if (columns[0] == '*' && columns[1] != '*') return ListLine::End;
  if (columns[0] == '*' || columns[1] == '*') {
    deck.readLine(expected);
    return ListLine::Comment;
  }
  return ListLine::Data;
}

int countNextLine(DeckReader& deck, const std::string& expected) {
  const std::string& text = deck.readLine(expected);
  int count = 0;
  STRLN(text, kLineWidth, count);
  deck.stepBack();
  return count;
}

std::vector<double> readCountedLine(DeckReader& deck, const std::string& expected) {
  return deck.readReals(countNextLine(deck, expected), expected);
}

}  // namespace korvant
