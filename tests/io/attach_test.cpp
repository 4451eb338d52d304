// The I/O component attached to a view: it works on the view's bitmap and
// alpha channel, follows their replacement, lets go of a destroyed view, and
// hands the file's resolution and background to the view.
#include <gtest/gtest.h>

#include <memory>

#include "imaging/core/ie_view.h"
#include "imaging/core/stream.h"
#include "imaging/io/ziridev_io.h"
#include "support/test_support.h"

namespace quillet::test {
namespace {

class TestView : public TIEView {
 public:
  TIEWorkingBitmap* GetBitmap() override { return bitmap; }
  TIEMask* GetAlphaChannel() override { return &alpha; }
  void LockPaint() override {}
  void UnlockPaint() override {}
  void UnlockPaintNoUpdate() override {}
  void ImageChange() override { ++changes; }

  // Gives the view another bitmap, as a view does when its image is replaced.
  void ReplaceBitmap(TIEWorkingBitmap* b) {
    bitmap = b;
    NotifyChange();
  }

  TIEWorkingBitmap own{1, 1, TIEPixelFormat::pf24bit};
  TIEWorkingBitmap* bitmap = &own;
  TIEMask alpha;
  int changes = 0;
};

// A 300 dpi 24-bit BMP of w x h written by the component from a bare bitmap.
std::string WriteBmp(const TempDir& dir, int64_t w, int64_t h) {
  TIEWorkingBitmap image(w, h, TIEPixelFormat::pf24bit);
  image.Fill(MakeBGR(10, 20, 30));
  TZiridEvIO io;
  io.SetAttachedBitmap(&image);
  io.Params.DpiX = io.Params.DpiY = 300;
  const std::string file = dir.File("in.bmp");
  io.SaveToFile(file);
  EXPECT_FALSE(io.Aborting) << io.LastError;
  return file;
}

TEST(AttachedView, ReadsIntoTheViewAndTellsItAboutTheImage) {
  TempDir dir;
  const std::string file = WriteBmp(dir, 7, 5);
  TestView view;
  view.SetDpi(96, 96);
  TZiridEvIO io;
  io.SetAttachedZiridEv(&view);
  EXPECT_EQ(io.AttachedBitmap(), &view.own);
  EXPECT_EQ(io.AlphaMask(), &view.alpha);
  io.LoadFromFile(file);
  ASSERT_FALSE(io.Aborting) << io.LastError;
  EXPECT_EQ(view.own.Width(), 7);
  EXPECT_EQ(view.own.Pixel(6, 4), MakeBGR(10, 20, 30));
  EXPECT_EQ(view.alpha.Width(), 7);  // the alpha channel follows the image
  EXPECT_EQ(view.changes, 1);
  EXPECT_EQ(view.DpiX(), 300);

  // A stream read of a BMP keeps the view's resolution.
  view.SetDpi(72, 72);
  TIEMemoryStream stream(ReadFileBytes(file));
  io.LoadFromStream(stream);
  ASSERT_FALSE(io.Aborting) << io.LastError;
  EXPECT_EQ(view.DpiX(), 72);
  EXPECT_EQ(view.changes, 2);

  // The background is the view's.
  io.SetBackground(MakeBGR(1, 2, 3));
  EXPECT_EQ(view.Background(), MakeBGR(1, 2, 3));
  view.SetBackground(MakeBGR(4, 5, 6));
  EXPECT_EQ(io.Background(), MakeBGR(4, 5, 6));
  io.ClearImage();
  EXPECT_EQ(view.own.Pixel(0, 0), MakeBGR(4, 5, 6));
}

TEST(AttachedView, FollowsAReplacedBitmap) {
  TestView view;
  TZiridEvIO io;
  io.SetAttachedZiridEv(&view);
  TIEWorkingBitmap other(3, 3, TIEPixelFormat::pf24bit);
  view.ReplaceBitmap(&other);
  EXPECT_EQ(io.AttachedBitmap(), &other);
}

TEST(AttachedView, LetsGoOfADestroyedViewAndIsForgottenWhenDestroyed) {
  TZiridEvIO io;
  {
    TestView view;
    io.SetAttachedZiridEv(&view);
    EXPECT_EQ(view.ChangeListenerCount(), 1);
  }
  EXPECT_EQ(io.AttachedZiridEv(), nullptr);
  EXPECT_EQ(io.AttachedBitmap(), nullptr);
  EXPECT_EQ(io.AlphaMask(), nullptr);
  io.LoadFromFile("/nonexistent.bmp");  // nothing attached: returns at once
  EXPECT_FALSE(io.Aborting);

  TestView view;
  {
    TZiridEvIO shortLived;
    shortLived.SetAttachedZiridEv(&view);
  }
  EXPECT_EQ(view.ChangeListenerCount(), 0);
}

TEST(AttachedView, ABareBitmapDetachesTheViewButNoneIsIgnored) {
  TestView view;
  TZiridEvIO io;
  io.SetAttachedZiridEv(&view);
  io.SetAttachedBitmap(nullptr);
  EXPECT_EQ(io.AttachedZiridEv(), &view);
  TIEWorkingBitmap bare(2, 2, TIEPixelFormat::pf24bit);
  io.SetAttachedBitmap(&bare);
  EXPECT_EQ(io.AttachedZiridEv(), nullptr);
  EXPECT_EQ(io.AlphaMask(), nullptr);
  EXPECT_EQ(view.ChangeListenerCount(), 0);
  const uint64_t before = bare.ChangeCount();
  io.Update();
  EXPECT_GT(bare.ChangeCount(), before);
  EXPECT_EQ(view.changes, 0);
  // Without a view the background is the component's own.
  io.SetBackground(MakeBGR(9, 9, 9));
  EXPECT_EQ(io.Background(), MakeBGR(9, 9, 9));
  EXPECT_NE(view.Background(), MakeBGR(9, 9, 9));
}

}  // namespace
}  // namespace quillet::test
