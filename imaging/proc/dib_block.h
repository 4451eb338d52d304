// The device-independent bitmap block of the clipboard and the scanner transfer:
// its header layout, the writer of 1-bit and 24-bit areas and the reader.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "imaging/core/working_bitmap.h"

namespace quillet {

// Byte offsets of the fields of the 40-byte header that the block writer
// fills (the others are zero).
namespace dib {
constexpr int64_t kHeaderSize = 0, kWidth = 4, kHeight = 8, kPlanes = 12, kBitCount = 14;
constexpr int64_t kInfoHeaderBytes = 40;
}  // namespace dib

// The block of area [x1, x2) x [y1, y2) of a 1-bit or 24-bit bitmap: a 40-byte
// header, the black/white table for 1 bit, rows bottom-up padded to 4 bytes
// with zero padding bits. Other pixel formats are written as 24 bits. The area
// is clipped to the bitmap; an empty area gives an empty block.
std::vector<uint8_t> WriteDibBlock(const TIEWorkingBitmap& bitmap, int64_t x1, int64_t y1, int64_t x2, int64_t y2);
inline std::vector<uint8_t> WriteDibBlock(const TIEWorkingBitmap& b) {
  return WriteDibBlock(b, 0, 0, b.Width(), b.Height());
}

// Reads a block into `bitmap` (1-bit for 1 bit per pixel, else 24-bit) by the
// rules of the DIB reader, plus the YUV layouts. `pixels`, when not empty, is
// the pixel data passed apart from the header. False, with `bitmap` unchanged,
// when the block is refused: too short, bad sizes, over the pixel limit or a
// layout not read.
bool ReadDibBlock(std::span<const uint8_t> block, TIEWorkingBitmap& bitmap, std::span<const uint8_t> pixels = {});

}  // namespace quillet
