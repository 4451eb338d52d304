// PNG files of every colour type and depth written by Pillow and ImageMagick,
// decoded by us with the pixels and alpha Pillow decodes; files we write,
// decoded by Pillow with our pixels.
#include <gtest/gtest.h>

#include "imaging/io/formats/png/png_codec.h"
#include "jpeg_png_support.h"

namespace quillet::test {
namespace {

std::string MakeSource(const TempDir& dir) {
  const std::string png = dir.File("source.png");
  RunPython("from PIL import Image\n"
            "im = Image.new('RGBA', (29, 19))\n"
            "for y in range(19):\n"
            "    for x in range(29):\n"
            "        im.putpixel((x, y), (x * 9, y * 13, 90 if x > 14 else 250, 0 if x < 4 else 255 - y * 6))\n"
            "im.save(r'''" + png + "''')\n");
  return png;
}

// Pillow's decoding as RGBA; 16-bit grey, which Pillow clips to 255 on
// conversion, is taken by its high byte as the codec does.
const TPillowView kRgba{.alpha = true,
                        .prelude = "if im.mode in ('I', 'I;16', 'I;16B'):\n"
                                   "    im = im.point(lambda v: v / 256).convert('L')"};

using enum TMaker;

TEST(PngOracle, PillowModes) {
  if (!HavePillow()) GTEST_SKIP() << "Pillow missing";
  TempDir dir;
  const std::vector<TOracleCase> cases = {
      {"1", omPillow, "im.convert('1')"},
      {"L", omPillow, "im.convert('L')"},
      {"LA", omPillow, "im.convert('LA')"},
      {"P", omPillow, "im.convert('RGB').quantize(200)"},
      {"P_trns", omPillow, "im.convert('RGB').quantize(16)", "transparency=3"},
      {"RGB", omPillow, "im.convert('RGB')"},
      {"RGBA", omPillow, "im"},
      {"I16", omPillow, "im.convert('L').point(lambda v: v * 257, 'I').convert('I;16')"},
  };
  EXPECT_EQ(CheckOracleCases(dir, MakeSource(dir), ".png", cases, ByCodec(ReadPNGStream, {}, true), kRgba),
            int(cases.size()));
}

TEST(PngOracle, ImageMagickDepthsAndInterlace) {
  if (!HavePillow() || !HaveImageMagick()) GTEST_SKIP() << "Pillow or ImageMagick missing";
  TempDir dir;
  const std::vector<TOracleCase> cases = {
      {"grey2", omMagick, "-alpha off -colorspace Gray -depth 2 PNG8:"},
      {"grey4", omMagick, "-alpha off -colorspace Gray -depth 4 PNG8:"},
      {"pal4", omMagick, "-alpha off -colors 12 PNG8:"},
      {"pal_trns", omMagick, "-colors 20 PNG8:"},
      {"rgb48", omMagick, "-alpha off -depth 16 PNG48:"},
      {"rgba64", omMagick, "-depth 16 PNG64:"},
      {"grey16", omMagick, "-alpha off -colorspace Gray -depth 16 PNG:"},
      {"interlaced", omMagick, "-interlace PNG PNG32:"},
      {"interlaced_rgb", omMagick, "-alpha off -interlace PNG PNG24:"},
  };
  EXPECT_GE(CheckOracleCases(dir, MakeSource(dir), ".png", cases, ByCodec(ReadPNGStream, {}, true), kRgba), 7);
}

TEST(PngOracle, OurFilesReadByPillow) {
  if (!HavePillow()) GTEST_SKIP() << "Pillow missing";
  TempDir dir;
  const TIEWorkingBitmap picture = Picture(31, 22);
  TIEMask alpha;
  alpha.Allocate(31, 22, 8);
  for (int y = 0; y < 22; ++y)
    for (int x = 0; x < 31; ++x) alpha.SetPixel(x, y, uint8_t(x < 3 ? 0 : 255 - x * 3));
  struct Case {
    const char* name;
    int bits, samples;
    bool interlaced, withAlpha;
    TIOPNGFilter filter;
  };
  for (const Case& c : {Case{"rgb", 8, 3, false, false, TIOPNGFilter::NONE},
                        Case{"rgba_sub", 8, 3, false, true, TIOPNGFilter::SUB},
                        Case{"rgba_adam7", 8, 3, true, true, TIOPNGFilter::PAETH},
                        Case{"pal8", 8, 1, false, false, TIOPNGFilter::NONE},
                        Case{"pal4_alpha_adam7", 4, 1, true, true, TIOPNGFilter::NONE},
                        Case{"grey1", 1, 1, true, false, TIOPNGFilter::NONE}}) {
    SCOPED_TRACE(c.name);
    TIOParamsVals p;
    p.BitsPerSample = c.bits, p.SamplesPerPixel = c.samples;
    p.PngInterlaced = c.interlaced, p.PngFilter = c.filter, p.PngCompression = 9;
    const Encoded e = EncodeWith(WritePNGStream, picture, p, c.withAlpha ? &alpha : nullptr);
    ASSERT_FALSE(e.aborted) << e.error;
    const std::string file = dir.File(std::string(c.name) + ".png");
    WriteFileBytes(file, e.bytes);
    ExpectLikePillow(dir, file, ByCodec(ReadPNGStream, {}, true), 0, kRgba);
    if (c.bits == 8 && c.samples == 3 && !c.withAlpha) {
      EXPECT_EQ(RgbBytes(Decode(ReadPNGStream, e.bytes).bitmap), RgbBytes(picture));
    }
  }
}

}  // namespace
}  // namespace quillet::test
