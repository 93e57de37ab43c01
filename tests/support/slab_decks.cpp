#include "support/slab_decks.hpp"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <numbers>
#include <sstream>

#include <gtest/gtest.h>

#include "input/deck_reader.hpp"
#include "input/model.hpp"
#include "job/model_setup.hpp"
#include "support/test_support.hpp"

namespace korvant::test {

double BarLayer::thickness() const {
  return std::numbers::pi * bar * bar / 4.0 / spacing;
}

ConcreteSlabDeck meshSlab(double pressure) {
  ConcreteSlabDeck d;
  d.NUMA = d.NUMB = 21;
  d.depth = 150.0;
  d.concreteLayers = 10;
  d.bars = {BarLayer{10.0, 150.0, 0.0, 120.0}, BarLayer{10.0, 150.0, 90.0, 110.0}};
  d.crackingOnly = false;
  d.NPASSY = 5;
  d.NINCY = 10;
  d.CRKTOL = 0.05;
  d.WMAX = 100.0;
  d.pressure = pressure;
  d.print = "D";
  return d;
}

ConcreteSlabDeck smallMeshSlab(double pressure, const std::string& print) {
  ConcreteSlabDeck d = meshSlab(pressure);
  d.B = 3000.0;
  d.NUMA = 9, d.NUMB = 7;
  d.concreteLayers = 6;
  d.NINCY = 4;
  d.print = print;
  return d;
}

double yieldLinePressure(const ConcreteSlabDeck& d) {
  const double As = d.bars[0].thickness();
  const double depth = (d.bars[0].depth + d.bars[1].depth) / 2;
  const double a = As * d.Y / (0.85 * d.XC);
  const double m = As * d.Y * (depth - a / 2);
  return 24.0 * m / (d.A * d.A);
}

Job runDeck(const ConcreteSlabDeck& deck) {
  TempDir dir;
  writeFile(dir / "slab.inp", deck.text());
  Job job;
  job.result = runKorvant(dir.path(), {"--yes", "slab"}, "");
  job.report = readFile(dir / "slab.out");
  return job;
}

ModelDeck modelOf(const ConcreteSlabDeck& d) {
  DeckReader reader = DeckReader::fromText(d.text());
  std::ostringstream report, zones;
  Writer out(report), zoneOut(zones);
  WorkingFiles files;
  ModelDeck model;
  int CTOT = 0;
  EXPECT_EQ(readAndSetUp(reader, model, Capacities{}, out, zoneOut, files, CTOT), 0)
      << report.str();
  return model;
}

std::vector<PlacedLayer> placedLayers(const ConcreteSlabDeck& d) {
  // Faces of the concrete layers from the lower surface, then each bar layer cut in centred
  // on its height; concrete fills what is left between.
  struct Cut {
    double from, to;
    int bar;
  };
  std::vector<Cut> bars;
  for (std::size_t k = 0; k < d.bars.size(); ++k) {
    const double z = d.depth - d.bars[k].depth, t = d.bars[k].thickness();
    bars.push_back({z - t / 2, z + t / 2, static_cast<int>(k)});
  }
  std::sort(bars.begin(), bars.end(), [](const Cut& a, const Cut& b) { return a.from < b.from; });
  std::vector<PlacedLayer> layers;
  double z = 0.0;
  std::size_t next = 0;
  for (int c = 1; c <= d.concreteLayers; ++c) {
    const double top = d.depth * c / d.concreteLayers;
    while (next < bars.size() && bars[next].from < top) {
      if (bars[next].from > z) layers.push_back({bars[next].from - z, -1});
      layers.push_back({bars[next].to - bars[next].from, bars[next].bar});
      z = bars[next].to;
      ++next;
    }
    if (top > z) layers.push_back({top - z, -1});
    z = std::max(z, top);
  }
  return layers;
}

std::string ConcreteSlabDeck::text() const {
  std::ostringstream d;
  d.precision(12);
  d << "*HEADING\nLAYERED CONCRETE SLAB\n";
  if (status) d << "*STATUS\n";
  d << "*SOLUTION = " << solution << "\n";
  if (solution == "LINEAR")
    d << "0.0\n";
  else
    d << NITCRK << "  " << NPASSY << "  " << NINCY << "  " << CRKTOL << "  " << WMAX << "\n";
  if (crackingOnly && solution != "LINEAR") d << "*CRACKING SOLUTION\n";
  if (!diag.empty()) d << "*DIAGNOSTIC\n" << diag << "\n";
  d << "*COUPLING = " << (coupled ? "YES" : "NO") << "\n";
  d << "*FILE PRINT\n" << print << "\n";
  d << "*BOUNDARY = LIBRARY\n" << layout << "\n";
  d << "*SLAB\n" << A << "  " << B << "\n*DISC\n" << NUMA << "  " << NUMB << "  1\n";
  d << "*MATERIAL TYPE=CONCRETE, MATID=1\n"
    << E << "  " << nu << "  " << XT << "  " << XC << "  " << S << "\n";
  d << "*DAMAGE LAW ID = 1, STRESS\nCONCRETE\nCONSTANT MODULI\n"
    << postFailure << "  " << postFailure << "  " << postFailure << "\n1.0  0.0  0.0  0.0\n";
  d << "*DAMAGE LAW ID = 2\nSTEEL\nCONSTANT MODULI\n" << Es / 100.0 << "\n1.0  0.0  0.0  0.0\n";
  for (std::size_t k = 0; k < bars.size(); ++k)
    d << "*MATERIAL TYPE=STEEL, MATID=" << k + 1 << "\n"
      << bars[k].bar << "  " << bars[k].spacing << "  " << Es << "  " << nus << "  " << Y << "\n";
  const std::vector<PlacedLayer> layers = placedLayers(*this);
  for (std::size_t k = 0; k < layers.size(); ++k) {
    const PlacedLayer& l = layers[k];
    d << "*LAYER = " << k + 1 << "\n";
    if (l.bar < 0)
      d << "0  1  1  " << l.thick << "  0.0\n";
    else
      d << l.bar + 1 << "  0  2  " << l.thick << "  " << bars[static_cast<std::size_t>(l.bar)].theta
        << "\n";
  }
  d << "*ZONE = 1\n" << A << "  " << B << "  " << A / 2 << "  " << B / 2 << "\n";
  for (std::size_t k = 0; k < layers.size(); ++k)
    d << k + 1 << (k % 10 == 9 || k + 1 == layers.size() ? "\n" : "  ");
  d << "*NORMAL PRESSURE\n1  UNIFORM LOAD  " << pressure << "\n*END\n";
  return d.str();
}

std::string PlainSlabDeck::text() const {
  std::string d = "*HEADING\n" + heading + "\n" + solution + options +
                  "*BOUNDARY = LIBRARY\nSIMPLY SUPPORTED\n*SLAB\n400.0  400.0\n*DISC\n5  5  1\n";
  for (std::size_t k = 0; k < layers.size(); ++k)
    d += "*MATERIAL TYPE=CONCRETE, MATID=" + std::to_string(k + 1) + "\n" + layers[k].E +
         "  0.2  2.5  30.0  3.0\n";
  d +=
      "*DAMAGE LAW ID = 1\nCONCRETE\nCONSTANT MODULI\n2500.0  2500.0  2500.0\n1.0  0.0  0.0  0.0\n";
  std::string zone;
  for (std::size_t k = 0; k < layers.size(); ++k) {
    const std::string id = std::to_string(k + 1);
    d += "*LAYER = " + id + "\n0  " + id + "  1  " + layers[k].thick + "  0.0\n";
    zone += (k == 0 ? "" : " ") + id;
  }
  return d + "*ZONE = 1\n400.0  400.0  200.0  200.0\n" + zone +
         "\n*NORMAL PRESSURE\n1  UNIFORM LOAD  0.01\n*END\n";
}

std::vector<double> numbersOf(const std::string& line) {
  std::vector<double> values;
  const char* p = line.c_str();
  while (*p) {
    char* end = nullptr;
    const double v = std::strtod(p, &end);
    if (end != p &&
        (std::isdigit(static_cast<unsigned char>(*p)) || *p == '-' || *p == '.' || *p == '+')) {
      values.push_back(v);
      p = end;
    } else {
      ++p;
    }
  }
  return values;
}

namespace {

// Rows of numbers from the line after `start` up to the first line that is neither blank nor
// a row of `width` numbers, once a row has been seen.
std::vector<std::vector<double>> rowsFrom(const std::vector<std::string>& lines, std::size_t start,
                                          std::size_t width) {
  std::vector<std::vector<double>> rows;
  for (std::size_t k = start; k < lines.size(); ++k) {
    if (lines[k].find_first_not_of(' ') == std::string::npos) {
      if (!rows.empty()) break;
      continue;
    }
    const std::vector<double> v = numbersOf(lines[k]);
    if (v.size() != width) {
      if (!rows.empty()) break;
      continue;
    }
    rows.push_back(v);
  }
  return rows;
}

std::size_t lineAt(const std::vector<std::string>& lines, const std::string& text,
                   std::size_t fromLine) {
  for (std::size_t k = fromLine; k < lines.size(); ++k)
    if (lines[k].find(text) != std::string::npos) return k;
  return lines.size();
}

}  // namespace

std::vector<std::vector<double>> solutionRows(const std::string& report, const std::string& heading,
                                              std::size_t from) {
  const std::vector<std::string> lines = splitLines(report.substr(from));
  const std::size_t h = lineAt(lines, heading, 0);
  const std::size_t table = lineAt(lines, "S O L U T I O N", h);
  if (table >= lines.size()) return {};
  const bool coupled = lines[table].find("S O L U T I O N  V E C T O R") != std::string::npos;
  return rowsFrom(lines, table + 1, coupled ? 5 : 3);
}

std::vector<std::vector<double>> fibreRows(const std::string& report, const std::string& heading,
                                           std::size_t from) {
  std::vector<std::vector<double>> rows;
  bool in = false;
  for (const std::string& line : splitLines(report.substr(from))) {
    if (line == at(28, heading)) {
      in = true;
      continue;
    }
    if (!in) continue;
    if (line.find("MAXIMUM") != std::string::npos) break;
    const std::vector<double> v = numbersOf(line);
    if (v.size() == 5) rows.push_back(v);
  }
  return rows;
}

std::vector<std::vector<double>> failureRows(const std::string& report) {
  const std::vector<std::string> lines = splitLines(report);
  const std::size_t table = lineAt(lines, "F A I L U R E  M E A S U R E S", 0);
  if (table >= lines.size()) return {};
  return rowsFrom(lines, table + 1, 3);
}

std::vector<std::string> linesStartingWith(const std::string& report, const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& line : splitLines(report))
    if (line.rfind(prefix, 0) == 0) found.push_back(line);
  return found;
}

std::string withGraphic(std::string deck) {
  return deck.insert(deck.find("*BOUNDARY"), "*GRAPHIC = EXCEL\nD +S FI\n");
}

std::vector<std::vector<double>> printedSteps(const std::string& report) {
  std::vector<std::vector<double>> steps;
  const std::vector<std::string> lines = splitLines(report);
  double pass = 0;
  for (std::size_t k = 0; k + 2 < lines.size(); ++k) {
    const std::string& l = lines[k];
    if (l.find("@@@") == std::string::npos) continue;
    if (l.find("ITERATION   LAYER FAILURES") != std::string::npos) {
      const std::vector<double> v = numbersOf(lines[k + 2]);
      steps.push_back({0, v[0], 1.0, 0, v[1]});
    } else if (l.find("INCREMENT     LOAD") != std::string::npos) {
      const std::vector<double> v = numbersOf(lines[k + 2]);
      steps.push_back({pass, v[0], v[1], v[2], v.size() > 3 ? v[3] : 0});
    } else if (l.find("ITERATION") != std::string::npos && numbersOf(l).size() == 1) {
      pass = numbersOf(l)[0];
    }
  }
  return steps;
}

PrintedIncrements printedIncrements(const std::string& report) {
  PrintedIncrements p;
  for (const auto& s : printedSteps(report))
    if (s[0] > 0) p.steps.push_back(s);
  p.collapse = report.find("@@@  STEEL YIELDING SOLUTION HAS REACHED") != std::string::npos;
  return p;
}

std::size_t vtkSolutionsOf(const std::string& report) {
  std::size_t tables = 0;
  for (std::size_t at = report.find("V E C T O R"); at != std::string::npos;
       at = report.find("V E C T O R", at + 1))
    ++tables;
  const PrintedIncrements p = printedIncrements(report);
  return tables + p.steps.size() + (p.collapse ? 1 : 0);
}

}  // namespace korvant::test
