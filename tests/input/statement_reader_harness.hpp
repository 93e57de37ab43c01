// Runs the statement loop on a deck given as text and collects the report lines, for the
// tests of the statement reader and the model statements.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "core/model_deck.hpp"
#include "core/writer.hpp"
#include "input/deck_reader.hpp"
#include "input/model.hpp"
#include "support/test_support.hpp"

namespace korvant::test {

struct ReadResult {
  ModelDeck model;
  std::vector<std::string> report;
  int nerr = 0;
  int linesRead = 0;  // deck lines consumed, the end statement included
};

inline ReadResult readDeck(const std::string& text) {
  DeckReader deck = DeckReader::fromText(text);
  std::ostringstream out;
  Writer report(out);
  ReadResult r;
  r.nerr = readStatements(deck, r.model, Capacities{}, report);
  r.report = splitLines(out.str());
  r.linesRead = deck.lineNumber();
  return r;
}

// `text` blank-padded to `width` columns, as an A field of that width writes a deck line.
inline std::string padded(const std::string& text, std::size_t width) {
  std::string s = text;
  s.resize(width, ' ');
  return s;
}

// The improper-format warning for a deck line: its two lines of text, then the line's first
// 70 columns after one blank.
inline std::vector<std::string> improperFormat(const std::string& line) {
  return {"*** WARNING: THE FOLLOWING INPUT LINE IS NOT IN THE PROPER ",
          "             FORMAT OF AN INPUT STATEMENT:", at(1, padded(line, 70))};
}

}  // namespace korvant::test
