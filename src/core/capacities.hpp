// The capacities of the build: every array of a run is allocated once from them at start.
#pragma once

namespace korvant {

// Fixed capacities of the build; storage is allocated once from them at start.
struct Capacities {
  int MXD1 = 4000;  // equation rows
  int MXBD = 4000;  // storage columns of the equation store
  int MXD2 = 3500;  // boundary point lists and constraint rows
  int MXD3 = 500;   // user-defined boundary points
  int MXD5 = 20;    // rows of each model table
};

// The capacities of a run on the sparse equation store: the equations are limited by the
// memory of the machine instead of MXD1 and MXBD (about kSparseBytesPerEquation bytes an
// equation for the store, its factors and the run's vectors, in half the physical memory);
// the boundary lists and constraint rows grow with them. The model tables keep the build's.
inline constexpr long long kSparseBytesPerEquation = 16 * 1024;
Capacities machineCapacities();

// The capacities that just hold a grid of `extendedUnknowns` equations on the sparse store,
// the size its arrays are allocated with once the deck has been read: MXD1 and MXBD the
// equations, MXD2 four rows an equation (never fewer than the build's), MXD3 and MXD5 those
// of `limits`.
Capacities gridCapacities(const Capacities& limits, long long extendedUnknowns);

}  // namespace korvant
