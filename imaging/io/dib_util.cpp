// Resolution conversion and palettes of the DIB readers.
#include "imaging/io/dib_util.h"

#include <algorithm>
#include <vector>

#include "imaging/core/math.h"
#include "imaging/core/engine_settings.h"
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

void StoreDibResolution(const TDibHeader& header, TIOParamsVals& params) {
  params.DpiX = DpiOfPixelsPerMetre(header.XPelsPerMeter, StartupMetrics().DpiX);
  params.DpiY = DpiOfPixelsPerMetre(header.YPelsPerMeter, StartupMetrics().DpiY);
}

}  // namespace quillet
