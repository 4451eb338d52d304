// The plain stretch: every destination pixel takes the source pixel under
// its centre, (2x + 1) * Ws div (2 * Wd), for 24-bit and 1-bit images.
#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "imaging/proc/resample.h"
#include "imaging/proc/resample_threads.h"

namespace quillet {

namespace {

// The source index under the centre of destination index i.
int64_t NearestSource(int64_t i, int64_t sourceSize, int64_t destSize) {
  return (2 * i + 1) * sourceSize / (2 * destSize);
}

std::vector<int64_t> SourceColumns(int64_t sourceSize, int64_t destSize) {
  std::vector<int64_t> columns(static_cast<size_t>(destSize));
  for (int64_t i = 0; i < destSize; ++i) columns[size_t(i)] = NearestSource(i, sourceSize, destSize);
  return columns;
}

// Pixels move as four-byte words whose last byte the next pixel overwrites,
// up to the last pixel or the first one that takes the last source pixel
// (whose words would reach past the rows); the rest move as three bytes.
void StretchRow24(const uint8_t* source, int64_t sourceWidth, const std::vector<int64_t>& columns, uint8_t* out) {
  const auto count = int64_t(columns.size());
  const int64_t words =
      std::min<int64_t>(std::lower_bound(columns.begin(), columns.end(), sourceWidth - 1) - columns.begin(), count - 1);
  int64_t i = 0;
  for (; i < words; ++i, out += 3) std::memcpy(out, source + 3 * columns[size_t(i)], 4);
  for (; i < count; ++i, out += 3) std::memcpy(out, source + 3 * columns[size_t(i)], 3);
}

void StretchRow1(const uint8_t* source, int64_t, const std::vector<int64_t>& columns, uint8_t* out) {
  const auto count = int64_t(columns.size());
  for (int64_t from = 0; from < count; from += 8) {
    uint8_t byte = 0;
    for (int64_t x = from; x < from + 8 && x < count; ++x)
      byte = uint8_t(byte | GetBit(source, columns[size_t(x)]) << (7 - (x - from)));
    *out++ = byte;
  }
}

}  // namespace

bool StretchNearest(const TIEWorkingBitmap& source, TIEWorkingBitmap& dest, int64_t width, int64_t height) {
  const TIEPixelFormat format = source.PixelFormat();
  if (format != TIEPixelFormat::pf24bit && format != TIEPixelFormat::pf1bit) return false;
  if (source.Empty() || width <= 0 || height <= 0 || !ImageBytes(width, height, source.BitCount())) return false;
  std::optional<TIEWorkingBitmap> copy;
  const TIEWorkingBitmap& from = &source == &dest ? copy.emplace(source) : source;
  if (!dest.AllocateUninitialised(width, height, format)) return false;

  const std::vector<int64_t> columns = SourceColumns(from.Width(), width);
  const auto stretchRow = format == TIEPixelFormat::pf24bit ? StretchRow24 : StretchRow1;
  const int64_t rowBytes = dest.RowBytes();
  // A row that repeats the source row of the one above is a copy of it.
  SplitItems(height, width, {}, [&](int64_t first, int64_t last, auto&&) {
    for (int64_t y = first, previous = -1; y < last; ++y) {
      const int64_t sy = NearestSource(y, from.Height(), height);
      if (sy == previous)
        std::memcpy(dest.ScanLine(y), dest.ScanLine(y - 1), size_t(rowBytes));
      else
        stretchRow(from.ScanLine(sy), from.Width(), columns, dest.ScanLine(y));
      previous = sy;
    }
  });
  dest.MarkModified();
  return true;
}

bool StretchToWidth(const TIEWorkingBitmap& source, TIEWorkingBitmap& dest, int64_t width) {
  if (source.Empty()) return false;
  return StretchNearest(source, dest, width, std::max<int64_t>(width * source.Height() / source.Width(), 1));
}

}  // namespace quillet
