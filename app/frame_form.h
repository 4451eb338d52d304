// TFrameForm: the editor's main window: menus, tool bars, the tool panel with
// the colour swatches, the option panels, the zoom box, the status bar with
// the clock and hints, and the 200 ms refresh that follows the active document.
#pragma once

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QSpinBox>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <functional>
#include <vector>

#include "app/editor_state.h"

namespace quillet {

class TEditForm;
class TNew;
class TAboutBox;
class TColorSwatch;

class TFrameForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TFrameForm(QWidget* parent = nullptr);
  ~TFrameForm() override;

  TEditorState EditorState;

  // The active document window, or none.
  TEditForm* ActiveDocument() const;
  // A new document window (reading and resetting PendingCreation), captioned.
  TEditForm* CreateDocument(const QString& caption);
  // "Untitled" and the number of open documents plus one.
  QString UntitledCaption() const;
  // The zoom box shows `text` without counting as the user's change.
  void SetZoomBoxText(const QString& text);

  // --- windows and dialogs ---------------------------------------------------
  QMdiArea* MdiArea;
  TNew* NewDialog = nullptr;
  TAboutBox* AboutBox = nullptr;
  // File names from the open and save dialogs; empty when cancelled.
  std::function<QString()> AskOpenFileName;
  std::function<QString(const QString& proposed)> AskSaveFileName;
  // A colour from the colour dialog; invalid when cancelled.
  std::function<QColor(const QColor& initial)> AskColor;
  // Shows a "Warning" message box.
  std::function<void(const QString& text)> Warn;
  // Asks whether to save a changed document before it closes.
  std::function<int(const QString& caption)> ConfirmClose;
  // Opens a web page, a mail or a file with the desktop's handler.
  std::function<bool(const QUrl& url)> OpenUrl;

  // --- menus (designer names) --------------------------------------------------
  QMenu *File1, *Edit1, *Image1, *Color1, *Effects1, *View1, *Window1, *Help1;
  QMenu *Copy1, *Paste1, *Flip1, *Rotate1, *SplitChannelsTo1, *Mode1, *Zoom1;
  QAction *New1, *NewFromClipboard1, *Open1, *Import1, *Animation1, *AcquireImage1, *SaveAs1, *PrinterSetup1,
      *Print1, *Exit1;
  QAction *Undo1, *all1, *Selection1, *Asnew1, *Toselection1, *Select1, *Selectall1, *Deselect1;
  QAction *Duplicate1, *Horizontal2, *Vertical2, *N90Clockwise1, *N90Counterclockwise1, *N1801, *Rotatecustom1,
      *Crop2, *Papersize1, *Imagesize2, *Background1, *Clear1;
  QAction *Equalize1, *AutoEqualize1, *Contrast1, *RGB1, *HueSaturationValue1, *HueSaturationLuminosity1, *RGB2,
      *HSV1, *BW1bit, *Gray8bit, *Conv24bit, *NegativeImage1;
  QAction *Bumpmap1, *Lens1, *Wave1, *Morphingfilters1, *Userfilters1;
  QAction *ZoomIn1, *ZoomOut1, *ZoomFit1, *ZoomWindow1, *N251, *N501, *N1001, *N2001, *N4001, *N8001, *N16001;
  QAction *Tile1, *Cascade1, *Arrangeicons1, *Contents1, *BrenmorHomepage1, *About1;

  // --- tool bars, tool panel, option panels, status bar ------------------------
  QToolBar *ToolBar2, *ToolBar1, *ToolPanel;
  QComboBox* ComboBox1;
  TColorSwatch *BasicColor, *AddColor;
  QButtonGroup* ToolGroup;
  QToolButton *SpeedButton33, *SpeedButton32, *SpeedButton5, *SpeedButton1, *SpeedButton3, *SpeedButton2,
      *SpeedButton7, *SpeedButton9, *SpeedButton4, *SpeedButton8, *SpeedButton6;
  QWidget *DrawPanel, *ArtDrawPanel, *BrushPanel, *TextPanel, *VideoPanel;
  QLabel *Image2, *Image4;
  QComboBox *ComboBox2, *ComboBox4, *ComboBox3, *ComboBox6, *ComboBox7;
  QSpinBox* UpDown1;  // its edit field is Edit2
  QButtonGroup* BrushGroup;
  QLineEdit* Edit5;
  QToolButton *BoldButton, *ItalicButton, *UnderlineButton;
  QStatusBar* StatusBar1;
  QLabel *StatusPanel0, *StatusPanel1;
  QTimer Timer1;

  // --- handlers ----------------------------------------------------------------
  void FormCreate();
  void PanelHint(const QString& hint);
  void Timer1Timer();
  void New1Click();
  void NewFromClipboard1Click();
  void Open1Click();
  void SaveAs1Click();
  void Exit1Click();
  void Undo1Click();
  void Select1Click();
  void Selectall1Click();
  void Deselect1Click();
  void all1Click();
  void Selection1Click();
  void Asnew1Click();
  void Toselection1Click();
  void Duplicate1Click();
  void Crop2Click();
  void Background1Click();
  void Horizontal2Click();
  void Vertical2Click();
  void N90Clockwise1Click();
  void N90Counterclockwise1Click();
  void N1801Click();
  void Clear1Click();
  void Gray8bitClick();
  void Conv24bitClick();
  void NegativeImage1Click();
  void ZoomIn1Click();
  void ZoomOut1Click();
  void ToolButton4Click();
  void ToolButton7Click();
  void ZoomPercentClick(int percent);  // N251Click ... N16001Click
  void Tile1Click();
  void Cascade1Click();
  void Arrangeicons1Click();
  void Contents1Click();
  void BrenmorHomepage1Click();
  void About1Click();
  void ComboBox1Change();

  // Runs a menu command; an exception ends it with a "Warning" box, so none
  // reaches the event loop.
  void RunCommand(const std::function<void()>& command);
  // Whether the clipboard offers a bitmap; if not, says so in a "Warning" box.
  bool ClipboardHasBitmap();
  // Runs a command of the active document, when there is one.
  void Doc(void (TEditForm::*command)());
  void BasicColorDblClick();
  void AddColorDblClick();

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void BuildToolBars();
  void BuildToolPanel();
  void BuildOptionPanels();
  void BuildStatusBar();
  void InstallDefaultDialogs();
  QAction* Item(QMenu* menu, const char* name, const QString& caption, std::function<void()> handler = {});
  QToolButton* ToolButton(const char* name, const char* hint);
  void AddToolButton(QToolBar* bar, QAction* action, const char* name, const char* hint);
  // Enables `action` when `on`, unless its command is not built yet.
  void Enable(QAction* action, bool on);

  std::vector<QAction*> pending_;  // commands whose work arrives later: always disabled
};

}  // namespace quillet
