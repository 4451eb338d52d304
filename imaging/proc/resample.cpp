// The colour, mask and 1-bit variants of the filtered resampling: argument
// checks, the destination planes and the channel rule of each.
#include "imaging/proc/resample.h"

#include <optional>

#include "imaging/proc/resample_passes.h"

namespace quillet {

namespace {

// A source the filter can work on and a destination the engine accepts.
bool CanFilter(int64_t ws, int64_t hs, int64_t wd, int64_t hd, int channels, TResampleFilter filter) {
  if (ws <= 0 || hs <= 0 || (ws < 2 && hs < 2) || filter == TResampleFilter::rfNone) return false;
  if (wd <= 0 || hd <= 0 || !ImageBytes(wd, hd, 24)) return false;
  // The work image holds every source row at the destination width.
  return ImageBytes(wd, hs, 8 * channels).has_value();
}

// Rows of `source` whatever the caller passes as destination, even itself.
const TIEWorkingBitmap& Unaliased(const TIEWorkingBitmap& source, const TIEWorkingBitmap& dest,
                                  std::optional<TIEWorkingBitmap>& copy) {
  if (&source != &dest) return source;
  return copy.emplace(source);
}

// The inclusive box of the non-zero values of an 8-bit plane, and its Full flag.
void UpdateMaskBox(TIEMask& mask) {
  int64_t x1 = mask.Width(), y1 = mask.Height(), x2 = -1, y2 = -1;
  for (int64_t y = 0; y < mask.Height(); ++y) {
    const uint8_t* row = mask.ScanLine(y);
    int64_t first = 0, last = mask.Width() - 1;
    while (first <= last && row[first] == 0) ++first;
    if (first > last) continue;
    while (row[last] == 0) --last;
    x1 = std::min(x1, first), x2 = std::max(x2, last);
    y1 = std::min(y1, y), y2 = y;
  }
  mask.SetBox(x1, y1, x2, y2);
  mask.RecomputeFull();
}

}  // namespace

bool ResampleColour(const TIEWorkingBitmap& source, TIEWorkingBitmap& dest, int64_t width, int64_t height,
                    TResampleFilter filter, const TIEProcProgress& progress) {
  if (source.PixelFormat() != TIEPixelFormat::pf24bit) return false;
  if (!CanFilter(source.Width(), source.Height(), width, height, 3, filter)) return false;
  std::optional<TIEWorkingBitmap> copy;
  const TIEWorkingBitmap& from = Unaliased(source, dest, copy);
  if (!dest.AllocateUninitialised(width, height, TIEPixelFormat::pf24bit)) return false;
  const TResampleShape shape{from.Width(), from.Height(), width, height, false};
  ResampleTwoPass<3, 1>(
      shape, filter, [&](int64_t y) { return from.ScanLine(y); }, [&](int64_t y) { return dest.ScanLine(y); },
      TTruncSum{}, progress);
  dest.MarkModified();
  return true;
}

bool ResampleMask(const TIEMask& source, TIEMask& dest, int64_t width, int64_t height, TResampleFilter filter) {
  const int bits = source.BitsPerPixel();
  if (bits != 1 && bits != 8) return false;
  if (!CanFilter(source.Width(), source.Height(), width, height, 1, filter)) return false;
  TIEMask out;
  if (!out.Allocate(width, height, 8)) return false;
  const TResampleShape shape{source.Width(), source.Height(), width, height, bits == 1};
  ResampleTwoPass<1, 1>(
      shape, filter, [&](int64_t y) { return source.ScanLine(y); }, [&](int64_t y) { return out.ScanLine(y); },
      TRoundSum{}, {});
  UpdateMaskBox(out);
  dest = std::move(out);
  return true;
}

bool Resample1Bit(const TIEWorkingBitmap& source, TIEWorkingBitmap& dest, int64_t width, int64_t height,
                  TResampleFilter filter) {
  if (source.PixelFormat() != TIEPixelFormat::pf1bit) return false;
  if (!CanFilter(source.Width(), source.Height(), width, height, 1, filter)) return false;
  std::optional<TIEWorkingBitmap> copy;
  const TIEWorkingBitmap& from = Unaliased(source, dest, copy);
  if (!dest.AllocateUninitialised(width, height, TIEPixelFormat::pf24bit)) return false;
  const TResampleShape shape{from.Width(), from.Height(), width, height, true};
  ResampleTwoPass<1, 3>(
      shape, filter, [&](int64_t y) { return from.ScanLine(y); }, [&](int64_t y) { return dest.ScanLine(y); },
      TRoundSum{}, {});
  dest.MarkModified();
  return true;
}

}  // namespace quillet
