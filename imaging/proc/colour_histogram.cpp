#include "imaging/proc/colour_histogram.h"

#include <memory>
#include <mutex>
#include <vector>

#include "imaging/core/vector_clones.h"

namespace quillet {

namespace {

constexpr TBGR kMidGrey{128, 128, 128};

// The counts of one thread's rows, in two sets that take alternate pixels:
// neighbouring pixels of a smooth image often share a level, and two
// counters let their increments run side by side.
struct TPartCounts {
  // [set][channel: blue, green, red, grey][level]
  uint32_t counts[2][4][256] = {};

  void AddRow(const uint8_t* p, int64_t width) {
    int64_t x = 0;
    for (; x + 2 <= width; x += 2, p += 6) Add(counts[0], p), Add(counts[1], p + 3);
    if (x < width) Add(counts[0], p);
  }

  static void Add(uint32_t (&c)[4][256], const uint8_t* p) {
    ++c[0][p[0]], ++c[1][p[1]], ++c[2][p[2]];
    ++c[3][(7 * p[0] + 71 * p[1] + 21 * p[2]) / 100];
  }

  uint32_t Count(int channel, size_t level) const { return counts[0][channel][level] + counts[1][channel][level]; }
};

// The blue, green and red sums of a row, four pixels at a time in twelve
// lanes that the compiler can add side by side.
QUILLET_VECTOR_CLONES std::array<uint64_t, 3> RowSums(const uint8_t* p, int64_t width) {
  uint64_t lanes[12] = {};
  int64_t x = 0;
  for (; x + 4 <= width; x += 4, p += 12)
    for (int i = 0; i < 12; ++i) lanes[i] += p[i];
  for (; x < width; ++x, p += 3)
    for (int i = 0; i < 3; ++i) lanes[i] += p[i];
  std::array<uint64_t, 3> sums{};
  for (int i = 0; i < 12; ++i) sums[size_t(i % 3)] += lanes[i];
  return sums;
}

}  // namespace

void AreaHistogram(const TIEWorkingBitmap& image, const TIEArea& whole, TIEHistogram& histogram) {
  histogram.fill({});
  const std::optional<TIEArea> found = Area24(image, whole);
  if (!found) return;
  const TIEArea& area = *found;
  std::mutex merging;
  SplitItems(area.Height(), 3 * area.Width(), {}, [&](int64_t first, int64_t last, auto&&) {
    auto counts = std::make_unique<TPartCounts>();
    for (int64_t y = area.Y1 + first; y < area.Y1 + last; ++y)
      counts->AddRow(image.ScanLine(y) + 3 * area.X1, area.Width());
    const std::lock_guard<std::mutex> lock(merging);
    for (size_t v = 0; v < 256; ++v) {
      THistogramEntry& e = histogram[v];
      e.Blue += counts->Count(0, v), e.Green += counts->Count(1, v), e.Red += counts->Count(2, v);
      e.Gray += counts->Count(3, v);
    }
  });
}

TBGR AverageColour(const TIEWorkingBitmap& image, const TIEArea& whole, const TIEProcWatch& watch) {
  const std::optional<TIEArea> found = Area24(image, whole);
  if (!found) return kMidGrey;
  const TIEArea& area = *found;
  // Each row's sums apart, so that the rows may run on any thread.
  std::vector<std::array<uint64_t, 3>> rows(size_t(area.Height()));
  RunAreaRows(area, watch,
              [&](int64_t y) { rows[size_t(y - area.Y1)] = RowSums(image.ScanLine(y) + 3 * area.X1, area.Width()); });
  uint64_t sums[3] = {};
  for (const auto& row : rows)
    for (int c = 0; c < 3; ++c) sums[c] += row[size_t(c)];
  const auto count = uint64_t(area.Width() * area.Height());
  return TBGR{uint8_t(sums[0] / count), uint8_t(sums[1] / count), uint8_t(sums[2] / count)};
}

}  // namespace quillet
