// The Text tool's drawing after OK: the pressed point is the bottom-left of
// the text cell, and the text goes on without a background box.
#include <limits>

#include "imaging/view/paint_tools.h"

namespace quillet {

void TPaintSteps::PlaceText(TIEPoint anchor, const std::string& text) {
  TIECanvasState& s = Canvas.State();
  s.Font = Options.Font;
  s.Font.Color = Options.PaintColor;
  const TIEBrushStyle style = s.BrushStyle;
  s.BrushStyle = TIEBrushStyle::bsClear;
  // A cell whose top lies above the 32-bit range ends above any image.
  const int64_t top = int64_t(anchor.Y) - Canvas.TextHeight(text);
  if (top >= std::numeric_limits<int32_t>::min()) Canvas.TextOut(anchor.X, int32_t(top), text);
  s.BrushStyle = style;
}

}  // namespace quillet
