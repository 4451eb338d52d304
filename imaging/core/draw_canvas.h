// TIEDrawCanvas: the surface an image store draws onto (a printer page or its
// preview); the user interface implements it, so the stores stay free of it.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/core/colors.h"
#include "imaging/core/image_rows.h"

namespace quillet {

class TIEDrawCanvas {
 public:
  virtual ~TIEDrawCanvas() = default;
  // Draws `rows` stretched into [left, right) x [top, bottom) of the canvas.
  // Rows of 1 or 8 bits index `palette`; 24-bit rows are blue, green, red.
  virtual void StretchDraw(const TIEImageRows& rows, const std::vector<TRGBQuad>& palette, int64_t left, int64_t top,
                           int64_t right, int64_t bottom) = 0;
};

}  // namespace quillet
