// Mirroring a 1-bit or 24-bit image in place, its rows shared between the cores.
#pragma once

#include <cstdint>
#include <functional>

#include "imaging/core/working_bitmap.h"

namespace quillet {

// Every row in reverse; progress(rows finished) on the calling thread.
void MirrorImage(TIEWorkingBitmap& image, const std::function<void(int64_t)>& progress = {});
// The rows in reverse order.
void FlipImageVertically(TIEWorkingBitmap& image);

}  // namespace quillet
