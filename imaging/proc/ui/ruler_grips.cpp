#include "imaging/proc/ui/ruler_grips.h"

#include <algorithm>

namespace quillet {

QPolygon GripPolygon(int kind, int p, int tip, int length, int half, bool baseBelow) {
  const int sign = baseBelow ? 1 : -1;
  const int base = tip + sign * length;
  switch (kind) {
    case 1:  // upright edge on the left
      return QPolygon({{p, tip}, {p + half, base}, {p, base}});
    case 2:  // upright edge on the right
      return QPolygon({{p, tip}, {p, base}, {p - half, base}});
    case 3: {  // a head over half the length, then a shaft half as wide
      const int neck = tip + sign * (length / 2);
      const int shaft = half / 2;
      return QPolygon({{p, tip}, {p + half, neck}, {p + shaft, neck}, {p + shaft, base},
                       {p - shaft, base}, {p - shaft, neck}, {p - half, neck}});
    }
    case 4: {  // a square-cornered base under a 45-degree point
      const int shoulder = tip + sign * std::min(half, length);
      return QPolygon({{p, tip}, {p + half, shoulder}, {p + half, base}, {p - half, base}, {p - half, shoulder}});
    }
    default:
      return QPolygon({{p, tip}, {p + half, base}, {p - half, base}});
  }
}

}  // namespace quillet
