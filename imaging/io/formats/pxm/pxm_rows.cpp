#include "imaging/io/formats/pxm/pxm_rows.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace quillet {

namespace {

#if defined(__x86_64__)
// Byte k of a swapped run of pixels comes from byte Source(k).
constexpr int Source(int k) { return k - k % 3 + 2 - k % 3; }

// Block o of 16 bytes out of three gathered from block s of the three read:
// byte q takes byte m[o][s][q] of block s, or 0 (-128) when another block has it.
struct TSwapMasks {
  alignas(16) int8_t m[3][3][16] = {};
};

constexpr TSwapMasks MakeSwapMasks() {
  TSwapMasks masks;
  for (int o = 0; o < 3; ++o)
    for (int s = 0; s < 3; ++s)
      for (int q = 0; q < 16; ++q) {
        const int from = Source(16 * o + q);
        masks.m[o][s][q] = int8_t(from / 16 == s ? from % 16 : -128);
      }
  return masks;
}

// Sixteen pixels at a time, all three blocks read before any is written, on
// processors that have the byte shuffle; returns the bytes done.
__attribute__((target("ssse3"))) int64_t SwapWide(const uint8_t* src, uint8_t* dst, int64_t bytes) {
  static constexpr TSwapMasks kMasks = MakeSwapMasks();
  __m128i masks[3][3];
  for (int o = 0; o < 3; ++o)
    for (int s = 0; s < 3; ++s) masks[o][s] = _mm_load_si128(reinterpret_cast<const __m128i*>(kMasks.m[o][s]));
  int64_t i = 0;
  for (; i + 48 <= bytes; i += 48) {
    __m128i in[3], out[3];
    for (int s = 0; s < 3; ++s) in[s] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i + 16 * s));
    for (int o = 0; o < 3; ++o)
      out[o] = _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(in[0], masks[o][0]), _mm_shuffle_epi8(in[1], masks[o][1])),
                            _mm_shuffle_epi8(in[2], masks[o][2]));
    for (int o = 0; o < 3; ++o) _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i + 16 * o), out[o]);
  }
  return i;
}

bool HasShuffle() {
  static const bool has = __builtin_cpu_supports("ssse3");
  return has;
}
#else
int64_t SwapWide(const uint8_t*, uint8_t*, int64_t) { return 0; }
bool HasShuffle() { return false; }
#endif

}  // namespace

void InvertBitRow(const uint8_t* src, uint8_t* dst, int64_t width) {
  const int64_t bytes = (width + 7) / 8;
  for (int64_t i = 0; i < bytes; ++i) dst[i] = uint8_t(~src[i]);
  if (width & 7) dst[bytes - 1] &= uint8_t(0xFF00 >> (width & 7));
}

void SwapRedBlueRow(const uint8_t* src, uint8_t* dst, int64_t width) {
  const int64_t bytes = 3 * width;
  for (int64_t i = HasShuffle() ? SwapWide(src, dst, bytes) : 0; i < bytes; i += 3) {
    const uint8_t first = src[i];
    dst[i] = src[i + 2], dst[i + 1] = src[i + 1], dst[i + 2] = first;
  }
}

}  // namespace quillet
