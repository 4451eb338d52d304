// Engine-wide pixel limit and the checked image size helper.
#include "imaging/core/math.h"

namespace quillet {

namespace {
int64_t gMaxImagePixels = int64_t(1) << 28;
}

int64_t MaxImagePixels() { return gMaxImagePixels; }
void SetMaxImagePixels(int64_t pixels) { gMaxImagePixels = pixels; }

std::optional<int64_t> ImageBytes(int64_t w, int64_t h, int bits) {
  if (w <= 0 || h <= 0 || bits <= 0 || bits > 64) return std::nullopt;
  if (w > gMaxImagePixels || h > gMaxImagePixels || w * h > gMaxImagePixels) return std::nullopt;
  const int64_t row = ((w * bits + 31) / 32) * 4;
  return row * h;
}

}  // namespace quillet
