// Recognition of the keyword of a statement line (`*` in column 1, keyword from column 2).
#pragma once

#include <string>

namespace korvant {

// The statements of the deck, in the order in which their keywords are tested.
enum class Statement {
  Status,
  Debug,
  Heading,
  Diagnostic,
  Solution,
  Coupling,
  ZoneOverlap,
  UniformStress,
  EquationSolver,
  YieldingSolution,
  CrackingSolution,
  BoundaryDer,
  Neutral,
  Boundary,
  Slab,
  Column,
  Disc,
  DefaultPressure,
  NormalPressure,
  Material,
  Layer,
  Zone,
  FilePrint,
  DamageLaw,
  Graphic,
  End,
  Unrecognised  // no keyword test holds
};

// The statement whose keyword the line begins with (from column 2). The keywords are tried
// in a fixed order and the first that matches wins, so ZONE OVERLAP is found before ZONE,
// BOUNDARY DER before BOUNDARY, and every keyword beginning with H is the heading. A
// keyword is matched all in upper or all in lower case, except END, whose letters may each
// be of either case. Whatever follows the keyword on the line is left to the statement.
Statement classifyStatement(const std::string& line);

// What the console adds to the warning of an unrecognised statement line, when one keyword is
// close: "did you mean *SOLUTION?" for a misspelt keyword, or the keyword in upper case for
// one written in mixed case. Empty when no keyword is close.
std::string suggestKeyword(const std::string& line);

}  // namespace korvant
