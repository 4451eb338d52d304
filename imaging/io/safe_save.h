// Saving without ever destroying the old file: the data goes to a temporary
// file beside the target, which replaces the target only when all went well.
#pragma once

#include <functional>
#include <string>

#include "imaging/core/stream.h"

namespace quillet {

// Runs `write` on a new temporary file in the target's folder; when it
// returns true and the data reached the disk, the temporary file is renamed
// over `fileName` (keeping the old file's permissions), else it is deleted.
// File-system failures give false with `error` saying why; a failed `write`
// gives false with `error` empty (the writer knows its own reason).
bool SafeSave(const std::string& fileName, const std::function<bool(TIEStream&)>& write, std::string& error);

}  // namespace quillet
