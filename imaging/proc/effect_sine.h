// A sine for hot loops that the compiler can vectorise (no branches, no
// calls), as accurate as the library's for the arguments the effects meet
// (below about 1.6e9 in magnitude).
#pragma once

#include <cmath>

namespace quillet {

// x less the nearest multiple k of pi, pi taken in three parts whose first
// has 24 significant bits so that k times it is exact; then the odd Taylor
// series to the 21st power on [-pi/2, pi/2] (its next term is below 2e-18),
// negated for odd k.
inline double FastSine(double x) {
  constexpr double kInvPi = 0.318309886183790671538;
  constexpr double kPi1 = 3.14159250259399414062, kPi2 = 1.50995788317231926e-7, kPi3 = 1.07806057163162381e-14;
  const double k = std::nearbyint(x * kInvPi);
  const double r = ((x - k * kPi1) - k * kPi2) - k * kPi3, r2 = r * r;
  double p = -1.0 / 51090942171709440000.0;                // -1/21!
  p = p * r2 + 1.0 / 121645100408832000.0;                  // 1/19!
  p = p * r2 - 1.0 / 355687428096000.0;                     // 1/17!
  p = p * r2 + 1.0 / 1307674368000.0;                       // 1/15!
  p = p * r2 - 1.0 / 6227020800.0;                          // 1/13!
  p = p * r2 + 1.0 / 39916800.0;                            // 1/11!
  p = p * r2 - 1.0 / 362880.0;                              // 1/9!
  p = p * r2 + 1.0 / 5040.0;                                // 1/7!
  p = p * r2 - 1.0 / 120.0;                                 // 1/5!
  p = p * r2 + 1.0 / 6.0;                                   // 1/3!
  const double s = r - r * r2 * p;
  const double odd = std::fabs(k - 2 * std::nearbyint(k * 0.5));  // 1 for odd k, else 0
  return s - 2 * odd * s;
}

}  // namespace quillet
