// The colour steps of `quillet-cli apply`: contrast, brightness, addrgb,
// hsl, hsv, threshold, stretch and equalize, each run through the processing
// component, so inside the selection when there is one.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/apply_steps.h"

namespace quillet::cli {

bool IsColourStep(const std::string& name);
// The step `name` with its arguments, or none with `error` naming the
// arguments and their ranges.
std::optional<TApplyStep> ParseColourStep(const std::string& name, const std::vector<std::string>& args,
                                          std::string& error);
// The colour steps and their arguments, for the help text.
const char* ColourStepsHelp();

}  // namespace quillet::cli
