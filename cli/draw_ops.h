// The ops of `quillet-cli draw`: "name:args" texts run in order on one canvas
// whose state (pen, brush, pen position) and tool state persist between
// them, as they do in the editor.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "imaging/core/canvas.h"
#include "imaging/view/paint_tools.h"

namespace quillet::cli {

struct TDrawSession {
  TDrawSession(TIEWorkingBitmap& bitmap, std::function<bool(const std::string&)> save)
      : Canvas(bitmap), Save(std::move(save)) {}

  TIECanvas Canvas;
  TPaintToolState State;
  TPaintOptions Options;
  // Writes the image as it stands to a file; false after saying why not.
  std::function<bool(const std::string&)> Save;

  TPaintSteps Steps() { return {Canvas, State, Options}; }
};

// One op; false when it failed (after saying why).
using TDrawOp = std::function<bool(TDrawSession& session)>;

// The op of a text ("pen-color:FF0000", "lineto:10,20", "press:draw,5,5"),
// or none with `error` saying why.
std::optional<TDrawOp> ParseDrawOp(const std::string& text, std::string& error);

// The ops and their arguments, for the help text.
const std::string& DrawOpsHelp();

}  // namespace quillet::cli
