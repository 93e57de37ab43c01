// The statements that say what the slab is made of: steel and concrete materials, the
// layers built from them, the zones (rectangles of the slab with their own stack of
// layers) and the damage laws that reduce a failed layer's moduli. Each fills one table of
// the model, row after row in the order of the statements; a table that is full refuses
// further rows with a fatal error and stores nothing beyond its last row.
#include <array>
#include <string>
#include <vector>

#include "input/option_scans.hpp"
#include "input/plausibility.hpp"
#include "input/statements.hpp"
#include "input/table_statement_support.hpp"
#include "input/validation.hpp"

namespace korvant {
namespace {

using fmt::E;
using fmt::I;
using fmt::X;

// Material type codes of the material statement.
constexpr int kSteel = 1;
constexpr int kConcrete = 2;

// Kinds of damage law; the kind decides how many post-failure moduli the law has.

constexpr int kZoneListLines = 10;  // lines a zone layer list examines, comments included

void capacityError(StatementContext& ctx, const char* what) {
  ctx.report.line("***ERROR: NUMBER OF ", what, " EXCEEDING ", I(5, ctx.cap.MXD5),
                  ". INCREASE MXD5 PARAMETER");
  ++ctx.nerr;
}

// ---- material -------------------------------------------------------------------------

struct MaterialKey {
  int type = 0;  // kSteel, kConcrete, or 0 when the line names neither
  int id = 0;
};

// TYPE= and MATID= in either order from column 9. TYPE takes the first S or C after its
// `=`; MATID reads a whole number after its `=`. The scan stops once both are known.
MaterialKey scanMaterialKey(const StatementContext& ctx) {
  MaterialKey key;
  for (int p = 9; p <= 75 && (key.type == 0 || key.id == 0); ++p) {
    if (findWord(ctx.line, "TYPE", p, p) == p) {
      const char letter = equalsThenLetter(ctx.line, p, "SC");
      if (letter != 0) key.type = letter == 'S' ? kSteel : kConcrete;
    }
    if (findWord(ctx.line, "MATID", p, p) == p)
      equalsThenNumber(ctx.deck, ctx.line, p, kLineWidth, key.id);
  }
  return key;
}

// ---- zone -----------------------------------------------------------------------------

// The layer identifiers of a zone's open list: up to ten lines, comments included, each a
// counted line of whole numbers; lines of values beyond them are refused. Every identifier
// given is returned, also beyond the number a zone can hold.
std::vector<int> readZoneLayerList(StatementContext& ctx, int statementLine) {
  const std::string expected = "THE LAYER IDENTIFIERS OF A ZONE";
  DeckReader& deck = ctx.deck;
  std::vector<int> ids;
  for (int examined = 0; examined < kZoneListLines; ++examined) {
    const ListLine kind = lookAhead(deck, expected);
    if (kind == ListLine::End) return ids;
    if (kind == ListLine::Comment || passBlankListLine(deck, expected)) continue;
    const std::vector<int> line = deck.readInts(countNextLine(deck, expected), expected);
    ids.insert(ids.end(), line.begin(), line.end());
  }
  refuseUnreadListLines(ctx, "*ZONE", statementLine, kZoneListLines, expected);
  return ids;
}

// Stores the layer list of zone row `row`; a list longer than a zone holds keeps its first
// kZoneLayers identifiers and is refused with a fatal error.
void storeZoneLayers(StatementContext& ctx, int row, const std::vector<int>& ids) {
  const int given = static_cast<int>(ids.size());
  const int kept = std::min(given, kZoneLayers);
  for (int k = 1; k <= kept; ++k) ctx.model.ZLAY(row, k) = ids[static_cast<std::size_t>(k - 1)];
  if (given <= kZoneLayers) return;
  ctx.report.line("***ERROR: NUMBER OF LAYERS IN ZONE", I(5, wholeValue(ctx.scratch.zone)),
                  " EXCEEDING ", I(5, kZoneLayers), ".");
  ctx.report.line(X(10), "THE ZONE LISTS", I(5, given), " LAYERS; ONLY THE FIRST",
                  I(5, kZoneLayers), " ARE STORED");
  ++ctx.nerr;
}

// ---- damage law -----------------------------------------------------------------------

// Crack density model from the word STRESS or STRAIN on the statement line, searched from
// the column of the law's `=`; the first of the two words decides.
void scanCrackDensity(const std::string& line, int equalsColumn, CrackDensity& CRKDENS) {
  const int from = std::max(equalsColumn, 1);
  const int stress = findWord(line, "STRESS", from, 75);
  const int strain = findWord(line, "STRAIN", from, 75);
  if (stress > 0 && (strain == 0 || stress < strain)) CRKDENS = CrackDensity::STRESS_BASED;
  if (strain > 0 && (stress == 0 || strain < stress)) CRKDENS = CrackDensity::STRAIN_BASED;
}

// Kind of a damage law from its kind line: at the first position holding an S (steel),
// CON (concrete) or COM (combined). NONE when the line names none.
DamageLawKind scanLawKind(const std::string& text) {
  for (int p = 1; p <= 77; ++p) {
    const char c = text[static_cast<std::size_t>(p - 1)];
    if (c == 'S' || c == 's') return DamageLawKind::STEEL;
    if (findWord(text, "CON", p, p) == p) return DamageLawKind::CONCRETE;
    if (findWord(text, "COM", p, p) == p) return DamageLawKind::COMBINED;
  }
  return DamageLawKind::NONE;
}

// Damage-law form from the form line: the first C (post-failure moduli, 1) or P (reduction
// equation, 2) in columns 1 to 77.
void scanLawForm(const std::string& text, LawForm& DLFORM) {
  std::string head = text;
  head.replace(77, std::string::npos, std::string(kLineWidth - 77, ' '));
  const char letter = firstLetter(head, 1, "CP");
  if (letter != 0) DLFORM = letter == 'C' ? LawForm::POST_FAILURE_MODULI : LawForm::EQUATION;
}

int moduliOfKind(DamageLawKind kind) {
  switch (kind) {
    case DamageLawKind::STEEL:
      return 1;  // YIELDING
    case DamageLawKind::CONCRETE:
      return 3;  // TENSION, COMPRESSION, SHEAR
    default:
      return 4;  // YIELDING, TENSION, COMPRESSION, SHEAR
  }
}

// The two numeric lines of a damage law: its post-failure moduli, by kind, and the
// coefficients a, b, c, d. A coefficient line that is a statement line (column 1 `*`) is
// an error; that line is consumed. Returns false in that case.
bool readLawValues(StatementContext& ctx, DamageLawKind kind,
                   std::array<double, law_col::COUNT>& law) {
  const std::vector<double> moduli =
      ctx.deck.readReals(moduliOfKind(kind), "THE POST-FAILURE MODULI OF A DAMAGE LAW");
  std::copy(moduli.begin(), moduli.end(), law.begin() + (law_col::YIELDING - 1));
  const std::string expected = "THE COEFFICIENTS A, B, C, D OF A DAMAGE LAW";
  if (ctx.deck.readLine(expected)[0] == '*') {
    ctx.report.line("***ERROR: MISSING SECOND LINE OF DATA INPUT FOR DAMAGE LAW");
    ++ctx.nerr;
    return false;
  }
  ctx.deck.stepBack();
  const std::vector<double> coefficients = ctx.deck.readReals(4, expected);
  std::copy(coefficients.begin(), coefficients.end(), law.begin() + (law_col::a - 1));
  return true;
}

}  // namespace

// Material statement: type and identifier from the statement line, five properties on the
// data line (steel: bar diameter, spacing, E, Poisson's ratio, yield stress; concrete: E,
// Poisson's ratio, tensile, compressive and shear strength). Without a type nothing is
// read, and the data line is left to the statement loop.
void handleMaterial(StatementContext& ctx) {
  const MaterialKey key = scanMaterialKey(ctx);
  if (key.type == 0) return;
  const bool steel = key.type == kSteel;
  const std::vector<double> values =
      ctx.deck.readReals(5, steel ? "THE STEEL PROPERTIES" : "THE CONCRETE PROPERTIES");
  Matrix<double>& table = steel ? ctx.model.STEEL : ctx.model.CONC;
  int& count = steel ? ctx.model.NSTEEL : ctx.model.NCONC;
  if (count >= tableRoom(ctx.cap.MXD5, table)) {
    capacityError(ctx, "MATERIALS");
    return;
  }
  ++count;
  table(count, 1) = key.id;
  for (int k = 0; k < 5; ++k) table(count, k + 2) = values[static_cast<std::size_t>(k)];
  if (ReportNotes* notes = ctx.report.notes(); notes && !steel)
    adviseConcreteModulus(key.id, values[0], values[3], *notes);
}

// Layer statement: LAYID after the first `=` (else that of the previous layer statement),
// then SID, CID, DLAW, THICK, THETA on the data line. A full table reads nothing more.
void handleLayer(StatementContext& ctx) {
  ModelDeck& m = ctx.model;
  if (m.NLAYER >= tableRoom(ctx.cap.MXD5, m.LAYERS)) {
    // The layer count has always been reported with this wording.
    capacityError(ctx, "ZONES");
    return;
  }
  int id = 0;
  if (equalsThenNumber(ctx.deck, ctx.line, 1, kLineWidth, id)) ctx.scratch.identifier = id;
  int sid = 0, cid = 0, dlaw = 0;
  double thick = 0.0, theta = 0.0;
  ctx.deck.readNumbers({&sid, &cid, &dlaw, &thick, &theta},
                       "THE LAYER DATA SID, CID, DLAW, THICK, THETA");
  const int row = ++m.NLAYER;
  m.LAYERS(row, layer_col::LAYID) = ctx.scratch.identifier;
  m.LAYERS(row, layer_col::SID) = sid;
  m.LAYERS(row, layer_col::CID) = cid;
  m.LAYERS(row, layer_col::DLAW) = dlaw;
  m.LAYERS(row, layer_col::THICK) = thick;
  m.LAYERS(row, layer_col::THETA) = theta;
}

// Zone statement: the zone number after the first `=` (else that of the last zone
// statement), the rectangle A, B, XO, YO, and the open list of its layer identifiers.
// A zone beyond the table's rows is read and refused.
void handleZone(StatementContext& ctx) {
  ModelDeck& m = ctx.model;
  const int statementLine = ctx.deck.lineNumber();
  int number = 0;
  if (equalsThenNumber(ctx.deck, ctx.line, 1, kLineWidth, number)) ctx.scratch.zone = number;
  const std::vector<double> rect = ctx.deck.readReals(4, "THE ZONE DIMENSIONS A, B, XO, YO");
  const std::vector<int> ids = readZoneLayerList(ctx, statementLine);
  if (m.NZONE >= tableRoom(ctx.cap.MXD5, m.ZONES)) {
    capacityError(ctx, "ZONES");
    ctx.report.line(X(10), "ZONE", I(5, wholeValue(ctx.scratch.zone)), " IS NOT STORED");
    return;
  }
  const int row = ++m.NZONE;
  m.ZONES(row, zone_col::NUMBER) = ctx.scratch.zone;
  for (int k = 0; k < 4; ++k) m.ZONES(row, zone_col::A + k) = rect[static_cast<std::size_t>(k)];
  storeZoneLayers(ctx, row, ids);
}

// Damage-law statement: LAWID after the first `=` from column 15 (else that of the previous
// law), the crack density word, then four lines: kind, form, post-failure moduli and the
// reduction coefficients. The kind of a law (a material type code: steel, concrete or
// combined) stays in the scratch material type for the next law whose kind line names
// none; a first law without a kind stores an empty row and reads no values.
void handleDamageLaw(StatementContext& ctx) {
  ModelDeck& m = ctx.model;
  HandlerScratch& s = ctx.scratch;
  const int equals = findWord(ctx.line, "=", 15, kLineWidth);
  if (equals > 0) {
    int id = 0;
    equalsThenNumber(ctx.deck, ctx.line, equals, equals, id);
    s.lawId = id;
    s.equalsColumn = equals;
  }
  scanCrackDensity(ctx.line, s.equalsColumn, m.CRKDENS);
  const DamageLawKind named = scanLawKind(ctx.deck.readLine("THE KIND LINE OF A DAMAGE LAW"));
  if (named != DamageLawKind::NONE) s.materialType = named;
  scanLawForm(ctx.deck.readLine("THE FORM LINE OF A DAMAGE LAW"), m.DLFORM);

  const bool room = m.NLAW < tableRoom(ctx.cap.MXD5, m.DLAWS);
  if (!room) {
    capacityError(ctx, "DAMAGE LAWS");
    ctx.report.line(X(10), "DAMAGE LAW", I(5, wholeValue(s.lawId)), " IS NOT STORED");
  }
  const DamageLawKind kind = s.materialType;
  if (kind == DamageLawKind::NONE) {
    ctx.report.line("***ERROR: DAMAGE LAW TYPE FOR LAW ID", I(5, wholeValue(s.lawId)),
                    " NOT RECOGNIZED");
    ++ctx.nerr;
    if (!room) return;
    const int row = ++m.NLAW;  // an empty row: nothing of the law is read
    for (int k = 1; k <= law_col::COUNT; ++k) m.DLAWS(row, k) = 0.0;
    return;
  }
  std::array<double, law_col::COUNT> law{};
  law[law_col::LAWID - 1] = s.lawId;
  const bool complete = readLawValues(ctx, kind, law);
  if (complete && room)
    checkReductionFactors(law[law_col::a - 1], law[law_col::b - 1], law[law_col::c - 1],
                          law[law_col::d - 1], ctx.report);
  if (!room) return;
  const int row = ++m.NLAW;
  for (int k = 1; k <= law_col::COUNT; ++k) m.DLAWS(row, k) = law[static_cast<std::size_t>(k - 1)];
}

}  // namespace korvant
