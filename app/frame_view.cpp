// The frame's View menu and zoom box: zoom in, out, fit, window and the
// fixed zooms.
#include "app/edit_form.h"
#include "app/frame_form.h"

namespace quillet {

void TFrameForm::ZoomIn1Click() { Doc(&TEditForm::ZoomIn); }
void TFrameForm::ZoomOut1Click() { Doc(&TEditForm::ZoomOut); }
void TFrameForm::ToolButton4Click() { Doc(&TEditForm::ZoomFit); }
void TFrameForm::ToolButton7Click() { Doc(&TEditForm::ZoomWindow); }

void TFrameForm::ZoomPercentClick(int percent) {
  TEditForm* doc = ActiveDocument();
  if (!doc) return;
  doc->ZiridEvView1->SetZoom(percent);
  EditorState.CurrentZoom = percent;
  SetZoomBoxText(QString("%1 %").arg(percent));
}

// Only the box's own items count; other text leaves the zoom as it was.
void TFrameForm::ComboBox1Change() {
  const QString text = ComboBox1->currentText();
  for (int i = 0; i < ComboBox1->count(); ++i)
    if (text == ComboBox1->itemText(i)) EditorState.CurrentZoom = text.section(' ', 0, 0).toInt();
  if (TEditForm* doc = ActiveDocument()) doc->ZiridEvView1->SetZoom(EditorState.CurrentZoom);
}

}  // namespace quillet
