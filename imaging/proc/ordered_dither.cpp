#include "imaging/proc/ordered_dither.h"

#include <cstring>

#include "imaging/core/colors.h"

namespace quillet {

namespace {

// Indexed [x mod 8][y mod 8].
constexpr uint8_t kMatrix[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26}, {12, 44, 4, 36, 14, 46, 6, 38},
    {60, 28, 52, 20, 62, 30, 54, 22}, {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37},  {63, 31, 55, 23, 61, 29, 53, 21}};

}  // namespace

int DitherThreshold(int64_t x, int64_t y) { return kMatrix[x & 7][y & 7]; }

bool DitherToBlackWhite(const TIEWorkingBitmap& source, TIEWorkingBitmap& dest) {
  if (source.PixelFormat() != TIEPixelFormat::pf24bit) return false;
  TIEWorkingBitmap result;
  if (!result.Resize(source.Width(), source.Height(), TIEPixelFormat::pf1bit)) return false;
  for (int64_t y = 0; y < source.Height(); ++y) {
    const uint8_t* p = source.ScanLine(y);
    uint8_t* out = result.ScanLine(y);
    std::memset(out, 0, size_t(result.RowBytes()));
    for (int64_t x = 0; x < source.Width(); ++x, p += 3) {
      // White's grey level is 252: its level 63 counts as 64, so white stays white.
      int level = GreyLevel(TBGR{p[0], p[1], p[2]}) / 4;
      if (level == 63) level = 64;
      if (level > kMatrix[x & 7][y & 7]) out[x >> 3] |= uint8_t(0x80 >> (x & 7));
    }
  }
  dest.Replace(std::move(result));
  return true;
}

}  // namespace quillet
