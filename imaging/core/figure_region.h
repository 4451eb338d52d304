// The pixels of a rectangle or ellipse figure, row by row: the region, its
// border (pixels with a 4-neighbour outside the region) and its interior.
#pragma once

#include <cstdint>

#include "imaging/core/row_spans.h"

namespace quillet {

enum class TFigureShape { Box, Ellipse };

class TFigureRegion {
 public:
  // The box [x1, x2) x [y1, y2), already normalised and not empty.
  TFigureRegion(TFigureShape shape, int64_t x1, int64_t y1, int64_t x2, int64_t y2)
      : shape_(shape), x1_(x1), y1_(y1), x2_(x2), y2_(y2) {}

  // The region's columns on row y (empty outside the figure).
  TSpan Row(int64_t y) const;
  // Border spans (A left, B right) into `border` and the interior span of
  // row y, for the rows [first, last).
  void Split(int64_t first, int64_t last, TRowSpans& border, TRowSpans& interior) const;

 private:
  TSpan EllipseRow(int64_t y) const;

  TFigureShape shape_;
  int64_t x1_, y1_, x2_, y2_;
};

}  // namespace quillet
