#include "imaging/proc/colour_spaces.h"

#include <algorithm>
#include <array>

namespace quillet {

namespace {

// round(c / 99 * 255) for c in 0..99, which never ties.
uint8_t Byte99(int c) { return uint8_t((510 * c + 99) / 198); }

}  // namespace

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
