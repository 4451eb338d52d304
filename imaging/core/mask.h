// TIEMask: the 1-bit selection plane and the 8-bit alpha plane of an image,
// stored bottom-up, with the inclusive bounding box of its non-zero pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/core/canvas_state.h"
#include "imaging/core/colors.h"
#include "imaging/core/working_bitmap.h"

namespace quillet {

// A top-down 24-bit pixel buffer owned by the caller (a view's back buffer).
struct TIERawTarget {
  uint8_t* Bits = nullptr;
  int64_t Width = 0, Height = 0, RowBytes = 0;
};

// How the image appears in a client area: image x maps to client
// round((x - SourceLeft) * Zoom / 100 + OffsetX), likewise for y.
struct TIEMaskViewport {
  double Zoom = 100;
  int64_t OffsetX = 0, OffsetY = 0;
  int64_t SourceLeft = 0, SourceTop = 0;
};

class TIEMask {
 public:
  static constexpr int32_t kEmptyBox = 2147483647;
  // A vertex with this x separates the sub-polygons given to SetPolygon.
  static constexpr int32_t kPolygonBreak = 0xFFFFF;

  // A zeroed plane of 1 or 8 bits with an empty box. False, leaving the mask
  // unallocated, for another depth, a negative size or a plane over the limit.
  bool Allocate(int64_t width, int64_t height, int bits);
  void Release();
  void Assign(const TIEMask* other);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  int32_t BitsPerPixel() const { return bits_; }
  int64_t RowLength() const { return rowLength_; }
  bool Full() const { return full_; }
  // For code that wrote rows through ScanLine: finds out whether every pixel
  // is at its top value.
  void RecomputeFull();

  int32_t X1() const { return x1_; }
  int32_t Y1() const { return y1_; }
  int32_t X2() const { return x2_; }
  int32_t Y2() const { return y2_; }
  bool IsEmpty() const { return x1_ == kEmptyBox; }
  // Sets the box, clamped to the plane; a box without pixels becomes empty.
  void SetBox(int64_t x1, int64_t y1, int64_t x2, int64_t y2);

  // Row y, 0 at the top. No bounds check.
  uint8_t* ScanLine(int64_t y) { return data_.data() + (height_ - y - 1) * rowLength_; }
  const uint8_t* ScanLine(int64_t y) const { return data_.data() + (height_ - y - 1) * rowLength_; }

  void SetPixel(int64_t x, int64_t y, uint8_t value);
  int GetPixel(int64_t x, int64_t y) const;
  bool IsPointInside(int64_t x, int64_t y) const { return GetPixel(x, y) != 0; }

  // Every byte becomes value; the box becomes the whole plane, or empty for 0.
  void Fill(uint8_t value);
  void Clear() { Fill(0); }

  // Writes value (1-bit: set for non-zero, clear for zero) to x1..x2 of row
  // y, clipped to the plane; the box is the caller's. Returns pixels written.
  int64_t FillSpan(uint8_t value, int64_t x1, int64_t y, int64_t x2);

  // Scanline fill of a closed polygon (even-odd); the box grows by what a
  // non-zero value writes.
  void FillPolygon(uint8_t value, const TIEPoint* points, int64_t count);
  // Clear, then fill every sub-polygon (split at kPolygonBreak vertices).
  void SetPolygon(uint8_t value, const TIEPoint* points, int64_t count);

  // Moves the content. keepInside limits the move so that the box stays on the
  // plane; otherwise what leaves the plane is lost.
  void Translate(int64_t dx, int64_t dy, bool keepInside);

  // Puts source into destination inside the box where the mask is set (8-bit:
  // blended by the mask value). A cropped bitmap has the size of the box.
  // Nothing on a format mismatch or an uncropped bitmap of another size.
  void CopyThroughMask(TIEWorkingBitmap& destination, const TIEWorkingBitmap& source, bool sourceIsCropped,
                       bool destinationIsCropped) const;

  // 1-bit plane only: inverts the client pixels whose image pixel is selected.
  void DrawInverted(TIERawTarget& target, const TIEMaskViewport& view) const;
  // 1-bit plane only: marching ants around the selection, colour B where bit 2
  // of (client column + client row + phase) is set, colour A elsewhere.
  void DrawOutline(TIERawTarget& target, const TIEMaskViewport& view, TBGR colorA, TBGR colorB, int64_t phase);

 private:
  void EmptyBox();
  void GrowBox(int64_t x1, int64_t y1, int64_t x2, int64_t y2);
  void NoteWritten(uint8_t value);

  int32_t width_ = 0, height_ = 0, bits_ = 0;
  int64_t rowLength_ = 0;
  std::vector<uint8_t> data_;
  int32_t x1_ = kEmptyBox, y1_ = kEmptyBox, x2_ = 0, y2_ = 0;
  bool full_ = false;
  // Displayed copy of the visible part of the plane, reused between calls.
  std::vector<uint8_t> outline_;
};

}  // namespace quillet
