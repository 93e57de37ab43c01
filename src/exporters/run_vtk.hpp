// The VTK files of a run (--vtk), for ParaView: JOB.pvd beside the report lists, in the order
// of the load history, one StructuredGrid file in the folder JOB.vtk for every printed
// solution, for the running total of every increment of the incremental stage and for every
// converged step of the load path in equilibrium, so that ParaView plays the cracking and
// yielding as an animation. The series is one of the run's watchers: it writes each file as
// the analysis reaches it (the working files hold the values of one step only) and never
// changes the report, the zone file, the datasets or the course of the run. The collapse
// search after the job has no watchers: only the job's own run is written.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "job/run_context.hpp"
#include "job/run_watcher.hpp"
#include "output/vtk_files.hpp"

namespace korvant {

class VtkSeries final : public RunWatcher {
 public:
  explicit VtkSeries(const RunContext& run) : run_(run) {}

  void beginStage(SolutionStage STAGE) override { STAGE_ = STAGE; }
  void reached(const StagePosition& position) override;
  void recovered(const Matrix<double>& solution) override { recovered_ = &solution; }
  void degraded(const FailureCounts& counts) override;
  void printed(const PrintedTables& tables) override;
  // Every converged step of the load path in equilibrium.
  void pathStep(const PathStepSeen& seen) override;

  // At the end of the job, which ended with `jobStatus`: the increment whose deflection
  // predicted a collapse, then the collection file. A job that did not start leaves the files
  // of an earlier run alone; one that started replaces them. False when a file could not be
  // written, each problem said on `errors`.
  bool finish(int jobStatus, std::ostream& errors);

 private:
  // Where a dataset lies in the load history.
  struct Place {
    SolutionStage STAGE = SolutionStage::INITIAL_ELASTIC;
    int pass = 0, increment = 0;  // 0 for a printed solution
    double loadFactor = 1.0;
    bool printed = false;
    bool collapse = false;
  };

  // `recovered`: the layer results on the working files are those of `solution`.
  void write(const Place& place, const std::string& label, const Matrix<double>& solution,
             const RecordStore* fibreResults, const RecordStore* failureRatio, bool recovered);
  // Writes `dataset` as the next file of the series, `label` in its name.
  void writeNext(const std::string& label, VtkDataset& dataset);
  bool prepareFolder();
  bool incremental() const;
  const RecordStore* failureMeasures() const;

  const RunContext& run_;
  SolutionStage STAGE_ = SolutionStage::INITIAL_ELASTIC;
  StagePosition position_;
  const Matrix<double>* recovered_ = nullptr;  // the solution of the step, once recovered
  bool unrecovered_ = false;  // an increment was solved but its total never recovered
  bool prepared_ = false;     // the folder is made and the files of an earlier run removed
  std::vector<VtkStep> steps_;
  std::vector<std::string> problems_;
};

}  // namespace korvant
