// The document's commands that ask through the frame's dialogs: Paper Size,
// Image Size, Rotate Custom and the Black-and-White result.
#include "app/busy_cursor.h"
#include "app/edit_form.h"
#include "app/frame_form.h"
#include "app/resize_form.h"
#include "app/rotate_form.h"

namespace quillet {

void TEditForm::AskSize(const QString& caption, const std::function<void(int32_t, int32_t)>& resize) {
  TResizeForm& form = *frame_.ResizeForm;
  const TIEWorkingBitmap& b = ZiridEvView1->Bitmap();
  form.Prepare(caption, int32_t(b.Width()), int32_t(b.Height()));
  if (form.exec() == QDialog::Accepted) {
    const int32_t w = form.SpinEdit1->value(), h = form.SpinEdit2->value();
    RunOperation([&] { resize(w, h); }, false);
  }
  ShowImageInfo();
}

// The canvas takes the new size; on an empty image it is all background.
void TEditForm::PaperSize() {
  AskSize("Paper Size", [this](int32_t w, int32_t h) { ZiridEvProc1.ImageResize(w, h); });
}

// An empty image has nothing to scale.
void TEditForm::ImageSize() {
  if (ZiridEvView1->Bitmap().Empty()) return;
  AskSize("Image Size", [this](int32_t w, int32_t h) { ZiridEvProc1.Resample(w, h, TResampleFilter::rfNone); });
}

// The busy cursor shows while the preview is made and while the image turns,
// not while the dialog waits.
void TEditForm::Rotate() {
  TRotateForm& form = *frame_.RotateForm;
  {
    const TBusyCursor busy;
    form.Prepare(ZiridEvView1->Bitmap(), ZiridEvView1->Background());
  }
  if (form.exec() != QDialog::Accepted || ZiridEvView1->Bitmap().Empty()) return;
  const int angle = form.UpDown1->value();
  const bool antialias = form.CheckBox1->isChecked();
  RunOperation([&] { ZiridEvProc1.Rotate(angle, antialias); }, true);
}

void TEditForm::ConvertBW() {
  const TIEWorkingBitmap* result = frame_.EditorState.BwResult.get();
  if (!result) return;
  RunOperation([&] { ZiridEvView1->Assign(*result); }, true);
}

}  // namespace quillet
