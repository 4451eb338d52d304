// Circular waves of the effects: each pixel takes the pixel of a copy of the
// image displaced along a sine of its distance from the centre, sampled
// bilinearly.
#pragma once

#include <cstdint>

#include "imaging/core/working_bitmap.h"
#include "imaging/proc/proc_rows.h"

namespace quillet {

// Waves of `amplitude` pixels, `waveLength` and `phase` (degrees); a
// reflective wave moves each pixel along the line from the centre through it.
// No amplitude or wave length, other formats and a cancelled run change nothing.
void ApplyWave(TIEWorkingBitmap& image, int32_t amplitude, int32_t waveLength, int32_t phase, bool reflective,
               const TIEProcWatch& control = {});

}  // namespace quillet
