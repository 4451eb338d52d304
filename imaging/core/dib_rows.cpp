// Row decoding of 1/4/8/16/24/32-bit DIB data into 24-bit rows, and 1-bit row copies.
#include "imaging/core/dib_rows.h"

#include <bit>
#include <cstring>

#include "imaging/core/bits.h"

namespace quillet {

TBitFieldChannel::TBitFieldChannel(uint32_t mask) : Mask(mask) {
  if (mask == 0) return;
  Shift = std::countr_zero(mask);
  Width = BitFieldLength(mask);
}

TBitFields DefaultBitFields(int bits) {
  if (bits == 16) return {TBitFieldChannel(0x7C00), TBitFieldChannel(0x03E0), TBitFieldChannel(0x001F)};
  return {TBitFieldChannel(0xFF0000), TBitFieldChannel(0x00FF00), TBitFieldChannel(0x0000FF)};
}

void CopyBilevelRow(const uint8_t* src, uint8_t* dst, int64_t bytes, bool invert) {
  if (!invert) {
    std::memcpy(dst, src, size_t(bytes));
    return;
  }
  for (int64_t i = 0; i < bytes; ++i) dst[i] = uint8_t(~src[i]);
}

TDibRowDecoder::TDibRowDecoder(int bits, const TPaletteTable& palette, const TBitFields& fields)
    : bits_(bits), fields_(fields) {
  for (size_t i = 0; i < quads_.size(); ++i) {
    const TBGR c = palette.Colors[i];
    const uint8_t quad[4] = {c.b, c.g, c.r, 0};
    std::memcpy(&quads_[i], quad, 4);
  }
  plain32_ = fields.Red.Mask == 0xFF0000 && fields.Green.Mask == 0xFF00 && fields.Blue.Mask == 0xFF;
  if (bits != 16) return;
  table16_.resize(65536 * 3);
  for (uint32_t p = 0; p < 65536; ++p) {
    table16_[3 * p] = fields.Blue.Extract(p);
    table16_[3 * p + 1] = fields.Green.Extract(p);
    table16_[3 * p + 2] = fields.Red.Extract(p);
  }
}

void TDibRowDecoder::Decode(const uint8_t* src, int64_t width, uint8_t* dst) const {
  switch (bits_) {
    case 1: DecodeIndexed(width, dst, [src](int64_t x) { return GetBit(src, x); }); break;
    case 4: DecodeIndexed(width, dst, [src](int64_t x) { return (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15; }); break;
    case 8: DecodeIndexed(width, dst, [src](int64_t x) { return src[x]; }); break;
    case 16: Decode16(src, width, dst); break;
    case 24: std::memcpy(dst, src, size_t(width * 3)); break;
    case 32: Decode32(src, width, dst); break;
    default: break;
  }
}

void TDibRowDecoder::Decode16(const uint8_t* src, int64_t width, uint8_t* dst) const {
  const uint8_t* table = table16_.data();
  for (int64_t x = 0; x < width; ++x, dst += 3, src += 2) std::memcpy(dst, table + 3 * (src[0] | src[1] << 8), 3);
}

void TDibRowDecoder::Decode32(const uint8_t* src, int64_t width, uint8_t* dst) const {
  if (plain32_) {
    for (int64_t x = 0; x < width; ++x, dst += 3, src += 4) dst[0] = src[0], dst[1] = src[1], dst[2] = src[2];
    return;
  }
  for (int64_t x = 0; x < width; ++x, dst += 3, src += 4) {
    const uint32_t p = uint32_t(src[0]) | uint32_t(src[1]) << 8 | uint32_t(src[2]) << 16 | uint32_t(src[3]) << 24;
    dst[0] = fields_.Blue.Extract(p), dst[1] = fields_.Green.Extract(p), dst[2] = fields_.Red.Extract(p);
  }
}

}  // namespace quillet
