// The pivot choice of Crout's method with implicit partial pivoting, shared by the full and
// the band-restricted decompositions so that both choose the same rows.
#pragma once

#include <cmath>

#include "solver/column_view.hpp"

namespace korvant {

// The row first..last of largest scaled magnitude VV(i) |A(i, j)|, the last one winning
// ties (a row whose figure equals the best so far replaces it).
inline int scaledPivotRow(ColumnView<const double> a, int j, int first, int last,
                          ColumnView<const double> vv) {
  int imax = first;
  double big = -1.0;
  for (int i = first; i <= last; ++i) {
    const double merit = vv(i) * std::fabs(a(i, j));
    if (merit >= big) {
      big = merit;
      imax = i;
    }
  }
  return imax;
}

}  // namespace korvant
