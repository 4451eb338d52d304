// The desktop's control colours the view paints with: the button face behind
// images by default and the shades of a sunken 3-D edge.
#pragma once

#include "imaging/core/colors.h"

namespace quillet {

struct TIEViewSystemColors {
  TBGR ButtonFace = MakeBGR(240, 240, 240);
  TBGR ButtonShadow = MakeBGR(160, 160, 160);
  TBGR ButtonDarkShadow = MakeBGR(105, 105, 105);
  TBGR ButtonLight = MakeBGR(227, 227, 227);
  TBGR ButtonHighlight = MakeBGR(255, 255, 255);
};

// The engine-wide record; the GUI sets it from its palette at start-up.
const TIEViewSystemColors& ViewSystemColors();
void SetViewSystemColors(const TIEViewSystemColors& colors);

}  // namespace quillet
