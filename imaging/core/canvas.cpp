// Figures are built as row spans (the points of a line per row, or a
// region's border and interior), widened by the pen's disc where the pen is
// wide, clipped, and painted span by span.
#include "imaging/core/canvas.h"

#include <algorithm>
#include <vector>

#include "imaging/core/bits.h"
#include "imaging/core/canvas_ink.h"
#include "imaging/core/figure_region.h"
#include "imaging/core/pen_disc.h"

namespace quillet {

namespace {

constexpr int64_t kMaxPenWidth = 1000;

int64_t PenWidthOf(const TIECanvasState& s) { return std::clamp<int64_t>(s.PenWidth, 1, kMaxPenWidth); }

bool Drawable(const TIEWorkingBitmap& b) {
  return !b.Empty() && (b.PixelFormat() == TIEPixelFormat::pf1bit || b.PixelFormat() == TIEPixelFormat::pf24bit);
}

TCanvasInk PenInk(const TIECanvasState& s) { return {s.PenColor, s.PenMode == TIEPenMode::pmNotXor, TIEBrushStyle::bsSolid}; }

TCanvasInk BrushInk(const TIECanvasState& s, bool notXor) { return {s.BrushColor, notXor, s.BrushStyle}; }

void PaintSpans(TIEWorkingBitmap& b, int64_t y, const std::vector<TSpan>& spans, const TCanvasInk& ink) {
  for (const TSpan& s : spans) PaintSpan(b, y, s.Left, s.Right, ink);
}

// Rows [first, last) of `rows` widened by the disc and painted with the ink.
void PaintDilated(TIEWorkingBitmap& b, const TRowSpans& rows, const std::vector<TDiscRow>& disc, int64_t first,
                  int64_t last, const TCanvasInk& ink) {
  std::vector<TSpan> spans, scratch;
  for (int64_t y = std::max<int64_t>(first, 0); y < std::min(last, b.Height()); ++y) {
    DilatedRow(rows, disc, y, b.Width(), spans, scratch);
    PaintSpans(b, y, spans, ink);
  }
}

// `span` clipped to [0, width) minus the sorted spans `cut`.
void Subtract(TSpan span, const std::vector<TSpan>& cut, int64_t width, std::vector<TSpan>& out) {
  out.clear();
  span = {std::max<int64_t>(span.Left, 0), std::min(span.Right, width)};
  for (const TSpan& c : cut) {
    if (c.Right <= span.Left) continue;
    if (c.Left >= span.Right) break;
    if (c.Left > span.Left) out.push_back({span.Left, c.Left});
    span.Left = c.Right;
  }
  if (!span.Empty()) out.push_back(span);
}

}  // namespace

void TIECanvas::LineTo(int32_t x, int32_t y) {
  TIECanvasState& s = State();
  const TIEPoint from = s.PenPos;
  s.PenPos = {x, y};
  if (from == s.PenPos || !Drawable(bitmap_)) return;
  const int64_t w = PenWidthOf(s), reach = w;
  const TLineDDA line(from.X, from.Y, x, y);
  auto [i0, i1] = line.Within(-reach, -reach, bitmap_.Width() + reach, bitmap_.Height() + reach);
  const bool withEnd = w > 1 && x >= -reach && y >= -reach && x < bitmap_.Width() + reach && y < bitmap_.Height() + reach;
  if (i0 >= i1 && !withEnd) return;
  // The rows the kept points touch, one span of points per row.
  int64_t top = withEnd ? y : INT64_MAX, bottom = withEnd ? y + 1 : INT64_MIN;
  if (i0 < i1) {
    top = std::min({top, line.Y(i0), line.Y(i1 - 1)});
    bottom = std::max({bottom, line.Y(i0) + 1, line.Y(i1 - 1) + 1});
  }
  TRowSpans rows;
  rows.Reset(top, bottom);
  const auto add = [&rows](int64_t px, int64_t py) {
    TSpan& a = rows[py].A;
    a = a.Empty() ? TSpan{px, px + 1} : TSpan{std::min(a.Left, px), std::max(a.Right, px + 1)};
  };
  line.ForEach(i0, i1, add);
  if (withEnd) add(x, y);
  const auto disc = PenDisc(w);
  PaintDilated(bitmap_, rows, disc, top - reach, bottom + reach, PenInk(s));
  bitmap_.MarkModified();
}

void TIECanvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) { DrawFigure(TFigure::Box, x1, y1, x2, y2); }

void TIECanvas::Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) { DrawFigure(TFigure::Ellipse, x1, y1, x2, y2); }

void TIECanvas::DrawFigure(TFigure figure, int32_t ax, int32_t ay, int32_t bx, int32_t by) {
  const int64_t x1 = std::min(ax, bx), x2 = std::max(ax, bx), y1 = std::min(ay, by), y2 = std::max(ay, by);
  if (x1 == x2 || y1 == y2 || !Drawable(bitmap_)) return;
  const TIECanvasState& s = State();
  const bool pen = s.PenStyle != TIEPenStyle::psClear;
  const int64_t reach = pen ? PenWidthOf(s) : 0;
  const int64_t first = std::max(y1, -reach), last = std::min(y2, bitmap_.Height() + reach);
  if (first >= last || x1 >= bitmap_.Width() + reach || x2 <= -reach) return;
  const TFigureRegion region(figure == TFigure::Box ? TFigureShape::Box : TFigureShape::Ellipse, x1, y1, x2, y2);
  TRowSpans border, interior;
  region.Split(first, last, border, interior);
  const auto disc = PenDisc(pen ? PenWidthOf(s) : 1);
  const TCanvasInk penInk = PenInk(s), brushInk = BrushInk(s, penInk.NotXor);
  std::vector<TSpan> outline, inner, scratch;
  for (int64_t y = std::max<int64_t>(first - reach, 0); y < std::min(last + reach, bitmap_.Height()); ++y) {
    outline.clear();
    if (pen) DilatedRow(border, disc, y, bitmap_.Width(), outline, scratch);
    if (s.BrushStyle != TIEBrushStyle::bsClear) {
      Subtract(interior.At(y).A, outline, bitmap_.Width(), inner);
      PaintSpans(bitmap_, y, inner, brushInk);
    }
    PaintSpans(bitmap_, y, outline, penInk);
  }
  bitmap_.MarkModified();
}

void TIECanvas::FillRect(int32_t ax, int32_t ay, int32_t bx, int32_t by) {
  if (!Drawable(bitmap_)) return;
  const int64_t x1 = std::max<int64_t>(std::min(ax, bx), 0), x2 = std::min<int64_t>(std::max(ax, bx), bitmap_.Width());
  const int64_t y1 = std::max<int64_t>(std::min(ay, by), 0), y2 = std::min<int64_t>(std::max(ay, by), bitmap_.Height());
  if (x1 >= x2 || y1 >= y2) return;
  const TCanvasInk ink = BrushInk(State(), false);
  for (int64_t y = y1; y < y2; ++y) PaintSpan(bitmap_, y, x1, x2, ink);
  bitmap_.MarkModified();
}

std::optional<TBGR> TIECanvas::Pixel(int32_t x, int32_t y) const {
  if (!Drawable(bitmap_) || x < 0 || y < 0 || x >= bitmap_.Width() || y >= bitmap_.Height()) return std::nullopt;
  return bitmap_.Pixel(x, y);
}

void TIECanvas::SetPixel(int32_t x, int32_t y, const TBGR& color) {
  if (!Pixel(x, y)) return;
  PaintSpan(bitmap_, y, x, x + 1, {color, false, TIEBrushStyle::bsSolid});
  bitmap_.MarkModified();
}

void TIECanvas::MixPixel(int32_t x, int32_t y, const TBGR& color) {
  if (!Pixel(x, y)) return;
  PaintSpan(bitmap_, y, x, x + 1, {color, State().PenMode == TIEPenMode::pmNotXor, TIEBrushStyle::bsSolid});
  bitmap_.MarkModified();
}

}  // namespace quillet
