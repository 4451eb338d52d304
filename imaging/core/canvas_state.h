// The drawing state a working bitmap keeps between operations: pen, brush,
// font, pen position and mix mode. Painting code applies it per operation.
#pragma once

#include <string>

#include "imaging/core/colors.h"

namespace quillet {

enum class TIEPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
enum class TIEPenMode { pmCopy, pmNotXor };
enum class TIEBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

struct TIEFontDesc {
  std::string Name = "Sans Serif";
  int Size = 8;  // points
  bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
  TBGR Color = kBlack;
};

struct TIEPoint {
  int32_t X = 0, Y = 0;
  friend bool operator==(const TIEPoint&, const TIEPoint&) = default;
};

struct TIECanvasState {
  TBGR PenColor = kBlack;
  int PenWidth = 1;
  TIEPenStyle PenStyle = TIEPenStyle::psSolid;
  TIEPenMode PenMode = TIEPenMode::pmCopy;
  TBGR BrushColor = kWhite;
  TIEBrushStyle BrushStyle = TIEBrushStyle::bsSolid;
  TIEFontDesc Font;
  TIEPoint PenPos;

  // Giving a clear brush a colour makes it solid, as a canvas does.
  void SetBrushColor(const TBGR& c) {
    BrushColor = c;
    if (BrushStyle == TIEBrushStyle::bsClear) BrushStyle = TIEBrushStyle::bsSolid;
  }
};

}  // namespace quillet
