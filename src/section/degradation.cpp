// The layer failure tests and the damage laws.
//
// A concrete layer is tested in its own axes against its tensile, compressive and shear
// strengths (or, in the strain-based crack density model, the strains at which the undamaged
// concrete reaches them). The mode whose ratio governs decides which strength the layer
// fails by; once failed, a layer is failed in all three senses and its index grows with the
// largest ratio seen. Its modulus is then the post-failure modulus of its damage law, or the
// initial modulus scaled by the law's reduction equation K(r) down to that modulus. A steel
// layer yields when its stress reaches the yield stress and takes the law's yielding modulus.
#include "section/degradation.hpp"

#include <algorithm>
#include <cmath>

#include "core/pi.hpp"
#include "core/reduction_factor.hpp"
#include "section/combined_layer.hpp"
#include "section/section_stiffness.hpp"

namespace korvant {
namespace {

using namespace fmt;

bool diagRequested(const ModelDeck& model, Diagnostic request) {
  return std::find(model.DIAG.begin(), model.DIAG.end(), codeNumber(request)) != model.DIAG.end();
}

// Index near the low edge, the high edge or the centre line of its direction, for the
// column regions of the column layouts (N points in that direction).
bool nearLow(int index, int NCOL) {
  return index <= NCOL + 2;
}
bool nearHigh(int index, int N, int NCOL) {
  return index >= N - NCOL - 1;
}
bool central(int index, int N, int NCOL) {
  const int c = (N + 1) / 2;
  return index >= c - NCOL - 1 && index <= c + NCOL + 1;
}

bool listedAsSupport(const ModelDeck& model, int I, int J) {
  const Matrix<int>& bc = model.USERBC;
  for (int row = 1; row <= bc.rows() && bc(row, userbc_col::I) != 0; ++row) {
    const Condition condition = userCondition(model, row);
    if (bc(row, userbc_col::I) == I && bc(row, userbc_col::J) == J &&
        (condition == Condition::CLAMPED || condition == Condition::SIMPLE))
      return true;
  }
  return false;
}

// The point's layer whose tests are being made, for the DIAG lines.
struct LayerPlace {
  double X = 0.0, Y = 0.0;
  int k = 0;
  LayerKind kind = LayerKind::NONE;
};

// The working values of a concrete test: the normal and shear values in layer axes (stresses,
// or strains in the strain-based model), the strengths on the same footing, the indices.
struct ConcreteTest {
  double SXX = 0.0, SYY = 0.0, SXY = 0.0;
  double XT = 0.0, XC = 0.0, S = 0.0;
  double FICT = 0.0, FICC = 0.0, FICS = 0.0;
};

// The modulus of a failed layer of reference modulus E0 at failure index r, from the
// post-failure modulus P of its law: P itself in the post-failure form; in the equation form
// K(r) E0, K capped at 1 and never below the floor |P / E0|, under which P is taken.
double failedModulus(const ModelDeck& model, const DamageLaw& law, double P, double r, double E0) {
  if (model.DLFORM == LawForm::POST_FAILURE_MODULI) return P;
  const double K = reductionFactor(law.a, law.b, law.c, law.d, r);
  const double floor = std::abs(P / E0);
  if (K >= 1.0) return E0;
  if (K > floor) return K * E0;
  return P;
}

// The mode that governs a layer: 1 normal in x, 2 normal in y, 3 shear, 0 none. A layer that
// failed before follows its largest index; one that has not, its largest strength ratio, a
// later rule winning a tie.
int governingMode(const ConcreteTest& t) {
  const double m = std::max({t.FICT, t.FICC, t.FICS});
  int mode = 0;
  if (m >= 1.0) {
    const bool xGoverns = std::abs(t.SYY) <= std::abs(t.SXX);
    if (t.FICT <= t.FICC && t.FICS <= t.FICC) mode = xGoverns ? 1 : 2;
    if (t.FICC < t.FICT && t.FICS < t.FICT) mode = xGoverns ? 1 : 2;
    if (t.FICC < t.FICS && t.FICT < t.FICS) mode = 3;
    return mode;
  }
  const double RX = std::abs(t.SXX / (t.SXX > 0.0 ? t.XT : t.XC));
  const double RY = std::abs(t.SYY / (t.SYY > 0.0 ? t.XT : t.XC));
  const double RS = std::abs(t.SXY / t.S);
  if (RY <= RX && RS <= RX) mode = 1;
  if (RX <= RY && RS <= RY) mode = 2;
  if (RX <= RS && RY <= RS) mode = 3;
  return mode;
}

// The post-failure moduli a concrete test takes from the layer's damage law.
struct ConcreteModuli {
  double tension = 0.0, compression = 0.0, shear = 0.0;
};

// Raises `index` to the ratio |value / strength| and returns the ratio's index: a new
// failure when the index was below 1, a continuing one otherwise.
double raisedIndex(double index, double value, double strength) {
  const double ratio = std::abs(value / strength);
  return index < 1.0 ? ratio : std::max(index, ratio);
}

// The concrete test of one layer of reference modulus E0 and current modulus E: changes the
// indices of `t` and returns the layer's new modulus (E when nothing changes).
double concreteTest(const ModelDeck& model, const DamageLaw& law, const ConcreteModuli& pf,
                    double E0, double E, ConcreteTest& t) {
  const int mode = governingMode(t);
  if (mode == 1 || mode == 2) {
    const double N = mode == 1 ? t.SXX : t.SYY;
    if ((t.FICC < 1.0 && N < 0.0 && std::abs(N / t.XC) >= 1.0) || t.FICC >= 1.0) {
      t.FICC = raisedIndex(t.FICC, N, t.XC);
      return failedModulus(model, law, pf.compression, t.FICC, E0);
    }
    if ((t.FICT < 1.0 && N >= 0.0 && std::abs(N / t.XT) >= 1.0) || t.FICT >= 1.0) {
      t.FICT = raisedIndex(t.FICT, N, t.XT);
      return failedModulus(model, law, pf.tension, t.FICT, E0);
    }
    return E;
  }
  if (mode == 3 && ((t.FICS < 1.0 && std::abs(t.SXY / t.S) >= 1.0) || t.FICS >= 1.0)) {
    t.FICS = raisedIndex(t.FICS, t.SXY, t.S);
    return failedModulus(model, law, pf.shear, t.FICS, E0);
  }
  return E;
}

void diagLine(Writer& report, const LayerPlace& at, const char* failing) {
  const char* layer = at.kind == LayerKind::COMBINED ? ", CONC.+STEEL LAYER " : ", CONC. LAYER ";
  report.line("DIAG:(X,Y) = ", E(9, 3, at.X), X(1), E(9, 3, at.Y), layer, I(2, at.k), failing);
}

// The DIAG lines of a concrete test whose indices went from `old` to `t`.
void diagnostics(const ModelDeck& model, const LayerPlace& at, const LayerFailure& old,
                 const ConcreteTest& t, Writer& report) {
  using namespace failure_index;
  const bool newCompression = old(FICC) < 1.0 && t.FICC > 1.0;
  if (diagRequested(model, Diagnostic::CRACKING_MODES)) {
    if (newCompression) diagLine(report, at, " IS FAILING IN COMPRESSION");
    if (old(FICT) < 1.0 && t.FICT > 1.0) diagLine(report, at, " IS FAILING IN TENSION");
    if (old(FICS) < 1.0 && t.FICS > 1.0) diagLine(report, at, " IS FAILING IN SHEAR");
  }
  if (diagRequested(model, Diagnostic::COMPRESSION_FAILURES) && newCompression)
    diagLine(report, at, " IS FAILING IN COMPRESSION");
  if (diagRequested(model, Diagnostic::FAILURE_INDICES) && old(FICT) < 1.0 && old(FICC) < 1.0 &&
      old(FICS) < 1.0)
    report.line("DIAG: X,Y,FICC,FICT,FICS = ", E(9, 3, at.X), X(2), E(9, 3, at.Y), X(2),
                F(5, 3, t.FICC), X(2), F(5, 3, t.FICT), X(2), F(5, 3, t.FICS));
}

// A failed concrete layer is failed in all three senses, by its largest index.
void equalise(ConcreteTest& t) {
  const double m = std::max({t.FICT, t.FICC, t.FICS});
  if (m >= 1.0) t.FICT = t.FICC = t.FICS = m;
}

// The steel test: the steel (or steel phase) of stress SXX in layer axes yields at the yield
// stress Y, and stays yielded. Returns true when it is yielded after the test.
bool steelYields(double SXX, double Y, double& FY) {
  if (FY < 1.0 && std::abs(SXX) < Y) return false;
  FY = raisedIndex(FY, SXX, Y);
  return true;
}

// The tests of one layer of a point: reads the layer's results and state, writes its new
// moduli into `layer` and its new indices into `now`.
class LayerTests {
 public:
  LayerTests(const ModelDeck& model, SolutionStage STAGE, Writer& report)
      : model_(model), STAGE_(STAGE), report_(report) {}

  void run(LayerRecord& layer, const LayerRecord& initial, const LayerResult& result,
           const DamageLaw& law, const LayerPlace& at, const LayerFailure& old, LayerFailure& now);

 private:
  void steelLayer(LayerRecord& layer, const DamageLaw& law, double SXX, LayerFailure& now);
  double concrete(const DamageLaw& law, const ConcreteModuli& pf, double E0, double E,
                  const LayerPlace& at, const LayerFailure& old, LayerFailure& now);
  void combinedLayer(LayerRecord& layer, const LayerRecord& initial, const DamageLaw& law,
                     double steelSXX, const LayerPlace& at, const LayerFailure& old,
                     LayerFailure& now);

  bool cracking() const {
    return STAGE_ == SolutionStage::CRACKING || STAGE_ == SolutionStage::COMBINED;
  }
  bool yielding() const {
    return STAGE_ == SolutionStage::COMBINED || STAGE_ == SolutionStage::YIELDING;
  }

  const ModelDeck& model_;
  SolutionStage STAGE_;
  Writer& report_;
  ConcreteTest test_;  // the working values of the layer being tested
};

void LayerTests::run(LayerRecord& layer, const LayerRecord& initial, const LayerResult& result,
                     const DamageLaw& law, const LayerPlace& at, const LayerFailure& old,
                     LayerFailure& now) {
  using namespace layer_field;
  double EXX = result(result_field::EXX), EYY = result(result_field::EYY);
  double EXY = result(result_field::EXY);
  double SXX = result(result_field::SXX), SYY = result(result_field::SYY);
  double SXY = result(result_field::SXY);
  double steelSXX = result(result_field::STEEL_SXX), steelSYY = result(result_field::STEEL_SYY);
  double steelSXY = result(result_field::STEEL_SXY);
  if (layer(THETA) != 0.0) {
    const double angle = radians(layer(THETA), kSinglePi);
    double ex = EXX, ey = EYY, exy = EXY;  // the strains are rotated once, with the concrete
    SETRANS(EXX, EYY, EXY, SXX, SYY, SXY, angle);
    if (at.kind == LayerKind::COMBINED) SETRANS(ex, ey, exy, steelSXX, steelSYY, steelSXY, angle);
  }
  test_ = ConcreteTest{SXX,
                       SYY,
                       SXY,
                       layer(XT),
                       layer(XC),
                       layer(S),
                       now(failure_index::FICT),
                       now(failure_index::FICC),
                       now(failure_index::FICS)};
  if (model_.CRKDENS == CrackDensity::STRAIN_BASED) {
    const double E1_0 = initial(E1), MU_0 = initial(MU);
    test_.XT /= E1_0;
    test_.XC /= E1_0;
    test_.S /= shearModulus(E1_0, MU_0);
    test_.SXX = EXX;
    test_.SYY = EYY;
    test_.SXY = EXY;
  }
  switch (at.kind) {
    case LayerKind::STEEL:
      if (yielding()) steelLayer(layer, law, SXX, now);
      break;
    case LayerKind::CONCRETE:
      if (cracking()) {
        const ConcreteModuli pf{law.modulus(law_slot::CONCRETE_TENSION),
                                law.modulus(law_slot::CONCRETE_COMPRESSION),
                                law.modulus(law_slot::CONCRETE_SHEAR)};
        const double E = concrete(law, pf, initial(E1), layer(E1), at, old, now);
        layer(E1) = E;
        layer(E2) = E;
      }
      break;
    case LayerKind::COMBINED:
      combinedLayer(layer, initial, law, steelSXX, at, old, now);
      break;
    default:
      break;
  }
}

void LayerTests::steelLayer(LayerRecord& layer, const DamageLaw& law, double SXX,
                            LayerFailure& now) {
  if (!steelYields(SXX, layer(layer_field::Y), now(failure_index::FY))) return;
  layer(layer_field::E1) = law.modulus(law_slot::STEEL_YIELDING);
  layer(layer_field::E2) = 0.0;
  layer(layer_field::MU) = 0.0;
}

double LayerTests::concrete(const DamageLaw& law, const ConcreteModuli& pf, double E0, double E,
                            const LayerPlace& at, const LayerFailure& old, LayerFailure& now) {
  const double modulus = concreteTest(model_, law, pf, E0, E, test_);
  diagnostics(model_, at, old, test_, report_);
  equalise(test_);
  now(failure_index::FICT) = test_.FICT;
  now(failure_index::FICC) = test_.FICC;
  now(failure_index::FICS) = test_.FICS;
  return modulus;
}

void LayerTests::combinedLayer(LayerRecord& layer, const LayerRecord& initial, const DamageLaw& law,
                               double steelSXX, const LayerPlace& at, const LayerFailure& old,
                               LayerFailure& now) {
  using namespace layer_field;
  double Ec = layer(EC), Es = layer(ES);
  if (yielding() && steelYields(steelSXX, layer(Y), now(failure_index::FY)))
    Es = law.modulus(law_slot::COMBINED_YIELDING);
  if (cracking()) {
    const ConcreteModuli pf{law.modulus(law_slot::COMBINED_TENSION),
                            law.modulus(law_slot::COMBINED_COMPRESSION),
                            law.modulus(law_slot::COMBINED_SHEAR)};
    Ec = concrete(law, pf, initial(EC), Ec, at, old, now);
  }
  recomposeCombinedLayer(layer, Es, Ec);
  layer(EC) = Ec;
}

// The tests of every layer of the point in `b`, read and to be written back by the caller.
// Returns the number of layer failures the point counted in this call.
int testPoint(const ModelDeck& model, SolutionStage STAGE, const LayerPlace& point,
              DegradationBuffers& b, FailureCounts& counts, Writer& report) {
  LayerTests tests(model, STAGE, report);
  const int NL = std::min({b.current.NL(), b.initial.NL(), b.results.NL(), b.state.NL()});
  int failed = 0;
  for (int k = 1; k <= NL; ++k) {
    const auto at = static_cast<std::size_t>(k - 1);
    LayerRecord& layer = b.current.layers[at];
    LayerFailure& stored = b.state.layers[at];
    const LayerPlace place{point.X, point.Y, k, layer.kind()};
    const DamageLaw& law = b.laws.find(static_cast<int>(std::lround(layer(layer_field::DLAW))));
    LayerFailure now = stored;
    tests.run(layer, b.initial.layers[at], b.results.layers[at], law, place, stored, now);
    if (now(failure_index::FICT) >= 1.0 && stored(failure_index::FICT) < 1.0) {
      ++counts.CINC;
      ++failed;
    }
    if (now(failure_index::FY) >= 1.0 && stored(failure_index::FY) < 1.0) {
      ++counts.YINC;
      ++failed;
    }
    for (int index = 1; index <= failure_index::COUNT; ++index)
      stored(index) = std::max(stored(index), now(index));
  }
  return failed;
}

// The failure measure of point n: the largest fraction of its layers that failed in one call.
void raiseFailureMeasure(RecordStore& failureRatio, int n, int failed, int NL) {
  if (NL == 0) return;
  const double ratio = static_cast<double>(failed) / NL;
  if (std::abs(failureRatio.read(n)[0]) < std::abs(ratio))
    failureRatio.write(n, std::span<const double>(&ratio, 1));
}

}  // namespace

bool excludedFromFailure(const ModelDeck& model, int I, int J) {
  const int NUMA = model.NUMA, NUMB = model.NUMB, NCOL = model.NCOL;
  if (I == 1 || I == NUMB || J == 1 || J == NUMA) return true;
  const bool iEdge = nearLow(I, NCOL) || nearHigh(I, NUMB, NCOL);
  const bool jEdge = nearLow(J, NCOL) || nearHigh(J, NUMA, NCOL);
  switch (model.SLABMODEL) {
    case SlabLayout::NINE_COLUMN:
      return (iEdge || central(I, NUMB, NCOL)) && (jEdge || central(J, NUMA, NCOL));
    case SlabLayout::FOUR_COLUMN_FREE:
    case SlabLayout::FOUR_COLUMN_SYM:
      return iEdge && jEdge;
    case SlabLayout::USER_DEFINED:
      return listedAsSupport(model, I, J);
    default:
      return false;
  }
}

void recomposeCombinedLayer(LayerRecord& layer, double Es, double Ec) {
  using namespace layer_field;
  const double cell = layer(THICK) * layer(SPACING);
  const double Vs = std::min(barArea(layer(RADIUS), kSinglePi), cell) / cell;
  const CombinedModuli mixed = combinedModuli(Vs, Es, Ec, layer(MUS), layer(MUC));
  layer(E1) = mixed.E1;
  layer(E2) = mixed.E2;
  layer(MU) = mixed.MU;
}

void DEGRAD(const ModelDeck& model, SolutionStage STAGE, WorkingFiles& files,
            DegradationBuffers& buffers, FailureCounts& counts, Writer& report) {
  const bool failureRatios = failureMeasuresKept(model.PRINTREQ, model.GRAPHREQ);
  buffers.laws.load(files.damageLaws);
  for (int I = 1; I <= model.NUMB; ++I) {
    for (int J = 1; J <= model.NUMA; ++J) {
      if (model.NOBFAIL && excludedFromFailure(model, I, J)) continue;
      const int n = pointRecord(I, J, model.NUMB);
      readLayerTable(files.currentLayers, n, buffers.current);
      readLayerTable(files.initialLayers, n, buffers.initial);
      readLayerResults(files.layerResults, n, buffers.results);
      readLayerState(files.layerState, n, buffers.state);
      const LayerPlace point{(J - 1) * model.A / (model.NUMA - 1),
                             (I - 1) * model.B / (model.NUMB - 1), 0, LayerKind::NONE};
      const int failed = testPoint(model, STAGE, point, buffers, counts, report);
      writeLayerTable(files.currentLayers, n, buffers.current);
      writeLayerState(files.layerState, n, buffers.state);
      if (failureRatios) raiseFailureMeasure(files.failureRatio, n, failed, buffers.current.NL());
    }
  }
}

}  // namespace korvant
