// Opaque alpha planes and the transparency test.
#include "imaging/io/alpha_plane.h"

#include <algorithm>
#include <vector>

namespace quillet {

void MakeOpaqueAlpha(TIEMask* alpha, const TIEWorkingBitmap& bitmap) {
  if (!alpha) return;
  if (bitmap.Empty() || !alpha->Allocate(bitmap.Width(), bitmap.Height(), 8)) return alpha->Release();
  alpha->Fill(255);
}

void StretchAlpha(TIEMask* alpha, int64_t width, int64_t height) {
  if (!alpha || alpha->BitsPerPixel() != 8 || (alpha->Width() == width && alpha->Height() == height)) return;
  TIEMask source;
  source.Assign(alpha);
  if (!alpha->Allocate(width, height, 8)) return alpha->Release();
  std::vector<int64_t> columns(static_cast<size_t>(width));
  for (int64_t x = 0; x < width; ++x) columns[size_t(x)] = x * source.Width() / width;
  for (int64_t y = 0; y < height; ++y) {
    const uint8_t* src = source.ScanLine(y * source.Height() / height);
    uint8_t* dst = alpha->ScanLine(y);
    for (int64_t x = 0; x < width; ++x) dst[x] = src[columns[size_t(x)]];
  }
  alpha->SetBox(0, 0, width - 1, height - 1);
  alpha->RecomputeFull();
}

bool HasTransparency(const TIEMask& alpha) {
  if (alpha.Width() == 0 || alpha.Height() == 0 || alpha.BitsPerPixel() != 8 || alpha.Full()) return false;
  for (int64_t y = 0; y < alpha.Height(); ++y) {
    const uint8_t* row = alpha.ScanLine(y);
    if (std::any_of(row, row + alpha.Width(), [](uint8_t a) { return a != 255; })) return true;
  }
  return false;
}

}  // namespace quillet
