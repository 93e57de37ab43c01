// The run summary of --json through the executable. Each job runs twice, with and without the
// option (and --vtk beside it, through every way a job ends): the report, the zone file and
// the datasets must be the same byte for byte, and so must the exit status. The summary is
// read back: its outcome against the exit status and the report, its iterations and
// increments against the printed iteration reports, its maxima against the printed maxima.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/slab_decks.hpp"
#include "support/test_support.hpp"

#ifdef KORVANT_HAVE_JSON
#include <nlohmann/json.hpp>
#endif

namespace korvant::test {
namespace {

namespace fs = std::filesystem;

struct Case {
  std::string label;
  ConcreteSlabDeck deck;
  int status;
  std::string result;
};

[[maybe_unused]] std::vector<Case> cases() {
  std::vector<Case> c;
  ConcreteSlabDeck graphics = smallMeshSlab(0.06, "D +S -S FI");
  c.push_back({"completed", graphics, 0, "completed"});
  ConcreteSlabDeck collapse = smallMeshSlab(0.06, "D +S -S FI");
  collapse.WMAX = 2.0;
  c.push_back({"collapse", collapse, 0, "collapse predicted"});
  ConcreteSlabDeck unconverged = smallMeshSlab(0.06, "D +S -S FI");
  unconverged.NITCRK = 2;
  unconverged.CRKTOL = 0.0;
  c.push_back({"fatal", unconverged, 4, "fatal run-time error"});
  ConcreteSlabDeck linear = smallMeshSlab(0.06, "D +S -S FI");
  linear.solution = "LINEAR";
  linear.coupled = true;
  c.push_back({"linear", linear, 0, "completed"});
  ConcreteSlabDeck wrong = smallMeshSlab(0.06, "D +S -S FI");
  wrong.XT = -3.0;
  c.push_back({"input errors", wrong, 3, "input errors"});
  return c;
}

#ifdef KORVANT_HAVE_JSON
using Json = nlohmann::json;

// The (x, y, value) triples printed under each maxima heading, in report order.
std::vector<std::vector<double>> printedMaxima(const std::string& report,
                                               const std::string& heading) {
  std::vector<std::vector<double>> found;
  const std::vector<std::string> lines = splitLines(report);
  const std::size_t components = heading == "MAXIMUM DEFLECTION:" ? 1 : 3;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    if (lines[k].find(heading) == std::string::npos) continue;
    for (std::size_t c = 0; c < components; ++c) found.push_back(numbersOf(lines[k + 3 + 3 * c]));
  }
  return found;
}

void expectPeak(const Json& peak, const std::vector<double>& printed) {
  ASSERT_EQ(printed.size(), 3u);
  const auto near = [](double json, double p) {
    EXPECT_NEAR(json, p, 6e-5 * std::abs(p)) << json << " printed " << p;
  };
  near(peak["x"], printed[0]), near(peak["y"], printed[1]), near(peak["value"], printed[2]);
}

void checkSummary(const Json& j, const Case& c, const std::string& report) {
  EXPECT_EQ(j["outcome"]["exit_status"], c.status);
  EXPECT_EQ(j["outcome"]["result"], c.result);
  EXPECT_EQ(j["job"]["name"], "job");
  EXPECT_EQ(j["grid"]["NUMA"], c.deck.NUMA);
  EXPECT_EQ(j["layout"]["name"], "simply supported");
  if (c.status == 3) {
    EXPECT_EQ(j["outcome"]["input_errors"], linesStartingWith(report, "***ERROR").size());
    EXPECT_GE(j["outcome"]["input_errors"], 1);
    return;
  }
  if (c.status == 4) {
    const std::string message = j["outcome"]["message"];
    EXPECT_EQ(
        message.rfind("CONVERGENCE FAILURE FOR CONCRETE CRACKING SOLUTION. INPUT ITERATION", 0), 0u)
        << message;
  }

  // Every printed step, in order, with what its report printed.
  std::vector<std::vector<double>> steps;
  for (const Json& stage : j["stages"]) {
    for (const Json& s : stage.value("iterations", Json::array()))
      if (s["completed"]) steps.push_back({0, s["iteration"], 1.0, 0, s["CINC"]});
    for (const Json& s : stage.value("increments", Json::array())) {
      if (s["completed"])
        steps.push_back({s["pass"], s["increment"], s["load_factor"], s["YINC"], s["CINC"]});
    }
  }
  const std::vector<std::vector<double>> printed = printedSteps(report);
  ASSERT_EQ(steps.size(), printed.size());
  for (std::size_t k = 0; k < steps.size(); ++k)
    for (std::size_t f = 0; f < 5; ++f)
      EXPECT_NEAR(steps[k][f], printed[k][f], 5e-4 * std::abs(printed[k][f])) << k << " " << f;

  // The maxima of every printed solution, in order.
  const auto w =
      printedMaxima(report, c.deck.coupled ? "MAXIMUM DEFLECTIONS:" : "MAXIMUM DEFLECTION:");
  const auto upper = printedMaxima(report, "MAXIMUM UPPER FIBER STRESSES:");
  const auto lower = printedMaxima(report, "MAXIMUM LOWER FIBER STRESSES:");
  const Json& solutions = j["solutions"];
  std::size_t fibre = 0;
  const std::size_t perSolution = c.deck.coupled ? 3 : 1;
  ASSERT_EQ(w.size(), solutions.size() * perSolution);
  for (std::size_t k = 0; k < solutions.size(); ++k) {
    const Json& m = solutions[k]["maxima"];
    if (c.deck.coupled) {
      expectPeak(m["u"], w[3 * k]), expectPeak(m["v"], w[3 * k + 1]);
    }
    expectPeak(m["w"], w[perSolution * k + perSolution - 1]);
    if (!m.contains("upper")) continue;
    const char* names[] = {"SXX", "SYY", "SXY"};
    for (std::size_t n = 0; n < 3; ++n, ++fibre) {
      expectPeak(m["upper"][names[n]], upper.at(fibre));
      expectPeak(m["lower"][names[n]], lower.at(fibre));
    }
  }
  EXPECT_EQ(fibre, upper.size());
}
#endif

TEST(JsonSummary, OptionChangesNoFileOfTheJobAndItsSummaryMatchesTheReport) {
#ifndef KORVANT_HAVE_JSON
  GTEST_SKIP() << "built without nlohmann-json";
#else
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.label);
    TempDir plain, summarised;
    for (const TempDir* dir : {&plain, &summarised})
      writeFile(*dir / "job.inp", withGraphic(c.deck.text()));
    const RunResult without = runKorvant(plain.path(), {"job"}, "");
    const RunResult with = runKorvant(summarised.path(), {"--json", "--vtk", "job"}, "");
    EXPECT_EQ(without.status, c.status);
    EXPECT_EQ(with.status, c.status);
    EXPECT_EQ(with.console, without.console);
    EXPECT_FALSE(fs::exists(plain / "job.json"));
    for (const char* name : {"job.out", "job.zon", "content.dat", "gparams.dat", "job.dln",
                             "job.dcr", "job.dcy", "job.sxx", "job.flt"}) {
      ASSERT_EQ(fs::exists(plain / name), fs::exists(summarised / name)) << name;
      if (fs::exists(plain / name)) {
        EXPECT_TRUE(readFile(plain / name) == readFile(summarised / name)) << name;
      }
    }
    const std::string report = readFile(summarised / "job.out");
    checkSummary(Json::parse(readFile(summarised / "job.json")), c, report);
  }
#endif
}

TEST(JsonSummary, CollapseNamesTheStepWhereTheDeflectionReachedTheAllowable) {
#ifndef KORVANT_HAVE_JSON
  GTEST_SKIP() << "built without nlohmann-json";
#else
  ConcreteSlabDeck deck = smallMeshSlab(0.06, "D +S -S FI");
  deck.WMAX = 2.0;
  TempDir dir;
  writeFile(dir / "job.inp", deck.text());
  ASSERT_EQ(runKorvant(dir.path(), {"--json", "job"}, "").status, 0);
  const Json j = Json::parse(readFile(dir / "job.json"));
  const Json& outcome = j["outcome"];
  ASSERT_EQ(outcome["result"], "collapse predicted");
  const Json& last = j["stages"].back();
  EXPECT_EQ(outcome["stage"], last["stage"]);
  const Json& step = last[last.contains("increments") ? "increments" : "iterations"].back();
  EXPECT_FALSE(step["completed"]);
  EXPECT_EQ(outcome["load_factor"], step.value("load_factor", 1.0));
#endif
}

// Five increments of 1/5, the step in single precision as the stage takes it: the load factors
// are printed as the single-precision numbers they are (0.2, ..., 1), not their doubles
// (1.0000000149); the units the command line names label the file; the results of every
// printed solution are there, the sagging moment largest at the centre of the square (once
// cracked, within a grid spacing of it).
TEST(JsonSummary, LoadFactorsUnitsAndTheEngineersResults) {
#ifndef KORVANT_HAVE_JSON
  GTEST_SKIP() << "built without nlohmann-json";
#else
  ConcreteSlabDeck deck = smallMeshSlab(0.02, "D FI");
  deck.NINCY = 5;
  deck.A = deck.B = 4000.0;
  deck.NUMA = deck.NUMB = 9;
  TempDir dir;
  writeFile(dir / "job.inp", deck.text());
  ASSERT_EQ(runKorvant(dir.path(), {"--json", "--units", "N-mm", "job"}, "").status, 0);
  const std::string text = readFile(dir / "job.json");
  EXPECT_EQ(text.find("1.0000000149"), std::string::npos);
  const Json j = Json::parse(text);
  EXPECT_EQ(j["units"]["system"], "N-mm");
  EXPECT_EQ(j["units"]["moment"], "N mm/mm");
  const Json& increments = j["stages"].back()["increments"];
  ASSERT_FALSE(increments.empty());
  EXPECT_EQ(increments.back()["load_factor"].get<double>(), 1.0);
  EXPECT_EQ(increments.front()["load_factor"].get<double>(), 0.2);
  for (const Json& solution : j["solutions"]) {
    const Json& mxx = solution["results"]["section_forces"]["mxx"];
    EXPECT_GT(mxx["value"].get<double>(), 0.0);
    EXPECT_NEAR(mxx["x"].get<double>(), 2000.0, 500.0);  // within a grid spacing of the centre
    EXPECT_NEAR(mxx["y"].get<double>(), 2000.0, 500.0);
    EXPECT_TRUE(solution["results"].contains("crack_width"));
  }
  EXPECT_GT(j["solutions"].back()["results"]["most_utilised_bars"]["utilisation"].get<double>(),
            0.0);
  ASSERT_EQ(runKorvant(dir.path(), {"--yes", "--json", "job"}, "").status, 0);
  EXPECT_EQ(Json::parse(readFile(dir / "job.json"))["units"]["length"], "deck units");
#endif
}

}  // namespace
}  // namespace korvant::test
