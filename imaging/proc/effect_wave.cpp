#include "imaging/proc/effect_wave.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "imaging/core/math.h"
#include "imaging/proc/effect_area.h"

namespace quillet {

namespace {

struct TWave {
  double amplitude, waveLength, phase;
  bool reflective;
  double cx, cy, sx, sy;
};

TWave WaveOf(const TIEWorkingBitmap& image, int32_t amplitude, int32_t waveLength, int32_t phase, bool reflective) {
  const double wx = double(image.Width()) / 2, wy = double(image.Height()) / 2;
  TWave w{double(amplitude), double(waveLength), phase * std::numbers::pi / 180, reflective,
          double(image.Width() - 1) / 2, double(image.Height() - 1) / 2, 1, 1};
  if (wx > wy) w.sy = wx / wy;
  if (wx < wy) w.sx = wy / wx;
  return w;
}

// Bilinear sampling of `src` at (fx, fy) as the effect defines it: the
// integer parts limited to the image less one pixel, the fractions of the
// unlimited position (plus 1 when negative), pixels beyond the image 0.
class TWaveSampler {
 public:
  explicit TWaveSampler(const TIEWorkingBitmap& src) : src_(src), w_(src.Width()), h_(src.Height()) {}

  void Sample(double sx, double sy, uint8_t* dst) const {
    const int64_t tx = Trunc(sx), ty = Trunc(sy);
    const int64_t ix = std::clamp<int64_t>(tx, 0, std::max<int64_t>(w_ - 2, 0));
    const int64_t iy = std::clamp<int64_t>(ty, 0, std::max<int64_t>(h_ - 2, 0));
    double fx = sx - double(tx), fy = sy - double(ty);
    if (fx < 0) fx += 1;
    if (fy < 0) fy += 1;
    const uint8_t* p00 = At(ix, iy);
    const uint8_t* p10 = At(ix + 1, iy);
    const uint8_t* p01 = At(ix, iy + 1);
    const uint8_t* p11 = At(ix + 1, iy + 1);
    for (int c = 0; c < 3; ++c) {
      const double top = (1 - fx) * p00[c] + fx * p10[c], bottom = (1 - fx) * p01[c] + fx * p11[c];
      dst[c] = uint8_t((1 - fy) * top + fy * bottom);
    }
  }

 private:
  // A neighbour's pixel, or black beyond the image (a one-pixel row or column).
  const uint8_t* At(int64_t x, int64_t y) const {
    static const uint8_t kNone[3] = {0, 0, 0};
    return x < w_ && y < h_ ? src_.ScanLine(y) + 3 * x : kNone;
  }

  const TIEWorkingBitmap& src_;
  int64_t w_, h_;
};

// Row y: the sine of each pixel's distance, the same for a pixel and its
// mirror across the vertical centre line, so that half the row is computed.
void WaveRow(const TWave& wave, const TWaveSampler& sampler, int64_t width, int64_t y, std::vector<double>& sines,
             uint8_t* dst) {
  const double dy = (double(y) - wave.cy) * wave.sy, k = 2 * std::numbers::pi;
  const int64_t half = (width + 1) / 2;
  for (int64_t x = 0; x < half; ++x) {
    const double dx = (double(x) - wave.cx) * wave.sx;
    sines[size_t(x)] = std::sin(std::sqrt(dx * dx + dy * dy) / (2 * wave.waveLength) * k + wave.phase);
  }
  for (int64_t x = 0; x < width; ++x) {
    const double dx = (double(x) - wave.cx) * wave.sx, s = sines[size_t(std::min(x, width - 1 - x))];
    double sx, sy;
    if (wave.reflective) {
      const double g = std::abs(s) * wave.amplitude;
      sx = wave.cx + dx * g / wave.sx, sy = wave.cy + dy * g / wave.sy;
    } else {
      const double f = s * wave.amplitude;
      sx = (f + dx) / wave.sx + wave.cx, sy = (f + dy) / wave.sy + wave.cy;
    }
    sampler.Sample(sx, sy, dst + 3 * x);
  }
}

}  // namespace

void ApplyWave(TIEWorkingBitmap& image, int32_t amplitude, int32_t waveLength, int32_t phase, bool reflective,
               const TIEEffectControl& control) {
  if (image.PixelFormat() != TIEPixelFormat::pf24bit || image.Empty() || amplitude == 0 || waveLength == 0) return;
  const TWave wave = WaveOf(image, amplitude, waveLength, phase, reflective);
  const TWaveSampler sampler(image);
  const TIEEffectArea area = WholeArea(image);
  TIEWorkingBitmap out = NewAreaImage(area);
  TIEEffectRows rows(control, double(image.Height()) + 0.5);
  if (!rows.Run(image.Height(), 48 * image.Width(), [&](int64_t first, int64_t last, auto next) {
        std::vector<double> sines(size_t(image.Width()));
        for (int64_t y = first; y < last; ++y) {
          WaveRow(wave, sampler, image.Width(), y, sines, out.ScanLine(y));
          if (!next()) return;
        }
      }))
    return;
  CommitArea(image, area, std::move(out));
}

}  // namespace quillet
