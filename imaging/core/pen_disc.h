// The pen's disc and the widening of figure rows by it.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/core/row_spans.h"

namespace quillet {

// Row Dy of the disc covers the column offsets [Left, Right).
struct TDiscRow {
  int64_t Dy, Left, Right;
};

// The disc of width w: the offsets (i - w div 2, j - w div 2), 0 <= i, j < w,
// with (2i+1-w)^2 + (2j+1-w)^2 <= w^2; a single pixel for w <= 1.
std::vector<TDiscRow> PenDisc(int64_t width);

// Row y of the union of the disc placed at every pixel of `rows`, as sorted,
// disjoint spans clipped to [0, width), into `out` (`scratch` is reused).
void DilatedRow(const TRowSpans& rows, const std::vector<TDiscRow>& disc, int64_t y, int64_t width,
                std::vector<TSpan>& out, std::vector<TSpan>& scratch);

}  // namespace quillet
