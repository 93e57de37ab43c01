#include "solver/bandwidth.hpp"

#include <algorithm>
#include <cmath>

#include "solver/equation_store.hpp"

namespace korvant {
namespace {

bool present(double coefficient) {
  return std::fabs(coefficient) > kPresence;
}

// Largest offset j - i of a present coefficient with j >= i, or -1 when there is none.
// Column by column, each column read from its first row down only as far as it could still
// widen the band.
int largestUpperOffset(const CoefficientArray& K, int NEQ) {
  int widest = -1;
  for (int j = 1; j <= NEQ; ++j)
    for (int i = 1; j - i > widest; ++i)
      if (present(K(i, j))) {
        widest = j - i;
        break;
      }
  return widest;
}

}  // namespace

PresentColumns presentColumns(const CoefficientArray& K, int NEQ) {
  PresentColumns c{false, 1000000, 0};
  for (int j = 1; j <= K.cols(); ++j)
    for (int i = 1; i <= NEQ; ++i)
      if (present(K(i, j))) {
        c.first = std::min(c.first, j);
        c.last = std::max(c.last, j);
        c.found = true;
      }
  return c;
}

void BANDWD(const CoefficientArray& K, int& BW, int solverOption, int NEQ) {
  if (solverOption == kFullStorage) {
    const int widest = largestUpperOffset(K, NEQ);
    BW = widest < 0 ? 0 : 2 * widest + 1;
    return;
  }
  const PresentColumns c = presentColumns(K, NEQ);
  BW = c.found ? c.last - c.first + 1 : 0;
}

}  // namespace korvant
