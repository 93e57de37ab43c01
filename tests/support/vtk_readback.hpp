// The VTK files of a job read back with VTK's own reader: tests/exporters/data/vtk_readback.py
// on /usr/bin/python3, which the tests skip when it cannot import vtk.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace korvant::test {

struct VtkArrayInfo {
  int components = 0;
  int tuples = 0;
  std::vector<std::string> names;
};

// One file of the collection: its timestep and file, its dimensions, field data, arrays, the
// x, y, z of its points ("x", "y", "z") and the values of the arrays asked for.
struct VtkReadDataset {
  int timestep = -1;
  std::string file;
  std::vector<int> dimensions;
  std::map<std::string, double> fields;
  std::map<std::string, VtkArrayInfo> arrays;
  std::map<std::string, std::vector<double>> values;
};

struct VtkReadback {
  int listed = -1;  // the collection's dataset count
  std::vector<VtkReadDataset> datasets;
};

// True when the Python of the tests imports vtk.
bool pythonReadsVtk();

// Every file of the collection `collection` in its order, with the values of `arrays`.
VtkReadback readVtkCollection(const std::filesystem::path& collection,
                              const std::vector<std::string>& arrays);

}  // namespace korvant::test
