// Decoded TIFF rows into pixels: the conversion a page's photometric
// interpretation, samples and bits call for, chosen once per page, and the
// steps before it (the predictor summed back, small samples spread to bytes,
// bilevel inversion).
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/core/colors.h"
#include "imaging/core/working_bitmap.h"
#include "imaging/io/formats/tiff/tiff_page.h"

namespace quillet {

enum class TTiffLayout { tlNone, tlRGB8, tlRGB16, tlRGB555, tlPalette, tlGrey8, tlGrey16, tlBilevel, tlCMYK, tlLab };

struct TTiffRowPlan {
  TTiffLayout Layout = TTiffLayout::tlNone;
  TIEPixelFormat Format = TIEPixelFormat::pf24bit;
  int Samples = 1;            // samples per pixel of the converted rows
  int Bits = 8;               // bits per sample of the decoded rows
  bool BigEndian = false;     // 16-bit samples
  bool Predictor = false;     // horizontal differences to sum back
  bool Spread = false;        // samples of 2 to 7 bits (or 1 through a palette) to bytes
  bool Invert = false;        // bilevel rows inverted
  bool Alpha = false;         // the rows carry the alpha the plane takes
  bool Grey4 = false;         // 4-bit grey levels times 16
  bool WhiteIsZero = false;   // grey levels counted from white
  int GreyShift = 8;          // 16-bit grey: 4 for 12-bit data
  std::vector<TBGR> Palette;  // 256 entries for palette pages
};

// The plan of a page; Layout tlNone when no conversion exists.
TTiffRowPlan PlanRows(const TTiffPage& page, bool bigEndian, bool alphaWanted);

// Runs the steps before conversion on one decoded row of `width` pixels of
// `samples` samples, into `work` when they change it; the row to convert.
const uint8_t* PrepareRow(const TTiffRowPlan& plan, const uint8_t* row, int64_t width, int samples,
                          std::vector<uint8_t>& work);

// Converts `count` pixels of a prepared row into `dst` from pixel x on (the
// bitmap's row, in its format) and their alpha into `alpha` (from x on; none:
// no alpha wanted).
void ConvertRow(const TTiffRowPlan& plan, const uint8_t* src, int64_t count, uint8_t* dst, int64_t x, uint8_t* alpha);

}  // namespace quillet
