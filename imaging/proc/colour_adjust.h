// The colour adjustments on an area of a 24-bit image, in place: contrast,
// RGB shift, HSL and HSV shifts, level thresholds and stretching, automatic
// equalization. Other formats and empty areas are left alone. Each reports
// per = trunc((rows done) * 100 / (rows - 0.5)), clamped to 0..100, and
// stops at the next row once the abort flag is set.
#pragma once

#include "imaging/core/colors.h"
#include "imaging/core/working_bitmap.h"
#include "imaging/proc/colour_area.h"

namespace quillet {

// contrast -100..100 around `centre`: each channel c becomes
// m + trunc((c - m) * x), x = contrast / 10 + 1 (0 and up) or
// 1 - sqrt(-contrast) / 10 (below 0).
void AdjustContrast(TIEWorkingBitmap& image, const TIEArea& area, int contrast, TBGR centre,
                    const TIEProcWatch& watch = {});
// Each channel plus its shift (-255..255), clamped. Brightness is the same
// shift on all three.
void AddRGB(TIEWorkingBitmap& image, const TIEArea& area, int dR, int dG, int dB, const TIEProcWatch& watch = {});
// Hue in degrees (wrapping), saturation and luminosity in percent (clamped).
void AdjustHSL(TIEWorkingBitmap& image, const TIEArea& area, int hue, int saturation, int luminosity,
               const TIEProcWatch& watch = {});
// On the integer HSV scale: hue in degrees (wrapping), saturation and value
// in units of 0..99 (clamped).
void AdjustHSV(TIEWorkingBitmap& image, const TIEArea& area, int hue, int saturation, int value,
               const TIEProcWatch& watch = {});
// Per channel: at or below low's it becomes below's; then above high's, above's.
// Low black with high white changes nothing.
void ThresholdLevels(TIEWorkingBitmap& image, const TIEArea& area, TBGR low, TBGR high, TBGR below, TBGR above,
                     const TIEProcWatch& watch = {});
// `dark` becomes the black point, then `light` (measured after that) the white point.
void StretchLevels(TIEWorkingBitmap& image, const TIEArea& area, TBGR dark, TBGR light,
                   const TIEProcWatch& watch = {});
// Spreads the grey levels of the image over the output range, pixel by
// pixel with its 3 x 3 neighbourhood. An image of fewer than 256 pixels is
// left as it is; an aborted run changes nothing.
void AutoEqualizeArea(TIEWorkingBitmap& image, const TIEArea& area, const TIEProcWatch& watch = {});

}  // namespace quillet
