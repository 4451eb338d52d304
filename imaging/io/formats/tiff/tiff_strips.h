// The pixel data of a TIFF page: strips (planar 1, or three planes of
// 8-bit RGB) and tiles, each read, put in bit order, decompressed row by row
// and converted into the bitmap.
#pragma once

#include <cstdint>

#include "imaging/io/codec.h"
#include "imaging/io/formats/tiff/tiff_file.h"
#include "imaging/io/formats/tiff/tiff_page.h"
#include "imaging/io/formats/tiff/tiff_rows.h"

namespace quillet {

// Decodes the page into `bitmap` (already sized in the plan's format) and
// `alpha` (sized and opaque, or none). Fails through the progress record;
// rows not decoded are white.
void DecodePixels(TTiffFile& file, const TTiffPage& page, const TTiffRowPlan& plan, const TTiffLzwDecoder& lzw,
                  TIEWorkingBitmap& bitmap, TIEMask* alpha, const TIOProgress& progress);

}  // namespace quillet
