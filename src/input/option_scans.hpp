// The scans by which statements take options from their own line, the value counter of
// counted data lines, and the look-ahead of open lists. Columns are 1-based, as in the
// deck format; every line handed in is 80 columns.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "input/deck_reader.hpp"

namespace korvant {

// True when the character at `position` (1-based) is one of 0-9 . E e D d + -.
// `length` is the line length (80) and is not used.
bool NVL(const std::string& line, int length, int position);

// Number of values on a line: maximal runs of numeric characters, or commas + 1,
// whichever is larger; at least 1.
void STRLN(const std::string& line, int length, int& count);

// First-letter scan: from column `from` to 80, the first character that is one of
// `letters` (upper case given; either case accepted). Returns that letter in upper case,
// or 0 when the line holds none.
char firstLetter(const std::string& line, int from, std::string_view letters);

// Equals-then-letter scan: the first `=` at or after column `from`; after it, the first
// character that is one of `letters` decides. With `span` > 0 only the `span` characters
// after the `=` are looked at. When none is found the search goes on from the next `=`.
// Returns the letter in upper case, or 0.
char equalsThenLetter(const std::string& line, int from, std::string_view letters, int span = 0);

// Equals-then-number: the first `=` in columns `from`..`to`; the text after it to column
// 80 is read in free format for one whole number. Returns false (and leaves `value`) when
// there is no `=`. Throws DeckError (naming the deck's current line) when the text there
// is not a whole number.
bool equalsThenNumber(const DeckReader& deck, const std::string& line, int from, int to,
                      int& value);

// Word search: the first column in `from`..`to` at which `word` starts, in all upper or
// all lower case; 0 when not found.
int findWord(const std::string& line, std::string_view word, int from, int to);

// The look-ahead of an open list, made before each of its lines.
enum class ListLine {
  End,      // column 1 is `*`, column 2 is not: the next statement; left unread
  Comment,  // column 1 or 2 is `*` otherwise: read and skipped already
  Data      // a data line of the list (a blank line too); left unread for the caller
};
ListLine lookAhead(DeckReader& deck, const std::string& expected);

// A counted data line: reads the next line as text, counts its values with STRLN, steps
// back and reads exactly that many values in free format.
std::vector<double> readCountedLine(DeckReader& deck, const std::string& expected);

// The value count of the next line (STRLN), which is left unread: for statements that
// decide from the count whether, and into what, the line is read.
int countNextLine(DeckReader& deck, const std::string& expected);

}  // namespace korvant
