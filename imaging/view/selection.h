// TIESelection: a view's selection as an outline polygon and a 1-bit mask,
// with the shapes, grips, moves and magic wand that mouse and program use.
#pragma once

#include <cstdint>

#include "imaging/core/mask.h"
#include "imaging/core/working_bitmap.h"
#include "imaging/view/animated_polygon.h"
#include "imaging/view/view_geometry.h"

namespace quillet {

enum class TIESelectionBase { iesbClientArea, iesbBitmap };

// TIESelectionOptions bits.
constexpr int iesoAnimated = 1, iesoSizeable = 2, iesoMoveable = 4, iesoFilled = 8, iesoCutBorders = 16;

class TIESelection {
 public:
  // The mask is the view's, of the image's size; the geometry converts
  // between client and image pixels.
  TIESelection(TIEMask& mask, const TIEViewGeometry& geometry);

  TIEAnimatedPolygon Polygon;
  TIESelectionBase SelectionBase = TIESelectionBase::iesbClientArea;
  int GripSize = 5;
  bool ExtendedGrips = true;
  int MagicWandMode = 0;  // 0 outline, 1 flood into the mask, 2 whole image
  int MagicWandTolerance = 15;
  bool MagicWandMaxFilter = false;

  bool SelectionExists() const { return exists_; }
  int SelectionOptions() const { return options_; }
  void SetSelectionOptions(int options);
  TIEMask& SelectionMask() { return mask_; }
  int32_t SelectionLeft() const { return mask_.X1(); }
  int32_t SelectionTop() const { return mask_.Y1(); }
  int32_t SelectionRight() const { return mask_.X2(); }
  int32_t SelectionBottom() const { return mask_.Y2(); }

  // The rectangle between two points (right and bottom edges exclusive in
  // the result), added to the outline or replacing it; with `square` the
  // height follows the width. False for points that share an x or a y.
  bool AddRectangle(int64_t x1, int64_t y1, int64_t x2, int64_t y2, bool add, bool square = false);
  // AddRectangle, then EndSelection.
  void SelectRectangle(int64_t x1, int64_t y1, int64_t x2, int64_t y2, bool add);
  // An ellipse around a centre through a point, both in client pixels.
  void AddEllipse(int64_t cx, int64_t cy, int64_t x, int64_t y, bool circle);
  void AddSelectionPoint(int64_t x, int64_t y);
  void AddSelectionBreak() { Polygon.AddBreak(); }
  // The mask from the outline; no selection when it encloses no pixel.
  void EndSelection();
  void Deselect();
  // Moves mask and outline; false when nothing moved.
  bool MoveSelection(int32_t dx, int32_t dy);
  // The magic wand at a point (per SelectionBase).
  void SelectMagicWand(int64_t x, int64_t y, bool add, const TIEWorkingBitmap& image);

  // The grip of a visible, sizeable, rectangular selection under client
  // (x, y): 0-3 corners, 4-7 sides, -1 none.
  int GripAt(int64_t x, int64_t y) const;
  // The outline rectangle (left, top, right, bottom) of a rectangular selection.
  TIEPolygonBounds Rectangle() const;
  // Resizes the rectangular outline by grip g to client (x, y); `pressRect`
  // is the rectangle when the drag began. Returns the grip, mirrored when
  // the rectangle turned over.
  int ResizeWithGrip(int grip, int64_t x, int64_t y, bool keepAspect, const TIEPolygonBounds& pressRect);
  // Over a set mask pixel of a moveable selection (client coordinates).
  bool InsideMoveableSelection(int64_t x, int64_t y) const;

 private:
  TIEPoint ToImage(int64_t x, int64_t y) const;
  TIEPoint Clamped(int64_t x, int64_t y) const;
  void SetRectangle(int32_t l, int32_t t, int32_t r, int32_t b);

  TIEMask& mask_;
  const TIEViewGeometry& geometry_;
  bool exists_ = false;
  int options_ = iesoAnimated | iesoSizeable | iesoMoveable;
};

// Alt snapping of client point (x, y) against the last vertex (px, py) on
// screen: vertical, horizontal or diagonal.
TIEViewPoint SnapToVertex(int64_t px, int64_t py, int64_t x, int64_t y);

// TIEMouseInteractItems bits of MouseInteract.
constexpr int miZoom = 1, miScroll = 2, miSelect = 4, miSelectPolygon = 8, miSelectCircle = 16, miSelectZoom = 32,
              miSelectMagicWand = 64, miSelectLasso = 128;
// The MouseInteract value after assigning `requested` over `current`: the
// first gesture newly added decides which others may stay.
int MouseInteractAfter(int current, int requested);

// The zoom after a click: in (left button) or out (right button).
double ClickZoomIn(double zoom);
double ClickZoomOut(double zoom);

}  // namespace quillet
