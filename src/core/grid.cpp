#include "core/grid.hpp"

#include <cassert>

namespace korvant {

namespace {

// Points per grid column in the given numbering.
int columnLength(int NUMB, int mode) {
  return mode == numbering::EXTENDED ? NUMB + 2 * kFictitiousRows : NUMB;
}

// Unknowns or equations carried by one point.
int entriesPerPoint(int couplingOption) {
  return couplingOption == coupling::COUPLED ? 3 : 1;
}

bool validOption(int couplingOption) {
  return couplingOption == coupling::W_ONLY || couplingOption == coupling::COUPLED;
}

}  // namespace

int EQN(int I, int J, int /*NUMA*/, int NUMB, int mode, int couplingOption) {
  const bool validMode = mode == numbering::REAL || mode == numbering::EXTENDED;
  assert(validMode && validOption(couplingOption));
  if (!validMode || !validOption(couplingOption)) return 0;
  const int n = (J - 1) * columnLength(NUMB, mode) + I;
  const int k = entriesPerPoint(couplingOption);
  return k * n - (k - 1);
}

int extendedUnknowns(int NUMA, int NUMB, int couplingOption) {
  if (!validOption(couplingOption)) return 0;
  const int width = 2 * kFictitiousRows;
  return entriesPerPoint(couplingOption) * (NUMA + width) * (NUMB + width);
}

}  // namespace korvant
