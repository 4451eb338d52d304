#include "imaging/proc/effect_morph.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <vector>

#include "imaging/core/vector_clones.h"

namespace quillet {

namespace {

// Rows of 24-bit pixels: the area of the image, or a pass's result.
struct TRows {
  const uint8_t* first;
  int64_t stride;
  const uint8_t* Row(int64_t r) const { return first + r * stride; }
};

// One pass works on keys where larger is better: the grey level for a
// maximum, 255 - grey for a minimum. A key never beats the start 0, so a
// maximum over greys of 0 keeps its centre; a minimum always finds a grey
// below 255, as greys end at 252.
QUILLET_VECTOR_CLONES void KeyRow(const uint8_t* p, int32_t width, bool minimum, uint8_t* __restrict key) {
  const uint8_t flip = minimum ? 255 : 0;
  for (int32_t x = 0; x < width; ++x, p += 3)
    key[x] = uint8_t(uint16_t(7 * p[0] + 71 * p[1] + 21 * p[2]) / 100 ^ flip);
}

// The best key over columns x - k .. x + k of a row and its leftmost column;
// `padded` holds the row's keys after k zeros, and k zeros follow.
QUILLET_VECTOR_CLONES void BestAcross(const uint8_t* padded, int32_t width, int32_t k, int32_t* __restrict best,
                                      int32_t* __restrict col) {
  for (int32_t x = 0; x < width; ++x) best[x] = 0, col[x] = x;
  for (int32_t d = -k; d <= k; ++d) {
    const uint8_t* g = padded + k + d;
    for (int32_t x = 0; x < width; ++x) {
      const int32_t v = g[x], mask = -int32_t(v > best[x]);
      best[x] = (v & mask) | (best[x] & ~mask);
      col[x] = ((x + d) & mask) | (col[x] & ~mask);
    }
  }
}

// Row r's row bests folded into the running bests of each column, with the
// row and column they came from; the topmost row wins ties.
QUILLET_VECTOR_CLONES void BestDown(const int32_t* key, const int32_t* col, int32_t r, int32_t width,
                                    int32_t* __restrict best, int32_t* __restrict row, int32_t* __restrict from) {
  // Bitwise selects: every element is stored, which is cheaper than storing some.
  for (int32_t x = 0; x < width; ++x) {
    const int32_t k = key[x], mask = -int32_t(k > best[x]);
    best[x] = (k & mask) | (best[x] & ~mask);
    row[x] = (r & mask) | (row[x] & ~mask);
    from[x] = (col[x] & mask) | (from[x] & ~mask);
  }
}

struct TMorphPass {
  TRows src;
  int32_t width, height, kx, ky;
  bool minimum;
};

// Output rows [first, last) of one pass. The row bests of the source rows
// in reach stay in a ring, row r in slot r % size.
template <class Next>
void MorphRows(const TMorphPass& pass, TIEWorkingBitmap& dst, int64_t first, int64_t last, Next next) {
  const int32_t w = pass.width, size = std::min(2 * pass.ky + 1, pass.height);
  std::vector<uint8_t> padded(size_t(w) + 2 * size_t(pass.kx), 0);
  const size_t n = size_t(w);
  std::vector<int32_t> keys(size_t(size) * n), cols(size_t(size) * n), best(n), rows(n), from(n);
  int64_t computed = std::max<int64_t>(first - pass.ky, 0);
  for (int64_t y = first; y < last; ++y) {
    const int64_t lo = std::max<int64_t>(y - pass.ky, 0), hi = std::min<int64_t>(y + pass.ky, pass.height - 1);
    for (; computed <= hi; ++computed) {
      const size_t slot = size_t(computed % size) * size_t(w);
      KeyRow(pass.src.Row(computed), w, pass.minimum, padded.data() + pass.kx);
      BestAcross(padded.data(), w, pass.kx, keys.data() + slot, cols.data() + slot);
    }
    // Nothing beating the start keeps the centre.
    std::fill(best.begin(), best.end(), 0);
    std::fill(rows.begin(), rows.end(), int32_t(y));
    std::iota(from.begin(), from.end(), 0);
    for (int64_t r = lo; r <= hi; ++r) {
      const size_t slot = size_t(r % size) * n;
      BestDown(keys.data() + slot, cols.data() + slot, int32_t(r), w, best.data(), rows.data(), from.data());
    }
    uint8_t* out = dst.ScanLine(y);
    for (size_t x = 0; x < n; ++x) std::memcpy(out + 3 * x, pass.src.Row(rows[x]) + 3 * int64_t(from[x]), 3);
    if (!next()) return;
  }
}

}  // namespace

void ApplyMorph(TIEWorkingBitmap& image, const TIEArea& wanted, int32_t filter, int32_t window,
                const TIEProcWatch& control) {
  const TIEArea area = wanted.ClampedTo(image);
  if (image.PixelFormat() != TIEPixelFormat::pf24bit || area.Empty() || filter < 0 || filter > 3) return;
  // Minimum passes; opening is a minimum then a maximum, closing the reverse.
  static const std::vector<bool> kPasses[4] = {{false}, {true}, {true, false}, {false, true}};
  const std::vector<bool>& passes = kPasses[filter];
  const int64_t w = area.Width(), h = area.Height();
  // A window beyond the area's larger side reaches no further than that side.
  const int64_t k = std::clamp<int64_t>(window, 1, std::max(w, h));
  TIEProcRows rows(control, double(int64_t(passes.size()) * h) - 0.5);
  TIEWorkingBitmap result;
  TRows src{image.ScanLine(area.Y1) + 3 * area.X1, image.RowBytes()};
  for (const bool minimum : passes) {
    const TMorphPass pass{src, int32_t(w), int32_t(h), int32_t(std::min(k, w - 1)), int32_t(std::min(k, h - 1)), minimum};
    TIEWorkingBitmap dst = NewAreaImage(area);
    if (!rows.Run(h, 6 * w * (pass.kx + pass.ky + 1), [&](int64_t first, int64_t last, auto next) {
          MorphRows(pass, dst, first, last, next);
        }))
      return;
    result = std::move(dst);
    src = {result.ScanLine(0), result.RowBytes()};
  }
  CommitArea(image, area, std::move(result));
}

}  // namespace quillet
