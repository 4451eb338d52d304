// A small painting bench for the paint tools' steps: an image with its
// canvas, the tools' state and options, drags as the document window runs
// them (with its undo copy), and the set of pixels a step changed.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <set>
#include <utility>

#include "imaging/view/paint_tools.h"
#include "view_fixtures.h"

namespace quillet::test {

constexpr TBGR kRed{0, 0, 255}, kGreen{0, 255, 0}, kBlue{255, 0, 0};

using PointSet = std::set<std::pair<int32_t, int32_t>>;

struct Painting {
  TIEWorkingBitmap image;
  TIECanvas canvas{image};
  TPaintToolState state;
  TPaintOptions options;
  TIEWorkingBitmap undo;  // the window's undo copy

  explicit Painting(TIEWorkingBitmap start) : image(std::move(start)) {}
  Painting(int64_t w, int64_t h, TIEPixelFormat format = TIEPixelFormat::pf24bit) : image(w, h, format) {
    canvas.FillRect(0, 0, int32_t(w), int32_t(h));  // the brush starts solid white
  }

  TPaintSteps Steps() { return {canvas, state, options}; }
  TBGR At(int32_t x, int32_t y) const { return image.Pixel(x, y); }
  bool Painted(int32_t x, int32_t y) const { return At(x, y) != kWhite; }
  // A press as the window makes it: the undo copy first, unless a drag runs.
  void Press(TPaintTool tool, TIEPoint point, bool secondary = false) {
    if (!state.Dragging() && TakesUndoCopy(tool)) undo = image;
    Steps().Press(tool, point, secondary);
  }
  // A drag of `tool` through `points`, released at the last one.
  void Drag(TPaintTool tool, std::initializer_list<TIEPoint> points, bool secondary = false) {
    Press(tool, *points.begin(), secondary);
    for (auto p = points.begin() + 1; p != points.end(); ++p) Steps().Move(*p);
    Steps().Release();
  }
  // The pixels that differ from `before`.
  PointSet ChangedFrom(const TIEWorkingBitmap& before) const {
    PointSet changed;
    for (int32_t y = 0; y < image.Height(); ++y)
      for (int32_t x = 0; x < image.Width(); ++x)
        if (image.Pixel(x, y) != before.Pixel(x, y)) changed.insert({x, y});
    return changed;
  }
};

inline bool SamePixels(const TIEWorkingBitmap& a, const TIEWorkingBitmap& b) {
  for (int64_t y = 0; y < a.Height(); ++y)
    if (!std::equal(a.ScanLine(y), a.ScanLine(y) + a.RowBytes(), b.ScanLine(y))) return false;
  return true;
}

// The points of inclusive boxes {x1, y1, x2, y2}.
inline PointSet Boxes(std::initializer_list<std::array<int32_t, 4>> boxes) {
  PointSet points;
  for (const auto& b : boxes)
    for (int32_t y = b[1]; y <= b[3]; ++y)
      for (int32_t x = b[0]; x <= b[2]; ++x) points.insert({x, y});
  return points;
}

}  // namespace quillet::test
