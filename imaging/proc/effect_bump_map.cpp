#include "imaging/proc/effect_bump_map.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "imaging/core/math.h"
#include "imaging/core/vector_clones.h"
#include "imaging/proc/row_split.h"

namespace quillet {

namespace {

// The grey levels of an area row, with the edge pixel repeated on each side.
QUILLET_VECTOR_CLONES void GreyRow(const uint8_t* p, int64_t width, uint8_t* __restrict grey) {
  for (int64_t x = 0; x < width; ++x) grey[x + 1] = uint8_t(uint16_t(7 * p[3 * x] + 71 * p[3 * x + 1] + 21 * p[3 * x + 2]) / 100);
  grey[0] = grey[1], grey[width + 1] = grey[width];
}

// For each pixel of a row, the light map entry i * 256 + j its gradients
// and its place under the light give; rows are padded as GreyRow makes them.
QUILLET_VECTOR_CLONES void MapIndices(const uint8_t* row, const uint8_t* above, const uint8_t* below,
                                      const int32_t* across, int32_t down, int64_t width, int32_t* __restrict index) {
  for (int64_t x = 0; x < width; ++x) {
    const int32_t i = std::clamp(row[x + 2] - row[x] + across[x], 0, 255);
    const int32_t j = std::clamp(below[x + 1] - above[x + 1] + down, 0, 255);
    index[x] = i * 256 + j;
  }
}

// What a channel of value c becomes under light map value m, for each of the
// three channels: round(c q / 100 + L cl / 255) with L = m (100 - q) / 100.
using TLitTable = std::vector<uint8_t>;  // [channel][m][c]

TLitTable LitTable(TBGR light, int32_t quantity) {
  TLitTable table(3 * 256 * 256);
  const int cl[3] = {light.b, light.g, light.r};
  for (int ch = 0; ch < 3; ++ch)
    for (int m = 0; m < 256; ++m) {
      const double lit = double(m) * (100 - double(quantity)) / 100;
      for (int c = 0; c < 256; ++c) {
        const double v = double(c) * quantity / 100 + lit * cl[ch] / 255;
        table[size_t((ch * 256 + m) * 256 + c)] = uint8_t(std::clamp<int64_t>(Round(v), 0, 255));
      }
    }
  return table;
}

// trunc(d / size * 128), kept within +-1024 where it cannot change the
// clamped index.
int32_t Slope(int64_t d, int32_t size) {
  return int32_t(std::clamp<int64_t>(Trunc(double(d) / size * 128), -1024, 1024));
}

}  // namespace

const uint8_t* BumpLightMap() {
  static const std::array<uint8_t, 65536> map = [] {
    std::array<uint8_t, 65536> m{};
    for (int i = 0; i < 256; ++i)
      for (int j = 0; j < 256; ++j) {
        const double u = (i - 128) / 128.0, v = (j - 128) / 128.0;
        m[size_t(i * 256 + j)] = uint8_t(std::min<int64_t>(Trunc(std::max(0.0, 1 - std::sqrt(u * u + v * v)) * 256), 255));
      }
    return m;
  }();
  return map.data();
}

void ApplyBumpMap(TIEWorkingBitmap& image, const TIEArea& wanted, int32_t x, int32_t y, int32_t width,
                  int32_t height, TBGR light, int32_t quantity, const TIEProcWatch& control) {
  const TIEArea area = wanted.ClampedTo(image);
  if (image.PixelFormat() != TIEPixelFormat::pf24bit || area.Empty() || width == 0 || height == 0) return;
  const int64_t w = area.Width(), h = area.Height();
  const int64_t stride = w + 2;
  std::vector<uint8_t> grey(static_cast<size_t>(stride * h));
  SplitRows(h, 3 * w, [&](int64_t first, int64_t last) {
    for (int64_t r = first; r < last; ++r) GreyRow(image.ScanLine(area.Y1 + r) + 3 * area.X1, w, grey.data() + r * stride);
  });
  std::vector<int32_t> across(static_cast<size_t>(w));
  for (int64_t c = 0; c < w; ++c) across[size_t(c)] = 128 - Slope(area.X1 + c - x, width);
  const TLitTable lit = LitTable(light, quantity);
  const uint8_t* map = BumpLightMap();
  TIEWorkingBitmap out = NewAreaImage(area);
  TIEProcRows rows(control, double(h) - 0.5);
  if (!rows.Run(h, 12 * w, [&](int64_t first, int64_t last, auto next) {
        std::vector<int32_t> index(static_cast<size_t>(w));
        for (int64_t r = first; r < last; ++r) {
          const uint8_t* g = grey.data() + r * stride;
          MapIndices(g, grey.data() + std::max<int64_t>(r - 1, 0) * stride, grey.data() + std::min(r + 1, h - 1) * stride,
                     across.data(), 128 - Slope(area.Y1 + r - y, height), w, index.data());
          const uint8_t* src = image.ScanLine(area.Y1 + r) + 3 * area.X1;
          uint8_t* dst = out.ScanLine(r);
          for (int64_t c = 0; c < w; ++c) {
            const uint8_t* m = lit.data() + size_t(map[index[size_t(c)]]) * 256;
            dst[3 * c] = m[src[3 * c]];
            dst[3 * c + 1] = m[65536 + src[3 * c + 1]];
            dst[3 * c + 2] = m[2 * 65536 + src[3 * c + 2]];
          }
          if (!next()) return;
        }
      }))
    return;
  CommitArea(image, area, std::move(out));
}

}  // namespace quillet
