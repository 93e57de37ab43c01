// INPRT: the input echo, the program banner followed by the model restated block by block.
#pragma once

#include "core/model_deck.hpp"
#include "core/writer.hpp"

namespace korvant {

void INPRT(const ModelDeck& model, const Capacities& cap, Writer& report);

}  // namespace korvant
