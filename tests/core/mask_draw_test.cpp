// Drawing a selection over a client buffer: inverted pixels and marching ants.
#include <gtest/gtest.h>

#include <vector>

#include "imaging/core/mask.h"

namespace quillet {
namespace {

struct Buffer {
  int64_t w, h;
  std::vector<uint8_t> bytes;
  Buffer(int64_t width, int64_t height, uint8_t fill) : w(width), h(height), bytes(size_t(width * height * 3), fill) {}
  TIERawTarget Target() { return {bytes.data(), w, h, w * 3}; }
  const uint8_t* At(int64_t x, int64_t y) const { return bytes.data() + (y * w + x) * 3; }
};

TIEMask Square(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
  TIEMask m;
  m.Allocate(10, 10, 1);
  for (int64_t y = y1; y <= y2; ++y) m.FillSpan(1, x1, y, x2);
  m.SetBox(x1, y1, x2, y2);
  return m;
}

TEST(MaskDraw, InvertedSelectionScalesWithTheZoom) {
  const TIEMask m = Square(2, 3, 3, 3);
  Buffer buf(30, 30, 0x10);
  TIERawTarget t = buf.Target();
  TIEMaskViewport view;
  view.Zoom = 200;
  view.OffsetX = 1;
  m.DrawInverted(t, view);
  for (int64_t y = 0; y < 30; ++y)
    for (int64_t x = 0; x < 30; ++x) {
      const bool inside = x >= 5 && x < 9 && y >= 6 && y < 8;
      EXPECT_EQ(buf.At(x, y)[1], inside ? 0xEF : 0x10) << x << "," << y;
    }
}

TEST(MaskDraw, OutlineMarksOnlyTheBorder) {
  const TIEMask m = Square(1, 1, 6, 6);
  Buffer buf(10, 10, 0);
  TIERawTarget t = buf.Target();
  const TBGR a{1, 1, 1}, b{2, 2, 2};
  TIEMask copy = m;
  copy.DrawOutline(t, TIEMaskViewport{}, a, b, 0);
  for (int64_t y = 0; y < 10; ++y)
    for (int64_t x = 0; x < 10; ++x) {
      const bool inBox = x >= 1 && x <= 6 && y >= 1 && y <= 6;
      const bool border = inBox && (x == 1 || x == 6 || y == 1 || y == 6);
      const uint8_t want = border ? (((x + y) & 4) ? 2 : 1) : 0;
      EXPECT_EQ(buf.At(x, y)[0], want) << x << "," << y;
    }
  // The phase moves the stripes.
  Buffer moved(10, 10, 0);
  TIERawTarget t2 = moved.Target();
  copy.DrawOutline(t2, TIEMaskViewport{}, a, b, 4);
  EXPECT_EQ(moved.At(1, 1)[0], 2);
}

TEST(MaskDraw, OutlineFollowsAHoleAndTheVisibleAreaOnly) {
  TIEMask m = Square(0, 0, 9, 9);
  m.SetPixel(5, 5, 0);
  Buffer buf(8, 8, 0);
  TIERawTarget t = buf.Target();
  TIEMaskViewport view;
  view.OffsetX = -2;  // scrolled: image column 2 at client 0
  view.OffsetY = -2;
  m.DrawOutline(t, view, TBGR{9, 9, 9}, TBGR{9, 9, 9}, 0);
  // Neighbours of the hole at client (3, 3) are border; the hole itself and the
  // interior are not, and the box edges are outside the buffer.
  EXPECT_EQ(buf.At(2, 2)[0], 9);
  EXPECT_EQ(buf.At(4, 4)[0], 9);
  EXPECT_EQ(buf.At(3, 3)[0], 0);
  EXPECT_EQ(buf.At(0, 0)[0], 0);
  EXPECT_EQ(buf.At(7, 7)[0], 9);  // image column 9, the last of the box

  TIEMask alpha;
  ASSERT_TRUE(alpha.Allocate(10, 10, 8));
  alpha.Fill(255);
  Buffer untouched(8, 8, 0);
  TIERawTarget t3 = untouched.Target();
  alpha.DrawOutline(t3, view, TBGR{9, 9, 9}, TBGR{9, 9, 9}, 0);
  alpha.DrawInverted(t3, view);
  EXPECT_EQ(untouched.bytes, std::vector<uint8_t>(untouched.bytes.size(), 0));
}

}  // namespace
}  // namespace quillet
