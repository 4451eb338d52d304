// CopyThroughMask: puts a processed copy back into the image inside the
// selection, copying runs of selected pixels and blending through alpha.
#include <algorithm>
#include <bit>
#include <cstring>

#include "imaging/core/bits.h"
#include "imaging/core/mask.h"
#include "imaging/core/mask_blend.h"

namespace quillet {

namespace {

// Where a bitmap lies in image coordinates, and whether it may be used.
struct Placement {
  int64_t x = 0, y = 0;
  bool ok = false;
};

Placement Place(const TIEWorkingBitmap& bmp, bool cropped, const TIEMask& mask) {
  if (cropped) return {mask.X1(), mask.Y1(), true};
  return {0, 0, bmp.Width() == mask.Width() && bmp.Height() == mask.Height()};
}

// First x from x on (below end) whose bit differs from `set`, a byte at a time.
int64_t BitRunEnd(const uint8_t* row, int64_t x, int64_t end, bool set) {
  const uint8_t flip = set ? 0xFF : 0x00;
  while (x < end) {
    // Bits that differ, with pixel x moved to the top bit.
    const uint8_t differ = uint8_t((row[x >> 3] ^ flip) << (x & 7));
    if (differ != 0) return std::min<int64_t>(end, x + std::countl_zero(differ));
    x = (x | 7) + 1;
  }
  return end;
}

// The rows of one copy; image column x is column x - shift of a bitmap.
struct RowCopy {
  const uint8_t* mask;
  const uint8_t* src;
  uint8_t* dst;
  int64_t srcShift, dstShift;
};

void Copy1BitMask24(const RowCopy& r, int64_t x, int64_t end) {
  while (x < end) {
    const int64_t runEnd = BitRunEnd(r.mask, x, end, true);
    if (runEnd > x)
      std::memcpy(r.dst + (x - r.dstShift) * 3, r.src + (x - r.srcShift) * 3, size_t(runEnd - x) * 3);
    x = BitRunEnd(r.mask, runEnd, end, false);
  }
}

// First x from x on (below end) whose byte is not v, eight bytes at a time.
int64_t ByteRunEnd(const uint8_t* row, int64_t x, int64_t end, uint8_t v) {
  const uint64_t whole = 0x0101010101010101ull * v;
  for (uint64_t word; x + 8 <= end; x += 8) {
    std::memcpy(&word, row + x, 8);
    if (word != whole) break;
  }
  while (x < end && row[x] == v) ++x;
  return x;
}

// First x from x on (below end) whose byte is 0 or 255, eight bytes at a time.
int64_t SoftRunEnd(const uint8_t* row, int64_t x, int64_t end) {
  constexpr uint64_t kLow = 0x0101010101010101ull, kHigh = 0x8080808080808080ull;
  const auto hasZeroByte = [](uint64_t v) { return ((v - kLow) & ~v & kHigh) != 0; };
  for (uint64_t word; x + 8 <= end; x += 8) {
    std::memcpy(&word, row + x, 8);
    if (hasZeroByte(word) || hasZeroByte(~word)) break;
  }
  while (x < end && row[x] != 0 && row[x] != 255) ++x;
  return x;
}

// Opaque runs are copied, transparent runs skipped, and the runs of values
// strictly between are blended.
void Blend8BitMask24(const RowCopy& r, int64_t x, int64_t end) {
  while (x < end) {
    x = ByteRunEnd(r.mask, x, end, 0);
    const int64_t opaqueEnd = ByteRunEnd(r.mask, x, end, 255);
    if (opaqueEnd > x)
      std::memcpy(r.dst + (x - r.dstShift) * 3, r.src + (x - r.srcShift) * 3, size_t(opaqueEnd - x) * 3);
    const int64_t softEnd = SoftRunEnd(r.mask, opaqueEnd, end);
    BlendRow24(r.dst + (opaqueEnd - r.dstShift) * 3, r.src + (opaqueEnd - r.srcShift) * 3, r.mask + opaqueEnd,
               softEnd - opaqueEnd);
    x = softEnd;
  }
}

void CopyBitsThrough(const RowCopy& r, int64_t x, int64_t end, bool maskIs1Bit) {
  if (maskIs1Bit) return CopyBits(r.src, x - r.srcShift, r.dst, x - r.dstShift, end - x, r.mask, x);
  for (; x < end; ++x)
    if (r.mask[x] != 0) SetBit(r.dst, x - r.dstShift, GetBit(r.src, x - r.srcShift));
}

}  // namespace

void TIEMask::CopyThroughMask(TIEWorkingBitmap& destination, const TIEWorkingBitmap& source, bool sourceIsCropped,
                              bool destinationIsCropped) const {
  if (IsEmpty() || data_.empty()) return;
  const TIEPixelFormat format = source.PixelFormat();
  if (destination.PixelFormat() != format || (format != TIEPixelFormat::pf1bit && format != TIEPixelFormat::pf24bit))
    return;
  const Placement src = Place(source, sourceIsCropped, *this);
  const Placement dst = Place(destination, destinationIsCropped, *this);
  if (!src.ok || !dst.ok) return;

  const int64_t x1 = std::max<int64_t>({x1_, src.x, dst.x});
  const int64_t y1 = std::max<int64_t>({y1_, src.y, dst.y});
  const int64_t end = std::min<int64_t>({int64_t(x2_) + 1, src.x + source.Width(), dst.x + destination.Width()});
  const int64_t yEnd = std::min<int64_t>({int64_t(y2_) + 1, src.y + source.Height(), dst.y + destination.Height()});
  for (int64_t y = y1; y < yEnd; ++y) {
    const RowCopy r{ScanLine(y), source.ScanLine(y - src.y), destination.ScanLine(y - dst.y), src.x, dst.x};
    if (format == TIEPixelFormat::pf1bit)
      CopyBitsThrough(r, x1, end, bits_ == 1);
    else if (bits_ == 1)
      Copy1BitMask24(r, x1, end);
    else
      Blend8BitMask24(r, x1, end);
  }
}

}  // namespace quillet
