// What the view paints behind and around the image: TIEBackgroundStyle and
// its painter over a 24-bit client buffer, and the fit margins each style needs.
#pragma once

#include <cstdint>

#include "imaging/core/canvas_state.h"
#include "imaging/core/colors.h"
#include "imaging/core/mask.h"
#include "imaging/view/view_rect.h"

namespace quillet {

enum class TIEBackgroundStyle {
  iebsSolid,
  iebsHorizontal,
  iebsVertical,
  iebsFDiagonal,
  iebsBDiagonal,
  iebsCross,
  iebsDiagCross,
  iebsChessboard,
  iebsDiagonals,
  iebsCropped,
  iebsCropShadow
};

struct TIEBackgroundParams {
  TIEBackgroundStyle Style = TIEBackgroundStyle::iebsSolid;
  TBGR Color;
  int64_t ChessboardSize = 16;
  TIEBrushStyle ChessboardBrushStyle = TIEBrushStyle::bsSolid;
  // Where the image is shown: the cropped styles frame it.
  TIERect Image;
};

// Paints the style over the whole target as the area, writing only inside clip.
// Hatches, chessboard and diagonals are anchored at the target's origin.
void PaintBackground(TIERawTarget& target, const TIERect& clip, const TIEBackgroundParams& params);

// The grey of the soft shadow at step i (0 next to the image) of its width.
int ShadowLevel(int64_t step);
constexpr int64_t kShadowWidth = 5;

// Room that fitting leaves around the image so that the frame stays visible.
struct TIEFitMargins {
  int64_t X = 0, Y = 0;
};
TIEFitMargins FitMargins(TIEBackgroundStyle style);

}  // namespace quillet
