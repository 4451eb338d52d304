// RLE8 and RLE4 pixel data of device-independent bitmaps: decoding into a 24-bit
// bitmap through a palette (nothing is ever written outside the image), and row encoding.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "imaging/core/palette_table.h"
#include "imaging/core/working_bitmap.h"

namespace quillet {

enum class TDibRleResult { rlrComplete, rlrTruncated, rlrCancelled };

// Called at each end of line with the rows done so far; false stops the decoding.
using TDibRleRowEvent = std::function<bool(int64_t rowsDone)>;

// `data` holds the compressed bytes; bits is 8 (RLE8) or 4 (RLE4). Rows run
// bottom-up from the bitmap's last row; pixels the data skips keep their colour.
TDibRleResult DecodeDibRle(const uint8_t* data, int64_t size, int bits, const TPaletteTable& palette,
                           TIEWorkingBitmap& bitmap, const TDibRleRowEvent& onRow = {});

// Appends one row of `count` palette indices (one per byte; below 16 for
// RLE4) in RLE8 (bits 8) or RLE4 (bits 4), ending with the end-of-line escape.
void EncodeDibRleRow(const uint8_t* indices, int64_t count, int bits, std::vector<uint8_t>& out);

}  // namespace quillet
