// The row blend in 16-bit lanes: d + ((s - d) * a >> 8) equals
// (s * a + d * (256 - a)) >> 8, whose sum never passes 255 * 256, so
// unsigned 16-bit arithmetic gives it exactly and the loop vectorises. The
// alpha is spread to every channel byte first; with AVX2 both loops vectorise,
// so x86-64 gets a second build of the row function, picked at load time.
#include "imaging/core/mask_blend.h"

#include <algorithm>

#if defined(__x86_64__)
#define QUILLET_ALSO_AVX2 __attribute__((target_clones("avx2", "default")))
#else
#define QUILLET_ALSO_AVX2
#endif

namespace quillet {

namespace {

constexpr int64_t kChunk = 128;

// Bytes of a chunk, alpha already spread to every channel byte.
inline void BlendBytes(uint8_t* __restrict d, const uint8_t* __restrict s, const uint8_t* __restrict a, int64_t n) {
  for (int64_t i = 0; i < n; ++i) {
    const uint16_t w = a[i];
    d[i] = uint8_t(uint16_t(s[i] * w + d[i] * uint16_t(256 - w)) >> 8);
  }
}

}  // namespace

QUILLET_ALSO_AVX2 void BlendRow24(uint8_t* dst, const uint8_t* src, const uint8_t* alpha, int64_t pixels) {
  uint8_t spread[3 * kChunk];
  for (int64_t x = 0; x < pixels; x += kChunk) {
    const int64_t n = std::min(kChunk, pixels - x);
    for (int64_t i = 0; i < n; ++i) spread[3 * i] = spread[3 * i + 1] = spread[3 * i + 2] = alpha[x + i];
    BlendBytes(dst + 3 * x, src + 3 * x, spread, 3 * n);
  }
}

}  // namespace quillet
