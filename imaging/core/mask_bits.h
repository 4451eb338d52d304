// Bit-run helpers of the 1-bit mask code: reading and writing up to eight
// pixels of a 1-bit row at any bit position, a byte at a time.
#pragma once

#include <algorithm>
#include <cstdint>

namespace quillet {

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
inline void WriteBits(uint8_t* row, int64_t pos, int count, uint8_t v, uint8_t select = 0xFF) {
  const int shift = int(pos & 7);
  const uint8_t mask = uint8_t(uint8_t(uint8_t(0xFF << (8 - count)) & select) >> shift);
  uint8_t& byte = row[pos >> 3];
  byte = uint8_t((byte & ~mask) | ((v >> shift) & mask));
}

// Copies count pixels; where `select` is given, only its set pixels.
inline void CopyBits(const uint8_t* src, int64_t srcX, uint8_t* dst, int64_t dstX, int64_t count,
                     const uint8_t* select = nullptr, int64_t selectX = 0) {
  while (count > 0) {
    const int n = int(std::min<int64_t>(count, 8 - (dstX & 7)));
    WriteBits(dst, dstX, n, ReadBits(src, srcX, n), select ? ReadBits(select, selectX, n) : uint8_t(0xFF));
    srcX += n;
    dstX += n;
    selectX += n;
    count -= n;
  }
}

}  // namespace quillet
