// Icon and cursor readers: the directory, the entry's bitmap header, the
// colour (XOR) rows and the transparency (AND) rows.
#include "imaging/io/formats/ico/ico_codec.h"

#include <algorithm>
#include <bit>
#include <vector>

#include "imaging/core/dib_rows.h"
#include "imaging/core/mask.h"
#include "imaging/core/math.h"
#include "imaging/core/startup_metrics.h"
#include "imaging/io/alpha_plane.h"
#include "imaging/io/formats/bmp/bmp_codec.h"
#include "imaging/io/dib_util.h"

namespace quillet {

namespace {

enum TIconKind { ikIcon = 1, ikCursor = 2 };

struct TIconEntry {
  int width = 0, height = 0, colorCount = 0;
  int planes = 0, bitCount = 0;  // cursors: hot spot x and y
  uint32_t size = 0, offset = 0;
};

bool ReadEntry(TIEStream& s, TIconEntry& e, uint8_t& reserved) {
  uint8_t b[16];
  if (!s.ReadExact(b, 16)) return false;
  e.width = b[0], e.height = b[1], e.colorCount = b[2], reserved = b[3];
  e.planes = b[4] | b[5] << 8;
  e.bitCount = b[6] | b[7] << 8;
  e.size = uint32_t(b[8]) | uint32_t(b[9]) << 8 | uint32_t(b[10]) << 16 | uint32_t(b[11]) << 24;
  e.offset = uint32_t(b[12]) | uint32_t(b[13]) << 8 | uint32_t(b[14]) << 16 | uint32_t(b[15]) << 24;
  return true;
}

// Reads the 6-byte directory head; false unless it is a directory of `kind`.
bool ReadDirectoryHead(TIEStream& s, TIconKind kind, int& count) {
  uint16_t reserved, type, n;
  if (!s.ReadU16LE(reserved) || !s.ReadU16LE(type) || !s.ReadU16LE(n)) return false;
  count = n;
  return reserved == 0 && type == kind && n >= 1;
}

bool IsIconStream(TIEStream& s, TIconKind kind) {
  const int64_t start = s.Position();
  bool ok = s.Size() - start > 22;
  int count = 0;
  ok = ok && ReadDirectoryHead(s, kind, count);
  for (int i = 0; ok && i < count; ++i) {
    TIconEntry e;
    uint8_t reserved = 0;
    ok = ReadEntry(s, e, reserved) && reserved == 0 && e.size != 0 && e.offset >= uint32_t(6 + 16 * (i + 1));
  }
  s.Seek(start, TSeekOrigin::soBeginning);
  return ok;
}

struct TIconImage {
  int64_t width = 0, height = 0;
  int bits = 0;
  TPaletteTable palette;
  TBGR background;
};

// Bits per pixel, or 0 when nothing usable is given.
int IconBits(const TIconEntry& e, int headerBits, TIconKind kind) {
  int bits = kind == ikIcon ? e.bitCount : 0;
  if (headerBits != 0) bits = headerBits;
  if (bits == 0 && e.colorCount > 0) bits = std::bit_width(unsigned(e.colorCount - 1));
  return bits;
}

bool SupportedBits(int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32; }

// The entry's size, corrected from the bitmap header where the entry is unreliable.
void IconSize(const TIconEntry& e, int64_t headerW, int64_t headerH, TIconImage& img) {
  img.width = e.width ? e.width : headerW;
  img.height = e.height ? e.height : headerH / 2;
  // The header is what the pixel data follows; a directory that disagrees on
  // either side gives way to it.
  const bool disagree = e.width != headerW || (e.height != 0 && e.height != headerH / 2);
  if (disagree && headerW > 0 && headerH > 0 && headerW < 2048 && headerH < 2048) {
    img.width = headerW;
    img.height = headerH / 2;
  }
}

// Applies the AND mask to row y: transparent pixels take the background
// colour and alpha 0.
void ApplyMask(const uint8_t* mask, const uint8_t* colorRow, int64_t width, uint8_t* dst, bool bilevel,
               const TBGR& background, TIEMask* alpha, int64_t y) {
  const bool whiteBack = background == kWhite;
  for (int64_t x = 0; x < width; ++x) {
    if (!GetBit(mask, x)) continue;
    if (alpha) alpha->SetPixel(x, y, 0);
    if (bilevel) {
      SetBit(dst, x, whiteBack != GetBit(colorRow, x));
    } else {
      dst[3 * x] = background.b, dst[3 * x + 1] = background.g, dst[3 * x + 2] = background.r;
    }
  }
}

// 32-bit rows carry their own alpha; the AND mask counts only when every alpha is 0.
bool AnyAlpha(const std::vector<uint8_t>& colors, const TIconImage& img, int64_t colorRow) {
  for (int64_t y = 0; y < img.height; ++y)
    for (int64_t x = 0; x < img.width; ++x)
      if (colors[size_t(y * colorRow + 4 * x + 3)] != 0) return true;
  return false;
}

// Alpha from a 32-bit row; fully transparent pixels take the background colour.
void ApplyAlpha(const uint8_t* colorRow, int64_t width, uint8_t* dst, const TBGR& background, TIEMask* alpha,
                int64_t y) {
  for (int64_t x = 0; x < width; ++x) {
    const uint8_t a = colorRow[4 * x + 3];
    if (alpha && a != 255) alpha->SetPixel(x, y, a);
    if (a == 0) dst[3 * x] = background.b, dst[3 * x + 1] = background.g, dst[3 * x + 2] = background.r;
  }
}

bool DecodeIcon(TIEStream& s, const TIconImage& img, TIEWorkingBitmap& bitmap, TIEMask* alpha,
                const TIOProgress& progress) {
  const int64_t colorRow = RowLength(img.width, img.bits), maskRow = RowLength(img.width, 1);
  std::vector<uint8_t> colors(static_cast<size_t>(colorRow * img.height)), mask(size_t(maskRow * img.height), 0);
  if (!s.ReadExact(colors.data(), int64_t(colors.size()))) return false;
  // Some writers leave the mask out of 32-bit entries; their alpha decides alone.
  const bool useAlpha = img.bits == 32 && AnyAlpha(colors, img, colorRow);
  const bool haveMask = s.ReadExact(mask.data(), int64_t(mask.size()));
  if (!haveMask && !useAlpha) return false;
  const bool bilevel = bitmap.PixelFormat() == TIEPixelFormat::pf1bit;
  if (alpha && alpha->Allocate(img.width, img.height, 8)) alpha->Fill(255);
  const TDibRowDecoder decoder(img.bits, img.palette, DefaultBitFields(img.bits));
  for (int64_t i = 0; i < img.height; ++i) {
    const int64_t y = img.height - 1 - i;
    const uint8_t* src = colors.data() + i * colorRow;
    uint8_t* dst = bitmap.ScanLine(y);
    progress.Report(int(i * 100 / img.height));
    if (progress.Aborted()) return true;  // cancelled: the rows not reached stay white
    if (bilevel)
      CopyBilevelRow(src, dst, bitmap.RowBytes(), img.palette.IsWhiteBlack());
    else
      decoder.Decode(src, img.width, dst);
    if (useAlpha)
      ApplyAlpha(src, img.width, dst, img.background, alpha, y);
    else
      ApplyMask(mask.data() + i * maskRow, src, img.width, dst, bilevel, img.background, alpha, y);
  }
  return true;
}

void ReadIcon(TIOReadArgs& a, TIconKind kind) {
  TIEStream& s = a.Stream;
  TIOParamsVals& p = a.Params;
  const int64_t start = s.Position();
  uint8_t sig[2] = {};
  if (kind == ikIcon && s.Read(sig, 2) == 2 && sig[0] == 'B' && sig[1] == 'M') {
    s.Seek(start, TSeekOrigin::soBeginning);
    TIOReadArgs bmp{s, a.Bitmap, p, a.Progress, a.ParamsOnly, s.Size() - start};
    ReadBMPStream(bmp);
    if (!a.ParamsOnly) MakeOpaqueAlpha(a.AlphaMask, a.Bitmap);
    return;
  }
  s.Seek(start, TSeekOrigin::soBeginning);
  int count = 0;
  if (!ReadDirectoryHead(s, kind, count)) return Fail(a, kind == ikIcon ? "not an icon file" : "not a cursor file");
  const int index = kind == ikIcon ? p.IcoImageIndex : p.CurImageIndex;
  if (index < 0 || index >= count) return;
  TIconEntry e;
  uint8_t reserved;
  for (int i = 0; i <= index; ++i)
    if (!ReadEntry(s, e, reserved)) return Fail(a, "truncated directory");
  if (kind == ikCursor) p.CurXHotSpot = e.planes, p.CurYHotSpot = e.bitCount;

  s.Seek(start + e.offset, TSeekOrigin::soBeginning);
  uint8_t h[40];
  if (!s.ReadExact(h, 40)) return Fail(a, "truncated image header");
  if (h[0] == 0x89 && h[1] == 'P' && h[2] == 'N' && h[3] == 'G') return Fail(a, "PNG-compressed entries are not supported yet");
  const auto u32 = [&](int at) { return uint32_t(h[at]) | uint32_t(h[at + 1]) << 8 | uint32_t(h[at + 2]) << 16 | uint32_t(h[at + 3]) << 24; };
  const uint32_t headerSize = u32(0);
  if (headerSize < 40) return Fail(a, "bad image header");
  s.Seek(start + e.offset + headerSize, TSeekOrigin::soBeginning);
  p.DpiX = DpiOfPixelsPerMetre(int32_t(u32(24)), StartupMetrics().DpiX);
  p.DpiY = DpiOfPixelsPerMetre(int32_t(u32(28)), StartupMetrics().DpiY);

  TIconImage img;
  img.background = kind == ikIcon ? p.IcoBackground : p.CurBackground;
  img.bits = IconBits(e, h[14] | h[15] << 8, kind);
  if (img.bits == 0) return Fail(a, "no usable bit count");
  IconSize(e, int32_t(u32(4)), int32_t(u32(8)), img);
  p.BitsPerSample = kind == ikIcon ? std::min(img.bits, 8) : img.bits;
  p.SamplesPerPixel = kind == ikIcon && img.bits > 8 ? 3 : 1;
  p.FreeColorMap();
  if (img.bits <= 8) {
    const uint32_t used = u32(32);
    if (!ReadPaletteEntries(s, used ? used : 1u << img.bits, 4, img.palette)) return Fail(a, "truncated palette");
    StorePalette(img.palette, p);
  }
  p.Width = int32_t(img.width);
  p.Height = int32_t(img.height);
  if (a.ParamsOnly) return;
  if (!SupportedBits(img.bits)) return Fail(a, "unsupported bit count");
  if (img.width <= 0 || img.height <= 0 || !ImageBytes(img.width, img.height, 32)) return Fail(a, "bad image size");
  const bool bilevel = img.bits == 1 && (img.palette.IsBlackWhite() || img.palette.IsWhiteBlack());
  if (!a.Bitmap.Resize(img.width, img.height, bilevel ? TIEPixelFormat::pf1bit : TIEPixelFormat::pf24bit))
    return Fail(a, "image too large");
  if (!DecodeIcon(s, img, a.Bitmap, a.AlphaMask, a.Progress)) Fail(a, "truncated pixel data");
}

}  // namespace

void ReadICOStream(TIOReadArgs& args) {
  args.Progress.Guard([&] { ReadIcon(args, ikIcon); });
}
void ReadCURStream(TIOReadArgs& args) {
  args.Progress.Guard([&] { ReadIcon(args, ikCursor); });
}
bool IsICOStream(TIEStream& stream) { return IsIconStream(stream, ikIcon); }
bool IsCURStream(TIEStream& stream) { return IsIconStream(stream, ikCursor); }

}  // namespace quillet
