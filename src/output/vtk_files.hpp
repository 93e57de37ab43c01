// The VTK XML files of --vtk, which ParaView and VTK's own readers open: one StructuredGrid
// file (.vts) per solution, the grid's points at x, y, z = 0 with the values of every point as
// point data (base64-encoded binary, or text) and the solution's place in the load history as
// field data, and one
// Collection file (.pvd) that lists them as the time steps of an animation. Nothing here
// touches the report, the zone file or the datasets.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/grid.hpp"

namespace korvant {

// One point-data array: `components` names its components (none for a scalar), `values`
// holds them point by point in record order (J outer, I inner), the components of a point
// together.
struct VtkArray {
  std::string name;
  std::vector<std::string> components;
  std::vector<double> values;
  std::string units;  // written as the array's attribute "units" unless empty

  int componentCount() const {
    return components.empty() ? 1 : static_cast<int>(components.size());
  }
};

// One number of the whole dataset: where the solution lies in the load history.
struct VtkNumber {
  std::string name;
  double value = 0.0;
};

struct VtkDataset {
  DifferenceGrid grid;
  std::vector<VtkArray> pointData;
  std::vector<VtkNumber> fieldData;
};

// One time step of a collection: its file, relative to the collection file's folder.
struct VtkStep {
  int timestep = 0;
  std::string file;
};

// The first value of `dataset` that is not a finite number, named with its array and point;
// none when every value is finite. No file is written with such a value in it.
std::optional<std::string> firstNonFinite(const VtkDataset& dataset);

// Writes `dataset` as the StructuredGrid file `file`: NUMA x NUMB x 1 points, x along the
// first index. False, with the reason in `problem`, when a value is not finite (nothing is
// written then) or the file cannot be written completely.
// How the values of the point data and the points are written: text, or the binary doubles
// (little-endian, after a 32-bit count of their bytes) encoded in base64, as VTK's XML readers
// take them inline (format "binary").
enum class VtkEncoding { Ascii, Base64 };

bool writeStructuredGrid(const std::filesystem::path& file, const VtkDataset& dataset,
                         std::string& problem, VtkEncoding encoding = VtkEncoding::Base64);

// Writes the Collection file `file` listing `steps` in their order. False, with the reason in
// `problem`, when it cannot be written completely.
bool writeCollection(const std::filesystem::path& file, const std::vector<VtkStep>& steps,
                     std::string& problem);

}  // namespace korvant
