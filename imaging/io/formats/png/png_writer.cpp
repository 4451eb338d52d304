// PNG writer: 1-bit grey, quantized palettes with the background as entry 0,
// RGB and RGB with alpha; resolution, filter, background and compression
// from the parameters, rows pass by pass.
#include <algorithm>
#include <array>
#include <csetjmp>
#include <memory>
#include <span>
#include <vector>

#include "imaging/core/mask.h"
#include "imaging/io/alpha_plane.h"
#include "imaging/io/dib_util.h"
#include "imaging/io/formats/png/png_bridge.h"
#include "imaging/io/formats/png/png_codec.h"
#include "imaging/proc/color_utils.h"
#include "imaging/proc/ordered_dither.h"
#include "imaging/proc/quantizer.h"

namespace quillet {

namespace {

constexpr char kCreateError[] = "Error on creating PNG";

struct TPngWriter {
  TPngChannel channel;
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~TPngWriter() { png_destroy_write_struct(&png, info ? &info : nullptr); }
};

enum class TPngKind { pkBilevel, pkPalette, pkRgb, pkRgba };

// What the rows are made from.
struct TWritePlan {
  TPngKind kind = TPngKind::pkRgb;
  const TIEWorkingBitmap* image = nullptr;  // 1-bit for bilevel, else 24-bit
  std::unique_ptr<TIEWorkingBitmap> copy;
  const TIEMask* alpha = nullptr;  // only when some pixel is not opaque
  std::vector<png_color> palette;
  std::unique_ptr<TIEQuantizer> quantizer;
  std::vector<uint8_t> row;
  const TIOProgress* progress = nullptr;
};

// The 24-bit image, converted into a copy from 1 bit.
const TIEWorkingBitmap& TrueColour(const TIEWorkingBitmap& bitmap, TWritePlan& plan) {
  if (bitmap.PixelFormat() == TIEPixelFormat::pf24bit) return bitmap;
  plan.copy = std::make_unique<TIEWorkingBitmap>(bitmap);
  plan.copy->SetPixelFormat(TIEPixelFormat::pf24bit);
  return *plan.copy;
}

// A 24-bit image of two colours keeps them apart (the darker black); any
// other goes through the ordered dither.
const TIEWorkingBitmap& Bilevel(const TIEWorkingBitmap& bitmap, TWritePlan& plan) {
  if (bitmap.PixelFormat() == TIEPixelFormat::pf1bit) return bitmap;
  std::array<TBGR, 2> colors;
  plan.copy = ExtractTwoColours(bitmap, colors);
  if (!plan.copy) {
    plan.copy = std::make_unique<TIEWorkingBitmap>();
    DitherToBlackWhite(bitmap, *plan.copy);
  }
  return *plan.copy;
}

// Entry 0 is the background (and the transparent entry), 1.. the
// quantizer's min(2^BitsPerSample, 255) colours.
void PlanPalette(TWritePlan& plan, const TIOParamsVals& p) {
  const int colors = p.BitsPerSample >= 1 && p.BitsPerSample < 8 ? 1 << p.BitsPerSample : 255;
  std::vector<TBGR> entries(size_t(colors), kBlack);
  plan.quantizer = std::make_unique<TIEQuantizer>(TIEQuantizerSource(*plan.image), std::span<TBGR>(entries), colors);
  plan.palette.push_back({p.PngBackground.r, p.PngBackground.g, p.PngBackground.b});
  for (const TBGR& c : entries) plan.palette.push_back({c.r, c.g, c.b});
}

void Plan(const TIOWriteArgs& a, TWritePlan& plan) {
  const bool transparent = a.AlphaMask && a.AlphaMask->Width() == a.Bitmap.Width() &&
                           a.AlphaMask->Height() == a.Bitmap.Height() && HasTransparency(*a.AlphaMask);
  if (a.Params.BitsPerSample == 1) {
    plan.kind = TPngKind::pkBilevel;
    plan.image = &Bilevel(a.Bitmap, plan);
    return;
  }
  plan.image = &TrueColour(a.Bitmap, plan);
  plan.alpha = transparent ? a.AlphaMask : nullptr;
  const int64_t width = plan.image->Width();
  if (a.Params.SamplesPerPixel == 1) {
    plan.kind = TPngKind::pkPalette;
    PlanPalette(plan, a.Params);
    plan.row.resize(size_t(width));
  } else {
    plan.kind = transparent ? TPngKind::pkRgba : TPngKind::pkRgb;
    if (transparent) plan.row.resize(size_t(width) * 4);
  }
}

// Row y as the file holds it: palette indices (0 where transparent),
// blue, green, red, alpha, or the bitmap's own row.
png_const_bytep BuildRow(TWritePlan& plan, int64_t y) {
  const uint8_t* src = plan.image->ScanLine(y);
  const int64_t width = plan.image->Width();
  uint8_t* out = plan.row.data();
  const uint8_t* alpha = plan.alpha ? plan.alpha->ScanLine(y) : nullptr;
  switch (plan.kind) {
    case TPngKind::pkPalette:
      plan.quantizer->MapRow(src, width, out);
      for (int64_t x = 0; x < width; ++x) out[x] = alpha && alpha[x] != 255 ? 0 : uint8_t(out[x] + 1);
      return out;
    case TPngKind::pkRgba:
      for (int64_t x = 0; x < width; ++x, src += 3, out += 4)
        out[0] = src[0], out[1] = src[1], out[2] = src[2], out[3] = alpha[x];
      return plan.row.data();
    default: return src;
  }
}

int ColorTypeOf(TPngKind kind) {
  switch (kind) {
    case TPngKind::pkBilevel: return PNG_COLOR_TYPE_GRAY;
    case TPngKind::pkPalette: return PNG_COLOR_TYPE_PALETTE;
    case TPngKind::pkRgba: return PNG_COLOR_TYPE_RGB_ALPHA;
    default: return PNG_COLOR_TYPE_RGB;
  }
}

int FilterOf(TIOPNGFilter filter) {
  switch (filter) {
    case TIOPNGFilter::SUB: return PNG_FILTER_SUB;
    case TIOPNGFilter::PAETH: return PNG_FILTER_PAETH;
    default: return PNG_FILTER_NONE;
  }
}

void SetBackground(TPngWriter& w, const TWritePlan& plan, const TBGR& bg) {
  png_color_16 color{};
  if (plan.kind == TPngKind::pkPalette)
    color.index = png_byte(plan.quantizer->GetIndex(RgbOf(bg)) + 1);
  else if (plan.kind == TPngKind::pkBilevel)
    color.gray = GreyLevel(bg) >= 128 ? 1 : 0;
  else
    color.red = bg.r, color.green = bg.g, color.blue = bg.b;
  png_set_bKGD(w.png, w.info, &color);
}

void SetHeader(TPngWriter& w, TWritePlan& plan, const TIOParamsVals& p) {
  const png_uint_32 width = png_uint_32(plan.image->Width()), height = png_uint_32(plan.image->Height());
  png_set_IHDR(w.png, w.info, width, height, plan.kind == TPngKind::pkBilevel ? 1 : 8, ColorTypeOf(plan.kind),
               p.PngInterlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (plan.kind == TPngKind::pkPalette) {
    png_set_PLTE(w.png, w.info, plan.palette.data(), int(plan.palette.size()));
    const png_byte transparentEntry = 0;
    if (plan.alpha) png_set_tRNS(w.png, w.info, &transparentEntry, 1, nullptr);
  }
  if (p.DpiX > 0 && p.DpiY > 0)
    png_set_pHYs(w.png, w.info, png_uint_32(PixelsPerMetreOfDpi(p.DpiX)), png_uint_32(PixelsPerMetreOfDpi(p.DpiY)),
                 PNG_RESOLUTION_METER);
  png_set_filter(w.png, PNG_FILTER_TYPE_BASE, FilterOf(p.PngFilter));
  SetBackground(w, plan, p.PngBackground);
  png_set_compression_level(w.png, std::clamp(p.PngCompression, 0, 9));
}

bool WritePng(TPngWriter& w, TWritePlan& plan, const TIOParamsVals& p) {
  if (setjmp(png_jmpbuf(w.png))) return false;
  png_set_write_fn(w.png, &w.channel, PngWriteData, PngFlush);
  SetHeader(w, plan, p);
  png_write_info(w.png, w.info);
  if (plan.kind == TPngKind::pkRgb || plan.kind == TPngKind::pkRgba) png_set_bgr(w.png);
  const int passes = png_set_interlace_handling(w.png);
  const int64_t height = plan.image->Height(), total = height * passes;
  for (int pass = 0; pass < passes; ++pass)
    for (int64_t y = 0; y < height; ++y) {
      png_write_row(w.png, BuildRow(plan, y));
      plan.progress->Report(int((pass * height + y + 1) * 100 / total));
      if (plan.progress->Aborted()) return true;
    }
  png_write_end(w.png, w.info);
  return true;
}

void Encode(TIOWriteArgs& a, TPngWriter& w) {
  if (a.Bitmap.Empty()) return a.Progress.Fail("empty image");
  w.channel.stream = &a.Stream;
  w.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &w.channel, PngError, PngWarning);
  if (w.png) w.info = png_create_info_struct(w.png);
  if (!w.info) return a.Progress.Fail(kCreateError);
  TWritePlan plan;
  Plan(a, plan);
  plan.progress = &a.Progress;
  if (!WritePng(w, plan, a.Params)) a.Progress.Fail(w.channel.shortWrite ? "write error" : kCreateError);
}

}  // namespace

void WritePNGStream(TIOWriteArgs& args) {
  args.Progress.Guard([&] {
    TPngWriter writer;
    Encode(args, writer);
  });
}

}  // namespace quillet
