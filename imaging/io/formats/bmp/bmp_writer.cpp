// BMP writer: 24, 8, 4 and 1-bit files with the 12, 40 or 64-byte header,
// palettes from the quantizer (the image's own colours when they fit),
// RLE8/RLE4, rows bottom-up, headers completed once the pixel data is written.
#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "imaging/core/dib_rle.h"
#include "imaging/io/formats/bmp/bmp_codec.h"
#include "imaging/io/dib_util.h"
#include "imaging/io/writer_source.h"
#include "imaging/proc/quantizer.h"

namespace quillet {

namespace {

struct TBmpLayout {
  int64_t width = 0, height = 0;
  int bits = 24;
  int headerSize = 40;
  bool rle = false;
  int32_t xppm = 0, yppm = 0;
  int64_t pixelStart = 0, end = 0;  // offsets from the start of the file header
};

// What the rows are made from: the image in 1 or 24 bits (the caller's, or a
// converted copy) and, for 4 and 8 bits, the quantizer that indexes it.
struct TBmpPlan {
  const TIEWorkingBitmap* image = nullptr;
  TWriterSource source;
  std::vector<TBGR> palette;  // 2^bits entries, none for 24 bits
  std::unique_ptr<TIEQuantizer> quantizer;
};

// The depth asked for: BitsPerSample when it is 1 or 4, else 8 for one
// sample per pixel, else 24.
int RequestedBits(const TIOParamsVals& params) {
  if (params.BitsPerSample == 1 || params.BitsPerSample == 4) return params.BitsPerSample;
  return params.SamplesPerPixel == 1 ? 8 : 24;
}

int HeaderSize(const TIOParamsVals& params, const TIEWorkingBitmap& bitmap) {
  switch (params.BmpVersion) {
    case 2: return bitmap.Width() > 65535 || bitmap.Height() > 65535 ? 40 : 12;  // 16-bit fields
    case 3: return 64;
    default: return 40;
  }
}

uint32_t CompressionCode(const TBmpLayout& l) {
  if (!l.rle) return 0;
  return l.bits == 4 ? 2 : 1;
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
  s.WriteU32LE(CompressionCode(l));
  s.WriteU32LE(uint32_t(l.end - l.pixelStart));
  s.WriteU32LE(uint32_t(l.xppm));
  s.WriteU32LE(uint32_t(l.yppm));
  s.WriteU32LE(colors);
  s.WriteU32LE(uint32_t(1) << l.bits);  // colours important: 2^bits, 16777216 for 24 bits
  const std::array<uint8_t, 24> os2Fields{};
  if (l.headerSize == 64) s.WriteExact(os2Fields.data(), int64_t(os2Fields.size()));
}

void WritePalette(TIEStream& s, const std::vector<TBGR>& palette, int headerSize) {
  const int entry = headerSize == 12 ? 3 : 4;
  for (const TBGR& c : palette) {
    const uint8_t bytes[4] = {c.b, c.g, c.r, 0};
    s.WriteExact(bytes, entry);
  }
}

// The depth written, with what the rows come from.
int PlanOutput(const TIOWriteArgs& a, TBmpPlan& plan) {
  const int bits = RequestedBits(a.Params);
  if (bits == 1) {
    // A 1-bit file from a 1-bit image, from a 24-bit image of exactly two
    // colours, or from any other image through the ordered dither.
    plan.source = BilevelSource(a.Bitmap);
    plan.image = plan.source.Image;
    plan.palette.assign(plan.source.Colours.begin(), plan.source.Colours.end());
    return 1;
  }
  if (bits == 4 || bits == 8) {
    plan.source = TrueColourSource(a.Bitmap);
    plan.image = plan.source.Image;
    plan.palette.assign(size_t(1) << bits, kBlack);
    // An image of few enough colours keeps them; others are quantized.
    plan.quantizer = TIEQuantizer::KeepingColours(TIEQuantizerSource(*plan.image), plan.palette, 1 << bits);
    return bits;
  }
  plan.palette.clear();
  plan.image = &a.Bitmap;
  return 24;
}

// Reused buffers for one row in the file's depth.
struct TRowBuffers {
  std::vector<uint8_t> row, indices, rle;
};

// Two indices a byte, the first pixel in the high nibble.
void PackNibbles(const uint8_t* indices, int64_t count, uint8_t* out) {
  for (int64_t x = 0; x + 1 < count; x += 2) *out++ = uint8_t(indices[x] << 4 | indices[x + 1]);
  if (count & 1) *out = uint8_t(indices[count - 1] << 4);
}

// The bytes of image row y as stored in the file.
const uint8_t* FileRow(const TBmpPlan& plan, const TBmpLayout& l, int64_t y, TRowBuffers& buf) {
  const TIEWorkingBitmap& image = *plan.image;
  const uint8_t* src = image.ScanLine(y);
  if (l.bits == 1 || (l.bits == 24 && image.PixelFormat() == TIEPixelFormat::pf24bit)) return src;
  if (l.bits == 24) {
    for (int64_t x = 0; x < l.width; ++x) std::fill_n(buf.row.begin() + 3 * x, 3, GetBit(src, x) ? 255 : 0);
    return buf.row.data();
  }
  uint8_t* indices = l.bits == 8 && !l.rle ? buf.row.data() : buf.indices.data();
  plan.quantizer->MapRow(src, l.width, indices);
  if (l.rle) {
    buf.rle.clear();
    EncodeDibRleRow(indices, l.width, l.bits, buf.rle);
    return buf.rle.data();
  }
  if (l.bits == 4) PackNibbles(indices, l.width, buf.row.data());
  return buf.row.data();
}

void WriteRows(TIOWriteArgs& a, const TBmpPlan& plan, const TBmpLayout& l) {
  TRowBuffers buf;
  buf.row.assign(size_t(RowLength(l.width, l.bits)), 0);
  buf.indices.assign(size_t(l.width), 0);
  for (int64_t y = l.height - 1; y >= 0; --y) {
    a.Progress.Report(int((l.height - 1 - y) * 100 / l.height));
    if (a.Progress.Aborted()) return;
    const uint8_t* bytes = FileRow(plan, l, y, buf);
    const int64_t size = l.rle ? int64_t(buf.rle.size()) : int64_t(buf.row.size());
    if (!a.Stream.WriteExact(bytes, size)) return Fail(a, "write error");
  }
  const uint8_t endOfBitmap[2] = {0, 1};
  if (l.rle && !a.Stream.WriteExact(endOfBitmap, 2)) Fail(a, "write error");
}

void WriteBmp(TIOWriteArgs& a, TBmpPlan& plan, int bits) {
  TIEStream& s = a.Stream;
  TBmpLayout l;
  l.width = a.Bitmap.Width();
  l.height = a.Bitmap.Height();
  l.bits = bits;
  l.headerSize = HeaderSize(a.Params, a.Bitmap);
  l.rle = a.Params.BmpCompression == 1 && (bits == 4 || bits == 8) && l.headerSize != 12;
  l.xppm = PixelsPerMetreOfDpi(a.Params.DpiX);
  l.yppm = PixelsPerMetreOfDpi(a.Params.DpiY);
  const int64_t start = s.Position();
  WriteHeaders(s, start, l);
  WritePalette(s, plan.palette, l.headerSize);
  if (!plan.palette.empty()) a.Params.SetColorMap(plan.palette);
  l.pixelStart = s.Position() - start;
  WriteRows(a, plan, l);
  if (a.Progress.Aborted()) return;
  l.end = s.Position() - start;
  WriteHeaders(s, start, l);
  s.Seek(start + l.end, TSeekOrigin::soBeginning);
  if (s.Failed()) Fail(a, "write error");
}

template <class TWrite>
void Guard(TIOWriteArgs& args, const TWrite& write) {
  if (args.Bitmap.Empty()) return Fail(args, "empty image");
  args.Progress.Guard(write);
}

}  // namespace

void WriteBMPStream(TIOWriteArgs& args) {
  Guard(args, [&] {
    TBmpPlan plan;
    const int bits = PlanOutput(args, plan);
    WriteBmp(args, plan, bits);
  });
}

}  // namespace quillet
