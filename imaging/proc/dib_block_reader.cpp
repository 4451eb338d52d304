// Reading a device-independent bitmap block: headers of 12 to 124 bytes,
// colour tables, bit fields, RLE and YUV data, every part checked to lie
// inside the bytes given before the bitmap is touched.
#include <algorithm>
#include <new>

#include "imaging/core/dib_rle.h"
#include "imaging/core/dib_rows.h"
#include "imaging/core/math.h"
#include "imaging/proc/dib_block.h"
#include "imaging/proc/dib_yuv.h"

namespace quillet {

namespace {

uint32_t U32At(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t U16At(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

struct TDibLayout {
  int64_t width = 0, height = 0;
  bool topDown = false;  // a negative height in the header
  int bits = 0;
  uint32_t compression = dib::dcRGB;
  const TYuvLayout* yuv = nullptr;
  TBitFields fields;
  TPaletteTable palette;
  std::span<const uint8_t> data;  // the pixel data and whatever follows it
};

bool KnownHeaderSize(int64_t size) {
  return size == dib::kCoreHeaderBytes || size == dib::kInfoHeaderBytes || size == 52 || size == 56 ||
         size == 108 || size == 124;
}

// The table of `count` entries at `at`, clamped to 2^bits entries (256 at
// most); false when it does not fit. Moves `at` past it.
bool ReadTable(std::span<const uint8_t> block, int64_t& at, int64_t count, int entrySize, TDibLayout& l) {
  count = std::min<int64_t>(count, l.bits <= 8 ? int64_t(1) << l.bits : 256);
  if (count * entrySize > int64_t(block.size()) - at) return false;
  TIEMemoryStream table(block.data() + at, count * entrySize);
  at += count * entrySize;
  return ReadPaletteEntries(table, count, entrySize, l.palette);
}

// Header, masks and colour table; `l.data` is left at the pixel data that
// follows them. False when a part is missing or does not fit.
bool ParseBlock(std::span<const uint8_t> block, TDibLayout& l) {
  if (block.size() < 4) return false;
  const uint8_t* b = block.data();
  const int64_t headerSize = U32At(b);
  if (!KnownHeaderSize(headerSize) || headerSize > int64_t(block.size())) return false;
  int64_t at = headerSize;
  if (headerSize == dib::kCoreHeaderBytes) {
    // 16-bit sizes and 3-byte table entries.
    l.width = U16At(b + 4), l.height = U16At(b + 6), l.bits = U16At(b + 10);
    if (l.bits <= 8 && !ReadTable(block, at, int64_t(1) << l.bits, 3, l)) return false;
    l.data = block.subspan(size_t(at));
    return true;
  }
  const int32_t height = int32_t(U32At(b + dib::kHeight));
  l.width = int32_t(U32At(b + dib::kWidth));
  l.topDown = height < 0;
  l.height = l.topDown ? -int64_t(height) : height;
  l.bits = U16At(b + dib::kBitCount);
  l.compression = U32At(b + dib::kCompression);
  l.yuv = FindYuvLayout(l.compression);
  if (l.yuv) {
    // YUV data follows the header directly.
    l.data = block.subspan(size_t(at));
    return true;
  }
  l.fields = DefaultBitFields(l.bits);
  if (l.compression == dib::dcBitFields) {
    // Masks inside headers of 52 bytes and more, else right after the header.
    if (headerSize < 52) at += 12;
    if (at > int64_t(block.size())) return false;
    const uint8_t* m = b + dib::kMasks;
    l.fields = TBitFields{TBitFieldChannel(U32At(m)), TBitFieldChannel(U32At(m + 4)), TBitFieldChannel(U32At(m + 8))};
  }
  const uint32_t used = U32At(b + dib::kClrUsed);
  const int64_t entries = used ? used : l.bits <= 8 ? int64_t(1) << l.bits : 0;
  if (!ReadTable(block, at, entries, 4, l)) return false;
  l.data = block.subspan(size_t(at));
  return true;
}

bool IsRle(const TDibLayout& l) { return l.compression == dib::dcRLE8 || l.compression == dib::dcRLE4; }

TIEPixelFormat FormatOf(const TDibLayout& l) {
  return l.bits == 1 && !l.yuv ? TIEPixelFormat::pf1bit : TIEPixelFormat::pf24bit;
}

bool Supported(const TDibLayout& l) {
  if (l.width <= 0 || l.height <= 0 || !ImageBytes(l.width, l.height, BitsOfFormat(FormatOf(l)))) return false;
  if (l.yuv) return true;
  switch (l.compression) {
    case dib::dcRGB: return l.bits == 1 || l.bits == 4 || l.bits == 8 || l.bits == 16 || l.bits == 24 || l.bits == 32;
    case dib::dcRLE8: return l.bits == 8 && !l.topDown;
    case dib::dcRLE4: return l.bits == 4 && !l.topDown;
    case dib::dcBitFields: return l.bits == 16 || l.bits == 32;
    default: return false;
  }
}

// Bytes the pixel data needs; RLE data is checked while it is decoded.
std::optional<int64_t> DataBytes(const TDibLayout& l) {
  if (l.yuv) return YuvDataBytes(*l.yuv, l.width, l.height);
  if (IsRle(l)) return 0;
  return RowLength(l.width, l.bits) * l.height;
}

// Uncompressed rows, bottom-up unless the height was negative. A 1-bit table
// whose first entry is the lighter one gives inverted bits, so that index 0
// stays black.
void DecodeRows(const TDibLayout& l, TIEWorkingBitmap& out) {
  const int64_t stride = RowLength(l.width, l.bits);
  const bool invert = GreyLevel(l.palette.Colors[0]) > GreyLevel(l.palette.Colors[1]);
  const TDibRowDecoder decoder(l.bits, l.palette, l.fields);
  const uint8_t* src = l.data.data();
  for (int64_t i = 0; i < l.height; ++i, src += stride) {
    uint8_t* dst = out.ScanLine(l.topDown ? i : l.height - 1 - i);
    if (l.bits == 1)
      CopyBilevelRow(src, dst, stride, invert);
    else
      decoder.Decode(src, l.width, dst);
  }
}

bool DecodeRle(const TDibLayout& l, TIEWorkingBitmap& out) {
  out.Fill(kWhite);
  const int bits = l.compression == dib::dcRLE8 ? 8 : 4;
  return DecodeDibRle(l.data.data(), int64_t(l.data.size()), bits, l.palette, out) == TDibRleResult::rlrComplete;
}

bool Decode(const TDibLayout& l, TIEWorkingBitmap& out) {
  if (l.yuv) return DecodeYuv(*l.yuv, l.data.data(), !l.topDown, out), true;
  if (IsRle(l)) return DecodeRle(l, out);
  return DecodeRows(l, out), true;
}

// Decodes into `bitmap` itself when it has the block's size and format and
// the decoding cannot stop half-way; else into a new bitmap that replaces it
// only once the decoding has succeeded.
bool DecodeInto(const TDibLayout& l, TIEWorkingBitmap& bitmap) {
  const TIEPixelFormat format = FormatOf(l);
  if (!IsRle(l) && bitmap.Width() == l.width && bitmap.Height() == l.height && bitmap.PixelFormat() == format) {
    Decode(l, bitmap);
    bitmap.MarkModified();
    return true;
  }
  TIEWorkingBitmap fresh;
  if (!fresh.Resize(l.width, l.height, format) || !Decode(l, fresh)) return false;
  bitmap.Replace(std::move(fresh));
  return true;
}

}  // namespace

bool ReadDibBlock(std::span<const uint8_t> block, TIEWorkingBitmap& bitmap, std::span<const uint8_t> pixels) {
  try {
    TDibLayout l;
    if (!ParseBlock(block, l) || !Supported(l)) return false;
    if (!pixels.empty()) l.data = pixels;
    const std::optional<int64_t> need = DataBytes(l);
    if (!need || *need > int64_t(l.data.size())) return false;
    return DecodeInto(l, bitmap);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace quillet
