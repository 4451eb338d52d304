// Plane lines of PCX image data, plain or run-length coded; a run may go on
// into the next line. Nothing past the data is read: missing bytes are 0.
#pragma once

#include <cstdint>

namespace quillet {

class TPcxLineDecoder {
 public:
  TPcxLineDecoder(const uint8_t* data, const uint8_t* end, bool rle) : p_(data), end_(end), rle_(rle) {}

  // Fills `count` bytes of one plane line; false when the data ended first.
  bool Line(uint8_t* out, int64_t count);

 private:
  const uint8_t* p_;
  const uint8_t* end_;
  bool rle_;
  int run_ = 0;  // bytes of the current run still to give
  uint8_t value_ = 0;
};

}  // namespace quillet
