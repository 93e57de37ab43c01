// The results an engineer designs with, for every point of one solution: section forces per
// unit width and principal moments, the bar layers' strains, stresses and utilisation, the
// crack depth from each face and the characteristic crack width at each cracked face. They
// are read from what every analysis leaves on the working files (the current layer tables,
// the recovered layer results, the layer states) and from the deck's bar and concrete
// tables, for the summary, the pictures and the VTK files; for the load path in equilibrium,
// from each point's secant section under the strains and the layers' memory of a step.
#pragma once

#include <array>
#include <vector>

#include "core/grid.hpp"
#include "core/model_deck.hpp"
#include "core/record_store.hpp"
#include "equilibrium/load_path.hpp"
#include "output/maxima.hpp"
#include "section/section_results.hpp"

namespace korvant {

struct PointResults {
  SectionForces forces;
  PrincipalMoments principal;
  std::vector<BarLayerResult> bars;  // lower face first
  CrackDepths cracks;
  double widthLower = 0.0, widthUpper = 0.0;  // crack width at each face, 0 when uncracked
};

struct SolutionResults {
  DifferenceGrid grid;
  std::vector<PointResults> points;  // record order (J outer, I inner)
  int barLayers = 0;                 // most bar layers of any point
};

struct ResultSources {
  const RecordStore& currentLayers;  // unit 20
  const RecordStore& layerResults;   // unit 25
  const RecordStore& layerState;     // unit 35
};

SolutionResults solutionResults(const ModelDeck& model, const ResultSources& sources);

// The same results of a converged state of the load path in equilibrium, from every point's
// section (`sections`, record order) under its strain plane, with its layers' memory and the
// tension stiffening `ts`: the section forces the secant section gives (its moments about the
// mid-depth turned to the sign above: sagging positive), the strain along the bars and the
// stress their law gives at it, the cracks from each face through the concrete layers whose
// memory holds a crack and that are stretched along some direction, and the crack widths
// from those as for any solution.
SolutionResults pathResults(const ModelDeck& model,
                            const std::vector<const equilibrium::Section*>& sections,
                            const equilibrium::PathState& state, equilibrium::TensionStiffening ts);

// The crack width at the face below (lower = true) or above the point's bars: at each bar
// layer in that face's half of the section that the cracks from the face reach, the width of
// EN 1992-1-1 7.3.4 from the layer's bars (diameter, spacing and modulus of its steel
// table row), its stress Es times its strain along the bars, the concrete of the nearest
// concrete-bearing layer of the zone (E as Ecm, XT as f_ct,eff); the largest of them.
double faceCrackWidth(const ModelDeck& model, int zoneRow, const PointLayerTable& table,
                      const PointResults& point, bool lower);

// The deflection w of every point of a state of the load path, in record order: the last of
// the unknowns of each point of its solution (u, v, w of a coupled deck, w alone otherwise).
std::vector<double> pathDeflections(const ModelDeck& model, const equilibrium::PathState& state);

// The most utilised bar layer of a solution and where it lies.
struct MostUtilised {
  bool any = false;
  int layer = 0;
  double x = 0.0, y = 0.0, z = 0.0;
  double utilisation = 0.0, stress = 0.0, strain = 0.0;
  bool yielded = false;
};

// The maxima of a solution's results (Peak: the signed value of largest magnitude).
struct ResultPeaks {
  std::array<Peak, 6> forces;  // mxx, myy, mxy, nxx, nyy, nxy
  Peak m1, m2;
  MostUtilised steel;
  Peak crackLower, crackUpper;  // depth over the section depth
  Peak widthLower, widthUpper;
};

ResultPeaks resultPeaks(const SolutionResults& results);

}  // namespace korvant
