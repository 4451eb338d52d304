#include "imaging/proc/effect_lens.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "imaging/core/vector_clones.h"
#include "imaging/proc/bitmap_area.h"

namespace quillet {

namespace {

// The lens box within the image: columns [left, left + width) and rows
// [top, top + height), with the ellipse's semi-axes and the radius of its
// sphere.
struct TLensBox {
  int64_t left, top, width, height;
  double a, b, r, n;
};

// t - z tan(pi/2 - theta - arcsin(sin(pi/2 - theta) / n)) with
// theta = arccos(t / sqrt(t^2 + z^2)), for z > 0, written without the angles:
// with alpha = pi/2 - theta, tan alpha = t / z and sin beta = t / (sqrt(t^2 + z^2) n),
// z tan(alpha - beta) = z (t - z tan beta) / (z + t tan beta).
inline double Bend(double t, double z, double n) {
  const double s = t / (std::sqrt(t * t + z * z) * n);
  const double tanBeta = s / std::sqrt(1 - s * s);
  return t - z * (t - z * tanBeta) / (z + t * tanBeta);
}

// For each box column u of box row i, the source column and row relative to
// the box (in the image's bounds), or the pixel itself outside the ellipse.
QUILLET_VECTOR_CLONES void LensRow(const TLensBox& box, int64_t i, int64_t imageWidth, int64_t imageHeight,
                                   int32_t* __restrict cols, int32_t* __restrict rows) {
  const double py = box.b - double(i) - 0.5, ey = py * py / (box.b * box.b);
  const double maxCol = double(imageWidth - 1 - box.left), maxRow = double(imageHeight - 1 - box.top);
  for (int64_t u = 0; u < box.width; ++u) {
    const double px = double(u) - box.a + 0.5, ex = px * px / (box.a * box.a);
    const bool inside = ex + ey < 1;
    const double z = std::sqrt(inside ? (1 - ex - ey) * box.r * box.r : 1.0);
    const double col = std::min(std::clamp(box.a + Bend(px, z, box.n), 0.0, double(imageWidth - 1)), maxCol);
    const double row = std::min(std::clamp(box.b - Bend(py, z, box.n), 0.0, double(imageHeight - 1)), maxRow);
    cols[u] = inside ? int32_t(col) : int32_t(u);
    rows[u] = inside ? int32_t(row) : int32_t(i);
  }
}

}  // namespace

void ApplyLens(TIEWorkingBitmap& image, int32_t x, int32_t y, int32_t width, int32_t height, double refraction,
               const TIEProcWatch& control) {
  if (image.PixelFormat() != TIEPixelFormat::pf24bit || image.Empty() || !(refraction > 1)) return;
  const int64_t W = image.Width(), H = image.Height(), dw = width / 2, dh = height / 2;
  const int64_t left = std::clamp<int64_t>(x - dw, 0, W - 1), top = std::clamp<int64_t>(y - dh, 0, H - 1);
  const int64_t right = std::clamp<int64_t>(x + dw, 0, W - 1), bottom = std::clamp<int64_t>(y + dh, 0, H - 1);
  if (right - left < 1 || bottom - top < 1) return;
  TLensBox box{left, top, right - left, bottom - top, 0, 0, 0, refraction};
  box.a = double(box.width) / 2, box.b = double(box.height) / 2, box.r = std::min(box.a, box.b);
  TIEWorkingBitmap out;
  out.AllocateUninitialised(box.width, box.height, TIEPixelFormat::pf24bit);
  TIEProcRows rows(control, double(box.height) + 0.5);
  if (!rows.Run(box.height, 64 * box.width, [&](int64_t first, int64_t last, auto next) {
        std::vector<int32_t> cols(size_t(box.width)), srcRows(size_t(box.width));
        for (int64_t i = first; i < last; ++i) {
          LensRow(box, i, W, H, cols.data(), srcRows.data());
          uint8_t* dst = out.ScanLine(i);
          for (int64_t u = 0; u < box.width; ++u)
            std::memcpy(dst + 3 * u, image.ScanLine(top + srcRows[size_t(u)]) + 3 * (left + cols[size_t(u)]), 3);
          if (!next()) return;
        }
      }))
    return;
  PasteArea(out, image, left, top);
}

}  // namespace quillet
