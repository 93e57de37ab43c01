#include "support/test_support.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
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

RunResult runKorvant(const fs::path& dir, const std::vector<std::string>& args,
                     const std::string& input, const std::string& environment) {
  return runProgram(dir, KORVANT_EXE, args, input, environment);
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
