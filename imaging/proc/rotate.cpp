// The rotation of a whole image: the angle kept to thousandths of a degree
// within one turn, quarter turns down to at most 45 degrees, then the shears.
#include "imaging/proc/rotate.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "imaging/core/math.h"
#include "imaging/proc/rotate_1bit.h"
#include "imaging/proc/rotate_quarter.h"
#include "imaging/proc/rotate_shear.h"

namespace quillet {

namespace {

// The angle in thousandths of a degree, within (-360, 360).
double ReducedAngle(double angle) { return double(Trunc(std::fmod(angle, 360) * 1000) % 360000) / 1000; }

// Counter-clockwise quarter turns that bring the angle into [-45, 45].
int QuarterTurns(double& angle) {
  int turns = 0;
  for (; angle > 45; angle -= 90) ++turns;
  for (; angle < -45; angle += 90) --turns;
  return (turns % 4 + 4) % 4;
}

bool Rotate24(TIEWorkingBitmap& image, double angle, bool antialias, TBGR background,
              const TIEProcProgress& progress) {
  angle = ReducedAngle(angle);
  const int turns = QuarterTurns(angle);
  const bool swap = turns % 2 == 1;
  const int64_t w = swap ? image.Height() : image.Width(), h = swap ? image.Width() : image.Height();
  const TShearGeometry g = ShearGeometry(w, h, angle);
  if (angle != 0 && (!ImageBytes(g.W1, g.H, 24) || !ImageBytes(g.W3, g.H3, 24))) return false;

  std::optional<TRotatePlane> turned;
  if (turns != 0) turned.emplace(QuarterTurn(RowsOf(image), turns));
  if (angle == 0) {
    if (!turned) return true;
    const TRotateRows& t = turned->Rows();
    if (!image.AllocateUninitialised(t.Width, t.Height, TIEPixelFormat::pf24bit)) return false;
    for (int64_t y = 0; y < t.Height; ++y) std::copy_n(t.Row(y), 3 * t.Width, image.ScanLine(y));
    image.MarkModified();
    return true;
  }

  TShearRotation shear(g, antialias, background, progress);
  TRotatePlane b1(g.W1, g.H);
  shear.Across(turned ? turned->Rows() : RowsOf(image), b1.Rows());
  turned.reset();
  // The old pixels are not kept: every result row is written whole.
  if (!image.AllocateUninitialised(g.W3, g.H3, TIEPixelFormat::pf24bit)) return false;
  shear.DownAndAcross(b1.Rows(), RowsOf(image));
  image.MarkModified();
  return true;
}

}  // namespace

bool RotateImage(TIEWorkingBitmap& image, double angle, bool antialias, TBGR background,
                 const TIEProcProgress& progress) {
  if (angle == 0 || !std::isfinite(angle) || image.Empty()) return false;
  switch (image.PixelFormat()) {
    case TIEPixelFormat::pf24bit: return Rotate24(image, angle, antialias, background, progress);
    case TIEPixelFormat::pf1bit: return Rotate1Bit(image, angle, background != kBlack, progress);
    default: return false;
  }
}

}  // namespace quillet
