// The working bitmap: a top-down device-independent bitmap in 1 or 24 bits
// (other depths only as conversion sources), with palette and canvas state.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/core/bits.h"
#include "imaging/core/canvas_state.h"
#include "imaging/core/colors.h"
#include "imaging/core/pixel_buffer.h"

namespace quillet {

class TIEWorkingBitmap {
 public:
  TIEWorkingBitmap() = default;
  TIEWorkingBitmap(int64_t width, int64_t height, TIEPixelFormat format) { Resize(width, height, format); }

  int64_t Width() const { return width_; }
  int64_t Height() const { return height_; }
  TIEPixelFormat PixelFormat() const { return format_; }
  int BitCount() const { return BitsOfFormat(format_); }
  int64_t RowBytes() const { return rowBytes_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }

  // Row y, 0 at the top. No bounds check.
  uint8_t* ScanLine(int64_t y) { return bits_.data() + y * rowBytes_; }
  const uint8_t* ScanLine(int64_t y) const { return bits_.data() + y * rowBytes_; }
  uint8_t* Bits() { return bits_.data(); }
  const uint8_t* Bits() const { return bits_.data(); }

  // New size and/or format. The shared top-left area keeps its pixels (converted
  // when the format changes), the rest takes the brush colour. A 1-bit result
  // gets the palette (black, white). False, with nothing changed, when the size
  // is negative or over the engine's pixel limit; throws std::bad_alloc on OOM.
  bool Resize(int64_t width, int64_t height, TIEPixelFormat format);
  bool SetSize(int64_t width, int64_t height) { return Resize(width, height, format_); }
  bool SetPixelFormat(TIEPixelFormat format) { return Resize(width_, height_, format); }
  // New size and format for a writer that fills every pixel of every row
  // before anything reads it: the old pixels are dropped and the new ones
  // left uninitialised (no fill pass); only the padding at the row ends is
  // zeroed. The same size and format keep the memory as it is. Refuses what
  // Resize refuses, but converts nothing, so any format change is allowed.
  bool AllocateUninitialised(int64_t width, int64_t height, TIEPixelFormat format);

  // Entries of the colour table (depths up to 8 bits; 1-bit is black, white).
  std::vector<TRGBQuad>& Palette() { return palette_; }
  const std::vector<TRGBQuad>& Palette() const { return palette_; }

  TIECanvasState& Canvas() { return canvas_; }
  const TIECanvasState& Canvas() const { return canvas_; }

  // Whole image in one colour; a 1-bit image takes black or white by grey level.
  void Fill(const TBGR& color);
  // Rows [from, to) in one colour, as Fill does.
  void FillRows(int64_t from, int64_t to, const TBGR& color);

  // The colour of pixel (x, y) in any format; for tests and slow paths only.
  TBGR Pixel(int64_t x, int64_t y) const;

  // Takes the pixels, size, format and palette of `other`; keeps its own
  // canvas and counts as one more change.
  void Replace(TIEWorkingBitmap&& other);

  // Counts changes so that viewers of a bare bitmap notice them.
  uint64_t ChangeCount() const { return changes_; }
  void MarkModified() { ++changes_; }

 private:
  // The new pixels, size and format; the palette follows the format.
  void TakePixels(TPixelBuffer bits, int64_t width, int64_t height, TIEPixelFormat format);

  int64_t width_ = 0, height_ = 0, rowBytes_ = 0;
  TIEPixelFormat format_ = TIEPixelFormat::pf24bit;
  TPixelBuffer bits_;
  std::vector<TRGBQuad> palette_;
  TIECanvasState canvas_;
  uint64_t changes_ = 0;
};

// Any size and format for a bitmap whose every row is about to be overwritten:
// where Resize cannot convert, the old pixels are dropped (the canvas is kept).
bool ReshapeBitmap(TIEWorkingBitmap& bitmap, int64_t width, int64_t height, TIEPixelFormat format);

// Black and white palette of every 1-bit image of the engine.
std::vector<TRGBQuad> BlackWhitePalette();

}  // namespace quillet
