// Line points by exact integer steps: 128-bit arithmetic for any single
// index, an incremental remainder for runs of them.
#include "imaging/core/line_dda.h"

#include <algorithm>
#include <cstdlib>

namespace quillet {

namespace {

int64_t Sign(int64_t v) { return (v > 0) - (v < 0); }

}  // namespace

TLineDDA::TLineDDA(int64_t x1, int64_t y1, int64_t x2, int64_t y2)
    : x1_(x1), y1_(y1), sx_(Sign(x2 - x1)), sy_(Sign(y2 - y1)), adx_(std::llabs(x2 - x1)),
      ady_(std::llabs(y2 - y1)), n_(std::max(adx_, ady_)) {}

TLineDDA::TAxis TLineDDA::Start(int64_t i, int64_t d) const {
  if (n_ == 0) return {0, 0};
  if (n_ < (int64_t(1) << 30)) {  // 2i*d + n fits in 64 bits
    const int64_t num = 2 * i * d + n_ - 1, den = 2 * n_;
    return {num / den, num % den};
  }
  const __int128 num = __int128(2) * i * d + n_ - 1, den = __int128(2) * n_;
  return {int64_t(num / den), int64_t(num % den)};
}

std::pair<int64_t, int64_t> TLineDDA::AxisRun(int64_t start, int64_t s, int64_t d, int64_t lo, int64_t hi) const {
  // Step(i, d) is non-decreasing in i; the coordinate is inside when the
  // step lies in [a, b).
  int64_t a, b;
  if (s >= 0) {
    a = lo - start;
    b = hi - start;
  } else {
    a = start - hi + 1;
    b = start - lo + 1;
  }
  const auto firstAtLeast = [&](int64_t v) {
    int64_t low = 0, high = n_;  // the first index in [0, n] with Step >= v
    while (low < high) {
      const int64_t mid = low + (high - low) / 2;
      if (Step(mid, d) >= v) high = mid; else low = mid + 1;
    }
    return low;
  };
  return {firstAtLeast(a), firstAtLeast(b)};
}

std::pair<int64_t, int64_t> TLineDDA::Within(int64_t left, int64_t top, int64_t right, int64_t bottom) const {
  const auto inside = [&](int64_t x, int64_t y) { return x >= left && x < right && y >= top && y < bottom; };
  if (n_ == 0 || (inside(x1_, y1_) && inside(X(n_ - 1), Y(n_ - 1)))) return {0, n_};
  const auto [xf, xl] = AxisRun(x1_, sx_, adx_, left, right);
  const auto [yf, yl] = AxisRun(y1_, sy_, ady_, top, bottom);
  const int64_t first = std::max(xf, yf), last = std::min(xl, yl);
  return {first, std::max(first, last)};
}

}  // namespace quillet
