// Colour-space conversions of the colour operations and the colour picker:
// floating HSL with every component in [0, 1], and integer HSV with hue
// 0..359, saturation and value 0..99.
#pragma once

#include <cstdint>

#include "imaging/core/colors.h"

namespace quillet {

struct THSL {
  double H = 0, S = 0, L = 0;
};

struct THSV {
  int H = 0, S = 0, V = 0;
};

THSL RGBToHSL(uint8_t r, uint8_t g, uint8_t b);
// Components below 0 count as 0 and above 1 as 1 (hue is limited, not
// wrapped: callers that shift it wrap it first). A channel whose exact
// value is a whole number gets that number.
TBGR HSLToRGB(double h, double s, double l);

// A channel on the 0..99 scale: round(c / 255 * 99), which never ties.
int ChannelTo99(uint8_t c);
THSV RGBToHSV(uint8_t r, uint8_t g, uint8_t b);
// Hue limited to 0..359, saturation and value to 0..99.
TBGR HSVToRGB(int h, int s, int v);

}  // namespace quillet
