// The 1-bit rotation works with sine and cosine cut to four decimals and maps
// every result pixel directly (not incrementally), so that each truncation
// is exactly that of the formula.
#include "imaging/proc/rotate_1bit.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "imaging/core/bits.h"
#include "imaging/core/math.h"

namespace quillet {

bool Rotate1Bit(TIEWorkingBitmap& image, double angle, bool whiteBackground, const TIEProcProgress& progress) {
  const int64_t w = image.Width(), h = image.Height();
  const double a = angle / -57.295779513082320877;
  const double c = double(Trunc(std::cos(a) * 10000)) / 10000, s = double(Trunc(std::sin(a) * 10000)) / 10000;
  // Cut sines can make the sum just below 1; a result keeps at least one pixel.
  const int64_t wn = std::max<int64_t>(1, Trunc(std::fabs(double(w) * c) + std::fabs(double(h) * s)));
  const int64_t hn = std::max<int64_t>(1, Trunc(std::fabs(double(w) * s) + std::fabs(double(h) * c)));
  if (!ImageBytes(wn, hn, 1)) return false;

  const TIEWorkingBitmap source = image;
  if (!ReshapeBitmap(image, wn, hn, TIEPixelFormat::pf1bit)) return false;
  std::vector<const uint8_t*> rows(static_cast<size_t>(h));
  for (int64_t y = 0; y < h; ++y) rows[size_t(y)] = source.ScanLine(y);
  const double cx = double(w) / 2 - 0.5, cy = double(h) / 2 - 0.5;
  const double ux = double(wn) / 2 - 0.5, vy = double(hn) / 2 - 0.5;
  TIEStepProgress steps(progress, double(hn));
  for (int64_t y = 0; y < hn; ++y) {
    uint8_t* out = image.ScanLine(y);
    const double v = double(y) - vy;
    for (int64_t x = 0; x < wn; ++x) {
      const double u = double(x) - ux;
      const int64_t sx = Trunc(cx + c * u + s * v), sy = Trunc(cy - s * u + c * v);
      const bool inside = sx >= 0 && sx < w && sy >= 0 && sy < h;
      SetBit(out, x, inside ? GetBit(rows[size_t(sy)], sx) : whiteBackground);
    }
    steps.Report(y);
  }
  image.MarkModified();
  return true;
}

}  // namespace quillet
