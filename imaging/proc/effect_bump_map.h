// Bump mapping with a coloured light: the grey levels of an area lit from a
// point through the light map, a 256 x 256 table of a round spot falling
// off from its centre.
#pragma once

#include <cstdint>

#include "imaging/core/colors.h"
#include "imaging/core/working_bitmap.h"
#include "imaging/proc/effect_area.h"
#include "imaging/proc/proc_rows.h"

namespace quillet {

// Entry [i][j]: min(trunc(max(0, 1 - sqrt(u^2 + v^2)) * 256), 255) with
// u = (i - 128) / 128, v = (j - 128) / 128: 255 at the centre, 0 outside.
const uint8_t* BumpLightMap();

// The light spot centred at (x, y) of the image, `width` x `height` pixels,
// in `light`; `quantity` (0..100) percent of the source stays. A light of
// no width or height, other formats and a cancelled run change nothing.
void ApplyBumpMap(TIEWorkingBitmap& image, const TIEArea& area, int32_t x, int32_t y, int32_t width,
                  int32_t height, TBGR light, int32_t quantity, const TIEProcWatch& control = {});

}  // namespace quillet
