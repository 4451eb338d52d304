// TIEAnimatedPolygon: the outline of a view's selection in image pixels,
// sub-polygons split by separators, drawn as marching ants.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/core/canvas_state.h"
#include "imaging/core/colors.h"
#include "imaging/core/mask.h"

namespace quillet {

class TIEViewGeometry;

struct TIEPolygonBounds {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

class TIEAnimatedPolygon {
 public:
  static constexpr int32_t kBreak = TIEMask::kPolygonBreak;

  TBGR ColorA = kBlack, ColorB = kWhite;
  bool Animated = true, Sizeable = true, Visible = true;
  int Phase = 0;  // 0..5

  const std::vector<TIEPoint>& Points() const { return points_; }
  int32_t Count() const { return int32_t(points_.size()); }
  bool Empty() const { return points_.empty(); }
  const TIEPolygonBounds& Bounds() const { return bounds_; }

  void Add(int32_t x, int32_t y);
  // A separator, unless there are no points or the last one already is one.
  void AddBreak();
  void Clear();
  // Drops the points after the last separator (all of them when there is none).
  void RemoveBackToBreak();
  // Drops the last point, then any separators left at the end.
  void DropLastVertex();
  // Every vertex by (dx, dy), clamped to 0..width and 0..height.
  void Translate(int32_t dx, int32_t dy, int32_t width, int32_t height);
  // Exactly four points whose edges alternate horizontal and vertical.
  bool IsRectangular() const;
  void AdvancePhase() { Phase = (Phase + 1) % 6; }

  // The edges on the client: 3 pixels ColorA, 3 ColorB, from Phase on along
  // the whole outline; the closing edges too unless `open`.
  void DrawLines(TIERawTarget& target, const TIEViewGeometry& view, bool open) const;

 private:
  void Grow(int32_t x, int32_t y);

  std::vector<TIEPoint> points_;
  TIEPolygonBounds bounds_;
  bool hasVertex_ = false;
};

}  // namespace quillet
