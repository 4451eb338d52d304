// TfPreviews: the effects preview dialog. The user picks an adjustment or an
// effect on one of its pages, sets its parameters and sees the result beside
// the original; OK applies it to the whole original with progress, and the
// processing component writes that back into its image.
//
// Controls by objectName (for OnPreview handlers and tests):
//   views      SourceView, ResultView, SourceLabel, ResultLabel, PageTabs
//   buttons    LockPreviewButton, PreviewButton, CopyResultButton ("<<"),
//              OkButton, CancelButton, ProgressBar
//   Contrast   ContrastTrackBar/ContrastEdit, BrightnessTrackBar/BrightnessEdit
//   HSV        HsvHueTrackBar/HsvHueEdit, HsvSatTrackBar/HsvSatEdit,
//              HsvValTrackBar/HsvValEdit, BaseColorBox, NewColorBox
//   HSL        HslHueTrackBar/HslHueEdit, HslSatTrackBar/HslSatEdit,
//              HslLumTrackBar/HslLumEdit
//   RGB        RedTrackBar/RedEdit, GreenTrackBar/GreenEdit, BlueTrackBar/BlueEdit
//   User filter  FilterEdit0..FilterEdit8 (row-major), DivisorEdit,
//              PresetList, LoadButton, SaveButton
//   Equalization  UpperRuler, LowerRuler (grips 0 low, 1 high), UpperLowLabel,
//              UpperHighLabel, LowerLowLabel, LowerHighLabel, Histogram,
//              ChannelList, EqualizeButton
//   Bump map   BumpLeftEdit, BumpTopEdit, BumpWidthEdit, BumpHeightEdit,
//              BumpColorBox, QuantityEdit
//   Lens       LensLeftEdit, LensTopEdit, LensWidthEdit, LensHeightEdit, RefractionEdit
//   Wave       AmplitudeEdit, WaveLengthEdit, PhaseEdit, ReflectiveCheck
//   Morph      MorphFilterList, WindowSizeEdit
//   Rotate     AngleTrackBar (hundredths of a degree), AngleEdit,
//              FlipHorizontalButton, FlipVerticalButton
//   FFT        FrequencyView, ClearButton, ResetButton, GrayScaleCheck, FftProgressBar
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/working_bitmap.h"
#include "imaging/proc/effect_fourier.h"
#include "imaging/proc/preview_pages.h"
#include "imaging/proc/ziridev_proc.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSlider;
class QTabWidget;
class QToolButton;

namespace quillet {

class THistogramBox;
class THSVBox;
class TParamSpin;
class TRulerBox;
class TZiridEvView;

class TfPreviews : public QDialog {
  Q_OBJECT

 public:
  // A dialog over a copy of `area`, for the component's options, words,
  // font, progress handler and abort flag.
  TfPreviews(TZiridEvProc& proc, TPreviewPages pages, const TIEWorkingBitmap& area, QWidget* parent = nullptr);
  ~TfPreviews() override;

  // The original, as OK leaves it.
  const TIEWorkingBitmap& Source() const;
  TPreviewPageKind CurrentPage() const;
  const TPreviewParams& Params() const { return params_; }
  // How many times the preview was computed.
  int PreviewRuns() const { return previewRuns_; }

  // Where Load and Save ask for a file name (title, filter); empty is no
  // file. A file dialog at first.
  std::function<QString(const QString& title, const QString& filter)> OpenFileName, SaveFileName;

  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // One shown value of a page: how the control shows the parameter again.
  struct TBinding {
    TPreviewPageKind Page;
    std::function<void()> Show;
  };

  // A track bar and its edit on a page of track bars.
  struct TTrackSpec {
    QString Label;
    QString Name;
    int TPreviewParams::*Field;
    int Minimum, Maximum;
  };

  QString Word(int index) const;
  void BuildFrame();
  void BuildPages();
  // A page of track bars, one a row; `grid` gets its grid for more controls.
  QWidget* TrackPage(TPreviewPageKind page, std::initializer_list<TTrackSpec> tracks, QGridLayout** grid = nullptr);
  QWidget* ContrastPage();
  QWidget* HsvPage();
  QWidget* HslPage();
  QWidget* RgbPage();
  QWidget* UserFilterPage();
  QWidget* EqualizePage();
  QWidget* BumpMapPage();
  QWidget* LensPage();
  QWidget* WavePage();
  QWidget* MorphPage();
  QWidget* RotatePage();
  QWidget* FftPage();

  // An edit with up-down for an integer parameter, after its label, in a row of the grid.
  TParamSpin* AddEdit(QGridLayout* grid, int row, const QString& label, const QString& name, TPreviewPageKind page,
                      int TPreviewParams::*field, int minimum, int maximum, int step = 1);
  // An edit and a track bar for an integer parameter.
  QSlider* AddTrack(QGridLayout* grid, int row, const QString& label, const QString& name, TPreviewPageKind page,
                    int TPreviewParams::*field, int minimum, int maximum);
  // Edits of left, top, width and height, named prefix + "LeftEdit" ...
  void AddPlacement(QGridLayout* grid, TPreviewPageKind page, const QString& prefix,
                    const std::array<int TPreviewParams::*, 4>& fields);
  void Bind(TPreviewPageKind page, std::function<void()> show);
  // The parameters of the page to its controls.
  void ShowParams(TPreviewPageKind page);

  // --- activation and preview ---------------------------------------------
  void Activate();
  void PageChanged();
  void InitPage(TPreviewPageKind page);
  // The result view takes the original's visible part again, then the page.
  void Refresh();
  // A parameter changed: with Lock preview down, one preview at the next turn
  // of the event loop, however many changes came before it.
  void ParamChanged();
  // The result from its unprocessed copy with the page applied, repainted.
  void PreviewNow();
  TPreviewScale ResultScale() const;
  void LockPreviewToggled(bool down);
  // "<<": the page on the whole original, every page back to its initial values.
  void CopyResultToOriginal();
  void Ok();
  // The page on the whole original with progress; false when aborted or refused.
  bool ApplyToSource(bool progress);
  void SetRunning(bool running);

  // --- pages with more than edits ------------------------------------------
  void ShowHsvDifference();
  void PresetChosen(int index);
  void LoadFilter();
  void SaveFilter();
  void ShowFilter();
  void EqualizeRulerMoved(TRulerBox* ruler, int grip);
  void ChannelsChanged();
  void SetChannels(TBGR& color, int level) const;
  void ShowEqualizeRulers();
  void ResultMouseDown(int button, int64_t x, int64_t y);
  // The thumbnail's transform, when the FFT page is shown.
  void BuildThumbnailTransform();
  void PreviewFrequencies(TIEWorkingBitmap& result);
  // The rectangle selected on the frequency view, into the parameters.
  void TakeFrequencyZone();

  TZiridEvProc& proc_;
  TPreviewPages pages_;
  TPreviewParams params_;
  bool initialised_[kPreviewPageCount] = {};
  std::vector<TBinding> bindings_;
  TIEWorkingBitmap unprocessed_;
  // The component whose image is the original, for the histogram.
  TZiridEvProc sourceProc_;
  std::unique_ptr<TIEFtImage> thumbnailFt_;
  bool previewQueued_ = false, refreshQueued_ = false, running_ = false, activated_ = false;
  int previewRuns_ = 0;

  TZiridEvView* sourceView_ = nullptr;
  TZiridEvView* resultView_ = nullptr;
  TZiridEvView* frequencyView_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  QToolButton* lockPreview_ = nullptr;
  QPushButton* preview_ = nullptr;
  QPushButton* copyResult_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QProgressBar* fftProgress_ = nullptr;
  THSVBox* baseColor_ = nullptr;
  THSVBox* newColor_ = nullptr;
  QSlider* hsvHue_ = nullptr;
  QSlider* hsvSat_ = nullptr;
  QSlider* hsvVal_ = nullptr;
  TParamSpin* filterEdits_[9] = {};
  TParamSpin* divisorEdit_ = nullptr;
  QComboBox* presets_ = nullptr;
  TRulerBox* upperRuler_ = nullptr;
  TRulerBox* lowerRuler_ = nullptr;
  QHBoxLayout* lowerRow_ = nullptr;
  QLabel* rulerLabels_[4] = {};  // upper low, upper high, lower low, lower high
  THistogramBox* histogram_ = nullptr;
  QListWidget* channels_ = nullptr;
  QCheckBox* fftGray_ = nullptr;
};

}  // namespace quillet
