// Content detection: which file format a stream or a file holds, run through
// every registered format's content tests, and the helpers those tests share.
#pragma once

#include <cstddef>
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
// The next bytes are `signature` (n bytes) and more than `sizeAbove` bytes remain.
bool StreamStartsWith(TIEStream& stream, const char* signature, size_t n, int64_t sizeAbove);
// The first n bytes, cut at the first zero byte, read exactly `tag`, and more
// than `sizeAbove` bytes remain: a stream header tag matches only when a zero
// byte (or nothing) follows it.
bool StreamTagIs(TIEStream& stream, const char* tag, size_t n, int64_t sizeAbove);

}  // namespace quillet
