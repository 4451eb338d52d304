// Resolution equalising through the triangle-filter resampler.
#include "imaging/io/auto_dpi.h"

#include <algorithm>

#include "imaging/core/math.h"
#include "imaging/proc/resample.h"

namespace quillet {

namespace {

// The triangle kernel for colour images; 1-bit images, and sources too small
// for the filter, are stretched plainly.
bool ResampleTriangle(TIEWorkingBitmap& bitmap, int64_t width, int64_t height) {
  if (!ImageBytes(width, height, bitmap.BitCount())) return false;
  TIEWorkingBitmap result;
  const bool filtered = bitmap.PixelFormat() == TIEPixelFormat::pf24bit &&
                        ResampleColour(bitmap, result, width, height, TResampleFilter::rfTriangle);
  if (!filtered && !StretchNearest(bitmap, result, width, height)) return false;
  bitmap.Replace(std::move(result));
  return true;
}

}  // namespace

bool EqualizeDpi(TIEWorkingBitmap& bitmap, TIOParamsVals& params) {
  const int32_t dpiX = params.DpiX, dpiY = params.DpiY;
  if (dpiX == dpiY || dpiX <= 0 || dpiY <= 0 || bitmap.Empty()) return false;
  const int64_t w = bitmap.Width(), h = bitmap.Height();
  if (h < w) {
    const int64_t newHeight = std::max<int64_t>(1, Trunc(double(h) / dpiY * dpiX));
    if (!ResampleTriangle(bitmap, w, newHeight)) return false;
    params.DpiY = dpiX;
    params.Height = int32_t(newHeight);
  } else {
    const int64_t newWidth = std::max<int64_t>(1, Trunc(double(w) / dpiX * dpiY));
    if (!ResampleTriangle(bitmap, newWidth, h)) return false;
    params.DpiX = dpiY;
    params.Width = int32_t(newWidth);
  }
  return true;
}

}  // namespace quillet
