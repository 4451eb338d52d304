// Content detection: which file format a stream or a file holds, from its
// first bytes, and the per-format content tests the codecs share.
#pragma once

#include <cstdint>
#include <string>

#include "imaging/core/stream.h"

namespace quillet {

// The file type code of the data at the stream's position, or 0. The
// position is the same afterwards; a failing test only rules out its format.
int32_t DetectStreamFormat(TIEStream& stream);
// Detection of a file's content; with checkExtension the result must agree
// with the extension (icon and cursor content take the extension's choice).
// 0 when the file cannot be opened.
int32_t DetectFileFormat(const std::string& fileName, bool checkExtension);

// Offset from the position of the first FF D8 FF among the next 100 offsets,
// or -1. The position is restored.
int64_t FindJpegStart(TIEStream& stream);

// The image types and pixel depths a Targa header may name.
bool IsTargaImageType(int type);
bool IsTargaPixelDepth(int depth);
// An 18-byte Targa header that is not the start of a PXM header.
bool IsTGAStream(TIEStream& stream);
// The 8-byte PNG signature; the position is restored.
bool IsPNGStream(TIEStream& stream);
// A P1..P6 magic followed by a positive width and height.
bool IsPXMStream(TIEStream& stream);

}  // namespace quillet
