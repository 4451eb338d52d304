// Targa pixel data as packets: the reader gives rows of file pixels, plain or
// run-length coded, with packets that go on into the next row; the encoder
// codes one row on its own.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/io/bounded_input.h"

namespace quillet {

class TTgaPacketReader {
 public:
  // Pixels of `pixelBytes` bytes (1 to 4) from `input`.
  TTgaPacketReader(TBoundedInput& input, int pixelBytes, bool rle) : in_(input), bytes_(pixelBytes), rle_(rle) {}

  // Fills `count` pixels at `out`; false when the data ended first, the
  // missing pixels then being 0.
  bool Row(uint8_t* out, int64_t count);

 private:
  int64_t Packets(uint8_t* out, int64_t count);

  TBoundedInput& in_;
  int bytes_;
  bool rle_;
  int left_ = 0;  // pixels of the current packet still to give
  bool repeat_ = false;
  uint8_t value_[4] = {};
};

// Appends the run-length coding of `count` pixels of `pixelBytes` bytes
// (1 or 3) to `out`: runs of 2 to 128 equal pixels as repeat packets, the
// rest as literal packets of up to 128 pixels.
void EncodeTgaRow(const uint8_t* pixels, int64_t count, int pixelBytes, std::vector<uint8_t>& out);

}  // namespace quillet
