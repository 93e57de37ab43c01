// The graphical datasets of a run: the lateral displacement, the upper-surface SXX and the
// failure measure over the grid, written at the fixed points of the analysis when the deck
// asks for graphics (*GRAPHIC). GRPDRV picks the datasets of a call from GRAPHREQ (positions
// 1 D, 2 S and 6 F) and the call's mode; GRAPHICS writes one of them, either as a plot file
// in the point format of the Tecplot data layout (GRAPHFMT 1: a four-line header, one line per
// point) or as comma-separated rows for a spreadsheet behind a block of charting instructions
// (GRAPHFMT 2). Every dataset is listed in content.dat, which grows through the run; each
// dataset file is rewound first, so it holds the last dataset written to it.
#pragma once

#include <array>
#include <fstream>
#include <ostream>
#include <string>

#include "core/grid.hpp"
#include "core/matrix.hpp"
#include "core/model_deck.hpp"
#include "core/record_store.hpp"
#include "core/writer.hpp"

namespace korvant {

// A dataset file opened by name that can be rewound: what is written after a rewind replaces
// everything the file held.
class DatasetFile {
 public:
  // Creates the file, or empties an existing one; false when it cannot be opened.
  bool open(const std::string& name);
  // Empties the file and writes it again from its start; false when it cannot be reopened.
  bool rewind();
  // Flushes and closes the file; false when what was written did not all reach it.
  bool close();
  std::ostream& stream() { return file_; }
  const std::string& name() const { return name_; }
  bool is_open() const { return file_.is_open(); }

 private:
  std::string name_;
  std::ofstream file_;
};

// The dataset files of the job, in the order of their extensions.
namespace dataset_file {
enum { DLN = 0, DCR, DCY, SXX, FLT, COUNT };
inline constexpr std::array<const char*, COUNT> kExtensions = {".dln", ".dcr", ".dcy", ".sxx",
                                                               ".flt"};
}  // namespace dataset_file

// The graphics files, open only when graphics were requested.
struct GraphicsFiles {
  std::ofstream params;       // gparams.dat: created, receives nothing
  std::ofstream datasetList;  // content.dat: one line per dataset, and a second for most
  std::array<DatasetFile, dataset_file::COUNT> datasets;
};

// The calls of the analysis.
namespace dataset_mode {
enum {
  LINEAR = 1,       // the linear solution
  ELASTIC = 2,      // the initial elastic solution of a nonlinear run
  CRACKED = 3,      // the converged cracking solution
  INCREMENTAL = 5,  // the running total of the converged incremental stage
};
}

// What a dataset shows.
namespace dataset_type {
enum { DISPLACEMENT = 1, UPPER_SXX = 2, FAILURE_RATIO = 6 };
}

// The values a dataset is drawn from: the solution (w, or u, v, w per point, by COUPLING) and
// the FibreResults (unit 70) and failure-measure (unit 71) records.
struct DatasetSources {
  const Matrix<double>& solution;
  const RecordStore& fibreResults;
  const RecordStore& failureRatio;
};

// One dataset to write: its 10-character name label, its 60-character title and its type.
struct Dataset {
  std::string name;
  std::string title;
  int type = dataset_type::DISPLACEMENT;
};

// GRAPHICS: writes `dataset` to `file` in the model's GRAPHFMT and lists it in content.dat.
// The report receives the "nrec-cmp" line of every point of a failure-ratio dataset in the
// spreadsheet format. A file that cannot be rewound or written is reported there and raises
// `fatal`.
void GRAPHICS(const ModelDeck& model, const DifferenceGrid& grid, const Dataset& dataset,
              const DatasetSources& sources, std::ostream& datasetList, DatasetFile& file,
              Writer& report, int& fatal);

// GRPDRV: the datasets of call `mode` (dataset_mode) that GRAPHREQ asks for, in their order.
void GRPDRV(int mode, const ModelDeck& model, const DifferenceGrid& grid,
            const DatasetSources& sources, GraphicsFiles& files, Writer& report, int& fatal);

}  // namespace korvant
