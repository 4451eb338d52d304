// Hand-made device-independent bitmap blocks for the block reader tests:
// headers of any size, masks, colour tables and rows laid out byte by byte.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/core/colors.h"

namespace quillet::test {

inline void PutLE(std::vector<uint8_t>& v, size_t at, uint32_t x, int bytes = 4) {
  for (int i = 0; i < bytes; ++i) v[at + i] = uint8_t(x >> (8 * i));
}
inline void AppendLE(std::vector<uint8_t>& v, uint32_t x, int bytes = 4) {
  v.resize(v.size() + bytes);
  PutLE(v, v.size() - bytes, x, bytes);
}

struct TBlockLayout {
  uint32_t headerSize = 40;
  int32_t width = 0, height = 0;
  uint16_t bits = 24;
  uint32_t compression = 0;
  uint32_t colorsUsed = 0;
  std::vector<uint32_t> masks;  // red, green, blue: inside headers of 52+, else after the header
  std::vector<TBGR> table;      // written as B, G, R, 0 (B, G, R for the 12-byte header)
};

// The header, masks and table of `layout`, then `pixels`.
inline std::vector<uint8_t> MakeBlock(const TBlockLayout& layout, const std::vector<uint8_t>& pixels = {}) {
  std::vector<uint8_t> b(layout.headerSize, 0);
  PutLE(b, 0, layout.headerSize);
  if (layout.headerSize == 12) {
    PutLE(b, 4, uint32_t(layout.width), 2), PutLE(b, 6, uint32_t(layout.height), 2);
    PutLE(b, 8, 1, 2), PutLE(b, 10, layout.bits, 2);
  } else {
    PutLE(b, 4, uint32_t(layout.width)), PutLE(b, 8, uint32_t(layout.height));
    PutLE(b, 12, 1, 2), PutLE(b, 14, layout.bits, 2);
    PutLE(b, 16, layout.compression), PutLE(b, 32, layout.colorsUsed);
  }
  for (size_t i = 0; i < layout.masks.size(); ++i) {
    if (layout.headerSize >= 52)
      PutLE(b, 40 + 4 * i, layout.masks[i]);
    else
      AppendLE(b, layout.masks[i]);
  }
  for (const TBGR& c : layout.table) {
    b.insert(b.end(), {c.b, c.g, c.r});
    if (layout.headerSize != 12) b.push_back(0);
  }
  b.insert(b.end(), pixels.begin(), pixels.end());
  return b;
}

// Rows of `bits`-per-pixel values, top row first, stored bottom-up (top-down
// when `topDown`) with each row padded to 4 bytes. Values are little-endian
// for 16 and 32 bits, packed most significant bits first below 8.
inline std::vector<uint8_t> PackRows(const std::vector<std::vector<uint32_t>>& rows, int width, int bits,
                                     bool topDown = false) {
  const size_t stride = size_t((width * bits + 31) / 32 * 4);
  std::vector<uint8_t> out(stride * rows.size(), 0);
  for (size_t r = 0; r < rows.size(); ++r) {
    uint8_t* row = out.data() + stride * (topDown ? r : rows.size() - 1 - r);
    for (int x = 0; x < width; ++x) {
      const uint32_t v = rows[r][size_t(x)];
      if (bits < 8) {
        const int bit = x * bits;
        row[bit / 8] |= uint8_t(v << (8 - bits - bit % 8));
      } else {
        for (int i = 0; i < bits / 8; ++i) row[x * bits / 8 + i] = uint8_t(v >> (8 * i));
      }
    }
  }
  return out;
}

}  // namespace quillet::test
