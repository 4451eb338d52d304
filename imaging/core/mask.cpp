// Allocation, pixel access, fills and the bounding box of TIEMask.
#include "imaging/core/mask.h"

#include <algorithm>
#include <cstring>

#include "imaging/core/bits.h"
#include "imaging/core/math.h"

namespace quillet {

bool TIEMask::Allocate(int64_t width, int64_t height, int bits) {
  Release();
  if ((bits != 1 && bits != 8) || width < 0 || height < 0) return false;
  if (width > 0 && height > 0 && !ImageBytes(width, height, bits)) return false;
  width_ = int32_t(width);
  height_ = int32_t(height);
  bits_ = bits;
  rowLength_ = bits == 1 ? quillet::RowLength(width, 1) : width;
  data_.assign(size_t(rowLength_ * height), 0);
  return true;
}

void TIEMask::Release() {
  data_.clear();
  data_.shrink_to_fit();
  width_ = height_ = bits_ = 0;
  rowLength_ = 0;
  EmptyBox();
  full_ = false;
}

void TIEMask::Assign(const TIEMask* other) {
  if (!other || other == this) return;
  width_ = other->width_;
  height_ = other->height_;
  bits_ = other->bits_;
  rowLength_ = other->rowLength_;
  data_ = other->data_;
  x1_ = other->x1_;
  y1_ = other->y1_;
  x2_ = other->x2_;
  y2_ = other->y2_;
  full_ = other->full_;
}

void TIEMask::EmptyBox() {
  x1_ = y1_ = kEmptyBox;
  x2_ = y2_ = 0;
}

void TIEMask::SetBox(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
  x1 = std::max<int64_t>(x1, 0);
  y1 = std::max<int64_t>(y1, 0);
  x2 = std::min<int64_t>(x2, int64_t(width_) - 1);
  y2 = std::min<int64_t>(y2, int64_t(height_) - 1);
  if (x1 > x2 || y1 > y2) return EmptyBox();
  x1_ = int32_t(x1);
  y1_ = int32_t(y1);
  x2_ = int32_t(x2);
  y2_ = int32_t(y2);
}

// Callers pass a box already inside the plane.
void TIEMask::GrowBox(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
  if (IsEmpty()) return SetBox(x1, y1, x2, y2);
  SetBox(std::min<int64_t>(x1, x1_), std::min<int64_t>(y1, y1_), std::max<int64_t>(x2, x2_),
         std::max<int64_t>(y2, y2_));
}

// A plane stays full only while nothing below the top value is written.
void TIEMask::NoteWritten(uint8_t value) {
  if (bits_ == 8 ? value != 255 : value == 0) full_ = false;
}

void TIEMask::RecomputeFull() {
  full_ = !data_.empty();
  const int64_t fullBytes = bits_ == 1 ? width_ / 8 : width_;
  const int tailBits = bits_ == 1 ? width_ % 8 : 0;
  const uint8_t tail = uint8_t(0xFF << (8 - tailBits));
  for (int64_t y = 0; y < height_ && full_; ++y) {
    const uint8_t* row = ScanLine(y);
    full_ = std::all_of(row, row + fullBytes, [](uint8_t v) { return v == 255; }) &&
            (tailBits == 0 || (row[fullBytes] & tail) == tail);
  }
}

void TIEMask::SetPixel(int64_t x, int64_t y, uint8_t value) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  uint8_t* row = ScanLine(y);
  if (bits_ == 1)
    SetBit(row, x, value != 0);
  else
    row[x] = value;
  NoteWritten(value);
  if (value != 0) GrowBox(x, y, x, y);
}

int TIEMask::GetPixel(int64_t x, int64_t y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  const uint8_t* row = ScanLine(y);
  return bits_ == 1 ? int(GetBit(row, x)) : int(row[x]);
}

void TIEMask::Fill(uint8_t value) {
  std::fill(data_.begin(), data_.end(), value);
  full_ = !data_.empty() && value == 255;
  if (value != 0)
    SetBox(0, 0, int64_t(width_) - 1, int64_t(height_) - 1);
  else
    EmptyBox();
}

namespace {

// Sets or clears bits x1..x2 of a 1-bit row, a byte at a time in the middle.
void FillBits(uint8_t* row, int64_t x1, int64_t x2, bool set) {
  const int64_t first = x1 >> 3, last = x2 >> 3;
  const uint8_t head = uint8_t(0xFF >> (x1 & 7));
  const uint8_t tail = uint8_t(0xFF << (7 - (x2 & 7)));
  auto apply = [set](uint8_t& byte, uint8_t bits) { byte = set ? uint8_t(byte | bits) : uint8_t(byte & ~bits); };
  if (first == last) return apply(row[first], uint8_t(head & tail));
  apply(row[first], head);
  std::memset(row + first + 1, set ? 0xFF : 0, size_t(last - first - 1));
  apply(row[last], tail);
}

}  // namespace

int64_t TIEMask::FillSpan(uint8_t value, int64_t x1, int64_t y, int64_t x2) {
  if (y < 0 || y >= height_ || data_.empty()) return 0;
  x1 = std::max<int64_t>(x1, 0);
  x2 = std::min<int64_t>(x2, int64_t(width_) - 1);
  if (x1 > x2) return 0;
  uint8_t* row = ScanLine(y);
  if (bits_ == 1)
    FillBits(row, x1, x2, value != 0);
  else
    std::memset(row + x1, value, size_t(x2 - x1 + 1));
  NoteWritten(value);
  return x2 - x1 + 1;
}

}  // namespace quillet
