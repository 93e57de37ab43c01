#include "section/reset.hpp"

#include <algorithm>
#include <cmath>

#include "section/layer_state.hpp"

namespace korvant {
namespace {

// The concrete modulus of a combined layer after a reset: the last post-failure modulus of
// its law whose failure mark is set, the initial modulus when none is.
double restoredConcreteModulus(const LayerRecord& initial, const LayerFailure& state,
                               const DamageLaw& law) {
  double Ec = initial(layer_field::EC);
  if (state(failure_index::FICC) >= 1.0) Ec = law.modulus(law_slot::COMBINED_COMPRESSION);
  if (state(failure_index::FICT) >= 1.0) Ec = law.modulus(law_slot::COMBINED_TENSION);
  if (state(failure_index::FICS) >= 1.0) Ec = law.modulus(law_slot::COMBINED_SHEAR);
  return Ec;
}

void resetLayer(LayerRecord& layer, const LayerRecord& initial, const LayerFailure& state,
                const DamageLaw& law) {
  using namespace layer_field;
  switch (layer.kind()) {
    case LayerKind::STEEL:
      layer(E1) = initial(E1);
      layer(E2) = initial(E2);
      layer(MU) = initial(MU);
      break;
    case LayerKind::COMBINED:
      recomposeCombinedLayer(layer, initial(ES), restoredConcreteModulus(initial, state, law));
      break;
    default:  // concrete layers keep the cracking they have
      break;
  }
}

}  // namespace

void RESET(const ModelDeck& model, WorkingFiles& files, DegradationBuffers& b) {
  b.laws.load(files.damageLaws);
  for (int I = 1; I <= model.NUMB; ++I) {
    for (int J = 1; J <= model.NUMA; ++J) {
      const int n = pointRecord(I, J, model.NUMB);
      readLayerTable(files.currentLayers, n, b.current);
      readLayerTable(files.initialLayers, n, b.initial);
      readLayerState(files.layerState, n, b.state);
      const int NL = std::min({b.current.NL(), b.initial.NL(), b.state.NL()});
      for (int k = 0; k < NL; ++k) {
        LayerRecord& layer = b.current.layers[static_cast<std::size_t>(k)];
        const DamageLaw& law = b.laws.find(static_cast<int>(std::lround(layer(layer_field::DLAW))));
        resetLayer(layer, b.initial.layers[static_cast<std::size_t>(k)],
                   b.state.layers[static_cast<std::size_t>(k)], law);
      }
      writeLayerTable(files.currentLayers, n, b.current);
    }
  }
}

}  // namespace korvant
