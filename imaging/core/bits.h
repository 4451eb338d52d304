// Row, bit and byte helpers of the working bitmap and the codecs, and the
// IntPower / Power functions.
#pragma once

#include <cstdint>
#include <vector>

namespace quillet {

enum class TIEPixelFormat { pfNone, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

// Bytes of one row: ((width * bits + 31) div 32) * 4, in 64 bits.
inline int64_t RowLength(int64_t width, int bits) { return ((width * bits + 31) / 32) * 4; }
int BitsOfFormat(TIEPixelFormat format);
// Bits a pixel takes in a row: 15-bit pixels are stored in 16-bit words.
inline int StorageBitsOfFormat(TIEPixelFormat format) {
  return format == TIEPixelFormat::pf15bit ? 16 : BitsOfFormat(format);
}
inline int64_t RowLengthOfFormat(int64_t width, TIEPixelFormat format) {
  return RowLength(width, StorageBitsOfFormat(format));
}

// One pixel of a 1-bit row, most significant bit first. No bounds checks.
inline bool GetBit(const uint8_t* row, int64_t x) { return (row[x >> 3] >> (7 - (x & 7))) & 1; }
inline void SetBit(uint8_t* row, int64_t x, bool value) {
  const uint8_t mask = uint8_t(0x80 >> (x & 7));
  if (value)
    row[x >> 3] |= mask;
  else
    row[x >> 3] &= uint8_t(~mask);
}

// Copies `count` pixels of a 1-bit row from srcX to dst at dstX, leaving the
// other pixels of dst as they are; where `select` is given (a 1-bit row read
// from selectX on), only the pixels it has set. Whole destination bytes at a
// time; reads no source byte that holds none of the pixels.
void CopyBits(const uint8_t* src, int64_t srcX, uint8_t* dst, int64_t dstX, int64_t count,
              const uint8_t* select = nullptr, int64_t selectX = 0);

// Reading the pixels at fixed columns out of 1-bit rows, as a reduced view
// does: planned once for the columns, then used for every row.
class TBitGather {
 public:
  // Columns x[0] <= x[1] <= ... of rows of rowBytes bytes.
  TBitGather(std::vector<int64_t> columns, int64_t rowBytes);
  // Pixel x[i] of row as bit i of out, most significant bit first, in
  // (count + 7) / 8 bytes; the bits after the last pixel are zero.
  void Gather(const uint8_t* row, uint8_t* out) const;

 private:
  std::vector<int64_t> columns_;
  // Eight pixels at a time where the processor extracts bits: the first
  // source byte of each group and the bits of its pixels in the big-endian
  // word read there. Only leading groups of distinct columns that fit one
  // word inside the row.
  std::vector<int64_t> groupByte_;
  std::vector<uint64_t> groupMask_;
};

uint8_t ReverseBits8(uint8_t v);
uint32_t ReverseBits32(uint32_t v);
inline uint16_t Swap16(uint16_t v) { return uint16_t(v << 8 | v >> 8); }
inline uint32_t Swap32(uint32_t v) {
  return v << 24 | (v & 0xFF00u) << 8 | (v >> 8 & 0xFF00u) | v >> 24;
}

// Length of the run of set bits starting at the lowest set bit of mask.
int BitFieldLength(uint32_t mask);
// -1 for 0, the bit index for a single-bit mask, else highest set index + 1.
int BitFieldShift(uint32_t mask);

double IntPower(double base, int64_t exponent);
double Power(double base, double exponent);

}  // namespace quillet
