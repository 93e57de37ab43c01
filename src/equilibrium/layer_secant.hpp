// The secant plane-stress stiffness of one layer at one point, under the strains of the
// layer's centre, after the rotating smeared crack model (Vecchio & Collins 1986; Vecchio
// 1990 for the secant form): the concrete follows the uniaxial laws along the principal
// strain directions, with Poisson's ratio while uncracked and none once cracked, and the
// shear modulus that keeps the principal stresses along the principal strains; bars carry
// stress along their own direction only.
// Vectors are in slab axes (xx, yy, xy, the shear an engineering strain); a Stiffness3
// relates such stresses to such strains.
#pragma once

#include <array>
#include <limits>
#include <vector>

#include "core/matrix.hpp"
#include "equilibrium/material_laws.hpp"
#include "section/section_stiffness.hpp"

namespace korvant::equilibrium {

using Plane3 = std::array<double, 3>;

struct Stiffness3 {
  std::array<double, 9> q{};
  double& operator()(int i, int j) { return q[static_cast<std::size_t>(3 * i + j)]; }
  double operator()(int i, int j) const { return q[static_cast<std::size_t>(3 * i + j)]; }
  Plane3 operator*(const Plane3& e) const;
};

// The components xx, yy, xy of the section code's 6 x 6 matrices, in the order of a Plane3,
// and the in-plane part of such a matrix.
inline constexpr int kPlaneComponents[3] = {component::XX, component::YY, component::XY};
Stiffness3 inPlane(const Matrix<double>& M);

// What a layer remembers of the path: the smallest secants it has had (infinite before any
// strain), so that no secant grows again, and the failures it has met. The concrete keeps one
// tension and one compression secant for each principal direction, the first for the larger
// principal strain (the rotating directions keep their order, not their angle).
struct LayerMemory {
  static constexpr double kNone = std::numeric_limits<double>::infinity();
  std::array<double, 2> tensionSecant{kNone, kNone};      // concrete
  std::array<double, 2> compressionSecant{kNone, kNone};  // concrete
  double steelSecant = kNone;                             // bars, along them
  bool cracked = false, crushed = false, yielded = false;
};

enum class LayerMaterial { Concrete, Bars, Combined };

// One layer of a section, in plain numbers.
struct SectionLayer {
  LayerMaterial material = LayerMaterial::Concrete;
  double thick = 0.0;       // thickness
  double z = 0.0;           // height of the layer's centre above the lower face
  double theta = 0.0;       // bar direction from the x axis, degrees
  ConcreteLaw concrete;     // concrete and combined layers
  SteelLaw steel;           // bars and combined layers
  double barArea = 0.0;     // bar area per unit width (bars and combined layers)
  double barRadius = 0.0;   // combined layers: bar radius,
  double barSpacing = 0.0;  //   spacing
  double steelNu = 0.0;     //   and the steel's Poisson ratio
  int deckLayer = -1;       // position of the deck layer it is a slice of (from 0); -1: its own
};

// A direction in the plane by the cosine and sine of twice its angle from x: what the
// rotation of strains and stiffnesses needs (Jones 1975, 2.6, in double-angle form), found
// from a strain state without any trigonometric function.
struct Direction {
  double c2 = 1.0, s2 = 0.0;
  static Direction of(double angle);               // radians from x
  Direction across() const { return {-c2, -s2}; }  // the direction at right angles
  // This direction seen from `base`: the angle between them.
  Direction from(const Direction& base) const {
    return {c2 * base.c2 + s2 * base.s2, s2 * base.c2 - c2 * base.s2};
  }
  // The squared cosine of the angle between this direction and `other`.
  double cosSquared(const Direction& other) const {
    return 0.5 * (1.0 + c2 * other.c2 + s2 * other.s2);
  }
};

// Bars that cross the cracks of a concrete layer: their ratio over the effective tension
// area, their direction and the stress they can still take before they yield.
struct CrossingBar {
  double rho = 0.0;
  Direction along;
  double reserve = 0.0;
};

struct LayerResponse {
  Stiffness3 Q;          // secant stiffness in slab axes
  Plane3 stress{};       // Q times the strains
  double barStress = 0;  // stress in the bars, along them (bars and combined layers)
  LayerMemory memory;    // the memory once these strains are accepted
};

// The principal strains e1 >= e2 of `e` and the direction of e1; the slab axis of the larger
// normal strain when they differ by less than 2 isotropicBelow.
struct Principal {
  double e1 = 0.0, e2 = 0.0;
  Direction direction;
};
Principal principalStrains(const Plane3& e, double isotropicBelow = 0.0);

// A layer whose principal strains differ by less than twice this fraction of its cracking
// strain takes its cracks along the slab axes, the axes of the bars. Such a state is
// isotropic to within the differences' own error (at a slab's centre or on its lines of
// symmetry the twist is zero, and the sign of its round-off would otherwise turn the cracks
// by up to 45 degrees from one iterate to the next, with the coupling terms of an
// anisotropic secant following them); an orthogonally reinforced layer strained alike both
// ways has its principal axes along its bars.
inline constexpr double kIsotropicStrain = 0.2;

// The stiffness Q given in axes along direction `d`, seen in slab axes: T^T Q T with T the
// transformation of engineering strains into those axes (Jones 1975, Mechanics of Composite
// Materials, 2.6).
Stiffness3 toSlabAxes(const Stiffness3& Q, const Direction& d);

// The strain along direction `d`.
double strainAlong(const Plane3& e, const Direction& d);

// The direction of the layer's bars.
Direction barDirection(const SectionLayer& layer);

// The bars of layer `bars` crossing a crack, of ratio rho over the effective tension area,
// under the bar stress fs: what they can still take before they yield.
CrossingBar crossingBar(const SectionLayer& bars, double rho, double fs);

// The stress the bars crossing a crack whose normal is along `normal` can pass to the
// concrete between the cracks: sum of rho (fy - fs) cos^2 of the angle between bar and normal
// (the crack check of Vecchio & Collins 1986).
double crackCapacity(const std::vector<CrossingBar>& bars, const Direction& normal);

// The secant stiffness of the layer under the strains `e` at its centre, from the memory of
// the path; `bars` are the bars crossing its cracks (concrete and combined layers).
LayerResponse layerSecant(const SectionLayer& layer, const Plane3& e, const LayerMemory& memory,
                          const std::vector<CrossingBar>& bars, TensionStiffening ts);

}  // namespace korvant::equilibrium
