// The statements that say how the slab is loaded and supported: the list of pressure
// loads, the default pressure of zones without a load, and the support layout, either one
// of the built-in layouts or a list of user-defined boundary points.
#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

#include "core/text.hpp"
#include "input/option_scans.hpp"
#include "input/statements.hpp"
#include "input/table_statement_support.hpp"

namespace korvant {
namespace {

using fmt::I;
using fmt::X;

// Free-format read of `text`, a piece of the deck line just read, as a record of its own:
// values missing from it or unreadable are an error of that deck line.
void readRecord(const DeckReader& deck, const std::string& text,
                std::initializer_list<NumberTarget> targets, const std::string& what) {
  DeckReader record(std::vector<std::string>{text});
  try {
    record.readNumbers(targets, what);
  } catch (const DeckError&) {
    throw DeckError(what + " CANNOT BE READ FROM THIS LINE", deck.lineNumber(),
                    deck.line(deck.lineNumber()));
  }
}

// Text from column `column` to the end of the line.
std::string fromColumn(const std::string& text, int column) {
  return column <= kLineWidth ? text.substr(static_cast<std::size_t>(column - 1)) : std::string();
}

// ---- load lines -----------------------------------------------------------------------

struct LoadRow {
  double number = 0.0;
  double type = 0.0;  // 1 uniform, 2 dead, 3 live, 4 user-defined; 0 when the line names none
  double magnitude = 0.0;
  double zone = 0.0;  // zone of a dead, live or user-defined load; 0 for a uniform load
};

struct LoadWord {
  std::string_view word;
  LoadType type;
  bool zoned;  // the magnitude is followed by the zone the load acts on
};

// Tested in this order at every column; UNIFORM LOAD before UNIFORM, so that the word LOAD
// is not taken for the magnitude.
constexpr std::array<LoadWord, 5> kLoadWords{{{"UNIFORM LOAD", LoadType::UNIFORM, false},
                                              {"UNIFORM", LoadType::UNIFORM, false},
                                              {"DEAD", LoadType::DEAD_LOAD, true},
                                              {"LIVE", LoadType::LIVE_LOAD, true},
                                              {"USER-DEFINED", LoadType::USER_DEFINED, true}}};

// One load line: the load number as its first value, then the first load word of the line
// (commas read as blanks) followed by the magnitude and, for zone loads, the zone.
LoadRow readLoadLine(DeckReader& deck) {
  LoadRow row;
  deck.readNumbers({&row.number}, "THE LOAD NUMBER OF A LOAD LINE");
  deck.stepBack();
  std::string text = deck.readLine("A LOAD LINE");
  std::replace(text.begin(), text.end(), ',', ' ');
  for (int p = 1; p <= 70; ++p) {
    for (const LoadWord& w : kLoadWords) {
      if (findWord(text, w.word, p, p) != p) continue;
      const std::string rest = fromColumn(text, p + static_cast<int>(w.word.size()));
      row.type = static_cast<double>(codeNumber(w.type));
      if (w.zoned) {
        readRecord(deck, rest, {&row.magnitude, &row.zone}, "THE MAGNITUDE AND ZONE OF THE LOAD");
      } else {
        readRecord(deck, rest, {&row.magnitude}, "THE MAGNITUDE OF THE UNIFORM LOAD");
      }
      return row;
    }
  }
  return row;
}

// Appends a load row. A full table refuses it; a row whose line named no load type is
// stored empty of type, magnitude and zone and refused with a fatal error, since the
// pressure it was meant to give would otherwise be lost without a word.
void storeLoad(StatementContext& ctx, const LoadRow& row) {
  ModelDeck& m = ctx.model;
  if (m.NLOAD >= tableRoom(ctx.cap.MXD5, m.LOADS)) {
    ctx.report.line("***ERROR: NUMBER OF LOADS EXCEEDING ", I(5, ctx.cap.MXD5),
                    ". INCREASE MXD5 PARAMETER");
    ctx.report.line(X(10), "LOAD", I(5, wholeValue(row.number)), " OF TYPE",
                    I(5, wholeValue(row.type)), " IS NOT STORED");
    ++ctx.nerr;
    return;
  }
  const int r = ++m.NLOAD;
  m.LOADS(r, load_col::NUMBER) = row.number;
  m.LOADS(r, load_col::TYPE) = row.type;
  m.LOADS(r, load_col::MAGNITUDE) = row.magnitude;
  m.LOADS(r, load_col::ZONE) = row.zone;
  if (row.type != 0.0) return;
  ctx.report.line("***ERROR: LOAD TYPE FOR LOAD ENTRY", I(5, r), " NOT RECOGNIZED");
  ++ctx.nerr;
}

// ---- support layouts ------------------------------------------------------------------

char columnOf(const std::string& text, int column) {
  return column >= 1 && column <= static_cast<int>(text.size())
             ? text[static_cast<std::size_t>(column - 1)]
             : ' ';
}

// SLABMODEL named by a library layout line, looked for in its first 20 columns: 9 (the
// 9-column layout), C (clamped), 4 followed somewhere by S (symmetric edge) or F (free
// edge), or the pairs SS, SF, FS, SI (SSCF, SFSF, FSFS, simply supported). NONE for none.
SlabLayout libraryLayout(const std::string& text) {
  static constexpr std::array<std::pair<std::string_view, SlabLayout>, 4> kPairs{
      {{"SS", SlabLayout::SSCF},
       {"SF", SlabLayout::SFSF},
       {"FS", SlabLayout::FSFS},
       {"SI", SlabLayout::SIMPLY_SUPPORTED}}};
  for (int p = 1; p <= 20; ++p) {
    const char c = columnOf(text, p);
    if (c == '9') return SlabLayout::NINE_COLUMN;
    if (c == 'C' || c == 'c') return SlabLayout::CLAMPED_PLATE;
    if (c == '4') {
      const char edge = firstLetter(text, p + 1, "SF");
      if (edge == 'S') return SlabLayout::FOUR_COLUMN_SYM;
      if (edge == 'F') return SlabLayout::FOUR_COLUMN_FREE;
      continue;
    }
    for (const auto& [pair, layout] : kPairs)
      if (findWord(text, pair, p, p) == p) return layout;
  }
  return SlabLayout::NONE;
}

struct ConditionMark {
  Condition condition = Condition::CLAMPED;
  int column = 0;  // column of its letter; 0 when the line names no condition
};

// The first condition letter of a point line: C, S, or F directly followed by E or S.
ConditionMark findCondition(const std::string& text) {
  for (int p = 1; p <= kLineWidth; ++p) {
    const char c = upper(columnOf(text, p));
    const char next = upper(columnOf(text, p + 1));
    if (c == 'C') return {Condition::CLAMPED, p};
    if (c == 'S') return {Condition::SIMPLE, p};
    if (c == 'F' && next == 'E') return {Condition::FREE, p};
    if (c == 'F' && next == 'S') return {Condition::FREE_SYM, p};
  }
  return {};
}

// Location of a point: the whole number that starts at the first digit 1 to 4 at or after
// `from`; 0 when there is none.
int readLocation(const DeckReader& deck, const std::string& text, int from) {
  for (int p = from; p <= kLineWidth; ++p) {
    const char c = columnOf(text, p);
    if (c < '1' || c > '4') continue;
    int location = 0;
    readRecord(deck, fromColumn(text, p), {&location}, "THE LOCATION OF THE BOUNDARY POINT");
    return location;
  }
  return 0;
}

// Reads point line `entry` into USERBC: I and J before the condition word, the condition,
// and the location after it. A line without a condition is an error; the entry stays
// empty and false is returned.
bool readUserPoint(StatementContext& ctx, int entry) {
  const std::string text = ctx.deck.readLine("A USER-DEFINED BOUNDARY POINT");
  const ConditionMark cond = findCondition(text);
  Matrix<int>& bc = ctx.model.USERBC;
  for (int k = 1; k <= userbc_col::COUNT; ++k) bc(entry, k) = 0;
  if (cond.column == 0) {
    ctx.report.line("***ERROR: USER-DEFINED BOUNDARY TYPE FOR ENTRY", I(5, entry),
                    " NOT RECOGNIZED");
    ++ctx.nerr;
    return false;
  }
  // The character just before the condition letter is not part of the indices' text.
  const std::string indices =
      text.substr(0, static_cast<std::size_t>(std::max(cond.column - 2, 0)));
  int i = 0, j = 0;
  readRecord(ctx.deck, indices, {&i, &j}, "THE INDICES I, J OF THE BOUNDARY POINT");
  bc(entry, userbc_col::I) = i;
  bc(entry, userbc_col::J) = j;
  bc(entry, userbc_col::CONDITION) = codeNumber(cond.condition);
  bc(entry, userbc_col::LOCATION) = readLocation(ctx.deck, text, cond.column);
  return true;
}

// The open list of user-defined boundary points, up to the next statement line. A point
// beyond the table, or a line without a condition, ends the list with an error and leaves
// the rest to the statement loop.
void readUserPoints(StatementContext& ctx) {
  ModelDeck& m = ctx.model;
  m.SLABMODEL = SlabLayout::USER_DEFINED;
  const std::string expected = "A USER-DEFINED BOUNDARY POINT OR THE NEXT STATEMENT";
  for (;;) {
    const ListLine kind = lookAhead(ctx.deck, expected);
    if (kind == ListLine::End) return;
    if (kind == ListLine::Comment || passBlankListLine(ctx.deck, expected)) continue;
    if (m.NUSERBC >= tableRoom(ctx.cap.MXD3, m.USERBC)) {
      ctx.report.line("***ERROR: NUMBER OF USER-DEFINED BOUNDARY POINTS IS");
      ctx.report.line(X(10), "EXCEEDING INTERNAL ARRAYS. RESET MXD3");
      ++ctx.nerr;
      return;
    }
    if (!readUserPoint(ctx, ++m.NUSERBC)) return;
  }
}

}  // namespace

// Default pressure: PDEF from one free-format value; the job has one load case.
void handleDefaultPressure(StatementContext& ctx) {
  ctx.deck.readNumbers({&ctx.model.PDEF}, "THE DEFAULT SLAB PRESSURE");
  ctx.model.NLC = 1;
}

// Normal pressure: an open list of load lines, at most MXD5 lines of it examined,
// comments included; load lines beyond them are refused. The rows of all such statements share one
// table.
void handleNormalPressure(StatementContext& ctx) {
  const std::string expected = "A LOAD LINE OR THE NEXT STATEMENT";
  const int statementLine = ctx.deck.lineNumber();
  for (int examined = 0; examined < ctx.cap.MXD5; ++examined) {
    const ListLine kind = lookAhead(ctx.deck, expected);
    if (kind == ListLine::End) return;
    if (kind == ListLine::Comment || passBlankListLine(ctx.deck, expected)) continue;
    storeLoad(ctx, readLoadLine(ctx.deck));
  }
  refuseUnreadListLines(ctx, "*NORMAL PRESSURE", statementLine, ctx.cap.MXD5, expected);
}

// Support layout: after the `=` from column 9, L takes a library layout from the next
// line, U a list of user-defined boundary points.
namespace {

// The layout names, and the layout each names.
constexpr std::array<std::pair<std::string_view, SlabLayout>, 8> kLayoutNames{{
    {"9-COLUMN", SlabLayout::NINE_COLUMN},
    {"CLAMPED", SlabLayout::CLAMPED_PLATE},
    {"4-COLUMN FREE EDGE", SlabLayout::FOUR_COLUMN_FREE},
    {"4-COLUMN SYMMETRIC EDGE", SlabLayout::FOUR_COLUMN_SYM},
    {"SSCF", SlabLayout::SSCF},
    {"SFSF", SlabLayout::SFSF},
    {"FSFS", SlabLayout::FSFS},
    {"SIMPLY SUPPORTED", SlabLayout::SIMPLY_SUPPORTED},
}};

// A text without its blanks, in upper case.
std::string compact(std::string_view text) {
  std::string out;
  for (const char c : text)
    if (c != ' ') out += upper(c);
  return out;
}

// Whether the line is exactly one of the layout names, blanks and case aside.
bool isLayoutName(const std::string& line) {
  const std::string written = compact(line);
  for (const auto& [name, layout] : kLayoutNames)
    if (written == compact(name)) return true;
  return false;
}

std::string layoutNameOf(SlabLayout layout) {
  for (const auto& [name, code] : kLayoutNames)
    if (code == layout) return std::string(name);
  return "NONE";
}

// The layout line of a library layout. The scan of its first 20 columns decides; a line that
// is not exactly a layout name is told on the console with the layout it was read as, and a
// statement line in its place is an input error (the statement is then read as itself).
void readLayoutLine(StatementContext& ctx) {
  const int statementLine = ctx.deck.lineNumber();
  const std::string& text = ctx.deck.readLine("THE NAME OF THE SUPPORT LAYOUT");
  ReportNotes* notes = ctx.report.notes();
  if (text[0] == '*' && text[1] != '*') {
    ctx.deck.stepBack();
    ctx.report.line("***ERROR: *BOUNDARY AT LINE", fmt::I(6, statementLine),
                    " HAS NO LAYOUT LINE: LINE", fmt::I(6, statementLine + 1), " IS A STATEMENT");
    ++ctx.nerr;
    return;
  }
  const SlabLayout layout = libraryLayout(text);
  if (layout != SlabLayout::NONE) ctx.model.SLABMODEL = layout;
  if (!notes || isLayoutName(text)) return;
  notes->notice(NoticeKind::Caution,
                "the layout line '" + trimmed(text) + "' is not a layout name; it is read as " +
                    (layout == SlabLayout::NONE ? std::string("no layout") : layoutNameOf(layout)),
                ctx.deck.lineNumber());
  notes->hint(layoutNamesHint());
}

}  // namespace

std::string layoutNamesHint() {
  std::string names;
  for (const auto& [name, layout] : kLayoutNames)
    names += (names.empty() ? "" : ", ") + std::string(name);
  return "the layouts are " + names;
}

void handleBoundary(StatementContext& ctx) {
  switch (equalsThenLetter(ctx.line, 9, "LU")) {
    case 'L':
      readLayoutLine(ctx);
      return;
    case 'U':
      readUserPoints(ctx);
      return;
    default:
      ctx.report.line("***ERROR: NO TYPE SPECIFIED ON *BOUNDARY STATEMENT");
      ctx.report.blank();
      ++ctx.nerr;
  }
}

}  // namespace korvant
