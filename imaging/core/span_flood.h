// Scanline flood fill over a grid, with an explicit stack of seeds (never
// recursion): each seed grows into its run on its row, and the rows above
// and below push one seed per run they can take. Pixels join through their
// four neighbours only.
#pragma once

#include <cstdint>
#include <vector>

namespace quillet {

// From (x, y) inside a width x height grid: takes(x, y) tells whether a pixel
// joins and must turn false once its run is marked; mark(y, left, right)
// records the run [left, right] (inclusive).
template <class Takes, class Mark>
void SpanFlood(int64_t width, int64_t height, int64_t x, int64_t y, Takes&& takes, Mark&& mark) {
  struct TSeed {
    int64_t x, y;
  };
  std::vector<TSeed> stack{{x, y}};
  while (!stack.empty()) {
    const TSeed p = stack.back();
    stack.pop_back();
    if (!takes(p.x, p.y)) continue;
    int64_t l = p.x, r = p.x;
    while (l > 0 && takes(l - 1, p.y)) --l;
    while (r + 1 < width && takes(r + 1, p.y)) ++r;
    mark(p.y, l, r);
    for (const int64_t ny : {p.y - 1, p.y + 1}) {
      if (ny < 0 || ny >= height) continue;
      for (int64_t nx = l; nx <= r; ++nx) {
        if (!takes(nx, ny)) continue;
        stack.push_back({nx, ny});
        while (nx + 1 <= r && takes(nx + 1, ny)) ++nx;
      }
    }
  }
}

}  // namespace quillet
