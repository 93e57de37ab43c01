// The guard of the VTK files against values that are not finite numbers: such a value would
// be a fault of the run, and no file is written with it (ParaView would show it as a valid
// colour). The files themselves are read back by VTK in tests/job/vtk_readback_test.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "output/vtk_files.hpp"
#include "support/test_support.hpp"

namespace korvant::test {
namespace {

TEST(VtkFiles, AValueThatIsNotFiniteIsNamedAndNoFileIsWritten) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    std::string label;
    VtkDataset dataset;
    std::string message;
  };
  const DifferenceGrid grid{2.0, 1.0, 3, 2};  // points (I, J), record n = (J - 1) * 2 + I
  const std::vector<Case> cases = {
      {"scalar",
       {grid, {{"w", {}, {0, 0, 0, 0, nan, 0}, ""}}, {}},
       "w IS NOT A FINITE NUMBER AT POINT I = 1, J = 3"},
      {"component",
       {grid,
        {{"w", {}, std::vector<double>(6, 0.0), ""},
         {"layer_01_moduli", {"E1", "E2"}, {1, 1, 1, 1, 1, 1, 1, -inf, 1, 1, 1, 1}, ""}},
        {}},
       "layer_01_moduli E2 IS NOT A FINITE NUMBER AT POINT I = 2, J = 2"},
      {"field",
       {grid, {{"w", {}, std::vector<double>(6, 0.0), ""}}, {{"load_factor", inf}}},
       "load_factor IS NOT A FINITE NUMBER"},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::string problem;
    EXPECT_FALSE(writeStructuredGrid(dir / "bad.vts", c.dataset, problem));
    EXPECT_EQ(problem, "THE FILE " + (dir / "bad.vts").string() + " IS NOT WRITTEN: " + c.message);
    EXPECT_FALSE(std::filesystem::exists(dir / "bad.vts"));
  }
}

}  // namespace
}  // namespace korvant::test
