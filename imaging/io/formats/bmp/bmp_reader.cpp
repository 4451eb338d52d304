// BMP reader: file and info headers of every size, palettes, bit fields, and
// the uncompressed and RLE pixel data, into a 1-bit or 24-bit bitmap.
#include "imaging/io/formats/bmp/bmp_codec.h"

#include <algorithm>
#include <vector>

#include "imaging/core/dib_rle.h"
#include "imaging/core/dib_rows.h"
#include "imaging/core/math.h"
#include "imaging/core/startup_metrics.h"
#include "imaging/io/dib_util.h"

namespace quillet {

namespace {

struct TBmpHeader {
  int64_t start = 0;
  uint32_t fileSize = 0, dataOffset = 0, headerSize = 0;
  int64_t width = 0, height = 0;
  bool topDown = false;
  int bits = 0;
  uint32_t compression = 0, imageSize = 0, colorsUsed = 0;
  int32_t xppm = 0, yppm = 0;
  TBitFields fields;
  TPaletteTable palette;
};

uint32_t U32At(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint16_t U16At(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

// The OS/2 version 1 header: 16-bit sizes and 3-byte palette entries.
bool ReadCoreHeader(TIEStream& s, TBmpHeader& h, TIOParamsVals& params) {
  uint8_t b[12];
  if (!s.ReadExact(b, 12)) return false;
  h.width = U16At(b + 4);
  h.height = U16At(b + 6);
  h.bits = U16At(b + 10);
  params.BmpVersion = 2;
  if (h.bits <= 8 && !ReadPaletteEntries(s, int64_t(1) << h.bits, 3, h.palette)) return false;
  return true;
}

// Bit-field masks sit inside headers of 52 bytes and more, else right after a
// 40-byte header, before the palette.
bool ReadMasks(TIEStream& s, const uint8_t* header, TBmpHeader& h) {
  uint32_t m[3];
  if (h.headerSize >= 52) {
    for (int i = 0; i < 3; ++i) m[i] = U32At(header + 40 + 4 * i);
  } else if (!s.ReadU32LE(m[0]) || !s.ReadU32LE(m[1]) || !s.ReadU32LE(m[2])) {
    return false;
  }
  h.fields = TBitFields{TBitFieldChannel(m[0]), TBitFieldChannel(m[1]), TBitFieldChannel(m[2])};
  return true;
}

// Headers of 16 bytes and more; fields a short header lacks read as 0.
bool ReadInfoHeader(TIEStream& s, TBmpHeader& h, TIOParamsVals& params) {
  uint8_t b[64] = {};
  const int64_t take = std::min<int64_t>(64, h.headerSize);
  if (!s.ReadExact(b, take)) return false;
  s.Seek(h.start + 14 + h.headerSize, TSeekOrigin::soBeginning);
  params.BmpVersion = h.headerSize == 64 ? 3 : h.headerSize == 40 ? 1 : 0;
  const int32_t height = int32_t(U32At(b + 8));
  h.width = int32_t(U32At(b + 4));
  h.topDown = height < 0;
  h.height = h.topDown ? -int64_t(height) : height;
  h.bits = U16At(b + 14);
  h.compression = U32At(b + 16);
  h.imageSize = U32At(b + 20);
  h.xppm = int32_t(U32At(b + 24));
  h.yppm = int32_t(U32At(b + 28));
  h.colorsUsed = U32At(b + 32);
  h.fields = DefaultBitFields(h.bits);
  // Compression 3 of an OS/2 version 2 header is its own Huffman coding, not bit fields.
  if (h.compression == 3 && h.headerSize != 64 && !ReadMasks(s, b, h)) return false;
  if (h.bits <= 8) {
    const int64_t count = h.colorsUsed ? h.colorsUsed : int64_t(1) << h.bits;
    if (!ReadPaletteEntries(s, count, 4, h.palette)) return false;
  }
  return true;
}

bool Supported(const TBmpHeader& h) {
  if (h.width <= 0 || h.height <= 0 || !ImageBytes(h.width, h.height, 24)) return false;
  switch (h.compression) {
    case 0: return h.bits == 1 || h.bits == 4 || h.bits == 8 || h.bits == 16 || h.bits == 24 || h.bits == 32;
    case 1: return h.bits == 8 && !h.topDown;
    case 2: return h.bits == 4 && !h.topDown;
    case 3: return (h.bits == 16 || h.bits == 32) && h.headerSize != 64;
    default: return false;
  }
}

void SetSampleParams(const TBmpHeader& h, TIOParamsVals& params) {
  params.Width = int32_t(h.width);
  params.Height = int32_t(h.height);
  params.BmpCompression = h.compression == 1 || h.compression == 2;
  if (h.bits <= 8) {
    params.BitsPerSample = h.bits;
    params.SamplesPerPixel = 1;
  } else {
    params.BitsPerSample = h.bits == 16 ? 5 : 8;
    params.SamplesPerPixel = 3;
  }
}

// Rows of an uncompressed file, bottom-up unless the height was negative.
bool DecodeRows(TIEStream& s, const TBmpHeader& h, TIEWorkingBitmap& bitmap, const TIOProgress& progress) {
  const int64_t fileRow = RowLength(h.width, h.bits);
  const bool oneBit = bitmap.PixelFormat() == TIEPixelFormat::pf1bit;
  const bool invert = oneBit && h.palette.IsWhiteBlack();
  // 24-bit rows and black-and-white rows are the bitmap's rows already.
  const bool straight = h.bits == 24 || (oneBit && !invert);
  const TDibRowDecoder decoder(h.bits, h.palette, h.fields);
  std::vector<uint8_t> row(static_cast<size_t>(straight ? 0 : fileRow));
  for (int64_t i = 0; i < h.height; ++i) {
    const int64_t y = h.topDown ? i : h.height - 1 - i;
    progress.Report(int(i * 100 / h.height));
    if (progress.Aborted()) return FillRowsWhite(bitmap, h.topDown, i), true;
    uint8_t* dst = bitmap.ScanLine(y);
    if (!s.ReadExact(straight ? dst : row.data(), fileRow)) return FillRowsWhite(bitmap, h.topDown, i), false;
    if (straight) continue;
    if (oneBit)
      CopyBilevelRow(row.data(), dst, bitmap.RowBytes(), invert);
    else
      decoder.Decode(row.data(), h.width, dst);
  }
  return true;
}

bool DecodeRle(TIEStream& s, const TBmpHeader& h, int64_t length, TIEWorkingBitmap& bitmap,
               const TIOProgress& progress) {
  bitmap.Fill(kWhite);
  length = std::clamp<int64_t>(length, 0, s.Remaining());
  if (length == 0) length = s.Remaining();
  std::vector<uint8_t> data(static_cast<size_t>(length));
  length = s.Read(data.data(), length);
  const int bits = h.compression == 1 ? 8 : 4;
  const auto onRow = [&](int64_t rows) {
    progress.Report(int(rows * 100 / h.height));
    return !progress.Aborted();
  };
  return DecodeDibRle(data.data(), length, bits, h.palette, bitmap, onRow) != TDibRleResult::rlrTruncated;
}

void ReadBmp(TIOReadArgs& a) {
  TIEStream& s = a.Stream;
  TIOParamsVals& params = a.Params;
  TBmpHeader h;
  h.start = s.Position();
  uint8_t fh[14];
  int64_t bytes = a.BytesAvailable;
  if (!s.ReadExact(fh, 14) || fh[0] != 'B' || fh[1] != 'M') return Fail(a, "not a BMP file");
  h.fileSize = U32At(fh + 2);
  h.dataOffset = U32At(fh + 10);
  if (bytes < 1 && h.fileSize != 0) bytes = h.fileSize;
  if (!s.ReadU32LE(h.headerSize)) return Fail(a, "truncated BMP header");
  s.Seek(-4, TSeekOrigin::soCurrent);
  params.FreeColorMap();
  const bool ok = h.headerSize == 12 ? ReadCoreHeader(s, h, params)
                  : h.headerSize >= 16 ? ReadInfoHeader(s, h, params)
                                       : false;
  if (!ok) return Fail(a, "bad or truncated BMP header");
  params.DpiX = DpiOfPixelsPerMetre(h.xppm, StartupMetrics().DpiX);
  params.DpiY = DpiOfPixelsPerMetre(h.yppm, StartupMetrics().DpiY);
  if (h.bits <= 8) StorePalette(h.palette, params);
  SetSampleParams(h, params);
  if (!Supported(h)) return Fail(a, "unsupported BMP variant or size");
  if (h.dataOffset != 0 && h.start + int64_t(h.dataOffset) > s.Size()) return Fail(a, "pixel data offset past the end");
  if (h.dataOffset != 0) s.Seek(h.start + h.dataOffset, TSeekOrigin::soBeginning);
  const int64_t length = bytes > 0 ? bytes + h.start - s.Position() : h.imageSize;
  if (a.ParamsOnly) return;

  const bool bilevel = h.bits == 1 && (h.palette.IsBlackWhite() || h.palette.IsWhiteBlack());
  if (!a.Bitmap.Resize(h.width, h.height, bilevel ? TIEPixelFormat::pf1bit : TIEPixelFormat::pf24bit))
    return Fail(a, "image too large");
  const bool complete = h.compression == 1 || h.compression == 2 ? DecodeRle(s, h, length, a.Bitmap, a.Progress)
                                                                 : DecodeRows(s, h, a.Bitmap, a.Progress);
  if (!complete) Fail(a, "truncated pixel data");
}

}  // namespace

void ReadBMPStream(TIOReadArgs& args) {
  args.Progress.Guard([&] { ReadBmp(args); });
}

}  // namespace quillet
