// The effect steps of `quillet-cli apply`: the user filter, bump map, lens,
// wave, morphological filters and the Fourier transform's spectrum and
// cleared rectangles, with the preview dialog's ranges and initial values.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/apply_steps.h"

namespace quillet::cli {

// Whether `name` is one of the effect steps.
bool IsEffectStep(const std::string& name);

// The step `name` with its arguments (none for the initial values where a
// step has them), or none with `error` naming the argument and its range.
// A step whose Fourier plane would be too large, or whose user filter file
// cannot be read, throws when it runs, saying why.
std::optional<TApplyStep> ParseEffectStep(const std::string& name, const std::vector<std::string>& args,
                                          std::string& error);

// The effect steps and their arguments, for the help text.
const char* EffectStepsHelp();

}  // namespace quillet::cli
