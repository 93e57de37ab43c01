#include "job/dbfile.hpp"

#include <array>
#include <filesystem>
#include <istream>

namespace korvant {
namespace {

using fmt::X;

// One console line of at most 80 characters; the end of the keyboard input reads as an
// empty line, and the carriage return of a DOS line end is not part of the text.
std::string readConsoleLine(std::istream& keyboard) {
  std::string text;
  if (!std::getline(keyboard, text)) return {};
  if (!text.empty() && text.back() == '\r') text.pop_back();
  if (text.size() > kJobTextWidth) text.resize(kJobTextWidth);
  return text;
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

std::string askJobText(RunContext& run) {
  if (run.request.jobText) {
    std::string text = *run.request.jobText;
    if (text.size() > kJobTextWidth) text.resize(kJobTextWidth);
    return text;
  }
  run.console.blank();
  run.console.line(X(5), "Please enter file name");
  run.console.flush();
  return readConsoleLine(run.keyboard);
}

// Asks whether the existing report may be overwritten; true when it may.
bool askOverwrite(RunContext& run) {
  if (run.request.overwrite) return true;
  run.console.blank(2);
  run.console.line("Output file already exists. Do you want to overwrite this file? (yes/no)");
  run.console.flush();
  return overwriteAccepted(readConsoleLine(run.keyboard));
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
  run.jobText = askJobText(run);
  run.names = deriveNames(run.jobText);

  // An empty base name names no file at all: it is a missing deck, and there is no
  // report of that name to ask about.
  const bool named = !run.names.base.empty();
  if (!named || !fileExists(run.names.deck)) {
    run.console.blank(2);
    run.console.line("Problem here: Inputted file name does not exist in directory");
    nerr = 1;
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
  open(run.graphics.params, "gparams.dat");
  open(run.graphics.datasetList, "content.dat");
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

void DBFILE(RunContext& run, int mode, int& nerr) {
  if (mode == 1)
    firstCall(run, nerr);
  else if (mode == 0)
    secondCall(run, nerr);
}

void DBINIT(int NUMA, int NUMB, RecordStore& fibreResults, RecordStore& failureRatio) {
  const std::array<double, 12> fibreZeros{};
  const std::array<double, 1> ratioZero{};
  for (int I = 1; I <= NUMB; ++I) {
    for (int J = 1; J <= NUMA; ++J) {
      const int n = (J - 1) * NUMB + I;
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
