// Mouse gestures on a view: clicks, drags, polygons, lassos, the wand, grips,
// moves, zoom clicks, drag scrolling and zooming to a selection.
#include <gtest/gtest.h>

#include "imaging/view/selection_mouse.h"

namespace quillet {
namespace {

using B = TIEMouseButton;

// A 200 x 100 image at 100 % in a 400 x 300 client, with a gesture counter.
struct Desk {
  explicit Desk(int interact, int64_t w = 200, int64_t h = 100, int64_t cw = 400, int64_t ch = 300)
      : bitmap(w, h, TIEPixelFormat::pf24bit) {
    bitmap.Fill(MakeBGR(50, 50, 50));
    mask.Allocate(w, h, 1);
    geometry.SetBounds(cw, ch);
    geometry.SetImageSize(w, h);
    geometry.Update();
    mouse.SetMouseInteract(interact);
    mouse.OnSelectionChange = [this] { ++changes; };
    mouse.OnSelectionChanging = [this] { ++changing; };
  }
  void Drag(int64_t x1, int64_t y1, int64_t x2, int64_t y2, bool shift = false, bool alt = false) {
    mouse.MouseDown(B::mbLeft, shift, alt, x1, y1);
    mouse.MouseMove(true, shift, alt, (x1 + x2) / 2, (y1 + y2) / 2);
    mouse.MouseMove(true, shift, alt, x2, y2);
    mouse.MouseUp(B::mbLeft, shift, alt, x2, y2);
  }
  void Click(int64_t x, int64_t y, B button = B::mbLeft, bool shift = false) {
    mouse.MouseDown(button, shift, false, x, y);
    mouse.MouseUp(button, shift, false, x, y);
  }

  TIEWorkingBitmap bitmap;
  TIEMask mask;
  TIEViewGeometry geometry;
  TIESelection selection{mask, geometry};
  TIESelectionMouse mouse{geometry, selection, bitmap};
  int changes = 0, changing = 0;
};

TEST(SelectionMouse, DraggedRectanglesAndClicksThatDeselect) {
  Desk d(miSelect);
  d.Drag(10, 20, 40, 60);
  EXPECT_TRUE(d.selection.SelectionExists());
  EXPECT_EQ(d.selection.SelectionLeft(), 10);
  EXPECT_EQ(d.selection.SelectionBottom(), 60);
  EXPECT_EQ(d.changes, 1);
  EXPECT_GE(d.changing, 2);

  // Shift adds a second rectangle; its intermediate outline is replaced, not kept.
  d.Drag(100, 10, 120, 30, true);
  EXPECT_EQ(d.selection.Polygon.Count(), 9);
  EXPECT_EQ(d.mask.GetPixel(110, 20), 1);
  EXPECT_EQ(d.mask.GetPixel(20, 30), 1);

  d.Click(150, 80);
  EXPECT_FALSE(d.selection.SelectionExists());
  EXPECT_TRUE(d.mask.IsEmpty());
  // A drag that ends beyond the image is clamped to it.
  d.Drag(150, 50, 390, 290);
  EXPECT_EQ(d.selection.SelectionRight(), 199);
  EXPECT_EQ(d.selection.SelectionBottom(), 99);
}

TEST(SelectionMouse, DraggingInsideMovesAndAGripResizes) {
  Desk d(miSelect);
  d.Drag(10, 10, 49, 49);
  d.Drag(20, 20, 30, 25);  // inside: a move by (10, 5)
  EXPECT_EQ(d.selection.SelectionLeft(), 20);
  EXPECT_EQ(d.selection.SelectionTop(), 15);
  EXPECT_EQ(d.selection.Polygon.Count(), 4);
  // The bottom-right grip at (60, 55) dragged to (80, 90).
  d.Drag(60, 55, 80, 90);
  EXPECT_EQ(d.selection.SelectionRight(), 80);
  EXPECT_EQ(d.selection.SelectionBottom(), 90);
  EXPECT_EQ(d.selection.SelectionLeft(), 20);

  // Resting over grips and the selection shows their cursors.
  d.mouse.MouseMove(false, false, false, 20, 15);
  EXPECT_EQ(d.mouse.CurrentCursor(), crMoveDiag2);
  d.mouse.MouseMove(false, false, false, 50, 50);
  EXPECT_EQ(d.mouse.CurrentCursor(), crMove);
  d.mouse.MouseMove(false, false, false, 150, 95);
  EXPECT_EQ(d.mouse.CurrentCursor(), crCross);
  d.mouse.SetShiftHeld(true);
  EXPECT_EQ(d.mouse.CurrentCursor(), crCrossPlus);
}

TEST(SelectionMouse, PolygonClosesOnDoubleClickWithoutItsExtraVertex) {
  Desk d(miSelectPolygon);
  d.Click(10, 10);
  d.Click(90, 10);
  d.Click(90, 80);
  EXPECT_TRUE(d.mouse.PolygonInProgress());
  EXPECT_TRUE(d.mouse.HasRubberBand());
  d.mouse.MouseMove(false, false, false, 40, 85);
  EXPECT_EQ(d.mouse.RubberBandFrom(), (TIEViewPoint{90, 80}));
  EXPECT_EQ(d.mouse.RubberBandTo(), (TIEViewPoint{40, 85}));
  // Double click at the fourth point: press, release, press, double click.
  d.Click(10, 80);
  d.mouse.MouseDown(B::mbLeft, false, false, 10, 80);
  d.mouse.DoubleClick();
  d.mouse.MouseUp(B::mbLeft, false, false, 10, 80);
  EXPECT_FALSE(d.mouse.PolygonInProgress());
  EXPECT_EQ(d.selection.Polygon.Count(), 4);
  EXPECT_EQ(d.mask.GetPixel(50, 50), 1);
  EXPECT_EQ(d.mask.GetPixel(95, 50), 0);

  // Changing the gesture finishes a polygon in progress.
  d.Click(100, 10);
  d.Click(150, 10);
  d.Click(150, 60);
  d.mouse.SetMouseInteract(miSelect);
  EXPECT_FALSE(d.mouse.PolygonInProgress());
  EXPECT_EQ(d.mask.GetPixel(148, 30), 1);
  EXPECT_EQ(d.mouse.MouseInteract(), miSelect);
}

TEST(SelectionMouse, LassoEllipseAndWand) {
  Desk lasso(miSelectLasso);
  lasso.mouse.MouseDown(B::mbLeft, false, false, 10, 10);
  for (const auto& p : {TIEViewPoint{60, 10}, TIEViewPoint{60, 60}, TIEViewPoint{10, 60}})
    lasso.mouse.MouseMove(true, false, false, p.X, p.Y);
  lasso.mouse.MouseUp(B::mbLeft, false, false, 10, 60);
  EXPECT_TRUE(lasso.selection.SelectionExists());
  EXPECT_EQ(lasso.mask.GetPixel(30, 30), 1);
  EXPECT_FALSE(lasso.mouse.PolygonInProgress());

  Desk ellipse(miSelectCircle);
  ellipse.Drag(100, 50, 130, 70);
  EXPECT_TRUE(ellipse.selection.SelectionExists());
  EXPECT_EQ(ellipse.mask.GetPixel(100, 50), 1);
  EXPECT_EQ(ellipse.mask.GetPixel(100, 75), 0);

  Desk wand(miSelectMagicWand);
  for (int y = 10; y < 20; ++y)
    for (int x = 30; x < 45; ++x) wand.bitmap.ScanLine(y)[3 * x] = 200;
  wand.Click(35, 15);
  EXPECT_TRUE(wand.selection.SelectionExists());
  EXPECT_EQ(wand.selection.SelectionLeft(), 30);
  EXPECT_EQ(wand.selection.SelectionRight(), 44);
  EXPECT_EQ(wand.changes, 1);
}

TEST(SelectionMouse, ZoomClicksScrollDragsAndZoomToSelection) {
  Desk d(miZoom | miSelect, 1000, 1000, 200, 200);
  d.Click(100, 100);
  EXPECT_EQ(d.geometry.Zoom(), 200);
  d.Click(100, 100, B::mbRight);
  EXPECT_EQ(d.geometry.Zoom(), 100);
  double asked = 0;
  d.mouse.OnZoomOut = [&](double& z) { asked = z, z = 50; };
  d.Click(100, 100, B::mbRight);
  EXPECT_EQ(asked, 75);
  EXPECT_EQ(d.geometry.Zoom(), 50);
  EXPECT_FALSE(d.selection.SelectionExists());

  Desk s(miScroll, 1000, 1000, 200, 200);
  s.Drag(150, 150, 50, 100);
  EXPECT_EQ(s.geometry.ViewX(), 100);
  EXPECT_EQ(s.geometry.ViewY(), 50);

  Desk z(miSelectZoom, 1000, 1000, 200, 200);
  z.Drag(10, 10, 59, 109);  // 50 x 100 pixels
  EXPECT_EQ(z.geometry.Zoom(), 200);
  EXPECT_FALSE(z.selection.SelectionExists());
}

TEST(SelectionMouse, DraggingOutsideScrollsTheViewAlong) {
  Desk d(miSelect, 1000, 1000, 200, 200);
  d.mouse.MouseDown(B::mbLeft, false, false, 50, 50);
  d.mouse.MouseMove(true, false, false, 250, 120);  // 51 past the right edge
  EXPECT_EQ(d.geometry.ViewX(), 51);
  d.mouse.MouseUp(B::mbLeft, false, false, 199, 120);
  // The press point moved with the image: the selection starts at image x 50.
  EXPECT_EQ(d.selection.SelectionLeft(), 50 - 51 + 51);
  EXPECT_GE(d.selection.SelectionRight(), 240);
}

}  // namespace
}  // namespace quillet
