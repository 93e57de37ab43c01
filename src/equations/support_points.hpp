// The points of a support layout that carry no difference equation: the supported edge
// points of the edge-supported plates, the points of the column regions, and the clamped
// and simply supported points of a user-defined layout. Their unknowns are fixed by the
// boundary conditions; the assembly gives them no equation.
#pragma once

#include "core/model_deck.hpp"

namespace korvant {

// True when the support layout of `model` drops the equations of point (I, J), or when
// (I, J) lies outside the NUMA x NUMB grid:
//   clamped and simply supported plate: every perimeter point;
//   SSCF: I = 1, I = NUMB, and J = 1 (the free right edge keeps its equations);
//   SFSF: I = 1 and I = NUMB;  FSFS: J = 1 and J = NUMA;
//   4- and 9-column layouts: every point of a column region (NCOL + 1 points at each
//   corner, 2 NCOL + 1 about the middle lines for the 9-column layout);
//   user-defined layout: the points of the user boundary table with condition CLAMPED or
//   SIMPLE, the table read up to its first row whose I is 0.
// Free and free-symmetric edge points keep their equations.
bool isSupportPoint(const ModelDeck& model, int I, int J);

}  // namespace korvant
