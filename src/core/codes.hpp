// The codes that every subsystem speaks: the analysis procedure, the solution stage, the
// coupling option, the numbering modes of the grid and the support layouts. Code by these
// names, never by the literal numbers.
#pragma once

namespace korvant {

// Analysis procedures (SOLPROC).
namespace solution_procedure {
enum : int {
  LINEAR = 1,
  NONLINEAR = 2,
};
}

// Solution stage codes (STAGE), read by the status lines, the reports and the degradation.
namespace solution_stage {
enum : int {
  INITIAL_ELASTIC = 0,
  CRACKING = 1,
  COMBINED = 2,
  YIELDING = 3,
  FAILED_COMBINED = 6,
};
}

// Numbering modes of EQN.
namespace numbering {
enum : int {
  REAL = 1,      // n = (J - 1) * NUMB + I, real points only
  EXTENDED = 2,  // n' = (J' - 1) * (NUMB + 4) + I', the extended grid
};
}

// Coupling options of the model (COUPLING).
namespace coupling {
enum : int {
  W_ONLY = 1,   // one unknown (w) and one equation per point
  COUPLED = 2,  // three unknowns (u, v, w) and three equations per point
};
}

// Support layout codes (SLABMODEL).
namespace slab_layout {
enum : int {
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
}

// Boundary conditions, as numbered in the user boundary table and the input echo.
namespace condition {
enum : int { CLAMPED = 1, SIMPLE = 2, FREE = 3, FREE_SYM = 4 };
}

}  // namespace korvant
