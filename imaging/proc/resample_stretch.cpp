// The plain stretch: every destination pixel takes the source pixel under
// its centre, (2x + 1) * Ws div (2 * Wd), for 24-bit and 1-bit images.
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

void StretchRow24(const uint8_t* source, const std::vector<int64_t>& columns, uint8_t* out) {
  for (const int64_t x : columns) {
    const uint8_t* p = source + 3 * x;
    out[0] = p[0], out[1] = p[1], out[2] = p[2];
    out += 3;
  }
}

void StretchRow1(const uint8_t* source, const std::vector<int64_t>& columns, uint8_t* out) {
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
        stretchRow(from.ScanLine(sy), columns, dest.ScanLine(y));
      previous = sy;
    }
  });
  dest.MarkModified();
  return true;
}

}  // namespace quillet
