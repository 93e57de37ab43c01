// The values of one solution of the run at every point of the grid, gathered for the VTK
// files of --vtk: the displacements, the fibre strains and stresses, the failure measure and,
// layer by layer, the failure indices and the current moduli, read from the solution vector
// and the working files as the analysis left them.
#pragma once

#include "core/matrix.hpp"
#include "core/model_deck.hpp"
#include "core/record_store.hpp"
#include "equilibrium/load_path.hpp"
#include "output/solution_results.hpp"
#include "output/units.hpp"
#include "output/vtk_files.hpp"

namespace korvant {

// Where the values of a solution are read from.
struct VtkSources {
  const Matrix<double>& solution;    // in the real numbering
  const RecordStore* fibreResults;   // the fibre results of the solution; null: left out
  const RecordStore* failureRatio;   // the failure measure of every point; null: left out
  const RecordStore& currentLayers;  // the current layer tables, with the moduli in use
  const RecordStore& layerState;     // the failure indices of every layer
  const RecordStore* layerResults;   // the recovered layer results; null: no section results
  const UnitLabels& units;           // the labels of the arrays
};

// The point data of the solution, in this order: w with the sign the tables print (and u, v
// of a coupled solution); SXX_upper, SYY_upper, SXY_upper, SXX_lower, ..., EXX_upper, ...,
// EXY_lower from FibreResults; failure_measure; layers, the point's layer count; then for
// every layer k from the lower surface (up to the most layers of any point) layer_kk_failure
// with the components FICT, FICC, FICS, FY and layer_kk_moduli with E1, E2, zero at a point
// with fewer layers, and layer_kk_z, the height of its centre above the lower face. With the
// layer results: the section forces mxx, myy, mxy, nxx, nyy, nxy, the principal moments m1,
// m2 and m1_angle (degrees from x), crack_depth_lower and _upper (over the section depth),
// crack_width_lower and _upper, and bar_layer_bb for the bb-th bar layer from the lower face
// with its layer number, z, strain and stress along the bars, utilisation and yielded (1 or
// 0). Every array names its units. No field data: the caller says where the solution lies.
VtkDataset solutionDataset(const ModelDeck& model, const VtkSources& sources);

// The point data of a converged step `state` of the load path in equilibrium, whose section
// forces, bars and cracks are `results`: w (and u, v of a coupled deck); layers, the point's
// layer count, and for every layer k from the lower face layer_kk_state with the components
// cracked, crushed and yielded (1 or 0, from the layers' memory) and layer_kk_z; then the
// section forces, cracks and bar layers as solutionDataset names them.
VtkDataset pathDataset(const ModelDeck& model, const equilibrium::PathState& state,
                       const std::vector<const equilibrium::Section*>& sections,
                       const SolutionResults& results, const UnitLabels& units);

}  // namespace korvant
