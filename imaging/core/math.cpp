// The checked image size helper.
#include "imaging/core/math.h"

#include "imaging/core/engine_settings.h"

namespace quillet {

std::optional<int64_t> ImageBytes(int64_t w, int64_t h, int bits) {
  if (w <= 0 || h <= 0 || bits <= 0 || bits > 64) return std::nullopt;
  const int64_t limit = MaxImagePixels();
  if (w > limit || h > limit || w * h > limit) return std::nullopt;
  const int64_t row = ((w * bits + 31) / 32) * 4;
  return row * h;
}

}  // namespace quillet
