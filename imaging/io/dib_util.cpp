// Resolution conversion, palettes and white fills of the DIB readers.
#include "imaging/io/dib_util.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/core/math.h"
#include "imaging/io/io_params.h"

namespace quillet {

int32_t DpiOfPixelsPerMetre(int64_t ppm, int32_t fallback) {
  const int64_t dpi = Round(double(ppm) / 100 * 2.54);
  return dpi < 1 ? fallback : int32_t(std::min<int64_t>(dpi, INT32_MAX));
}

int32_t PixelsPerMetreOfDpi(int32_t dpi) { return int32_t(Round(dpi / 2.54 * 100)); }

void StorePalette(const TPaletteTable& table, TIOParamsVals& params) {
  params.SetColorMap(std::vector<TBGR>(table.Colors.begin(), table.Colors.begin() + table.Count));
}

void FillRowsWhite(TIEWorkingBitmap& bitmap, bool topDown, int64_t done) {
  const int64_t h = bitmap.Height();
  const int64_t from = topDown ? done : 0, to = topDown ? h : h - done;
  const uint8_t white = 0xFF;  // white in both 1-bit (index 1) and 24-bit rows
  for (int64_t y = from; y < to; ++y) std::memset(bitmap.ScanLine(y), white, size_t(bitmap.RowBytes()));
}

}  // namespace quillet
