// The processing component's colour operations: automatic equalization, the
// histogram, the channel splits, and the adjustments of the preview dialog.
#include "imaging/proc/colour_adjust.h"
#include "imaging/proc/colour_split.h"
#include "imaging/proc/ziridev_proc.h"

namespace quillet {

TIEProcWatch TZiridEvProc::Watch() {
  Aborting = false;
  return {[this](int per) { Progress(per); }, &Aborting};
}

bool TZiridEvProc::Adjust(const std::string& caption, const TAdjustment& adjust) {
  if (!link_.Bitmap()) return false;
  RecordUndo(caption);
  if (link_.Bitmap()->PixelFormat() != TIEPixelFormat::pf24bit) return false;
  const TIEProcWatch watch = Watch();
  const bool done = ApplyThroughMask([&](TIEWorkingBitmap& image) { adjust(image, watch); });
  NotifyImageChanged();
  return done;
}

void TZiridEvProc::HistAutoEqualize() {
  Adjust("HistAutoEqualize",
         [](TIEWorkingBitmap& image, const TIEProcWatch& watch) { AutoEqualizeArea(image, {}, watch); });
}

bool TZiridEvProc::ApplyAdjustment(const TAdjustment& adjust) { return Adjust("Previews", adjust); }

void TZiridEvProc::GetHistogram(TIEHistogram& histogram) {
  histogram.fill({});
  if (!link_.Bitmap()) return;
  const TIEMask* mask = Selection();
  const TIEArea area = mask ? TIEArea{mask->X1(), mask->Y1(), mask->X2() + 1, mask->Y2() + 1} : TIEArea{};
  AreaHistogram(*link_.Bitmap(), area, histogram);
}

void TZiridEvProc::SplitRGB(TIEWorkingBitmap& red, TIEWorkingBitmap& green, TIEWorkingBitmap& blue) {
  if (link_.Bitmap()) SplitChannelsRGB(*link_.Bitmap(), red, green, blue, Watch());
}

void TZiridEvProc::SplitHSV(TIEWorkingBitmap& hue, TIEWorkingBitmap& saturation, TIEWorkingBitmap& value) {
  if (link_.Bitmap()) SplitChannelsHSV(*link_.Bitmap(), hue, saturation, value, Watch());
}

}  // namespace quillet
