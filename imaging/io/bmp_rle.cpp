// RLE8/RLE4 decoding: runs, literals, end of line, end of bitmap and delta.
#include "imaging/io/bmp_rle.h"

namespace quillet {

namespace {

class TRleCursor {
 public:
  TRleCursor(TIEWorkingBitmap& bitmap, const TPaletteTable& palette) : bitmap_(bitmap), palette_(palette) {}

  // Pixel at the cursor, then one step right; clipped to the image.
  void Put(unsigned index) {
    if (x_ < bitmap_.Width() && row_ < bitmap_.Height()) {
      uint8_t* p = bitmap_.ScanLine(bitmap_.Height() - 1 - row_) + 3 * x_;
      const TBGR c = palette_.Colors[index & 255];
      p[0] = c.b, p[1] = c.g, p[2] = c.r;
    }
    ++x_;
  }
  void NextLine() { ++row_, x_ = 0; }
  void Move(int dx, int dy) { x_ += dx, row_ += dy; }
  bool PastTop() const { return row_ >= bitmap_.Height(); }
  int64_t Row() const { return row_; }

 private:
  TIEWorkingBitmap& bitmap_;
  const TPaletteTable& palette_;
  int64_t x_ = 0, row_ = 0;
};

}  // namespace

TBmpRleResult DecodeBmpRle(const uint8_t* data, int64_t size, int bits, const TPaletteTable& palette,
                           TIEWorkingBitmap& bitmap, const TIOProgress& progress) {
  TRleCursor cursor(bitmap, palette);
  const int64_t height = bitmap.Height();
  int64_t i = 0;
  while (i + 2 <= size) {
    const unsigned count = data[i], value = data[i + 1];
    i += 2;
    if (count > 0) {
      for (unsigned k = 0; k < count; ++k)
        cursor.Put(bits == 8 ? value : (k & 1) ? value & 15 : value >> 4);
      continue;
    }
    if (value == 0) {
      cursor.NextLine();
      progress.Report(int(cursor.Row() * 100 / height));
      if (cursor.PastTop()) return TBmpRleResult::rlrComplete;
      if (progress.Aborted()) return TBmpRleResult::rlrCancelled;
    } else if (value == 1) {
      return TBmpRleResult::rlrComplete;
    } else if (value == 2) {
      if (i + 2 > size) break;
      cursor.Move(data[i], data[i + 1]);
      i += 2;
      if (cursor.PastTop()) return TBmpRleResult::rlrComplete;
    } else {
      const int64_t bytes = bits == 8 ? value : (value + 1) / 2;
      if (i + bytes > size) break;
      for (unsigned k = 0; k < value; ++k)
        cursor.Put(bits == 8 ? data[i + k] : (k & 1) ? data[i + k / 2] & 15 : data[i + k / 2] >> 4);
      i += bytes + (bytes & 1);
    }
  }
  return TBmpRleResult::rlrTruncated;
}

}  // namespace quillet
