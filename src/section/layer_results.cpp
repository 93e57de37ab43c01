#include "section/layer_results.hpp"

#include <cmath>
#include <stdexcept>

namespace korvant {

void writeLayerResults(RecordStore& unit, int n, const LayerResults& results) {
  std::vector<double> record;
  record.reserve(1 + results.layers.size() * result_field::COUNT);
  record.push_back(results.NL());
  for (const LayerResult& layer : results.layers)
    record.insert(record.end(), layer.value.begin(), layer.value.end());
  unit.write(n, record);
}

void readLayerResults(const RecordStore& unit, int n, LayerResults& results) {
  const auto record = unit.read(n);
  const long NL = std::lround(record[0]);
  const long room = (static_cast<long>(record.size()) - 1) / result_field::COUNT;
  if (NL < 0 || NL > room) throw std::length_error("layer count beyond a layer-results record");
  results.layers.resize(static_cast<std::size_t>(NL));
  std::size_t at = 1;
  for (LayerResult& layer : results.layers)
    for (double& v : layer.value) v = record[at++];
}

void writeFibreResults(RecordStore& unit, int n, const FibreResults& fibre) {
  unit.write(n, fibre.value);
}

FibreResults readFibreResults(const RecordStore& unit, int n) {
  const auto record = unit.read(n);
  FibreResults fibre;
  for (std::size_t k = 0; k < fibre.value.size(); ++k) fibre.value[k] = record[k];
  return fibre;
}

bool requested(std::string_view requests, int position) {
  static constexpr std::string_view kLetters = "DSSEEF";
  if (position < 1 || position > static_cast<int>(kLetters.size())) return false;
  const auto at = static_cast<std::size_t>(position - 1);
  return at < requests.size() && requests[at] == kLetters[at];
}

bool fibreItemsRequested(std::string_view requests) {
  return requested(requests, request::UPPER_STRESSES) ||
         requested(requests, request::LOWER_STRESSES) ||
         requested(requests, request::UPPER_STRAINS) || requested(requests, request::LOWER_STRAINS);
}

bool fibreResultsRecovered(std::string_view PRINTREQ, std::string_view GRAPHREQ) {
  return fibreItemsRequested(PRINTREQ) || fibreItemsRequested(GRAPHREQ);
}

bool failureMeasuresKept(std::string_view PRINTREQ, std::string_view GRAPHREQ) {
  return requested(PRINTREQ, request::FAILURE) || requested(GRAPHREQ, request::FAILURE);
}

}  // namespace korvant
