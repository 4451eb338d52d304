// The histogram of an area (red, green, blue and grey counts of each level)
// and the average colour of an image: the statistics that the colour
// operations and the histogram control read.
#pragma once

#include <array>
#include <cstdint>

#include "imaging/core/colors.h"
#include "imaging/core/working_bitmap.h"
#include "imaging/proc/colour_area.h"

namespace quillet {

struct THistogramEntry {
  uint32_t Red = 0, Green = 0, Blue = 0, Gray = 0;
  friend bool operator==(const THistogramEntry&, const THistogramEntry&) = default;
};
// Entry v counts the pixels whose red (green, blue, grey level) is v.
using TIEHistogram = std::array<THistogramEntry, 256>;

// Zeroes `histogram`, then counts the pixels of the area of a 24-bit image.
void AreaHistogram(const TIEWorkingBitmap& image, const TIEArea& area, TIEHistogram& histogram);

// The mean of each channel over the area of a 24-bit image, truncated;
// (128, 128, 128) for an empty area or another format.
TBGR AverageColour(const TIEWorkingBitmap& image, const TIEArea& area = {}, const TIEProcWatch& watch = {});

}  // namespace quillet
