// Bandwidth of the stored equation system, measured from the coefficients that are present
// (larger in magnitude than kPresence).
#pragma once

#include "core/codes.hpp"
#include "solver/coefficient_array.hpp"

namespace korvant {

class EquationStore;

inline constexpr double kPresence = 1.0e-8;

// The first and last storage column of K holding a present coefficient in rows 1..NEQ;
// `found` is false when there is none.
struct PresentColumns {
  bool found = false;
  int first = 0;
  int last = 0;
};
PresentColumns presentColumns(const CoefficientArray& K, int NEQ);
// The same for the K of an equation store, reading only the entries it records as written.
PresentColumns presentColumns(const EquationStore& store, int NEQ);

// Sets BW for the rows 1..NEQ of K in the given storage mode. Full storage: 2 w + 1, w the
// largest offset j - i of a present coefficient on or above the diagonal (the band is taken
// as symmetric). Band storage: the number of storage columns from the first to the last that
// hold a present coefficient. A system without any present coefficient has no bandwidth:
// BW = 0.
void BANDWD(const CoefficientArray& K, int& BW, EquationSolver solverOption, int NEQ);
// The same for the K of an equation store, reading only the entries the store records as
// written (K is zero elsewhere).
void BANDWD(const EquationStore& store, int& BW, EquationSolver solverOption, int NEQ);

}  // namespace korvant
