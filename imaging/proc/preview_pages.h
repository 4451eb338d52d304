// The pages of the effects preview dialog apart from their controls: each
// page's parameters with their initial values, and a page applied to an
// image, either the whole area on OK or the preview of its visible part.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "imaging/core/colors.h"
#include "imaging/core/working_bitmap.h"
#include "imaging/proc/effect_user_filter.h"
#include "imaging/proc/previews.h"
#include "imaging/proc/proc_progress.h"

namespace quillet {

// The pages in tab order; page n is shown for the bit 2^(n + 1).
enum class TPreviewPageKind { Contrast, HSV, HSL, RGB, UserFilter, Equalize, BumpMap, Lens, Wave, Morph, Rotate, FFT };
constexpr int kPreviewPageCount = 12;

constexpr TPreviewPage PageBit(TPreviewPageKind page) { return TPreviewPage(2 << int(page)); }
// Whether a page set shows the page.
constexpr bool PageShown(TPreviewPages pages, TPreviewPageKind page) {
  return (pages & (ppAll | PageBit(page))) != 0;
}

// Where an image the page works on lies in the area: the identity for the
// area itself; for the preview, the zoom and scroll offset of the view whose
// visible part it is.
struct TPreviewScale {
  double Zoom = 100;
  int64_t ScrollX = 0, ScrollY = 0;

  // trunc(p * zoom / 100 - scroll), limited to int32.
  int32_t X(int64_t p) const;
  int32_t Y(int64_t p) const;
  // trunc(size * zoom / 100), limited to int32.
  int32_t Size(int64_t size) const;
};

// An inclusive rectangle of a spectrum image, with the size of that image.
struct TSpectrumZone {
  int64_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  int64_t SpectrumWidth = 1, SpectrumHeight = 1;
};

struct TPreviewParams {
  int Contrast = 0, Brightness = 0;  // -100..100
  TBGR Centre;                       // the contrast's centre colour
  int HslHue = 0, HslSaturation = 0, HslLuminosity = 0;
  int Red = 0, Green = 0, Blue = 0;  // -255..255
  int HsvHue = 0, HsvSaturation = 0, HsvValue = 0;
  TIEFilterCoefficients Coefficients{0, 0, 0, 0, 1, 0, 0, 0, 0};
  int32_t Divisor = 0;
  // Equalization: the lower ruler's threshold colours, the upper ruler's dark
  // and light colours, and the automatic equalization.
  TBGR ThresholdLow{0, 0, 0}, ThresholdHigh{255, 255, 255};
  TBGR Dark{0, 0, 0}, Light{255, 255, 255};
  bool Equalize = false;
  int32_t BumpLeft = 0, BumpTop = 0, BumpWidth = 0, BumpHeight = 0;
  TBGR BumpColor{255, 255, 255};
  int32_t Quantity = 0;  // percent of the original image kept
  int32_t LensLeft = 0, LensTop = 0, LensWidth = 0, LensHeight = 0;
  int32_t Refraction = 7;  // tenths above 1: 7 is 1.7
  int32_t Amplitude = 10, WaveLength = 10, Phase = 0;
  bool Reflective = false;
  int32_t MorphFilter = 0;  // maximum, minimum, opening, closing
  int32_t MorphWindow = 1;
  int32_t Angle = 0;  // hundredths of a degree
  bool FlipHorizontal = false, FlipVertical = false;
  bool FftGray = true;
  std::optional<TSpectrumZone> FftZone;  // the frequencies cleared
};

// The page's parameters back to their initial values for the area `source`.
void InitPreviewPage(TPreviewPageKind page, TPreviewParams& params, const TIEWorkingBitmap& source);

// Applies the page to a 24-bit image; the rotation fills with `background`.
// The Fourier page clears its zone scaled to the image's own spectrum. False
// when aborted or refused (a spectrum too large), the image then unchanged
// or partly processed as the operation leaves it.
bool ApplyPreviewPage(TPreviewPageKind page, const TPreviewParams& params, TIEWorkingBitmap& image,
                      const TPreviewScale& scale, TBGR background, const TIEProcWatch& watch = {});

}  // namespace quillet
