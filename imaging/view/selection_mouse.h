// TIESelectionMouse: the mouse gestures of an image view (zoom clicks, drag
// scrolling, rectangles, ellipses, polygons, lassos, the wand, moving and
// resizing) turned into selection and view changes. The widget feeds it events.
#pragma once

#include <cstdint>
#include <functional>

#include "imaging/core/working_bitmap.h"
#include "imaging/view/selection.h"
#include "imaging/view/view_geometry.h"

namespace quillet {

enum class TIEMouseButton { mbLeft, mbRight, mbMiddle };

// Cursor identifiers the view registers with the application.
constexpr int crZoomOut = 1778, crZoomIn = 1779, crHand = 1782, crCross = 1785, crMoveDiag2 = 1786,
              crMoveVertical = 1787, crMoveDiag1 = 1788, crMoveHorizontal = 1789, crMove = 1790,
              crCrossPlus = 1791, crCross2 = 1793, crCross2Plus = 1794;

class TIESelectionMouse {
 public:
  TIESelectionMouse(TIEViewGeometry& geometry, TIESelection& selection, const TIEWorkingBitmap& bitmap);

  int MouseInteract() const { return interact_; }
  // Applies the exclusion rules; a polygon in progress is finished first.
  void SetMouseInteract(int value);

  void MouseDown(TIEMouseButton button, bool shift, bool alt, int64_t x, int64_t y);
  void MouseMove(bool buttonHeld, bool shift, bool alt, int64_t x, int64_t y);
  void MouseUp(TIEMouseButton button, bool shift, bool alt, int64_t x, int64_t y);
  void DoubleClick();
  // One step of scrolling toward a dragging cursor outside the image; the
  // widget repeats it while the button is held there. True when it scrolled.
  bool AutoScroll(int64_t x, int64_t y);
  // Zooms to the selection's box (at least 2 x 2 pixels).
  void ZoomSelection();

  bool PolygonInProgress() const { return polygonInProgress_; }
  bool LassoInProgress() const { return lassoInProgress_; }
  bool Creating() const { return newRectangle_ || newEllipse_ || polygonInProgress_ || lassoInProgress_; }
  bool Dragging() const { return activeGrip_ >= 0 || moving_ == 0; }
  int ActiveGrip() const { return activeGrip_; }
  // The rubber band of a polygon being drawn: from the last vertex (client)
  // to the mouse.
  bool HasRubberBand() const { return polygonInProgress_ && !lassoInProgress_ && !selection_.Polygon.Empty(); }
  TIEViewPoint RubberBandFrom() const;
  TIEViewPoint RubberBandTo() const { return last_; }

  // The cursor the view shows at rest: `Cursor`, or its Shift variant.
  int Cursor = crCross;
  int CurrentCursor() const { return cursor_; }
  void SetShiftHeld(bool held);

  std::function<void()> OnSelectionChanging, OnSelectionChange, OnMouseInSel, OnRepaint, OnFocus;
  std::function<void(int grip)> OnMouseInResizingGrip;
  std::function<void(double& zoom)> OnZoomIn, OnZoomOut;
  // The screen cursor for the length of a gesture (hand, hourglass); -1 restores.
  std::function<void(int cursor)> OnScreenCursor;

 private:
  static constexpr int kHourglass = -2;

  bool SelectionMode() const;
  void Raise(const std::function<void()>& event) const {
    if (event) event();
  }
  void ClampToImage(int64_t& x, int64_t& y) const;
  void ReplaceOutlineSincePress(bool shift);
  void DragNewEllipse(bool shift, bool alt, int64_t x, int64_t y);
  void ClickZoom(TIEMouseButton button, int64_t x, int64_t y);
  void EndGesture(bool shift, int64_t x, int64_t y);
  void ResetFlags();
  void FinishPolygon();
  void SetCursor(int cursor);
  TIEViewPoint Snapped(int64_t x, int64_t y) const;

  TIEViewGeometry& geometry_;
  TIESelection& selection_;
  const TIEWorkingBitmap& bitmap_;
  int interact_ = 0;
  bool polygonInProgress_ = false, lassoInProgress_ = false, newRectangle_ = false, newEllipse_ = false;
  int activeGrip_ = -1, moving_ = -1;
  TIEViewPoint press_, last_, originAtPress_;
  int32_t countAtPress_ = 0;
  TIEPolygonBounds rectAtPress_;
  TResampleFilter savedFilter_ = TResampleFilter::rfNone;
  TIESelectionBase savedBase_ = TIESelectionBase::iesbClientArea;
  int cursor_ = crCross;
};

}  // namespace quillet
