// TfPreviews: the equalization page: level rulers around the histogram of
// the original, the channels they set, and the automatic equalization.
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "imaging/proc/ui/histogram_box.h"
#include "imaging/proc/ui/previews_form.h"
#include "imaging/proc/ui/ruler_box.h"

namespace quillet {

namespace {

const QColor kSilver(192, 192, 192);
const QColor kGripGrey(128, 128, 128);
// The histogram kinds of the channel list's rows.
constexpr int kChannelKinds[] = {hkRed, hkGreen, hkBlue, hkGray};

TRulerBox* LevelRuler(const QString& name, int gripKind, TGripsDir dir) {
  auto* ruler = new TRulerBox;
  ruler->setObjectName(name);
  ruler->setFixedHeight(40);
  ruler->SetBackground(kSilver);
  ruler->SetViewMin(0);
  ruler->SetViewMax(255);
  ruler->SetFrequency(16);
  ruler->SetLabelFreq(32);
  ruler->SetFitInView(true);
  ruler->SetGripsDir(dir);
  ruler->SetGripsCount(2);
  for (int grip = 0; grip < 2; ++grip) {
    ruler->SetGripKind(grip, gripKind);
    ruler->SetGripColor(grip, kGripGrey);
  }
  return ruler;
}

// The labels under a ruler's ends.
QHBoxLayout* EndLabels(QLabel*& low, QLabel*& high, const QString& name) {
  low = new QLabel(QStringLiteral("0"));
  low->setObjectName(name + "LowLabel");
  high = new QLabel(QStringLiteral("255"));
  high->setObjectName(name + "HighLabel");
  auto* row = new QHBoxLayout;
  row->addWidget(low);
  row->addStretch();
  row->addWidget(high);
  return row;
}

}  // namespace

QWidget* TfPreviews::EqualizePage() {
  auto* page = new QWidget;
  upperRuler_ = LevelRuler(QStringLiteral("UpperRuler"), 0, TGripsDir::gdDown);
  lowerRuler_ = LevelRuler(QStringLiteral("LowerRuler"), 4, TGripsDir::gdUp);
  histogram_ = new THistogramBox;
  histogram_->setObjectName(QStringLiteral("Histogram"));
  histogram_->setFixedHeight(80);
  histogram_->SetBackground(kSilver);
  histogram_->SetLabels(0);
  histogram_->SetCompBar(true);
  histogram_->SetAttachedZiridEvProc(&sourceProc_);
  for (TRulerBox* ruler : {upperRuler_, lowerRuler_})
    ruler->OnRulerPosChange = [this](TRulerBox* sender, int grip) { EqualizeRulerMoved(sender, grip); };

  auto* levels = new QVBoxLayout;
  levels->setSpacing(0);
  levels->addWidget(new QLabel(Word(23)));
  levels->addWidget(upperRuler_);
  levels->addLayout(EndLabels(rulerLabels_[0], rulerLabels_[1], QStringLiteral("Upper")));
  levels->addWidget(histogram_);
  lowerRow_ = new QHBoxLayout;
  lowerRow_->addWidget(lowerRuler_);
  levels->addLayout(lowerRow_);
  levels->addLayout(EndLabels(rulerLabels_[2], rulerLabels_[3], QStringLiteral("Lower")));
  levels->addWidget(new QLabel(Word(24)));

  auto* histogramGroup = new QGroupBox(" " + Word(26) + " ");
  auto* side = new QVBoxLayout(histogramGroup);
  channels_ = new QListWidget;
  channels_->setObjectName(QStringLiteral("ChannelList"));
  for (int word : {15, 16, 17, 27}) channels_->addItem(Word(word));
  channels_->setMaximumHeight(channels_->sizeHintForRow(0) * 4 + 2 * channels_->frameWidth() + 4);
  connect(channels_, &QListWidget::itemChanged, this, [this] { ChannelsChanged(); });
  auto* equalize = new QToolButton;
  equalize->setObjectName(QStringLiteral("EqualizeButton"));
  equalize->setText(Word(25));
  equalize->setCheckable(true);
  connect(equalize, &QToolButton::toggled, this, [this](bool down) {
    params_.Equalize = down;
    ParamChanged();
  });
  side->addWidget(channels_);
  side->addWidget(equalize);
  side->addStretch();

  auto* layout = new QHBoxLayout(page);
  layout->addLayout(levels, 1);
  layout->addWidget(histogramGroup);
  Bind(TPreviewPageKind::Equalize, [this, equalize] {
    const QSignalBlocker block(equalize);
    equalize->setChecked(params_.Equalize);
    ShowEqualizeRulers();
  });
  return page;
}

void TfPreviews::ShowEqualizeRulers() {
  {
    const QSignalBlocker block(channels_);
    for (int row = 0; row < 4; ++row) channels_->item(row)->setCheckState(row == 3 ? Qt::Checked : Qt::Unchecked);
  }
  ChannelsChanged();
  for (TRulerBox* ruler : {upperRuler_, lowerRuler_}) {
    ruler->SetGripPosition(0, 0);
    ruler->SetGripPosition(1, 255);
  }
  for (int i = 0; i < 4; ++i) rulerLabels_[i]->setText(QString::number(i % 2 ? 255 : 0));
}

void TfPreviews::EqualizeRulerMoved(TRulerBox* ruler, int grip) {
  if (grip < 0 || grip > 1) return;
  const double pos = ruler->GripPosition(grip);
  // The grips do not cross: the other one is pushed along.
  const int other = 1 - grip;
  if (grip == 0 ? pos > ruler->GripPosition(other) : pos < ruler->GripPosition(other))
    ruler->SetGripPosition(other, pos);
  const bool upper = ruler == upperRuler_;
  const int level = int(pos);
  rulerLabels_[(upper ? 0 : 2) + grip]->setText(QString::number(level));
  if (upper)
    SetChannels(grip == 0 ? params_.Dark : params_.Light, level);
  else
    SetChannels(grip == 0 ? params_.ThresholdLow : params_.ThresholdHigh, level);
  ParamChanged();
}

void TfPreviews::SetChannels(TBGR& color, int level) const {
  const uint8_t v = uint8_t(std::clamp(level, 0, 255));
  const auto checked = [this](int row) { return channels_->item(row)->checkState() == Qt::Checked; };
  if (checked(0) || checked(3)) color.r = v;
  if (checked(1) || checked(3)) color.g = v;
  if (checked(2) || checked(3)) color.b = v;
}

void TfPreviews::ChannelsChanged() {
  int kinds = 0;
  for (int row = 0; row < 4; ++row)
    if (channels_->item(row)->checkState() == Qt::Checked) kinds |= kChannelKinds[row];
  histogram_->SetHistogramKind(kinds);
  // The threshold ruler starts where the plot does.
  lowerRow_->setContentsMargins(histogram_->PlotOriginX() - histogram_->x(), 0, 0, 0);
}

}  // namespace quillet
