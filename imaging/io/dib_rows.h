// Row decoders of device-independent bitmap data, shared by the BMP, icon and
// cursor readers: palette rows, bit-field rows and plain 24/32-bit rows into 24 bits.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "imaging/io/palette_table.h"

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

// Decodes `width` pixels of one file row at `bits` per pixel into B,G,R bytes.
class TDibRowDecoder {
 public:
  TDibRowDecoder(int bits, const TPaletteTable& palette, const TBitFields& fields);
  void Decode(const uint8_t* src, int64_t width, uint8_t* dst) const;

 private:
  void DecodeIndexed(const uint8_t* src, int64_t width, uint8_t* dst) const;
  void Decode16(const uint8_t* src, int64_t width, uint8_t* dst) const;
  void Decode32(const uint8_t* src, int64_t width, uint8_t* dst) const;

  int bits_;
  const TPaletteTable& palette_;
  TBitFields fields_;
  bool plain32_;                  // 32-bit B,G,R,x without masks to apply
  std::vector<uint8_t> table16_;  // 65536 x B,G,R for 16-bit rows
};

}  // namespace quillet
