// The console status lines and the initial per-point result records, on their own.
#include "job/status_lines.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/record_store.hpp"
#include "core/writer.hpp"
#include "job/dbfile.hpp"
#include "support/job_texts.hpp"
#include "support/test_support.hpp"

namespace korvant::test {
namespace {

TEST(PRSTAT, BannersComeOnceThenOneLinePerStage) {
  std::ostringstream console;
  Writer out(console);
  bool bannersWritten = false;
  PRSTAT(SolutionProcedure::NONLINEAR, SolutionStage::INITIAL_ELASTIC, bannersWritten, out);
  EXPECT_TRUE(bannersWritten);
  const std::string first = console.str();
  // Three blank lines, eleven banner lines, two blank lines; three blank lines, seven
  // status banner lines, three blank lines; a blank line and the stage line.
  const auto lines = splitLines(first);
  ASSERT_EQ(lines.size(), 3u + 11u + 2u + 3u + 7u + 3u + 2u);
  EXPECT_EQ(lines[5], "          @@@                 PROGRAM KORVANT                   @@@");
  EXPECT_EQ(lines[21], "               @@@  S O L U T I O N  S T A T U S  F O R   @@@");
  EXPECT_EQ(lines[23], "               @@@   N O N L I N E A R  A N A L Y S I S   @@@");
  EXPECT_EQ(lines.back(), "          * BEGINNING INITIAL ELASTIC SOLUTION");

  console.str("");
  PRSTAT(SolutionProcedure::NONLINEAR, SolutionStage::CRACKING, bannersWritten, out);
  PRSTAT(SolutionProcedure::NONLINEAR, SolutionStage::COMBINED, bannersWritten, out);
  PRSTAT(SolutionProcedure::NONLINEAR, SolutionStage::YIELDING, bannersWritten, out);
  PRSTAT(SolutionProcedure::NONLINEAR, SolutionStage::FAILED_COMBINED, bannersWritten,
         out);  // the final stage of a failed incrementation has no line
  EXPECT_EQ(console.str(),
            textOf({"", "          * BEGINNING ITERATIONS FOR DEFLECTIONS DUE TO CRACKING", "",
                    "          * BEGINNING INCREMENTS FOR COMBINED CRACKING/YIELDING SOLUTION", "",
                    "          * BEGINNING INCREMENTS FOR YIELDING SOLUTION"}));
}

TEST(DBINIT, EveryPointReadsBackAsZeros) {
  const int NUMA = 4;
  const int NUMB = 3;
  RecordStore fibre(200);
  RecordStore failure(200);
  const double leftOver = 7.0;
  fibre.write(NUMA * NUMB + 1, std::span<const double>(&leftOver, 1));
  DBINIT(NUMA, NUMB, fibre, failure);
  for (int n = 1; n <= NUMA * NUMB; ++n) {
    EXPECT_TRUE(fibre.written(n)) << n;
    EXPECT_TRUE(failure.written(n)) << n;
    for (double v : fibre.read(n)) EXPECT_EQ(v, 0.0);
    EXPECT_EQ(failure.read(n)[0], 0.0);
  }
  EXPECT_FALSE(failure.written(NUMA * NUMB + 1));
  EXPECT_EQ(fibre.read(NUMA * NUMB + 1)[0], leftOver);
}

}  // namespace
}  // namespace korvant::test
