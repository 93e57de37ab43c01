// Reads the input deck line by line: every line is taken as 80 columns (a shorter line
// padded with blanks, a longer one cut at column 80, a CR before the line end dropped,
// a tab read as one blank). Supports the one-line step-back of the statement handlers and
// the free-format reading of numbers: values separated by blanks and/or commas, whole
// numbers or decimals with an E or D exponent, continuing onto following lines until the
// list is complete, the rest of the last line read ignored. Two commas with nothing
// between them leave their value unchanged, and a slash ends the list early, as in
// Fortran list-directed input.
//
// Reading past the end of the deck, or text where a number is expected, cannot be
// answered by the statement that asked: it throws DeckError, which the main program
// turns into a message naming the deck line and a non-zero exit status.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace korvant {

inline constexpr int kLineWidth = 80;

class DeckError : public std::runtime_error {
 public:
  // `lineNumber` 0 means the deck itself (it could not be opened); `lineText` is the
  // offending line as read (80 columns) or empty.
  DeckError(const std::string& message, int lineNumber, std::string lineText)
      : std::runtime_error(message), lineNumber_(lineNumber), lineText_(std::move(lineText)) {}
  int lineNumber() const { return lineNumber_; }
  const std::string& lineText() const { return lineText_; }

 private:
  int lineNumber_;
  std::string lineText_;
};

// Where a free-format value goes: a whole number or a real.
using NumberTarget = std::variant<int*, double*>;

class DeckReader {
 public:
  // Reads the whole deck into memory; throws DeckError if it cannot be read.
  static DeckReader fromFile(const std::filesystem::path& path);
  // Throws DeckError when the existing `path` is not a regular file (a directory, a FIFO, a
  // device, a socket): such a deck could not be read to its end, or reading it could wait
  // forever. Nothing is opened.
  static void requireRegularFile(const std::filesystem::path& path);
  // A deck given as its lines (for tests); the lines are normalised as above.
  explicit DeckReader(const std::vector<std::string>& lines);
  static DeckReader fromText(const std::string& text);

  // Next line as 80 columns. `expected` names what the caller reads it for, for the
  // message at the end of the deck.
  const std::string& readLine(const std::string& expected);
  // Columns 1 and 2 of the next line without consuming it (the look-ahead of open lists).
  std::string peekColumns(const std::string& expected);
  // Puts the last line read back, so that the next read returns it again.
  void stepBack();
  bool atEnd() const { return next_ >= lines_.size(); }

  // Free-format read of the given targets, starting on the next line. A statement line met
  // where the values belong is a missing data line: DeckError, naming both lines.
  void readNumbers(std::initializer_list<NumberTarget> targets, const std::string& expected);
  void readNumbers(const std::vector<NumberTarget>& targets, const std::string& expected);
  // Free-format read of `count` whole numbers or reals into a vector.
  std::vector<double> readReals(int count, const std::string& expected);
  std::vector<int> readInts(int count, const std::string& expected);

  // Where text of a line is lost: the line and the first column of that text.
  struct CutText {
    int line = 0;
    int column = 0;
  };
  // The lines read so far (comment lines aside) that held text beyond column 80.
  std::vector<CutText> cutText() const;
  // The data lines read in free format whose last numbers no statement read (words after
  // the values are remarks) (a line read
  // again as text after a step-back is not one of them).
  const std::vector<CutText>& unreadValues() const { return unread_; }

  // The number of the last statement line (`*` in column 1, not in column 2) before `line`,
  // or 0.
  int lastStatementBefore(int line) const;

  // 1-based number of the last line read (0 before the first read).
  int lineNumber() const { return static_cast<int>(next_); }
  const std::string& line(int number) const {
    return lines_.at(static_cast<std::size_t>(number - 1));
  }

 private:
  std::vector<std::string> lines_;
  std::size_t next_ = 0;        // index of the next line to read
  std::size_t furthest_ = 0;    // the number of lines read at least once
  std::vector<int> cutColumn_;  // per line: first column of text beyond 80, or 0
  std::vector<CutText> unread_;
};

// Normalises one raw line to the 80 columns of the deck format.
std::string normaliseLine(std::string raw);

}  // namespace korvant
