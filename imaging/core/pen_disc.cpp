#include "imaging/core/pen_disc.h"

#include <algorithm>

namespace quillet {

std::vector<TDiscRow> PenDisc(int64_t width) {
  if (width <= 1) return {{0, 0, 1}};
  const int64_t w = width, half = w / 2;
  std::vector<TDiscRow> disc;
  for (int64_t j = 0; j < w; ++j) {
    const int64_t dj = 2 * j + 1 - w, room = w * w - dj * dj;
    // The columns i with (2i+1-w)^2 <= room form a run symmetric about the centre.
    int64_t i = 0;
    while (i < w && (2 * i + 1 - w) * (2 * i + 1 - w) > room) ++i;
    if (i < w) disc.push_back({j - half, i - half, w - i - half});
  }
  return disc;
}

void DilatedRow(const TRowSpans& rows, const std::vector<TDiscRow>& disc, int64_t y, int64_t width,
                std::vector<TSpan>& out, std::vector<TSpan>& scratch) {
  scratch.clear();
  for (const TDiscRow& d : disc) {
    const TRowSpans::TRow& row = rows.At(y - d.Dy);
    for (const TSpan& s : {row.A, row.B})
      if (!s.Empty()) scratch.push_back({s.Left + d.Left, s.Right + d.Right - 1});
  }
  if (disc.size() > 1) std::sort(scratch.begin(), scratch.end(), [](const TSpan& a, const TSpan& b) { return a.Left < b.Left; });
  out.clear();
  for (const TSpan& s : scratch) {
    const TSpan c{std::max<int64_t>(s.Left, 0), std::min(s.Right, width)};
    if (c.Empty()) continue;
    if (!out.empty() && c.Left <= out.back().Right) out.back().Right = std::max(out.back().Right, c.Right);
    else out.push_back(c);
  }
}

}  // namespace quillet
