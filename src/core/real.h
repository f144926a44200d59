// The number type of the model: extended precision on every real of the cam.
#pragma once
#include <limits>

namespace kamo {

using Real = long double;
static_assert(std::numeric_limits<Real>::digits >= 64, "extended reals need a 64-bit mantissa");

inline constexpr Real kPi = 3.141592653589793238462643383279502884L;

}  // namespace kamo
