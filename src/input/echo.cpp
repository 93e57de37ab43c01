// INPRT: the input echo. Each block restates one part of the model in its fixed layout;
// every line is built from the edit descriptors in the order of its format.
#include "input/echo.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <utility>

#include "core/program_banner.hpp"
#include "core/text.hpp"

namespace korvant {
namespace {

using fmt::A;
using fmt::E;
using fmt::F;
using fmt::I;
using fmt::X;

void banner(Writer& out) {
  out.blank(3);
  writeProgramBanner(out);
  out.blank(4);
}

void jobHeading(const ModelDeck& m, Writer& out) {
  if (!m.HASTITLE) return;
  out.blank();
  out.line(X(23), "J O B  H E A D I N G");
  out.line(X(23), "--------------------");
  out.blank();
  out.line(A(padded(m.TITLE, 80)));
  out.blank(2);
}

void solutionProcedure(const ModelDeck& m, Writer& out) {
  if (m.SOLPROC != SolutionProcedure::LINEAR && m.SOLPROC != SolutionProcedure::NONLINEAR) return;
  out.blank();
  out.line(X(17), "S O L U T I O N  P R O C E D U R E");
  out.line(X(17), "----------------------------------");
  out.blank();
  if (m.SOLPROC == SolutionProcedure::LINEAR) {
    out.line(X(10), "* A LINEAR ELASTIC ANALYSIS WILL BE PERFORMED");
    out.blank();
    return;
  }
  out.line(X(10), "* A NONLINEAR ANALYSIS WILL BE PERFORMED");
  out.blank();
  out.line(X(10), "NUMBER OF ITERATIONS FOR CONCRETE CRACKING  = ", I(5, m.NITCRK));
  out.line(X(10), "NUMBER OF PASSES THROUGH YIELDING SOLUTION  = ", I(5, m.NPASSY));
  out.line(X(10), "NUMBER OF YIELDING LOAD INCREMENTS          = ", I(5, m.NINCY));
  out.line(X(10), "CONVERGENCE TOLERANCE FOR CONCRETE CRACKING = ", E(9, 3, m.CRKTOL));
  out.line(X(10), "MAXIMUM ALLOWABLE NORMAL DEFLECTION         = ", E(9, 3, m.WMAX));
  out.blank();
}

// Names of a user boundary point's condition and location codes; blanks for other codes.
std::string conditionName(Condition condition) {
  switch (condition) {
    case Condition::CLAMPED:
      return "CLAMPED ";
    case Condition::SIMPLE:
      return "SIMPLE  ";
    case Condition::FREE:
      return "FREE    ";
    case Condition::FREE_SYM:
      return "FREE-SYM";
  }
  return std::string(8, ' ');
}

std::string locationName(int code) {
  static const std::array<const char*, 4> names = {"LOWER EDGE", "LEFT EDGE", "UPPER EDGE",
                                                   "RIGHT EDGE"};
  return padded(code >= 1 && code <= 4 ? names[code - 1] : "", 16);
}

void userBoundaryPoints(const ModelDeck& m, Writer& out) {
  out.line(X(22), " USER BOUNDARY CONDITIONS:");
  out.blank();
  out.line(X(17), " I    J     CONDITION     LOCATION");
  out.blank();
  for (int k = 1; k <= m.NUSERBC; ++k) {
    out.line(X(14), I(5, m.USERBC(k, userbc_col::I)), I(5, m.USERBC(k, userbc_col::J)), X(6),
             A(8, conditionName(userCondition(m, k))), X(4),
             A(16, locationName(m.USERBC(k, userbc_col::LOCATION))));
  }
}

void boundaryConditions(const ModelDeck& m, Writer& out) {
  out.blank();
  out.line(X(17), "B O U D A R Y  C O N D I T I O N S");
  out.line(X(17), "----------------------------------");
  out.blank();
  switch (m.SLABMODEL) {
    case SlabLayout::NINE_COLUMN:
      out.line(X(15), "A 9-COLUMN LAYOUT WILL BE ANALYZED");
      break;
    case SlabLayout::CLAMPED_PLATE:
      out.line(X(15), "A CLAMPED PLATE WILL BE ANALYZED");
      break;
    case SlabLayout::FOUR_COLUMN_FREE:
      out.line(X(12), "A 4-COLUMN FREE EDGE PLATE WILL BE ANALYZED");
      break;
    case SlabLayout::FOUR_COLUMN_SYM:
      out.line(X(11), "A 4-COLUMN SYMMETRIC EDGE PLATE WILL BE ANALYZED");
      break;
    case SlabLayout::SSCF:
      out.line(X(15), "A SSCF LAYOUT WILL BE ANALYZED");
      break;
    case SlabLayout::SFSF:
      out.line(X(15), "A SFSF LAYOUT WILL BE ANALYZED");
      break;
    case SlabLayout::FSFS:
      out.line(X(15), "A FSFS LAYOUT WILL BE ANALYZED");
      break;
    case SlabLayout::SIMPLY_SUPPORTED:
      out.line(X(15), "A SIMPLY SUPPORTED PLATE WILL BE ANALYZED");
      break;
    case SlabLayout::USER_DEFINED:
      out.line(X(15), "A USER-DEFINED LAYOUT WILL BE ANALYZED");
      out.blank();
      userBoundaryPoints(m, out);
      return;
    default:
      return;
  }
  out.blank();
}

void slabDimensions(const ModelDeck& m, Writer& out) {
  out.blank(2);
  out.line(X(20), "S L A B  D I M E N S I O N S:");
  out.line(X(20), "-----------------------------");
  out.blank();
  out.line(X(21), "A = ", E(9, 3, m.A), " B = ", E(9, 3, m.B));
  out.blank(2);
}

void discretization(const ModelDeck& m, Writer& out) {
  out.line(X(10), "D I S C R E T I Z A T I O N  P A R A M E T E R S :");
  out.line(X(10), "--------------------------------------------------");
  out.blank();
  out.line(X(14), "NUMA =", I(5, m.NUMA), X(3), " NUMB =", I(5, m.NUMB), X(3),
           " NCOL =", I(5, m.NCOL));
  out.blank();
}

void loadLine(const ModelDeck& m, int row, Writer& out) {
  const auto number = I(5, wholeValue(m.LOADS(row, load_col::NUMBER)));
  const auto magnitude = E(9, 3, m.LOADS(row, load_col::MAGNITUDE));
  const auto zone = I(5, wholeValue(m.LOADS(row, load_col::ZONE)));
  switch (static_cast<LoadType>(wholeValue(m.LOADS(row, load_col::TYPE)))) {
    case LoadType::UNIFORM:
      out.line(X(15), number, X(3), "UNIFORM", X(3), magnitude, X(2), zone);
      break;
    case LoadType::DEAD_LOAD:
      out.line(X(15), number, X(2), "DEAD LOAD", X(2), magnitude, X(2), zone);
      break;
    case LoadType::LIVE_LOAD:
      out.line(X(15), number, X(2), "LIVE LOAD", X(2), magnitude, X(2), zone);
      break;
    case LoadType::USER_DEFINED:
      out.line(X(15), number, X(2), "USER-DEFINED", X(2), magnitude, X(2), zone);
      break;
    default:
      break;
  }
}

void appliedLoading(const ModelDeck& m, Writer& out) {
  out.blank();
  out.line(X(20), "A P P L I E D  L O A D I N G");
  out.line(X(20), "----------------------------");
  out.blank();
  out.line(X(15), "   LOAD  TYPE     MAGNITUDE    ZONE");
  out.blank();
  for (int k = 1; k <= m.NLOAD; ++k) loadLine(m, k, out);
}

void materials(const ModelDeck& m, Writer& out) {
  out.blank(2);
  out.line(X(20), "M A T E R I A L  I N P U T");
  out.line(X(20), "--------------------------");
  out.blank();
  if (m.NSTEEL != 0) {
    out.blank();
    out.line(X(18), "S T E E L  P R O P E R T I E S:");
    out.blank();
    out.line(X(5), "SID   BAR DIA.    SPACING      E         MU         Y");
    out.blank();
    for (int k = 1; k <= m.NSTEEL; ++k) {
      const Matrix<double>& s = m.STEEL;
      out.line(I(7, wholeValue(s(k, steel_col::SID))), X(3), E(9, 3, s(k, steel_col::BARDIA)), X(2),
               E(9, 3, s(k, steel_col::SPACING)), X(2), E(9, 3, s(k, steel_col::E)), X(2),
               E(9, 3, s(k, steel_col::MU)), X(2), E(9, 3, s(k, steel_col::Y)), X(2));
    }
  }
  if (m.NCONC != 0) {
    out.blank(2);
    out.line(X(16), "C O N C R E T E  P R O P E R T I E S:");
    out.blank();
    out.line(X(5), "CID      E        MU         XT         XC          S");
    out.blank();
    for (int k = 1; k <= m.NCONC; ++k) {
      const Matrix<double>& c = m.CONC;
      out.line(I(7, wholeValue(c(k, conc_col::CID))), X(2), E(9, 3, c(k, conc_col::E)), X(2),
               E(9, 3, c(k, conc_col::MU)), X(2), E(9, 3, c(k, conc_col::XT)), X(2),
               E(9, 3, c(k, conc_col::XC)), X(2), E(9, 3, c(k, conc_col::S)), X(2));
    }
  }
}

void damageLawHeading(Writer& out) {
  out.blank(2);
  out.line(X(25), "D A M A G E  L A W S");
  out.line(X(25), "--------------------");
}

// The kind of law k of the table, as its moduli show it: a steel law holds one modulus (no
// second), a combined law four (a fourth), a concrete law three.
DamageLawKind lawKindByModuli(const Matrix<double>& d, int k) {
  if (d(k, law_col::TENSION) == 0.0) return DamageLawKind::STEEL;
  if (d(k, law_col::SHEAR) != 0.0) return DamageLawKind::COMBINED;
  return DamageLawKind::CONCRETE;
}

// Post-failure form: the law's kind shows in which moduli it holds. A steel law prints its
// one modulus in the field where a concrete law prints TENSION; a combined law starts
// one field further left.
void postFailureLaws(const ModelDeck& m, Writer& out) {
  damageLawHeading(out);
  out.line(X(23), "  POST-FAILURE MODULI: ");
  out.blank();
  out.line(X(10), "LAWID   YEILDING   TENSION  COMPRESSION  SHEAR");
  out.blank();
  const Matrix<double>& d = m.DLAWS;
  for (int k = 1; k <= m.NLAW; ++k) {
    const auto lawId = I(5, wholeValue(d(k, law_col::LAWID)));
    auto modulus = [&](int col) { return E(9, 3, d(k, col)); };
    switch (lawKindByModuli(d, k)) {
      case DamageLawKind::STEEL:
        out.line(X(8), lawId, X(8), X(7), modulus(2));
        break;
      case DamageLawKind::COMBINED:
        out.line(X(8), lawId, X(4), modulus(2), X(2), modulus(3), X(2), modulus(4), X(2),
                 modulus(5), X(2));
        break;
      default:
        out.line(X(8), lawId, X(8), X(7), modulus(2), X(2), modulus(3), X(2), modulus(4), X(2));
        break;
    }
  }
}

void equationLaws(const ModelDeck& m, Writer& out) {
  damageLawHeading(out);
  out.line(X(12), "EQUATION FORM: E_reduced = K(a,b,c,d)*E_initial");
  out.blank();
  out.line(X(4), "WHERE K = a + b*((S/S_CR)^1-1) + c*((S/S_CR)^2-1) + d*((S/S_CR)^3-1)");
  out.blank();
  out.line(X(10), "LAWID      a           b          c          d");
  out.blank();
  const Matrix<double>& d = m.DLAWS;
  for (int k = 1; k <= m.NLAW; ++k) {
    out.line(X(8), I(5, wholeValue(d(k, law_col::LAWID))), X(4), E(9, 3, d(k, law_col::a)), X(2),
             E(9, 3, d(k, law_col::b)), X(2), E(9, 3, d(k, law_col::c)), X(2),
             E(9, 3, d(k, law_col::d)), X(2));
  }
  if (m.CRKDENS == CrackDensity::STRESS_BASED) {
    out.blank();
    out.line(X(15), "THE CRACK DENSITY MODEL WILL BE STRESS-BASED");
  } else if (m.CRKDENS == CrackDensity::STRAIN_BASED) {
    out.blank();
    out.line(X(15), "THE CRACK DENSITY MODEL WILL BE STRAIN-BASED");
  }
}

void damageLaws(const ModelDeck& m, Writer& out) {
  if (m.NLAW == 0) return;
  if (m.DLFORM == LawForm::POST_FAILURE_MODULI) postFailureLaws(m, out);
  if (m.DLFORM == LawForm::EQUATION) equationLaws(m, out);
}

void layers(const ModelDeck& m, Writer& out) {
  out.blank(2);
  out.line(X(20), "L A Y E R  D E F I N I T I O N S");
  out.line(X(20), "--------------------------------");
  out.blank();
  out.line(X(10), " LAYID  STEEL ID  CONCRETE ID  DLAW    THICK     THETA");
  out.blank();
  const Matrix<double>& l = m.LAYERS;
  for (int k = 1; k <= m.NLAYER; ++k) {
    out.line(X(6), I(9, wholeValue(l(k, layer_col::LAYID))), I(9, wholeValue(l(k, layer_col::SID))),
             I(9, wholeValue(l(k, layer_col::CID))), X(2), I(9, wholeValue(l(k, layer_col::DLAW))),
             X(3), E(9, 3, l(k, layer_col::THICK)), X(2), E(9, 3, l(k, layer_col::THETA)), X(2));
  }
}

// The layer list of a zone: ten identifiers on the LAYERS line, then lines of ten more.
void zoneLayerList(const ModelDeck& m, int row, Writer& out) {
  int n = 0;
  while (n < kZoneLayers && m.ZLAY(row, n + 1) != 0) ++n;
  fmt::LineBuilder first;
  first.add(X(5));
  first.add("LAYERS:");
  for (int k = 1; k <= std::min(n, 10); ++k) first.add(I(5, m.ZLAY(row, k)));
  out.line(A(first.str()));
  for (int start = 11; start <= n; start += 10) {
    fmt::LineBuilder next;
    next.add(X(11));
    for (int k = start; k <= std::min(n, start + 9); ++k) next.add(I(6, m.ZLAY(row, k)));
    out.line(A(next.str()));
  }
}

void zones(const ModelDeck& m, Writer& out) {
  out.blank(2);
  out.line(X(20), "Z O N E  D E F I N I T I O N S");
  out.line(X(20), "------------------------------");
  out.blank();
  out.line(X(15), "        A          B          XO         YO ");
  const Matrix<double>& z = m.ZONES;
  for (int k = 1; k <= m.NZONE; ++k) {
    out.blank();
    out.line(X(5), "NUMBER ", I(5, wholeValue(z(k, zone_col::NUMBER))), " :",
             E(9, 3, z(k, zone_col::A)), X(2), E(9, 3, z(k, zone_col::B)), X(2),
             E(9, 3, z(k, zone_col::XO)), X(2), E(9, 3, z(k, zone_col::YO)), X(2));
    zoneLayerList(m, k, out);
  }
}

// The request lines shared by the print and graphic blocks, indented by `indent`.
void requestLines(const std::string& req, int indent, Writer& out) {
  static const std::array<std::pair<char, const char*>, 6> items = {{
      {'D', "* DISPLACEMENT FIELDS"},
      {'S', "* OUTER FIBER STRESSES ON UPPER SURFACE"},
      {'S', "* OUTER FIBER STRESSES ON LOWER SURFACE"},
      {'E', "* OUTER FIBER STRAINS ON UPPER SURFACE"},
      {'E', "* OUTER FIBER STRAINS ON LOWER SURFACE"},
      {'F', "* FAILED LAYER RATIOS OVER DOMAIN"},
  }};
  for (std::size_t p = 0; p < items.size(); ++p) {
    if (p < req.size() && req[p] == items[p].first) out.line(X(indent), items[p].second);
  }
}

void printRequests(const ModelDeck& m, Writer& out) {
  out.blank(2);
  out.line(X(20), "P R I N T  R E Q U E S T S:");
  out.line(X(20), "---------------------------");
  out.blank();
  if (!m.PRINTMAX) {
    out.line(X(20), "* FULL TABLES WILL BE PRINTED");
    out.blank();
  } else {
    out.line(X(20), "* ONLY MAX/MIN VALUES WILL BE PRINTED");
    out.blank();
  }
  requestLines(m.PRINTREQ, 20, out);
}

void graphicRequests(const ModelDeck& m, Writer& out) {
  if (!m.GRAPHICS) return;
  out.blank(2);
  out.line(X(10), "G R A P H I C A L  O U T P U T  R E Q U E S T S:");
  out.line(X(10), "------------------------------------------------");
  out.line(X(13), "[DATASET LIST STORED IN FILE: content.dat] ");
  out.blank();
  requestLines(m.GRAPHREQ, 15, out);
}

// One solution option: its lines at 15X, then a blank line.
template <typename... Lines>
void option(Writer& out, const Lines&... lines) {
  (out.line(X(15), lines), ...);
  out.blank();
}

void solutionOptions(const ModelDeck& m, Writer& out) {
  out.blank(2);
  out.line(X(20), "S O L U T I O N  O P T I O N S:");
  out.line(X(20), "-------------------------------");
  out.blank();
  if (m.COUPLING == Coupling::W_ONLY)
    option(out, "* COUPLING WILL BE NEGLECTED AND ONLY LATERAL",
           "  DEFLECTIONS WILL BE CALCULATED");
  if (m.COUPLING == Coupling::COUPLED) option(out, "* A FULLY COUPLED SOLUTION WILL BE OBTAINED");
  if (m.BDIFF == BoundaryDifferences::CENTRAL)
    option(out, "* CENTRAL DIFFERENCES WILL BE USED ALONG EXTERNAL BOUNDARIES");
  if (m.BDIFF == BoundaryDifferences::MIXED)
    option(out, "* A COMBINATION OF CENTRAL, FORWARD, AND BACKWARD DIFFERENCES",
           "  WILL BE USED ALONG EXTERNAL BOUNDARIES");
  if (m.NEUTRAL == NeutralSurface::GEOMETRIC_CENTRE)
    option(out, "* NEUTRAL SURFACE CALCULATED AS GEOMETRIC CENTER");
  if (m.NEUTRAL == NeutralSurface::WEIGHTED_SECTIONS)
    option(out, "* NEUTRAL SURFACE CALCULATED USING WEIGHTED SECTIONS");
  if (m.NOBFAIL) option(out, "* FAILURE ALONG BOUNDARIES WILL NOT BE PREDICTED");
  if (m.YLDOPT == YieldingSolution::WITHOUT_CRACKING)
    option(out, "* YIELDING SOLUTION WILL EXCLUDE ADDITIONAL CONCRETE CRACKING");
  if (m.SOLVER == EquationSolver::FULL)
    option(out, "* EQUATION SOLVER FOR FULL MATRICES WILL BE USED");
  if (m.SOLVER == EquationSolver::BAND)
    option(out, "* EQUATION SOLVER FOR BANDED MATRICES WILL BE USED");
  out.line(X(15), "* ZONE OVERLAP FACTOR = ", F(7, 5, m.OVERLAP));
  out.blank();
  if (m.SIGMA_X != 0.0 || m.SIGMA_Y != 0.0) {
    out.line(X(15), "* UNIFORM MEMBRANE STRESS:");
    out.line(X(17), "  SIGMA_X = ", F(12, 3, m.SIGMA_X));
    out.line(X(17), "  SIGMA_Y = ", F(12, 3, m.SIGMA_Y));
    out.blank();
  }
}

void diagnostics(const ModelDeck& m, Writer& out) {
  if (m.DIAG[0] == 0) return;
  out.blank();
  out.line(X(25), "D I A G N O S T I C S");
  out.line(X(25), "---------------------");
  out.blank();
  for (int number : m.DIAG) {
    if (number == 0) break;
    switch (static_cast<Diagnostic>(number)) {
      case Diagnostic::COMPRESSION_FAILURES:
        option(out, "* COMPRESSION FAILURES WILL BE IDENTIFIED");
        break;
      case Diagnostic::CRACKING_MODES:
        option(out, "* ALL CRACKING FAILURE MODES WILL BE IDENTIFIED");
        break;
      case Diagnostic::FAILURE_INDICES:
        option(out, "* ALL LAYER FAILURE INDICES WILL BE OUTPUTTED");
        break;
    }
  }
}

}  // namespace

void INPRT(const ModelDeck& model, const Capacities&, Writer& report) {
  banner(report);
  jobHeading(model, report);
  solutionProcedure(model, report);
  boundaryConditions(model, report);
  slabDimensions(model, report);
  discretization(model, report);
  appliedLoading(model, report);
  materials(model, report);
  damageLaws(model, report);
  layers(model, report);
  zones(model, report);
  printRequests(model, report);
  graphicRequests(model, report);
  solutionOptions(model, report);
  diagnostics(model, report);
}

}  // namespace korvant
