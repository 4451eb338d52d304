// Brush shapes by rule: a form and a reach r (1, 3, 5). Squares cover
// [-r, r] both ways, lines run r pixels to each side, discs are a few boxes
// each. Spray dots sit at odd offsets O_r = {-r, -r + 2, ..., r}: the whole
// grid for squares, the grid without its corners for discs (the small disc
// has three dots of its own), the diagonal or axis for lines.
#include "imaging/view/brush_shapes.h"

#include <cstdlib>

#include "imaging/view/paint_pixels.h"

namespace quillet {

namespace {

struct TBox {
  int32_t x1, x2, y1, y2;  // [x + x1, x + x2) x [y + y1, y + y2)
};

struct TDiscBoxes {
  int count;
  TBox boxes[4];
};

// Small, medium and large.
constexpr TDiscBoxes kDiscs[3] = {
    {2, {{-1, 3, 0, 2}, {0, 2, -1, 3}}},
    {3, {{-3, 4, -1, 2}, {-1, 2, -3, 4}, {-2, 3, -2, 3}}},
    {4, {{-5, 6, -2, 3}, {-2, 3, -5, 6}, {-4, 5, -3, 4}, {-3, 4, -4, 5}}},
};

// How far from its point a stamp or a dot reaches.
constexpr int32_t kMaxReach = 6;

// The unit step of a line form, toward its end.
TOffset Direction(TBrushForm form) {
  switch (form) {
    case TBrushForm::bfVertical: return {0, 1};
    case TBrushForm::bfHorizontal: return {1, 0};
    case TBrushForm::bfRising: return {-1, 1};
    default: return {1, 1};
  }
}

template <class F>
void ForEachDot(TBrushShape shape, F dot) {
  const int32_t r = shape.Reach;
  switch (shape.Form) {
    case TBrushForm::bfNone: return;
    case TBrushForm::bfPoint: dot(0, 0); return;
    case TBrushForm::bfDisc:
    case TBrushForm::bfSquare:
      if (shape.Form == TBrushForm::bfDisc && r == 1) {
        dot(-1, -1), dot(1, -1), dot(-1, 1);
        return;
      }
      for (int32_t dy = -r; dy <= r; dy += 2)
        for (int32_t dx = -r; dx <= r; dx += 2)
          if (shape.Form == TBrushForm::bfSquare || std::abs(dx) != r || std::abs(dy) != r) dot(dx, dy);
      return;
    default: {
      const TOffset u = Direction(shape.Form);
      for (int32_t d = -r; d <= r; d += 2) dot(d * u.dx, d * u.dy);
    }
  }
}

}  // namespace

TBrushShape BrushShapeOf(int32_t index) {
  static constexpr TBrushForm kForms[] = {TBrushForm::bfDisc,       TBrushForm::bfSquare, TBrushForm::bfVertical,
                                          TBrushForm::bfHorizontal, TBrushForm::bfRising, TBrushForm::bfFalling};
  if (index == 0) return {TBrushForm::bfPoint, 0};
  if (index < 1 || index >= kBrushShapeCount) return {};
  return {kForms[(index - 1) / 3], 1 + 2 * ((index - 1) % 3)};
}

void StampShape(TIECanvas& canvas, TBrushShape shape, int32_t x, int32_t y) {
  if (shape.Form == TBrushForm::bfPoint) {
    canvas.State().PenWidth = 1;
    canvas.LineTo(x, y);
    return;
  }
  if (shape.Form == TBrushForm::bfNone || OutOfReach({x, y}, kMaxReach)) return;
  const int32_t r = shape.Reach;
  switch (shape.Form) {
    case TBrushForm::bfDisc: {
      const TDiscBoxes& disc = kDiscs[r / 2];
      for (int i = 0; i < disc.count; ++i) {
        const TBox& b = disc.boxes[i];
        canvas.FillRect(x + b.x1, y + b.y1, x + b.x2, y + b.y2);
      }
      break;
    }
    case TBrushForm::bfSquare: canvas.FillRect(x - r, y - r, x + r + 1, y + r + 1); break;
    default: {
      const TOffset u = Direction(shape.Form);
      canvas.MoveTo(x - r * u.dx, y - r * u.dy);
      canvas.LineTo(x + (r + 1) * u.dx, y + (r + 1) * u.dy);
    }
  }
}

void SprayShape(TIECanvas& canvas, TBrushShape shape, int32_t x, int32_t y, const TBGR& color) {
  if (OutOfReach({x, y}, kMaxReach)) return;
  ForEachDot(shape, [&](int32_t dx, int32_t dy) { canvas.SetPixel(x + dx, y + dy, color); });
}

}  // namespace quillet
