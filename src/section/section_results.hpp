// What an engineer reads off a solved section, point by point: the section forces per unit
// width, the bars' strain, stress and utilisation, how deep the cracks reach from each face
// and the characteristic crack width at a cracked face. Each is computed from one point's
// layer table, its recovered layer strains and stresses and its layer state, whatever
// analysis made them; nothing here reads or writes a working file.
#pragma once

#include <vector>

#include "core/codes.hpp"
#include "section/layer_results.hpp"
#include "section/layer_state.hpp"
#include "section/layer_table.hpp"

namespace korvant {

// Forces per unit width of the section: membrane forces N = integral of the stress through
// the depth, moments M = - integral of the stress times the height above the mid-depth, so
// that a positive moment puts the lower face in tension (sagging) and a negative one the
// upper face (hogging).
struct SectionForces {
  double nxx = 0.0, nyy = 0.0, nxy = 0.0;
  double mxx = 0.0, myy = 0.0, mxy = 0.0;
};

// The principal moments m1 >= m2 and the direction of m1, degrees from the x axis
// (-90 to 90).
struct PrincipalMoments {
  double m1 = 0.0, m2 = 0.0, angle = 0.0;
};

// The section forces of one point. Within a layer the stress varies linearly: its value at
// the layer's centre comes from `results` (for a combined layer the concrete and the bar
// stress mixed by the steel volume fraction), its slope is the layer's stiffness times the
// curvature, the slope of the layer strains between the outermost layers. A point with one
// layer has no such slope and is taken as uniform through each layer.
SectionForces sectionForces(const PointLayerTable& table, const LayerResults& results);

// Mohr's circle of the moments (Timoshenko and Woinowsky-Krieger, Theory of Plates and
// Shells, 1959, sec. 11).
PrincipalMoments principalMoments(const SectionForces& f);

// A layer of bars (a steel layer or a combined one) at a point: its number in the table,
// the height of its centre above the lower face, the strain and stress along the bars (for
// a steel layer the stress of the smeared layer, which the yield test compares with Y), the
// utilisation |stress| / Y and whether it has yielded (its yield index has reached 1).
struct BarLayerResult {
  int layer = 0;
  double z = 0.0;
  double theta = 0.0;      // direction of the bars, degrees from the x axis
  bool lowerHalf = false;  // the layer's centre lies below the mid-depth
  double strain = 0.0, stress = 0.0, utilisation = 0.0;
  bool yielded = false;
};

std::vector<BarLayerResult> barLayerResults(const PointLayerTable& table,
                                            const LayerResults& results, const LayerState& state);

// How deep the cracks reach from each face, over the section depth (0 to 1): from the face
// inwards, the concrete layers that have failed (any failure index at 1 or more) and are
// strained in tension along some direction; the first concrete layer that is not stops the
// crack, bar layers neither stop nor count.
struct CrackDepths {
  double lower = 0.0, upper = 0.0;
};

CrackDepths crackDepths(const PointLayerTable& table, const LayerResults& results,
                        const LayerState& state);

// The inputs of the crack width at one bar layer, all in the deck's consistent units.
struct CrackWidthInputs {
  double h = 0.0;           // depth of the section
  double barCentre = 0.0;   // distance from the tension face to the centre of the bar layer
  double crackDepth = 0.0;  // h - x: depth of the cracked concrete from the tension face
  double diameter = 0.0;    // bar diameter
  double spacing = 0.0;     // bar spacing
  double sigmaS = 0.0;      // stress in the bars at the crack (tension positive)
  double Es = 0.0;          // modulus of the bars
  double Ecm = 0.0;         // modulus of the concrete, undamaged
  double fctEff = 0.0;      // tensile strength of the concrete
};

struct CrackWidth {
  double srMax = 0.0;   // maximum crack spacing
  double rhoEff = 0.0;  // bar area over the effective tension area
  double strain = 0.0;  // eps_sm - eps_cm
  double wk = 0.0;      // characteristic crack width
};

// EN 1992-1-1:2004, 7.3.4: w_k = s_r,max (eps_sm - eps_cm), with
//   eps_sm - eps_cm = [sigma_s - k_t f_ct,eff / rho_p,eff (1 + alpha_e rho_p,eff)] / E_s
//                     but not below 0.6 sigma_s / E_s          (7.9), k_t = 0.4 (long-term)
//   rho_p,eff = A_s / A_c,eff, A_c,eff = h_c,eff per unit width,
//   h_c,eff = min(2.5 (h - d), (h - x) / 3, h / 2)            (7.3.2 (3))
//   s_r,max = k3 c + k1 k2 k4 phi / rho_p,eff                  (7.11), c the cover to the bars,
//             k1 = 0.8 (bond of ribbed bars), k2 = 0.5 (bending), k3 = 3.4, k4 = 0.425;
//   s_r,max = 1.3 (h - x) where the spacing exceeds 5 (c + phi / 2)   (7.14).
// No width (all zero) when the bars are not in tension.
CrackWidth crackWidthEC2(const CrackWidthInputs& in);

}  // namespace korvant
