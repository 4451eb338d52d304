// Color > Auto Equalize on the image and inside an elliptic selection, with
// undo, and Split Channels To > RGB and HSV opening three documents.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>

#include "app_fixture.h"
#include "imaging/proc/colour_adjust.h"
#include "imaging/proc/colour_split.h"
#include "imaging/proc/ui/previews_form.h"

namespace quillet::test {
namespace {

void Paint(TIEWorkingBitmap& b) {
  for (int64_t y = 0; y < b.Height(); ++y)
    for (int64_t x = 0; x < b.Width(); ++x) {
      uint8_t* p = b.ScanLine(y) + 3 * x;
      p[0] = uint8_t(60 + x), p[1] = uint8_t(90 + (x * y) % 40), p[2] = uint8_t(100 + 2 * y);
    }
}

bool Same(const TIEWorkingBitmap& a, const TIEWorkingBitmap& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() &&
         std::equal(a.Bits(), a.Bits() + a.RowBytes() * a.Height(), b.Bits());
}

TEST(ColourCommands, AutoEqualizeOnTheImageAndInAnEllipseThenUndo) {
  Editor e;
  TFrameForm& f = e.frame;
  TEditForm* doc = e.New(60, 40);
  TIEWorkingBitmap& b = doc->ZiridEvView1->Bitmap();
  Paint(b);
  const TIEWorkingBitmap original = b;
  TIEWorkingBitmap expected = original;
  AutoEqualizeArea(expected, {});
  f.Timer1Timer();
  ASSERT_TRUE(f.AutoEqualize1->isEnabled());
  ASSERT_NE(f.findChild<QToolButton*>("ToolButton31"), nullptr);
  f.AutoEqualize1->trigger();
  EXPECT_TRUE(Same(doc->ZiridEvView1->Bitmap(), expected));
  f.Timer1Timer();
  EXPECT_TRUE(f.Undo1->isEnabled());
  f.Undo1->trigger();
  EXPECT_TRUE(Same(doc->ZiridEvView1->Bitmap(), original));

  TIESelection& s = doc->ZiridEvView1->Selection();
  s.AddEllipse(30, 20, 55, 38, false);
  s.EndSelection();
  ASSERT_TRUE(s.SelectionExists());
  f.findChild<QToolButton*>("ToolButton31")->click();
  const TIEMask& mask = s.SelectionMask();
  int changed = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x) {
      const bool differs = doc->ZiridEvView1->Bitmap().Pixel(x, y) != original.Pixel(x, y);
      if (!mask.GetPixel(x, y)) {
        EXPECT_FALSE(differs) << x << "," << y;
      }
      changed += differs;
    }
  EXPECT_GT(changed, 300);
  EXPECT_TRUE(s.SelectionExists());
  f.Undo1->trigger();
  EXPECT_TRUE(Same(doc->ZiridEvView1->Bitmap(), original));
}

TEST(ColourCommands, SplitChannelsOpenThreeDocuments) {
  Editor e;
  TFrameForm& f = e.frame;
  TEditForm* doc = e.New(5, 4);
  Paint(doc->ZiridEvView1->Bitmap());
  const TIEWorkingBitmap original = doc->ZiridEvView1->Bitmap();
  f.Timer1Timer();
  ASSERT_TRUE(f.SplitChannelsTo1->menuAction()->isEnabled());
  f.RGB2->trigger();
  f.MdiArea->setActiveSubWindow(f.MdiArea->subWindowList().first());
  f.HSV1->trigger();
  EXPECT_EQ(e.Captions(), QStringList({"Untitled1", "Untitled1 Red", "Untitled1 Green", "Untitled1 Blue",
                                       "Untitled1 Hue", "Untitled1 Saturation", "Untitled1 Value"}));
  TIEWorkingBitmap planes[6];
  SplitChannelsRGB(original, planes[0], planes[1], planes[2]);
  SplitChannelsHSV(original, planes[3], planes[4], planes[5]);
  const QList<QMdiSubWindow*> windows = f.MdiArea->subWindowList();
  for (int i = 0; i < 6; ++i) {
    auto* plane = qobject_cast<TEditForm*>(windows[i + 1]->widget());
    EXPECT_TRUE(Same(plane->ZiridEvView1->Bitmap(), planes[i])) << i;
    EXPECT_EQ(plane->StatusPanel[1]->text(), "5x4 pixels");
    EXPECT_FALSE(plane->UndoAvailable);
  }
  EXPECT_TRUE(Same(doc->ZiridEvView1->Bitmap(), original));
  EXPECT_FALSE(doc->UndoAvailable);

  e.New(8, 8, true);
  f.Timer1Timer();
  EXPECT_FALSE(f.SplitChannelsTo1->menuAction()->isEnabled());
}

// Each Color and Effects command with parameters opens the preview dialog on
// its one page; OK changes the image and Undo takes it back, as after Cancel.
TEST(ColourCommands, PreviewCommandsOpenTheirPage) {
  Editor e;
  TFrameForm& f = e.frame;
  TEditForm* doc = e.New(30, 20);
  Paint(doc->ZiridEvView1->Bitmap());
  const TIEWorkingBitmap original = doc->ZiridEvView1->Bitmap();
  doc->ZiridEvProc1.MsgLanguage = TMsgLanguage::msEnglish;
  QStringList tabs;
  const char* press = "CancelButton";
  doc->ZiridEvProc1.OnPreview = [&](TZiridEvProc*, TfPreviews* form) {
    QTimer::singleShot(0, form, [&, form] {
      auto* pages = form->findChild<QTabWidget*>("PageTabs");
      for (int i = 0; i < pages->count(); ++i)
        if (pages->isTabVisible(i)) tabs << pages->tabText(i);
      if (QString(press) == "OkButton") form->findChild<QSlider*>("BrightnessTrackBar")->setValue(20);
      form->findChild<QPushButton*>(press)->click();
    });
  };
  f.Timer1Timer();
  for (QAction* a : {f.Equalize1, f.Contrast1, f.RGB1, f.HueSaturationValue1, f.HueSaturationLuminosity1, f.Bumpmap1,
                     f.Lens1, f.Wave1, f.Morphingfilters1, f.Userfilters1}) {
    ASSERT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    a->trigger();
  }
  for (const char* button : {"ToolButton30", "ToolButton32", "ToolButton33", "ToolButton34", "ToolButton35",
                             "ToolButton37", "ToolButton38", "ToolButton39"})
    EXPECT_NE(f.findChild<QToolButton*>(button), nullptr) << button;
  EXPECT_EQ(tabs, QStringList({"Equalization", "Contrast", "RGB", "HSV", "HSL", "Bump map", "Lens", "Wave",
                               "Morphing filters", "User filter"}));
  EXPECT_TRUE(Same(doc->ZiridEvView1->Bitmap(), original));
  f.Timer1Timer();
  EXPECT_TRUE(f.Undo1->isEnabled());

  press = "OkButton";
  f.Contrast1->trigger();
  EXPECT_FALSE(Same(doc->ZiridEvView1->Bitmap(), original));
  f.Undo1->trigger();
  EXPECT_TRUE(Same(doc->ZiridEvView1->Bitmap(), original));
}

}  // namespace
}  // namespace quillet::test
