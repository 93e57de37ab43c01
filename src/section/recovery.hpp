// RECOV: strains and stresses through the section of every difference point, recovered from
// the solved displacements after each solution pass, onto the layer-results working file
// (unit 25) and, when an outer-fibre item is requested, the fibre-results file (unit 70).
#pragma once

#include <functional>
#include <vector>

#include "core/grid.hpp"
#include "core/matrix.hpp"
#include "core/model_deck.hpp"
#include "core/record_store.hpp"
#include "core/writer.hpp"
#include "section/layer_results.hpp"
#include "section/layer_table.hpp"

namespace korvant {

// The boundary test made before the derivatives of a point are taken (BCHECK with the
// model's BDIFF, layout and user table bound in): it may move (I, J) to the point where the
// derivatives are evaluated, and returns true when none are evaluated for the point.
using DerivativePointTest = std::function<bool(int& I, int& J)>;

// RECOV: for every point (I = 1..NUMB outer, J = 1..NUMA inner) forms the membrane strains
// and curvatures of `solution` (real numbering: w, or u, v, w per point) by central
// differences, a neighbour outside the grid counting as 0; then, for each layer of the current
// layer table (unit 20), the centre strains and the stresses of each phase, with the initial
// strains and stresses of the uniform membrane stresses SIGMA_X, SIGMA_Y added, written as the
// point's LayerResults record; the FibreResults record when PRINTREQ or GRAPHREQ asks for an
// outer-fibre item; and, with DEBUG on, the intermediate values to `report`.
// `layers` and `results` are the caller's buffers: they hold the last point's tables after
// the call. `beyondEdges`, when given, holds the displacements of the extended grid
// (extended numbering): a neighbour outside the grid then takes its fictitious value.
void RECOV(const Matrix<double>& solution, const ModelDeck& model, const DifferenceGrid& grid,
           const DerivativePointTest& BCHECK, WorkingFiles& files, PointLayerTable& layers,
           LayerResults& results, Writer& report, const std::vector<double>* beyondEdges = nullptr);

// The derivatives of the displacements of `solution` at real point (I, J) by the central
// differences of RECOV (the membrane ones with the coupled solution only), a neighbour outside
// the grid taking its value from `beyondEdges` when given, 0 otherwise.
struct PointDerivatives {
  double DUDX = 0.0, DVDX = 0.0, DUDY = 0.0, DVDY = 0.0;
  double DWDXX = 0.0, DWDYY = 0.0, DWDXY = 0.0;
};
PointDerivatives pointDerivatives(const Matrix<double>& solution, const DifferenceGrid& grid,
                                  Coupling COUPLING, const std::vector<double>* beyondEdges, int I,
                                  int J);

}  // namespace korvant
