// Flood fills against Pillow's ImageDraw.floodfill on random two-colour maps
// (diagonal neighbours are not joined), with a solid and a hatched brush, and
// the cases Pillow cannot judge: the brush of the region's own colour and a
// fill of a whole large image.
#include <gtest/gtest.h>

#include <sstream>

#include "imaging/core/canvas.h"
#include "imaging/core/hatch.h"
#include "support/test_support.h"

namespace quillet {
namespace {

constexpr int kW = 41, kH = 29, kMaps = 12;
const TBGR kInk = MakeBGR(250, 20, 10);

// Pillow makes the maps (white with black noise) and floods each from its
// seed with the ink; both are written raw, three bytes per pixel.
TEST(CanvasFlood, RegionsMatchPillow) {
  if (!test::HavePillow()) GTEST_SKIP() << "no python3 with Pillow";
  test::TempDir dir;
  std::ostringstream py;
  py << "import numpy as np\nfrom PIL import Image, ImageDraw\nrng = np.random.default_rng(5)\n"
     << "for i in range(" << kMaps << "):\n"
     << "  a = np.where(rng.random((" << kH << ", " << kW << ")) < 0.35 + 0.02 * i, 0, 255).astype(np.uint8)\n"
     << "  im = Image.fromarray(np.dstack([a, a, a]), 'RGB')\n"
     << "  open(r'" << dir.File("map") << "%d' % i, 'wb').write(im.tobytes())\n"
     << "  ImageDraw.floodfill(im, (i * 3, i * 2), (250, 20, 10))\n"
     << "  open(r'" << dir.File("fill") << "%d' % i, 'wb').write(im.tobytes())\n";
  ASSERT_EQ(test::RunPython(py.str()), 0);
  for (int i = 0; i < kMaps; ++i) {
    const auto map = test::ReadFileBytes(dir.File("map" + std::to_string(i)));
    const auto want = test::ReadFileBytes(dir.File("fill" + std::to_string(i)));
    for (auto style : {TIEBrushStyle::bsSolid, TIEBrushStyle::bsDiagCross}) {
      for (auto format : {TIEPixelFormat::pf24bit, TIEPixelFormat::pf1bit}) {
        TIEWorkingBitmap b(kW, kH, format);
        for (int y = 0; y < kH; ++y)
          for (int x = 0; x < kW; ++x) {
            const uint8_t v = map[size_t(3 * (y * kW + x))];
            TIECanvas(b).SetPixel(x, y, TBGR{v, v, v});
          }
        TIECanvas canvas(b);
        canvas.State().BrushColor = format == TIEPixelFormat::pf1bit ? kBlack : kInk;
        canvas.State().BrushStyle = style;
        const auto seed = *canvas.Pixel(i * 3, i * 2);
        canvas.FloodFill(i * 3, i * 2, seed, TIEFillStyle::fsSurface);
        for (int y = 0; y < kH; ++y)
          for (int x = 0; x < kW; ++x) {
            const size_t at = size_t(3 * (y * kW + x));
            const bool inRegion = want[at] == 250 && want[at + 1] == 20;
            const uint8_t v = map[at];
            const TBGR painted = (inRegion && OnHatch(style, x, y)) ? canvas.State().BrushColor : TBGR{v, v, v};
            ASSERT_EQ(b.Pixel(x, y), painted) << "map " << i << " at " << x << "," << y;
          }
      }
    }
  }
}

TEST(CanvasFlood, EndsOnItsOwnColourAndIgnoresOtherStarts) {
  TIEWorkingBitmap b(20, 10, TIEPixelFormat::pf24bit);
  b.Fill(kWhite);
  TIECanvas canvas(b);
  canvas.State().BrushColor = kWhite;
  canvas.FloodFill(3, 3, kWhite, TIEFillStyle::fsSurface);  // same colour: found first, so it ends
  canvas.State().BrushColor = kInk;
  canvas.FloodFill(-1, 3, kWhite, TIEFillStyle::fsSurface);
  canvas.FloodFill(3, 3, kBlack, TIEFillStyle::fsSurface);  // the start is not of that colour
  canvas.State().BrushStyle = TIEBrushStyle::bsClear;
  canvas.FloodFill(3, 3, kWhite, TIEFillStyle::fsSurface);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(b.Pixel(x, y), kWhite);
  canvas.State().BrushStyle = TIEBrushStyle::bsSolid;
  canvas.FloodFill(19, 9, kWhite, TIEFillStyle::fsSurface);
  EXPECT_EQ(b.Pixel(0, 0), kInk);
}

TEST(CanvasFlood, FillsAWholeLargeImage) {
  TIEWorkingBitmap b(8000, 6000, TIEPixelFormat::pf1bit);
  b.Fill(kWhite);
  TIECanvas canvas(b);
  canvas.State().BrushColor = kBlack;
  canvas.FloodFill(4000, 3000, kWhite, TIEFillStyle::fsSurface);
  for (int64_t y : {0, 2999, 5999})
    for (int64_t x : {0, 4001, 7999}) ASSERT_EQ(b.Pixel(x, y), kBlack);
}

}  // namespace
}  // namespace quillet
