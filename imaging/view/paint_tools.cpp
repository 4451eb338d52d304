// Draw previews its shape in NotXor, so that drawing the same figure again
// erases it; the final figure is drawn in Copy over the last preview, which
// covers the same pixels. Art Draw previews with the pen and brush the canvas
// holds and erases its last preview before the final figure, which has pens
// of its own. Brush, Spray and Eraser draw at each event's point, so a fast
// drag leaves gaps; only the point brush joins its points with lines.
#include "imaging/view/paint_tools.h"

#include "imaging/view/brush_shapes.h"
#include "imaging/view/paint_pixels.h"

namespace quillet {

namespace {

// The brush of a fill type list index; a brush without an entry stays solid.
TIEBrushStyle FillStyle(int32_t fillType) {
  static constexpr TIEBrushStyle kStyles[] = {
      TIEBrushStyle::bsClear,     TIEBrushStyle::bsSolid,       TIEBrushStyle::bsHorizontal,
      TIEBrushStyle::bsVertical,  TIEBrushStyle::bsFDiagonal,   TIEBrushStyle::bsBDiagonal,
      TIEBrushStyle::bsCross,     TIEBrushStyle::bsDiagCross};
  return fillType >= 0 && fillType < 8 ? kStyles[fillType] : TIEBrushStyle::bsSolid;
}

// The Draw tool's pen and brush style, in `mode`; the brush colour is left.
void SetShapePen(TIECanvasState& s, const TPaintOptions& options, TIEPenMode mode) {
  s.PenWidth = options.PenWidth;
  s.PenColor = options.PaintColor;
  s.PenStyle = TIEPenStyle::psSolid;
  s.BrushStyle = FillStyle(options.FillType);
  s.PenMode = mode;
}

void DrawShape(TIECanvas& canvas, TDrawKind kind, TIEPoint from, TIEPoint to) {
  switch (kind) {
    case TDrawKind::dkLine:
      canvas.MoveTo(from.X, from.Y);
      canvas.LineTo(to.X, to.Y);
      break;
    case TDrawKind::dkRectangle: canvas.Rectangle(from.X, from.Y, to.X, to.Y); break;
    case TDrawKind::dkEllipse: canvas.Ellipse(from.X, from.Y, to.X, to.Y); break;
    case TDrawKind::dkNone: break;
  }
}

// The brush's pen and brush in the paint colour, and its first stamp.
void PressBrush(TPaintSteps& steps, TIEPoint point) {
  TIECanvas& canvas = steps.Canvas;
  const TPaintOptions& options = steps.Options;
  TIECanvasState& s = canvas.State();
  s.SetBrushColor(options.PaintColor);
  s.PenMode = TIEPenMode::pmCopy;
  s.PenWidth = 1;
  s.PenColor = options.PaintColor;
  s.PenStyle = TIEPenStyle::psSolid;
  canvas.MoveTo(point.X, point.Y);
  // The point's stamp at a press is its pixel: there is no line yet.
  if (BrushShapeOf(options.BrushShape).Form == TBrushForm::bfPoint) canvas.SetPixel(point.X, point.Y, options.PaintColor);
  else steps.StampBrush(point.X, point.Y);
}

}  // namespace

bool TakesUndoCopy(TPaintTool tool) { return tool != TPaintTool::ptSelect && tool != TPaintTool::ptEyeDropper; }

void TPaintSteps::DrawArtFigure(TIEPoint start, TIEPoint end) {
  if (Options.ArtPattern < 4) {
    DrawArtLine(start.X, start.Y, end.X, end.Y);
    return;
  }
  const int32_t x0 = start.X, y0 = start.Y, x1 = end.X, y1 = end.Y;
  DrawArtLine(x0, y0, x1, y0);
  DrawArtLine(x0, y0, x0, y1);
  DrawArtLine(x1, y0, x1, y1);
  DrawArtLine(x0, y1, x1, y1);
}

void TPaintSteps::StampBrush(int32_t x, int32_t y) { StampShape(Canvas, BrushShapeOf(Options.BrushShape), x, y); }

void TPaintSteps::StampSpray(int32_t x, int32_t y) {
  SprayShape(Canvas, BrushShapeOf(Options.BrushShape), x, y, Options.PaintColor);
}

void TPaintSteps::Press(TPaintTool tool, TIEPoint point, bool secondary) {
  if (State.Dragging()) return;
  State.PressPoint = State.MovePoint = point;
  switch (tool) {
    case TPaintTool::ptBrush:
      PressBrush(*this, point);
      State.BrushDragging = true;
      break;
    case TPaintTool::ptSpray:
      StampSpray(point.X, point.Y);
      State.SprayDragging = true;
      break;
    case TPaintTool::ptEraser:
      EraseAt(Canvas, point, Options.FillColor);
      State.EraserDragging = true;
      break;
    case TPaintTool::ptFill:
      Canvas.State().SetBrushColor(secondary ? Options.FillColor : Options.PaintColor);
      FillRegionAt(Canvas, point);
      break;
    case TPaintTool::ptText:
      State.TextAnchor = point;
      State.TextReady = State.TextCancelled = false;
      break;
    case TPaintTool::ptDraw:
      State.ShapeDragging = true;
      Canvas.MoveTo(point.X, point.Y);
      break;
    case TPaintTool::ptArtDraw:
      State.ArtStart = State.ArtPrevious = point;
      State.ArtDragging = true;
      break;
    case TPaintTool::ptSelect:
    case TPaintTool::ptEyeDropper: break;
  }
}

void TPaintSteps::Move(TIEPoint point) {
  const auto preview = [this] {
    SetShapePen(Canvas.State(), Options, TIEPenMode::pmNotXor);
    DrawShape(Canvas, State.DrawKind, State.PressPoint, State.MovePoint);
  };
  if (State.ShapeDragging) preview();  // erases the preview at the old point
  State.MovePoint = point;
  if (State.ShapeDragging) preview();
  if (State.ArtDragging) {
    Canvas.State().PenMode = TIEPenMode::pmNotXor;
    DrawArtFigure(State.ArtStart, State.ArtPrevious);
    DrawArtFigure(State.ArtStart, State.MovePoint);
    State.ArtPrevious = State.MovePoint;
  }
  if (State.BrushDragging) StampBrush(point.X, point.Y);
  if (State.SprayDragging) StampSpray(point.X, point.Y);
  if (State.EraserDragging) EraseAt(Canvas, point, Options.FillColor);
}

void TPaintSteps::Release() {
  TIECanvasState& s = Canvas.State();
  if (State.ShapeDragging) {
    SetShapePen(s, Options, TIEPenMode::pmCopy);
    s.BrushColor = Options.FillColor;
    DrawShape(Canvas, State.DrawKind, State.PressPoint, State.MovePoint);
  }
  if (State.ArtDragging) {
    s.PenMode = TIEPenMode::pmNotXor;
    DrawArtFigure(State.ArtStart, State.ArtPrevious);
    s.PenWidth = 1;
    s.PenColor = Options.PaintColor;
    s.PenStyle = TIEPenStyle::psSolid;
    s.BrushColor = Options.FillColor;
    s.BrushStyle = TIEBrushStyle::bsSolid;
    s.PenMode = TIEPenMode::pmCopy;
    DrawArtFigure(State.ArtStart, State.MovePoint);
  }
  State.ShapeDragging = State.ArtDragging = State.BrushDragging = State.SprayDragging = State.EraserDragging = false;
}

}  // namespace quillet
