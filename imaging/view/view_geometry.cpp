// The view's geometry: sizes, zoom, fit, view limits, the visible source
// rectangle and the coordinate conversions.
#include "imaging/view/view_geometry.h"

#include <algorithm>

#include "imaging/core/math.h"

namespace quillet {

namespace {

// First image column (or row) shown when the zoomed image is scrolled by view.
int64_t SourceStart(int64_t view, int64_t size, int64_t zoomed) {
  if (zoomed <= 0) return 0;
  return std::clamp<int64_t>(Round(double(view) * double(size) / double(zoomed)), 0, size);
}

struct TAxis {
  int64_t Left = 0, Width = 0, Dest = 0;
};

// The shown run of one axis and its client extent. Above 100 % the run takes
// one more image pixel when the truncated extent would not fill the display.
TAxis VisibleAxis(int64_t view, int64_t size, int64_t zoomed, int64_t display, double zoom) {
  if (zoomed <= 0 || size <= 0) return {};
  TAxis a;
  a.Left = SourceStart(view, size, zoomed);
  a.Width = Round(double(size) / double(zoomed) * double(display));
  if (a.Left + a.Width > size) --a.Width;
  a.Width = std::clamp<int64_t>(a.Width, 0, size - a.Left);
  a.Dest = display;
  if (zoom > 100) {
    const double z = zoom / 100;
    a.Dest = Trunc(double(a.Width) * z);
    if (a.Dest < display && a.Left + a.Width < size) a.Dest = Trunc(double(++a.Width) * z);
  }
  return a;
}

}  // namespace

// --- sizes -----------------------------------------------------------------

void TIEViewGeometry::SetBounds(int64_t width, int64_t height) {
  boundsWidth_ = std::max<int64_t>(width, 0);
  boundsHeight_ = std::max<int64_t>(height, 0);
  Update();
}

void TIEViewGeometry::SetFrameWidth(int64_t pixels) {
  frame_ = std::max<int64_t>(pixels, 0);
  Update();
}

void TIEViewGeometry::SetScrollBarExtent(int64_t pixels) {
  barExtent_ = std::max<int64_t>(pixels, 0);
  Update();
}

void TIEViewGeometry::SetImageSize(int64_t width, int64_t height) {
  imageWidth_ = std::max<int64_t>(width, 0);
  imageHeight_ = std::max<int64_t>(height, 0);
}

int64_t TIEViewGeometry::InnerWidth() const { return std::max<int64_t>(boundsWidth_ - 2 * frame_, 0); }
int64_t TIEViewGeometry::InnerHeight() const { return std::max<int64_t>(boundsHeight_ - 2 * frame_, 0); }

int64_t TIEViewGeometry::ViewWidth() const {
  return std::max<int64_t>(InnerWidth() - (vBar_.Visible ? barExtent_ : 0), 0);
}

int64_t TIEViewGeometry::ViewHeight() const {
  return std::max<int64_t>(InnerHeight() - (hBar_.Visible ? barExtent_ : 0), 0);
}

// --- options ---------------------------------------------------------------

void TIEViewGeometry::SetCenter(bool on) {
  center_ = on;
  Update();
}

void TIEViewGeometry::SetScrollBars(TScrollStyle style) {
  scrollBars_ = style;
  Update();
}

void TIEViewGeometry::SetZoomFilter(TResampleFilter filter) {
  zoomFilter_ = filter;
  Update();
}

void TIEViewGeometry::SetFitMargins(int64_t x, int64_t y) {
  marginX_ = x;
  marginY_ = y;
}

// --- update ----------------------------------------------------------------

void TIEViewGeometry::Update() {
  // Showing or hiding a scroll bar changes the client area; the geometry is
  // then worked out again. Bars only appear as the client shrinks, so this settles.
  for (int pass = 0; UpdatePass() && pass < 3; ++pass) {
  }
  needRepaint_ = true;
  if (OnInvalidate) OnInvalidate();
}

bool TIEViewGeometry::UpdatePass() {
  if (autoFit_ && imageWidth_ > 0 && imageHeight_ > 0) {
    StoreZoom(std::clamp(FitZoom(ViewWidth(), ViewHeight()), 1.0, kMaxZoom));
    ViewChange(kViewChangeZoom);
  }
  const TIEViewPoint max = MaxView();
  if (viewX_ > max.X || viewY_ > max.Y) {
    viewX_ = std::min(viewX_, max.X);
    viewY_ = std::min(viewY_, max.Y);
    ViewChange(kViewChangeScroll);
  }
  const int64_t clientWidth = ViewWidth(), clientHeight = ViewHeight();
  UpdateScrollBars();

  zoomedWidth_ = Round(double(imageWidth_) * z_);
  zoomedHeight_ = Round(double(imageHeight_) * z_);
  displayWidth_ = std::min(zoomedWidth_, ViewWidth());
  displayHeight_ = std::min(zoomedHeight_, ViewHeight());
  offsetX_ = center_ && displayWidth_ < ViewWidth() ? (ViewWidth() - displayWidth_) / 2 : 0;
  offsetY_ = center_ && displayHeight_ < ViewHeight() ? (ViewHeight() - displayHeight_) / 2 : 0;
  return ViewWidth() != clientWidth || ViewHeight() != clientHeight;
}

TIEViewPoint TIEViewGeometry::MaxView() const {
  const int64_t a = Trunc(double(imageWidth_) * z_), b = Trunc(double(imageHeight_) * z_);
  if (a < 1 || b < 1) return {};
  // An image that fits the control without scroll bars needs none.
  if (InnerWidth() >= a && InnerHeight() >= b) return {};
  return {std::max<int64_t>(0, a - ViewWidth()), std::max<int64_t>(0, b - ViewHeight())};
}

// --- zoom ------------------------------------------------------------------

void TIEViewGeometry::StoreZoom(double z) {
  zoom_ = z;
  z_ = z / 100;
  r_ = 100 / z;
}

double TIEViewGeometry::FitZoom(int64_t width, int64_t height) const {
  const double byHeight = double(height - 2 * marginY_) / (double(imageHeight_) / 100);
  const double byWidth = double(width - 2 * marginX_) / (double(imageWidth_) / 100);
  return std::min(byHeight, byWidth);
}

void TIEViewGeometry::SetZoom(double z) {
  if (!(z > 0) || z > kMaxZoom || z == zoom_) return;
  StartCountdowns();
  LockPaint();
  const int64_t cx = ViewWidth() / 2, cy = ViewHeight() / 2;
  const int64_t px = Round(double(cx + viewX_ - offsetX_) * r_);
  const int64_t py = Round(double(cy + viewY_ - offsetY_) * r_);
  StoreZoom(z);
  // Limited at the new zoom, so that zooming into an image that fitted keeps
  // its centre rather than jumping to the top-left corner.
  const TIEViewPoint max = MaxView();
  viewX_ = std::clamp<int64_t>(Trunc(double(px) * z / 100 - double(cx)), 0, max.X);
  viewY_ = std::clamp<int64_t>(Trunc(double(py) * z / 100 - double(cy)), 0, max.Y);
  Update();
  UnlockPaintNoUpdate();
  PaintNow();
  // A second pass lets the scroll bars settle at the new zoom.
  LockPaint();
  Update();
  UnlockPaintNoUpdate();
  ViewChange(kViewChangeZoom);
}

void TIEViewGeometry::ZoomAt(int64_t x, int64_t y, double z) {
  LockPaint();
  const int64_t px = ScreenToBitmapX(x), py = ScreenToBitmapY(y);
  SetZoom(z);
  SetViewXY(Trunc(double(px) * zoom_ / 100 - double(ViewWidth() / 2)),
            Trunc(double(py) * zoom_ / 100 - double(ViewHeight() / 2)));
  UnlockPaint();
}

void TIEViewGeometry::Fit() {
  if (imageWidth_ <= 0 || imageHeight_ <= 0) return;
  SetZoom(FitZoom(InnerWidth(), InnerHeight()));
}

// --- coordinates -----------------------------------------------------------

// Scaling by zoom / 100 and 100 / zoom is done as one multiplication and one
// division, so that whole results come out whole: trunc never drops a pixel
// at a boundary through a factor like 1/3 that a double cannot hold.
int64_t TIEViewGeometry::BitmapToScreenX(int64_t x) const {
  const int64_t left = SourceStart(viewX_, imageWidth_, zoomedWidth_);
  return Round(double(x - left) * zoom_ / 100 + double(offsetX_));
}

int64_t TIEViewGeometry::BitmapToScreenY(int64_t y) const {
  const int64_t top = SourceStart(viewY_, imageHeight_, zoomedHeight_);
  return Round(double(y - top) * zoom_ / 100 + double(offsetY_));
}

int64_t TIEViewGeometry::ScreenToBitmapX(int64_t x) const {
  const int64_t left = SourceStart(viewX_, imageWidth_, zoomedWidth_);
  return Trunc(double(x - offsetX_) * 100 / zoom_ + double(left));
}

int64_t TIEViewGeometry::ScreenToBitmapY(int64_t y) const {
  const int64_t top = SourceStart(viewY_, imageHeight_, zoomedHeight_);
  return Trunc(double(y - offsetY_) * 100 / zoom_ + double(top));
}

TIEVisibleSource TIEViewGeometry::VisibleSource() const {
  const TAxis x = VisibleAxis(viewX_, imageWidth_, zoomedWidth_, displayWidth_, zoom_);
  const TAxis y = VisibleAxis(viewY_, imageHeight_, zoomedHeight_, displayHeight_, zoom_);
  return {x.Left, y.Left, x.Width, y.Width, x.Dest, y.Dest};
}

// --- painting bookkeeping --------------------------------------------------

void TIEViewGeometry::UnlockPaint() {
  if (paintLock_ > 0) --paintLock_;
  if (paintLock_ == 0) Update();
}

void TIEViewGeometry::UnlockPaintNoUpdate() {
  if (paintLock_ > 0) --paintLock_;
}

void TIEViewGeometry::StartCountdowns() {
  if (delayZoomFilter_ && zoomFilter_ != TResampleFilter::rfNone && zoom_ != 100) filterCountdown_ = 2;
  scrollCountdown_ = 2;
}

void TIEViewGeometry::TimerTick() {
  if (filterCountdown_ > 0 && --filterCountdown_ == 0) Update();
  if (scrollCountdown_ > 0) --scrollCountdown_;
}

void TIEViewGeometry::PaintNow() {
  if (PaintLocked()) return;
  if (OnPaintNow)
    OnPaintNow();
  else if (OnInvalidate)
    OnInvalidate();
}

void TIEViewGeometry::ViewChange(int change) {
  if (OnViewChange) OnViewChange(this, change);
}

}  // namespace quillet
