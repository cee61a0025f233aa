#include "uescalacolores.h"

#include <cmath>
#include <cstdint>
#include <numbers>

namespace {

// Rounding noise at the ends of the scale must not wrap a channel around.
std::uint8_t Canal(NReal c) {
  const std::int32_t v = NintToInt(c * 255);
  return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

}  // namespace

TColor TEscalaColor::Color(NReal x) const {
  // 1. limited to [0, 1]; a value that is not a number draws as the minimum.
  NReal t = Normalizar(x);
  if (!(t > 0)) t = 0;
  if (t > 1) t = 1;
  // 2.
  constexpr NReal cuatro_pi = 4 * std::numbers::pi;
  const NReal c = t + std::sin(cuatro_pi * t) / cuatro_pi / 1.5;
  // 3.
  int s = TruncToInt(4 * c);
  if (s > 3) s = 3;
  if (s < 0) s = 0;
  // 4.
  NReal r = 0;
  NReal g = 0;
  NReal b = 0;
  switch (s) {
    case 0:
      g = 4 * Frac(c);
      b = 1;
      break;
    case 1:
      g = 1;
      b = 1 - 4 * Frac(c - 0.25);
      break;
    case 2:
      r = 4 * Frac(c - 0.5);
      g = 1;
      break;
    default:
      r = 1;
      g = 1 - 4 * Frac(c - 0.75);
      break;
  }
  // 5. nearest, ties to even.
  return ColorRGB(Canal(r), Canal(g), Canal(b));
}
