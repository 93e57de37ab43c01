// ZPLOT: writes the zone layout file, every zone drawn as a rectangle of four nodes and
// four triangles in the finite-element point format of the Tecplot data layout.
#pragma once

#include "core/matrix.hpp"
#include "core/writer.hpp"

namespace korvant {

void ZPLOT(const Matrix<double>& ZONES, int NZ, Writer& zoneFile);

}  // namespace korvant
