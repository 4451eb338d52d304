// The colour picker: limited setters, picks on the square and the hue bar
// (none in the gap), what the square shows, and parts too small to use.
#include <gtest/gtest.h>

#include "imaging/core/math.h"
#include "imaging/proc/colour_spaces.h"
#include "imaging/proc/ui/hsv_box.h"
#include "proc_ui/control_mouse.h"

namespace quillet {
namespace {

struct Picked {
  int H, S, V;
  QColor Color;
};

QColor Rgb(TBGR c) { return QColor(c.r, c.g, c.b); }

void ExpectPicked(const THSVBox& box, const Picked& want) {
  EXPECT_EQ(box.Hue(), want.H);
  EXPECT_EQ(box.Sat(), want.S);
  EXPECT_EQ(box.Val(), want.V);
  EXPECT_EQ(box.Color(), want.Color);
}

TEST(HSVBox, SettersLimitAndConvert) {
  THSVBox box;
  EXPECT_EQ(box.size(), QSize(105, 105));
  box.SetHue(400);
  box.SetSat(150);
  box.SetVal(-5);
  ExpectPicked(box, {359, 99, 0, QColor(0, 0, 0)});
  box.SetColor(255, 0, 0);
  ExpectPicked(box, {0, 99, 99, QColor(255, 0, 0)});
  box.SetHue(120);
  ExpectPicked(box, {120, 99, 99, QColor(0, 255, 0)});
}

TEST(HSVBox, PicksOnTheSquareAndTheHueBarOnly) {
  const Picked red{0, 99, 99, QColor(255, 0, 0)};
  const struct {
    QPoint At;
    Picked Want;
    int Changes;
  } cases[] = {
      {{40, 52}, {0, 50, 49, QColor(126, 64, 64)}, 1},  // 49.5 rounds to even
      {{0, 0}, {0, 0, 99, QColor(255, 255, 255)}, 1},
      {{79, 104}, {0, 99, 0, QColor(0, 0, 0)}, 1},
      {{95, 104}, red, 1},
      {{95, 0}, {359, 99, 99, QColor(255, 0, 5)}, 1},
      {{104, 52}, {179, 99, 99, QColor(0, 255, 252)}, 1},  // 179.5 rounds to even
      {{82, 50}, red, 0},  // the gap
  };
  for (const auto& c : cases) {
    THSVBox box;
    box.SetColor(255, 0, 0);
    int changes = 0;
    box.OnChange = [&](THSVBox* sender) {
      ++changes;
      EXPECT_EQ(sender, &box);
    };
    test::Click(box, c.At);
    SCOPED_TRACE(testing::Message() << "click at " << c.At.x() << "," << c.At.y());
    ExpectPicked(box, c.Want);
    EXPECT_EQ(changes, c.Changes);
  }
}

TEST(HSVBox, DraggingStaysInThePartPressed) {
  THSVBox box;
  box.SetColor(255, 0, 0);
  test::Press(box, {10, 10});
  test::Move(box, {300, 300});  // past the hue bar and the bottom
  test::Release(box, {300, 300});
  ExpectPicked(box, {0, 99, 0, QColor(0, 0, 0)});
  test::Press(box, {100, 104});
  test::Move(box, {0, -50});  // onto the square and above the top
  ExpectPicked(box, {359, 99, 0, QColor(0, 0, 0)});
}

TEST(HSVBox, TheSquareShowsSaturationAcrossAndValueUp) {
  THSVBox box;
  box.SetColor(255, 0, 0);
  const QImage& drawing = box.Drawing();
  for (const QPoint p : {QPoint(0, 50), QPoint(40, 20), QPoint(70, 90), QPoint(60, 0)}) {
    const QColor want = Rgb(HSVToRGB(0, p.x() * 100 / 80, int(Trunc(100.0 / 105 * p.y()))));
    EXPECT_EQ(drawing.pixelColor(p.x(), 104 - p.y()), want) << p.x() << "," << p.y();
  }
  EXPECT_EQ(drawing.pixelColor(82, 50), box.Background());
  EXPECT_EQ(drawing.pixelColor(90, 104 - 52), Rgb(HSVToRGB(178, 99, 99)));  // hue trunc(360 / 105 * 52)
}

TEST(HSVBox, PartsUnderTwoPixelsAreNeitherDrawnNorPicked) {
  THSVBox box;
  box.show();
  box.SetBackground(QColor(1, 2, 3));
  int changes = 0;
  box.OnChange = [&](THSVBox*) { ++changes; };
  box.resize(26, 105);  // a square 1 pixel wide beside a whole hue bar
  test::Click(box, {0, 50});
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(box.Drawing().pixelColor(0, 50), QColor(1, 2, 3));
  test::Click(box, {10, 104});
  EXPECT_EQ(changes, 1);
  box.resize(105, 1);
  test::Click(box, {10, 0});
  test::Click(box, {100, 0});
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(box.Drawing().pixelColor(10, 0), QColor(1, 2, 3));
}

}  // namespace
}  // namespace quillet
