// The solver driver: solves the reduced system held in the equation store, in full storage by
// Crout LU or in band storage by the band LU, and reports the system statistics (once per
// run), a singular matrix and an unusable bandwidth to the report it is handed.
#pragma once

#include "core/matrix.hpp"
#include "core/writer.hpp"
#include "solver/equation_store.hpp"

namespace korvant {

// Solves the NEQ equations of `store` (bandwidth BW from BANDWD) into solution(1..NEQ). The
// matrix and, in band storage, the right-hand side are destroyed. A sparse store is solved by
// its sparse factorization whatever the solver option, and keeps its matrix. Sets errorFlag to 1,
// with its message in the report, when the matrix is singular to working precision, has no
// coefficient at all, or its band cannot be factored (unequal half bandwidths, too wide).
void SOLVE(EquationStore& store, Matrix<double>& solution, SolverWork& work, int NEQ,
           EquationSolver solverOption, int BW, int& errorFlag, Writer& report);

// Band path: rebuilds K as the band factorization array (leading dimension MXBD, ML lower and
// ML upper diagonals) from the 3 ML + 1 records of the scratch unit, factors it, and solves
// in place in RHS, copying the result to solution(1..NEQ). `singular` is set, and nothing
// solved, when the reciprocal condition estimate is negligible against 1.
void INCORE(CoefficientArray& K, Matrix<double>& RHS, Matrix<double>& solution,
            Matrix<double>& work, Matrix<int>& pivots, int NEQ, int ML, ScratchUnit& scratch,
            bool& singular);

}  // namespace korvant
