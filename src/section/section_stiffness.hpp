// Stiffness of the layered section at a difference point. A layer is a plane orthotropic
// sheet with a practically rigid thickness direction; its 6 x 6 stiffness is rotated from
// the layer direction into slab axes and integrated through the thickness about the
// reference surface into the membrane (A), coupling (B) and bending (D) matrices.
// Component order of every 6 x 6 matrix: xx, yy, zz, yz, xz, xy (engineering shears).
#pragma once

#include "core/matrix.hpp"
#include "core/record_store.hpp"
#include "section/layer_table.hpp"

namespace korvant {

namespace component {
enum { XX = 1, YY, ZZ, YZ, XZ, XY, COUNT = XY };
}

struct SectionStiffness {
  Matrix<double> A{component::COUNT, component::COUNT};  // membrane
  Matrix<double> B{component::COUNT, component::COUNT};  // membrane-bending coupling
  Matrix<double> D{component::COUNT, component::COUNT};  // bending
};

// The in-plane shear modulus G = E / (2 (1 + MU)) of an isotropic material (Timoshenko and
// Goodier, Theory of Elasticity, 1951, sec. 4), which the layer stiffness takes for G12.
double shearModulus(double E, double MU);

// QMATX: the stiffness Q (6 x 6, resized when needed) in slab axes of a layer with moduli
// E1 along and E2 across its direction, Poisson ratio MU and direction THETA (degrees from
// the x axis). Every entry of Q is written.
void QMATX(Matrix<double>& Q, double E1, double E2, double MU, double THETA);

// z of the lower surface (the outer face of the first layer), measured from the reference
// surface chosen by NEUTRAL: 0 the geometric centre of the stack; any other value the mean
// of the E1- and the E2-weighted centroids of the layers. A modulus carried by no layer
// leaves its centroid at the geometric centre.
double lowerFaceZ(const PointLayerTable& table, NeutralSurface NEUTRAL);

// A, B and D of the layers of `table` about the reference surface chosen by NEUTRAL.
void sectionStiffness(const PointLayerTable& table, NeutralSurface NEUTRAL, SectionStiffness& abd);

// ABDMAT: reads the current layer table of point (I, J) from `currentLayers` (unit 20) into
// `layers` and returns the point's A, B and D in `abd`. A point without layers gets zeros.
void ABDMAT(PointLayerTable& layers, int I, int J, SectionStiffness& abd, int NUMB,
            NeutralSurface NEUTRAL, const RecordStore& currentLayers);

// SETRANS: rotates, in place, the in-plane strains (EXY the engineering shear) and stresses
// from slab axes into the axes of a layer whose direction makes `angle` (radians) with x.
void SETRANS(double& EXX, double& EYY, double& EXY, double& SXX, double& SYY, double& SXY,
             double angle);

}  // namespace korvant
