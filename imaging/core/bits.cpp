// Bit reversal, bit-field and power helpers declared in bits.h.
#include "imaging/core/bits.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <utility>
#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace quillet {

namespace {

constexpr std::array<uint8_t, 256> MakeReverseTable() {
  std::array<uint8_t, 256> t{};
  for (int v = 0; v < 256; ++v) {
    int r = 0;
    for (int i = 0; i < 8; ++i)
      if (v & (1 << i)) r |= 0x80 >> i;
    t[v] = uint8_t(r);
  }
  return t;
}

constexpr std::array<uint8_t, 256> kReverse = MakeReverseTable();

// The `count` (1..8) pixels from bit position pos, left-aligned in a byte. Reads
// the next byte only when the pixels reach into it.
inline uint8_t ReadBits(const uint8_t* row, int64_t pos, int count) {
  const int shift = int(pos & 7);
  unsigned v = unsigned(row[pos >> 3]) << shift;
  if (shift + count > 8) v |= unsigned(row[(pos >> 3) + 1]) >> (8 - shift);
  return uint8_t(v);
}

// Writes the top `count` bits of v at pos, where they must fit in one byte;
// only the bits also set in `select` change.
inline void WriteBits(uint8_t* row, int64_t pos, int count, uint8_t v, uint8_t select) {
  const int shift = int(pos & 7);
  const uint8_t mask = uint8_t(uint8_t(uint8_t(0xFF << (8 - count)) & select) >> shift);
  uint8_t& byte = row[pos >> 3];
  byte = uint8_t((byte & ~mask) | ((v >> shift) & mask));
}

// Rows are read and written as 64-bit words byte-swapped into row order.
static_assert(std::endian::native == std::endian::little);

// Whole destination bytes of an unselected copy: a block move when source
// and destination share the bit position, else each byte from two.
void CopyWholeBytes(const uint8_t* src, int64_t srcX, uint8_t* dst, int64_t bytes) {
  const uint8_t* from = src + (srcX >> 3);
  const int shift = int(srcX & 7);
  if (shift == 0) {
    std::memcpy(dst, from, size_t(bytes));
    return;
  }
  // Eight bytes at a time as big-endian words, then the rest one by one;
  // byte i takes from[i] and from[i + 1].
  int64_t i = 0;
  for (; i + 8 <= bytes; i += 8) {
    uint64_t word;
    std::memcpy(&word, from + i, 8);
    word = __builtin_bswap64(__builtin_bswap64(word) << shift | from[i + 8] >> (8 - shift));
    std::memcpy(dst + i, &word, 8);
  }
  for (; i < bytes; ++i) dst[i] = uint8_t(from[i] << shift | from[i + 1] >> (8 - shift));
}

// Groups of eight pixels by parallel bit extraction: the group's source word,
// byte-swapped so that the row's first pixel is its top bit, gives its
// pixels' bits in order.
#if defined(__x86_64__)
bool CanExtractBits() {
  static const bool can = __builtin_cpu_supports("bmi2");
  return can;
}

__attribute__((target("bmi2"))) void ExtractGroups(const uint8_t* row, const int64_t* bytes, const uint64_t* masks,
                                                   int64_t groups, uint8_t* out) {
  for (int64_t g = 0; g < groups; ++g) {
    uint64_t word;
    std::memcpy(&word, row + bytes[g], 8);
    out[g] = uint8_t(_pext_u64(__builtin_bswap64(word), masks[g]));
  }
}
#else
bool CanExtractBits() { return false; }
void ExtractGroups(const uint8_t*, const int64_t*, const uint64_t*, int64_t, uint8_t*) {}
#endif

}  // namespace

TBitGather::TBitGather(std::vector<int64_t> columns, int64_t rowBytes) : columns_(std::move(columns)) {
  if (!CanExtractBits()) return;
  const int64_t* x = columns_.data();
  for (int64_t i = 0; i + 8 <= int64_t(columns_.size()); i += 8) {
    const int64_t byte = x[i] >> 3;
    if (byte + 8 > rowBytes || x[i + 7] - 8 * byte > 63) break;
    uint64_t mask = 0;
    for (int j = 0; j < 8; ++j) mask |= uint64_t(1) << (63 - (x[i + j] - 8 * byte));
    if (std::popcount(mask) != 8) break;
    groupByte_.push_back(byte);
    groupMask_.push_back(mask);
  }
}

void TBitGather::Gather(const uint8_t* row, uint8_t* out) const {
  const int64_t groups = int64_t(groupByte_.size()), n = int64_t(columns_.size());
  ExtractGroups(row, groupByte_.data(), groupMask_.data(), groups, out);
  const int64_t* x = columns_.data();
  int64_t i = 8 * groups;
  for (; i + 8 <= n; i += 8) {
    unsigned v = 0;
    for (int64_t j = 0; j < 8; ++j) v = v << 1 | unsigned(GetBit(row, x[i + j]));
    out[i >> 3] = uint8_t(v);
  }
  if (i == n) return;
  unsigned v = 0;
  for (int64_t j = 0; j < 8; ++j) v = v << 1 | unsigned(i + j < n && GetBit(row, x[i + j]));
  out[i >> 3] = uint8_t(v);
}

void CopyBits(const uint8_t* src, int64_t srcX, uint8_t* dst, int64_t dstX, int64_t count, const uint8_t* select,
              int64_t selectX) {
  while (count > 0) {
    if (!select && (dstX & 7) == 0 && count >= 8) {
      const int64_t bytes = count >> 3;
      CopyWholeBytes(src, srcX, dst + (dstX >> 3), bytes);
      srcX += 8 * bytes;
      dstX += 8 * bytes;
      count -= 8 * bytes;
      continue;
    }
    const int n = int(std::min<int64_t>(count, 8 - (dstX & 7)));
    WriteBits(dst, dstX, n, ReadBits(src, srcX, n), select ? ReadBits(select, selectX, n) : uint8_t(0xFF));
    srcX += n;
    dstX += n;
    selectX += n;
    count -= n;
  }
}

int BitsOfFormat(TIEPixelFormat format) {
  switch (format) {
    case TIEPixelFormat::pf1bit: return 1;
    case TIEPixelFormat::pf4bit: return 4;
    case TIEPixelFormat::pf8bit: return 8;
    case TIEPixelFormat::pf15bit: return 15;
    case TIEPixelFormat::pf16bit: return 16;
    case TIEPixelFormat::pf24bit: return 24;
    case TIEPixelFormat::pf32bit: return 32;
    case TIEPixelFormat::pfNone: break;
  }
  return 0;
}

uint8_t ReverseBits8(uint8_t v) { return kReverse[v]; }

uint32_t ReverseBits32(uint32_t v) {
  return uint32_t(kReverse[v & 0xFF]) << 24 | uint32_t(kReverse[v >> 8 & 0xFF]) << 16 |
         uint32_t(kReverse[v >> 16 & 0xFF]) << 8 | uint32_t(kReverse[v >> 24]);
}

int BitFieldLength(uint32_t mask) {
  if (mask == 0) return 0;
  return std::countr_one(mask >> std::countr_zero(mask));
}

int BitFieldShift(uint32_t mask) {
  if (mask == 0) return -1;
  const int high = 31 - std::countl_zero(mask);
  return std::has_single_bit(mask) ? high : high + 1;
}

double IntPower(double base, int64_t exponent) {
  // The magnitude as unsigned so that the most negative exponent works too.
  uint64_t e = exponent < 0 ? uint64_t(0) - uint64_t(exponent) : uint64_t(exponent);
  double result = 1.0, square = base;
  while (e) {
    if (e & 1) result *= square;
    e >>= 1;
    if (e) square *= square;
  }
  return exponent < 0 ? 1.0 / result : result;
}

double Power(double base, double exponent) {
  if (exponent == 0.0) return 1.0;
  if (base == 0.0 && exponent > 0.0) return 0.0;
  if (std::trunc(exponent) == exponent && std::fabs(exponent) <= 2147483647.0)
    return IntPower(base, int64_t(exponent));
  // 2^(e log2 b), the whole and fractional parts of the product taken apart
  // so that exp2 only ever sees a value in (-1, 1).
  const double p = exponent * std::log2(base);
  if (!std::isfinite(p)) return std::exp2(p);
  double whole = 0.0;
  const double frac = std::modf(p, &whole);
  if (whole > 4096.0) return HUGE_VAL;
  if (whole < -4096.0) return 0.0;
  return std::ldexp(std::exp2(frac), int(whole));
}

}  // namespace quillet
