// The three shears. Each row or column moves by a rounded offset; with
// antialiasing a moved pixel is blended with the one before it by the part
// of the offset that rounding dropped, so that edges stay smooth.
#include "imaging/proc/rotate_shear.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "imaging/core/math.h"
#include "imaging/proc/resample_threads.h"

namespace quillet {

namespace {

// prev weighted w and cur weighted 4096 - w, in 1/4096 units rounded to
// nearest; a negative w extrapolates, hence the clamp.
inline uint8_t Blend(int prev, int cur, int w) {
  const int v = (prev * w + cur * (4096 - w) + 2048) >> 12;
  return uint8_t(std::clamp(v, 0, 255));
}

inline void Blend3(const uint8_t* prev, const uint8_t* cur, int w, uint8_t* out) {
  for (int c = 0; c < 3; ++c) out[c] = Blend(prev[c], cur[c], w);
}

inline void Copy3(const uint8_t* from, uint8_t* to) { to[0] = from[0], to[1] = from[1], to[2] = from[2]; }

// Pixels [from, to) of a row in the background colour.
void FillBackground(uint8_t* row, int64_t from, int64_t to, const uint8_t* bg) {
  if (bg[0] == bg[1] && bg[1] == bg[2]) {
    if (to > from) std::memset(row + 3 * from, bg[0], size_t(3 * (to - from)));
    return;
  }
  for (int64_t x = from; x < to; ++x) Copy3(bg, row + 3 * x);
}

// Source row moved right by `off` pixels into a destination row, keeping
// what lands inside it. With antialiasing, the first pixel blends with the
// background and one trailing pixel blends the last with the background.
void ShearRow(const uint8_t* src, int64_t srcWidth, uint8_t* dst, int64_t dstWidth, int64_t off, int w, bool aa,
              const uint8_t* bg) {
  const int64_t first = std::max<int64_t>(0, -off), end = std::min(srcWidth, dstWidth - off);
  if (first >= end) return FillBackground(dst, 0, dstWidth, bg);
  FillBackground(dst, 0, off + first, bg);
  int64_t filled = off + end;
  if (!aa) {
    std::memcpy(dst + 3 * (off + first), src + 3 * first, size_t(3 * (end - first)));
  } else {
    Blend3(bg, src + 3 * first, w, dst + 3 * (off + first));
    uint8_t* moved = dst + 3 * off;
    for (int64_t b = 3 * (first + 1); b < 3 * end; ++b) moved[b] = Blend(src[b - 3], src[b], w);
    if (w > 0 && end == srcWidth && filled < dstWidth) Blend3(src + 3 * (srcWidth - 1), bg, w, dst + 3 * filled++);
  }
  FillBackground(dst, filled, dstWidth, bg);
}

// The column shear of pass 2: column x moves down by Offsets[x] rows.
struct TColumnShear {
  TRotateRows Source;
  int64_t Height;
  const int64_t* Offsets;
  const int* Weights;
  bool Antialias;
  const uint8_t* Background;
};

// Columns [x0, x1) of result row ty. Each takes the source row its offset
// brings there, blended with the row above it when that one landed inside
// too; one row past the column's end gets its trailing blend.
void ShearColumns(const TColumnShear& s, int64_t ty, int64_t x0, int64_t x1, uint8_t* out) {
  const uint8_t* bg = s.Background;
  const int64_t h = s.Height, stride = s.Source.Stride;
  const uint8_t* bits = s.Source.Bits;
  const bool aa = s.Antialias;
  for (int64_t x = x0; x < x1; ++x) {
    const int64_t y = ty - s.Offsets[x];
    const int w = s.Weights[x];
    uint8_t* o = out + 3 * x;
    if (y >= 0 && y < h) {
      const uint8_t* c = bits + y * stride + 3 * x;
      if (!aa)
        Copy3(c, o);
      else
        Blend3(y >= 1 && ty >= 1 ? c - stride : bg, c, w, o);
    } else if (aa && y == h && w > 0) {
      Blend3(ty >= 1 ? bits + (h - 1) * stride + 3 * x : bg, bg, w, o);
    } else {
      Copy3(bg, o);
    }
  }
}

}  // namespace

TShearGeometry ShearGeometry(int64_t width, int64_t height, double degrees) {
  TShearGeometry g{};
  g.Radians = degrees * std::numbers::pi / 180;
  g.T = std::fabs(std::sin(g.Radians / 2) / std::cos(g.Radians / 2));
  g.S = std::fabs(std::sin(g.Radians));
  g.W = width;
  g.H = height;
  g.W1 = Round(double(g.H) * g.T + double(g.W) + 1);
  g.O1 = Round(double(g.W1 - g.W) * g.S);
  g.H2 = Round(double(g.W1) * g.S + double(g.H) + 1);
  g.O2 = Round(double(g.H2 - g.H - g.O1) * g.T);
  g.H3 = g.H2 - 2 * g.O1;
  g.W3 = Round(double(g.H3) * g.T + double(g.W1) + 1 - double(2 * g.O2));
  return g;
}

TShearRotation::TShearRotation(const TShearGeometry& g, bool antialias, TBGR background,
                               const TIEProcProgress& progress)
    : g_(g),
      antialias_(antialias),
      background_{background.b, background.g, background.r},
      steps_(progress, double(g.H + g.W1 + g.H3) + 0.5) {}

void TShearRotation::Across(const TRotateRows& source, const TRotateRows& b1) {
  const auto progress = [&](int64_t done) { steps_.Report(done); };
  SplitItems(g_.H, g_.W1, progress, [&](int64_t first, int64_t last, auto&& done) {
    for (int64_t y = first; y < last; ++y) {
      const double d = double(g_.Radians > 0 ? y : g_.H - y) * g_.T;
      const int64_t off = Round(d);
      const int w = int(Trunc((d - double(off)) * 4096));
      ShearRow(source.Row(y), g_.W, b1.Row(y), g_.W1, off, w, antialias_, background_);
      done(1);
    }
  });
}

void TShearRotation::DownAndAcross(const TRotateRows& b1, const TRotateRows& result) {
  std::vector<int64_t> offsets(size_t(g_.W1));
  std::vector<int> weights(size_t(g_.W1));
  for (int64_t x = 0; x < g_.W1; ++x) {
    const double d = double(g_.Radians > 0 ? g_.W1 - x : x) * g_.S;
    const int64_t off = Round(d);
    weights[size_t(x)] = int(Round((d - double(off)) * 4096));
    offsets[size_t(x)] = off - g_.O1;
  }
  const TColumnShear shear{b1, g_.H, offsets.data(), weights.data(), antialias_, background_};
  // The result goes in strips of rows: pass 2 fills a strip of B2 block of
  // columns by block of columns (the B1 rows a block reads for one row are
  // those it read for the row before, moved down by one), then pass 3 moves
  // the strip's rows into the result while they are still in the cache.
  constexpr int64_t kStrip = 64, kColumns = 64;
  const int64_t strips = (g_.H3 + kStrip - 1) / kStrip;
  const auto progress = [&](int64_t done) {
    steps_.Report(g_.H + (g_.W1 + g_.H3) * done / strips);
  };
  SplitItems(strips, kStrip * (g_.W1 + g_.W3), progress, [&](int64_t first, int64_t last, auto&& done) {
    TRotatePlane strip(g_.W1, kStrip);
    const TRotateRows& b2 = strip.Rows();
    for (int64_t n = first; n < last; ++n) {
      const int64_t ty0 = n * kStrip, ty1 = std::min(ty0 + kStrip, g_.H3);
      for (int64_t x0 = 0; x0 < g_.W1; x0 += kColumns)
        for (int64_t ty = ty0; ty < ty1; ++ty)
          ShearColumns(shear, ty, x0, std::min(x0 + kColumns, g_.W1), b2.Row(ty - ty0));
      for (int64_t y = ty0; y < ty1; ++y) {
        const double d = double(g_.Radians > 0 ? y : g_.H3 - y) * g_.T;
        const int64_t off = Round(d);
        const int w = int(Round((d - double(off)) * 4096));
        ShearRow(b2.Row(y - ty0), g_.W1, result.Row(y), g_.W3, off - g_.O2, w, antialias_, background_);
      }
      done(1);
    }
  });
}

}  // namespace quillet
