// The seven resampling kernels and their supports.
#include <cmath>
#include <numbers>

#include "imaging/proc/resample.h"

namespace quillet {

namespace {

double Sinc(double t) {
  if (t == 0) return 1;
  const double pt = std::numbers::pi * t;
  return std::sin(pt) / pt;
}

}  // namespace

double ResampleKernel(TResampleFilter filter, double x) {
  const double a = std::fabs(x);
  switch (filter) {
    case TResampleFilter::rfNone: return 0;
    case TResampleFilter::rfTriangle: return a < 1 ? 1 - a : 0;
    case TResampleFilter::rfHermite: return a < 1 ? (2 * a - 3) * a * a + 1 : 0;
    case TResampleFilter::rfBell:
      if (a < 0.5) return 0.75 - a * a;
      return a < 1.5 ? 0.5 * (a - 1.5) * (a - 1.5) : 0;
    case TResampleFilter::rfBSpline:
      if (a < 1) return 0.5 * a * a * a - a * a + 2.0 / 3;
      return a < 2 ? (2 - a) * (2 - a) * (2 - a) / 6 : 0;
    case TResampleFilter::rfLanczos3: return a < 3 ? Sinc(x) * Sinc(x / 3) : 0;
    case TResampleFilter::rfMitchell:
      if (a < 1) return (7 * a * a * a - 12 * a * a + 16.0 / 3) / 6;
      return a < 2 ? (-(7.0 / 3) * a * a * a + 12 * a * a - 20 * a + 32.0 / 3) / 6 : 0;
  }
  return 0;
}

double KernelSupport(TResampleFilter filter) {
  switch (filter) {
    case TResampleFilter::rfNone: return 0;
    case TResampleFilter::rfTriangle:
    case TResampleFilter::rfHermite: return 1;
    case TResampleFilter::rfBell: return 1.5;
    case TResampleFilter::rfBSpline:
    case TResampleFilter::rfMitchell: return 2;
    case TResampleFilter::rfLanczos3: return 3;
  }
  return 0;
}

}  // namespace quillet
