// The off-screen image store: rows bottom-up on the heap, in a mapped
// temporary file, or held by a working bitmap; used for undo and quantizing.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/core/colors.h"
#include "imaging/core/temp_file.h"
#include "imaging/core/working_bitmap.h"

namespace quillet {

enum class TIEBitmapLocation : uint8_t { ieMemory = 0, ieFile = 1, ieWorkingBitmap = 2 };

// 0 none, 1 = 1 bit, 2 = 8-bit indexed, 3 = 8-bit grey, 4 = 16-bit grey, 5 = 24-bit BGR.
enum class TIEPixelType : uint8_t { ieNone = 0, ie1g = 1, ie8p = 2, ie8g = 3, ie16g = 4, ie24RGB = 5 };

int BitsOfPixelType(TIEPixelType type);

class TIEBitmap {
 public:
  TIEBitmap() = default;
  ~TIEBitmap() = default;
  TIEBitmap(const TIEBitmap&) = delete;
  TIEBitmap& operator=(const TIEBitmap&) = delete;

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  TIEPixelType PixelType() const { return type_; }
  int BitsPerPixel() const { return BitsOfPixelType(type_); }
  int64_t RowLength() const { return rowLength_; }
  TIEBitmapLocation Location() const { return location_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }

  // Releases everything and allocates at the current location. False (store
  // left empty) when a side is not positive, the type is none or the image is
  // over the pixel limit. A failing temporary file falls back to the heap.
  bool Allocate(int32_t width, int32_t height, TIEPixelType type);
  void Release();

  // Row y, 0 at the top. The pointer stays valid until Release or reallocation.
  uint8_t* ScanLine(int32_t y);
  const uint8_t* ScanLine(int32_t y) const { return const_cast<TIEBitmap*>(this)->ScanLine(y); }

  // 256 entries for the 8-bit indexed type, otherwise empty.
  std::vector<TRGBEntry>& Palette() { return palette_; }
  const std::vector<TRGBEntry>& Palette() const { return palette_; }

  // Hands every resource to `other` and leaves this store empty.
  void MoveTo(TIEBitmap& other);
  // Moves the content to the new location; the location of an empty store
  // just changes.
  void SetLocation(TIEBitmapLocation location);

  void CopyFromBitmap(const TIEWorkingBitmap& bitmap);
  void CopyToBitmap(TIEWorkingBitmap& bitmap) const;

 private:
  void AllocateMemory(int64_t bytes);
  bool MapTempFile(int64_t bytes);
  void CopyFrom(TIEBitmap& source);

  int32_t width_ = 0, height_ = 0;
  int64_t rowLength_ = 0;
  TIEPixelType type_ = TIEPixelType::ieNone;
  TIEBitmapLocation location_ = TIEBitmapLocation::ieFile;
  std::vector<TRGBEntry> palette_;
  struct TFree {
    void operator()(uint8_t* p) const;
  };
  std::unique_ptr<uint8_t, TFree> memory_;  // heap rows, bottom-up
  TIEFileView file_;             // rows in a mapped temporary file, bottom-up
  TIEWorkingBitmap bitmap_;      // working-bitmap rows, top-down
};

}  // namespace quillet
