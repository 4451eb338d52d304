// Drawing the pixel grid row by row.
#include "imaging/view/view_grid.h"

#include "imaging/view/pixel_rows.h"

namespace quillet {

void DrawGrid(TIERawTarget& target, const TIERect& clip, const TIERect& shown, const TIEViewGeometry& geometry,
              const TIEVisibleSource& source, std::vector<int64_t>& columns) {
  const TIERect area = Intersect(Intersect(shown, clip), Bounds(target));
  if (area.Empty() || !target.Bits) return;
  for (int64_t y = source.SourceTop; y <= source.SourceTop + source.SourceHeight; ++y) {
    const int64_t cy = geometry.BitmapToScreenY(y);
    if (cy >= area.Top && cy < area.Bottom) InvertSpan(target.Bits + cy * target.RowBytes, area.Left, area.Right);
  }
  columns.clear();
  for (int64_t x = source.SourceLeft; x <= source.SourceLeft + source.SourceWidth; ++x) {
    const int64_t cx = geometry.BitmapToScreenX(x);
    if (cx >= area.Left && cx < area.Right) columns.push_back(cx);
  }
  for (int64_t y = area.Top; y < area.Bottom; ++y) {
    uint8_t* row = target.Bits + y * target.RowBytes;
    for (const int64_t cx : columns) InvertSpan(row, cx, cx + 1);
  }
}

}  // namespace quillet
