#include "imaging/core/virtual_bitmap.h"

#include <algorithm>
#include <cstring>
#include <utility>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "imaging/core/math.h"
#include "imaging/core/reduce_grey.h"

namespace quillet {

namespace {

// Tile size by depth: every tile is a whole number of 64 KiB blocks.
void TileSizeOf(int bits, int32_t& width, int32_t& height) {
  if (bits == 1) width = 1024, height = 512;
  else if (bits == 8) width = height = 256;
  else width = height = 512;
}

std::vector<TRGBQuad> GreyPalette() {
  std::vector<TRGBQuad> ramp(256);
  for (int i = 0; i < 256; ++i) ramp[size_t(i)] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
  return ramp;
}

// Splits [from, to) of the canvas in proportion to [0, total) of the image.
int64_t Scale(int64_t from, int64_t to, int64_t at, int64_t total) { return from + (to - from) * at / total; }

}  // namespace

TIEVirtualBitmap::TIEVirtualBitmap(TIEVirtualBacking backing, std::string folder)
    : backing_(backing), folder_(std::move(folder)) {}

void TIEVirtualBitmap::Release() {
  store_.Close();
  width_ = height_ = bits_ = 0;
  tileWidth_ = tileHeight_ = tilesAcross_ = tilesDown_ = 0;
  tileRowLength_ = 0;
  palette_.clear();
}

bool TIEVirtualBitmap::Allocate(int32_t width, int32_t height, int bits) {
  Release();
  if (width <= 0 || height <= 0 || (bits != 1 && bits != 8 && bits != 24) || !ImageBytes(width, height, bits))
    return false;
  TileSizeOf(bits, tileWidth_, tileHeight_);
  tilesAcross_ = (width + tileWidth_ - 1) / tileWidth_;
  tilesDown_ = (height + tileHeight_ - 1) / tileHeight_;
  tileRowLength_ = RowLength(tileWidth_, bits);
  const int64_t size = int64_t(tilesAcross_) * tileRowLength_ * tilesDown_ * tileHeight_;
  const bool file = backing_ == TIEVirtualBacking::ieTempFile && store_.Create(size, folder_.c_str());
  if (!file && !store_.CreateAnonymous(size)) {
    Release();
    return false;
  }
  width_ = width;
  height_ = height;
  bits_ = bits;
  palette_ = bits == 1 ? BlackWhitePalette() : bits == 8 ? GreyPalette() : std::vector<TRGBQuad>();
  return true;
}

// Tiles lie row by row from the top left; each holds its rows bottom-up.
TIEFileView TIEVirtualBitmap::MapTile(int32_t tx, int32_t ty) const {
  const int64_t tileBytes = tileRowLength_ * tileHeight_;
  return store_.Map((int64_t(ty) * tilesAcross_ + tx) * tileBytes, tileBytes);
}

TIEImageRows TIEVirtualBitmap::TileRows(const TIEFileView& view, int32_t tx, int32_t ty) const {
  TIEImageRows rows;
  rows.Width = std::min(tileWidth_, width_ - tx * tileWidth_);
  rows.Height = std::min(tileHeight_, height_ - ty * tileHeight_);
  rows.Bits = bits_;
  rows.Stride = -tileRowLength_;
  rows.Row0 = view.Data() + (tileHeight_ - 1) * tileRowLength_;
  return rows;
}

bool TIEVirtualBitmap::CopyFrom(const TIEWorkingBitmap& bitmap) {
  if (!Allocate(int32_t(bitmap.Width()), int32_t(bitmap.Height()), bitmap.BitCount())) return false;
  if (bits_ == 8 && !bitmap.Palette().empty()) palette_ = bitmap.Palette();
  const int64_t tileBytesAcross = tileWidth_ * int64_t(bits_) / 8;
  for (int32_t ty = 0; ty < tilesDown_; ++ty)
    for (int32_t tx = 0; tx < tilesAcross_; ++tx) {
      const bool mapped = WithTile(tx, ty, [&](const TIEImageRows& rows) {
        const size_t bytes = size_t((int64_t(rows.Width) * bits_ + 7) / 8);
        for (int32_t y = 0; y < rows.Height; ++y)
          std::memcpy(rows.Row(y), bitmap.ScanLine(int64_t(ty) * tileHeight_ + y) + tx * tileBytesAcross, bytes);
      });
      if (!mapped) return false;
    }
  return true;
}

namespace {

#if defined(__x86_64__)
// 64 bytes at a time through byte permutes of the table's two halves, on
// processors that have them; returns the bytes done.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) int64_t LookupWide(uint8_t* row, int64_t bytes,
                                                                          const uint8_t* table) {
  const __m512i t0 = _mm512_loadu_si512(table), t1 = _mm512_loadu_si512(table + 64);
  const __m512i t2 = _mm512_loadu_si512(table + 128), t3 = _mm512_loadu_si512(table + 192);
  int64_t i = 0;
  for (; i + 64 <= bytes; i += 64) {
    const __m512i v = _mm512_loadu_si512(row + i);
    const __m512i low = _mm512_permutex2var_epi8(t0, v, t1), high = _mm512_permutex2var_epi8(t2, v, t3);
    _mm512_storeu_si512(row + i, _mm512_mask_blend_epi8(_mm512_movepi8_mask(v), low, high));
  }
  return i;
}

bool HasWideLookup() {
  static const bool has = __builtin_cpu_supports("avx512vbmi");
  return has;
}
#else
int64_t LookupWide(uint8_t*, int64_t, const uint8_t*) { return 0; }
bool HasWideLookup() { return false; }
#endif

// Eight bytes per load and store; the table is copied so that the stores,
// which may alias anything, do not force it to be reloaded.
void LookupRow(uint8_t* row, int64_t bytes, const uint8_t (&table)[256]) {
  uint8_t t[256];
  std::memcpy(t, table, sizeof t);
  int64_t i = HasWideLookup() ? LookupWide(row, bytes, t) : 0;
  for (; i + 8 <= bytes; i += 8) {
    uint64_t v;
    std::memcpy(&v, row + i, 8);
    uint64_t out = 0;
    for (int k = 0; k < 8; ++k) out |= uint64_t(t[(v >> (8 * k)) & 255]) << (8 * k);
    std::memcpy(row + i, &out, 8);
  }
  for (; i < bytes; ++i) row[i] = t[row[i]];
}

}  // namespace

void TIEVirtualBitmap::ApplyLookup(const uint8_t (&table)[256]) {
  if (bits_ != 24) return;
  for (int32_t ty = 0; ty < tilesDown_; ++ty)
    for (int32_t tx = 0; tx < tilesAcross_; ++tx)
      WithTile(tx, ty, [&](const TIEImageRows& rows) {
        for (int32_t y = 0; y < rows.Height; ++y) LookupRow(rows.Row(y), int64_t(rows.Width) * 3, table);
      });
}

void TIEVirtualBitmap::Draw(TIEDrawCanvas& canvas, int64_t left, int64_t top, int64_t right, int64_t bottom) {
  if (Empty() || right <= left || bottom <= top) return;
  const bool greyReduce = bits_ == 1 && (right - left < width_ || bottom - top < height_);
  for (int32_t ty = 0; ty < tilesDown_; ++ty)
    for (int32_t tx = 0; tx < tilesAcross_; ++tx) {
      const int64_t x0 = int64_t(tx) * tileWidth_, y0 = int64_t(ty) * tileHeight_;
      const int64_t x1 = std::min<int64_t>(x0 + tileWidth_, width_), y1 = std::min<int64_t>(y0 + tileHeight_, height_);
      const int64_t l = Scale(left, right, x0, width_), r = Scale(left, right, x1, width_);
      const int64_t t = Scale(top, bottom, y0, height_), b = Scale(top, bottom, y1, height_);
      if (r <= l || b <= t) continue;  // the tile shrinks to nothing
      WithTile(tx, ty, [&](const TIEImageRows& rows) { DrawTile(canvas, rows, l, t, r, b, greyReduce); });
    }
}

void TIEVirtualBitmap::DrawTile(TIEDrawCanvas& canvas, const TIEImageRows& rows, int64_t left, int64_t top,
                                int64_t right, int64_t bottom, bool greyReduce) {
  if (!greyReduce) {
    canvas.StretchDraw(rows, palette_, left, top, right, bottom);
    return;
  }
  const TIE1BitRows src{rows.Row0, rows.Stride, rows.Width, rows.Height};
  const int64_t dw = right - left, dh = bottom - top;
  std::vector<uint8_t> grey = Reduce1BitToGrey(src, 0, 0, rows.Width, rows.Height, dw, dh);
  const int64_t length = RowLength(dw, 24);
  const TIEImageRows reduced{grey.data() + (dh - 1) * length, -length, int32_t(dw), int32_t(dh), 24};
  canvas.StretchDraw(reduced, {}, left, top, right, bottom);
}

}  // namespace quillet
