// The adjustments whose result for a channel is a function of that channel
// alone: a table per channel, one pass over the rows.
#include "imaging/proc/colour_adjust.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "imaging/core/math.h"

namespace quillet {

namespace {

using TTable = std::array<uint8_t, 256>;
// Blue, green, red, as the bytes of a pixel.
using TTables = std::array<TTable, 3>;

uint8_t Clamp255(int64_t v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); }

TTable Identity() {
  TTable t;
  for (int k = 0; k < 256; ++k) t[size_t(k)] = uint8_t(k);
  return t;
}

// One row through the tables, four pixels (twelve bytes) at a time held
// in locals, so that the stores cannot be taken to change the tables.
void MapRow(uint8_t* p, int64_t width, const TTables& tables) {
  const TTables t = tables;
  int64_t x = 0;
  for (; x + 4 <= width; x += 4, p += 12) {
    uint8_t v[12];
    std::memcpy(v, p, 12);
    for (size_t i = 0; i < 12; ++i) v[i] = t[i % 3][v[i]];
    std::memcpy(p, v, 12);
  }
  for (; x < width; ++x, p += 3) p[0] = t[0][p[0]], p[1] = t[1][p[1]], p[2] = t[2][p[2]];
}

// The tables applied to every pixel of the area; identical tables change nothing.
void MapChannels(TIEWorkingBitmap& image, const TIEArea& whole, const TTables& t, const TIEProcWatch& watch) {
  const std::optional<TIEArea> area = Area24(image, whole);
  const TTable same = Identity();
  if (!area || (t[0] == same && t[1] == same && t[2] == same)) return;
  RunAreaRows(*area, watch, [&](int64_t y) { MapRow(image.ScanLine(y) + 3 * area->X1, area->Width(), t); });
}

template <class F>
TTables Tables(F channel) {
  TTables t;
  for (int c = 0; c < 3; ++c)
    for (int k = 0; k < 256; ++k) t[size_t(c)][size_t(k)] = channel(c, k);
  return t;
}

uint8_t Channel(TBGR c, int i) { return i == 0 ? c.b : i == 1 ? c.g : c.r; }

// round(num / den) with ties to even, clamped to 0..255; den > 0.
uint8_t RoundRatio(int64_t num, int64_t den) {
  if (num <= 0) return 0;
  const int64_t q = num / den, twice = 2 * (num % den);
  return Clamp255(q + (twice > den || (twice == den && q % 2 == 1)));
}

}  // namespace

void AdjustContrast(TIEWorkingBitmap& image, const TIEArea& area, int contrast, TBGR centre,
                    const TIEProcWatch& watch) {
  const double x = contrast >= 0 ? contrast / 10.0 + 1 : 1 - std::sqrt(-double(contrast)) / 10;
  MapChannels(image, area, Tables([&](int c, int k) {
                const int m = Channel(centre, c);
                const double v = (k - m) * x;
                // A product whose exact value is whole must not truncate one below it.
                return Clamp255(m + Trunc(v + std::copysign(1e-9, v)));
              }),
              watch);
}

void AddRGB(TIEWorkingBitmap& image, const TIEArea& area, int dR, int dG, int dB, const TIEProcWatch& watch) {
  const int shift[3] = {dB, dG, dR};
  MapChannels(image, area, Tables([&](int c, int k) { return Clamp255(k + shift[c]); }), watch);
}

void ThresholdLevels(TIEWorkingBitmap& image, const TIEArea& area, TBGR low, TBGR high, TBGR below, TBGR above,
                     const TIEProcWatch& watch) {
  if (low == kBlack && high == kWhite) return;
  MapChannels(image, area, Tables([&](int c, int k) {
                const int v = k <= Channel(low, c) ? Channel(below, c) : k;
                return v > Channel(high, c) ? Channel(above, c) : uint8_t(v);
              }),
              watch);
}

void StretchLevels(TIEWorkingBitmap& image, const TIEArea& area, TBGR dark, TBGR light, const TIEProcWatch& watch) {
  light = TBGR{std::max<uint8_t>(light.b, 1), std::max<uint8_t>(light.g, 1), std::max<uint8_t>(light.r, 1)};
  if (light == dark) return;
  MapChannels(image, area, Tables([&](int c, int k) {
                const int d = Channel(dark, c), l = Channel(light, c);
                const uint8_t black = RoundRatio(int64_t(k - d) * 255, d == 255 ? 1 : 255 - d);
                return RoundRatio(int64_t(black) * 255, l);
              }),
              watch);
}

}  // namespace quillet
