// The modulus reduction of an equation-form damage law: the failed layer's modulus is its
// initial modulus scaled by a cubic in its failure index, which the input checks test at
// r = 2 and 3 and the failure tests apply.
#pragma once

namespace korvant {

// K(r) = a + b (r - 1) + c (r^2 - 1) + d (r^3 - 1), so that K(1) = a at the onset of failure.
inline double reductionFactor(double a, double b, double c, double d, double r) {
  return a + b * (r - 1.0) + c * (r * r - 1.0) + d * (r * r * r - 1.0);
}

}  // namespace korvant
