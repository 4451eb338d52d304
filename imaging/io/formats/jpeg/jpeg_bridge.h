// The library side of the JPEG codec: an error manager that jumps back into
// the codec instead of returning, and source and destination managers on
// the engine's stream.
#pragma once

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "imaging/core/stream.h"

namespace quillet {

// Fatal errors longjmp to `exit`, so that no exception ever crosses the
// library's C frames; warnings only leave a note.
struct TJpegErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf exit;
  bool hitMarker = false;  // entropy data ended early (truncated or corrupt)
  char message[JMSG_LENGTH_MAX] = {};
};

// The error manager hooked into a (de)compressor's common fields.
void InitJpegErrors(TJpegErrorManager& errors);

// Feeds the library from `stream` in 65536-byte blocks; past the end it
// supplies an end-of-image marker so that the library finishes what it has.
struct TJpegSource {
  jpeg_source_mgr pub;
  TIEStream* stream = nullptr;
  std::vector<uint8_t> buffer;
  bool anyData = false;      // some byte came from the stream
  bool insertedEnd = false;  // the stream ran out and a marker was made up
};

void AttachJpegSource(jpeg_decompress_struct& cinfo, TJpegSource& source, TIEStream& stream);

// Collects compressed data in a 65536-byte buffer and writes it to `stream`
// whenever it is full and at the end; a short write is a library error.
struct TJpegDestination {
  jpeg_destination_mgr pub;
  TIEStream* stream = nullptr;
  std::vector<uint8_t> buffer;
  bool writeFailed = false;
};

void AttachJpegDestination(jpeg_compress_struct& cinfo, TJpegDestination& destination, TIEStream& stream);

}  // namespace quillet
