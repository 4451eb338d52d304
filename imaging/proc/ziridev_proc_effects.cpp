// TZiridEvProc: the effects (user filter, bump map, lens, wave, morphological
// filters and the Fourier transform's spectrum and clearing).
#include "imaging/proc/effect_bump_map.h"
#include "imaging/proc/effect_lens.h"
#include "imaging/proc/effect_morph.h"
#include "imaging/proc/effect_user_filter.h"
#include "imaging/proc/effect_wave.h"
#include "imaging/proc/ziridev_proc.h"

namespace quillet {

void TZiridEvProc::ApplyUserFilter(const std::array<int32_t, 9>& coefficients, int32_t divisor) {
  Adjust("ApplyUserFilter", [&](TIEWorkingBitmap& image, const TIEProcWatch& control) {
    quillet::ApplyUserFilter(image, TIEArea{}, coefficients, divisor, control);
  });
}

void TZiridEvProc::ApplyBumpMap(int32_t x, int32_t y, int32_t width, int32_t height, TBGR light, int32_t quantity) {
  Adjust("ApplyBumpMap", [&](TIEWorkingBitmap& image, const TIEProcWatch& control) {
    quillet::ApplyBumpMap(image, TIEArea{}, x, y, width, height, light, quantity, control);
  });
}

void TZiridEvProc::ApplyLens(int32_t x, int32_t y, int32_t width, int32_t height, double refraction) {
  Adjust("ApplyLens", [&](TIEWorkingBitmap& image, const TIEProcWatch& control) {
    quillet::ApplyLens(image, x, y, width, height, refraction, control);
  });
}

void TZiridEvProc::ApplyWave(int32_t amplitude, int32_t waveLength, int32_t phase, bool reflective) {
  Adjust("ApplyWave", [&](TIEWorkingBitmap& image, const TIEProcWatch& control) {
    quillet::ApplyWave(image, amplitude, waveLength, phase, reflective, control);
  });
}

void TZiridEvProc::ApplyMorph(int32_t filter, int32_t window) {
  Adjust("ApplyMorph", [&](TIEWorkingBitmap& image, const TIEProcWatch& control) {
    quillet::ApplyMorph(image, TIEArea{}, filter, window, control);
  });
}

bool TZiridEvProc::FftFits() const {
  const TIEWorkingBitmap* image = link_.Bitmap();
  if (!image || image->Empty()) return true;
  const TIEMask* mask = Selection();
  return mask ? TIEFtImage::Fits(mask->X2() - mask->X1() + 1, mask->Y2() - mask->Y1() + 1)
              : TIEFtImage::Fits(image->Width(), image->Height());
}

bool TZiridEvProc::FftClear(const std::vector<std::array<int64_t, 4>>& zones, bool gray) {
  if (!FftFits()) return false;
  Adjust("FftClear", [&](TIEWorkingBitmap& image, const TIEProcWatch& control) {
    ClearFrequencies(image, zones, gray, control);
  });
  return true;
}

bool TZiridEvProc::FftSpectrum(bool gray) {
  TIEWorkingBitmap* image = link_.Bitmap();
  if (!image) return true;
  // The whole image: its spectrum has another size than any selection's box.
  if (!image->Empty() && !TIEFtImage::Fits(image->Width(), image->Height())) return false;
  RecordUndo("FftSpectrum");
  TIEFtImage ft;
  if (!ft.BuildFT(*image, gray, Watch())) return true;
  TIEWorkingBitmap spectrum;
  ft.GetFFTImage(spectrum);
  image->Replace(std::move(spectrum));
  NotifyImageChanged();
  return true;
}

}  // namespace quillet
