// Row decoders of device-independent bitmap data (BMP, icons, the clipboard
// block): palette, bit-field and plain 24/32-bit rows into 24 bits; 1-bit rows.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "imaging/core/palette_table.h"

namespace quillet {

// One colour channel of a bit-field pixel: (p & mask) >> shift, scaled to 8 bits.
struct TBitFieldChannel {
  uint32_t Mask = 0;
  int Shift = 0;  // lowest set bit
  int Width = 0;  // length of the run of set bits

  explicit TBitFieldChannel(uint32_t mask = 0);
  uint8_t Extract(uint32_t pixel) const {
    const uint32_t v = (pixel & Mask) >> Shift;
    return uint8_t(Width >= 8 ? v >> (Width - 8) : v << (8 - Width));
  }
};

struct TBitFields {
  TBitFieldChannel Red, Green, Blue;
};

// The masks of 16-bit and 32-bit files without bit fields.
TBitFields DefaultBitFields(int bits);

// A 1-bit row copied, complemented when the file's palette is white, black.
void CopyBilevelRow(const uint8_t* src, uint8_t* dst, int64_t bytes, bool invert);

// Decodes `width` pixels of one file row at `bits` per pixel into B,G,R bytes.
class TDibRowDecoder {
 public:
  TDibRowDecoder(int bits, const TPaletteTable& palette, const TBitFields& fields);
  void Decode(const uint8_t* src, int64_t width, uint8_t* dst) const;

 private:
  // A palette row, pixel x taking index(x). Every pixel but the last is
  // stored as 4 bytes, the 4th overwritten by the next pixel.
  template <class TIndex>
  void DecodeIndexed(int64_t width, uint8_t* dst, TIndex index) const {
    if (width <= 0) return;
    for (int64_t x = 0; x + 1 < width; ++x, dst += 3) std::memcpy(dst, &quads_[index(x)], 4);
    std::memcpy(dst, &quads_[index(width - 1)], 3);
  }
  void Decode16(const uint8_t* src, int64_t width, uint8_t* dst) const;
  void Decode32(const uint8_t* src, int64_t width, uint8_t* dst) const;

  int bits_;
  std::array<uint32_t, 256> quads_{};  // palette entries as B,G,R,0 in memory order
  TBitFields fields_;
  bool plain32_;                  // 32-bit B,G,R,x without masks to apply
  std::vector<uint8_t> table16_;  // 65536 x B,G,R for 16-bit rows
};

}  // namespace quillet
