// The TIFF codec: reading any page, writing a one-strip page as a new file
// or inserted into an existing file, counting pages, and the EXIF blocks of
// JPEG files, which are TIFF data.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/io/codec.h"

namespace quillet {

void ReadTIFFStream(TIOReadArgs& args);
void WriteTIFFStream(TIOWriteArgs& args);

// Inserts the image as a page of the little-endian TIFF data that fills
// args.Stream, after page TiffImageIndex (after the last when there are
// fewer); the page count then, or 0, with Aborting and nothing written, when
// the data is no little-endian TIFF or the page cannot be written.
int InsertTIFFStream(TIOWriteArgs& args);

// Pages of the TIFF data from the stream position on; 0 when it is no TIFF.
int32_t CountTiffPages(TIEStream& stream);

// The EXIF fields and ExifThumbnail of an EXIF block (the APP1 data after
// "Exif\0\0"); false, leaving them untouched, when it holds no TIFF structure.
bool DecodeExifBlock(const uint8_t* data, size_t size, TIOParamsVals& params);

}  // namespace quillet
