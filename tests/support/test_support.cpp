#include "support/test_support.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace korvant::test {
namespace fs = std::filesystem;

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  std::random_device rd;
  path_ =
      fs::temp_directory_path() / ("korvant_test_" + std::to_string(::getpid()) + "_" +
                                   std::to_string(counter++) + "_" + std::to_string(rd() % 100000));
  fs::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string readFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::set<std::string> filesIn(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
  return names;
}

void writeFile(const fs::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary);
  out << text;
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string l;
  while (std::getline(in, l)) lines.push_back(l);
  return lines;
}

std::string exampleDeck(const std::string& name) {
  return readFile(fs::path(KORVANT_SOURCE_DIR) / "examples" / name);
}

std::string withLine(const std::string& deck, const std::string& line, const std::string& with) {
  const std::string whole = "\n" + line + "\n";
  const std::size_t at = ("\n" + deck).find(whole);
  if (at == std::string::npos) throw std::invalid_argument("no deck line '" + line + "'");
  return deck.substr(0, at) + with + "\n" + deck.substr(at + line.size() + 1);
}

std::string sp(int n) {
  return std::string(static_cast<std::size_t>(n > 0 ? n : 0), ' ');
}

std::string at(int n, const std::string& text) {
  return sp(n) + text;
}

namespace {
std::string quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) {
    if (c == '\'')
      q += "'\\''";
    else
      q += c;
  }
  return q + "'";
}
}  // namespace

// With KORVANT_OUTPUT_ARCHIVE set, every job a test runs leaves a copy of its folder (the
// deck and every file the job wrote, its console, errors and exit status) in that folder, under
// a name made from what went in, so that two builds can be compared file by file
// (tools/compare_outputs.sh). The job folder's own path is masked in the texts.
namespace {
std::uint64_t fnv1a(const std::string& text, std::uint64_t h = 1469598103934665603ULL) {
  for (unsigned char c : text) h = (h ^ c) * 1099511628211ULL;
  return h;
}

std::string masked(std::string text, const std::string& dir) {
  for (std::size_t at = text.find(dir); at != std::string::npos; at = text.find(dir, at))
    text.replace(at, dir.size(), "<DIR>");
  return text;
}

std::string jobKey(const fs::path& dir, const std::vector<std::string>& args,
                   const std::string& input, const std::string& environment) {
  std::set<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(dir))
    names.insert(fs::relative(e.path(), dir).string());
  std::uint64_t h = fnv1a(input + "\n" + environment);
  for (const auto& a : args) h = fnv1a(a + "\n", h);
  for (const auto& name : names) {
    h = fnv1a(name + "\n", h);
    if (!name.ends_with(".inp")) continue;
    // A deck that is a named pipe is told apart from one that is a folder, but not read:
    // opening it would wait for a writer that never comes.
    const fs::file_status deck = fs::status(dir / name);
    if (fs::is_regular_file(deck))
      h = fnv1a(readFile(dir / name), h);
    else if (!fs::is_directory(deck))
      h = fnv1a("<not a file>\n", h);
  }
  char key[17];
  std::snprintf(key, sizeof key, "%016llx", static_cast<unsigned long long>(h));
  return key;
}

void archiveJob(const fs::path& dir, const std::string& key, const RunResult& r) {
  const fs::path into = fs::path(std::getenv("KORVANT_OUTPUT_ARCHIVE")) / key;
  std::error_code ec;
  fs::remove_all(into, ec);
  fs::create_directories(into);
  const std::string d = dir.string();
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    const fs::path rel = fs::relative(e.path(), dir);
    if (e.is_directory()) {
      fs::create_directories(into / rel);
    } else if (e.is_regular_file()) {
      writeFile(into / rel, masked(readFile(e.path()), d));
    }
  }
  writeFile(into / ".status", std::to_string(r.status) + "\n");
  writeFile(into / ".stdout", masked(r.console, d));
  writeFile(into / ".stderr", masked(r.errors, d));
}
}  // namespace

RunResult runKorvant(const fs::path& dir, const std::vector<std::string>& args,
                     const std::string& input, const std::string& environment) {
  if (std::getenv("KORVANT_OUTPUT_ARCHIVE") == nullptr)
    return runProgram(dir, KORVANT_EXE, args, input, environment);
  const std::string key = jobKey(dir, args, input, environment);
  RunResult r = runProgram(dir, KORVANT_EXE, args, input, environment);
  archiveJob(dir, key, r);
  return r;
}

RunResult runProgram(const fs::path& dir, const std::string& program,
                     const std::vector<std::string>& args, const std::string& input,
                     const std::string& environment) {
  const fs::path in = dir / ".console_in";
  const fs::path out = dir / ".console_out";
  const fs::path err = dir / ".console_err";
  writeFile(in, input);
  std::string cmd = "cd " + quote(dir.string()) + " && " + environment + " " + quote(program);
  for (const auto& a : args) cmd += " " + quote(a);
  cmd += " < " + quote(in.string()) + " > " + quote(out.string()) + " 2> " + quote(err.string());
  const int raw = std::system(cmd.c_str());
  RunResult r;
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.console = readFile(out);
  r.errors = readFile(err);
  fs::remove(in);
  fs::remove(out);
  fs::remove(err);
  return r;
}

}  // namespace korvant::test
