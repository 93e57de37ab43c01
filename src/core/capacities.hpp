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

}  // namespace korvant
