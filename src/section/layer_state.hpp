// The failure state of the layers of a point and the damage laws, with their records on the
// working files.
//
// LayerState (unit 35), one record per point: value 1 NL, then four failure indices per
// layer in table order: FICT, FICC, FICS (concrete tension, compression and shear) and FY
// (steel yield). An index below 1 means not failed in that sense; from 1 on it is the largest
// stress (or strain) ratio seen since, and it never decreases.
//
// Damage laws (unit 30), numbered by law: record 1 holds NLAW, record k + 1 the ten columns
// of law k: LAWID, four post-failure moduli by the kind of the layer that refers to the law,
// the coefficients a, b, c, d of the reduction equation and one value not used.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "core/matrix.hpp"
#include "core/record_store.hpp"

namespace korvant {

// Failure indices of one layer, 1-based.
namespace failure_index {
enum { FICT = 1, FICC, FICS, FY, COUNT = FY };
}

struct LayerFailure {
  std::array<double, failure_index::COUNT> value{};

  double& operator()(int index) { return value[static_cast<std::size_t>(index - 1)]; }
  double operator()(int index) const { return value[static_cast<std::size_t>(index - 1)]; }
};

struct LayerState {
  std::vector<LayerFailure> layers;  // lower surface first, as the layer table

  int NL() const { return static_cast<int>(layers.size()); }
};

// Writes `state` as record n of the layer-state file; more layers than a record holds is a
// programming error (std::length_error).
void writeLayerState(RecordStore& unit, int n, const LayerState& state);
// Reads record n into `state`, reusing its storage; a record never written reads as a point
// without layers.
void readLayerState(const RecordStore& unit, int n, LayerState& state);
// The state of a point of NL layers before any of them has failed: every index 0.
void writeUnfailedLayerState(RecordStore& unit, int n, int NL);

// One damage law as stored: its identifier, the post-failure moduli by slot, the reduction
// coefficients.
struct DamageLaw {
  double LAWID = 0.0;
  std::array<double, 4> slot{};  // by position: see the slot names of each layer kind
  double a = 0.0, b = 0.0, c = 0.0, d = 0.0;

  // The post-failure modulus in slot `position` (1..4).
  double modulus(int position) const { return slot[static_cast<std::size_t>(position - 1)]; }
};

// The slot of each post-failure modulus by the kind of the layer that refers to the law: a
// steel law holds YIELDING only, a concrete law TENSION, COMPRESSION, SHEAR, a combined law
// all four.
namespace law_slot {
enum { STEEL_YIELDING = 1 };
enum { CONCRETE_TENSION = 1, CONCRETE_COMPRESSION, CONCRETE_SHEAR };
enum { COMBINED_YIELDING = 1, COMBINED_TENSION, COMBINED_COMPRESSION, COMBINED_SHEAR };
}  // namespace law_slot

// Writes the damage-law file from rows 1..NLAW of the model's DLAWS table.
void writeDamageLaws(RecordStore& unit, const Matrix<double>& DLAWS, int NLAW);

// The damage laws of the file, read once and looked up by identifier.
class DamageLawTable {
 public:
  // Reads record 1 (the count) and the laws that follow it.
  void load(const RecordStore& unit);
  // The first law whose identifier, rounded, equals `id`; when none does, the last law of
  // the file, as a search that reads every record ends on it (a law of zeros when the file
  // holds none). The input checks refuse a layer whose law does not exist.
  const DamageLaw& find(int id) const;

 private:
  std::vector<DamageLaw> laws_;
  DamageLaw none_;
};

}  // namespace korvant
