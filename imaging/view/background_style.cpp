// Painting the background styles row by row: solid, hatched, chessboard,
// diagonals, and the cropped frames with their 3-D edge or soft shadow.
#include "imaging/view/background_style.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "imaging/core/hatch.h"
#include "imaging/core/math.h"
#include "imaging/core/engine_settings.h"
#include "imaging/view/pixel_rows.h"
#include "imaging/core/system_colors.h"

namespace quillet {

namespace {

TIEBrushStyle HatchOf(TIEBackgroundStyle style) {
  switch (style) {
    case TIEBackgroundStyle::iebsHorizontal: return TIEBrushStyle::bsHorizontal;
    case TIEBackgroundStyle::iebsVertical: return TIEBrushStyle::bsVertical;
    case TIEBackgroundStyle::iebsFDiagonal: return TIEBrushStyle::bsFDiagonal;
    case TIEBackgroundStyle::iebsBDiagonal: return TIEBrushStyle::bsBDiagonal;
    case TIEBackgroundStyle::iebsCross: return TIEBrushStyle::bsCross;
    case TIEBackgroundStyle::iebsDiagCross: return TIEBrushStyle::bsDiagCross;
    default: return TIEBrushStyle::bsSolid;
  }
}

// Pixels x0..x1-1 of row y: `line` on the hatch's lines, `gap` elsewhere.
void HatchSpan(uint8_t* row, int64_t y, int64_t x0, int64_t x1, TIEBrushStyle style, TBGR line, TBGR gap) {
  if (style == TIEBrushStyle::bsSolid || style == TIEBrushStyle::bsClear) {
    FillSpan(row, x0, x1, style == TIEBrushStyle::bsSolid ? line : gap);
    return;
  }
  std::array<TBGR, 8> period;
  for (int64_t i = 0; i < 8; ++i) period[size_t(i)] = OnHatch(style, i, y) ? line : gap;
  uint8_t* p = row + x0 * 3;
  for (int64_t x = x0; x < x1; ++x, p += 3) PutPixel(p, period[size_t(x & 7)]);
}

// The lines in the colour, the gaps in its inverse so that the pattern shows
// on every colour.
void PaintHatch(const TIERawTarget& t, const TIERect& clip, TIEBrushStyle style, TBGR color) {
  for (int64_t y = clip.Top; y < clip.Bottom; ++y)
    HatchSpan(t.Bits + y * t.RowBytes, y, clip.Left, clip.Right, style, color, Inverse(color));
}

// Squares alternate between the inverse and the colour, the top-left one
// inverse. A hatched square brush draws its lines over the colour.
void PaintChessboard(const TIERawTarget& t, const TIERect& clip, const TIEBackgroundParams& p) {
  const int64_t size = std::max<int64_t>(p.ChessboardSize, 1);
  const TBGR inverse = Inverse(p.Color);
  for (int64_t y = clip.Top; y < clip.Bottom; ++y) {
    uint8_t* row = t.Bits + y * t.RowBytes;
    for (int64_t x = clip.Left; x < clip.Right;) {
      const int64_t end = std::min(clip.Right, (x / size + 1) * size);
      const bool inverted = (x / size + y / size) % 2 == 0;
      HatchSpan(row, y, x, end, p.ChessboardBrushStyle, inverted ? inverse : p.Color, p.Color);
      x = end;
    }
  }
}

// Both corner-to-corner diagonals of the target, one pixel wide, in the
// inverse over the colour.
void PaintDiagonals(const TIERawTarget& t, const TIERect& clip, TBGR color) {
  const TBGR pen = Inverse(color);
  const int64_t w = t.Width, h = t.Height;
  for (int64_t y = clip.Top; y < clip.Bottom; ++y) {
    uint8_t* row = t.Bits + y * t.RowBytes;
    FillSpan(row, clip.Left, clip.Right, color);
    const int64_t from = y * w / h, to = std::max(from + 1, (y + 1) * w / h);
    FillSpan(row, std::max(from, clip.Left), std::min(to, clip.Right), pen);
    FillSpan(row, std::max(w - to, clip.Left), std::min(w - from, clip.Right), pen);
  }
}

// A one-pixel ring: its top and left sides in one colour, bottom and right in the other.
void Ring(const TIERawTarget& t, const TIERect& clip, const TIERect& r, TBGR topLeft, TBGR bottomRight) {
  FillRect(t, clip, {r.Left, r.Top, r.Right - 1, r.Top + 1}, topLeft);
  FillRect(t, clip, {r.Left, r.Top, r.Left + 1, r.Bottom - 1}, topLeft);
  FillRect(t, clip, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, bottomRight);
  FillRect(t, clip, {r.Right - 1, r.Top, r.Right, r.Bottom - 1}, bottomRight);
}

bool Framable(const TIERect& image) { return image.Width() >= 2 && image.Height() >= 2; }

// A sunken two-ring edge around the image, grown by the edge size.
void PaintCropped(const TIERawTarget& t, const TIERect& clip, const TIERect& image) {
  const TIEViewSystemColors& sys = ViewSystemColors();
  FillRect(t, clip, clip, sys.ButtonFace);
  if (!Framable(image)) return;
  const TIEStartupMetrics& m = StartupMetrics();
  const TIERect outer{image.Left - m.EdgeX, image.Top - m.EdgeY, image.Right + m.EdgeX, image.Bottom + m.EdgeY};
  const TIERect inner{outer.Left + 1, outer.Top + 1, outer.Right - 1, outer.Bottom - 1};
  Ring(t, clip, outer, sys.ButtonShadow, sys.ButtonHighlight);
  Ring(t, clip, inner, sys.ButtonDarkShadow, sys.ButtonLight);
}

TBGR Grey(int level) { return TBGR{uint8_t(level), uint8_t(level), uint8_t(level)}; }

// A shadow right of the image from 3 pixels below its top and below it from
// 4 pixels right of its left edge, darkest next to the image; where the two
// meet, the brighter of the two levels rounds the corner.
void PaintCropShadow(const TIERawTarget& t, const TIERect& clip, const TIERect& image) {
  FillRect(t, clip, clip, ViewSystemColors().ButtonFace);
  if (!Framable(image)) return;
  for (int64_t i = 0; i < kShadowWidth; ++i) {
    const TBGR grey = Grey(ShadowLevel(i));
    FillRect(t, clip, {image.Right + i, image.Top + 3, image.Right + i + 1, image.Bottom}, grey);
    FillRect(t, clip, {image.Left + 4, image.Bottom + i, image.Right, image.Bottom + i + 1}, grey);
    for (int64_t j = 0; j < kShadowWidth; ++j) {
      const TIERect corner{image.Right + i, image.Bottom + j, image.Right + i + 1, image.Bottom + j + 1};
      FillRect(t, clip, corner, Grey(std::max(ShadowLevel(i), ShadowLevel(j))));
    }
  }
}

}  // namespace

int ShadowLevel(int64_t step) { return int(Trunc(255 * std::exp(double(step) / double(kShadowWidth) - 1))); }

void PaintBackground(TIERawTarget& target, const TIERect& clip, const TIEBackgroundParams& params) {
  const TIERect area = Intersect(clip, Bounds(target));
  if (area.Empty() || !target.Bits) return;
  switch (params.Style) {
    case TIEBackgroundStyle::iebsSolid: FillRect(target, area, area, params.Color); return;
    case TIEBackgroundStyle::iebsChessboard: PaintChessboard(target, area, params); return;
    case TIEBackgroundStyle::iebsDiagonals: PaintDiagonals(target, area, params.Color); return;
    case TIEBackgroundStyle::iebsCropped: PaintCropped(target, area, params.Image); return;
    case TIEBackgroundStyle::iebsCropShadow: PaintCropShadow(target, area, params.Image); return;
    default: PaintHatch(target, area, HatchOf(params.Style), params.Color); return;
  }
}

TIEFitMargins FitMargins(TIEBackgroundStyle style) {
  if (style == TIEBackgroundStyle::iebsCropped) return {StartupMetrics().EdgeX, StartupMetrics().EdgeY};
  if (style == TIEBackgroundStyle::iebsCropShadow) return {kShadowWidth, kShadowWidth};
  return {};
}

}  // namespace quillet
