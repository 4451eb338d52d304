// The morphological filters of the effects: maximum, minimum, opening and
// closing on the grey level, each pixel taking the whole colour of the pixel
// its window picks.
#pragma once

#include <cstdint>

#include "imaging/core/working_bitmap.h"
#include "imaging/proc/effect_area.h"
#include "imaging/proc/proc_rows.h"

namespace quillet {

enum class TIEMorphFilter { mfMaximum = 0, mfMinimum = 1, mfOpening = 2, mfClosing = 3 };

// `filter` 0..3 (other values change nothing) over windows of offsets
// -window..window in both directions, limited to the area; a window under
// 1 counts as 1. The first pixel in row-major order with the best grey
// wins, and a maximum whose window is all grey 0 keeps its centre. Other
// formats and a cancelled run change nothing.
void ApplyMorph(TIEWorkingBitmap& image, const TIEArea& area, int32_t filter, int32_t window,
                const TIEProcWatch& control = {});

}  // namespace quillet
