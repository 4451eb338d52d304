// The steps of `quillet-cli apply`: "name:args" texts turned into operations
// of the processing component, run in order on the loaded image.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "imaging/proc/ziridev_proc.h"

namespace quillet::cli {

using TApplyStep = std::function<void(TZiridEvProc& proc)>;

// The operation of one step ("flip:h", "rotate:30,aa", "resample:800,-1,lanczos3",
// "resize:1200,900", "clear", "negative", "gray", "bw", "bw:128", "rgb", "colors:16"),
// or none with `error` saying why.
std::optional<TApplyStep> ParseApplyStep(const std::string& text, std::string& error);

// The names the steps and their arguments accept, for the help text.
std::string ApplyStepsHelp();

}  // namespace quillet::cli
