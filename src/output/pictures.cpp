#include "output/pictures.hpp"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <system_error>

#include "core/writer.hpp"

namespace korvant {
namespace {

using fmt::E;
using fmt::I;
using fmt::X;

constexpr const char* kTerminal = "set terminal pngcairo size 1000,800 noenhanced font 'Sans,11'";
constexpr const char* kValuePalette =
    "set palette defined (0 '#30123b', 1 '#4686fb', 2 '#1ae4b6', 3 '#a2fc3c', 4 '#fabb39', "
    "5 '#e4460a', 6 '#7a0403')";
// White where no layer failed, through yellow and orange to dark red where all have.
constexpr const char* kFailurePalette =
    "set palette defined (0 '#ffffff', 0.1 '#fff3b0', 0.4 '#fdae61', 0.7 '#e34a33', "
    "1 '#7f0000')";

// A text as a gnuplot string in double quotes.
std::string quoted(const std::string& text) {
  std::string q = "\"";
  for (const char c : text) {
    if (c == '\n') {
      q += "\\n";
      continue;
    }
    if (c == '"' || c == '\\') q += '\\';
    q += c;
  }
  return q + "\"";
}

// The deck's heading over the title of a picture.
std::string titleOf(const PictureSet& set, const std::string& title) {
  return quoted(set.heading.empty() ? title : set.heading + "\n" + title);
}

// A new picture of the script: gnuplot's settings of the one before cleared, its file, and the
// heading and title at its top, above the plot, whose top is kept below them (a title of a
// map seen from above would otherwise sit on the map).
void startPicture(Writer& gp, const PictureSet& set, const std::string& picture,
                  const std::string& text) {
  gp.line("reset");
  gp.line("set output ", quoted(picture));
  gp.line("set label 1 ", titleOf(set, text), " at screen 0.5, 0.975 center front");
  gp.line("set tmargin at screen 0.86");
  gp.line("set bmargin at screen 0.1");
}

// A number of a data file: E16.8 keeps eight significant digits, which gnuplot reads.
fmt::Field number(double value) {
  return E(16, 8, value);
}

// The values of a map, one line "x y value" per point, a blank line after each row of
// constant y: the grid layout gnuplot draws as a surface or an image.
void writeMapData(Writer& out, const DifferenceGrid& grid, const PictureMap& map) {
  out.line("# x, y, ", map.valueLabel, map.markYielded ? ", yielded (1 or 0)" : "");
  for (int I = 1; I <= grid.NUMB; ++I) {
    for (int J = 1; J <= grid.NUMA; ++J) {
      const auto n = static_cast<std::size_t>(pointRecord(I, J, grid.NUMB) - 1);
      if (map.markYielded)
        out.line(number(grid.x(J)), number(grid.y(I)), number(map.values.at(n)),
                 number(map.yielded.at(n)));
      else
        out.line(number(grid.x(J)), number(grid.y(I)), number(map.values.at(n)));
    }
    out.blank();
  }
}

// The increments of the curve, one block per pass, two blank lines between passes: gnuplot's
// data sets, read with "index".
void writeCurveData(Writer& out, const std::vector<CurvePoint>& curve) {
  out.line("# pass, increment, load factor, w of largest magnitude of the running total at x, y,",
           " YINC, CINC");
  for (std::size_t k = 0; k < curve.size(); ++k) {
    const CurvePoint& p = curve[k];
    if (k > 0 && p.pass != curve[k - 1].pass) out.blank(2);
    out.line(I(5, p.pass), I(6, p.increment), number(p.loadFactor), number(p.w), number(p.x),
             number(p.y), I(8, p.YINC), I(8, p.CINC));
  }
}

void axesOfGrid(Writer& gp, const PictureSet& set) {
  gp.line("set size ratio -1");
  gp.line("set xrange [0:", number(set.grid.A), "]");
  gp.line("set yrange [0:", number(set.grid.B), "]");
  gp.line("set xlabel ", quoted("x, along side A [" + set.units.length + "]"));
  gp.line("set ylabel ", quoted("y, along side B [" + set.units.length + "]"));
}

void scriptOfMap(Writer& gp, const PictureSet& set, const PictureMap& map, const std::string& data,
                 const std::string& picture) {
  startPicture(gp, set, picture, map.title);
  axesOfGrid(gp, set);
  gp.line("set cblabel ", quoted(map.valueLabel));
  if (map.markYielded) {
    // Each point's utilisation over its cell, the yielded points crossed.
    gp.line(kFailurePalette);
    gp.line("set cbrange [0:1]");
    gp.line("set key below");
    gp.line("plot '", data, "' using 1:2:($3 < 1 ? $3 : 1) with image notitle, \\");
    gp.line("     '", data, "' using 1:($4 > 0 ? $2 : 1/0) with points pt 2 ps 1.5 lw 2 ",
            "lc rgb '#000000' title 'yielded'");
    return;
  }
  if (map.failureMeasure) {
    // Each point's own value over the cell around it: a measure of layers is not smooth.
    gp.line(kFailurePalette);
    gp.line("set cbrange [0:1]");
    gp.line("plot '", data, "' using 1:2:3 with image notitle");
    return;
  }
  gp.line(kValuePalette);
  // A map of one value throughout (no crack width at a face without bars) has no range of its
  // own: its colour bar runs up from that value, not around it.
  const auto [low, high] = std::minmax_element(map.values.begin(), map.values.end());
  if (low != map.values.end() && *low == *high)
    gp.line("set cbrange [", number(*low), ":", number(*low + std::max(1.0, std::abs(*low))), "]");
  gp.line("set view map");
  gp.line("set pm3d at b interpolate 4,4");
  gp.line("set contour base");
  gp.line("set cntrparam levels auto 10");
  gp.line("set cntrlabel onecolor");
  gp.line("unset surface");
  gp.line("unset key");
  gp.line("splot '", data, "' using 1:2:3 with pm3d, \\");
  gp.line("      '", data, "' using 1:2:3 with lines lc rgb '#202020'");
}

// The deck's first pressure as the curves' scripts multiply the load factor by it.
std::string pressureText(const PictureSet& set) {
  char P[32];
  std::snprintf(P, sizeof P, "%.10g", set.pressure);
  return P;
}

// The axes of a load-deflection picture: the deflection `wLabel` along x from 0, the
// pressure on the slab (load factor times the deck's first pressure) up the left and the
// load factor up the right, both from 0 to a little above the load factor `top`, so that
// they agree.
void pressureAxes(Writer& gp, const PictureSet& set, const std::string& wLabel, double top) {
  gp.line("set xlabel ", quoted(wLabel + " [" + set.units.length + "]"));
  gp.line("set ylabel ",
          quoted("pressure, load factor x " + pressureText(set) + " [" + set.units.pressure + "]"));
  gp.line("set y2label 'load factor'");
  gp.line("set ytics nomirror");
  gp.line("set y2tics");
  gp.line("set grid");
  gp.line("set key left top box opaque");
  top *= 1.05;
  gp.line("set y2range [0:", number(top), "]");
  if (set.pressure > 0.0)
    gp.line("set yrange [0:", number(top * set.pressure), "]");
  else
    gp.line("set yrange [*:*]");
  gp.line("set xrange [*<0:0<*]");  // from w = 0, whichever way the slab deflects
}

void scriptOfCurve(Writer& gp, const PictureSet& set, const std::string& data,
                   const std::string& picture) {
  startPicture(gp, set, picture, set.curveTitle);
  double top = 1.0;
  for (const CurvePoint& p : set.curve) top = std::max(top, p.loadFactor);
  if (set.collapse) top = std::max(top, set.collapse->loadFactor);
  pressureAxes(gp, set, "deflection of largest magnitude of the running total, w", top);
  const std::string P = pressureText(set);
  std::vector<int> passes;
  for (const CurvePoint& p : set.curve)
    if (passes.empty() || passes.back() != p.pass) passes.push_back(p.pass);
  std::string plot = "plot ";
  if (set.curve.empty()) plot += "NaN notitle, \\\n     ";
  for (std::size_t k = 0; k < passes.size(); ++k) {
    const std::string block = "'" + data + "' index " + std::to_string(k);
    const std::string name = "pass " + std::to_string(passes[k]) + (k > 0 ? " (re-attempt)" : "");
    plot += block + " using 4:($3 * " + P + ") with linespoints lw 2 pt 6 ps 1.3 title " +
            quoted(name) + ", \\\n     ";
  }
  // The increments with new layer failures, over all passes.
  plot += "'" + data + "' using 4:(($7 + $8) > 0 ? $3 * " + P + " : 1/0) with points pt 7 ps 1.0 " +
          "lc rgb '#d00000' title 'increments with new yielding or cracking'";
  if (set.collapse)
    plot += ", \\\n     '" + std::string(kCollapsePoint) + "' using 4:($3 * " + P +
            ") with points pt 2 ps 3 lw 3 lc rgb '#000000' title " +
            quoted("collapse predicted (pass " + std::to_string(set.collapse->pass) +
                   ", increment " + std::to_string(set.collapse->increment) + ")");
  gp.line(plot);
}

// The steps of the load path, one line each, after its start at zero (step 0).
// The last column counts the layers that yielded or crushed since the step before.
void writePathData(Writer& out, const std::vector<PathPoint>& path) {
  out.line("# step, load factor, control deflection, bar layers yielded, concrete layers crushed,",
           " layers newly yielded or crushed");
  std::vector<PathPoint> points{PathPoint{}};
  points.insert(points.end(), path.begin(), path.end());
  for (std::size_t k = 0; k < points.size(); ++k) {
    const PathPoint& p = points[k];
    const int before = k > 0 ? points[k - 1].yielded + points[k - 1].crushed : 0;
    out.line(I(6, p.step), number(p.loadFactor), number(p.wControl), I(8, p.yielded),
             I(8, p.crushed), I(8, p.yielded + p.crushed - before));
  }
}

// The load path: pressure against the control deflection, the load factor on the right, the
// steps at which more bars yielded or concrete crushed marked, the peak, and the yield-line
// pressure as a horizontal line where the layout has one.
void scriptOfPath(Writer& gp, const PictureSet& set, const std::string& data,
                  const std::string& picture) {
  startPicture(gp, set, picture, set.pathTitle);
  double top = 0.0;
  for (const PathPoint& p : set.path) top = std::max(top, p.loadFactor);
  if (set.yieldLinePressure && set.pressure > 0.0)
    top = std::max(top, *set.yieldLinePressure / set.pressure);
  pressureAxes(gp, set, "deflection of the control point, w", top > 0.0 ? top : 1.0);
  gp.line("set key right bottom box opaque");  // below the plateau of a path past its peak
  const std::string P = pressureText(set);
  const PathPoint& peak = set.path.at(set.pathPeak);
  std::string plot =
      "plot '" + data + "' using 3:($2 * " + P +
      ") with lines lw 2 lc rgb '#1f4e9a' title 'converged steps', \\\n     '" + data +
      "' using 3:($6 > 0 ? $2 * " + P + " : 1/0) with points pt 7 ps 1.0 lc rgb '#d00000' " +
      "title 'steps at which more bars yielded or concrete crushed', \\\n     '" + data +
      "' every ::" + std::to_string(set.pathPeak + 1) + "::" + std::to_string(set.pathPeak + 1) +
      " using 3:($2 * " + P + ") with points pt 2 ps 3 lw 3 lc rgb '#000000' title " +
      quoted("peak, step " + std::to_string(peak.step));
  if (set.yieldLinePressure) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", *set.yieldLinePressure);
    plot += ", \\\n     " + std::string(text) + " with lines dt 2 lw 2 lc rgb '#008000' title " +
            quoted("yield-line pressure " + std::string(text) + " [" + set.units.pressure + "]");
  }
  gp.line(plot);
}

bool writeText(const std::filesystem::path& file, const auto& write, std::string& problem) {
  std::ofstream stream(file, std::ios::out | std::ios::trunc);
  if (stream) {
    Writer out(stream);
    write(out);
  }
  stream.flush();
  if (stream) return true;
  problem = "cannot write " + file.string();
  return false;
}

}  // namespace

std::vector<std::string> pictureNames() {
  std::vector<std::string> names = {
      "w_linear",     "w_elastic",         "w_cracking",        "w_combined",
      "w_yielding",   "w_failed_combined", "failure_cracking",  "failure_end",
      kCurvePicture,  "w_path_peak",       "moments_m1",        "moments_m2",
      "cracks_lower", "cracks_upper",      "crack_width_lower", "crack_width_upper"};
  for (int b = 1; b <= kBarLayerPictures; ++b) names.push_back(barPictureName(b));
  return names;
}

std::string barPictureName(int b) {
  return "yield_bars_" + std::to_string(b);
}

bool writePictureFiles(const std::filesystem::path& folder, const std::string& pictureStem,
                       const PictureSet& set, std::vector<std::string>& drawn,
                       std::string& problem) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    problem = "cannot create the folder " + folder.string() + ": " + error.message();
    return false;
  }
  drawn.clear();
  const auto pictureOf = [&](const std::string& name) {
    return "../" + pictureStem + "_" + name + ".png";
  };
  for (const PictureMap& map : set.maps) {
    if (!writeText(
            folder / (map.name + ".dat"), [&](Writer& out) { writeMapData(out, set.grid, map); },
            problem))
      return false;
    drawn.push_back(map.name);
  }
  if (!set.path.empty()) {
    if (!writeText(
            folder / (std::string(kCurvePicture) + ".dat"),
            [&](Writer& out) { writePathData(out, set.path); }, problem))
      return false;
    drawn.push_back(kCurvePicture);
  } else if (!set.curve.empty() || set.collapse) {
    if (!writeText(
            folder / (std::string(kCurvePicture) + ".dat"),
            [&](Writer& out) { writeCurveData(out, set.curve); }, problem))
      return false;
    if (set.collapse && !writeText(
                            folder / kCollapsePoint,
                            [&](Writer& out) { writeCurveData(out, {*set.collapse}); }, problem))
      return false;
    drawn.push_back(kCurvePicture);
  }
  return writeText(
      folder / kPictureScript,
      [&](Writer& gp) {
        gp.line("# The pictures of the job, drawn from the data files beside this script:");
        gp.line("#   cd ", folder.filename().string(), " && gnuplot ", kPictureScript);
        gp.line(kTerminal);
        for (const PictureMap& map : set.maps)
          scriptOfMap(gp, set, map, map.name + ".dat", pictureOf(map.name));
        if (!set.path.empty())
          scriptOfPath(gp, set, std::string(kCurvePicture) + ".dat", pictureOf(kCurvePicture));
        else if (!set.curve.empty() || set.collapse)
          scriptOfCurve(gp, set, std::string(kCurvePicture) + ".dat", pictureOf(kCurvePicture));
        gp.line("unset output");
      },
      problem);
}

}  // namespace korvant
