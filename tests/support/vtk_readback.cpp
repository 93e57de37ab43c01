#include "support/vtk_readback.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "support/test_support.hpp"

namespace korvant::test {
namespace {

const std::string kPython = "/usr/bin/python3";

void readLine(const std::string& what, std::istringstream& in, VtkReadDataset& d) {
  std::string name;
  if (what == "dataset") {
    in >> d.timestep >> d.file;
  } else if (what == "dimensions") {
    for (int n; in >> n;) d.dimensions.push_back(n);
  } else if (what == "field") {
    in >> name >> d.fields[name];
  } else if (what == "array") {
    in >> name;
    VtkArrayInfo& info = d.arrays[name];
    in >> info.components >> info.tuples;
    for (std::string c; in >> c;) info.names.push_back(c);
  } else if (what == "values") {
    in >> name;
    for (double v; in >> v;) d.values[name].push_back(v);
  }
}

}  // namespace

bool pythonReadsVtk() {
  TempDir dir;
  return runProgram(dir.path(), kPython, {"-c", "import vtk"}, "").status == 0;
}

VtkReadback readVtkCollection(const std::filesystem::path& collection,
                              const std::vector<std::string>& arrays) {
  std::vector<std::string> args = {
      std::filesystem::path(KORVANT_TEST_DATA) / "exporters" / "data" / "vtk_readback.py",
      collection.string()};
  args.insert(args.end(), arrays.begin(), arrays.end());
  const RunResult r = runProgram(collection.parent_path(), kPython, args, "");
  EXPECT_EQ(r.status, 0) << r.errors;
  VtkReadback back;
  for (const std::string& line : splitLines(r.console)) {
    std::istringstream in(line);
    std::string what;
    in >> what;
    if (what == "collection") in >> back.listed;
    if (what == "dataset") back.datasets.emplace_back();
    if (!back.datasets.empty()) readLine(what, in, back.datasets.back());
  }
  return back;
}

}  // namespace korvant::test
