#include "imaging/proc/threshold_bw.h"

namespace quillet {

namespace {

// The bit of one pixel: 1 (white) unless it is darker than the threshold.
struct TSum24 {
  int limit;  // 3 * threshold
  static constexpr int kBytes = 3;
  unsigned operator()(const uint8_t* p) const { return unsigned(p[0] + p[1] + p[2] >= limit); }
};

struct TLevel8 {
  int limit;
  static constexpr int kBytes = 1;
  unsigned operator()(const uint8_t* p) const { return unsigned(p[0] >= limit); }
};

// Eight pixels a byte, shifted in from the right; the last byte's unused bits stay 0.
template <class White>
void ThresholdRow(const uint8_t* p, int64_t width, uint8_t* out, White white) {
  constexpr int n = White::kBytes;
  const int64_t whole = width / 8;
  for (int64_t i = 0; i < whole; ++i, p += 8 * n) {
    unsigned byte = 0;
    for (int k = 0; k < 8; ++k) byte = byte << 1 | white(p + k * n);
    out[i] = uint8_t(byte);
  }
  const int rest = int(width % 8);
  if (rest == 0) return;
  unsigned byte = 0;
  for (int k = 0; k < rest; ++k) byte = byte << 1 | white(p + k * n);
  out[whole] = uint8_t(byte << (8 - rest));
}

template <class White>
void ThresholdRows(const TIEWorkingBitmap& source, TIEWorkingBitmap& result, White white) {
  for (int64_t y = 0; y < source.Height(); ++y)
    ThresholdRow(source.ScanLine(y), source.Width(), result.ScanLine(y), white);
}

}  // namespace

bool ThresholdToBlackWhite(const TIEWorkingBitmap& source, TIEWorkingBitmap& dest, int threshold) {
  const TIEPixelFormat format = source.PixelFormat();
  if (format != TIEPixelFormat::pf24bit && format != TIEPixelFormat::pf8bit) return false;
  TIEWorkingBitmap result;
  if (!result.AllocateUninitialised(source.Width(), source.Height(), TIEPixelFormat::pf1bit)) return false;
  if (format == TIEPixelFormat::pf24bit)
    ThresholdRows(source, result, TSum24{3 * threshold});
  else
    ThresholdRows(source, result, TLevel8{threshold});
  dest.Replace(std::move(result));
  return true;
}

}  // namespace quillet
