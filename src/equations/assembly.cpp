#include "equations/assembly.hpp"

#include "equations/pressure.hpp"
#include "equations/support_points.hpp"

namespace korvant {

using fmt::I;
using fmt::X;

namespace {

// Storage column of the coefficient of equation r and unknown q: q itself in full
// storage; in band storage the column whose offset from the diagonal column is q - r.
int storageColumn(const EquationStore& store, bool band, int r, int q) {
  return band ? q - r + store.diagonalColumn() : q;
}

void addEntry(EquationStore& store, bool band, int r, int q, double value) {
  if (store.sparse()) {
    store.rows.add(r, q, value);
    return;
  }
  const int c = storageColumn(store, band, r, q);
  if (c < 1) return;
  store.K(r, c) += value;
  store.markWritten(r, r, c);
}

// Highest offset of a point's equations (and unknowns) from its first one.
int lastComponent(Coupling couplingOption) {
  return couplingOption == Coupling::COUPLED ? 2 : 0;
}

// The plane stiffness of every real point, support points included, from its current
// layer table.
void stiffnessOfEveryPoint(const ModelDeck& model, const DifferenceGrid& grid,
                           const RecordStore& currentLayers, AssemblyWork& work) {
  work.field.resize(grid.NUMA, grid.NUMB);
  for (int J = 1; J <= grid.NUMA; ++J) {
    for (int I = 1; I <= grid.NUMB; ++I) {
      ABDMAT(work.layers, I, J, work.abd, grid.NUMB, model.NEUTRAL, currentLayers);
      work.field.at(I, J) = planeStiffness(work.abd);
    }
  }
}

}  // namespace

void LOADG(EquationStore& store, int row, int column, int m, int n, const StencilSet& C,
           Coupling couplingOption, EquationSolver solverOption, Writer& report, int& errors,
           EquationForm form) {
  const bool band = solverOption == EquationSolver::BAND;
  const int last = lastComponent(couplingOption);

  // 1. The storage column of the block's first row and unknown; in band storage a block
  //    wholly left of the stored band is not stored. A sparse store has no storage columns:
  //    every unknown has its place.
  const int first = store.sparse() ? column : storageColumn(store, band, row, column);
  if (band && first < 1) return;

  // 2. Capacity of the store.
  if (row + last > store.MXD1()) {
    report.line("***ERROR: EQUATION STORAGE FOR ROW", I(5, row + last), "EXCEEDS MAXIMUM");
    report.line(X(10), "DIMENSION OF", I(5, store.MXD1()), ". INCREASE MXD1");
    ++errors;
    return;
  }
  if (first + last > store.MXBD()) {
    report.line("***ERROR: EQUATION STORAGE FOR COLUMN", I(5, first + last), " EXCEEDS");
    report.line(X(10), "MAXIMUM DIMENSION OF", I(5, store.MXBD()), ". INCREASE MXBD");
    ++errors;
    return;
  }

  // 3. The block: equation e and unknown f of the point pair (0 u, 1 v, 2 w).
  //    A sparse store takes only the positions a stencil can reach (zero elsewhere anyway).
  auto add = [&](int e, int f, int k) {
    if (!store.sparse() || formReaches(form, k, m, n))
      addEntry(store, band, row + e, column + f, C(k)(m, n));
  };
  if (couplingOption != Coupling::COUPLED) {
    add(0, 0, stencil::W_ON_W);
    return;
  }
  for (int f = 0; f <= last; ++f) {
    for (int e = 0; e <= last; ++e) add(e, f, stencil::number(e, f));
  }
}

void LOADC(EquationStore& store, const StencilSet& C, double pressure, int I, int J,
           const DifferenceGrid& grid, Coupling couplingOption, EquationSolver solverOption,
           Writer& report, int& errors, EquationForm form) {
  const int row = EQN(I, J, grid.NUMA, grid.NUMB, Numbering::REAL, couplingOption);
  const int wRow = row + lastComponent(couplingOption);

  // The load acts on the w equation only. A row beyond the store is left to the first
  // stencil position, which reports it.
  if (wRow <= store.MXD1()) store.RHS(wRow) += pressure;

  const int before = errors;
  for (int m = 1; m <= kStencilWidth; ++m) {
    for (int n = 1; n <= kStencilWidth; ++n) {
      // Extended indices of stencil point (I + m - 3, J + n - 3).
      const int column =
          EQN(I + m - 1, J + n - 1, grid.NUMA, grid.NUMB, Numbering::EXTENDED, couplingOption);
      LOADG(store, row, column, m, n, C, couplingOption, solverOption, report, errors, form);
      if (errors != before) return;
    }
  }
}

void ASSEMBLE(EquationStore& store, const ModelDeck& model, const RecordStore& currentLayers,
              int loadNumber, double loadFactor, AssemblyWork& work, Writer& report, int& fatal,
              EquationForm form) {
  // 1. Every pass starts from an empty store: the previous pass's solver reused its memory.
  //    Only the entries written since the last clearing can be non-zero, and only those
  //    are set to zero again.
  store.clear();

  // 2. The grid.
  const DifferenceGrid grid{model.A, model.B, model.NUMA, model.NUMB};
  const double DX = grid.DX(), DY = grid.DY();

  // The equations on the section forces read the stiffness of the point's neighbours too.
  const bool conservative = form == EquationForm::Conservative;
  if (conservative && !work.fieldGiven) stiffnessOfEveryPoint(model, grid, currentLayers, work);

  // 3. - 5. The equations of every point the layout does not support.
  const int before = fatal;
  for (int J = 1; J <= grid.NUMA; ++J) {
    for (int I = 1; I <= grid.NUMB; ++I) {
      if (isSupportPoint(model, I, J)) continue;
      if (conservative) {
        CONSC(work.field, I, J, DX, DY, work.C, model.COUPLING == Coupling::COUPLED);
      } else {
        ABDMAT(work.layers, I, J, work.abd, grid.NUMB, model.NEUTRAL, currentLayers);
        COMPC(work.abd, DX, DY, work.C);
      }
      const double p = PRESSURE(model, grid.x(J), grid.y(I), loadNumber, report, fatal);
      if (fatal != before) return;
      LOADC(store, work.C, p * loadFactor, I, J, grid, model.COUPLING, model.SOLVER, report, fatal,
            form);
      if (fatal != before) return;
    }
  }
}

}  // namespace korvant
