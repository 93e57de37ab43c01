// Small pieces shared by the statements that fill the model tables (materials, layers,
// zones, damage laws, loads, user-defined boundary points).
#pragma once

#include <algorithm>
#include <string>

#include "core/matrix.hpp"
#include "input/deck_reader.hpp"
#include "input/option_scans.hpp"
#include "input/statement_context.hpp"

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

// An open list reads at most `limit` lines. Lines of values that still follow before the next
// statement would be left to the statement loop and lost with at most a warning: they are
// read, passed over and refused here with one fatal error naming the statement (`name`, on
// deck line `statementLine`). Blank and comment lines hold no values and are passed silently.
inline void refuseUnreadListLines(StatementContext& ctx, const char* name, int statementLine,
                                  int limit, const std::string& expected) {
  int unread = 0;
  int first = 0;
  for (;;) {
    const ListLine kind = lookAhead(ctx.deck, expected);
    if (kind == ListLine::End) break;
    if (kind == ListLine::Comment || passBlankListLine(ctx.deck, expected)) continue;
    ctx.deck.readLine(expected);
    if (unread++ == 0) first = ctx.deck.lineNumber();
  }
  if (unread == 0) return;
  using fmt::I;
  using fmt::X;
  ctx.report.line("***ERROR: THE ", name, " STATEMENT AT LINE", I(6, statementLine),
                  " READS AT MOST", I(3, limit), " LINES:");
  ctx.report.line(X(10), "THE", I(5, unread), " LINE(S) OF VALUES FROM LINE", I(6, first),
                  " ON ARE NOT READ");
  ++ctx.nerr;
}

}  // namespace korvant
