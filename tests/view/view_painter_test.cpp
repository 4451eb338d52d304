// The view's painters byte for byte on small images: zooms, scrolling, clip,
// 1-bit sources, alpha blending, filled selection, grid and the filtered path.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "imaging/view/view_painter.h"
#include "tests/view/view_fixtures.h"

namespace quillet {
namespace {

using test::Buffer;
using test::Geometry;
using test::Numbered;

const TBGR kBack{30, 20, 10};

TBGR At(const TIEWorkingBitmap& b, int64_t x, int64_t y) { return b.Pixel(x, y); }
TBGR Inv(TBGR c) { return TBGR{uint8_t(~c.b), uint8_t(~c.g), uint8_t(~c.r)}; }
TBGR Grey(uint8_t v) { return TBGR{v, v, v}; }

struct Scene {
  TIEWorkingBitmap bitmap;
  TIEViewGeometry g;
  TIEMask alpha, selection;
  TIEPaintOptions options;
  TIEViewPainter painter;
  Buffer buffer;
  bool filled = false;

  Scene(TIEWorkingBitmap image, int64_t clientW, int64_t clientH)
      : bitmap(std::move(image)), g(Geometry(bitmap.Width(), bitmap.Height(), clientW, clientH)),
        buffer(clientW, clientH) {
    alpha.Allocate(bitmap.Width(), bitmap.Height(), 8);
    alpha.Fill(255);
    selection.Allocate(bitmap.Width(), bitmap.Height(), 1);
    options.Background = kBack;
  }
  TIEViewImage Image() const { return {&bitmap, &alpha, filled ? &selection : nullptr}; }
  void Paint(TIERect clip) {
    TIERawTarget t = buffer.Target();
    painter.PaintFast(t, clip, g, Image(), options);
  }
  void Paint() { Paint({0, 0, buffer.w, buffer.h}); }
  TBGR Out(int64_t x, int64_t y) const { return buffer.At(x, y); }
};

TEST(ViewPainter, AnEmptyViewShowsTheBackgroundAndRepaintsOnlyWhenAsked) {
  TIEWorkingBitmap empty;
  Scene s(std::move(empty), 6, 4);
  EXPECT_TRUE(s.painter.PaintRect(s.g, s.Image(), s.options));
  const TIEBackBuffer& back = s.painter.BackBuffer();
  ASSERT_EQ(back.Width(), 6);
  ASSERT_EQ(back.Height(), 4);
  EXPECT_EQ(back.RowBytes(), 20);
  for (int64_t y = 0; y < 4; ++y)
    for (int64_t x = 0; x < 6; ++x) {
      const uint8_t* p = back.ScanLine(y) + 3 * x;
      EXPECT_EQ((TBGR{p[0], p[1], p[2]}), kBack);
    }
  EXPECT_FALSE(s.painter.PaintRect(s.g, s.Image(), s.options));
  s.g.SetBounds(7, 4);  // a resize redraws
  EXPECT_TRUE(s.painter.PaintRect(s.g, s.Image(), s.options));
  EXPECT_EQ(s.painter.BackBuffer().Width(), 7);
}

TEST(ViewPainter, At100PercentTheScrolledRectangleIsCopied) {
  Scene s(Numbered(8, 6), 5, 4);
  s.g.SetViewXY(2, 1);
  s.Paint();
  for (int64_t y = 0; y < 4; ++y)
    for (int64_t x = 0; x < 5; ++x) ASSERT_EQ(s.Out(x, y), At(s.bitmap, x + 2, y + 1)) << x << "," << y;
}

TEST(ViewPainter, At200PercentCentredEachPixelIsABlock) {
  Scene s(Numbered(3, 2), 10, 8);
  s.g.SetCenter(true);
  s.g.SetZoom(200);
  ASSERT_EQ(s.g.OffsetX(), 2);
  ASSERT_EQ(s.g.OffsetY(), 2);
  s.Paint();
  for (int64_t y = 0; y < 8; ++y)
    for (int64_t x = 0; x < 10; ++x) {
      const bool inside = x >= 2 && x < 8 && y >= 2 && y < 6;
      ASSERT_EQ(s.Out(x, y), inside ? At(s.bitmap, (x - 2) / 2, (y - 2) / 2) : kBack) << x << "," << y;
    }
}

TEST(ViewPainter, At50PercentEverySecondPixelIsShown) {
  Scene s(Numbered(8, 8), 4, 4);
  s.g.SetZoom(50);
  s.Paint();
  for (int64_t y = 0; y < 4; ++y)
    for (int64_t x = 0; x < 4; ++x) ASSERT_EQ(s.Out(x, y), At(s.bitmap, 2 * x, 2 * y));
}

TEST(ViewPainter, OddZoomsFollowThe14BitSteps) {
  Scene s(Numbered(10, 1), 15, 1);
  s.g.SetZoom(150);
  s.Paint();
  const int expected[15] = {0, 0, 1, 1, 2, 3, 3, 4, 5, 5, 6, 7, 7, 8, 9};
  for (int64_t x = 0; x < 15; ++x) EXPECT_EQ(s.Out(x, 0).b, expected[x]) << x;

  // Scrolled by one image pixel at 300 %: the first column is pixel 1.
  Scene z(Numbered(10, 10), 12, 12);
  z.g.SetZoom(300);
  z.g.SetViewXY(3, 0);
  z.Paint();
  const int columns[12] = {1, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4};
  for (int64_t x = 0; x < 12; ++x) EXPECT_EQ(z.Out(x, 5).b, columns[x]) << x;
  EXPECT_EQ(z.g.ScreenToBitmapX(0), 1);
}

TEST(ViewPainter, OneBitImagesShowBlackAndWhite) {
  TIEWorkingBitmap mono(9, 2, TIEPixelFormat::pf1bit);
  for (int64_t x = 0; x < 9; ++x) SetBit(mono.ScanLine(0), x, x % 3 == 0);
  Scene s(std::move(mono), 18, 4);
  s.g.SetZoom(200);
  s.Paint();
  for (int64_t x = 0; x < 18; ++x) {
    ASSERT_EQ(s.Out(x, 1), (x / 2) % 3 == 0 ? kWhite : kBlack) << x;
    ASSERT_EQ(s.Out(x, 2), kWhite) << x;  // row 1 keeps the new bitmap's white
  }
}

TEST(ViewPainter, OneBitRowsAt100PercentStartAnywhereInAByte) {
  TIEWorkingBitmap mono(29, 1, TIEPixelFormat::pf1bit);
  for (int64_t x = 0; x < 29; ++x) SetBit(mono.ScanLine(0), x, (x * 7) % 5 < 2);
  Scene s(std::move(mono), 19, 1);
  s.g.SetViewX(3);
  s.Paint();
  for (int64_t x = 0; x < 19; ++x) ASSERT_EQ(s.Out(x, 0), ((x + 3) * 7) % 5 < 2 ? kWhite : kBlack) << x;
}

TEST(ViewPainter, OnlyTheClipIsWritten) {
  Scene s(Numbered(6, 6), 6, 6);
  s.Paint({1, 1, 3, 4});
  for (int64_t y = 0; y < 6; ++y)
    for (int64_t x = 0; x < 6; ++x) {
      const bool inClip = x >= 1 && x < 3 && y >= 1 && y < 4;
      ASSERT_EQ(s.Out(x, y), inClip ? At(s.bitmap, x, y) : Grey(0x77)) << x << "," << y;
    }
}

TEST(ViewPainter, AlphaMovesEachChannelTowardTheImage) {
  TIEWorkingBitmap b(4, 1, TIEPixelFormat::pf24bit);
  const uint8_t values[4] = {200, 0, 255, 0};
  for (int x = 0; x < 4; ++x) std::memset(b.ScanLine(0) + 3 * x, values[x], 3);
  Scene s(std::move(b), 4, 1);
  s.options.Background = Grey(100);
  const uint8_t a[4] = {128, 128, 255, 0};
  for (int x = 0; x < 4; ++x) s.alpha.SetPixel(x, 0, a[x]);
  s.Paint();  // not enabled: opaque
  EXPECT_EQ(s.Out(0, 0), Grey(200));
  s.options.EnableAlphaChannel = true;
  s.Paint();
  EXPECT_EQ(s.Out(0, 0), Grey(150));
  EXPECT_EQ(s.Out(1, 0), Grey(50));   // the shift floors: 100 - 50
  EXPECT_EQ(s.Out(2, 0), Grey(254));  // 255 of 256 toward white
  EXPECT_EQ(s.Out(3, 0), Grey(100));
  s.options.Background = Grey(1);
  s.Paint();
  EXPECT_EQ(s.Out(1, 0), Grey(0));  // -128 >> 8 is -1, not 0
  s.alpha.Fill(255);                 // a full plane paints opaque
  s.Paint();
  EXPECT_EQ(s.Out(2, 0), Grey(255));
}

TEST(ViewPainter, TranslucentRowsBlendOverTheirOwnBackgroundRow) {
  TIEWorkingBitmap b(2, 1, TIEPixelFormat::pf24bit);
  b.Fill(kBlack);
  Scene s(std::move(b), 4, 2);
  s.g.SetZoom(200);
  s.options.Background = kBlack;
  s.options.BackgroundStyle = TIEBackgroundStyle::iebsHorizontal;  // row 0 black line, row 1 white gap
  s.options.EnableAlphaChannel = true;
  s.alpha.Fill(128);
  s.Paint();
  for (int64_t x = 0; x < 4; ++x) {
    EXPECT_EQ(s.Out(x, 0), Grey(0));
    EXPECT_EQ(s.Out(x, 1), Grey(127));
  }
}

TEST(ViewPainter, OneBitAlphaBlendsTowardWhiteOrBlackPerChannel) {
  TIEWorkingBitmap mono(2, 1, TIEPixelFormat::pf1bit);
  SetBit(mono.ScanLine(0), 1, false);
  Scene s(std::move(mono), 2, 1);
  s.options.Background = TBGR{100, 50, 0};
  s.options.EnableAlphaChannel = true;
  s.alpha.Fill(128);
  s.Paint();
  EXPECT_EQ(s.Out(0, 0), (TBGR{177, 152, 127}));
  EXPECT_EQ(s.Out(1, 0), (TBGR{50, 25, 0}));
}

TEST(ViewPainter, GridInvertsPixelBoundariesFrom400Percent) {
  Scene s(Numbered(2, 2), 8, 8);
  s.g.SetZoom(400);
  s.options.DisplayGrid = true;
  s.Paint();
  for (int64_t y = 0; y < 8; ++y)
    for (int64_t x = 0; x < 8; ++x) {
      const TBGR plain = At(s.bitmap, x / 4, y / 4);
      // A crossing is inverted twice.
      const bool inverted = ((y % 4 == 0) + (x % 4 == 0)) == 1;
      ASSERT_EQ(s.Out(x, y), inverted ? Inv(plain) : plain) << x << "," << y;
    }
  s.g.SetZoom(399.9);
  s.Paint();
  const Buffer withGrid = s.buffer;
  s.options.DisplayGrid = false;
  s.Paint();
  EXPECT_EQ(withGrid.bytes, s.buffer.bytes);
}

TEST(ViewPainter, FilledSelectionIsInvertedInsideTheClipOnly) {
  Scene s(Numbered(6, 4), 4, 4);
  s.g.SetViewX(1);
  s.selection.SetPixel(1, 2, 1);
  s.filled = true;
  s.Paint();
  EXPECT_EQ(s.Out(0, 2), Inv(At(s.bitmap, 1, 2)));
  EXPECT_EQ(s.Out(1, 2), At(s.bitmap, 2, 2));
  s.Paint({1, 0, 4, 4});  // (0, 2) is outside: left as painted before
  EXPECT_EQ(s.Out(0, 2), Inv(At(s.bitmap, 1, 2)));
}

TEST(ViewPainter, MismatchedPlanesNeverReadOutside) {
  // The bitmap shrank and the view was not updated yet: background only.
  Scene s(Numbered(8, 8), 8, 8);
  s.bitmap.SetSize(2, 2);
  s.Paint();
  for (int64_t x = 0; x < 8; ++x) ASSERT_EQ(s.Out(x, 7), kBack);
  // An alpha plane of another size is not used.
  Scene t(Numbered(3, 3), 3, 3);
  t.alpha.Allocate(2, 2, 8);
  t.options.EnableAlphaChannel = true;
  t.Paint();
  EXPECT_EQ(t.Out(2, 2), At(t.bitmap, 2, 2));
}

TEST(ViewPainter, ASinglePixelImageIsShown) {
  TIEWorkingBitmap dot(1, 1, TIEPixelFormat::pf24bit);
  dot.Fill(MakeBGR(255, 0, 0));
  Scene s(std::move(dot), 10, 10);
  s.g.SetZoom(1000);
  s.Paint();
  for (int64_t y = 0; y < 10; ++y)
    for (int64_t x = 0; x < 10; ++x) ASSERT_EQ(s.Out(x, y), MakeBGR(255, 0, 0));
}

TEST(ViewPainter, FilteredPathReducesBlackAndWhiteToGrey) {
  TIEWorkingBitmap mono(8, 8, TIEPixelFormat::pf1bit);
  for (int64_t y = 0; y < 8; ++y)
    for (int64_t x = 0; x < 8; ++x) SetBit(mono.ScanLine(y), x, (x + y) % 2 == 1);
  Scene s(std::move(mono), 4, 4);
  s.g.SetZoom(50);
  s.painter.PaintRect(s.g, s.Image(), s.options);
  EXPECT_EQ(s.painter.BackBuffer().ScanLine(1)[3], 0);  // nearest: the even pixels, all black
  s.g.SetDelayZoomFilter(false);
  s.g.SetZoomFilter(TResampleFilter::rfTriangle);
  s.painter.PaintRect(s.g, s.Image(), s.options);
  for (int64_t y = 0; y < 4; ++y)
    for (int64_t x = 0; x < 12; ++x) ASSERT_EQ(s.painter.BackBuffer().ScanLine(y)[x], 127);
}

TEST(ViewPainter, FilteredZoomBlendsNeighbouringPixels) {
  // Left half black, right half white: enlarged with the triangle kernel the
  // edge gets greys, nearest painting has none.
  TIEWorkingBitmap image(8, 8, TIEPixelFormat::pf24bit);
  image.Fill(kBlack);
  for (int64_t y = 0; y < 8; ++y) std::memset(image.ScanLine(y) + 12, 255, 12);
  for (TIEPixelFormat format : {TIEPixelFormat::pf24bit, TIEPixelFormat::pf1bit}) {
    TIEWorkingBitmap shown = image;
    shown.SetPixelFormat(format);
    Scene s(std::move(shown), 32, 32);
    s.g.SetZoom(400);
    s.g.SetDelayZoomFilter(false);
    auto greys = [&] {
      s.painter.PaintRect(s.g, s.Image(), s.options);
      int n = 0;
      for (int64_t x = 0; x < 32; ++x) {
        const uint8_t v = s.painter.BackBuffer().ScanLine(10)[3 * x];
        n += v != 0 && v != 255;
      }
      return n;
    };
    EXPECT_EQ(greys(), 0);
    s.g.SetZoomFilter(TResampleFilter::rfTriangle);
    EXPECT_GT(greys(), 2);
    EXPECT_EQ(s.painter.BackBuffer().ScanLine(10)[0], 0);
    EXPECT_EQ(s.painter.BackBuffer().ScanLine(10)[3 * 31], 255);
  }
}

TEST(ViewPainter, FilteredZoomBlendsTheAlphaLikeTheUnfilteredPath) {
  // A uniform half-transparent image looks the same with and without the
  // filter, enlarged in colour and reduced in black and white.
  for (const auto& [format, zoom] : {std::pair{TIEPixelFormat::pf24bit, 400}, {TIEPixelFormat::pf1bit, 50}}) {
    TIEWorkingBitmap image(8, 8, TIEPixelFormat::pf24bit);
    image.Fill(kWhite);
    image.SetPixelFormat(format);
    Scene s(std::move(image), 16, 16);
    s.alpha.Fill(128);
    s.options.EnableAlphaChannel = true;
    s.g.SetZoom(zoom);
    s.g.SetDelayZoomFilter(false);
    s.painter.PaintRect(s.g, s.Image(), s.options);
    const TIEBackBuffer plain = s.painter.BackBuffer();
    s.g.SetZoomFilter(TResampleFilter::rfTriangle);
    s.painter.PaintRect(s.g, s.Image(), s.options);
    const int64_t shown = std::min<int64_t>(8 * zoom / 100, 16);
    for (int64_t y = 0; y < shown; ++y)
      ASSERT_EQ(0, std::memcmp(s.painter.BackBuffer().ScanLine(y), plain.ScanLine(y), size_t(3 * shown))) << y;
    EXPECT_EQ(plain.ScanLine(0)[0], 142);  // half way from the background's 30 to white
  }
}

TEST(ViewPainter, DrawVisibleToPutsTheShownPartAtTheOrigin) {
  Scene s(Numbered(8, 8), 6, 6);
  s.g.SetZoom(200);
  s.g.SetViewXY(2, 4);
  Buffer out(6, 6);
  TIERawTarget t = out.Target();
  s.painter.DrawVisibleTo(t, s.g, s.Image());
  EXPECT_EQ(out.At(0, 0), At(s.bitmap, 1, 2));
  EXPECT_EQ(out.At(5, 5), At(s.bitmap, 3, 4));
}

}  // namespace
}  // namespace quillet
