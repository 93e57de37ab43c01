#include "section/recovery.hpp"

#include <array>

#include "section/section_stiffness.hpp"
#include "solver/matrix_ops.hpp"

namespace korvant {
namespace {

using namespace fmt;

// Derivatives of the displacement field at a point, and the three w values along x that
// enter the second x-derivative (W1, W2, W3 of the debug listing).
struct Derivatives {
  double DUDX = 0.0, DVDX = 0.0, DUDY = 0.0, DVDY = 0.0;
  double DWDXX = 0.0, DWDYY = 0.0, DWDXY = 0.0;
  double W1 = 0.0, W2 = 0.0, W3 = 0.0;
};

// The solution values of grid points by component; a point outside the grid gives 0.
class DisplacementField {
 public:
  DisplacementField(const Matrix<double>& solution, const DifferenceGrid& grid, Coupling COUPLING,
                    const std::vector<double>* beyondEdges)
      : solution_(solution), grid_(grid), COUPLING_(COUPLING), beyond_(beyondEdges) {}

  bool coupled() const { return COUPLING_ == Coupling::COUPLED; }
  double u(int I, int J) const { return value(I, J, 0); }
  double v(int I, int J) const { return value(I, J, 1); }
  double w(int I, int J) const { return value(I, J, coupled() ? 2 : 0); }

 private:
  double value(int I, int J, int offset) const {
    if (I < 1 || I > grid_.NUMB || J < 1 || J > grid_.NUMA) {
      if (beyond_ == nullptr) return 0.0;
      const int q = EQN(I + kFictitiousRows, J + kFictitiousRows, grid_.NUMA, grid_.NUMB,
                        Numbering::EXTENDED, COUPLING_);
      return (*beyond_)[static_cast<std::size_t>(q - 1 + offset)];
    }
    return solution_(EQN(I, J, grid_.NUMA, grid_.NUMB, Numbering::REAL, COUPLING_) + offset);
  }
  const Matrix<double>& solution_;
  const DifferenceGrid& grid_;
  Coupling COUPLING_;
  const std::vector<double>* beyond_;
};

// Central differences at (I, J); the membrane derivatives only in the coupled solution.
Derivatives differences(const DisplacementField& f, const DifferenceGrid& grid, int I, int J) {
  const double DX = grid.DX(), DY = grid.DY();
  Derivatives d;
  if (f.coupled()) {
    d.DUDX = (f.u(I, J + 1) - f.u(I, J - 1)) / (2.0 * DX);
    d.DVDX = (f.v(I, J + 1) - f.v(I, J - 1)) / (2.0 * DX);
    d.DUDY = (f.u(I + 1, J) - f.u(I - 1, J)) / (2.0 * DY);
    d.DVDY = (f.v(I + 1, J) - f.v(I - 1, J)) / (2.0 * DY);
  }
  d.W1 = f.w(I, J - 1);
  d.W2 = f.w(I, J);
  d.W3 = f.w(I, J + 1);
  d.DWDXX = (d.W1 - 2.0 * d.W2 + d.W3) / (DX * DX);
  d.DWDYY = (f.w(I - 1, J) - 2.0 * f.w(I, J) + f.w(I + 1, J)) / (DY * DY);
  d.DWDXY = (f.w(I - 1, J - 1) - f.w(I - 1, J + 1) - f.w(I + 1, J - 1) + f.w(I + 1, J + 1)) /
            (4.0 * DX * DY);
  return d;
}

struct InPlane {
  double XX = 0.0, YY = 0.0, XY = 0.0;  // strains (XY engineering shear) or stresses
};

// Strains at height z above the reference surface: membrane strains plus z times curvature.
InPlane strainAt(const Derivatives& d, double z) {
  return {d.DUDX + z * d.DWDXX, d.DVDY + z * d.DWDYY, d.DUDY + d.DVDX + 2.0 * z * d.DWDXY};
}

// One material phase of a layer: a layer is one phase, a combined layer the concrete and
// then the steel phase, each isotropic.
struct Phase {
  double E1 = 0.0, E2 = 0.0, MU = 0.0;
};

Phase layerPhase(const LayerRecord& layer) {
  return {layer(layer_field::E1), layer(layer_field::E2), layer(layer_field::MU)};
}

int phasesOf(const LayerRecord& layer, std::array<Phase, 2>& phases) {
  if (layer.kind() != LayerKind::COMBINED) {
    phases[0] = layerPhase(layer);
    return 1;
  }
  const double Ec = layer(layer_field::EC), Es = layer(layer_field::ES);
  phases[0] = {Ec, Ec, layer(layer_field::MUC)};
  phases[1] = {Es, Es, layer(layer_field::MUS)};
  return 2;
}

// Strain of the uniform membrane stresses in a phase: (along - MU * across) / E. A direction
// without modulus (a failed layer) takes no initial strain rather than an infinite one.
double initialStrain(double along, double across, double MU, double E) {
  return E != 0.0 ? (along - MU * across) / E : 0.0;
}

InPlane initialStrains(const Phase& p, double SIGMA_X, double SIGMA_Y) {
  return {initialStrain(SIGMA_X, SIGMA_Y, p.MU, p.E1), initialStrain(SIGMA_Y, SIGMA_X, p.MU, p.E2),
          0.0};
}

// Q of the phase at the layer angle times the strain vector (EXX, EYY, 0, 0, 0, EXY).
InPlane stressOf(const Phase& p, double THETA, const InPlane& e, Matrix<double>& Q) {
  using namespace component;
  QMATX(Q, p.E1, p.E2, p.MU, THETA);
  std::array<double, COUNT> strain{}, stress{};
  strain[XX - 1] = e.XX;
  strain[YY - 1] = e.YY;
  strain[XY - 1] = e.XY;
  MXMUL(Q.data(), strain.data(), stress.data(), Q.ld(), COUNT, COUNT, COUNT, 1, COUNT);
  return {stress[XX - 1], stress[YY - 1], stress[XY - 1]};
}

// Debug listing of a point, written with its first layer.
void debugPointHeader(Writer& report, double x, double y, double ZCENT, const Derivatives& d) {
  report.blank();
  report.line(X(1), "DEBUG OPERATION:    (X,Y)   = ", E(9, 3, x), X(2), E(9, 3, y), X(2));
  report.line(X(1), "                 (W1,W2,W3) = ", E(9, 3, d.W1), X(2), E(9, 3, d.W2), X(2),
              E(9, 3, d.W3), X(2));
  report.blank();
  report.line("  ZCENT       DUDX       DVDY       DUDY      DWDXX      DWDYY      DWDXY");
  report.line(E(9, 3, ZCENT), X(2), E(9, 3, d.DUDX), X(2), E(9, 3, d.DVDY), X(2), E(9, 3, d.DUDY),
              X(2), E(9, 3, d.DWDXX), X(2), E(9, 3, d.DWDYY), X(2), E(9, 3, d.DWDXY), X(2));
  report.blank();
  report.line("LAYER  EXX        EYY        EXY        SXX        SYY        SXY");
}

void debugLayerLine(Writer& report, int k, const LayerResult& r) {
  using namespace result_field;
  report.line(I(3, k), X(2), E(9, 3, r(EXX)), X(2), E(9, 3, r(EYY)), X(2), E(9, 3, r(EXY)), X(2),
              E(9, 3, r(SXX)), X(2), E(9, 3, r(SYY)), X(2), E(9, 3, r(SXY)), X(2));
}

// What the recovery of one point needs besides its layers.
struct PointContext {
  const ModelDeck& model;
  const Derivatives& d;
  double x, y;  // coordinates of the point
  Matrix<double>& Q;
  Writer& report;
};

// Centre strains and phase stresses of every layer of the point (step by step as the layer
// results record holds them), with the debug listing when it is on.
void recoverLayers(const PointLayerTable& table, double z0, const PointContext& pc,
                   LayerResults& results) {
  using namespace result_field;
  const double SX = pc.model.SIGMA_X, SY = pc.model.SIGMA_Y;
  results.layers.assign(table.layers.size(), LayerResult{});
  double z = z0;
  std::array<Phase, 2> phases;
  for (int k = 1; k <= table.NL(); ++k) {
    const LayerRecord& layer = table.layers[static_cast<std::size_t>(k - 1)];
    const double zOld = z;
    z = zOld + layer(layer_field::THICK);
    const double ZCENT = 0.5 * (zOld + z);
    const InPlane e = strainAt(pc.d, ZCENT);
    LayerResult& r = results.layers[static_cast<std::size_t>(k - 1)];
    r(LAYER) = k;
    const int nPhases = phasesOf(layer, phases);
    for (int ph = 0; ph < nPhases; ++ph) {
      const InPlane s = stressOf(phases[ph], layer(layer_field::THETA), e, pc.Q);
      if (ph == 0) {
        const InPlane e0 = initialStrains(phases[ph], SX, SY);
        r(EXX) = e.XX + e0.XX;
        r(EYY) = e.YY + e0.YY;
        r(EXY) = e.XY;
        r(SXX) = s.XX + SX;
        r(SYY) = s.YY + SY;
        r(SXY) = s.XY;
      } else {
        r(STEEL_SXX) = s.XX + SX;
        r(STEEL_SYY) = s.YY + SY;
        r(STEEL_SXY) = s.XY;
      }
      if (pc.model.DEBUG) {
        if (k == 1) debugPointHeader(pc.report, pc.x, pc.y, ZCENT, pc.d);
        debugLayerLine(pc.report, k, r);
      }
    }
  }
}

// Stress at an outer face from its mechanical strains: the face layer's own moduli (fields
// E1, E2, MU, also for a combined layer), the initial strains of the uniform stresses added.
InPlane faceStress(const LayerRecord& layer, const InPlane& e, const PointContext& pc) {
  const Phase p = layerPhase(layer);
  const InPlane e0 = initialStrains(p, pc.model.SIGMA_X, pc.model.SIGMA_Y);
  return stressOf(p, layer(layer_field::THETA), {e.XX + e0.XX, e.YY + e0.YY, e.XY}, pc.Q);
}

// Strains and stresses at the lower face z0 and the upper face zTop; zeros without layers.
FibreResults recoverFibres(const PointLayerTable& table, double z0, double zTop,
                           const PointContext& pc) {
  using namespace fibre_field;
  FibreResults f;
  if (table.NL() == 0) return f;
  const InPlane lower = strainAt(pc.d, z0), upper = strainAt(pc.d, zTop);
  const InPlane sLower = faceStress(table.layers.front(), lower, pc);
  const InPlane sUpper = faceStress(table.layers.back(), upper, pc);
  f(LOWER_EXX) = lower.XX, f(LOWER_EYY) = lower.YY, f(LOWER_EXY) = lower.XY;
  f(UPPER_EXX) = upper.XX, f(UPPER_EYY) = upper.YY, f(UPPER_EXY) = upper.XY;
  f(LOWER_SXX) = sLower.XX, f(LOWER_SYY) = sLower.YY, f(LOWER_SXY) = sLower.XY;
  f(UPPER_SXX) = sUpper.XX, f(UPPER_SYY) = sUpper.YY, f(UPPER_SXY) = sUpper.XY;
  return f;
}

double totalThickness(const PointLayerTable& table) {
  double h = 0.0;
  for (const LayerRecord& layer : table.layers) h += layer(layer_field::THICK);
  return h;
}

}  // namespace

void RECOV(const Matrix<double>& solution, const ModelDeck& model, const DifferenceGrid& grid,
           const DerivativePointTest& BCHECK, WorkingFiles& files, PointLayerTable& layers,
           LayerResults& results, Writer& report, const std::vector<double>* beyondEdges) {
  const bool fibres = fibreResultsRecovered(model.PRINTREQ, model.GRAPHREQ);
  const DisplacementField field(solution, grid, model.COUPLING, beyondEdges);
  Matrix<double> Q(component::COUNT, component::COUNT);
  for (int I = 1; I <= grid.NUMB; ++I) {
    for (int J = 1; J <= grid.NUMA; ++J) {
      // 1-2. Boundary test, then the derivatives at the (possibly moved) evaluation point.
      int Ie = I, Je = J;
      const bool flagged = BCHECK(Ie, Je);
      const Derivatives d = flagged ? Derivatives{} : differences(field, grid, Ie, Je);
      // 3-4. The point's layers and its reference surface.
      const int n = pointRecord(I, J, grid.NUMB);
      readLayerTable(files.currentLayers, n, layers);
      const double z0 = lowerFaceZ(layers, model.NEUTRAL);
      // 5-8. Layer strains and stresses, fibre results, the records.
      const PointContext pc{model, d, grid.x(J), grid.y(I), Q, report};
      recoverLayers(layers, z0, pc, results);
      writeLayerResults(files.layerResults, n, results);
      if (fibres)
        writeFibreResults(files.fibreResults, n,
                          recoverFibres(layers, z0, z0 + totalThickness(layers), pc));
    }
  }
}

PointDerivatives pointDerivatives(const Matrix<double>& solution, const DifferenceGrid& grid,
                                  Coupling COUPLING, const std::vector<double>* beyondEdges, int I,
                                  int J) {
  const DisplacementField field(solution, grid, COUPLING, beyondEdges);
  const Derivatives d = differences(field, grid, I, J);
  return {d.DUDX, d.DVDX, d.DUDY, d.DVDY, d.DWDXX, d.DWDYY, d.DWDXY};
}

}  // namespace korvant
