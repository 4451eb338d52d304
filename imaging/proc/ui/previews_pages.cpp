// TfPreviews: the pages and their controls.
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "imaging/proc/ui/hsv_box.h"
#include "imaging/proc/ui/param_spin.h"
#include "imaging/proc/ui/previews_form.h"

namespace quillet {

namespace {

constexpr int kSizeLimit = 32767;

// A page whose controls sit in a grid, in a group box when it has a caption;
// a grid of track bars takes the page's width.
QWidget* GridPage(QGridLayout*& grid, const QString& group = {}, bool fill = false) {
  auto* page = new QWidget;
  auto* column = new QVBoxLayout;
  grid = new QGridLayout;
  if (group.isEmpty()) {
    column->addLayout(grid);
  } else {
    auto* box = new QGroupBox(group);
    box->setLayout(grid);
    column->addWidget(box);
  }
  column->addStretch();
  auto* outer = new QHBoxLayout(page);
  outer->addLayout(column, fill ? 1 : 0);
  if (!fill) outer->addStretch();
  return page;
}

QString Group(const QString& word) { return " " + word + " "; }

QToolButton* ToggleButton(const QString& text, const QString& name) {
  auto* b = new QToolButton;
  b->setObjectName(name);
  b->setText(text);
  b->setCheckable(true);
  return b;
}

}  // namespace

void TfPreviews::BuildPages() {
  const std::pair<QWidget*, QString> pages[] = {
      {ContrastPage(), Word(7)},   {HsvPage(), QStringLiteral("HSV")},
      {HslPage(), QStringLiteral("HSL")}, {RgbPage(), QStringLiteral("RGB")},
      {UserFilterPage(), Word(72)}, {EqualizePage(), Word(23)},
      {BumpMapPage(), Word(90)},   {LensPage(), Word(35)},
      {WavePage(), Word(67)},      {MorphPage(), Word(73)},
      {RotatePage(), Word(79)},    {FftPage(), QStringLiteral("FFT")}};
  for (const auto& [page, caption] : pages) tabs_->addTab(page, caption);
}

QWidget* TfPreviews::TrackPage(TPreviewPageKind page, std::initializer_list<TTrackSpec> tracks,
                              QGridLayout** gridOut) {
  QGridLayout* grid;
  QWidget* widget = GridPage(grid, {}, true);
  int row = 0;
  for (const TTrackSpec& t : tracks) AddTrack(grid, row++, t.Label, t.Name, page, t.Field, t.Minimum, t.Maximum);
  if (gridOut) *gridOut = grid;
  return widget;
}

QWidget* TfPreviews::ContrastPage() {
  return TrackPage(TPreviewPageKind::Contrast,
                   {{Word(7), "Contrast", &TPreviewParams::Contrast, -100, 100},
                    {Word(8) + ":", "Brightness", &TPreviewParams::Brightness, -100, 100}});
}

QWidget* TfPreviews::HsvPage() {
  QGridLayout* grid;
  QWidget* page = TrackPage(TPreviewPageKind::HSV,
                            {{Word(9) + " (H):", "HsvHue", &TPreviewParams::HsvHue, -180, 180},
                             {Word(10) + " (S):", "HsvSat", &TPreviewParams::HsvSaturation, -100, 100},
                             {Word(11) + " (V):", "HsvVal", &TPreviewParams::HsvValue, -100, 100}},
                            &grid);
  hsvHue_ = page->findChild<QSlider*>(QStringLiteral("HsvHueTrackBar"));
  hsvSat_ = page->findChild<QSlider*>(QStringLiteral("HsvSatTrackBar"));
  hsvVal_ = page->findChild<QSlider*>(QStringLiteral("HsvValTrackBar"));
  const auto box = [&](const QString& caption, const QString& name, int column) {
    auto* b = new THSVBox;
    b->setObjectName(name);
    b->setFixedSize(105, 105);
    grid->addWidget(new QLabel(caption), 0, column);
    grid->addWidget(b, 1, column, 3, 1);
    b->OnChange = [this](THSVBox*) { ShowHsvDifference(); };
    return b;
  };
  baseColor_ = box(Word(12) + ":", QStringLiteral("BaseColorBox"), 3);
  newColor_ = box(Word(13) + ":", QStringLiteral("NewColorBox"), 4);
  return page;
}

void TfPreviews::ShowHsvDifference() {
  // The hue goes the short way round; saturation and value stop at their ends.
  int hue = newColor_->Hue() - baseColor_->Hue();
  if (hue > 180) hue -= 360;
  if (hue < -180) hue += 360;
  hsvHue_->setValue(hue);
  hsvSat_->setValue(newColor_->Sat() - baseColor_->Sat());
  hsvVal_->setValue(newColor_->Val() - baseColor_->Val());
}

QWidget* TfPreviews::HslPage() {
  return TrackPage(TPreviewPageKind::HSL, {{Word(9) + " (H):", "HslHue", &TPreviewParams::HslHue, -180, 180},
                                           {Word(10) + " (S):", "HslSat", &TPreviewParams::HslSaturation, -100, 100},
                                           {Word(14) + " (L):", "HslLum", &TPreviewParams::HslLuminosity, -100, 100}});
}

QWidget* TfPreviews::RgbPage() {
  return TrackPage(TPreviewPageKind::RGB, {{Word(15) + " (R):", "Red", &TPreviewParams::Red, -255, 255},
                                           {Word(16) + " (G):", "Green", &TPreviewParams::Green, -255, 255},
                                           {Word(17) + " (B):", "Blue", &TPreviewParams::Blue, -255, 255}});
}

void TfPreviews::AddPlacement(QGridLayout* grid, TPreviewPageKind page, const QString& prefix,
                              const std::array<int TPreviewParams::*, 4>& fields) {
  static const char* const kRoles[] = {"LeftEdit", "TopEdit", "WidthEdit", "HeightEdit"};
  for (int i = 0; i < 4; ++i)
    AddEdit(grid, i, Word(29 + i) + ":", prefix + kRoles[i], page, fields[size_t(i)], 0, kSizeLimit, 10);
}

QWidget* TfPreviews::BumpMapPage() {
  QGridLayout* grid;
  QWidget* page = GridPage(grid, Group(Word(28)));
  const auto kind = TPreviewPageKind::BumpMap;
  AddPlacement(grid, kind, "Bump",
               {&TPreviewParams::BumpLeft, &TPreviewParams::BumpTop, &TPreviewParams::BumpWidth,
                &TPreviewParams::BumpHeight});
  AddEdit(grid, 4, Word(34) + " (%):", "QuantityEdit", kind, &TPreviewParams::Quantity, 0, 100, 10);
  auto* color = new THSVBox;
  color->setObjectName(QStringLiteral("BumpColorBox"));
  color->setFixedSize(105, 105);
  grid->addWidget(new QLabel(Word(33) + ":"), 0, 2);
  grid->addWidget(color, 1, 2, 4, 1);
  Bind(kind, [this, color] { color->SetColor(params_.BumpColor.r, params_.BumpColor.g, params_.BumpColor.b); });
  color->OnChange = [this](THSVBox* box) {
    params_.BumpColor = TBGR{box->Blue(), box->Green(), box->Red()};
    ParamChanged();
  };
  return page;
}

QWidget* TfPreviews::LensPage() {
  QGridLayout* grid;
  QWidget* page = GridPage(grid, Group(Word(35)));
  const auto kind = TPreviewPageKind::Lens;
  AddPlacement(grid, kind, "Lens",
               {&TPreviewParams::LensLeft, &TPreviewParams::LensTop, &TPreviewParams::LensWidth,
                &TPreviewParams::LensHeight});
  AddEdit(grid, 4, Word(36) + ":", "RefractionEdit", kind, &TPreviewParams::Refraction, 0, kSizeLimit);
  return page;
}

QWidget* TfPreviews::WavePage() {
  QGridLayout* grid;
  QWidget* page = GridPage(grid, Group(Word(67)));
  const auto kind = TPreviewPageKind::Wave;
  AddEdit(grid, 0, Word(68), "AmplitudeEdit", kind, &TPreviewParams::Amplitude, 0, kSizeLimit);
  AddEdit(grid, 1, Word(69), "WaveLengthEdit", kind, &TPreviewParams::WaveLength, 0, kSizeLimit);
  AddEdit(grid, 2, Word(70), "PhaseEdit", kind, &TPreviewParams::Phase, 0, 359);
  auto* reflective = new QCheckBox(Word(71));
  reflective->setObjectName(QStringLiteral("ReflectiveCheck"));
  grid->addWidget(reflective, 3, 0, 1, 2);
  Bind(kind, [this, reflective] {
    const QSignalBlocker block(reflective);
    reflective->setChecked(params_.Reflective);
  });
  connect(reflective, &QCheckBox::toggled, this, [this](bool on) {
    params_.Reflective = on;
    ParamChanged();
  });
  return page;
}

QWidget* TfPreviews::MorphPage() {
  QGridLayout* grid;
  QWidget* page = GridPage(grid, Group(Word(73)));
  const auto kind = TPreviewPageKind::Morph;
  auto* filter = new QComboBox;
  filter->setObjectName(QStringLiteral("MorphFilterList"));
  for (int word = 75; word <= 78; ++word) filter->addItem(Word(word));
  grid->addWidget(new QLabel(Word(66) + ":"), 0, 0);
  grid->addWidget(filter, 0, 1);
  Bind(kind, [this, filter] {
    const QSignalBlocker block(filter);
    filter->setCurrentIndex(params_.MorphFilter);
  });
  connect(filter, &QComboBox::currentIndexChanged, this, [this](int index) {
    params_.MorphFilter = std::max(0, index);
    ParamChanged();
  });
  AddEdit(grid, 1, Word(74) + ":", "WindowSizeEdit", kind, &TPreviewParams::MorphWindow, 1, 64)->SetEmptyValue(1);
  return page;
}

QWidget* TfPreviews::RotatePage() {
  QGridLayout* grid;
  QWidget* page = GridPage(grid, {}, true);
  const auto kind = TPreviewPageKind::Rotate;
  auto* edit = new QDoubleSpinBox;
  edit->setObjectName(QStringLiteral("AngleEdit"));
  edit->setRange(-180, 180);
  edit->setDecimals(2);
  auto* track = new QSlider(Qt::Horizontal);
  track->setObjectName(QStringLiteral("AngleTrackBar"));
  track->setRange(-18000, 18000);
  track->setPageStep(1500);
  grid->addWidget(new QLabel(Word(79) + ":"), 0, 0);
  grid->addWidget(edit, 0, 1);
  grid->addWidget(track, 0, 2);
  grid->setColumnStretch(2, 1);
  connect(edit, &QDoubleSpinBox::valueChanged, track, [track](double v) { track->setValue(int(std::lround(v * 100))); });
  connect(track, &QSlider::valueChanged, this, [this, edit](int v) {
    const QSignalBlocker block(edit);
    edit->setValue(v / 100.0);
    params_.Angle = v;
    ParamChanged();
  });
  auto* horizontal = ToggleButton(Word(81), QStringLiteral("FlipHorizontalButton"));
  auto* vertical = ToggleButton(Word(82), QStringLiteral("FlipVerticalButton"));
  grid->addWidget(new QLabel(Word(80) + ":"), 1, 0);
  auto* flips = new QHBoxLayout;
  flips->addWidget(horizontal);
  flips->addWidget(vertical);
  flips->addStretch();
  grid->addLayout(flips, 1, 1, 1, 2);
  Bind(kind, [this, edit, track, horizontal, vertical] {
    const QSignalBlocker b1(edit), b2(track), b3(horizontal), b4(vertical);
    edit->setValue(params_.Angle / 100.0);
    track->setValue(params_.Angle);
    horizontal->setChecked(params_.FlipHorizontal);
    vertical->setChecked(params_.FlipVertical);
  });
  connect(horizontal, &QToolButton::toggled, this, [this](bool on) {
    params_.FlipHorizontal = on;
    ParamChanged();
  });
  connect(vertical, &QToolButton::toggled, this, [this](bool on) {
    params_.FlipVertical = on;
    ParamChanged();
  });
  return page;
}

}  // namespace quillet
