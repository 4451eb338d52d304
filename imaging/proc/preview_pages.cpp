#include "imaging/proc/preview_pages.h"

#include <algorithm>
#include <limits>

#include "imaging/core/math.h"
#include "imaging/proc/colour_adjust.h"
#include "imaging/proc/colour_histogram.h"
#include "imaging/proc/effect_bump_map.h"
#include "imaging/proc/effect_fft.h"
#include "imaging/proc/effect_fourier.h"
#include "imaging/proc/effect_lens.h"
#include "imaging/proc/effect_morph.h"
#include "imaging/proc/effect_wave.h"
#include "imaging/proc/flip.h"
#include "imaging/proc/rotate.h"

namespace quillet {

namespace {

int32_t ToInt32(double v) {
  constexpr double lo = std::numeric_limits<int32_t>::min(), hi = std::numeric_limits<int32_t>::max();
  return int32_t(Trunc(std::clamp(v, lo, hi)));
}

int32_t Half(int64_t n) { return int32_t(std::min<int64_t>(n / 2, std::numeric_limits<int32_t>::max())); }

void ApplyEqualize(const TPreviewParams& p, TIEWorkingBitmap& image, const TIEProcWatch& watch) {
  ThresholdLevels(image, {}, p.ThresholdLow, p.ThresholdHigh, TBGR{0, 0, 0}, TBGR{255, 255, 255}, watch);
  if (watch.Aborted()) return;
  StretchLevels(image, {}, p.Dark, p.Light, watch);
  if (p.Equalize && !watch.Aborted()) AutoEqualizeArea(image, {}, watch);
}

void ApplyRotate(const TPreviewParams& p, TIEWorkingBitmap& image, TBGR background, const TIEProcWatch& watch) {
  if (p.FlipHorizontal) MirrorImage(image);
  if (p.FlipVertical) FlipImageVertically(image);
  if (p.Angle != 0) RotateImage(image, p.Angle / 100.0, true, background, watch.OnProgress);
}

// The zone picked on a spectrum of one size, on the image's own spectrum.
bool ApplyFft(const TPreviewParams& p, TIEWorkingBitmap& image, const TIEProcWatch& watch) {
  if (!TIEFtImage::Fits(image.Width(), image.Height())) return false;
  std::vector<std::array<int64_t, 4>> zones;
  if (const auto& z = p.FftZone) {
    const int64_t w = FftSize(image.Width()), h = FftSize(image.Height());
    const auto sx = [&](int64_t x) { return x * w / std::max<int64_t>(z->SpectrumWidth, 1); };
    const auto sy = [&](int64_t y) { return y * h / std::max<int64_t>(z->SpectrumHeight, 1); };
    zones.push_back({sx(z->X1), sy(z->Y1), sx(z->X2), sy(z->Y2)});
  }
  return ClearFrequencies(image, zones, p.FftGray, watch);
}

}  // namespace

int32_t TPreviewScale::X(int64_t p) const { return ToInt32(double(p) * Zoom / 100 - double(ScrollX)); }
int32_t TPreviewScale::Y(int64_t p) const { return ToInt32(double(p) * Zoom / 100 - double(ScrollY)); }
int32_t TPreviewScale::Size(int64_t size) const { return ToInt32(double(size) * Zoom / 100); }

void InitPreviewPage(TPreviewPageKind page, TPreviewParams& params, const TIEWorkingBitmap& source) {
  const TPreviewParams initial;
  TPreviewParams& p = params;
  switch (page) {
    case TPreviewPageKind::Contrast:
      p.Contrast = p.Brightness = 0;
      p.Centre = AverageColour(source);
      break;
    case TPreviewPageKind::HSV:
      p.HsvHue = p.HsvSaturation = p.HsvValue = 0;
      break;
    case TPreviewPageKind::HSL:
      p.HslHue = p.HslSaturation = p.HslLuminosity = 0;
      break;
    case TPreviewPageKind::RGB:
      p.Red = p.Green = p.Blue = 0;
      break;
    case TPreviewPageKind::UserFilter:
      p.Coefficients = initial.Coefficients;
      p.Divisor = initial.Divisor;
      break;
    case TPreviewPageKind::Equalize:
      p.ThresholdLow = p.Dark = initial.Dark;
      p.ThresholdHigh = p.Light = initial.Light;
      p.Equalize = false;
      break;
    case TPreviewPageKind::BumpMap:
      p.BumpLeft = Half(source.Width());
      p.BumpTop = Half(source.Height());
      p.BumpWidth = p.BumpHeight = Half(std::min(source.Width(), source.Height()));
      p.BumpColor = initial.BumpColor;
      p.Quantity = 0;
      break;
    case TPreviewPageKind::Lens:
      p.LensLeft = Half(source.Width());
      p.LensTop = Half(source.Height());
      p.LensWidth = p.LensHeight = Half(std::min(source.Width(), source.Height()));
      p.Refraction = initial.Refraction;
      break;
    case TPreviewPageKind::Wave:
      p.Amplitude = initial.Amplitude;
      p.WaveLength = initial.WaveLength;
      p.Phase = 0;
      p.Reflective = false;
      break;
    case TPreviewPageKind::Morph:
      p.MorphFilter = 0;
      p.MorphWindow = 1;
      break;
    case TPreviewPageKind::Rotate:
      p.Angle = 0;
      p.FlipHorizontal = p.FlipVertical = false;
      break;
    case TPreviewPageKind::FFT:
      p.FftGray = true;
      p.FftZone.reset();
      break;
  }
}

bool ApplyPreviewPage(TPreviewPageKind page, const TPreviewParams& p, TIEWorkingBitmap& image,
                      const TPreviewScale& s, TBGR background, const TIEProcWatch& watch) {
  if (image.PixelFormat() != TIEPixelFormat::pf24bit || image.Empty()) return false;
  switch (page) {
    case TPreviewPageKind::Contrast:
      AdjustContrast(image, {}, p.Contrast, p.Centre, watch);
      if (!watch.Aborted()) AddRGB(image, {}, p.Brightness, p.Brightness, p.Brightness, watch);
      break;
    case TPreviewPageKind::HSV:
      AdjustHSV(image, {}, p.HsvHue, p.HsvSaturation, p.HsvValue, watch);
      break;
    case TPreviewPageKind::HSL:
      AdjustHSL(image, {}, p.HslHue, p.HslSaturation, p.HslLuminosity, watch);
      break;
    case TPreviewPageKind::RGB:
      AddRGB(image, {}, p.Red, p.Green, p.Blue, watch);
      break;
    case TPreviewPageKind::UserFilter:
      ApplyUserFilter(image, TIEArea{}, p.Coefficients, p.Divisor, watch);
      break;
    case TPreviewPageKind::Equalize:
      ApplyEqualize(p, image, watch);
      break;
    case TPreviewPageKind::BumpMap:
      ApplyBumpMap(image, TIEArea{}, s.X(p.BumpLeft), s.Y(p.BumpTop), s.Size(p.BumpWidth),
                   s.Size(p.BumpHeight), p.BumpColor, p.Quantity, watch);
      break;
    case TPreviewPageKind::Lens:
      ApplyLens(image, s.X(p.LensLeft), s.Y(p.LensTop), s.Size(p.LensWidth), s.Size(p.LensHeight),
                p.Refraction / 10.0 + 1, watch);
      break;
    case TPreviewPageKind::Wave:
      ApplyWave(image, s.Size(p.Amplitude), s.Size(p.WaveLength), p.Phase, p.Reflective, watch);
      break;
    case TPreviewPageKind::Morph:
      ApplyMorph(image, TIEArea{}, p.MorphFilter, p.MorphWindow, watch);
      break;
    case TPreviewPageKind::Rotate:
      ApplyRotate(p, image, background, watch);
      break;
    case TPreviewPageKind::FFT:
      return ApplyFft(p, image, watch);
  }
  return !watch.Aborted();
}

}  // namespace quillet
