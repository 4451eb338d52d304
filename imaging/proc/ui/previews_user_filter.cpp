// TfPreviews: the user filter page, its presets and its filter files.
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "imaging/proc/ui/param_spin.h"
#include "imaging/proc/ui/previews_form.h"
#include "imaging/proc/user_filter_file.h"

namespace quillet {

namespace {

const QString kFilterFiles = QStringLiteral("Filter (*.flt)");

}  // namespace

QWidget* TfPreviews::UserFilterPage() {
  auto* page = new QWidget;
  auto* values = new QGroupBox(" " + Word(18) + " ");
  auto* grid = new QGridLayout(values);
  for (int i = 0; i < 9; ++i) {
    auto* edit = filterEdits_[i] = new TParamSpin(-100, 100, 1);
    edit->setObjectName(QStringLiteral("FilterEdit%1").arg(i));
    grid->addWidget(edit, i / 3, i % 3);
    connect(edit, &QSpinBox::valueChanged, this, [this, i](int v) {
      params_.Coefficients[size_t(i)] = v;
      ParamChanged();
    });
  }
  divisorEdit_ = new TParamSpin(-100, 100, 1);
  divisorEdit_->setObjectName(QStringLiteral("DivisorEdit"));
  divisorEdit_->SetEmptyValue(1);
  grid->addWidget(new QLabel(Word(20)), 3, 0);
  grid->addWidget(divisorEdit_, 3, 1);
  connect(divisorEdit_, &QSpinBox::valueChanged, this, [this](int v) {
    params_.Divisor = v;
    ParamChanged();
  });

  auto* presetBox = new QGroupBox(" " + Word(19) + " ");
  auto* presetLayout = new QVBoxLayout(presetBox);
  presets_ = new QComboBox;
  presets_->setObjectName(QStringLiteral("PresetList"));
  for (const TUserFilterPreset& preset : UserFilterPresets())
    presets_->addItem(QString::fromUtf8(preset.Name.data(), qsizetype(preset.Name.size())));
  connect(presets_, &QComboBox::activated, this, [this](int index) { PresetChosen(index); });
  auto* load = new QPushButton(Word(21));
  load->setObjectName(QStringLiteral("LoadButton"));
  load->setAutoDefault(false);
  connect(load, &QPushButton::clicked, this, [this] { LoadFilter(); });
  auto* save = new QPushButton(Word(22));
  save->setObjectName(QStringLiteral("SaveButton"));
  save->setAutoDefault(false);
  connect(save, &QPushButton::clicked, this, [this] { SaveFilter(); });
  presetLayout->addWidget(presets_);
  presetLayout->addWidget(load);
  presetLayout->addWidget(save);
  presetLayout->addStretch();

  auto* layout = new QHBoxLayout(page);
  layout->addWidget(values);
  layout->addWidget(presetBox);
  layout->addStretch();
  Bind(TPreviewPageKind::UserFilter, [this] {
    ShowFilter();
    const QSignalBlocker block(presets_);
    presets_->setCurrentIndex(0);
  });
  return page;
}

void TfPreviews::ShowFilter() {
  for (int i = 0; i < 9; ++i) {
    const QSignalBlocker block(filterEdits_[i]);
    filterEdits_[i]->setValue(params_.Coefficients[size_t(i)]);
  }
  const QSignalBlocker block(divisorEdit_);
  divisorEdit_->setValue(params_.Divisor);
}

void TfPreviews::PresetChosen(int index) {
  const auto presets = UserFilterPresets();
  if (index < 0 || size_t(index) >= presets.size()) return;
  params_.Coefficients = presets[size_t(index)].Values.Coefficients;
  params_.Divisor = presets[size_t(index)].Values.Divisor;
  ShowFilter();
  ParamChanged();
}

void TfPreviews::LoadFilter() {
  const QString name = OpenFileName(Word(88), kFilterFiles);
  if (name.isEmpty()) return;
  std::string error;
  const auto file = ReadUserFilterFile(name.toStdString(), error);
  if (!file) {
    QMessageBox::warning(this, QStringLiteral("Warning"), QString::fromStdString(error));
    return;
  }
  // Values outside the edits' range are shown limited, and used so.
  for (size_t i = 0; i < 9; ++i) params_.Coefficients[i] = std::clamp(file->Values.Coefficients[i], -100, 100);
  params_.Divisor = std::clamp(file->Values.Divisor, -100, 100);
  ShowFilter();
  ParamChanged();
}

void TfPreviews::SaveFilter() {
  QString name = SaveFileName(Word(89), kFilterFiles);
  if (name.isEmpty()) return;
  if (QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".flt");
  std::string error;
  if (!WriteUserFilterFile(name.toStdString(), {params_.Coefficients, params_.Divisor}, error))
    QMessageBox::warning(this, QStringLiteral("Warning"), QString::fromStdString(error));
}

}  // namespace quillet
