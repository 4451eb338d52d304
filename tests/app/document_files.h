// Opening files into document windows through File > Open, and comparing a
// document's image with Pillow's decoding of a file.
#pragma once

#include <gtest/gtest.h>

#include "app_fixture.h"
#include "support/test_support.h"

namespace quillet::test {

inline TEditForm* Open(Editor& e, const std::string& file) {
  e.openName = QString::fromStdString(file);
  e.frame.Open1Click();
  return e.frame.ActiveDocument();
}

// Our document's image against Pillow's RGB decoding of `file`.
inline void ExpectPillowPixels(const TIEWorkingBitmap& image, const TempDir& dir, const std::string& file) {
  RawImage want;
  ASSERT_TRUE(PillowDecode(file, dir.File("want.pam")) && ReadPam(dir.File("want.pam"), want));
  ASSERT_EQ(image.Width(), want.width);
  ASSERT_EQ(image.Height(), want.height);
  for (int y = 0; y < want.height; ++y)
    for (int x = 0; x < want.width; ++x) {
      const uint8_t* p = want.At(x, y);
      ASSERT_EQ(image.Pixel(x, y), MakeBGR(p[0], p[1], p[2])) << x << "," << y;
    }
}

}  // namespace quillet::test
