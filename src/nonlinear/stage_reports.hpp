// The report blocks of the nonlinear stages that do not decide anything: the procedure
// banners (PRNRTN) and the iteration report after every solution of a stage (PRNIT).
#pragma once

#include "core/codes.hpp"
#include "core/writer.hpp"

namespace korvant {

// Procedure banners of PRNRTN.
namespace procedure_banner {
enum : int {
  CRACKING = 1,           // the purely iterative scheme under the full load
  CRACKING_YIELDING = 2,  // the iterative/incremental method of the yielding stage
};
}

// PRNRTN: the banner of nonlinear solution procedure `procedure` (1 or 2) to the report;
// any other number writes nothing.
void PRNRTN(int procedure, Writer& report);

// PRNIT: the iteration report of stage STAGE after iteration (stage 1) or pass and increment
// (stages 2 and 3) with CINC layers newly cracked and YINC newly yielded. Stage 1 writes the
// "CONVERGING CONCRETE CRACKING" block with the iteration and CINC; stage 2 the combined
// yielding and cracking block with the pass, the increment, the load factor reached, YINC
// and CINC; stage 3 the steel yielding block, the same without CINC. The applied load
// factor is not shown. Any other stage writes nothing.
void PRNIT(double appliedLoadFactor, double loadFactor, SolutionStage STAGE, int iteration,
           int increment, int CINC, int YINC, Writer& out);

}  // namespace korvant
