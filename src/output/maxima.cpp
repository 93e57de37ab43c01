#include "output/maxima.hpp"

#include "section/layer_results.hpp"
#include "section/layer_table.hpp"

namespace korvant {

std::array<Peak, 3> displacementPeaks(const Matrix<double>& solution, const ModelDeck& model,
                                      const DifferenceGrid& grid) {
  const bool coupled = model.COUPLING == coupling::COUPLED;
  std::array<Peak, 3> peak;  // u, v, w
  for (int J = 1; J <= grid.NUMA; ++J)
    for (int I = 1; I <= grid.NUMB; ++I) {
      const int k = EQN(I, J, grid.NUMA, grid.NUMB, numbering::REAL, model.COUPLING);
      const double x = grid.x(J), y = grid.y(I);
      if (coupled) {
        peak[0].offer(solution(k), x, y);
        peak[1].offer(solution(k + 1), x, y);
        peak[2].offer(solution(k + 2), x, y);
      } else {
        peak[2].offer(solution(k), x, y);
      }
    }
  return peak;
}

std::array<Peak, 3> fibrePeaks(const RecordStore& fibreResults, const DifferenceGrid& grid,
                               int firstValue) {
  std::array<Peak, 3> peak;
  for (int J = 1; J <= grid.NUMA; ++J)
    for (int I = 1; I <= grid.NUMB; ++I) {
      const FibreResults f = readFibreResults(fibreResults, pointRecord(I, J, grid.NUMB));
      for (int c = 0; c < 3; ++c)
        peak[static_cast<std::size_t>(c)].offer(f(firstValue + c), grid.x(J), grid.y(I));
    }
  return peak;
}

}  // namespace korvant
