// TfPreviews: the FFT page: the spectrum of a thumbnail of the original, a
// rectangle of it selected and cleared, and the thumbnail transformed back.
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "imaging/proc/resample.h"
#include "imaging/proc/ui/previews_form.h"
#include "imaging/view/qt/ziridev_view.h"

namespace quillet {

namespace {

constexpr int64_t kThumbnailSide = 128;

// The longer side 128 pixels, the other in proportion, at least 1 pixel.
TIEWorkingBitmap Thumbnail(const TIEWorkingBitmap& source) {
  const int64_t w = source.Width(), h = source.Height();
  const int64_t tw = w >= h ? kThumbnailSide : std::max<int64_t>(1, w * kThumbnailSide / h);
  const int64_t th = w >= h ? std::max<int64_t>(1, h * kThumbnailSide / w) : kThumbnailSide;
  TIEWorkingBitmap thumbnail;
  if (!ResampleColour(source, thumbnail, tw, th, TResampleFilter::rfTriangle)) StretchNearest(source, thumbnail, tw, th);
  return thumbnail;
}

}  // namespace

QWidget* TfPreviews::FftPage() {
  auto* page = new QWidget;
  auto* group = new QGroupBox(" " + Word(84) + " ");
  auto* groupLayout = new QVBoxLayout(group);
  frequencyView_ = new TZiridEvView;
  frequencyView_->setObjectName(QStringLiteral("FrequencyView"));
  frequencyView_->setMinimumSize(160, 140);
  frequencyView_->SetMouseInteract(miSelect);
  groupLayout->addWidget(frequencyView_);

  const auto button = [](const QString& text, const char* name) {
    auto* b = new QPushButton(text);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
  };
  auto* clear = button(Word(85), "ClearButton");
  connect(clear, &QPushButton::clicked, this, [this] { PreviewNow(); });
  auto* reset = button(Word(86), "ResetButton");
  connect(reset, &QPushButton::clicked, this, [this] {
    frequencyView_->Deselect();
    Refresh();
  });
  fftGray_ = new QCheckBox(Word(41));
  fftGray_->setObjectName(QStringLiteral("GrayScaleCheck"));
  connect(fftGray_, &QCheckBox::toggled, this, [this](bool on) {
    params_.FftGray = on;
    Refresh();
  });
  fftProgress_ = new QProgressBar;
  fftProgress_->setObjectName(QStringLiteral("FftProgressBar"));
  fftProgress_->setRange(0, 100);
  auto* side = new QVBoxLayout;
  side->addWidget(clear);
  side->addWidget(reset);
  side->addWidget(fftGray_);
  side->addWidget(fftProgress_);
  side->addStretch();

  auto* layout = new QHBoxLayout(page);
  layout->addWidget(group, 1);
  layout->addLayout(side);
  Bind(TPreviewPageKind::FFT, [this] {
    const QSignalBlocker block(fftGray_);
    fftGray_->setChecked(params_.FftGray);
    frequencyView_->Deselect();
  });
  return page;
}

void TfPreviews::BuildThumbnailTransform() {
  if (!thumbnailFt_) thumbnailFt_ = std::make_unique<TIEFtImage>();
  const TIEProcWatch watch{[this](int per) { fftProgress_->setValue(per); }, nullptr};
  thumbnailFt_->BuildFT(Thumbnail(sourceView_->Bitmap()), params_.FftGray, watch);
}

void TfPreviews::TakeFrequencyZone() {
  const TIEMask* selection = frequencyView_->GetSelectionMask();
  if (selection && thumbnailFt_ && !thumbnailFt_->Empty())
    params_.FftZone = TSpectrumZone{selection->X1(), selection->Y1(), selection->X2(), selection->Y2(),
                                    thumbnailFt_->Width(), thumbnailFt_->Height()};
  else
    params_.FftZone.reset();
}

void TfPreviews::PreviewFrequencies(TIEWorkingBitmap& result) {
  if (!thumbnailFt_ || thumbnailFt_->Empty()) return;
  TakeFrequencyZone();
  TIEFtImage ft = *thumbnailFt_;
  if (const auto& z = params_.FftZone) ft.ClearZone(z->X1, z->Y1, z->X2, z->Y2);
  TIEWorkingBitmap& spectrum = frequencyView_->Bitmap();
  const bool resized = spectrum.Width() != ft.Width() || spectrum.Height() != ft.Height();
  ft.GetFFTImage(spectrum);
  if (resized) {
    frequencyView_->Update();
    frequencyView_->Fit();
  } else {
    frequencyView_->InvalidateImage();
  }
  const TIEProcWatch watch{[this](int per) { fftProgress_->setValue(per); }, nullptr};
  ft.GetInverseImage(result, watch);
}

}  // namespace quillet
