// Automatic equalization: output ranges per grey level from the image's
// histogram, then each pixel of the area set from its 3 x 3 neighbourhood
// mean, written to a copy and put back when every row is done.
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "imaging/core/vector_clones.h"
#include "imaging/proc/colour_adjust.h"
#include "imaging/proc/colour_histogram.h"

namespace quillet {

namespace {

struct TLevelRanges {
  std::array<uint8_t, 256> left, right;
};

// Walks the grey levels, opening a new output level whenever the pixels
// counted since the last one exceed the image's pixels / 256.
TLevelRanges LevelRanges(const TIEHistogram& histogram, int64_t target) {
  TLevelRanges out;
  int64_t level = 0, sum = 0;
  for (size_t k = 0; k < 256; ++k) {
    out.left[k] = uint8_t(std::min<int64_t>(level, 255));
    sum += histogram[k].Gray;
    while (sum > target) sum -= target, ++level;
    out.right[k] = uint8_t(std::min<int64_t>(level, 255));
  }
  return out;
}

int Grey(int b, int g, int r) { return (7 * b + 71 * g + 21 * r) / 100; }

// A thread's room for one row: column sums of three rows, then the 3 x 3 means.
struct TRowScratch {
  std::vector<uint16_t> sums;
  std::vector<uint8_t> means;
};

// Sums of each channel over the three rows, bytes [from, to).
QUILLET_VECTOR_CLONES void ColumnSums(const uint8_t* above, const uint8_t* row, const uint8_t* below, int64_t from,
                                      int64_t to, uint16_t* sums) {
  for (int64_t i = from; i < to; ++i) sums[i] = uint16_t(above[i] + row[i] + below[i]);
}

// The means of the area's pixels x1..x2-1, their columns left and right
// clamped to the image's width: the first and last columns apart, the
// columns between them byte by byte.
QUILLET_VECTOR_CLONES void Means(const uint16_t* sums, int64_t width, int64_t x1, int64_t x2, uint8_t* means) {
  const auto edge = [&](int64_t x) {
    const int64_t l = 3 * (x > 0 ? x - 1 : 0), c = 3 * x, r = 3 * (x + 1 < width ? x + 1 : width - 1);
    for (int64_t i = 0; i < 3; ++i) means[3 * (x - x1) + i] = uint8_t((sums[l + i] + sums[c + i] + sums[r + i]) / 9);
  };
  const int64_t first = std::max<int64_t>(x1, 1), last = std::max(std::min(x2, width - 1), first);
  for (int64_t x = x1; x < std::min(first, x2); ++x) edge(x);
  for (int64_t k = 3 * first; k < 3 * last; ++k) means[k - 3 * x1] = uint8_t((sums[k - 3] + sums[k] + sums[k + 3]) / 9);
  for (int64_t x = last; x < x2; ++x) edge(x);
}

// One output row: `above`, `row` and `below` are the source rows (clamped
// into the image).
void EqualizeRow(const uint8_t* above, const uint8_t* row, const uint8_t* below, int64_t width, int64_t x1, int64_t x2,
                 const TLevelRanges& ranges, TRowScratch& scratch, uint8_t* out) {
  const int64_t from = std::max<int64_t>(x1 - 1, 0), to = std::min(x2 + 1, width);
  scratch.sums.resize(size_t(3 * width));
  scratch.means.resize(size_t(3 * (x2 - x1)));
  ColumnSums(above, row, below, 3 * from, 3 * to, scratch.sums.data());
  Means(scratch.sums.data(), width, x1, x2, scratch.means.data());
  const uint8_t* mean = scratch.means.data();
  const uint8_t* p = row + 3 * x1;
  for (int64_t x = x1; x < x2; ++x, p += 3, mean += 3, out += 3) {
    const int gi = Grey(p[0], p[1], p[2]), j = Grey(mean[0], mean[1], mean[2]);
    const uint8_t lo = ranges.left[size_t(gi)], hi = ranges.right[size_t(gi)];
    // The darker end of the pixel's range, its lighter end, or the mean.
    const bool low = lo == hi || j < lo, high = !low && j > hi;
    for (int i = 0; i < 3; ++i) out[i] = low ? ranges.left[p[i]] : high ? ranges.right[p[i]] : mean[i];
  }
}

}  // namespace

void AutoEqualizeArea(TIEWorkingBitmap& image, const TIEArea& whole, const TIEProcWatch& watch) {
  const std::optional<TIEArea> found = Area24(image, whole);
  const int64_t target = image.Width() * image.Height() / 256;
  if (!found || target == 0) return;
  const TIEArea& area = *found;
  TIEHistogram histogram;
  AreaHistogram(image, {}, histogram);
  const TLevelRanges ranges = LevelRanges(histogram, target);
  const int64_t w = image.Width(), h = image.Height(), rowBytes = 3 * area.Width();
  // Every byte is written before it is read: no zeroing pass.
  const std::unique_ptr<uint8_t[]> result(new uint8_t[size_t(rowBytes * area.Height())]);
  const TIEWorkingBitmap& source = image;
  const bool done = RunAreaRows(area, watch, [&](int64_t y) {
    thread_local TRowScratch scratch;
    EqualizeRow(source.ScanLine(std::max<int64_t>(y - 1, 0)), source.ScanLine(y),
                source.ScanLine(std::min(y + 1, h - 1)), w, area.X1, area.X2, ranges, scratch,
                result.get() + (y - area.Y1) * rowBytes);
  });
  if (!done) return;
  for (int64_t y = area.Y1; y < area.Y2; ++y)
    std::memcpy(image.ScanLine(y) + 3 * area.X1, result.get() + (y - area.Y1) * rowBytes, size_t(rowBytes));
}

}  // namespace quillet
