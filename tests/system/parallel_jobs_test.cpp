// A parametric study run as users run it: several jobs at once, each in its own folder (the
// dataset list content.dat is written in the current folder), against the same jobs run one
// after another.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/slab_decks.hpp"
#include "support/test_support.hpp"

namespace korvant::test {
namespace {

const char* kFiles[] = {"slab.out", "slab.zon", "slab.dln", "content.dat"};

// The mesh slab at `factor` times its yield-line pressure, with its displacement datasets.
std::string studyDeck(double factor) {
  std::string deck = meshSlab(factor * yieldLinePressure(meshSlab(0.0))).text();
  return deck.insert(deck.find("*BOUNDARY"), "*GRAPHIC = TECPLOT\nD\n");
}

TEST(ParallelJobs, FourJobsAtOnceWriteWhatTheyWriteAlone) {
  const double factors[] = {0.4, 0.8, 1.0, 1.2};
  TempDir serial, parallel;
  std::string together = "cd " + parallel.path().string() + " && (";
  for (int k = 0; k < 4; ++k) {
    const std::string name = "job" + std::to_string(k);
    for (const TempDir* root : {&serial, &parallel}) {
      std::filesystem::create_directory(*root / name);
      writeFile(*root / name / "slab.inp", studyDeck(factors[k]));
    }
    EXPECT_EQ(runKorvant(serial / name, {"--yes", "slab"}, "").status, 0);
    together += "(cd " + name + " && \"" KORVANT_EXE "\" --yes slab </dev/null >out 2>&1) & ";
  }
  together += "wait)";
  ASSERT_EQ(std::system(together.c_str()), 0);
  for (int k = 0; k < 4; ++k) {
    const std::string name = "job" + std::to_string(k);
    for (const char* file : kFiles) {
      SCOPED_TRACE(name + "/" + file);
      const std::string alone = readFile(serial / name / file);
      EXPECT_FALSE(alone.empty());
      EXPECT_EQ(readFile(parallel / name / file), alone);
    }
  }
}

}  // namespace
}  // namespace korvant::test
