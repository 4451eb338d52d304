// Building the contributor lists: the kernel is centred on i / scale and,
// when reducing, widened by 1 / scale with its weights scaled down to match.
// Each list is then scaled to sum to 1: the sampled kernels only come near
// that (a triangle reducing to 75 % sums to 0.94 .. 1.13), which would turn a
// flat colour into stripes. Zero weights at the ends of a run are left out;
// inside it they add nothing to a sum.
#include "imaging/proc/resample_contributors.h"

#include <algorithm>
#include <cmath>

#include "imaging/proc/resample.h"

namespace quillet {

namespace {

template <class It>
void Normalise(It first, It last) {
  double sum = 0;
  for (It w = first; w != last; ++w) sum += *w;
  if (sum == 0) return;
  for (It w = first; w != last; ++w) *w /= sum;
}

}  // namespace

int64_t ReflectedSource(int64_t position, int64_t sourceSize) {
  const int64_t j = position;
  const int64_t n = j < 0 ? -j : j >= sourceSize ? 2 * sourceSize - j - 1 : j;
  return std::clamp<int64_t>(n, 0, sourceSize - 1);
}

TResampleContributors BuildContributors(int64_t sourceSize, int64_t destSize, TResampleFilter filter) {
  const double scale = double(destSize) / double(sourceSize);
  const double support = KernelSupport(filter);
  const double fscale = scale < 1 ? 1 / scale : 1;
  const double width = support * fscale;

  TResampleContributors c;
  c.First.reserve(size_t(destSize + 1));
  c.Left.reserve(size_t(destSize));
  c.Weight.reserve(size_t(destSize) * size_t(2 * std::ceil(width) + 1));
  c.Lowest = INT64_MAX;
  c.Highest = INT64_MIN;
  for (int64_t i = 0; i < destSize; ++i) {
    c.First.push_back(int64_t(c.Weight.size()));
    const double center = double(i) / scale;
    int64_t left = int64_t(std::floor(center - width)), right = int64_t(std::ceil(center + width));
    const auto weight = [&](int64_t j) { return ResampleKernel(filter, (center - double(j)) / fscale) / fscale; };
    while (left <= right && weight(left) == 0) ++left;
    while (right >= left && weight(right) == 0) --right;
    c.Left.push_back(left);
    for (int64_t j = left; j <= right; ++j) c.Weight.push_back(weight(j));
    Normalise(c.Weight.begin() + c.First.back(), c.Weight.end());
    if (left <= right) c.Lowest = std::min(c.Lowest, left), c.Highest = std::max(c.Highest, right);
  }
  c.First.push_back(int64_t(c.Weight.size()));
  if (c.Lowest > c.Highest) c.Lowest = 0, c.Highest = -1;
  return c;
}

}  // namespace quillet
