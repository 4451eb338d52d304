// Nearest-neighbour row painters for 24-bit and 1-bit sources, opaque and
// alpha-blended; whole rows at 100 % are one block move.
#include "imaging/view/image_nearest.h"

#include <array>
#include <cstring>

#include "imaging/core/bits.h"
#include "imaging/view/pixel_rows.h"

namespace quillet {

namespace {

constexpr int kFixedBits = 14;
constexpr int64_t kOne = int64_t(1) << kFixedBits;

// One client row span: n pixels whose source columns are
// left + (acc + i * step) >> 14.
struct TSpan {
  int64_t left = 0, step = 0, acc = 0, n = 0;
};

inline uint8_t Blend(int d, int s, int a) { return uint8_t(d + (((s - d) * a) >> 8)); }
inline uint8_t TowardWhite(int d, int a) { return uint8_t(d + (((255 - d) * a) >> 8)); }
inline uint8_t TowardBlack(int d, int a) { return uint8_t(d - ((a * d + 255) >> 8)); }

void Row24(uint8_t* dst, const uint8_t* src, const TSpan& s) {
  if (s.step == kOne) {
    std::memcpy(dst, src + 3 * (s.left + (s.acc >> kFixedBits)), size_t(s.n * 3));
    return;
  }
  int64_t acc = s.acc;
  for (int64_t i = 0; i < s.n; ++i, dst += 3, acc += s.step) {
    const uint8_t* p = src + 3 * (s.left + (acc >> kFixedBits));
    dst[0] = p[0];
    dst[1] = p[1];
    dst[2] = p[2];
  }
}

// At 100 % source, alpha and client pixels advance together.
void Row24AlphaOneToOne(uint8_t* dst, const uint8_t* src, const uint8_t* alpha, int64_t n) {
  for (int64_t i = 0; i < n; ++i, dst += 3, src += 3) {
    const int a = alpha[i];
    dst[0] = Blend(dst[0], src[0], a);
    dst[1] = Blend(dst[1], src[1], a);
    dst[2] = Blend(dst[2], src[2], a);
  }
}

void Row24Alpha(uint8_t* dst, const uint8_t* src, const uint8_t* alpha, const TSpan& s) {
  if (s.step == kOne) {
    const int64_t first = s.left + (s.acc >> kFixedBits);
    Row24AlphaOneToOne(dst, src + 3 * first, alpha + first, s.n);
    return;
  }
  int64_t acc = s.acc;
  for (int64_t i = 0; i < s.n; ++i, dst += 3, acc += s.step) {
    const int64_t x = s.left + (acc >> kFixedBits);
    const uint8_t* p = src + 3 * x;
    const int a = alpha[x];
    dst[0] = Blend(dst[0], p[0], a);
    dst[1] = Blend(dst[1], p[1], a);
    dst[2] = Blend(dst[2], p[2], a);
  }
}

// Eight client pixels for every byte of a black-and-white row.
const std::array<std::array<uint8_t, 24>, 256>& ExpandTable() {
  static const auto table = [] {
    std::array<std::array<uint8_t, 24>, 256> t{};
    for (int v = 0; v < 256; ++v)
      for (int i = 0; i < 8; ++i) std::memset(&t[size_t(v)][size_t(3 * i)], (v >> (7 - i)) & 1 ? 255 : 0, 3);
    return t;
  }();
  return table;
}

// At 100 %: single pixels up to a byte boundary, then whole bytes by table.
void Row1OneToOne(uint8_t* dst, const uint8_t* src, int64_t x, int64_t n) {
  const int64_t end = x + n;
  for (; x < end && (x & 7); ++x, dst += 3) std::memset(dst, GetBit(src, x) ? 255 : 0, 3);
  const auto& table = ExpandTable();
  for (; x + 8 <= end; x += 8, dst += 24) std::memcpy(dst, table[src[x >> 3]].data(), 24);
  for (; x < end; ++x, dst += 3) std::memset(dst, GetBit(src, x) ? 255 : 0, 3);
}

void Row1(uint8_t* dst, const uint8_t* src, const TSpan& s) {
  if (s.step == kOne) {
    Row1OneToOne(dst, src, s.left + (s.acc >> kFixedBits), s.n);
    return;
  }
  int64_t acc = s.acc;
  for (int64_t i = 0; i < s.n; ++i, dst += 3, acc += s.step) {
    const uint8_t v = GetBit(src, s.left + (acc >> kFixedBits)) ? 255 : 0;
    dst[0] = dst[1] = dst[2] = v;
  }
}

// Each channel on its own, so that a coloured background keeps its colour.
void Row1Alpha(uint8_t* dst, const uint8_t* src, const uint8_t* alpha, const TSpan& s) {
  int64_t acc = s.acc;
  for (int64_t i = 0; i < s.n; ++i, dst += 3, acc += s.step) {
    const int64_t x = s.left + (acc >> kFixedBits);
    const int a = alpha[x];
    if (GetBit(src, x)) {
      dst[0] = TowardWhite(dst[0], a);
      dst[1] = TowardWhite(dst[1], a);
      dst[2] = TowardWhite(dst[2], a);
    } else {
      dst[0] = TowardBlack(dst[0], a);
      dst[1] = TowardBlack(dst[1], a);
      dst[2] = TowardBlack(dst[2], a);
    }
  }
}

void PaintRow(uint8_t* dst, const uint8_t* src, const uint8_t* alpha, bool mono, const TSpan& s) {
  if (mono)
    alpha ? Row1Alpha(dst, src, alpha, s) : Row1(dst, src, s);
  else
    alpha ? Row24Alpha(dst, src, alpha, s) : Row24(dst, src, s);
}

bool Paintable(const TIEImagePlacement& p, const TIEWorkingBitmap& bitmap, const TIEMask* alpha) {
  const TIEPixelFormat f = bitmap.PixelFormat();
  if (f != TIEPixelFormat::pf1bit && f != TIEPixelFormat::pf24bit) return false;
  if (p.SourceWidth <= 0 || p.SourceHeight <= 0 || p.Dest.Empty() || p.SourceLeft < 0 || p.SourceTop < 0) return false;
  if (p.SourceLeft + p.SourceWidth > bitmap.Width() || p.SourceTop + p.SourceHeight > bitmap.Height()) return false;
  return !alpha || (alpha->BitsPerPixel() == 8 && alpha->Width() == bitmap.Width() && alpha->Height() == bitmap.Height());
}

}  // namespace

void DrawImageNearest(TIERawTarget& target, const TIERect& clip, const TIEImagePlacement& p,
                      const TIEWorkingBitmap& bitmap, const TIEMask* alpha, bool reuseRows) {
  if (!target.Bits || !Paintable(p, bitmap, alpha)) return;
  const TIERect area = Intersect(Intersect(p.Dest, clip), Bounds(target));
  if (area.Empty()) return;
  const int64_t rowStep = (p.SourceHeight << kFixedBits) / p.Dest.Height();
  const int64_t colStep = (p.SourceWidth << kFixedBits) / p.Dest.Width();
  const TSpan span{p.SourceLeft, colStep, colStep * (area.Left - p.Dest.Left), area.Width()};
  const bool mono = bitmap.PixelFormat() == TIEPixelFormat::pf1bit;

  int64_t lastSource = -1;
  const uint8_t* lastRow = nullptr;
  for (int64_t y = area.Top; y < area.Bottom; ++y) {
    const int64_t sy = p.SourceTop + ((rowStep * (y - p.Dest.Top)) >> kFixedBits);
    uint8_t* dst = PixelAt(target, area.Left, y);
    if (reuseRows && sy == lastSource) {
      std::memcpy(dst, lastRow, size_t(span.n * 3));
    } else {
      PaintRow(dst, bitmap.ScanLine(sy), alpha ? alpha->ScanLine(sy) : nullptr, mono, span);
      lastSource = sy;
    }
    lastRow = dst;
  }
}

}  // namespace quillet
