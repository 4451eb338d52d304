// TFrameForm: the editor's main window: menus and tool bars built from the
// command table, the tool panel, the option panels, the zoom box, the status
// bar with the clock, hints and progress, and the 200 ms refresh. Its
// handlers live in one file per menu area (frame_file.cpp, frame_edit.cpp,
// frame_image.cpp, frame_color.cpp, frame_view.cpp, frame_window_help.cpp,
// frame_draw_options.cpp).
#pragma once

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QTimer>
#include <QToolBar>
#include <functional>

#include "app/editor_state.h"
#include "app/frame_actions.h"
#include "app/option_panels.h"
#include "app/tool_panel.h"
#include "app/work_progress.h"

namespace quillet {

class TEditForm;
class TNew;
class TResizeForm;
class TConvertBW;
class TRotateForm;
class TAboutBox;
class THelpForm;
class TTextForm;

class TFrameForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TFrameForm(QWidget* parent = nullptr);
  ~TFrameForm() override;

  TEditorState EditorState;

  // The active document window, or none.
  TEditForm* ActiveDocument() const;
  // A new document window (reading and resetting PendingCreation), captioned;
  // none when its image could not be made (an unreadable file).
  TEditForm* CreateDocument(const QString& caption);
  // Opens a file in a document window of its own, as File > Open does.
  void OpenDocument(const QString& fileName);
  // "Untitled" and the number of open documents plus one.
  QString UntitledCaption() const;
  // The zoom box shows `text` without counting as the user's change.
  void SetZoomBoxText(const QString& text);

  // --- windows and dialogs ---------------------------------------------------
  QMdiArea* MdiArea;
  TAboutBox* AboutBox = nullptr;
  TNew* NewDialog = nullptr;
  TResizeForm* ResizeForm = nullptr;
  TConvertBW* ConvertBW = nullptr;
  TRotateForm* RotateForm = nullptr;
  TTextForm* TextForm = nullptr;
  THelpForm* HelpForm = nullptr;
  // File names from the open and save dialogs; empty when cancelled.
  std::function<QString()> AskOpenFileName;
  std::function<QString(const QString& proposed)> AskSaveFileName;
  // A colour from the colour dialog; invalid when cancelled.
  std::function<QColor(const QColor& initial)> AskColor;
  // Shows a "Warning" message box.
  std::function<void(const QString& text)> Warn;
  // Asks whether to save a changed document before it closes.
  std::function<int(const QString& caption)> ConfirmClose;
  // Asks a question in a "Confirmation" box; true for OK.
  std::function<bool(const QString& text)> Confirm;
  // Opens a web page or a mail with the desktop's handler.
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

  // --- tool bars, panels, status bar -------------------------------------------
  QToolBar *ToolBar2, *ToolBar1;
  QComboBox* ComboBox1;
  TToolPanel* ToolPanel;
  TDrawPanel* DrawPanel;
  TArtDrawPanel* ArtDrawPanel;
  TBrushPanel* BrushPanel;
  TTextPanel* TextPanel;
  QWidget* VideoPanel;  // its controls arrive with video import
  QStatusBar* StatusBar1;
  QLabel *StatusPanel0, *StatusPanel1;
  TWorkProgress* Progress;
  QTimer Timer1;

  // --- handlers, by menu area --------------------------------------------------
  void FormCreate();
  void PanelHint(const QString& hint);
  void Timer1Timer();
  // File
  void New1Click();
  void NewFromClipboard1Click();
  void Open1Click();
  void SaveAs1Click();
  void Exit1Click();
  // Edit
  void Undo1Click();
  void all1Click();
  void Selection1Click();
  void Asnew1Click();
  void Toselection1Click();
  void Select1Click();
  void Selectall1Click();
  void Deselect1Click();
  // Image
  void Duplicate1Click();
  void Horizontal2Click();
  void Vertical2Click();
  void N90Clockwise1Click();
  void N90Counterclockwise1Click();
  void N1801Click();
  void Crop2Click();
  void Rotate2Click();
  void Papersize1Click();
  void Imagesize2Click();
  void Background1Click();
  void Clear1Click();
  // Color and Effects
  void AutoEqualize1Click();
  void Equalize1Click();
  void Contrast1Click();
  void RGB1Click();
  void HueSaturationValue1Click();
  void HueSaturationLuminosity1Click();
  void Bumpmap1Click();
  void Lens1Click();
  void Wave1Click();
  void Morphingfilters1Click();
  void Userfilters1Click();
  // Split Channels To > RGB and HSV: three new documents of the planes.
  void RGB2Click();
  void HSV1Click();
  // Mode > Black and White: the dialog on the active document's picture,
  // whose BwResult exists only meanwhile.
  void BW1bitClick();
  void Gray8bitClick();
  void Conv24bitClick();
  void NegativeImage1Click();
  // View
  void ZoomIn1Click();
  void ZoomOut1Click();
  void ToolButton4Click();
  void ToolButton7Click();
  void ZoomPercentClick(int percent);
  template <int Percent>
  void ZoomItemClick() {  // N251Click ... N16001Click
    ZoomPercentClick(Percent);
  }
  void ComboBox1Change();
  // Window and Help
  void Tile1Click();
  void Cascade1Click();
  void Arrangeicons1Click();
  void Contents1Click();
  void BrenmorHomepage1Click();
  void About1Click();
  // Tool panel
  void BasicColorDblClick();
  void AddColorDblClick();
  // Draw and Art Draw panels (frame_draw_options.cpp). The tool that acts on
  // the view: Draw, Art Draw, or, with neither down, Select (no drawing).
  TPaintTool PaintTool() const;
  TPaintOptions PaintOptions() const;
  void ComboBox2Change();
  void ComboBox4Change();
  // The sample takes the face chosen in the font list.
  void ComboBox6Click();

  // Runs a menu command; an exception ends it with a "Warning" box, so none
  // reaches the event loop.
  void RunCommand(const std::function<void()>& command);
  // Whether the clipboard offers a bitmap; if not, says so in a "Warning" box.
  bool ClipboardHasBitmap();
  // Runs a command of the active document, when there is one.
  void Doc(void (TEditForm::*command)());

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // Files dropped from a file manager open as documents.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildMenus();
  void BuildToolBars();
  void BuildToolPanel();
  void BuildOptionPanels();
  void BuildStatusBar();
  void InstallDefaultDialogs();
  void FillWindowList();
  // Brings every command in line with its enable rule; without a document
  // only the rules that need one.
  void ApplyEnableRules(const TEditForm* doc);
};

}  // namespace quillet
