// Decoding of RLE8 and RLE4 pixel data into a 24-bit bitmap, bottom row first,
// through a palette; nothing is ever written outside the image.
#pragma once

#include <cstdint>

#include "imaging/core/working_bitmap.h"
#include "imaging/io/io_progress.h"
#include "imaging/io/palette_table.h"

namespace quillet {

enum class TBmpRleResult { rlrComplete, rlrTruncated, rlrCancelled };

// `data` holds the compressed bytes; bits is 8 (RLE8) or 4 (RLE4).
TBmpRleResult DecodeBmpRle(const uint8_t* data, int64_t size, int bits, const TPaletteTable& palette,
                           TIEWorkingBitmap& bitmap, const TIOProgress& progress);

}  // namespace quillet
