// Fuzz target of the effects and colour adjustments: the bytes choose a small
// image (1 to 64 pixels a side, 24-bit or now and then 1-bit), its pixels, and
// a run of operations with any parameters: areas anywhere, any 32-bit
// coefficients, divisors, windows, amplitudes, positions, shifts and levels,
// any refraction, any spectrum rectangles, and a cancel at any percentage.
#include <cstdint>
#include <cstring>

#include "fuzz/fuzz_reader.h"
#include "imaging/proc/colour_adjust.h"
#include "imaging/proc/colour_histogram.h"
#include "imaging/proc/colour_split.h"
#include "imaging/proc/effect_bump_map.h"
#include "imaging/proc/effect_fourier.h"
#include "imaging/proc/effect_lens.h"
#include "imaging/proc/effect_morph.h"
#include "imaging/proc/effect_user_filter.h"
#include "imaging/proc/effect_wave.h"
#include "imaging/proc/ziridev_proc.h"

namespace {

quillet::TIEArea AreaFrom(quillet::fuzz::TReader& in) { return {in.Small(), in.Small(), in.Small(), in.Small()}; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quillet;
  quillet::fuzz::TReader in(data, size);
  const uint8_t shape = in.Byte();
  const int w = 1 + (shape & 63), h = 1 + (in.Byte() & 63);
  TIEWorkingBitmap image(w, h, (shape & 192) == 192 ? TIEPixelFormat::pf1bit : TIEPixelFormat::pf24bit);
  for (int64_t y = 0; y < h; ++y)
    for (int64_t i = 0; i < (image.BitCount() == 1 ? (w + 7) / 8 : 3 * w); ++i) image.ScanLine(y)[i] = in.Byte();
  // A cancel from the progress handler at a chosen percentage (above 100: never).
  const int cancelAt = in.Byte();
  bool aborting = false;
  const TIEProcWatch control{[&](int per) { aborting = aborting || per >= cancelAt; }, &aborting};
  for (int ops = 0; in.More() && ops < 12; ++ops) {
    aborting = false;
    switch (in.Byte() % 9) {
      case 0: {
        TIEFilterCoefficients c;
        for (int32_t& v : c) v = (in.Byte() & 1) ? in.Int() : in.Small();
        const TIEArea area = AreaFrom(in);
        ApplyUserFilter(image, area, c, in.Int(), control);
        break;
      }
      case 1: {
        const TIEArea area = AreaFrom(in);
        const int32_t x = in.Small(), y = in.Small(), lw = in.Small(), lh = in.Small();
        ApplyBumpMap(image, area, x, y, lw, lh, TBGR{in.Byte(), in.Byte(), in.Byte()}, in.Small(), control);
        break;
      }
      case 2: {
        const int32_t x = in.Small(), y = in.Small(), lw = in.Small(), lh = in.Small();
        ApplyLens(image, x, y, lw, lh, in.Real(), control);
        break;
      }
      case 3: {
        const int32_t a = in.Small(), l = in.Small(), p = in.Int();
        ApplyWave(image, a, l, p, in.Byte() & 1, control);
        break;
      }
      case 4: {
        const TIEArea area = AreaFrom(in);
        const int32_t filter = in.Small(), window = in.Small();
        ApplyMorph(image, area, filter, window, control);
        break;
      }
      case 5: {
        TIEFtImage ft;
        if (!ft.BuildFT(image, in.Byte() & 1, control)) break;
        for (int zones = in.Byte() % 4; zones > 0; --zones) {
          const int64_t x1 = in.Small(), y1 = in.Small(), x2 = in.Small(), y2 = in.Small();
          ft.ClearZone(x1, y1, x2, y2);
        }
        if (in.Byte() & 1) ft.GetFFTImage(image);
        else ft.GetInverseImage(image, control);
        break;
      }
      case 6: {
        // The component's own runs, cancelled from its progress handler.
        TZiridEvProc proc;
        proc.AutoUndo = false;
        proc.SetAttachedBitmap(&image);
        proc.OnProgress = [&](TZiridEvProc* p, int per) { p->Aborting = p->Aborting || per >= cancelAt; };
        const int32_t k = in.Small();
        proc.ApplyMorph(in.Byte() & 3, k);
        proc.FftClear({{in.Small(), in.Small(), in.Small(), in.Small()}}, in.Byte() & 1);
        break;
      }
      case 7: {
        // The colour adjustments over any area, with any shifts and levels.
        const TIEArea area{in.Small(), in.Small(), in.Small(), in.Small()};
        switch (in.Byte() % 7) {
          case 0: AdjustContrast(image, area, in.Small(), in.Color(), control); break;
          case 1: AddRGB(image, area, in.Small(), in.Small(), in.Small(), control); break;
          case 2: AdjustHSL(image, area, in.Small(), in.Small(), in.Small(), control); break;
          case 3: AdjustHSV(image, area, in.Small(), in.Small(), in.Small(), control); break;
          case 4: ThresholdLevels(image, area, in.Color(), in.Color(), in.Color(), in.Color(), control); break;
          case 5: StretchLevels(image, area, in.Color(), in.Color(), control); break;
          default: AutoEqualizeArea(image, area, control); break;
        }
        break;
      }
      case 8: {
        // What reads the image: the histogram, the average and the splits.
        TIEHistogram histogram;
        AreaHistogram(image, {in.Small(), in.Small(), in.Small(), in.Small()}, histogram);
        AverageColour(image, {in.Small(), in.Small(), in.Small(), in.Small()}, control);
        TIEWorkingBitmap a, b, c;
        if (in.Byte() & 1) SplitChannelsRGB(image, a, b, c, control);
        else SplitChannelsHSV(image, a, b, c, control);
        break;
      }
    }
  }
  return 0;
}
