// TIEMask storage, pixels, fills, the bounding box, the Full flag and moving.
#include <gtest/gtest.h>

#include "imaging/core/mask.h"
#include "imaging/core/math.h"
#include "imaging/core/engine_settings.h"

namespace quillet {
namespace {

void ExpectBox(const TIEMask& m, int x1, int y1, int x2, int y2) {
  EXPECT_EQ(m.X1(), x1);
  EXPECT_EQ(m.Y1(), y1);
  EXPECT_EQ(m.X2(), x2);
  EXPECT_EQ(m.Y2(), y2);
}

TEST(MaskPlane, AllocationSizesAndRefusals) {
  TIEMask m;
  EXPECT_TRUE(m.IsEmpty());
  ASSERT_TRUE(m.Allocate(33, 5, 1));
  EXPECT_EQ(m.RowLength(), 8);
  ASSERT_TRUE(m.Allocate(33, 5, 8));
  EXPECT_EQ(m.RowLength(), 33);
  EXPECT_EQ(m.GetPixel(32, 4), 0);

  EXPECT_FALSE(m.Allocate(10, 10, 4));
  EXPECT_EQ(m.Width(), 0);
  EXPECT_EQ(m.BitsPerPixel(), 0);
  m.SetPixel(0, 0, 1);
  m.Fill(255);
  EXPECT_EQ(m.GetPixel(0, 0), 0);
  EXPECT_FALSE(m.Full());

  const int64_t limit = MaxImagePixels();
  SetMaxImagePixels(100);
  EXPECT_FALSE(m.Allocate(11, 10, 8));
  SetMaxImagePixels(limit);

  ASSERT_TRUE(m.Allocate(0, 0, 8));
  EXPECT_EQ(m.FillSpan(1, 0, 0, 5), 0);
  TIEPoint tri[] = {{0, 0}, {4, 0}, {0, 4}};
  m.FillPolygon(255, tri, 3);
  m.Translate(1, 1, false);
  EXPECT_TRUE(m.IsEmpty());
}

TEST(MaskPlane, RowsAreStoredBottomUp) {
  TIEMask m;
  ASSERT_TRUE(m.Allocate(4, 3, 8));
  m.SetPixel(1, 0, 7);
  EXPECT_EQ(m.ScanLine(0)[1], 7);
  EXPECT_EQ(m.ScanLine(0), m.ScanLine(2) + 2 * m.RowLength());

  ASSERT_TRUE(m.Allocate(9, 2, 1));
  m.SetPixel(8, 1, 1);
  EXPECT_EQ(m.ScanLine(1)[1], 0x80);
  EXPECT_EQ(m.GetPixel(8, 1), 1);
  m.SetPixel(8, 1, 0);
  EXPECT_EQ(m.GetPixel(8, 1), 0);
}

TEST(MaskPlane, SetPixelGrowsTheBoxInsideThePlaneOnly) {
  TIEMask m;
  ASSERT_TRUE(m.Allocate(10, 10, 1));
  m.SetPixel(3, 4, 1);
  ExpectBox(m, 3, 4, 3, 4);
  m.SetPixel(-1, 0, 1);
  m.SetPixel(10, 0, 1);
  ExpectBox(m, 3, 4, 3, 4);
  EXPECT_EQ(m.GetPixel(-1, 0), 0);
  m.SetPixel(7, 1, 1);
  ExpectBox(m, 3, 1, 7, 4);
  m.SetPixel(0, 9, 0);  // a zero does not select
  ExpectBox(m, 3, 1, 7, 4);
  EXPECT_TRUE(m.IsPointInside(7, 1));
  EXPECT_FALSE(m.IsPointInside(6, 1));
}

TEST(MaskPlane, FullFollowsEveryWriterOfTransparentPixels) {
  TIEMask m;
  ASSERT_TRUE(m.Allocate(5, 5, 8));
  EXPECT_FALSE(m.Full());
  m.Fill(255);
  EXPECT_TRUE(m.Full());
  ExpectBox(m, 0, 0, 4, 4);
  m.SetPixel(0, 0, 255);
  EXPECT_TRUE(m.Full());
  m.SetPixel(0, 0, 10);
  EXPECT_FALSE(m.Full());

  m.Fill(255);
  m.FillSpan(0, 1, 1, 2);
  EXPECT_FALSE(m.Full());

  m.Fill(255);
  TIEPoint square[] = {{1, 1}, {3, 1}, {3, 3}, {1, 3}};
  m.FillPolygon(255, square, 4);
  EXPECT_TRUE(m.Full());
  m.FillPolygon(128, square, 4);
  EXPECT_FALSE(m.Full());

  m.Fill(255);
  m.SetPolygon(255, square, 4);
  EXPECT_FALSE(m.Full());

  m.Fill(255);
  m.Translate(1, 0, false);
  EXPECT_FALSE(m.Full());
  EXPECT_EQ(m.GetPixel(0, 2), 0);

  // Rows written directly: the flag is found again from the pixels.
  m.Fill(255);
  m.ScanLine(4)[4] = 0;
  m.RecomputeFull();
  EXPECT_FALSE(m.Full());
  m.ScanLine(4)[4] = 255;
  m.RecomputeFull();
  EXPECT_TRUE(m.Full());

  TIEMask bits;
  ASSERT_TRUE(bits.Allocate(11, 5, 1));
  bits.Fill(0);
  EXPECT_FALSE(bits.Full());
  EXPECT_TRUE(bits.IsEmpty());
  for (int y = 0; y < 5; ++y) bits.FillSpan(1, 0, y, 10);
  bits.RecomputeFull();  // the padding bits of each row do not count
  EXPECT_TRUE(bits.Full());
  bits.SetPixel(10, 2, 0);
  bits.RecomputeFull();
  EXPECT_FALSE(bits.Full());
}

TEST(MaskPlane, FillSpanClipsToTheRowAndSkipsRowsOutside) {
  TIEMask m;
  ASSERT_TRUE(m.Allocate(20, 4, 1));
  EXPECT_EQ(m.FillSpan(1, -5, 2, 20 + 10), 20);
  for (int x = 0; x < 20; ++x) EXPECT_EQ(m.GetPixel(x, 2), 1) << x;
  EXPECT_EQ(m.FillSpan(1, 0, -1, 19), 0);
  EXPECT_EQ(m.FillSpan(1, 0, 4, 19), 0);
  EXPECT_EQ(m.FillSpan(1, 5, 1, 4), 0);
  for (int x = 0; x < 20; ++x) {
    EXPECT_EQ(m.GetPixel(x, 0), 0);
    EXPECT_EQ(m.GetPixel(x, 3), 0);
  }
  // Partial bytes at both ends, and clearing inside one byte.
  EXPECT_EQ(m.FillSpan(1, 3, 1, 17), 15);
  EXPECT_EQ(m.FillSpan(0, 9, 1, 10), 2);
  for (int x = 0; x < 20; ++x) EXPECT_EQ(m.GetPixel(x, 1), (x >= 3 && x <= 17 && x != 9 && x != 10) ? 1 : 0) << x;
  EXPECT_TRUE(m.IsEmpty());

  TIEMask a;
  ASSERT_TRUE(a.Allocate(6, 2, 8));
  EXPECT_EQ(a.FillSpan(200, 4, 0, 9), 2);
  EXPECT_EQ(a.GetPixel(3, 0), 0);
  EXPECT_EQ(a.GetPixel(5, 0), 200);
}

TEST(MaskPlane, AssignCopiesEverything) {
  TIEMask a, b;
  ASSERT_TRUE(a.Allocate(6, 3, 8));
  a.Fill(255);
  a.SetPixel(2, 1, 9);
  b.Assign(&a);
  EXPECT_EQ(b.Width(), 6);
  EXPECT_EQ(b.GetPixel(2, 1), 9);
  EXPECT_EQ(b.Full(), a.Full());
  ExpectBox(b, 0, 0, 5, 2);
  b.Assign(nullptr);
  EXPECT_EQ(b.Width(), 6);
  b.Release();
  EXPECT_EQ(b.Width(), 0);
  EXPECT_EQ(b.RowLength(), 0);
  EXPECT_TRUE(b.IsEmpty());
}

TEST(MaskPlane, TranslateKeepInsideStopsAtTheEdge) {
  TIEMask m;
  ASSERT_TRUE(m.Allocate(10, 8, 1));
  m.SetPixel(2, 2, 1);
  m.SetPixel(4, 3, 1);
  m.Translate(100, -100, true);
  ExpectBox(m, 7, 0, 9, 1);
  EXPECT_EQ(m.GetPixel(7, 0), 1);
  EXPECT_EQ(m.GetPixel(9, 1), 1);
  EXPECT_EQ(m.GetPixel(2, 2), 0);
}

TEST(MaskPlane, TranslateFreelyDropsWhatLeaves) {
  for (int bits : {1, 8}) {
    TIEMask m;
    ASSERT_TRUE(m.Allocate(12, 6, bits));
    m.FillSpan(1, 0, 1, 11);
    m.FillSpan(1, 0, 4, 11);
    m.SetBox(0, 1, 11, 4);
    m.Translate(-3, 2, false);
    ExpectBox(m, 0, 3, 8, 5);
    for (int x = 0; x < 12; ++x) {
      EXPECT_EQ(m.GetPixel(x, 1), 0);
      EXPECT_EQ(m.GetPixel(x, 3), x <= 8 ? 1 : 0) << bits << " " << x;
      EXPECT_EQ(m.GetPixel(x, 5), 0);  // row 4 + 2 left the plane
    }
    m.Translate(50, 0, false);
    EXPECT_TRUE(m.IsEmpty());
    for (int x = 0; x < 12; ++x) EXPECT_EQ(m.GetPixel(x, 3), 0);
  }
}

TEST(MaskPlane, TranslateOneBitAtUnalignedShiftsKeepsThePattern) {
  for (int64_t dx : {-11, -3, 0, 5, 9}) {
    TIEMask m;
    ASSERT_TRUE(m.Allocate(37, 7, 1));
    uint32_t seed = 12345;
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 37; ++x) {
        seed = seed * 1103515245 + 12345;
        m.SetPixel(x, y, (seed >> 16) & 1);
      }
    const TIEMask before = m;
    m.Translate(dx, 1, false);
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 37; ++x) EXPECT_EQ(m.GetPixel(x, y), before.GetPixel(x - dx, y - 1)) << dx << ": " << x << "," << y;
  }
}

}  // namespace
}  // namespace quillet
