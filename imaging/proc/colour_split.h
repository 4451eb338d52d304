// Splitting a 24-bit image into three grey images of its size: its red,
// green and blue channels, or its hue, saturation and value.
#pragma once

#include "imaging/core/working_bitmap.h"
#include "imaging/proc/colour_area.h"

namespace quillet {

// Each target becomes a 24-bit image of the source's size whose pixel is
// (R, R, R), (G, G, G) or (B, B, B). Progress trunc(rows done * 100 / height).
// A source of another format leaves the targets alone.
void SplitChannelsRGB(const TIEWorkingBitmap& source, TIEWorkingBitmap& red, TIEWorkingBitmap& green,
                      TIEWorkingBitmap& blue, const TIEProcWatch& watch = {});
// As SplitChannelsRGB with the integer HSV of each pixel scaled to 0..255:
// trunc(H / 359 * 255), trunc(S / 99 * 255), trunc(V / 99 * 255).
void SplitChannelsHSV(const TIEWorkingBitmap& source, TIEWorkingBitmap& hue, TIEWorkingBitmap& saturation,
                      TIEWorkingBitmap& value, const TIEProcWatch& watch = {});

}  // namespace quillet
