// Resolution equalising, with a nearest-neighbour stretch.
#include "imaging/io/auto_dpi.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/core/bits.h"
#include "imaging/core/math.h"

namespace quillet {

namespace {

// Source column of every destination column.
std::vector<int64_t> ColumnMap(int64_t from, int64_t to) {
  std::vector<int64_t> map(static_cast<size_t>(to));
  for (int64_t x = 0; x < to; ++x) map[size_t(x)] = x * from / to;
  return map;
}

void StretchRow24(const uint8_t* src, uint8_t* dst, const std::vector<int64_t>& columns) {
  for (const int64_t sx : columns) {
    std::memcpy(dst, src + 3 * sx, 3);
    dst += 3;
  }
}

void StretchRow1(const uint8_t* src, uint8_t* dst, const std::vector<int64_t>& columns) {
  for (size_t x = 0; x < columns.size(); ++x) SetBit(dst, int64_t(x), GetBit(src, columns[x]));
}

}  // namespace

bool ResampleNearest(TIEWorkingBitmap& bitmap, int64_t width, int64_t height) {
  const TIEPixelFormat format = bitmap.PixelFormat();
  if (format != TIEPixelFormat::pf1bit && format != TIEPixelFormat::pf24bit) return false;
  if (bitmap.Empty() || !ImageBytes(width, height, bitmap.BitCount())) return false;
  // Resizing in place keeps the bitmap's identity (canvas, change count).
  const TIEWorkingBitmap source = bitmap;
  bitmap.Resize(0, 0, format);
  bitmap.Resize(width, height, format);
  const std::vector<int64_t> columns = ColumnMap(source.Width(), width);
  for (int64_t y = 0; y < height; ++y) {
    const uint8_t* src = source.ScanLine(y * source.Height() / height);
    if (format == TIEPixelFormat::pf24bit)
      StretchRow24(src, bitmap.ScanLine(y), columns);
    else
      StretchRow1(src, bitmap.ScanLine(y), columns);
  }
  bitmap.Palette() = source.Palette();
  return true;
}

bool EqualizeDpi(TIEWorkingBitmap& bitmap, TIOParamsVals& params) {
  const int32_t dpiX = params.DpiX, dpiY = params.DpiY;
  if (dpiX == dpiY || dpiX <= 0 || dpiY <= 0 || bitmap.Empty()) return false;
  const int64_t w = bitmap.Width(), h = bitmap.Height();
  if (h < w) {
    const int64_t newHeight = std::max<int64_t>(1, Trunc(double(h) / dpiY * dpiX));
    if (!ResampleNearest(bitmap, w, newHeight)) return false;
    params.DpiY = dpiX;
    params.Height = int32_t(newHeight);
  } else {
    const int64_t newWidth = std::max<int64_t>(1, Trunc(double(w) / dpiX * dpiY));
    if (!ResampleNearest(bitmap, newWidth, h)) return false;
    params.DpiX = dpiY;
    params.Width = int32_t(newWidth);
  }
  return true;
}

}  // namespace quillet
