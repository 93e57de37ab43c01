#include "job/dbfile.hpp"

#include <array>
#include <filesystem>
#include <istream>
#include <optional>

#include "core/grid.hpp"
#include "input/deck_reader.hpp"

namespace korvant {
namespace {

using fmt::I;
using fmt::X;

constexpr const char* kGraphicsParams = "gparams.dat";
constexpr const char* kDatasetList = "content.dat";

// One console line, without the carriage return of a DOS line end; nothing at all when the
// keyboard input has ended.
std::optional<std::string> readConsoleLine(std::istream& keyboard) {
  std::string text;
  if (!std::getline(keyboard, text)) return std::nullopt;
  if (!text.empty() && text.back() == '\r') text.pop_back();
  return text;
}

// A job text is read as its first 80 characters. A longer one would be cut without a word
// and could name another deck: it is refused, unless all it loses is blanks.
bool jobTextTooLong(const std::string& text) {
  return text.size() > kJobTextWidth &&
         text.find_first_not_of(' ', kJobTextWidth) != std::string::npos;
}

bool fileExists(const std::string& name) {
  std::error_code ec;
  return std::filesystem::exists(name, ec);
}

// Opens `name` for writing from its start (an existing file is written again).
bool openForWriting(std::ofstream& file, const std::string& name) {
  file.open(name, std::ios::out | std::ios::trunc);
  return file.is_open();
}

void writeCannotOpen(Writer& out, const std::string& name) {
  out.line("***ERROR: THE FILE ", name, " CANNOT BE OPENED FOR WRITING");
}

// The banner of a job stopped by the dialogue, console only.
void writeTerminationBanner(Writer& console) {
  const std::string row(40, '@');
  console.blank(2);
  console.line(X(10), row);
  console.line(X(10), "@@@", X(34), "@@@");
  console.line(X(10), "@@@   EXECUTION TERMINATING DUE TO   @@@");
  console.line(X(10), "@@@   PROBLEM WITH INPUT FILE NAME   @@@");
  console.line(X(10), "@@@", X(34), "@@@");
  console.line(X(10), row);
  console.blank();
}

// The job text from the command line or the console; the end of the keyboard input reads as
// an empty job text.
std::string askJobText(RunContext& run) {
  if (run.request.jobText) return *run.request.jobText;
  run.console.blank();
  run.console.line(X(5), "Please enter file name");
  run.console.flush();
  return readConsoleLine(run.keyboard).value_or(std::string());
}

// Asks whether the existing report may be overwritten; true when it may. The end of the
// keyboard input is no answer and no consent: the report is kept.
bool askOverwrite(RunContext& run) {
  if (run.request.overwrite) return true;
  run.console.blank(2);
  run.console.line("Output file already exists. Do you want to overwrite this file? (yes/no)");
  run.console.flush();
  const std::optional<std::string> answer = readConsoleLine(run.keyboard);
  if (!answer) {
    run.console.line("No answer was given: ", run.names.report,
                     " is kept (korvant --yes overwrites it)");
    return false;
  }
  return overwriteAccepted(*answer);
}

// Opens the report and the zone layout plot; raises `nerr` for each that cannot be opened.
void openJobFiles(RunContext& run, int& nerr) {
  if (!openForWriting(run.reportFile, run.names.report)) {
    writeCannotOpen(run.console, run.names.report);
    ++nerr;
  }
  if (!openForWriting(run.zoneFile, run.names.zonePlot)) {
    writeCannotOpen(run.console, run.names.zonePlot);
    ++nerr;
  }
}

void firstCall(RunContext& run, int& nerr) {
  const std::string typed = askJobText(run);
  if (jobTextTooLong(typed)) {
    run.console.blank(2);
    run.console.line("Problem here: Inputted file name is longer than ", I(2, kJobTextWidth),
                     " characters");
    nerr = 1;
    writeTerminationBanner(run.console);
    return;
  }
  run.jobText = typed.substr(0, kJobTextWidth);
  run.names = deriveNames(run.jobText);

  // An empty base name names no file at all: it is a missing deck, and there is no
  // report of that name to ask about.
  const bool named = !run.names.base.empty();
  if (!named || !fileExists(run.names.deck)) {
    run.console.blank(2);
    run.console.line("Problem here: Inputted file name does not exist in directory");
    nerr = 1;
  } else {
    DeckReader::requireRegularFile(run.names.deck);
  }
  if (named && fileExists(run.names.report) && !askOverwrite(run)) ++nerr;
  if (nerr > 0) {
    writeTerminationBanner(run.console);
    return;
  }

  openJobFiles(run, nerr);
  if (nerr > 0) return;
  run.files.currentLayers.clear();
  run.files.initialLayers.clear();
  run.files.layerResults.clear();
  run.files.damageLaws.clear();
  run.files.layerState.clear();
}

// Opens the graphics files in unit order; raises `nerr` for each that cannot be opened.
void openGraphicsFiles(RunContext& run, int& nerr) {
  Writer both = run.report.mirroredTo(run.consoleStream, true);
  auto open = [&](std::ofstream& file, const std::string& name) {
    if (openForWriting(file, name)) return;
    writeCannotOpen(both, name);
    ++nerr;
  };
  open(run.graphics.params, kGraphicsParams);
  open(run.graphics.datasetList, kDatasetList);
  const std::string base = baseName(run.jobText);
  for (std::size_t k = 0; k < run.graphics.datasets.size(); ++k) {
    const std::string name = base + dataset_file::kExtensions[k];
    if (run.graphics.datasets[k].open(name)) continue;
    writeCannotOpen(both, name);
    ++nerr;
  }
}

void secondCall(RunContext& run, int& nerr) {
  run.files.fibreResults.clear();
  run.files.failureRatio.clear();
  if (run.model.GRAPHICS) openGraphicsFiles(run, nerr);
}

}  // namespace

std::string baseName(std::string_view jobText) {
  std::string base;
  for (char c : jobText) {
    if (c == '.') break;
    if (c != ' ') base += c;
  }
  return base;
}

JobNames deriveNames(std::string_view jobText) {
  JobNames names;
  names.base = baseName(jobText);
  names.deck = names.base + ".inp";
  names.report = names.base + ".out";
  names.zonePlot = names.base + ".zon";
  return names;
}

bool overwriteAccepted(std::string_view answer) {
  for (char c : answer.substr(0, kJobTextWidth)) {
    if (c == 'y' || c == 'Y') return true;
    if (c == 'n' || c == 'N') return false;
  }
  return true;
}

void DBFILE(RunContext& run, DbfileMode mode, int& nerr) {
  if (mode == DbfileMode::JOB_START)
    firstCall(run, nerr);
  else if (mode == DbfileMode::AFTER_INPUT)
    secondCall(run, nerr);
}

void DBINIT(int NUMA, int NUMB, RecordStore& fibreResults, RecordStore& failureRatio) {
  const std::array<double, 12> fibreZeros{};
  const std::array<double, 1> ratioZero{};
  for (int I = 1; I <= NUMB; ++I) {
    for (int J = 1; J <= NUMA; ++J) {
      const int n = pointRecord(I, J, NUMB);
      fibreResults.write(n, fibreZeros);
      failureRatio.write(n, ratioZero);
    }
  }
}

void PRNTT(Writer& report, std::ostream& console, bool STATUS) {
  Writer out = report.mirroredTo(console, STATUS);
  const std::string row(44, '#');
  out.blank(4);
  out.line(X(15), row);
  out.line(X(15), "###", X(38), "###");
  out.line(X(15), "###  A N A L Y S I S  C O M P L E T E D  ###");
  out.line(X(15), "###", X(38), "###");
  out.line(X(15), row);
  out.blank(3);
  out.flush();
}

std::vector<std::string> closeJobFiles(RunContext& run) {
  std::vector<std::string> unwritten = run.unwrittenFiles;
  auto close = [&](std::ofstream& file, const std::string& name) {
    if (!file.is_open()) return;
    file.flush();
    bool written = !file.fail();
    file.close();
    written = written && !file.fail();
    if (!written) unwritten.push_back(name);
  };
  close(run.reportFile, run.names.report);
  close(run.zoneFile, run.names.zonePlot);
  close(run.graphics.params, kGraphicsParams);
  close(run.graphics.datasetList, kDatasetList);
  for (DatasetFile& dataset : run.graphics.datasets)
    if (dataset.is_open() && !dataset.close()) unwritten.push_back(dataset.name());
  return unwritten;
}

void writeClosingLines(RunContext& run) {
  if (run.fatal > 0) {
    Writer out = run.statusReport();
    out.blank(3);
    out.line(X(10), "@@@ PROGRAM TERMINATING DUE TO FATAL RUN-TIME ERRORS @@@");
    out.blank(2);
  }
  PRNTT(run.report, run.consoleStream, run.model.STATUS);
}

}  // namespace korvant
