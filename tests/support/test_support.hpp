// Helpers shared by the tests: temporary job folders, running the real executable with a
// console script, and reading files back.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace korvant::test {

// A fresh empty folder under the system temporary folder, removed at destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

struct RunResult {
  int status = -1;      // exit status of the program
  std::string console;  // everything written to standard output
  std::string errors;   // everything written to standard error
};

// Runs the korvant executable in `dir` with `args`, feeding `input` to its console;
// `environment` (e.g. "PATH=/x") is set for it alone.
RunResult runKorvant(const std::filesystem::path& dir, const std::vector<std::string>& args,
                     const std::string& input, const std::string& environment = {});
// The same for any program.
RunResult runProgram(const std::filesystem::path& dir, const std::string& program,
                     const std::vector<std::string>& args, const std::string& input,
                     const std::string& environment = {});

std::string readFile(const std::filesystem::path& file);
// The names of the entries of folder `dir`.
std::set<std::string> filesIn(const std::filesystem::path& dir);
void writeFile(const std::filesystem::path& file, const std::string& text);
std::vector<std::string> splitLines(const std::string& text);

// The text of example deck `name` (examples/name).
std::string exampleDeck(const std::string& name);
// `deck` with its first line that reads exactly `line` replaced by `with` (lines ended by
// line feeds inside it); a deck without that line is a test error.
std::string withLine(const std::string& deck, const std::string& line, const std::string& with);

// n blanks, and `text` after n blanks: the indentation of a report line as its layout gives it.
std::string sp(int n);
std::string at(int n, const std::string& text);

}  // namespace korvant::test
