#include "section/point_zone.hpp"

#include <algorithm>

namespace korvant {

int zoneRowOfPoint(const ModelDeck& model, double x, double y) {
  const Matrix<double>& Z = model.ZONES;
  const int rows = std::min(model.NZONE, Z.rows());
  for (int z = 1; z <= rows; ++z) {
    const double hx = model.OVERLAP * Z(z, zone_col::A) * 0.5;
    const double hy = model.OVERLAP * Z(z, zone_col::B) * 0.5;
    const double xo = Z(z, zone_col::XO);
    const double yo = Z(z, zone_col::YO);
    if (xo - hx <= x && x <= xo + hx && yo - hy <= y && y <= yo + hy) return z;
  }
  return 0;
}

}  // namespace korvant
