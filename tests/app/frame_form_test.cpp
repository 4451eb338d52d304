// The main frame: its controls and their names, document creation and
// naming, the zoom box, the swatches, help, and the 200 ms refresh.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMenuBar>
#include <QTextBrowser>

#include "app/help_form.h"

#include "app/about_box.h"
#include "app/color_swatch.h"
#include "app_fixture.h"
#include "support/test_support.h"

namespace quillet::test {
namespace {

TEST(FrameForm, HasItsControlsUnderTheirNames) {
  Editor e;
  TFrameForm& f = e.frame;
  EXPECT_EQ(f.windowTitle(), "Brenmor Quillet 5.1");
  for (const char* name : {"New1", "Open1", "SaveAs1", "Exit1", "Undo1", "all1", "Asnew1", "Crop2", "BW1bit",
                           "Bumpmap1", "N16001", "Tile1", "Contents1", "About1"})
    EXPECT_NE(f.findChild<QAction*>(name), nullptr) << name;
  for (const char* name : {"ToolButton1", "ToolButton9", "ToolButton41", "ToolButton2", "ToolButton47", "ComboBox1",
                           "BasicColor", "AddColor", "SpeedButton5", "SpeedButton33", "SpeedButton31", "Edit2",
                           "ComboBox4", "ComboBox3", "Edit5", "ComboBox7", "StatusBar1", "DrawPanel", "VideoPanel"})
    EXPECT_NE(f.findChild<QWidget*>(name), nullptr) << name;
  QStringList menus;
  for (QAction* a : f.menuBar()->actions()) menus << a->text().remove('&');
  EXPECT_EQ(menus, QStringList({"File", "Edit", "Image", "Color", "Effects", "View", "Window", "Help"}));
  EXPECT_EQ(f.ComboBox1->count(), 7);
  EXPECT_EQ(f.ComboBox1->itemText(6), "1600 %");
  EXPECT_EQ(f.DrawPanel->ComboBox2->currentText(), " Line");
  EXPECT_EQ(f.DrawPanel->UpDown1->maximum(), 100);
  EXPECT_EQ(f.TextPanel->ComboBox7->currentText(), "8");
  EXPECT_TRUE(f.findChild<QToolButton*>("SpeedButton31")->isChecked());
  EXPECT_EQ(f.ToolPanel->BasicColor->Color(), QColor(Qt::black));
  EXPECT_EQ(f.ToolPanel->AddColor->toolTip(), "Current Fill - Double Click to Edit");
  // Commands whose work comes later stand in the menus, disabled.
  EXPECT_FALSE(f.Print1->isEnabled());
  EXPECT_FALSE(f.AcquireImage1->isEnabled());
  EXPECT_TRUE(f.NewFromClipboard1->isEnabled());
  // The paint tools work; Video and Animation come later.
  for (QToolButton* b : {f.ToolPanel->SpeedButton1, f.ToolPanel->SpeedButton3, f.ToolPanel->SpeedButton2,
                         f.ToolPanel->SpeedButton7, f.ToolPanel->SpeedButton9, f.ToolPanel->SpeedButton4,
                         f.ToolPanel->SpeedButton8, f.ToolPanel->SpeedButton6})
    EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
  EXPECT_FALSE(f.ToolPanel->SpeedButton32->isEnabled());
  EXPECT_TRUE(f.New1->isEnabled());
}

TEST(FrameForm, ButtonsShowPicturesAndMenusHaveKeys) {
  Editor e;
  TFrameForm& f = e.frame;
  // Tool bars, tool panel and option panels: a picture, drawn at twice the
  // pixels for a screen of twice the density, and never a letter.
  int buttons = 0;
  for (QToolButton* b : f.findChildren<QToolButton*>()) {
    if (b->objectName().isEmpty() || b->objectName().startsWith("qt_")) continue;
    ++buttons;
    EXPECT_FALSE(b->icon().isNull()) << b->objectName().toStdString();
    EXPECT_EQ(b->icon().pixmap(QSize(16, 16), 2.0).width(), 32) << b->objectName().toStdString();
    EXPECT_TRUE(b->toolButtonStyle() == Qt::ToolButtonIconOnly || b->text().isEmpty())
        << b->objectName().toStdString();
  }
  EXPECT_EQ(buttons, 34 + 11 + 19 + 3 + 3);  // tool bars, tools, brushes, text styles, help
  // Every menu and item has its mnemonic; the common commands their keys.
  for (QMenu* menu : f.findChildren<QMenu*>())
    for (QAction* a : menu->actions())
      if (!a->isSeparator()) {
        EXPECT_TRUE(a->text().contains('&')) << a->text().toStdString();
      }
  for (QAction* a : f.menuBar()->actions()) EXPECT_TRUE(a->text().contains('&')) << a->text().toStdString();
  EXPECT_EQ(f.Duplicate1->text().remove('&'), "Duplicate");
  EXPECT_EQ(f.N90Clockwise1->text().remove('&'), QString::fromUtf8("90\u00b0 Clockwise"));
  const std::pair<QAction*, const char*> keys[] = {
      {f.New1, "Ctrl+N"},       {f.Open1, "Ctrl+O"},   {f.SaveAs1, "Ctrl+S"},  {f.Undo1, "Ctrl+Z"},
      {f.Selection1, "Ctrl+C"}, {f.Toselection1, "Ctrl+V"}, {f.Selectall1, "Ctrl+A"}, {f.ZoomOut1, "Ctrl+-"},
      {f.Exit1, "Ctrl+Q"},      {f.Contents1, "F1"}};
  for (const auto& [action, key] : keys) EXPECT_EQ(action->shortcut(), QKeySequence(key)) << key;
  EXPECT_EQ(f.ZoomIn1->shortcuts(), QList<QKeySequence>({QKeySequence("Ctrl++"), QKeySequence("Ctrl+=")}));
}

TEST(FrameForm, WithoutADocumentToolsAreReleasedAndImageMenusOff) {
  Editor e;
  TFrameForm& f = e.frame;
  f.ToolPanel->SpeedButton5->setChecked(true);
  f.ToolPanel->SpeedButton32->setChecked(true);
  f.Timer1Timer();
  EXPECT_FALSE(f.ToolPanel->SpeedButton5->isChecked());
  EXPECT_TRUE(f.ToolPanel->SpeedButton32->isChecked());  // Video keeps its state
  EXPECT_FALSE(f.ToolBar2->isVisible());
  EXPECT_FALSE(f.Edit1->menuAction()->isEnabled());
  EXPECT_FALSE(f.SaveAs1->isEnabled());
  EXPECT_FALSE(f.StatusPanel0->text().isEmpty());  // the clock
  // Menus still do nothing safely.
  f.ZoomIn1Click();
  f.Selectall1Click();
  f.SaveAs1Click();
  f.ZoomPercentClick(400);
}

TEST(FrameForm, NewDocumentsAreNumberedByTheWindowsOpen) {
  Editor e;
  e.New(10, 10);
  e.New(10, 10);
  e.New(10, 10);
  EXPECT_EQ(e.Captions(), QStringList({"Untitled1", "Untitled2", "Untitled3"}));
  e.frame.MdiArea->subWindowList().first()->close();
  QApplication::processEvents();
  e.New(10, 10);
  EXPECT_EQ(e.Captions().last(), "Untitled3");
  EXPECT_EQ(e.Documents(), 3);
  EXPECT_EQ(e.confirmations, 0);  // a new image has nothing to lose
  // Cancelling the dialog creates nothing.
  QTimer::singleShot(0, e.frame.NewDialog->Button2, &QPushButton::click);
  e.frame.New1Click();
  EXPECT_EQ(e.Documents(), 3);
}

TEST(FrameForm, RefreshFollowsTheActiveDocument) {
  Editor e;
  TFrameForm& f = e.frame;
  TEditForm* colour = e.New(20, 10);
  f.Timer1Timer();
  EXPECT_TRUE(f.ToolBar2->isVisible());
  EXPECT_TRUE(f.Edit1->menuAction()->isEnabled());
  EXPECT_TRUE(f.SplitChannelsTo1->menuAction()->isEnabled());
  EXPECT_FALSE(f.Undo1->isEnabled());
  EXPECT_FALSE(f.Deselect1->isEnabled());
  e.New(20, 10, true);
  f.Timer1Timer();
  EXPECT_FALSE(f.SplitChannelsTo1->menuAction()->isEnabled());

  // The Select tool turns on rectangle selection in the active view.
  f.Select1Click();
  f.Timer1Timer();
  TEditForm* doc = f.ActiveDocument();
  EXPECT_EQ(doc->ZiridEvView1->MouseInteract(), miSelect);
  // Zoom Window outlives the refresh with Select down, until the view has zoomed.
  f.ToolButton7Click();
  f.Timer1Timer();
  EXPECT_EQ(doc->ZiridEvView1->MouseInteract(), miZoom | miSelectZoom);
  doc->ZiridEvView1->SetZoom(300);
  f.Timer1Timer();
  EXPECT_EQ(doc->ZiridEvView1->MouseInteract(), miSelect);
  f.Selectall1Click();
  f.Timer1Timer();
  EXPECT_TRUE(f.Deselect1->isEnabled());
  EXPECT_TRUE(f.EditorState.HasSelection);
  // Activating the other window brings its own state.
  f.MdiArea->setActiveSubWindow(f.MdiArea->subWindowList().first());
  EXPECT_EQ(f.ActiveDocument(), colour);
  EXPECT_FALSE(f.EditorState.HasSelection);
  f.Timer1Timer();
  EXPECT_FALSE(f.Deselect1->isEnabled());
}

TEST(FrameForm, ZoomBoxAndZoomItems) {
  Editor e;
  TFrameForm& f = e.frame;
  TEditForm* doc = e.New(50, 50);
  f.ComboBox1->setEditText("400 %");
  EXPECT_EQ(doc->ZiridEvView1->Zoom(), 400);
  EXPECT_EQ(f.EditorState.CurrentZoom, 400);
  f.ComboBox1->setEditText("300 %");
  EXPECT_EQ(f.EditorState.CurrentZoom, 400);
  EXPECT_EQ(doc->ZiridEvView1->Zoom(), 400);

  f.N16001->trigger();
  EXPECT_EQ(f.ComboBox1->currentText(), "1600 %");
  f.Timer1Timer();
  EXPECT_FALSE(f.ZoomIn1->isEnabled());
  EXPECT_TRUE(f.ZoomOut1->isEnabled());
  f.N251->trigger();
  f.Timer1Timer();
  EXPECT_FALSE(f.ZoomOut1->isEnabled());
  EXPECT_EQ(doc->ZiridEvView1->Zoom(), 25);
}

TEST(FrameForm, SwatchesHelpAndAbout) {
  Editor e;
  TFrameForm& f = e.frame;
  e.color = QColor();  // the colour dialog cancelled
  f.BasicColorDblClick();
  EXPECT_EQ(f.ToolPanel->BasicColor->Color(), QColor(Qt::black));
  e.color = QColor(10, 20, 30);
  f.AddColorDblClick();
  EXPECT_EQ(f.ToolPanel->AddColor->Color(), QColor(10, 20, 30));

  // Help opens in the editor's own window, at its contents, with history.
  f.Contents1Click();
  QTextBrowser* help = f.HelpForm->HelpBrowser;
  EXPECT_TRUE(f.HelpForm->isVisible());
  EXPECT_TRUE(e.opened.isEmpty());
  EXPECT_TRUE(help->toPlainText().contains("What arrives later"));
  help->setSource(QUrl("#view"));
  EXPECT_TRUE(f.HelpForm->BackButton->isEnabled());
  f.HelpForm->BackButton->click();
  EXPECT_EQ(help->source().fragment(), "");
  EXPECT_TRUE(f.HelpForm->ForwardButton->isEnabled());
  f.HelpForm->close();
  f.BrenmorHomepage1Click();
  EXPECT_EQ(e.opened.size(), 1);

  f.RunCommand([] { throw std::bad_alloc(); });
  ASSERT_EQ(e.warnings.size(), 1);
  EXPECT_EQ(e.warnings[0], "Not enough memory for this command.");

  f.PanelHint("Open");
  EXPECT_EQ(f.StatusPanel1->text(), "Open");

  const QImage picture = LoadSplashPicture();
  EXPECT_EQ(picture.width(), 399);
  EXPECT_EQ(picture.height(), 344);
  QTimer::singleShot(0, f.AboutBox->OKButton, &QPushButton::click);
  f.About1Click();
  EXPECT_TRUE(f.AboutBox->Image1->pixmap().isNull());  // released when hidden
  EXPECT_EQ(f.AboutBox->windowTitle(), "About");
}

// A new black and white image is saved as a 1-bit file.
TEST(FrameForm, NewBlackAndWhiteImagesSaveAsOneBit) {
  Editor e;
  TEditForm* doc = e.New(9, 4, true);
  TempDir dir;
  e.saveName = QString::fromStdString(dir.File("bw.bmp"));
  doc->Save();
  e.saveName = QString::fromStdString(dir.File("bw.pcx"));
  doc->Save();
  EXPECT_TRUE(e.warnings.isEmpty()) << e.warnings.join("; ").toStdString();
  EXPECT_EQ(ReadFileBytes(dir.File("bw.bmp")).at(28), 1);  // bits per pixel
  EXPECT_EQ(ReadFileBytes(dir.File("bw.pcx")).at(3), 1);
}

}  // namespace
}  // namespace quillet::test
