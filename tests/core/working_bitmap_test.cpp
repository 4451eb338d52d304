// The working bitmap: resizing rule, format changes, fill and pixel reading.
#include <gtest/gtest.h>

#include "imaging/core/decode_target.h"
#include "imaging/core/math.h"
#include "imaging/core/working_bitmap.h"
#include "imaging/core/engine_settings.h"

namespace quillet {
namespace {

const TBGR kRed = MakeBGR(255, 0, 0);
const TBGR kGreen = MakeBGR(0, 255, 0);

TEST(WorkingBitmap, FreshBitmapIsEmpty24Bit) {
  TIEWorkingBitmap bmp;
  EXPECT_EQ(bmp.Width(), 0);
  EXPECT_EQ(bmp.Height(), 0);
  EXPECT_EQ(bmp.PixelFormat(), TIEPixelFormat::pf24bit);
  EXPECT_TRUE(bmp.Empty());
  EXPECT_EQ(bmp.Canvas().BrushColor, kWhite);
}

TEST(WorkingBitmap, NewSizeIsWhite) {
  TIEWorkingBitmap bmp(5, 3, TIEPixelFormat::pf24bit);
  EXPECT_EQ(bmp.RowBytes(), 16);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(bmp.Pixel(x, y), kWhite);
  TIEWorkingBitmap mono(33, 2, TIEPixelFormat::pf1bit);
  EXPECT_EQ(mono.RowBytes(), 8);
  EXPECT_EQ(mono.Pixel(32, 1), kWhite);
}

TEST(WorkingBitmap, ResizeKeepsTheSharedCornerAndFillsWithTheBrush) {
  TIEWorkingBitmap bmp(2, 2, TIEPixelFormat::pf24bit);
  bmp.Fill(kRed);
  ASSERT_TRUE(bmp.SetSize(3, 3));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(bmp.Pixel(x, y), (x < 2 && y < 2) ? kRed : kWhite) << x << "," << y;
  bmp.Canvas().SetBrushColor(kGreen);
  ASSERT_TRUE(bmp.SetSize(4, 3));
  for (int y = 0; y < 3; ++y) EXPECT_EQ(bmp.Pixel(3, y), kGreen);
  EXPECT_EQ(bmp.Pixel(0, 0), kRed);
  EXPECT_EQ(bmp.Pixel(2, 2), kWhite);
  // Shrinking keeps the top-left pixels.
  ASSERT_TRUE(bmp.SetSize(1, 1));
  EXPECT_EQ(bmp.Pixel(0, 0), kRed);
}

TEST(WorkingBitmap, OneBitGetsBlackWhitePaletteAndKeepsPixels) {
  TIEWorkingBitmap bmp(10, 2, TIEPixelFormat::pf24bit);
  bmp.Fill(kBlack);
  uint8_t* row = bmp.ScanLine(1);
  for (int x = 0; x < 10; x += 3) row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = 255;
  ASSERT_TRUE(bmp.SetPixelFormat(TIEPixelFormat::pf1bit));
  EXPECT_EQ(bmp.PixelFormat(), TIEPixelFormat::pf1bit);
  ASSERT_EQ(bmp.Palette().size(), 2u);
  EXPECT_EQ(bmp.Palette()[0], (TRGBQuad{0, 0, 0, 0}));
  EXPECT_EQ(bmp.Palette()[1], (TRGBQuad{255, 255, 255, 0}));
  EXPECT_EQ(bmp.ScanLine(0)[0], 0);
  EXPECT_EQ(bmp.ScanLine(1)[0], 0x92);  // x = 0, 3, 6
  EXPECT_EQ(bmp.ScanLine(1)[1] & 0xC0, 0x40);  // x = 9
  ASSERT_TRUE(bmp.SetPixelFormat(TIEPixelFormat::pf24bit));
  EXPECT_TRUE(bmp.Palette().empty());
  for (int x = 0; x < 10; ++x) {
    EXPECT_EQ(bmp.Pixel(x, 0), kBlack);
    EXPECT_EQ(bmp.Pixel(x, 1), x % 3 == 0 ? kWhite : kBlack) << x;
  }
}

TEST(WorkingBitmap, OneBitResizeFillsWithBrushByGreyLevel) {
  TIEWorkingBitmap bmp(3, 1, TIEPixelFormat::pf1bit);
  bmp.Fill(kBlack);
  bmp.Canvas().SetBrushColor(kBlack);
  ASSERT_TRUE(bmp.SetSize(20, 2));
  for (int x = 0; x < 20; ++x) EXPECT_EQ(bmp.Pixel(x, 1), kBlack);
  bmp.Canvas().SetBrushColor(MakeBGR(200, 200, 200));
  ASSERT_TRUE(bmp.SetSize(40, 2));
  for (int x = 0; x < 40; ++x) EXPECT_EQ(bmp.Pixel(x, 0), x < 20 ? kBlack : kWhite) << x;
}

TEST(WorkingBitmap, RefusesBadSizes) {
  TIEWorkingBitmap bmp(2, 2, TIEPixelFormat::pf24bit);
  bmp.Fill(kRed);
  EXPECT_FALSE(bmp.SetSize(-1, 5));
  EXPECT_FALSE(bmp.SetSize(1 << 15, 1 << 14));  // 2^29 pixels, over the limit
  EXPECT_FALSE(bmp.Resize(3, 3, TIEPixelFormat::pfNone));
  EXPECT_EQ(bmp.Width(), 2);
  EXPECT_EQ(bmp.Pixel(1, 1), kRed);
  const int64_t old = MaxImagePixels();
  SetMaxImagePixels(100);
  EXPECT_FALSE(bmp.SetSize(11, 10));
  EXPECT_TRUE(bmp.SetSize(10, 10));
  SetMaxImagePixels(old);
}

TEST(WorkingBitmap, ZeroSidedSizesAreEmpty) {
  TIEWorkingBitmap bmp(4, 4, TIEPixelFormat::pf24bit);
  ASSERT_TRUE(bmp.SetSize(0, 4));
  EXPECT_TRUE(bmp.Empty());
  ASSERT_TRUE(bmp.SetSize(3, 3));
  EXPECT_EQ(bmp.Pixel(2, 2), kWhite);
}

// Rows of 15-bit pixels hold two bytes a pixel, so the last pixel of any row is inside it.
TEST(WorkingBitmap, FifteenBitRowsHoldWholeWords) {
  TIEWorkingBitmap b;
  ASSERT_TRUE(b.Resize(17, 2, TIEPixelFormat::pf15bit));
  EXPECT_EQ(b.RowBytes(), 36);
  b.ScanLine(1)[32] = 0x1F;  // pixel 16: blue 31
  b.ScanLine(1)[33] = 0x00;
  EXPECT_EQ(b.Pixel(16, 1), MakeBGR(0, 0, 248));
}

TEST(WorkingBitmap, FillAndChangeCount) {
  TIEWorkingBitmap bmp(9, 2, TIEPixelFormat::pf1bit);
  const uint64_t before = bmp.ChangeCount();
  bmp.Fill(kBlack);
  EXPECT_GT(bmp.ChangeCount(), before);
  for (int x = 0; x < 9; ++x) EXPECT_EQ(bmp.Pixel(x, 1), kBlack);
  bmp.Fill(MakeBGR(10, 250, 10));  // light by grey level
  EXPECT_EQ(bmp.Pixel(8, 0), kWhite);
  TIEWorkingBitmap c(3, 1, TIEPixelFormat::pf24bit);
  c.Fill(MakeBGR(1, 2, 3));
  EXPECT_EQ(c.Pixel(2, 0), MakeBGR(1, 2, 3));
  EXPECT_EQ(c.ScanLine(0)[0], 3);  // blue first
}

// Memory for a writer of every row: only the row padding is defined, and a
// decoder that stops early leaves the brush colour below its last row.
TEST(WorkingBitmap, UninitialisedRowsAndDecodeTargets) {
  TIEWorkingBitmap bmp;
  ASSERT_TRUE(bmp.AllocateUninitialised(5, 3, TIEPixelFormat::pf24bit));
  EXPECT_EQ(bmp.RowBytes(), 16);
  EXPECT_EQ(bmp.ScanLine(2)[15], 0);
  EXPECT_FALSE(bmp.AllocateUninitialised(-1, 3, TIEPixelFormat::pf24bit));
  ASSERT_TRUE(bmp.AllocateUninitialised(9, 2, TIEPixelFormat::pf1bit));
  EXPECT_EQ(bmp.Palette().size(), 2u);

  TIEWorkingBitmap fresh;
  fresh.Canvas().BrushColor = kRed;
  TDecodeTarget target;
  ASSERT_TRUE(target.Reshape(fresh, 4, 3, TIEPixelFormat::pf24bit));
  fresh.FillRows(0, 1, kGreen);
  target.Unwritten(1);
  EXPECT_EQ(fresh.Pixel(3, 0), kGreen);
  EXPECT_EQ(fresh.Pixel(3, 2), kRed);

  // A bitmap with pixels goes through ReshapeBitmap: its corner stays.
  TDecodeTarget again;
  ASSERT_TRUE(again.Reshape(fresh, 5, 3, TIEPixelFormat::pf24bit));
  again.Unwritten(0);
  EXPECT_EQ(fresh.Pixel(0, 0), kGreen);
  EXPECT_EQ(fresh.Pixel(4, 0), kRed);
}

}  // namespace
}  // namespace quillet
