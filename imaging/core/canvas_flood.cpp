// Flood fill of the canvas: the region is found first into a visited plane,
// then painted with the brush row by row, so the fill ends whatever the
// brush (its own colour, a hatch, or clear).
#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#include "imaging/core/bits.h"
#include "imaging/core/canvas.h"
#include "imaging/core/canvas_ink.h"
#include "imaging/core/span_flood.h"

namespace quillet {

namespace {

// One bit per pixel, rows of 64-bit words; bits past the width stay clear.
class TVisited {
 public:
  TVisited(int64_t width, int64_t height)
      : width_(width), words_((width + 63) / 64), bits_(size_t(words_ * height), 0) {}
  bool Has(int64_t x, int64_t y) const { return (Row(y)[x >> 6] >> (x & 63)) & 1; }
  void Mark(int64_t y, int64_t l, int64_t r) {
    uint64_t* row = bits_.data() + y * words_;
    for (int64_t x = l; x <= r;) {
      const int64_t bit = x & 63, n = std::min<int64_t>(64 - bit, r - x + 1);
      row[x >> 6] |= (n == 64 ? ~uint64_t(0) : (uint64_t(1) << n) - 1) << bit;
      x += n;
    }
  }
  // Calls span(left, right) for every run [left, right) of row y.
  template <class F>
  void Runs(int64_t y, F&& span) const {
    for (int64_t x = Next(y, 0, false); x < width_;) {
      const int64_t end = Next(y, x, true);
      span(x, end);
      x = Next(y, end, false);
    }
  }

 private:
  const uint64_t* Row(int64_t y) const { return bits_.data() + y * words_; }
  // The first x >= from whose bit is set (or clear, with `clear`); the width if none.
  int64_t Next(int64_t y, int64_t from, bool clear) const {
    if (from >= width_) return width_;
    const uint64_t* row = Row(y);
    const uint64_t flip = clear ? ~uint64_t(0) : 0;
    int64_t i = from >> 6;
    uint64_t w = (row[i] ^ flip) & (~uint64_t(0) << (from & 63));
    while (w == 0) {
      if (++i == words_) return width_;
      w = row[i] ^ flip;
    }
    return std::min(i * 64 + std::countr_zero(w), width_);
  }

  int64_t width_, words_;
  std::vector<uint64_t> bits_;
};

// Whether a pixel belongs to the region: of the colour (surface) or not of
// it (border). On 1-bit rows the colour is a palette entry or none.
class TRegionTest {
 public:
  TRegionTest(const TIEWorkingBitmap& b, const TBGR& c, TIEFillStyle style)
      : b_(b), oneBit_(b.PixelFormat() == TIEPixelFormat::pf1bit), surface_(style == TIEFillStyle::fsSurface) {
    colour_[0] = c.b, colour_[1] = c.g, colour_[2] = c.r;
    for (int i = 0; i < 2 && oneBit_; ++i)
      if (b.Palette().size() > size_t(i) && TBGR{b.Palette()[i].b, b.Palette()[i].g, b.Palette()[i].r} == c) bit_ = i;
  }
  bool operator()(int64_t x, int64_t y) const {
    const uint8_t* row = b_.ScanLine(y);
    const bool same = oneBit_ ? int(GetBit(row, x)) == bit_ : std::memcmp(row + 3 * x, colour_, 3) == 0;
    return same == surface_;
  }

 private:
  const TIEWorkingBitmap& b_;
  bool oneBit_, surface_;
  uint8_t colour_[3];
  int bit_ = -1;
};

}  // namespace

void TIECanvas::FloodFill(int32_t x, int32_t y, const TBGR& colour, TIEFillStyle style) {
  if (!Pixel(x, y)) return;
  const TRegionTest inRegion(bitmap_, colour, style);
  if (!inRegion(x, y)) return;
  const int64_t w = bitmap_.Width(), h = bitmap_.Height();
  TVisited visited(w, h);
  int64_t top = y, bottom = y;
  SpanFlood(w, h, x, y, [&](int64_t px, int64_t py) { return !visited.Has(px, py) && inRegion(px, py); },
            [&](int64_t py, int64_t l, int64_t r) {
              visited.Mark(py, l, r);
              top = std::min(top, py), bottom = std::max(bottom, py);
            });
  const TCanvasInk ink{State().BrushColor, false, State().BrushStyle};
  for (int64_t row = top; row <= bottom; ++row)
    visited.Runs(row, [&](int64_t l, int64_t r) { PaintSpan(bitmap_, row, l, r, ink); });
  bitmap_.MarkModified();
}

}  // namespace quillet
