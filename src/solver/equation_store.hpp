// The equation system of a solution pass and what the solver needs beside it, allocated once
// per run from the capacities of the build and reused by every pass.
#pragma once

#include "input/model_deck.hpp"
#include "job/matrix.hpp"
#include "solver/scratch_unit.hpp"

namespace korvant {

// Storage modes of K (the solver option).
inline constexpr int kFullStorage = 1;
inline constexpr int kBandStorage = 2;

// K has MXD1 rows (equations) and MXBD columns. Full storage: K(row, unknown). Band storage:
// K(row, c) holds the coefficient of unknown row + c - MXBD / 2 - 1, the diagonal lying in
// column MXBD / 2 + 1. RHS is the right-hand side, one entry per equation.
struct EquationStore {
  explicit EquationStore(const Capacities& cap) : K(cap.MXD1, cap.MXBD), RHS(cap.MXD1, 1) {}

  Matrix<double> K;
  Matrix<double> RHS;

  int MXD1() const { return K.rows(); }
  int MXBD() const { return K.cols(); }
  // Storage column of the diagonal in band storage.
  int diagonalColumn() const { return MXBD() / 2 + 1; }
};

// The solver's workspaces for a run: a double and an integer vector of MXD1 entries (row
// scaling and permutation of the full solver; zero vector, condition work vector and pivot
// indices of the band solver), the band solver's scratch unit, and whether the system
// statistics have been printed yet (once per run).
struct SolverWork {
  explicit SolverWork(const Capacities& cap) : work(cap.MXD1, 1), index(cap.MXD1, 1) {}

  Matrix<double> work;
  Matrix<int> index;
  ScratchUnit scratch;
  bool statisticsWritten = false;
};

}  // namespace korvant
