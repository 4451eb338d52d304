// Scrolling the view: moving the view origin, the scroll bars over their
// fixed 0..65535 range, scroll-bar requests and the mouse wheel.
#include <algorithm>

#include "imaging/core/math.h"
#include "imaging/view/view_geometry.h"

namespace quillet {

namespace {

// Page and thumb of a shown bar scrolling `max` pixels past a client `extent`.
void Measure(TIEScrollBarState& bar, int64_t extent, int64_t max, int64_t position) {
  if (!bar.Visible) {
    bar = TIEScrollBarState{};
    return;
  }
  bar.Scale = double(extent + max) / (double(TIEScrollBarState::Range) + 1);
  bar.Page = int32_t(Trunc(double(extent) / bar.Scale));
  bar.Position = int32_t(Trunc(double(position) / bar.Scale));
}

}  // namespace

bool TIEViewGeometry::HorizontalAllowed() const {
  return scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth;
}

bool TIEViewGeometry::VerticalAllowed() const {
  return scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth;
}

const TIEScrollBarState& TIEViewGeometry::ScrollBar(TIEScrollBarKind kind) const {
  return kind == TIEScrollBarKind::sbHorizontal ? hBar_ : vBar_;
}

void TIEViewGeometry::UpdateScrollBars() {
  const TIEScrollBarState oldH = hBar_, oldV = vBar_;
  const TIEViewPoint max = MaxView();
  hBar_.Visible = HorizontalAllowed() && max.X >= 1;
  vBar_.Visible = VerticalAllowed() && max.Y >= 1;
  Measure(hBar_, ViewWidth(), max.X, viewX_);
  Measure(vBar_, ViewHeight(), max.Y, viewY_);
  if ((hBar_ != oldH || vBar_ != oldV) && OnScrollBarsChange) OnScrollBarsChange();
}

void TIEViewGeometry::UpdateThumbs() {
  const int32_t oldH = hBar_.Position, oldV = vBar_.Position;
  if (hBar_.Visible) hBar_.Position = int32_t(Trunc(double(viewX_) / hBar_.Scale));
  if (vBar_.Visible) vBar_.Position = int32_t(Trunc(double(viewY_) / vBar_.Scale));
  if ((hBar_.Position != oldH || vBar_.Position != oldV) && OnScrollBarsChange) OnScrollBarsChange();
}

void TIEViewGeometry::MoveView(int64_t x, int64_t y) {
  const TIEViewPoint max = MaxView();
  x = std::clamp<int64_t>(x, 0, max.X);
  y = std::clamp<int64_t>(y, 0, max.Y);
  if (x == viewX_ && y == viewY_) return;
  StartCountdowns();
  viewX_ = x;
  viewY_ = y;
  needRepaint_ = true;
  PaintNow();
  ViewChange(kViewChangeScroll);
  UpdateThumbs();
}

void TIEViewGeometry::ScrollBarMessage(TIEScrollBarKind kind, TIEScrollCode code, int64_t thumb) {
  const bool horizontal = kind == TIEScrollBarKind::sbHorizontal;
  const TIEScrollBarParams& params = horizontal ? HScrollBarParams : VScrollBarParams;
  const int64_t position = horizontal ? viewX_ : viewY_;
  const int64_t unit = std::max<int64_t>(Trunc(z_), 1);
  const int64_t line = unit * (params.LineStep == -1 ? 1 : params.LineStep);
  const int64_t page = params.PageStep == -1 ? (horizontal ? ViewWidth() : ViewHeight()) : unit * params.PageStep;
  int64_t to = position;
  switch (code) {
    case TIEScrollCode::scLineUp: to = position - line; break;
    case TIEScrollCode::scLineDown: to = position + line; break;
    case TIEScrollCode::scPageUp: to = position - page; break;
    case TIEScrollCode::scPageDown: to = position + page; break;
    case TIEScrollCode::scThumbTrack:
      if (!params.Tracking) return;
      [[fallthrough]];
    case TIEScrollCode::scThumbPosition: to = Trunc(double(thumb) * ScrollBar(kind).Scale); break;
    case TIEScrollCode::scTop: to = 0; break;
    case TIEScrollCode::scBottom: to = horizontal ? MaxView().X : MaxView().Y; break;
    case TIEScrollCode::scEndScroll: return;
  }
  if (horizontal)
    SetViewX(to);
  else
    SetViewY(to);
}

bool TIEViewGeometry::MouseWheel(int64_t delta) {
  const TIEMouseWheelParams& p = MouseWheelParams;
  // A zero delta (a sideways tilt) is not a turn of this wheel.
  if (delta == 0 || (p.Action != 1 && p.Action != 2)) return false;
  int64_t d = delta > 0 ? -1 : 1;
  if (p.InvertDirection) d = -d;
  const bool percent = p.Variation == 1;
  if (p.Action == 1) {
    const int64_t step = percent ? std::max<int64_t>(Round(double(ViewHeight()) * p.Value / 100), 1)
                                 : int64_t(p.Value) * std::max<int64_t>(Trunc(z_), 1);
    SetViewY(viewY_ + d * step);
  } else {
    const double step = percent ? double(std::max<int64_t>(Round(zoom_ * p.Value / 100), 1)) : double(p.Value);
    SetZoom(zoom_ + double(d) * step);
  }
  return true;
}

}  // namespace quillet
