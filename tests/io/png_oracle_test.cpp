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
bool PillowRgba(const std::string& file, const std::string& pam) {
  return RunPython("from PIL import Image\n"
                   "im = Image.open(r'''" + file + "''')\n"
                   "if im.mode in ('I', 'I;16', 'I;16B'):\n"
                   "    im = im.point(lambda v: v / 256).convert('L')\n"
                   "im = im.convert('RGBA')\n"
                   "with open(r'''" + pam + "''', 'wb') as f:\n"
                   "    f.write(b'P7\\nWIDTH %d\\nHEIGHT %d\\nDEPTH 4\\nMAXVAL 255\\nTUPLTYPE RGB_ALPHA\\nENDHDR\\n' % im.size)\n"
                   "    f.write(im.tobytes())\n") == 0;
}

// Colour compared where Pillow's alpha is not 0, alpha everywhere.
void ExpectSameAsPillow(const TempDir& dir, const std::string& file) {
  RawImage want;
  ASSERT_TRUE(PillowRgba(file, dir.File("want.pam")) && ReadPam(dir.File("want.pam"), want)) << file;
  TIEMask alpha;
  const Decoded d = Decode(ReadPNGStream, ReadFileBytes(file), {}, false, -1, &alpha);
  ASSERT_FALSE(d.aborted) << file << ": " << d.error;
  ASSERT_EQ(d.bitmap.Width(), want.width);
  ASSERT_EQ(d.bitmap.Height(), want.height);
  for (int y = 0; y < want.height; ++y)
    for (int x = 0; x < want.width; ++x) {
      const uint8_t* w = want.At(x, y);
      ASSERT_EQ(alpha.GetPixel(x, y), w[3]) << file << " " << x << "," << y;
      if (w[3] == 0) continue;
      ASSERT_EQ(d.bitmap.Pixel(x, y), MakeBGR(w[0], w[1], w[2])) << file << " " << x << "," << y;
    }
}

TEST(PngOracle, PillowModes) {
  if (!HavePillow()) GTEST_SKIP() << "Pillow missing";
  TempDir dir;
  const std::string src = MakeSource(dir);
  const std::vector<std::pair<std::string, std::string>> modes = {
      {"1", "im.convert('1')"},
      {"L", "im.convert('L')"},
      {"LA", "im.convert('LA')"},
      {"P", "im.convert('RGB').quantize(200)"},
      {"P_trns", "im.convert('RGB').quantize(16)"},
      {"RGB", "im.convert('RGB')"},
      {"RGBA", "im"},
      {"I16", "im.convert('L').point(lambda v: v * 257, 'I').convert('I;16')"},
  };
  for (const auto& [name, expr] : modes) {
    const std::string out = dir.File(name + ".png");
    const std::string extra = name == "P_trns" ? ", transparency=3" : "";
    ASSERT_EQ(RunPython("from PIL import Image\n"
                        "im = Image.open(r'''" + src + "''')\n"
                        "(" + expr + ").save(r'''" + out + "'''" + extra + ")\n"),
              0)
        << name;
    SCOPED_TRACE(name);
    ExpectSameAsPillow(dir, out);
  }
}

TEST(PngOracle, ImageMagickDepthsAndInterlace) {
  if (!HavePillow() || !HaveImageMagick()) GTEST_SKIP() << "Pillow or ImageMagick missing";
  TempDir dir;
  const std::string src = MakeSource(dir);
  const std::vector<std::pair<std::string, std::string>> variants = {
      {"grey2", "-alpha off -colorspace Gray -depth 2 PNG8:"},
      {"grey4", "-alpha off -colorspace Gray -depth 4 PNG8:"},
      {"pal4", "-alpha off -colors 12 PNG8:"},
      {"pal_trns", "-colors 20 PNG8:"},
      {"rgb48", "-alpha off -depth 16 PNG48:"},
      {"rgba64", "-depth 16 PNG64:"},
      {"grey16", "-alpha off -colorspace Gray -depth 16 PNG:"},
      {"interlaced", "-interlace PNG PNG32:"},
      {"interlaced_rgb", "-alpha off -interlace PNG PNG24:"},
  };
  int tried = 0;
  for (const auto& [name, args] : variants) {
    const std::string out = dir.File(name + ".png");
    const size_t space = args.rfind(' ');
    if (test::Run("/usr/bin/convert " + src + " " + args.substr(0, space) + " " + args.substr(space + 1) + out +
                  " 2>/dev/null") != 0)
      continue;
    ++tried;
    SCOPED_TRACE(name);
    ExpectSameAsPillow(dir, out);
  }
  EXPECT_GE(tried, 7);
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
    ExpectSameAsPillow(dir, file);
    if (c.bits == 8 && c.samples == 3 && !c.withAlpha) {
      EXPECT_EQ(RgbBytes(Decode(ReadPNGStream, e.bytes).bitmap), RgbBytes(picture));
    }
  }
}

}  // namespace
}  // namespace quillet::test
