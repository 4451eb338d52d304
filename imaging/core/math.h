// Numeric helpers shared by the whole engine: rounding with ties to even,
// checked truncation, and the one checked size helper for image buffers.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace quillet {

// Nearest integer, a half going to the even neighbour.
inline int64_t Round(double v) {
  if (!(v == v)) return 0;
  const double r = std::nearbyint(v);
  if (r >= 9.2e18) return std::numeric_limits<int64_t>::max();
  if (r <= -9.2e18) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(r);
}

// Integer part toward zero; NaN gives 0 and values outside int64 saturate.
inline int64_t Trunc(double v) {
  if (!(v == v)) return 0;
  if (v >= 9.2e18) return std::numeric_limits<int64_t>::max();
  if (v <= -9.2e18) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(v);
}

// Bytes of a bitmap of w x h pixels at `bits` per pixel with 32-bit aligned
// rows, or nothing when a side is not positive or the image is over
// MaxImagePixels().
std::optional<int64_t> ImageBytes(int64_t w, int64_t h, int bits);

}  // namespace quillet
