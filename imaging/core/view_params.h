// Parameter holders of the image view: one per scroll bar, one for the
// mouse wheel; the image view reads them.
#pragma once

#include <cstdint>

namespace quillet {

struct TIEScrollBarParams {
  // In units of max(trunc(Zoom / 100), 1) client pixels; -1 = one unit.
  int32_t LineStep = -1;
  // In the same units; -1 = the client width or height.
  int32_t PageStep = -1;
  // Scroll while the thumb is dragged.
  bool Tracking = true;
};

struct TIEMouseWheelParams {
  bool InvertDirection = false;
  // 0 = none (default handling), 1 = scroll vertically, 2 = zoom.
  int32_t Action = 2;
  // 0 = absolute steps, 1 = percentage.
  int32_t Variation = 1;
  // The step size, read as Variation says.
  int32_t Value = 8;
};

}  // namespace quillet
