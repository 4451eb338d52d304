// The document window's mouse handlers for the paint tools: each converts the
// view's point to an image point, runs the tool step with the frame's option
// values and repaints the view once, when the step drew. The Eye Dropper sets
// a swatch; the Text tool opens the Text window, and this window's text timer
// places the text after OK.
#include <algorithm>
#include <limits>
#include <optional>

#include "app/edit_form.h"
#include "app/frame_form.h"
#include "app/text_form.h"

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
  TPaintOptions options = frame_.PaintOptions();
  // A size typed into the size list names no entry: the canvas font keeps its size.
  if (options.Font.Size == 0) options.Font.Size = canvas.State().Font.Size;
  TPaintSteps steps{canvas, frame_.EditorState, options};
  step(steps);
  if (bitmap.ChangeCount() != changes) ZiridEvView1->InvalidateImage();
}

// One press is one undo step; a second button pressed during a drag does nothing.
void TEditForm::ZiridEvView1MouseDown(TZiridEvView*, TIEMouseButton button, int, int64_t x, int64_t y) {
  if (frame_.EditorState.Dragging()) return;
  frame_.RunCommand([&] {
    const TPaintTool tool = frame_.PaintTool();
    const TIEPoint point = ToImagePoint(x, y);
    const bool secondary = button != TIEMouseButton::mbLeft;
    if (TakesUndoCopy(tool)) SaveUndoCopy();
    if (tool == TPaintTool::ptText) PressText();
    std::optional<TWorkProgress::TScope> busy;  // a large fill takes a moment
    if (tool == TPaintTool::ptFill) busy.emplace(*frame_.Progress);
    RunPaintStep([&](TPaintSteps& steps) { steps.Press(tool, point, secondary); });
    busy.reset();
    if (tool == TPaintTool::ptEyeDropper) PressEyeDropper(point, secondary);
  });
}

// The left button picks the paint colour, the others the fill colour; a
// point off the image picks nothing.
void TEditForm::PressEyeDropper(TIEPoint point, bool secondary) {
  const std::optional<TBGR> picked = PickColor(TIECanvas(ZiridEvView1->Bitmap()), point);
  if (!picked) return;
  TColorSwatch* swatch = secondary ? frame_.ToolPanel->AddColor : frame_.ToolPanel->BasicColor;
  swatch->SetColor(QColor(picked->r, picked->g, picked->b));
}

// Only the document of the last Text press places the text.
void TEditForm::PressText() {
  TEditForm*& target = frame_.EditorState.TextTarget;
  if (target && target != this) target->TextTimer.stop();
  target = this;
  frame_.TextForm->Open();
  TextTimer.start();
}

void TEditForm::TextTimerTimer() {
  TEditorState& state = frame_.EditorState;
  if (state.TextTarget != this) return;
  if (state.TextReady) {
    frame_.RunCommand([&] {
      RunPaintStep([&](TPaintSteps& steps) { steps.PlaceText(state.TextAnchor, state.TextToPlace); });
    });
    TextTimer.stop();
    state.TextReady = false;
  }
  if (state.TextCancelled) {
    TextTimer.stop();
    state.TextCancelled = false;
  }
}

// Text pressed here and not placed yet goes with the window.
void TEditForm::DropPendingText() {
  TEditorState& state = frame_.EditorState;
  if (state.TextTarget != this) return;
  state.TextTarget = nullptr;
  state.TextReady = state.TextCancelled = false;
  frame_.TextForm->hide();
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
