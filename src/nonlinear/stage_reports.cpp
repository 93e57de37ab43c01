// PRNRTN and PRNIT: the procedure banners and the iteration reports of the nonlinear
// stages, each line built in the order of its layout.
#include "nonlinear/stage_reports.hpp"

#include <string>

#include "core/codes.hpp"
#include "core/frame.hpp"

namespace korvant {
namespace {

using fmt::E;
using fmt::I;
using fmt::X;

void crackingBanner(Writer& report) {
  const std::string row(45, '@');
  report.blank();
  report.line(X(17), row);
  frameSide(report, 17, 45);
  report.line(X(17), "@@@     NONLINEAR  SOLUTION  PROCEDURE    @@@");
  report.line(X(17), "@@@         FOR CONCRETE CRACKING         @@@");
  report.line(X(17), "@@@   =================================   @@@");
  report.line(X(17), "@@@   SOLUTION WILL BE OBTAINED USING A   @@@");
  report.line(X(17), "@@@   PURELY ITERATIVE  SCHEME APPLYING   @@@");
  report.line(X(17), "@@@   THE FULL LOAD AT EACH ITERATION.    @@@");
  frameSide(report, 17, 45);
  report.line(X(17), row);
  report.blank(2);
}

void crackingYieldingBanner(Writer& report) {
  const std::string row(48, '@');
  report.blank();
  report.line(X(15), row);
  frameSide(report, 15, 48);
  report.line(X(15), "@@@      NONLINEAR  SOLUTION  PROCEDURE      @@@");
  report.line(X(15), "@@@      FOR COMBINED CONCRETE CRACKING      @@@");
  report.line(X(15), "@@@           AND STEEL YIELDING             @@@");
  report.line(X(15), "@@@  =====================================   @@@");
  report.line(X(15), "@@@  SOLUTION WILL BE  OBTAINED  USING  AN   @@@");
  report.line(X(15), "@@@  ITERATIVE/INCREMENTAL SOLUTION METHOD   @@@");
  report.line(X(15), "@@@  IN WHICH INCREMENTATION  ON  LOAD  TO   @@@");
  report.line(X(15), "@@@  ACCOUNT FOR YIELDING WILL BE REPEATED   @@@");
  report.line(X(15), "@@@  IF  ADDITIONAL   INELASTIC   CONCRETE   @@@");
  report.line(X(15), "@@@  CRACKING IS PREDICTED ABOVE TOLERANCE.  @@@");
  frameSide(report, 15, 48);
  report.line(X(15), row);
  report.blank(2);
}

void crackingIteration(int iteration, int CINC, Writer& out) {
  const std::string row(37, '@');
  out.blank();
  out.line(X(20), row);
  frameSide(out, 20, 37);
  out.line(X(20), "@@@ CONVERGING CONCRETE CRACKING  @@@");
  frameSide(out, 20, 37);
  out.line(X(20), "@@@  ITERATION   LAYER FAILURES   @@@");
  out.line(X(20), "@@@  ---------   --------------   @@@");
  out.line(X(20), "@@@  ", I(4, iteration), X(11), I(4, CINC), X(7), "   @@@");
  frameSide(out, 20, 37);
  out.line(X(20), row);
  out.blank();
}

// The fixed lines that tell the two incremental stages apart; the value line differs too.
struct IncrementHeadings {
  const char* title;
  const char* subtitle;
  const char* layer;
  const char* columns;
  const char* dashes;
};

const IncrementHeadings kCombinedHeadings = {
    "@@@        CONVERGING COMBINED YIELDING         @@@",
    "@@@            AND CRACKING FAILURE             @@@",
    "@@@                               LAYER         @@@",
    "@@@  INCREMENT     LOAD     YIELDING  CRACKING  @@@",
    "@@@  ---------     ----     --------  --------  @@@",
};

const IncrementHeadings kYieldingHeadings = {
    "@@@        CONVERGING FAILURE DUE TO            @@@",
    "@@@             STEEL YIELDING                  @@@",
    "@@@                                  LAYER      @@@",
    "@@@     INCREMENT     LOAD          YIELDING    @@@",
    "@@@     ---------     ----          --------    @@@",
};

// Stage 2 counts both failures; stage 3 admits no new cracking and shows yielding only.
void incrementValues(SolutionStage STAGE, int increment, double loadFactor, int CINC, int YINC,
                     Writer& out) {
  if (STAGE == SolutionStage::COMBINED) {
    out.line(X(13), "@@@    ", I(4, increment), X(4), X(2), E(9, 3, loadFactor), I(6, YINC), X(5),
             I(6, CINC), "     @@@");
  } else {
    out.line(X(13), "@@@       ", I(4, increment), X(4), X(2), E(9, 3, loadFactor), X(6),
             I(6, YINC), "       @@@");
  }
}

void incrementIteration(SolutionStage STAGE, int pass, int increment, double loadFactor, int CINC,
                        int YINC, Writer& out) {
  const IncrementHeadings& h =
      STAGE == SolutionStage::COMBINED ? kCombinedHeadings : kYieldingHeadings;
  const std::string row(51, '@');
  out.blank();
  out.line(X(13), row);
  frameSide(out, 13, 51);
  out.line(X(13), h.title);
  out.line(X(13), h.subtitle);
  frameSide(out, 13, 51);
  out.line(X(13), "@@@               ITERATION ", I(5, pass), "               @@@");
  frameSide(out, 13, 51);
  out.line(X(13), h.layer);
  out.line(X(13), h.columns);
  out.line(X(13), h.dashes);
  incrementValues(STAGE, increment, loadFactor, CINC, YINC, out);
  frameSide(out, 13, 51);
  out.line(X(13), row);
  out.blank();
}

}  // namespace

void PRNRTN(int procedure, Writer& report) {
  if (procedure == procedure_banner::CRACKING) crackingBanner(report);
  if (procedure == procedure_banner::CRACKING_YIELDING) crackingYieldingBanner(report);
}

// The applied load factor (the step of an increment) is not shown: the reports give the
// load factor reached.
void PRNIT(double /*appliedLoadFactor*/, double loadFactor, SolutionStage STAGE, int iteration,
           int increment, int CINC, int YINC, Writer& out) {
  switch (STAGE) {
    case SolutionStage::CRACKING:
      crackingIteration(iteration, CINC, out);
      break;
    case SolutionStage::COMBINED:
    case SolutionStage::YIELDING:
      incrementIteration(STAGE, iteration, increment, loadFactor, CINC, YINC, out);
      break;
    default:
      break;
  }
}

}  // namespace korvant
