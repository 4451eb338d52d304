// The 24-bit pixel rows the rotation reads and writes: a view of rows with a
// stride, and an unpadded buffer of its own for the intermediate images.
#pragma once

#include <cstdint>
#include <memory>

#include "imaging/core/working_bitmap.h"

namespace quillet {

struct TRotateRows {
  uint8_t* Bits = nullptr;
  int64_t Width = 0, Height = 0, Stride = 0;

  uint8_t* Row(int64_t y) const { return Bits + y * Stride; }
};

inline TRotateRows RowsOf(TIEWorkingBitmap& bitmap) {
  return {bitmap.Bits(), bitmap.Width(), bitmap.Height(), bitmap.RowBytes()};
}

// Its pixels start undefined: every user writes each one.
class TRotatePlane {
 public:
  TRotatePlane(int64_t width, int64_t height)
      : bits_(std::make_unique_for_overwrite<uint8_t[]>(size_t(3 * width * height))),
        rows_{bits_.get(), width, height, 3 * width} {}

  const TRotateRows& Rows() const { return rows_; }

 private:
  std::unique_ptr<uint8_t[]> bits_;
  TRotateRows rows_;
};

}  // namespace quillet
