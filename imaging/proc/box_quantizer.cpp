// The box-splitting engine: histogram, box statistics, the cut search along
// each axis, the choice of axis, and the palette and colour map of the boxes.
#include "imaging/proc/box_quantizer.h"

#include <algorithm>

#include "imaging/core/math.h"

namespace quillet {

namespace {

// The score of an axis that cannot be split; real scores stay far below it.
constexpr double kNoSplit = 17523.6;

void ShrinkBounds(TIEBoxQuantizer::TBox& box) {
  for (int c = 0; c < 3; ++c) {
    const auto& h = box.hist[c];
    int lo = box.lo[c], hi = box.hi[c];
    while (lo < hi && h[lo] == 0) ++lo;
    while (hi > lo && h[hi - 1] == 0) --hi;
    box.lo[c] = lo, box.hi[c] = hi;
  }
}

}  // namespace

TIEBoxQuantizer::TIEBoxQuantizer(const TIEQuantizerSource& source, int colors)
    : histogram_(32768, 0), colorMap_(32768, 0) {
  colors = std::clamp(colors, 1, kMaxBoxes);
  boxes_.reserve(size_t(colors));
  boxes_.emplace_back();
  BuildHistogram(source);
  if (pixels_ > 0) Statistics(boxes_[0]);  // no pixels: one black box
  while (pixels_ > 0 && int(boxes_.size()) < colors) {
    int chosen = -1;
    double best = 0;
    for (int i = 0; i < BoxCount(); ++i)
      if (boxes_[size_t(i)].variance > best) best = boxes_[size_t(i)].variance, chosen = i;
    if (chosen < 0) break;
    if (!Split(chosen)) boxes_[size_t(chosen)].variance = 0;
  }
  BuildColorMap();
}

// The 3-D histogram, and box 0's channel histograms summed from it.
void TIEBoxQuantizer::BuildHistogram(const TIEQuantizerSource& source) {
  uint64_t* h = histogram_.data();
  for (int64_t y = 0; y < source.Height(); ++y) {
    const uint8_t* p = source.Row(y);
    const uint8_t* end = p + 3 * source.Width();
    for (; p != end; p += 3) ++h[CellOf(p[2], p[1], p[0])];
  }
  TBox& box = boxes_[0];
  for (int cell = 0; cell < 32768; ++cell) {
    const int64_t n = int64_t(h[cell]);
    if (n == 0) continue;
    box.hist[0][cell >> 10] += n;
    box.hist[1][cell >> 5 & 31] += n;
    box.hist[2][cell & 31] += n;
    box.count += n;
  }
  pixels_ = double(box.count);
}

void TIEBoxQuantizer::Statistics(TBox& box) const {
  double v = 0;
  for (int c = 0; c < 3; ++c) {
    int64_t s1 = 0, s2 = 0;
    for (int j = box.lo[c]; j < box.hi[c]; ++j) s1 += j * box.hist[c][j], s2 += int64_t(j) * j * box.hist[c][j];
    const double mean = double(s1) / double(box.count);
    box.mean[c] = mean;
    v += double(s2) - mean * mean * double(box.count);
  }
  box.variance = v / pixels_;
}

// The cut along channel c that maximises s / (n - s) * (m - t)^2 between
// the midpoints of the lower bound and the mean and of the mean and the
// upper bound. t sums from the first candidate only, on purpose.
bool TIEBoxQuantizer::SplitAxis(const TBox& box, int c, TBox& lower, TBox& upper) const {
  const int lo = box.lo[c], hi = box.hi[c];
  if (hi == lo + 1) return false;
  const auto& h = box.hist[c];
  const int64_t n = box.count;
  const double m = box.mean[c];
  const int first = int(Round((lo + m) * 0.5)), last = std::min(int(Round((m + hi) * 0.5)), hi - 1);
  int64_t s = 0;
  for (int j = lo; j < first; ++j) s += h[j];
  double t = 0, best = -1;
  int cut = first;
  int64_t left = n;
  for (int e = first; e <= last; ++e) {
    s += h[e];
    if (s == n) break;
    t += double(h[e] * e) / double(n);
    const double d = m - t;
    const double score = double(s) / double(n - s) * (d * d);
    if (score > best) best = score, cut = e, left = s;
  }
  if (left == 0 || left == n) return false;
  lower = box;
  lower.count = left;
  lower.hi[c] = cut + 1;
  upper = box;
  upper.count = n - left;
  upper.lo[c] = cut + 1;
  RebuildHalves(lower, upper);
  return true;
}

// The lower half's channel histograms from the cells inside it; the upper
// half keeps the rest of the box's.
void TIEBoxQuantizer::RebuildHalves(TBox& lower, TBox& upper) const {
  for (auto& h : lower.hist) h.fill(0);
  for (int r = lower.lo[0]; r < lower.hi[0]; ++r)
    for (int g = lower.lo[1]; g < lower.hi[1]; ++g) {
      const uint64_t* cell = histogram_.data() + (r << 10 | g << 5);
      for (int b = lower.lo[2]; b < lower.hi[2]; ++b) {
        const int64_t n = int64_t(cell[b]);
        if (n == 0) continue;
        lower.hist[0][r] += n, lower.hist[1][g] += n, lower.hist[2][b] += n;
        upper.hist[0][r] -= n, upper.hist[1][g] -= n, upper.hist[2][b] -= n;
      }
    }
  ShrinkBounds(lower);
  ShrinkBounds(upper);
  Statistics(lower);
  Statistics(upper);
}

// Splits box `chosen` along the axis whose halves have the smallest summed
// variance (red, then green, then blue on ties); the upper half is appended.
bool TIEBoxQuantizer::Split(int chosen) {
  const TBox& box = boxes_[size_t(chosen)];
  std::array<TBox, 3> lower, upper;
  int axis = -1;
  double best = kNoSplit;
  for (int c = 0; c < 3; ++c) {
    if (!SplitAxis(box, c, lower[size_t(c)], upper[size_t(c)])) continue;
    const double score = lower[size_t(c)].variance + upper[size_t(c)].variance;
    if (score < best) best = score, axis = c;
  }
  if (axis < 0) return false;
  boxes_[size_t(chosen)] = lower[size_t(axis)];
  boxes_.push_back(upper[size_t(axis)]);
  return true;
}

void TIEBoxQuantizer::BuildColorMap() {
  for (int i = 0; i < BoxCount(); ++i) {
    const TBox& box = boxes_[size_t(i)];
    for (int r = box.lo[0]; r < box.hi[0]; ++r)
      for (int g = box.lo[1]; g < box.hi[1]; ++g) {
        uint8_t* line = colorMap_.data() + (r << 10) + (g << 5);  // hi may be 32: add, do not or
        std::fill(line + box.lo[2], line + box.hi[2], uint8_t(i));
      }
  }
}

void TIEBoxQuantizer::WritePalette(std::span<TBGR> palette) const {
  const size_t count = std::min(palette.size(), boxes_.size());
  for (size_t i = 0; i < count; ++i) {
    const auto& mean = boxes_[i].mean;
    palette[i] = MakeBGR(uint8_t(Round(mean[0]) * 8), uint8_t(Round(mean[1]) * 8), uint8_t(Round(mean[2]) * 8));
  }
}

}  // namespace quillet
