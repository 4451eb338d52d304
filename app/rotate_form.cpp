#include "app/rotate_form.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/dialog_buttons.h"
#include "app/frame_form.h"
#include "imaging/proc/resample.h"

namespace quillet {

TRotateForm::TRotateForm(TFrameForm& frame) : QDialog(&frame), frame_(frame) {
  setObjectName("RotateForm");
  setWindowTitle("Rotate Custom");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  auto* group = new QGroupBox(this);
  group->setObjectName("GroupBox1");
  ZiridEvView1 = new TZiridEvView(group);
  ZiridEvView1->setObjectName("ZiridEvView1");
  ZiridEvView1->setFixedSize(kPreviewWidth, 153);
  ZiridEvProc1.SetAttachedZiridEv(ZiridEvView1);
  ZiridEvProc1.AutoUndo = false;  // its one undo entry is the unrotated preview
  ZiridEvProc1.UndoLocation = TIEBitmapLocation::ieMemory;
  UpDown1 = new QSpinBox(group);
  UpDown1->setObjectName("UpDown1");
  UpDown1->setRange(-359, 359);
  UpDown1->findChild<QLineEdit*>()->setObjectName("Edit1");
  CheckBox1 = new QCheckBox("Antialiasing", group);
  CheckBox1->setObjectName("CheckBox1");
  auto* grid = new QGridLayout(group);
  grid->addWidget(ZiridEvView1, 0, 0, 1, 3);
  grid->addWidget(new QLabel("Angle", group), 1, 0);
  grid->addWidget(UpDown1, 1, 1);
  grid->addWidget(CheckBox1, 2, 0, 1, 3);
  grid->setColumnStretch(2, 1);
  connect(UpDown1, &QSpinBox::textChanged, this, [this] { Edit1Change(); });
  connect(CheckBox1, &QCheckBox::clicked, this, [this] { Edit1Change(); });

  const TDialogButtons buttons = MakeDialogButtons(this);
  OKButton = buttons.OK;
  CancelButton = buttons.Cancel;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addLayout(buttons.Row);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // about 283 x 270, as the fonts allow
}

// Straight from the picture to the thumbnail: a stretch over the thumbnail's
// pixels, never a copy of the whole picture.
void TRotateForm::Prepare(const TIEWorkingBitmap& picture, TBGR background) {
  TIEWorkingBitmap thumbnail;
  StretchToWidth(picture, thumbnail, kPreviewWidth);
  ZiridEvView1->SetBackground(background);
  ZiridEvView1->Assign(thumbnail);
  ZiridEvView1->Fit();
}

void TRotateForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormActivate();
  ZiridEvView1->Fit();  // the view has its size only once shown
  UpDown1->setFocus(Qt::OtherFocusReason);
  UpDown1->selectAll();
}

void TRotateForm::FormActivate() {
  {
    const QSignalBlocker blockAngle(UpDown1), blockBox(CheckBox1);
    UpDown1->setValue(0);
    CheckBox1->setChecked(false);
  }
  ZiridEvProc1.SaveUndo();
}

void TRotateForm::Edit1Change() {
  if (ZiridEvView1->Bitmap().Empty()) return;
  bool whole = false;
  const int angle = UpDown1->text().toInt(&whole);
  frame_.RunCommand([&] {
    ZiridEvProc1.Undo();
    ZiridEvProc1.Rotate(whole ? angle : 0, CheckBox1->isChecked());
    ZiridEvView1->Fit();
  });
}

}  // namespace quillet
