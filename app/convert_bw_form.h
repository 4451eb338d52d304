// TConvertBW: the Black-and-White dialog: the picture beside its 1-bit
// result at a threshold chosen with a slider or typed, recomputed 200 ms
// after the last change.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include "imaging/core/working_bitmap.h"
#include "imaging/view/qt/ziridev_view.h"

namespace quillet {

class TFrameForm;

class TConvertBW : public QDialog {
  Q_OBJECT

 public:
  explicit TConvertBW(TFrameForm& frame);

  TZiridEvView* ImageCol;  // the picture
  TZiridEvView* ImageBW;   // the result
  QSlider* TrackBar1;
  QLineEdit* Edit1;
  QPushButton* Button3;  // Reset
  QPushButton* OKButton;
  QPushButton* CancelButton;
  QTimer Timer1;

  // The picture to convert, copied in.
  void Prepare(const TIEWorkingBitmap& picture);

  void FormShow();
  void Button3Click();
  void Timer1Timer();
  void TrackBar1Change();
  void Edit1Change();
  void ImageColViewChange();
  void ImageBWViewChange();
  // OK with a change still waiting for the timer takes the current threshold.
  void accept() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // The editor's BwResult and ImageBW for threshold t, run as the frame runs
  // its commands.
  void Compute(int t);
  // Slider and field at 128 and the result for it.
  void ResetThreshold();

  TFrameForm& frame_;
};

}  // namespace quillet
