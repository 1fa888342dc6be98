#pragma once
// Rounding to the nearest, halves to even: the one rounding of the program's
// figures (the inputs as their fields hold them, the computed powers and
// humidities, positions and pixels). Texts round in TBaseMsg::FormatFixed,
// which rounds the exact binary value to the digits shown.
//
// Independent of the floating-point environment's rounding mode, which a
// library may leave changed: x - floor(x) is exact (Sterbenz) except for x
// between -0.5 and 0, where however it rounds it stays at or above 0.5 and
// the answer is the same zero.

#include <algorithm>
#include <cmath>

namespace Rounding {

// x to the nearest whole number, halves to even: 0.5 -> 0, 1.5 -> 2,
// 2.5 -> 2, -2.5 -> -2. A zero keeps the sign of x (-0.4 -> -0); not a
// number and the infinities come back as they are. Equal to std::nearbyint
// in the default rounding mode.
inline double HalfEven(double x) {
  const double lower = std::floor(x);
  const double fraction = x - lower;
  const bool up = fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0);
  return std::copysign(up ? lower + 1 : lower, x);
}

// x to a multiple of 1 / nPerUnit (nPerUnit 1000: to 0.001): the double
// x * nPerUnit rounded half to even, divided back. The product is rounded
// as a double, as a reference model's round(x * 1000) / 1000 does.
inline double HalfEven(double x, double nPerUnit) { return HalfEven(x * nPerUnit) / nPerUnit; }

// As an int, for positions and pixels: not a number gives 0, and values
// beyond +-1e9 are held there, which leaves room to add two of them.
inline int HalfEvenInt(double x) {
  constexpr double kLimit = 1e9;
  if (std::isnan(x)) return 0;
  return int(HalfEven(std::clamp(x, -kLimit, kLimit)));
}

}  // namespace Rounding
