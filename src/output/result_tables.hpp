// The printed result tables of the report: displacements (PRNLU, PRNNU), outer-fibre
// stresses and strains (PRNLS, PRNNS) and failure measures (PRNNF). What each block holds is
// chosen by PRINTREQ (D, S, S, E, E, F) and PRINTMAX (0 full tables and maxima, 1 maxima
// only) of the model. Points are listed J = 1..NUMA outer, I = 1..NUMB inner, the order of
// the point records. A maximum is the signed value of largest magnitude, the first point
// winning a tie, at X = Y = 0 when every value is zero.
#pragma once

#include <string_view>

#include "core/grid.hpp"
#include "core/matrix.hpp"
#include "core/model_deck.hpp"
#include "core/record_store.hpp"
#include "core/writer.hpp"

namespace korvant {

// PRNLU: the displacement block of the linear analysis for `solution` (real numbering: w, or
// u, v, w per point, by the model's COUPLING); load case 0 or less reads "TOTAL DISPLACEMENTS".
void PRNLU(const Matrix<double>& solution, const ModelDeck& model, const DifferenceGrid& grid,
           int loadCase, Writer& report);

// PRNNU: the displacement block of the nonlinear analysis, headed by the solution stage STAGE
// (0 elastic, 1 cracking, 2 combined, 3 incremental yielding, 6 failed incrementation).
void PRNNU(const Matrix<double>& solution, const ModelDeck& model, const DifferenceGrid& grid,
           int loadCase, SolutionStage STAGE, Writer& report);

// PRNLS, PRNNS: the outer-fibre block of the linear and the nonlinear analysis from the
// FibreResults records (unit 70); load case 0 or less reads "APPLIED TOTAL LOAD".
void PRNLS(const ModelDeck& model, const DifferenceGrid& grid, int loadCase,
           const RecordStore& fibreResults, Writer& report);
void PRNNS(const ModelDeck& model, const DifferenceGrid& grid, int loadCase,
           const RecordStore& fibreResults, Writer& report);

// PRNNF: the failure-measure table (always in full) from the failure ratios (unit 71).
void PRNNF(const ModelDeck& model, const DifferenceGrid& grid, int loadCase,
           const RecordStore& failureRatio, Writer& report);

// The displacement, outer-fibre and failure-measure blocks of one state of a load path
// followed in equilibrium: the blocks of the nonlinear analysis, with the line `state` (which
// step, which load factor) below each banner in place of a stage heading.
void pathStateDisplacements(const Matrix<double>& solution, const ModelDeck& model,
                            const DifferenceGrid& grid, int loadCase, std::string_view state,
                            Writer& report);
void pathStateFibres(const ModelDeck& model, const DifferenceGrid& grid, int loadCase,
                     const RecordStore& fibreResults, std::string_view state, Writer& report);
void pathStateFailures(const ModelDeck& model, const DifferenceGrid& grid, int loadCase,
                       const RecordStore& failureRatio, std::string_view state, Writer& report);

}  // namespace korvant
