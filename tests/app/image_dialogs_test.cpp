// Paper Size, Image Size, Black and White and Rotate Custom through their
// dialogs, driven by the controls' names; Esc during a command; and the
// menus a colour document enables.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>
#include <set>

#include "app/convert_bw_form.h"
#include "app/keep_proportions.h"
#include "app/resize_form.h"
#include "app/rotate_form.h"
#include "app_fixture.h"
#include "imaging/proc/resample.h"
#include "imaging/proc/rotate.h"
#include "imaging/proc/threshold_bw.h"
#include "proc/proc_images.h"

namespace quillet::test {
namespace {

const TBGR kTeal = MakeBGR(0, 128, 128);

// `answer` runs once `dialog` shows; the dialog is closed afterwards if the
// answer did not close it, so that a failed check cannot leave it waiting.
template <class Answer>
void WhenShown(QDialog* dialog, Answer answer) {
  QTimer::singleShot(0, dialog, [dialog, answer] {
    answer();
    if (dialog->isVisible()) dialog->reject();
  });
}

template <class T>
T* Control(QObject* parent, const char* name) {
  T* control = parent->findChild<T*>(name);
  EXPECT_NE(control, nullptr) << name;
  return control;
}

bool SameImage(const TIEWorkingBitmap& a, const TIEWorkingBitmap& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() && a.PixelFormat() == b.PixelFormat() &&
         std::equal(a.Bits(), a.Bits() + a.RowBytes() * a.Height(), b.Bits());
}

// A new colour document showing `picture`.
TEditForm* Document(Editor& e, const TIEWorkingBitmap& picture) {
  TEditForm* doc = e.New(int(picture.Width()), int(picture.Height()));
  doc->ZiridEvView1->Assign(picture);
  return doc;
}

TEST(ImageDialogs, KeepProportionsRule) {
  struct Case {
    int32_t value, base, otherBase;
    std::optional<int32_t> side;
  } cases[] = {{150, 300, 200, 100}, {100, 300, 200, 67}, {67, 200, 300, 100},  // 100.5 goes to the even 100
               {1, 300, 200, 1},     {500, 1000, 3, 2},   {5, 0, 200, std::nullopt}};
  for (const Case& c : cases) EXPECT_EQ(ProportionalSide(c.value, c.base, c.otherBase), c.side) << c.value;
}

TEST(ImageDialogs, SizeDialogKeepsProportionsAndOpensAtTheImageSize) {
  Editor e;
  TFrameForm& f = e.frame;
  TEditForm* doc = e.New(300, 200);
  auto* width = Control<QSpinBox>(f.ResizeForm, "SpinEdit1");
  auto* height = Control<QSpinBox>(f.ResizeForm, "SpinEdit2");
  EXPECT_TRUE(Control<QCheckBox>(f.ResizeForm, "CheckBox1")->isChecked());
  WhenShown(f.ResizeForm, [&] {
    EXPECT_EQ(f.ResizeForm->windowTitle(), "Image Size");
    EXPECT_EQ(width->value(), 300);
    EXPECT_EQ(height->value(), 200);
    // Typed digit by digit, the width stays what was typed.
    for (int typed : {1, 15, 150}) width->setValue(typed);
    EXPECT_EQ(height->value(), 100);
    EXPECT_EQ(width->value(), 150);
    width->setValue(100);
    EXPECT_EQ(height->value(), 67);
    EXPECT_EQ(width->value(), 100);
    width->setValue(1);
    EXPECT_EQ(height->value(), 1);
    EXPECT_EQ(width->value(), 1);
    f.ResizeForm->reject();
  });
  f.Imagesize2Click();
  EXPECT_EQ(doc->ZiridEvView1->Bitmap().Width(), 300);
  EXPECT_FALSE(doc->UndoAvailable);

  TEditForm* large = e.New(640, 480);
  WhenShown(f.ResizeForm, [&] {
    EXPECT_EQ(width->value(), 640);
    EXPECT_EQ(height->value(), 480);
    height->setValue(240);
    EXPECT_EQ(width->value(), 320);
    Control<QPushButton>(f.ResizeForm, "OKButton")->click();
  });
  f.Imagesize2Click();
  EXPECT_EQ(large->ZiridEvView1->Bitmap().Width(), 320);
  EXPECT_EQ(large->ZiridEvView1->Bitmap().Height(), 240);
  EXPECT_EQ(large->StatusPanel[1]->text(), "320x240 pixels  96 dpi");
  f.Undo1Click();
  EXPECT_EQ(large->ZiridEvView1->Bitmap().Width(), 640);
}

TEST(ImageDialogs, PaperSizeGrowsWithTheBackgroundAndCuts) {
  Editor e;
  TFrameForm& f = e.frame;
  TEditForm* doc = e.New(300, 200);
  const auto paper = [&](int w, int h) {
    WhenShown(f.ResizeForm, [&, w, h] {
      EXPECT_EQ(f.ResizeForm->windowTitle(), "Paper Size");
      Control<QCheckBox>(f.ResizeForm, "CheckBox1")->setChecked(false);
      Control<QSpinBox>(f.ResizeForm, "SpinEdit1")->setValue(w);
      Control<QSpinBox>(f.ResizeForm, "SpinEdit2")->setValue(h);
      f.ResizeForm->accept();
    });
    f.findChild<QToolButton*>("ToolButton23")->click();
  };
  paper(400, 300);
  const TIEWorkingBitmap& b = doc->ZiridEvView1->Bitmap();
  ASSERT_EQ(b.Width(), 400);
  ASSERT_EQ(b.Height(), 300);
  EXPECT_EQ(b.Pixel(299, 199), kWhite);
  EXPECT_EQ(b.Pixel(350, 50), kTeal);
  EXPECT_EQ(b.Pixel(50, 250), kTeal);
  EXPECT_EQ(doc->StatusPanel[1]->text(), "400x300 pixels  96 dpi");
  f.Undo1Click();
  EXPECT_EQ(doc->ZiridEvView1->Bitmap().Width(), 300);
  paper(100, 100);
  EXPECT_EQ(doc->ZiridEvView1->Bitmap().Width(), 100);
  EXPECT_EQ(doc->ZiridEvView1->Bitmap().Pixel(99, 99), kWhite);

  // An empty image: Paper Size gives a canvas of the background, Image Size nothing.
  TEditForm* empty = e.New(0, 0);
  paper(20, 10);
  EXPECT_EQ(empty->ZiridEvView1->Bitmap().Pixel(19, 9), kTeal);
  TEditForm* none = e.New(0, 0);
  f.Imagesize2Click();  // no dialog to answer
  EXPECT_TRUE(none->ZiridEvView1->Bitmap().Empty());
  EXPECT_FALSE(none->UndoAvailable);
}

TEST(ImageDialogs, BlackAndWhiteDialog) {
  Editor e;
  TFrameForm& f = e.frame;
  const TIEWorkingBitmap picture = Gradient(600, 400);
  TEditForm* doc = Document(e, picture);
  TConvertBW* dialog = f.ConvertBW;
  auto* slider = Control<QSlider>(dialog, "TrackBar1");
  auto* edit = Control<QLineEdit>(dialog, "Edit1");
  auto* source = Control<TZiridEvView>(dialog, "ImageCol");
  auto* result = Control<TZiridEvView>(dialog, "ImageBW");
  const auto at = [&](int t) {
    TIEWorkingBitmap out;
    ThresholdToBlackWhite(picture, out, t);
    return out;
  };
  WhenShown(dialog, [&] {
    EXPECT_EQ(dialog->windowTitle(), "Convert to Black-and-White");
    EXPECT_TRUE(SameImage(source->Bitmap(), picture));
    EXPECT_TRUE(SameImage(result->Bitmap(), at(128)));
    EXPECT_TRUE(SameImage(*f.EditorState.BwResult, at(128)));
    for (const char* typing : {"", "-", "300", "abc"}) edit->setText(typing);
    EXPECT_EQ(e.warnings, QStringList({"Incorrect value. Threshold range: 0...255.", "'abc' is not a whole number."}));
    EXPECT_EQ(slider->value(), 128);
    edit->setText("200");
    EXPECT_EQ(slider->value(), 200);
    EXPECT_TRUE(dialog->Timer1.isActive());
    EXPECT_TRUE(SameImage(result->Bitmap(), at(128)));  // not before the timer
    dialog->Timer1Timer();
    EXPECT_TRUE(SameImage(result->Bitmap(), at(200)));
    Control<QPushButton>(dialog, "Button3")->click();
    EXPECT_EQ(slider->value(), 128);
    EXPECT_EQ(edit->text(), "128");
    EXPECT_TRUE(SameImage(result->Bitmap(), at(128)));
    // The two views scroll together.
    source->Geometry().SetViewXY(30, 40);
    EXPECT_EQ(result->Geometry().ViewX(), 30);
    EXPECT_EQ(result->Geometry().ViewY(), 40);
    result->Geometry().SetViewXY(70, 20);
    EXPECT_EQ(source->Geometry().ViewX(), 70);
    EXPECT_EQ(source->Geometry().ViewY(), 20);
    // OK before the timer fires takes the slider's threshold.
    slider->setValue(60);
    EXPECT_EQ(edit->text(), "60");
    Control<QPushButton>(dialog, "OKButton")->click();
  });
  f.Timer1Timer();
  ASSERT_TRUE(f.BW1bit->isEnabled());
  f.BW1bit->trigger();
  EXPECT_TRUE(SameImage(doc->ZiridEvView1->Bitmap(), at(60)));
  EXPECT_EQ(doc->ZiridEvView1->Bitmap().Palette(), BlackWhitePalette());
  EXPECT_EQ(doc->StatusPanel[1]->text(), "600x400 pixels  96 dpi");
  EXPECT_EQ(f.EditorState.BwResult, nullptr);
  f.Timer1Timer();
  EXPECT_FALSE(f.BW1bit->isEnabled());
  f.Undo1Click();
  EXPECT_TRUE(SameImage(doc->ZiridEvView1->Bitmap(), picture));

  // Cancel changes nothing and takes no undo copy; the dialog opens at 128 again.
  WhenShown(dialog, [&] {
    EXPECT_EQ(slider->value(), 128);
    slider->setValue(10);
    Control<QPushButton>(dialog, "CancelButton")->click();
  });
  f.BW1bitClick();
  EXPECT_TRUE(SameImage(doc->ZiridEvView1->Bitmap(), picture));
  EXPECT_FALSE(doc->UndoAvailable);
}

TEST(ImageDialogs, RotateCustomPreviewsFromTheDocumentEachTime) {
  Editor e;
  TFrameForm& f = e.frame;
  TRotateForm* dialog = f.RotateForm;
  auto* angle = Control<QSpinBox>(dialog, "UpDown1");
  auto* antialias = Control<QCheckBox>(dialog, "CheckBox1");
  auto* preview = Control<TZiridEvView>(dialog, "ZiridEvView1");
  ASSERT_NE(Control<QLineEdit>(dialog, "Edit1"), nullptr);
  const auto thumbnail = [](const TIEWorkingBitmap& picture) {
    TIEWorkingBitmap out;
    StretchNearest(picture, out, 249, 249 * picture.Height() / picture.Width());
    return out;
  };
  const TIEWorkingBitmap a = Gradient(500, 300), b = Gradient(120, 360);
  TEditForm* docA = Document(e, a);
  WhenShown(dialog, [&] {
    EXPECT_EQ(dialog->windowTitle(), "Rotate Custom");
    EXPECT_TRUE(SameImage(preview->Bitmap(), thumbnail(a)));
    antialias->click();
    angle->setValue(45);
    EXPECT_GT(preview->Bitmap().Width(), 249);
    angle->setValue(0);
    EXPECT_TRUE(SameImage(preview->Bitmap(), thumbnail(a)));
    angle->setValue(30);
    antialias->click();
    EXPECT_FALSE(antialias->isChecked());
    Control<QPushButton>(dialog, "OKButton")->click();
  });
  f.findChild<QToolButton*>("ToolButton46")->click();
  TIEWorkingBitmap turned = a;
  RotateImage(turned, 30, false, kTeal);
  EXPECT_TRUE(SameImage(docA->ZiridEvView1->Bitmap(), turned));
  EXPECT_EQ(docA->ZiridEvView1->Bitmap().Pixel(0, 0), kTeal);
  EXPECT_EQ(docA->StatusPanel[1]->text(),
            QString("%1x%2 pixels  96 dpi").arg(turned.Width()).arg(turned.Height()));
  f.Undo1Click();
  EXPECT_TRUE(SameImage(docA->ZiridEvView1->Bitmap(), a));

  TEditForm* docB = Document(e, b);
  WhenShown(dialog, [&] {
    EXPECT_EQ(angle->value(), 0);
    EXPECT_FALSE(antialias->isChecked());
    EXPECT_TRUE(SameImage(preview->Bitmap(), thumbnail(b)));
    Control<QPushButton>(dialog, "CancelButton")->click();
  });
  f.Rotate2Click();
  EXPECT_TRUE(SameImage(docB->ZiridEvView1->Bitmap(), b));
  EXPECT_FALSE(docB->UndoAvailable);

  // An empty image: an empty preview that no angle turns, and no rotation.
  TEditForm* empty = e.New(0, 0);
  WhenShown(dialog, [&] {
    angle->setValue(30);
    EXPECT_TRUE(preview->Bitmap().Empty());
    dialog->accept();
  });
  f.Rotate2Click();
  EXPECT_TRUE(empty->ZiridEvView1->Bitmap().Empty());
  EXPECT_FALSE(empty->UndoAvailable);
}

TEST(ImageDialogs, EscDuringACommandLeavesTheImageAsItWas) {
  Editor e;
  const TIEWorkingBitmap picture = Gradient(600, 400);
  TEditForm* doc = Document(e, picture);
  QCoreApplication::postEvent(&e.frame, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, {}));
  e.frame.Horizontal2Click();
  EXPECT_TRUE(SameImage(doc->ZiridEvView1->Bitmap(), picture));
  e.frame.Horizontal2Click();
  EXPECT_FALSE(SameImage(doc->ZiridEvView1->Bitmap(), picture));
}

// What stays disabled for a colour document with a selection: the commands
// whose work has not arrived, and RGB Color, which is for 1-bit images.
TEST(ImageDialogs, ImageColorAndEffectsItemsWorkOnAColourDocument) {
  Editor e;
  TFrameForm& f = e.frame;
  e.New(40, 30);
  f.Selectall1Click();
  f.Timer1Timer();
  std::set<QString> pending;
  for (const TFrameCommand& c : FrameCommands())
    if (c.Name && !c.Handler) pending.insert(c.Name);
  EXPECT_EQ(pending, std::set<QString>({"Import1", "Animation1", "AcquireImage1", "PrinterSetup1", "Print1"}));
  for (QMenu* menu : {f.Image1, f.Color1, f.Effects1})
    for (QAction* item : menu->findChildren<QAction*>())
      if (!item->objectName().isEmpty() && item != f.Conv24bit)
        EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
}

}  // namespace
}  // namespace quillet::test
