// Icon and cursor readers: the directory, then the chosen entry, either a
// bitmap (colour and AND rows) or a PNG file.
#include "imaging/io/formats/ico/ico_codec.h"

#include <algorithm>
#include <bit>
#include <vector>

#include "imaging/core/dib_reader.h"
#include "imaging/core/mask.h"
#include "imaging/io/alpha_plane.h"
#include "imaging/io/dib_util.h"
#include "imaging/io/formats/bmp/bmp_codec.h"
#include "imaging/io/formats/png/png_codec.h"

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

// The entry's bitmap: its header with the size the directory and the header
// settle on, and the colour under transparent pixels.
struct TIconImage {
  TDibHeader header;
  TBGR background;
};

// Bits per pixel, or 0 when nothing usable is given.
int IconBits(const TIconEntry& e, int headerBits, TIconKind kind) {
  int bits = kind == ikIcon ? e.bitCount : 0;
  if (headerBits != 0) bits = headerBits;
  if (bits == 0 && e.colorCount > 0) bits = std::bit_width(unsigned(e.colorCount - 1));
  return bits;
}

// The entry's size, corrected from the bitmap header (whose height counts the
// colour and the mask rows) where the entry is unreliable.
void IconSize(const TIconEntry& e, int64_t headerW, int64_t headerH, TDibHeader& h) {
  h.Width = e.width ? e.width : headerW;
  h.Height = e.height ? e.height : headerH / 2;
  // The header is what the pixel data follows; a directory that disagrees on
  // either side gives way to it.
  const bool disagree = e.width != headerW || (e.height != 0 && e.height != headerH / 2);
  if (disagree && headerW > 0 && headerH > 0 && headerW < 2048 && headerH < 2048) {
    h.Width = headerW;
    h.Height = headerH / 2;
  }
  h.TopDown = false;  // icon rows are stored bottom-up whatever the sign
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
bool AnyAlpha(const std::vector<uint8_t>& colors, const TDibHeader& h, int64_t colorRow) {
  for (int64_t y = 0; y < h.Height; ++y)
    for (int64_t x = 0; x < h.Width; ++x)
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
  const TDibHeader& h = img.header;
  const TDibRowReader rows(h, bitmap.PixelFormat());
  const int64_t colorRow = rows.StoredBytes(), maskRow = RowLength(h.Width, 1);
  std::vector<uint8_t> colors(static_cast<size_t>(colorRow * h.Height)), mask(size_t(maskRow * h.Height), 0);
  if (!s.ReadExact(colors.data(), int64_t(colors.size()))) return false;
  // Some writers leave the mask out of 32-bit entries; their alpha decides alone.
  const bool useAlpha = h.Bits == 32 && AnyAlpha(colors, h, colorRow);
  const bool haveMask = s.ReadExact(mask.data(), int64_t(mask.size()));
  if (!haveMask && !useAlpha) return false;
  const bool bilevel = bitmap.PixelFormat() == TIEPixelFormat::pf1bit;
  if (alpha && alpha->Allocate(h.Width, h.Height, 8)) alpha->Fill(255);
  for (int64_t i = 0; i < h.Height; ++i) {
    const int64_t y = h.Height - 1 - i;
    const uint8_t* src = colors.data() + i * colorRow;
    uint8_t* dst = bitmap.ScanLine(y);
    progress.Report(int(i * 100 / h.Height));
    if (progress.Aborted()) return true;  // cancelled: the rows not reached stay white
    rows.Decode(src, dst);
    if (useAlpha)
      ApplyAlpha(src, h.Width, dst, img.background, alpha, y);
    else
      ApplyMask(mask.data() + i * maskRow, src, h.Width, dst, bilevel, img.background, alpha, y);
  }
  return true;
}

// Parameters of a bitmap entry; false when the entry gives no bit count.
bool SetIconParams(const TIconEntry& e, TIconKind kind, TIconImage& img, TIOParamsVals& p) {
  TDibHeader& h = img.header;
  StoreDibResolution(h, p);
  h.Bits = IconBits(e, h.Bits, kind);
  if (h.Bits == 0) return false;
  IconSize(e, h.Width, h.TopDown ? -h.Height : h.Height, h);
  p.BitsPerSample = kind == ikIcon ? std::min(h.Bits, 8) : h.Bits;
  p.SamplesPerPixel = kind == ikIcon && h.Bits > 8 ? 3 : 1;
  p.Width = int32_t(h.Width);
  p.Height = int32_t(h.Height);
  return true;
}

// An entry stored as a bitmap: header, colour table, colour rows, AND rows.
void ReadBitmapEntry(TIOReadArgs& a, const TIconEntry& e, TIconKind kind) {
  TIOParamsVals& p = a.Params;
  TIconImage img;
  img.background = kind == ikIcon ? p.IcoBackground : p.CurBackground;
  if (!ReadDibInfoHeader(a.Stream, img.header)) return Fail(a, "bad image header");
  if (!SetIconParams(e, kind, img, p)) return Fail(a, "no usable bit count");
  TDibHeader& h = img.header;
  p.FreeColorMap();
  if (!ReadDibTables(a.Stream, h)) return Fail(a, "truncated palette");
  if (h.Bits <= 8) StorePalette(h.Palette, p);
  if (a.ParamsOnly) return;
  if (const char* problem = DibLayoutProblem(h)) return Fail(a, problem);
  if (IsDibRle(h)) return Fail(a, "RLE icon entry");
  if (!a.Bitmap.Resize(h.Width, h.Height, DibPixelFormat(h, false))) return Fail(a, "image too large");
  if (!DecodeIcon(a.Stream, img, a.Bitmap, a.AlphaMask, a.Progress)) Fail(a, "truncated pixel data");
}

// Pixels of alpha 0 take the background colour, as under an AND mask.
void PaintTransparent(TIEWorkingBitmap& bitmap, const TIEMask& alpha, const TBGR& background) {
  if (bitmap.PixelFormat() != TIEPixelFormat::pf24bit || alpha.BitsPerPixel() != 8 || alpha.Full() ||
      alpha.Width() != bitmap.Width() || alpha.Height() != bitmap.Height())
    return;
  for (int64_t y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* a = alpha.ScanLine(y);
    uint8_t* dst = bitmap.ScanLine(y);
    for (int64_t x = 0; x < bitmap.Width(); ++x, dst += 3)
      if (a[x] == 0) dst[0] = background.b, dst[1] = background.g, dst[2] = background.r;
  }
}

// An entry stored as a PNG file: decoded by the PNG reader from the entry's
// own bytes; transparent pixels take the background colour as in bitmap entries.
void ReadPngEntry(TIOReadArgs& a, const TIconEntry& e, TIconKind kind) {
  std::vector<uint8_t> bytes(static_cast<size_t>(std::min<int64_t>(e.size, a.Stream.Remaining())));
  bytes.resize(size_t(a.Stream.Read(bytes.data(), int64_t(bytes.size()))));
  TIEMemoryStream entry(bytes.data(), int64_t(bytes.size()));
  TIOParamsVals png = a.Params;
  TIEMask ownAlpha;
  TIOReadArgs args{entry, a.Bitmap, png, a.Progress, a.ParamsOnly, int64_t(bytes.size()),
                   a.AlphaMask ? a.AlphaMask : &ownAlpha};
  ReadPNGStream(args);
  TIOParamsVals& p = a.Params;
  p.Width = png.Width, p.Height = png.Height, p.DpiX = png.DpiX, p.DpiY = png.DpiY;
  p.BitsPerSample = png.BitsPerSample, p.SamplesPerPixel = png.SamplesPerPixel;
  p.SetColorMap(png.ColorMap);
  if (a.ParamsOnly || a.Progress.Aborted()) return;
  PaintTransparent(a.Bitmap, *args.AlphaMask, kind == ikIcon ? p.IcoBackground : p.CurBackground);
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
  if (IsPNGStream(s)) return ReadPngEntry(a, e, kind);
  ReadBitmapEntry(a, e, kind);
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
