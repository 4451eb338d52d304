// BMP reader: the file header, its byte count and pixel offset, and the
// parameters; the bitmap itself is read by the shared DIB reader.
#include "imaging/io/formats/bmp/bmp_codec.h"

#include "imaging/core/dib_reader.h"
#include "imaging/io/dib_util.h"

namespace quillet {

namespace {

uint32_t U32At(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

int BmpVersionOf(int64_t headerSize) {
  switch (headerSize) {
    case kDibCoreHeaderBytes: return 2;
    case kDibInfoHeaderBytes: return 1;
    case 64: return 3;
    default: return 0;
  }
}

void SetParams(const TDibHeader& h, TIOParamsVals& params) {
  params.BmpVersion = uint8_t(BmpVersionOf(h.HeaderSize));
  StoreDibResolution(h, params);
  if (h.Bits <= 8) StorePalette(h.Palette, params);
  params.Width = int32_t(h.Width);
  params.Height = int32_t(h.Height);
  params.BmpCompression = IsDibRle(h);
  if (h.Bits <= 8) {
    params.BitsPerSample = h.Bits;
    params.SamplesPerPixel = 1;
  } else {
    params.BitsPerSample = h.Bits == 16 ? 5 : 8;
    params.SamplesPerPixel = 3;
  }
}

void ReadBmp(TIOReadArgs& a) {
  TIEStream& s = a.Stream;
  const int64_t start = s.Position();
  uint8_t fh[14];
  if (!s.ReadExact(fh, 14) || fh[0] != 'B' || fh[1] != 'M') return Fail(a, "not a BMP file");
  const uint32_t fileSize = U32At(fh + 2), dataOffset = U32At(fh + 10);
  const int64_t bytes = a.BytesAvailable < 1 && fileSize != 0 ? fileSize : a.BytesAvailable;
  a.Params.FreeColorMap();
  TDibHeader h;
  if (!ReadDibInfoHeader(s, h) || !ReadDibTables(s, h)) return Fail(a, "bad or truncated BMP header");
  SetParams(h, a.Params);
  if (const char* problem = DibLayoutProblem(h)) return Fail(a, problem);
  if (dataOffset != 0 && start + int64_t(dataOffset) > s.Size()) return Fail(a, "pixel data offset past the end");
  if (dataOffset != 0) s.Seek(start + dataOffset, TSeekOrigin::soBeginning);
  const int64_t rleBytes = bytes > 0 ? bytes + start - s.Position() : h.ImageSize;
  if (a.ParamsOnly) return;

  if (!a.Bitmap.Resize(h.Width, h.Height, DibPixelFormat(h, false))) return Fail(a, "image too large");
  const auto onRow = [&](int64_t rows) {
    a.Progress.Report(int(rows * 100 / h.Height));
    return !a.Progress.Aborted();
  };
  if (ReadDibPixels(s, h, a.Bitmap, rleBytes, onRow) == TDibReadResult::drTruncated) Fail(a, "truncated pixel data");
}

}  // namespace

void ReadBMPStream(TIOReadArgs& args) {
  args.Progress.Guard([&] { ReadBmp(args); });
}

}  // namespace quillet
