#include "app/resize_form.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/dialog_buttons.h"
#include "app/keep_proportions.h"

namespace quillet {

namespace {

QSpinBox* SideBox(QWidget* parent, const char* name) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(name);
  box->setRange(1, 10000);
  return box;
}

}  // namespace

TResizeForm::TResizeForm(TEditorState& state, QWidget* parent) : QDialog(parent), state_(state) {
  setObjectName("ResizeForm");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  auto* panel = new QWidget(this);
  panel->setObjectName("Panel1");
  SpinEdit1 = SideBox(panel, "SpinEdit1");
  SpinEdit2 = SideBox(panel, "SpinEdit2");
  CheckBox1 = new QCheckBox("keep proportions", panel);
  CheckBox1->setObjectName("CheckBox1");
  CheckBox1->setChecked(true);
  auto* grid = new QGridLayout(panel);
  grid->addWidget(new QLabel("Width", panel), 0, 0);
  grid->addWidget(SpinEdit1, 0, 1);
  grid->addWidget(new QLabel("pixels", panel), 0, 2);
  grid->addWidget(new QLabel("Height", panel), 1, 0);
  grid->addWidget(SpinEdit2, 1, 1);
  grid->addWidget(new QLabel("pixels", panel), 1, 2);
  grid->addWidget(CheckBox1, 0, 3, 2, 1);
  connect(SpinEdit1, &QSpinBox::valueChanged, this, [this] { SpinEdit1Change(); });
  connect(SpinEdit2, &QSpinBox::valueChanged, this, [this] { SpinEdit2Change(); });

  const TDialogButtons buttons = MakeDialogButtons(this);
  OKButton = buttons.OK;
  CancelButton = buttons.Cancel;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(panel);
  layout->addLayout(buttons.Row);
  resize(335, 128);
}

// The bases come first and the fields are filled without following each
// other, so the dialog always opens at the image's own size.
void TResizeForm::Prepare(const QString& caption, int32_t width, int32_t height) {
  setWindowTitle(caption);
  state_.ResizeBaseWidth = width;
  state_.ResizeBaseHeight = height;
  const QSignalBlocker block1(SpinEdit1), block2(SpinEdit2);
  SpinEdit1->setValue(width);
  SpinEdit2->setValue(height);
}

void TResizeForm::SpinEdit1Change() { Follow(SpinEdit1, SpinEdit2, state_.ResizeBaseWidth, state_.ResizeBaseHeight); }
void TResizeForm::SpinEdit2Change() { Follow(SpinEdit2, SpinEdit1, state_.ResizeBaseHeight, state_.ResizeBaseWidth); }

// Only the other field is recomputed, and its change does not come back: the
// field being typed in keeps what the user typed.
void TResizeForm::Follow(QSpinBox* changed, QSpinBox* other, int32_t base, int32_t otherBase) {
  if (!CheckBox1->isChecked() || following_) return;
  const std::optional<int32_t> side = ProportionalSide(changed->value(), base, otherBase);
  if (!side) return;
  following_ = true;
  other->setValue(*side);
  following_ = false;
}

void TResizeForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  SpinEdit1->setFocus(Qt::OtherFocusReason);
  SpinEdit1->selectAll();
}

}  // namespace quillet
