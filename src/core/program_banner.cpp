#include "core/program_banner.hpp"

#include <string>

namespace korvant {

void writeProgramBanner(Writer& out) {
  using fmt::X;
  const std::string row(57, '@');
  out.line(X(10), row);
  out.line(X(10), "@@@", X(51), "@@@");
  out.line(X(10), "@@@                 PROGRAM KORVANT                   @@@");
  out.line(X(10), "@@@", X(51), "@@@");
  out.line(X(10), "@@@  COUPLED SOLUTION OF PLATE DEFLECTION ACCOUNTING  @@@");
  out.line(X(10), "@@@   FOR NONLINEAR INELASTIC FRACTURE AND PLASTIC    @@@");
  out.line(X(10), "@@@       YIELDING IN REINFORCED CONCRETE SLABS       @@@");
  out.line(X(10), "@@@", X(51), "@@@");
  out.line(X(10), "@@@                   VERSION 2.01                    @@@");
  out.line(X(10), "@@@", X(51), "@@@");
  out.line(X(10), row);
}

}  // namespace korvant
