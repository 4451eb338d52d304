// Polygon scan conversion into a TIEMask: an edge table by upper scanline,
// an active edge list stepped with an integer error term, even-odd spans.
#include <algorithm>
#include <vector>

#include "imaging/core/mask.h"

namespace quillet {

namespace {

// A non-horizontal edge, active on the scanlines yTop .. yBottom - 1. Its x on
// the current scanline is x + error / dy, with 0 <= error < dy.
struct Edge {
  int64_t yTop, yBottom;
  int64_t x, error, dy;
  int64_t stepX, stepError;  // floor(dx / dy) and dx mod dy
  int32_t next;              // next edge starting on the same scanline, or -1
};

int64_t FloorDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

Edge MakeEdge(const TIEPoint& a, const TIEPoint& b) {
  const TIEPoint& top = a.Y < b.Y ? a : b;
  const TIEPoint& bottom = a.Y < b.Y ? b : a;
  Edge e{};
  e.yTop = top.Y;
  e.yBottom = bottom.Y;
  e.x = top.X;
  e.dy = e.yBottom - e.yTop;
  const int64_t dx = int64_t(bottom.X) - top.X;
  e.stepX = FloorDiv(dx, e.dy);
  e.stepError = dx - e.stepX * e.dy;
  e.next = -1;
  return e;
}

// Moves an edge down by n scanlines at once, for edges that start above the
// plane; the products can pass 64 bits for vertices far outside it.
void Advance(Edge& e, int64_t n) {
  const __int128 total = __int128(e.stepError) * n + e.error;
  e.x += int64_t(__int128(e.stepX) * n + total / e.dy);
  e.error = int64_t(total % e.dy);
}

void Step(Edge& e) {
  e.x += e.stepX;
  e.error += e.stepError;
  if (e.error >= e.dy) {
    e.x += 1;
    e.error -= e.dy;
  }
}

}  // namespace

void TIEMask::FillPolygon(uint8_t value, const TIEPoint* points, int64_t count) {
  if (!points || count < 3 || data_.empty()) return;
  // Only the scanlines of the plane are converted; the table has one head per row.
  std::vector<Edge> edges;
  edges.reserve(size_t(count));
  std::vector<int32_t> heads(size_t(height_), -1);
  for (int64_t i = 0; i < count; ++i) {
    const TIEPoint& a = points[i];
    const TIEPoint& b = points[(i + 1) % count];
    if (a.Y == b.Y) continue;
    Edge e = MakeEdge(a, b);
    if (e.yBottom <= 0 || e.yTop >= height_) continue;
    if (e.yTop < 0) {
      Advance(e, -e.yTop);
      e.yTop = 0;
    }
    e.next = heads[size_t(e.yTop)];
    heads[size_t(e.yTop)] = int32_t(edges.size());
    edges.push_back(e);
  }

  std::vector<int32_t> active;
  active.reserve(edges.size());
  int64_t minX = INT64_MAX, maxX = INT64_MIN, minY = -1, maxY = -1;
  for (int64_t y = 0; y < height_; ++y) {
    std::erase_if(active, [&](int32_t i) { return edges[size_t(i)].yBottom == y; });
    for (int32_t i : active) Step(edges[size_t(i)]);
    for (int32_t i = heads[size_t(y)]; i >= 0; i = edges[size_t(i)].next) active.push_back(i);
    if (active.empty()) continue;
    // Crossing edges swap places, so the nearly sorted list is sorted again.
    auto byX = [&](int32_t a, int32_t b) { return edges[size_t(a)].x < edges[size_t(b)].x; };
    for (size_t k = 1; k < active.size(); ++k)
      for (size_t j = k; j > 0 && byX(active[j], active[j - 1]); --j) std::swap(active[j], active[j - 1]);
    for (size_t k = 0; k + 1 < active.size(); k += 2) {
      const int64_t left = std::max<int64_t>(edges[size_t(active[k])].x, 0);
      const int64_t right = std::min<int64_t>(edges[size_t(active[k + 1])].x - 1, int64_t(width_) - 1);
      if (FillSpan(value, left, y, right) == 0) continue;
      minX = std::min(minX, left);
      maxX = std::max(maxX, right);
      if (minY < 0) minY = y;
      maxY = y;
    }
  }
  if (value != 0 && minY >= 0) GrowBox(minX, minY, maxX, maxY);
}

void TIEMask::SetPolygon(uint8_t value, const TIEPoint* points, int64_t count) {
  Clear();
  if (!points) return;
  int64_t start = 0;
  for (int64_t i = 0; i <= count; ++i) {
    if (i < count && points[i].X != kPolygonBreak) continue;
    FillPolygon(value, points + start, i - start);
    start = i + 1;
  }
}

}  // namespace quillet
