// The HSL and HSV shifts: each pixel through the colour space and back.
#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <new>

#include "imaging/proc/colour_adjust.h"
#include "imaging/proc/colour_spaces.h"

namespace quillet {

namespace {

// The shifted colour of every 0..99 level triple, computed when first met:
// on that scale a photograph has far fewer colours than pixels. Entries are
// written by whichever thread meets them first, always with the same value.
class THSVShiftCache {
 public:
  THSVShiftCache(int hue, int saturation, int value)
      : entries_(static_cast<uint32_t*>(std::calloc(kEntries, sizeof(uint32_t))), &std::free),
        hue_(hue % 360), saturation_(std::clamp(saturation, -99, 99)), value_(std::clamp(value, -99, 99)) {
    if (!entries_) throw std::bad_alloc();
    for (int k = 0; k < 256; ++k) levels_[size_t(k)] = uint8_t(ChannelTo99(uint8_t(k)));
  }

  // The pixel (blue, green, red) shifted.
  void Shift(uint8_t* p) const {
    const size_t key = (size_t(levels_[p[2]]) * 100 + levels_[p[1]]) * 100 + levels_[p[0]];
    std::atomic_ref<uint32_t> entry(entries_.get()[key]);
    uint32_t rgb = entry.load(std::memory_order_relaxed);
    if (!rgb) {
      const THSV c = RGBToHSV(p[2], p[1], p[0]);
      const TBGR out = HSVToRGB(((c.H + hue_) % 360 + 360) % 360, c.S + saturation_, c.V + value_);
      rgb = kFilled | uint32_t(out.r) << 16 | uint32_t(out.g) << 8 | out.b;
      entry.store(rgb, std::memory_order_relaxed);
    }
    p[0] = uint8_t(rgb), p[1] = uint8_t(rgb >> 8), p[2] = uint8_t(rgb >> 16);
  }

 private:
  static constexpr size_t kEntries = 100 * 100 * 100;
  static constexpr uint32_t kFilled = 1u << 24;
  std::unique_ptr<uint32_t, decltype(&std::free)> entries_;
  std::array<uint8_t, 256> levels_;
  int hue_, saturation_, value_;
};

}  // namespace

void AdjustHSL(TIEWorkingBitmap& image, const TIEArea& whole, int hue, int saturation, int luminosity,
               const TIEAreaProgress& watch) {
  const std::optional<TIEArea> area = Area24(image, whole);
  if (!area || (hue == 0 && saturation == 0 && luminosity == 0)) return;
  const double dh = hue / 360.0, ds = saturation / 100.0, dl = luminosity / 100.0;
  RunAreaRows(*area, watch, [&](int64_t y) {
    uint8_t* p = image.ScanLine(y) + 3 * area->X1;
    for (int64_t x = 0; x < area->Width(); ++x, p += 3) {
      const THSL c = RGBToHSL(p[2], p[1], p[0]);
      const double h = c.H + dh;
      const TBGR out = HSLToRGB(h - std::floor(h), c.S + ds, c.L + dl);
      p[0] = out.b, p[1] = out.g, p[2] = out.r;
    }
  });
}

void AdjustHSV(TIEWorkingBitmap& image, const TIEArea& whole, int hue, int saturation, int value,
               const TIEAreaProgress& watch) {
  const std::optional<TIEArea> area = Area24(image, whole);
  if (!area || (hue == 0 && saturation == 0 && value == 0)) return;
  const THSVShiftCache cache(hue, saturation, value);
  RunAreaRows(*area, watch, [&](int64_t y) {
    uint8_t* p = image.ScanLine(y) + 3 * area->X1;
    for (int64_t x = 0; x < area->Width(); ++x, p += 3) cache.Shift(p);
  });
}

}  // namespace quillet
