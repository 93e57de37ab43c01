// The checks after the end statement, in the order they run: the limits and tolerances
// of a nonlinear solution, damage laws against the layers that use them, materials, layers
// and zones against each other, the default loads, the slab and its grid against the
// storage capacities, the storage mode, the support layout with its column size or its
// supported points; then, after the echo, the column of the column layouts and, when errors
// were counted, the termination lines.
#include "input/validation.hpp"

#include <algorithm>
#include <cmath>
#include <span>
#include <string>
#include <vector>

#include "core/grid.hpp"
#include "core/reduction_factor.hpp"
#include "input/plausibility.hpp"
#include "input/statements.hpp"

namespace korvant {
namespace {

using fmt::E;
using fmt::F;
using fmt::I;
using fmt::X;

// ---------------------------------------------------------------------------------------
// The limits and tolerances of a nonlinear solution, after a limit of 1 was raised to 2

// "***ERROR: THE <label> (    n) MUST BE AT LEAST 1"
void requireAtLeastOne(const char* label, int value, Writer& out, int& nerr) {
  if (value >= 1) return;
  out.line("***ERROR: THE ", label, " (", I(5, value), ") MUST BE AT LEAST 1");
  ++nerr;
}

// "***ERROR: THE <label> (value) MUST NOT BE NEGATIVE"; a value that is not finite is
// named as such, since no E field can show it as a number.
void requireFiniteNotNegative(const char* label, double value, Writer& out, int& nerr) {
  if (!std::isfinite(value)) {
    out.line("***ERROR: THE ", label, " IS NOT A FINITE NUMBER");
    ++nerr;
  } else if (value < 0.0) {
    out.line("***ERROR: THE ", label, " (", E(9, 3, value), ") MUST NOT BE NEGATIVE");
    ++nerr;
  }
}

// Every stage needs at least one iteration, pass and increment to run. A WMAX of 0 is
// allowed: it predicts a collapse at the first check.
void checkSolutionParameters(const ModelDeck& m, Writer& out, int& nerr) {
  if (m.SOLPROC != SolutionProcedure::NONLINEAR) return;
  requireAtLeastOne("NUMBER OF ITERATIONS FOR CONCRETE CRACKING", m.NITCRK, out, nerr);
  requireAtLeastOne("NUMBER OF PASSES THROUGH YIELDING SOLUTION", m.NPASSY, out, nerr);
  requireAtLeastOne("NUMBER OF YIELDING LOAD INCREMENTS", m.NINCY, out, nerr);
  requireFiniteNotNegative("CONVERGENCE TOLERANCE FOR CONCRETE CRACKING", m.CRKTOL, out, nerr);
  requireFiniteNotNegative("MAXIMUM ALLOWABLE NORMAL DEFLECTION", m.WMAX, out, nerr);
}

// ---------------------------------------------------------------------------------------
// Damage laws against the layers that reference them

LayerKind layerKind(const ModelDeck& m, int row) {
  const bool steel = wholeValue(m.LAYERS(row, layer_col::SID)) != 0;
  const bool concrete = wholeValue(m.LAYERS(row, layer_col::CID)) != 0;
  if (steel && concrete) return LayerKind::COMBINED;
  if (steel) return LayerKind::STEEL;
  if (concrete) return LayerKind::CONCRETE;
  return LayerKind::NONE;
}

bool lawIsNamed(const ModelDeck& m, int lawRow, long long lawId) {
  return wholeValue(m.DLAWS(lawRow, law_col::LAWID)) == lawId;
}

// The post-failure moduli a law needs for a layer of `kind` sit in columns 2 to `last`.
bool hasZeroModulus(const ModelDeck& m, int lawRow, LayerKind kind) {
  const int last = kind == LayerKind::STEEL ? 2 : kind == LayerKind::CONCRETE ? 4 : 5;
  for (int col = 2; col <= last; ++col)
    if (m.DLAWS(lawRow, col) == 0.0) return true;
  return false;
}

void zeroModulusError(long long layerId, long long lawId, LayerKind kind, Writer& out) {
  out.line("***ERROR: LAYER ID", I(5, layerId), " IS REFERENCING DAMAGE LAW", I(5, lawId),
           " WHICH");
  out.line(X(10), "CONTAINS ONE OR MORE ZERO POST-FAILURE MODULI");
  if (kind == LayerKind::STEEL) out.line(X(10), "FOR A STEEL LAYER.");
  if (kind == LayerKind::CONCRETE) out.line(X(10), "FOR A CONCRETE LAYER.");
  if (kind == LayerKind::COMBINED) out.line(X(10), "FOR A COMBINED CONCRETE AND STEEL LAYER.");
  out.blank();
  out.line(X(10), "CHECK IF LAYER DEFINITION AND DAMAGE LAW AGREE");
}

void checkPostFailureModuli(const ModelDeck& m, Writer& out, int& nerr) {
  for (int k = 1; k <= m.NLAYER; ++k) {
    const LayerKind kind = layerKind(m, k);
    if (kind == LayerKind::NONE) continue;
    const long long lawId = wholeValue(m.LAYERS(k, layer_col::DLAW));
    for (int law = 1; law <= m.NLAW; ++law) {
      if (!lawIsNamed(m, law, lawId) || !hasZeroModulus(m, law, kind)) continue;
      zeroModulusError(wholeValue(m.LAYERS(k, layer_col::LAYID)), lawId, kind, out);
      ++nerr;
    }
  }
}

// ---------------------------------------------------------------------------------------
// Materials, layers and zones: values the analysis cannot use, references to nothing

// "***ERROR: <what> ID    n: <label> (value) MUST BE POSITIVE"
void requirePositive(const char* what, double id, const char* label, double value, Writer& out,
                     int& nerr) {
  if (value > 0.0) return;
  out.line("***ERROR: ", what, " ID", I(5, wholeValue(id)), ": ", label, " (", E(9, 3, value),
           ") MUST BE POSITIVE");
  ++nerr;
}

void requirePoissonRatio(const char* what, double id, double mu, Writer& out, int& nerr) {
  if (mu >= 0.0 && mu < 0.5) return;
  out.line("***ERROR: ", what, " ID", I(5, wholeValue(id)), ": MU (", E(9, 3, mu),
           ") MUST LIE IN 0 <= MU < 0.5");
  ++nerr;
}

void checkMaterials(const ModelDeck& m, Writer& out, int& nerr) {
  for (int k = 1; k <= m.NSTEEL; ++k) {
    const double id = m.STEEL(k, steel_col::SID);
    requirePositive("STEEL MATERIAL", id, "BAR DIA.", m.STEEL(k, steel_col::BARDIA), out, nerr);
    requirePositive("STEEL MATERIAL", id, "SPACING", m.STEEL(k, steel_col::SPACING), out, nerr);
    requirePositive("STEEL MATERIAL", id, "E", m.STEEL(k, steel_col::E), out, nerr);
    requirePoissonRatio("STEEL MATERIAL", id, m.STEEL(k, steel_col::MU), out, nerr);
  }
  for (int k = 1; k <= m.NCONC; ++k) {
    const double id = m.CONC(k, conc_col::CID);
    requirePositive("CONCRETE MATERIAL", id, "E", m.CONC(k, conc_col::E), out, nerr);
    requirePoissonRatio("CONCRETE MATERIAL", id, m.CONC(k, conc_col::MU), out, nerr);
  }
}

// The failure tests of a nonlinear analysis measure stresses against the strengths: a strength
// of 0 or less would fail a layer under any stress, with a ratio without bound.
void checkStrengths(const ModelDeck& m, Writer& out, int& nerr) {
  if (m.SOLPROC != SolutionProcedure::NONLINEAR) return;
  for (int k = 1; k <= m.NSTEEL; ++k)
    requirePositive("STEEL MATERIAL", m.STEEL(k, steel_col::SID), "Y", m.STEEL(k, steel_col::Y),
                    out, nerr);
  for (int k = 1; k <= m.NCONC; ++k) {
    const double id = m.CONC(k, conc_col::CID);
    requirePositive("CONCRETE MATERIAL", id, "XT", m.CONC(k, conc_col::XT), out, nerr);
    requirePositive("CONCRETE MATERIAL", id, "XC", m.CONC(k, conc_col::XC), out, nerr);
    requirePositive("CONCRETE MATERIAL", id, "S", m.CONC(k, conc_col::S), out, nerr);
  }
}

bool lawExists(const ModelDeck& m, long long lawId) {
  for (int law = 1; law <= m.NLAW; ++law)
    if (lawIsNamed(m, law, lawId)) return true;
  return false;
}

// Every layer needs a material and a thickness; in a nonlinear analysis, where failed
// layers take their reduced moduli from it, also a damage law that exists.
void checkLayers(const ModelDeck& m, Writer& out, int& nerr) {
  for (int k = 1; k <= m.NLAYER; ++k) {
    const double id = m.LAYERS(k, layer_col::LAYID);
    if (layerKind(m, k) == LayerKind::NONE) {
      out.line("***ERROR: LAYER ID", I(5, wholeValue(id)), " HAS STEEL ID",
               I(5, wholeValue(m.LAYERS(k, layer_col::SID))), " AND CONCRETE ID",
               I(5, wholeValue(m.LAYERS(k, layer_col::CID))));
      out.line(X(10), "A LAYER NEEDS A STEEL OR A CONCRETE MATERIAL");
      ++nerr;
    }
    requirePositive("LAYER", id, "THICK", m.LAYERS(k, layer_col::THICK), out, nerr);
    const long long lawId = wholeValue(m.LAYERS(k, layer_col::DLAW));
    if (m.SOLPROC == SolutionProcedure::NONLINEAR && !lawExists(m, lawId)) {
      out.line("***ERROR: LAYER ID", I(5, wholeValue(id)), " IS REFERENCING DAMAGE LAW",
               I(5, lawId), " WHICH");
      out.line(X(10), "IS NOT DEFINED BY ANY DAMAGE LAW STATEMENT");
      ++nerr;
    }
  }
}

bool layerExists(const ModelDeck& m, long long layerId) {
  for (int k = 1; k <= m.NLAYER; ++k)
    if (wholeValue(m.LAYERS(k, layer_col::LAYID)) == layerId) return true;
  return false;
}

void checkZoneLayers(const ModelDeck& m, Writer& out, int& nerr) {
  for (int z = 1; z <= m.NZONE; ++z) {
    for (int k = 1; k <= kZoneLayers && m.ZLAY(z, k) != 0; ++k) {
      if (layerExists(m, m.ZLAY(z, k))) continue;
      out.line("***ERROR: ZONE", I(5, wholeValue(m.ZONES(z, zone_col::NUMBER))),
               " IS REFERENCING LAYER ID", I(5, m.ZLAY(z, k)), " WHICH");
      out.line(X(10), "IS NOT DEFINED BY ANY LAYER STATEMENT");
      ++nerr;
    }
  }
}

// ---------------------------------------------------------------------------------------
// Default loads for zones that carry none

// A uniform load row of the deck (zone 0) loads every zone; any other row loads its zone.
bool zoneIsLoaded(const ModelDeck& m, double loadNumber, double zoneNumber) {
  for (int k = 1; k <= m.NLOAD; ++k) {
    const long long zone = wholeValue(m.LOADS(k, load_col::ZONE));
    if (zone == wholeValue(zoneNumber)) return true;
    const auto type = static_cast<LoadType>(wholeValue(m.LOADS(k, load_col::TYPE)));
    const bool wholeSlab = type == LoadType::UNIFORM && zone == 0;
    if (wholeSlab && wholeValue(m.LOADS(k, load_col::NUMBER)) == wholeValue(loadNumber))
      return true;
  }
  return false;
}

void appendDefaultLoad(ModelDeck& m, const Capacities& cap, double loadNumber, double zoneNumber,
                       Writer& out, int& nerr) {
  if (m.NLOAD >= std::min(cap.MXD5, m.LOADS.rows())) {
    out.line("***ERROR: NUMBER OF LOADS EXCEEDING ", I(5, cap.MXD5), ". INCREASE MXD5 PARAMETER");
    out.line(X(10), "DEFAULT LOAD FOR ZONE", I(5, wholeValue(zoneNumber)), " IS NOT STORED");
    ++nerr;
    return;
  }
  const int row = ++m.NLOAD;
  m.LOADS(row, load_col::NUMBER) = loadNumber;
  m.LOADS(row, load_col::TYPE) = static_cast<double>(codeNumber(LoadType::UNIFORM));
  m.LOADS(row, load_col::MAGNITUDE) = m.PDEF;
  m.LOADS(row, load_col::ZONE) = zoneNumber;
}

bool zoneDefined(const ModelDeck& m, long long zone) {
  for (int z = 1; z <= m.NZONE; ++z)
    if (wholeValue(m.ZONES(z, zone_col::NUMBER)) == zone) return true;
  return false;
}

// A dead, live or user-defined load acts on its zone: a zone that the deck does not define
// would leave the load nowhere (and the points of the slab without their pressure).
void checkLoadZones(const ModelDeck& m, Writer& out, int& nerr) {
  for (int k = 1; k <= m.NLOAD; ++k) {
    const auto type = static_cast<LoadType>(wholeValue(m.LOADS(k, load_col::TYPE)));
    const long long zone = wholeValue(m.LOADS(k, load_col::ZONE));
    if (type == LoadType::UNIFORM || zoneDefined(m, zone)) continue;
    out.line("***ERROR: LOAD", I(5, wholeValue(m.LOADS(k, load_col::NUMBER))), " ACTS ON ZONE",
             I(5, zone), " WHICH IS NOT DEFINED BY A *ZONE STATEMENT");
    ++nerr;
  }
}

// With fewer load rows than zones, every zone without a load gets a uniform row of the
// default pressure for its own zone, under the load number of the first row.
void fillDefaultLoads(ModelDeck& m, const Capacities& cap, Writer& out, int& nerr) {
  if (m.NLOAD >= m.NZONE) return;
  const double loadNumber = m.NLOAD == 0 ? 1.0 : m.LOADS(1, load_col::NUMBER);
  for (int z = 1; z <= m.NZONE; ++z) {
    const double zoneNumber = m.ZONES(z, zone_col::NUMBER);
    if (zoneIsLoaded(m, loadNumber, zoneNumber)) continue;
    if (m.PDEF == kNoDefaultPressure) {
      out.line("***ERROR: THE NEEDED DEFAULT SLAB LOAD HAS NOT BEEN SPECIFIED");
      ++nerr;
      return;
    }
    appendDefaultLoad(m, cap, loadNumber, zoneNumber, out, nerr);
  }
}

// ---------------------------------------------------------------------------------------
// The slab, its grid and the storage of the equations

void checkSlab(const ModelDeck& m, Writer& out, int& nerr) {
  if (!(m.A > 0.0)) {
    out.line("***ERROR: SLAB DIMENSION A (", E(9, 3, m.A), ") MUST BE POSITIVE");
    ++nerr;
  }
  if (!(m.B > 0.0)) {
    out.line("***ERROR: SLAB DIMENSION B (", E(9, 3, m.B), ") MUST BE POSITIVE");
    ++nerr;
  }
  if (m.NUMA < 3) {
    out.line("***ERROR: NUMA (", I(5, m.NUMA), ") MUST BE INPUT AS 3 OR MORE");
    ++nerr;
  }
  if (m.NUMB < 3) {
    out.line("***ERROR: NUMB (", I(5, m.NUMB), ") MUST BE INPUT AS 3 OR MORE");
    ++nerr;
  }
}

// Equation rows of the grid extended by two fictitious rows beyond every edge, with one
// unknown (w) or three (u, v, w) per point; any whole numbers of the deck, in wide arithmetic.
long long globalMatrixSize(const ModelDeck& m) {
  const Coupling option = m.COUPLING == Coupling::W_ONLY ? Coupling::W_ONLY : Coupling::COUPLED;
  return extendedUnknownsWide(m.NUMA, m.NUMB, option);
}

// A bandwidth no band store of the grid exceeds. The estimate from the longer side alone
// stands where it refuses the grid; where it would pass a long thin grid whose band does not
// fit, the storage column the assembled band reaches (the diagonal column plus the largest
// distance of an unknown from its equation) is given instead. Coupled equations are never
// stored in band form (the storage mode is reset to full below): their estimate stands.
long long bandwidthEstimate(const ModelDeck& m, const Capacities& cap) {
  const long long n = std::max(m.NUMA, m.NUMB);
  if (m.COUPLING != Coupling::W_ONLY) return 24 * n + 46;
  const long long estimate = 8 * n + 16;
  if (estimate > cap.MXBD) return estimate;
  const long long reached = cap.MXBD / 2 + 1 + largestBandOffset(m.NUMA, m.NUMB, Coupling::W_ONLY);
  return std::max(estimate, reached);
}

// The capacities are those of the build; the sparse store of --large has none but memory.
void hintLarge(Writer& out) {
  if (ReportNotes* notes = out.notes())
    notes->hint("korvant --large lifts this limit: the equations in a sparse store");
}

void matrixSizeError(long long size, int limit, const char* parameter, Writer& out) {
  out.line("***ERROR: NUMBER OF DIVISIONS WILL CREATE GLOBAL MATRICES OF");
  out.line(X(10), "SIZE", I(7, size), " WHICH EXCEEDS MAXIMUM OF", I(7, limit), ".");
  out.line(X(10), "INCREASE PARAMETER ", parameter);
  hintLarge(out);
}

// Returns true when the equations of the grid fit the store.
bool checkStorage(const ModelDeck& m, const Capacities& cap, Writer& out, int& nerr) {
  const long long size = globalMatrixSize(m);
  bool fits = true;
  if (size > cap.MXD1) {
    matrixSizeError(size, cap.MXD1, "MXD1", out);
    ++nerr;
    fits = false;
  }
  if (m.SOLVER == EquationSolver::FULL && cap.MXD1 != cap.MXBD && size > cap.MXBD) {
    matrixSizeError(size, cap.MXBD, "MXBD", out);
    ++nerr;
    fits = false;
  }
  const long long band = bandwidthEstimate(m, cap);
  if (m.SOLVER == EquationSolver::BAND && band > cap.MXBD) {
    out.line("***ERROR: A CONSERVATIVE ESTIMATE OF THE BANDWIDTH IS GIVEN");
    out.line(X(10), "BY ", I(6, band), ". THIS EXCEEDS THE MAXIMUM DIMENSION OF");
    out.line(X(10), I(6, cap.MXBD), ". INCREASE PARAMETER MXBD");
    hintLarge(out);
    ++nerr;
  }
  return fits;
}

// The band store does not serve the coupled equations; they are stored in full.
void resetCoupledBandStorage(ModelDeck& m, Writer& out) {
  if (m.COUPLING != Coupling::COUPLED || m.SOLVER != EquationSolver::BAND) return;
  out.line("***WARNING: A COUPLED SOLUTION IS REQUESTED USING A BAND");
  if (ReportNotes* notes = out.notes()) notes->remarkLast();  // the default band store
  out.line("            STORAGE MODE. THIS APPEARS TO CAUSE PROBLEMS");
  out.line("            IN THE SOLVER.");
  out.blank();
  out.line("            CORRECTIVE ACTION: THE STORAGE MODE WILL BE");
  out.line("                               RESET TO FULL");
  m.SOLVER = EquationSolver::FULL;
}

void checkSlabModel(const ModelDeck& m, Writer& out, int& nerr) {
  if (m.SLABMODEL != SlabLayout::NONE) return;
  out.line("***ERROR: SLAB MODEL ", I(5, codeNumber(m.SLABMODEL)), " NOT RECOGNIZED");
  if (ReportNotes* notes = out.notes())
    notes->hint("*BOUNDARY = LIBRARY takes a layout line; " + layoutNamesHint() +
                "; *BOUNDARY = USER takes a list of points");
  out.blank();
  ++nerr;
}

// ---------------------------------------------------------------------------------------
// The supports: the column size of the column layouts, the points of a user-defined layout

bool isColumnLayout(SlabLayout SLABMODEL) {
  return SLABMODEL == SlabLayout::NINE_COLUMN || SLABMODEL == SlabLayout::FOUR_COLUMN_FREE ||
         SLABMODEL == SlabLayout::FOUR_COLUMN_SYM;
}

// A grid line along either side outside every column band carries points outside the
// column regions, each with its difference equation.
bool columnsLeaveEquations(const ModelDeck& m) {
  const bool nine = m.SLABMODEL == SlabLayout::NINE_COLUMN;
  auto open = [&](long long n) {
    for (long long k = 1; k <= n; ++k)
      if (!inColumnBand(k, n, m.NCOL, nine)) return true;
    return false;
  };
  return open(m.NUMB) || open(m.NUMA);
}

// NCOL counts grid spacings: it cannot be negative nor exceed the grid, and the column
// regions of a column layout must leave some point of the slab to solve for.
void checkColumnSize(const ModelDeck& m, Writer& out, int& nerr) {
  const int largest = std::max(m.NUMA, m.NUMB);
  if (m.NCOL < 0 || m.NCOL > largest) {
    out.line("***ERROR: NCOL (", I(5, m.NCOL), ") MUST LIE IN 0 <= NCOL <=", I(5, largest));
    ++nerr;
  } else if (isColumnLayout(m.SLABMODEL) && !columnsLeaveEquations(m)) {
    out.line("***ERROR: NCOL (", I(5, m.NCOL), ") GIVES COLUMN REGIONS THAT COVER THE SLAB:");
    out.line(X(10), "NO DIFFERENCE EQUATION IS LEFT TO SOLVE");
    ++nerr;
  }
}

// A user-defined layout holds the slab only at its CLAMPED and SIMPLE points.
void checkUserSupports(const ModelDeck& m, Writer& out, int& nerr) {
  if (m.SLABMODEL != SlabLayout::USER_DEFINED) return;
  const int rows = std::min(m.NUSERBC, m.USERBC.rows());
  for (int k = 1; k <= rows && m.USERBC(k, userbc_col::I) != 0; ++k) {
    const Condition cond = userCondition(m, k);
    if (cond == Condition::CLAMPED || cond == Condition::SIMPLE) return;
  }
  out.line("***ERROR: THE USER-DEFINED BOUNDARY POINTS HOLD NO CLAMPED OR SIMPLE");
  out.line(X(10), "POINT: THE SLAB IS NOT SUPPORTED");
  ++nerr;
}

// ---------------------------------------------------------------------------------------
// After the echo

void quarterColumn(const ModelDeck& m, Writer& out) {
  const double a = m.A / (static_cast<double>(m.NUMA) - 1.0) * m.NCOL;
  const double b = m.B / (static_cast<double>(m.NUMB) - 1.0) * m.NCOL;
  out.blank(2);
  out.line(X(17), "*** DISCRETIZATION PARAMETERS YIELDS AN EFFECTIVE");
  out.line(X(21), "QUARTER COLUMN CROSS SECTION GIVEN BY");
  out.line(X(24), "       A         B    ");
  out.line(X(27), F(7, 4, a), X(3), F(7, 4, b), X(3));
  out.blank();
}

// The 9-column layout puts a column on the centre line, which needs a grid line there.
void checkOddGrid(const ModelDeck& m, Writer& out, int& nerr) {
  if (m.NUMA % 2 == 0) {
    out.line("***ERROR: NUMA (", I(5, m.NUMA), ") MUST BE INPUT AS AN ODD NUMBER ");
    out.line("          FOR THIS SLAB CONFIGURATION");
    ++nerr;
  }
  if (m.NUMB % 2 == 0) {
    out.line("***ERROR: NUMB (", I(5, m.NUMB), ") MUST BE INPUT AS AN ODD NUMBER");
    out.line("          FOR THIS SLAB CONFIGURATION");
    ++nerr;
  }
}

void reductionFactorLines(double k2, double k3, Writer& out) {
  out.blank();
  out.line("***WARNING: EQUATION LAW FOR POST-FAILURE MODULUS REDUCTION");
  out.line(X(12), "FOR STRESS RATIOS EQUAL TO 2.0 AND 3.0 YIELDS");
  out.line(X(12), "REDUCTION FACTORS OF ", E(9, 3, k2), " AND ", E(9, 3, k3));
  out.blank();
}

}  // namespace

void checkReductionFactors(double a, double b, double c, double d, Writer& out) {
  const double k2 = reductionFactor(a, b, c, d, 2.0);
  const double k3 = reductionFactor(a, b, c, d, 3.0);
  if (k2 < 0.0 || k3 < 0.0) {
    reductionFactorLines(k2, k3, out);
    out.line(X(12), "CORRECTIVE ACTION: NEGATIVE VALUES WILL BE SET");
    out.line(X(12), "EQUAL TO THE DEFAULT POST-FAILURE MODULI");
    out.blank();
  }
  if (k2 > 1.0 || k3 > 1.0) {
    reductionFactorLines(k2, k3, out);
    out.line(X(12), "CORRECTIVE ACTION: VALUES GREATER THAN UNITY WILL BE");
    out.line(X(12), "SET EQUAL TO THE POST-FAILURE DEFAULT MODULI");
    out.blank();
  }
}

ModelCheck validateModel(ModelDeck& model, const Capacities& cap, Writer& report, int nerr) {
  // Checks on the deck as read; the user sees every message before the echo.
  checkSolutionParameters(model, report, nerr);
  checkPostFailureModuli(model, report, nerr);
  checkMaterials(model, report, nerr);
  checkStrengths(model, report, nerr);
  checkLayers(model, report, nerr);
  checkZoneLayers(model, report, nerr);
  checkLoadZones(model, report, nerr);
  fillDefaultLoads(model, cap, report, nerr);
  checkSlab(model, report, nerr);
  const bool gridFits = checkStorage(model, cap, report, nerr);
  resetCoupledBandStorage(model, report);
  checkSlabModel(model, report, nerr);
  // A grid refused above is not set up: its points could exhaust memory, or lie nowhere.
  const bool gridSetUp = gridFits && model.NUMA >= 3 && model.NUMB >= 3;
  if (gridSetUp) checkColumnSize(model, report, nerr);
  checkUserSupports(model, report, nerr);
  if (ReportNotes* notes = report.notes()) adviseSteelLayers(model, *notes);
  return {nerr, gridSetUp};
}

void checkColumnGrid(ModelDeck& model, Writer& report, int& nerr) {
  model.COLA = 1.0;
  model.COLB = 1.0;
  if (model.SLABMODEL == SlabLayout::NINE_COLUMN) {
    quarterColumn(model, report);
    checkOddGrid(model, report, nerr);
  }
  if (model.SLABMODEL == SlabLayout::FOUR_COLUMN_FREE ||
      model.SLABMODEL == SlabLayout::FOUR_COLUMN_SYM || model.SLABMODEL == SlabLayout::USER_DEFINED)
    quarterColumn(model, report);
}

void writeInputTermination(int nerr, Writer& out) {
  out.blank(2);
  out.line(X(5), "*** PARSING INPUT DETECTED ", I(7, nerr), " FATAL ERRORS ***");
  out.blank();
  out.blank(2);
  out.line(X(20), "### JOB TERMINATED ###");
  out.blank(2);
}

}  // namespace korvant
