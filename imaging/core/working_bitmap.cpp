// Resizing, format conversion and filling of the working bitmap.
#include "imaging/core/working_bitmap.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "imaging/core/math.h"
#include "imaging/core/engine_settings.h"

namespace quillet {

std::vector<TRGBQuad> BlackWhitePalette() { return {TRGBQuad{0, 0, 0, 0}, TRGBQuad{255, 255, 255, 0}}; }

namespace {

bool IsWhite(const TBGR& c) { return GreyLevel(c) >= 128; }

TBGR PaletteColor(const std::vector<TRGBQuad>& palette, unsigned index) {
  if (index >= palette.size()) return kBlack;
  return TBGR{palette[index].b, palette[index].g, palette[index].r};
}

// Colour of pixel x of a row of any format.
TBGR RowPixel(const uint8_t* row, TIEPixelFormat format, const std::vector<TRGBQuad>& palette, int64_t x) {
  switch (format) {
    case TIEPixelFormat::pf1bit: return PaletteColor(palette, GetBit(row, x));
    case TIEPixelFormat::pf4bit: return PaletteColor(palette, (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15);
    case TIEPixelFormat::pf8bit: return PaletteColor(palette, row[x]);
    case TIEPixelFormat::pf15bit:
    case TIEPixelFormat::pf16bit: {
      const unsigned v = row[2 * x] | row[2 * x + 1] << 8;
      if (format == TIEPixelFormat::pf15bit)
        return MakeBGR(uint8_t((v >> 10 & 31) << 3), uint8_t((v >> 5 & 31) << 3), uint8_t((v & 31) << 3));
      return MakeBGR(uint8_t((v >> 11 & 31) << 3), uint8_t((v >> 5 & 63) << 2), uint8_t((v & 31) << 3));
    }
    case TIEPixelFormat::pf24bit: return TBGR{row[3 * x], row[3 * x + 1], row[3 * x + 2]};
    case TIEPixelFormat::pf32bit: return TBGR{row[4 * x], row[4 * x + 1], row[4 * x + 2]};
    case TIEPixelFormat::pfNone: break;
  }
  return kBlack;
}

// Eight 24-bit pixels for every byte of a black-and-white row.
const std::array<std::array<uint8_t, 24>, 256>& ExpandTable() {
  static const auto table = [] {
    std::array<std::array<uint8_t, 24>, 256> t{};
    for (int v = 0; v < 256; ++v)
      for (int i = 0; i < 8; ++i) std::memset(&t[v][3 * i], (v >> (7 - i)) & 1 ? 255 : 0, 3);
    return t;
  }();
  return table;
}

// Pixels [from, to) of a 1-bit or 24-bit row in one colour.
void FillSpan(uint8_t* row, TIEPixelFormat format, int64_t from, int64_t to, const TBGR& color) {
  if (from >= to) return;
  if (format == TIEPixelFormat::pf24bit) {
    uint8_t* p = row + 3 * from;
    if (color.b == color.g && color.g == color.r) {
      std::memset(p, color.b, size_t(3 * (to - from)));
      return;
    }
    for (int64_t x = from; x < to; ++x, p += 3) p[0] = color.b, p[1] = color.g, p[2] = color.r;
    return;
  }
  const bool white = IsWhite(color);
  for (; from < to && (from & 7); ++from) SetBit(row, from, white);
  for (; to > from && (to & 7); --to) SetBit(row, to - 1, white);
  if (from < to) std::memset(row + (from >> 3), white ? 0xFF : 0, size_t((to - from) >> 3));
}

// First `count` pixels of a row of any format into a 1-bit or 24-bit row.
void ConvertRow(const uint8_t* src, TIEPixelFormat srcFormat, const std::vector<TRGBQuad>& palette,
                int64_t count, uint8_t* dst, TIEPixelFormat dstFormat) {
  const bool bwSource = srcFormat == TIEPixelFormat::pf1bit && palette == BlackWhitePalette();
  if (dstFormat == TIEPixelFormat::pf24bit && bwSource) {
    const auto& table = ExpandTable();
    const int64_t whole = count / 8;
    for (int64_t i = 0; i < whole; ++i) std::memcpy(dst + 24 * i, table[src[i]].data(), 24);
    for (int64_t x = whole * 8; x < count; ++x) std::memset(dst + 3 * x, GetBit(src, x) ? 255 : 0, 3);
    return;
  }
  for (int64_t x = 0; x < count; ++x) {
    const TBGR c = RowPixel(src, srcFormat, palette, x);
    if (dstFormat == TIEPixelFormat::pf24bit)
      dst[3 * x] = c.b, dst[3 * x + 1] = c.g, dst[3 * x + 2] = c.r;
    else
      SetBit(dst, x, IsWhite(c));
  }
}

// Whether the engine makes an image of this size and format.
bool Allowed(int64_t width, int64_t height, int bits) {
  if (width < 0 || height < 0 || bits == 0) return false;
  if (width > MaxImagePixels() || height > MaxImagePixels()) return false;
  return width == 0 || height == 0 || ImageBytes(width, height, bits).has_value();
}

}  // namespace

bool TIEWorkingBitmap::Resize(int64_t width, int64_t height, TIEPixelFormat format) {
  const int bits = StorageBitsOfFormat(format);
  if (!Allowed(width, height, bits)) return false;
  if (width == width_ && height == height_ && format == format_) return true;
  // Only 1-bit and 24-bit bitmaps are made here; the other depths arrive whole.
  const bool convertible = format == TIEPixelFormat::pf1bit || format == TIEPixelFormat::pf24bit;
  if (!convertible && format != format_ && !Empty()) return false;

  const int64_t rowBytes = RowLength(width, bits);
  TPixelBuffer bits_new(static_cast<size_t>(rowBytes * height), TPixelBuffer::TInit::Zeroed);
  const int64_t keepW = std::min(width, width_), keepH = std::min(height, height_);
  for (int64_t y = 0; y < height; ++y) {
    uint8_t* dst = bits_new.data() + y * rowBytes;
    const int64_t kept = y < keepH ? keepW : 0;
    if (kept > 0 && format == format_ && bits % 8 == 0)
      std::memcpy(dst, ScanLine(y), size_t(kept * bits / 8));
    else if (kept > 0 && convertible)
      ConvertRow(ScanLine(y), format_, palette_, kept, dst, format);
    if (convertible) FillSpan(dst, format, kept, width, canvas_.BrushColor);
  }
  TakePixels(std::move(bits_new), width, height, format);
  return true;
}

void TIEWorkingBitmap::TakePixels(TPixelBuffer bits, int64_t width, int64_t height, TIEPixelFormat format) {
  if (format == TIEPixelFormat::pf1bit)
    palette_ = BlackWhitePalette();
  else if (format != format_)
    palette_.clear();
  bits_ = std::move(bits);
  width_ = width;
  height_ = height;
  rowBytes_ = RowLength(width, StorageBitsOfFormat(format));
  format_ = format;
  MarkModified();
}

bool TIEWorkingBitmap::AllocateUninitialised(int64_t width, int64_t height, TIEPixelFormat format) {
  const int bits = StorageBitsOfFormat(format);
  if (!Allowed(width, height, bits)) return false;
  if (width == width_ && height == height_ && format == format_) return true;
  const int64_t rowBytes = RowLength(width, bits), used = (width * bits + 7) / 8;
  TPixelBuffer fresh(static_cast<size_t>(rowBytes * height), TPixelBuffer::TInit::Uninitialised);
  if (rowBytes > used)
    for (int64_t y = 0; y < height; ++y) std::memset(fresh.data() + y * rowBytes + used, 0, size_t(rowBytes - used));
  TakePixels(std::move(fresh), width, height, format);
  return true;
}

void TIEWorkingBitmap::Replace(TIEWorkingBitmap&& other) {
  width_ = other.width_;
  height_ = other.height_;
  rowBytes_ = other.rowBytes_;
  format_ = other.format_;
  bits_ = std::move(other.bits_);
  palette_ = std::move(other.palette_);
  other = TIEWorkingBitmap();
  MarkModified();
}

bool ReshapeBitmap(TIEWorkingBitmap& bitmap, int64_t width, int64_t height, TIEPixelFormat format) {
  if (bitmap.Resize(width, height, format)) return true;
  TIEWorkingBitmap fresh;
  fresh.Canvas() = bitmap.Canvas();
  if (!fresh.Resize(width, height, format)) return false;
  bitmap = std::move(fresh);
  bitmap.MarkModified();
  return true;
}

void TIEWorkingBitmap::Fill(const TBGR& color) {
  if (format_ != TIEPixelFormat::pf1bit && format_ != TIEPixelFormat::pf24bit) return;
  FillRows(0, height_, color);
  MarkModified();
}

void TIEWorkingBitmap::FillRows(int64_t from, int64_t to, const TBGR& color) {
  if (format_ != TIEPixelFormat::pf1bit && format_ != TIEPixelFormat::pf24bit) return;
  for (int64_t y = std::max<int64_t>(from, 0); y < std::min(to, height_); ++y) FillSpan(ScanLine(y), format_, 0, width_, color);
}

TBGR TIEWorkingBitmap::Pixel(int64_t x, int64_t y) const { return RowPixel(ScanLine(y), format_, palette_, x); }

}  // namespace quillet
