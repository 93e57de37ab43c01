// The per-point results of the strain and stress recovery and their working-file records.
//
// LayerResults (unit 25): value 1 is NL, then 10 values per layer in table order:
//   layer number, EXX, EYY, EXY, SXX, SYY, SXY at the layer centre (strains with the initial
//   strain of the uniform membrane stresses, stresses with those stresses added), then SXX,
//   SYY, SXY of the steel phase (combined concrete-and-steel layers only; for a combined layer
//   the first seven values belong to the concrete phase).
// FibreResults (unit 70): 12 values, the mechanical strains and the stresses at the lower face
//   (outer face of the first layer) and the upper face (outer face of the last layer).
#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "core/record_store.hpp"

namespace korvant {

// Values of one layer's LayerResults entry, 1-based.
namespace result_field {
enum {
  LAYER = 1,
  EXX,
  EYY,
  EXY,
  SXX,
  SYY,
  SXY,
  STEEL_SXX,
  STEEL_SYY,
  STEEL_SXY,
  COUNT = STEEL_SXY
};
}

// Values of a FibreResults record, 1-based.
namespace fibre_field {
enum {
  LOWER_EXX = 1,
  LOWER_EYY,
  LOWER_EXY,
  UPPER_EXX,
  UPPER_EYY,
  UPPER_EXY,
  LOWER_SXX,
  LOWER_SYY,
  LOWER_SXY,
  UPPER_SXX,
  UPPER_SYY,
  UPPER_SXY,
  COUNT = UPPER_SXY
};
}

struct LayerResult {
  std::array<double, result_field::COUNT> value{};

  double& operator()(int field) { return value[static_cast<std::size_t>(field - 1)]; }
  double operator()(int field) const { return value[static_cast<std::size_t>(field - 1)]; }
};

struct LayerResults {
  std::vector<LayerResult> layers;  // lower surface first

  int NL() const { return static_cast<int>(layers.size()); }
};

struct FibreResults {
  std::array<double, fibre_field::COUNT> value{};

  double& operator()(int field) { return value[static_cast<std::size_t>(field - 1)]; }
  double operator()(int field) const { return value[static_cast<std::size_t>(field - 1)]; }
};

// Writes `results` as record n of the layer-results file. More layers than the record holds
// is a programming error (std::length_error).
void writeLayerResults(RecordStore& unit, int n, const LayerResults& results);
// Reads record n into `results`; a record never written reads as a point without layers.
void readLayerResults(const RecordStore& unit, int n, LayerResults& results);

void writeFibreResults(RecordStore& unit, int n, const FibreResults& fibre);
FibreResults readFibreResults(const RecordStore& unit, int n);

// Request positions of PRINTREQ and GRAPHREQ, 1-based, and their letters.
namespace request {
enum { DISPLACEMENTS = 1, UPPER_STRESSES, LOWER_STRESSES, UPPER_STRAINS, LOWER_STRAINS, FAILURE };
}

// True when `position` of the request string holds its request letter (D, S, S, E, E, F).
bool requested(std::string_view requests, int position);

// True when the string asks for any outer-fibre item: stresses (positions 2, 3) or strains
// (positions 4, 5).
bool fibreItemsRequested(std::string_view requests);

// The recovery writes FibreResults when either request string asks for a fibre item.
bool fibreResultsRecovered(std::string_view PRINTREQ, std::string_view GRAPHREQ);
// The degradation keeps the failure measure of every point when either string asks for it.
bool failureMeasuresKept(std::string_view PRINTREQ, std::string_view GRAPHREQ);

}  // namespace korvant
