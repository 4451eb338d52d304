// PAM output of a working bitmap, one converted row at a time.
#include "cli/pam_writer.h"

#include <vector>

namespace quillet::cli {

namespace {

// Row y as R, G, B (, A) tuples of `depth` bytes.
void ToPamRow(const TIEWorkingBitmap& bitmap, const TIEMask* alpha, int64_t y, int depth, std::vector<uint8_t>& row) {
  const uint8_t* src = bitmap.ScanLine(y);
  const uint8_t* a = alpha ? alpha->ScanLine(y) : nullptr;
  const bool bgr = bitmap.PixelFormat() == TIEPixelFormat::pf24bit;
  for (int64_t x = 0; x < bitmap.Width(); ++x) {
    uint8_t* t = &row[size_t(depth * x)];
    if (bgr) {
      t[0] = src[3 * x + 2], t[1] = src[3 * x + 1], t[2] = src[3 * x];
    } else {
      t[0] = t[1] = t[2] = GetBit(src, x) ? 255 : 0;
    }
    if (a) t[3] = a[x];
  }
}

}  // namespace

bool WritePam(const TIEWorkingBitmap& bitmap, const TIEMask* alpha, TIEStream& out) {
  if (alpha && (alpha->Width() != bitmap.Width() || alpha->Height() != bitmap.Height() || alpha->BitsPerPixel() != 8))
    alpha = nullptr;
  const int depth = alpha ? 4 : 3;
  const std::string header = "P7\nWIDTH " + std::to_string(bitmap.Width()) + "\nHEIGHT " +
                             std::to_string(bitmap.Height()) + "\nDEPTH " + std::to_string(depth) +
                             "\nMAXVAL 255\nTUPLTYPE " + (alpha ? "RGB_ALPHA" : "RGB") + "\nENDHDR\n";
  out.WriteExact(header.data(), int64_t(header.size()));
  std::vector<uint8_t> row(static_cast<size_t>(bitmap.Width() * depth));
  for (int64_t y = 0; y < bitmap.Height() && !out.Failed(); ++y) {
    ToPamRow(bitmap, alpha, y, depth, row);
    out.WriteExact(row.data(), int64_t(row.size()));
  }
  return !out.Failed();
}

}  // namespace quillet::cli
