// The view's geometry: zoom, fit, centring, view limits, conversions and the
// delayed-filter bookkeeping.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "imaging/view/view_geometry.h"
#include "tests/view/view_fixtures.h"

namespace quillet {
namespace {

using test::Geometry;

struct Events {
  std::vector<int> changes;
  int invalidations = 0, paints = 0;
  void Attach(TIEViewGeometry& g) {
    g.OnViewChange = [this](TIEViewGeometry*, int change) { changes.push_back(change); };
    g.OnInvalidate = [this] { ++invalidations; };
    g.OnPaintNow = [this] { ++paints; };
  }
};

TEST(ViewGeometry, NewViewWithoutImageShowsNothing) {
  TIEViewGeometry g;
  g.Update();
  g.Fit();
  EXPECT_EQ(g.Zoom(), 100);
  EXPECT_EQ(g.DisplayWidth(), 0);
  EXPECT_EQ(g.MaxView(), TIEViewPoint{});
  EXPECT_EQ(g.VisibleSource(), TIEVisibleSource{});
  EXPECT_EQ(g.ScreenToBitmapX(10), 10);
  EXPECT_TRUE(g.NeedRepaint());
}

TEST(ViewGeometry, InvalidOrUnchangedZoomIsIgnoredWithoutEvent) {
  TIEViewGeometry g = Geometry(100, 100, 50, 50);
  Events e;
  e.Attach(g);
  for (double z : {0.0, -5.0, 100.0, std::nan(""), kMaxZoom * 2}) g.SetZoom(z);
  EXPECT_EQ(g.Zoom(), 100);
  EXPECT_TRUE(e.changes.empty());
  g.SetZoom(250);
  EXPECT_EQ(g.Zoom(), 250);
  EXPECT_EQ(e.changes, std::vector<int>{kViewChangeZoom});
}

TEST(ViewGeometry, ZoomKeepsTheImagePointAtTheCentre) {
  TIEViewGeometry g = Geometry(1000, 1000, 200, 200);
  g.SetViewXY(300, 100);
  g.SetZoom(200);  // centre pixel (400, 200) stays at client (100, 100)
  EXPECT_EQ(g.ViewX(), 700);
  EXPECT_EQ(g.ViewY(), 300);
  EXPECT_EQ(g.BitmapToScreenX(400), 100);
  EXPECT_EQ(g.BitmapToScreenY(200), 100);
  g.SetZoom(50);
  EXPECT_EQ(g.ViewX(), 100);
  EXPECT_EQ(g.ScreenToBitmapX(100), 400);
  g.SetZoom(10);  // everything fits: back to the origin
  EXPECT_EQ(g.ViewX(), 0);
  EXPECT_EQ(g.ViewY(), 0);
}

TEST(ViewGeometry, ZoomingIntoAFittedImageKeepsItsCentre) {
  TIEViewGeometry g = Geometry(100, 100, 100, 100);
  ASSERT_EQ(g.MaxView(), TIEViewPoint{});
  g.SetZoom(200);
  EXPECT_EQ(g.ViewX(), 50);
  EXPECT_EQ(g.ViewY(), 50);
  EXPECT_EQ(g.ScreenToBitmapX(50), 50);
}

TEST(ViewGeometry, CentreOffsetsAndConversions) {
  TIEViewGeometry g = Geometry(100, 100, 300, 200);
  g.SetCenter(true);
  EXPECT_EQ(g.OffsetX(), 100);
  EXPECT_EQ(g.OffsetY(), 50);
  EXPECT_EQ(g.ScreenToBitmapX(100), 0);
  EXPECT_EQ(g.BitmapToScreenX(0), 100);
  EXPECT_EQ(g.DisplayWidth(), 100);
  g.SetZoom(250);  // 250 x 250 is wider than 200 rows: only x stays centred
  EXPECT_EQ(g.OffsetX(), 25);
  EXPECT_EQ(g.OffsetY(), 0);
  g.SetCenter(false);
  EXPECT_EQ(g.OffsetX(), 0);
}

TEST(ViewGeometry, ViewPositionIsClampedAndOnlyRealMovesAreReported) {
  TIEViewGeometry g = Geometry(1000, 1000, 200, 200);
  Events e;
  e.Attach(g);
  EXPECT_EQ(g.MaxView(), (TIEViewPoint{800, 800}));
  g.SetViewX(5000);
  EXPECT_EQ(g.ViewX(), 800);
  g.SetViewX(900);
  g.SetViewX(-3);
  EXPECT_EQ(g.ViewX(), 0);
  EXPECT_EQ(e.changes, (std::vector<int>{kViewChangeScroll, kViewChangeScroll}));
  EXPECT_EQ(e.paints, 2);
  // A smaller zoom lowers the limit and Update clamps the view.
  g.SetViewXY(800, 800);
  g.SetBounds(600, 600);
  EXPECT_EQ(g.ViewX(), 400);
}

TEST(ViewGeometry, FitTallWideTinyAndEmptyImages) {
  TIEViewGeometry g = Geometry(100, 1000, 200, 200);
  g.Fit();
  EXPECT_DOUBLE_EQ(g.Zoom(), 20);
  EXPECT_EQ(g.ZoomedHeight(), 200);
  g.SetImageSize(1000, 100);
  g.Update();
  g.Fit();
  EXPECT_DOUBLE_EQ(g.Zoom(), 20);
  g.SetImageSize(2, 1);
  g.Fit();
  EXPECT_DOUBLE_EQ(g.Zoom(), 10000);
  EXPECT_EQ(g.ZoomedWidth(), 200);
  g.SetImageSize(0, 0);
  g.Fit();
  EXPECT_DOUBLE_EQ(g.Zoom(), 10000);
  // The frame and the fit margins are left free.
  g.SetImageSize(100, 100);
  g.SetFrameWidth(2);
  g.SetFitMargins(5, 5);
  g.Fit();
  EXPECT_DOUBLE_EQ(g.Zoom(), 186);
}

TEST(ViewGeometry, AutoFitNeverGoesBelowOnePercent) {
  TIEViewGeometry g = Geometry(20000, 10, 100, 100);
  Events e;
  e.Attach(g);
  g.SetAutoFit(true);
  g.Update();
  EXPECT_DOUBLE_EQ(g.Zoom(), 1);
  EXPECT_EQ(e.changes, std::vector<int>{kViewChangeZoom});
  g.SetImageSize(400, 300);
  g.SetBounds(200, 150);
  EXPECT_DOUBLE_EQ(g.Zoom(), 50);
  EXPECT_EQ(g.DisplayWidth(), 200);
}

TEST(ViewGeometry, ZoomAtBringsTheClickedPixelToTheCentre) {
  TIEViewGeometry g = Geometry(1000, 1000, 200, 200);
  Events e;
  e.Attach(g);
  g.ZoomAt(50, 60, 400);
  EXPECT_EQ(g.ViewX(), 100);
  EXPECT_EQ(g.ViewY(), 140);
  EXPECT_EQ(g.BitmapToScreenX(50), 100);
  EXPECT_EQ(g.BitmapToScreenY(60), 100);
  EXPECT_EQ(e.paints, 0);  // painting waits for the end of the gesture
  EXPECT_FALSE(g.PaintLocked());
  g.SetViewXY(0, 0);
  g.ZoomAt(0, 0, 800);  // the corner pixel cannot reach the centre
  EXPECT_EQ(g.ScreenToBitmapX(0), 0);
  EXPECT_EQ(g.ViewX(), 0);
}

TEST(ViewGeometry, ConversionsRoundTripAtSeveralZooms) {
  for (double zoom : {100.0, 200.0, 300.0, 400.0, 800.0}) {
    TIEViewGeometry g = Geometry(500, 400, 120, 90);
    g.SetZoom(zoom);
    g.SetViewXY(g.MaxView().X / 2, g.MaxView().Y / 3);
    const TIEVisibleSource s = g.VisibleSource();
    for (int64_t x = s.SourceLeft; x < s.SourceLeft + s.SourceWidth; ++x)
      ASSERT_EQ(g.ScreenToBitmapX(g.BitmapToScreenX(x)), x) << zoom << " " << x;
    for (int64_t y = s.SourceTop; y < s.SourceTop + s.SourceHeight; ++y)
      ASSERT_EQ(g.ScreenToBitmapY(g.BitmapToScreenY(y)), y) << zoom << " " << y;
  }
  // Reduced, every client pixel maps to an image pixel that maps back to it.
  for (double zoom : {50.0, 33.0, 25.0, 10.0}) {
    TIEViewGeometry g = Geometry(4000, 3000, 120, 90);
    g.SetZoom(zoom);
    g.SetViewXY(37, 21);
    for (int64_t c = 0; c < 120; ++c) ASSERT_EQ(g.BitmapToScreenX(g.ScreenToBitmapX(c)), c) << zoom << " " << c;
    for (int64_t c = 0; c < 90; ++c) ASSERT_EQ(g.BitmapToScreenY(g.ScreenToBitmapY(c)), c) << zoom << " " << c;
  }
}

TEST(ViewGeometry, ImageToClientFollowsThePaintedColumnsAtOddSizes) {
  // 101 pixels at 150 % zoom to 152 (ties to even); scrolled, the first shown
  // column must land on the client's first column both ways.
  TIEViewGeometry g = Geometry(101, 10, 40, 20);
  g.SetZoom(150);
  EXPECT_EQ(g.ZoomedWidth(), 152);
  g.SetViewX(100);
  const TIEVisibleSource s = g.VisibleSource();
  EXPECT_EQ(s.SourceLeft, 66);
  EXPECT_EQ(g.ScreenToBitmapX(0), 66);
  EXPECT_EQ(g.BitmapToScreenX(66), 0);
}

TEST(ViewGeometry, VisibleSourceAtEachZoom) {
  TIEViewGeometry g = Geometry(1000, 1000, 200, 200);
  g.SetViewXY(300, 10);
  EXPECT_EQ(g.VisibleSource(), (TIEVisibleSource{300, 10, 200, 200, 200, 200}));
  g.SetZoom(50);
  g.SetViewXY(100, 0);
  EXPECT_EQ(g.VisibleSource(), (TIEVisibleSource{200, 0, 400, 400, 200, 200}));

  // Enlarged: one more column when the truncated width would leave a gap.
  TIEViewGeometry z = Geometry(100, 100, 100, 100);
  z.SetZoom(300);
  z.SetViewXY(1, 0);
  const TIEVisibleSource s = z.VisibleSource();
  EXPECT_EQ(s.SourceLeft, 0);
  EXPECT_EQ(s.SourceWidth, 34);
  EXPECT_EQ(s.DestWidth, 102);
  // At the right edge there is no further column.
  z.SetViewXY(z.MaxView().X, 0);
  const TIEVisibleSource edge = z.VisibleSource();
  EXPECT_EQ(edge.SourceLeft, 67);
  EXPECT_EQ(edge.SourceWidth, 33);
  EXPECT_EQ(edge.DestWidth, 99);
}

TEST(ViewGeometry, ScrollingWithADelayedFilterRefinesTwoTicksLater) {
  TIEViewGeometry g = Geometry(1000, 1000, 200, 200);
  g.SetZoomFilter(TResampleFilter::rfLanczos3);
  g.SetZoom(200);
  Events e;
  e.Attach(g);
  g.SetViewX(50);
  EXPECT_TRUE(g.FilterDelayed());
  EXPECT_EQ(g.ScrollCountdown(), 2);
  g.TimerTick();
  EXPECT_TRUE(g.FilterDelayed());
  EXPECT_EQ(e.invalidations, 0);
  g.TimerTick();
  EXPECT_FALSE(g.FilterDelayed());
  EXPECT_EQ(g.ScrollCountdown(), 0);
  EXPECT_EQ(e.invalidations, 1);  // the filtered repaint
  // Without the delay only the scroll countdown runs.
  g.SetDelayZoomFilter(false);
  g.SetViewX(60);
  EXPECT_FALSE(g.FilterDelayed());
  EXPECT_EQ(g.ScrollCountdown(), 2);
}

TEST(ViewGeometry, PaintLockHoldsPaintsUntilTheLastUnlock) {
  TIEViewGeometry g = Geometry(1000, 1000, 200, 200);
  Events e;
  e.Attach(g);
  g.LockPaint();
  g.LockPaint();
  g.SetViewX(10);
  g.UnlockPaint();
  EXPECT_EQ(e.paints, 0);
  EXPECT_EQ(e.invalidations, 0);
  g.UnlockPaint();
  EXPECT_EQ(e.invalidations, 1);
  g.UnlockPaint();  // unbalanced: harmless
  EXPECT_FALSE(g.PaintLocked());
}

}  // namespace
}  // namespace quillet
