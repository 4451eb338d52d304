// Art lines walk only the points whose primitives can reach the image, so a
// line with ends far outside costs what it covers; the last period of points
// runs as well (drawing nothing) so that the pen ends where a full walk
// leaves it.
#include "imaging/view/paint_art.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "imaging/core/line_dda.h"

namespace quillet {

namespace {

// Blue, green, red.
constexpr TBGR kRed{0, 0, 255}, kGreen{0, 255, 0}, kBlue{255, 0, 0};

// Primitive ends lie within a few pixels of a line point, itself a 32-bit
// point; beyond 32 bits they are far outside any image, where saturating
// them changes nothing drawn.
int32_t Coord(int64_t v) {
  return int32_t(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

void Segment(TIECanvas& canvas, int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
  canvas.MoveTo(Coord(x1), Coord(y1));
  canvas.LineTo(Coord(x2), Coord(y2));
}

void EllipseAround(TIECanvas& canvas, int64_t x, int64_t y, int64_t radius) {
  canvas.Ellipse(Coord(x - radius), Coord(y - radius), Coord(x + radius + 1), Coord(y + radius + 1));
}

void MixPoint(TIECanvas& canvas, int64_t x, int64_t y, const TBGR& color) { canvas.MixPixel(Coord(x), Coord(y), color); }

TOffset Barb(double angle) {
  return {int32_t(std::nearbyint(8 * std::cos(angle))), int32_t(std::nearbyint(8 * std::sin(angle)))};
}

}  // namespace

TArtPattern ArtPatternOf(int32_t index) { return TArtPattern(index % 4); }

int64_t ArtPeriod(TArtPattern pattern) {
  switch (pattern) {
    case TArtPattern::apRgb: return 15;
    case TArtPattern::apCross: return 7;
    case TArtPattern::apThickness: return 28;
    case TArtPattern::apHerring: return 10;
  }
  return 1;
}

void RgbPoint(TIECanvas& canvas, int64_t n, int64_t x, int64_t y) {
  static constexpr TBGR kDashes[3] = {kRed, kGreen, kBlue};
  MixPoint(canvas, x, y, kDashes[n % 15 / 5]);
}

void CrossPoint(TIECanvas& canvas, int64_t n, int64_t x, int64_t y) {
  if (n % 7 != 0) return;
  Segment(canvas, x - 2, y, x + 3, y);
  Segment(canvas, x, y - 2, x, y + 3);
}

void ThicknessPoint(TIECanvas& canvas, int64_t n, int64_t x, int64_t y) {
  const int64_t part = n % 28 / 7;
  if (part == 2) MixPoint(canvas, x, y, kRed);
  else EllipseAround(canvas, x, y, part == 0 ? 2 : 1);
}

void HerringPoint(TIECanvas& canvas, int64_t n, int64_t x, int64_t y, TOffset a, TOffset b) {
  if (n % 10 == 0) Segment(canvas, x, y, x + a.dx, y + a.dy);
  else if (n % 10 == 5) Segment(canvas, x, y, x + b.dx, y + b.dy);
}

void HerringBarbs(int64_t x1, int64_t y1, int64_t x2, int64_t y2, TOffset& a, TOffset& b) {
  const double theta = std::atan2(double(y2 - y1), double(x2 - x1));
  a = Barb(theta + std::numbers::pi / 6);
  b = Barb(theta - std::numbers::pi / 6);
}

void TPaintSteps::DrawArtLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (Options.ArtPattern < 0 || Options.ArtPattern > 7) return;
  const TArtPattern pattern = ArtPatternOf(Options.ArtPattern);
  if (pattern == TArtPattern::apHerring) HerringBarbs(x1, y1, x2, y2, State.BarbA, State.BarbB);
  const TLineDDA line(x1, y1, x2, y2);
  const auto walk = [&](int64_t from, int64_t to) {
    State.PatternCounter = from;
    line.ForEach(from, to, [&](int64_t x, int64_t y) {
      const int64_t n = State.PatternCounter;
      switch (pattern) {
        case TArtPattern::apRgb: RgbPoint(Canvas, n, x, y); break;
        case TArtPattern::apCross: CrossPoint(Canvas, n, x, y); break;
        case TArtPattern::apThickness: ThicknessPoint(Canvas, n, x, y); break;
        case TArtPattern::apHerring: HerringPoint(Canvas, n, x, y, State.BarbA, State.BarbB); break;
      }
      ++State.PatternCounter;
    });
  };
  const TIEWorkingBitmap& image = Canvas.Bitmap();
  const int64_t margin = kArtReach + std::max<int64_t>(Canvas.State().PenWidth, 1);
  const auto [first, last] = line.Within(-margin, -margin, image.Width() + margin, image.Height() + margin);
  walk(first, last);
  walk(std::max(last, line.Count() - ArtPeriod(pattern)), line.Count());
  State.PatternCounter = line.Count();
}

}  // namespace quillet
