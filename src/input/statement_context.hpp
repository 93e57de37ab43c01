// What every statement handler is handed: the deck being read, the model being filled,
// the report, the fatal error count and the scratch values that the handlers share.
#pragma once

#include <string>

#include "core/model_deck.hpp"
#include "core/writer.hpp"
#include "input/deck_reader.hpp"

namespace korvant {

// Scratch values shared by the handlers. They are not reset between statements: a
// handler that finds no value on its line keeps whatever an earlier statement left.
struct HandlerScratch {
  DamageLawKind materialType = DamageLawKind::NONE;  // kind of the last law that named one
  double identifier = 0.0;                           // material or layer identifier
  double zone = 0.0;                                 // zone number
  double loadType = 0.0;
  double magnitude = 0.0;
  double lawId = 0.0;    // damage-law identifier
  int equalsColumn = 0;  // column of the `=` of a damage-law statement
};

struct StatementContext {
  DeckReader& deck;
  ModelDeck& model;
  Writer& report;
  const Capacities& cap;
  int& nerr;         // fatal input error count
  std::string line;  // the statement line, 80 columns
  HandlerScratch scratch;
};

}  // namespace korvant
