#include "equations/support_points.hpp"

#include <algorithm>

#include "core/grid.hpp"
#include "equations/boundary_lists.hpp"

namespace korvant {

namespace {

bool inColumnRegion(const ModelDeck& m, int I, int J) {
  const bool nine = m.SLABMODEL == SlabLayout::NINE_COLUMN;
  return inColumnBand(I, m.NUMB, m.NCOL, nine) && inColumnBand(J, m.NUMA, m.NCOL, nine);
}

bool userSupported(const ModelDeck& m, int I, int J) {
  const int rows = std::min(m.NUSERBC, m.USERBC.rows());
  for (int k = 1; k <= rows; ++k) {
    if (m.USERBC(k, userbc_col::I) == 0) break;
    const Condition cond = userCondition(m, k);
    if (m.USERBC(k, userbc_col::I) == I && m.USERBC(k, userbc_col::J) == J &&
        (cond == Condition::CLAMPED || cond == Condition::SIMPLE))
      return true;
  }
  return false;
}

}  // namespace

bool isSupportPoint(const ModelDeck& m, int I, int J) {
  if (I < 1 || I > m.NUMB || J < 1 || J > m.NUMA) return true;
  const bool lower = I == 1, upper = I == m.NUMB, left = J == 1, right = J == m.NUMA;
  switch (m.SLABMODEL) {
    case SlabLayout::CLAMPED_PLATE:
    case SlabLayout::SIMPLY_SUPPORTED:
      return lower || upper || left || right;
    case SlabLayout::SSCF:
      return lower || upper || left;
    case SlabLayout::SFSF:
      return lower || upper;
    case SlabLayout::FSFS:
      return left || right;
    case SlabLayout::NINE_COLUMN:
    case SlabLayout::FOUR_COLUMN_FREE:
    case SlabLayout::FOUR_COLUMN_SYM:
      return inColumnRegion(m, I, J);
    case SlabLayout::USER_DEFINED:
      return userSupported(m, I, J);
    default:
      return false;
  }
}

}  // namespace korvant
