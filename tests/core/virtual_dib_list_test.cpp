// TIEVirtualDIBList: region sizes and headers, row order, the free list, file
// growth, the mapping limit, storing resized images and shared check-out.
#include <gtest/gtest.h>

#include <cstring>

#include "imaging/core/virtual_dib_list.h"
#include "support/test_support.h"

namespace quillet {
namespace {

// A 24-bit bitmap whose pixel (x, y) is (x, y, seed).
TIEWorkingBitmap Pattern(int64_t w, int64_t h, uint8_t seed) {
  TIEWorkingBitmap b(w, h, TIEPixelFormat::pf24bit);
  for (int64_t y = 0; y < h; ++y)
    for (int64_t x = 0; x < w; ++x) {
      uint8_t* p = b.ScanLine(y) + 3 * x;
      p[0] = uint8_t(x), p[1] = uint8_t(y), p[2] = seed;
    }
  return b;
}

void ExpectSame(const TIEWorkingBitmap& a, const TIEWorkingBitmap& b) {
  ASSERT_EQ(a.Width(), b.Width());
  ASSERT_EQ(a.Height(), b.Height());
  ASSERT_EQ(a.PixelFormat(), b.PixelFormat());
  for (int64_t y = 0; y < a.Height(); ++y)
    ASSERT_EQ(std::memcmp(a.ScanLine(y), b.ScanLine(y), size_t(a.RowBytes())), 0) << "row " << y;
}

int32_t Field(const uint8_t* p, int offset) {
  int32_t v;
  std::memcpy(&v, p + offset, 4);
  return v;
}

TEST(VirtualDIBList, RegionsAreWholeBlocksWithAHeader) {
  EXPECT_EQ(TIEVirtualDIBList::RegionSizeFor(100, 100, 24), 65536);
  EXPECT_EQ(TIEVirtualDIBList::RegionSizeFor(1000, 100, 24), 327680);

  TIEVirtualDIBList list;
  ASSERT_TRUE(list.Create());
  EXPECT_EQ(list.FileSize(), 65536);
  TIEVirtualImage* small = list.Add(100, 100, 24);
  TIEVirtualImage* wide = list.Add(1000, 100, 24);
  ASSERT_TRUE(small && wide);
  EXPECT_EQ(list.RegionSize(small), 65536);
  EXPECT_EQ(list.RegionSize(wide), 327680);
  EXPECT_EQ(list.RegionOffset(wide), 65536);
  EXPECT_GE(list.FileSize(), 65536 + 327680);

  const uint8_t* h = list.ImageHeader(wide);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(Field(h, 0), 40);
  EXPECT_EQ(Field(h, 4), 1000);
  EXPECT_EQ(Field(h, 8), 100);
  EXPECT_EQ(h[12] | h[13] << 8, 1);
  EXPECT_EQ(h[14] | h[15] << 8, 24);
  EXPECT_EQ(Field(h, 16), 0);
  EXPECT_EQ(Field(h, 40), 0x000000);  // black, then white
  EXPECT_EQ(Field(h, 44), 0xffffff);
  EXPECT_EQ(list.ImageWidth(wide), 1000);
  EXPECT_EQ(list.ImageBits(wide), 24);

  EXPECT_EQ(list.Add(0, 10, 24), nullptr);
  EXPECT_EQ(list.Add(10, 10, 3), nullptr);
  EXPECT_EQ(list.ImageCount(), 2);
}

TEST(VirtualDIBList, BitmapsRoundTripWithRowsBottomUp) {
  TIEVirtualDIBList list;
  const TIEWorkingBitmap colour = Pattern(13, 7, 9);
  TIEWorkingBitmap mono(21, 5, TIEPixelFormat::pf1bit);
  for (int64_t y = 0; y < 5; ++y) mono.ScanLine(y)[0] = uint8_t(0x81 + y);

  TIEVirtualImage* a = list.AddBitmap(colour);  // creates the file on first use
  TIEVirtualImage* b = list.AddBitmap(mono);
  ASSERT_TRUE(a && b);
  // The bottom row comes first after the header.
  const TIEImageRows rows = list.ImageRows(a);
  EXPECT_EQ(rows.Stride, -40);
  EXPECT_EQ(list.ImageHeader(a) + 48, rows.Row0 + 6 * rows.Stride);
  EXPECT_EQ(list.ImageHeader(a)[48 + 1], 6);  // green = y of the last row

  TIEWorkingBitmap out;
  ASSERT_TRUE(list.CopyToBitmap(a, out));
  ExpectSame(out, colour);
  ASSERT_TRUE(list.CopyToBitmap(b, out));
  ExpectSame(out, mono);
}

TEST(VirtualDIBList, FreedRegionsAreReusedFirstFitAndTheFileRestartsWhenEmpty) {
  TIEVirtualDIBList list;
  ASSERT_TRUE(list.Create());
  TIEVirtualImage* a = list.Add(100, 100, 24);
  TIEVirtualImage* big = list.Add(1000, 100, 24);
  TIEVirtualImage* c = list.Add(100, 100, 24);
  ASSERT_TRUE(a && big && c);
  const int64_t bigOffset = list.RegionOffset(big);
  list.Delete(big);
  EXPECT_EQ(list.FreeRegionCount(), 1u);

  // Too big for the hole: appended after the last region.
  TIEVirtualImage* huge = list.Add(2000, 100, 24);
  EXPECT_EQ(list.RegionOffset(huge), list.RegionOffset(c) + 65536);
  // Fits: takes the whole hole, pixels cleared.
  TIEVirtualImage* d = list.Add(50, 50, 8);
  EXPECT_EQ(list.RegionOffset(d), bigOffset);
  EXPECT_EQ(list.RegionSize(d), 327680);
  EXPECT_EQ(list.FreeRegionCount(), 0u);
  const TIEImageRows rows = list.ImageRows(d);
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 50; ++x) ASSERT_EQ(rows.Row0[y * rows.Stride + x], 0);

  const int64_t grown = list.FileSize();
  EXPECT_GT(grown, 65536);
  for (TIEVirtualImage* image : {a, c, huge, d}) list.Delete(image);
  EXPECT_EQ(list.ImageCount(), 0);
  EXPECT_EQ(list.FileSize(), 65536);
  EXPECT_EQ(list.FreeRegionCount(), 0u);
  EXPECT_EQ(list.RegionOffset(list.Add(10, 10, 1)), 0);
}

TEST(VirtualDIBList, ReserveGrowsAheadOfTheAdds) {
  TIEVirtualDIBList list;
  ASSERT_TRUE(list.Reserve(1000, 100, 24, 4));
  const int64_t reserved = list.FileSize();
  EXPECT_GE(reserved, 4 * 327680);
  for (int i = 0; i < 4; ++i) ASSERT_NE(list.Add(1000, 100, 24), nullptr);
  EXPECT_EQ(list.FileSize(), reserved);
}

TEST(VirtualDIBList, MappingLimitUnmapsTheOldestAndKeepsTheirPixels) {
  TIEVirtualDIBList list;
  list.SetMappingLimit(3);
  std::vector<TIEVirtualImage*> images;
  for (int i = 0; i < 5; ++i) images.push_back(list.AddBitmap(Pattern(4, 4, uint8_t(i))));
  EXPECT_EQ(list.MappedCount(), 3);
  EXPECT_FALSE(list.IsMapped(images[0]));
  EXPECT_FALSE(list.IsMapped(images[1]));

  // Touching image 2 makes image 3 the oldest mapped one.
  ASSERT_TRUE(list.Map(images[2]));
  ASSERT_TRUE(list.Map(images[0]));
  EXPECT_FALSE(list.IsMapped(images[3]));
  EXPECT_TRUE(list.IsMapped(images[2]));
  EXPECT_EQ(list.MappedCount(), 3);

  for (int i = 0; i < 5; ++i) {
    TIEWorkingBitmap out;
    ASSERT_TRUE(list.CopyToBitmap(images[size_t(i)], out));
    ExpectSame(out, Pattern(4, 4, uint8_t(i)));
    EXPECT_LE(list.MappedCount(), 3);
  }
  list.SetMappingLimit(1);
  EXPECT_EQ(list.MappedCount(), 1);
  list.Unmap(images[4]);
  EXPECT_EQ(list.MappedCount(), 0);
}

TEST(VirtualDIBList, StoringAnotherSizeMovesTheImageAndFreesItsRegion) {
  TIEVirtualDIBList list;
  TIEVirtualImage* a = list.AddBitmap(Pattern(100, 100, 1));
  TIEVirtualImage* b = list.AddBitmap(Pattern(10, 10, 2));
  const int64_t offset = list.RegionOffset(a);

  ASSERT_TRUE(list.StoreBitmap(a, Pattern(100, 100, 3)));  // same size: in place
  EXPECT_EQ(list.RegionOffset(a), offset);
  EXPECT_EQ(list.FreeRegionCount(), 0u);

  const TIEWorkingBitmap wide = Pattern(1000, 100, 4);
  ASSERT_TRUE(list.StoreBitmap(a, wide));
  EXPECT_NE(list.RegionOffset(a), offset);
  EXPECT_EQ(list.RegionSize(a), 327680);
  EXPECT_EQ(list.FreeRegionCount(), 1u);
  TIEWorkingBitmap out;
  ASSERT_TRUE(list.CopyToBitmap(a, out));
  ExpectSame(out, wide);
  ASSERT_TRUE(list.CopyToBitmap(b, out));
  ExpectSame(out, Pattern(10, 10, 2));
}

TEST(VirtualDIBList, CheckedOutBitmapsAreSharedCountedAndWrittenBack) {
  TIEVirtualDIBList list;
  TIEVirtualImage* image = list.AddBitmap(Pattern(8, 6, 5));
  TIEWorkingBitmap* first = list.GetBitmap(image);
  TIEWorkingBitmap* second = list.GetBitmap(image);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, second);
  ExpectSame(*first, Pattern(8, 6, 5));

  // The user of the bitmap changes it; the list reports the bitmap's size.
  *first = Pattern(20, 3, 6);
  EXPECT_EQ(list.ImageWidth(image), 20);
  EXPECT_EQ(Field(list.ImageHeader(image), 4), 20);
  list.ReleaseBitmap(second, false);
  EXPECT_EQ(list.ImageHeight(image), 3);

  list.ReleaseBitmap(first, true);
  EXPECT_EQ(list.ImageWidth(image), 20);
  TIEWorkingBitmap out;
  ASSERT_TRUE(list.CopyToBitmap(image, out));
  ExpectSame(out, Pattern(20, 3, 6));

  // Released without write-back: the stored image is unchanged.
  TIEWorkingBitmap* again = list.GetBitmap(image);
  again->Fill(kBlack);
  list.ReleaseBitmap(again, false);
  ASSERT_TRUE(list.CopyToBitmap(image, out));
  ExpectSame(out, Pattern(20, 3, 6));
}

TEST(VirtualDIBList, MissingFolderUsesAnonymousMemoryAndClearStartsOver) {
  test::TempDir dir;
  TIEVirtualDIBList list;
  ASSERT_TRUE(list.Create(dir.File("missing")));
  TIEVirtualImage* image = list.AddBitmap(Pattern(30, 30, 7));
  ASSERT_NE(image, nullptr);
  TIEWorkingBitmap out;
  ASSERT_TRUE(list.CopyToBitmap(image, out));
  ExpectSame(out, Pattern(30, 30, 7));

  list.Clear();
  EXPECT_EQ(list.ImageCount(), 0);
  EXPECT_EQ(list.FileSize(), 0);
  ASSERT_NE(list.AddBitmap(Pattern(3, 3, 8)), nullptr);
  EXPECT_EQ(list.ImageCount(), 1);
}

}  // namespace
}  // namespace quillet
