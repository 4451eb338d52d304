// Background styles painted over a small client: hatches, chessboard,
// diagonals and the cropped frames.
#include <gtest/gtest.h>

#include <functional>

#include "imaging/core/engine_settings.h"
#include "imaging/view/background_style.h"
#include "imaging/core/system_colors.h"
#include "tests/view/view_fixtures.h"

namespace quillet {
namespace {

using test::Buffer;

const TBGR kColor{40, 80, 120};
const TBGR kInverse{215, 175, 135};
const TBGR kUntouched{0x77, 0x77, 0x77};

Buffer Painted(TIEBackgroundParams p, int64_t w, int64_t h, TIERect clip = {0, 0, 1000, 1000}) {
  Buffer b(w, h);
  TIERawTarget t = b.Target();
  PaintBackground(t, clip, p);
  return b;
}

TIEBackgroundParams Style(TIEBackgroundStyle style) {
  TIEBackgroundParams p;
  p.Style = style;
  p.Color = kColor;
  return p;
}

void ExpectPattern(const Buffer& b, const std::function<bool(int64_t, int64_t)>& onLine) {
  for (int64_t y = 0; y < b.h; ++y)
    for (int64_t x = 0; x < b.w; ++x) ASSERT_EQ(b.At(x, y), onLine(x, y) ? kColor : kInverse) << x << "," << y;
}

TEST(BackgroundStyle, SolidFillsOnlyTheClip) {
  const Buffer b = Painted(Style(TIEBackgroundStyle::iebsSolid), 4, 3, {1, 1, 3, 2});
  for (int64_t y = 0; y < 3; ++y)
    for (int64_t x = 0; x < 4; ++x) EXPECT_EQ(b.At(x, y), (x >= 1 && x < 3 && y == 1) ? kColor : kUntouched);
}

TEST(BackgroundStyle, HatchesRepeatEveryEightPixelsFromTheOrigin) {
  using S = TIEBackgroundStyle;
  auto h = [](int64_t, int64_t y) { return y % 8 == 0; };
  auto v = [](int64_t x, int64_t) { return x % 8 == 0; };
  // Forward diagonals run from lower left to upper right.
  auto f = [](int64_t x, int64_t y) { return (x + y) % 8 == 0; };
  auto d = [](int64_t x, int64_t y) { return (x - y + 64) % 8 == 0; };
  ExpectPattern(Painted(Style(S::iebsHorizontal), 17, 17), h);
  ExpectPattern(Painted(Style(S::iebsVertical), 17, 17), v);
  ExpectPattern(Painted(Style(S::iebsFDiagonal), 17, 17), f);
  ExpectPattern(Painted(Style(S::iebsBDiagonal), 17, 17), d);
  ExpectPattern(Painted(Style(S::iebsCross), 17, 17), [&](int64_t x, int64_t y) { return h(x, y) || v(x, y); });
  ExpectPattern(Painted(Style(S::iebsDiagCross), 17, 17), [&](int64_t x, int64_t y) { return f(x, y) || d(x, y); });
  // A clipped paint puts the pattern where a whole paint would.
  const Buffer part = Painted(Style(S::iebsFDiagonal), 17, 17, {5, 3, 12, 9});
  EXPECT_EQ(part.At(6, 5), kInverse);
  EXPECT_EQ(part.At(11, 3), kInverse);
  EXPECT_EQ(part.At(10, 6), kColor);
}

TEST(BackgroundStyle, ChessboardStartsInverseAndAlternates) {
  TIEBackgroundParams p = Style(TIEBackgroundStyle::iebsChessboard);
  p.ChessboardSize = 3;
  ExpectPattern(Painted(p, 10, 7), [](int64_t x, int64_t y) { return (x / 3 + y / 3) % 2 == 1; });
  p.ChessboardSize = 0;  // taken as 1
  ExpectPattern(Painted(p, 4, 4), [](int64_t x, int64_t y) { return (x + y) % 2 == 1; });
  // A hatched brush draws the inverse squares' lines over the colour.
  p.ChessboardSize = 8;
  p.ChessboardBrushStyle = TIEBrushStyle::bsHorizontal;
  const Buffer b = Painted(p, 16, 8);
  EXPECT_EQ(b.At(3, 0), kInverse);
  EXPECT_EQ(b.At(3, 1), kColor);
  EXPECT_EQ(b.At(11, 0), kColor);
}

TEST(BackgroundStyle, DiagonalsRunCornerToCorner) {
  const Buffer square = Painted(Style(TIEBackgroundStyle::iebsDiagonals), 4, 4);
  ExpectPattern(square, [](int64_t x, int64_t y) { return x != y && x != 3 - y; });
  const Buffer wide = Painted(Style(TIEBackgroundStyle::iebsDiagonals), 8, 4);
  ExpectPattern(wide, [](int64_t x, int64_t y) { return x / 2 != y && (7 - x) / 2 != y; });
}

TEST(BackgroundStyle, CroppedFramesTheImageWithASunkenEdge) {
  const TIEViewSystemColors& sys = ViewSystemColors();
  ASSERT_EQ(StartupMetrics().EdgeX, 2);
  TIEBackgroundParams p = Style(TIEBackgroundStyle::iebsCropped);
  p.Image = {3, 3, 7, 7};
  const Buffer b = Painted(p, 10, 10);
  EXPECT_EQ(b.At(0, 0), sys.ButtonFace);
  EXPECT_EQ(b.At(1, 1), sys.ButtonShadow);
  EXPECT_EQ(b.At(1, 8), sys.ButtonHighlight);
  EXPECT_EQ(b.At(8, 4), sys.ButtonHighlight);
  EXPECT_EQ(b.At(2, 2), sys.ButtonDarkShadow);
  EXPECT_EQ(b.At(7, 5), sys.ButtonLight);
  EXPECT_EQ(b.At(4, 4), sys.ButtonFace);  // the image goes over it
  p.Image = {3, 3, 4, 7};                 // one pixel wide: no frame
  EXPECT_EQ(Painted(p, 10, 10).At(1, 1), sys.ButtonFace);
}

TEST(BackgroundStyle, CropShadowFadesAwayFromTheImage) {
  EXPECT_EQ(ShadowLevel(0), 93);
  EXPECT_EQ(ShadowLevel(4), 208);
  TIEBackgroundParams p = Style(TIEBackgroundStyle::iebsCropShadow);
  p.Image = {2, 2, 12, 12};
  const Buffer b = Painted(p, 20, 20);
  const TBGR face = ViewSystemColors().ButtonFace;
  auto grey = [](int v) { return TBGR{uint8_t(v), uint8_t(v), uint8_t(v)}; };
  EXPECT_EQ(b.At(12, 4), face);  // starts 3 below the top
  EXPECT_EQ(b.At(12, 5), grey(93));
  EXPECT_EQ(b.At(13, 8), grey(114));
  EXPECT_EQ(b.At(16, 8), grey(208));
  EXPECT_EQ(b.At(17, 8), face);
  EXPECT_EQ(b.At(5, 12), face);  // starts 4 right of the left edge
  EXPECT_EQ(b.At(6, 12), grey(93));
  EXPECT_EQ(b.At(8, 14), grey(139));
  EXPECT_EQ(b.At(12, 12), grey(93));   // the corner takes the brighter level
  EXPECT_EQ(b.At(14, 12), grey(139));
  EXPECT_EQ(b.At(13, 16), grey(208));
}

}  // namespace
}  // namespace quillet
