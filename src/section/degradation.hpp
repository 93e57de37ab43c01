// DEGRAD, the material model of the nonlinear stages: after each recovery it tests every
// layer of every point against its strengths, marks concrete layers failed in tension,
// compression or shear and steel yielded, keeps the failure indices of each layer (they never
// decrease) and writes the moduli of the layer's damage law into the current layer table,
// from which the next solution assembles the stiffness.
#pragma once

#include "core/model_deck.hpp"
#include "core/record_store.hpp"
#include "core/writer.hpp"
#include "section/layer_results.hpp"
#include "section/layer_state.hpp"
#include "section/layer_table.hpp"

namespace korvant {

// The layers newly failed in the calls since the caller last set them to zero.
struct FailureCounts {
  int CINC = 0;  // concrete layers newly cracked (tension index reaching 1)
  int YINC = 0;  // steel layers and steel phases newly yielded
};

// The per-point buffers of DEGRAD, owned by the caller so that a call allocates nothing once
// they have grown to the largest point.
struct DegradationBuffers {
  PointLayerTable current;
  PointLayerTable initial;
  LayerResults results;
  LayerState state;
  DamageLawTable laws;
};

// True when NOBFAIL excludes point (I, J) from failing: a point on the outer edge of the
// slab, in a column region of the 9-column and 4-column layouts, or a clamped or simply
// supported point of a user-defined layout.
bool excludedFromFailure(const ModelDeck& model, int I, int J);

// The moduli of a combined concrete-and-steel layer mixed again from the steel modulus Es and
// the concrete modulus Ec by the steel volume fraction of its bars (at most the whole layer):
// E1 by the rule of mixtures along the bars, E2 in series across them, MU mixed by volume.
// The steel and concrete modulus fields are left as they are.
void recomposeCombinedLayer(LayerRecord& layer, double Es, double Ec);

// DEGRAD: for every point (I = 1..NUMB outer, J = 1..NUMA inner) not excluded by NOBFAIL, the
// layer tests of stage STAGE (1 cracking, 2 cracking and yielding, 3 yielding only) on the
// LayerResults of the last recovery, with the initial moduli as reference: rewrites the
// point's current layer table (unit 20) and layer state (unit 35), adds the newly failed
// layers to `counts`, raises the point's failure measure (unit 71) to its failed-layer
// ratio when PRINTREQ or GRAPHREQ asks for failure ratios, and writes the DIAG lines the
// model requests to `report`.
void DEGRAD(const ModelDeck& model, SolutionStage STAGE, WorkingFiles& files,
            DegradationBuffers& buffers, FailureCounts& counts, Writer& report);

}  // namespace korvant
