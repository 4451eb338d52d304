// RLE8 and RLE4 pixel data of BMP files: decoding into a 24-bit bitmap through
// a palette (nothing is ever written outside the image), and row encoding.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/core/working_bitmap.h"
#include "imaging/io/io_progress.h"
#include "imaging/io/palette_table.h"

namespace quillet {

enum class TBmpRleResult { rlrComplete, rlrTruncated, rlrCancelled };

// `data` holds the compressed bytes; bits is 8 (RLE8) or 4 (RLE4).
TBmpRleResult DecodeBmpRle(const uint8_t* data, int64_t size, int bits, const TPaletteTable& palette,
                           TIEWorkingBitmap& bitmap, const TIOProgress& progress);

// Appends one row of `count` palette indices (one per byte; below 16 for
// RLE4) in RLE8 (bits 8) or RLE4 (bits 4), ending with the end-of-line escape.
void EncodeBmpRleRow(const uint8_t* indices, int64_t count, int bits, std::vector<uint8_t>& out);

}  // namespace quillet
