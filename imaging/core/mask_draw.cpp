// Drawing a 1-bit TIEMask over a view's 24-bit buffer: the inverted selection
// and the marching-ants border. Work is bounded by the visible area.
#include <algorithm>
#include <vector>

#include "imaging/core/bits.h"
#include "imaging/core/mask.h"
#include "imaging/core/math.h"

namespace quillet {

namespace {

// One axis of the displayed bounding box: client coordinates first..last-1,
// of which visibleFirst..visibleLast-1 lie inside the target.
struct AxisMap {
  int64_t first = 0, last = 0, visibleFirst = 0, visibleLast = 0;
  int64_t boxFirst = 0, boxLast = 0, step = 0;  // image extent, 14-bit step

  AxisMap(int64_t b1, int64_t b2, double zoom, int64_t source, int64_t offset, int64_t clientSize) {
    const double z = zoom / 100;
    first = Round(double(b1 - source) * z + double(offset));
    last = Round(double(b2 + 1 - source) * z + double(offset));
    boxFirst = b1;
    boxLast = b2;
    // Absurd zooms would overflow the client arithmetic; they show nothing.
    if (last <= first || double(last) - double(first) > 1e12) {
      last = first;
      return;
    }
    step = ((b2 - b1 + 1) << 14) / (last - first);
    visibleFirst = std::max<int64_t>(first, 0);
    visibleLast = std::min<int64_t>(last, clientSize);
  }
  bool Visible() const { return visibleFirst < visibleLast; }
  // Nearest image coordinate of client coordinate c of the box.
  int64_t Image(int64_t c) const { return std::min(boxFirst + (((c - first) * step) >> 14), boxLast); }
};

bool CanDraw(const TIEMask& mask, const TIERawTarget& target, const TIEMaskViewport& view) {
  return mask.BitsPerPixel() == 1 && !mask.IsEmpty() && target.Bits && view.Zoom > 0;
}

AxisMap Columns(const TIEMask& m, const TIERawTarget& t, const TIEMaskViewport& v) {
  return AxisMap(m.X1(), m.X2(), v.Zoom, v.SourceLeft, v.OffsetX, t.Width);
}

AxisMap Rows(const TIEMask& m, const TIERawTarget& t, const TIEMaskViewport& v) {
  return AxisMap(m.Y1(), m.Y2(), v.Zoom, v.SourceTop, v.OffsetY, t.Height);
}

void Plot(const TIERawTarget& t, int64_t x, int64_t y, TBGR c) {
  uint8_t* p = t.Bits + y * t.RowBytes + x * 3;
  p[0] = c.b;
  p[1] = c.g;
  p[2] = c.r;
}

}  // namespace

void TIEMask::DrawInverted(TIERawTarget& target, const TIEMaskViewport& view) const {
  if (!CanDraw(*this, target, view)) return;
  const AxisMap cols = Columns(*this, target, view), rows = Rows(*this, target, view);
  if (!cols.Visible() || !rows.Visible()) return;
  std::vector<int64_t> imageX(static_cast<size_t>(cols.visibleLast - cols.visibleFirst));
  for (int64_t c = cols.visibleFirst; c < cols.visibleLast; ++c) imageX[size_t(c - cols.visibleFirst)] = cols.Image(c);
  for (int64_t cy = rows.visibleFirst; cy < rows.visibleLast; ++cy) {
    const uint8_t* maskRow = ScanLine(rows.Image(cy));
    uint8_t* out = target.Bits + cy * target.RowBytes + cols.visibleFirst * 3;
    for (size_t i = 0; i < imageX.size(); ++i, out += 3) {
      if (!GetBit(maskRow, imageX[i])) continue;
      out[0] = uint8_t(~out[0]);
      out[1] = uint8_t(~out[1]);
      out[2] = uint8_t(~out[2]);
    }
  }
}

void TIEMask::DrawOutline(TIERawTarget& target, const TIEMaskViewport& view, TBGR colorA, TBGR colorB,
                          int64_t phase) {
  if (!CanDraw(*this, target, view)) return;
  const AxisMap cols = Columns(*this, target, view), rows = Rows(*this, target, view);
  if (!cols.Visible() || !rows.Visible()) return;

  // The cache reaches one pixel beyond the visible area so that every visible
  // pixel has its whole neighbourhood.
  const int64_t cx0 = std::max(cols.first, cols.visibleFirst - 1), cx1 = std::min(cols.last, cols.visibleLast + 1);
  const int64_t cy0 = std::max(rows.first, rows.visibleFirst - 1), cy1 = std::min(rows.last, rows.visibleLast + 1);
  const int64_t cw = cx1 - cx0, ch = cy1 - cy0;
  outline_.resize(size_t(cw * ch));
  std::vector<int64_t> imageX(static_cast<size_t>(cw));
  for (int64_t c = cx0; c < cx1; ++c) imageX[size_t(c - cx0)] = cols.Image(c);
  for (int64_t cy = cy0; cy < cy1; ++cy) {
    const uint8_t* maskRow = ScanLine(rows.Image(cy));
    uint8_t* cache = outline_.data() + (cy - cy0) * cw;
    for (int64_t i = 0; i < cw; ++i) cache[i] = GetBit(maskRow, imageX[size_t(i)]);
  }

  auto at = [&](int64_t cx, int64_t cy) { return outline_[size_t((cy - cy0) * cw + (cx - cx0))]; };
  for (int64_t cy = rows.visibleFirst; cy < rows.visibleLast; ++cy) {
    const bool edgeRow = cy == rows.first || cy == rows.last - 1;
    for (int64_t cx = cols.visibleFirst; cx < cols.visibleLast; ++cx) {
      if (!at(cx, cy)) continue;
      bool border = edgeRow || cx == cols.first || cx == cols.last - 1;
      for (int64_t ny = cy - 1; ny <= cy + 1 && !border; ++ny)
        for (int64_t nx = cx - 1; nx <= cx + 1 && !border; ++nx) border = !at(nx, ny);
      if (border) Plot(target, cx, cy, ((cx + cy + phase) & 4) ? colorB : colorA);
    }
  }
}

}  // namespace quillet
