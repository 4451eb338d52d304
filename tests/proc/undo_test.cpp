// The processing component's undo list: limits, captions, going back several
// steps, every store location, and images of another size or format.
#include <gtest/gtest.h>

#include "imaging/proc/ziridev_proc.h"
#include "proc/proc_images.h"

namespace quillet {
namespace {

using test::SamePixels;

// A 24-bit image whose every pixel tells the step it was made at.
TIEWorkingBitmap Step(uint8_t step, int64_t w = 6, int64_t h = 4) {
  TIEWorkingBitmap b(w, h, TIEPixelFormat::pf24bit);
  for (int64_t y = 0; y < h; ++y)
    for (int64_t x = 0; x < w; ++x) {
      uint8_t* p = b.ScanLine(y) + 3 * x;
      p[0] = step, p[1] = uint8_t(x), p[2] = uint8_t(y);
    }
  return b;
}

// `count` operations: before each, the image is recorded; then it becomes step i + 1.
void Operate(TZiridEvProc& proc, TIEWorkingBitmap& image, int count) {
  for (int i = 0; i < count; ++i) {
    proc.SaveUndoCaptioned("op" + std::to_string(i));
    image.Replace(Step(uint8_t(i + 1)));
  }
}

class UndoAtLocation : public testing::TestWithParam<TIEBitmapLocation> {};

TEST_P(UndoAtLocation, LimitOfOneKeepsTheImageBeforeTheLastChange) {
  TIEWorkingBitmap image = Step(0);
  TZiridEvProc proc;
  proc.UndoLocation = GetParam();
  proc.SetAttachedBitmap(&image);
  Operate(proc, image, 2);
  ASSERT_EQ(proc.UndoCount(), 1);
  EXPECT_EQ(proc.UndoCaption(0), "op1");
  proc.Undo();
  EXPECT_TRUE(SamePixels(image, Step(1)));
  image.Replace(Step(9));
  proc.Undo();  // the entry stays: the same image again
  EXPECT_TRUE(SamePixels(image, Step(1)));
}

TEST_P(UndoAtLocation, UndoAtGoesBackSteps) {
  TIEWorkingBitmap image = Step(0);
  TZiridEvProc proc;
  proc.UndoLocation = GetParam();
  proc.UndoLimit = 3;
  proc.SetAttachedBitmap(&image);
  Operate(proc, image, 5);
  ASSERT_EQ(proc.UndoCount(), 3);
  EXPECT_EQ(proc.UndoCaption(2), "op2");
  proc.UndoAt(2);  // before the third operation
  EXPECT_TRUE(SamePixels(image, Step(2)));
  proc.UndoAt(3);
  proc.UndoAt(-1);
  EXPECT_TRUE(SamePixels(image, Step(2)));
  proc.UndoAt(0);
  EXPECT_TRUE(SamePixels(image, Step(4)));
  EXPECT_EQ(proc.UndoCount(), 3);
  proc.ClearUndo();
  proc.Undo();
  EXPECT_TRUE(SamePixels(image, Step(4)));
}

TEST_P(UndoAtLocation, SizeFormatAndPaletteComeBack) {
  TIEWorkingBitmap image(13, 5, TIEPixelFormat::pf1bit);
  for (int64_t x = 0; x < 13; x += 3) SetBit(image.ScanLine(2), x, false);
  const TIEWorkingBitmap original = image;
  TZiridEvProc proc;
  proc.UndoLocation = GetParam();
  proc.SetAttachedBitmap(&image);
  proc.ConvertTo24Bit();
  proc.Resample(40, 20, TResampleFilter::rfTriangle);
  ASSERT_EQ(image.Width(), 40);
  proc.UndoLimit = 5;
  proc.ClearUndo();
  proc.SaveUndo();
  image = original;  // the view's image replaced by another of its own
  proc.SetAttachedBitmap(&image);
  proc.ConvertTo24Bit();
  proc.Undo();
  EXPECT_TRUE(SamePixels(image, original));
  EXPECT_EQ(image.Palette().size(), 2u);
  proc.UndoAt(1);
  EXPECT_EQ(image.Width(), 40);
  EXPECT_EQ(image.PixelFormat(), TIEPixelFormat::pf24bit);
}

INSTANTIATE_TEST_SUITE_P(Locations, UndoAtLocation,
                         testing::Values(TIEBitmapLocation::ieMemory, TIEBitmapLocation::ieFile,
                                         TIEBitmapLocation::ieWorkingBitmap));

TEST(Undo, NothingToRecordOrRestore) {
  TIEWorkingBitmap image = Step(0);
  TZiridEvProc proc;
  proc.Undo();  // nothing attached
  proc.SaveUndo();
  EXPECT_EQ(proc.UndoCount(), 0);
  proc.SetAttachedBitmap(&image);
  proc.Undo();  // empty list
  EXPECT_TRUE(SamePixels(image, Step(0)));
  proc.SaveUndoCaptioned("first");

  TIEWorkingBitmap empty(0, 0, TIEPixelFormat::pf24bit);
  proc.SetAttachedBitmap(&empty);
  proc.SaveUndoCaptioned("X");  // records nothing, renames nothing
  ASSERT_EQ(proc.UndoCount(), 1);
  EXPECT_EQ(proc.UndoCaption(0), "first");
  proc.Undo();  // an empty image takes the entry back
  EXPECT_TRUE(SamePixels(empty, Step(0)));
}

TEST(Undo, OperationsRecordOnlyWithAutoUndo) {
  TIEWorkingBitmap image = Step(3);
  TZiridEvProc proc;
  proc.SetAttachedBitmap(&image);
  proc.Negative();
  ASSERT_EQ(proc.UndoCount(), 1);
  EXPECT_EQ(proc.UndoCaption(0), "Negative");
  proc.Undo();
  EXPECT_TRUE(SamePixels(image, Step(3)));
  proc.AutoUndo = false;
  proc.Flip(TFlipDirection::fdVertical);
  EXPECT_EQ(proc.UndoCaption(0), "Negative");
  proc.UndoLimit = 0;  // counts as one
  proc.SaveUndo();
  proc.SaveUndo();
  EXPECT_EQ(proc.UndoCount(), 1);
}

}  // namespace
}  // namespace quillet
