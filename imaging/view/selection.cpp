#include "imaging/view/selection.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "imaging/core/math.h"
#include "imaging/view/magic_wand.h"

namespace quillet {

namespace {

int32_t Clamp32(int64_t v, int64_t lo, int64_t hi) { return int32_t(std::clamp(v, lo, hi)); }

// Distance from (x, y) to the segment a-b: perpendicular inside it, to the
// nearer end beyond it.
double SegmentDistance(double x, double y, TIEViewPoint a, TIEViewPoint b) {
  const double vx = double(b.X - a.X), vy = double(b.Y - a.Y);
  const double length2 = vx * vx + vy * vy;
  const double t = length2 > 0 ? std::clamp(((x - a.X) * vx + (y - a.Y) * vy) / length2, 0.0, 1.0) : 0.0;
  return std::hypot(x - (a.X + t * vx), y - (a.Y + t * vy));
}

constexpr int kMirrorX[8] = {1, 0, 3, 2, 5, 4, 6, 7};
constexpr int kMirrorY[8] = {3, 2, 1, 0, 4, 5, 7, 6};
constexpr bool kMovesLeft[8] = {true, false, false, true, true, false, false, false};
constexpr bool kMovesRight[8] = {false, true, true, false, false, true, false, false};
constexpr bool kMovesTop[8] = {true, true, false, false, false, false, true, false};
constexpr bool kMovesBottom[8] = {false, false, true, true, false, false, false, true};

}  // namespace

TIESelection::TIESelection(TIEMask& mask, const TIEViewGeometry& geometry) : mask_(mask), geometry_(geometry) {
  SetSelectionOptions(options_);
}

void TIESelection::SetSelectionOptions(int options) {
  options_ = options;
  Polygon.Animated = options & iesoAnimated;
  Polygon.Sizeable = options & iesoSizeable;
}

TIEPoint TIESelection::ToImage(int64_t x, int64_t y) const {
  constexpr int64_t kFar = int64_t(1) << 30;  // far outside any image, yet safe to add to
  if (SelectionBase == TIESelectionBase::iesbClientArea) x = geometry_.ScreenToBitmapX(x), y = geometry_.ScreenToBitmapY(y);
  return {Clamp32(x, -kFar, kFar), Clamp32(y, -kFar, kFar)};
}

TIEPoint TIESelection::Clamped(int64_t x, int64_t y) const {
  return {Clamp32(x, 0, geometry_.ImageWidth()), Clamp32(y, 0, geometry_.ImageHeight())};
}

void TIESelection::SetRectangle(int32_t l, int32_t t, int32_t r, int32_t b) {
  Polygon.Add(l, t);
  Polygon.Add(r, t);
  Polygon.Add(r, b);
  Polygon.Add(l, b);
  Polygon.Visible = true;
}

bool TIESelection::AddRectangle(int64_t x1, int64_t y1, int64_t x2, int64_t y2, bool add, bool square) {
  if (x1 == x2 || y1 == y2) return false;
  TIEPoint a = ToImage(x1, y1), b = ToImage(x2, y2);
  exists_ = true;
  if (add && !Polygon.Empty()) Polygon.AddBreak();
  else Polygon.Clear();
  if (square) b.Y = a.Y + (b.X - a.X);
  const int64_t w = geometry_.ImageWidth() - 1, h = geometry_.ImageHeight() - 1;
  const int32_t ax = Clamp32(a.X, 0, w), bx = Clamp32(b.X, 0, w), ay = Clamp32(a.Y, 0, h), by = Clamp32(b.Y, 0, h);
  SetRectangle(std::min(ax, bx), std::min(ay, by), std::max(ax, bx) + 1, std::max(ay, by) + 1);
  return true;
}

void TIESelection::SelectRectangle(int64_t x1, int64_t y1, int64_t x2, int64_t y2, bool add) {
  AddRectangle(x1, y1, x2, y2, add);
  EndSelection();
}

void TIESelection::AddEllipse(int64_t cx, int64_t cy, int64_t x, int64_t y, bool circle) {
  int64_t rx = std::abs(cx - x), ry = std::abs(cy - y);
  if (circle) rx = ry = std::max(rx, ry);
  const int64_t n = std::max<int64_t>(3, Trunc(2 * std::numbers::pi * double(std::min(rx, ry))) / 4);
  for (int64_t k = 0; k < n; ++k) {
    const double angle = 2 * std::numbers::pi * double(k) / double(n);
    const TIEPoint p = ToImage(Trunc(std::cos(angle) * double(rx) + double(cx)),
                               Trunc(std::sin(angle) * double(ry) + double(cy)));
    const TIEPoint c = Clamped(p.X, p.Y);
    Polygon.Add(c.X, c.Y);
  }
  exists_ = true;
  Polygon.Visible = true;
}

void TIESelection::AddSelectionPoint(int64_t x, int64_t y) {
  const TIEPoint p = ToImage(x, y);
  const TIEPoint c = Clamped(p.X, p.Y);
  Polygon.Add(c.X, c.Y);
  exists_ = true;
  Polygon.Visible = true;
}

void TIESelection::EndSelection() {
  mask_.SetPolygon(1, Polygon.Points().data(), Polygon.Count());
  exists_ = !mask_.IsEmpty();
  if (!exists_) Polygon.Clear();
}

void TIESelection::Deselect() {
  Polygon.Clear();
  Polygon.Visible = false;
  mask_.Clear();
  exists_ = false;
}

bool TIESelection::MoveSelection(int32_t dx, int32_t dy) {
  if (mask_.IsEmpty()) return false;
  const bool keepInside = !(options_ & iesoCutBorders);
  if (keepInside) {
    dx = std::clamp(dx, -mask_.X1(), mask_.Width() - 1 - mask_.X2());
    dy = std::clamp(dy, -mask_.Y1(), mask_.Height() - 1 - mask_.Y2());
  }
  if (dx == 0 && dy == 0) return false;
  mask_.Translate(dx, dy, keepInside);
  Polygon.Translate(dx, dy, mask_.Width(), mask_.Height());
  return true;
}

TIEPolygonBounds TIESelection::Rectangle() const {
  const auto& p = Polygon.Points();
  if (p.size() < 4) return {};
  return {std::min(p[0].X, p[2].X), std::min(p[0].Y, p[2].Y), std::max(p[0].X, p[2].X), std::max(p[0].Y, p[2].Y)};
}

int TIESelection::GripAt(int64_t x, int64_t y) const {
  if (!Polygon.Visible || !(options_ & iesoSizeable) || !Polygon.IsRectangular()) return -1;
  TIEViewPoint corner[4];
  for (int i = 0; i < 4; ++i)
    corner[i] = {geometry_.BitmapToScreenX(Polygon.Points()[size_t(i)].X),
                 geometry_.BitmapToScreenY(Polygon.Points()[size_t(i)].Y)};
  for (int i = 0; i < 4; ++i)
    if (std::abs(x - corner[i].X) <= GripSize && std::abs(y - corner[i].Y) <= GripSize) return i;
  // Sides: left, right, top, bottom as grips 4 to 7.
  const int ends[4][2] = {{3, 0}, {1, 2}, {0, 1}, {2, 3}};
  for (int side = 0; side < 4; ++side) {
    const TIEViewPoint a = corner[ends[side][0]], b = corner[ends[side][1]];
    const bool far = std::abs(b.X - x) >= 45001 || std::abs(b.Y - y) >= 45001;
    if (!far && SegmentDistance(double(x), double(y), a, b) < 3) return 4 + side;
  }
  return -1;
}

int TIESelection::ResizeWithGrip(int grip, int64_t x, int64_t y, bool keepAspect, const TIEPolygonBounds& pressRect) {
  if (grip < 0 || grip > 7 || !Polygon.IsRectangular()) return grip;
  static constexpr int kSideAsCorner[8] = {0, 1, 2, 3, 0, 2, 0, 2};
  if (keepAspect) grip = kSideAsCorner[grip];
  const TIEPoint p = ToImage(x, y);
  TIEPolygonBounds r = Rectangle();
  if (kMovesLeft[grip]) r.Left = p.X == r.Right ? r.Right - 1 : p.X;
  if (kMovesRight[grip]) r.Right = p.X + 1 == r.Left ? r.Left + 1 : p.X + 1;
  if (kMovesTop[grip]) r.Top = p.Y == r.Bottom ? r.Bottom - 1 : p.Y;
  if (kMovesBottom[grip]) r.Bottom = p.Y + 1 == r.Top ? r.Top + 1 : p.Y + 1;
  if (keepAspect) {
    // The height follows the width through the shape at press.
    const double m = double(pressRect.Right - pressRect.Left + 1) / double(pressRect.Bottom - pressRect.Top + 1);
    const int32_t h = std::max<int32_t>(1, int32_t(Round(double(std::abs(r.Right - r.Left) + 1) / m)) - 1);
    if (kMovesTop[grip]) r.Top = p.Y <= r.Bottom ? r.Bottom - h : r.Bottom + h;
    else r.Bottom = p.Y + 1 >= r.Top ? r.Top + h : r.Top - h;
  }
  if (r.Right < r.Left) grip = kMirrorX[grip];
  if (r.Bottom < r.Top) grip = kMirrorY[grip];
  const int64_t w = geometry_.ImageWidth(), h = geometry_.ImageHeight();
  const int32_t l = Clamp32(std::min(r.Left, r.Right), 0, w), rr = Clamp32(std::max(r.Left, r.Right), 0, w);
  const int32_t t = Clamp32(std::min(r.Top, r.Bottom), 0, h), b = Clamp32(std::max(r.Top, r.Bottom), 0, h);
  Polygon.Clear();
  SetRectangle(l, t, rr, b);
  return grip;
}

bool TIESelection::InsideMoveableSelection(int64_t x, int64_t y) const {
  if (mask_.IsEmpty() || !(options_ & iesoMoveable)) return false;
  const TIEPoint p = ToImage(x, y);
  return mask_.GetPixel(p.X, p.Y) != 0;
}

void TIESelection::SelectMagicWand(int64_t x, int64_t y, bool add, const TIEWorkingBitmap& image) {
  const TIEPoint p = ToImage(x, y);
  // The seed must be a pixel of a colour image.
  if (p.X < 0 || p.Y < 0 || p.X >= image.Width() || p.Y >= image.Height()) return;
  if (image.PixelFormat() != TIEPixelFormat::pf24bit) return;
  if (MagicWandMode == 0) {
    TIEMask area;
    area.Allocate(image.Width(), image.Height(), 1);
    WandFlood(image, p.X, p.Y, MagicWandTolerance, MagicWandMaxFilter, area);
    const std::vector<TIEPoint> outline = WandOutline(area);
    if (outline.empty()) return;
    exists_ = true;
    if (add) Polygon.AddBreak();
    else Polygon.Clear();
    for (const TIEPoint& v : outline) {
      const TIEPoint c = Clamped(v.X, v.Y);
      Polygon.Add(c.X, c.Y);
    }
    EndSelection();
    Polygon.Visible = true;
    return;
  }
  if (!add) {
    Polygon.Clear();
    mask_.Clear();
  }
  if (MagicWandMode == 1) WandFlood(image, p.X, p.Y, MagicWandTolerance, MagicWandMaxFilter, mask_);
  else WandGlobal(image, p.X, p.Y, MagicWandTolerance, mask_);
  exists_ = !mask_.IsEmpty();
  Polygon.Visible = true;
}

TIEViewPoint SnapToVertex(int64_t px, int64_t py, int64_t x, int64_t y) {
  const int64_t dx = x - px, dy = y - py, ax = std::abs(dx), ay = std::abs(dy);
  if (ay > ax + 30) return {px, y};
  if (ay < ax - 30) return {x, py};
  // Diagonal: the longer side is shortened to the shorter one.
  if (ax > ay) return {px + (dx < 0 ? -ay : ay), y};
  return {x, py + (dy < 0 ? -ax : ax)};
}

int MouseInteractAfter(int current, int requested) {
  static constexpr struct {
    int item, kept;
  } kRules[] = {
      {miScroll, miZoom | miScroll},
      {miSelect, miZoom | miSelect},
      {miSelectPolygon, miSelectPolygon},
      {miSelectCircle, miZoom | miSelectCircle},
      {miSelectLasso, miZoom | miSelectLasso},
      {miSelectZoom, miZoom | miSelectZoom},
      {miZoom, ~(miSelectPolygon | miSelectMagicWand)},
      {miSelectMagicWand, miSelectMagicWand},
  };
  const int added = requested & ~current;
  for (const auto& rule : kRules)
    if (added & rule.item) return requested & rule.kept;
  return requested;
}

namespace {
constexpr double kZoomSteps[] = {2, 5, 10, 25, 33, 50, 75, 100};
}

double ClickZoomIn(double zoom) {
  if (zoom >= 100) return zoom + 100;
  for (const double step : kZoomSteps)
    if (step > zoom) return step;
  return 100;
}

double ClickZoomOut(double zoom) {
  if (zoom >= 200) return zoom - 100;
  double result = 2;
  for (const double step : kZoomSteps)
    if (step < zoom) result = step;
  return result;
}

}  // namespace quillet
