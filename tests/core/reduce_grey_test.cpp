// Reduce1BitToGrey: box averaging of 1-bit images, both output forms.
#include <gtest/gtest.h>

#include <random>

#include "imaging/core/math.h"
#include "imaging/core/reduce_grey.h"

namespace quillet {
namespace {

TIEWorkingBitmap OneBit(int64_t w, int64_t h) {
  TIEWorkingBitmap bmp;
  bmp.Canvas().SetBrushColor(kBlack);
  EXPECT_TRUE(bmp.Resize(w, h, TIEPixelFormat::pf1bit));
  return bmp;
}

uint8_t Grey(const TIEWorkingBitmap& bmp, int64_t x, int64_t y) {
  const TBGR c = bmp.Pixel(x, y);
  EXPECT_EQ(c.r, c.g);
  EXPECT_EQ(c.g, c.b);
  return c.r;
}

// The Part's algorithm, pixel by pixel, as the reference.
uint8_t Reference(const TIEWorkingBitmap& s, int64_t left, int64_t top, int64_t sw, int64_t sh, int64_t dw,
                  int64_t dh, int64_t j, int64_t i) {
  const double rx = double(sw) / double(dw), ry = double(sh) / double(dh);
  const int64_t bw = Trunc(rx), bh = Trunc(ry);
  const int64_t cx = left + Trunc(rx * double(j)), cx2 = std::max(left + Trunc(rx * double(j) + double(bw) - 1), cx);
  const int64_t cy = top + Trunc(ry * double(i)), cy2 = std::max(top + Trunc(ry * double(i) + double(bh) - 1), cy);
  int64_t set = 0;
  for (int64_t y = cy; y <= cy2; ++y)
    for (int64_t x = cx; x <= cx2; ++x) set += GetBit(s.ScanLine(y), x);
  return uint8_t(255 * set / ((cx2 - cx + 1) * (cy2 - cy + 1)));
}

TEST(Reduce1BitToGrey, AveragesBoxes) {
  TIEWorkingBitmap src = OneBit(4, 2);
  src.ScanLine(0)[0] = 0xC0;
  src.ScanLine(1)[0] = 0xA0;
  TIEWorkingBitmap dst;
  ASSERT_TRUE(Reduce1BitToGrey(src, 0, 0, 4, 2, dst, 2, 1));
  EXPECT_EQ(dst.PixelFormat(), TIEPixelFormat::pf24bit);
  EXPECT_EQ(dst.Width(), 2);
  EXPECT_EQ(dst.Height(), 1);
  EXPECT_EQ(Grey(dst, 0, 0), 191);
  EXPECT_EQ(Grey(dst, 1, 0), 63);
}

TEST(Reduce1BitToGrey, ColumnsBetweenBoxesAreSkipped) {
  TIEWorkingBitmap src = OneBit(5, 1);
  SetBit(src.ScanLine(0), 4, true);
  TIEWorkingBitmap dst;
  ASSERT_TRUE(Reduce1BitToGrey(src, 0, 0, 5, 1, dst, 2, 1));
  EXPECT_EQ(Grey(dst, 0, 0), 0);
  EXPECT_EQ(Grey(dst, 1, 0), 0);
}

TEST(Reduce1BitToGrey, EnlargesOnePixel) {
  TIEWorkingBitmap src = OneBit(1, 1);
  SetBit(src.ScanLine(0), 0, true);
  TIEWorkingBitmap dst;
  ASSERT_TRUE(Reduce1BitToGrey(src, 0, 0, 1, 1, dst, 3, 3));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(Grey(dst, x, y), 255);
}

TEST(Reduce1BitToGrey, NothingIsDoneForEmptySizes) {
  TIEWorkingBitmap src = OneBit(4, 4);
  TIEWorkingBitmap dst(2, 2, TIEPixelFormat::pf24bit);
  dst.Fill(MakeBGR(1, 2, 3));
  EXPECT_FALSE(Reduce1BitToGrey(src, 0, 0, 4, 4, dst, 0, 3));
  EXPECT_FALSE(Reduce1BitToGrey(src, 0, 0, 4, 4, dst, 3, 0));
  EXPECT_FALSE(Reduce1BitToGrey(src, 0, 0, 0, 4, dst, 3, 3));
  EXPECT_EQ(dst.Width(), 2);
  EXPECT_EQ(dst.Pixel(1, 1), MakeBGR(1, 2, 3));
  EXPECT_TRUE(Reduce1BitToGrey(src, 0, 0, 4, 4, 0, 2).empty());
  // A rectangle outside the source or a source that is not 1-bit is refused.
  EXPECT_FALSE(Reduce1BitToGrey(src, 1, 0, 4, 4, dst, 2, 2));
  EXPECT_FALSE(Reduce1BitToGrey(src, -1, 0, 2, 2, dst, 2, 2));
  EXPECT_FALSE(Reduce1BitToGrey(TIEWorkingBitmap(4, 4, TIEPixelFormat::pf24bit), 0, 0, 4, 4, dst, 2, 2));
  EXPECT_FALSE(Reduce1BitToGrey(src, 0, 0, 4, 4, src, 2, 2));
}

TEST(Reduce1BitToGrey, MatchesTheBoxAlgorithmOnRandomImages) {
  std::mt19937 rng(7);
  struct Case {
    int64_t w, h, left, top, sw, sh, dw, dh;
  };
  const Case cases[] = {
      {100, 60, 0, 0, 100, 60, 33, 17},   {100, 60, 3, 5, 90, 50, 7, 9},    {64, 64, 0, 0, 64, 64, 64, 64},
      {37, 21, 2, 1, 30, 19, 91, 43},     {300, 10, 11, 0, 257, 10, 5, 3},  {9, 9, 8, 8, 1, 1, 4, 4},
      {1000, 3, 0, 0, 1000, 3, 1, 1},     {17, 40, 1, 3, 16, 37, 16, 37},   {200, 200, 13, 7, 150, 180, 149, 181},
  };
  for (const Case& c : cases) {
    TIEWorkingBitmap src = OneBit(c.w, c.h);
    for (int64_t y = 0; y < c.h; ++y)
      for (int64_t b = 0; b < src.RowBytes(); ++b) src.ScanLine(y)[b] = uint8_t(rng());
    TIEWorkingBitmap dst;
    ASSERT_TRUE(Reduce1BitToGrey(src, c.left, c.top, c.sw, c.sh, dst, c.dw, c.dh));
    const std::vector<uint8_t> block = Reduce1BitToGrey(src, c.left, c.top, c.sw, c.sh, c.dw, c.dh);
    const int64_t rowBytes = RowLength(c.dw, 24);
    ASSERT_EQ(int64_t(block.size()), rowBytes * c.dh);
    for (int64_t i = 0; i < c.dh; ++i)
      for (int64_t j = 0; j < c.dw; ++j) {
        const uint8_t want = Reference(src, c.left, c.top, c.sw, c.sh, c.dw, c.dh, j, i);
        ASSERT_EQ(dst.ScanLine(i)[3 * j], want) << c.w << "x" << c.h << " at " << j << "," << i;
        ASSERT_EQ(dst.ScanLine(i)[3 * j + 2], want);
        // The block is bottom-up.
        const uint8_t* brow = block.data() + (c.dh - 1 - i) * rowBytes;
        ASSERT_EQ(brow[3 * j], want);
        ASSERT_EQ(brow[3 * j + 1], want);
        ASSERT_EQ(brow[3 * j + 2], want);
      }
  }
}

TEST(Reduce1BitToGrey, ReadsBottomUpPlanes) {
  // A bottom-up plane of 8 x 2: row 0 (the top) is stored last.
  std::vector<uint8_t> plane(2 * 4, 0);
  plane[4] = 0xFF;  // top row all set
  TIE1BitRows rows;
  rows.Row0 = plane.data() + 4;
  rows.Stride = -4;
  rows.Width = 8;
  rows.Height = 2;
  TIEWorkingBitmap dst;
  ASSERT_TRUE(Reduce1BitToGrey(rows, 0, 0, 8, 2, dst, 1, 2));
  EXPECT_EQ(Grey(dst, 0, 0), 255);
  EXPECT_EQ(Grey(dst, 0, 1), 0);
}

}  // namespace
}  // namespace quillet
