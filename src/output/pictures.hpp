// The pictures of a run (--plots): a contour map of w for every printed solution, maps of the
// failure measure per point, and the load-deflection curve of the incremental stage or of
// the load path in equilibrium. The
// program writes the values of each picture as a small data file and one gnuplot script that
// draws them all as PNG files; gnuplot itself is run by the caller. Nothing here touches the
// report, the zone file or the datasets.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/grid.hpp"
#include "output/units.hpp"

namespace korvant {

// One map over the grid: its values in record order (J outer, I inner).
struct PictureMap {
  std::string name;             // the picture's name after the job's: "w_elastic", "failure_end"
  std::string title;            // what it shows, under the deck's heading
  std::string valueLabel;       // the label of its colour bar
  bool failureMeasure = false;  // a ratio (of layers, of depth): drawn per point over 0 to 1
  // A utilisation of bars: drawn per point over 0 to 1, the points whose bars have yielded
  // (`yielded` 1 there) marked with a cross. Bars that yielded keep their cross when their
  // stress falls back below the yield stress.
  bool markYielded = false;
  std::vector<double> values;
  std::vector<double> yielded;  // with markYielded: 1 or 0 per point, record order
};

// One increment of the incremental stage whose iteration report was printed: the running
// total's deflection of largest magnitude w at (x, y) against the load factor reached.
struct CurvePoint {
  int pass = 0;
  int increment = 0;
  double loadFactor = 0.0;
  double w = 0.0, x = 0.0, y = 0.0;
  int YINC = 0, CINC = 0;
};

// One converged step of the load path in equilibrium: the control deflection against the
// load factor, and the bar layers yielded and concrete layers crushed at it.
struct PathPoint {
  int step = 0;
  double loadFactor = 0.0;
  double wControl = 0.0;
  int yielded = 0, crushed = 0;
};

struct PictureSet {
  std::string heading;  // the deck's heading, on every picture
  DifferenceGrid grid;
  std::vector<PictureMap> maps;
  std::vector<CurvePoint> curve;  // in the order of the load history; empty: no curve
  // The increment at which a collapse was predicted: its running total was never recovered,
  // so it has no iteration report, but it ends the curve.
  std::optional<CurvePoint> collapse;
  std::string curveTitle;  // the stage of the curve and how it ended
  UnitLabels units;        // the labels of the axes and colour bars
  double pressure = 0.0;   // the deck's first pressure: load factor 1 on the curve
  // The load path in equilibrium, drawn instead of the incremental stage's curve: its steps,
  // the index of its peak among them, what its title says, and the yield-line pressure of
  // the layout drawn beside it when there is one.
  std::vector<PathPoint> path;
  std::size_t pathPeak = 0;
  std::string pathTitle;
  std::optional<double> yieldLinePressure;
};

// The names of every picture the program can draw, so that a later run with fewer pictures
// leaves none of an earlier one behind.
std::vector<std::string> pictureNames();
inline constexpr const char* kCurvePicture = "load_deflection";
// The yield map of the b-th bar layer from the lower face, b = 1..kBarLayerPictures.
inline constexpr int kBarLayerPictures = 8;
std::string barPictureName(int b);
inline constexpr const char* kPictureScript = "pictures.gp";
inline constexpr const char* kCollapsePoint = "collapse_point.dat";

// Writes the data file of every picture of `set` and the script kPictureScript into
// `folder` (created when missing). The script is run from inside `folder` and writes the
// picture NAME as `pictureStem` + "_" + NAME + ".png" in the folder above it. Returns the
// names of the pictures the script draws; false, with the reason in `problem`, when a file
// cannot be written.
bool writePictureFiles(const std::filesystem::path& folder, const std::string& pictureStem,
                       const PictureSet& set, std::vector<std::string>& drawn,
                       std::string& problem);

}  // namespace korvant
