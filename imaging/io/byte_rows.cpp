// Byte-row conversions, with byte shuffles and wide vectors where the
// processor has them and plain loops elsewhere.
#include "imaging/io/byte_rows.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace quillet {

namespace {

// Output byte k of a run of B, G, R pixels comes from input byte Source(k).
constexpr int SwapSource(int k) { return k - k % 3 + 2 - k % 3; }
constexpr int GreySource(int k) { return k / 3; }

#if defined(__x86_64__)
// Sixteen pixels out (48 bytes, three blocks) from `in` blocks of 16 bytes:
// byte q of out block o takes byte m[o][s][q] of in block s, or 0 (-128) when
// another block has it.
struct TShuffleMasks {
  alignas(16) int8_t m[3][3][16] = {};
};

constexpr TShuffleMasks MakeMasks(int (*source)(int)) {
  TShuffleMasks masks;
  for (int o = 0; o < 3; ++o)
    for (int s = 0; s < 3; ++s)
      for (int q = 0; q < 16; ++q) {
        const int from = source(16 * o + q);
        masks.m[o][s][q] = int8_t(from / 16 == s ? from % 16 : -128);
      }
  return masks;
}

// Sixteen pixels at a time through byte shuffles, every block read before any
// is written; returns the pixels done.
template <int InBlocks>
__attribute__((target("ssse3"))) int64_t ShuffleWide(const uint8_t* src, uint8_t* dst, int64_t width,
                                                     const TShuffleMasks& masks) {
  __m128i m[3][InBlocks];
  for (int o = 0; o < 3; ++o)
    for (int s = 0; s < InBlocks; ++s) m[o][s] = _mm_load_si128(reinterpret_cast<const __m128i*>(masks.m[o][s]));
  int64_t x = 0;
  for (; x + 16 <= width; x += 16, src += 16 * InBlocks, dst += 48) {
    __m128i in[InBlocks], out[3];
    for (int s = 0; s < InBlocks; ++s) in[s] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 16 * s));
    for (int o = 0; o < 3; ++o) {
      out[o] = _mm_shuffle_epi8(in[0], m[o][0]);
      for (int s = 1; s < InBlocks; ++s) out[o] = _mm_or_si128(out[o], _mm_shuffle_epi8(in[s], m[o][s]));
    }
    for (int o = 0; o < 3; ++o) _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 16 * o), out[o]);
  }
  return x;
}

bool HasShuffle() {
  static const bool has = __builtin_cpu_supports("ssse3");
  return has;
}

int64_t SwapWide(const uint8_t* src, uint8_t* dst, int64_t width) {
  static constexpr TShuffleMasks kMasks = MakeMasks(SwapSource);
  return HasShuffle() ? ShuffleWide<3>(src, dst, width, kMasks) : 0;
}

int64_t GreyWide(const uint8_t* src, uint8_t* dst, int64_t width) {
  static constexpr TShuffleMasks kMasks = MakeMasks(GreySource);
  return HasShuffle() ? ShuffleWide<1>(src, dst, width, kMasks) : 0;
}
#else
int64_t SwapWide(const uint8_t*, uint8_t*, int64_t) { return 0; }
int64_t GreyWide(const uint8_t*, uint8_t*, int64_t) { return 0; }
#endif

}  // namespace

// Wide vectors where the processor has them for the loops the compiler vectorizes.
#if defined(__x86_64__)
#define QUILLET_WIDE_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define QUILLET_WIDE_CLONES
#endif

QUILLET_WIDE_CLONES void InvertBitRow(const uint8_t* src, uint8_t* dst, int64_t width) {
  const int64_t bytes = (width + 7) / 8;
  for (int64_t i = 0; i < bytes; ++i) dst[i] = uint8_t(~src[i]);
  if (width & 7) dst[bytes - 1] &= uint8_t(0xFF00 >> (width & 7));
}

void SwapRedBlueRow(const uint8_t* src, uint8_t* dst, int64_t width) {
  for (int64_t i = 3 * SwapWide(src, dst, width); i < 3 * width; i += 3) {
    const uint8_t first = src[i];
    dst[i] = src[i + 2], dst[i + 1] = src[i + 1], dst[i + 2] = first;
  }
}

void GreyToBgrRow(const uint8_t* src, uint8_t* dst, int64_t width) {
  for (int64_t x = GreyWide(src, dst, width); x < width; ++x) dst[3 * x] = dst[3 * x + 1] = dst[3 * x + 2] = src[x];
}

QUILLET_WIDE_CLONES void BgrToGreyRow(const uint8_t* src, uint8_t* dst, int64_t width) {
  for (int64_t x = 0; x < width; ++x, src += 3) dst[x] = uint8_t((7 * src[0] + 71 * src[1] + 21 * src[2]) / 100);
}

}  // namespace quillet
