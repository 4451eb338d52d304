// Cancelling a read half way: the rows decoded stay, the rest is white, and
// the component reports the cancel.
#include <gtest/gtest.h>

#include "imaging/io/ziridev_io.h"
#include "support/test_support.h"

namespace quillet::test {
namespace {

TEST(CancelRead, KeepsTheRowsDone) {
  TempDir dir;
  for (const char* name : {"a.pcx", "a.ppm"}) {
    SCOPED_TRACE(name);
    TIEWorkingBitmap bitmap(4, 8, TIEPixelFormat::pf24bit);
    bitmap.Fill(MakeBGR(10, 20, 30));
    TZiridEvIO io;
    io.SetAttachedBitmap(&bitmap);
    io.SaveToFile(dir.File(name));
    ASSERT_FALSE(io.Aborting) << io.LastError;
    io.OnProgress = [](TZiridEvIO* sender, int per) { sender->Aborting = sender->Aborting || per >= 50; };
    io.LoadFromFile(dir.File(name));
    EXPECT_TRUE(io.Aborting);
    ASSERT_EQ(bitmap.Height(), 8);
    for (int64_t y = 0; y < 8; ++y) EXPECT_EQ(bitmap.Pixel(2, y), y < 4 ? MakeBGR(10, 20, 30) : kWhite) << y;
  }
}

}  // namespace
}  // namespace quillet::test
