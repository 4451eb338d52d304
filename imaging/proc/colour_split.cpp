#include "imaging/proc/colour_split.h"

#include <array>

#include "imaging/proc/colour_cache.h"
#include "imaging/proc/colour_spaces.h"

namespace quillet {

namespace {

// Runs split(source pixel, three output pixels) over every pixel, the
// targets first made the source's size.
template <class Split>
void SplitPixels(const TIEWorkingBitmap& source, std::array<TIEWorkingBitmap*, 3> targets, const TIEProcWatch& watch,
                 Split split) {
  if (source.PixelFormat() != TIEPixelFormat::pf24bit) return;
  const int64_t w = source.Width(), h = source.Height();
  for (TIEWorkingBitmap* t : targets)
    if (!t->AllocateUninitialised(w, h, TIEPixelFormat::pf24bit)) return;
  RunAreaRows(0, h, 12 * w, double(h), watch, [&](int64_t y) {
    const uint8_t* p = source.ScanLine(y);
    uint8_t *a = targets[0]->ScanLine(y), *b = targets[1]->ScanLine(y), *c = targets[2]->ScanLine(y);
    for (int64_t x = 0; x < w; ++x, p += 3, a += 3, b += 3, c += 3) split(p, a, b, c);
  });
}

void Grey3(uint8_t* p, uint8_t v) { p[0] = p[1] = p[2] = v; }

}  // namespace

void SplitChannelsRGB(const TIEWorkingBitmap& source, TIEWorkingBitmap& red, TIEWorkingBitmap& green,
                      TIEWorkingBitmap& blue, const TIEProcWatch& watch) {
  SplitPixels(source, {&red, &green, &blue}, watch, [](const uint8_t* p, uint8_t* r, uint8_t* g, uint8_t* b) {
    Grey3(r, p[2]), Grey3(g, p[1]), Grey3(b, p[0]);
  });
}

void SplitChannelsHSV(const TIEWorkingBitmap& source, TIEWorkingBitmap& hue, TIEWorkingBitmap& saturation,
                      TIEWorkingBitmap& value, const TIEProcWatch& watch) {
  // The three grey levels as one colour (hue in red, saturation in green, value in blue).
  const auto levels = [](const uint8_t* p) {
    const THSV c = RGBToHSV(p[2], p[1], p[0]);
    // Whole-number arithmetic: trunc(H / 359 * 255) is H * 255 div 359 exactly.
    return MakeBGR(uint8_t(c.H * 255 / 359), uint8_t(c.S * 255 / 99), uint8_t(c.V * 255 / 99));
  };
  const auto write = [](TBGR c, uint8_t* h, uint8_t* s, uint8_t* v) { Grey3(h, c.r), Grey3(s, c.g), Grey3(v, c.b); };
  if (source.Width() * source.Height() < kColourCachePixels)
    return SplitPixels(source, {&hue, &saturation, &value}, watch,
                       [&](const uint8_t* p, uint8_t* h, uint8_t* s, uint8_t* v) { write(levels(p), h, s, v); });
  const TColourCache cache(THSVLevelKey::kKeys);
  const THSVLevelKey key;
  SplitPixels(source, {&hue, &saturation, &value}, watch, [&](const uint8_t* p, uint8_t* h, uint8_t* s, uint8_t* v) {
    write(cache.Get(key(p), [&] { return levels(p); }), h, s, v);
  });
}

}  // namespace quillet
