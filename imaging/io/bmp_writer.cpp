// BMP writer: 24-bit and 1-bit files with the 12, 40 or 64-byte header,
// rows bottom-up, headers completed once the pixel data is written.
#include <algorithm>
#include <array>
#include <new>
#include <vector>

#include "imaging/io/bmp_codec.h"
#include "imaging/io/dib_util.h"

namespace quillet {

namespace {

struct TBmpLayout {
  int64_t width = 0, height = 0;
  int bits = 24;
  int headerSize = 40;
  int32_t xppm = 0, yppm = 0;
  int64_t pixelStart = 0, end = 0;  // offsets from the start of the file header
};

// The depth written. Palette depths (4 and 8 bits) and 1-bit output of colour
// images need colour reduction, which the writer does not have: those requests
// are written in 24 bits so that no pixel is lost.
int OutputBits(const TIOParamsVals& params, const TIEWorkingBitmap& bitmap) {
  const bool bilevelSource = bitmap.PixelFormat() == TIEPixelFormat::pf1bit;
  return params.BitsPerSample == 1 && bilevelSource ? 1 : 24;
}

int HeaderSize(const TIOParamsVals& params, const TIEWorkingBitmap& bitmap) {
  switch (params.BmpVersion) {
    case 2: return bitmap.Width() > 65535 || bitmap.Height() > 65535 ? 40 : 12;  // 16-bit fields
    case 3: return 64;
    default: return 40;
  }
}

void WriteHeaders(TIEStream& s, int64_t start, const TBmpLayout& l) {
  s.Seek(start, TSeekOrigin::soBeginning);
  s.WriteU8('B');
  s.WriteU8('M');
  s.WriteU32LE(uint32_t(l.end));
  s.WriteU32LE(0);
  s.WriteU32LE(uint32_t(l.pixelStart));
  s.WriteU32LE(uint32_t(l.headerSize));
  if (l.headerSize == 12) {
    s.WriteU16LE(uint16_t(l.width));
    s.WriteU16LE(uint16_t(l.height));
    s.WriteU16LE(1);
    s.WriteU16LE(uint16_t(l.bits));
    return;
  }
  const uint32_t colors = l.bits <= 8 ? 1u << l.bits : 0;
  s.WriteU32LE(uint32_t(l.width));
  s.WriteU32LE(uint32_t(l.height));
  s.WriteU16LE(1);
  s.WriteU16LE(uint16_t(l.bits));
  s.WriteU32LE(0);  // no compression
  s.WriteU32LE(uint32_t(l.end - l.pixelStart));
  s.WriteU32LE(uint32_t(l.xppm));
  s.WriteU32LE(uint32_t(l.yppm));
  s.WriteU32LE(colors);
  s.WriteU32LE(uint32_t(1) << l.bits);  // colours important: 2^bits, 16777216 for 24 bits
  const std::array<uint8_t, 24> os2Fields{};
  if (l.headerSize == 64) s.WriteExact(os2Fields.data(), int64_t(os2Fields.size()));
}

void WriteBlackWhitePalette(TIEStream& s, int headerSize) {
  const int entry = headerSize == 12 ? 3 : 4;
  const uint8_t black[4] = {0, 0, 0, 0}, white[4] = {255, 255, 255, 0};
  s.WriteExact(black, entry);
  s.WriteExact(white, entry);
}

// One image row in the file's depth: the bitmap's own row when the depths
// agree, else a 1-bit row widened into `buffer`.
const uint8_t* FileRow(const TIEWorkingBitmap& bitmap, int64_t y, int bits, std::vector<uint8_t>& buffer) {
  const uint8_t* src = bitmap.ScanLine(y);
  if (bits == 1 || bitmap.PixelFormat() == TIEPixelFormat::pf24bit) return src;
  for (int64_t x = 0; x < bitmap.Width(); ++x) std::fill_n(buffer.begin() + 3 * x, 3, GetBit(src, x) ? 255 : 0);
  return buffer.data();
}

void WriteBmp(TIOWriteArgs& a) {
  TIEStream& s = a.Stream;
  const TIEWorkingBitmap& bitmap = a.Bitmap;
  TBmpLayout l;
  l.width = bitmap.Width();
  l.height = bitmap.Height();
  l.bits = OutputBits(a.Params, bitmap);
  l.headerSize = HeaderSize(a.Params, bitmap);
  l.xppm = PixelsPerMetreOfDpi(a.Params.DpiX);
  l.yppm = PixelsPerMetreOfDpi(a.Params.DpiY);
  const int64_t start = s.Position();
  WriteHeaders(s, start, l);
  if (l.bits == 1) {
    WriteBlackWhitePalette(s, l.headerSize);
    a.Params.SetColorMap({kBlack, kWhite});
  }
  l.pixelStart = s.Position() - start;
  std::vector<uint8_t> row(size_t(RowLength(l.width, l.bits)), 0);
  for (int64_t y = l.height - 1; y >= 0; --y) {
    a.Progress.Report(int((l.height - 1 - y) * 100 / l.height));
    if (a.Progress.Aborted()) return;
    if (!s.WriteExact(FileRow(bitmap, y, l.bits, row), int64_t(row.size()))) return Fail(a, "write error");
  }
  l.end = s.Position() - start;
  WriteHeaders(s, start, l);
  s.Seek(start + l.end, TSeekOrigin::soBeginning);
  if (s.Failed()) Fail(a, "write error");
}

}  // namespace

void WriteBMPStream(TIOWriteArgs& args) {
  if (args.Bitmap.Empty()) return Fail(args, "empty image");
  try {
    WriteBmp(args);
  } catch (const std::bad_alloc&) {
    Fail(args, "out of memory");
  }
}

}  // namespace quillet
