// REDUCE applies the constraint table to the assembled equation store and leaves a square
// system in the unknowns of the real grid points that are not fixed; EXPAND restores a
// solution of that system to one value per unknown of every real point.
#pragma once

#include "core/matrix.hpp"
#include "core/writer.hpp"
#include "equations/constraint_table.hpp"
#include "solver/equation_store.hpp"

namespace korvant {

// REDUCE: orders the table (dropped equations, fixed unknowns, relations), removes repeated
// rows and mutually dependent pairs (each pair reported), resolves relations that name
// dependent unknowns, then over the NR real equation rows of `store` zeroes the fixed
// columns, substitutes every relation into its independent columns, removes the columns of
// the fictitious points and the dropped equations with their unknowns. The table and its
// count are left ordered and resolved; `removed` lists the dropped equations. On return NEQ
// is the size of the reduced system. A table that reaches its MXD2 rows is reported, raises
// errorFlag and leaves the store unreduced. `solverOption` is the storage mode of K.
void REDUCE(EquationStore& store, ConstraintTable& table, RemovedList& removed, int NUMA, int NUMB,
            int& NEQ, Coupling couplingOption, EquationSolver solverOption, int& errorFlag,
            Writer& report);

// EXPAND: spreads the NEQ values of solution(1..NEQ) over the NR real unknowns, with zeros
// at the positions of `removed`, sets NEQ = NR and clears RHS.
void EXPAND(Matrix<double>& solution, Matrix<double>& RHS, const RemovedList& removed, int NUMA,
            int NUMB, int& NEQ, Coupling couplingOption);

// Number of real unknowns (and equations) of the grid: NUMA * NUMB, three times that for the
// coupled solution.
int realUnknowns(int NUMA, int NUMB, Coupling couplingOption);

}  // namespace korvant
