// PAM output of a working bitmap, one converted row at a time.
#include "cli/pam_writer.h"

#include <vector>

namespace quillet::cli {

namespace {

void ToRgbRow(const TIEWorkingBitmap& bitmap, int64_t y, std::vector<uint8_t>& row) {
  const uint8_t* src = bitmap.ScanLine(y);
  const int64_t w = bitmap.Width();
  if (bitmap.PixelFormat() == TIEPixelFormat::pf24bit) {
    for (int64_t x = 0; x < w; ++x) {
      row[3 * x] = src[3 * x + 2];
      row[3 * x + 1] = src[3 * x + 1];
      row[3 * x + 2] = src[3 * x];
    }
    return;
  }
  for (int64_t x = 0; x < w; ++x) {
    const TBGR c = bitmap.Pixel(x, y);
    row[3 * x] = c.r, row[3 * x + 1] = c.g, row[3 * x + 2] = c.b;
  }
}

}  // namespace

bool WritePam(const TIEWorkingBitmap& bitmap, TIEStream& out) {
  const std::string header = "P7\nWIDTH " + std::to_string(bitmap.Width()) + "\nHEIGHT " +
                             std::to_string(bitmap.Height()) +
                             "\nDEPTH 3\nMAXVAL 255\nTUPLTYPE RGB\nENDHDR\n";
  out.WriteExact(header.data(), int64_t(header.size()));
  std::vector<uint8_t> row(size_t(bitmap.Width() * 3));
  for (int64_t y = 0; y < bitmap.Height() && !out.Failed(); ++y) {
    ToRgbRow(bitmap, y, row);
    out.WriteExact(row.data(), int64_t(row.size()));
  }
  return !out.Failed();
}

}  // namespace quillet::cli
