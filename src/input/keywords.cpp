#include "input/keywords.hpp"
#include "core/text.hpp"

#include <array>
#include <cctype>
#include <string_view>

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

}  // namespace korvant
