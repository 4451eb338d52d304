// The HSL and HSV shifts: each pixel through the colour space and back.
#include <algorithm>
#include <cmath>

#include "imaging/proc/colour_adjust.h"
#include "imaging/proc/colour_cache.h"
#include "imaging/proc/colour_spaces.h"

namespace quillet {

namespace {

// Every pixel of the area becomes shift(its colour), through a cache of
// `keys` entries when the area has `cachePixels` pixels or more.
template <class Key, class Shift>
void ShiftColours(TIEWorkingBitmap& image, const TIEArea& area, const TIEProcWatch& watch, int64_t cachePixels,
                  size_t keys, Key key, Shift shift) {
  const auto apply = [&](auto&& colourOf) {
    RunAreaRows(area, watch, [&](int64_t y) {
      uint8_t* p = image.ScanLine(y) + 3 * area.X1;
      for (int64_t x = 0; x < area.Width(); ++x, p += 3) {
        const TBGR c = colourOf(p);
        p[0] = c.b, p[1] = c.g, p[2] = c.r;
      }
    });
  };
  if (area.Width() * area.Height() < cachePixels) return apply(shift);
  const TColourCache cache(keys);
  apply([&](const uint8_t* p) { return cache.Get(key(p), [&] { return shift(p); }); });
}

}  // namespace

void AdjustHSL(TIEWorkingBitmap& image, const TIEArea& whole, int hue, int saturation, int luminosity,
               const TIEProcWatch& watch) {
  const std::optional<TIEArea> area = Area24(image, whole);
  if (!area || (hue == 0 && saturation == 0 && luminosity == 0)) return;
  const double dh = hue / 360.0, ds = saturation / 100.0, dl = luminosity / 100.0;
  // The colour cache spans 64 MiB, whose pages cost more to touch than the
  // arithmetic they save until the image is large.
  constexpr int64_t kHslCachePixels = int64_t(1) << 22;
  ShiftColours(image, *area, watch, kHslCachePixels, TColourCache::kColours, TColourCache::ColourKey,
               [&](const uint8_t* p) {
    const THSL c = RGBToHSL(p[2], p[1], p[0]);
    const double h = c.H + dh;
    return HSLToRGB(h - std::floor(h), c.S + ds, c.L + dl);
  });
}

// The result depends on the 0..99 levels of the channels alone, so they are the key.
void AdjustHSV(TIEWorkingBitmap& image, const TIEArea& whole, int hue, int saturation, int value,
               const TIEProcWatch& watch) {
  const std::optional<TIEArea> area = Area24(image, whole);
  if (!area || (hue == 0 && saturation == 0 && value == 0)) return;
  hue %= 360, saturation = std::clamp(saturation, -99, 99), value = std::clamp(value, -99, 99);
  ShiftColours(image, *area, watch, kColourCachePixels, THSVLevelKey::kKeys, THSVLevelKey(), [&](const uint8_t* p) {
    const THSV c = RGBToHSV(p[2], p[1], p[0]);
    return HSVToRGB(((c.H + hue) % 360 + 360) % 360, c.S + saturation, c.V + value);
  });
}

}  // namespace quillet
