// Classical plate solutions the tests compare the difference solution with, summed here
// independently of the program.
#pragma once

#include <cmath>
#include <numbers>

namespace korvant::test {

struct PlateResponse {
  double w = 0.0;
  double Mx = 0.0;
  double My = 0.0;
};

// Navier double series of the simply supported a x b plate under uniform pressure q.
inline PlateResponse navier(double a, double b, double D, double nu, double q, double x, double y) {
  PlateResponse r;
  for (int m = 1; m <= 401; m += 2) {
    for (int n = 1; n <= 401; n += 2) {
      const double am = m * std::numbers::pi / a, bn = n * std::numbers::pi / b;
      const double wmn = 16.0 * q /
                         (std::pow(std::numbers::pi, 6) * D * m * n *
                          std::pow(m * m / (a * a) + n * n / (b * b), 2));
      const double s = std::sin(am * x) * std::sin(bn * y);
      r.w += wmn * s;
      r.Mx += D * wmn * (am * am + nu * bn * bn) * s;
      r.My += D * wmn * (bn * bn + nu * am * am) * s;
    }
  }
  return r;
}

}  // namespace korvant::test
