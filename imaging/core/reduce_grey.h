// Reduce1BitToGrey: box averaging of a 1-bit image into a 24-bit grey image,
// used to show a reduced (or enlarged) black-and-white image.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/core/working_bitmap.h"

namespace quillet {

// Rows of a 1-bit plane, most significant bit first: row y starts at
// Row0 + y * Stride (a negative stride reads a bottom-up plane).
struct TIE1BitRows {
  const uint8_t* Row0 = nullptr;
  int64_t Stride = 0;
  int64_t Width = 0, Height = 0;
};

// The rows of a top-down 1-bit working bitmap.
TIE1BitRows RowsOf(const TIEWorkingBitmap& bitmap);

// The source rectangle (left, top, sw x sh) averaged into dw x dh pixels, each
// the share of white source pixels in its box (255 x set div box pixels), as
// blue = green = red. Nothing is done (false) when any size is 0 or negative,
// when the rectangle is not inside the source or the source is not 1-bit.
//
// Into `dest`, which is made 24-bit of dw x dh first.
bool Reduce1BitToGrey(const TIE1BitRows& src, int64_t left, int64_t top, int64_t sw, int64_t sh,
                      TIEWorkingBitmap& dest, int64_t dw, int64_t dh);
bool Reduce1BitToGrey(const TIEWorkingBitmap& src, int64_t left, int64_t top, int64_t sw, int64_t sh,
                      TIEWorkingBitmap& dest, int64_t dw, int64_t dh);

// Into a new block of bottom-up 24-bit rows of RowLength(dw, 24) bytes (row y
// at (dh - y - 1) x RowLength), for the caller to draw; empty when nothing
// was done.
std::vector<uint8_t> Reduce1BitToGrey(const TIE1BitRows& src, int64_t left, int64_t top, int64_t sw,
                                      int64_t sh, int64_t dw, int64_t dh);
std::vector<uint8_t> Reduce1BitToGrey(const TIEWorkingBitmap& src, int64_t left, int64_t top, int64_t sw,
                                      int64_t sh, int64_t dw, int64_t dh);

}  // namespace quillet
