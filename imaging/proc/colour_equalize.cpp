// Automatic equalization: output ranges per grey level from the image's
// histogram, then each pixel of the area set from its 3 x 3 neighbourhood
// mean, written to a copy and put back when every row is done.
#include <array>
#include <cstring>
#include <memory>
#include <vector>

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

// One output row: `above`, `row` and `below` are the source rows (clamped
// into the image), `sums` room for the column sums of the image's width.
void EqualizeRow(const uint8_t* above, const uint8_t* row, const uint8_t* below, int64_t width, int64_t x1,
                 int64_t x2, const TLevelRanges& ranges, std::vector<int>& sums, uint8_t* out) {
  const int64_t from = std::max<int64_t>(x1 - 1, 0), to = std::min(x2 + 1, width);
  for (int64_t i = 3 * from; i < 3 * to; ++i) sums[size_t(i)] = above[i] + row[i] + below[i];
  for (int64_t x = x1; x < x2; ++x, out += 3) {
    const size_t l = size_t(3 * std::max<int64_t>(x - 1, 0)), c = size_t(3 * x),
                 r = size_t(3 * std::min(x + 1, width - 1));
    int mean[3];
    for (size_t i = 0; i < 3; ++i) mean[i] = (sums[l + i] + sums[c + i] + sums[r + i]) / 9;
    const uint8_t* p = row + c;
    const int gi = Grey(p[0], p[1], p[2]), j = Grey(mean[0], mean[1], mean[2]);
    const uint8_t lo = ranges.left[size_t(gi)], hi = ranges.right[size_t(gi)];
    if (lo == hi || j < lo) {
      for (int i = 0; i < 3; ++i) out[i] = ranges.left[p[i]];
    } else if (j > hi) {
      for (int i = 0; i < 3; ++i) out[i] = ranges.right[p[i]];
    } else {
      for (int i = 0; i < 3; ++i) out[i] = uint8_t(mean[i]);
    }
  }
}

}  // namespace

void AutoEqualizeArea(TIEWorkingBitmap& image, const TIEArea& whole, const TIEAreaProgress& watch) {
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
    thread_local std::vector<int> sums;
    sums.resize(size_t(3 * w));
    EqualizeRow(source.ScanLine(std::max<int64_t>(y - 1, 0)), source.ScanLine(y),
                source.ScanLine(std::min(y + 1, h - 1)), w, area.X1, area.X2, ranges, sums,
                result.get() + (y - area.Y1) * rowBytes);
  });
  if (!done) return;
  for (int64_t y = area.Y1; y < area.Y2; ++y)
    std::memcpy(image.ScanLine(y) + 3 * area.X1, result.get() + (y - area.Y1) * rowBytes, size_t(rowBytes));
}

}  // namespace quillet
