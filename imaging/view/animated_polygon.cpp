#include "imaging/view/animated_polygon.h"

#include <algorithm>
#include <cstdlib>

#include "imaging/view/view_geometry.h"

namespace quillet {

namespace {

bool IsBreak(const TIEPoint& p) { return p.X == TIEAnimatedPolygon::kBreak; }

void Plot(TIERawTarget& t, int64_t x, int64_t y, TBGR c) {
  if (x < 0 || y < 0 || x >= t.Width || y >= t.Height) return;
  uint8_t* p = t.Bits + y * t.RowBytes + 3 * x;
  p[0] = c.b, p[1] = c.g, p[2] = c.r;
}

// Bresenham from a to b, the last point excluded so that edges join once.
void DrawEdge(TIERawTarget& t, TIEViewPoint a, TIEViewPoint b, TBGR ca, TBGR cb, int64_t& step) {
  const int64_t dx = std::abs(b.X - a.X), dy = -std::abs(b.Y - a.Y);
  const int64_t sx = a.X < b.X ? 1 : -1, sy = a.Y < b.Y ? 1 : -1;
  int64_t err = dx + dy;
  while (a.X != b.X || a.Y != b.Y) {
    Plot(t, a.X, a.Y, (step++ / 3) % 2 ? cb : ca);
    const int64_t e2 = 2 * err;
    if (e2 >= dy) err += dy, a.X += sx;
    if (e2 <= dx) err += dx, a.Y += sy;
  }
}

}  // namespace

void TIEAnimatedPolygon::Grow(int32_t x, int32_t y) {
  if (!hasVertex_) {
    bounds_ = {x, y, x, y};
    hasVertex_ = true;
    return;
  }
  bounds_.Left = std::min(bounds_.Left, x);
  bounds_.Top = std::min(bounds_.Top, y);
  bounds_.Right = std::max(bounds_.Right, x);
  bounds_.Bottom = std::max(bounds_.Bottom, y);
}

void TIEAnimatedPolygon::Add(int32_t x, int32_t y) {
  Grow(x, y);
  points_.push_back({x, y});
}

void TIEAnimatedPolygon::AddBreak() {
  if (!points_.empty() && !IsBreak(points_.back())) points_.push_back({kBreak, 0});
}

void TIEAnimatedPolygon::Clear() {
  points_.clear();
  bounds_ = {};
  hasVertex_ = false;
}

void TIEAnimatedPolygon::RemoveBackToBreak() {
  while (!points_.empty() && !IsBreak(points_.back())) points_.pop_back();
}

void TIEAnimatedPolygon::DropLastVertex() {
  if (!points_.empty()) points_.pop_back();
  while (!points_.empty() && IsBreak(points_.back())) points_.pop_back();
}

void TIEAnimatedPolygon::Translate(int32_t dx, int32_t dy, int32_t width, int32_t height) {
  for (TIEPoint& p : points_)
    if (!IsBreak(p)) p = {std::clamp(p.X + dx, 0, width), std::clamp(p.Y + dy, 0, height)};
  bounds_ = {std::clamp(bounds_.Left + dx, 0, width), std::clamp(bounds_.Top + dy, 0, height),
             std::clamp(bounds_.Right + dx, 0, width), std::clamp(bounds_.Bottom + dy, 0, height)};
}

bool TIEAnimatedPolygon::IsRectangular() const {
  if (points_.size() != 4) return false;
  bool horizontal = points_[0].Y == points_[1].Y;
  for (size_t i = 0; i < 4; ++i) {
    const TIEPoint& a = points_[i];
    const TIEPoint& b = points_[(i + 1) % 4];
    if (horizontal ? a.Y != b.Y : a.X != b.X) return false;
    horizontal = !horizontal;
  }
  return true;
}

void TIEAnimatedPolygon::DrawLines(TIERawTarget& target, const TIEViewGeometry& view, bool open) const {
  auto screen = [&](const TIEPoint& p) { return TIEViewPoint{view.BitmapToScreenX(p.X), view.BitmapToScreenY(p.Y)}; };
  int64_t step = Phase;
  size_t start = 0;
  while (start < points_.size()) {
    size_t end = start;
    while (end < points_.size() && !IsBreak(points_[end])) ++end;
    for (size_t i = start; i + 1 < end; ++i) DrawEdge(target, screen(points_[i]), screen(points_[i + 1]), ColorA, ColorB, step);
    if (!open && end - start > 1) DrawEdge(target, screen(points_[end - 1]), screen(points_[start]), ColorA, ColorB, step);
    start = end + 1;
  }
}

}  // namespace quillet
