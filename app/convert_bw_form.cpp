#include "app/convert_bw_form.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/busy_cursor.h"
#include "app/dialog_buttons.h"
#include "app/frame_form.h"
#include "imaging/proc/threshold_bw.h"

namespace quillet {

namespace {

constexpr int kStartThreshold = 128;

TZiridEvView* SideView(QWidget* parent, const char* name) {
  auto* view = new TZiridEvView(parent);
  view->setObjectName(name);
  view->setFixedSize(300, 200);
  view->SetScrollBars(TScrollStyle::ssBoth);
  view->SetCenter(false);
  view->Selection().SelectionBase = TIESelectionBase::iesbBitmap;
  return view;
}

// The slider's scale, each label under its tick (the last interval is 15).
QHBoxLayout* ScaleLabels(QWidget* parent) {
  auto* row = new QHBoxLayout;
  row->setSpacing(0);
  for (int v = 0; v <= 240; v += 20) {
    row->addWidget(new QLabel(QString::number(v), parent));
    row->addStretch(v < 240 ? 20 : 15);
  }
  row->addWidget(new QLabel("255", parent));
  return row;
}

}  // namespace

TConvertBW::TConvertBW(TFrameForm& frame) : QDialog(&frame), frame_(frame) {
  setObjectName("ConvertBW");
  setWindowTitle("Convert to Black-and-White");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  ImageCol = SideView(this, "ImageCol");
  ImageBW = SideView(this, "ImageBW");
  ImageCol->OnViewChange = [this](TZiridEvView*, int) { ImageColViewChange(); };
  ImageBW->OnViewChange = [this](TZiridEvView*, int) { ImageBWViewChange(); };
  auto* views = new QGridLayout;
  views->addWidget(new QLabel("Sourse", this), 0, 0);
  views->addWidget(new QLabel("Result", this), 0, 1);
  views->addWidget(ImageCol, 1, 0);
  views->addWidget(ImageBW, 1, 1);

  auto* group = new QGroupBox("Threshold", this);
  group->setObjectName("GroupBox1");
  TrackBar1 = new QSlider(Qt::Horizontal, group);
  TrackBar1->setObjectName("TrackBar1");
  TrackBar1->setRange(0, 255);
  TrackBar1->setValue(kStartThreshold);
  TrackBar1->setTickInterval(20);
  TrackBar1->setTickPosition(QSlider::TicksBelow);
  Edit1 = new QLineEdit(QString::number(kStartThreshold), group);
  Edit1->setObjectName("Edit1");
  Edit1->setFixedWidth(50);
  auto* scale = new QVBoxLayout;
  scale->setSpacing(0);
  scale->addWidget(TrackBar1);
  scale->addLayout(ScaleLabels(group));
  auto* threshold = new QHBoxLayout(group);
  threshold->addLayout(scale, 1);
  threshold->addWidget(Edit1);
  connect(TrackBar1, &QSlider::valueChanged, this, [this] { TrackBar1Change(); });
  connect(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });

  const TDialogButtons buttons = MakeDialogButtons(this);
  OKButton = buttons.OK;
  CancelButton = buttons.Cancel;
  Button3 = new QPushButton("Reset", this);
  Button3->setObjectName("Button3");
  Button3->setAutoDefault(false);
  buttons.Row->insertWidget(0, Button3);
  connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });

  Timer1.setObjectName("Timer1");
  Timer1.setInterval(200);
  connect(&Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(views);
  layout->addWidget(group);
  layout->addLayout(buttons.Row);
  resize(616, 335);
}

void TConvertBW::Prepare(const TIEWorkingBitmap& picture) {
  Timer1.stop();  // a change left from the last use is not for this picture
  ImageCol->Assign(picture);
  ImageBW->Assign(TIEWorkingBitmap(picture.Width(), picture.Height(), TIEPixelFormat::pf1bit));
}

void TConvertBW::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
  Edit1->setFocus(Qt::OtherFocusReason);
  Edit1->selectAll();
}

void TConvertBW::FormShow() {
  ImageCol->Update();
  ResetThreshold();
}

void TConvertBW::Button3Click() { ResetThreshold(); }

void TConvertBW::ResetThreshold() {
  {
    const QSignalBlocker blockSlider(TrackBar1), blockEdit(Edit1);
    TrackBar1->setValue(kStartThreshold);
    Edit1->setText(QString::number(kStartThreshold));
  }
  Timer1.stop();
  Compute(kStartThreshold);
}

void TConvertBW::Timer1Timer() {
  Timer1.stop();
  Compute(TrackBar1->value());
}

void TConvertBW::TrackBar1Change() {
  Timer1.start();
  const QSignalBlocker block(Edit1);
  Edit1->setText(QString::number(TrackBar1->value()));
}

// Empty text and a lone sign are a number being typed; anything else that is
// not a whole number is said and changes nothing.
void TConvertBW::Edit1Change() {
  Timer1.start();
  const QString text = Edit1->text();
  if (text.isEmpty() || text == "-") return;
  bool whole = false;
  const int value = text.toInt(&whole);
  if (!whole) return frame_.Warn(QString("'%1' is not a whole number.").arg(text));
  if (value < 0 || value > 255) return frame_.Warn("Incorrect value. Threshold range: 0...255.");
  const QSignalBlocker block(TrackBar1);  // the field already shows the value
  TrackBar1->setValue(value);
}

void TConvertBW::ImageColViewChange() {
  ImageBW->Geometry().SetViewXY(ImageCol->Geometry().ViewX(), ImageCol->Geometry().ViewY());
}

void TConvertBW::ImageBWViewChange() {
  ImageCol->Geometry().SetViewXY(ImageBW->Geometry().ViewX(), ImageBW->Geometry().ViewY());
}

void TConvertBW::Compute(int t) {
  frame_.RunCommand([this, t] {
    const TBusyCursor busy;
    ThresholdToBlackWhite(ImageCol->Bitmap(), ImageBW->Bitmap(), t);
    if (frame_.EditorState.BwResult) *frame_.EditorState.BwResult = ImageBW->Bitmap();
    ImageBW->Update();
  });
}

void TConvertBW::accept() {
  if (Timer1.isActive()) Timer1Timer();
  QDialog::accept();
}

}  // namespace quillet
