// The paint tools' steps on small images: the art patterns' pixels, Draw's
// fills, previews that leave nothing behind, and art lines with far ends.
#include <gtest/gtest.h>

#include <cstdint>

#include "painting.h"

namespace quillet::test {
namespace {

TEST(PaintArt, RgbDashesAndCrosses) {
  Painting p(25, 8);
  p.Steps().DrawArtLine(0, 0, 15, 0);
  for (int x = 0; x < 15; ++x) EXPECT_EQ(p.At(x, 0), x < 5 ? kRed : x < 10 ? kGreen : kBlue) << x;
  EXPECT_EQ(p.At(15, 0), kWhite);

  p.options.ArtPattern = 1;
  p.Steps().DrawArtLine(0, 4, 20, 4);  // plus signs at x = 0, 7, 14
  for (int x = 0; x <= 17; ++x) {
    const bool arm = x <= 2 || (x >= 5 && x <= 9) || (x >= 12 && x <= 16);
    EXPECT_EQ(p.Painted(x, 4), arm) << x;
  }
  for (int x : {7, 14})
    for (int dy : {-2, -1, 1, 2}) EXPECT_TRUE(p.Painted(x, 4 + dy)) << x;
  EXPECT_FALSE(p.Painted(3, 5));
  EXPECT_FALSE(p.Painted(7, 7));
}

TEST(PaintArt, HerringBarbsAlternateAndTheLineIsNotDrawn) {
  Painting p(110, 20);
  p.options.ArtPattern = 3;
  p.Steps().DrawArtLine(0, 10, 100, 10);
  EXPECT_EQ(p.state.BarbA.dx, 7);
  EXPECT_EQ(p.state.BarbA.dy, 4);
  EXPECT_EQ(p.state.BarbB.dx, 7);
  EXPECT_EQ(p.state.BarbB.dy, -4);
  for (int x = 0; x < 105; ++x) EXPECT_EQ(p.Painted(x, 10), x % 5 == 0 && x < 100) << x;
  for (int x = 0; x < 100; x += 10) {
    EXPECT_TRUE(p.Painted(x + 1, 11) && p.Painted(x + 6, 13)) << "toward +y from " << x;
    EXPECT_TRUE(p.Painted(x + 6, 9) && p.Painted(x + 11, 7)) << "toward -y from " << x + 5;
    EXPECT_FALSE(p.Painted(x + 1, 9) || p.Painted(x + 6, 11)) << x;
  }
}

TEST(PaintArt, RectangleSidesRestartTheirCrossesAtTheirCorners) {
  Painting p(30, 20);
  p.options.ArtPattern = 5;
  p.Drag(TPaintTool::ptArtDraw, {{3, 3}, {15, 7}, {23, 13}});  // the box (0, 0)-(20, 10), moved by 3
  for (TIEPoint c : {TIEPoint{0, 0}, {7, 0}, {14, 0}, {0, 7}, {20, 0}, {20, 7}, {0, 10}, {7, 10}, {14, 10}})
    for (int d : {-2, 2}) EXPECT_TRUE(p.Painted(3 + c.X + d, 3 + c.Y) && p.Painted(3 + c.X, 3 + c.Y + d)) << c.X << "," << c.Y;
  EXPECT_TRUE(p.Painted(3 + 18, 3 + 7));
  EXPECT_FALSE(p.Painted(3 + 20, 3 + 10));
  EXPECT_FALSE(p.Painted(3 + 17, 3 + 4));
  EXPECT_FALSE(p.state.ArtDragging);
}

TEST(PaintDraw, RectangleFillTypes) {
  struct Case {
    int32_t fillType;
    bool centreRed, hatchRed, gapRed;
  };
  for (const Case& c : {Case{1, true, true, true}, Case{0, false, false, false}, Case{6, false, true, false}}) {
    Painting p(Numbered(40, 30));
    const TIEWorkingBitmap before = p.image;
    p.options = {.PaintColor = kBlack, .FillColor = kRed, .PenWidth = 1, .FillType = c.fillType};
    p.state.DrawKind = TDrawKind::dkRectangle;
    p.Drag(TPaintTool::ptDraw, {{10, 10}, {25, 25}, {30, 20}});
    EXPECT_EQ(p.At(10, 10), kBlack);
    EXPECT_EQ(p.At(29, 19), kBlack);
    for (TIEPoint q : {TIEPoint{30, 20}, {30, 15}, {9, 15}}) EXPECT_EQ(p.At(q.X, q.Y), before.Pixel(q.X, q.Y));
    // (20, 15) lies off the hatch; (16, 13) and (13, 16) on its lines.
    EXPECT_EQ(p.At(20, 15) == kRed, c.centreRed) << c.fillType;
    EXPECT_EQ(p.At(16, 13) == kRed && p.At(13, 16) == kRed, c.hatchRed) << c.fillType;
    EXPECT_EQ(p.At(17, 17) == kRed, c.gapRed) << c.fillType;
    if (!c.gapRed) EXPECT_EQ(p.At(17, 17), before.Pixel(17, 17));
  }
}

// Expected images: `before` with a line of width `w` drawn in `mode`.
TIEWorkingBitmap WithLine(const TIEWorkingBitmap& before, TIEPoint a, TIEPoint b, int w, TIEPenMode mode) {
  TIEWorkingBitmap out = before;
  TIECanvas c(out);
  c.State().PenWidth = w;
  c.State().PenColor = kBlack;
  c.State().PenMode = mode;
  c.MoveTo(a.X, a.Y);
  c.LineTo(b.X, b.Y);
  return out;
}

TEST(PaintDraw, PreviewsLeaveNoResidueInEitherFormat) {
  for (TIEPixelFormat format : {TIEPixelFormat::pf24bit, TIEPixelFormat::pf1bit}) {
    Painting p(Numbered(64, 40));
    p.image.SetPixelFormat(format);
    const TIEWorkingBitmap original = p.image;
    p.options.PenWidth = 5;
    p.Steps().Press(TPaintTool::ptDraw, {10, 10});
    EXPECT_TRUE(SamePixels(p.image, original)) << "a press alone draws nothing";
    p.Steps().Move({50, 10});
    p.Steps().Move({40, 30});
    EXPECT_TRUE(SamePixels(p.image, WithLine(original, {10, 10}, {40, 30}, 5, TIEPenMode::pmNotXor)));
    p.Steps().Release();
    const TIEWorkingBitmap drawn = p.image;
    EXPECT_TRUE(SamePixels(drawn, WithLine(original, {10, 10}, {40, 30}, 5, TIEPenMode::pmCopy)));

    // Art Draw previews with the wide pen Draw left, then draws its final
    // figure with a pen of 1 over nothing of the previews.
    p.options.ArtPattern = 1;
    p.Drag(TPaintTool::ptArtDraw, {{5, 35}, {60, 20}, {44, 36}});
    EXPECT_EQ(p.canvas.State().PenWidth, 1);
    Painting want(drawn);
    want.options.ArtPattern = 1;
    want.canvas.State().PenWidth = 1;
    want.Steps().DrawArtLine(5, 35, 44, 36);
    EXPECT_TRUE(SamePixels(p.image, want.image)) << int(format);
  }
}

TEST(PaintDraw, ClicksUnknownShapesAndSelectDrawNothing) {
  Painting p(Numbered(30, 20));
  const TIEWorkingBitmap original = p.image;
  p.state.MovePoint = {25, 15};  // a stale hover point
  p.Drag(TPaintTool::ptDraw, {{5, 5}});
  p.options.ArtPattern = 7;
  p.Drag(TPaintTool::ptArtDraw, {{5, 5}});
  p.state.DrawKind = TDrawKind::dkNone;
  p.Drag(TPaintTool::ptDraw, {{5, 5}, {20, 12}});
  p.Drag(TPaintTool::ptSelect, {{5, 5}, {20, 12}});
  EXPECT_TRUE(SamePixels(p.image, original));
  EXPECT_TRUE(TakesUndoCopy(TPaintTool::ptDraw) && TakesUndoCopy(TPaintTool::ptArtDraw));
  EXPECT_FALSE(TakesUndoCopy(TPaintTool::ptSelect));

  // A second press during a drag (another button) neither moves the start
  // nor strands the preview.
  p.state.DrawKind = TDrawKind::dkEllipse;
  p.Steps().Press(TPaintTool::ptDraw, {2, 2});
  p.Steps().Move({12, 9});
  p.Steps().Press(TPaintTool::ptDraw, {20, 3});
  EXPECT_EQ(p.state.PressPoint, (TIEPoint{2, 2}));
  p.Steps().Move({2, 2});
  EXPECT_TRUE(SamePixels(p.image, original));
}

TEST(PaintDraw, CanvasStatePersistsBetweenTools) {
  Painting p(30, 20);
  p.options = {.PaintColor = kBlue, .FillColor = kGreen, .PenWidth = 4, .FillType = 6};
  p.state.DrawKind = TDrawKind::dkEllipse;
  p.Drag(TPaintTool::ptDraw, {{2, 2}, {20, 15}});
  TIECanvasState& s = p.canvas.State();
  EXPECT_EQ(s.PenWidth, 4);
  EXPECT_EQ(s.PenColor, kBlue);
  EXPECT_EQ(s.BrushColor, kGreen);
  EXPECT_EQ(s.BrushStyle, TIEBrushStyle::bsCross);
  EXPECT_EQ(s.PenMode, TIEPenMode::pmCopy);
  p.Steps().Press(TPaintTool::ptArtDraw, {1, 1});
  p.Steps().Move({9, 1});
  EXPECT_EQ(s.PenMode, TIEPenMode::pmNotXor);
  EXPECT_EQ(s.PenWidth, 4);
  p.Steps().Release();
  EXPECT_EQ(s.BrushStyle, TIEBrushStyle::bsSolid);
  p.options.FillType = 0;
  p.state.DrawKind = TDrawKind::dkRectangle;
  p.Drag(TPaintTool::ptDraw, {{2, 2}, {9, 9}});
  EXPECT_EQ(s.BrushStyle, TIEBrushStyle::bsClear);
  s.SetBrushColor(kRed);
  EXPECT_EQ(s.BrushStyle, TIEBrushStyle::bsSolid);
}

// An art line whose ends lie a billion pixels out draws, in a moment, what
// a short line with the same points and counts over the image draws on a
// larger image where nothing is clipped.
TEST(PaintArt, FarEndsDrawWhatTheFullWalkDraws) {
  constexpr int32_t kFar = 1'000'000'000, kPeriods = 420, kShift = 500;  // 420: every pattern's period divides it
  for (int32_t pattern = 0; pattern < 4; ++pattern)
    for (int32_t slope : {0, 1}) {
      Painting far(40, 30), near(40 + 2 * kShift, 30 + 2 * kShift);
      far.options.ArtPattern = near.options.ArtPattern = pattern;
      far.canvas.State().PenWidth = near.canvas.State().PenWidth = 3;
      far.Steps().DrawArtLine(-kFar, 5 - slope * kFar, kFar, 5 + slope * kFar);
      // The same phase: the far line reaches x = 0 after kFar points.
      const int32_t start = -(kFar % kPeriods);
      near.Steps().DrawArtLine(kShift + start, kShift + 5 + slope * start, kShift + 60, kShift + 5 + slope * 60);
      for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
          ASSERT_EQ(far.At(x, y), near.At(kShift + x, kShift + y)) << pattern << " " << slope << " " << x << "," << y;
      EXPECT_EQ(far.state.PatternCounter, 2 * int64_t(kFar));
      if (pattern == 1 && slope == 0) {  // the pen ends at the last cross's lower arm
        const int32_t last = (2 * kFar - 1) / 7 * 7;
        EXPECT_EQ(far.canvas.State().PenPos, (TIEPoint{-kFar + last, 8}));
      }
    }
  Painting edge(8, 8);  // ends at the 32-bit limits
  for (int32_t pattern = 0; pattern < 8; ++pattern) {
    edge.options.ArtPattern = pattern;
    edge.Steps().DrawArtLine(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    edge.Steps().DrawArtFigure({INT32_MAX, INT32_MIN}, {INT32_MIN, INT32_MAX});
  }
}

}  // namespace
}  // namespace quillet::test
