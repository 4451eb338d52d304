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

// Our decoding of `file` against Pillow's, channel by channel within `tolerance`.
void ExpectSameAsPillow(const TempDir& dir, const std::string& file, int tolerance = 0,
                        const std::function<void(TIOParamsVals&)>& setup = {}, const std::string& draft = "") {
  const std::string pam = dir.File("want.pam");
  if (draft.empty()) {
    ASSERT_TRUE(PillowDecode(file, pam)) << file;
  } else {
    ASSERT_EQ(RunPython("from PIL import Image\n"
                        "im = Image.open(r'''" + file + "''')\n"
                        "im.draft('RGB', " + draft + ")\n"
                        "im = im.convert('RGB')\n"
                        "with open(r'''" + pam + "''', 'wb') as f:\n"
                        "    f.write(b'P7\\nWIDTH %d\\nHEIGHT %d\\nDEPTH 3\\nMAXVAL 255\\nTUPLTYPE RGB\\nENDHDR\\n' % im.size)\n"
                        "    f.write(im.tobytes())\n"),
              0);
  }
  RawImage want;
  ASSERT_TRUE(ReadPam(pam, want));
  const Decoded d = Decode(ReadJPEGStream, ReadFileBytes(file), setup);
  ASSERT_FALSE(d.aborted) << file << ": " << d.error;
  ASSERT_EQ(d.bitmap.Width(), want.width) << file;
  ASSERT_EQ(d.bitmap.Height(), want.height) << file;
  const std::vector<uint8_t> got = RgbBytes(d.bitmap);
  int worst = 0;
  for (size_t i = 0; i < got.size(); ++i) worst = std::max(worst, std::abs(int(got[i]) - int(want.pixels[i])));
  EXPECT_LE(worst, tolerance) << file;
}

TEST(JpegOracle, PillowVariants) {
  if (!HavePillow()) GTEST_SKIP() << "Pillow missing";
  TempDir dir;
  const std::string src = MakeSource(dir);
  const std::vector<std::pair<std::string, std::string>> variants = {
      {"q50", "quality=50"},
      {"q90", "quality=90"},
      {"progressive", "quality=75, progressive=True"},
      {"s444", "quality=85, subsampling=0"},
      {"s422", "quality=85, subsampling=1"},
      {"optimized", "quality=60, optimize=True"},
  };
  for (const auto& [name, options] : variants) {
    const std::string out = dir.File(name + ".jpg");
    ASSERT_EQ(RunPython("from PIL import Image\n"
                        "Image.open(r'''" + src + "''').save(r'''" + out + "''', " + options + ")\n"),
              0);
    SCOPED_TRACE(name);
    ExpectSameAsPillow(dir, out);
  }
  const std::string grey = dir.File("grey.jpg");
  ASSERT_EQ(RunPython("from PIL import Image\n"
                      "Image.open(r'''" + src + "''').convert('L').save(r'''" + grey + "''')\n"),
            0);
  ExpectSameAsPillow(dir, grey);
}

TEST(JpegOracle, ImageMagickVariantsWithCmyk) {
  if (!HavePillow() || !HaveImageMagick()) GTEST_SKIP() << "Pillow or ImageMagick missing";
  TempDir dir;
  const std::string src = MakeSource(dir);
  const std::vector<std::pair<std::string, std::string>> variants = {
      {"plain", "-quality 80"},
      {"progressive", "-interlace JPEG"},
      {"grey", "-colorspace Gray"},
      {"s111", "-sampling-factor 1x1"},
      {"restarts", "-define jpeg:restart-interval=1"},
      {"cmyk", "-colorspace CMYK"},
  };
  for (const auto& [name, options] : variants) {
    const std::string out = dir.File(name + ".jpg");
    ASSERT_EQ(test::Run("/usr/bin/convert " + src + " " + options + " " + out + " 2>/dev/null"), 0) << name;
    SCOPED_TRACE(name);
    // Pillow rounds its CMYK conversion where the codec truncates.
    ExpectSameAsPillow(dir, out, name == "cmyk" ? 1 : 0);
    // The library stores CMYK input as YCCK unless told otherwise.
    if (name == "cmyk") {
      EXPECT_EQ(Decode(ReadJPEGStream, ReadFileBytes(out), {}, true).params.JpegColorSpace, TIOJPEGColorspace::YCbCrK);
    }
  }
}

TEST(JpegOracle, ScaledDecodingMatchesPillowDraft) {
  if (!HavePillow()) GTEST_SKIP() << "Pillow missing";
  TempDir dir;
  const std::string out = dir.File("big.jpg");
  ASSERT_EQ(RunPython("from PIL import Image\n"
                      "Image.open(r'''" + MakeSource(dir) + "''').resize((268, 180)).save(r'''" + out + "''', quality=90)\n"),
            0);
  for (const uint8_t scale : {2, 3, 4}) {
    SCOPED_TRACE(int(scale));
    const int d = 1 << (scale - 1);
    ExpectSameAsPillow(dir, out, 0, [&](TIOParamsVals& p) { p.JpegScale = scale; },
                       "(" + std::to_string(268 / d) + ", " + std::to_string(180 / d) + ")");
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
    ExpectSameAsPillow(dir, file, cmyk ? 1 : 0);
    if (!HaveImageMagick()) continue;
    const std::string space = dir.File("space.txt");
    ASSERT_EQ(test::Run("/usr/bin/identify -format %[colorspace] " + file + " >" + space + " 2>/dev/null"), 0);
    const std::vector<uint8_t> said = ReadFileBytes(space);
    EXPECT_EQ(std::string(said.begin(), said.end()), c.magickSpace);
  }
}

}  // namespace
}  // namespace quillet::test
