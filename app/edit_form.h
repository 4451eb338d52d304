// TEditForm: a document window of the editor, holding one image view with
// its file component, a status bar and a one-level undo copy.
#pragma once

#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QWidget>
#include <string>

#include "imaging/core/working_bitmap.h"
#include "imaging/io/ziridev_io.h"
#include "imaging/proc/ziridev_proc.h"
#include "app/editor_state.h"
#include "imaging/view/qt/ziridev_view.h"

namespace quillet {

class TFrameForm;

class TEditForm : public QWidget {
  Q_OBJECT

 public:
  // Takes (and resets) the frame's PendingCreation first, then fills the
  // image as it says.
  explicit TEditForm(TFrameForm& frame, QWidget* parent = nullptr);
  ~TEditForm() override;

  TZiridEvView* ZiridEvView1;
  QStatusBar* StatusBar1;
  QLabel* StatusPanel[4];
  TZiridEvIO ZiridEvIO1;
  TZiridEvProc ZiridEvProc1;
  QTimer TextTimer;
  std::string FileName = "Untitled";
  TIEWorkingBitmap UndoBitmap;
  bool UndoAvailable = false;
  // The file to open could not be read (or its reading was cancelled): the
  // frame drops the window before it is shown.
  bool CreationFailed = false;
  // Set by ZoomWindow until the view has zoomed: the frame's refresh then
  // leaves the view's mouse interaction alone, whatever tool is down.
  bool ZoomWindowPending = false;

  // Commands the frame calls.
  void Save();
  // False when `file` is a TIFF of several pages the user keeps.
  bool MayReplace(const QString& file);
  void ZoomIn();
  void ZoomOut();
  void ZoomFit();
  void ZoomWindow();
  void Undo();
  void SelectAll();
  void DeSelect();
  void MirrorHor();
  void MirrorVer();
  void Rotate90();
  void Rotate180();
  void Rotate270();
  void Clear();
  void Negative();
  void ConvertToGray();
  void ConvertTo24Bit();
  void AutoEqualize();
  // The preview dialog with one page, after the undo copy.
  void Equalize();
  void Contrast();
  void RGB();
  void HSV();
  void HSL();
  void BumpMap();
  void Lens();
  void Wave();
  void Morph();
  void UserFilter();
  void PasteAsNew();
  void PasteToSel();
  void Crop();
  // Commands that ask through the frame's dialogs (edit_form_dialogs.cpp).
  void PaperSize();
  void ImageSize();
  void Rotate();
  // The image becomes the frame's BwResult, while the Black-and-White command runs.
  void ConvertBW();

  // Steps shared with the paint tools and image commands.
  void SaveUndoCopy();
  void ShowImageInfo();
  void ShowSelectionInfo();
  // The image changed since it was read or last saved.
  bool Modified() const;

  void FormActivate();
  void ZiridEvView1ViewChange(TZiridEvView* sender, int change);
  // The paint tools on the view (edit_form_paint.cpp): client points in
  // device pixels.
  void ZiridEvView1MouseDown(TZiridEvView* sender, TIEMouseButton button, int shift, int64_t x, int64_t y);
  void ZiridEvView1MouseMove(TZiridEvView* sender, int shift, int64_t x, int64_t y);
  void ZiridEvView1MouseUp(TZiridEvView* sender, TIEMouseButton button, int shift, int64_t x, int64_t y);
  // The image pixel under a client point of the view, not clipped to the image.
  TIEPoint ToImagePoint(int64_t x, int64_t y) const;
  // Every 200 ms after a Text press here: places the text once OK was pressed,
  // or stops after Cancel.
  void TextTimerTimer();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  void FillImage(TCreationMode mode);
  void OpenFile(const std::string& fileName);
  void ZoomDone();
  void MarkSaved();
  // Undo copy, the operation under the hourglass, the view and status refreshed.
  void ShowPreviewPage(TPreviewPages page);
  void RunOperation(const std::function<void()>& operation, bool showInfo);
  // The size dialog captioned `caption` at the image's size; on OK `resize`
  // with the width and height chosen.
  void AskSize(const QString& caption, const std::function<void(int32_t, int32_t)>& resize);
  // One tool step on the image's canvas with the frame's options; the view
  // repaints when it drew.
  void RunPaintStep(const std::function<void(TPaintSteps&)>& step);
  // The tools' work at a press beside their steps.
  void PressEyeDropper(TIEPoint point, bool secondary);
  void PressText();
  void DropPendingText();

  TFrameForm& frame_;
  uint64_t savedChanges_ = 0;
};

}  // namespace quillet
