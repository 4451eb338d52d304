// CopyThroughMask: selected pixels copied, alpha blended, crops and refusals.
#include <gtest/gtest.h>

#include "imaging/core/mask.h"

namespace quillet {
namespace {

TIEWorkingBitmap Solid(int w, int h, TBGR c) {
  TIEWorkingBitmap b(w, h, TIEPixelFormat::pf24bit);
  b.Fill(c);
  return b;
}

const TBGR kRed = MakeBGR(255, 0, 0), kBlue = MakeBGR(0, 0, 255);

TEST(MaskCopy, OneBitMaskCopiesSelectedPixelsOnly) {
  TIEMask m;
  ASSERT_TRUE(m.Allocate(20, 4, 1));
  m.FillSpan(1, 3, 1, 17);
  m.FillSpan(0, 8, 1, 9);
  m.SetBox(3, 1, 17, 1);
  TIEWorkingBitmap dst = Solid(20, 4, kRed);
  const TIEWorkingBitmap src = Solid(20, 4, kBlue);
  m.CopyThroughMask(dst, src, false, false);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 20; ++x) {
      const bool selected = y == 1 && x >= 3 && x <= 17 && x != 8 && x != 9;
      EXPECT_EQ(dst.Pixel(x, y), selected ? kBlue : kRed) << x << "," << y;
    }
}

TEST(MaskCopy, AlphaBlendsWithTheIntegerFormulaAndCopies255Exactly) {
  TIEMask m;
  ASSERT_TRUE(m.Allocate(3, 1, 8));
  m.SetPixel(0, 0, 128);
  m.SetPixel(1, 0, 255);
  m.SetPixel(2, 0, 0);
  m.SetBox(0, 0, 2, 0);
  TIEWorkingBitmap dst = Solid(3, 1, MakeBGR(100, 200, 0));
  const TIEWorkingBitmap src = Solid(3, 1, MakeBGR(51, 0, 255));
  m.CopyThroughMask(dst, src, false, false);
  // d + (s - d) * 128 / 256, rounded down: 100 -> 75, 200 -> 100, 0 -> 127.
  EXPECT_EQ(dst.Pixel(0, 0), MakeBGR(75, 100, 127));
  EXPECT_EQ(dst.Pixel(1, 0), MakeBGR(51, 0, 255));
  EXPECT_EQ(dst.Pixel(2, 0), MakeBGR(100, 200, 0));
}

TEST(MaskCopy, MixedAlphaRowsBlendEveryPixelByItsOwnValue) {
  const uint8_t alpha[] = {0, 128, 64, 255, 255, 0, 1, 200, 254, 255, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 90};
  const int w = int(sizeof alpha);
  TIEMask m;
  ASSERT_TRUE(m.Allocate(w, 2, 8));
  for (int x = 0; x < w; ++x) m.SetPixel(x, 1, alpha[x]);
  TIEWorkingBitmap dst(w, 2, TIEPixelFormat::pf24bit), src(w, 2, TIEPixelFormat::pf24bit);
  for (int x = 0; x < w * 3; ++x) {
    dst.ScanLine(1)[x] = uint8_t(x * 7);
    src.ScanLine(1)[x] = uint8_t(255 - x * 5);
  }
  const TIEWorkingBitmap before = dst;
  m.CopyThroughMask(dst, src, false, false);
  for (int x = 0; x < w * 3; ++x) {
    const int d = before.ScanLine(1)[x], s = src.ScanLine(1)[x], a = alpha[x / 3];
    const int want = a == 255 ? s : d + (((s - d) * (a << 10)) >> 18);
    EXPECT_EQ(dst.ScanLine(1)[x], want) << x;
  }
}

TEST(MaskCopy, CroppedSourceStandsForTheBox) {
  TIEMask m;
  ASSERT_TRUE(m.Allocate(10, 10, 8));
  m.FillSpan(255, 4, 5, 6);
  m.FillSpan(255, 4, 6, 6);
  m.SetBox(4, 5, 6, 6);
  TIEWorkingBitmap dst = Solid(10, 10, kRed);
  TIEWorkingBitmap crop = Solid(3, 2, kBlue);
  crop.ScanLine(1)[6] = 7;  // pixel (2, 1) of the crop is image pixel (6, 6)
  m.CopyThroughMask(dst, crop, true, false);
  EXPECT_EQ(dst.Pixel(4, 5), kBlue);
  EXPECT_EQ(dst.Pixel(6, 6).b, 7);
  EXPECT_EQ(dst.Pixel(3, 5), kRed);
  EXPECT_EQ(dst.Pixel(7, 6), kRed);

  // A cropped destination receives the box from a full source.
  TIEWorkingBitmap cropDst = Solid(3, 2, kRed);
  const TIEWorkingBitmap full = Solid(10, 10, kBlue);
  m.CopyThroughMask(cropDst, full, false, true);
  EXPECT_EQ(cropDst.Pixel(0, 0), kBlue);
  EXPECT_EQ(cropDst.Pixel(2, 1), kBlue);

  // A crop smaller than the box is used as far as it reaches.
  TIEWorkingBitmap dst2 = Solid(10, 10, kRed);
  const TIEWorkingBitmap small = Solid(1, 1, kBlue);
  m.CopyThroughMask(dst2, small, true, false);
  EXPECT_EQ(dst2.Pixel(4, 5), kBlue);
  EXPECT_EQ(dst2.Pixel(5, 5), kRed);
}

TEST(MaskCopy, OneBitBitmapsCopyBitsThroughEitherMask) {
  for (int bits : {1, 8}) {
    TIEMask m;
    ASSERT_TRUE(m.Allocate(12, 2, bits));
    m.FillSpan(bits == 1 ? 1 : 3, 2, 0, 9);
    m.SetBox(2, 0, 9, 0);
    TIEWorkingBitmap dst(12, 2, TIEPixelFormat::pf1bit);
    dst.Fill(kBlack);
    TIEWorkingBitmap src(12, 2, TIEPixelFormat::pf1bit);
    src.Fill(kWhite);
    m.CopyThroughMask(dst, src, false, false);
    for (int x = 0; x < 12; ++x) {
      EXPECT_EQ(dst.Pixel(x, 0), (x >= 2 && x <= 9) ? kWhite : kBlack) << bits << " " << x;
      EXPECT_EQ(dst.Pixel(x, 1), kBlack);
    }
  }
}

TEST(MaskCopy, OneBitCropAtAnUnalignedBoxMatchesPixelByPixel) {
  TIEMask m;
  ASSERT_TRUE(m.Allocate(40, 3, 1));
  uint32_t seed = 7;
  auto random = [&seed] { return (seed = seed * 1103515245 + 12345) >> 16 & 1; };
  for (int x = 5; x <= 34; ++x) m.SetPixel(x, 1, uint8_t(random()));
  m.SetBox(5, 1, 34, 1);
  TIEWorkingBitmap crop(30, 1, TIEPixelFormat::pf1bit);
  for (int x = 0; x < 30; ++x) SetBit(crop.ScanLine(0), x, random());
  TIEWorkingBitmap dst(40, 3, TIEPixelFormat::pf1bit);
  dst.Fill(kWhite);
  m.CopyThroughMask(dst, crop, true, false);
  for (int x = 0; x < 40; ++x) {
    const bool want = m.GetPixel(x, 1) ? GetBit(crop.ScanLine(0), x - 5) : true;
    EXPECT_EQ(GetBit(dst.ScanLine(1), x), want) << x;
  }
}

TEST(MaskCopy, MismatchesLeaveTheDestinationAlone) {
  TIEMask m;
  ASSERT_TRUE(m.Allocate(4, 4, 1));
  m.Fill(255);
  TIEWorkingBitmap dst = Solid(4, 4, kRed);
  TIEWorkingBitmap mono(4, 4, TIEPixelFormat::pf1bit);
  m.CopyThroughMask(dst, mono, false, false);
  EXPECT_EQ(dst.Pixel(0, 0), kRed);
  const TIEWorkingBitmap wrongSize = Solid(3, 4, kBlue);
  m.CopyThroughMask(dst, wrongSize, false, false);
  EXPECT_EQ(dst.Pixel(0, 0), kRed);

  TIEMask empty;
  ASSERT_TRUE(empty.Allocate(4, 4, 8));
  m.CopyThroughMask(dst, Solid(4, 4, kBlue), false, false);
  empty.CopyThroughMask(dst, Solid(4, 4, kRed), false, false);
  EXPECT_EQ(dst.Pixel(3, 3), kBlue);
}

}  // namespace
}  // namespace quillet
