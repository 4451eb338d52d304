#include "imaging/proc/colour_spaces.h"

#include <algorithm>
#include <array>

namespace quillet {

namespace {

// One channel of HSL to RGB for hue offset t. Every branch is computed and
// one chosen, so that no jump depends on the colour.
double HueChannel(double p, double q, double t) {
  t = t < 0 ? t + 1 : t;
  t = t > 1 ? t - 1 : t;
  const double rising = p + (q - p) * 6 * t, falling = p + (q - p) * (2.0 / 3 - t) * 6;
  return 6 * t < 1 ? rising : 2 * t < 1 ? q : 3 * t < 2 ? falling : p;
}

// x * 255 truncated, x in [0, 1]; the nudge keeps a whole exact value from
// landing one below.
uint8_t UnitToByte(double x) { return uint8_t(std::clamp(int(x * 255 + 1e-9), 0, 255)); }

// c / 255 for every byte, the same doubles as the division gives.
const std::array<double, 256>& Units() {
  static const std::array<double, 256> units = [] {
    std::array<double, 256> u;
    for (int k = 0; k < 256; ++k) u[size_t(k)] = k / 255.0;
    return u;
  }();
  return units;
}

// round(c / 99 * 255) for c in 0..99, which never ties.
uint8_t Byte99(int c) { return uint8_t((510 * c + 99) / 198); }

}  // namespace

THSL RGBToHSL(uint8_t r8, uint8_t g8, uint8_t b8) {
  const std::array<double, 256>& unit = Units();
  const double r = unit[r8], g = unit[g8], b = unit[b8];
  const double max = std::max({r, g, b}), min = std::min({r, g, b});
  THSL out;
  out.L = (max + min) / 2;
  if (max == min) return out;
  const double delta = max - min;
  out.S = delta / (out.L >= 0.5 ? 2 - max - min : max + min);
  // (g - b) / delta when red is the largest, (r - g) / delta + 4 when blue
  // is, else (b - r) / delta + 2; adding 0 changes no value that matters.
  const double numerator = max == r ? g - b : max != g ? r - g : b - r;
  const double h6 = numerator / delta + (max == r ? 0.0 : max != g ? 4.0 : 2.0);
  out.H = h6 / 6;
  if (out.H < 0) out.H += 1;
  return out;
}

TBGR HSLToRGB(double h, double s, double l) {
  h = std::clamp(h, 0.0, 1.0), s = std::clamp(s, 0.0, 1.0), l = std::clamp(l, 0.0, 1.0);
  if (s == 0) {
    const uint8_t v = UnitToByte(l);
    return TBGR{v, v, v};
  }
  const double q = l > 0.5 ? s + l - s * l : l * (1 + s);
  const double p = 2 * l - q;
  return MakeBGR(UnitToByte(HueChannel(p, q, h + 1.0 / 3)), UnitToByte(HueChannel(p, q, h)),
                 UnitToByte(HueChannel(p, q, h - 1.0 / 3)));
}

int ChannelTo99(uint8_t c) { return (198 * c + 255) / 510; }

THSV RGBToHSV(uint8_t r8, uint8_t g8, uint8_t b8) {
  const int r = ChannelTo99(r8), g = ChannelTo99(g8), b = ChannelTo99(b8);
  const int max = std::max({r, g, b}), min = std::min({r, g, b});
  THSV out;
  out.V = max;
  out.S = max == 0 ? 0 : (max - min) * 99 / max;
  if (out.S == 0) return out;
  const int delta = max - min;
  if (r == max)
    out.H = (g - b) * 60 / delta;
  else if (g == max)
    out.H = (b - r) * 60 / delta + 120;
  else
    out.H = (r - g) * 60 / delta + 240;
  if (out.H < 0) out.H += 360;
  return out;
}

TBGR HSVToRGB(int h, int s, int v) {
  h = std::clamp(h, 0, 359), s = std::clamp(s, 0, 99), v = std::clamp(v, 0, 99);
  if (s == 0) return TBGR{Byte99(v), Byte99(v), Byte99(v)};
  const int e = h % 60, k = s * v;
  const int p = v - k / 99, t = v - k * (60 - e) / 5940, q = v - e * k / 5940;
  int r = v, g = p, b = q;  // sector 5
  switch (h / 60) {
    case 0:
      r = v, g = t, b = p;
      break;
    case 1:
      r = q, g = v, b = p;
      break;
    case 2:
      r = p, g = v, b = t;
      break;
    case 3:
      r = p, g = q, b = v;
      break;
    case 4:
      r = t, g = p, b = v;
      break;
    default:
      break;
  }
  return MakeBGR(Byte99(r), Byte99(g), Byte99(b));
}

}  // namespace quillet
