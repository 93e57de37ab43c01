// The equations written on the section forces against the specified ones and against beam
// theory: runs made in this process, their solution vectors compared.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "job/run_context.hpp"
#include "solver/sparse_factor.hpp"
#include "support/in_process_run.hpp"
#include "support/slab_decks.hpp"

namespace korvant::test {
namespace {

JobRequest formRequest(bool conservative, bool large = false) {
  JobRequest request;
  request.conservative = conservative;
  request.large = large;
  return request;
}

// The expanded solution of a run that went through.
std::vector<double> solutionOf(const std::string& deck, const JobRequest& request) {
  const auto r = runInProcess(deck, request);
  EXPECT_EQ(r->inputErrors, 0);
  EXPECT_EQ(r->run.fatal, 0);
  const RunContext& run = r->run;
  const int perPoint = run.model.COUPLING == 2 ? 3 : 1;
  const int NR = perPoint * run.model.NUMA * run.model.NUMB;
  std::vector<double> v(static_cast<std::size_t>(NR));
  for (int k = 1; k <= NR; ++k) v[static_cast<std::size_t>(k - 1)] = run.arrays.solutions.current(k);
  return v;
}

// A uniform section with membrane-bending coupling and angled steel (A16, B16, D16 all
// present) on a rectangular grid of unequal spacings: on slabs whose edges are all supported
// the two forms are the same equations, so their solutions agree to round-off, component by
// component, in the band, the full and the sparse store.
TEST(ConservativeForm, SupportedEdgesGiveTheSpecifiedSolution) {
  for (const char* layout : {"SIMPLY SUPPORTED", "CLAMPED"}) {
    for (bool coupled : {false, true}) {
      for (bool large : {false, true}) {
        if (large && !SparseFactor::available()) continue;
        SCOPED_TRACE(std::string(layout) + (coupled ? " coupled" : " uncoupled") +
                     (large ? " sparse" : ""));
        ConcreteSlabDeck d;
        d.solution = "LINEAR";
        d.layout = layout;
        d.coupled = coupled;
        d.B = 3000.0, d.NUMA = 9, d.NUMB = 7;
        d.bars = {BarLayer{12.0, 150.0, 30.0, 40.0}, BarLayer{10.0, 200.0, 120.0, 160.0}};
        const std::vector<double> specified = solutionOf(d.text(), formRequest(false, large));
        const std::vector<double> conservative = solutionOf(d.text(), formRequest(true, large));
        const std::size_t perPoint = coupled ? 3 : 1;
        for (std::size_t c = 0; c < perPoint; ++c) {
          double scale = 0.0, difference = 0.0;
          for (std::size_t k = c; k < specified.size(); k += perPoint) {
            scale = std::max(scale, std::abs(specified[k]));
            difference = std::max(difference, std::abs(conservative[k] - specified[k]));
          }
          EXPECT_GT(scale, 0.0) << c;
          EXPECT_LE(difference, 1e-10 * scale) << "component " << c;
        }
      }
    }
  }
}

}  // namespace
}  // namespace korvant::test
