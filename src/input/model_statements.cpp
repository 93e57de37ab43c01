// The statements that set the scalar settings of the model: heading, control flags,
// analysis and solution options, slab geometry and discretization, print and graphic
// requests. Options on a statement line are found by the scans of option_scans.hpp.
#include <string>
#include <string_view>

#include "input/option_scans.hpp"
#include "input/plausibility.hpp"
#include "input/statements.hpp"

namespace korvant {
namespace {

using fmt::X;

// True when `code` (given in upper case) stands at `column` in upper or in lower case.
bool codeAt(const std::string& line, int column, std::string_view code) {
  return findWord(line, code, column, column) == column;
}

// The six request positions of a print or graphic request line: displacement fields,
// outer-fibre stresses upper and lower, outer-fibre strains upper and lower, failed-layer
// ratios. Every position of the line is examined for every code, so a code inside a word
// counts (the D and FI of FIELDS).
std::string requestCodes(const std::string& text) {
  std::string req(6, ' ');
  for (int p = 1; p <= kLineWidth; ++p) {
    if (codeAt(text, p, "D")) req[0] = 'D';
    if (codeAt(text, p, "+S")) req[1] = 'S';
    if (codeAt(text, p, "-S")) req[2] = 'S';
    if (codeAt(text, p, "+E")) req[3] = 'E';
    if (codeAt(text, p, "-E")) req[4] = 'E';
    if (codeAt(text, p, "FI")) req[5] = 'F';
  }
  return req;
}

// An iteration or increment limit of exactly one cannot converge anything: it is raised
// to two, with a warning.
void raiseUnityLimit(Writer& report, int& limit, std::string_view first, std::string_view second) {
  if (limit != 1) return;
  report.line(first);
  report.line(X(12), second);
  report.blank();
  limit = 2;
}

// The counted data line of a nonlinear solution: NITCRK, NPASSY, NINCY, CRKTOL and
// optionally WMAX. With any other count the line is left for the statement loop.
void readNonlinearParameters(StatementContext& ctx) {
  const std::string expected = "THE NONLINEAR SOLUTION PARAMETERS";
  ModelDeck& m = ctx.model;
  const int count = countNextLine(ctx.deck, expected);
  if (count == 4) ctx.deck.readNumbers({&m.NITCRK, &m.NPASSY, &m.NINCY, &m.CRKTOL}, expected);
  if (count == 5)
    ctx.deck.readNumbers({&m.NITCRK, &m.NPASSY, &m.NINCY, &m.CRKTOL, &m.WMAX}, expected);
  if (ReportNotes* notes = ctx.report.notes(); notes && (count == 4 || count == 5))
    adviseTolerance(m.CRKTOL, *notes);
}

}  // namespace

void handleStatus(StatementContext& ctx) {
  ctx.model.STATUS = true;
}

void handleDebug(StatementContext& ctx) {
  ctx.model.DEBUG = true;
  Writer& r = ctx.report;
  r.blank(2);
  r.line("### THE DEBUG OPTION HAS BEEN ACTIVATED. A NUMBER OF INTERNAL INPUT");
  r.line("### STATEMENT PROCESSESING AND CALCULATIONS WILL BE OUTPUT TO AID");
  r.line("### IN DETERMINING INCORRECT INPUT DEFINING THE MODEL");
  r.blank(2);
}

void handleHeading(StatementContext& ctx) {
  ctx.model.TITLE = ctx.deck.readLine("THE JOB HEADING LINE");
  ctx.model.HASTITLE = true;
}

// The diagnostics list of this statement replaces any earlier one; a 0 ends the list.
void handleDiagnostic(StatementContext& ctx) {
  const std::string expected = "THE DIAGNOSTICS REQUESTS";
  const int count = countNextLine(ctx.deck, expected);
  const std::vector<int> codes = ctx.deck.readInts(count, expected);
  ctx.model.DIAG.fill(0);
  for (std::size_t k = 0; k < codes.size() && k < ctx.model.DIAG.size(); ++k)
    ctx.model.DIAG[k] = codes[k];
  if (codes.size() > ctx.model.DIAG.size()) {
    ctx.report.line("***WARNING: ONLY THE FIRST ", fmt::I(2, kDiagEntries),
                    " DIAGNOSTICS REQUESTS ARE KEPT");
    ctx.report.blank();
  }
}

void handleSolution(StatementContext& ctx) {
  ModelDeck& m = ctx.model;
  switch (firstLetter(ctx.line, 11, "LN")) {
    case 'L':
      m.SOLPROC = SolutionProcedure::LINEAR;
      break;
    case 'N':
      m.SOLPROC = SolutionProcedure::NONLINEAR;
      break;
    default:
      break;
  }
  if (m.SOLPROC == SolutionProcedure::LINEAR) {
    double unused = 0.0;
    ctx.deck.readNumbers({&unused}, "THE DATA LINE OF A LINEAR SOLUTION");
  } else if (m.SOLPROC == SolutionProcedure::NONLINEAR) {
    readNonlinearParameters(ctx);
  }
  raiseUnityLimit(ctx.report, m.NITCRK,
                  "***WARNING: ITERATION LIMIT OF UNITY FOR CONVERGING CONCRETE",
                  "CRACKING IS INCREASED TO THE MINIMUM OF TWO");
  raiseUnityLimit(ctx.report, m.NPASSY, "***WARNING: ITERATION LIMIT OF UNITY FOR CONVERGING STEEL",
                  "YEILDING IS INCREASED TO THE MINIMUM OF TWO");
  raiseUnityLimit(ctx.report, m.NINCY,
                  "***WARNING: INCREMENTATION LIMIT OF UNITY FOR CONVERGING STEEL",
                  "YEILDING IS INCREASED TO THE MINIMUM OF TWO");
}

void handleCoupling(StatementContext& ctx) {
  switch (firstLetter(ctx.line, 9, "YN")) {
    case 'Y':
      ctx.model.COUPLING = Coupling::COUPLED;
      break;
    case 'N':
      ctx.model.COUPLING = Coupling::W_ONLY;
      break;
    default:
      break;
  }
}

void handleZoneOverlap(StatementContext& ctx) {
  ctx.deck.readNumbers({&ctx.model.OVERLAP}, "THE ZONE OVERLAP FACTOR");
}

void handleUniformStress(StatementContext& ctx) {
  ctx.deck.readNumbers({&ctx.model.SIGMA_X, &ctx.model.SIGMA_Y},
                       "THE UNIFORM MEMBRANE STRESSES SIGMA X AND SIGMA Y");
}

void handleEquationSolver(StatementContext& ctx) {
  switch (firstLetter(ctx.line, 17, "FB")) {
    case 'F':
      ctx.model.SOLVER = EquationSolver::FULL;
      break;
    case 'B':
      ctx.model.SOLVER = EquationSolver::BAND;
      break;
    default:
      break;
  }
}

// Only the separate yielding solution has a letter; without it the setting stays.
void handleYieldingSolution(StatementContext& ctx) {
  if (firstLetter(ctx.line, 19, "S") == 'S') ctx.model.YLDOPT = YieldingSolution::WITHOUT_CRACKING;
}

void handleCrackingSolution(StatementContext& ctx) {
  ctx.model.CRKONLY = true;
}

void handleBoundaryDer(StatementContext& ctx) {
  switch (equalsThenLetter(ctx.line, 13, "CME")) {
    case 'C':
      ctx.model.BDIFF = BoundaryDifferences::CENTRAL;
      break;
    case 'M':
      ctx.model.BDIFF = BoundaryDifferences::MIXED;
      break;
    case 'E':
      ctx.model.NOBFAIL = true;
      break;
    default:
      break;
  }
}

void handleNeutral(StatementContext& ctx) {
  switch (equalsThenLetter(ctx.line, 9, "GW", 20)) {
    case 'G':
      ctx.model.NEUTRAL = NeutralSurface::GEOMETRIC_CENTRE;
      break;
    case 'W':
      ctx.model.NEUTRAL = NeutralSurface::WEIGHTED_SECTIONS;
      break;
    default:
      break;
  }
}

void handleSlab(StatementContext& ctx) {
  ctx.deck.readNumbers({&ctx.model.A, &ctx.model.B}, "THE SLAB DIMENSIONS A AND B");
}

void handleColumn(StatementContext& ctx) {
  ctx.deck.readNumbers({&ctx.model.COLA, &ctx.model.COLB}, "THE COLUMN VALUES");
}

// NCOL is given as the number of grid spacings of the whole column; one less is kept.
void handleDisc(StatementContext& ctx) {
  ModelDeck& m = ctx.model;
  ctx.deck.readNumbers({&m.NUMA, &m.NUMB, &m.NCOL}, "THE DISCRETIZATION NUMA, NUMB AND NCOL");
  if (m.NCOL > 1) m.NCOL -= 1;
}

void handleFilePrint(StatementContext& ctx) {
  if (findWord(ctx.line, "OPTION", 10, 60) > 0) ctx.model.PRINTMAX = true;
  ctx.model.PRINTREQ = requestCodes(ctx.deck.readLine("THE PRINT REQUEST LINE"));
}

// The format is the first EX (spreadsheet blocks) or TE (Tecplot point format) after the
// first `=` of columns 1 to 70.
void handleGraphic(StatementContext& ctx) {
  const std::string& line = ctx.line;
  const std::size_t eq = line.find('=');
  if (eq != std::string::npos && eq < 70) {
    const int from = static_cast<int>(eq) + 2;  // the column after the `=`
    const int excel = findWord(line, "EX", from, 69);
    const int tecplot = findWord(line, "TE", from, 69);
    if (excel > 0 && (tecplot == 0 || excel < tecplot))
      ctx.model.GRAPHFMT = GraphicFormat::SPREADSHEET;
    if (tecplot > 0 && (excel == 0 || tecplot < excel))
      ctx.model.GRAPHFMT = GraphicFormat::PLOT_FILES;
  }
  ctx.model.GRAPHICS = true;
  ctx.model.GRAPHREQ = requestCodes(ctx.deck.readLine("THE GRAPHIC REQUEST LINE"));
}

}  // namespace korvant
