// Scroll bars over the fixed 0..65535 range, scroll-bar requests and the
// mouse wheel.
#include <gtest/gtest.h>

#include "imaging/view/view_geometry.h"
#include "tests/view/view_fixtures.h"

namespace quillet {
namespace {

using test::Geometry;
constexpr auto kH = TIEScrollBarKind::sbHorizontal;
constexpr auto kV = TIEScrollBarKind::sbVertical;

TIEViewGeometry WithBars(int64_t imageW, int64_t imageH, int64_t bounds, TScrollStyle style) {
  TIEViewGeometry g = Geometry(imageW, imageH, bounds, bounds);
  g.SetScrollBarExtent(16);
  g.SetScrollBars(style);
  return g;
}

TEST(ViewScrolling, BarsTakeTheirRoomAndMapTheViewOntoTheirRange) {
  TIEViewGeometry g = WithBars(1000, 1000, 216, TScrollStyle::ssBoth);
  int changes = 0;
  g.OnScrollBarsChange = [&] { ++changes; };
  EXPECT_EQ(g.ViewWidth(), 200);
  EXPECT_EQ(g.ViewHeight(), 200);
  EXPECT_EQ(g.MaxView(), (TIEViewPoint{800, 800}));
  const TIEScrollBarState& h = g.ScrollBar(kH);
  ASSERT_TRUE(h.Visible);
  EXPECT_DOUBLE_EQ(h.Scale, 1000.0 / 65536);
  EXPECT_EQ(h.Page, 13107);
  g.SetViewX(400);
  EXPECT_EQ(h.Position, 26214);
  EXPECT_EQ(changes, 1);
  g.ScrollBarMessage(kH, TIEScrollCode::scThumbPosition, 32768);
  EXPECT_EQ(g.ViewX(), 500);
}

TEST(ViewScrolling, OneBarCanBringTheOther) {
  // Fits across, but the vertical bar then leaves too little width.
  TIEViewGeometry g = WithBars(190, 300, 200, TScrollStyle::ssBoth);
  EXPECT_TRUE(g.ScrollBar(kV).Visible);
  EXPECT_TRUE(g.ScrollBar(kH).Visible);
  EXPECT_EQ(g.ViewWidth(), 184);
  EXPECT_EQ(g.MaxView(), (TIEViewPoint{6, 116}));
  // An image that fits the control without bars needs none.
  g.SetImageSize(190, 200);
  g.Update();
  EXPECT_FALSE(g.ScrollBar(kV).Visible);
  EXPECT_FALSE(g.ScrollBar(kH).Visible);
  EXPECT_EQ(g.ViewWidth(), 200);
  EXPECT_EQ(g.MaxView(), TIEViewPoint{});
}

TEST(ViewScrolling, OnlyAllowedBarsAppear) {
  TIEViewGeometry g = WithBars(1000, 1000, 216, TScrollStyle::ssHorizontal);
  EXPECT_TRUE(g.ScrollBar(kH).Visible);
  EXPECT_FALSE(g.ScrollBar(kV).Visible);
  EXPECT_EQ(g.ViewWidth(), 216);
  EXPECT_EQ(g.ViewHeight(), 200);
  g.SetScrollBars(TScrollStyle::ssNone);
  EXPECT_FALSE(g.ScrollBar(kH).Visible);
  EXPECT_EQ(g.ViewHeight(), 216);
}

TEST(ViewScrolling, RequestsStepInZoomedUnits) {
  TIEViewGeometry g = Geometry(1000, 1000, 200, 200);
  g.SetZoom(300);
  g.SetViewXY(100, 100);
  g.ScrollBarMessage(kH, TIEScrollCode::scLineDown);
  EXPECT_EQ(g.ViewX(), 103);
  g.HScrollBarParams.LineStep = 5;
  g.ScrollBarMessage(kH, TIEScrollCode::scLineUp);
  EXPECT_EQ(g.ViewX(), 88);
  g.ScrollBarMessage(kH, TIEScrollCode::scPageDown);
  EXPECT_EQ(g.ViewX(), 288);
  g.HScrollBarParams.PageStep = 2;
  g.ScrollBarMessage(kH, TIEScrollCode::scPageUp);
  EXPECT_EQ(g.ViewX(), 282);
  g.ScrollBarMessage(kV, TIEScrollCode::scBottom);
  EXPECT_EQ(g.ViewY(), 2800);
  g.ScrollBarMessage(kV, TIEScrollCode::scLineDown);
  EXPECT_EQ(g.ViewY(), 2800);  // clamped
  g.ScrollBarMessage(kV, TIEScrollCode::scTop);
  EXPECT_EQ(g.ViewY(), 0);
  g.ScrollBarMessage(kH, TIEScrollCode::scEndScroll);
  EXPECT_EQ(g.ViewX(), 282);
  g.ScrollBarMessage(kH, TIEScrollCode::scThumbTrack, 7);
  EXPECT_EQ(g.ViewX(), 7);
  g.HScrollBarParams.Tracking = false;
  g.ScrollBarMessage(kH, TIEScrollCode::scThumbTrack, 50);
  EXPECT_EQ(g.ViewX(), 7);
  g.ScrollBarMessage(kH, TIEScrollCode::scThumbPosition, 50);
  EXPECT_EQ(g.ViewX(), 50);
}

TEST(ViewScrolling, WheelZoomsByAShareOfTheZoom) {
  TIEViewGeometry g = Geometry(1000, 1000, 200, 200);
  EXPECT_TRUE(g.MouseWheel(-120));  // toward the user: in
  EXPECT_DOUBLE_EQ(g.Zoom(), 108);
  g.MouseWheel(-120);
  EXPECT_DOUBLE_EQ(g.Zoom(), 117);
  g.MouseWheel(120);
  EXPECT_DOUBLE_EQ(g.Zoom(), 108);
  g.SetZoom(1);
  g.MouseWheel(120);  // asks for 0 %, which is refused
  EXPECT_DOUBLE_EQ(g.Zoom(), 1);
  g.MouseWheelParams.InvertDirection = true;
  g.MouseWheel(120);
  EXPECT_DOUBLE_EQ(g.Zoom(), 2);
  g.MouseWheelParams.Variation = 0;
  g.MouseWheel(120);
  EXPECT_DOUBLE_EQ(g.Zoom(), 10);
}

TEST(ViewScrolling, WheelScrollsOrLeavesTheTurnToTheWidget) {
  TIEViewGeometry g = Geometry(1000, 1000, 200, 200);
  g.MouseWheelParams.Action = 1;
  EXPECT_TRUE(g.MouseWheel(-120));
  EXPECT_EQ(g.ViewY(), 16);  // 8 % of the client height
  g.MouseWheelParams.Variation = 0;
  g.MouseWheelParams.Value = 3;
  g.SetZoom(400);
  const int64_t y = g.ViewY();
  g.MouseWheel(120);
  EXPECT_EQ(g.ViewY(), y - 12);
  EXPECT_FALSE(g.MouseWheel(0));
  g.MouseWheelParams.Action = 0;
  EXPECT_FALSE(g.MouseWheel(-120));
  EXPECT_EQ(g.ViewY(), y - 12);
}

}  // namespace
}  // namespace quillet
