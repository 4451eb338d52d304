// Contributor lists of the filtered resampling: for every destination pixel
// along one axis, the run of source pixels that feeds it and their weights.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/proc/resample_filter.h"

namespace quillet {

// Source positions left of the image mirror without repeating the edge
// pixel, those right of it mirror repeating it; anything further is clamped.
int64_t ReflectedSource(int64_t position, int64_t sourceSize);

struct TResampleContributors {
  // Destination pixel i takes weights First[i] .. First[i + 1] - 1, for the
  // source positions Left[i], Left[i] + 1, ... (before reflection).
  std::vector<int64_t> First, Left;
  std::vector<double> Weight;
  // The range of positions any list uses.
  int64_t Lowest = 0, Highest = -1;

  int64_t Size() const { return int64_t(Left.size()); }
};

// The lists for mapping sourceSize pixels onto destSize pixels (both
// positive) with the kernel of `filter`, each list's weights summing to 1.
TResampleContributors BuildContributors(int64_t sourceSize, int64_t destSize, TResampleFilter filter);

}  // namespace quillet
