#include "imaging/proc/effect_user_filter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "imaging/core/vector_clones.h"

namespace quillet {

namespace {

// The channel a sum gives: sum div divisor toward zero, limited to 0..255.
// Sums past those giving -1 or 256 are brought back to them first, so that
// the quotient of the two exact doubles is exact.
class TFilterFinish {
 public:
  explicit TFilterFinish(int32_t divisor)
      : d_(divisor == 0 ? 1.0 : double(divisor)), lo_(std::min(-d_, 256 * d_)), hi_(std::max(-d_, 256 * d_)) {}

  uint8_t operator()(double sum) const {
    const double q = std::trunc(std::clamp(sum, lo_, hi_) / d_);
    return uint8_t(std::clamp(q, 0.0, 255.0));
  }

 private:
  double d_, lo_, hi_;
};

// The nine products summed for each byte of a row; `up`, `mid` and `down`
// point at the first pixel of rows padded with one pixel on each side.
// With the coefficients' magnitudes summing to at most 128 every sum fits
// 16 bits; otherwise doubles hold every sum exactly.
QUILLET_VECTOR_CLONES void SumRow16(const uint8_t* up, const uint8_t* mid, const uint8_t* down, int64_t bytes,
                                    const int16_t* c, int16_t* __restrict sums) {
  for (int64_t k = 0; k < bytes; ++k)
    sums[k] = int16_t(c[0] * up[k - 3] + c[1] * up[k] + c[2] * up[k + 3] + c[3] * mid[k - 3] + c[4] * mid[k] +
                      c[5] * mid[k + 3] + c[6] * down[k - 3] + c[7] * down[k] + c[8] * down[k + 3]);
}

// Each 16-bit sum divided toward zero and limited to 0..255. A float holds
// such a sum exactly, and its correctly rounded quotient stays within
// |sum| 2^-24 / |divisor| < 1 / |divisor| of the true one, closer than any
// non-whole quotient comes to a whole number: the truncation is exact.
QUILLET_VECTOR_CLONES void FinishRow16(const int16_t* sums, int64_t bytes, float divisor, uint8_t* __restrict dst) {
  for (int64_t k = 0; k < bytes; ++k) {
    const int32_t q = int32_t(float(sums[k]) / divisor);
    dst[k] = uint8_t(q < 0 ? 0 : q > 255 ? 255 : q);
  }
}

QUILLET_VECTOR_CLONES void SumRowDouble(const uint8_t* up, const uint8_t* mid, const uint8_t* down, int64_t bytes,
                                        const double* c, double* __restrict sums) {
  for (int64_t k = 0; k < bytes; ++k)
    sums[k] = c[0] * up[k - 3] + c[1] * up[k] + c[2] * up[k + 3] + c[3] * mid[k - 3] + c[4] * mid[k] +
              c[5] * mid[k + 3] + c[6] * down[k - 3] + c[7] * down[k] + c[8] * down[k + 3];
}

// The filter's constants, and how a core turns one source row span into its
// padded copy: the area's columns with the image's pixel beyond each end
// (or the edge pixel itself where the area meets the image's edge).
struct TFilterJob {
  const TIEWorkingBitmap& image;
  TIEArea area;
  int64_t bound;  // the largest magnitude a sum can have
  int16_t small[9];
  double wide[9];
  TFilterFinish finish;
  float divisor;  // for 16-bit sums

  void Pad(int64_t row, uint8_t* padded) const {
    const uint8_t* src = image.ScanLine(row);
    const int64_t left = std::max<int64_t>(area.X1 - 1, 0), right = std::min(area.X2, image.Width() - 1);
    std::memcpy(padded, src + 3 * left, 3);
    std::memcpy(padded + 3, src + 3 * area.X1, size_t(3 * area.Width()));
    std::memcpy(padded + 3 * (area.Width() + 1), src + 3 * right, 3);
  }
};

// Rows [first, last) of the area (counted from its top) into `out`.
template <class Next>
void FilterRows(const TFilterJob& job, TIEWorkingBitmap& out, int64_t first, int64_t last, Next next) {
  const int64_t bytes = 3 * job.area.Width(), padBytes = bytes + 6;
  // Padded copies of the last three source rows, each kept at row % 3.
  std::vector<uint8_t> padded(size_t(3 * padBytes));
  int64_t held[3] = {-1, -1, -1};
  const auto row = [&](int64_t r) {
    r = std::clamp<int64_t>(r, 0, job.image.Height() - 1);
    uint8_t* slot = padded.data() + (r % 3) * padBytes;
    if (held[r % 3] != r) job.Pad(r, slot), held[r % 3] = r;
    return slot + 3;
  };
  const bool small = job.bound <= 32767;
  std::vector<int16_t> sums16(small ? size_t(bytes) : 0);
  std::vector<double> sumsWide(small ? 0 : size_t(bytes));
  for (int64_t y = first; y < last; ++y) {
    const int64_t r = job.area.Y1 + y;
    const uint8_t *up = row(r - 1), *mid = row(r), *down = row(r + 1);
    uint8_t* dst = out.ScanLine(y);
    if (small) {
      SumRow16(up, mid, down, bytes, job.small, sums16.data());
      FinishRow16(sums16.data(), bytes, job.divisor, dst);
    } else {
      SumRowDouble(up, mid, down, bytes, job.wide, sumsWide.data());
      for (int64_t k = 0; k < bytes; ++k) dst[k] = job.finish(sumsWide[size_t(k)]);
    }
    if (!next()) return;
  }
}

}  // namespace

void ApplyUserFilter(TIEWorkingBitmap& image, const TIEArea& wanted, const TIEFilterCoefficients& coefficients,
                     int32_t divisor, const TIEProcWatch& control) {
  const TIEArea area = wanted.ClampedTo(image);
  if (image.PixelFormat() != TIEPixelFormat::pf24bit || area.Empty()) return;
  TFilterJob job{image, area, 0, {}, {}, TFilterFinish(divisor), divisor == 0 ? 1.0f : float(divisor)};
  for (size_t i = 0; i < 9; ++i) {
    job.bound += 255 * std::abs(int64_t(coefficients[i]));
    job.small[i] = int16_t(std::clamp<int32_t>(coefficients[i], -32768, 32767));
    job.wide[i] = coefficients[i];
  }
  TIEWorkingBitmap out = NewAreaImage(area);
  TIEProcRows rows(control, double(area.Height()) - 0.5);
  if (!rows.Run(area.Height(), 27 * area.Width(), [&](int64_t first, int64_t last, auto next) {
        FilterRows(job, out, first, last, next);
      }))
    return;
  CommitArea(image, area, std::move(out));
}

}  // namespace quillet
