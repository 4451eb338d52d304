// YUV to 24-bit conversion of packed, bit-packed and planar layouts, with the
// products of the conversion formula looked up per sample value.
#include "imaging/proc/dib_yuv.h"

#include <algorithm>

#include "imaging/core/math.h"

namespace quillet {

namespace {

using K = TYuvKind;

constexpr TYuvLayout kLayouts[] = {
    {.Code = FourCC("YUY2"), .GroupPixels = 2, .GroupBytes = 4, .Y = {0, 2}, .U = {1, 1}, .V = {3, 3}},
    {.Code = FourCC("YUNV"), .GroupPixels = 2, .GroupBytes = 4, .Y = {0, 2}, .U = {1, 1}, .V = {3, 3}},
    {.Code = FourCC("UYVY"), .GroupPixels = 2, .GroupBytes = 4, .Y = {1, 3}, .U = {0, 0}, .V = {2, 2}},
    {.Code = FourCC("UYNV"), .GroupPixels = 2, .GroupBytes = 4, .Y = {1, 3}, .U = {0, 0}, .V = {2, 2}},
    {.Code = FourCC("cyuv"), .Reversed = true, .GroupPixels = 2, .GroupBytes = 4,
     .Y = {1, 3}, .U = {0, 0}, .V = {2, 2}},
    {.Code = FourCC("YVYU"), .GroupPixels = 2, .GroupBytes = 4, .Y = {0, 2}, .U = {3, 3}, .V = {1, 1}},
    {.Code = FourCC("IYU1"), .GroupPixels = 4, .GroupBytes = 6,
     .Y = {1, 2, 4, 5}, .U = {0, 0, 0, 0}, .V = {3, 3, 3, 3}},
    {.Code = FourCC("IYU2"), .GroupPixels = 1, .GroupBytes = 3, .Y = {1}, .U = {0}, .V = {2}},
    {.Code = FourCC("Y211"), .GroupPixels = 4, .GroupBytes = 4,
     .Y = {0, 0, 2, 2}, .U = {1, 1, 1, 1}, .V = {3, 3, 3, 3}},
    {.Code = FourCC("Y41P"), .Reversed = true, .GroupPixels = 8, .GroupBytes = 12,
     .Y = {1, 3, 5, 7, 8, 9, 10, 11}, .U = {0, 0, 0, 0, 4, 4, 4, 4}, .V = {2, 2, 2, 2, 6, 6, 6, 6}},
    {.Code = FourCC("CLJR"), .Kind = K::ykCljr, .GroupPixels = 4, .GroupBytes = 4},
    {.Code = FourCC("YV12"), .Kind = K::ykPlanar, .GroupPixels = 2},
    {.Code = FourCC("I420"), .Kind = K::ykPlanar, .GroupPixels = 2, .UPlaneFirst = true},
    {.Code = FourCC("IYUV"), .Kind = K::ykPlanar, .GroupPixels = 2, .UPlaneFirst = true},
    {.Code = FourCC("YVU9"), .Kind = K::ykPlanar, .GroupPixels = 4},
};

// C = (Y - 16) x 1.164, D = U - 128, E = V - 128; blue = C + 2.018 D,
// green = C - 0.813 E - 0.391 D, red = C + 1.596 E, rounded and clamped. The
// tables hold the products, and the sums run in the formula's order, so the
// results are those of the formula itself.
class TYuvConverter {
 public:
  TYuvConverter() {
    for (int i = 0; i < 256; ++i) {
      c_[i] = (i - 16) * 1.164;
      blueU_[i] = 2.018 * (i - 128);
      greenV_[i] = 0.813 * (i - 128);
      greenU_[i] = 0.391 * (i - 128);
      redV_[i] = 1.596 * (i - 128);
    }
  }
  void Put(uint8_t y, uint8_t u, uint8_t v, uint8_t* bgr) const {
    const double c = c_[y];
    bgr[0] = Clamp(c + blueU_[u]);
    bgr[1] = Clamp(c - greenV_[v] - greenU_[u]);
    bgr[2] = Clamp(c + redV_[v]);
  }

 private:
  static uint8_t Clamp(double v) { return uint8_t(std::clamp<int64_t>(Round(v), 0, 255)); }
  double c_[256], blueU_[256], greenV_[256], greenU_[256], redV_[256];
};

const TYuvConverter& Converter() {
  static const TYuvConverter converter;
  return converter;
}

int64_t GroupsOf(const TYuvLayout& l, int64_t width) { return (width + l.GroupPixels - 1) / l.GroupPixels; }

void PackedRow(const TYuvLayout& l, const uint8_t* src, int64_t width, uint8_t* dst) {
  const TYuvConverter& yuv = Converter();
  for (int64_t x = 0; x < width; x += l.GroupPixels, src += l.GroupBytes) {
    const int n = int(std::min<int64_t>(l.GroupPixels, width - x));
    for (int i = 0; i < n; ++i, dst += 3) yuv.Put(src[l.Y[i]], src[l.U[i]], src[l.V[i]], dst);
  }
}

// Each little-endian word: V in bits 0-5, U in 6-11, then four 5-bit Y values,
// all widened to 8 bits by repeating their high bits.
void CljrRow(const uint8_t* src, int64_t width, uint8_t* dst) {
  const TYuvConverter& yuv = Converter();
  for (int64_t x = 0; x < width; x += 4, src += 4) {
    const uint32_t w = uint32_t(src[0]) | uint32_t(src[1]) << 8 | uint32_t(src[2]) << 16 | uint32_t(src[3]) << 24;
    const uint32_t v = w & 63, u = w >> 6 & 63;
    const int n = int(std::min<int64_t>(4, width - x));
    for (int i = 0; i < n; ++i, dst += 3) {
      const uint32_t y = w >> (12 + 5 * i) & 31;
      yuv.Put(uint8_t(y << 3 | y >> 2), uint8_t(u << 2 | u >> 4), uint8_t(v << 2 | v >> 4), dst);
    }
  }
}

// One image row from its Y row and the chroma rows serving it; the chroma
// column is clamped for widths that are not a multiple of the subsampling.
void PlanarRow(int s, const uint8_t* y, const uint8_t* u, const uint8_t* v, int64_t width, int64_t chromaWidth,
               uint8_t* dst) {
  const TYuvConverter& yuv = Converter();
  for (int64_t x = 0; x < width; x += s) {
    const int64_t c = std::min(x / s, chromaWidth - 1);
    const int64_t end = std::min<int64_t>(x + s, width);
    for (int64_t i = x; i < end; ++i, dst += 3) yuv.Put(y[i], u[c], v[c], dst);
  }
}

}  // namespace

const TYuvLayout* FindYuvLayout(uint32_t code) {
  for (const TYuvLayout& l : kLayouts)
    if (l.Code == code) return &l;
  return nullptr;
}

std::optional<int64_t> YuvDataBytes(const TYuvLayout& l, int64_t width, int64_t height) {
  if (l.Kind != TYuvKind::ykPlanar) return GroupsOf(l, width) * l.GroupBytes * height;
  const int64_t cw = width / l.GroupPixels, ch = height / l.GroupPixels;
  if (cw == 0 || ch == 0) return std::nullopt;
  return width * height + 2 * cw * ch;
}

void DecodeYuv(const TYuvLayout& l, const uint8_t* data, bool positiveHeight, TIEWorkingBitmap& out) {
  const int64_t w = out.Width(), h = out.Height();
  const bool fromTop = positiveHeight != l.Reversed;
  const auto target = [&](int64_t k) { return out.ScanLine(fromTop ? k : h - 1 - k); };
  if (l.Kind != TYuvKind::ykPlanar) {
    const int64_t rowBytes = GroupsOf(l, w) * l.GroupBytes;
    for (int64_t k = 0; k < h; ++k, data += rowBytes) {
      if (l.Kind == TYuvKind::ykCljr)
        CljrRow(data, w, target(k));
      else
        PackedRow(l, data, w, target(k));
    }
    return;
  }
  // The chroma row moves on after every `s` image rows in fill order, clamped
  // to the last one for heights that are not a multiple of `s`.
  const int s = l.GroupPixels;
  const int64_t cw = w / s, ch = h / s;
  const uint8_t* first = data + w * h;
  const uint8_t* second = first + cw * ch;
  const uint8_t* uPlane = l.UPlaneFirst ? first : second;
  const uint8_t* vPlane = l.UPlaneFirst ? second : first;
  for (int64_t k = 0; k < h; ++k) {
    const int64_t c = std::min(k / s, ch - 1) * cw;
    PlanarRow(s, data + k * w, uPlane + c, vPlane + c, w, cw, target(k));
  }
}

}  // namespace quillet
