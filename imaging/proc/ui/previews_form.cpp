#include "imaging/proc/ui/previews_form.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "imaging/proc/msg_words.h"
#include "imaging/proc/ui/histogram_box.h"
#include "imaging/proc/ui/hsv_box.h"
#include "imaging/proc/ui/param_spin.h"
#include "imaging/view/qt/ziridev_view.h"

namespace quillet {

namespace {

QFont DialogFont(const TPreviewFont& record, QFont font) {
  if (record.Family.empty()) return font;
  font.setFamily(QString::fromStdString(record.Family));
  if (record.Size > 0) font.setPointSize(record.Size);
  font.setBold(record.Style & TPreviewFont::fsBold);
  font.setItalic(record.Style & TPreviewFont::fsItalic);
  font.setUnderline(record.Style & TPreviewFont::fsUnderline);
  font.setStrikeOut(record.Style & TPreviewFont::fsStrikeOut);
  return font;
}

TZiridEvView* NewView(const QString& name, QWidget* parent) {
  auto* view = new TZiridEvView(parent);
  view->setObjectName(name);
  view->setMinimumSize(200, 160);
  view->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  view->SetBackground(TBGR{96, 96, 96});
  return view;
}

}  // namespace

TfPreviews::TfPreviews(TZiridEvProc& proc, TPreviewPages pages, const TIEWorkingBitmap& area, QWidget* parent)
    : QDialog(parent), proc_(proc), pages_(pages) {
  setObjectName(QStringLiteral("Previews"));
  setWindowTitle(Word(0));
  setFont(DialogFont(proc.PreviewFont, font()));
  OpenFileName = [this](const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(this, title, QString(), filter);
  };
  SaveFileName = [this](const QString& title, const QString& filter) {
    return QFileDialog::getSaveFileName(this, title, QString(), filter);
  };
  BuildFrame();
  sourceView_->Assign(area);
  sourceView_->Update();
  sourceProc_.AutoUndo = false;
  sourceProc_.SetAttachedZiridEv(sourceView_);
  BuildPages();
  for (int i = 0; i < kPreviewPageCount; ++i) tabs_->setTabVisible(i, PageShown(pages, TPreviewPageKind(i)));
  for (int i = 0; i < kPreviewPageCount; ++i)
    if (tabs_->isTabVisible(i)) {
      tabs_->setCurrentIndex(i);
      break;
    }
  InitPage(CurrentPage());
  lockPreview_->setChecked(proc.PreviewsParams & prppDefaultLockPreview);
  preview_->setEnabled(!lockPreview_->isChecked());
  connect(tabs_, &QTabWidget::currentChanged, this, [this] { PageChanged(); });
}

TfPreviews::~TfPreviews() = default;

const TIEWorkingBitmap& TfPreviews::Source() const { return sourceView_->Bitmap(); }

TPreviewPageKind TfPreviews::CurrentPage() const { return TPreviewPageKind(std::max(0, tabs_->currentIndex())); }

QString TfPreviews::Word(int index) const { return QString::fromUtf8(GetWord(index, proc_.MsgLanguage)); }

void TfPreviews::BuildFrame() {
  auto* sourceLabel = new QLabel(Word(1) + ":", this);
  sourceLabel->setObjectName(QStringLiteral("SourceLabel"));
  auto* resultLabel = new QLabel(Word(2) + ":", this);
  resultLabel->setObjectName(QStringLiteral("ResultLabel"));
  sourceView_ = NewView(QStringLiteral("SourceView"), this);
  sourceView_->SetScrollBars(TScrollStyle::ssBoth);
  resultView_ = NewView(QStringLiteral("ResultView"), this);
  // A drag scrolls or zooms many times an event-loop turn: one refresh follows them.
  sourceView_->OnViewChange = [this](TZiridEvView*, int) {
    if (!activated_ || refreshQueued_) return;
    refreshQueued_ = true;
    QTimer::singleShot(0, this, [this] {
      refreshQueued_ = false;
      if (!running_) Refresh();
    });
  };
  resultView_->OnMouseDown = [this](TZiridEvView*, TIEMouseButton button, int, int64_t x, int64_t y) {
    ResultMouseDown(int(button), x, y);
  };

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("PageTabs"));
  tabs_->setTabPosition(QTabWidget::South);
  tabs_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);

  lockPreview_ = new QToolButton(this);
  lockPreview_->setObjectName(QStringLiteral("LockPreviewButton"));
  lockPreview_->setCheckable(true);
  lockPreview_->setText(Word(5));
  lockPreview_->setToolTip(Word(5));
  connect(lockPreview_, &QToolButton::toggled, this, [this](bool down) { LockPreviewToggled(down); });
  const auto button = [this](const QString& text, const char* name) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
  };
  preview_ = button(Word(0), "PreviewButton");
  connect(preview_, &QPushButton::clicked, this, [this] { PreviewNow(); });
  copyResult_ = button(QStringLiteral("<<"), "CopyResultButton");
  copyResult_->setToolTip(Word(6));
  connect(copyResult_, &QPushButton::clicked, this, [this] { CopyResultToOriginal(); });
  ok_ = button(Word(3), "OkButton");
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, [this] { Ok(); });
  cancel_ = button(Word(4), "CancelButton");
  connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("ProgressBar"));
  progress_->setRange(0, 100);
  progress_->setVisible(false);

  auto* views = new QGridLayout;
  views->addWidget(sourceLabel, 0, 0);
  views->addWidget(resultLabel, 0, 1);
  views->addWidget(sourceView_, 1, 0);
  views->addWidget(resultView_, 1, 1);
  views->setRowStretch(1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(lockPreview_);
  buttons->addWidget(preview_);
  buttons->addWidget(copyResult_);
  buttons->addWidget(progress_, 1);
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(views, 1);
  layout->addWidget(tabs_);
  layout->addLayout(buttons);
  resize(900, 700);
}

void TfPreviews::Bind(TPreviewPageKind page, std::function<void()> show) {
  bindings_.push_back({page, std::move(show)});
}

void TfPreviews::ShowParams(TPreviewPageKind page) {
  for (const TBinding& b : bindings_)
    if (b.Page == page) b.Show();
}

TParamSpin* TfPreviews::AddEdit(QGridLayout* grid, int row, const QString& label, const QString& name,
                                TPreviewPageKind page, int TPreviewParams::*field, int minimum, int maximum,
                                int step) {
  auto* edit = new TParamSpin(minimum, maximum, step);
  edit->setObjectName(name);
  grid->addWidget(new QLabel(label), row, 0);
  grid->addWidget(edit, row, 1);
  Bind(page, [this, edit, field] {
    const QSignalBlocker block(edit);
    edit->setValue(params_.*field);
  });
  connect(edit, &QSpinBox::valueChanged, this, [this, field](int v) {
    params_.*field = v;
    ParamChanged();
  });
  return edit;
}

QSlider* TfPreviews::AddTrack(QGridLayout* grid, int row, const QString& label, const QString& name,
                              TPreviewPageKind page, int TPreviewParams::*field, int minimum, int maximum) {
  auto* edit = new TParamSpin(minimum, maximum, 1);
  edit->setObjectName(name + "Edit");
  edit->setButtonSymbols(QAbstractSpinBox::NoButtons);
  edit->setKeyboardTracking(true);
  auto* track = new QSlider(Qt::Horizontal);
  track->setObjectName(name + "TrackBar");
  track->setRange(minimum, maximum);
  track->setPageStep(std::max(1, (maximum - minimum) / 20));
  grid->addWidget(new QLabel(label), row, 0);
  grid->addWidget(edit, row, 1);
  grid->addWidget(track, row, 2);
  grid->setColumnStretch(2, 1);
  Bind(page, [this, edit, track, field] {
    const QSignalBlocker blockEdit(edit), blockTrack(track);
    edit->setValue(params_.*field);
    track->setValue(params_.*field);
  });
  connect(edit, &QSpinBox::valueChanged, track, &QSlider::setValue);
  connect(track, &QSlider::valueChanged, this, [this, edit, field](int v) {
    const QSignalBlocker block(edit);
    edit->setValue(v);
    params_.*field = v;
    ParamChanged();
  });
  return track;
}

// --- activation and preview ---------------------------------------------------

void TfPreviews::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (activated_) return;
  activated_ = true;
  Activate();
}

// The children are shown, with their sizes, before the dialog's show event.
void TfPreviews::Activate() {
  sourceView_->Fit();
  PageChanged();
}

void TfPreviews::InitPage(TPreviewPageKind page) {
  InitPreviewPage(page, params_, sourceView_->Bitmap());
  initialised_[int(page)] = true;
  ShowParams(page);
  if (page == TPreviewPageKind::Equalize) ShowEqualizeRulers();
}

void TfPreviews::PageChanged() {
  const TPreviewPageKind page = CurrentPage();
  if (!initialised_[int(page)]) InitPage(page);
  switch (page) {
    case TPreviewPageKind::Wave:
      sourceView_->SetMouseInteract(0);
      sourceView_->Fit();
      break;
    case TPreviewPageKind::Rotate:
    case TPreviewPageKind::FFT:
      break;
    default:
      sourceView_->SetMouseInteract(miZoom | miScroll);
  }
  Refresh();
}

void TfPreviews::Refresh() {
  const TIEViewGeometry& g = sourceView_->Geometry();
  TIEWorkingBitmap& result = resultView_->Bitmap();
  result.AllocateUninitialised(std::max<int64_t>(1, g.DisplayWidth()), std::max<int64_t>(1, g.DisplayHeight()),
                               TIEPixelFormat::pf24bit);
  TIERawTarget target{result.ScanLine(0), result.Width(), result.Height(), result.RowBytes()};
  sourceView_->DrawVisibleTo(target);
  unprocessed_ = result;
  if (CurrentPage() == TPreviewPageKind::FFT) BuildThumbnailTransform();
  if (CurrentPage() == TPreviewPageKind::Equalize) histogram_->Update();
  PreviewNow();
}

TPreviewScale TfPreviews::ResultScale() const {
  const TIEViewGeometry& g = sourceView_->Geometry();
  return {g.Zoom(), g.ViewX(), g.ViewY()};
}

void TfPreviews::ParamChanged() {
  if (!lockPreview_->isChecked() || previewQueued_ || !activated_) return;
  previewQueued_ = true;
  QTimer::singleShot(0, this, [this] {
    previewQueued_ = false;
    if (!running_) PreviewNow();
  });
}

void TfPreviews::PreviewNow() {
  TIEWorkingBitmap& result = resultView_->Bitmap();
  if (CurrentPage() == TPreviewPageKind::FFT) {
    PreviewFrequencies(result);
  } else {
    result = unprocessed_;
    ApplyPreviewPage(CurrentPage(), params_, result, ResultScale(), proc_.Background());
  }
  resultView_->Update();
  ++previewRuns_;
}

void TfPreviews::LockPreviewToggled(bool down) {
  preview_->setEnabled(!down);
  if (down) PreviewNow();
}

void TfPreviews::CopyResultToOriginal() {
  ApplyToSource(false);
  for (int i = 0; i < kPreviewPageCount; ++i)
    if (initialised_[i]) InitPage(TPreviewPageKind(i));
  Refresh();
}

void TfPreviews::SetRunning(bool running) {
  running_ = running;
  for (QWidget* w : {static_cast<QWidget*>(tabs_), static_cast<QWidget*>(sourceView_),
                     static_cast<QWidget*>(resultView_), static_cast<QWidget*>(lockPreview_),
                     static_cast<QWidget*>(preview_), static_cast<QWidget*>(copyResult_), static_cast<QWidget*>(ok_)})
    w->setEnabled(!running);
  if (!running) preview_->setEnabled(!lockPreview_->isChecked());
  progress_->setVisible(running);
  progress_->setValue(0);
}

bool TfPreviews::ApplyToSource(bool progress) {
  TIEProcWatch watch;
  if (progress) {
    proc_.Aborting = false;
    watch.Aborting = &proc_.Aborting;
    watch.OnProgress = [this](int per) {
      progress_->setValue(per);
      if (CurrentPage() == TPreviewPageKind::FFT) fftProgress_->setValue(per);
      if (proc_.OnProgress) proc_.OnProgress(&proc_, per);
      QCoreApplication::processEvents();
    };
  }
  if (CurrentPage() == TPreviewPageKind::FFT) TakeFrequencyZone();
  const bool done =
      ApplyPreviewPage(CurrentPage(), params_, sourceView_->Bitmap(), TPreviewScale{}, proc_.Background(), watch);
  sourceView_->Update();
  if (done && CurrentPage() == TPreviewPageKind::FFT) frequencyView_->Deselect();
  return done && !watch.Aborted();
}

void TfPreviews::Ok() {
  if (running_) return;
  SetRunning(true);
  const bool done = ApplyToSource(true);
  const bool aborted = proc_.Aborting;
  SetRunning(false);
  if (done) {
    accept();
  } else if (aborted) {
    QDialog::reject();
  } else {
    // Only the transform refuses: the spectrum of the whole area would be too large.
    QMessageBox::warning(this, QStringLiteral("Warning"),
                         QStringLiteral("The image is too large for the frequency domain: at most %1 pixels a side.")
                             .arg(TIEFtImage::kMaxSide));
  }
}

void TfPreviews::reject() {
  if (running_) {
    proc_.Aborting = true;
    return;
  }
  QDialog::reject();
}

void TfPreviews::ResultMouseDown(int button, int64_t x, int64_t y) {
  const TIEViewGeometry& r = resultView_->Geometry();
  const int64_t rx = r.ScreenToBitmapX(x), ry = r.ScreenToBitmapY(y);
  TIEWorkingBitmap& result = resultView_->Bitmap();
  if (rx < 0 || ry < 0 || rx >= result.Width() || ry >= result.Height()) return;
  const TIEViewGeometry& g = sourceView_->Geometry();
  const int64_t sx = g.ScreenToBitmapX(rx + g.OffsetX()), sy = g.ScreenToBitmapY(ry + g.OffsetY());
  switch (CurrentPage()) {
    case TPreviewPageKind::HSV:
      if (button == int(TIEMouseButton::mbLeft)) {
        const uint8_t* p = unprocessed_.ScanLine(ry) + 3 * rx;
        baseColor_->SetColor(p[2], p[1], p[0]);
        ShowHsvDifference();
      }
      break;
    case TPreviewPageKind::BumpMap:
      params_.BumpLeft = int32_t(sx);
      params_.BumpTop = int32_t(sy);
      ShowParams(TPreviewPageKind::BumpMap);
      ParamChanged();
      break;
    case TPreviewPageKind::Lens:
      params_.LensLeft = int32_t(sx);
      params_.LensTop = int32_t(sy);
      ShowParams(TPreviewPageKind::Lens);
      ParamChanged();
      break;
    default:
      break;
  }
}

}  // namespace quillet
