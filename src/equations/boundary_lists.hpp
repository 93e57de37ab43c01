// The boundary point lists of the support layout (CLAMPED, SIMPLE, FREE, FREE-SYM) and
// SYSDEF, which fixes the size of the equation system and fills the lists once per job.
//
// A list row is (I, J, location). The location is the edge of the adjoining slab panel that
// the point lies on: 1 lower, 2 left, 3 upper, 4 right. A point inside a column region, with
// no panel beside it, has location 0. A point at the inner corner of a column region bounds
// its panel on two sides and has two consecutive rows: one side's code, then the other
// side's code negated (-2, -3 or -4).
#pragma once

#include <cstdlib>
#include <string_view>

#include "core/matrix.hpp"
#include "core/model_deck.hpp"
#include "core/writer.hpp"

namespace korvant {

// Location codes of a list row.
namespace location {
enum : int { INSIDE = 0, LOWER = 1, LEFT = 2, UPPER = 3, RIGHT = 4 };
}

// Whether a list row's location names one edge of a panel (a minus sign, where a layout
// gives one, does not change the edge).
inline bool hasEdge(int loc) {
  return loc != location::INSIDE && std::abs(loc) <= location::RIGHT;
}

// Columns of a list row.
namespace bpl_col {
enum { I = 1, J, LOCATION, COUNT = LOCATION };
}

// One list: MXD2 rows of (I, J, location), filled from row 1 without gaps. The rows after
// the last one are zero, so a reader may also stop at the first row whose I is 0.
class BoundaryPointList {
 public:
  explicit BoundaryPointList(int MXD2) : rows_(MXD2, bpl_col::COUNT) {}

  int capacity() const { return rows_.rows(); }
  int count() const { return count_; }
  int I(int k) const { return rows_(k, bpl_col::I); }
  int J(int k) const { return rows_(k, bpl_col::J); }
  int location(int k) const { return rows_(k, bpl_col::LOCATION); }
  const Matrix<int>& rows() const { return rows_; }

  // Appends (I, J, location); false, and nothing written, when the list is full.
  bool append(int I, int J, int location);
  void clear();

 private:
  Matrix<int> rows_;
  int count_ = 0;
};

struct BoundaryPointLists {
  explicit BoundaryPointLists(int MXD2) : CLAMPED(MXD2), SIMPLE(MXD2), FREE(MXD2), FREESYM(MXD2) {}

  BoundaryPointList CLAMPED;
  BoundaryPointList SIMPLE;
  BoundaryPointList FREE;
  BoundaryPointList FREESYM;

  // The list of a condition (CLAMPED .. FREE_SYM); nullptr for any other value.
  BoundaryPointList* list(Condition cond);
};

// The word of a condition in messages and the echo ("CLAMPED", "SIMPLE", "FREE",
// "FREE-SYM"); empty for any other value.
std::string_view conditionWord(Condition cond);

// SYSDEF: sets NEQ, the unknowns of the extended grid for the model's COUPLING, and fills
// the four lists (cleared first) for the support layout SLABMODEL of `model`; the
// user-defined layout reads rows 1..NUSERBC (at most MXD3) of USERBC up to the first row
// whose I is 0. A user point outside the grid or with a location its condition cannot use,
// and a list that would outgrow its MXD2 rows, are reported and each add 1 to `errors`.
void SYSDEF(const ModelDeck& model, const Capacities& cap, BoundaryPointLists& lists, int& NEQ,
            Writer& report, int& errors);

}  // namespace korvant
