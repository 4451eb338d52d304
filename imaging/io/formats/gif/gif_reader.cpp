// GIF reader: the logical screen, the walk to the requested image, its
// indices through the LZW decoder slot, then a 1-bit bitmap for a (black,
// white) table or 24-bit rows through the 256-entry table, and the alpha plane.
#include <algorithm>
#include <vector>

#include "imaging/core/decode_target.h"
#include "imaging/core/dib_rows.h"
#include "imaging/core/engine_settings.h"
#include "imaging/core/mask.h"
#include "imaging/core/math.h"
#include "imaging/io/dib_util.h"
#include "imaging/io/formats/gif/gif_blocks.h"
#include "imaging/io/formats/gif/gif_codec.h"

namespace quillet {

namespace {

// The palette of images with no colour table at all: index i is grey i.
TPaletteTable GreyRamp() {
  TPaletteTable ramp;
  for (int i = 0; i < 256; ++i) ramp.Colors[size_t(i)] = MakeBGR(uint8_t(i), uint8_t(i), uint8_t(i));
  ramp.Count = 256;
  return ramp;
}

struct TGifReadState {
  TIOReadArgs& a;
  TGifScreen screen;
  TGifLzwDecoder decoder;
};

const TPaletteTable& ImageTable(const TGifImage& image, const TGifScreen& screen) {
  static const TPaletteTable ramp = GreyRamp();
  if (image.HasTable) return image.Table;
  return screen.HasTable ? screen.Table : ramp;
}

// The bits of the table the image uses; with none, the LZW minimum code size.
int ImageBits(const TGifImage& image, const TGifScreen& screen, TIEStream& stream) {
  if (image.HasTable) return image.TableBits;
  if (screen.HasTable) return screen.TableBits;
  const int64_t at = stream.Position();
  uint8_t codeSize = 8;
  stream.ReadU8(codeSize);
  stream.Seek(at, TSeekOrigin::soBeginning);
  return std::clamp<int>(codeSize, 1, 8);
}

void StoreImageParams(TIOParamsVals& p, const TGifImage& image, const TPaletteTable& table, int bits) {
  p.GifTransparentColor = table.Colors[image.Control.TransparentIndex];
  p.GifXPos = image.Left;
  p.GifYPos = image.Top;
  p.Width = image.Width;
  p.Height = image.Height;
  p.GifDelayTime = image.Control.Delay;
  p.GifTransparent = image.Control.Packed & 1;
  p.GifInterlaced = image.Interlaced();
  p.BitsPerSample = bits;
  p.SetColorMap(std::vector<TBGR>(table.Colors.begin(), table.Colors.begin() + (1 << bits)));
}

bool IsBlackWhite(const TPaletteTable& table, int bits) {
  return bits == 1 && table.Colors[0] == kBlack && table.Colors[1] == kWhite;
}

// Indices 1 become set bits, any other index is black.
void PackBilevelRow(const uint8_t* indices, int64_t width, uint8_t* dst) {
  for (int64_t x = 0; x < width; x += 8) {
    uint8_t byte = 0;
    for (int64_t i = 0; i < 8; ++i) byte = uint8_t(byte << 1 | (x + i < width && indices[x + i] == 1));
    dst[x >> 3] = byte;
  }
}

void FillAlpha(TIEMask& alpha, const std::vector<uint8_t>& indices, int64_t width, int64_t height,
               const TGifControl& control) {
  if (!alpha.Allocate(width, height, 8)) return alpha.Release();
  alpha.Fill(255);
  if (!(control.Packed & 1)) return;
  for (int64_t y = 0; y < height; ++y) {
    const uint8_t* src = indices.data() + y * width;
    uint8_t* dst = alpha.ScanLine(y);
    for (int64_t x = 0; x < width; ++x)
      if (src[x] == control.TransparentIndex) dst[x] = 0;
  }
  alpha.SetBox(0, 0, width - 1, height - 1);
  alpha.RecomputeFull();
}

// The bitmap from the decoded indices, row by row.
void StorePixels(TGifReadState& r, const std::vector<uint8_t>& indices, const TPaletteTable& table, int bits) {
  TIOReadArgs& a = r.a;
  const int64_t width = a.Params.Width, height = a.Params.Height;
  const bool bilevel = IsBlackWhite(table, bits);
  TDecodeTarget target;
  if (!target.Reshape(a.Bitmap, width, height, bilevel ? TIEPixelFormat::pf1bit : TIEPixelFormat::pf24bit))
    return Fail(a, "not enough memory for the image");
  const TDibRowDecoder rows(8, table, DefaultBitFields(32));
  for (int64_t y = 0; y < height; ++y) {
    const uint8_t* src = indices.data() + y * width;
    if (bilevel)
      PackBilevelRow(src, width, a.Bitmap.ScanLine(y));
    else
      rows.Decode(src, width, a.Bitmap.ScanLine(y));
  }
}

TGifVisit ReadImage(TGifReadState& r, TGifImage& image) {
  TIOReadArgs& a = r.a;
  a.Progress.Report(30);
  if (a.Progress.Aborted()) return TGifVisit::gvStop;
  const TPaletteTable& table = ImageTable(image, r.screen);
  const int bits = ImageBits(image, r.screen, a.Stream);
  StoreImageParams(a.Params, image, table, bits);
  if (a.ParamsOnly) return TGifVisit::gvSkipData;
  if (!ImageBytes(image.Width, image.Height, 24)) return Fail(a, "image size out of range"), TGifVisit::gvStop;
  if (!r.decoder) return Fail(a, "no GIF decoder installed"), TGifVisit::gvStop;
  std::vector<uint8_t> indices(size_t(image.Width) * image.Height);
  if (!r.decoder(a.Stream, image.Height, image.Width, indices.data(), image.Interlaced()))
    return Fail(a, "damaged LZW data"), TGifVisit::gvStop;
  a.Progress.Report(70);
  if (a.Progress.Aborted()) return TGifVisit::gvStop;
  StorePixels(r, indices, table, bits);
  if (a.AlphaMask && !a.Progress.Aborted())
    FillAlpha(*a.AlphaMask, indices, image.Width, image.Height, image.Control);
  return TGifVisit::gvDataRead;
}

void ReadGif(TIOReadArgs& a) {
  a.Progress.Report(0);
  if (a.Progress.Aborted()) return;
  TGifReadState r{a, {}, a.Params.GifLzwDecoder ? a.Params.GifLzwDecoder : LzwSlots().GifDecoder};
  if (!ReadGifScreen(a.Stream, r.screen)) return Fail(a, "not a GIF file");
  TIOParamsVals& p = a.Params;
  p.GifVersion = r.screen.Version;
  p.GifScreenWidth = r.screen.Width;
  p.GifScreenHeight = r.screen.Height;
  p.GifAspectRatio = r.screen.AspectRatio;
  p.DpiX = StartupMetrics().DpiX;
  p.DpiY = StartupMetrics().DpiY;
  p.SamplesPerPixel = 1;
  if (r.screen.HasTable) p.GifBackground = r.screen.Table.Colors[r.screen.BackgroundIndex];
  if (a.Stream.Remaining() == 0) return Fail(a, "no data after the logical screen");
  const int64_t wanted = p.GifImageIndex;
  p.GifImageCount = int32_t(WalkGifBlocks(a.Stream, [&](TGifImage& image) {
    return image.Index == wanted ? ReadImage(r, image) : TGifVisit::gvSkipData;
  }));
  if (!a.Progress.Aborted()) a.Progress.Report(100);
}

}  // namespace

void ReadGIFStream(TIOReadArgs& args) {
  args.Progress.Guard([&] { ReadGif(args); });
}

}  // namespace quillet
