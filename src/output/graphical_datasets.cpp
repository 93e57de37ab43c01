#include "output/graphical_datasets.hpp"

#include <vector>

#include "core/text.hpp"
#include "output/maxima.hpp"
#include "section/layer_results.hpp"
#include "section/layer_table.hpp"

namespace korvant {
namespace {

using namespace fmt;

constexpr std::size_t kNameWidth = 10;
constexpr std::size_t kTitleWidth = 60;

// The datasets of each call, in the order they are written, with the request position that
// asks for each and the file it goes to. The name labels are literal: "fname" stays.
struct DatasetEntry {
  int mode;
  int position;
  Dataset dataset;
  int file;
};

const std::vector<DatasetEntry>& datasetTable() {
  using namespace dataset_mode;
  using namespace dataset_type;
  static const std::vector<DatasetEntry> table{
      {LINEAR,
       request::DISPLACEMENTS,
       {"fname.dln", "TOTAL LINEAR DISPLACEMENT SOLUTION", DISPLACEMENT},
       dataset_file::DLN},
      {LINEAR,
       request::UPPER_STRESSES,
       {"fname.sxx", "UPPER FIBER STRESSES", UPPER_SXX},
       dataset_file::SXX},
      {ELASTIC,
       request::DISPLACEMENTS,
       {"fname.dln", "INITIAL ELASTIC DISPLACEMENT SOLUTION", DISPLACEMENT},
       dataset_file::DLN},
      {CRACKED,
       request::DISPLACEMENTS,
       {"fname.dcr", "CONCRETE CRACKING DISPLACEMENT SOLUTION", DISPLACEMENT},
       dataset_file::DCR},
      {CRACKED,
       request::UPPER_STRESSES,
       {"fname.sxx", "UPPER FIBER STRESSES", UPPER_SXX},
       dataset_file::SXX},
      {INCREMENTAL,
       request::DISPLACEMENTS,
       {"fname.fcy", "COMPLETE NONLINEAR DISPLACEMENT SOLUTION", DISPLACEMENT},
       dataset_file::DCY},
      {INCREMENTAL,
       request::FAILURE,
       {"fname.fcr", "LAYER FAILURE RATIOS OVER SLAB", FAILURE_RATIO},
       dataset_file::FLT},
  };
  return table;
}

const std::vector<std::string>& spreadsheetInstructions() {
  static const std::vector<std::string> lines{
      "1) FIRST, USING MICROSOFT WORD, MOVE CURSOR TO HIGHLIGHT THE BLOCK",
      "   OF NUMBERS BELOW",
      "2) GO TO UP TO THE MENU ITEM LABLED \"TABLE\" AND SELECT",
      "   \"CONVERT TEXT TO TABLE\".",
      "3) IN THE MENU BOX THAT OPENS UP, SELECT \"COMMAS\" AND THEN CLICK \"OK\"",
      "4) NOW, YOU SHOULD HAVE THE ENTIRE SELECTED BLOCK CONVERTED TO A COLUMN ",
      "   FORMAT AND HIGHLIGHTED. GO UP TO \"EDIT\" AND SELECT \"COPY\"",
      "5) OPEN UP MICROSOFT EXCEL AND SELECT \"PASTE SPECIAL\". CHOOSE \"TEXT\" ",
      "   TO PASTE INTO THE SHEET.",
      "6) FINALLY, THE PASTED BLOCK SHOULD BE HIGHLIGHTED SO NOW GO TO THE \"INSERT\"",
      "   MENU ITEM AND SELECT \"CHART\" AND GO DOWN TO SELECT \"SURFACE\"",
      "   NOW, SELECT THE UPPER LEFT TYPE OF AREA PLOT AND KEEP SELECTING \"NEXT\" ",
      "   TO GET THE GRAPHIC. YOU CAN NOW GO IN AND CLEAN UP THE PICTURE USING ",
      "   VARIOUS EXCEL COMMANDS.",
  };
  return lines;
}

void writeInstructions(Writer& out) {
  out.line(X(20), "INSTRUCTIONS FOR PLOTTING IN EXCEL:");
  out.blank();
  for (const std::string& text : spreadsheetInstructions()) out.line(text);
  out.blank();
}

void writePlotHeader(Writer& out, const Dataset& dataset, int countI, int countJ) {
  out.line("#!MC 750");
  out.line("TITLE = \"", A(60, padded(dataset.title, kTitleWidth)), "\"");
  out.line("VARIABLES = \"x       \",\"y       \",\" w   \"");
  out.line("ZONE I=  ", I(5, countI), "J=  ", I(5, countJ), ", F=POINT ");
}

// The value the dataset shows at point (I, J): the lateral displacement with its sign
// reversed (w is entry n, or entry 3n of a coupled solution), the upper-face SXX or the
// failure measure.
double valueAt(const Dataset& dataset, const DatasetSources& sources, const ModelDeck& model,
               const DifferenceGrid& grid, int I, int J) {
  const int n = pointRecord(I, J, model.NUMB);
  switch (dataset.type) {
    case dataset_type::DISPLACEMENT: {
      const double w = sources.solution(wEntry(I, J, grid, model.COUPLING));
      return w == 0.0 ? 0.0 : -w;  // a point held at w = 0 shows 0, not a negative zero
    }
    case dataset_type::UPPER_SXX:
      return readFibreResults(sources.fibreResults, n)(fibre_field::UPPER_SXX);
    default:
      return sources.failureRatio.read(n)[0];
  }
}

void writeContentLine(Writer& list, const Dataset& dataset) {
  list.line(A(10, padded(dataset.name, kNameWidth)), X(5),
            A(60, padded(dataset.title, kTitleWidth)));
}

// Visits the points of a dataset row by row: a displacement by columns of the grid (J outer,
// I inner: y runs fastest), the other types by rows (I outer, J inner: x runs fastest).
// visit(I, J) for every point, endRow() after each row.
template <typename Visit, typename EndRow>
void forEachRow(const Dataset& dataset, const DifferenceGrid& grid, Visit visit, EndRow endRow) {
  const bool byColumns = dataset.type == dataset_type::DISPLACEMENT;
  const int rows = byColumns ? grid.NUMA : grid.NUMB;
  const int columns = byColumns ? grid.NUMB : grid.NUMA;
  for (int r = 1; r <= rows; ++r) {
    for (int c = 1; c <= columns; ++c) byColumns ? visit(c, r) : visit(r, c);
    endRow();
  }
}

// Plot-file format: the header (zone I is the count that runs fastest), one line per point.
void writePlotFile(const ModelDeck& model, const DifferenceGrid& grid, const Dataset& dataset,
                   const DatasetSources& sources, Writer& list, Writer& out) {
  const bool displacement = dataset.type == dataset_type::DISPLACEMENT;
  if (dataset.type == dataset_type::UPPER_SXX) writeContentLine(list, dataset);
  if (displacement)
    writePlotHeader(out, dataset, grid.NUMB, grid.NUMA);
  else
    writePlotHeader(out, dataset, grid.NUMA, grid.NUMB);
  if (displacement) writeContentLine(list, dataset);
  forEachRow(
      dataset, grid,
      [&](int I, int J) {
        out.line(X(2), E(11, 5, grid.x(J)), X(2), E(11, 5, grid.y(I)), X(2),
                 E(11, 5, valueAt(dataset, sources, model, grid, I, J)), X(2));
      },
      [] {});
}

// Spreadsheet format: one comma-separated row per grid column (displacements) or grid row
// (the other types), behind the charting instructions. The rows never reach the 10001 values
// a row may hold: the capacity of the system keeps the grid far smaller.
void writeSpreadsheet(const ModelDeck& model, const DifferenceGrid& grid, const Dataset& dataset,
                      const DatasetSources& sources, Writer& list, Writer& out, Writer& report) {
  if (dataset.type == dataset_type::DISPLACEMENT) {
    writeInstructions(out);
    writeContentLine(list, dataset);
  } else {
    writeContentLine(list, dataset);
    writeInstructions(out);
  }
  LineBuilder row;
  bool first = true;
  forEachRow(
      dataset, grid,
      [&](int I, int J) {
        const double value = valueAt(dataset, sources, model, grid, I, J);
        if (dataset.type == dataset_type::FAILURE_RATIO)
          report.line("nrec-cmp ", fmt::I(5, pointRecord(I, J, grid.NUMB)), X(2), E(9, 3, value));
        if (first)
          row.add(X(2));
        else
          row.add(",");
        row.add(E(9, 3, value));
        row.add(X(2));
        first = false;
      },
      [&] {
        out.line(row.str());
        row = LineBuilder();
        first = true;
      });
}

}  // namespace

bool DatasetFile::open(const std::string& name) {
  name_ = name;
  file_.open(name_, std::ios::out | std::ios::trunc);
  return file_.is_open();
}

bool DatasetFile::rewind() {
  file_.close();
  file_.clear();
  file_.open(name_, std::ios::out | std::ios::trunc);
  return file_.is_open();
}

bool DatasetFile::close() {
  file_.flush();
  const bool written = !file_.fail();
  file_.close();
  return written && !file_.fail();
}

void GRAPHICS(const ModelDeck& model, const DifferenceGrid& grid, const Dataset& dataset,
              const DatasetSources& sources, std::ostream& datasetList, DatasetFile& file,
              Writer& report, int& fatal) {
  const bool rewound = file.rewind();
  Writer list(datasetList);
  writeContentLine(list, dataset);
  if (rewound) {
    Writer out(file.stream());
    if (model.GRAPHFMT == GraphicFormat::PLOT_FILES)
      writePlotFile(model, grid, dataset, sources, list, out);
    else
      writeSpreadsheet(model, grid, dataset, sources, list, out, report);
    out.flush();
  }
  list.flush();
  if (!rewound || !file.stream() || !datasetList) {
    report.line("***ERROR: THE DATASET FILE ", file.name(), " CANNOT BE WRITTEN");
    ++fatal;
  }
}

void GRPDRV(int mode, const ModelDeck& model, const DifferenceGrid& grid,
            const DatasetSources& sources, GraphicsFiles& files, Writer& report, int& fatal) {
  for (const DatasetEntry& entry : datasetTable()) {
    if (entry.mode != mode || !requested(model.GRAPHREQ, entry.position)) continue;
    GRAPHICS(model, grid, entry.dataset, sources, files.datasetList,
             files.datasets[static_cast<std::size_t>(entry.file)], report, fatal);
  }
}

}  // namespace korvant
