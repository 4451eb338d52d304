// The outlines of the ruler's grip shapes, in the ruler's own coordinates:
// u along the ruler, t across it.
#pragma once

#include <QPolygon>

namespace quillet {

// The grip of shape `kind` (0 isosceles triangle, 1 right triangle on the left
// side, 2 right triangle on the right side, 3 seven-point arrow, 4 pentagon;
// others count as 0) with its tip at (p, tip) and its base `length` pixels
// away, towards larger t when `baseBelow`, and `half` pixels either side of p.
QPolygon GripPolygon(int kind, int p, int tip, int length, int half, bool baseBelow);

}  // namespace quillet
