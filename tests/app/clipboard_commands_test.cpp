// The editor's clipboard commands: copy all and selection, new from the
// clipboard, paste as new image and into a selection, crop, duplicate, their
// undo, and the warning when the clipboard holds no picture.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "app_fixture.h"

namespace quillet::test {
namespace {

// A document whose image is a gradient, so that every pixel tells where it was.
TEditForm* Painted(Editor& e, int w, int h) {
  TEditForm* doc = e.New(w, h);
  TIEWorkingBitmap b(w, h, TIEPixelFormat::pf24bit);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = b.ScanLine(y) + 3 * x;
      p[0] = uint8_t(x * 3), p[1] = uint8_t(y * 5), p[2] = uint8_t(x ^ y);
    }
  doc->ZiridEvView1->Assign(b);
  return doc;
}

const TIEWorkingBitmap& Image(TEditForm* doc) { return doc->ZiridEvView1->Bitmap(); }

void Select(TEditForm* doc, int x1, int y1, int x2, int y2) {
  doc->ZiridEvView1->SelectRectangle(x1, y1, x2, y2, false);
  doc->ShowSelectionInfo();
}

TEST(ClipboardCommands, TextOnlyClipboardWarns) {
  Editor e;
  QGuiApplication::clipboard()->setText("just words");
  TEditForm* doc = Painted(e, 10, 10);
  const TIEWorkingBitmap before = Image(doc);
  e.frame.NewFromClipboard1Click();
  EXPECT_EQ(e.Documents(), 1);
  Select(doc, 1, 1, 4, 4);
  e.frame.Toselection1Click();
  e.frame.Asnew1Click();  // once from New From Clipboard, once from the paste itself
  EXPECT_EQ(e.warnings, QStringList(4, "Clipboard does not contain graphic objects"));
  EXPECT_EQ(e.Documents(), 1);
  EXPECT_EQ(Image(doc).Pixel(2, 2), before.Pixel(2, 2));
  EXPECT_FALSE(doc->UndoAvailable);
}

TEST(ClipboardCommands, CopySelectionThenPasteAsNewImage) {
  Editor e;
  TEditForm* doc = Painted(e, 40, 30);
  Select(doc, 5, 6, 14, 9);  // inclusive corners
  e.frame.Timer1Timer();
  EXPECT_TRUE(e.frame.Selection1->isEnabled());
  EXPECT_TRUE(e.frame.NewFromClipboard1->isEnabled());
  e.frame.Selection1Click();
  e.frame.Asnew1Click();
  ASSERT_EQ(e.Documents(), 2);
  TEditForm* pasted = e.frame.ActiveDocument();
  ASSERT_NE(pasted, doc);
  EXPECT_EQ(pasted->windowTitle(), "Untitled2");
  ASSERT_EQ(Image(pasted).Width(), 10);
  ASSERT_EQ(Image(pasted).Height(), 4);
  EXPECT_EQ(Image(pasted).Pixel(0, 0), Image(doc).Pixel(5, 6));
  EXPECT_EQ(Image(pasted).Pixel(9, 3), Image(doc).Pixel(14, 9));
  EXPECT_TRUE(e.warnings.isEmpty());
}

TEST(ClipboardCommands, CopyAllSelectsTheWholeImage) {
  Editor e;
  TEditForm* doc = Painted(e, 12, 7);
  e.frame.all1Click();
  EXPECT_TRUE(doc->ZiridEvView1->Selection().SelectionExists());
  e.frame.NewFromClipboard1Click();
  TEditForm* copy = e.frame.ActiveDocument();
  EXPECT_EQ(Image(copy).Width(), 12);
  EXPECT_EQ(Image(copy).Pixel(11, 6), Image(doc).Pixel(11, 6));
  EXPECT_EQ(copy->StatusPanel[1]->text().left(13), "12x7 pixels  ");
}

TEST(ClipboardCommands, PasteIntoSelectionStretchesAndUndoes) {
  Editor e;
  TEditForm* source = Painted(e, 2, 2);
  e.frame.all1Click();
  TEditForm* doc = Painted(e, 30, 30);
  const TIEWorkingBitmap before = Image(doc);
  Select(doc, 5, 5, 14, 24);
  e.frame.Toselection1Click();
  EXPECT_EQ(Image(doc).Pixel(5, 5), Image(source).Pixel(0, 0));
  EXPECT_EQ(Image(doc).Pixel(14, 24), Image(source).Pixel(1, 1));
  EXPECT_EQ(Image(doc).Pixel(15, 25), before.Pixel(15, 25));
  EXPECT_EQ(Image(doc).Pixel(4, 5), before.Pixel(4, 5));
  EXPECT_TRUE(doc->UndoAvailable);
  e.frame.Undo1Click();
  EXPECT_EQ(Image(doc).Pixel(5, 5), before.Pixel(5, 5));
}

TEST(ClipboardCommands, CropKeepsTheBoxAndLeavesItOnTheClipboard) {
  Editor e;
  TEditForm* doc = Painted(e, 120, 90);
  const TIEWorkingBitmap before = Image(doc);
  Select(doc, 10, 20, 59, 59);
  e.frame.Crop2Click();
  ASSERT_EQ(Image(doc).Width(), 50);
  ASSERT_EQ(Image(doc).Height(), 40);
  EXPECT_EQ(Image(doc).Pixel(0, 0), before.Pixel(10, 20));
  EXPECT_FALSE(e.frame.EditorState.HasSelection);
  EXPECT_FALSE(doc->ZiridEvView1->Selection().SelectionExists());
  EXPECT_EQ(doc->StatusPanel[3]->text(), " ");
  EXPECT_EQ(doc->StatusPanel[1]->text().left(14), "50x40 pixels  ");
  e.frame.NewFromClipboard1Click();
  EXPECT_EQ(Image(e.frame.ActiveDocument()).Width(), 50);

  e.frame.MdiArea->setActiveSubWindow(e.frame.MdiArea->subWindowList().first());
  e.frame.Undo1Click();
  EXPECT_EQ(Image(doc).Width(), 120);
  e.frame.Crop2Click();  // no selection: nothing, no undo copy
  EXPECT_EQ(Image(doc).Width(), 120);
  EXPECT_FALSE(doc->UndoAvailable);
}

TEST(ClipboardCommands, DuplicateOpensACopyThroughTheClipboard) {
  Editor e;
  TEditForm* bw = e.New(19, 5, true);
  TIEWorkingBitmap dots = Image(bw);
  for (int x = 0; x < 19; x += 3) SetBit(dots.ScanLine(2), x, false);
  bw->ZiridEvView1->Assign(dots);
  Select(bw, 2, 2, 5, 4);
  e.frame.Duplicate1Click();
  ASSERT_EQ(e.Documents(), 2);
  EXPECT_FALSE(bw->ZiridEvView1->Selection().SelectionExists());
  const TIEWorkingBitmap& copy = Image(e.frame.ActiveDocument());
  EXPECT_EQ(copy.PixelFormat(), TIEPixelFormat::pf1bit);  // black and white stays so
  ASSERT_EQ(copy.Width(), 19);
  for (int x = 0; x < 19; ++x) EXPECT_EQ(copy.Pixel(x, 2), dots.Pixel(x, 2)) << x;
  // The clipboard holds the duplicate now.
  e.frame.NewFromClipboard1Click();
  EXPECT_EQ(Image(e.frame.ActiveDocument()).Width(), 19);
}

}  // namespace
}  // namespace quillet::test
