// EditorState: the record the frame and the document windows share, with
// the initial values the editor starts from.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "imaging/core/canvas_state.h"
#include "imaging/core/working_bitmap.h"
#include "imaging/view/paint_tools.h"

namespace quillet {

class TEditForm;

enum class TCreationMode { cmNone, cmNew, cmOpen, cmAcquire, cmFromClipboard };

// The paint tools' fields (drag flags, press and move points, art pattern
// state, the Text tool's anchor and flags) come from TPaintToolState under
// their own names.
struct TEditorState : TPaintToolState {
  int32_t CurrentZoom = 100;
  bool UndoAvailable = false;
  bool HasSelection = false;
  TCreationMode PendingCreation = TCreationMode::cmNone;
  int32_t NewImageWidth = 100, NewImageHeight = 100;
  TIEPixelFormat NewImageFormat = TIEPixelFormat::pf24bit;
  int32_t ResizeBaseWidth = 1, ResizeBaseHeight = 1;
  std::unique_ptr<TIEWorkingBitmap> BwResult;
  // The file the open dialog chose, for a window created with cmOpen.
  std::string OpenFileName;
  // The document of the last Text press, which alone draws the text; none
  // once it closed.
  TEditForm* TextTarget = nullptr;
};

}  // namespace quillet
