// The maxima of the printed results: the signed value of largest magnitude over the grid and
// the point where it lies. A running value, starting at 0 at X = Y = 0, is replaced only by a
// larger magnitude, so the first point in record order (J outer, I inner) wins a tie and an
// all-zero field reports X = Y = 0.
#pragma once

#include <array>
#include <cmath>
#include <vector>

#include "core/grid.hpp"
#include "core/matrix.hpp"
#include "core/model_deck.hpp"
#include "core/record_store.hpp"

namespace korvant {

struct Peak {
  double value = 0.0, x = 0.0, y = 0.0;
  void offer(double v, double px, double py) {
    if (std::abs(v) > std::abs(value)) value = v, x = px, y = py;
  }
};

// The entry of w of point (I, J) in a solution in the real numbering: entry n of a solution
// of w alone, entry 3n of a coupled one.
int wEntry(int I, int J, const DifferenceGrid& grid, Coupling COUPLING);

// w of every point of `solution`, in record order (J outer, I inner), with its sign as the
// tables print it.
std::vector<double> wField(const Matrix<double>& solution, const ModelDeck& model,
                           const DifferenceGrid& grid);

// The maxima of u, v and w of `solution` (real numbering; u and v stay zero for a solution
// of w alone).
std::array<Peak, 3> displacementPeaks(const Matrix<double>& solution, const ModelDeck& model,
                                      const DifferenceGrid& grid);

// The maxima of the three FibreResults values from `firstValue` on (an XX component; the YY
// and XY components follow it), every point's record read.
std::array<Peak, 3> fibrePeaks(const RecordStore& fibreResults, const DifferenceGrid& grid,
                               int firstValue);

}  // namespace korvant
