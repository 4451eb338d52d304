// Radix-2 fast Fourier transforms of single-precision complex planes whose
// sides are powers of two, for the frequency-domain image. Lines are
// transformed a strip at a time, a strip's samples side by side so that
// every butterfly runs over all its lines at once.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/proc/proc_rows.h"

namespace quillet {

// Width x Height complex samples, the real and imaginary parts in two
// row-major arrays.
struct TIEComplexPlane {
  int64_t Width = 0, Height = 0;
  std::vector<float> Re, Im;

  void Allocate(int64_t width, int64_t height);
  size_t Index(int64_t x, int64_t y) const { return size_t(y * Width + x); }
};

// The smallest power of two at least n (n >= 1).
int64_t FftSize(int64_t n);

// The 2-D transform in place: forward (kernel e^(-2 pi i k n / N)) or inverse
// (e^(+2 pi i k n / N)), unnormalised both ways. Each strip of rows or
// columns done counts one step of `rows`; false when cancelled (the plane is
// then partly transformed).
bool Fft2D(TIEComplexPlane& plane, bool inverse, TIEProcRows& rows);

// The steps Fft2D counts for a plane of this size.
int64_t FftSteps(int64_t width, int64_t height);

}  // namespace quillet
