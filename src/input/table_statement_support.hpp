// Small pieces shared by the statements that fill the model tables (materials, layers,
// zones, damage laws, loads, user-defined boundary points).
#pragma once

#include <algorithm>
#include <string>

#include "input/deck_reader.hpp"
#include "input/statement_context.hpp"
#include "core/matrix.hpp"

namespace korvant {

// Rows a table statement may fill: the capacity of the build, and never more rows than the
// table itself holds.
template <typename T>
int tableRoom(int capacity, const Matrix<T>& table) {
  return std::min(capacity, table.rows());
}

// A blank line inside an open list (zone layer list, load list, boundary point list) holds
// no values: it is read and passed over, so that it never pulls the values of the line
// after it into the list. Returns true when the next line was blank and has been read;
// otherwise the line is left unread.
inline bool passBlankListLine(DeckReader& deck, const std::string& expected) {
  const std::string& text = deck.readLine(expected);
  if (text.find_first_not_of(' ') == std::string::npos) return true;
  deck.stepBack();
  return false;
}

}  // namespace korvant
