// BMP and icon files written by ImageMagick and Pillow in every common variant,
// decoded by us and compared pixel for pixel with Pillow's decoding.
#include <gtest/gtest.h>

#include "codec_harness.h"
#include "imaging/io/formats/bmp/bmp_codec.h"
#include "imaging/io/formats/ico/ico_codec.h"

namespace quillet::test {
namespace {

// `tolerance` allows for 16-bit channels, which we widen by shifting (31 -> 248)
// where Pillow rescales (31 -> 255).
void ExpectSameAsPillow(const TempDir& dir, const std::string& file, TIOReadProc read, int tolerance = 0) {
  RawImage want;
  ASSERT_TRUE(PillowDecode(file, dir.File("want.pam")) && ReadPam(dir.File("want.pam"), want)) << file;
  const Decoded d = Decode(read, ReadFileBytes(file));
  ASSERT_FALSE(d.aborted) << file << ": " << d.error;
  ASSERT_EQ(d.bitmap.Width(), want.width) << file;
  ASSERT_EQ(d.bitmap.Height(), want.height) << file;
  const std::vector<uint8_t> got = RgbBytes(d.bitmap);
  if (tolerance == 0) {
    EXPECT_EQ(got, want.pixels) << file;
    return;
  }
  for (size_t i = 0; i < got.size(); ++i)
    ASSERT_LE(std::abs(int(got[i]) - int(want.pixels[i])), tolerance) << file << " byte " << i;
}

TEST(BmpOracle, ImageMagickVariants) {
  if (!HavePillow() || !HaveImageMagick()) GTEST_SKIP() << "Pillow or ImageMagick missing";
  TempDir dir;
  const std::string src = MakeOraclePicture(dir);
  const std::vector<std::pair<std::string, std::string>> variants = {
      {"rgb24_v3", "BMP3:"},
      {"rgb24_os2", "BMP2:"},
      {"rgb24_v5", "BMP:"},
      {"pal8", "-type Palette BMP3:"},
      {"pal8_rle", "-type Palette -compress RLE BMP3:"},
      {"pal4", "-colors 16 -type Palette BMP3:"},
      {"pal4_rle", "-colors 16 -type Palette -compress RLE BMP3:"},
      {"pal8_os2", "-type Palette BMP2:"},
      {"mono", "-monochrome BMP3:"},
      {"gray8", "-colorspace Gray -type Grayscale BMP3:"},
      {"rgb565", "-define bmp:subtype=RGB565 BMP:"},
      {"rgb555", "-define bmp:subtype=RGB555 BMP:"},
      {"argb32", "-alpha on -define bmp:subtype=ARGB8888 BMP:"},
      {"rgb24_v4", "-define bmp:format=bmp4 BMP:"},
      {"pal8_v4", "-type Palette -define bmp:format=bmp4 BMP:"},
  };
  int tried = 0;
  for (const auto& [name, args] : variants) {
    const std::string out = dir.File(name + ".bmp");
    const size_t colon = args.rfind(' ');
    const std::string opts = colon == std::string::npos ? "" : args.substr(0, colon);
    const std::string prefix = colon == std::string::npos ? args : args.substr(colon + 1);
    if (test::Run("/usr/bin/convert " + src + " " + opts + " " + prefix + out + " 2>/dev/null") != 0) continue;
    ++tried;
    SCOPED_TRACE(name);
    ExpectSameAsPillow(dir, out, ReadBMPStream, name.starts_with("rgb5") ? 7 : 0);
  }
  EXPECT_GE(tried, 10);
}

TEST(BmpOracle, PillowModes) {
  if (!HavePillow()) GTEST_SKIP() << "Pillow missing";
  TempDir dir;
  const std::string src = MakeOraclePicture(dir);
  for (const std::string mode : {"1", "L", "P", "RGB", "RGBA"}) {
    const std::string out = dir.File("pillow_" + mode + ".bmp");
    ASSERT_EQ(RunPython("from PIL import Image\n"
                        "Image.open(r'''" + src + "''').convert('" + mode + "').save(r'''" + out + "''')\n"),
              0);
    SCOPED_TRACE(mode);
    ExpectSameAsPillow(dir, out, ReadBMPStream);
  }
}

TEST(BmpOracle, ImageMagickIcons) {
  if (!HavePillow() || !HaveImageMagick()) GTEST_SKIP() << "Pillow or ImageMagick missing";
  TempDir dir;
  const std::string src = MakeOraclePicture(dir);
  // Opaque icons, so the transparency mask is empty and every pixel compares.
  for (const std::string opts : {"", "-colors 16 -type Palette", "-type Palette"}) {
    const std::string out = dir.File("icon.ico");
    if (test::Run("/usr/bin/convert " + src + " -resize 32x32! " + opts + " " + out + " 2>/dev/null") != 0) continue;
    SCOPED_TRACE(opts);
    ExpectSameAsPillow(dir, out, ReadICOStream);
  }
}

TEST(BmpOracle, ImageMagickIconWithTransparency) {
  if (!HavePillow() || !HaveImageMagick()) GTEST_SKIP() << "Pillow or ImageMagick missing";
  TempDir dir;
  const std::string png = dir.File("alpha.png"), ico = dir.File("alpha.ico");
  ASSERT_EQ(RunPython("from PIL import Image\n"
                      "im = Image.new('RGBA', (16, 16), (200, 30, 60, 255))\n"
                      "for y in range(6):\n"
                      "    for x in range(16):\n"
                      "        im.putpixel((x, y), (x * 15, y * 40, 90, 0 if x < 8 else 255))\n"
                      "im.save(r'''" + png + "''')\n"),
            0);
  if (test::Run("/usr/bin/convert " + png + " " + ico + " 2>/dev/null") != 0) GTEST_SKIP() << "no icon writer";
  RawImage want;
  ASSERT_TRUE(PillowDecode(ico, dir.File("want.pam"), true) && ReadPam(dir.File("want.pam"), want));
  ASSERT_EQ(want.depth, 4);
  TIEMask alpha;
  const Decoded d = Decode(ReadICOStream, ReadFileBytes(ico), {}, false, -1, &alpha);
  ASSERT_FALSE(d.aborted) << d.error;
  ASSERT_EQ(d.bitmap.Width(), want.width);
  ASSERT_EQ(alpha.Width(), want.width);
  for (int y = 0; y < want.height; ++y)
    for (int x = 0; x < want.width; ++x) {
      const uint8_t* w = want.At(x, y);
      EXPECT_EQ(alpha.GetPixel(x, y), w[3]) << x << "," << y;
      const TBGR shown = w[3] == 0 ? kWhite : MakeBGR(w[0], w[1], w[2]);  // white: IcoBackground
      EXPECT_EQ(d.bitmap.Pixel(x, y), shown) << x << "," << y;
    }
}

}  // namespace
}  // namespace quillet::test
