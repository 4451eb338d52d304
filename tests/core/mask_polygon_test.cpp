// Polygon filling of TIEMask: covered pixels, clipping, sub-polygons, box.
#include <gtest/gtest.h>

#include <vector>

#include "imaging/core/mask.h"

namespace quillet {
namespace {

int64_t CountSet(const TIEMask& m) {
  int64_t n = 0;
  for (int y = 0; y < m.Height(); ++y)
    for (int x = 0; x < m.Width(); ++x) n += m.GetPixel(x, y) != 0;
  return n;
}

TEST(MaskPolygon, RectangleCoversItsHalfOpenArea) {
  for (int bits : {1, 8}) {
    TIEMask m;
    ASSERT_TRUE(m.Allocate(20, 20, bits));
    TIEPoint rect[] = {{2, 3}, {12, 3}, {12, 8}, {2, 8}};
    m.FillPolygon(255, rect, 4);
    EXPECT_EQ(CountSet(m), 10 * 5);
    EXPECT_EQ(m.GetPixel(2, 3), bits == 1 ? 1 : 255);
    EXPECT_EQ(m.GetPixel(11, 7), bits == 1 ? 1 : 255);
    EXPECT_EQ(m.GetPixel(12, 7), 0);
    EXPECT_EQ(m.GetPixel(11, 8), 0);
    EXPECT_EQ(m.X1(), 2);
    EXPECT_EQ(m.Y1(), 3);
    EXPECT_EQ(m.X2(), 11);
    EXPECT_EQ(m.Y2(), 7);
  }
}

TEST(MaskPolygon, TriangleRowsNarrowAlongTheSlope) {
  TIEMask m;
  ASSERT_TRUE(m.Allocate(16, 16, 8));
  TIEPoint tri[] = {{0, 0}, {8, 8}, {0, 8}};  // hypotenuse x = y
  m.FillPolygon(50, tri, 3);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) EXPECT_EQ(m.GetPixel(x, y), (y < 8 && x < y) ? 50 : 0) << x << "," << y;
}

TEST(MaskPolygon, FlatPolygonWritesNothingAndLeavesTheBoxAlone) {
  TIEMask m;
  ASSERT_TRUE(m.Allocate(10, 10, 1));
  TIEPoint flat[] = {{1, 5}, {8, 5}, {4, 5}};
  m.FillPolygon(1, flat, 3);
  EXPECT_EQ(CountSet(m), 0);
  EXPECT_TRUE(m.IsEmpty());
  // ... and keeps the box of what was there before.
  m.SetPixel(4, 4, 1);
  m.FillPolygon(1, flat, 3);
  EXPECT_FALSE(m.IsEmpty());
  EXPECT_EQ(m.X1(), 4);
}

TEST(MaskPolygon, PolygonPartlyOutsideIsClipped) {
  TIEMask m;
  ASSERT_TRUE(m.Allocate(10, 6, 1));
  TIEPoint big[] = {{-100, -50}, {7, -50}, {7, 100}, {-100, 100}};
  m.FillPolygon(1, big, 4);
  EXPECT_EQ(CountSet(m), 7 * 6);
  EXPECT_EQ(m.X1(), 0);
  EXPECT_EQ(m.Y1(), 0);
  EXPECT_EQ(m.X2(), 6);
  EXPECT_EQ(m.Y2(), 5);

  // Entirely above the plane, and with extreme coordinates: nothing, no fault.
  TIEMask n;
  ASSERT_TRUE(n.Allocate(10, 6, 8));
  TIEPoint above[] = {{0, -20}, {9, -20}, {9, -1}, {0, -1}};
  n.FillPolygon(255, above, 4);
  EXPECT_EQ(CountSet(n), 0);
  EXPECT_TRUE(n.IsEmpty());
  TIEPoint huge[] = {{-2147483647, -2147483647}, {2147483647, 3}, {-2147483647, 2147483647}};
  n.FillPolygon(255, huge, 3);
  EXPECT_GT(CountSet(n), 0);
}

TEST(MaskPolygon, SelfIntersectingStarLeavesItsCentreOpen) {
  TIEMask m;
  ASSERT_TRUE(m.Allocate(40, 40, 1));
  // A pentagram: the even-odd rule leaves the inner pentagon clear.
  TIEPoint star[] = {{20, 1}, {31, 36}, {2, 14}, {38, 14}, {9, 36}};
  m.FillPolygon(1, star, 5);
  EXPECT_EQ(m.GetPixel(20, 22), 0);
  EXPECT_EQ(m.GetPixel(20, 6), 1);
  EXPECT_EQ(m.GetPixel(6, 15), 1);
  EXPECT_EQ(m.GetPixel(33, 15), 1);
}

TEST(MaskPolygon, SetPolygonClearsAndFillsEverySubPolygon) {
  TIEMask m;
  ASSERT_TRUE(m.Allocate(20, 10, 1));
  m.SetPixel(19, 9, 1);
  const int32_t brk = TIEMask::kPolygonBreak;
  std::vector<TIEPoint> pts = {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {brk, 0}, {10, 5}, {14, 5}, {14, 9}, {10, 9}};
  m.SetPolygon(1, pts.data(), int64_t(pts.size()));
  EXPECT_EQ(m.GetPixel(19, 9), 0);
  EXPECT_EQ(CountSet(m), 16 + 16);
  EXPECT_EQ(m.GetPixel(2, 2), 1);
  EXPECT_EQ(m.GetPixel(12, 7), 1);
  EXPECT_EQ(m.GetPixel(7, 4), 0);
  EXPECT_EQ(m.X1(), 0);
  EXPECT_EQ(m.Y1(), 0);
  EXPECT_EQ(m.X2(), 13);
  EXPECT_EQ(m.Y2(), 8);
}

}  // namespace
}  // namespace quillet
