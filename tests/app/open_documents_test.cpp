// Opening files as a user meets it: unreadable files, files dropped from a
// file manager, and the progress bar, busy cursor and Esc of a long read or save.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMimeData>

#include "app_fixture.h"
#include "support/test_support.h"

namespace quillet::test {
namespace {

// A BMP of w x h pixels in `file`; its reader reports progress row by row.
void WriteBmp(const std::string& file, int w, int h) {
  TIEWorkingBitmap image(w, h, TIEPixelFormat::pf24bit);
  image.Fill(MakeBGR(10, 200, 30));
  TZiridEvIO writer;
  writer.SetAttachedBitmap(&image);
  writer.SaveToFile(file);
}

// Esc as the user presses it while the editor works.
void PressEscSoon(QWidget& w) { QCoreApplication::postEvent(&w, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, {})); }

TEST(OpenDocuments, AnUnreadableFileGivesOneWarningAndNoWindow) {
  Editor e;
  TempDir dir;
  TEditForm* kept = e.New(40, 20);
  kept->ZiridEvView1->SetZoom(200);
  WriteFileBytes(dir.File("broken.gif"), {'G', 'I', 'F', '8', '9', 'a', 1, 2});
  WriteFileBytes(dir.File("broken.bmp"), {'B', 'M', 0, 0});
  for (const char* name : {"broken.gif", "broken.bmp", "missing.png"}) {
    e.warnings.clear();
    const QString file = QString::fromStdString(dir.File(name));
    e.frame.OpenDocument(file);
    ASSERT_EQ(e.warnings.size(), 1) << name;
    EXPECT_TRUE(e.warnings[0].contains(file)) << e.warnings[0].toStdString();
    EXPECT_FALSE(e.warnings[0].endsWith(": ")) << "a reason is given";
    EXPECT_EQ(e.Documents(), 1) << name;
  }
  // The window that was active keeps its place in the shared state.
  EXPECT_EQ(e.frame.ActiveDocument(), kept);
  EXPECT_EQ(e.frame.EditorState.CurrentZoom, 200);
  EXPECT_EQ(e.frame.EditorState.PendingCreation, TCreationMode::cmNone);
}

TEST(OpenDocuments, FilesDroppedOnTheFrameOpenAsDocuments) {
  Editor e;
  TempDir dir;
  WriteBmp(dir.File("a.bmp"), 3, 2);
  WriteBmp(dir.File("b.bmp"), 4, 2);
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.File("a.bmp"))),
                QUrl::fromLocalFile(QString::fromStdString(dir.File("b.bmp"))), QUrl("https://example.org/c.bmp")});
  QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&e.frame, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&e.frame, &drop);
  EXPECT_EQ(e.Captions(), QStringList({QString::fromStdString(dir.File("a.bmp")),
                                       QString::fromStdString(dir.File("b.bmp"))}));
  EXPECT_EQ(e.frame.ActiveDocument()->ZiridEvView1->Bitmap().Width(), 4);
  EXPECT_TRUE(e.warnings.isEmpty());
}

TEST(OpenDocuments, LongReadsAndSavesShowProgressAndStopOnEsc) {
  Editor e;
  TempDir dir;
  const QString big = QString::fromStdString(dir.File("big.bmp"));
  WriteBmp(big.toStdString(), 600, 400);
  bool barShown = false, busyCursor = false;
  QTimer::singleShot(0, &e.frame, [&] {
    barShown = e.frame.Progress->ProgressBar1->isVisible();
    busyCursor = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
  });
  e.frame.OpenDocument(big);
  EXPECT_TRUE(barShown);
  EXPECT_TRUE(busyCursor);
  EXPECT_FALSE(e.frame.Progress->ProgressBar1->isVisible());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  ASSERT_EQ(e.Documents(), 1);

  // Esc during a read: no window and, the user having asked, no warning.
  PressEscSoon(e.frame);
  e.frame.OpenDocument(big);
  EXPECT_EQ(e.Documents(), 1);
  EXPECT_TRUE(e.warnings.isEmpty());

  // Esc during a save: the file and the document's unsaved state stay as they were.
  TEditForm* doc = e.frame.ActiveDocument();
  doc->ZiridEvView1->Bitmap().Fill(kBlack);
  doc->ZiridEvView1->Bitmap().MarkModified();
  const std::vector<uint8_t> before = ReadFileBytes(big.toStdString());
  e.saveName = big;
  PressEscSoon(e.frame);
  e.frame.SaveAs1Click();
  EXPECT_EQ(ReadFileBytes(big.toStdString()), before);
  EXPECT_TRUE(doc->Modified());
  EXPECT_TRUE(e.warnings.isEmpty());
  // Without Esc the same save goes through.
  e.frame.SaveAs1Click();
  EXPECT_NE(ReadFileBytes(big.toStdString()), before);
  EXPECT_FALSE(doc->Modified());
}

}  // namespace
}  // namespace quillet::test
