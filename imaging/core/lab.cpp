// sRGB <-> CIE L*a*b* (D65 white), through linear sRGB and CIE XYZ.
#include "imaging/core/lab.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "imaging/core/math.h"

namespace quillet {

namespace {

// sRGB (D65) to XYZ. The white point is taken as the row sums so that
// R = G = B gives a* = b* = 0 exactly.
constexpr double kM[3][3] = {{0.4124564, 0.3575761, 0.1804375},
                             {0.2126729, 0.7151522, 0.0721750},
                             {0.0193339, 0.1191920, 0.9503041}};

struct Tables {
  std::array<double, 256> linear{};  // sRGB code -> linear light 0..1
  double inv[3][3]{};                // XYZ -> linear sRGB, the inverse of kM
  double white[3]{};                 // Xn, Yn, Zn
};

const Tables& T() {
  static const Tables t = [] {
    Tables r;
    for (int i = 0; i < 256; ++i) {
      const double v = i / 255.0;
      r.linear[i] = v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    }
    const auto& m = kM;
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) {
        // Cofactor of m[j][i] over the determinant (adjugate, transposed).
        const int r0 = (j + 1) % 3, r1 = (j + 2) % 3, c0 = (i + 1) % 3, c1 = (i + 2) % 3;
        r.inv[i][j] = (m[r0][c0] * m[r1][c1] - m[r0][c1] * m[r1][c0]) / det;
      }
    for (int i = 0; i < 3; ++i) r.white[i] = m[i][0] + m[i][1] + m[i][2];
    return r;
  }();
  return t;
}

constexpr double kDelta = 6.0 / 29.0;

double F(double t) {
  return t > kDelta * kDelta * kDelta ? std::cbrt(t) : t / (3 * kDelta * kDelta) + 4.0 / 29.0;
}

double FInverse(double u) { return u > kDelta ? u * u * u : 3 * kDelta * kDelta * (u - 4.0 / 29.0); }

uint8_t EncodeSRGB(double v) {
  if (!(v > 0)) return 0;
  if (v >= 1) return 255;
  const double e = v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
  return uint8_t(std::clamp<int64_t>(Round(e * 255), 0, 255));
}

int8_t PackAB(double v) { return int8_t(std::clamp<int64_t>(Round(v), -128, 127)); }

}  // namespace

TIELab RGBToLab(const TBGR& pixel) {
  const Tables& t = T();
  const double r = t.linear[pixel.r], g = t.linear[pixel.g], b = t.linear[pixel.b];
  double xyz[3];
  for (int i = 0; i < 3; ++i) xyz[i] = (kM[i][0] * r + kM[i][1] * g + kM[i][2] * b) / t.white[i];
  const double fx = F(xyz[0]), fy = F(xyz[1]), fz = F(xyz[2]);
  TIELab lab;
  lab.L = uint8_t(std::clamp<int64_t>(Round((116 * fy - 16) * 255 / 100), 0, 255));
  lab.a = PackAB(500 * (fx - fy));
  lab.b = PackAB(200 * (fy - fz));
  return lab;
}

TBGR LabToRGB(const TIELab& lab) {
  const Tables& t = T();
  const double fy = (lab.L * 100.0 / 255.0 + 16) / 116;
  const double f[3] = {fy + lab.a / 500.0, fy, fy - lab.b / 200.0};
  double xyz[3];
  for (int i = 0; i < 3; ++i) xyz[i] = FInverse(f[i]) * t.white[i];
  double rgb[3];
  for (int i = 0; i < 3; ++i) rgb[i] = t.inv[i][0] * xyz[0] + t.inv[i][1] * xyz[1] + t.inv[i][2] * xyz[2];
  return MakeBGR(EncodeSRGB(rgb[0]), EncodeSRGB(rgb[1]), EncodeSRGB(rgb[2]));
}

}  // namespace quillet
