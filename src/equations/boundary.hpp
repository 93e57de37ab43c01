// The boundary-condition step of a solution pass: the constraint table of the support layout
// written from the boundary point lists, applied to the assembled system by REDUCE, and the
// bandwidth of the reduced system measured. Also the support-point tests that the strain
// recovery makes before it evaluates derivatives at a point.
#pragma once

#include "core/model_deck.hpp"
#include "core/record_store.hpp"
#include "core/writer.hpp"
#include "equations/boundary_lists.hpp"
#include "equations/conservative_stencils.hpp"
#include "equations/constraint_table.hpp"
#include "solver/equation_store.hpp"

namespace korvant {

// BOUNDARY: writes the constraint rows of the CLAMPED, SIMPLE, FREE and FREE-SYM lists, in
// that order, into `table` (cleared first), reading the mean Poisson ratio of every free
// edge point from its record on `currentLayers` (the current layer tables, unit 20); then
// sets NEQ to the extended count, reduces the system in `store` (REDUCE) and measures its
// bandwidth BW (BANDWD). Slab sides, grid, coupling and solver option come from `model`.
// A table that reaches its MXD2 rows is reported, raises errorFlag and nothing is reduced.
// With the equations on the section forces (`form` Conservative, `field` the stiffness of
// every point) the free and symmetric edges take their natural conditions instead.
void BOUNDARY(EquationStore& store, const BoundaryPointLists& lists, ConstraintTable& table,
              RemovedList& removed, const ModelDeck& model, const RecordStore& currentLayers,
              int& NEQ, int& BW, int& errorFlag, Writer& report,
              EquationForm form = EquationForm::Specified, const StiffnessField* field = nullptr);

// The first half of BOUNDARY: the constraint rows of the four lists, in the order CLAMPED,
// SIMPLE, FREE, FREE-SYM, written into `table` (cleared first). False, with the message in
// the report and errorFlag raised, when the table reaches its MXD2 rows.
bool writeConstraintRows(const BoundaryPointLists& lists, ConstraintTable& table,
                         const ModelDeck& model, const RecordStore& currentLayers, int& errorFlag,
                         Writer& report, EquationForm form = EquationForm::Specified,
                         const StiffnessField* field = nullptr);

// BPOINT: true when the support layout of `model` drops the equations of point (I, J), or
// when (I, J) lies outside the grid.
bool BPOINT(const ModelDeck& model, int I, int J);

// BCHECK: decides where the derivatives of point (I, J) are evaluated, by the
// boundary-difference option BDIFF of `model`. Option 1 (central differences): `skip` is
// BPOINT of the point, which stays where it is. Option 2 (central, forward and backward
// differences): the point is moved off the supports along I and then along J, one step
// or two, and `skip` is set only when three neighbouring points of one direction are all
// support points.
void BCHECK(const ModelDeck& model, int& I, int& J, bool& skip);

}  // namespace korvant
