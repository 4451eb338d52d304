// The CCITT decoder of TIFF strips: Modified Huffman, Group 3 one- and
// two-dimensional, Group 4 with the uncompressed-mode extension, tolerant
// of damaged data.
#pragma once

#include <cstdint>

#include "imaging/core/bit_io.h"
#include "imaging/io/formats/tiff/ccitt_lines.h"

namespace quillet {

class TCcittDecoder {
 public:
  // `compression` is the tag value 2, 3 or 4; T4Options bit 0 picks
  // two-dimensional Group 3 rows.
  TCcittDecoder(int32_t width, uint32_t compression, uint32_t t4Options);

  // A new strip, its bits most significant first; the reference line is white.
  void StartStrip(const uint8_t* data, int64_t size);
  // The next row into `row` ((width + 7) / 8 bytes): 1 for white.
  void DecodeRow(uint8_t* row);

 private:
  enum class TEnd { teNone, teEol, teExhausted };
  void Paint(int64_t end, bool black);
  // Skips fill bits and EOL codes; true when an EOL was met.
  bool SkipEols();
  // The next run of the colour (make-up codes summed), or -1 at an EOL or
  // at the data's end (`end_` says which).
  int64_t ReadRun(bool black);
  void Decode1D();
  void Decode2D();
  void Horizontal();
  void Uncompressed();

  int32_t width_;
  uint32_t compression_;
  bool twoD_;
  TIEBitReaderMSB bits_{nullptr, 0};
  TChanges ref_, cur_;
  bool firstRow_ = true;
  // The row in progress: pixels left of painted_ are decided; a0_ is the
  // coding position (-1 before the first pixel) and black_ its colour.
  int32_t painted_ = 0, a0_ = -1;
  bool black_ = false;
  TEnd end_ = TEnd::teNone;
};

}  // namespace quillet
