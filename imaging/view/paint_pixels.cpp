// Eraser, Fill and Eye Dropper on the canvas. The eraser paints solid
// whatever the brush holds, so a hatch left by a shape does not leave most
// pixels unerased.
#include "imaging/view/paint_pixels.h"

#include <limits>

#include "imaging/view/paint_tools.h"

namespace quillet {

bool OutOfReach(TIEPoint point, int32_t reach) {
  const int32_t lo = std::numeric_limits<int32_t>::min() + reach, hi = std::numeric_limits<int32_t>::max() - reach;
  return point.X < lo || point.X > hi || point.Y < lo || point.Y > hi;
}

void EraseAt(TIECanvas& canvas, TIEPoint point, const TBGR& fill) {
  TIECanvasState& s = canvas.State();
  s.SetBrushColor(fill);
  if (OutOfReach(point, 5)) return;
  const TIEBrushStyle style = s.BrushStyle;
  s.BrushStyle = TIEBrushStyle::bsSolid;
  canvas.FillRect(point.X - 5, point.Y - 5, point.X + 5, point.Y + 5);
  s.BrushStyle = style;
}

void FillRegionAt(TIECanvas& canvas, TIEPoint point) {
  if (const std::optional<TBGR> c = canvas.Pixel(point.X, point.Y))
    canvas.FloodFill(point.X, point.Y, *c, TIEFillStyle::fsSurface);
}

std::optional<TBGR> PickColor(const TIECanvas& canvas, TIEPoint point) { return canvas.Pixel(point.X, point.Y); }

}  // namespace quillet
