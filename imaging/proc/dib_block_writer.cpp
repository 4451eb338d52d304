// Writing an area of a bitmap as a device-independent bitmap block: whole-row
// copies for 24 bits, bit runs for 1 bit.
#include <algorithm>
#include <cstring>

#include "imaging/core/bits.h"
#include "imaging/core/dib_rows.h"
#include "imaging/proc/dib_block.h"

namespace quillet {

namespace {

void PutU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

// A zeroed block with its header (and, for 1 bit, the black/white table);
// returns where the rows start.
uint8_t* StartBlock(std::vector<uint8_t>& block, int64_t w, int64_t h, int bits) {
  const int64_t table = bits == 1 ? 8 : 0;
  block.assign(size_t(dib::kInfoHeaderBytes + table + RowLength(w, bits) * h), 0);
  uint8_t* p = block.data();
  PutU32(p + dib::kHeaderSize, uint32_t(dib::kInfoHeaderBytes));
  PutU32(p + dib::kWidth, uint32_t(w));
  PutU32(p + dib::kHeight, uint32_t(h));
  p[dib::kPlanes] = 1;
  p[dib::kBitCount] = uint8_t(bits);
  if (bits == 1) std::memset(p + dib::kInfoHeaderBytes + 4, 0xFF, 4);  // entry 0 black, entry 1 white
  return p + dib::kInfoHeaderBytes + table;
}

// The decoder and palette of a bitmap in a format other than 1 or 24 bits.
TDibRowDecoder ConverterOf(const TIEWorkingBitmap& bitmap) {
  TPaletteTable palette;
  const auto& entries = bitmap.Palette();
  palette.Count = int(std::min<size_t>(entries.size(), 256));
  for (int i = 0; i < palette.Count; ++i) palette.Colors[size_t(i)] = TBGR{entries[i].b, entries[i].g, entries[i].r};
  const TIEPixelFormat format = bitmap.PixelFormat();
  const int bits = StorageBitsOfFormat(format);
  const TBitFields fields =
      format == TIEPixelFormat::pf16bit
          ? TBitFields{TBitFieldChannel(0xF800), TBitFieldChannel(0x07E0), TBitFieldChannel(0x001F)}
          : DefaultBitFields(bits);
  return TDibRowDecoder(bits, palette, fields);
}

}  // namespace

std::vector<uint8_t> WriteDibBlock(const TIEWorkingBitmap& bitmap, int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
  x1 = std::max<int64_t>(x1, 0), y1 = std::max<int64_t>(y1, 0);
  x2 = std::min(x2, bitmap.Width()), y2 = std::min(y2, bitmap.Height());
  std::vector<uint8_t> block;
  if (x1 >= x2 || y1 >= y2) return block;
  const TIEPixelFormat format = bitmap.PixelFormat();
  const int bits = format == TIEPixelFormat::pf1bit ? 1 : 24;
  const int64_t w = x2 - x1, stride = RowLength(w, bits);
  uint8_t* dst = StartBlock(block, w, y2 - y1, bits);
  if (format == TIEPixelFormat::pf1bit) {
    // Into the zeroed block, so that the bits after the last pixel stay zero.
    for (int64_t y = y2 - 1; y >= y1; --y, dst += stride) CopyBits(bitmap.ScanLine(y), x1, dst, 0, w);
  } else if (format == TIEPixelFormat::pf24bit) {
    for (int64_t y = y2 - 1; y >= y1; --y, dst += stride) std::memcpy(dst, bitmap.ScanLine(y) + 3 * x1, size_t(3 * w));
  } else {
    // Rows decoded up to the area's right edge, so any column can start it.
    const TDibRowDecoder converter = ConverterOf(bitmap);
    std::vector<uint8_t> row(size_t(3 * x2));
    for (int64_t y = y2 - 1; y >= y1; --y, dst += stride) {
      converter.Decode(bitmap.ScanLine(y), x2, row.data());
      std::memcpy(dst, row.data() + 3 * x1, size_t(3 * w));
    }
  }
  return block;
}

}  // namespace quillet
