// The row loops of grey, negative and the flips against a pixel-by-pixel
// reference, on widths around the vector lengths and on an image large
// enough to be shared between threads.
#include <gtest/gtest.h>

#include "imaging/core/bits.h"
#include "imaging/proc/flip.h"
#include "imaging/proc/point_ops.h"
#include "proc/proc_images.h"

namespace quillet {
namespace {

using test::MakeImage;
using test::SamePixels;

TIEWorkingBitmap Noise(int w, int h) {
  return MakeImage(w, h, [](int x, int y) {
    const uint32_t v = uint32_t(x * 2654435761u ^ y * 40503u) * 2246822519u;
    return MakeBGR(uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8));
  });
}

TEST(PointOps, RowLoopsMatchThePixelRule) {
  for (const auto& [w, h] : {std::pair{1, 1}, {2, 3}, {37, 5}, {301, 2}, {1003, 701}}) {
    const TIEWorkingBitmap source = Noise(w, h);
    TIEWorkingBitmap grey = source, negative = source, mirrored = source, flipped = source;
    GreyImage(grey);
    InvertImage(negative);
    MirrorImage(mirrored);
    FlipImageVertically(flipped);
    const auto expected = [&](auto rule) { return MakeImage(w, h, rule); };
    EXPECT_TRUE(SamePixels(grey, expected([&](int x, int y) {
      const auto v = uint8_t(GreyLevel(source.Pixel(x, y)));
      return MakeBGR(v, v, v);
    }))) << w;
    EXPECT_TRUE(SamePixels(negative, expected([&](int x, int y) {
      const TBGR c = source.Pixel(x, y);
      return MakeBGR(uint8_t(~c.r), uint8_t(~c.g), uint8_t(~c.b));
    }))) << w;
    EXPECT_TRUE(SamePixels(mirrored, expected([&](int x, int y) { return source.Pixel(w - 1 - x, y); }))) << w;
    EXPECT_TRUE(SamePixels(flipped, expected([&](int x, int y) { return source.Pixel(x, h - 1 - y); }))) << w;
  }
}

}  // namespace
}  // namespace quillet
