#include "section/section_stiffness.hpp"

#include <cmath>
#include <numbers>

#include "core/pi.hpp"

namespace korvant {
namespace {

// Stiffness of a layer in its own axes: a three-dimensional orthotropic material whose
// thickness direction is practically rigid and which carries no transverse shear.
struct LayerAxesStiffness {
  double C11, C22, C33, C12, C13, C23, C44, C55, C66;
};

// A minor Poisson ratio nu * Enum / Eden. A zero ratio nu stays zero even where Eden
// vanishes (E2 of a yielded steel layer), and a layer without modulus Eden gets none.
double minorRatio(double nu, double Enum, double Eden) {
  return nu == 0.0 || Eden == 0.0 ? 0.0 : nu * Enum / Eden;
}

LayerAxesStiffness layerAxesStiffness(double E1, double E2, double MU) {
  const double E3 = 1.0e6 * E1;  // a million times E1: the thickness practically rigid
  const double nu12 = MU, nu13 = 0.0, nu23 = 0.0;
  const double nu21 = minorRatio(nu12, E2, E1);
  const double nu31 = minorRatio(nu13, E3, E1);
  const double nu32 = minorRatio(nu23, E3, E2);
  const double G12 = shearModulus(E1, MU);
  const double delta = 1.0 - nu12 * nu21 - nu23 * nu32 - nu13 * nu31 - 2.0 * nu21 * nu32 * nu13;

  LayerAxesStiffness c{};
  c.C11 = E1 * (1.0 - nu23 * nu32) / delta;
  c.C22 = E2 * (1.0 - nu13 * nu31) / delta;
  c.C33 = E3 * (1.0 - nu12 * nu21) / delta;
  c.C12 = E2 * (nu12 + nu32 * nu13) / delta;
  c.C13 = E3 * (nu13 + nu12 * nu23) / delta;
  c.C23 = E3 * (nu23 + nu21 * nu13) / delta;
  c.C44 = 0.0;  // G23
  c.C55 = 0.0;  // G13
  c.C66 = G12;
  return c;
}

// Sets Q(i, j) and its mirror Q(j, i).
void setSymmetric(Matrix<double>& Q, int i, int j, double v) {
  Q(i, j) = v;
  Q(j, i) = v;
}

}  // namespace

double shearModulus(double E, double MU) {
  return E / (2.0 * (1.0 + MU));
}

void QMATX(Matrix<double>& Q, double E1, double E2, double MU, double THETA) {
  using namespace component;
  if (Q.rows() != COUNT || Q.cols() != COUNT) Q.resize(COUNT, COUNT);
  Q.fill(0.0);
  const LayerAxesStiffness C = layerAxesStiffness(E1, E2, MU);

  const double t = radians(THETA, std::numbers::pi);
  const double c = std::cos(t), s = std::sin(t);
  const double c2 = c * c, s2 = s * s;
  const double k = std::cos(2.0 * t);
  const double T = (C.C11 + C.C22 - 2.0 * C.C12 - 4.0 * C.C66) * s2 * c2;
  const double P = C.C12 + 2.0 * C.C66;

  Q(XX, XX) = C.C11 * c2 * c2 + C.C22 * s2 * s2 + 2.0 * C.C12 * s2 * c2 + 4.0 * C.C66 * s2 * c2;
  Q(YY, YY) = C.C11 * s2 * s2 + C.C22 * c2 * c2 + 2.0 * P * s2 * c2;
  Q(ZZ, ZZ) = C.C33;
  Q(YZ, YZ) = C.C44 * c2 + C.C55 * s2;
  Q(XZ, XZ) = Q(YZ, YZ);
  setSymmetric(Q, YZ, XZ, (C.C55 - C.C44) * s * c);
  Q(XY, XY) = C.C66 + T;
  setSymmetric(Q, XX, YY, C.C12 + T);
  setSymmetric(Q, XX, ZZ, C.C13 * c2 + C.C23 * s2);
  setSymmetric(Q, YY, ZZ, C.C13 * s2 + C.C23 * c2);
  setSymmetric(Q, XX, XY, s * c * (C.C11 * c2 - C.C22 * s2 - P * k));
  setSymmetric(Q, YY, XY, s * c * (C.C11 * s2 - C.C22 * c2 + P * k));
  setSymmetric(Q, ZZ, XY, s * c * (C.C13 - C.C23));
}

double lowerFaceZ(const PointLayerTable& table, NeutralSurface NEUTRAL) {
  double total = 0.0;
  double e1Moment = 0.0, e1Weight = 0.0, e2Moment = 0.0, e2Weight = 0.0;
  for (const LayerRecord& layer : table.layers) {
    const double h = layer(layer_field::THICK);
    const double zc = total + 0.5 * h;  // layer centre above the lower surface
    e1Moment += layer(layer_field::E1) * h * zc;
    e1Weight += layer(layer_field::E1) * h;
    e2Moment += layer(layer_field::E2) * h * zc;
    e2Weight += layer(layer_field::E2) * h;
    total += h;
  }
  if (NEUTRAL == NeutralSurface::GEOMETRIC_CENTRE) return -0.5 * total;
  const double e1Centroid = e1Weight != 0.0 ? e1Moment / e1Weight : 0.5 * total;
  const double e2Centroid = e2Weight != 0.0 ? e2Moment / e2Weight : 0.5 * total;
  return -0.5 * (e1Centroid + e2Centroid);
}

void sectionStiffness(const PointLayerTable& table, NeutralSurface NEUTRAL, SectionStiffness& abd) {
  abd.A.fill(0.0);
  abd.B.fill(0.0);
  abd.D.fill(0.0);
  Matrix<double> Q(component::COUNT, component::COUNT);
  double zNew = lowerFaceZ(table, NEUTRAL);
  for (const LayerRecord& layer : table.layers) {
    const double zOld = zNew;
    zNew = zOld + layer(layer_field::THICK);
    QMATX(Q, layer(layer_field::E1), layer(layer_field::E2), layer(layer_field::MU),
          layer(layer_field::THETA));
    const double a = zNew - zOld;
    const double b = 0.5 * (zNew * zNew - zOld * zOld);
    const double d = (zNew * zNew * zNew - zOld * zOld * zOld) / 3.0;
    for (int j = 1; j <= component::COUNT; ++j) {
      for (int i = 1; i <= component::COUNT; ++i) {
        abd.A(i, j) += a * Q(i, j);
        abd.B(i, j) += b * Q(i, j);
        abd.D(i, j) += d * Q(i, j);
      }
    }
  }
}

void ABDMAT(PointLayerTable& layers, int I, int J, SectionStiffness& abd, int NUMB,
            NeutralSurface NEUTRAL, const RecordStore& currentLayers) {
  readLayerTable(currentLayers, pointRecord(I, J, NUMB), layers);
  sectionStiffness(layers, NEUTRAL, abd);
}

void SETRANS(double& EXX, double& EYY, double& EXY, double& SXX, double& SYY, double& SXY,
             double angle) {
  const double s = std::sin(angle), c = std::cos(angle);
  const double exx = EXX, eyy = EYY, exy = EXY;
  EXX = c * c * exx + s * s * eyy + s * c * exy;
  EYY = s * s * exx + c * c * eyy - s * c * exy;
  EXY = 2.0 * s * c * (eyy - exx) + (c * c - s * s) * exy;
  const double sxx = SXX, syy = SYY, sxy = SXY;
  SXX = c * c * sxx + s * s * syy + 2.0 * s * c * sxy;
  SYY = s * s * sxx + c * c * syy - 2.0 * s * c * sxy;
  SXY = s * c * (syy - sxx) + (c * c - s * s) * sxy;
}

}  // namespace korvant
