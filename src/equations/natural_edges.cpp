#include "equations/natural_edges.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

#include "core/grid.hpp"
#include "equations/force_operators.hpp"

namespace korvant {
namespace {

using namespace force_ops;

// A linear combination of the unknowns about the edge point, by component and offset.
struct Functional {
  std::array<Stencil, 3> c{};
  double& at(int comp, int m, int n) {
    return c[static_cast<std::size_t>(comp)](kStencilCentre + m, kStencilCentre + n);
  }
};

// A relation: dependent unknown = sum of coefficient times independent unknown.
using Terms = std::map<int, double>;
using Relations = std::map<int, Terms>;

// The edge of a list row: the step (dm, dn) into the slab, and which axis is normal to it.
struct Edge {
  int I, J, dm, dn;
  bool normalX;
  int normalComponent() const { return normalX ? U : V; }
  int tangentComponent() const { return normalX ? V : U; }
};

Edge edgeOf(int I, int J, int loc) {
  switch (std::abs(loc)) {
    case location::LOWER:
      return {I, J, 1, 0, false};
    case location::UPPER:
      return {I, J, -1, 0, false};
    case location::LEFT:
      return {I, J, 0, 1, true};
    default:
      return {I, J, 0, -1, true};
  }
}

bool hasEdge(int loc) {
  return loc != location::INSIDE && std::abs(loc) <= location::RIGHT;
}

class Numbering {
 public:
  explicit Numbering(const ModelDeck& m) : NUMA_(m.NUMA), NUMB_(m.NUMB), coupling_(m.COUPLING) {}
  bool coupled() const { return coupling_ == coupling::COUPLED; }
  // Extended number of component c of the point at offset (m, n) from real point (I, J).
  int unknown(const Edge& e, int c, int m, int n) const {
    return EQN(e.I + m + kFictitiousRows, e.J + n + kFictitiousRows, NUMA_, NUMB_,
               numbering::EXTENDED, coupling_) +
           (coupled() ? c : 0);
  }

 private:
  int NUMA_, NUMB_, coupling_;
};

// Adds `weight` times force f of the strains e and stiffness S to the functional; without
// the coupled solution only the terms in w count (the w-only equations have no u and v).
void addForce(Functional& F, const Strains& e, const PlaneStiffness& S, int f, double weight,
              bool coupled) {
  forEachForceTerm(e, S, f, weight, [&](int c, int m, int n, double value) {
    if (coupled || c == W) F.at(c, m, n) += value;
  });
}

// The strains of the edge point: those of a node, with kxy from the two cells inside the
// slab, so that the conditions of a point name no fictitious point but its own.
void edgeNodeStrains(Strains& e, const Edge& g) {
  nodeStrains(e, 0, 0);
  e[KXY].count = 0;
  if (g.normalX) {
    const int b = g.dn == 1 ? 0 : -1;
    addCellTwist(e, -1, b, 0.5), addCellTwist(e, 0, b, 0.5);
  } else {
    const int a = g.dm == 1 ? 0 : -1;
    addCellTwist(e, a, -1, 0.5), addCellTwist(e, a, 0, 0.5);
  }
}

// The strains of the fictitious point P(-1): the derivatives across the edge as compact
// differences between P(-1) and P0, kxy from the two cells between them, the rest as at a
// node (along the edge they name the P(-1) of the neighbours).
void outerNodeStrains(Strains& e, const Edge& g) {
  nodeStrains(e, -g.dm, -g.dn);
  e[KXY].count = 0;
  if (g.normalX) {
    const int b = std::min(0, -g.dn);
    e[EXX].count = 0, e[GXY].count = 0;
    e.fx(EXX, U, 0, b, 1.0);
    e.dy(GXY, U, 0, -g.dn, 1.0), e.fx(GXY, V, 0, b, 1.0);
    addCellTwist(e, -1, b, 0.5), addCellTwist(e, 0, b, 0.5);
  } else {
    const int a = std::min(0, -g.dm);
    e[EYY].count = 0, e[GXY].count = 0;
    e.fy(EYY, V, a, 0, 1.0);
    e.fy(GXY, U, a, 0, 1.0), e.dx(GXY, V, -g.dm, 0, 1.0);
    addCellTwist(e, a, -1, 0.5), addCellTwist(e, a, 0, 0.5);
  }
}

// Solves the small system G x = -r for x, G of size n (1 or 3) by Gaussian elimination with
// partial pivoting; returns false for a singular G.
bool solveSmall(std::array<std::array<double, 3>, 3> G, int n, std::array<std::array<double, 3>, 3>& inverse) {
  std::array<std::array<double, 3>, 3> X{};
  for (int i = 0; i < n; ++i) X[i][i] = 1.0;
  for (int k = 0; k < n; ++k) {
    int p = k;
    for (int i = k + 1; i < n; ++i)
      if (std::abs(G[i][k]) > std::abs(G[p][k])) p = i;
    if (G[p][k] == 0.0) return false;
    std::swap(G[p], G[k]), std::swap(X[p], X[k]);
    for (int i = 0; i < n; ++i) {
      if (i == k) continue;
      const double f = G[i][k] / G[k][k];
      for (int j = 0; j < n; ++j) G[i][j] -= f * G[k][j], X[i][j] -= f * X[k][j];
    }
  }
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) inverse[i][j] = X[i][j] / G[i][i];
  return true;
}

// Nnn = Nnt = 0 (coupled) and Mnn = 0 at the edge point, solved for the components of P(-1).
void firstRowRelations(const Edge& g, const StiffnessField& field, const Numbering& num,
                       double DX, double DY, Relations& out) {
  Strains e(DX, DY);
  edgeNodeStrains(e, g);
  const PlaneStiffness& S = field.nearest(g.I, g.J);
  const bool coupled = num.coupled();
  std::array<int, 3> forces{g.normalX ? NXX : NYY, NXY, g.normalX ? MXX : MYY};
  std::array<int, 3> comps{g.normalComponent(), g.tangentComponent(), W};
  const int n = coupled ? 3 : 1;
  if (!coupled) forces[0] = forces[2], comps[0] = W;
  std::array<Functional, 3> F{};
  std::array<std::array<double, 3>, 3> G{}, Ginv{};
  for (int k = 0; k < n; ++k) {
    addForce(F[k], e, S, forces[k], 1.0, coupled);
    for (int i = 0; i < n; ++i) {
      double& entry = F[k].at(comps[i], -g.dm, -g.dn);
      G[k][i] = entry;
      entry = 0.0;
    }
  }
  if (!solveSmall(G, n, Ginv)) return;
  for (int i = 0; i < n; ++i) {
    Terms& terms = out[num.unknown(g, comps[i], -g.dm, -g.dn)];
    terms.clear();
    for (int k = 0; k < n; ++k)
      for (int c = 0; c < 3; ++c)
        for (int m = -2; m <= 2; ++m)
          for (int q = -2; q <= 2; ++q) {
            const double v = F[k].at(c, m, q);
            if (v != 0.0) terms[num.unknown(g, c, m, q)] -= Ginv[i][k] * v;
          }
  }
}

// Adds `factor` times unknown q to `terms`, written through its relation when it has one.
void addSubstituted(Terms& terms, int q, double factor, const Relations& known) {
  const auto it = known.find(q);
  if (it == known.end()) {
    terms[q] += factor;
    return;
  }
  for (const auto& [r, c] : it->second) terms[r] += factor * c;
}

// The effective shear dMnn/dn + 2 dMnt/dt = 0 at the edge point, solved for w of P(-2); and,
// coupled, u and v of P(-2) continuing P0 and P(-1) linearly.
void secondRowRelations(const Edge& g, const StiffnessField& field, const Numbering& num,
                        double DX, double DY, const Relations& first, Relations& out) {
  Strains e(DX, DY);
  Functional F;
  const bool coupled = num.coupled();
  const double hn = g.normalX ? DX : DY;
  const int sign = g.normalX ? g.dn : g.dm;
  const int Mnn = g.normalX ? MXX : MYY;
  nodeStrains(e, g.dm, g.dn);
  addForce(F, e, field.nearest(g.I + g.dm, g.J + g.dn), Mnn, sign / (2.0 * hn), coupled);
  outerNodeStrains(e, g);
  addForce(F, e, field.nearest(g.I, g.J), Mnn, -sign / (2.0 * hn), coupled);
  if (g.normalX) {
    yHalfStrains(e, 0, 0);
    addForce(F, e, meanStiffness(field, g.I, g.J, 1, 0), MXY, 2.0 / DY, coupled);
    yHalfStrains(e, -1, 0);
    addForce(F, e, meanStiffness(field, g.I - 1, g.J, 1, 0), MXY, -2.0 / DY, coupled);
  } else {
    xHalfStrains(e, 0, 0);
    addForce(F, e, meanStiffness(field, g.I, g.J, 0, 1), MXY, 2.0 / DX, coupled);
    xHalfStrains(e, 0, -1);
    addForce(F, e, meanStiffness(field, g.I, g.J - 1, 0, 1), MXY, -2.0 / DX, coupled);
  }
  double& own = F.at(W, -2 * g.dm, -2 * g.dn);
  const double gw = own;
  own = 0.0;
  if (gw == 0.0) return;
  Terms& w2 = out[num.unknown(g, W, -2 * g.dm, -2 * g.dn)];
  w2.clear();
  for (int c = 0; c < 3; ++c)
    for (int m = -2; m <= 2; ++m)
      for (int q = -2; q <= 2; ++q)
        if (const double v = F.at(c, m, q); v != 0.0)
          addSubstituted(w2, num.unknown(g, c, m, q), -v / gw, first);
  if (!coupled) return;
  for (int c : {U, V}) {
    Terms& t = out[num.unknown(g, c, -2 * g.dm, -2 * g.dn)];
    t.clear();
    addSubstituted(t, num.unknown(g, c, -g.dm, -g.dn), 2.0, first);
    addSubstituted(t, num.unknown(g, c, 0, 0), -1.0, first);
  }
}

void writeRelations(const Relations& relations, ConstraintTable& table) {
  for (const auto& [dependent, terms] : relations)
    for (const auto& [independent, coefficient] : terms)
      if (coefficient != 0.0) table.append(dependent, independent, coefficient);
}

// A symmetric edge: w and the tangential displacement even, the normal one odd and held.
void symmetricRows(const Edge& g, int loc, const ModelDeck& model, const Numbering& num,
                   ConstraintTable& table) {
  for (int k : {1, 2}) {
    table.append(num.unknown(g, W, -k * g.dm, -k * g.dn), num.unknown(g, W, k * g.dm, k * g.dn), 1.0);
    if (!num.coupled()) continue;
    for (int c : {U, V}) {
      const double s = c == g.normalComponent() ? -1.0 : 1.0;
      table.append(num.unknown(g, c, -k * g.dm, -k * g.dn), num.unknown(g, c, k * g.dm, k * g.dn), s);
    }
  }
  if (!num.coupled() || loc <= 0) return;
  const int c = g.normalComponent();
  table.append(EQN(g.I, g.J, model.NUMA, model.NUMB, numbering::REAL, model.COUPLING) + c,
               constraint_kind::DROPPED_EQUATION, 0.0);
  table.append(num.unknown(g, c, 0, 0), constraint_kind::FIXED_UNKNOWN, 0.0);
}

}  // namespace

void naturalEdgeRows(const BoundaryPointList& FREE, const BoundaryPointList& FREESYM,
                     ConstraintTable& table, const ModelDeck& model, const StiffnessField& field) {
  const Numbering num(model);
  const DifferenceGrid grid{model.A, model.B, model.NUMA, model.NUMB};
  const double DX = grid.DX(), DY = grid.DY();
  Relations first, second;
  for (int k = 1; k <= FREE.count() && FREE.I(k) != 0; ++k)
    if (hasEdge(FREE.location(k)))
      firstRowRelations(edgeOf(FREE.I(k), FREE.J(k), FREE.location(k)), field, num, DX, DY, first);
  for (int k = 1; k <= FREE.count() && FREE.I(k) != 0; ++k)
    if (hasEdge(FREE.location(k)))
      secondRowRelations(edgeOf(FREE.I(k), FREE.J(k), FREE.location(k)), field, num, DX, DY,
                         first, second);
  writeRelations(first, table);
  writeRelations(second, table);
  for (int k = 1; k <= FREESYM.count() && FREESYM.I(k) != 0; ++k) {
    const int loc = FREESYM.location(k);
    if (hasEdge(loc)) symmetricRows(edgeOf(FREESYM.I(k), FREESYM.J(k), loc), loc, model, num, table);
  }
}

void extendedValues(const ConstraintTable& table, const ModelDeck& model,
                    const Matrix<double>& solution, std::vector<double>& values) {
  const int perPoint = model.COUPLING == coupling::COUPLED ? 3 : 1;
  values.assign(static_cast<std::size_t>(extendedUnknowns(model.NUMA, model.NUMB, model.COUPLING)),
                0.0);
  for (int J = 1; J <= model.NUMA; ++J)
    for (int I = 1; I <= model.NUMB; ++I) {
      const int q = EQN(I + kFictitiousRows, J + kFictitiousRows, model.NUMA, model.NUMB,
                        numbering::EXTENDED, model.COUPLING);
      const int r = EQN(I, J, model.NUMA, model.NUMB, numbering::REAL, model.COUPLING);
      for (int c = 0; c < perPoint; ++c) values[static_cast<std::size_t>(q - 1 + c)] = solution(r + c);
    }
  for (int k = 1; k <= table.count(); ++k) {
    if (table.second(k) <= 0) continue;
    const auto dependent = static_cast<std::size_t>(table.first(k) - 1);
    values[dependent] += table.coefficient(k) * values[static_cast<std::size_t>(table.second(k) - 1)];
  }
}

}  // namespace korvant
