// Deck texts of layered concrete slabs for the nonlinear tests, in newtons and millimetres,
// and the pieces of a report those tests read back.
#pragma once

#include <string>
#include <vector>

#include "core/model_deck.hpp"
#include "support/test_support.hpp"

namespace korvant::test {

// A bar layer smeared to its steel area per unit width: bars of diameter `bar` at `spacing`
// running at THETA degrees from x, centred at `depth` below the upper surface.
struct BarLayer {
  double bar = 12.0;
  double spacing = 150.0;
  double theta = 0.0;
  double depth = 0.0;  // from the upper surface to the centre of the bars

  double thickness() const;  // pi bar^2 / 4 / spacing
};

// A simply supported (or otherwise supported) square-or-rectangular concrete slab, the
// concrete in `concreteLayers` equal layers over `depth`, with bar layers set into it.
struct ConcreteSlabDeck {
  std::string solution = "NONLINEAR";
  int NITCRK = 50, NPASSY = 2, NINCY = 2;
  double CRKTOL = 0.0;
  double WMAX = 1.0e10;
  bool crackingOnly = true;
  bool coupled = false;
  std::string layout = "SIMPLY SUPPORTED";
  double A = 4000.0, B = 4000.0;
  int NUMA = 11, NUMB = 11;
  double E = 30000.0, nu = 0.2, XT = 3.0, XC = 30.0, S = 6.0;  // concrete, MPa
  double Es = 200000.0, nus = 0.3, Y = 500.0;                  // steel, MPa
  double postFailure = 30.0;                                   // modulus of failed concrete, MPa
  double depth = 200.0;
  int concreteLayers = 4;
  std::vector<BarLayer> bars;
  double pressure = 0.01;  // MPa
  std::string print = "D -S -E FI";
  std::string diag;  // the DIAGNOSTIC codes, none when empty
  bool status = false;

  std::string text() const;
};

// A 4 m square slab, 150 mm deep, simply supported, with a 10 mm mesh at 150 mm both ways,
// the bar centres 30 and 40 mm above the lower surface, on a 21 x 21 grid: the slab of the
// incremental-stage runs, taken to collapse at a deflection of span / 40 in one increment.
ConcreteSlabDeck meshSlab(double pressure);

// A small simply supported 4 m x 3 m slab, 150 mm deep, with a bottom mesh, on a 9 x 7 grid
// in four yielding increments: quick jobs that crack and yield, printing `print`.
ConcreteSlabDeck smallMeshSlab(double pressure, const std::string& print);

// Johansen's pattern for a simply supported square slab with an isotropic bottom mesh:
// q = 24 m / L^2, with the plastic moment per unit width m = As fy (d - a/2) at the mean depth
// of the first two bar layers and the depth a = As fy / (0.85 fc) of the compression block.
double yieldLinePressure(const ConcreteSlabDeck& deck);

// A run of the executable on the deck as slab.inp in a fresh folder, answered "--yes",
// with its console and its report.
struct Job {
  RunResult result;
  std::string report;
};
Job runDeck(const ConcreteSlabDeck& deck);

// The deck read and checked into a model, as a job would read it; a deck with input errors
// fails the test.
ModelDeck modelOf(const ConcreteSlabDeck& deck);

// The layers of the deck from the lower surface up, as (thickness, is steel) pairs: the
// concrete split at the bar layers.
struct PlacedLayer {
  double thick;
  int bar;  // index into bars, -1 for concrete
};
std::vector<PlacedLayer> placedLayers(const ConcreteSlabDeck& deck);

// The small deck of the report tests: a plain concrete slab 400 x 400, simply supported, on a
// 5 x 5 grid under a uniform pressure of 0.01, its concrete layers stacked in one zone, each
// of its own material (modulus E, Poisson ratio 0.2) and of the one damage law.
struct PlainSlabDeck {
  struct Layer {
    std::string E = "30000.0";
    std::string thick = "200.0";
  };
  std::string heading;
  std::string solution = "*SOLUTION = LINEAR\n0.0\n";  // the statement and its data line
  std::string options;  // the statements between the solution and the boundary, lines ended
  std::vector<Layer> layers = {Layer{}};

  std::string text() const;
};

// The numbers of a report line, read in order; text between them is skipped.
std::vector<double> numbersOf(const std::string& line);

// The solution rows (X, Y, then w or u, v, w) of the first displacement table after the line
// that holds `heading`, from `from` on in `report`.
std::vector<std::vector<double>> solutionRows(const std::string& report, const std::string& heading,
                                              std::size_t from = 0);

// The fibre rows (X, Y, then SXX, SYY, SXY or the strains) of the first fibre table headed
// `heading` ("UPPER FIBER STRESSES:" and so on) from `from` on in `report`.
std::vector<std::vector<double>> fibreRows(const std::string& report, const std::string& heading,
                                           std::size_t from = 0);

// The (X, Y, ratio) rows of the failure-measure table of `report`.
std::vector<std::vector<double>> failureRows(const std::string& report);

// The lines of `report` that begin with `prefix`, in order.
std::vector<std::string> linesStartingWith(const std::string& report, const std::string& prefix);

// The deck text with a *GRAPHIC statement before its *BOUNDARY statement: spreadsheet
// datasets of the displacements, the upper-face SXX and the failure ratios.
std::string withGraphic(std::string deck);

// The steps of the printed iteration reports: (pass, step, load factor, YINC, CINC); a
// cracking iteration has pass 0, load factor 1 and no YINC.
std::vector<std::vector<double>> printedSteps(const std::string& report);

// The increments of the printed iteration reports, (pass, increment, load factor, YINC, CINC)
// in order, and whether an increment's deflection predicted a collapse after them.
struct PrintedIncrements {
  std::vector<std::vector<double>> steps;
  bool collapse = false;
};
PrintedIncrements printedIncrements(const std::string& report);

// The solutions that --vtk writes for the run of `report`: every displacement table, every
// printed increment and the increment that predicted a collapse.
std::size_t vtkSolutionsOf(const std::string& report);

}  // namespace korvant::test
