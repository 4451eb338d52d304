// The ruler: grip limits, clicks on and off the grips, grips dragged across
// each other and past the ends, and the values it refuses.
#include <gtest/gtest.h>

#include "imaging/proc/ui/ruler_box.h"
#include "proc_ui/control_mouse.h"

namespace quillet {
namespace {

// A row through the grips of a default-sized ruler whatever the font.
constexpr int kGripRow = 36;

// A 300 x 40 ruler over 0..range at one pixel a unit, with grips at `at`.
struct Ruler {
  Ruler(double range, std::vector<double> at) {
    box.SetViewMax(range);
    box.SetGripsCount(int(at.size()));
    for (size_t i = 0; i < at.size(); ++i) box.SetGripPosition(int(i), at[i]);
    box.OnRulerPosChange = [this](TRulerBox*, int grip) { moves.push_back(grip); };
    box.OnRulerGripClick = [this](TRulerBox*, int grip) { clicks.push_back(grip); };
    box.OnRulerGripDblClick = [this](TRulerBox*, int grip) { doubleClicks.push_back(grip); };
    box.OnRulerClick = [this](TRulerBox*, double pos) { rulerClicks.push_back(pos); };
    box.show();
  }
  TRulerBox box;
  std::vector<int> moves, clicks, doubleClicks;
  std::vector<double> rulerClicks;
};

TEST(RulerBox, GripPositionsStayWithinTheRange) {
  Ruler r(255, {0});
  const struct {
    double ViewMax, Write, Stored;
  } cases[] = {{255, 300, 255}, {100, 150, 100}, {100, -3, 0}, {100, 42.5, 42.5}};
  for (const auto& c : cases) {
    r.box.SetViewMax(c.ViewMax);
    r.moves.clear();
    r.box.SetGripPosition(0, c.Write);
    EXPECT_EQ(r.box.GripPosition(0), c.Stored) << c.Write;
    EXPECT_EQ(r.moves, std::vector<int>{0});
  }
  r.box.SetGripPosition(1, 5);  // no such grip
  EXPECT_EQ(r.moves.size(), 1u);
}

TEST(RulerBox, ClickOffTheGripsGivesUnits) {
  for (const TRulerDir dir : {TRulerDir::rdHorizontal, TRulerDir::rdVertical}) {
    Ruler r(255, {0});
    r.box.SetRulerDir(dir);
    r.box.resize(dir == TRulerDir::rdHorizontal ? QSize(300, 40) : QSize(40, 300));
    r.box.SetFitInView(true);
    EXPECT_DOUBLE_EQ(r.box.DotPerUnit(), 300 / 255.0);
    test::Click(r.box, dir == TRulerDir::rdHorizontal ? QPoint(150, 5) : QPoint(5, 150));
    ASSERT_EQ(r.rulerClicks.size(), 1u);
    EXPECT_DOUBLE_EQ(r.rulerClicks[0], 127.5);
    EXPECT_TRUE(r.clicks.empty());
  }
}

TEST(RulerBox, TheTopmostGripTakesClicks) {
  Ruler r(255, {100, 104});
  test::Click(r.box, {101, kGripRow});  // on both
  test::Click(r.box, {95, kGripRow});   // on the first only
  test::DoubleClick(r.box, {103, kGripRow});
  EXPECT_EQ(r.clicks, (std::vector<int>{1, 0, 1, 1}));
  EXPECT_EQ(r.doubleClicks, std::vector<int>{1});
  EXPECT_TRUE(r.rulerClicks.empty());
  // Moved before the release: a drag, not a click.
  test::Press(r.box, {95, kGripRow});
  test::Move(r.box, {90, kGripRow});
  test::Release(r.box, {90, kGripRow});
  EXPECT_EQ(r.clicks.size(), 4u);
  EXPECT_EQ(r.box.GripPosition(0), 95);
}

TEST(RulerBox, AHandlerMayPushTheOtherGripAlong) {
  Ruler r(255, {50, 100});
  // As the preview dialog keeps its pair in order.
  r.box.OnRulerPosChange = [&](TRulerBox* box, int grip) {
    if (grip == 0 && box->GripPosition(0) > box->GripPosition(1)) box->SetGripPosition(1, box->GripPosition(0));
    if (grip == 1 && box->GripPosition(1) < box->GripPosition(0)) box->SetGripPosition(0, box->GripPosition(1));
  };
  test::Press(r.box, {52, kGripRow});
  test::Move(r.box, {152, kGripRow});
  test::Release(r.box, {152, kGripRow});
  EXPECT_EQ(r.box.GripPosition(0), 150);
  EXPECT_EQ(r.box.GripPosition(1), 150);
}

TEST(RulerBox, DraggingPastAnEndScrollsWhileHeld) {
  Ruler r(1000, {290});
  test::Press(r.box, {290, kGripRow});
  test::Move(r.box, {350, kGripRow});
  EXPECT_TRUE(r.box.Scrolling());
  EXPECT_EQ(r.box.GripPosition(0), 299);  // held at the view's end
  for (int i = 0; i < 5; ++i) r.box.ScrollTimerTick();
  EXPECT_EQ(r.box.ViewPos(), 5);
  EXPECT_EQ(r.box.GripPosition(0), 304);
  test::Move(r.box, {250, kGripRow});
  EXPECT_FALSE(r.box.Scrolling());
  EXPECT_EQ(r.box.GripPosition(0), 255);
  test::Move(r.box, {-20, kGripRow});
  for (int i = 0; i < 10; ++i) r.box.ScrollTimerTick();
  EXPECT_EQ(r.box.ViewPos(), 0);
  EXPECT_EQ(r.box.GripPosition(0), 0);
  test::Release(r.box, {-20, kGripRow});
  EXPECT_FALSE(r.box.Scrolling());
  r.box.ScrollTimerTick();  // a late tick after the release does nothing
  EXPECT_EQ(r.box.ViewPos(), 0);
}

TEST(RulerBox, RefusesWhatWouldNotEnd) {
  TRulerBox box;
  box.SetFrequency(0);
  box.SetFrequency(-1);
  box.SetLabelFreq(0);
  box.SetDotPerUnit(0);
  box.SetDotPerUnit(-2);
  box.SetFitInView(true);  // over the empty range 0..0
  EXPECT_EQ(box.Frequency(), 10);
  EXPECT_EQ(box.LabelFreq(), 40);
  EXPECT_EQ(box.DotPerUnit(), 1);
  box.SetFitInView(false);
  box.SetViewMax(100);  // shorter than the view
  box.SetViewPos(50);
  EXPECT_EQ(box.ViewPos(), 0);
  box.SetViewMax(1000);
  box.SetViewPos(900);
  EXPECT_EQ(box.ViewPos(), 700);
}

// Dark pixels of the ruler band right of the first label, whose edge is the
// first row dark all along.
int TickPixels(const TRulerBox& box) {
  const QImage& d = box.Drawing();
  const QColor ink = box.palette().color(QPalette::WindowText);
  int edge = 0;
  while (edge < d.height() && d.pixelColor(d.width() - 1, edge) != ink) ++edge;
  int count = 0;
  for (int y = 0; y < edge; ++y)
    for (int x = 30; x < d.width(); ++x) count += d.pixelColor(x, y) == ink;
  return count;
}

TEST(RulerBox, TicksCloserThanTwoPixelsAreLeftOut) {
  TRulerBox box;
  box.SetViewMax(10000);
  box.SetLabelFreq(1e6);
  box.SetDotPerUnit(0.15);
  EXPECT_EQ(TickPixels(box), 0);  // 1.5 pixels apart
  box.SetFrequency(20);
  EXPECT_GT(TickPixels(box), 0);  // 3 pixels apart
}

}  // namespace
}  // namespace quillet
