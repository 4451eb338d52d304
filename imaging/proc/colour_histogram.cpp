#include "imaging/proc/colour_histogram.h"

#include <memory>
#include <mutex>
#include <vector>

#include "imaging/core/vector_clones.h"

namespace quillet {

namespace {

constexpr TBGR kMidGrey{128, 128, 128};

// The counts of one thread's rows.
struct TPartCounts {
  std::array<uint32_t, 256> red{}, green{}, blue{}, grey{};

  void AddRow(const uint8_t* p, int64_t width) {
    for (int64_t x = 0; x < width; ++x, p += 3) {
      ++blue[p[0]], ++green[p[1]], ++red[p[2]];
      ++grey[(7 * p[0] + 71 * p[1] + 21 * p[2]) / 100];
    }
  }
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
      e.Red += counts->red[v], e.Green += counts->green[v], e.Blue += counts->blue[v], e.Gray += counts->grey[v];
    }
  });
}

TBGR AverageColour(const TIEWorkingBitmap& image, const TIEArea& whole, const TIEAreaProgress& watch) {
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
