#include "support/stage_blocks.hpp"

#include "support/test_support.hpp"

namespace korvant::test {

void append(Lines& to, const Lines& block) {
  to.insert(to.end(), block.begin(), block.end());
}

const char* const kCrackingReached = "@@@  CONCRETE CRACKING SOLUTION HAS REACHED     @@@";
const char* const kYieldingReached = "@@@  STEEL YIELDING SOLUTION HAS REACHED        @@@";

namespace {

// A frame side: `border`, `inner` blanks, `border`.
std::string side(const char* border, int inner) {
  return border + sp(inner) + border;
}

// The frame of an iteration report of the incremental stage around its six own lines.
Lines incrementReport(const std::string& pass5, const Lines& own) {
  const std::string row(51, '@'), blank = side("@@@", 45);
  return {"",
          at(13, row),
          at(13, blank),
          at(13, own[0]),
          at(13, own[1]),
          at(13, blank),
          at(13, "@@@               ITERATION " + pass5 + "               @@@"),
          at(13, blank),
          at(13, own[2]),
          at(13, own[3]),
          at(13, own[4]),
          at(13, own[5]),
          at(13, blank),
          at(13, row),
          ""};
}

}  // namespace

Lines collapseBlock(const std::string& reachedLine, const std::string& largest,
                    const std::string& allowable) {
  const std::string row(51, '@'), blank = side("@@@", 45);
  return {"",
          "",
          at(15, row),
          at(15, blank),
          at(15, "@@@    S T R U C T U R A L  C O L L A P S E     @@@"),
          at(15, "@@@            P R E D I C T E D !!             @@@"),
          at(15, "@@@    ====================================     @@@"),
          at(15, blank),
          at(15, reachedLine),
          at(15, "@@@  A MAXIMUM LATERAL DEFLECTION OF " + largest + "  @@@"),
          at(15, "@@@  WHICH EXCEEDS MAXIMUM ALLOWABLE " + allowable + "  @@@"),
          at(15, blank),
          at(15, "@@@       ACTION:  SOLUTION TERMINATING         @@@"),
          at(15, blank),
          at(15, row),
          "",
          ""};
}

Lines convergenceBlock(const std::string& number6) {
  const std::string row(48, '#'), blank = side("###", 42);
  return {"",
          "",
          at(14, row),
          at(14, blank),
          at(14, "###  CONVERGENCE ACHIEVED AT ITERATION" + number6 + " ###"),
          at(14, blank),
          at(14, row),
          ""};
}

Lines crackingFailureBlock(const std::string& limit4, const std::string& ratio) {
  const std::string row(59, '#');
  return {"",
          "",
          at(10, row),
          at(10, "### CONVERGENCE FAILURE FOR CONCRETE CRACKING SOLUTION. ###"),
          at(10, "### INPUT ITERATION LIMIT OF" + limit4 + " REACHED WITH CINC/CTOT ###"),
          at(10, "### RATIO = " + ratio + ". INCREASE NUMBER OF ITERATIONS      ###"),
          at(10, row),
          "",
          ""};
}

Lines crackingIteration(const std::string& values) {
  const std::string row(37, '@'), blank = side("@@@", 31);
  return {"",
          at(20, row),
          at(20, blank),
          at(20, "@@@ CONVERGING CONCRETE CRACKING  @@@"),
          at(20, blank),
          at(20, "@@@  ITERATION   LAYER FAILURES   @@@"),
          at(20, "@@@  ---------   --------------   @@@"),
          at(20, "@@@  " + values + "   @@@"),
          at(20, blank),
          at(20, row),
          ""};
}

Lines combinedIteration(const std::string& pass5, const std::string& increment4,
                        const std::string& load, const std::string& yinc6,
                        const std::string& cinc6) {
  return incrementReport(
      pass5, {"@@@        CONVERGING COMBINED YIELDING         @@@",
              "@@@            AND CRACKING FAILURE             @@@",
              "@@@                               LAYER         @@@",
              "@@@  INCREMENT     LOAD     YIELDING  CRACKING  @@@",
              "@@@  ---------     ----     --------  --------  @@@",
              "@@@    " + increment4 + sp(4) + sp(2) + load + yinc6 + sp(5) + cinc6 + "     @@@"});
}

Lines yieldingIteration(const std::string& pass5, const std::string& increment4,
                        const std::string& load, const std::string& yinc6) {
  return incrementReport(
      pass5, {"@@@        CONVERGING FAILURE DUE TO            @@@",
              "@@@             STEEL YIELDING                  @@@",
              "@@@                                  LAYER      @@@",
              "@@@     INCREMENT     LOAD          YIELDING    @@@",
              "@@@     ---------     ----          --------    @@@",
              "@@@       " + increment4 + sp(4) + sp(2) + load + sp(6) + yinc6 + "       @@@"});
}

Lines reattemptBlock(const std::string& pass5, const std::string& load, const std::string& ratio,
                     const std::string& tolerance) {
  const std::string row(58, '#'), blank = side("###", 52);
  return {"",
          "",
          at(10, row),
          at(10, blank),
          at(10, "### ITERATION " + pass5 + " HAS REACHED A LOAD OF   " + load + "  ###"),
          at(10, "### IN WHICH STEEL YIELDING HAS RESULTED IN ADDITIONAL ###"),
          at(10, "### LAYER CRACKING WITH RATIO = " + ratio + "  WHICH EXCEEDS ###"),
          at(10, "### THE SPECIFIED TOLERANCE OF  " + tolerance + "." + sp(14) + " ###"),
          at(10, blank),
          at(10, "###      * ACTION: ANALYSIS WILL BE REATTEMPTED." + sp(7) + "###"),
          at(10, blank),
          at(10, row),
          "",
          ""};
}

Lines nonConvergenceBlock(const std::string& limit5) {
  const std::string row(54, '#'), blank = side("###", 48);
  return {"",
          "",
          at(11, row),
          at(11, blank),
          at(11, "### CONVERGENCE FOR COMBINED YIELDING AND CRACKING ###"),
          at(11, "### NOT OBTAINED WITHIN" + limit5 + " ITERATIONS            ###"),
          at(11, blank),
          at(11, row),
          "",
          ""};
}

Lines failedIncrementationBlock() {
  const std::string row(49, '#'), blank = side("###", 43);
  return {"",
          at(14, row),
          at(14, blank),
          at(14, "### INCREMENTATION FOR THE YIELDING  SOLUTION ###"),
          at(14, "### HAS FAILED. THE FINAL  INCREMENTS WILL BE ###"),
          at(14, "### COMPLETED WITHOUT  ENFORCING  CONVERGENCE ###"),
          at(14, "### TOLERANCES.                               ###"),
          at(14, blank),
          at(14, row),
          "",
          ""};
}

}  // namespace korvant::test
