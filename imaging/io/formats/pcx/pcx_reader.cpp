// PCX reader: the 128-byte header checked against the byte count, the header
// and trailing palettes, then each row decoded one plane line per plane and
// converted to the bitmap's row. The stream is left after the image data.
#include <algorithm>
#include <array>
#include <vector>

#include "imaging/core/dib_rows.h"
#include "imaging/core/engine_settings.h"
#include "imaging/io/dib_util.h"
#include "imaging/io/formats/pcx/pcx_codec.h"
#include "imaging/io/formats/pcx/pcx_rle.h"
#include "imaging/io/row_loop.h"

namespace quillet {

namespace {

constexpr int64_t kHeaderBytes = 128;
constexpr int64_t kTrailingPalette = 768;

enum class TPcxLayout { plBits, plInvertedBits, plTwoColours, plNibbles, plIndexed, plRgbPlanes, plFourPlanes, plNone };

struct TPcxHeader {
  int version = 0, bits = 0, planes = 0;
  bool rle = false;
  int64_t width = 0, height = 0, lineBytes = 0;
  int dpiX = 0, dpiY = 0;
  std::array<TBGR, 16> colours{};
  TPcxLayout layout = TPcxLayout::plNone;

  bool Trailing() const { return planes == 1 && bits > 4; }
};

int U16At(const uint8_t* p) { return p[0] | p[1] << 8; }

TPcxLayout LayoutOf(const TPcxHeader& h) {
  if (h.planes == 1 && h.bits == 1) {
    const TBGR c0 = h.colours[0], c1 = h.colours[1];
    if (c0 == c1 || (c0 == kBlack && c1 == kWhite)) return TPcxLayout::plBits;
    return c0 == kWhite && c1 == kBlack ? TPcxLayout::plInvertedBits : TPcxLayout::plTwoColours;
  }
  if (h.planes == 1 && h.bits == 4) return TPcxLayout::plNibbles;
  if (h.planes == 1 && h.bits == 8) return TPcxLayout::plIndexed;
  if (h.planes == 3 && h.bits == 8) return TPcxLayout::plRgbPlanes;
  if (h.planes == 4 && h.bits == 1) return TPcxLayout::plFourPlanes;
  return TPcxLayout::plNone;
}

const char* ParseHeader(const uint8_t* b, int64_t bytes, TPcxHeader& h) {
  if (b[0] != 10 || b[2] > 1 || b[3] < 1 || b[3] > 8) return "not a PCX file";
  h.version = b[1];
  h.rle = b[2] == 1;
  h.bits = b[3];
  h.width = int64_t(U16At(b + 8)) - U16At(b + 4) + 1;
  h.height = int64_t(U16At(b + 10)) - U16At(b + 6) + 1;
  h.dpiX = U16At(b + 12);
  h.dpiY = U16At(b + 14);
  for (int i = 0; i < 16; ++i) h.colours[i] = MakeBGR(b[16 + 3 * i], b[17 + 3 * i], b[18 + 3 * i]);
  h.planes = b[65];
  h.lineBytes = U16At(b + 66);
  h.layout = LayoutOf(h);
  if (h.width <= 0 || h.height <= 0) return "bad image size";
  if (h.planes == 0) return "no planes";
  if (h.lineBytes < (h.width * h.bits + 7) / 8) return "bytes per line too small for the width";
  if (h.Trailing() && bytes - kTrailingPalette < kHeaderBytes) return "no room for the 256-colour palette";
  return nullptr;
}

void SetParams(const TPcxHeader& h, const std::vector<TBGR>& trailing, TIOParamsVals& p) {
  p.Width = int32_t(h.width);
  p.Height = int32_t(h.height);
  const bool screen = h.dpiX == 0 || h.dpiY == 0;
  p.DpiX = screen ? StartupMetrics().DpiX : h.dpiX;
  p.DpiY = screen ? StartupMetrics().DpiY : h.dpiY;
  p.PcxVersion = h.version;
  p.PcxCompression = h.rle ? 1 : 0;
  p.BitsPerSample = h.bits;
  p.SamplesPerPixel = h.planes;
  if (h.layout == TPcxLayout::plFourPlanes) p.BitsPerSample = 4, p.SamplesPerPixel = 1;
  if (h.Trailing())
    p.SetColorMap(trailing);
  else if (p.BitsPerSample < 8 && p.SamplesPerPixel == 1)
    p.SetColorMap(std::vector<TBGR>(h.colours.begin(), h.colours.begin() + (1 << p.BitsPerSample)));
  else
    p.FreeColorMap();
}

// Byte b of a plane of one-bit pixels as eight 4-bit fields, pixel i in field i.
std::array<uint32_t, 256> PlaneBitTable() {
  std::array<uint32_t, 256> t{};
  for (int b = 0; b < 256; ++b)
    for (int i = 0; i < 8; ++i) t[size_t(b)] |= uint32_t((b >> (7 - i)) & 1) << (4 * i);
  return t;
}

void PutColour(uint8_t* dst, const TBGR& c) {
  dst[0] = c.b, dst[1] = c.g, dst[2] = c.r;
}

// The colours of one-plane rows of 1, 4 or 8 bits: the trailing palette, else the header's.
TDibRowDecoder PaletteRows(const TPcxHeader& h, const std::vector<TBGR>& trailing) {
  TPaletteTable table;
  const auto& colours = h.Trailing() ? trailing : std::vector<TBGR>(h.colours.begin(), h.colours.end());
  std::copy(colours.begin(), colours.end(), table.Colors.begin());
  table.Count = int(colours.size());
  return TDibRowDecoder(h.bits, table, DefaultBitFields(24));
}

// Converts the plane lines of one row (planes after each other, lineBytes
// apart) into bitmap row `dst`.
void StoreRow(const TPcxHeader& h, const TDibRowDecoder& paletteRows, const uint8_t* lines, uint8_t* dst) {
  const int64_t w = h.width;
  switch (h.layout) {
    case TPcxLayout::plBits:
    case TPcxLayout::plInvertedBits: {
      const int64_t bytes = (w + 7) / 8;
      const uint8_t flip = h.layout == TPcxLayout::plInvertedBits ? 0xFF : 0x00;
      for (int64_t i = 0; i < bytes; ++i) dst[i] = lines[i] ^ flip;
      if (w & 7) dst[bytes - 1] &= uint8_t(0xFF00 >> (w & 7));
      break;
    }
    case TPcxLayout::plTwoColours:
    case TPcxLayout::plNibbles:
    case TPcxLayout::plIndexed:
      paletteRows.Decode(lines, w, dst);
      break;
    case TPcxLayout::plRgbPlanes: {
      const uint8_t *r = lines, *g = lines + h.lineBytes, *b = lines + 2 * h.lineBytes;
      for (int64_t x = 0; x < w; ++x, dst += 3) dst[0] = b[x], dst[1] = g[x], dst[2] = r[x];
      break;
    }
    case TPcxLayout::plFourPlanes: {
      static const std::array<uint32_t, 256> kTable = PlaneBitTable();
      for (int64_t x = 0; x < w; x += 8) {
        const int64_t j = x >> 3, n = h.lineBytes;
        const uint32_t v = kTable[lines[j]] | kTable[lines[n + j]] << 1 | kTable[lines[2 * n + j]] << 2 |
                           kTable[lines[3 * n + j]] << 3;
        for (int64_t i = 0; i < 8 && x + i < w; ++i) PutColour(dst + 3 * (x + i), h.colours[(v >> (4 * i)) & 15]);
      }
      break;
    }
    case TPcxLayout::plNone:
      break;
  }
}

// Decodes the next `dataBytes` bytes of the stream.
void ReadPixels(TIOReadArgs& a, const TPcxHeader& h, const std::vector<TBGR>& trailing, int64_t dataBytes) {
  const bool oneBit = h.layout == TPcxLayout::plBits || h.layout == TPcxLayout::plInvertedBits;
  if (!a.Bitmap.AllocateUninitialised(h.width, h.height, oneBit ? TIEPixelFormat::pf1bit : TIEPixelFormat::pf24bit))
    return Fail(a, "image too large");
  if (h.layout == TPcxLayout::plNone) {
    a.Bitmap.FillRows(0, h.height, kWhite);
    return Fail(a, "unsupported PCX layout");
  }
  TPcxLineDecoder decoder(a.Stream, dataBytes, h.rle);
  const TDibRowDecoder paletteRows = PaletteRows(h, trailing);
  std::vector<uint8_t> lines(size_t(h.lineBytes * h.planes));
  ReadRows(a, "truncated image data", TRowOrder::roTopDown, [&](int64_t y) {
    bool complete = true;
    for (int k = 0; k < h.planes; ++k) complete = decoder.Line(lines.data() + k * h.lineBytes, h.lineBytes) && complete;
    StoreRow(h, paletteRows, lines.data(), a.Bitmap.ScanLine(y));
    return complete;
  });
}

void ReadPcx(TIOReadArgs& a) {
  TIEStream& s = a.Stream;
  const int64_t start = s.Position();
  const int64_t bytes = a.BytesAvailable > 0 ? std::min(a.BytesAvailable, s.Size() - start) : s.Size() - start;
  uint8_t raw[kHeaderBytes];
  if (bytes < kHeaderBytes || !s.ReadExact(raw, kHeaderBytes)) return Fail(a, "not a PCX file");
  TPcxHeader h;
  if (const char* problem = ParseHeader(raw, bytes, h)) return Fail(a, problem);
  std::vector<TBGR> palette;
  int64_t dataBytes = bytes - kHeaderBytes;
  if (h.Trailing()) {
    dataBytes -= kTrailingPalette;
    uint8_t rgb[kTrailingPalette];
    s.Seek(start + bytes - kTrailingPalette, TSeekOrigin::soBeginning);
    if (!s.ReadExact(rgb, kTrailingPalette)) return Fail(a, "truncated palette");
    for (int i = 0; i < 256; ++i) palette.push_back(MakeBGR(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]));
    s.Seek(start + kHeaderBytes, TSeekOrigin::soBeginning);
  }
  SetParams(h, palette, a.Params);
  if (a.ParamsOnly) return;
  ReadPixels(a, h, palette, dataBytes);
  s.Seek(start + kHeaderBytes + dataBytes, TSeekOrigin::soBeginning);
}

}  // namespace

void ReadPCXStream(TIOReadArgs& args) {
  args.Progress.Guard([&] { ReadPcx(args); });
}

}  // namespace quillet
