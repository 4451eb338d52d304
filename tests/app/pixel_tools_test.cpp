// Brush, Spray, Eraser, Fill and Eye Dropper in the editor: what a stroke
// paints in which colour, one undo step, the mouse left to the tool, and
// presses off the image.
#include <cstdlib>
#include <functional>

#include "painting_fixture.h"

namespace quillet::test {
namespace {

const QColor kRed(255, 0, 0), kBlue(0, 0, 255);

TBGR BGR(const QColor& c) { return MakeBGR(uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue())); }

struct Stroke {
  const char* Name;
  const char* Tool;
  const char* Shape;  // the brush panel's button
  QColor Color;
  // The pixels one event paints, by offset from its point.
  std::function<bool(int dx, int dy)> Covers;
};

// A press at (10, 10), a move to (30, 20) and a release on a white image,
// after the Select tool had the view select.
TEST(PixelTools, StrokesPaintTheirShapeInTheirColourAndUndoInOneStep) {
  const Stroke strokes[] = {
      {"brush, medium square", "SpeedButton2", "SpeedButton17", kRed,
       [](int dx, int dy) { return std::abs(dx) <= 3 && std::abs(dy) <= 3; }},
      {"spray, small square", "SpeedButton7", "SpeedButton16", kRed,
       [](int dx, int dy) { return std::abs(dx) == 1 && std::abs(dy) == 1; }},
      {"eraser, whatever the shape", "SpeedButton6", "SpeedButton30", kBlue,
       [](int dx, int dy) { return dx >= -5 && dx < 5 && dy >= -5 && dy < 5; }}};
  for (const Stroke& s : strokes) {
    SCOPED_TRACE(s.Name);
    Painting p(TPaper{.Pattern = false});
    p.Swatches(kRed, kBlue);
    p.Control<QToolButton>("SpeedButton5")->click();
    p.Control<QToolButton>(s.Tool)->click();
    p.Control<QToolButton>(s.Shape)->click();
    EXPECT_EQ(p.view->MouseInteract(), 0);
    p.Press(10, 10);
    p.Drag(30, 20);
    p.Release(30, 20);
    EXPECT_FALSE(p.view->Selection().SelectionExists());
    for (int32_t y = 0; y < 60; ++y)
      for (int32_t x = 0; x < 80; ++x) {
        const bool painted = s.Covers(x - 10, y - 10) || s.Covers(x - 30, y - 20);
        ASSERT_EQ(p.view->Bitmap().Pixel(x, y), painted ? BGR(s.Color) : kWhite) << x << "," << y;
      }
    p.e.frame.Undo1Click();
    EXPECT_TRUE(p.Changed().empty());
  }
}

// A black box outline: the left button fills inside in the paint colour, the
// right one outside in the fill colour; a press off the image only takes the
// undo copy.
TEST(PixelTools, FillsTheRegionInTheButtonsColour) {
  Painting p(TPaper{.Pattern = false});
  {
    TIECanvas canvas(p.view->Bitmap());
    canvas.State().BrushStyle = TIEBrushStyle::bsClear;
    canvas.Rectangle(5, 5, 15, 15);
  }
  p.Swatches(kRed, kBlue);
  p.Control<QToolButton>("SpeedButton4")->click();
  p.Click(10, 10);
  p.Click(0, 0, Qt::RightButton);
  for (int32_t y = 0; y < 60; ++y)
    for (int32_t x = 0; x < 80; ++x) {
      const bool inside = x > 5 && x < 14 && y > 5 && y < 14;
      const bool outline = !inside && x >= 5 && x < 15 && y >= 5 && y < 15;
      ASSERT_EQ(p.view->Bitmap().Pixel(x, y), outline ? kBlack : inside ? BGR(kRed) : BGR(kBlue)) << x << "," << y;
    }
  p.e.frame.Undo1Click();
  ASSERT_FALSE(p.e.frame.EditorState.UndoAvailable);
  p.original = p.view->Bitmap();
  p.Click(200, 100);  // beside the 80 x 60 image in the view
  EXPECT_TRUE(p.Changed().empty());
  EXPECT_TRUE(p.e.frame.EditorState.UndoAvailable);
}

// The right button picks the fill colour, the left one the paint colour;
// neither takes an undo copy, and off the image nothing is picked.
TEST(PixelTools, EyeDropperSetsTheButtonsSwatch) {
  Painting p(TPaper{.Pattern = false});
  {
    TIECanvas canvas(p.view->Bitmap());
    canvas.SetPixel(20, 20, BGR(kRed));
    canvas.SetPixel(21, 20, BGR(kBlue));
  }
  TColorSwatch* paint = p.Control<TColorSwatch>("BasicColor");
  TColorSwatch* fill = p.Control<TColorSwatch>("AddColor");
  p.Control<QToolButton>("SpeedButton5")->click();
  p.Control<QToolButton>("SpeedButton8")->click();
  EXPECT_EQ(p.view->MouseInteract(), 0);
  p.Click(20, 20, Qt::RightButton);
  EXPECT_EQ(fill->Color(), kRed);
  EXPECT_EQ(paint->Color(), QColor(Qt::black));
  EXPECT_FALSE(p.e.frame.EditorState.UndoAvailable);
  p.Click(21, 20);
  EXPECT_EQ(paint->Color(), kBlue);
  p.Click(200, 100);
  p.Click(200, 100, Qt::MiddleButton);
  EXPECT_EQ(paint->Color(), kBlue);
  EXPECT_EQ(fill->Color(), kRed);
  EXPECT_FALSE(p.e.frame.EditorState.UndoAvailable);
  EXPECT_FALSE(p.view->Selection().SelectionExists());
  EXPECT_EQ(p.Changed().size(), 2u);  // only the two pixels set above
}

}  // namespace
}  // namespace quillet::test
