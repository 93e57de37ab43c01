// The engineer's hand check of a slab's strength: the yield-line collapse pressure of the
// section and support layout of a model. The plastic moments per unit width come from the
// steel of the section (As fy (d - a/2), the depth a of the compression block from the
// concrete's compressive strength), the collapse pressure from the classical mechanism of
// the layout. It is an upper bound of plasticity theory, set beside the collapse load the
// nonlinear analysis predicts.
#pragma once

#include <string>

#include "core/model_deck.hpp"

namespace korvant {

// Plastic moments per unit width. mx is resisted by bars along x (bending in the x-z plane),
// my by bars along y; sagging from the steel below the middle surface, hogging from the
// steel above it. A bar layer at THETA to x counts cos^2 THETA along x and sin^2 THETA along y.
struct PlasticMoments {
  double mx = 0.0, my = 0.0;        // sagging
  double mxTop = 0.0, myTop = 0.0;  // hogging
};

// The plastic moments of the layer stack of zone row `zone` of `model`.
PlasticMoments plasticMoments(const ModelDeck& model, int zone);

// A yield-line estimate, or why there is none.
struct YieldLineEstimate {
  bool available = false;
  double pressure = 0.0;  // the collapse pressure, in the deck's units
  std::string reason;     // when not available
  PlasticMoments moments;
};

// The classical collapse pressure of the model's layout for its one zone: Johansen's pattern
// for simply supported and clamped rectangles (orthotropic steel by the affinity theorem,
// clamped edges with the hogging moments), the one-way spans of the SFSF and FSFS layouts,
// and the folding mechanisms across the panels of the column layouts.
YieldLineEstimate yieldLineEstimate(const ModelDeck& model);

// Johansen's pattern for a simply supported a x b rectangle with moments mx and my; with
// my = 0 (or mx = 0) it is the one-way span in x (or y).
double simplySupportedRectangle(double a, double b, double mx, double my);

// The same rectangle clamped on all four edges with the hogging moments mxTop and myTop.
double clampedRectangle(double a, double b, const PlasticMoments& m);

}  // namespace korvant
