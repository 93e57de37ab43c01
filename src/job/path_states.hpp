// The states of a load path followed in equilibrium as the report shows them: the strains of
// a solution by the differences of the recovery, and the displacement, outer-fibre and
// failure-measure tables of the path's peak and last step. The fibres and the layers'
// states come from the secant section of every point under the state's strains, with the
// layers' memory the state left.
#pragma once

#include <vector>

#include "equilibrium/load_path.hpp"
#include "job/run_context.hpp"

namespace korvant {

// The strain plane of every point of `solution` (real numbering), by the central differences
// of the recovery; the points beyond free and symmetric edges take the values of the edge
// conditions of the run's last pass.
void differencedStrains(RunContext& run, const Matrix<double>& solution,
                        std::vector<equilibrium::PointStrains>& strains);

// The tables of the path's peak and of its last step, each headed by the state it shows; one
// set when the peak is the last step. `sections` holds one section per point; the fibres come
// from each point's section under the state's converged strain plane.
void printPathStates(RunContext& run, const std::vector<const equilibrium::Section*>& sections,
                     const equilibrium::PathResult& path, equilibrium::TensionStiffening ts);

}  // namespace korvant
