// Assembly of the difference equations of the layered plate into the equation store.
//
// Rows are the equations of the real grid points (u, v, w with the coupled solution, w
// alone otherwise), columns the unknowns of the extended grid, both numbered by EQN. The
// support points of the layout get no equation; the boundary step adds their conditions.
#pragma once

#include "core/grid.hpp"
#include "core/model_deck.hpp"
#include "core/record_store.hpp"
#include "core/writer.hpp"
#include "equations/conservative_stencils.hpp"
#include "equations/stencils.hpp"
#include "section/layer_table.hpp"
#include "section/section_stiffness.hpp"
#include "solver/equation_store.hpp"

namespace korvant {

// Per-point scratch of the assembly, owned by the caller so that a pass allocates nothing:
// the layer table read for the point, its section stiffness and its stencils, and, for the
// equations on the section forces, the stiffness of every point.
struct AssemblyWork {
  PointLayerTable layers;
  SectionStiffness abd;
  StencilSet C;
  StiffnessField field;
  // The field was written by the caller (the analysis in equilibrium, from its secant
  // sections): the equations on the section forces take it as it is.
  bool fieldGiven = false;
};

// ASSEMBLE: clears the store and builds the difference equations of every real point that
// is not a support point of the model's layout, from the point's current layer table
// (`currentLayers`, unit 20), with the pressure of load `loadNumber` times `loadFactor` on
// the right-hand side of its w equation. The model gives the grid, COUPLING (the unknowns
// per point), SOLVER (full or band storage) and NEUTRAL (the reference surface).
// `form` picks the stencils: COMPC, or CONSC on the section forces of every point's stiffness.
// A pressure that cannot be assigned or a row or column that does not fit the store is
// reported, raises `fatal` and ends the pass at once.
void ASSEMBLE(EquationStore& store, const ModelDeck& model, const RecordStore& currentLayers,
              int loadNumber, double loadFactor, AssemblyWork& work, Writer& report, int& fatal,
              EquationForm form = EquationForm::Specified);

// LOADC: adds the difference equations of real point (I, J) of `grid`: the pressure to the
// right-hand side of its w equation (its u and v equations get no load), and the 25
// stencil positions of C, each through LOADG. Stops at the first position that does not fit.
void LOADC(EquationStore& store, const StencilSet& C, double pressure, int I, int J,
           const DifferenceGrid& grid, Coupling couplingOption, EquationSolver solverOption,
           Writer& report, int& errors, EquationForm form = EquationForm::Specified);

// LOADG: adds stencil position (m, n) of C into the equations starting at `row`, at the
// unknowns starting at `column`: with the coupled solution the 3 x 3 block of entries
// (row + e, column + f) += stencil 3f + e + 1 at (m, n), otherwise the single entry
// (row, column) += the w-on-w stencil at (m, n). A sparse store takes the positions the
// stencils of `form` can reach. Band storage puts each entry at the
// storage column of its own row; an entry left of storage column 1 is not stored. A block
// that needs a row beyond MXD1 or a storage column beyond MXBD is reported, raises
// `errors` and leaves the store untouched.
void LOADG(EquationStore& store, int row, int column, int m, int n, const StencilSet& C,
           Coupling couplingOption, EquationSolver solverOption, Writer& report, int& errors,
           EquationForm form = EquationForm::Specified);

}  // namespace korvant
