#include "app/brush_shapes.h"

#include <QPainter>
#include <QPixmap>
#include <cstdlib>

namespace quillet {

namespace {

const TBrushShape kShapes[] = {
    {31, {{0, 1, 0, 1}}, {}},  // point
    {13, {{-1, 3, 0, 2}, {0, 2, -1, 3}}, {}},
    {14, {{-3, 4, -1, 2}, {-1, 2, -3, 4}, {-2, 3, -2, 3}}, {}},
    {15, {{-5, 6, -2, 3}, {-2, 3, -5, 6}, {-4, 5, -3, 4}, {-3, 4, -4, 5}}, {}},
    {16, {{-1, 2, -1, 2}}, {}},
    {17, {{-3, 4, -3, 4}}, {}},
    {18, {{-5, 6, -5, 6}}, {}},
    {19, {}, {0, -1, 0, 2}},
    {20, {}, {0, -3, 0, 4}},
    {21, {}, {0, -5, 0, 6}},
    {22, {}, {-1, 0, 2, 0}},
    {23, {}, {-3, 0, 4, 0}},
    {24, {}, {-5, 0, 6, 0}},
    {25, {}, {1, -1, -2, 2}},
    {26, {}, {3, -3, -4, 4}},
    {27, {}, {5, -5, -6, 6}},
    {28, {}, {-1, -1, 2, 2}},
    {29, {}, {-3, -3, 4, 4}},
    {30, {}, {-5, -5, 6, 6}},
};

constexpr int kIconSize = 16;
const QColor kInk(0x23, 0x26, 0x29);

int Sign(int v) { return (v > 0) - (v < 0); }

QPixmap StampPixmap(const TBrushShape& shape, int ratio) {
  QPixmap pixmap(kIconSize * ratio, kIconSize * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  const int c = kIconSize / 2;
  for (const TBrushRect& r : shape.Rects) p.fillRect(c + r.x1, c + r.y1, r.x2 - r.x1, r.y2 - r.y1, kInk);
  const TBrushLine& l = shape.Line;
  const int steps = std::max(std::abs(l.x2 - l.x1), std::abs(l.y2 - l.y1));
  for (int i = 0; i < steps; ++i)
    p.fillRect(c + l.x1 + i * Sign(l.x2 - l.x1), c + l.y1 + i * Sign(l.y2 - l.y1), 1, 1, kInk);
  return pixmap;
}

}  // namespace

std::span<const TBrushShape> BrushShapes() { return kShapes; }

QIcon BrushIcon(const TBrushShape& shape) {
  QIcon icon;
  for (int ratio : {1, 2}) icon.addPixmap(StampPixmap(shape, ratio));
  return icon;
}

}  // namespace quillet
