// Plane lines of PCX image data, plain or run-length coded; a run may go on
// into the next line. The data is read from the stream in blocks, never past
// its byte count: missing bytes are 0.
#pragma once

#include <cstdint>

#include "imaging/io/bounded_input.h"

namespace quillet {

class TPcxLineDecoder {
 public:
  // The data is the next `bytes` bytes of `stream`.
  TPcxLineDecoder(TIEStream& stream, int64_t bytes, bool rle)
      : in_(stream, stream.Position() + bytes, kBlockBytes), rle_(rle) {}

  // Fills `count` bytes of one plane line; false when the data ended first.
  bool Line(uint8_t* out, int64_t count);

 private:
  static constexpr int64_t kBlockBytes = 65536;

  TBoundedInput in_;
  bool rle_;
  int run_ = 0;  // bytes of the current run still to give
  uint8_t value_ = 0;
};

}  // namespace quillet
