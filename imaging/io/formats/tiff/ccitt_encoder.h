// The CCITT encoder of bilevel rows for TIFF strips: Modified Huffman,
// Group 3 one-dimensional (an EOL before each row), Group 3 two-dimensional
// and Group 4.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/core/bit_io.h"
#include "imaging/io/formats/tiff/ccitt_lines.h"

namespace quillet {

class TCcittEncoder {
 public:
  // `compression` is the tag value 2, 3 or 4; `twoD` picks two-dimensional
  // Group 3 rows. The code goes to the end of `out`.
  TCcittEncoder(int32_t width, uint32_t compression, bool twoD, std::vector<uint8_t>& out);

  // One row, 1 for white.
  void EncodeRow(const uint8_t* row);
  // The closing EOL codes and the last partial byte.
  void Finish();

 private:
  void WriteRun(int64_t run, bool black);
  void Code1D();
  void Code2D();

  int32_t width_;
  uint32_t compression_;
  bool twoD_;
  TIEBitWriterMSB bits_;
  TChanges ref_, cur_;
  bool firstRow_ = true;
};

}  // namespace quillet
