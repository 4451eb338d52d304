// CIE L*a*b* conversions of the TIFF codec: standard sRGB <-> L*a*b* (D65),
// with L*, a*, b* packed into three bytes.
#pragma once

#include <cstdint>

#include "imaging/core/colors.h"

namespace quillet {

// L = round(L* x 255 / 100), 0..255; a, b = round(a*), round(b*) clamped to
// -128..127 (the CIELab encoding of TIFF photometric 8).
struct TIELab {
  uint8_t L = 0;
  int8_t a = 0;
  int8_t b = 0;
  friend bool operator==(const TIELab&, const TIELab&) = default;
};

// sRGB pixel (blue, green, red) to packed L*a*b*; white gives (255, 0, 0).
TIELab RGBToLab(const TBGR& pixel);
// The inverse: packed L*a*b* to the nearest sRGB pixel, clamped to the gamut.
TBGR LabToRGB(const TIELab& lab);

}  // namespace quillet
