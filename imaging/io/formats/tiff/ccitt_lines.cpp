// Conversions between bilevel rows and their changing elements.
#include "imaging/io/formats/tiff/ccitt_lines.h"

#include <bit>
#include <cstring>

namespace quillet {

namespace {

// The first position from x on whose bit is not `white`, or width.
int32_t NextDifferent(const uint8_t* row, int32_t x, int32_t width, bool white) {
  const uint8_t same = white ? 0xFF : 0x00;
  while (x < width) {
    const uint8_t diff = uint8_t((row[x >> 3] ^ same) & (0xFF >> (x & 7)));
    if (diff) {
      const int32_t at = (x & ~7) + std::countl_zero(diff);
      return at < width ? at : width;
    }
    x = (x & ~7) + 8;
  }
  return width;
}

void ClearBits(uint8_t* row, int32_t from, int32_t to) {
  if (from >= to) return;
  const int32_t firstByte = from >> 3, lastByte = (to - 1) >> 3;
  const uint8_t head = uint8_t(0xFF >> (from & 7)), tail = uint8_t(0xFF << (7 - ((to - 1) & 7)));
  if (firstByte == lastByte) {
    row[firstByte] &= uint8_t(~(head & tail));
    return;
  }
  row[firstByte] &= uint8_t(~head);
  std::memset(row + firstByte + 1, 0, size_t(lastByte - firstByte - 1));
  row[lastByte] &= uint8_t(~tail);
}

}  // namespace

void RowToChanges(const uint8_t* row, int32_t width, TChanges& changes) {
  changes.clear();
  bool white = true;
  for (int32_t x = NextDifferent(row, 0, width, white); x < width; x = NextDifferent(row, x, width, white)) {
    changes.push_back(x);
    white = !white;
  }
  changes.insert(changes.end(), kChangeSentinels, width);
}

void ChangesToRow(const TChanges& changes, size_t count, int32_t width, uint8_t* row) {
  std::memset(row, 0xFF, size_t((int64_t(width) + 7) / 8));
  for (size_t i = 0; i < count; i += 2) ClearBits(row, changes[i], i + 1 < count ? changes[i + 1] : width);
}

void WhiteLine(int32_t width, TChanges& changes) { changes.assign(kChangeSentinels, width); }

}  // namespace quillet
