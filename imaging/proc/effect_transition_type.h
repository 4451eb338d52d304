// The transitions a view can animate from one image to the next. The views
// keep one as a property; nothing animates them, so they stay at iettNone.
#pragma once

namespace quillet {

enum class TIETransitionType {
  iettNone,
  iettCrossDissolve,
  iettFadeOut,
  iettFadeIn,
  iettFadeOutIn,
  iettLeftRight1,
  iettLeftRight2,
  iettRightLeft1,
  iettRightLeft2,
  iettUpDown1,
  iettUpDown2,
  iettDownUp1,
  iettDownUp2,
  iettFromUpLeft,
  iettFromUpRight,
  iettFromBottomLeft,
  iettFromBottomRight,
  iettMoveLeftRight1,
  iettMoveLeftRight2,
  iettMoveRightLeft1,
  iettMoveRightLeft2,
  iettMoveUpDown1,
  iettMoveUpDown2,
  iettMoveDownUp1,
  iettMoveDownUp2,
  iettRandomPoints,
  iettRandomBoxes,
  iettCenter1,
  iettCenter2,
  iettCenterZoom1,
  iettCenterZoom2,
};

}  // namespace quillet
