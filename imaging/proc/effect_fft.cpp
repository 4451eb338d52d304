#include "imaging/proc/effect_fft.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "imaging/core/vector_clones.h"

namespace quillet {

namespace {

// Lines transformed side by side: one cache line of floats.
constexpr int64_t kLanes = 16;

// A strip of kLanes lines of n samples: sample i of line s at i * kLanes + s.
struct TStrip {
  std::vector<float> re, im;
  explicit TStrip(int64_t n) : re(size_t(n * kLanes)), im(size_t(n * kLanes)) {}
};

// One radix-2 stage over a strip of n samples a line: in blocks of 2 half,
// (a, c) becomes (a + w c, a - w c) over all the strip's lines at once.
inline void Radix2(float* __restrict re, float* __restrict im, int64_t n, int64_t half, const float* cosines,
                   const float* sines, float sign) {
  const int64_t step = n / (2 * half);
  for (int64_t b = 0; b < n; b += 2 * half)
    for (int64_t j = 0; j < half; ++j) {
      const float wr = cosines[j * step], wi = sign * sines[j * step];
      float *ar = re + (b + j) * kLanes, *ai = im + (b + j) * kLanes;
      float *cr = ar + half * kLanes, *ci = ai + half * kLanes;
      for (int64_t s = 0; s < kLanes; ++s) {
        const float tr = cr[s] * wr - ci[s] * wi, ti = cr[s] * wi + ci[s] * wr;
        cr[s] = ar[s] - tr, ci[s] = ai[s] - ti;
        ar[s] += tr, ai[s] += ti;
      }
    }
}

// The radix-2 stages of halves q and 2q in one pass over blocks of 4q: half
// the loads and stores, and the second stage's twiddle for the upper pair is
// the lower pair's turned a quarter (times -i forward, +i inverse).
inline void Radix4(float* __restrict re, float* __restrict im, int64_t n, int64_t q, const float* cosines,
                   const float* sines, float sign) {
  const int64_t step1 = n / (2 * q), step2 = n / (4 * q);
  for (int64_t b = 0; b < n; b += 4 * q)
    for (int64_t j = 0; j < q; ++j) {
      const float w1r = cosines[j * step1], w1i = sign * sines[j * step1];
      const float w2r = cosines[j * step2], w2i = sign * sines[j * step2];
      float *r0 = re + (b + j) * kLanes, *i0 = im + (b + j) * kLanes;
      float *r1 = r0 + q * kLanes, *i1 = i0 + q * kLanes, *r2 = r1 + q * kLanes, *i2 = i1 + q * kLanes;
      float *r3 = r2 + q * kLanes, *i3 = i2 + q * kLanes;
      for (int64_t s = 0; s < kLanes; ++s) {
        const float t1r = r1[s] * w1r - i1[s] * w1i, t1i = r1[s] * w1i + i1[s] * w1r;
        const float t3r = r3[s] * w1r - i3[s] * w1i, t3i = r3[s] * w1i + i3[s] * w1r;
        const float y0r = r0[s] + t1r, y0i = i0[s] + t1i, y1r = r0[s] - t1r, y1i = i0[s] - t1i;
        const float y2r = r2[s] + t3r, y2i = i2[s] + t3i, y3r = r2[s] - t3r, y3i = i2[s] - t3i;
        const float ur = y2r * w2r - y2i * w2i, ui = y2r * w2i + y2i * w2r;
        const float vr = y3r * w2r - y3i * w2i, vi = y3r * w2i + y3i * w2r;
        const float turnedR = sign * vi, turnedI = -sign * vr;
        r0[s] = y0r + ur, i0[s] = y0i + ui, r2[s] = y0r - ur, i2[s] = y0i - ui;
        r1[s] = y1r + turnedR, i1[s] = y1i + turnedI, r3[s] = y1r - turnedR, i3[s] = y1i - turnedI;
      }
    }
}

// Every stage over a strip loaded in bit-reversed order, two at a time.
QUILLET_VECTOR_CLONES void Butterflies(float* __restrict re, float* __restrict im, int64_t n, const float* cosines,
                                       const float* sines, float sign) {
  int64_t half = 1;
  for (; 2 * half < n; half *= 4) Radix4(re, im, n, half, cosines, sines, sign);
  if (half < n) Radix2(re, im, n, half, cosines, sines, sign);
}

// The twiddles and bit reversal of one line length.
class TFftLine {
 public:
  explicit TFftLine(int64_t n) : n_(n), cos_(size_t(n / 2 + 1)), sin_(size_t(n / 2 + 1)), reversed_(size_t(n)) {
    for (int64_t m = 0; m < n / 2; ++m) {
      const double angle = -2 * std::numbers::pi * double(m) / double(n);
      cos_[size_t(m)] = float(std::cos(angle)), sin_[size_t(m)] = float(std::sin(angle));
    }
    int bits = 0;
    while ((int64_t(1) << bits) < n) ++bits;
    for (int64_t i = 0; i < n; ++i) {
      int64_t r = 0;
      for (int b = 0; b < bits; ++b) r |= ((i >> b) & 1) << (bits - 1 - b);
      reversed_[size_t(i)] = r;
    }
  }

  int64_t Size() const { return n_; }
  // Where sample i goes before the butterflies.
  int64_t Reversed(int64_t i) const { return reversed_[size_t(i)]; }

  // The strip's lines, loaded in bit-reversed order, transformed in place.
  void Transform(TStrip& strip, bool inverse) const {
    Butterflies(strip.re.data(), strip.im.data(), n_, cos_.data(), sin_.data(), inverse ? -1.0f : 1.0f);
  }

 private:
  int64_t n_;
  std::vector<float> cos_, sin_;
  std::vector<int64_t> reversed_;
};

// Strips of kLanes rows: row y0 + s becomes line s (rows past the plane are zero).
void TransformRows(TIEComplexPlane& plane, const TFftLine& line, TStrip& strip, int64_t y0, bool inverse) {
  const int64_t w = plane.Width, lines = std::min(kLanes, plane.Height - y0);
  float* re[kLanes];
  float* im[kLanes];
  for (int64_t s = 0; s < lines; ++s) re[s] = &plane.Re[plane.Index(0, y0 + s)], im[s] = &plane.Im[plane.Index(0, y0 + s)];
  std::fill(strip.re.begin(), strip.re.end(), 0.0f);
  std::fill(strip.im.begin(), strip.im.end(), 0.0f);
  float *sre = strip.re.data(), *sim = strip.im.data();
  for (int64_t i = 0; i < w; ++i) {
    const int64_t to = line.Reversed(i) * kLanes;
    for (int64_t s = 0; s < lines; ++s) sre[to + s] = re[s][i], sim[to + s] = im[s][i];
  }
  line.Transform(strip, inverse);
  for (int64_t i = 0; i < w; ++i)
    for (int64_t s = 0; s < lines; ++s) re[s][i] = sre[i * kLanes + s], im[s][i] = sim[i * kLanes + s];
}

// Strips of kLanes columns from x0 (columns past the plane are zero).
void TransformColumns(TIEComplexPlane& plane, const TFftLine& line, TStrip& strip, int64_t x0, bool inverse) {
  const int64_t h = plane.Height, lines = std::min(kLanes, plane.Width - x0);
  const size_t bytes = size_t(lines) * sizeof(float);
  std::fill(strip.re.begin(), strip.re.end(), 0.0f);
  std::fill(strip.im.begin(), strip.im.end(), 0.0f);
  const auto copy = [full = lines == kLanes, bytes](float* to, const float* from) {
    if (full) std::memcpy(to, from, kLanes * sizeof(float));
    else std::memcpy(to, from, bytes);
  };
  for (int64_t i = 0; i < h; ++i) {
    const size_t to = size_t(line.Reversed(i) * kLanes), from = plane.Index(x0, i);
    copy(&strip.re[to], &plane.Re[from]);
    copy(&strip.im[to], &plane.Im[from]);
  }
  line.Transform(strip, inverse);
  for (int64_t i = 0; i < h; ++i) {
    const size_t from = size_t(i * kLanes), to = plane.Index(x0, i);
    copy(&plane.Re[to], &strip.re[from]);
    copy(&plane.Im[to], &strip.im[from]);
  }
}

int64_t Strips(int64_t lines) { return (lines + kLanes - 1) / kLanes; }

}  // namespace

void TIEComplexPlane::Allocate(int64_t width, int64_t height) {
  Width = width, Height = height;
  Re.assign(size_t(width * height), 0.0f);
  Im.assign(size_t(width * height), 0.0f);
}

int64_t FftSize(int64_t n) {
  int64_t size = 1;
  while (size < n) size *= 2;
  return size;
}

int64_t FftSteps(int64_t width, int64_t height) { return Strips(height) + Strips(width); }

bool Fft2D(TIEComplexPlane& plane, bool inverse, TIEProcRows& rows) {
  const TFftLine across(plane.Width), down(plane.Height);
  const bool rowsDone = rows.Run(Strips(plane.Height), 40 * kLanes * plane.Width, [&](int64_t first, int64_t last, auto next) {
    TStrip strip(plane.Width);
    for (int64_t s = first; s < last; ++s) {
      TransformRows(plane, across, strip, s * kLanes, inverse);
      if (!next()) return;
    }
  });
  return rowsDone && rows.Run(Strips(plane.Width), 40 * kLanes * plane.Height, [&](int64_t first, int64_t last, auto next) {
    TStrip strip(plane.Height);
    for (int64_t s = first; s < last; ++s) {
      TransformColumns(plane, down, strip, s * kLanes, inverse);
      if (!next()) return;
    }
  });
}

}  // namespace quillet
