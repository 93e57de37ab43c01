// The difference grid of the slab and the numbering of its points, unknowns and equations.
//
// Point (I, J): I = 1..NUMB counts along side B (y), J = 1..NUMA along side A (x); the first
// index of every pair is the B-direction index. Two rows of fictitious points lie beyond
// every edge: the extended indices I' = I + 2 (1..NUMB + 4) and J' = J + 2 (1..NUMA + 4).
//
// Equations (rows of the system) are numbered over the real points, unknowns (columns) over
// the extended grid. With coupling option 2 every point carries u, v, w in that order.
#pragma once

#include <cstddef>

#include "core/codes.hpp"

namespace korvant {

// Fictitious rows beyond each edge of the grid.
inline constexpr int kFictitiousRows = 2;

// Spacings and coordinates of the NUMA x NUMB grid over a slab of sides A and B.
struct DifferenceGrid {
  double A = 0.0;
  double B = 0.0;
  int NUMA = 0;
  int NUMB = 0;

  double DX() const { return A / (NUMA - 1); }
  double DY() const { return B / (NUMB - 1); }
  double x(int J) const { return (J - 1) * DX(); }
  double y(int I) const { return (I - 1) * DY(); }
};

// Number of the per-point record of point (I, J) on the working files, and of its entry in a
// per-point table: n = (J - 1) NUMB + I, the real numbering of the points.
inline int pointRecord(int I, int J, int NUMB) {
  return (J - 1) * NUMB + I;
}

// The point (I, J) of the per-point table entry `index` counted from 0: pointRecord - 1.
struct GridPoint {
  int I = 1, J = 1;
};
inline GridPoint pointOfIndex(std::size_t index, int NUMB) {
  const int p = static_cast<int>(index);
  return {p % NUMB + 1, p / NUMB + 1};
}

// Unknowns (or equations) carried by one point: u, v and w under option COUPLED, w alone
// otherwise.
int unknownsPerPoint(Coupling couplingOption);

// EQN: the number of the first unknown or equation of point (I, J): in mode REAL the real
// indices and the real numbering, in mode EXTENDED the extended indices I', J' and the
// extended numbering. Option W_ONLY gives the point number n itself, option COUPLED the
// number 3n - 2 of its u entry (add 1 for v, 2 for w). NUMA does not enter the number.
// Another mode or option is a programming error: asserted, and 0 in a release build.
int EQN(int I, int J, int NUMA, int NUMB, Numbering mode, Coupling couplingOption);

// Number of unknowns of the extended grid, the full system size NEQ: (NUMA + 4) * (NUMB + 4)
// for option W_ONLY, three times that for COUPLED, 0 for any other option value.
int extendedUnknowns(int NUMA, int NUMB, Coupling couplingOption);

// The same count for any whole numbers a deck may give, in wide arithmetic: the capacity
// checks compare it before any size of type int is formed from the grid. A count beyond
// the range of long long is given as its largest value.
long long extendedUnknownsWide(long long NUMA, long long NUMB, Coupling couplingOption);

// The largest distance q - r, over the assembled equations, from the number r of an
// equation (real numbering) to the number q of an unknown it holds (extended numbering):
// at the last grid column, from a point to its neighbour two columns and two rows on. Band storage
// keeps the coefficient in column q - r past the diagonal column; no equation has q < r. Wide
// arithmetic as above, for any whole numbers of a deck of at least 1 by 1 points.
long long largestBandOffset(long long NUMA, long long NUMB, Coupling couplingOption);

// Grid index k (1..n) lies in a band of column points: the NCOL + 1 points at either end
// and, with `middle`, the 2 NCOL + 1 points about the middle point (n + 1) / 2. Wide
// arithmetic, so that any NCOL of a deck can be asked about.
bool inColumnBand(long long k, long long n, long long NCOL, bool middle);

}  // namespace korvant
