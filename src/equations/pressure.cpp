#include "equations/pressure.hpp"

#include "section/point_zone.hpp"

namespace korvant {

using fmt::E;
using fmt::X;

namespace {

// Whole values held in the real-valued tables are read by truncation toward zero.
int whole(double v) {
  return static_cast<int>(v);
}

// How a load row acts on the slab.
enum class Reach { NONE, WHOLE_SLAB, ONE_ZONE };

// A user-defined load covers the whole slab, and so does a uniform load from the deck,
// which carries no zone (0). The uniform rows added for zones that have no load of their
// own carry their zone's number and act on that zone only, like dead and live loads.
Reach reachOf(LoadType type, int zone) {
  switch (type) {
    case LoadType::USER_DEFINED:
      return Reach::WHOLE_SLAB;
    case LoadType::UNIFORM:
      return zone == 0 ? Reach::WHOLE_SLAB : Reach::ONE_ZONE;
    case LoadType::DEAD_LOAD:
    case LoadType::LIVE_LOAD:
      return Reach::ONE_ZONE;
    default:
      return Reach::NONE;
  }
}

}  // namespace

double PRESSURE(const ModelDeck& model, double x, double y, int loadNumber, Writer& report,
                int& errors) {
  // A zone load names the zone by its number (column 1 of the zone table), not by its row.
  const int zoneRow = zoneRowOfPoint(model, x, y);
  const bool hasZone = zoneRow > 0;
  const int zoneNumber = hasZone ? whole(model.ZONES(zoneRow, zone_col::NUMBER)) : 0;

  const Matrix<double>& L = model.LOADS;
  double pressure = kUnassignedPressure;
  bool assigned = false;
  for (int k = 1; k <= L.rows(); ++k) {
    if (whole(L(k, load_col::NUMBER)) != loadNumber) continue;
    const Reach reach =
        reachOf(static_cast<LoadType>(whole(L(k, load_col::TYPE))), whole(L(k, load_col::ZONE)));
    if (reach == Reach::WHOLE_SLAB) {
      pressure = L(k, load_col::MAGNITUDE);
      assigned = true;
      break;
    }
    if (reach == Reach::ONE_ZONE && hasZone && whole(L(k, load_col::ZONE)) == zoneNumber) {
      pressure = L(k, load_col::MAGNITUDE);
      assigned = true;
    }
  }

  // A pressure of -9999 given in the deck is a pressure like any other: whether a row
  // reached the point is tracked apart from the value.
  if (!assigned) {
    report.line("***ERROR: NORMAL PRESSURE NOT ASSIGNED FOR COORDINATE ", E(9, 3, x), X(2),
                E(9, 3, y), X(2));
    ++errors;
  }
  return pressure;
}

void UPRESS(double&, double&, double&, double&, double&, double& a6, double&, double& a8,
            double& a9, double& a10) {
  a8 = 0.0;
  a9 = 0.0;
  a10 = a6;
}

}  // namespace korvant
