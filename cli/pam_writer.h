// Writes a decoded image as a PAM file (RGB, or RGB_ALPHA with an alpha plane),
// the raw form that outside tools compare against.
#pragma once

#include <string>

#include "imaging/core/mask.h"
#include "imaging/core/stream.h"
#include "imaging/core/working_bitmap.h"

namespace quillet::cli {

// Writes rows top to bottom as R, G, B bytes (1-bit pixels as 0 and 255),
// followed by A when an alpha plane of the image's size is given.
bool WritePam(const TIEWorkingBitmap& bitmap, const TIEMask* alpha, TIEStream& out);

}  // namespace quillet::cli
