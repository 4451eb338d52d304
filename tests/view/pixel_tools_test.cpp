// Brush, Spray, Eraser, Fill, Eye Dropper and Text on small images: the exact
// pixels of every stamp and spray pattern, the point brush's continuous
// stroke, erasing and filling through a leftover hatch, and text placed with
// its cell's bottom-left at the pressed point.
#include <gtest/gtest.h>

#include <climits>

#include "painting.h"

namespace quillet::test {
namespace {

// A pixel set along a diagonal through (10, 10): (10 + d, 10 + step * d), |d| <= r.
PointSet Diagonal(int32_t r, int32_t step) {
  PointSet points;
  for (int32_t d = -r; d <= r; ++d) points.insert({10 + d, 10 + step * d});
  return points;
}

Painting White30() {
  Painting p(30, 30);
  p.options.PaintColor = kRed;
  p.options.FillColor = kBlue;
  return p;
}

// Every shape's stamp at (10, 10), and how many spray dots it sets.
TEST(PaintBrush, EveryStampSetsExactlyItsPixels) {
  struct Case {
    int32_t shape;
    PointSet stamp;
    size_t dots;
  };
  const Case cases[] = {
      {0, Boxes({{10, 10, 10, 10}}), 1},
      {1, Boxes({{9, 10, 12, 11}, {10, 9, 11, 12}}), 3},  // 4 x 4 without its corners, not centred
      {2, Boxes({{7, 9, 13, 11}, {9, 7, 11, 13}, {8, 8, 12, 12}}), 12},
      {3, Boxes({{5, 8, 15, 12}, {8, 5, 12, 15}, {6, 7, 14, 13}, {7, 6, 13, 14}}), 32},
      {4, Boxes({{9, 9, 11, 11}}), 4},
      {5, Boxes({{7, 7, 13, 13}}), 16},
      {6, Boxes({{5, 5, 15, 15}}), 36},
      {7, Boxes({{10, 9, 10, 11}}), 2},
      {8, Boxes({{10, 7, 10, 13}}), 4},
      {9, Boxes({{10, 5, 10, 15}}), 6},
      {10, Boxes({{9, 10, 11, 10}}), 2},
      {11, Boxes({{7, 10, 13, 10}}), 4},
      {12, Boxes({{5, 10, 15, 10}}), 6},
      {13, Diagonal(1, -1), 2},
      {14, Diagonal(3, -1), 4},
      {15, Diagonal(5, -1), 6},
      {16, Diagonal(1, 1), 2},
      {17, Diagonal(3, 1), 4},
      {18, Diagonal(5, 1), 6},
  };
  for (const Case& c : cases) {
    Painting p = White30();
    const TIEWorkingBitmap white = p.image;
    p.options.BrushShape = c.shape;
    p.Drag(TPaintTool::ptBrush, {{10, 10}});
    EXPECT_EQ(p.ChangedFrom(white), c.stamp) << c.shape;
    for (const auto& [x, y] : p.ChangedFrom(white)) EXPECT_EQ(p.At(x, y), kRed) << c.shape;
    EXPECT_FALSE(p.state.BrushDragging);

    // Spray: the fixed dots at odd offsets within the stamp's columns; a second
    // event sets the same ones.
    Painting s = White30();
    s.options.BrushShape = c.shape;
    s.Drag(TPaintTool::ptSpray, {{10, 10}});
    const PointSet dots = s.ChangedFrom(white);
    EXPECT_EQ(dots.size(), c.dots) << c.shape;
    const auto odd = [](int32_t v) { return v == 10 || (v - 10) % 2 != 0; };
    const auto [lo, hi] = std::minmax_element(c.stamp.begin(), c.stamp.end());
    for (const auto& [x, y] : dots) {
      EXPECT_TRUE(odd(x) && odd(y) && x >= lo->first && x <= hi->first) << c.shape << ": " << x << "," << y;
      EXPECT_EQ(s.At(x, y), kRed);
    }
    s.Drag(TPaintTool::ptSpray, {{10, 10}});
    EXPECT_EQ(s.ChangedFrom(white), dots) << c.shape;
    EXPECT_FALSE(s.state.SprayDragging);
  }
}

TEST(PaintSpray, DotsOfTheSmallShapesAndAPointDrag) {
  for (const auto& [shape, want] : {std::pair{1, PointSet{{9, 9}, {11, 9}, {9, 11}}},
                                    std::pair{4, PointSet{{9, 9}, {11, 9}, {9, 11}, {11, 11}}}}) {
    Painting p = White30();
    const TIEWorkingBitmap white = p.image;
    p.options.BrushShape = shape;
    p.Drag(TPaintTool::ptSpray, {{10, 10}});
    EXPECT_EQ(p.ChangedFrom(white), want) << shape;
  }
  // One dot per event, with gaps; the pen and brush are untouched.
  Painting p = White30();
  const TIEWorkingBitmap white = p.image;
  const TIECanvasState before = p.canvas.State();
  p.Drag(TPaintTool::ptSpray, {{2, 2}, {5, 2}, {9, 4}, {12, 8}, {20, 8}, {25, 25}});
  EXPECT_EQ(p.ChangedFrom(white), (PointSet{{2, 2}, {5, 2}, {9, 4}, {12, 8}, {20, 8}, {25, 25}}));
  EXPECT_EQ(p.canvas.State().PenColor, before.PenColor);
  EXPECT_EQ(p.canvas.State().BrushColor, before.BrushColor);
}

TEST(PaintBrush, PointBrushJoinsItsPointsAndOneDragIsOneUndoStep) {
  Painting p = White30();
  const TIEWorkingBitmap white = p.image;
  p.Drag(TPaintTool::ptBrush, {{10, 10}, {15, 10}, {15, 15}});
  EXPECT_EQ(p.ChangedFrom(white), Boxes({{10, 10, 14, 10}, {15, 10, 15, 14}}));

  // Ten moves with a wide shape; the press's copy restores the image.
  Painting q = White30();
  q.canvas.State().PenWidth = 9;
  q.canvas.State().PenMode = TIEPenMode::pmNotXor;
  q.options.BrushShape = 17;
  const TIEWorkingBitmap before = q.image;
  q.Drag(TPaintTool::ptBrush, {{3, 3}, {5, 4}, {7, 5}, {9, 6}, {11, 7}, {13, 8}, {15, 9}, {17, 10}, {19, 11}, {21, 12}, {23, 13}});
  EXPECT_EQ(q.At(23, 13), kRed) << "the press set a pen of 1 in Copy";
  EXPECT_FALSE(q.Painted(24, 12));
  EXPECT_TRUE(SamePixels(q.undo, before));
  EXPECT_EQ(q.canvas.State().PenWidth, 1);
}

// A rectangle drawn with " Cross Fill" leaves the brush hatched: stamps and
// fills paint only the hatch, the eraser still paints its whole square.
TEST(PaintBrush, LeftoverHatchShowsInStampsAndFillsButNotTheEraser) {
  const auto hatched = [] {
    Painting p = White30();
    p.options.FillType = 6;
    p.options.PaintColor = p.options.FillColor = kWhite;
    p.state.DrawKind = TDrawKind::dkRectangle;
    p.Drag(TPaintTool::ptDraw, {{0, 0}, {0, 0}});  // an empty box: nothing drawn
    p.options.PaintColor = kRed;
    p.options.FillColor = kBlue;
    return p;
  };
  Painting stamp = hatched();
  stamp.options.BrushShape = 6;
  stamp.Drag(TPaintTool::ptBrush, {{10, 10}});
  Painting fill = hatched();
  fill.Drag(TPaintTool::ptFill, {{10, 10}});
  for (int32_t y = 0; y < 30; ++y)
    for (int32_t x = 0; x < 30; ++x) {
      const bool onHatch = x % 8 == 0 || y % 8 == 0;
      EXPECT_EQ(stamp.At(x, y), onHatch && x >= 5 && x <= 15 && y >= 5 && y <= 15 ? kRed : kWhite) << x << "," << y;
      EXPECT_EQ(fill.At(x, y), onHatch ? kRed : kWhite) << x << "," << y;
    }

  Painting erase = hatched();
  const TIEWorkingBitmap white = erase.image;
  erase.options.BrushShape = 6;
  erase.Drag(TPaintTool::ptEraser, {{10, 10}, {-2, 28}, {INT32_MAX, INT32_MIN}});
  EXPECT_EQ(erase.ChangedFrom(white), Boxes({{5, 5, 14, 14}, {0, 23, 2, 29}}));
  EXPECT_EQ(erase.At(5, 5), kBlue);
  EXPECT_EQ(erase.canvas.State().BrushStyle, TIEBrushStyle::bsCross);
  EXPECT_EQ(erase.canvas.State().BrushColor, kBlue);
  EXPECT_FALSE(erase.state.EraserDragging);
}

// A 20 x 20 white image with a black outline from (5, 5) to (14, 14).
Painting Outlined() {
  Painting p(20, 20);
  p.canvas.State().BrushStyle = TIEBrushStyle::bsClear;
  p.canvas.Rectangle(5, 5, 15, 15);
  p.options.PaintColor = kRed;
  p.options.FillColor = kBlue;
  return p;
}

TEST(PaintFill, RegionsStopAtOutlinesBordersAndCorners) {
  Painting inside = Outlined();
  const TIEWorkingBitmap start = inside.image;
  inside.Drag(TPaintTool::ptFill, {{10, 10}});
  EXPECT_EQ(inside.ChangedFrom(start), Boxes({{6, 6, 13, 13}}));
  EXPECT_EQ(inside.At(6, 6), kRed);

  Painting outside = Outlined();
  outside.Drag(TPaintTool::ptFill, {{0, 0}}, true);
  PointSet ring = Boxes({{0, 0, 19, 19}});
  for (const auto& p : Boxes({{5, 5, 14, 14}})) ring.erase(p);
  EXPECT_EQ(outside.ChangedFrom(start), ring);
  EXPECT_EQ(outside.At(19, 19), kBlue);
  EXPECT_EQ(outside.At(5, 5), kBlack);

  // Two white squares meeting at one corner are two regions.
  Painting corner(10, 10);
  corner.canvas.State().BrushColor = kBlack;
  corner.canvas.FillRect(5, 0, 10, 5);
  corner.canvas.FillRect(0, 5, 5, 10);
  const TIEWorkingBitmap squares = corner.image;
  corner.options.PaintColor = kGreen;
  corner.Drag(TPaintTool::ptFill, {{0, 0}});
  EXPECT_EQ(corner.ChangedFrom(squares), Boxes({{0, 0, 4, 4}}));

  // The region's own colour, and presses outside, change nothing.
  Painting same = Outlined();
  same.options.PaintColor = kWhite;
  for (TIEPoint q : {TIEPoint{10, 10}, {-1, 3}, {20, 0}, {INT32_MIN, INT32_MAX}}) same.Drag(TPaintTool::ptFill, {q});
  EXPECT_TRUE(SamePixels(same.image, start));
  EXPECT_TRUE(TakesUndoCopy(TPaintTool::ptFill));
}

TEST(PaintEyeDropper, PicksInsideTheImageOnly) {
  for (TIEPixelFormat format : {TIEPixelFormat::pf24bit, TIEPixelFormat::pf1bit}) {
    Painting p(8, 6, format);
    p.canvas.SetPixel(3, 2, kRed);
    const TIEWorkingBitmap before = p.image;
    p.Drag(TPaintTool::ptEyeDropper, {{3, 2}});
    EXPECT_TRUE(SamePixels(p.image, before));
    EXPECT_EQ(PickColor(p.canvas, {3, 2}), format == TIEPixelFormat::pf24bit ? kRed : kBlack);
    EXPECT_EQ(PickColor(p.canvas, {7, 5}), kWhite);
    for (TIEPoint q : {TIEPoint{-1, 0}, {8, 0}, {0, 6}, {INT32_MAX, INT32_MIN}}) EXPECT_FALSE(PickColor(p.canvas, q));
  }
  EXPECT_FALSE(TakesUndoCopy(TPaintTool::ptEyeDropper));
}

// The longest run of set pixels in row y.
int64_t LongestRun(const Painting& p, int32_t y) {
  int64_t longest = 0, run = 0;
  for (int32_t x = 0; x < p.image.Width(); ++x) longest = std::max(longest, run = p.Painted(x, y) ? run + 1 : 0);
  return longest;
}

// "Hi" placed at (50, 100) in DejaVu Sans 24, underlined, on both formats.
TEST(PaintText, CellBottomLeftAtThePressedPointInThePaintColour) {
  for (TIEPixelFormat format : {TIEPixelFormat::pf24bit, TIEPixelFormat::pf1bit}) {
    size_t count[2] = {};
    for (bool bold : {false, true}) {
      Painting p(200, 200, format);
      p.options.PaintColor = format == TIEPixelFormat::pf24bit ? kBlue : kBlack;
      p.options.Font = {.Name = "DejaVu Sans", .Size = 24, .Bold = bold, .Underline = true};
      p.canvas.State().BrushStyle = TIEBrushStyle::bsCross;
      const TIEWorkingBitmap white = p.image;
      p.state.TextReady = p.state.TextCancelled = true;
      p.Drag(TPaintTool::ptText, {{50, 100}});
      EXPECT_TRUE(SamePixels(p.image, white)) << "a press only anchors the text";
      EXPECT_EQ(p.state.TextAnchor, (TIEPoint{50, 100}));
      EXPECT_FALSE(p.state.TextReady || p.state.TextCancelled);

      p.Steps().PlaceText(p.state.TextAnchor, "");
      EXPECT_TRUE(SamePixels(p.image, white)) << "empty text";
      p.Steps().PlaceText(p.state.TextAnchor, "Hi");
      const int64_t h = p.canvas.TextHeight("Hi"), w = p.canvas.TextWidth("Hi");
      EXPECT_EQ(h, 38) << "24 points at 96 dpi are 32 pixels, ascent and descent rounded up";
      const PointSet changed = p.ChangedFrom(white);
      count[bold] = changed.size();
      EXPECT_LT(changed.size(), size_t(h * w / 2)) << "no box";
      for (const auto& [x, y] : changed) {
        EXPECT_EQ(p.At(x, y), p.options.PaintColor);
        EXPECT_TRUE(x >= 50 && y >= 100 - h && y < 100) << x << "," << y;
      }
      int64_t underline = 0;
      for (int32_t y = int32_t(100 - h / 2); y < 100; ++y) underline = std::max(underline, LongestRun(p, y));
      EXPECT_GE(underline, w - 2);
      EXPECT_EQ(p.canvas.State().BrushStyle, TIEBrushStyle::bsCross);
      // Anchors at the 32-bit limits draw nothing and do not overflow.
      const TIEWorkingBitmap drawn = p.image;
      for (TIEPoint q : {TIEPoint{INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX}, {0, INT32_MIN + 5}})
        p.Steps().PlaceText(q, "Hi");
      EXPECT_TRUE(SamePixels(p.image, drawn));
    }
    EXPECT_GT(count[1], count[0]) << "bold sets more pixels";
  }
}

}  // namespace
}  // namespace quillet::test
