// The frame's Image menu: duplicate, flip, rotate, crop, paper and image size,
// background and clear.
#include "app/edit_form.h"
#include "app/frame_form.h"

namespace quillet {

// The copy travels through the clipboard, which keeps it afterwards.
void TFrameForm::Duplicate1Click() {
  if (!ActiveDocument()) return;
  all1Click();
  Doc(&TEditForm::DeSelect);
  NewFromClipboard1Click();
}

void TFrameForm::Horizontal2Click() { Doc(&TEditForm::MirrorHor); }
void TFrameForm::Vertical2Click() { Doc(&TEditForm::MirrorVer); }
void TFrameForm::N90Clockwise1Click() { Doc(&TEditForm::Rotate270); }
void TFrameForm::N90Counterclockwise1Click() { Doc(&TEditForm::Rotate90); }
void TFrameForm::N1801Click() { Doc(&TEditForm::Rotate180); }
void TFrameForm::Rotate2Click() { Doc(&TEditForm::Rotate); }
void TFrameForm::Crop2Click() { Doc(&TEditForm::Crop); }
void TFrameForm::Papersize1Click() { Doc(&TEditForm::PaperSize); }
void TFrameForm::Imagesize2Click() { Doc(&TEditForm::ImageSize); }
void TFrameForm::Clear1Click() { Doc(&TEditForm::Clear); }

void TFrameForm::Background1Click() {
  TEditForm* doc = ActiveDocument();
  if (!doc) return;
  const TBGR old = doc->ZiridEvView1->Background();
  const QColor chosen = AskColor(QColor(old.r, old.g, old.b));
  if (chosen.isValid())
    doc->ZiridEvView1->SetBackground(MakeBGR(uint8_t(chosen.red()), uint8_t(chosen.green()), uint8_t(chosen.blue())));
}

}  // namespace quillet
