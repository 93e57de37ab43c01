#include "equations/boundary_lists.hpp"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include "core/grid.hpp"

namespace korvant {

using fmt::X;

bool BoundaryPointList::append(int I, int J, int loc) {
  if (count_ >= capacity()) return false;
  ++count_;
  rows_(count_, bpl_col::I) = I;
  rows_(count_, bpl_col::J) = J;
  rows_(count_, bpl_col::LOCATION) = loc;
  return true;
}

void BoundaryPointList::clear() {
  rows_.fill(0);
  count_ = 0;
}

BoundaryPointList* BoundaryPointLists::list(Condition cond) {
  switch (cond) {
    case Condition::CLAMPED:
      return &CLAMPED;
    case Condition::SIMPLE:
      return &SIMPLE;
    case Condition::FREE:
      return &FREE;
    case Condition::FREE_SYM:
      return &FREESYM;
    default:
      return nullptr;
  }
}

std::string_view conditionWord(Condition cond) {
  switch (cond) {
    case Condition::CLAMPED:
      return "CLAMPED";
    case Condition::SIMPLE:
      return "SIMPLE";
    case Condition::FREE:
      return "FREE";
    case Condition::FREE_SYM:
      return "FREE-SYM";
    default:
      return "";
  }
}

namespace {

// Appends rows to the lists. A list that is full takes no more rows; the first row it
// refuses is reported and counted once for that list.
class ListFiller {
 public:
  ListFiller(BoundaryPointLists& lists, Writer& report, int& errors)
      : lists_(lists), report_(report), errors_(errors) {}

  void add(Condition cond, int I, int J, int loc) {
    BoundaryPointList* list = lists_.list(cond);
    if (list->append(I, J, loc) || refused_[codeNumber(cond) - 1]) return;
    refused_[codeNumber(cond) - 1] = true;
    report_.line("***ERROR: MEMORY PARAMETER MXD2 IS BEING EXCEEDED IN");
    report_.line("          ESTABLISHING THE ", conditionWord(cond),
                 " BOUNDARY POINT LIST. INCREASE MXD2");
    ++errors_;
  }

 private:
  BoundaryPointLists& lists_;
  Writer& report_;
  int& errors_;
  std::array<bool, 4> refused_{};
};

struct GridSize {
  int NUMA;
  int NUMB;
};

bool onEdge(int edge, int I, int J, GridSize g) {
  switch (edge) {
    case location::LOWER:
      return I == 1;
    case location::LEFT:
      return J == 1;
    case location::UPPER:
      return I == g.NUMB;
    case location::RIGHT:
      return J == g.NUMA;
    default:
      return false;
  }
}

bool onPerimeter(int I, int J, GridSize g) {
  return I == 1 || J == 1 || I == g.NUMB || J == g.NUMA;
}

// Edge code of a perimeter point, the lower, left, upper and right edges tried in turn.
int perimeterEdge(int I, int J, GridSize g) {
  for (int edge : {location::LOWER, location::LEFT, location::UPPER, location::RIGHT}) {
    if (onEdge(edge, I, J, g)) return edge;
  }
  return location::INSIDE;
}

// ---- Plates supported along their edges ------------------------------------------------

// One edge and the condition it carries. The rules of a layout are tried in order on every
// perimeter point; the first whose edge holds the point puts it in that condition's list,
// with the edge's code as its location. The order settles which list a corner joins.
struct EdgeRule {
  int edge;
  Condition cond;
};
using EdgeRules = std::array<EdgeRule, 4>;

bool edgeRules(SlabLayout layout, EdgeRules& rules) {
  using namespace location;
  using Condition::CLAMPED;
  using Condition::FREE;
  using Condition::SIMPLE;
  switch (layout) {
    case SlabLayout::SIMPLY_SUPPORTED:
      rules = {{{LEFT, SIMPLE}, {UPPER, SIMPLE}, {RIGHT, SIMPLE}, {LOWER, SIMPLE}}};
      return true;
    case SlabLayout::CLAMPED_PLATE:
      rules = {{{LEFT, CLAMPED}, {UPPER, CLAMPED}, {RIGHT, CLAMPED}, {LOWER, CLAMPED}}};
      return true;
    case SlabLayout::SSCF:  // lower S, left S, upper C, right F
      rules = {{{LOWER, SIMPLE}, {LEFT, SIMPLE}, {UPPER, CLAMPED}, {RIGHT, FREE}}};
      return true;
    case SlabLayout::SFSF:  // lower S, left F, upper S, right F: the corners are simple
      rules = {{{LOWER, SIMPLE}, {UPPER, SIMPLE}, {LEFT, FREE}, {RIGHT, FREE}}};
      return true;
    case SlabLayout::FSFS:  // lower F, left S, upper F, right S: the corners are simple
      rules = {{{LEFT, SIMPLE}, {RIGHT, SIMPLE}, {LOWER, FREE}, {UPPER, FREE}}};
      return true;
    default:
      return false;
  }
}

void fillEdgeLayout(const EdgeRules& rules, GridSize g, ListFiller& fill) {
  for (int J = 1; J <= g.NUMA; ++J) {
    for (int I = 1; I <= g.NUMB; ++I) {
      for (const EdgeRule& r : rules) {
        if (onEdge(r.edge, I, J, g)) {
          fill.add(r.cond, I, J, r.edge);
          break;
        }
      }
    }
  }
}

// ---- Column layouts ----------------------------------------------------------------------

// A band of grid rows (or columns) lo..hi covered by columns. A region is the crossing of a
// row band with a column band.
struct Band {
  int lo;
  int hi;
  bool holds(int k) const { return k >= lo && k <= hi; }
};

struct ColumnLayout {
  std::vector<Band> rowBands;     // along I, lowest first
  std::vector<Band> columnBands;  // along J, leftmost first
  bool nineColumn;
  Condition perimeterCondition;  // condition of the perimeter points between regions
};

// Corner bands of NCOL + 1 points at both ends of 1..n; with `middle`, also the band of
// 2 NCOL + 1 points about the middle point (n + 1) / 2.
std::vector<Band> bands(int n, int NCOL, bool middle) {
  std::vector<Band> b{{1, NCOL + 1}};
  if (middle) b.push_back({(n + 1) / 2 - NCOL, (n + 1) / 2 + NCOL});
  b.push_back({n - NCOL, n});
  return b;
}

ColumnLayout columnLayout(const ModelDeck& m) {
  const bool nine = m.SLABMODEL == SlabLayout::NINE_COLUMN;
  const Condition perimeter =
      m.SLABMODEL == SlabLayout::FOUR_COLUMN_FREE ? Condition::FREE : Condition::FREE_SYM;
  return {bands(m.NUMB, m.NCOL, nine), bands(m.NUMA, m.NCOL, nine), nine, perimeter};
}

// Index (0-based) of the first band holding k, or -1.
int bandOf(const std::vector<Band>& b, int k) {
  for (std::size_t n = 0; n < b.size(); ++n) {
    if (b[n].holds(k)) return static_cast<int>(n);
  }
  return -1;
}

// Face code of row I of a row band: its lowest row bounds the panel below it (that panel's
// upper edge, 3), its highest row the panel above it (that panel's lower edge, 1). A row on
// the slab's own edge faces no panel.
int rowFace(Band b, int I, int NUMB) {
  if (I == b.lo && b.lo > 1) return location::UPPER;
  if (I == b.hi && b.hi < NUMB) return location::LOWER;
  return location::INSIDE;
}

// Face code of column J of a column band: its leftmost column bounds the panel to its left
// (that panel's right edge, 4), its rightmost column the panel to its right (left edge, 2).
int columnFace(Band b, int J, int NUMA) {
  if (J == b.lo && b.lo > 1) return location::RIGHT;
  if (J == b.hi && b.hi < NUMA) return location::LEFT;
  return location::INSIDE;
}

// The two rows of an inner corner on row face r (1 or 3) and column face c (2 or 4). The
// row face comes first and the column face second, negated; where faces 3 and 2 meet the
// column face comes first and the row face is negated, except in the left column band of
// the 9-column layout, which keeps the row face first.
std::array<int, 2> innerCornerRows(int r, int c, int columnBand, bool nineColumn) {
  const bool columnFaceFirst =
      r == location::UPPER && c == location::LEFT && !(nineColumn && columnBand == 0);
  if (columnFaceFirst) return {c, -r};
  return {r, -c};
}

void addRegionPoint(const ColumnLayout& L, int rb, int cb, int I, int J, GridSize g,
                    ListFiller& fill) {
  const int r = rowFace(L.rowBands[static_cast<std::size_t>(rb)], I, g.NUMB);
  const int c = columnFace(L.columnBands[static_cast<std::size_t>(cb)], J, g.NUMA);
  if (r != location::INSIDE && c != location::INSIDE) {
    for (int loc : innerCornerRows(r, c, cb, L.nineColumn)) fill.add(Condition::CLAMPED, I, J, loc);
  } else {
    fill.add(Condition::CLAMPED, I, J, r != location::INSIDE ? r : c);
  }
}

// Every point of a column region goes to CLAMPED with the face it lies on (0 on none, two
// rows at an inner corner); every other perimeter point to the layout's perimeter list
// with the code of its edge.
void fillColumnLayout(const ColumnLayout& L, GridSize g, ListFiller& fill) {
  for (int J = 1; J <= g.NUMA; ++J) {
    const int cb = bandOf(L.columnBands, J);
    for (int I = 1; I <= g.NUMB; ++I) {
      const int rb = bandOf(L.rowBands, I);
      if (rb >= 0 && cb >= 0) {
        addRegionPoint(L, rb, cb, I, J, g, fill);
      } else if (onPerimeter(I, J, g)) {
        fill.add(L.perimeterCondition, I, J, perimeterEdge(I, J, g));
      }
    }
  }
}

// ---- User-defined boundary points --------------------------------------------------------

// A location the boundary step can act on: an edge code or its negation; 0 (inside a
// column region) only for the conditions that fix the point, since the free conditions
// are written across an edge and need to know which.
bool usableLocation(Condition cond, int loc) {
  if (std::abs(loc) > location::RIGHT) return false;
  return loc != location::INSIDE || cond == Condition::CLAMPED || cond == Condition::SIMPLE;
}

// Checks user point k; reports and counts what the boundary step could not act on.
bool acceptUserPoint(int k, int I, int J, Condition cond, int loc, GridSize g, Writer& report,
                     int& errors) {
  if (I < 1 || I > g.NUMB || J < 1 || J > g.NUMA) {
    report.line("***ERROR: USER-DEFINED BOUNDARY POINT FOR ENTRY", fmt::I(5, k), " LIES OUTSIDE");
    report.line(X(10), "THE GRID: I =", fmt::I(5, I), "  J =", fmt::I(5, J));
    ++errors;
    return false;
  }
  if (!usableLocation(cond, loc)) {
    report.line("***ERROR: USER-DEFINED BOUNDARY POINT FOR ENTRY", fmt::I(5, k), " HAS LOCATION",
                fmt::I(5, loc));
    report.line(X(10), "WHICH A ", conditionWord(cond), " CONDITION CANNOT USE");
    ++errors;
    return false;
  }
  return true;
}

void fillUserLayout(const ModelDeck& m, int MXD3, GridSize g, ListFiller& fill, Writer& report,
                    int& errors) {
  const int rows = std::min({m.NUSERBC, MXD3, m.USERBC.rows()});
  for (int k = 1; k <= rows; ++k) {
    const int I = m.USERBC(k, userbc_col::I);
    if (I == 0) break;
    const int J = m.USERBC(k, userbc_col::J);
    const Condition cond = userCondition(m, k);
    const int loc = m.USERBC(k, userbc_col::LOCATION);
    if (conditionWord(cond).empty()) continue;  // no such condition: the row is passed over
    if (acceptUserPoint(k, I, J, cond, loc, g, report, errors)) fill.add(cond, I, J, loc);
  }
}

}  // namespace

void SYSDEF(const ModelDeck& model, const Capacities& cap, BoundaryPointLists& lists, int& NEQ,
            Writer& report, int& errors) {
  NEQ = extendedUnknowns(model.NUMA, model.NUMB, model.COUPLING);

  for (Condition cond :
       {Condition::CLAMPED, Condition::SIMPLE, Condition::FREE, Condition::FREE_SYM})
    lists.list(cond)->clear();
  ListFiller fill(lists, report, errors);
  const GridSize g{model.NUMA, model.NUMB};

  EdgeRules rules;
  switch (model.SLABMODEL) {
    case SlabLayout::NINE_COLUMN:
    case SlabLayout::FOUR_COLUMN_FREE:
    case SlabLayout::FOUR_COLUMN_SYM:
      fillColumnLayout(columnLayout(model), g, fill);
      break;
    case SlabLayout::USER_DEFINED:
      fillUserLayout(model, cap.MXD3, g, fill, report, errors);
      break;
    default:
      if (edgeRules(model.SLABMODEL, rules)) fillEdgeLayout(rules, g, fill);
      break;
  }
}

}  // namespace korvant
