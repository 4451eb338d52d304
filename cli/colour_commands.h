// The selection options of quillet-cli and its colour commands: the
// histogram of an image or selection as JSON, and the channel splits.
#pragma once

#include <string>
#include <vector>

#include "cli/commands.h"
#include "imaging/core/headless_view.h"

namespace quillet::cli {

// Selects in `view` what `selection` asks for (nothing when it is empty).
// The exit status: 0, or 2 (after the error line) for a malformed rectangle,
// one off the image, a mask of another size or one selecting nothing; 1 when
// the mask cannot be read.
int ApplySelection(TIEHeadlessView& view, const TSelectOptions& selection);

// Prints the red, green, blue and grey counts and the average colour of the
// selection's box, or of the whole image, as JSON.
int RunHistogram(const TReadOptions& opts, const TSelectOptions& selection);

// Writes the image's red, green and blue channels (`space` rgb) or its hue,
// saturation and value (hsv) as three grey images, by their extensions.
int RunSplit(const TReadOptions& opts, const std::string& space, const std::vector<std::string>& outputs);

}  // namespace quillet::cli
