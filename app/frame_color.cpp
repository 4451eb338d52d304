// The frame's Color and Effects menus; the adjustments and effects with
// parameters open the preview dialog on one page.
#include <QScopeGuard>

#include "app/convert_bw_form.h"
#include "app/edit_form.h"
#include "app/frame_form.h"

namespace quillet {

namespace {

using TSplit = void (TZiridEvProc::*)(TIEWorkingBitmap&, TIEWorkingBitmap&, TIEWorkingBitmap&);

// Three new documents captioned after the active one, filled by `split` from
// its processing component. They start empty; the source keeps its image and
// gets no undo copy.
void SplitChannels(TFrameForm& frame, const char* const (&names)[3], TSplit split) {
  TEditForm* source = frame.ActiveDocument();
  if (!source) return;
  const QString caption = source->windowTitle();
  TEditForm* planes[3];
  for (int i = 0; i < 3; ++i) {
    frame.EditorState.PendingCreation = TCreationMode::cmNone;
    planes[i] = frame.CreateDocument(caption + names[i]);
  }
  {
    const TWorkProgress::TScope busy(*frame.Progress);
    (source->ZiridEvProc1.*split)(planes[0]->ZiridEvView1->Bitmap(), planes[1]->ZiridEvView1->Bitmap(),
                                  planes[2]->ZiridEvView1->Bitmap());
  }
  for (TEditForm* plane : planes) {
    plane->ZiridEvView1->Update();
    const TIEWorkingBitmap& b = plane->ZiridEvView1->Bitmap();
    plane->StatusPanel[1]->setText(QString("%1x%2 pixels").arg(b.Width()).arg(b.Height()));
  }
}

}  // namespace

void TFrameForm::Gray8bitClick() { Doc(&TEditForm::ConvertToGray); }
void TFrameForm::Conv24bitClick() { Doc(&TEditForm::ConvertTo24Bit); }
void TFrameForm::NegativeImage1Click() { Doc(&TEditForm::Negative); }
void TFrameForm::AutoEqualize1Click() { Doc(&TEditForm::AutoEqualize); }
void TFrameForm::Equalize1Click() { Doc(&TEditForm::Equalize); }
void TFrameForm::Contrast1Click() { Doc(&TEditForm::Contrast); }
void TFrameForm::RGB1Click() { Doc(&TEditForm::RGB); }
void TFrameForm::HueSaturationValue1Click() { Doc(&TEditForm::HSV); }
void TFrameForm::HueSaturationLuminosity1Click() { Doc(&TEditForm::HSL); }
void TFrameForm::Bumpmap1Click() { Doc(&TEditForm::BumpMap); }
void TFrameForm::Lens1Click() { Doc(&TEditForm::Lens); }
void TFrameForm::Wave1Click() { Doc(&TEditForm::Wave); }
void TFrameForm::Morphingfilters1Click() { Doc(&TEditForm::Morph); }
void TFrameForm::Userfilters1Click() { Doc(&TEditForm::UserFilter); }

void TFrameForm::RGB2Click() {
  static const char* const names[3] = {" Red", " Green", " Blue"};
  SplitChannels(*this, names, &TZiridEvProc::SplitRGB);
}

void TFrameForm::HSV1Click() {
  static const char* const names[3] = {" Hue", " Saturation", " Value"};
  SplitChannels(*this, names, &TZiridEvProc::SplitHSV);
}

// The dialog lets go of its copies afterwards: they would stay for the
// editor's whole run.
void TFrameForm::BW1bitClick() {
  TEditForm* doc = ActiveDocument();
  if (!doc) return;
  const TIEWorkingBitmap& picture = doc->ZiridEvView1->Bitmap();
  EditorState.BwResult = std::make_unique<TIEWorkingBitmap>(picture.Width(), picture.Height(), TIEPixelFormat::pf1bit);
  const auto release = qScopeGuard([this] {
    EditorState.BwResult.reset();
    ConvertBW->Prepare(TIEWorkingBitmap());
  });
  ConvertBW->Prepare(picture);
  if (ConvertBW->exec() == QDialog::Accepted) doc->ConvertBW();
}

}  // namespace quillet
