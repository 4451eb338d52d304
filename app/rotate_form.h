// TRotateForm: the Rotate Custom dialog: an angle and antialiasing, with a
// thumbnail of the picture rotated as they change.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <QSpinBox>

#include "imaging/proc/ziridev_proc.h"
#include "imaging/view/qt/ziridev_view.h"

namespace quillet {

class TFrameForm;

class TRotateForm : public QDialog {
  Q_OBJECT

 public:
  explicit TRotateForm(TFrameForm& frame);

  // The width of the thumbnail, the preview's own.
  static constexpr int kPreviewWidth = 249;

  TZiridEvView* ZiridEvView1;  // the preview
  TZiridEvProc ZiridEvProc1;   // rotates the preview
  QSpinBox* UpDown1;           // its edit field is Edit1
  QCheckBox* CheckBox1;
  QPushButton* OKButton;
  QPushButton* CancelButton;

  // The preview: a thumbnail of `picture` on its background, fitted; empty
  // for an empty picture.
  void Prepare(const TIEWorkingBitmap& picture, TBGR background);

  // Angle 0 and no antialiasing, set without touching the preview, which is
  // then stored as the one the angle rotates.
  void FormActivate();
  // The stored preview rotated by the angle typed (not a number: 0), run as
  // the frame runs its commands.
  void Edit1Change();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TFrameForm& frame_;
};

}  // namespace quillet
