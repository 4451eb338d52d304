// Polygon filling of TIEMask: covered pixels, clipping, sub-polygons, box.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
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

// Even-odd spans straight from the edges: on row y an edge from top to bottom
// crosses at top.X + floor((y - top.Y) * dx / dy).
std::vector<uint8_t> ReferenceFill(const std::vector<TIEPoint>& pts, int w, int h) {
  std::vector<uint8_t> inside(size_t(w * h), 0);
  for (int y = 0; y < h; ++y) {
    std::vector<int64_t> xs;
    for (size_t i = 0; i < pts.size(); ++i) {
      TIEPoint a = pts[i], b = pts[(i + 1) % pts.size()];
      if (a.Y > b.Y) std::swap(a, b);
      if (a.Y == b.Y || y < a.Y || y >= b.Y) continue;
      const int64_t num = int64_t(y - a.Y) * (b.X - a.X), den = b.Y - a.Y;
      xs.push_back(a.X + num / den - (num % den != 0 && num < 0));
    }
    std::sort(xs.begin(), xs.end());
    for (size_t k = 0; k + 1 < xs.size(); k += 2)
      for (int64_t x = std::max<int64_t>(xs[k], 0); x < std::min<int64_t>(xs[k + 1], w); ++x) inside[size_t(y * w + x)] = 1;
  }
  return inside;
}

TEST(MaskPolygon, RandomPolygonsMatchTheEdgeReference) {
  std::mt19937 rng(9);
  const int w = 131, h = 150;  // not a whole number of words, over two bands of rows
  for (int round = 0; round < 12; ++round)
    for (int bits : {1, 8}) {
      std::vector<TIEPoint> pts(size_t(3 + rng() % 20));
      for (auto& p : pts) p = {int32_t(rng() % 200) - 30, int32_t(rng() % 220) - 35};
      const uint8_t value = round % 3 == 2 ? 0 : 77;
      TIEMask m;
      ASSERT_TRUE(m.Allocate(w, h, bits));
      if (value == 0) m.Fill(255);
      m.FillPolygon(value, pts.data(), int64_t(pts.size()));
      const std::vector<uint8_t> inside = ReferenceFill(pts, w, h);
      const int set = bits == 1 ? 1 : 77;
      int x1 = w, y1 = h, x2 = -1, y2 = -1;
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const bool in = inside[size_t(y * w + x)] != 0;
          const int want = in ? (value ? set : 0) : (value ? 0 : (bits == 1 ? 1 : 255));
          ASSERT_EQ(m.GetPixel(x, y), want) << round << " " << bits << " " << x << "," << y;
          if (in) x1 = std::min(x1, x), y1 = std::min(y1, y), x2 = std::max(x2, x), y2 = std::max(y2, y);
        }
      if (value == 0 || x2 < 0) continue;
      EXPECT_EQ(m.X1(), x1);
      EXPECT_EQ(m.Y1(), y1);
      EXPECT_EQ(m.X2(), x2);
      EXPECT_EQ(m.Y2(), y2);
    }
}

}  // namespace
}  // namespace quillet
