// Text on the canvas: the cell filled with the brush unless it is clear,
// then every glyph pixel in the font colour.
#include "imaging/core/canvas.h"
#include "imaging/core/canvas_ink.h"
#include "imaging/core/text_raster.h"

namespace quillet {

void TIECanvas::TextOut(int32_t x, int32_t y, std::string_view text) {
  const TIECanvasState& s = State();
  const TTextExtent extent = MeasureText(s.Font, text);
  if (!Drawable()) return;
  if (s.BrushStyle != TIEBrushStyle::bsClear)
    PaintBox(bitmap_, x, y, x + extent.Width, y + extent.Height, {s.BrushColor, false, TIEBrushStyle::bsSolid});
  const TCanvasInk ink{s.Font.Color, false, TIEBrushStyle::bsSolid};
  const int64_t w = bitmap_.Width(), h = bitmap_.Height();
  RenderText(s.Font, text, [&](int64_t row, int64_t left, int64_t right) {
    row += y, left = std::max<int64_t>(left + x, 0), right = std::min<int64_t>(right + x, w);
    if (row >= 0 && row < h && left < right) PaintSpan(bitmap_, row, left, right, ink);
  });
  bitmap_.MarkModified();
}

int64_t TIECanvas::TextWidth(std::string_view text) const { return MeasureText(bitmap_.Canvas().Font, text).Width; }

int64_t TIECanvas::TextHeight(std::string_view text) const { return MeasureText(bitmap_.Canvas().Font, text).Height; }

}  // namespace quillet
