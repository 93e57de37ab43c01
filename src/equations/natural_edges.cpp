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
  double at(int comp, int m, int n) const {
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

class UnknownNumbers {
 public:
  explicit UnknownNumbers(const ModelDeck& m)
      : NUMA_(m.NUMA), NUMB_(m.NUMB), coupling_(m.COUPLING) {}
  bool coupled() const { return coupling_ == Coupling::COUPLED; }
  // Extended number of component c of the point at offset (m, n) from real point (I, J).
  int unknown(const Edge& e, int c, int m, int n) const {
    return EQN(e.I + m + kFictitiousRows, e.J + n + kFictitiousRows, NUMA_, NUMB_,
               Numbering::EXTENDED, coupling_) +
           (coupled() ? c : 0);
  }

 private:
  int NUMA_, NUMB_;
  Coupling coupling_;
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

// At most four conditions are solved together (a free corner of the coupled solution).
constexpr int kMostConditions = 4;
using Small = std::array<std::array<double, kMostConditions>, kMostConditions>;

// The inverse of G of size n by Gauss-Jordan elimination with partial pivoting; false for a
// singular G.
bool solveSmall(Small G, int n, Small& inverse) {
  Small X{};
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

// Adds `factor` times unknown q to `terms`, written through its relation when it has one.
void addSubstituted(Terms& terms, int q, double factor, const Relations& known) {
  const auto it = known.find(q);
  if (it == known.end()) {
    terms[q] += factor;
    return;
  }
  for (const auto& [r, c] : it->second) terms[r] += factor * c;
}

// The terms of a functional over the unknowns of the extended grid, every unknown with a
// known relation written through it.
Terms termsOf(const Functional& F, const Edge& g, const UnknownNumbers& num,
              const Relations& known) {
  Terms t;
  for (int c = 0; c < 3; ++c)
    for (int m = -2; m <= 2; ++m)
      for (int q = -2; q <= 2; ++q)
        if (const double v = F.at(c, m, q); v != 0.0)
          addSubstituted(t, num.unknown(g, c, m, q), v, known);
  return t;
}

// Solves the conditions F[k] = 0 for the unknowns x and writes their relations into `out`.
void solveConditions(const std::vector<Terms>& F, const std::vector<int>& x, Relations& out) {
  const int n = static_cast<int>(x.size());
  Small G{}, Ginv{};
  for (int k = 0; k < n; ++k)
    for (int i = 0; i < n; ++i) {
      const auto it = F[static_cast<std::size_t>(k)].find(x[static_cast<std::size_t>(i)]);
      G[k][i] = it == F[static_cast<std::size_t>(k)].end() ? 0.0 : it->second;
    }
  if (!solveSmall(G, n, Ginv)) return;
  for (int i = 0; i < n; ++i) {
    Terms& terms = out[x[static_cast<std::size_t>(i)]];
    terms.clear();
    for (int k = 0; k < n; ++k)
      for (const auto& [q, v] : F[static_cast<std::size_t>(k)])
        if (std::find(x.begin(), x.end(), q) == x.end()) terms[q] -= Ginv[i][k] * v;
  }
}

// Nnn = Nnt = 0 (coupled) and Mnn = 0 at the edge point, solved for the components of P(-1).
void firstRowRelations(const Edge& g, const StiffnessField& field, const UnknownNumbers& num,
                       double DX, double DY, Relations& out) {
  Strains e(DX, DY);
  edgeNodeStrains(e, g);
  const PlaneStiffness& S = field.nearest(g.I, g.J);
  const bool coupled = num.coupled();
  std::vector<int> forces{g.normalX ? MXX : MYY};
  std::vector<int> x{num.unknown(g, W, -g.dm, -g.dn)};
  if (coupled) {
    forces.insert(forces.end(), {g.normalX ? NXX : NYY, NXY});
    x.insert(x.end(), {num.unknown(g, g.normalComponent(), -g.dm, -g.dn),
                       num.unknown(g, g.tangentComponent(), -g.dm, -g.dn)});
  }
  const Relations none;  // the conditions of an edge point name no other fictitious point
  std::vector<Terms> F;
  for (int f : forces) {
    Functional fn;
    addForce(fn, e, S, f, 1.0, coupled);
    F.push_back(termsOf(fn, g, num, none));
  }
  solveConditions(F, x, out);
}

// The effective shear dMnn/dn + 2 dMnt/dt = 0 at the edge point, solved for w of P(-2); and,
// coupled, u and v of P(-2) continuing P0 and P(-1) linearly.
void secondRowRelations(const Edge& g, const StiffnessField& field, const UnknownNumbers& num,
                        double DX, double DY, const Relations& first, Relations& out,
                        int cornerStep = 0) {
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
  if (cornerStep != 0) {
    // At a free corner Mxy is 0: 2 dMnt/dt from the half point inside and the corner.
    const int a = cornerStep == 1 ? 0 : -1;
    if (g.normalX) {
      yHalfStrains(e, a, 0);
      addForce(F, e, meanStiffness(field, g.I + a, g.J, 1, 0), MXY, cornerStep * 4.0 / DY, coupled);
    } else {
      xHalfStrains(e, 0, a);
      addForce(F, e, meanStiffness(field, g.I, g.J + a, 0, 1), MXY, cornerStep * 4.0 / DX, coupled);
    }
  } else if (g.normalX) {
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
  solveConditions({termsOf(F, g, num, first)}, {num.unknown(g, W, -2 * g.dm, -2 * g.dn)}, out);
  if (!coupled) return;
  for (int c : {U, V}) {
    Terms& t = out[num.unknown(g, c, -2 * g.dm, -2 * g.dn)];
    t.clear();
    addSubstituted(t, num.unknown(g, c, -g.dm, -g.dn), 2.0, first);
    addSubstituted(t, num.unknown(g, c, 0, 0), -1.0, first);
  }
}

// A corner of two free edges: the point, with the steps into the slab across its edge
// normal to y (dm) and its edge normal to x (dn).
struct Corner {
  int I, J, dm, dn;
  Edge frame() const { return {I, J, dm, dn, true}; }
};

// The fictitious points beside a free corner: Mxx = Myy = 0 (and, coupled, Nxx = Nyy = 0) at
// the corner, kxy from the one cell inside, solved together for w (and the normal
// displacements) beyond both edges; the tangential displacements beyond an edge continue
// those of the corner and its neighbour linearly.
void cornerFirstRows(const Corner& k, const StiffnessField& field, const UnknownNumbers& num,
                     double DX, double DY, Relations& first) {
  const Edge g = k.frame();
  const bool coupled = num.coupled();
  const int L = 0, Ln = -k.dn, B = -k.dm;  // L = (0, -dn), B = (-dm, 0)
  if (coupled) {
    Terms& vL = first[num.unknown(g, V, L, Ln)];
    vL = {{num.unknown(g, V, 0, 0), 2.0}, {num.unknown(g, V, 0, k.dn), -1.0}};
    Terms& uB = first[num.unknown(g, U, B, 0)];
    uB = {{num.unknown(g, U, 0, 0), 2.0}, {num.unknown(g, U, k.dm, 0), -1.0}};
  }
  Strains e(DX, DY);
  nodeStrains(e, 0, 0);
  e[KXY].count = 0;
  addCellTwist(e, k.dm == 1 ? 0 : -1, k.dn == 1 ? 0 : -1, 1.0);
  const PlaneStiffness& S = field.nearest(k.I, k.J);
  std::vector<int> forces{MXX, MYY};
  std::vector<int> x{num.unknown(g, W, L, Ln), num.unknown(g, W, B, 0)};
  if (coupled) {
    forces.insert(forces.end(), {NXX, NYY});
    x.insert(x.end(), {num.unknown(g, U, L, Ln), num.unknown(g, V, B, 0)});
  }
  std::vector<Terms> F;
  for (int f : forces) {
    Functional fn;
    addForce(fn, e, S, f, 1.0, coupled);
    F.push_back(termsOf(fn, g, num, first));
  }
  solveConditions(F, x, first);
}

// The corner condition: no twisting moment at a free corner (its corner force 2 Mxy is 0),
// solved for w of the diagonal point beyond the corner; coupled, u and v there continue
// bilinearly.
void cornerDiagonal(const Corner& k, const StiffnessField& field, const UnknownNumbers& num,
                    double DX, double DY, Relations& first) {
  const Edge g = k.frame();
  const bool coupled = num.coupled();
  Strains e(DX, DY);
  nodeStrains(e, 0, 0);
  Functional fn;
  addForce(fn, e, field.nearest(k.I, k.J), MXY, 1.0, coupled);
  if (coupled) {
    for (int c : {U, V}) {
      Terms& d = first[num.unknown(g, c, -k.dm, -k.dn)];
      d.clear();
      addSubstituted(d, num.unknown(g, c, 0, -k.dn), 1.0, first);
      addSubstituted(d, num.unknown(g, c, -k.dm, 0), 1.0, first);
      addSubstituted(d, num.unknown(g, c, 0, 0), -1.0, first);
    }
  }
  solveConditions({termsOf(fn, g, num, first)}, {num.unknown(g, W, -k.dm, -k.dn)}, first);
}

void writeRelations(const Relations& relations, ConstraintTable& table) {
  for (const auto& [dependent, terms] : relations)
    for (const auto& [independent, coefficient] : terms)
      if (coefficient != 0.0) table.append(dependent, independent, coefficient);
}

// A symmetric edge: w and the tangential displacement even, the normal one odd and held.
void symmetricRows(const Edge& g, int loc, const ModelDeck& model, const UnknownNumbers& num,
                   ConstraintTable& table) {
  for (int k : {1, 2}) {
    table.append(num.unknown(g, W, -k * g.dm, -k * g.dn), num.unknown(g, W, k * g.dm, k * g.dn),
                 1.0);
    if (!num.coupled()) continue;
    for (int c : {U, V}) {
      const double s = c == g.normalComponent() ? -1.0 : 1.0;
      table.append(num.unknown(g, c, -k * g.dm, -k * g.dn), num.unknown(g, c, k * g.dm, k * g.dn),
                   s);
    }
  }
  if (!num.coupled() || loc <= 0) return;
  const int c = g.normalComponent();
  table.append(EQN(g.I, g.J, model.NUMA, model.NUMB, Numbering::REAL, model.COUPLING) + c,
               constraint_kind::DROPPED_EQUATION, 0.0);
  table.append(num.unknown(g, c, 0, 0), constraint_kind::FIXED_UNKNOWN, 0.0);
}

}  // namespace

void naturalEdgeRows(const BoundaryPointList& FREE, const BoundaryPointList& FREESYM,
                     ConstraintTable& table, const ModelDeck& model, const StiffnessField& field) {
  const UnknownNumbers num(model);
  const DifferenceGrid grid{model.A, model.B, model.NUMA, model.NUMB};
  const double DX = grid.DX(), DY = grid.DY();
  // The steps into the slab of the free edges of every free point: a point with an edge
  // normal to x and one normal to y is a free corner.
  std::map<std::pair<int, int>, Corner> steps;
  for (int k = 1; k <= FREE.count() && FREE.I(k) != 0; ++k) {
    if (!hasEdge(FREE.location(k))) continue;
    const Edge g = edgeOf(FREE.I(k), FREE.J(k), FREE.location(k));
    Corner& c = steps.try_emplace({g.I, g.J}, Corner{g.I, g.J, 0, 0}).first->second;
    (g.normalX ? c.dn : c.dm) = g.normalX ? g.dn : g.dm;
  }
  auto isCorner = [&steps](const Edge& g) {
    const Corner& c = steps.at({g.I, g.J});
    return c.dm != 0 && c.dn != 0;
  };
  Relations first, second;
  for (int k = 1; k <= FREE.count() && FREE.I(k) != 0; ++k) {
    if (!hasEdge(FREE.location(k))) continue;
    const Edge g = edgeOf(FREE.I(k), FREE.J(k), FREE.location(k));
    if (!isCorner(g)) firstRowRelations(g, field, num, DX, DY, first);
  }
  for (const auto& [point, c] : steps)
    if (c.dm != 0 && c.dn != 0) cornerFirstRows(c, field, num, DX, DY, first);
  for (const auto& [point, c] : steps)
    if (c.dm != 0 && c.dn != 0) cornerDiagonal(c, field, num, DX, DY, first);
  for (int k = 1; k <= FREE.count() && FREE.I(k) != 0; ++k) {
    if (!hasEdge(FREE.location(k))) continue;
    const Edge g = edgeOf(FREE.I(k), FREE.J(k), FREE.location(k));
    const Corner& c = steps.at({g.I, g.J});
    const int along = !isCorner(g) ? 0 : g.normalX ? c.dm : c.dn;
    secondRowRelations(g, field, num, DX, DY, first, second, along);
  }
  writeRelations(first, table);
  writeRelations(second, table);
  for (int k = 1; k <= FREESYM.count() && FREESYM.I(k) != 0; ++k) {
    const int loc = FREESYM.location(k);
    if (hasEdge(loc))
      symmetricRows(edgeOf(FREESYM.I(k), FREESYM.J(k), loc), loc, model, num, table);
  }
}

void extendedValues(const ConstraintTable& table, const ModelDeck& model,
                    const Matrix<double>& solution, std::vector<double>& values) {
  const int perPoint = unknownsPerPoint(model.COUPLING);
  values.assign(static_cast<std::size_t>(extendedUnknowns(model.NUMA, model.NUMB, model.COUPLING)),
                0.0);
  for (int J = 1; J <= model.NUMA; ++J)
    for (int I = 1; I <= model.NUMB; ++I) {
      const int q = EQN(I + kFictitiousRows, J + kFictitiousRows, model.NUMA, model.NUMB,
                        Numbering::EXTENDED, model.COUPLING);
      const int r = EQN(I, J, model.NUMA, model.NUMB, Numbering::REAL, model.COUPLING);
      for (int c = 0; c < perPoint; ++c)
        values[static_cast<std::size_t>(q - 1 + c)] = solution(r + c);
    }
  for (int k = 1; k <= table.count(); ++k) {
    if (table.second(k) <= 0) continue;
    const auto dependent = static_cast<std::size_t>(table.first(k) - 1);
    values[dependent] +=
        table.coefficient(k) * values[static_cast<std::size_t>(table.second(k) - 1)];
  }
}

}  // namespace korvant
