#include "exporters/run_vtk.hpp"

#include <cctype>
#include <cstdio>
#include <system_error>

#include "core/codes.hpp"
#include "core/writer.hpp"
#include "exporters/run_summary.hpp"
#include "job/exit_status.hpp"
#include "output/solution_results.hpp"
#include "output/vtk_fields.hpp"
#include "section/layer_results.hpp"

namespace korvant {
namespace {

namespace fs = std::filesystem;

fs::path collectionOf(const RunContext& run) {
  return run.names.base + ".pvd";
}
fs::path folderOf(const RunContext& run) {
  return run.names.base + ".vtk";
}

// A file of the series: its step number, three digits or more, then what the step is.
bool seriesFile(const fs::directory_entry& entry) {
  const std::string name = entry.path().filename().string();
  std::error_code ec;
  if (!entry.is_regular_file(ec) || !name.ends_with(".vts")) return false;
  std::size_t digits = 0;
  while (digits < name.size() && std::isdigit(static_cast<unsigned char>(name[digits]))) ++digits;
  return digits >= 3 && digits < name.size() && name[digits] == '_';
}

std::string incrementLabel(int pass, int increment, double loadFactor) {
  char text[64];
  std::snprintf(text, sizeof text, "pass%d_inc%02d_lf%.4f", pass, increment, loadFactor);
  return text;
}

}  // namespace

bool VtkSeries::incremental() const {
  return STAGE_ == SolutionStage::COMBINED || STAGE_ == SolutionStage::YIELDING;
}

// The failure measure is kept only when the deck asks for it, and only a nonlinear analysis
// degrades layers; at the elastic solution it is zero everywhere, as the run began.
const RecordStore* VtkSeries::failureMeasures() const {
  const ModelDeck& m = run_.model;
  if (m.SOLPROC != SolutionProcedure::NONLINEAR || !failureMeasuresKept(m.PRINTREQ, m.GRAPHREQ))
    return nullptr;
  return &run_.files.failureRatio;
}

void VtkSeries::reached(const StagePosition& position) {
  position_ = position;
  recovered_ = nullptr;
  unrecovered_ = incremental();
}

// Every increment of the incremental stage once its running total is recovered and its
// layers degraded: the values its iteration report counts.
void VtkSeries::degraded(const FailureCounts&) {
  if (!incremental() || !recovered_) return;
  unrecovered_ = false;
  const ModelDeck& m = run_.model;
  const RecordStore* fibres =
      fibreResultsRecovered(m.PRINTREQ, m.GRAPHREQ) ? &run_.files.fibreResults : nullptr;
  write({STAGE_, position_.iteration, position_.increment, position_.loadFactor, false, false},
        incrementLabel(position_.iteration, position_.increment, position_.loadFactor), *recovered_,
        fibres, failureMeasures(), true);
}

void VtkSeries::printed(const PrintedTables& t) {
  // The tables of the incremental stage are those of its last increment's load factor.
  const bool afterIncrements =
      t.STAGE != SolutionStage::INITIAL_ELASTIC && t.STAGE != SolutionStage::CRACKING;
  const double loadFactor = afterIncrements ? position_.loadFactor : 1.0;
  write({t.STAGE, 0, 0, loadFactor, true, false}, solutionLabel(t.STAGE, t.linear), t.solution,
        t.fibreResults, failureMeasures(), true);
}

// The folder of the series, emptied of the files of an earlier run, and no collection of one;
// the folder is made unless the analysis did not run.
bool VtkSeries::prepareFolder() {
  prepared_ = true;
  std::error_code ec;
  // A collection that is a link (or a device) is written through, as the job's other files.
  if (fs::symlink_status(collectionOf(run_), ec).type() == fs::file_type::regular)
    fs::remove(collectionOf(run_), ec);
  const fs::path folder = folderOf(run_);
  std::vector<fs::path> earlier;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (seriesFile(*it)) earlier.push_back(it->path());
  for (const fs::path& file : earlier) fs::remove(file, ec);
  if (!run_.outcome.analysed) return true;
  ec.clear();
  fs::create_directories(folder, ec);
  std::error_code ignored;
  if (!fs::is_directory(folder, ignored)) {
    problems_.push_back("THE FOLDER " + folder.string() + " COULD NOT BE MADE" +
                        (ec ? " (" + ec.message() + ")" : std::string()));
    return false;
  }
  return true;
}

void VtkSeries::write(const Place& place, const std::string& label, const Matrix<double>& solution,
                      const RecordStore* fibreResults, const RecordStore* failureRatio,
                      bool recovered) {
  if (!problems_.empty() || (!prepared_ && !prepareFolder())) return;
  const UnitLabels units = unitLabels(run_.request.units);
  VtkDataset dataset = solutionDataset(
      run_.model, {solution, fibreResults, failureRatio, run_.files.currentLayers,
                   run_.files.layerState, recovered ? &run_.files.layerResults : nullptr, units});
  dataset.fieldData = {{"STAGE", static_cast<double>(codeNumber(place.STAGE))},
                       {"pass", static_cast<double>(place.pass)},
                       {"increment", static_cast<double>(place.increment)},
                       {"load_factor", place.loadFactor},
                       {"printed", place.printed ? 1.0 : 0.0},
                       {"collapse", place.collapse ? 1.0 : 0.0}};
  writeNext(label + (place.collapse ? "_collapse" : ""), dataset);
}

void VtkSeries::pathStep(const PathStepSeen& seen) {
  if (!problems_.empty() || (!prepared_ && !prepareFolder())) return;
  const equilibrium::PathStep& s = seen.state.step;
  const UnitLabels units = unitLabels(run_.request.units);
  VtkDataset dataset =
      pathDataset(run_.model, seen.state, seen.sections,
                  pathResults(run_.model, seen.sections, seen.state, seen.ts), units);
  dataset.fieldData = {{"path_step", static_cast<double>(s.step)},
                       {"load_factor", s.loadFactor},
                       {"pressure", s.loadFactor * firstPressure(run_.model)},
                       {"w_control", s.wControl}};
  char label[48];
  std::snprintf(label, sizeof label, "path_step%04d_lf%.4f", s.step, s.loadFactor);
  writeNext(label, dataset);
}

// The series number first among the field data, the file named by it and `label`.
void VtkSeries::writeNext(const std::string& label, VtkDataset& dataset) {
  const int step = static_cast<int>(steps_.size());
  char number[16];
  std::snprintf(number, sizeof number, "%03d_", step);
  const std::string name = number + label + ".vts";
  dataset.fieldData.insert(dataset.fieldData.begin(), {"step", static_cast<double>(step)});
  std::string problem;
  const VtkEncoding encoding = run_.request.vtkAscii ? VtkEncoding::Ascii : VtkEncoding::Base64;
  if (!writeStructuredGrid(folderOf(run_) / name, dataset, problem, encoding)) {
    problems_.push_back(problem);
    return;
  }
  steps_.push_back({step, (folderOf(run_).filename() / name).generic_string()});
}

bool VtkSeries::finish(int jobStatus, std::ostream& errors) {
  if (run_.names.base.empty() || jobStatus == exit_status::kDialogue) return true;
  if (!prepared_) prepareFolder();
  // The collapsing increment was added to the running total before its deflection stopped
  // the stage; its stresses were never recovered, so its file holds the displacements and
  // the layer state its solution was assembled with.
  if (run_.outcome.end == RunEnd::Collapse && unrecovered_ && incremental())
    write({STAGE_, position_.iteration, position_.increment, position_.loadFactor, false, true},
          incrementLabel(position_.iteration, position_.increment, position_.loadFactor),
          run_.arrays.solutions.yieldingTotal, nullptr, failureMeasures(), false);
  Writer say(errors);
  for (const std::string& p : problems_) say.line("korvant: ***ERROR: ", p);
  if (!problems_.empty()) {
    say.line("korvant: --vtk: the files of the job are incomplete, so ",
             collectionOf(run_).string(), " was not written");
  } else if (std::string problem;
             run_.outcome.analysed && !writeCollection(collectionOf(run_), steps_, problem)) {
    say.line("korvant: ***ERROR: ", problem);
    problems_.push_back(problem);
  }
  say.flush();
  return problems_.empty();
}

}  // namespace korvant
