// Targa reader: the extension area through the footer, the 18-byte header,
// the image ID, the colour map over the default colour cube, then rows of
// file pixels converted to the bitmap's rows in the file's row order.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "imaging/core/engine_settings.h"
#include "imaging/io/bounded_input.h"
#include "imaging/io/dib_util.h"
#include "imaging/io/formats/tga/tga_codec.h"
#include "imaging/io/formats/tga/tga_extension.h"
#include "imaging/io/formats/tga/tga_packets.h"
#include "imaging/io/row_loop.h"

namespace quillet {

namespace {

constexpr int64_t kHeaderBytes = 18;
constexpr int64_t kInputBlock = 8192;

struct TTgaHeader {
  int idLength = 0, mapType = 0, type = 0, mapFirst = 0, mapLength = 0, mapBits = 0;
  int xOrigin = 0, yOrigin = 0, width = 0, height = 0, depth = 0, descriptor = 0;

  bool Grey() const { return type == 3 || type == 11; }
  bool Rle() const { return type >= 9; }
  bool TopDown() const { return descriptor & 0x20; }
  bool RightToLeft() const { return descriptor & 0x10; }
};

// How a row of file pixels becomes a bitmap row.
enum class TTgaPixels { tpBits, tpIndexed, tpGreyAlpha, tp555, tpBgr, tpBgra };

int U16At(const uint8_t* p) { return p[0] | p[1] << 8; }

TTgaHeader ParseHeader(const uint8_t* h) {
  return {h[0],         h[1],          h[2],          U16At(h + 3),  U16At(h + 5), h[7],
          U16At(h + 8), U16At(h + 10), U16At(h + 12), U16At(h + 14), h[16],        h[17]};
}

const char* Problem(const TTgaHeader& h) {
  const bool knownType = (h.type >= 1 && h.type <= 3) || (h.type >= 9 && h.type <= 11);
  const bool knownDepth = h.depth == 1 || h.depth == 8 || h.depth == 16 || h.depth == 24 || h.depth == 32;
  if (!knownType || (!knownDepth && h.depth != 4)) return "not a Targa file";
  if (h.width == 0 || h.height == 0) return "bad image size";
  if (!knownDepth) return "unsupported Targa pixel depth";
  return nullptr;
}

TTgaPixels PixelsOf(const TTgaHeader& h) {
  switch (h.depth) {
    case 1:
      return TTgaPixels::tpBits;
    case 8:
      return TTgaPixels::tpIndexed;
    case 16:
      return h.Grey() ? TTgaPixels::tpGreyAlpha : TTgaPixels::tp555;
    case 24:
      return TTgaPixels::tpBgr;
    default:
      return TTgaPixels::tpBgra;
  }
}

TBGR Colour555(int v) {
  return MakeBGR(uint8_t((v >> 10 & 31) * 8), uint8_t((v >> 5 & 31) * 8), uint8_t((v & 31) * 8));
}

// Blue, green, red of every 15-bit value (the top bit of 16 is ignored).
const std::array<TBGR, 32768>& Table555() {
  static const std::array<TBGR, 32768> table = [] {
    std::array<TBGR, 32768> t{};
    for (int v = 0; v < 32768; ++v) t[size_t(v)] = Colour555(v);
    return t;
  }();
  return table;
}

using TPalette = std::array<TBGR, 256>;

// Entry 32 r + 4 g + b of the cube is (32 r + 28, 32 g + 28, 64 b + 60).
TPalette ColourCube() {
  TPalette cube;
  for (int i = 0; i < 256; ++i)
    cube[size_t(i)] = MakeBGR(uint8_t(32 * (i >> 5) + 28), uint8_t(32 * (i >> 2 & 7) + 28), uint8_t(64 * (i & 3) + 60));
  return cube;
}

TPalette GreyRamp() {
  TPalette ramp;
  for (int i = 0; i < 256; ++i) ramp[size_t(i)] = MakeBGR(uint8_t(i), uint8_t(i), uint8_t(i));
  return ramp;
}

// The colour map's entries over the cube; entries past index 255 are read
// and dropped, and entries of unknown sizes skipped.
bool ReadColourMap(TBoundedInput& in, const TTgaHeader& h, TPalette& palette) {
  const int bytes = (h.mapBits + 7) / 8;
  const bool known = h.mapBits == 15 || h.mapBits == 16 || h.mapBits == 24 || h.mapBits == 32;
  if (!known) return in.Skip(int64_t(bytes) * h.mapLength);
  uint8_t e[4];
  for (int i = 0; i < h.mapLength; ++i) {
    if (in.Read(e, bytes) != bytes) return false;
    const int index = h.mapFirst + i;
    if (index < 256) palette[size_t(index)] = bytes == 2 ? Colour555(U16At(e)) : MakeBGR(e[2], e[1], e[0]);
  }
  return true;
}

void SetParams(const TTgaHeader& h, const std::string& id, const TPalette& palette, TIOParamsVals& p) {
  p.TgaXPos = h.xOrigin;
  p.TgaYPos = h.yOrigin;
  p.TgaDescriptor = id;
  p.TgaCompressed = h.Rle();
  p.Width = h.width;
  p.Height = h.height;
  p.DpiX = StartupMetrics().DpiX;
  p.DpiY = StartupMetrics().DpiY;
  struct TSamples {
    int depth, bits, samples;
  };
  static constexpr TSamples kSamples[] = {{1, 1, 1}, {8, 8, 1}, {16, 5, 3}, {24, 8, 3}, {32, 8, 4}};
  for (const TSamples& s : kSamples)
    if (s.depth == h.depth) p.BitsPerSample = s.bits, p.SamplesPerPixel = s.samples;
  const bool map = h.mapType == 1;
  p.TgaGrayLevel = h.depth == 8 && (!map || h.Grey());
  if (map)
    p.SetColorMap(std::vector<TBGR>(palette.begin(), palette.begin() + std::min(h.mapLength, 256)));
  else
    p.FreeColorMap();
}

void PutColour(uint8_t* dst, const TBGR& c) { dst[0] = c.b, dst[1] = c.g, dst[2] = c.r; }

// Converts `width` file pixels to a 24-bit row (or, for bits, a 1-bit row).
void StoreRow(TTgaPixels kind, const TPalette& palette, const uint8_t* src, uint8_t* dst, int64_t width) {
  switch (kind) {
    case TTgaPixels::tpBits:
      if (width & 7) dst[width >> 3] = src[width >> 3] & uint8_t(0xFF00 >> (width & 7));
      std::copy_n(src, width >> 3, dst);
      break;
    case TTgaPixels::tpIndexed:
      for (int64_t x = 0; x < width; ++x, dst += 3) PutColour(dst, palette[src[x]]);
      break;
    case TTgaPixels::tpGreyAlpha:
      for (int64_t x = 0; x < width; ++x, dst += 3, src += 2) dst[0] = dst[1] = dst[2] = src[0];
      break;
    case TTgaPixels::tp555: {
      const std::array<TBGR, 32768>& table = Table555();
      for (int64_t x = 0; x < width; ++x, dst += 3, src += 2) PutColour(dst, table[size_t(U16At(src) & 0x7FFF)]);
      break;
    }
    case TTgaPixels::tpBgr:
      break;  // decoded in place
    case TTgaPixels::tpBgra:
      for (int64_t x = 0; x < width; ++x, dst += 3, src += 4) dst[0] = src[0], dst[1] = src[1], dst[2] = src[2];
      break;
  }
}

void Mirror(TIEWorkingBitmap& bitmap, int64_t y) {
  uint8_t* row = bitmap.ScanLine(y);
  const int64_t w = bitmap.Width();
  if (bitmap.PixelFormat() == TIEPixelFormat::pf24bit) {
    for (int64_t l = 0, r = w - 1; l < r; ++l, --r) std::swap_ranges(row + 3 * l, row + 3 * l + 3, row + 3 * r);
    return;
  }
  const auto bit = [&](int64_t x) { return (row[x >> 3] >> (7 - (x & 7))) & 1; };
  for (int64_t l = 0, r = w - 1; l < r; ++l, --r)
    if (bit(l) != bit(r)) row[l >> 3] ^= uint8_t(0x80 >> (l & 7)), row[r >> 3] ^= uint8_t(0x80 >> (r & 7));
}

void ReadPixels(TIOReadArgs& a, const TTgaHeader& h, const TPalette& palette, TBoundedInput& in) {
  const TTgaPixels kind = PixelsOf(h);
  const bool bits = kind == TTgaPixels::tpBits;
  if (!a.Bitmap.AllocateUninitialised(h.width, h.height, bits ? TIEPixelFormat::pf1bit : TIEPixelFormat::pf24bit))
    return Fail(a, "image too large");
  // Depth-1 rows are ceil(width / 8) bytes, run-length packets counting bytes.
  const int pixelBytes = bits ? 1 : h.depth / 8;
  const int64_t count = bits ? (int64_t(h.width) + 7) / 8 : h.width;
  TTgaPacketReader packets(in, pixelBytes, h.Rle());
  std::vector<uint8_t> raw(size_t(count * pixelBytes));
  ReadRows(a, "truncated image data", h.TopDown() ? TRowOrder::roTopDown : TRowOrder::roBottomUp, [&](int64_t y) {
    uint8_t* row = a.Bitmap.ScanLine(y);
    const bool complete = packets.Row(kind == TTgaPixels::tpBgr ? row : raw.data(), count);
    StoreRow(kind, palette, raw.data(), row, h.width);
    if (h.RightToLeft()) Mirror(a.Bitmap, y);
    return complete;
  });
}

// The extension area's fields, when a footer points to a whole area.
void ReadExtensionArea(TIEStream& s, int64_t start, int64_t bytes, TIOParamsVals& p) {
  TTgaFooter footer;
  if (bytes < kHeaderBytes + kTgaFooterBytes) return;
  s.Seek(start + bytes - kTgaFooterBytes, TSeekOrigin::soBeginning);
  if (!s.ReadExact(footer.data(), kTgaFooterBytes)) return;
  const int64_t offset = TgaExtensionOffset(footer);
  TTgaExtension area;
  if (offset < kHeaderBytes || offset > bytes - kTgaFooterBytes - kTgaExtensionBytes) return;
  s.Seek(start + offset, TSeekOrigin::soBeginning);
  if (s.ReadExact(area.data(), kTgaExtensionBytes)) ReadTgaExtension(area, p);
}

void ReadTga(TIOReadArgs& a) {
  TIEStream& s = a.Stream;
  TIOParamsVals& p = a.Params;
  const int64_t start = s.Position();
  const int64_t size = s.Size() - start;
  const int64_t bytes = a.BytesAvailable > 0 ? std::min(a.BytesAvailable, size) : size;
  p.TgaAuthor.clear();
  p.TgaImageName.clear();
  p.TgaDate = ParamsToday();
  p.TgaBackground = kBlack;
  p.TgaAspectRatio = 1.0;
  p.TgaGamma = 2.2;
  ReadExtensionArea(s, start, bytes, p);
  s.Seek(start, TSeekOrigin::soBeginning);
  uint8_t raw[kHeaderBytes];
  if (bytes < kHeaderBytes || !s.ReadExact(raw, kHeaderBytes)) return Fail(a, "not a Targa file");
  const TTgaHeader h = ParseHeader(raw);
  if (const char* problem = Problem(h)) return Fail(a, problem);
  TBoundedInput in(s, start + bytes, kInputBlock);
  std::string id(size_t(h.idLength), '\0');
  if (in.Read(reinterpret_cast<uint8_t*>(id.data()), h.idLength) != h.idLength) return Fail(a, "truncated image ID");
  id.resize(id.find('\0') == std::string::npos ? id.size() : id.find('\0'));
  TPalette palette = ColourCube();
  if (h.mapType == 1 && !ReadColourMap(in, h, palette)) return Fail(a, "truncated colour map");
  if (h.depth == 8 && (h.mapType != 1 || h.Grey())) palette = GreyRamp();
  SetParams(h, id, palette, p);
  if (a.ParamsOnly) return;
  ReadPixels(a, h, palette, in);
}

}  // namespace

void ReadTGAStream(TIOReadArgs& args) {
  args.Progress.Guard([&] { ReadTga(args); });
}

}  // namespace quillet
