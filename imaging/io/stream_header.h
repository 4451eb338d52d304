// The optional 12-byte header in front of some formats' stream data: a
// 4-byte tag, 4 zero bytes and the little-endian length of the data after it.
#pragma once

#include <cstdint>
#include <optional>

#include "imaging/core/stream.h"
#include "imaging/io/format_table.h"

namespace quillet {

constexpr int64_t kStreamHeaderSize = 12;

// Where a stream reader's data lies once its header was read.
struct TStreamFrame {
  int64_t BytesAvailable = 0;  // bytes of codec data from the stream position
  int64_t End = -1;            // where to leave the stream after decoding; -1: where the codec stopped
};

// Reads the header the format's stream reader expects and leaves the stream
// at the codec data. Nothing when a required header is missing (the bytes
// read stay consumed).
std::optional<TStreamFrame> ReadStreamHeader(TIEStream& stream, const TFileFormatInfo& format, bool streamHeaders);

// Writes a header with `tag` for `length` bytes of data.
void WriteStreamHeader(TIEStream& stream, const char* tag, int64_t length);

}  // namespace quillet
