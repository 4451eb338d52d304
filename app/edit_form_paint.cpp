// The document window's mouse handlers for the paint tools: each converts the
// view's point to an image point, runs the tool step with the frame's option
// values and repaints the view once, when the step drew.
#include <algorithm>
#include <limits>

#include "app/edit_form.h"
#include "app/frame_form.h"

namespace quillet {

namespace {

int32_t Saturated(int64_t v) {
  return int32_t(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

}  // namespace

// The view's own conversion, so the pixel painted is the one shown under the
// pointer at any zoom and scroll position.
TIEPoint TEditForm::ToImagePoint(int64_t x, int64_t y) const {
  const TIEViewGeometry& g = ZiridEvView1->Geometry();
  return {Saturated(g.ScreenToBitmapX(x)), Saturated(g.ScreenToBitmapY(y))};
}

void TEditForm::RunPaintStep(const std::function<void(TPaintSteps&)>& step) {
  TIEWorkingBitmap& bitmap = ZiridEvView1->Bitmap();
  const uint64_t changes = bitmap.ChangeCount();
  TIECanvas canvas(bitmap);
  const TPaintOptions options = frame_.PaintOptions();
  TPaintSteps steps{canvas, frame_.EditorState, options};
  step(steps);
  if (bitmap.ChangeCount() != changes) ZiridEvView1->InvalidateImage();
}

// One press is one undo step; a second button pressed during a drag does nothing.
void TEditForm::ZiridEvView1MouseDown(TZiridEvView*, TIEMouseButton, int, int64_t x, int64_t y) {
  if (frame_.EditorState.Dragging()) return;
  frame_.RunCommand([&] {
    const TPaintTool tool = frame_.PaintTool();
    if (TakesUndoCopy(tool)) SaveUndoCopy();
    RunPaintStep([&](TPaintSteps& steps) { steps.Press(tool, ToImagePoint(x, y)); });
  });
}

void TEditForm::ZiridEvView1MouseMove(TZiridEvView*, int, int64_t x, int64_t y) {
  const TIEPoint p = ToImagePoint(x, y);
  frame_.RunCommand([&] { RunPaintStep([&](TPaintSteps& steps) { steps.Move(p); }); });
  StatusPanel[2]->setText(QString("Position: X=%1, Y=%2").arg(p.X).arg(p.Y));
  ShowSelectionInfo();
}

void TEditForm::ZiridEvView1MouseUp(TZiridEvView*, TIEMouseButton, int, int64_t, int64_t) {
  ShowSelectionInfo();
  frame_.RunCommand([&] { RunPaintStep([](TPaintSteps& steps) { steps.Release(); }); });
}

}  // namespace quillet
