// The art patterns: what each point of an art line draws. A point's index n
// on its line (counted from the line's start) picks the pattern's part.
#pragma once

#include <cstdint>

#include "imaging/core/canvas.h"
#include "imaging/view/paint_tools.h"

namespace quillet {

enum class TArtPattern { apRgb, apCross, apThickness, apHerring };

// The pattern of an art pattern list index: 0-3 lines, 4-7 rectangles.
TArtPattern ArtPatternOf(int32_t index);

// The number of points after which a pattern repeats.
int64_t ArtPeriod(TArtPattern pattern);

// How far from its point a pattern's primitives reach, the pen's width aside.
constexpr int64_t kArtReach = 10;

// Dashes of 5 pixels cycling red, green, blue.
void RgbPoint(TIECanvas& canvas, int64_t n, int64_t x, int64_t y);
// A plus sign 5 pixels across at every 7th point.
void CrossPoint(TIECanvas& canvas, int64_t n, int64_t x, int64_t y);
// Ellipses 5 and 3 pixels across and a red pixel, 7 points each.
void ThicknessPoint(TIECanvas& canvas, int64_t n, int64_t x, int64_t y);
// Barbs `a` and `b`, alternating every 5 points.
void HerringPoint(TIECanvas& canvas, int64_t n, int64_t x, int64_t y, TOffset a, TOffset b);

// The herring-bone barbs of the line (x1, y1) -> (x2, y2): 8 pixels long, at
// +30 and -30 degrees from its direction, rounded half to even.
void HerringBarbs(int64_t x1, int64_t y1, int64_t x2, int64_t y2, TOffset& a, TOffset& b);

}  // namespace quillet
