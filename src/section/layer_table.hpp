// The layer table of a difference point: one LayerRecord of 17 values per layer, stacked
// from the lower surface of the slab (first record) to the upper surface (last record),
// and the record layout of that table on the layer-table working files (units 20, 21):
//   value 1        NL, the number of layers (a whole number)
//   value 2        the thickness-weighted mean Poisson ratio of the point
//   values 3 ...   the NL records, 17 values each, in table order
#pragma once

#include <array>
#include <cmath>
#include <vector>

#include "core/codes.hpp"
#include "core/grid.hpp"  // pointRecord
#include "core/record_store.hpp"

namespace korvant {

// Fields of a LayerRecord, 1-based.
namespace layer_field {
enum {
  KIND = 1,  // the LayerKind: 1 steel only, 2 concrete, 3 concrete and steel
  DLAW,      // damage-law identifier
  E1,        // modulus along the layer direction
  E2,        // modulus across the layer direction
  MU,        // Poisson ratio
  THICK,     // thickness
  THETA,     // layer direction from the x axis, degrees
  XT,        // concrete tensile strength
  XC,        // concrete compressive strength
  S,         // concrete shear strength
  Y,         // steel yield stress
  RADIUS,    // bar radius (combined layers)
  SPACING,   // bar spacing (combined layers)
  ES,        // steel modulus (combined layers)
  EC,        // concrete modulus (combined layers)
  MUS,       // steel Poisson ratio (combined layers)
  MUC,       // concrete Poisson ratio (combined layers)
  COUNT = MUC
};
}  // namespace layer_field

struct LayerRecord {
  std::array<double, layer_field::COUNT> value{};

  double& operator()(int field) { return value[static_cast<std::size_t>(field - 1)]; }
  double operator()(int field) const { return value[static_cast<std::size_t>(field - 1)]; }
  // The KIND field, a whole value held as a double.
  LayerKind kind() const { return static_cast<LayerKind>(std::lround((*this)(layer_field::KIND))); }
  void setKind(LayerKind kind) { (*this)(layer_field::KIND) = codeNumber(kind); }
};

struct PointLayerTable {
  double MU = 0.0;                  // thickness-weighted mean Poisson ratio
  std::vector<LayerRecord> layers;  // lower surface first

  int NL() const { return static_cast<int>(layers.size()); }
};

// Values ahead of the first record: NL and the mean Poisson ratio.
inline constexpr int kLayerTableHead = 2;

// Most layers a record of `unit` can hold.
int maxLayersPerRecord(const RecordStore& unit);

// Writes `table` as record n of `unit`. A table with more layers than the record holds is a
// programming error (std::length_error).
void writeLayerTable(RecordStore& unit, int n, const PointLayerTable& table);

// Reads record n of `unit` into `table`, reusing its storage. A record never written reads
// as a table without layers; a layer count the record cannot hold throws std::length_error.
void readLayerTable(const RecordStore& unit, int n, PointLayerTable& table);

}  // namespace korvant
