// Rotation of 24-bit rows by quarter turns, the exact first step of every
// rotation.
#pragma once

#include "imaging/proc/rotate_plane.h"

namespace quillet {

// `turns` counter-clockwise quarter turns (1, 2 or 3) of source into a new
// plane: width and height swap for odd turns.
TRotatePlane QuarterTurn(const TRotateRows& source, int turns);

}  // namespace quillet
