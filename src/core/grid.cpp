#include "core/grid.hpp"

#include <cassert>
#include <limits>

namespace korvant {

namespace {

// Points per grid column in the given numbering.
int columnLength(int NUMB, Numbering mode) {
  return mode == Numbering::EXTENDED ? NUMB + 2 * kFictitiousRows : NUMB;
}

bool validOption(Coupling couplingOption) {
  return couplingOption == Coupling::W_ONLY || couplingOption == Coupling::COUPLED;
}

}  // namespace

int unknownsPerPoint(Coupling couplingOption) {
  return couplingOption == Coupling::COUPLED ? 3 : 1;
}

int EQN(int I, int J, int /*NUMA*/, int NUMB, Numbering mode, Coupling couplingOption) {
  const bool validMode = mode == Numbering::REAL || mode == Numbering::EXTENDED;
  assert(validMode && validOption(couplingOption));
  if (!validMode || !validOption(couplingOption)) return 0;
  const int n = (J - 1) * columnLength(NUMB, mode) + I;
  const int k = unknownsPerPoint(couplingOption);
  return k * n - (k - 1);
}

int extendedUnknowns(int NUMA, int NUMB, Coupling couplingOption) {
  return static_cast<int>(extendedUnknownsWide(NUMA, NUMB, couplingOption));
}

long long extendedUnknownsWide(long long NUMA, long long NUMB, Coupling couplingOption) {
  if (!validOption(couplingOption)) return 0;
  const long long width = 2 * kFictitiousRows;
  long long points = 0;
  long long unknowns = 0;
  if (__builtin_mul_overflow(NUMA + width, NUMB + width, &points) ||
      __builtin_mul_overflow(points, unknownsPerPoint(couplingOption), &unknowns))
    return std::numeric_limits<long long>::max();
  return unknowns;
}

long long largestBandOffset(long long NUMA, long long NUMB, Coupling couplingOption) {
  // Point (I, J) has equation (J - 1) NUMB + I and extended unknown (J + 1)(NUMB + 4) + I + 2:
  // every grid column before it adds its 2F fictitious points (F rows beyond each edge) to
  // the distance, and its neighbour F columns and F rows on lies F (NUMB + 2F) + F further
  // than the point's own unknown, which lies F (NUMB + 2F) + F past the equation's number.
  const long long F = kFictitiousRows;
  const long long pointOffset = 2 * F * (NUMA + NUMB + 2 * F);
  const int k = unknownsPerPoint(couplingOption);
  return k * pointOffset + (k - 1);
}

bool inColumnBand(long long k, long long n, long long NCOL, bool middle) {
  if (k <= NCOL + 1 || k >= n - NCOL) return true;
  const long long mid = (n + 1) / 2;
  return middle && k >= mid - NCOL && k <= mid + NCOL;
}

}  // namespace korvant
