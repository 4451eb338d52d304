// Colour-space conversions of the colour operations and the colour picker:
// floating HSL with every component in [0, 1], and integer HSV with hue
// 0..359, saturation and value 0..99.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "imaging/core/colors.h"

namespace quillet {

struct THSL {
  double H = 0, S = 0, L = 0;
};

struct THSV {
  int H = 0, S = 0, V = 0;
};

// The two run once a pixel in the HSL shift: inline, and choosing between
// computed values rather than jumping on the colour.
namespace hsl_detail {

// c / 255 for every byte, the same doubles as the division gives.
inline constexpr std::array<double, 256> kUnits = [] {
  std::array<double, 256> u{};
  for (int k = 0; k < 256; ++k) u[size_t(k)] = k / 255.0;
  return u;
}();

// One channel of HSL to RGB for hue offset t.
inline double HueChannel(double p, double q, double t) {
  t = t < 0 ? t + 1 : t;
  t = t > 1 ? t - 1 : t;
  const double rising = p + (q - p) * 6 * t, falling = p + (q - p) * (2.0 / 3 - t) * 6;
  return 6 * t < 1 ? rising : 2 * t < 1 ? q : 3 * t < 2 ? falling : p;
}

// x * 255 truncated, x in [0, 1]; the nudge keeps a whole exact value from
// landing one below.
inline uint8_t UnitToByte(double x) { return uint8_t(std::clamp(int(x * 255 + 1e-9), 0, 255)); }

}  // namespace hsl_detail

inline THSL RGBToHSL(uint8_t r8, uint8_t g8, uint8_t b8) {
  const double r = hsl_detail::kUnits[r8], g = hsl_detail::kUnits[g8], b = hsl_detail::kUnits[b8];
  const double max = std::max(r, std::max(g, b)), min = std::min(r, std::min(g, b));
  const double delta = max - min, l = (max + min) / 2;
  // A grey (delta 0) has hue and saturation 0.
  const bool grey = delta == 0;
  const double den = grey ? 1 : l >= 0.5 ? 2 - max - min : max + min;
  // (g - b) / delta when red is the largest, (r - g) / delta + 4 when blue
  // is, else (b - r) / delta + 2.
  const double numerator = max == r ? g - b : max != g ? r - g : b - r;
  const double h6 = numerator / (grey ? 1 : delta) + (max == r ? 0.0 : max != g ? 4.0 : 2.0);
  const double h = h6 / 6;
  return THSL{grey ? 0 : h < 0 ? h + 1 : h, grey ? 0 : delta / den, l};
}

// Components below 0 count as 0 and above 1 as 1 (hue is limited, not
// wrapped: callers that shift it wrap it first). A channel whose exact
// value is a whole number gets that number. Saturation 0 gives p = q = l,
// the grey of the luminosity, with no case of its own.
inline TBGR HSLToRGB(double h, double s, double l) {
  using namespace hsl_detail;
  h = std::clamp(h, 0.0, 1.0), s = std::clamp(s, 0.0, 1.0), l = std::clamp(l, 0.0, 1.0);
  const double q = l > 0.5 ? s + l - s * l : l * (1 + s);
  const double p = 2 * l - q;
  return MakeBGR(UnitToByte(HueChannel(p, q, h + 1.0 / 3)), UnitToByte(HueChannel(p, q, h)),
                 UnitToByte(HueChannel(p, q, h - 1.0 / 3)));
}

// A channel on the 0..99 scale: round(c / 255 * 99), which never ties.
int ChannelTo99(uint8_t c);
THSV RGBToHSV(uint8_t r, uint8_t g, uint8_t b);
// Hue limited to 0..359, saturation and value to 0..99.
TBGR HSVToRGB(int h, int s, int v);

}  // namespace quillet
