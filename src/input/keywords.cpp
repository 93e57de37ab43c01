#include "input/keywords.hpp"
#include "core/text.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>
#include <vector>

namespace korvant {
namespace {

enum class CaseRule {
  SameCase,  // the whole keyword in upper case, or the whole keyword in lower case
  AnyCase    // each letter in either case
};

struct KeywordTest {
  Statement statement;
  std::string_view text;  // upper case
  CaseRule rule;
};

// The order of this table is the order of recognition.
constexpr std::array<KeywordTest, 26> kKeywords{{
    {Statement::Status, "STATUS", CaseRule::SameCase},
    {Statement::Debug, "DEBUG", CaseRule::SameCase},
    {Statement::Heading, "H", CaseRule::SameCase},
    {Statement::Diagnostic, "DIAGNOSTIC", CaseRule::SameCase},
    {Statement::Solution, "SOLUTION", CaseRule::SameCase},
    {Statement::Coupling, "COUPLING", CaseRule::SameCase},
    {Statement::ZoneOverlap, "ZONE OVERLAP", CaseRule::SameCase},
    {Statement::UniformStress, "UNIFORM STRESS", CaseRule::SameCase},
    {Statement::EquationSolver, "EQUATION SOLVER", CaseRule::SameCase},
    {Statement::YieldingSolution, "YIELDING SOLUTION", CaseRule::SameCase},
    {Statement::CrackingSolution, "CRACKING SOLUTION", CaseRule::SameCase},
    {Statement::BoundaryDer, "BOUNDARY DER", CaseRule::SameCase},
    {Statement::Neutral, "NEUTRAL", CaseRule::SameCase},
    {Statement::Boundary, "BOUNDARY", CaseRule::SameCase},
    {Statement::Slab, "SLAB", CaseRule::SameCase},
    {Statement::Column, "COLU", CaseRule::SameCase},
    {Statement::Disc, "DISC", CaseRule::SameCase},
    {Statement::DefaultPressure, "DEFAULT P", CaseRule::SameCase},
    {Statement::NormalPressure, "NORMAL P", CaseRule::SameCase},
    {Statement::Material, "MAT", CaseRule::SameCase},
    {Statement::Layer, "LAYER", CaseRule::SameCase},
    {Statement::Zone, "ZONE", CaseRule::SameCase},
    {Statement::FilePrint, "FILE PRINT", CaseRule::SameCase},
    {Statement::DamageLaw, "DAMAGE L", CaseRule::SameCase},
    {Statement::Graphic, "GRAPHIC", CaseRule::SameCase},
    {Statement::End, "END", CaseRule::AnyCase},
}};

// Whether the keyword stands in the line from column 2 under its case rule.
bool matches(const std::string& line, const KeywordTest& test) {
  if (line.size() < test.text.size() + 1) return false;
  const std::string_view found = std::string_view(line).substr(1, test.text.size());
  bool upper = true;
  bool lowerCase = true;
  bool either = true;
  for (std::size_t k = 0; k < test.text.size(); ++k) {
    const char want = test.text[k];
    upper = upper && found[k] == want;
    lowerCase = lowerCase && found[k] == lower(want);
    either = either && (found[k] == want || found[k] == lower(want));
  }
  return test.rule == CaseRule::AnyCase ? either : upper || lowerCase;
}

}  // namespace

Statement classifyStatement(const std::string& line) {
  for (const KeywordTest& test : kKeywords)
    if (matches(line, test)) return test.statement;
  return Statement::Unrecognised;
}

namespace {

// The first words of the keywords, written out in full.
constexpr std::array<std::string_view, 25> kKeywordWords{
    "STATUS",  "DEBUG",          "HEADING",  "DIAGNOSTIC", "SOLUTION", "COUPLING", "ZONE",
    "UNIFORM", "EQUATION",       "YIELDING", "CRACKING",   "BOUNDARY", "NEUTRAL",  "SLAB",
    "COLUMN",  "DISCRETIZATION", "DEFAULT",  "NORMAL",     "MATERIAL", "LAYER",    "FILE",
    "DAMAGE",  "GRAPHIC",        "END",      "OVERLAP"};

// The optimal string alignment distance (Damerau 1964, Levenshtein 1966): insertions,
// deletions, substitutions and swaps of two neighbours, each counted one.
int editDistance(std::string_view a, std::string_view b) {
  std::vector<std::vector<int>> d(a.size() + 1, std::vector<int>(b.size() + 1, 0));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = static_cast<int>(i);
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = static_cast<int>(j);
  for (std::size_t i = 1; i <= a.size(); ++i)
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const int cost = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  return d[a.size()][b.size()];
}

// The statement text from column 2 up to an `=` or the end, in upper case, blanks trimmed.
std::string statementText(const std::string& line) {
  std::string text =
      line.substr(1, line.find('=') == std::string::npos ? std::string::npos : line.find('=') - 1);
  for (char& c : text) c = upper(c);
  return trimmed(text);
}

}  // namespace

std::string suggestKeyword(const std::string& line) {
  const std::string text = statementText(line);
  if (text.empty()) return {};
  std::string upperLine = "*" + text;
  upperLine.resize(std::max(upperLine.size(), line.size()), ' ');
  if (classifyStatement(upperLine) != Statement::Unrecognised)
    return "keywords are all upper or all lower case: *" + text;
  const std::size_t wordEnd = text.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  const std::string word = text.substr(0, wordEnd);
  if (word.size() < 3) return {};
  const int allowed = word.size() < 6 ? 1 : 2;
  std::string_view best;
  int bestDistance = allowed + 1;
  int atBest = 0;  // the keywords as close as the best
  for (const std::string_view candidate : kKeywordWords) {
    const int distance = editDistance(word, candidate);
    if (distance < bestDistance) {
      best = candidate;
      bestDistance = distance;
      atBest = 1;
    } else if (distance == bestDistance) {
      ++atBest;
    }
  }
  if (best.empty() || atBest != 1) return {};
  const std::string rest = wordEnd == std::string::npos ? "" : text.substr(wordEnd);
  return "did you mean *" + std::string(best) + rest + "?";
}

}  // namespace korvant
