#include "imaging/view/selection_mouse.h"

#include <algorithm>

#include "imaging/core/math.h"

namespace quillet {

namespace {

int GripCursor(int grip) {
  static constexpr int kCursors[8] = {crMoveDiag2, crMoveDiag1,      crMoveDiag2,    crMoveDiag1,
                                      crMoveHorizontal, crMoveHorizontal, crMoveVertical, crMoveVertical};
  return kCursors[grip];
}

}  // namespace

TIESelectionMouse::TIESelectionMouse(TIEViewGeometry& geometry, TIESelection& selection,
                                     const TIEWorkingBitmap& bitmap)
    : geometry_(geometry), selection_(selection), bitmap_(bitmap) {}

void TIESelectionMouse::SetMouseInteract(int value) {
  if (value == interact_) return;
  // Finished as by a double click, but every vertex here was placed on purpose.
  if (polygonInProgress_ && !lassoInProgress_ && (interact_ & miSelectPolygon)) FinishPolygon();
  interact_ = MouseInteractAfter(interact_, value);
}

bool TIESelectionMouse::SelectionMode() const {
  return interact_ & (miSelect | miSelectPolygon | miSelectCircle | miSelectZoom | miSelectMagicWand);
}

void TIESelectionMouse::ClampToImage(int64_t& x, int64_t& y) const {
  x = std::clamp(x, geometry_.OffsetX(), geometry_.OffsetX() + geometry_.DisplayWidth());
  y = std::clamp(y, geometry_.OffsetY(), geometry_.OffsetY() + geometry_.DisplayHeight());
}

TIEViewPoint TIESelectionMouse::Snapped(int64_t x, int64_t y) const {
  const TIEViewPoint from = RubberBandFrom();
  return SnapToVertex(from.X, from.Y, x, y);
}

TIEViewPoint TIESelectionMouse::RubberBandFrom() const {
  const auto& points = selection_.Polygon.Points();
  if (points.empty() || points.back().X == TIEAnimatedPolygon::kBreak) return last_;
  return {geometry_.BitmapToScreenX(points.back().X), geometry_.BitmapToScreenY(points.back().Y)};
}

void TIESelectionMouse::SetCursor(int cursor) { cursor_ = cursor; }

void TIESelectionMouse::SetShiftHeld(bool held) {
  const bool resting = cursor_ == Cursor;
  if (held && Cursor == crCross) Cursor = crCrossPlus;
  else if (held && Cursor == crCross2) Cursor = crCross2Plus;
  else if (!held && Cursor == crCrossPlus) Cursor = crCross;
  else if (!held && Cursor == crCross2Plus) Cursor = crCross2;
  if (resting) cursor_ = Cursor;
}

void TIESelectionMouse::MouseDown(TIEMouseButton button, bool shift, bool alt, int64_t x, int64_t y) {
  Raise(OnFocus);
  if (button != TIEMouseButton::mbLeft && !(interact_ & miZoom)) return;
  // Dragging never resamples; programmatic coordinates are client ones meanwhile.
  savedFilter_ = geometry_.ZoomFilter();
  if (!(interact_ & miScroll)) geometry_.SetZoomFilter(TResampleFilter::rfNone);
  savedBase_ = selection_.SelectionBase;
  selection_.SelectionBase = TIESelectionBase::iesbClientArea;
  ClampToImage(x, y);
  press_ = last_ = {x, y};
  originAtPress_ = {geometry_.ViewX(), geometry_.ViewY()};
  countAtPress_ = selection_.Polygon.Count();
  const bool inside = !Creating() && selection_.InsideMoveableSelection(x, y);

  if (interact_ & (miSelectPolygon | miSelectLasso)) {
    if (inside) {
      moving_ = 0;
    } else {
      if (alt && polygonInProgress_) {
        const TIEViewPoint p = Snapped(x, y);
        x = p.X, y = p.Y;
      }
      if (!polygonInProgress_) {
        if (shift) selection_.AddSelectionBreak();
        else selection_.Deselect();
      }
      selection_.AddSelectionPoint(x, y);
      polygonInProgress_ = true;
      lassoInProgress_ = interact_ & miSelectLasso;
      Raise(OnSelectionChanging);
    }
  }
  if (interact_ & (miSelect | miSelectZoom)) {
    activeGrip_ = selection_.GripAt(x, y);
    if (inside) moving_ = 0;
    if (activeGrip_ >= 0) rectAtPress_ = selection_.Rectangle();
    else if (!inside) {
      newRectangle_ = true;
      Raise(OnSelectionChanging);
    }
  }
  if (interact_ & miSelectCircle) {
    if (inside) {
      moving_ = 0;
    } else {
      newEllipse_ = true;
      selection_.Polygon.Visible = true;
      Raise(OnSelectionChanging);
    }
  }
  if ((interact_ & miSelectMagicWand) && inside) moving_ = 0;
  if (button == TIEMouseButton::mbLeft && (interact_ & miScroll) && OnScreenCursor) OnScreenCursor(crHand);
}

void TIESelectionMouse::ReplaceOutlineSincePress(bool shift) {
  TIEAnimatedPolygon& polygon = selection_.Polygon;
  if (!shift) return polygon.Clear();
  if (polygon.Count() != countAtPress_) polygon.RemoveBackToBreak();
  polygon.AddBreak();
}

void TIESelectionMouse::DragNewEllipse(bool shift, bool alt, int64_t x, int64_t y) {
  ReplaceOutlineSincePress(shift);
  selection_.AddEllipse(press_.X, press_.Y, x, y, alt);
  Raise(OnSelectionChanging);
}

void TIESelectionMouse::MouseMove(bool buttonHeld, bool shift, bool alt, int64_t x, int64_t y) {
  if (buttonHeld) {
    if (interact_ & miScroll) {
      geometry_.SetViewXY(originAtPress_.X + press_.X - x, originAtPress_.Y + press_.Y - y);
    } else {
      AutoScroll(x, y);
    }
    if (activeGrip_ >= 0) {
      activeGrip_ = selection_.ResizeWithGrip(activeGrip_, x, y, alt, rectAtPress_);
      Raise(OnSelectionChanging);
    } else if (moving_ == 0) {
      const int64_t dx = geometry_.ScreenToBitmapX(x) - geometry_.ScreenToBitmapX(last_.X);
      const int64_t dy = geometry_.ScreenToBitmapY(y) - geometry_.ScreenToBitmapY(last_.Y);
      selection_.MoveSelection(int32_t(std::clamp<int64_t>(dx, INT32_MIN / 2, INT32_MAX / 2)),
                               int32_t(std::clamp<int64_t>(dy, INT32_MIN / 2, INT32_MAX / 2)));
      Raise(OnSelectionChanging);
    } else if (newRectangle_) {
      ReplaceOutlineSincePress(shift);
      selection_.AddRectangle(press_.X, press_.Y, x, y, shift, alt);
      Raise(OnSelectionChanging);
    } else if (polygonInProgress_) {
      selection_.AddSelectionPoint(x, y);
      Raise(OnSelectionChanging);
    } else if (newEllipse_) {
      DragNewEllipse(shift, alt, x, y);
    }
    last_ = {x, y};
    Raise(OnRepaint);
    return;
  }
  if ((!polygonInProgress_ || lassoInProgress_) && SelectionMode()) {
    const int grip = newRectangle_ ? -1 : selection_.GripAt(x, y);
    if (OnMouseInResizingGrip) OnMouseInResizingGrip(grip);
    if (grip >= 0) SetCursor(GripCursor(grip));
    else if (!Creating() && selection_.InsideMoveableSelection(x, y)) SetCursor(crMove);
    else SetCursor(Cursor);
  }
  if (polygonInProgress_ && !lassoInProgress_) {
    const TIEViewPoint p = alt ? Snapped(x, y) : TIEViewPoint{x, y};
    x = p.X, y = p.Y;
    Raise(OnSelectionChanging);
    last_ = {x, y};
    Raise(OnRepaint);
  }
  const int64_t bx = geometry_.ScreenToBitmapX(x), by = geometry_.ScreenToBitmapY(y);
  if (selection_.SelectionMask().GetPixel(bx, by)) Raise(OnMouseInSel);
  last_ = {x, y};
}

void TIESelectionMouse::ClickZoom(TIEMouseButton button, int64_t x, int64_t y) {
  const bool in = button == TIEMouseButton::mbLeft;
  if (in && (interact_ & miScroll) && OnScreenCursor) OnScreenCursor(-1);
  double zoom = in ? ClickZoomIn(geometry_.Zoom()) : ClickZoomOut(geometry_.Zoom());
  const auto& event = in ? OnZoomIn : OnZoomOut;
  if (event) event(zoom);
  if (zoom != geometry_.Zoom()) geometry_.ZoomAt(x, y, zoom);
  polygonInProgress_ = false;
}

void TIESelectionMouse::MouseUp(TIEMouseButton button, bool shift, bool alt, int64_t x, int64_t y) {
  ClampToImage(x, y);
  if ((interact_ & miZoom) && x == press_.X && y == press_.Y) ClickZoom(button, x, y);
  else if (button == TIEMouseButton::mbLeft) EndGesture(shift, x, y);
  geometry_.SetZoomFilter(savedFilter_);
  selection_.SelectionBase = savedBase_;
  ResetFlags();
}

// A press and release at one point with no grip and no move: a click.
void TIESelectionMouse::EndGesture(bool shift, int64_t x, int64_t y) {
  const bool click = x == press_.X && y == press_.Y && activeGrip_ < 0 && moving_ != 0;
  const bool moveEnded = moving_ == 0;
  if (interact_ & miScroll) {
    geometry_.SetViewXY(originAtPress_.X + press_.X - x, originAtPress_.Y + press_.Y - y);
    if (OnScreenCursor) OnScreenCursor(-1);
  }
  if (interact_ & miSelectZoom) {
    newRectangle_ = false;
    selection_.EndSelection();
    ZoomSelection();
  }
  if (interact_ & miSelect) {
    if (click) {
      selection_.Deselect();
    } else {
      if (newRectangle_ || activeGrip_ >= 0) selection_.EndSelection();
      Raise(OnSelectionChange);
    }
  }
  if (interact_ & miSelectCircle) {
    if (click) {
      selection_.Deselect();
    } else {
      if (newEllipse_) selection_.EndSelection();
      Raise(OnSelectionChange);
    }
  }
  if ((interact_ & miSelectPolygon) && moveEnded) Raise(OnSelectionChange);
  if (interact_ & miSelectMagicWand) {
    if (!moveEnded) {
      if (OnScreenCursor) OnScreenCursor(kHourglass);
      selection_.SelectMagicWand(x, y, shift, bitmap_);
      if (OnScreenCursor) OnScreenCursor(-1);
    }
    Raise(OnSelectionChange);
  }
  if (interact_ & miSelectLasso) {
    if (click) {
      selection_.Deselect();
    } else {
      if (lassoInProgress_) selection_.EndSelection();
      polygonInProgress_ = false;
      Raise(OnSelectionChange);
    }
  }
  Raise(OnRepaint);
}

void TIESelectionMouse::ResetFlags() {
  activeGrip_ = -1;
  moving_ = -1;
  newRectangle_ = newEllipse_ = lassoInProgress_ = false;
}

void TIESelectionMouse::DoubleClick() {
  if (!polygonInProgress_ || lassoInProgress_) return;
  // The second press of the double click added a vertex: it goes again.
  selection_.Polygon.DropLastVertex();
  FinishPolygon();
}

void TIESelectionMouse::FinishPolygon() {
  selection_.EndSelection();
  polygonInProgress_ = false;
  Raise(OnRepaint);
  Raise(OnSelectionChange);
}

bool TIESelectionMouse::AutoScroll(int64_t x, int64_t y) {
  const int64_t left = geometry_.OffsetX(), right = left + geometry_.DisplayWidth() - 1;
  const int64_t top = geometry_.OffsetY(), bottom = top + geometry_.DisplayHeight() - 1;
  const int64_t dx = x < left ? x - left : x > right ? x - right : 0;
  const int64_t dy = y < top ? y - top : y > bottom ? y - bottom : 0;
  if (dx == 0 && dy == 0) return false;
  const int64_t oldX = geometry_.ViewX(), oldY = geometry_.ViewY();
  geometry_.SetViewXY(oldX + dx, oldY + dy);
  const int64_t ax = geometry_.ViewX() - oldX, ay = geometry_.ViewY() - oldY;
  if (ax == 0 && ay == 0) return false;
  press_ = {press_.X - ax, press_.Y - ay};
  last_ = {last_.X - ax, last_.Y - ay};
  return true;
}

void TIESelectionMouse::ZoomSelection() {
  if (!selection_.SelectionExists()) return;
  const int64_t x1 = selection_.SelectionLeft(), y1 = selection_.SelectionTop();
  const int64_t w = selection_.SelectionRight() + 1 - x1, h = selection_.SelectionBottom() + 1 - y1;
  if (w < 2 || h < 2) return;
  geometry_.LockPaint();
  selection_.Deselect();
  geometry_.SetZoom(std::min(double(geometry_.ViewHeight()) / (double(h) / 100),
                             double(geometry_.ViewWidth()) / (double(w) / 100)));
  const double z = geometry_.Zoom() / 100;
  geometry_.SetViewXY(Trunc(double(x1) * z) - (geometry_.ViewWidth() - Trunc(double(w) * z)) / 2,
                      Trunc(double(y1) * z) - (geometry_.ViewHeight() - Trunc(double(h) * z)) / 2);
  geometry_.UnlockPaint();
}

}  // namespace quillet
