// The natural conditions of free and symmetric edges for the equations on the section forces:
// the fictitious points beyond such an edge take the values that make the section forces of
// the edge point satisfy the conditions of the edge, with that point's own stiffness (the
// whole A, B and D of its section), so that a free edge carries no normal moment, no
// effective shear and, in the coupled solution, no membrane force across it.
#pragma once

#include <vector>

#include "core/matrix.hpp"
#include "core/model_deck.hpp"
#include "equations/boundary_lists.hpp"
#include "equations/conservative_stencils.hpp"
#include "equations/constraint_table.hpp"

namespace korvant {

// Appends to `table` the relations of the fictitious points of every FREE and FREE-SYM row:
// - free edge (normal n, tangent t), at the edge point P0: Nnn = Nnt = 0 (coupled) and
//   Mnn = 0 give u, v, w of P(-1); the effective (Kirchhoff) shear
//   Vn = dMnn/dn + 2 dMnt/dt = 0 gives w of P(-2); u and v of P(-2) continue those of P0
//   and P(-1) linearly. The edge point keeps all its equations and unknowns.
// - symmetric edge: w and the tangential displacement mirrored evenly, the normal
//   displacement oddly and held at zero at the edge (its equation dropped).
// The relations name real unknowns only, except where a neighbour beyond a corner is
// itself named by another list's relation (resolved by REDUCE).
void naturalEdgeRows(const BoundaryPointList& FREE, const BoundaryPointList& FREESYM,
                     ConstraintTable& table, const ModelDeck& model, const StiffnessField& field);

// The displacements of every point of the extended grid (extended numbering, u, v, w or w
// per point): the real points from `solution` (real numbering), the fictitious points from
// the relations of the reduced constraint table, 0 where none is written. `values` is
// resized to the extended count.
void extendedValues(const ConstraintTable& table, const ModelDeck& model,
                    const Matrix<double>& solution, std::vector<double>& values);

}  // namespace korvant
