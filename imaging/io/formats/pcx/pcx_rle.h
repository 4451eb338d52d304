// Plane lines of PCX image data, plain or run-length coded; a run may go on
// into the next line. The data is read from the stream in blocks, never past
// its byte count: missing bytes are 0.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/core/stream.h"

namespace quillet {

class TPcxLineDecoder {
 public:
  // The data is the next `bytes` bytes of `stream`.
  TPcxLineDecoder(TIEStream& stream, int64_t bytes, bool rle) : stream_(stream), left_(bytes), rle_(rle) {}

  // Fills `count` bytes of one plane line; false when the data ended first.
  bool Line(uint8_t* out, int64_t count);

 private:
  // The next block of the data into the buffer; false at its end.
  bool Refill();

  TIEStream& stream_;
  int64_t left_;  // data bytes not yet in the buffer
  bool rle_;
  std::vector<uint8_t> buffer_;
  const uint8_t* p_ = nullptr;
  const uint8_t* end_ = nullptr;
  int run_ = 0;  // bytes of the current run still to give
  uint8_t value_ = 0;
};

}  // namespace quillet
