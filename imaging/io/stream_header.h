// The optional 12-byte header in front of TIFF, PCX and JPEG stream data: a
// 4-byte tag, 4 zero bytes and the little-endian length of the data after it.
#pragma once

#include <cstdint>
#include <optional>

#include "imaging/core/stream.h"

namespace quillet {

constexpr int64_t kStreamHeaderSize = 12;

// Where a stream reader's data lies once its header was read.
struct TStreamFrame {
  int64_t BytesAvailable = 0;  // bytes of codec data from the stream position
  int64_t End = -1;            // where to leave the stream after decoding; -1: where the codec stopped
};

// The tag of a format that carries stream headers, or nullptr.
const char* StreamHeaderTag(int32_t fileType);

// Reads the header the stream reader of `fileType` expects and leaves the
// stream at the codec data. Nothing when a required header is missing (the
// bytes read stay consumed). JPEG data may or may not have one.
std::optional<TStreamFrame> ReadStreamHeader(TIEStream& stream, int32_t fileType, bool streamHeaders);

// Writing: reserves the header (12 zero bytes) and returns its position;
// FinishStreamHeader fills it in for the data written since and goes back
// to the end.
int64_t BeginStreamHeader(TIEStream& stream);
void FinishStreamHeader(TIEStream& stream, int64_t start, const char* tag);

}  // namespace quillet
