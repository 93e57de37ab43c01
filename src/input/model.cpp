#include "input/model.hpp"

#include <cmath>

#include "input/keywords.hpp"
#include "input/statement_context.hpp"
#include "input/statements.hpp"
#include "input/validation.hpp"

namespace korvant {
namespace {

using fmt::A;
using fmt::I;
using fmt::X;

// Hands the statement line in ctx.line to the handler of its statement.
void dispatch(Statement statement, StatementContext& ctx) {
  switch (statement) {
    case Statement::Status:
      return handleStatus(ctx);
    case Statement::Debug:
      return handleDebug(ctx);
    case Statement::Heading:
      return handleHeading(ctx);
    case Statement::Diagnostic:
      return handleDiagnostic(ctx);
    case Statement::Solution:
      return handleSolution(ctx);
    case Statement::Coupling:
      return handleCoupling(ctx);
    case Statement::ZoneOverlap:
      return handleZoneOverlap(ctx);
    case Statement::UniformStress:
      return handleUniformStress(ctx);
    case Statement::EquationSolver:
      return handleEquationSolver(ctx);
    case Statement::YieldingSolution:
      return handleYieldingSolution(ctx);
    case Statement::CrackingSolution:
      return handleCrackingSolution(ctx);
    case Statement::BoundaryDer:
      return handleBoundaryDer(ctx);
    case Statement::Neutral:
      return handleNeutral(ctx);
    case Statement::Boundary:
      return handleBoundary(ctx);
    case Statement::Slab:
      return handleSlab(ctx);
    case Statement::Column:
      return handleColumn(ctx);
    case Statement::Disc:
      return handleDisc(ctx);
    case Statement::DefaultPressure:
      return handleDefaultPressure(ctx);
    case Statement::NormalPressure:
      return handleNormalPressure(ctx);
    case Statement::Material:
      return handleMaterial(ctx);
    case Statement::Layer:
      return handleLayer(ctx);
    case Statement::Zone:
      return handleZone(ctx);
    case Statement::FilePrint:
      return handleFilePrint(ctx);
    case Statement::DamageLaw:
      return handleDamageLaw(ctx);
    case Statement::Graphic:
      return handleGraphic(ctx);
    case Statement::End:
    case Statement::Unrecognised:
      return;  // answered by the statement loop
  }
}

// What the statement loop makes of a line before looking for a keyword.
enum class LineKind { Comment, Ignored, NotAStatement, Statement };

LineKind lineKind(const std::string& line) {
  if (line[1] == '*') return LineKind::Comment;  // `**` and ` *` lines alike
  if (line[0] == ' ') return LineKind::Ignored;  // blank or indented lines
  if (line[0] != '*') return LineKind::NotAStatement;
  return LineKind::Statement;
}

void echoDebugLine(Writer& report, const std::string& line) {
  report.blank();
  report.line("*** DEBUG OPERATION: CURRENT LINE BEING INPUT IS:");
  report.line(X(2), A(80, line));
}

void warnNotAStatement(Writer& report, const std::string& line) {
  report.line("*** WARNING: THE FOLLOWING INPUT LINE IS NOT IN THE PROPER ");
  report.line(X(13), "FORMAT OF AN INPUT STATEMENT:");
  report.line(X(1), A(70, line.substr(0, 70)));
}

void warnUnrecognised(Writer& report, const std::string& line) {
  report.line("*** WARNING: THE FOLLOWING INPUT LINE IS NOT RECOGNIZED:");
  report.line(X(1), A(70, line.substr(0, 70)));
  if (ReportNotes* notes = report.notes()) {
    const std::string suggestion = suggestKeyword(line);
    if (!suggestion.empty()) notes->hint(suggestion);
  }
}

// The deck line that the messages written from here on belong to.
void markDeckLine(Writer& report, int line) {
  if (ReportNotes* notes = report.notes()) notes->setDeckLine(line);
}

// Text that the 80 columns of the deck format cut off, on every line the statements read
// (comment lines aside): an input error, for data would be lost without a word.
void checkCutText(StatementContext& ctx) {
  for (const DeckReader::CutText& cut : ctx.deck.cutText()) {
    markDeckLine(ctx.report, cut.line);
    ctx.report.line("***ERROR: TEXT BEYOND COLUMN 80 IS NOT READ: LINE", I(6, cut.line), ", COLUMN",
                    I(4, cut.column));
    ++ctx.nerr;
  }
  for (const DeckReader::CutText& unread : ctx.deck.unreadValues()) {
    markDeckLine(ctx.report, unread.line);
    ctx.report.line("***ERROR: VALUES NOT READ BY THE STATEMENT: LINE", I(6, unread.line),
                    ", FROM COLUMN", I(4, unread.column));
    ++ctx.nerr;
  }
  markDeckLine(ctx.report, 0);
}

// Reads statement lines and hands each to its handler until the end statement.
void statementLoop(StatementContext& ctx) {
  for (;;) {
    const std::string line = ctx.deck.readLine("THE NEXT STATEMENT (NO END STATEMENT WAS FOUND)");
    markDeckLine(ctx.report, ctx.deck.lineNumber());
    if (ctx.model.DEBUG) echoDebugLine(ctx.report, line);
    switch (lineKind(line)) {
      case LineKind::Comment:
      case LineKind::Ignored:
        continue;
      case LineKind::NotAStatement:
        warnNotAStatement(ctx.report, line);
        continue;
      case LineKind::Statement:
        break;
    }
    const Statement statement = classifyStatement(line);
    if (statement == Statement::End) return;
    if (statement == Statement::Unrecognised) {
      warnUnrecognised(ctx.report, line);
      continue;
    }
    ctx.line = line;
    dispatch(statement, ctx);
  }
}

}  // namespace

int readStatements(DeckReader& deck, ModelDeck& model, const Capacities& cap, Writer& report) {
  int nerr = 0;
  StatementContext ctx{deck, model, report, cap, nerr, std::string(kLineWidth, ' '), {}};
  statementLoop(ctx);
  checkCutText(ctx);
  return nerr;
}

// MODEL starts from the defaults with empty tables, reads every statement up to the end
// statement, and leaves the checks to validateModel.
ModelCheck MODEL(DeckReader& deck, ModelDeck& model, const Capacities& cap, Writer& report) {
  model = ModelDeck(cap);
  const int nerr = readStatements(deck, model, cap, report);
  return validateModel(model, cap, report, nerr);
}

void scalePressures(ModelDeck& model, double multiplier) {
  for (int k = 1; k <= model.NLOAD; ++k) model.LOADS(k, load_col::MAGNITUDE) *= multiplier;
}

double largestPressure(const ModelDeck& model) {
  double largest = 0.0;
  for (int k = 1; k <= model.NLOAD; ++k)
    if (std::abs(model.LOADS(k, load_col::MAGNITUDE)) > std::abs(largest))
      largest = model.LOADS(k, load_col::MAGNITUDE);
  return largest;
}

}  // namespace korvant
