// The processing component: attachment, undo captions, progress, and the
// flips, canvas size, clear, negative and the colour-mode conversions,
// inside a selection where they honour one.
#include <gtest/gtest.h>

#include <set>

#include "imaging/core/bits.h"
#include "imaging/core/ie_view.h"
#include "imaging/proc/ordered_dither.h"
#include "imaging/proc/quantizer.h"
#include "imaging/proc/ziridev_proc.h"
#include "proc/proc_images.h"
#include "proc/proc_view.h"

namespace quillet {
namespace {

using test::SamePixels;
using test::TestView;

TIEWorkingBitmap Gradient(int64_t w, int64_t h) {
  TIEWorkingBitmap b(w, h, TIEPixelFormat::pf24bit);
  for (int64_t y = 0; y < h; ++y)
    for (int64_t x = 0; x < w; ++x) {
      uint8_t* p = b.ScanLine(y) + 3 * x;
      p[0] = uint8_t(x * 10), p[1] = uint8_t(y * 20), p[2] = uint8_t(x + y);
    }
  return b;
}

// The undo captions the operations leave, oldest first, and the last progress.
struct Recorded {
  explicit Recorded(TZiridEvProc& p) : proc(p) {
    proc.ClearUndo();
    proc.UndoLimit = 100;
    proc.UndoLocation = TIEBitmapLocation::ieMemory;
    proc.OnProgress = [this](TZiridEvProc*, int per) { last = per; };
  }
  std::vector<std::string> Captions() const {
    std::vector<std::string> out;
    for (int i = proc.UndoCount() - 1; i >= 0; --i) out.push_back(proc.UndoCaption(i));
    return out;
  }
  TZiridEvProc& proc;
  int last = -1;
};

TEST(ZiridEvProc, FlipsMirrorAndTwiceRestore) {
  TIEWorkingBitmap image = Gradient(5, 3);
  const TIEWorkingBitmap original = image;
  TZiridEvProc proc;
  Recorded r(proc);
  proc.SetAttachedBitmap(&image);
  proc.Flip(TFlipDirection::fdHorizontal);
  EXPECT_EQ(image.Pixel(0, 1), original.Pixel(4, 1));
  EXPECT_EQ(r.last, 85);  // trunc(3 * 100 / 3.5) after the last row
  proc.Flip(TFlipDirection::fdHorizontal);
  EXPECT_TRUE(SamePixels(image, original));
  proc.Flip(TFlipDirection::fdVertical);
  EXPECT_EQ(image.Pixel(3, 0), original.Pixel(3, 2));
  EXPECT_EQ(r.Captions(), (std::vector<std::string>{"Flip", "Flip", "Flip"}));

  // 1-bit rows of every width up to two words.
  for (int64_t w = 1; w <= 40; ++w) {
    TIEWorkingBitmap bits(w, 2, TIEPixelFormat::pf1bit);
    for (int64_t x = 0; x < w; ++x) SetBit(bits.ScanLine(0), x, (x * 7 + w) % 3 == 0);
    const TIEWorkingBitmap before = bits;
    proc.SetAttachedBitmap(&bits);
    proc.Flip(TFlipDirection::fdHorizontal);
    for (int64_t x = 0; x < w; ++x) ASSERT_EQ(bits.Pixel(x, 0), before.Pixel(w - 1 - x, 0)) << w << ":" << x;
    proc.Flip(TFlipDirection::fdHorizontal);
    ASSERT_TRUE(SamePixels(bits, before)) << w;
  }
}

TEST(ZiridEvProc, CanvasClearAndBackground) {
  TIEWorkingBitmap image = Gradient(10, 10);
  TZiridEvProc proc;
  Recorded r(proc);
  proc.SetAttachedBitmap(&image);
  proc.SetBackground(MakeBGR(1, 2, 3));
  proc.ImageResize(0, 5);
  EXPECT_EQ(image.Width(), 10);
  EXPECT_TRUE(r.Captions().empty());
  proc.ImageResize(20, 10);
  EXPECT_EQ(image.Width(), 20);
  EXPECT_EQ(image.Pixel(9, 9), Gradient(10, 10).Pixel(9, 9));
  EXPECT_EQ(image.Pixel(15, 3), MakeBGR(1, 2, 3));
  proc.Clear();
  EXPECT_EQ(image.Pixel(0, 0), MakeBGR(1, 2, 3));
  EXPECT_EQ(r.Captions(), (std::vector<std::string>{"ImageResize 20,10", "Clear"}));
  proc.AutoUndo = false;
  proc.Clear();
  EXPECT_EQ(r.Captions().size(), 2u);
}

TEST(ZiridEvProc, NegativeAndGreyWorkInsideTheSelection) {
  TestView view;
  view.bitmap = Gradient(8, 6);
  const TIEWorkingBitmap original = view.bitmap;
  TZiridEvProc proc;
  proc.SetAttachedZiridEv(&view);
  proc.Negative();
  EXPECT_EQ(view.changes, 1);
  EXPECT_EQ(view.bitmap.Pixel(3, 2).g, 255 - original.Pixel(3, 2).g);

  view.bitmap = original;
  view.selection.Allocate(8, 6, 1);
  view.selection.FillSpan(1, 2, 1, 4);
  view.selection.SetBox(2, 1, 4, 1);
  view.selected = true;
  proc.Negative();
  EXPECT_EQ(view.bitmap.Pixel(3, 1).r, 255 - original.Pixel(3, 1).r);
  EXPECT_EQ(view.bitmap.Pixel(5, 1), original.Pixel(5, 1));
  EXPECT_EQ(view.bitmap.Pixel(3, 2), original.Pixel(3, 2));
  proc.ConvertToGray();
  const TBGR g = view.bitmap.Pixel(2, 1);
  EXPECT_TRUE(g.r == g.g && g.g == g.b);
  EXPECT_EQ(view.bitmap.Pixel(1, 1), original.Pixel(1, 1));

  view.selected = false;
  view.bitmap.Fill(kWhite);
  proc.ConvertToGray();
  EXPECT_EQ(view.bitmap.Pixel(0, 0), MakeBGR(252, 252, 252));

  TIEWorkingBitmap bits(10, 1, TIEPixelFormat::pf1bit);
  proc.SetAttachedBitmap(&bits);
  EXPECT_EQ(proc.AttachedZiridEv(), nullptr);
  proc.Negative();
  EXPECT_EQ(bits.Pixel(9, 0), kBlack);  // a new 1-bit image is white
  proc.ConvertToGray();                 // 24-bit only: nothing
  EXPECT_EQ(bits.PixelFormat(), TIEPixelFormat::pf1bit);
}

TEST(ZiridEvProc, ModeConversions) {
  TIEWorkingBitmap bits(11, 2, TIEPixelFormat::pf1bit);
  bits.Palette() = {{0, 0, 255, 0}, {0, 255, 0, 0}};  // the palette is not consulted
  std::fill(bits.ScanLine(0), bits.ScanLine(0) + 2 * bits.RowBytes(), 0);
  bits.ScanLine(0)[0] = 0x80;
  TZiridEvProc proc;
  proc.SetAttachedBitmap(&bits);
  proc.ConvertTo24Bit();
  ASSERT_EQ(bits.PixelFormat(), TIEPixelFormat::pf24bit);
  EXPECT_EQ(bits.Pixel(0, 0), kWhite);
  EXPECT_EQ(bits.Pixel(1, 0), kBlack);
  EXPECT_EQ(bits.Pixel(10, 1), kBlack);

  // Mid grey is white exactly where the threshold is below 31.
  TIEWorkingBitmap grey(16, 16, TIEPixelFormat::pf24bit);
  grey.Fill(MakeBGR(128, 128, 128));
  proc.SetAttachedBitmap(&grey);
  std::vector<TBGR> palette(2);
  proc.ConvertToPalette(2, palette);
  ASSERT_EQ(grey.PixelFormat(), TIEPixelFormat::pf1bit);
  EXPECT_EQ(palette[1], kWhite);
  int white = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      ASSERT_EQ(grey.Pixel(x, y) == kWhite, DitherThreshold(x, y) < 31) << x << "," << y;
      white += grey.Pixel(x, y) == kWhite;
    }
  EXPECT_EQ(white, 4 * 31);
  // White stays white: no dots where the threshold is 63.
  TIEWorkingBitmap page(8, 8, TIEPixelFormat::pf24bit);
  page.Fill(kWhite);
  proc.SetAttachedBitmap(&page);
  proc.ConvertTo(2);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(page.Pixel(x, y), kWhite) << x << "," << y;

  TIEWorkingBitmap colours = Gradient(40, 30);
  proc.SetAttachedBitmap(&colours);
  Recorded r(proc);
  proc.ConvertTo(16);
  EXPECT_EQ(colours.PixelFormat(), TIEPixelFormat::pf24bit);
  std::set<uint32_t> seen;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const TBGR c = colours.Pixel(x, y);
      seen.insert(uint32_t(c.r) << 16 | c.g << 8 | c.b);
    }
  EXPECT_LE(seen.size(), 16u);
  EXPECT_GT(seen.size(), 4u);
  EXPECT_EQ(r.Captions(), (std::vector<std::string>{"ConvertTo 16"}));
  EXPECT_EQ(r.last, 98);  // trunc(30 * 100 / 30.5)

  // Quantize goes through the quantizer even for two colours, staying 24-bit.
  TIEWorkingBitmap two = Gradient(40, 30);
  proc.SetAttachedBitmap(&two);
  proc.Quantize(2);
  ASSERT_EQ(two.PixelFormat(), TIEPixelFormat::pf24bit);
  seen.clear();
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) seen.insert(RgbOf(two.Pixel(x, y)));
  EXPECT_EQ(seen.size(), 2u);
  EXPECT_EQ(r.Captions().back(), "Quantize 2");
}

TEST(ZiridEvProc, ResampleSizesAndCaptions) {
  TIEWorkingBitmap image = Gradient(400, 301);
  TZiridEvProc proc;
  Recorded r(proc);
  proc.SetAttachedBitmap(&image);
  proc.Resample(-1, -1, TResampleFilter::rfNone);
  EXPECT_EQ(image.Width(), 400);
  proc.Resample(200, -1, TResampleFilter::rfTriangle);
  EXPECT_EQ(image.Width(), 200);
  EXPECT_EQ(image.Height(), 150);
  proc.Resample(-1, 30, TResampleFilter::rfNone);
  EXPECT_EQ(image.Width(), 40);
  EXPECT_EQ(r.Captions(), (std::vector<std::string>{"Resample -1,-1", "Resample 200,-1", "Resample -1,30"}));

  // A tiny source is stretched instead of filtered.
  TIEWorkingBitmap one(1, 1, TIEPixelFormat::pf24bit);
  one.Fill(MakeBGR(5, 6, 7));
  proc.SetAttachedBitmap(&one);
  proc.Resample(3, 2, TResampleFilter::rfLanczos3);
  EXPECT_EQ(one.Width(), 3);
  EXPECT_EQ(one.Pixel(2, 1), MakeBGR(5, 6, 7));
}

TEST(ZiridEvProc, ResamplingKeepsTheShapeOfTransparency) {
  TestView view;
  view.bitmap = Gradient(20, 10);
  view.alpha.Allocate(20, 10, 8);
  view.alpha.Fill(255);
  view.alpha.FillSpan(0, 0, 0, 9);  // the left half of the top row transparent
  TZiridEvProc proc;
  proc.SetAttachedZiridEv(&view);
  proc.Resample(40, 20, TResampleFilter::rfNone);
  ASSERT_EQ(view.alpha.Width(), 40);
  EXPECT_EQ(view.alpha.GetPixel(1, 0), 0);
  EXPECT_EQ(view.alpha.GetPixel(39, 19), 255);
}

TEST(ZiridEvProc, RotateRecordsItsAngle) {
  TIEWorkingBitmap image = Gradient(3, 2);
  const TIEWorkingBitmap original = image;
  TZiridEvProc proc;
  Recorded r(proc);
  proc.SetAttachedBitmap(&image);
  proc.Rotate(0, false);
  EXPECT_TRUE(r.Captions().empty());
  proc.Rotate(90, false);
  EXPECT_EQ(image.Width(), 2);
  EXPECT_EQ(image.Pixel(0, 0), original.Pixel(2, 0));
  proc.Rotate(-90, false);
  EXPECT_TRUE(SamePixels(image, original));
  proc.Rotate(360, false);
  EXPECT_TRUE(SamePixels(image, original));
  EXPECT_EQ(r.Captions(), (std::vector<std::string>{"Rotate 90", "Rotate -90", "Rotate 360"}));
  EXPECT_EQ(RotateCaption(30.25), "Rotate 30.25");
}

TEST(ZiridEvProc, FollowsAndLetsGoOfItsView) {
  TZiridEvProc proc;
  {
    TestView view;
    proc.SetAttachedZiridEv(&view);
    EXPECT_EQ(proc.AttachedBitmap(), &view.bitmap);
    proc.SetBackground(MakeBGR(9, 8, 7));
    EXPECT_EQ(view.Background(), MakeBGR(9, 8, 7));
    proc.SetAttachedBitmap(nullptr);  // ignored while a view is attached
    EXPECT_EQ(proc.AttachedZiridEv(), &view);
  }
  EXPECT_EQ(proc.AttachedZiridEv(), nullptr);
  EXPECT_EQ(proc.AttachedBitmap(), nullptr);
  proc.Flip(TFlipDirection::fdVertical);  // nothing attached: nothing happens
  proc.ConvertTo(8);
  TestView view;
  {
    TZiridEvProc shortLived;
    shortLived.SetAttachedZiridEv(&view);
  }
  EXPECT_EQ(view.ChangeListenerCount(), 0);
}

}  // namespace
}  // namespace quillet
