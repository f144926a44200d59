// The number type of the model: extended precision on every real of the cam.
#pragma once
#include <limits>
#include <type_traits>

namespace kamo {

using Real = long double;
static_assert(std::numeric_limits<Real>::digits >= 64, "extended reals need a 64-bit mantissa");

inline constexpr Real kPi = 3.141592653589793238462643383279502884L;
inline constexpr Real kTwoPi = 2 * kPi;

// Degrees and radians. The drawing side that works in double gets double.
template <class T>
using AngleReal = std::conditional_t<std::is_same_v<T, double>, double, Real>;
template <class T>
inline constexpr AngleReal<T> kRadPerDeg = static_cast<AngleReal<T>>(kPi / 180);
template <class T>
constexpr AngleReal<T> DegToRad(T deg) {
  return static_cast<AngleReal<T>>(deg) * kRadPerDeg<T>;
}
template <class T>
constexpr AngleReal<T> RadToDeg(T rad) {
  return static_cast<AngleReal<T>>(rad) / kRadPerDeg<T>;
}

}  // namespace kamo
