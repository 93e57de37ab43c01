// The procedure banners and the iteration reports of the nonlinear stages, written out line
// by line from their layout.
#include "nonlinear/stage_reports.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/codes.hpp"
#include "support/stage_blocks.hpp"
#include "support/test_support.hpp"

namespace korvant::test {
namespace {

Lines banner(int procedure) {
  std::ostringstream text;
  Writer out(text);
  PRNRTN(procedure, out);
  return splitLines(text.str());
}

TEST(PRNRTN, CrackingProcedureBanner) {
  const std::string row(45, '@');
  const std::string side = "@@@" + sp(39) + "@@@";
  const Lines expected = {"",
                          at(17, row),
                          at(17, side),
                          at(17, "@@@     NONLINEAR  SOLUTION  PROCEDURE    @@@"),
                          at(17, "@@@         FOR CONCRETE CRACKING         @@@"),
                          at(17, "@@@   =================================   @@@"),
                          at(17, "@@@   SOLUTION WILL BE OBTAINED USING A   @@@"),
                          at(17, "@@@   PURELY ITERATIVE  SCHEME APPLYING   @@@"),
                          at(17, "@@@   THE FULL LOAD AT EACH ITERATION.    @@@"),
                          at(17, side),
                          at(17, row),
                          "",
                          ""};
  EXPECT_EQ(banner(procedure_banner::CRACKING), expected);
}

TEST(PRNRTN, CombinedProcedureBanner) {
  const std::string row(48, '@');
  const std::string side = "@@@" + sp(42) + "@@@";
  const Lines expected = {"",
                          at(15, row),
                          at(15, side),
                          at(15, "@@@      NONLINEAR  SOLUTION  PROCEDURE      @@@"),
                          at(15, "@@@      FOR COMBINED CONCRETE CRACKING      @@@"),
                          at(15, "@@@           AND STEEL YIELDING             @@@"),
                          at(15, "@@@  =====================================   @@@"),
                          at(15, "@@@  SOLUTION WILL BE  OBTAINED  USING  AN   @@@"),
                          at(15, "@@@  ITERATIVE/INCREMENTAL SOLUTION METHOD   @@@"),
                          at(15, "@@@  IN WHICH INCREMENTATION  ON  LOAD  TO   @@@"),
                          at(15, "@@@  ACCOUNT FOR YIELDING WILL BE REPEATED   @@@"),
                          at(15, "@@@  IF  ADDITIONAL   INELASTIC   CONCRETE   @@@"),
                          at(15, "@@@  CRACKING IS PREDICTED ABOVE TOLERANCE.  @@@"),
                          at(15, side),
                          at(15, row),
                          "",
                          ""};
  EXPECT_EQ(banner(procedure_banner::CRACKING_YIELDING), expected);
}

TEST(PRNRTN, OtherProceduresWriteNothing) {
  for (int procedure : {0, 3, -1}) EXPECT_EQ(banner(procedure), Lines{}) << procedure;
}

TEST(PRNIT, IterationReportOfEachStage) {
  const struct {
    const char* name;
    double applied, loadFactor;
    SolutionStage STAGE;
    int iteration, increment, CINC, YINC;
    Lines expected;
  } cases[] = {
      {"cracking: iteration and new cracks", 1.0, 1.0, SolutionStage::CRACKING, 3, 0, 17, 5,
       crackingIteration("   3" + sp(11) + "  17" + sp(7))},
      {"cracking: four-digit fields", 1.0, 1.0, SolutionStage::CRACKING, 1234, 0, 5678, 0,
       crackingIteration("1234" + sp(11) + "5678" + sp(7))},
      {"combined: pass, increment, load reached, yielded and cracked", 0.25, 0.75,
       SolutionStage::COMBINED, 2, 4, 3, 12,
       combinedIteration("    2", "   4", "0.750E+00", "    12", "     3")},
      {"yielding: pass, increment, load reached, yielded", 0.125, 0.5, SolutionStage::YIELDING, 1,
       10, 7, 123456, yieldingIteration("    1", "  10", "0.500E+00", "123456")},
      {"elastic stage: no report", 1.0, 1.0, SolutionStage::INITIAL_ELASTIC, 1, 1, 1, 1, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::ostringstream text;
    Writer out(text);
    PRNIT(c.applied, c.loadFactor, c.STAGE, c.iteration, c.increment, c.CINC, c.YINC, out);
    EXPECT_EQ(splitLines(text.str()), c.expected);
  }
}

}  // namespace
}  // namespace korvant::test
