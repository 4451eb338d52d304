// JPEG files written by Pillow and ImageMagick decoded by us with the pixels
// Pillow decodes (the same library underneath), scaled decoding beside
// Pillow's draft mode, and files we write read back by both.
#include <gtest/gtest.h>

#include "imaging/io/formats/jpeg/jpeg_codec.h"
#include "jpeg_png_support.h"

namespace quillet::test {
namespace {

std::string MakeSource(const TempDir& dir) {
  const std::string png = dir.File("source.png");
  RunPython("from PIL import Image\n"
            "im = Image.new('RGB', (67, 45))\n"
            "for y in range(45):\n"
            "    for x in range(67):\n"
            "        im.putpixel((x, y), (x * 3, y * 5, 200 if (x // 8 + y // 8) % 2 else 40))\n"
            "im.save(r'''" + png + "''')\n");
  return png;
}

using enum TMaker;

TEST(JpegOracle, PillowVariants) {
  if (!HavePillow()) GTEST_SKIP() << "Pillow missing";
  TempDir dir;
  const std::vector<TOracleCase> cases = {
      {"q50", omPillow, "im", "quality=50"},
      {"q90", omPillow, "im", "quality=90"},
      {"progressive", omPillow, "im", "quality=75, progressive=True"},
      {"s444", omPillow, "im", "quality=85, subsampling=0"},
      {"s422", omPillow, "im", "quality=85, subsampling=1"},
      {"optimized", omPillow, "im", "quality=60, optimize=True"},
      {"grey", omPillow, "im.convert('L')"},
  };
  EXPECT_EQ(CheckOracleCases(dir, MakeSource(dir), ".jpg", cases, ByCodec(ReadJPEGStream)), int(cases.size()));
}

TEST(JpegOracle, ImageMagickVariantsWithCmyk) {
  if (!HavePillow() || !HaveImageMagick()) GTEST_SKIP() << "Pillow or ImageMagick missing";
  TempDir dir;
  // Pillow rounds its CMYK conversion where the codec truncates.
  const std::vector<TOracleCase> cases = {
      {"plain", omMagick, "-quality 80 JPEG:"},
      {"progressive", omMagick, "-interlace JPEG JPEG:"},
      {"grey", omMagick, "-colorspace Gray JPEG:"},
      {"s111", omMagick, "-sampling-factor 1x1 JPEG:"},
      {"restarts", omMagick, "-define jpeg:restart-interval=1 JPEG:"},
      {"cmyk", omMagick, "-colorspace CMYK JPEG:", "", 1},
  };
  EXPECT_EQ(CheckOracleCases(dir, MakeSource(dir), ".jpg", cases, ByCodec(ReadJPEGStream)), int(cases.size()));
  // The library stores CMYK input as YCCK unless told otherwise.
  EXPECT_EQ(Decode(ReadJPEGStream, ReadFileBytes(dir.File("cmyk.jpg")), {}, true).params.JpegColorSpace,
            TIOJPEGColorspace::YCbCrK);
}

TEST(JpegOracle, ScaledDecodingMatchesPillowDraft) {
  if (!HavePillow()) GTEST_SKIP() << "Pillow missing";
  TempDir dir;
  const std::string out = MakeOracleFile(dir, MakeSource(dir), {"big", omPillow, "im.resize((268, 180))", "quality=90"}, ".jpg");
  for (const uint8_t scale : {2, 3, 4}) {
    SCOPED_TRACE(int(scale));
    const int d = 1 << (scale - 1);
    const std::string size = "(" + std::to_string(268 / d) + ", " + std::to_string(180 / d) + ")";
    ExpectLikePillow(dir, out, ByCodec(ReadJPEGStream, [&](TIOParamsVals& p) { p.JpegScale = scale; }), 0,
                     {.prelude = "im.draft('RGB', " + size + ")"});
  }
}

TEST(JpegOracle, OurFilesReadElsewhere) {
  if (!HavePillow()) GTEST_SKIP() << "Pillow missing";
  TempDir dir;
  const TIEWorkingBitmap source = Picture(53, 37);
  struct Case {
    const char* name;
    std::function<void(TIOParamsVals&)> setup;
    const char* magickSpace;
  };
  const std::vector<Case> cases = {
      {"ycbcr", [](TIOParamsVals&) {}, "sRGB"},
      {"rgb", [](TIOParamsVals& p) { p.JpegColorSpace = TIOJPEGColorspace::RGB; }, "sRGB"},
      {"grey", [](TIOParamsVals& p) { p.JpegColorSpace = TIOJPEGColorspace::GrayScale; }, "Gray"},
      {"cmyk", [](TIOParamsVals& p) { p.JpegColorSpace = TIOJPEGColorspace::CMYK; }, "CMYK"},
      {"ycck", [](TIOParamsVals& p) { p.JpegColorSpace = TIOJPEGColorspace::YCbCrK; }, "CMYK"},
      {"progressive", [](TIOParamsVals& p) { p.JpegProgressive = true; }, "sRGB"},
      {"huffman_smooth", [](TIOParamsVals& p) { p.JpegOptimalHuffman = true, p.JpegSmoothing = 30; }, "sRGB"},
      {"ifast_q95", [](TIOParamsVals& p) { p.JpegDctMethod = TIOJPEGDctMethod::IFAST, p.JpegQuality = 95; }, "sRGB"},
      {"float_q10", [](TIOParamsVals& p) { p.JpegDctMethod = TIOJPEGDctMethod::FLOAT, p.JpegQuality = 10; }, "sRGB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TIOParamsVals p;
    c.setup(p);
    const Encoded e = EncodeWith(WriteJPEGStream, source, p);
    ASSERT_FALSE(e.aborted) << e.error;
    const std::string file = dir.File(std::string(c.name) + ".jpg");
    WriteFileBytes(file, e.bytes);
    const bool cmyk = std::string(c.magickSpace) == "CMYK";
    ExpectLikePillow(dir, file, ByCodec(ReadJPEGStream), cmyk ? 1 : 0);
    if (!HaveImageMagick()) continue;
    const std::string space = dir.File("space.txt");
    ASSERT_EQ(test::Run("/usr/bin/identify -format %[colorspace] " + file + " >" + space + " 2>/dev/null"), 0);
    const std::vector<uint8_t> said = ReadFileBytes(space);
    EXPECT_EQ(std::string(said.begin(), said.end()), c.magickSpace);
  }
}

}  // namespace
}  // namespace quillet::test
