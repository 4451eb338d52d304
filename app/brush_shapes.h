// The nineteen brush shapes of the brush panel: the stamp each paints around
// a point, and the button picture drawn from that stamp.
#pragma once

#include <QIcon>
#include <span>
#include <vector>

namespace quillet {

// Columns x1 .. x2 - 1 and rows y1 .. y2 - 1 relative to the point.
struct TBrushRect {
  int x1, x2, y1, y2;
};

// A pen line from (x1, y1) up to, but not including, (x2, y2); level or at 45 degrees.
struct TBrushLine {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  bool Empty() const { return x1 == x2 && y1 == y2; }
};

struct TBrushShape {
  int Button;  // the number in its designer name SpeedButtonN
  std::vector<TBrushRect> Rects;
  TBrushLine Line;
};

// Left to right as the panel shows them; the point brush first.
std::span<const TBrushShape> BrushShapes();

// The stamp at the middle of a 16 x 16 picture, one screen pixel per image
// pixel at every device pixel ratio, so it stays crisp.
QIcon BrushIcon(const TBrushShape& shape);

}  // namespace quillet
