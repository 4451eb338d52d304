// GIF writer: one image of n = 1..8 bits, the palette from the two-colour
// extraction or the dither (1 bit) or from the quantizer (2^n colours), then
// header, global table, control extension, descriptor, LZW data and trailer.
#include <algorithm>
#include <memory>
#include <vector>

#include "imaging/core/bits.h"
#include "imaging/core/engine_settings.h"
#include "imaging/io/dib_util.h"
#include "imaging/io/formats/gif/gif_codec.h"
#include "imaging/io/writer_source.h"
#include "imaging/proc/color_utils.h"
#include "imaging/proc/quantizer.h"

namespace quillet {

namespace {

constexpr int64_t kMaxSide = 65535;

// The indices of every pixel and the palette they point into.
struct TGifPlan {
  int bits = 8;
  TWriterSource source;
  std::vector<TBGR> palette;  // 2^bits entries
  std::unique_ptr<TIEQuantizer> quantizer;
  std::vector<uint8_t> indices;  // width x height, display order
};

// The palette index of a colour: through the quantizer, or the nearest entry.
uint8_t IndexOf(const TGifPlan& plan, TBGR colour) {
  if (plan.quantizer) return uint8_t(plan.quantizer->GetIndex(RgbOf(colour)));
  return uint8_t(NearestPaletteIndex(plan.palette, RgbOf(colour)));
}

void UnpackBilevel(const TIEWorkingBitmap& image, std::vector<uint8_t>& indices) {
  const int64_t width = image.Width();
  for (int64_t y = 0; y < image.Height(); ++y) {
    const uint8_t* src = image.ScanLine(y);
    uint8_t* dst = indices.data() + y * width;
    for (int64_t x = 0; x < width; ++x) dst[x] = GetBit(src, x);
  }
}

// n clamped to 1..8; 1 bit keeps a two-colour image's colours, more bits
// quantize (an image of at most 2^n colours keeps them).
void PlanIndices(const TIOWriteArgs& a, TGifPlan& plan) {
  plan.bits = std::clamp(a.Params.BitsPerSample, 1, 8);
  const int64_t width = a.Bitmap.Width(), height = a.Bitmap.Height();
  plan.indices.assign(size_t(width * height), 0);
  if (plan.bits == 1) {
    plan.source = BilevelSource(a.Bitmap);
    plan.palette.assign(plan.source.Colours.begin(), plan.source.Colours.end());
    return UnpackBilevel(*plan.source.Image, plan.indices);
  }
  plan.source = TrueColourSource(a.Bitmap);
  plan.palette.assign(size_t(1) << plan.bits, kBlack);
  const TIEQuantizerSource pixels(*plan.source.Image);
  plan.quantizer = TIEQuantizer::KeepingColours(pixels, plan.palette, 1 << plan.bits);
  plan.quantizer->MapImage(pixels, plan.indices.data(), width);
}

// The logical screen holds the image at its position: GifXPos + width by
// GifYPos + height, positions kept inside the 16-bit fields.
void WriteHeader(TIEStream& s, const TIOParamsVals& p, const TGifPlan& plan, uint16_t right, uint16_t bottom) {
  s.WriteExact(p.GifVersion == "GIF87a" ? "GIF87a" : "GIF89a", 6);
  s.WriteU16LE(right);
  s.WriteU16LE(bottom);
  const int n = plan.bits - 1;
  s.WriteU8(uint8_t(0x80 | n << 4 | n));
  s.WriteU8(IndexOf(plan, p.GifBackground));
  s.WriteU8(0);
  for (const TBGR& c : plan.palette) {
    const uint8_t rgb[3] = {c.r, c.g, c.b};
    s.WriteExact(rgb, 3);
  }
}

void WriteControl(TIEStream& s, const TIOParamsVals& p, const TGifPlan& plan) {
  const uint8_t head[3] = {0x21, 0xF9, 0x04};
  s.WriteExact(head, 3);
  s.WriteU8(uint8_t(0x08 | (p.GifTransparent ? 1 : 0)));  // disposal 2: restore to background
  s.WriteU16LE(uint16_t(std::clamp(p.GifDelayTime, 0, 65535)));
  s.WriteU8(IndexOf(plan, p.GifTransparentColor));
  s.WriteU8(0);
}

void WriteGif(TIOWriteArgs& a) {
  a.Progress.Report(0);
  if (a.Progress.Aborted()) return;
  const int64_t width = a.Bitmap.Width(), height = a.Bitmap.Height();
  if (a.Bitmap.Empty()) return Fail(a, "empty image");
  if (width > kMaxSide || height > kMaxSide) return Fail(a, "image too large for GIF (65535 pixels a side)");
  const TGifLzwEncoder encoder = a.Params.GifLzwEncoder ? a.Params.GifLzwEncoder : LzwSlots().GifEncoder;
  if (!encoder) return Fail(a, "no GIF encoder installed");
  TGifPlan plan;
  PlanIndices(a, plan);
  a.Progress.Report(30);
  if (a.Progress.Aborted()) return;
  const TIOParamsVals& p = a.Params;
  const uint16_t left = uint16_t(std::clamp<int64_t>(p.GifXPos, 0, kMaxSide - width));
  const uint16_t top = uint16_t(std::clamp<int64_t>(p.GifYPos, 0, kMaxSide - height));
  TIEStream& s = a.Stream;
  WriteHeader(s, p, plan, uint16_t(left + width), uint16_t(top + height));
  WriteControl(s, p, plan);
  s.WriteU8(0x2C);
  s.WriteU16LE(left);
  s.WriteU16LE(top);
  s.WriteU16LE(uint16_t(width));
  s.WriteU16LE(uint16_t(height));
  s.WriteU8(p.GifInterlaced ? 0x40 : 0);
  a.Progress.Report(70);
  if (a.Progress.Aborted()) return;
  if (!encoder(s, height, width, plan.bits, plan.indices.data(), p.GifInterlaced)) return Fail(a, "write error");
  s.WriteU8(0x3B);
  if (s.Failed()) return Fail(a, "write error");
  a.Progress.Report(100);
}

}  // namespace

void WriteGIFStream(TIOWriteArgs& args) {
  args.Progress.Guard([&] { WriteGif(args); });
}

}  // namespace quillet
