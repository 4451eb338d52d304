// The processing component's copy and paste through the in-process clipboard:
// whole image, selections (rectangular and elliptic), pasting as the whole
// image and stretched into the selection's box, with their undo entries.
#include <gtest/gtest.h>

#include <cmath>

#include "imaging/proc/clipboard.h"
#include "imaging/proc/dib_block.h"
#include "imaging/proc/ziridev_proc.h"
#include "proc/proc_images.h"
#include "proc/proc_view.h"

namespace quillet {
namespace {

using test::SamePixels;
using test::TestView;

// The bitmap now on the clipboard.
TIEWorkingBitmap Clipboard() {
  TIEWorkingBitmap b;
  EXPECT_TRUE(ReadDibBlock(SystemClipboard().GetDib(), b));
  return b;
}

void PutOnClipboard(const TIEWorkingBitmap& b) { SystemClipboard().SetDib(WriteDibBlock(b)); }

struct Document {
  Document(int w, int h) {
    view.bitmap = test::Gradient(w, h);
    proc.SetAttachedZiridEv(&view);
    proc.UndoLimit = 10;
  }
  TestView view;
  TZiridEvProc proc;
};

TEST(Clipboard, CopiesTheImageOrTheSelectionBox) {
  Document doc(12, 8);
  doc.proc.SelCopyToClipboard();  // no selection: the whole image
  EXPECT_TRUE(SamePixels(Clipboard(), doc.view.bitmap));

  doc.view.SelectBox(2, 3, 6, 4);
  doc.proc.SelCopyToClipboard();
  const TIEWorkingBitmap box = Clipboard();
  ASSERT_EQ(box.Width(), 5);
  ASSERT_EQ(box.Height(), 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(box.Pixel(x, y), doc.view.bitmap.Pixel(x + 2, y + 3));
  EXPECT_EQ(doc.proc.UndoCount(), 0);  // copying changes nothing

  doc.proc.CopyToClipboard();  // the whole image, selection or not
  EXPECT_EQ(Clipboard().Width(), 12);
}

TEST(Clipboard, EllipticSelectionLeavesTheCornersWhite) {
  Document doc(20, 16);
  doc.view.selection.Allocate(20, 16, 1);
  // An ellipse inscribed in (4, 3)-(15, 12).
  for (int y = 3; y <= 12; ++y) {
    const double dy = (y - 7.5) / 5, half = 6 * std::sqrt(std::max(0.0, 1 - dy * dy));
    doc.view.selection.FillSpan(1, int64_t(std::ceil(9.5 - half)), y, int64_t(std::floor(9.5 + half)));
  }
  doc.view.selection.SetBox(4, 3, 15, 12);
  doc.view.selected = true;
  doc.proc.SelCopyToClipboard();
  const TIEWorkingBitmap box = Clipboard();
  ASSERT_EQ(box.Width(), 12);
  ASSERT_EQ(box.Height(), 10);
  for (auto [x, y] : {std::pair{0, 0}, {11, 0}, {0, 9}, {11, 9}}) EXPECT_EQ(box.Pixel(x, y), kWhite);
  EXPECT_EQ(box.Pixel(6, 5), doc.view.bitmap.Pixel(10, 8));
}

TEST(Clipboard, BlackAndWhiteStaysOneBit) {
  TestView view;
  view.bitmap.Resize(21, 3, TIEPixelFormat::pf1bit);
  for (int x = 0; x < 21; x += 2) SetBit(view.bitmap.ScanLine(1), x, false);
  TZiridEvProc proc;
  proc.SetAttachedZiridEv(&view);
  proc.CopyToClipboard();
  const TIEWorkingBitmap original = view.bitmap;
  view.bitmap.Resize(4, 4, TIEPixelFormat::pf24bit);
  proc.PasteFromClipboard();
  EXPECT_TRUE(SamePixels(view.bitmap, original));
}

TEST(Clipboard, PasteReplacesTheImageWithUndo) {
  Document doc(9, 7);
  const TIEWorkingBitmap before = doc.view.bitmap;
  PutOnClipboard(test::Gradient(30, 4));
  doc.proc.PasteFromClipboard();
  EXPECT_TRUE(SamePixels(doc.view.bitmap, test::Gradient(30, 4)));
  EXPECT_EQ(doc.view.changes, 1);
  ASSERT_EQ(doc.proc.UndoCount(), 1);
  EXPECT_EQ(doc.proc.UndoCaption(0), "PastFromClipboard");
  doc.proc.Undo();
  EXPECT_TRUE(SamePixels(doc.view.bitmap, before));

  // A block that cannot be read leaves the image and the undo list alone.
  SystemClipboard().SetDib({40, 0, 0, 0, 1});
  doc.proc.PasteFromClipboard();
  doc.view.SelectBox(1, 1, 3, 3);
  doc.proc.SelPasteFromClipStretch();
  EXPECT_TRUE(SamePixels(doc.view.bitmap, before));
  EXPECT_EQ(doc.proc.UndoCount(), 1);
  // The pasted image is opaque, also where the old one of its size was not.
  Document clear(30, 4);
  clear.view.alpha.Allocate(30, 4, 8);
  clear.view.alpha.Fill(255);
  clear.view.alpha.SetPixel(3, 2, 0);
  PutOnClipboard(test::Gradient(30, 4));
  clear.proc.PasteFromClipboard();
  EXPECT_TRUE(clear.view.alpha.Full());
}

TEST(Clipboard, StretchPasteFillsExactlyTheSelectionBox) {
  Document doc(30, 30);
  const TIEWorkingBitmap before = doc.view.bitmap;
  TIEWorkingBitmap square(2, 2, TIEPixelFormat::pf24bit);
  const TBGR colours[4] = {MakeBGR(255, 0, 0), MakeBGR(0, 255, 0), MakeBGR(0, 0, 255), MakeBGR(9, 9, 9)};
  for (int i = 0; i < 4; ++i) {
    uint8_t* p = square.ScanLine(i / 2) + 3 * (i % 2);
    p[0] = colours[i].b, p[1] = colours[i].g, p[2] = colours[i].r;
  }
  PutOnClipboard(square);
  doc.view.SelectBox(5, 5, 14, 24);
  doc.view.selection.SetPixel(5, 5, 0);  // the mask does not limit the paste
  doc.proc.SelPasteFromClipStretch();
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) {
      const bool inside = x >= 5 && x <= 14 && y >= 5 && y <= 24;
      const TBGR want = inside ? colours[(y - 5) / 10 * 2 + (x - 5) / 5] : before.Pixel(x, y);
      ASSERT_EQ(doc.view.bitmap.Pixel(x, y), want) << x << "," << y;
    }
  EXPECT_EQ(doc.proc.UndoCaption(0), "SelPasteFromClipStretch");

  // Without a selection it pastes the whole image.
  doc.view.selected = false;
  doc.proc.SelPasteFromClipStretch();
  EXPECT_EQ(doc.view.bitmap.Width(), 2);
  EXPECT_EQ(doc.proc.UndoCaption(0), "PastFromClipboard");
}

TEST(Clipboard, StretchPasteIntoBlackAndWhiteThresholdsGrey) {
  TestView view;
  view.bitmap.Resize(8, 8, TIEPixelFormat::pf1bit);
  TZiridEvProc proc;
  proc.SetAttachedZiridEv(&view);
  TIEWorkingBitmap greys(2, 1, TIEPixelFormat::pf24bit);
  std::fill_n(greys.ScanLine(0), 3, uint8_t(127));
  std::fill_n(greys.ScanLine(0) + 3, 3, uint8_t(130));  // grey level 128
  PutOnClipboard(greys);
  view.SelectBox(0, 2, 3, 2);
  proc.SelPasteFromClipStretch();
  EXPECT_EQ(view.bitmap.PixelFormat(), TIEPixelFormat::pf1bit);
  EXPECT_EQ(view.bitmap.Pixel(1, 2), kBlack);
  EXPECT_EQ(view.bitmap.Pixel(2, 2), kWhite);
  EXPECT_EQ(view.bitmap.Pixel(1, 3), kWhite);
}

}  // namespace
}  // namespace quillet
