// NotXor is NOT(colour XOR old) = old XOR NOT colour, so both modes reduce to
// storing or xoring one repeated pattern. 24-bit rows go eight pixels (24
// bytes, three words) at a time; 1-bit rows a byte at a time with edge masks.
#include "imaging/core/canvas_ink.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "imaging/core/bits.h"
#include "imaging/core/hatch.h"

namespace quillet {

namespace {

// Eight pixels of one colour as 24 bytes.
struct TPixels8 {
  uint64_t w[3];
  explicit TPixels8(const TBGR& c) {
    uint8_t bytes[24];
    for (int i = 0; i < 8; ++i) bytes[3 * i] = c.b, bytes[3 * i + 1] = c.g, bytes[3 * i + 2] = c.r;
    std::memcpy(w, bytes, sizeof w);
  }
};

void SolidSpan24(uint8_t* p, int64_t count, const TBGR& color, bool notXor) {
  const TBGR value = notXor ? TBGR{uint8_t(~color.b), uint8_t(~color.g), uint8_t(~color.r)} : color;
  const TPixels8 pattern(value);
  uint64_t w[3];
  if (notXor) {
    for (; count >= 8; count -= 8, p += 24) {
      std::memcpy(w, p, sizeof w);
      w[0] ^= pattern.w[0], w[1] ^= pattern.w[1], w[2] ^= pattern.w[2];
      std::memcpy(p, w, sizeof w);
    }
  } else {
    for (; count >= 8; count -= 8, p += 24) std::memcpy(p, pattern.w, sizeof pattern.w);
  }
  for (; count > 0; --count, p += 3) {
    if (notXor) p[0] ^= value.b, p[1] ^= value.g, p[2] ^= value.r;
    else p[0] = value.b, p[1] = value.g, p[2] = value.r;
  }
}

// Only the columns x = k (mod 8) of the set bits k of `mask`.
void HatchSpan24(uint8_t* row, int64_t x0, int64_t x1, uint8_t mask, const TBGR& color, bool notXor) {
  for (int k = 0; k < 8; ++k) {
    if (!((mask >> k) & 1)) continue;
    for (int64_t x = x0 + ((k - x0) & 7); x < x1; x += 8) {
      uint8_t* p = row + 3 * x;
      if (notXor) p[0] ^= uint8_t(~color.b), p[1] ^= uint8_t(~color.g), p[2] ^= uint8_t(~color.r);
      else p[0] = color.b, p[1] = color.g, p[2] = color.r;
    }
  }
}

// The hatch mask in the byte order of a 1-bit row (column 0 the high bit).
uint8_t MsbFirst(uint8_t mask) {
  static const auto kReversed = [] {
    std::array<uint8_t, 256> t{};
    for (int v = 0; v < 256; ++v)
      for (int k = 0; k < 8; ++k) t[size_t(v)] = uint8_t(t[size_t(v)] | (((v >> k) & 1) << (7 - k)));
    return t;
  }();
  return kReversed[mask];
}

void ApplyByte(uint8_t& b, uint8_t select, uint8_t value, bool notXor) {
  b = notXor ? uint8_t(b ^ (select & ~value)) : uint8_t((b & ~select) | (value & select));
}

void Span1(uint8_t* row, int64_t x0, int64_t x1, uint8_t pattern, bool white, bool notXor) {
  const uint8_t value = white ? 0xFF : 0;
  const int64_t first = x0 >> 3, last = (x1 - 1) >> 3;
  const uint8_t head = uint8_t(0xFF >> (x0 & 7)), tail = uint8_t(0xFF << (7 - ((x1 - 1) & 7)));
  if (first == last) {
    ApplyByte(row[first], uint8_t(pattern & head & tail), value, notXor);
    return;
  }
  ApplyByte(row[first], uint8_t(pattern & head), value, notXor);
  uint8_t* middle = row + first + 1;
  const size_t bytes = size_t(last - first - 1);
  if (notXor) {
    const uint8_t flip = uint8_t(pattern & ~value);
    for (size_t i = 0; i < bytes; ++i) middle[i] ^= flip;
  } else if (pattern == 0xFF) {
    std::memset(middle, value, bytes);
  } else {
    for (size_t i = 0; i < bytes; ++i) middle[i] = uint8_t((middle[i] & ~pattern) | (value & pattern));
  }
  ApplyByte(row[last], uint8_t(pattern & tail), value, notXor);
}

}  // namespace

TPointInk::TPointInk(TIEWorkingBitmap& bitmap, const TCanvasInk& ink)
    : bits_(bitmap.Bits()), stride_(bitmap.RowBytes()), oneBit_(bitmap.PixelFormat() == TIEPixelFormat::pf1bit),
      notXor_(ink.NotXor) {
  if (oneBit_) {
    const bool white = GreyLevel(ink.Color) >= 128;
    value_[0] = notXor_ ? (white ? 0 : 0xFF) : (white ? 0xFF : 0);
  } else {
    const TBGR c = ink.Color;
    value_[0] = notXor_ ? uint8_t(~c.b) : c.b, value_[1] = notXor_ ? uint8_t(~c.g) : c.g;
    value_[2] = notXor_ ? uint8_t(~c.r) : c.r;
  }
}

void PaintSpan(TIEWorkingBitmap& bitmap, int64_t y, int64_t x0, int64_t x1, const TCanvasInk& ink) {
  const uint8_t mask = HatchRow(ink.Pattern, y);
  if (x0 >= x1 || mask == 0) return;
  uint8_t* row = bitmap.ScanLine(y);
  if (bitmap.PixelFormat() == TIEPixelFormat::pf1bit) {
    Span1(row, x0, x1, MsbFirst(mask), GreyLevel(ink.Color) >= 128, ink.NotXor);
  } else if (mask == 0xFF) {
    SolidSpan24(row + 3 * x0, x1 - x0, ink.Color, ink.NotXor);
  } else {
    HatchSpan24(row, x0, x1, mask, ink.Color, ink.NotXor);
  }
}

void PaintBox(TIEWorkingBitmap& bitmap, int64_t x1, int64_t y1, int64_t x2, int64_t y2, const TCanvasInk& ink) {
  x1 = std::max<int64_t>(x1, 0), x2 = std::min(x2, bitmap.Width());
  y1 = std::max<int64_t>(y1, 0), y2 = std::min(y2, bitmap.Height());
  if (x1 >= x2) return;
  for (int64_t y = y1; y < y2; ++y) PaintSpan(bitmap, y, x1, x2, ink);
}

}  // namespace quillet
