// The frame's Edit menu: undo, copy, paste and the selection commands.
#include "app/edit_form.h"
#include "app/frame_form.h"

namespace quillet {

void TFrameForm::Undo1Click() { Doc(&TEditForm::Undo); }

void TFrameForm::all1Click() {
  TEditForm* doc = ActiveDocument();
  if (!doc) return;
  const TIEWorkingBitmap& b = doc->ZiridEvView1->Bitmap();
  doc->ZiridEvView1->SelectRectangle(0, 0, b.Width(), b.Height(), false);
  doc->ZiridEvProc1.SelCopyToClipboard();
}

void TFrameForm::Selection1Click() {
  TEditForm* doc = ActiveDocument();
  if (doc && doc->ZiridEvView1->Selection().SelectionExists()) doc->ZiridEvProc1.SelCopyToClipboard();
}

void TFrameForm::Asnew1Click() {
  if (!ActiveDocument()) return;
  NewFromClipboard1Click();
  Doc(&TEditForm::PasteAsNew);
}

void TFrameForm::Toselection1Click() { Doc(&TEditForm::PasteToSel); }

void TFrameForm::Select1Click() { ToolPanel->SpeedButton5->setChecked(true); }

void TFrameForm::Selectall1Click() { Doc(&TEditForm::SelectAll); }

void TFrameForm::Deselect1Click() { Doc(&TEditForm::DeSelect); }

}  // namespace quillet
