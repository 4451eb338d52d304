// The pixel grid of a zoomed-in view: inverted lines on the boundaries of
// the shown image pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/core/mask.h"
#include "imaging/view/view_geometry.h"
#include "imaging/view/view_rect.h"

namespace quillet {

// The grid shows from this zoom (percent) up.
constexpr double kGridMinZoom = 400;

// One horizontal line per row boundary and one vertical line per column
// boundary of the shown source, at BitmapToScreen of the boundary, across
// `shown` and inside clip. Lines invert what is under them, so a crossing
// comes back to the image colour. `columns` is scratch kept by the caller.
void DrawGrid(TIERawTarget& target, const TIERect& clip, const TIERect& shown, const TIEViewGeometry& geometry,
              const TIEVisibleSource& source, std::vector<int64_t>& columns);

}  // namespace quillet
