// pi as the formulas of the program hold it, and the turn of an angle from degrees to radians.
#pragma once

#include <numbers>

namespace korvant {

// pi rounded to single precision (3.14159274...): the failure tests and the bar area of a
// recomposed combined layer have always used it, and their results keep it.
inline constexpr double kSinglePi = static_cast<float>(std::numbers::pi);
static_assert(kSinglePi == 3.1415927410125732);

// An angle of `degrees` in radians, with the caller's value of pi (std::numbers::pi, or
// kSinglePi where a formula has always used that).
constexpr double radians(double degrees, double pi) {
  return degrees * pi / 180.0;
}

}  // namespace korvant
