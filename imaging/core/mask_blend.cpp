// The row blend in 16-bit lanes: d + ((s - d) * a >> 8) equals
// (s * a + d * (256 - a)) >> 8, whose sum never passes 255 * 256, so
// unsigned 16-bit arithmetic gives it exactly. The portable loop spreads the
// alpha to every channel byte and blends plain byte arrays, which compilers
// vectorise; on x86-64 with AVX2, blocks of 32 pixels spread their alpha by
// byte shuffles and blend in registers.
#include "imaging/core/mask_blend.h"

#include <algorithm>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace quillet {

namespace {

constexpr int64_t kChunk = 128;

// Bytes of a chunk, alpha already spread to every channel byte.
void BlendBytes(uint8_t* __restrict d, const uint8_t* __restrict s, const uint8_t* __restrict a, int64_t n) {
  for (int64_t i = 0; i < n; ++i) {
    const uint16_t w = a[i];
    d[i] = uint8_t(uint16_t(s[i] * w + d[i] * uint16_t(256 - w)) >> 8);
  }
}

void BlendPortable(uint8_t* dst, const uint8_t* src, const uint8_t* alpha, int64_t pixels) {
  uint8_t spread[3 * kChunk];
  for (int64_t x = 0; x < pixels; x += kChunk) {
    const int64_t n = std::min(kChunk, pixels - x);
    for (int64_t i = 0; i < n; ++i) spread[3 * i] = spread[3 * i + 1] = spread[3 * i + 2] = alpha[x + i];
    BlendBytes(dst + 3 * x, src + 3 * x, spread, 3 * n);
  }
}

#if defined(__x86_64__)
bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

// (s * w + d * (256 - w)) >> 8 in 16-bit lanes.
__attribute__((target("avx2"))) __m256i BlendLanes(__m256i s, __m256i d, __m256i w) {
  const __m256i rest = _mm256_sub_epi16(_mm256_set1_epi16(256), w);
  return _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(s, w), _mm256_mullo_epi16(d, rest)), 8);
}

// 32 bytes of channels with their spread alpha, widened to 16 bits and back
// (the unpacking and packing both work within each half, so the order holds).
__attribute__((target("avx2"))) __m256i Blend32(__m256i s, __m256i d, __m256i w) {
  const __m256i z = _mm256_setzero_si256();
  const __m256i lo = BlendLanes(_mm256_unpacklo_epi8(s, z), _mm256_unpacklo_epi8(d, z), _mm256_unpacklo_epi8(w, z));
  const __m256i hi = BlendLanes(_mm256_unpackhi_epi8(s, z), _mm256_unpackhi_epi8(d, z), _mm256_unpackhi_epi8(w, z));
  return _mm256_packus_epi16(lo, hi);
}

// Whole blocks of 32 pixels, 96 bytes in three registers. Register k covers
// channel bytes 32k .. 32k + 31, whose alphas all lie in the 16 starting at
// pixel 8k: those are put in both halves and shuffled into place. Returns the
// pixels done.
__attribute__((target("avx2"))) int64_t BlendBlocksAvx2(uint8_t* dst, const uint8_t* src, const uint8_t* alpha,
                                                        int64_t pixels) {
  // Channel byte b of register k takes alpha (32k + b) / 3 - 8k.
  alignas(32) static const uint8_t kPick[3][32] = {
      {0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10},
      {2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10, 10, 11, 11, 11, 12, 12, 12, 13},
      {5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10, 10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15}};
  int64_t x = 0;
  for (; x + 32 <= pixels; x += 32, dst += 96, src += 96, alpha += 32)
    for (int k = 0; k < 3; ++k) {
      const __m256i a = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(alpha + 8 * k)));
      const __m256i w = _mm256_shuffle_epi8(a, _mm256_load_si256(reinterpret_cast<const __m256i*>(kPick[k])));
      const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 32 * k));
      __m256i* d = reinterpret_cast<__m256i*>(dst + 32 * k);
      _mm256_storeu_si256(d, Blend32(s, _mm256_loadu_si256(d), w));
    }
  return x;
}
#else
bool HasAvx2() { return false; }
int64_t BlendBlocksAvx2(uint8_t*, const uint8_t*, const uint8_t*, int64_t) { return 0; }
#endif

}  // namespace

void BlendRow24(uint8_t* dst, const uint8_t* src, const uint8_t* alpha, int64_t pixels) {
  const int64_t done = HasAvx2() ? BlendBlocksAvx2(dst, src, alpha, pixels) : 0;
  BlendPortable(dst + 3 * done, src + 3 * done, alpha + done, pixels - done);
}

}  // namespace quillet
