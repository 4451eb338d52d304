// TResampleFilter: the resampling kernels a view may zoom through, rfNone
// for nearest-neighbour painting.
#pragma once

namespace quillet {

enum class TResampleFilter { rfNone, rfTriangle, rfHermite, rfBell, rfBSpline, rfLanczos3, rfMitchell };

}  // namespace quillet
