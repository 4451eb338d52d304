// TIEImageRows: where the rows of an image lie in memory, top-down or
// bottom-up, as the stores hand them to painters and drawing canvases.
#pragma once

#include <cstdint>

namespace quillet {

// Row y (0 at the top) starts at Row0 + y * Stride; a negative stride is a
// bottom-up image.
struct TIEImageRows {
  uint8_t* Row0 = nullptr;
  int64_t Stride = 0;
  int32_t Width = 0, Height = 0;
  int Bits = 0;

  uint8_t* Row(int64_t y) const { return Row0 + y * Stride; }
};

}  // namespace quillet
