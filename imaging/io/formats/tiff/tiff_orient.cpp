// Orientation 2 to 8 undone with the processing library's mirrors and
// quarter turns; the alpha plane goes through the same steps as a grey image.
#include "imaging/io/formats/tiff/tiff_orient.h"

#include "imaging/proc/flip.h"
#include "imaging/proc/rotate.h"

namespace quillet {

namespace {

// Steps in order: a quarter turn (degrees, counter-clockwise; 0 none), then
// the mirrors.
struct TOrientSteps {
  int turn = 0;
  bool vertical = false, horizontal = false;
};

TOrientSteps StepsOf(uint32_t orientation) {
  switch (orientation) {
    case 2: return {0, false, true};
    case 3: return {0, true, true};
    case 4: return {0, true, false};
    case 5: return {-90, false, true};
    case 6: return {-90, false, false};
    case 7: return {90, false, true};
    case 8: return {90, false, false};
    default: return {};
  }
}

void Apply(TIEWorkingBitmap& image, const TOrientSteps& steps) {
  if (steps.turn != 0) RotateImage(image, steps.turn, false, kWhite);
  if (steps.vertical) FlipImageVertically(image);
  if (steps.horizontal) MirrorImage(image);
}

void OrientAlpha(TIEMask& alpha, const TOrientSteps& steps) {
  TIEWorkingBitmap grey(alpha.Width(), alpha.Height(), TIEPixelFormat::pf24bit);
  for (int64_t y = 0; y < grey.Height(); ++y) {
    const uint8_t* a = alpha.ScanLine(y);
    uint8_t* d = grey.ScanLine(y);
    for (int64_t x = 0; x < grey.Width(); ++x) d[3 * x] = d[3 * x + 1] = d[3 * x + 2] = a[x];
  }
  Apply(grey, steps);
  alpha.Allocate(grey.Width(), grey.Height(), 8);
  alpha.Fill(255);
  for (int64_t y = 0; y < grey.Height(); ++y) {
    const uint8_t* s = grey.ScanLine(y);
    uint8_t* a = alpha.ScanLine(y);
    for (int64_t x = 0; x < grey.Width(); ++x) a[x] = s[3 * x];
  }
  alpha.RecomputeFull();
}

}  // namespace

void AutoOrientImage(TIEWorkingBitmap& image, TIEMask* alpha, uint32_t orientation) {
  const TOrientSteps steps = StepsOf(orientation);
  if (steps.turn == 0 && !steps.vertical && !steps.horizontal) return;
  Apply(image, steps);
  if (alpha && alpha->Width() > 0 && alpha->BitsPerPixel() == 8 && !alpha->Full()) OrientAlpha(*alpha, steps);
  else if (alpha && alpha->Width() > 0) {
    alpha->Allocate(image.Width(), image.Height(), 8);
    alpha->Fill(255);
  }
}

}  // namespace quillet
