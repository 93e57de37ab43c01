// The model read from the input deck: scalar settings with their defaults and the
// tables of materials, layers, zones, damage laws, loads and user boundary points.
// Identifiers and codes in the real-valued tables hold whole values.
#pragma once

#include <array>
#include <cmath>
#include <limits>
#include <string>

#include "core/capacities.hpp"
#include "core/codes.hpp"
#include "core/matrix.hpp"

namespace korvant {

// Columns of the real-valued tables.
namespace steel_col {
enum { SID = 1, BARDIA, SPACING, E, MU, Y, COUNT = Y };
}
namespace conc_col {
enum { CID = 1, E, MU, XT, XC, S, COUNT = S };
}
namespace layer_col {
enum { LAYID = 1, SID, CID, DLAW, THICK, THETA, COUNT = THETA };
}
namespace zone_col {
enum { NUMBER = 1, A, B, XO, YO, COUNT = YO };
}
namespace law_col {
enum { LAWID = 1, YIELDING, TENSION, COMPRESSION, SHEAR, a, b, c, d, SPARE, COUNT = SPARE };
}
namespace load_col {
enum { NUMBER = 1, TYPE, MAGNITUDE, ZONE, COUNT = ZONE };
}
namespace userbc_col {
enum { I = 1, J, CONDITION, LOCATION, COUNT = LOCATION };
}

// Identifiers and codes held in the real-valued tables are whole values; they are compared
// and printed rounded to the nearest whole number. A value beyond the range of whole numbers
// (1e25 read from a deck, say) gives the nearest end of the range, which no identifier
// matches and which prints as asterisks; one that is not a number gives the lower end.
inline long long wholeValue(double v) {
  constexpr double kBeyond = 9.2e18;  // just inside the range of long long
  if (!(v > -kBeyond)) return std::numeric_limits<long long>::min();
  if (!(v < kBeyond)) return std::numeric_limits<long long>::max();
  return std::llround(v);
}

inline constexpr int kZoneLayers = 25;  // layer identifiers per zone
inline constexpr int kDiagEntries = 25;
inline constexpr double kNoDefaultPressure = -999.0;

struct ModelDeck {
  explicit ModelDeck(const Capacities& cap = Capacities{})
      : STEEL(cap.MXD5, steel_col::COUNT),
        CONC(cap.MXD5, conc_col::COUNT),
        LAYERS(cap.MXD5, layer_col::COUNT),
        ZONES(cap.MXD5, zone_col::COUNT),
        ZLAY(cap.MXD5, kZoneLayers),
        DLAWS(cap.MXD5, law_col::COUNT),
        LOADS(cap.MXD5, load_col::COUNT),
        USERBC(cap.MXD3, userbc_col::COUNT) {}

  // Heading and control flags
  std::string TITLE = std::string(80, ' ');
  bool HASTITLE = false;
  bool DEBUG = false;
  bool STATUS = false;
  std::array<int, kDiagEntries> DIAG{};  // Diagnostic requests as read, 0 after the last

  // Analysis and solution options
  SolutionProcedure SOLPROC = SolutionProcedure::LINEAR;
  int NITCRK = 0;
  int NPASSY = 0;
  int NINCY = 0;
  double CRKTOL = 0.0;
  double WMAX = 1.0e10;
  Coupling COUPLING = Coupling::COUPLED;
  double OVERLAP = 1.005;
  double SIGMA_X = 0.0;
  double SIGMA_Y = 0.0;
  EquationSolver SOLVER = EquationSolver::BAND;
  YieldingSolution YLDOPT = YieldingSolution::WITH_CRACKING;
  bool CRKONLY = false;  // the analysis stops after the cracking stage
  BoundaryDifferences BDIFF = BoundaryDifferences::CENTRAL;
  bool NOBFAIL = false;  // no failure is predicted along the boundaries
  NeutralSurface NEUTRAL = NeutralSurface::WEIGHTED_SECTIONS;

  // Geometry and discretization
  double A = 0.0;
  double B = 0.0;
  double COLA = 0.0;
  double COLB = 0.0;
  int NUMA = 0;
  int NUMB = 0;
  int NCOL = 0;
  SlabLayout SLABMODEL = SlabLayout::NONE;

  // Loading
  double PDEF = kNoDefaultPressure;
  int NLC = 1;

  // Print and graphic requests
  bool PRINTMAX = false;  // only the largest and smallest values are printed
  std::string PRINTREQ = "D     ";
  bool GRAPHICS = false;
  std::string GRAPHREQ = "      ";
  GraphicFormat GRAPHFMT = GraphicFormat::PLOT_FILES;

  // Damage laws
  LawForm DLFORM = LawForm::POST_FAILURE_MODULI;
  CrackDensity CRKDENS = CrackDensity::STRAIN_BASED;

  // Tables and their counts
  Matrix<double> STEEL;
  int NSTEEL = 0;
  Matrix<double> CONC;
  int NCONC = 0;
  Matrix<double> LAYERS;
  int NLAYER = 0;
  Matrix<double> ZONES;
  int NZONE = 0;
  Matrix<int> ZLAY;  // ZLAY(zone row, k): k-th layer identifier of the zone, 0 after the last
  Matrix<double> DLAWS;
  int NLAW = 0;
  Matrix<double> LOADS;
  int NLOAD = 0;
  Matrix<int> USERBC;
  int NUSERBC = 0;
};

// The boundary condition of row k of the user boundary table, as the deck gave it.
inline Condition userCondition(const ModelDeck& m, int k) {
  return static_cast<Condition>(m.USERBC(k, userbc_col::CONDITION));
}

// The pressure of load factor 1 in the pictures and files of a run: the deck's first load
// line; 0 without one.
inline double firstPressure(const ModelDeck& m) {
  return m.NLOAD > 0 ? m.LOADS(1, load_col::MAGNITUDE) : 0.0;
}

}  // namespace korvant
