// Selections: rectangles, ellipses, grips, moves, the magic wand and its
// outline, the gesture exclusion rules and the click zoom steps.
#include <gtest/gtest.h>

#include "imaging/view/magic_wand.h"
#include "imaging/view/selection.h"

namespace quillet {
namespace {

// A selection over a w x h image shown at 100 % in a large enough client.
struct Fixture {
  Fixture(int32_t w, int32_t h, double zoom = 100) {
    mask.Allocate(w, h, 1);
    geometry.SetBounds(4000, 4000);
    geometry.SetImageSize(w, h);
    geometry.Update();
    geometry.SetZoom(zoom);
    geometry.Update();
  }
  TIEMask mask;
  TIEViewGeometry geometry;
  TIESelection selection{mask, geometry};
};

std::vector<TIEPoint> Rect(int32_t l, int32_t t, int32_t r, int32_t b) { return {{l, t}, {r, t}, {r, b}, {l, b}}; }

void ExpectBox(const TIESelection& s, int32_t l, int32_t t, int32_t r, int32_t b) {
  EXPECT_EQ(s.SelectionLeft(), l);
  EXPECT_EQ(s.SelectionTop(), t);
  EXPECT_EQ(s.SelectionRight(), r);
  EXPECT_EQ(s.SelectionBottom(), b);
}

TEST(Selection, RectanglesSelectAllAndDegenerateDrags) {
  Fixture f(640, 480);
  TIESelection& s = f.selection;
  s.SelectionBase = TIESelectionBase::iesbBitmap;
  s.SelectRectangle(0, 0, 640, 480, false);  // Select All
  EXPECT_TRUE(s.SelectionExists());
  ExpectBox(s, 0, 0, 639, 479);
  EXPECT_EQ(s.Polygon.Points(), Rect(0, 0, 640, 480));

  s.Deselect();
  EXPECT_FALSE(s.SelectionExists());
  EXPECT_TRUE(f.mask.IsEmpty());
  EXPECT_FALSE(s.AddRectangle(10, 10, 10, 50, false));
  EXPECT_TRUE(s.Polygon.Empty());

  // Alt: the height follows the width, clamped to the image.
  EXPECT_TRUE(s.AddRectangle(0, 0, 30, 10, false, true));
  EXPECT_EQ(s.Polygon.Points(), Rect(0, 0, 31, 31));
  // Added as a second outline after a separator; the mask takes both.
  EXPECT_TRUE(s.AddRectangle(700, 470, 600, 400, true));
  s.EndSelection();
  EXPECT_EQ(s.Polygon.Count(), 9);
  EXPECT_EQ(f.mask.GetPixel(30, 30), 1);
  EXPECT_EQ(f.mask.GetPixel(639, 470), 1);
  EXPECT_EQ(f.mask.GetPixel(599, 470), 0);
  ExpectBox(s, 0, 0, 639, 470);
}

TEST(Selection, ClientCoordinatesFollowTheZoom) {
  Fixture f(100, 100, 200);
  f.selection.SelectRectangle(20, 40, 60, 80, false);
  ExpectBox(f.selection, 10, 20, 30, 40);
  EXPECT_TRUE(f.selection.InsideMoveableSelection(21, 41));
  EXPECT_FALSE(f.selection.InsideMoveableSelection(19, 41));
  // Points far outside the client are clamped into the image.
  f.selection.Deselect();
  f.selection.AddSelectionPoint(-50000, 10);
  f.selection.AddSelectionPoint(90000000000, 10);
  EXPECT_EQ(f.selection.Polygon.Points()[0].X, 0);
  EXPECT_EQ(f.selection.Polygon.Points()[1].X, 100);
}

TEST(Selection, EllipsesHaveAPointCountFromTheSmallerRadius) {
  Fixture f(100, 100);
  f.selection.SelectionBase = TIESelectionBase::iesbBitmap;
  f.selection.AddEllipse(50, 50, 60, 60, false);
  EXPECT_EQ(f.selection.Polygon.Count(), 15);
  EXPECT_EQ(f.selection.Polygon.Points()[0], (TIEPoint{60, 50}));
  f.selection.Polygon.Clear();
  f.selection.AddEllipse(50, 50, 51, 70, false);
  EXPECT_EQ(f.selection.Polygon.Count(), 3);
  f.selection.Polygon.Clear();
  f.selection.AddEllipse(95, 50, 99, 60, true);  // a circle of radius 10, cut at the right edge
  for (const TIEPoint& p : f.selection.Polygon.Points()) EXPECT_LE(p.X, 100);
  f.selection.EndSelection();
  EXPECT_TRUE(f.selection.SelectionExists());
  EXPECT_EQ(f.mask.GetPixel(95, 50), 1);
}

TEST(Selection, EmptyOutlinesEndInNoSelection) {
  Fixture f(50, 50);
  f.selection.SelectionBase = TIESelectionBase::iesbBitmap;
  f.selection.AddSelectionPoint(10, 10);
  f.selection.AddSelectionPoint(20, 10);
  f.selection.EndSelection();
  EXPECT_FALSE(f.selection.SelectionExists());
  EXPECT_TRUE(f.selection.Polygon.Empty());
}

TEST(Selection, MovesStopAtTheEdgeUnlessBordersCut) {
  Fixture f(100, 100);
  TIESelection& s = f.selection;
  s.SelectionBase = TIESelectionBase::iesbBitmap;
  s.SelectRectangle(10, 10, 29, 29, false);
  EXPECT_TRUE(s.MoveSelection(-25, 5));
  ExpectBox(s, 0, 15, 19, 34);
  EXPECT_EQ(s.Polygon.Points(), Rect(0, 15, 20, 35));
  EXPECT_FALSE(s.MoveSelection(-5, 0));

  s.SetSelectionOptions(s.SelectionOptions() | iesoCutBorders);
  EXPECT_TRUE(s.MoveSelection(-5, 0));
  ExpectBox(s, 0, 15, 14, 34);
  EXPECT_EQ(s.Polygon.Points()[0].X, 0);
  EXPECT_EQ(f.mask.GetPixel(15, 20), 0);
  EXPECT_TRUE(s.MoveSelection(5, 0));
  EXPECT_EQ(f.mask.GetPixel(4, 20), 0);  // what left the image is lost
  EXPECT_EQ(f.mask.GetPixel(5, 20), 1);
}

TEST(Selection, GripsAreFoundAndResizeTheRectangle) {
  Fixture f(100, 100);
  TIESelection& s = f.selection;
  s.SelectRectangle(10, 10, 49, 49, false);  // outline 10..50
  EXPECT_EQ(s.GripAt(10, 10), 0);
  EXPECT_EQ(s.GripAt(54, 7), 1);
  EXPECT_EQ(s.GripAt(50, 50), 2);
  EXPECT_EQ(s.GripAt(10, 50), 3);
  EXPECT_EQ(s.GripAt(11, 30), 4);
  EXPECT_EQ(s.GripAt(50, 30), 5);
  EXPECT_EQ(s.GripAt(30, 8), 6);
  EXPECT_EQ(s.GripAt(30, 52), 7);
  EXPECT_EQ(s.GripAt(30, 30), -1);
  EXPECT_EQ(s.GripAt(30, 47), -1);

  const TIEPolygonBounds press = s.Rectangle();
  EXPECT_EQ(s.ResizeWithGrip(2, 60, 70, false, press), 2);
  EXPECT_EQ(s.Polygon.Points(), Rect(10, 10, 61, 71));
  // Dragged past the left edge, the top-right grip becomes the top-left one.
  EXPECT_EQ(s.ResizeWithGrip(1, 5, 10, false, press), 0);
  EXPECT_EQ(s.Polygon.Points(), Rect(6, 10, 10, 71));
  // A side that would meet the opposite one stays a pixel away.
  EXPECT_EQ(s.ResizeWithGrip(6, 8, 71, false, press), 6);
  EXPECT_EQ(s.Rectangle().Bottom - s.Rectangle().Top, 1);

  // Keeping the aspect of a square at press gives squares.
  s.SelectRectangle(10, 10, 19, 19, false);
  s.ResizeWithGrip(2, 39, 25, true, s.Rectangle());
  const TIEPolygonBounds r = s.Rectangle();
  EXPECT_EQ(r.Right - r.Left, 30);
  EXPECT_EQ(r.Bottom - r.Top, 30);

  s.SetSelectionOptions(iesoMoveable);  // not sizeable: no grips
  EXPECT_EQ(s.GripAt(10, 10), -1);
}

// A 24-bit image of one colour with two rectangles of another and a diagonal pixel.
TIEWorkingBitmap Blobs() {
  TIEWorkingBitmap b(40, 30, TIEPixelFormat::pf24bit);
  b.Fill(MakeBGR(200, 200, 200));
  auto paint = [&](int x, int y, uint8_t v) { b.ScanLine(y)[3 * x] = b.ScanLine(y)[3 * x + 1] = b.ScanLine(y)[3 * x + 2] = v; };
  for (int y = 5; y < 15; ++y)
    for (int x = 5; x < 12; ++x) paint(x, y, 100);
  for (int y = 10; y < 13; ++y)
    for (int x = 12; x < 20; ++x) paint(x, y, 110);  // an arm to the right: an L shape
  paint(20, 13, 100);                                 // touches the arm at a corner only
  for (int y = 20; y < 25; ++y)
    for (int x = 30; x < 35; ++x) paint(x, y, 105);  // apart from the rest
  return b;
}

int CountSet(const TIEMask& m) {
  int n = 0;
  for (int y = 0; y < m.Height(); ++y)
    for (int x = 0; x < m.Width(); ++x) n += m.GetPixel(x, y);
  return n;
}

TEST(MagicWand, ToleranceIsTheLargestChannelDifference) {
  const uint8_t seed[3] = {100, 100, 100}, near[3] = {100, 85, 115}, far[3] = {100, 100, 116};
  EXPECT_TRUE(WandMatches(near, seed, 15));
  EXPECT_FALSE(WandMatches(far, seed, 15));
}

TEST(MagicWand, FloodGlobalAndGrowth) {
  const TIEWorkingBitmap image = Blobs();
  TIEMask m;
  m.Allocate(40, 30, 1);
  WandFlood(image, 6, 6, 15, false, m);
  EXPECT_EQ(CountSet(m), 70 + 24);  // the L, not the corner pixel nor the far blob
  EXPECT_EQ(m.GetPixel(20, 13), 0);
  EXPECT_EQ(m.X1(), 5);
  EXPECT_EQ(m.X2(), 19);
  EXPECT_EQ(m.Y2(), 14);

  m.Clear();
  WandGlobal(image, 6, 6, 15, m);
  EXPECT_EQ(CountSet(m), 70 + 24 + 1 + 25);
  EXPECT_EQ(m.X2(), 34);

  m.Clear();
  WandFlood(image, 31, 21, 0, true, m);
  EXPECT_EQ(CountSet(m), 7 * 7);
  EXPECT_EQ(m.X1(), 29);
  EXPECT_EQ(m.Y2(), 25);
}

TEST(MagicWand, OutlineEnclosesExactlyTheFloodedPixels) {
  const TIEWorkingBitmap image = Blobs();
  for (int mode = 0; mode < 3; ++mode) {
    Fixture f(40, 30);
    f.selection.SelectionBase = TIESelectionBase::iesbBitmap;
    f.selection.MagicWandMode = mode;
    f.selection.SelectMagicWand(6, 6, false, image);
    EXPECT_TRUE(f.selection.SelectionExists());
    TIEMask expected;
    expected.Allocate(40, 30, 1);
    if (mode == 2) WandGlobal(image, 6, 6, 15, expected);
    else WandFlood(image, 6, 6, 15, false, expected);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) ASSERT_EQ(f.mask.GetPixel(x, y), expected.GetPixel(x, y)) << mode << ":" << x << "," << y;
  }
  Fixture f(40, 30);
  f.selection.SelectionBase = TIESelectionBase::iesbBitmap;
  f.selection.SelectMagicWand(6, 6, false, image);
  // The block with its arm has eight corners.
  EXPECT_EQ(f.selection.Polygon.Count(), 8);
  // Adding the far blob keeps both.
  f.selection.SelectMagicWand(31, 21, true, image);
  EXPECT_EQ(CountSet(f.mask), 70 + 24 + 25);
  // Outside the image or on a 1-bit image nothing happens.
  f.selection.SelectMagicWand(40, 5, false, image);
  f.selection.SelectMagicWand(5, 5, false, TIEWorkingBitmap(40, 30, TIEPixelFormat::pf1bit));
  EXPECT_EQ(CountSet(f.mask), 70 + 24 + 25);
}

TEST(MouseInteract, NewGesturesDecideWhatStays) {
  EXPECT_EQ(MouseInteractAfter(0, miZoom | miSelect), miZoom | miSelect);
  EXPECT_EQ(MouseInteractAfter(miZoom | miSelect, miZoom | miSelect | miScroll), miZoom | miScroll);
  EXPECT_EQ(MouseInteractAfter(miZoom | miSelect, miZoom | miSelect | miSelectPolygon), miSelectPolygon);
  EXPECT_EQ(MouseInteractAfter(miSelectPolygon, miSelectPolygon | miZoom), miZoom);
  EXPECT_EQ(MouseInteractAfter(miZoom, miZoom | miSelectMagicWand), miSelectMagicWand);
  EXPECT_EQ(MouseInteractAfter(miZoom | miScroll, miScroll), miScroll);  // only removed
}

TEST(MouseInteract, ClickZoomSteps) {
  double z = 100;
  z = ClickZoomIn(z);
  EXPECT_EQ(z, 200);
  EXPECT_EQ(ClickZoomIn(z), 300);
  const double down[] = {200, 100, 75, 50, 33, 25, 10, 5, 2, 2};
  z = 300;
  for (const double expected : down) EXPECT_EQ(z = ClickZoomOut(z), expected);
  EXPECT_EQ(ClickZoomIn(2), 5);
  EXPECT_EQ(ClickZoomIn(40), 50);
}

TEST(MouseInteract, AltSnapsToVerticalHorizontalOrDiagonal) {
  EXPECT_EQ(SnapToVertex(100, 100, 110, 200), (TIEViewPoint{100, 200}));
  EXPECT_EQ(SnapToVertex(100, 100, 200, 90), (TIEViewPoint{200, 100}));
  EXPECT_EQ(SnapToVertex(100, 100, 150, 130), (TIEViewPoint{130, 130}));
  EXPECT_EQ(SnapToVertex(100, 100, 80, 60), (TIEViewPoint{80, 80}));
}

TEST(AnimatedPolygon, AntsRunThreeAndThreeAlongTheOutline) {
  TIEViewGeometry geometry;
  geometry.SetBounds(100, 100);
  geometry.SetImageSize(50, 50);
  geometry.Update();
  TIEAnimatedPolygon polygon;
  polygon.ColorA = MakeBGR(255, 0, 0);
  polygon.ColorB = MakeBGR(0, 0, 255);
  for (const TIEPoint& p : Rect(2, 2, 14, 8)) polygon.Add(p.X, p.Y);
  polygon.AddBreak();
  polygon.AddBreak();  // a second separator is not added
  EXPECT_EQ(polygon.Count(), 5);
  EXPECT_FALSE(polygon.IsRectangular());
  polygon.DropLastVertex();
  EXPECT_TRUE(polygon.IsRectangular());
  EXPECT_EQ(polygon.Bounds().Right, 14);

  std::vector<uint8_t> pixels(100 * 300, 0);
  TIERawTarget target{pixels.data(), 100, 100, 300};
  polygon.Phase = 1;
  polygon.DrawLines(target, geometry, false);
  auto red = [&](int x, int y) { return pixels[size_t(y * 300 + 3 * x + 2)] == 255; };
  auto blue = [&](int x, int y) { return pixels[size_t(y * 300 + 3 * x)] == 255; };
  // Top edge from (2, 2): phase 1 leaves two of colour A, then three of B.
  EXPECT_TRUE(red(2, 2) && red(3, 2));
  EXPECT_TRUE(blue(4, 2) && blue(5, 2) && blue(6, 2));
  EXPECT_TRUE(red(7, 2));
  // The closing edge runs up the left side back to the start.
  int drawn = 0;
  for (int y = 2; y <= 8; ++y) drawn += red(2, y) || blue(2, y);
  EXPECT_EQ(drawn, 7);
  EXPECT_FALSE(red(8, 5) || blue(8, 5));
}

}  // namespace
}  // namespace quillet
