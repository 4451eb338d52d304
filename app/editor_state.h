// EditorState: the record the frame and the document windows share, with
// the initial values the editor starts from.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "imaging/core/canvas_state.h"
#include "imaging/core/working_bitmap.h"

namespace quillet {

enum class TCreationMode { cmNone, cmNew, cmOpen, cmAcquire, cmFromClipboard };
enum class TDrawKind { dkNone, dkLine, dkRectangle, dkEllipse };

struct TOffset {
  int32_t dx = 0, dy = 0;
};

struct TEditorState {
  int32_t CurrentZoom = 100;
  bool UndoAvailable = false;
  bool HasSelection = false;
  TCreationMode PendingCreation = TCreationMode::cmNone;
  int32_t NewImageWidth = 100, NewImageHeight = 100;
  TIEPixelFormat NewImageFormat = TIEPixelFormat::pf24bit;
  int32_t ResizeBaseWidth = 1, ResizeBaseHeight = 1;
  TDrawKind DrawKind = TDrawKind::dkLine;
  std::string TextToPlace;
  bool TextReady = false, TextCancelled = false;
  std::unique_ptr<TIEWorkingBitmap> BwResult;
  bool ShapeDragging = false, BrushDragging = false, EraserDragging = false, SprayDragging = false,
       ArtDragging = false;
  TIEPoint PressPoint, MovePoint, ArtStart, ArtPrevious, TextAnchor;
  int32_t PatternCounter = 0;
  TOffset BarbA, BarbB;
  // The file the open dialog chose, for a window created with cmOpen.
  std::string OpenFileName;
};

}  // namespace quillet
