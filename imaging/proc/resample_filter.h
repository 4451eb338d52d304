// TResampleFilter: the resampling kernels of the processing component and
// the views' filtered zoom; rfNone is a plain nearest-pixel stretch.
#pragma once

namespace quillet {

enum class TResampleFilter { rfNone, rfTriangle, rfHermite, rfBell, rfBSpline, rfLanczos3, rfMitchell };

}  // namespace quillet
