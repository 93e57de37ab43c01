#include "core/grid.hpp"

#include <cassert>
#include <limits>

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
  return static_cast<int>(extendedUnknownsWide(NUMA, NUMB, couplingOption));
}

long long extendedUnknownsWide(long long NUMA, long long NUMB, int couplingOption) {
  if (!validOption(couplingOption)) return 0;
  const long long width = 2 * kFictitiousRows;
  long long points = 0;
  long long unknowns = 0;
  if (__builtin_mul_overflow(NUMA + width, NUMB + width, &points) ||
      __builtin_mul_overflow(points, entriesPerPoint(couplingOption), &unknowns))
    return std::numeric_limits<long long>::max();
  return unknowns;
}

long long largestBandOffset(long long NUMA, long long NUMB, int couplingOption) {
  // Point (I, J) has equation (J - 1) NUMB + I and extended unknown (J + 1)(NUMB + 4) + I + 2:
  // every grid column before it adds its 2F fictitious points (F rows beyond each edge) to
  // the distance, and its neighbour F columns and F rows on lies F (NUMB + 2F) + F further
  // than the point's own unknown, which lies F (NUMB + 2F) + F past the equation's number.
  const long long F = kFictitiousRows;
  const long long pointOffset = 2 * F * (NUMA + NUMB + 2 * F);
  const int k = entriesPerPoint(couplingOption);
  return k * pointOffset + (k - 1);
}

bool inColumnBand(long long k, long long n, long long NCOL, bool middle) {
  if (k <= NCOL + 1 || k >= n - NCOL) return true;
  const long long mid = (n + 1) / 2;
  return middle && k >= mid - NCOL && k <= mid + NCOL;
}

}  // namespace korvant
