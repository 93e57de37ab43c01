#include "output/maxima.hpp"

#include "section/layer_results.hpp"
#include "section/layer_table.hpp"

namespace korvant {

int wEntry(int I, int J, const DifferenceGrid& grid, Coupling COUPLING) {
  const int k = EQN(I, J, grid.NUMA, grid.NUMB, Numbering::REAL, COUPLING);
  return COUPLING == Coupling::COUPLED ? k + 2 : k;
}

std::vector<double> wField(const Matrix<double>& solution, const ModelDeck& model,
                           const DifferenceGrid& grid) {
  std::vector<double> w;
  w.reserve(static_cast<std::size_t>(grid.NUMA * grid.NUMB));
  for (int J = 1; J <= grid.NUMA; ++J)
    for (int I = 1; I <= grid.NUMB; ++I) w.push_back(solution(wEntry(I, J, grid, model.COUPLING)));
  return w;
}

std::array<Peak, 3> displacementPeaks(const Matrix<double>& solution, const ModelDeck& model,
                                      const DifferenceGrid& grid) {
  const bool coupled = model.COUPLING == Coupling::COUPLED;
  std::array<Peak, 3> peak;  // u, v, w
  for (int J = 1; J <= grid.NUMA; ++J)
    for (int I = 1; I <= grid.NUMB; ++I) {
      const int k = EQN(I, J, grid.NUMA, grid.NUMB, Numbering::REAL, model.COUPLING);
      const double x = grid.x(J), y = grid.y(I);
      if (coupled) {
        peak[0].offer(solution(k), x, y);
        peak[1].offer(solution(k + 1), x, y);
        peak[2].offer(solution(wEntry(I, J, grid, model.COUPLING)), x, y);
      } else {
        peak[2].offer(solution(wEntry(I, J, grid, model.COUPLING)), x, y);
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
