// The nineteen brush shapes of the brush panel: what Brush stamps at a point
// (box fills with the canvas brush, or one end-exclusive pen line) and the
// fixed dots Spray sets around it.
#pragma once

#include <cstdint>

#include "imaging/core/canvas.h"
#include "imaging/core/colors.h"
#include "imaging/view/paint_tools.h"

namespace quillet {

enum class TBrushForm { bfNone, bfPoint, bfDisc, bfSquare, bfVertical, bfHorizontal, bfRising, bfFalling };

struct TBrushShape {
  TBrushForm Form = TBrushForm::bfNone;
  int32_t Reach = 0;  // half the size: 1, 3 or 5 (0 for the point)
};

// The shape of the panel's button `index` from the left (0-18): the point,
// then small, medium and large discs, squares, vertical, horizontal, rising
// and falling lines. Any other index is no shape: it stamps and sprays nothing.
TBrushShape BrushShapeOf(int32_t index);

// The shape's stamp at (x, y) with the canvas's pen and brush as they stand.
// The point's stamp is the width-1 line from the pen position to (x, y), and
// the pen moves there.
void StampShape(TIECanvas& canvas, TBrushShape shape, int32_t x, int32_t y);

// The shape's spray dots around (x, y), set to `color`.
void SprayShape(TIECanvas& canvas, TBrushShape shape, int32_t x, int32_t y, const TBGR& color);

}  // namespace quillet
