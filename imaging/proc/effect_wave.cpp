#include "imaging/proc/effect_wave.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "imaging/core/vector_clones.h"
#include "imaging/proc/bitmap_area.h"
#include "imaging/proc/effect_area.h"
#include "imaging/proc/effect_sine.h"

namespace quillet {

namespace {

struct TWave {
  double amplitude, waveLength, phase;
  bool reflective;
  double cx, cy, sx, sy;
  int64_t width, height;
};

TWave WaveOf(const TIEWorkingBitmap& image, int32_t amplitude, int32_t waveLength, int32_t phase, bool reflective) {
  const double wx = double(image.Width()) / 2, wy = double(image.Height()) / 2;
  TWave w{double(amplitude), double(waveLength), phase * std::numbers::pi / 180, reflective,
          double(image.Width() - 1) / 2, double(image.Height() - 1) / 2, 1, 1, image.Width(), image.Height()};
  if (wx > wy) w.sy = wx / wy;
  if (wx < wy) w.sx = wy / wx;
  return w;
}

// Where a row's pixels sample the copy: the whole parts of the positions,
// limited to the image less one pixel, and the fractions of the unlimited
// positions (plus 1 when negative); then the four neighbours' channels, one
// array per neighbour and channel, so that the blend runs over whole rows.
struct TSamples {
  std::vector<double> sine, fx, fy;
  std::vector<int32_t> ix, iy;
  std::vector<uint8_t> corners;  // [neighbour * 3 + channel][x]
  explicit TSamples(int64_t width)
      : sine(size_t(width)), fx(size_t(width)), fy(size_t(width)), ix(size_t(width)), iy(size_t(width)),
        corners(12 * size_t(width)) {}
};

// The sine of each pixel's distance from the centre, computed for the left
// half of the row and mirrored, as a pixel and its mirror across the
// vertical centre line are equally far.
QUILLET_VECTOR_CLONES void RowSines(const TWave& w, const double* across, double dy, double* __restrict sine) {
  const int64_t half = (w.width + 1) / 2;
  const double k = 2 * std::numbers::pi;
  for (int64_t x = 0; x < half; ++x)
    sine[x] = FastSine(std::sqrt(across[x] * across[x] + dy * dy) / (2 * w.waveLength) * k + w.phase);
  for (int64_t x = half; x < w.width; ++x) sine[x] = sine[w.width - 1 - x];
}

// The whole part of a coordinate, limited to [0, last]; positions stay far
// inside the 64-bit range for any image and amplitude.
inline int32_t Whole(double v, double last) {
  const double t = std::trunc(v);
  return int32_t(t < 0 ? 0 : t > last ? last : t);
}
// Its fraction, plus 1 when negative.
inline double Fraction(double v) {
  const double f = v - std::trunc(v);
  return f < 0 ? f + 1 : f;
}

QUILLET_VECTOR_CLONES void RowSamples(const TWave& w, const double* across, double dy, TSamples& s) {
  const double lastX = double(std::max<int64_t>(w.width - 2, 0)), lastY = double(std::max<int64_t>(w.height - 2, 0));
  const double *sine = s.sine.data(), cx = w.cx, cy = w.cy, sx = w.sx, sy = w.sy, a = w.amplitude;
  double *__restrict fx = s.fx.data(), *__restrict fy = s.fy.data();
  int32_t *__restrict ix = s.ix.data(), *__restrict iy = s.iy.data();
  if (w.reflective)
    for (int64_t x = 0; x < w.width; ++x) {
      const double g = std::fabs(sine[x]) * a, px = cx + across[x] * g / sx, py = cy + dy * g / sy;
      ix[x] = Whole(px, lastX), iy[x] = Whole(py, lastY), fx[x] = Fraction(px), fy[x] = Fraction(py);
    }
  else
    for (int64_t x = 0; x < w.width; ++x) {
      const double f = sine[x] * a, px = (f + across[x]) / sx + cx, py = (f + dy) / sy + cy;
      ix[x] = Whole(px, lastX), iy[x] = Whole(py, lastY), fx[x] = Fraction(px), fy[x] = Fraction(py);
    }
}

// The copy sampled: rows of `stride` bytes from `first`, one more column and
// row than any whole part reaches.
struct TSource {
  const uint8_t* first;
  int64_t stride;
};

void GatherRow(const TSource& src, TSamples& s, int64_t width) {
  uint8_t* c = s.corners.data();
  const size_t n = size_t(width);
  for (size_t x = 0; x < n; ++x) {
    const uint8_t* p0 = src.first + s.iy[x] * src.stride + 3 * int64_t(s.ix[x]);
    const uint8_t* p1 = p0 + src.stride;
    for (size_t ch = 0; ch < 3; ++ch) {
      c[ch * n + x] = p0[ch], c[(3 + ch) * n + x] = p0[3 + ch];
      c[(6 + ch) * n + x] = p1[ch], c[(9 + ch) * n + x] = p1[3 + ch];
    }
  }
}

// value = trunc((1 - fy) top + fy bottom), top and bottom the horizontal
// blends of the upper and lower neighbours.
QUILLET_VECTOR_CLONES void BlendRow(const TSamples& s, int64_t width, uint8_t* __restrict dst) {
  const size_t n = size_t(width);
  const uint8_t* c = s.corners.data();
  const double *fxs = s.fx.data(), *fys = s.fy.data();
  for (size_t x = 0; x < n; ++x) {
    const double fx = fxs[x], fy = fys[x];
    for (size_t ch = 0; ch < 3; ++ch) {
      const double top = (1 - fx) * c[ch * n + x] + fx * c[(3 + ch) * n + x];
      const double bottom = (1 - fx) * c[(6 + ch) * n + x] + fx * c[(9 + ch) * n + x];
      dst[3 * x + ch] = uint8_t(int32_t((1 - fy) * top + fy * bottom));
    }
  }
}

}  // namespace

void ApplyWave(TIEWorkingBitmap& image, int32_t amplitude, int32_t waveLength, int32_t phase, bool reflective,
               const TIEProcWatch& control) {
  if (image.PixelFormat() != TIEPixelFormat::pf24bit || image.Empty() || amplitude == 0 || waveLength == 0) return;
  const TWave wave = WaveOf(image, amplitude, waveLength, phase, reflective);
  std::vector<double> across(size_t(wave.width));
  for (int64_t x = 0; x < wave.width; ++x) across[size_t(x)] = (double(x) - wave.cx) * wave.sx;
  // Sampling reads one pixel right of and below its whole position; a
  // one-pixel row or column has black there.
  TIEWorkingBitmap padded;
  TSource src{image.ScanLine(0), image.RowBytes()};
  if (wave.width < 2 || wave.height < 2) {
    padded.Resize(wave.width + 1, wave.height + 1, TIEPixelFormat::pf24bit);
    padded.Fill(kBlack);
    PasteArea(image, padded, 0, 0);
    src = {padded.ScanLine(0), padded.RowBytes()};
  }
  const TIEArea area = TIEArea{}.ClampedTo(image);
  TIEWorkingBitmap out = NewAreaImage(area);
  TIEProcRows rows(control, double(wave.height) + 0.5);
  if (!rows.Run(wave.height, 48 * wave.width, [&](int64_t first, int64_t last, auto next) {
        TSamples samples(wave.width);
        for (int64_t y = first; y < last; ++y) {
          const double dy = (double(y) - wave.cy) * wave.sy;
          RowSines(wave, across.data(), dy, samples.sine.data());
          RowSamples(wave, across.data(), dy, samples);
          GatherRow(src, samples, wave.width);
          BlendRow(samples, wave.width, out.ScanLine(y));
          if (!next()) return;
        }
      }))
    return;
  CommitArea(image, area, std::move(out));
}

}  // namespace quillet
