// Document windows: new and opened images, the status bar, the zoom commands,
// undo, saving, and closing a changed image.
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "imaging/core/engine_settings.h"
#include "support/test_support.h"

namespace quillet::test {
namespace {

TEST(EditForm, NewImagesAreWhiteAtTheChosenSizeAndType) {
  Editor e;
  TEditForm* doc = e.New(100, 100);
  ASSERT_NE(doc, nullptr);
  const TIEWorkingBitmap& b = doc->ZiridEvView1->Bitmap();
  EXPECT_EQ(b.Width(), 100);
  EXPECT_EQ(b.PixelFormat(), TIEPixelFormat::pf24bit);
  EXPECT_EQ(b.Pixel(99, 99), kWhite);
  EXPECT_EQ(doc->StatusPanel[1]->text(),
            QString("100x100 pixels  %1 dpi").arg(StartupMetrics().DpiX));
  EXPECT_EQ(doc->ZiridEvView1->Zoom(), 100);
  EXPECT_TRUE(doc->ZiridEvView1->DisplayGrid());
  EXPECT_EQ(doc->FileName, "Untitled");

  TEditForm* bw = e.New(8, 3, true);
  EXPECT_EQ(bw->ZiridEvView1->Bitmap().PixelFormat(), TIEPixelFormat::pf1bit);
  EXPECT_EQ(bw->ZiridEvView1->Bitmap().Pixel(7, 2), kWhite);
  TEditForm* empty = e.New(0, 0);
  EXPECT_EQ(empty->StatusPanel[1]->text().left(12), "0x0 pixels  ");
  empty->ZoomFit();
  empty->ZoomWindow();
  EXPECT_EQ(empty->ZiridEvView1->Zoom(), 100);
  EXPECT_EQ(empty->ZiridEvView1->MouseInteract(), 0);
}

TEST(EditForm, ZoomCommandsWorkInWholePercents) {
  Editor e;
  TEditForm* doc = e.New(50, 50);
  for (int expected : {200, 400, 800, 1600, 1600}) {
    doc->ZoomIn();
    EXPECT_EQ(doc->ZiridEvView1->Zoom(), expected);
  }
  EXPECT_EQ(e.frame.EditorState.CurrentZoom, 1600);
  EXPECT_EQ(e.frame.ComboBox1->currentText(), "1600 %");
  doc->ZiridEvView1->SetZoom(100);
  for (int expected : {50, 25, 25}) {
    doc->ZoomOut();
    EXPECT_EQ(doc->ZiridEvView1->Zoom(), expected);
  }
  doc->ZiridEvView1->SetZoom(37);
  doc->ZoomOut();
  EXPECT_EQ(doc->ZiridEvView1->Zoom(), 18);

  doc->ZoomWindow();
  EXPECT_EQ(doc->ZiridEvView1->MouseInteract(), miZoom | miSelectZoom);
  doc->ZiridEvView1->SetZoom(60);  // the view change ends the zoom window
  EXPECT_EQ(doc->ZiridEvView1->MouseInteract(), 0);
  EXPECT_EQ(e.frame.EditorState.CurrentZoom, 60);
}

TEST(EditForm, ZoomFitKeepsTheRatiosAsFloats) {
  Editor e;
  TEditForm* doc = e.New(1000, 500);
  doc->ZiridEvView1->SetScrollBars(TScrollStyle::ssNone);
  doc->ZiridEvView1->setFixedSize(406, 190);
  QApplication::processEvents();
  ASSERT_EQ(doc->ZiridEvView1->ViewWidth(), 406 * doc->ZiridEvView1->DeviceRatio());
  doc->ZoomFit();
  EXPECT_EQ(doc->ZiridEvView1->Zoom(), 37);
  EXPECT_EQ(e.frame.EditorState.CurrentZoom, 37);

  TEditForm* other = e.New(400, 300);
  other->ZiridEvView1->SetScrollBars(TScrollStyle::ssNone);
  other->ZiridEvView1->setFixedSize(200, 150);
  QApplication::processEvents();
  other->ZoomFit();
  EXPECT_EQ(other->ZiridEvView1->Zoom(), 50);
}

TEST(EditForm, UndoRestoresTheCopyTakenBeforeTheLastChange) {
  Editor e;
  TEditForm* doc = e.New(4, 4);
  TIEWorkingBitmap& b = doc->ZiridEvView1->Bitmap();
  doc->SaveUndoCopy();
  b.Fill(kBlack);
  EXPECT_TRUE(e.frame.EditorState.UndoAvailable);
  e.frame.Timer1Timer();
  EXPECT_TRUE(e.frame.Undo1->isEnabled());
  e.frame.Undo1Click();
  EXPECT_EQ(doc->ZiridEvView1->Bitmap().Pixel(0, 0), kWhite);
  EXPECT_FALSE(doc->UndoAvailable);
  e.frame.Timer1Timer();
  EXPECT_FALSE(e.frame.Undo1->isEnabled());

  doc->SaveUndoCopy();
  doc->ZiridEvView1->Bitmap().SetSize(6, 2);
  doc->Undo();
  EXPECT_EQ(doc->ZiridEvView1->Bitmap().Width(), 4);
  EXPECT_EQ(doc->StatusPanel[1]->text().left(14), "4x4 pixels  96");
}

TEST(EditForm, ImageCommandsChangeTheImageAndCanBeUndone) {
  Editor e;
  TFrameForm& f = e.frame;
  TEditForm* doc = e.New(3, 2);
  TIEWorkingBitmap& b = doc->ZiridEvView1->Bitmap();
  b.ScanLine(0)[6] = 1;  // the top-right pixel's blue
  f.Timer1Timer();
  ASSERT_TRUE(f.N90Counterclockwise1->isEnabled());
  EXPECT_FALSE(f.Conv24bit->isEnabled());  // only for 1-bit images
  f.N90Counterclockwise1->trigger();
  EXPECT_EQ(doc->ZiridEvView1->Bitmap().Width(), 2);
  EXPECT_EQ(doc->ZiridEvView1->Bitmap().ScanLine(0)[0], 1);
  EXPECT_EQ(doc->StatusPanel[1]->text().left(6), "2x3 pi");
  f.Timer1Timer();
  EXPECT_TRUE(f.Undo1->isEnabled());
  f.Undo1->trigger();
  EXPECT_EQ(doc->ZiridEvView1->Bitmap().Width(), 3);

  f.Horizontal2->trigger();
  EXPECT_EQ(doc->ZiridEvView1->Bitmap().ScanLine(0)[0], 1);
  f.NegativeImage1->trigger();
  EXPECT_EQ(doc->ZiridEvView1->Bitmap().ScanLine(0)[0], 254);
  f.Gray8bit->trigger();
  const TBGR g = doc->ZiridEvView1->Bitmap().Pixel(2, 1);
  EXPECT_TRUE(g.r == g.g && g.g == g.b);
  f.Clear1->trigger();  // the background of the view: teal
  EXPECT_EQ(doc->ZiridEvView1->Bitmap().Pixel(1, 1), MakeBGR(0, 128, 128));

  // Inside a selection only the selected pixels change.
  TEditForm* sel = e.New(10, 10);
  sel->ZiridEvView1->SelectRectangle(2, 2, 4, 4, false);
  f.NegativeImage1->trigger();
  EXPECT_EQ(sel->ZiridEvView1->Bitmap().Pixel(3, 3), kBlack);
  EXPECT_EQ(sel->ZiridEvView1->Bitmap().Pixel(6, 6), kWhite);

  TEditForm* bw = e.New(9, 4, true);
  f.Timer1Timer();
  EXPECT_TRUE(f.Conv24bit->isEnabled());
  f.Conv24bit->trigger();
  EXPECT_EQ(bw->ZiridEvView1->Bitmap().PixelFormat(), TIEPixelFormat::pf24bit);
  EXPECT_EQ(bw->ZiridEvView1->Bitmap().Pixel(8, 3), kWhite);
  f.N1801->trigger();
  f.N90Clockwise1->trigger();
  EXPECT_EQ(bw->ZiridEvView1->Bitmap().Width(), 4);
  f.Vertical2->trigger();
  EXPECT_TRUE(bw->Modified());
}

TEST(EditForm, OpensSavesAndAsksBeforeLosingChanges) {
  Editor e;
  TempDir dir;
  TIEWorkingBitmap image(30, 20, TIEPixelFormat::pf24bit);
  image.Fill(MakeBGR(200, 100, 50));
  TZiridEvIO writer;
  writer.SetAttachedBitmap(&image);
  writer.SaveToFile(dir.File("in.bmp"));

  e.openName = QString::fromStdString(dir.File("in.bmp"));
  e.frame.Open1Click();
  TEditForm* doc = e.frame.ActiveDocument();
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(e.Captions().last(), e.openName);
  EXPECT_EQ(doc->FileName, dir.File("in.bmp"));
  EXPECT_EQ(doc->ZiridEvView1->Bitmap().Pixel(29, 19), MakeBGR(200, 100, 50));
  EXPECT_EQ(doc->StatusPanel[1]->text().left(10), "30x20 pixe");
  EXPECT_FALSE(doc->Modified());

  e.openName.clear();  // cancelled
  e.frame.Open1Click();
  EXPECT_EQ(e.Documents(), 1);
  TEditForm* other = e.New(5, 5);

  // Closing a changed image asks; Cancel keeps the window.
  e.frame.MdiArea->setActiveSubWindow(e.frame.MdiArea->subWindowList().first());
  doc->ZiridEvView1->Bitmap().Fill(kBlack);
  doc->ZiridEvView1->Bitmap().MarkModified();
  EXPECT_TRUE(doc->Modified());
  e.closeAnswer = QMessageBox::Cancel;
  e.frame.MdiArea->subWindowList().first()->close();
  EXPECT_EQ(e.Documents(), 2);
  EXPECT_EQ(e.confirmations, 1);

  // Save writes the file by its extension and the window takes its name.
  e.saveName = QString::fromStdString(dir.File("out.bmp"));
  e.frame.SaveAs1Click();
  EXPECT_FALSE(doc->Modified());
  EXPECT_EQ(doc->FileName, dir.File("out.bmp"));
  TIEWorkingBitmap back;
  TZiridEvIO reader;
  reader.SetAttachedBitmap(&back);
  reader.LoadFromFile(dir.File("out.bmp"));
  ASSERT_FALSE(reader.Aborting);
  EXPECT_EQ(back.Pixel(0, 0), kBlack);
  // Saved: it closes without asking.
  e.frame.MdiArea->subWindowList().first()->close();
  QApplication::processEvents();
  EXPECT_EQ(e.Documents(), 1);
  EXPECT_EQ(e.confirmations, 1);

  // A failed save is reported and the change still counts as unsaved.
  TEditForm* last = e.frame.ActiveDocument();
  ASSERT_EQ(last, other);
  last->ZiridEvView1->Bitmap().MarkModified();
  e.saveName = QString::fromStdString(dir.File("no/such/folder/x.bmp"));
  last->Save();
  EXPECT_EQ(e.warnings.size(), 1);
  EXPECT_TRUE(last->Modified());
  e.closeAnswer = QMessageBox::Discard;
}

}  // namespace
}  // namespace quillet::test
