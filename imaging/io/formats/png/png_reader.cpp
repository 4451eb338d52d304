// PNG reader: the header and its parameters, the row layout the library is
// asked for, then the rows (1-bit as they are, colour straight into the
// bitmap, transparency into the alpha plane or over the background).
#include <algorithm>
#include <csetjmp>
#include <vector>

#include "imaging/core/bits.h"
#include "imaging/core/decode_target.h"
#include "imaging/core/mask.h"
#include "imaging/core/math.h"
#include "imaging/core/vector_clones.h"
#include "imaging/core/engine_settings.h"
#include "imaging/io/dib_util.h"
#include "imaging/io/formats/png/png_bridge.h"
#include "imaging/io/formats/png/png_codec.h"

namespace quillet {

namespace {

// The library's state, released whichever step stopped.
struct TPngReader {
  TPngChannel channel;
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~TPngReader() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

struct THeader {
  png_uint_32 width = 0, height = 0;
  int depth = 0, colorType = 0, interlace = 0;
};

enum class TPngLayout { plBilevel, plBgr, plBgra };

// How the rows come out of the library and where they go.
struct TRowPlan {
  TPngLayout layout = TPngLayout::plBgr;
  bool invert = false;  // a 1-bit palette of white, black
  int passes = 1;
  TIEWorkingBitmap* bitmap = nullptr;
  TIEMask* alpha = nullptr;          // the plane BGRA rows fill, or none: composite
  TBGR background;
  std::vector<uint8_t> bgra;         // one row, or every row of an interlaced file
  const TIOProgress* progress = nullptr;
  int64_t rowsRead = 0;
};

bool ReadInfo(TPngReader& r) {
  if (setjmp(png_jmpbuf(r.png))) return false;
  png_set_read_fn(r.png, &r.channel, PngReadData);
  // Image data is guarded by zlib's own checksum, so the chunk checksums of
  // the critical chunks are not computed a second time (as other readers do).
  png_set_crc_action(r.png, PNG_CRC_QUIET_USE, PNG_CRC_DEFAULT);
  png_read_info(r.png, r.info);
  return true;
}

// Asks the library for 8-bit blue, green, red (and alpha) rows, or leaves a
// 1-bit file packed; then the number of passes.
bool SetTransforms(TPngReader& r, TRowPlan& plan) {
  if (setjmp(png_jmpbuf(r.png))) return false;
  if (plan.layout != TPngLayout::plBilevel) {
    png_set_expand(r.png);
    png_set_strip_16(r.png);
    png_set_gray_to_rgb(r.png);
    png_set_bgr(r.png);
  }
  plan.passes = png_set_interlace_handling(r.png);
  png_read_update_info(r.png, r.info);
  return true;
}

uint8_t* BgraRow(TRowPlan& plan, int64_t y) {
  const bool whole = plan.passes > 1;
  return plan.bgra.data() + size_t(whole ? y : 0) * size_t(plan.bitmap->Width()) * 4;
}

// `width` BGRA pixels into BGR pixels and their alpha bytes.
QUILLET_VECTOR_CLONES void SplitBgra(const uint8_t* src, int64_t width, uint8_t* dst, uint8_t* alpha) {
  for (int64_t x = 0; x < width; ++x, src += 4, dst += 3) {
    dst[0] = src[0], dst[1] = src[1], dst[2] = src[2];
    alpha[x] = src[3];
  }
}

// A BGRA row into the bitmap row and the alpha plane, or over the background.
void StoreBgra(TRowPlan& plan, int64_t y) {
  const uint8_t* src = BgraRow(plan, y);
  uint8_t* dst = plan.bitmap->ScanLine(y);
  const int64_t width = plan.bitmap->Width();
  if (plan.alpha) return SplitBgra(src, width, dst, plan.alpha->ScanLine(y));
  const unsigned bg[3] = {plan.background.b, plan.background.g, plan.background.r};
  for (int64_t x = 0; x < width; ++x, src += 4, dst += 3) {
    const unsigned alpha = src[3], rest = 255 - alpha;
    for (int c = 0; c < 3; ++c) dst[c] = uint8_t((src[c] * alpha + bg[c] * rest + 127) / 255);
  }
}

uint8_t* TargetRow(TRowPlan& plan, int64_t y) {
  return plan.layout == TPngLayout::plBgra ? BgraRow(plan, y) : plan.bitmap->ScanLine(y);
}

// Every pass and row; BGRA rows of a file in one pass are stored as they
// come, those of an interlaced file once every pass is in.
bool ReadRows(TPngReader& r, TRowPlan& plan) {
  if (setjmp(png_jmpbuf(r.png))) return false;
  const int64_t height = plan.bitmap->Height(), total = height * plan.passes;
  for (int pass = 0; pass < plan.passes; ++pass)
    for (int64_t y = 0; y < height; ++y) {
      if (plan.progress->Aborted()) return true;
      png_read_row(r.png, TargetRow(plan, y), nullptr);
      ++plan.rowsRead;
      if (plan.layout == TPngLayout::plBgra && plan.passes == 1) StoreBgra(plan, y);
      plan.progress->Report(int(plan.rowsRead * 100 / total));
    }
  return true;
}

bool ReadEnd(TPngReader& r) {
  if (setjmp(png_jmpbuf(r.png))) return false;
  png_read_end(r.png, nullptr);
  return true;
}

bool IsColor(const png_color& c, uint8_t v) { return c.red == v && c.green == v && c.blue == v; }

// The colour of a bKGD chunk in 8 bits a channel.
TBGR BackgroundOf(const png_color_16& bk, const THeader& h, png_const_colorp palette, int paletteCount) {
  if (h.colorType == PNG_COLOR_TYPE_PALETTE) {
    if (bk.index >= paletteCount) return kBlack;
    const png_color& c = palette[bk.index];
    return MakeBGR(c.red, c.green, c.blue);
  }
  const auto eight = [&](unsigned v) {
    if (h.depth == 16) return uint8_t(v >> 8);
    if (h.depth < 8) return uint8_t(std::min(v, (1u << h.depth) - 1) * 255 / ((1u << h.depth) - 1));
    return uint8_t(v);
  };
  if (!(h.colorType & PNG_COLOR_MASK_COLOR)) return MakeBGR(eight(bk.gray), eight(bk.gray), eight(bk.gray));
  return MakeBGR(eight(bk.red), eight(bk.green), eight(bk.blue));
}

int SamplesOf(int colorType) {
  switch (colorType) {
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
    default: return 1;
  }
}

void SetParams(TPngReader& r, const THeader& h, TIOParamsVals& p) {
  p.Width = int32_t(h.width);
  p.Height = int32_t(h.height);
  p.BitsPerSample = h.depth;
  p.SamplesPerPixel = SamplesOf(h.colorType);
  png_uint_32 xppm = 0, yppm = 0;
  int unit = PNG_RESOLUTION_UNKNOWN;
  const bool phys = png_get_pHYs(r.png, r.info, &xppm, &yppm, &unit) != 0 && unit == PNG_RESOLUTION_METER;
  p.DpiX = DpiOfPixelsPerMetre(phys ? xppm : 0, StartupMetrics().DpiX);
  p.DpiY = DpiOfPixelsPerMetre(phys ? yppm : 0, StartupMetrics().DpiY);
  p.FreeColorMap();
  png_colorp palette = nullptr;
  int count = 0;
  if (h.colorType == PNG_COLOR_TYPE_PALETTE && png_get_PLTE(r.png, r.info, &palette, &count)) {
    std::vector<TBGR> colors;
    for (int i = 0; i < count; ++i) colors.push_back(MakeBGR(palette[i].red, palette[i].green, palette[i].blue));
    p.SetColorMap(colors);
  }
  p.PngInterlaced = h.interlace != PNG_INTERLACE_NONE;
}

// 1-bit grey, and 1-bit palettes of black and white either way round, stay
// 1-bit; transparency to keep and every other file come as 8-bit channels.
TRowPlan Plan(TPngReader& r, const THeader& h, TIOReadArgs& a) {
  TRowPlan plan;
  const bool transparent =
      (h.colorType & PNG_COLOR_MASK_ALPHA) || png_get_valid(r.png, r.info, PNG_INFO_tRNS);
  png_colorp palette = nullptr;
  int count = 0;
  if (h.colorType == PNG_COLOR_TYPE_PALETTE) png_get_PLTE(r.png, r.info, &palette, &count);
  const bool blackWhite = count >= 2 && IsColor(palette[0], 0) && IsColor(palette[1], 255);
  const bool whiteBlack = count >= 2 && IsColor(palette[0], 255) && IsColor(palette[1], 0);
  const bool bilevelType = h.colorType == PNG_COLOR_TYPE_GRAY || blackWhite || whiteBlack;
  if (h.depth == 1 && bilevelType && !(a.AlphaMask && transparent)) {
    plan.layout = TPngLayout::plBilevel;
    plan.invert = h.colorType == PNG_COLOR_TYPE_PALETTE && whiteBlack;
  } else {
    plan.layout = transparent ? TPngLayout::plBgra : TPngLayout::plBgr;
  }
  plan.alpha = a.AlphaMask;
  plan.background = a.Params.PngBackground;
  png_color_16p bk = nullptr;
  if (!a.AlphaMask && png_get_bKGD(r.png, r.info, &bk)) {
    plan.background = BackgroundOf(*bk, h, palette, count);
    a.Params.PngBackground = plan.background;
  }
  return plan;
}

// The library's row must be exactly what the plan writes into.
bool RowLayoutAgrees(TPngReader& r, const TRowPlan& plan, int64_t width) {
  const int channels = png_get_channels(r.png, r.info);
  const size_t bytes = png_get_rowbytes(r.png, r.info);
  switch (plan.layout) {
    case TPngLayout::plBilevel: return channels == 1 && bytes == size_t((width + 7) / 8);
    case TPngLayout::plBgr: return channels == 3 && bytes == size_t(width) * 3;
    case TPngLayout::plBgra: return channels == 4 && bytes == size_t(width) * 4;
  }
  return false;
}

void Fail(TIOReadArgs& a, const TPngReader& r, const char* what) {
  a.Progress.Fail(r.channel.message[0] ? std::string(what) + ": " + r.channel.message : what);
}

void Finish(TRowPlan& plan) {
  TIEWorkingBitmap& b = *plan.bitmap;
  if (plan.layout == TPngLayout::plBgra && plan.passes > 1)
    for (int64_t y = 0; y < b.Height(); ++y) StoreBgra(plan, y);
  if (plan.invert)
    for (int64_t y = 0; y < b.Height(); ++y) {
      uint8_t* row = b.ScanLine(y);
      for (int64_t i = 0; i < b.RowBytes(); ++i) row[i] = uint8_t(~row[i]);
    }
  if (plan.alpha) plan.alpha->RecomputeFull();
}

void Decode(TIOReadArgs& a, TPngReader& r) {
  if (!IsPNGStream(a.Stream)) return a.Progress.Fail("no PNG signature");
  r.channel.stream = &a.Stream;
  r.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &r.channel, PngError, PngWarning);
  if (r.png) r.info = png_create_info_struct(r.png);
  if (!r.info) return a.Progress.Fail("cannot start the PNG library");
  if (!ReadInfo(r)) return Fail(a, r, "damaged PNG header");
  THeader h;
  png_get_IHDR(r.png, r.info, &h.width, &h.height, &h.depth, &h.colorType, &h.interlace, nullptr, nullptr);
  SetParams(r, h, a.Params);
  if (a.ParamsOnly) return;
  TRowPlan plan = Plan(r, h, a);
  const bool bilevel = plan.layout == TPngLayout::plBilevel;
  if (!ImageBytes(h.width, h.height, bilevel ? 1 : 32)) return a.Progress.Fail("image too large");
  if (!SetTransforms(r, plan)) return Fail(a, r, "damaged PNG header");
  if (!RowLayoutAgrees(r, plan, h.width)) return a.Progress.Fail("unsupported PNG row layout");
  // An interlaced file's later passes fill in rows that are already there.
  TDecodeTarget fresh;
  const TIEPixelFormat format = bilevel ? TIEPixelFormat::pf1bit : TIEPixelFormat::pf24bit;
  if (!(plan.passes == 1 ? fresh.Reshape(a.Bitmap, h.width, h.height, format)
                         : ReshapeBitmap(a.Bitmap, h.width, h.height, format)))
    return a.Progress.Fail("image too large");
  // BGRA rows write every alpha byte; other files are opaque.
  if (plan.alpha) {
    if (!plan.alpha->Allocate(h.width, h.height, 8)) return a.Progress.Fail("image too large");
    if (plan.layout != TPngLayout::plBgra) {
      plan.alpha->Fill(255);
      plan.alpha = nullptr;
    }
  }
  plan.bitmap = &a.Bitmap;
  plan.progress = &a.Progress;
  if (plan.layout == TPngLayout::plBgra) plan.bgra.resize(size_t(h.width) * 4 * (plan.passes > 1 ? h.height : 1));
  const bool complete = ReadRows(r, plan);
  fresh.Unwritten(plan.rowsRead);
  Finish(plan);
  if (!complete) return Fail(a, r, "damaged PNG data");
  // Trouble after the last row (a bad trailing chunk) spoils nothing.
  if (!a.Progress.Aborted()) ReadEnd(r);
}

}  // namespace

void ReadPNGStream(TIOReadArgs& args) {
  args.Progress.Guard([&] {
    TPngReader reader;
    Decode(args, reader);
  });
}

}  // namespace quillet
