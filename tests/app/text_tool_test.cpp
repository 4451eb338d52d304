// The Text tool in the editor: the Text window's ways to OK and Cancel, the
// text placed by the document's tick with its cell's bottom-left at the
// press, presses that move the place or change the document, a closed
// document, the refresh hiding the window, and the text panel's lists.
#include <QKeyEvent>

#include "app/text_form.h"
#include "imaging/core/font_match.h"
#include "painting_fixture.h"

namespace quillet::test {
namespace {

const TBGR kBlue = MakeBGR(0, 0, 255);

struct Texting : Painting {
  explicit Texting(const TPaper& paper = {.Pattern = false, .Width = 200, .Height = 150}) : Painting(paper) {
    form = e.frame.TextForm;
    e.color = QColor(0, 0, 255);
    e.frame.BasicColorDblClick();
    auto* fonts = Control<QComboBox>("ComboBox6");
    fonts->setCurrentIndex(fonts->findText("DejaVu Sans"));
    Control<QToolButton>("SpeedButton9")->click();
  }
  // OK with `text` and the document's tick.
  void Place(const char* text, TEditForm* target = nullptr) {
    form->Edit1->setText(text);
    form->Button1->click();
    (target ? target : doc)->TextTimerTimer();
  }
  void Key(int key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(form->Edit1, &event);
  }
  // The rows and columns the changed pixels span, each pixel in the paint colour.
  QRect ChangedBox() const {
    QRect box;
    for (const TIEPoint q : Changed()) {
      EXPECT_EQ(view->Bitmap().Pixel(q.X, q.Y), view->Bitmap().PixelFormat() == TIEPixelFormat::pf1bit ? kBlack : kBlue);
      box |= QRect(q.X, q.Y, 1, 1);
    }
    return box;
  }

  TTextForm* form;
};

TEST(TextTool, PlacesBoldUnderlinedTextAboveThePressInThePaintColour) {
  for (const bool blackWhite : {false, true}) {
    SCOPED_TRACE(blackWhite ? "1 bit" : "24 bits");
    Texting t({.BlackWhite = blackWhite, .Pattern = false, .Width = 200, .Height = 150});
    t.Control<QComboBox>("ComboBox7")->setCurrentIndex(10);  // 24 points
    t.Control<QToolButton>("SpeedButton10")->click();
    t.Control<QToolButton>("SpeedButton12")->click();
    t.Press(20, 80);
    t.Release(20, 80);
    ASSERT_TRUE(t.form->isVisible());
    EXPECT_TRUE(t.doc->TextTimer.isActive());
    EXPECT_TRUE(t.e.frame.EditorState.UndoAvailable);
    t.Place("Hi there");
    EXPECT_FALSE(t.form->isVisible());
    EXPECT_FALSE(t.doc->TextTimer.isActive());
    const QRect box = t.ChangedBox();
    EXPECT_GE(box.left(), 20);
    EXPECT_LE(box.left(), 23);
    EXPECT_LE(box.bottom(), 79);
    EXPECT_GE(box.bottom(), 72) << "the underline below the baseline";
    EXPECT_GT(box.height(), 20);
    EXPECT_LT(box.height(), 38);
    // The underline: one run across the text.
    int run = 0, longest = 0;
    for (int x = box.left(); x <= box.right(); ++x) {
      run = t.view->Bitmap().Pixel(x, box.bottom()) != t.original.Pixel(x, box.bottom()) ? run + 1 : 0;
      longest = std::max(longest, run);
    }
    EXPECT_GE(longest, box.width() - 2);
    t.e.frame.Undo1Click();
    EXPECT_TRUE(t.Changed().empty());
  }
}

// OK by the button or Enter; Cancel by the button, Escape or the window
// manager: a cancelled text leaves the image as it was, with Undo enabled.
TEST(TextTool, EveryWayToCloseTheWindowIsOkOrCancel) {
  Texting t;
  const std::pair<const char*, std::function<void()>> ways[] = {
      {"OK", [&] { t.form->Button1->click(); }},
      {"Enter", [&] { t.Key(Qt::Key_Return); }},
      {"Cancel", [&] { t.form->Button2->click(); }},
      {"Escape", [&] { t.Key(Qt::Key_Escape); }},
      {"window manager", [&] { t.form->close(); }}};
  int x = 10;
  for (const auto& [name, close] : ways) {
    SCOPED_TRACE(name);
    const bool ok = std::string(name) == "OK" || std::string(name) == "Enter";
    t.original = t.view->Bitmap();
    t.Click(x += 30, 60);
    t.form->Edit1->setText("Ab");
    close();
    EXPECT_FALSE(t.form->isVisible());
    t.doc->TextTimerTimer();
    EXPECT_FALSE(t.doc->TextTimer.isActive());
    EXPECT_EQ(t.Changed().empty(), !ok);
    EXPECT_FALSE(t.e.frame.EditorState.TextReady || t.e.frame.EditorState.TextCancelled);
    EXPECT_TRUE(t.e.frame.EditorState.UndoAvailable);
  }
}

// A second press before OK moves the place and empties the field.
TEST(TextTool, ASecondPressMovesThePlace) {
  Texting t;
  t.Click(20, 40);
  t.form->Edit1->setText("old");
  t.Click(100, 120);
  EXPECT_TRUE(t.form->Edit1->text().isEmpty());
  t.Place("A");
  const QRect box = t.ChangedBox();
  EXPECT_GE(box.left(), 100);
  EXPECT_LE(box.bottom(), 119);
  EXPECT_GT(box.top(), 90);
}

// Only the document of the last press draws; the earlier one's timer stops.
TEST(TextTool, OnlyTheLastPressedDocumentDraws) {
  Texting t;
  TEditForm* a = t.doc;
  t.Click(10, 40);
  TEditForm* b = t.e.New(200, 150);
  t.view = b->ZiridEvView1;
  t.original = t.view->Bitmap();
  t.Click(30, 60);
  EXPECT_FALSE(a->TextTimer.isActive());
  EXPECT_TRUE(b->TextTimer.isActive());
  t.Place("X", a);
  EXPECT_TRUE(t.Changed().empty());
  EXPECT_TRUE(t.e.frame.EditorState.TextReady);
  b->TextTimerTimer();
  EXPECT_FALSE(t.Changed().empty());
  for (int32_t y = 0; y < 150; ++y)
    for (int32_t x = 0; x < 200; ++x) ASSERT_EQ(a->ZiridEvView1->Bitmap().Pixel(x, y), kWhite);
}

// Text pressed into a document that then closed is dropped: the next
// document draws only its own text.
TEST(TextTool, ClosingTheTargetDropsItsText) {
  Texting t;
  t.Click(10, 40);
  t.form->Edit1->setText("Old");
  t.doc->parentWidget()->close();
  QApplication::processEvents();
  EXPECT_FALSE(t.form->isVisible());
  t.form->Button1Click();
  TEditForm* b = t.e.New(200, 150);
  t.view = b->ZiridEvView1;
  t.original = t.view->Bitmap();
  t.Click(30, 60);
  b->TextTimerTimer();
  EXPECT_TRUE(t.Changed().empty());
  t.Place("New", b);
  EXPECT_FALSE(t.Changed().empty());
}

// Another tool hides the window at the refresh its button runs; the timer idles on.
TEST(TextTool, AnotherToolHidesTheWindow) {
  Texting t;
  t.Click(10, 40);
  ASSERT_TRUE(t.form->isVisible());
  t.Control<QToolButton>("SpeedButton1")->click();
  t.e.frame.Timer1Timer();
  EXPECT_FALSE(t.form->isVisible());
  EXPECT_TRUE(t.doc->TextTimer.isActive());
  EXPECT_FALSE(t.Control<QWidget>("TextPanel")->isVisible());
}

// A size typed into the size list is ignored: the text keeps the size the
// canvas font had.
TEST(TextTool, ATypedSizeIsIgnored) {
  Texting t;
  auto* sizes = t.Control<QComboBox>("ComboBox7");
  const auto place = [&](int x) {
    t.original = t.view->Bitmap();
    t.Click(x, 140);
    t.Place("Hg");
    return t.ChangedBox().translated(-x, 0);
  };
  sizes->setCurrentIndex(10);
  const QRect at24 = place(5);
  sizes->setEditText("30");
  EXPECT_EQ(place(60), at24);
  sizes->setEditText("48");
  EXPECT_GT(place(110).height(), at24.height() * 3 / 2) << "an entry's text is its size";
}

// The font list holds the engine's families, each shown in its own face and
// each drawing text; a choice goes to the sample.
TEST(TextTool, TheFontListOffersTheEnginesFaces) {
  Editor e;
  QComboBox* fonts = e.frame.findChild<QComboBox*>("ComboBox6");
  QStringList expected;
  for (const std::string& family : ScalableFontFamilies()) expected << QString::fromStdString(family);
  QStringList listed;
  for (int i = 0; i < fonts->count(); ++i) {
    listed << fonts->itemText(i);
    EXPECT_EQ(fonts->itemData(i, Qt::FontRole).value<QFont>().family(), fonts->itemText(i));
    TIEWorkingBitmap b(60, 30, TIEPixelFormat::pf24bit);
    b.Fill(kWhite);
    TIECanvas canvas(b);
    canvas.State().Font.Name = fonts->itemText(i).toStdString();
    canvas.State().Font.Size = 12;
    canvas.State().BrushStyle = TIEBrushStyle::bsClear;
    canvas.TextOut(2, 2, "Ab");
    bool drawn = false;
    for (int32_t y = 0; y < 30; ++y)
      for (int32_t x = 0; x < 60; ++x) drawn |= b.Pixel(x, y) != kWhite;
    EXPECT_TRUE(drawn) << listed.back().toStdString();
  }
  EXPECT_EQ(listed, expected);
  ASSERT_TRUE(listed.contains("DejaVu Serif"));
  EXPECT_EQ(fonts->currentIndex(), 0);
  fonts->setCurrentIndex(listed.indexOf("DejaVu Serif"));
  EXPECT_EQ(e.frame.findChild<QLineEdit*>("Edit5")->font().family(), "DejaVu Serif");
  for (const char* name : {"SpeedButton10", "SpeedButton11", "SpeedButton12"})
    EXPECT_TRUE(e.frame.findChild<QToolButton*>(name)->isCheckable()) << name;
  EXPECT_TRUE(e.frame.findChild<QComboBox*>("ComboBox7")->isEditable());
  EXPECT_EQ(e.frame.TextForm->windowTitle(), "Text");
  EXPECT_FALSE(e.frame.TextForm->isVisible());
}

}  // namespace
}  // namespace quillet::test
