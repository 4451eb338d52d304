// The selection mask and alpha channel follow the bitmap's size.
#include <gtest/gtest.h>

#include "imaging/view/view_planes.h"

namespace quillet {
namespace {

TEST(ViewPlanes, FollowTheBitmapSize) {
  TIEWorkingBitmap bitmap(5, 4, TIEPixelFormat::pf24bit);
  TIEMask selection, alpha;
  EXPECT_TRUE(FollowBitmapSize(bitmap, selection, alpha));
  EXPECT_EQ(selection.BitsPerPixel(), 1);
  EXPECT_EQ(selection.Width(), 5);
  EXPECT_TRUE(alpha.Full());
  EXPECT_EQ(alpha.GetPixel(4, 3), 255);
  // Same size: the planes keep what they hold.
  selection.SetPixel(1, 1, 1);
  alpha.SetPixel(2, 2, 9);
  EXPECT_FALSE(FollowBitmapSize(bitmap, selection, alpha));
  EXPECT_EQ(selection.GetPixel(1, 1), 1);
  EXPECT_EQ(alpha.GetPixel(2, 2), 9);
  bitmap.SetSize(6, 4);
  EXPECT_TRUE(FollowBitmapSize(bitmap, selection, alpha));
  EXPECT_TRUE(selection.IsEmpty());
  EXPECT_EQ(alpha.GetPixel(2, 2), 255);
}

}  // namespace
}  // namespace quillet
