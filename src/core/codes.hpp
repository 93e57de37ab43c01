// The codes that every subsystem speaks: the analysis procedure, the solution stage, the
// numbering modes of the grid, the options of the model (coupling, equation solver, yielding
// solution, boundary differences, neutral surface, dataset format, damage-law form, crack
// density), the diagnostics requests, the support layouts, the load types, the boundary
// conditions and the kinds of layer and of damage law. Code by these names, never by the literal
// numbers: each code is a scoped enumeration, so a code compares only with its own names. Where a
// code is read from a deck or printed, its number is converted at that one place (`codeNumber`). A
// code read from a deck keeps whatever number it was given, named or not.
#pragma once

#include <type_traits>

namespace korvant {

// The number of a code, as the deck gives it and the reports print it.
template <class Code>
constexpr std::underlying_type_t<Code> codeNumber(Code code) {
  return static_cast<std::underlying_type_t<Code>>(code);
}

// Analysis procedures (SOLPROC).
enum class SolutionProcedure : int {
  LINEAR = 1,
  NONLINEAR = 2,
};

// Solution stage codes (STAGE), read by the status lines, the reports and the degradation.
enum class SolutionStage : int {
  INITIAL_ELASTIC = 0,
  CRACKING = 1,
  COMBINED = 2,
  YIELDING = 3,
  FAILED_COMBINED = 6,
};

// Numbering modes of EQN.
enum class Numbering : int {
  REAL = 1,      // n = (J - 1) * NUMB + I, real points only
  EXTENDED = 2,  // n' = (J' - 1) * (NUMB + 4) + I', the extended grid
};

// Coupling options of the model (COUPLING).
enum class Coupling : int {
  W_ONLY = 1,   // one unknown (w) and one equation per point
  COUPLED = 2,  // three unknowns (u, v, w) and three equations per point
};

// Storage of the equations for the solver (SOLVER).
enum class EquationSolver : int {
  FULL = 1,  // full matrices
  BAND = 2,  // banded matrices
};

// The incremental stage of a nonlinear analysis (YLDOPT).
enum class YieldingSolution : int {
  WITH_CRACKING = 1,     // yielding increments combined with further concrete cracking
  WITHOUT_CRACKING = 2,  // yielding alone, no additional concrete cracking
};

// Derivatives along the external boundaries (BDIFF).
enum class BoundaryDifferences : int {
  CENTRAL = 1,  // central differences
  MIXED = 2,    // a combination of central, forward and backward differences
};

// Reference surface of a layered section (NEUTRAL).
enum class NeutralSurface : int {
  GEOMETRIC_CENTRE = 0,   // the middle of the stack
  WEIGHTED_SECTIONS = 1,  // the mean of the modulus-weighted centres
};

// Format of the graphical datasets (GRAPHFMT).
enum class GraphicFormat : int {
  PLOT_FILES = 1,   // the point format of the Tecplot data layout
  SPREADSHEET = 2,  // comma-separated blocks for spreadsheet charts
};

// Form of the damage laws (DLFORM).
enum class LawForm : int {
  POST_FAILURE_MODULI = 1,  // the moduli of the law replace the failed ones
  EQUATION = 2,             // the reduction equation K(a, b, c, d) scales them
};

// Crack density model of the reduction equation (CRKDENS).
enum class CrackDensity : int {
  STRAIN_BASED = 1,
  STRESS_BASED = 2,
};

// Diagnostics requests (the entries of DIAG; 0 ends the list).
enum class Diagnostic : int {
  COMPRESSION_FAILURES = 1,  // compression failures are identified
  CRACKING_MODES = 2,        // all cracking failure modes are identified
  FAILURE_INDICES = 3,       // all layer failure indices are output
};

// Support layout codes (SLABMODEL).
enum class SlabLayout : int {
  NONE = 0,  // no layout given
  NINE_COLUMN = 1,
  CLAMPED_PLATE = 2,
  FOUR_COLUMN_FREE = 3,
  FOUR_COLUMN_SYM = 4,
  SSCF = 5,
  SFSF = 6,
  FSFS = 7,
  SIMPLY_SUPPORTED = 8,
  USER_DEFINED = 99,
};

// Load types (column TYPE of the load table). The table holds them as reals; each reader
// takes the whole number its own way, so the type keeps the full range of whole numbers.
enum class LoadType : long long { UNIFORM = 1, DEAD_LOAD = 2, LIVE_LOAD = 3, USER_DEFINED = 4 };

// Boundary conditions, as numbered in the user boundary table and the input echo.
enum class Condition : int { CLAMPED = 1, SIMPLE = 2, FREE = 3, FREE_SYM = 4 };

// What a layer is made of (KIND of a layer record).
enum class LayerKind : int { NONE = 0, STEEL = 1, CONCRETE = 2, COMBINED = 3 };

// Kinds of damage law, as the kind line of a law names them. A law is of the kind of the
// layer that refers to it: a steel law holds the yielding modulus, a concrete law the
// tension, compression and shear moduli, a combined law all four.
enum class DamageLawKind : int { NONE = 0, STEEL = 1, CONCRETE = 2, COMBINED = 3 };

}  // namespace korvant
