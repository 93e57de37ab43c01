#include "equations/boundary.hpp"

#include <cstdlib>

#include "core/grid.hpp"
#include "equations/natural_edges.hpp"
#include "equations/reduction.hpp"
#include "equations/support_points.hpp"
#include "section/layer_table.hpp"
#include "solver/bandwidth.hpp"

namespace korvant {

namespace {

// A point of the extended grid (I' = I + 2, J' = J + 2).
struct GridPoint {
  int Ix;
  int Jx;
};

// The geometry of one list row: the boundary point, the step into the slab along the edge
// normal, the step along the edge, and the spacings normal to and along the edge.
struct EdgeFrame {
  GridPoint p0;
  int nI, nJ;  // P(k) = P(0) + k (nI, nJ)
  int tI, tJ;  // T+ = + (tI, tJ), T- = - (tI, tJ)
  double hn, ht;

  // P(k), moved t steps along the edge (t = -1 for T-, +1 for T+).
  GridPoint P(int k, int t = 0) const { return {p0.Ix + k * nI + t * tI, p0.Jx + k * nJ + t * tJ}; }
};

EdgeFrame edgeFrame(int I, int J, int loc, const DifferenceGrid& g) {
  const GridPoint p0{I + kFictitiousRows, J + kFictitiousRows};
  switch (std::abs(loc)) {
    case location::LOWER:
      return {p0, 1, 0, 0, 1, g.DY(), g.DX()};
    case location::UPPER:
      return {p0, -1, 0, 0, 1, g.DY(), g.DX()};
    case location::LEFT:
      return {p0, 0, 1, 1, 0, g.DX(), g.DY()};
    default:  // location::RIGHT
      return {p0, 0, -1, 1, 0, g.DX(), g.DY()};
  }
}

// Writes the constraint rows of list rows into the table, numbering unknowns and equations
// for the grid and coupling option of the model.
class ConstraintWriter {
 public:
  ConstraintWriter(ConstraintTable& table, const ModelDeck& m)
      : table_(table), grid_{m.A, m.B, m.NUMA, m.NUMB}, coupling_(m.COUPLING) {}

  const DifferenceGrid& grid() const { return grid_; }
  bool coupled() const { return coupling_ == Coupling::COUPLED; }
  // Offset of w among the unknowns of a point; u and v are 0 and 1 when coupled.
  int w() const { return coupled() ? 2 : 0; }

  void relation(GridPoint dependent, GridPoint independent, int c, double coefficient) {
    table_.append(unknown(dependent, c), unknown(independent, c), coefficient);
  }
  // The boundary point's equation c is dropped and its unknown c held at zero.
  void dropAndFix(const EdgeFrame& f, int c, double droppedCoefficient = 0.0) {
    const int I = f.p0.Ix - kFictitiousRows, J = f.p0.Jx - kFictitiousRows;
    table_.append(EQN(I, J, grid_.NUMA, grid_.NUMB, Numbering::REAL, coupling_) + c,
                  constraint_kind::DROPPED_EQUATION, droppedCoefficient);
    table_.append(unknown(f.p0, c), constraint_kind::FIXED_UNKNOWN, 0.0);
  }
  // Unknown c mirrored across the edge with sign s; the point fixed when loc > 0.
  void mirror(const EdgeFrame& f, int loc, int c, double s) {
    relation(f.P(-1), f.P(1), c, s);
    if (loc > 0) dropAndFix(f, c);
  }

 private:
  int unknown(GridPoint p, int c) const {
    return EQN(p.Ix, p.Jx, grid_.NUMA, grid_.NUMB, Numbering::EXTENDED, coupling_) + c;
  }

  ConstraintTable& table_;
  DifferenceGrid grid_;
  Coupling coupling_;
};

// Clamped: u and v mirrored oddly, w evenly (zero slope); the point fixed. A point inside a
// column region has no edge: it is only fixed.
void clampedRows(ConstraintWriter& out, int I, int J, int loc) {
  const int components = out.w() + 1;
  if (loc == location::INSIDE) {
    const EdgeFrame f{{I + kFictitiousRows, J + kFictitiousRows}, 0, 0, 0, 0, 0.0, 0.0};
    for (int c = 0; c < components; ++c) out.dropAndFix(f, c, 1.0);
    return;
  }
  if (!hasEdge(loc)) return;
  const EdgeFrame f = edgeFrame(I, J, loc, out.grid());
  for (int c = 0; c < components; ++c) out.mirror(f, loc, c, c == out.w() ? 1.0 : -1.0);
}

// Simply supported: u, v and w mirrored oddly (zero curvature normal to the edge); the point
// fixed.
void simpleRows(ConstraintWriter& out, int I, int J, int loc) {
  if (!hasEdge(loc)) return;
  const EdgeFrame f = edgeFrame(I, J, loc, out.grid());
  for (int c = 0; c <= out.w(); ++c) out.mirror(f, loc, c, -1.0);
}

// Free and free-symmetric edges of the coupled solution: u and v mirrored oddly and held at
// zero.
void membraneRows(ConstraintWriter& out, const EdgeFrame& f, int loc) {
  if (!out.coupled()) return;
  for (int c = 0; c < out.w(); ++c) out.mirror(f, loc, c, -1.0);
}

// Free edge: zero normal moment and zero Kirchhoff shear, with the mean Poisson ratio nu of
// the point, written with central differences and the moment condition substituted into the
// shear condition.
void freeRows(ConstraintWriter& out, int I, int J, int loc, double nu) {
  if (!hasEdge(loc)) return;
  const EdgeFrame f = edgeFrame(I, J, loc, out.grid());
  const double r2 = (f.hn / f.ht) * (f.hn / f.ht);
  const double b = nu * r2;
  const double d = (2.0 - nu) * r2;
  membraneRows(out, f, loc);
  const int w = out.w();
  const GridPoint wm1 = f.P(-1);
  out.relation(wm1, f.P(0), w, 2.0 * (1.0 + b));
  out.relation(wm1, f.P(1), w, -1.0);
  out.relation(wm1, f.P(0, -1), w, -b);
  out.relation(wm1, f.P(0, +1), w, -b);
  const GridPoint wm2 = f.P(-2);
  out.relation(wm2, f.P(0), w, 4.0 * (1.0 + b) * (1.0 + d));
  out.relation(wm2, f.P(1), w, -4.0 * (1.0 + d));
  out.relation(wm2, f.P(0, -1), w, -2.0 * b * (1.0 + d));
  out.relation(wm2, f.P(0, +1), w, -2.0 * b * (1.0 + d));
  out.relation(wm2, f.P(2), w, 1.0);
  out.relation(wm2, f.P(-1, -1), w, -d);
  out.relation(wm2, f.P(-1, +1), w, -d);
  out.relation(wm2, f.P(1, -1), w, d);
  out.relation(wm2, f.P(1, +1), w, d);
}

// Free-symmetric edge: w mirrored evenly over two rows (zero slope and zero shear).
void freeSymRows(ConstraintWriter& out, int I, int J, int loc) {
  if (!hasEdge(loc)) return;
  const EdgeFrame f = edgeFrame(I, J, loc, out.grid());
  membraneRows(out, f, loc);
  out.relation(f.P(-1), f.P(1), out.w(), 1.0);
  out.relation(f.P(-2), f.P(2), out.w(), 1.0);
}

}  // namespace

bool writeConstraintRows(const BoundaryPointLists& lists, ConstraintTable& table,
                         const ModelDeck& model, const RecordStore& currentLayers, int& errorFlag,
                         Writer& report, EquationForm form, const StiffnessField* field) {
  table.clear();
  const bool natural = form == EquationForm::Conservative && field != nullptr;
  ConstraintWriter out(table, model);
  PointLayerTable layers;

  const BoundaryPointList* ordered[] = {&lists.CLAMPED, &lists.SIMPLE, &lists.FREE, &lists.FREESYM};
  const Condition conditions[] = {Condition::CLAMPED, Condition::SIMPLE, Condition::FREE,
                                  Condition::FREE_SYM};
  for (int n = 0; n < 4; ++n) {
    if (natural && conditions[n] == Condition::FREE) {
      naturalEdgeRows(lists.FREE, lists.FREESYM, table, model, *field);
      if (table.count() < table.capacity()) break;
      reportConstraintOverflow(report, "ESTABLISHING BOUNDARY CONDITIONS. CURRENT ", table.count());
      ++errorFlag;
      return false;
    }
    const BoundaryPointList& list = *ordered[n];
    for (int k = 1; k <= list.count() && list.I(k) != 0; ++k) {
      const int I = list.I(k), J = list.J(k), loc = list.location(k);
      switch (conditions[n]) {
        case Condition::CLAMPED:
          clampedRows(out, I, J, loc);
          break;
        case Condition::SIMPLE:
          simpleRows(out, I, J, loc);
          break;
        case Condition::FREE:
          readLayerTable(currentLayers, pointRecord(I, J, model.NUMB), layers);
          freeRows(out, I, J, loc, layers.MU);
          break;
        default:
          freeSymRows(out, I, J, loc);
          break;
      }
      // A full table refuses further rows, so a list row that did not fit leaves the count
      // at the capacity.
      if (table.count() >= table.capacity()) {
        reportConstraintOverflow(report, "ESTABLISHING BOUNDARY CONDITIONS. CURRENT ",
                                 table.count());
        ++errorFlag;
        return false;
      }
    }
  }
  return true;
}

void BOUNDARY(EquationStore& store, const BoundaryPointLists& lists, ConstraintTable& table,
              RemovedList& removed, const ModelDeck& model, const RecordStore& currentLayers,
              int& NEQ, int& BW, int& errorFlag, Writer& report, EquationForm form,
              const StiffnessField* field) {
  if (!writeConstraintRows(lists, table, model, currentLayers, errorFlag, report, form, field))
    return;

  NEQ = extendedUnknowns(model.NUMA, model.NUMB, model.COUPLING);
  const int errorsBefore = errorFlag;
  REDUCE(store, table, removed, model.NUMA, model.NUMB, NEQ, model.COUPLING, model.SOLVER,
         errorFlag, report);
  if (errorFlag != errorsBefore) return;
  BANDWD(store, BW, model.SOLVER, NEQ);
}

bool BPOINT(const ModelDeck& model, int I, int J) {
  return isSupportPoint(model, I, J);
}

namespace {

// One direction of BCHECK: the point and its two neighbours one step (dI, dJ) either side.
// True when all three are support points; otherwise the point is moved away from a support
// neighbour, two steps when it is a support point itself, one step when it is not.
bool moveOffSupports(const ModelDeck& m, int& I, int& J, int dI, int dJ) {
  const bool before = BPOINT(m, I - dI, J - dJ);
  const bool here = BPOINT(m, I, J);
  const bool after = BPOINT(m, I + dI, J + dJ);
  if (before && here && after) return true;
  const int step = here ? 2 : 1;
  if (before) I += step * dI, J += step * dJ;
  if (after) I -= step * dI, J -= step * dJ;
  return false;
}

}  // namespace

void BCHECK(const ModelDeck& model, int& I, int& J, bool& skip) {
  if (model.BDIFF != BoundaryDifferences::MIXED) {
    skip = BPOINT(model, I, J);
    return;
  }
  skip = moveOffSupports(model, I, J, 1, 0) || moveOffSupports(model, I, J, 0, 1);
}

}  // namespace korvant
