// The paint tools' steps, fed with image points: what one press, move or
// release does to the image's canvas and to the tools' shared state. The
// document window converts its mouse events and reads the option controls;
// the command line runs the same steps from a script.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "imaging/core/canvas.h"
#include "imaging/core/canvas_state.h"
#include "imaging/core/colors.h"

namespace quillet {

enum class TDrawKind { dkNone, dkLine, dkRectangle, dkEllipse };

struct TOffset {
  int32_t dx = 0, dy = 0;
};

// The tools' state, shared by all documents (the editor's state includes it).
struct TPaintToolState {
  TDrawKind DrawKind = TDrawKind::dkLine;
  bool ShapeDragging = false, BrushDragging = false, EraserDragging = false, SprayDragging = false,
       ArtDragging = false;
  TIEPoint PressPoint, MovePoint, ArtStart, ArtPrevious, TextAnchor;
  // The Text tool's window: what OK gave, and whether OK or Cancel was pressed
  // since the last Text press.
  std::string TextToPlace;
  bool TextReady = false, TextCancelled = false;
  int64_t PatternCounter = 0;
  TOffset BarbA, BarbB;

  // Whether a press has started a drag that no release has ended yet.
  bool Dragging() const { return ShapeDragging || BrushDragging || EraserDragging || SprayDragging || ArtDragging; }
};

// The option controls' values.
struct TPaintOptions {
  TBGR PaintColor = kBlack, FillColor = kWhite;
  int32_t PenWidth = 1;    // 1 to 100
  int32_t FillType = 0;    // index of the fill type list, 0 = no fill
  int32_t ArtPattern = 0;  // index of the art pattern list
  int32_t BrushShape = 0;  // 0 to 18: the brush panel's buttons from the left
  TIEFontDesc Font;        // the text panel's font; its colour is unused
};

enum class TPaintTool { ptSelect, ptDraw, ptArtDraw, ptBrush, ptSpray, ptEraser, ptFill, ptEyeDropper, ptText };

constexpr int32_t kBrushShapeCount = 19;

// Whether a press of the tool first takes an undo copy.
bool TakesUndoCopy(TPaintTool tool);

// One mouse event's tool steps, in the window's order. Points are image pixels.
struct TPaintSteps {
  TIECanvas& Canvas;
  TPaintToolState& State;
  const TPaintOptions& Options;

  // A press while a drag runs (a second button) is ignored, so the window
  // takes no undo copy then: check State.Dragging() first.
  // `secondary` is a right or middle button: Fill then paints in the fill
  // colour. An Eye Dropper press changes nothing here (see PickColor); a Text
  // press only anchors the text and forgets a pending OK or Cancel.
  void Press(TPaintTool tool, TIEPoint point, bool secondary = false);
  void Move(TIEPoint point);
  void Release();

  // One pattern line of the current art pattern, start included, end excluded.
  void DrawArtLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  // The current art pattern's figure from `start` to `end`: one line, or the
  // four sides of the box, each starting its pattern at its own first corner.
  void DrawArtFigure(TIEPoint start, TIEPoint end);

  // The brush shape's stamp and spray dots around (x, y), in the canvas's pen
  // and brush and the paint colour. The point's stamp is the width-1 line from
  // the pen position to (x, y) (a Brush press sets the pixel instead).
  void StampBrush(int32_t x, int32_t y);
  void StampSpray(int32_t x, int32_t y);

  // The Text tool's tick after OK: `text` in the options' font and the paint
  // colour, with a clear brush, the cell's bottom-left at `anchor`; the brush
  // style is restored after.
  void PlaceText(TIEPoint anchor, const std::string& text);
};

// The Eye Dropper: the colour under `point`, none outside the image.
std::optional<TBGR> PickColor(const TIECanvas& canvas, TIEPoint point);

}  // namespace quillet
