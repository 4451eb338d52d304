// The image a palette writer codes from: the caller's bitmap, or a copy in
// the pixel layout the file needs (1-bit with its two colours, or 24 bits).
#pragma once

#include <array>
#include <memory>

#include "imaging/core/colors.h"
#include "imaging/core/working_bitmap.h"

namespace quillet {

struct TWriterSource {
  const TIEWorkingBitmap* Image = nullptr;  // the caller's bitmap or Copy
  std::unique_ptr<TIEWorkingBitmap> Copy;
  std::array<TBGR, 2> Colours{kBlack, kWhite};  // the palette of a 1-bit source
};

// A 1-bit source: a 1-bit bitmap as it is (black, white); a 24-bit one of
// exactly two colours as a copy keeping them (the darker as entry 0); any
// other through the ordered dither to black and white.
TWriterSource BilevelSource(const TIEWorkingBitmap& bitmap);

// A 24-bit source: the bitmap itself, or a 24-bit copy of a 1-bit one.
TWriterSource TrueColourSource(const TIEWorkingBitmap& bitmap);

}  // namespace quillet
