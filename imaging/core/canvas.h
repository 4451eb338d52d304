// TIECanvas: aliased, deterministic drawing on a working bitmap of 1 or 24
// bits with the bitmap's own canvas state (pen, brush, pen position).
//
// Pixel rules:
// - Points are image pixels. What falls outside the image is clipped, and a
//   figure costs only what it covers inside. On 1-bit images a colour is white
//   when its grey level (21R+71G+7B) div 100 is at least 128.
// - Copy writes the colour. NotXor writes NOT(colour XOR old), byte by byte
//   (bit by bit on 1-bit images). Lines, outlines and the interiors of
//   Rectangle and Ellipse follow the pen's mode; FillRect and SetPixel copy.
// - A figure is a set of pixels, each written once (interior first, then the
//   outline), so NotXor twice restores the image exactly.
// - LineDDA(x1, y1, x2, y2): n = max(|dx|, |dy|); points i = 0 .. n-1 are
//   (x1 + sx*floor((2i|dx| + n - 1) / 2n), y1 + sy*floor((2i|dy| + n - 1) / 2n)),
//   s the sign of each difference: the start included, the end excluded,
//   halves rounded toward the start, no point when n = 0.
// - LineTo(Q) from the pen position P: nothing when P = Q; width 1 draws the
//   LineDDA points; width w > 1 draws those points and Q, each widened to the
//   pen's disc. The pen position becomes Q. Widths below 1 count as 1. The
//   disc of width w is the offsets (i - w div 2, j - w div 2), 0 <= i, j < w,
//   with (2i+1-w)^2 + (2j+1-w)^2 <= w^2.
// - Rectangle and Ellipse: the box is normalised and covers columns x1..x2-1
//   and rows y1..y2-1; an empty box draws nothing. The region is the box; for
//   the ellipse it is the box pixels with
//   (2x+1-x1-x2)^2 H^2 + (2y+1-y1-y2)^2 W^2 <= W^2 H^2 (W, H the box's sides).
//   The border is the region's pixels with a 4-neighbour outside the region
//   (of the whole figure, not its clipped part). The brush paints the rest,
//   then the pen draws the border, widened by the disc when w > 1. A clear pen
//   draws no outline; every other pen style draws solid.
// - Brushes: solid covers every pixel, clear none; hatches cover only their
//   lines, anchored at image (0, 0) (see hatch.h); the gaps keep their pixels.
// - FillRect paints the normalised box with the brush. Pixel reads outside the
//   image give no colour, writes there do nothing. Every write marks the
//   bitmap modified.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "imaging/core/canvas_state.h"
#include "imaging/core/colors.h"
#include "imaging/core/line_dda.h"
#include "imaging/core/working_bitmap.h"

namespace quillet {

// Flood fill: the region of the colour around the start (surface), or the
// pixels around it up to a border of the colour (border).
enum class TIEFillStyle { fsSurface, fsBorder };

class TIECanvas {
 public:
  // Draws on `bitmap` (1 or 24 bits) with its canvas state.
  explicit TIECanvas(TIEWorkingBitmap& bitmap) : bitmap_(bitmap) {}

  TIECanvasState& State() { return bitmap_.Canvas(); }
  TIEWorkingBitmap& Bitmap() { return bitmap_; }

  void MoveTo(int32_t x, int32_t y) { State().PenPos = {x, y}; }
  void LineTo(int32_t x, int32_t y);
  void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  void Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  void FillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

  // The 4-connected region around (x, y) is found first, then painted with
  // the brush (solid, or only a hatch's lines; a clear brush paints nothing),
  // always in Copy. A start outside the image or outside the region does
  // nothing.
  void FloodFill(int32_t x, int32_t y, const TBGR& colour, TIEFillStyle style);

  // One line of UTF-8 text in the canvas font, the cell's top-left at (x, y)
  // and the baseline at y + ascent. Unless the brush is clear, the cell
  // [x, x + TextWidth) x [y, y + TextHeight) is first filled with the brush
  // colour; every glyph pixel then takes the font colour. Glyphs are
  // monochrome and hinted, with kerning; the underline lies at the face's
  // underline position and thickness across the advance.
  void TextOut(int32_t x, int32_t y, std::string_view text);
  int64_t TextWidth(std::string_view text) const;
  // Ascent + descent of the face at the font's size, in whole pixels.
  int64_t TextHeight(std::string_view text) const;

  std::optional<TBGR> Pixel(int32_t x, int32_t y) const;
  void SetPixel(int32_t x, int32_t y, const TBGR& color);
  // A pixel in the pen's mix mode: Copy sets it, NotXor combines it.
  void MixPixel(int32_t x, int32_t y, const TBGR& color);

 private:
  enum class TFigure { Box, Ellipse };
  bool Drawable() const;
  void DrawFigure(TFigure figure, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  void ThinLine(const TLineDDA& line);
  void WideLine(const TLineDDA& line, int32_t x, int32_t y);

  TIEWorkingBitmap& bitmap_;
};

}  // namespace quillet
