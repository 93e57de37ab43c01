// RESET: the current layer moduli restored before a yielding pass is re-attempted, so that
// the yielding of the failed pass is undone while the concrete cracking found so far stands.
#pragma once

#include "core/model_deck.hpp"
#include "core/record_store.hpp"
#include "section/degradation.hpp"

namespace korvant {

// RESET: for every point (I = 1..NUMB outer, J = 1..NUMA inner) rewrites the current layer
// table (unit 20): a steel layer takes its initial E1, E2 and MU again; a combined layer is
// mixed again from its initial steel modulus and a concrete modulus that is the initial one,
// or, when the layer state marks its concrete failed, the post-failure modulus of its damage
// law for the last mark that applies (compression, then tension, then shear); concrete layers
// keep their reduced moduli. The layer state and the initial tables are not changed.
void RESET(const ModelDeck& model, WorkingFiles& files, DegradationBuffers& buffers);

}  // namespace korvant
