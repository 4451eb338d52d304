// BMP and icon files written by ImageMagick and Pillow in every common variant,
// icons with PNG entries among them, decoded by us beside Pillow's decoding.
#include <gtest/gtest.h>

#include "codec_harness.h"
#include "imaging/io/formats/bmp/bmp_codec.h"
#include "imaging/io/formats/ico/ico_codec.h"

namespace quillet::test {
namespace {

using enum TMaker;

TEST(BmpOracle, ImageMagickVariants) {
  if (!HavePillow() || !HaveImageMagick()) GTEST_SKIP() << "Pillow or ImageMagick missing";
  TempDir dir;
  // 16-bit channels are widened by shifting (31 -> 248) where Pillow rescales (31 -> 255).
  const std::vector<TOracleCase> cases = {
      {"rgb24_v3", omMagick, "BMP3:"},
      {"rgb24_os2", omMagick, "BMP2:"},
      {"rgb24_v5", omMagick, "BMP:"},
      {"pal8", omMagick, "-type Palette BMP3:"},
      {"pal8_rle", omMagick, "-type Palette -compress RLE BMP3:"},
      {"pal4", omMagick, "-colors 16 -type Palette BMP3:"},
      {"pal4_rle", omMagick, "-colors 16 -type Palette -compress RLE BMP3:"},
      {"pal8_os2", omMagick, "-type Palette BMP2:"},
      {"mono", omMagick, "-monochrome BMP3:"},
      {"gray8", omMagick, "-colorspace Gray -type Grayscale BMP3:"},
      {"rgb565", omMagick, "-define bmp:subtype=RGB565 BMP:", "", 7},
      {"rgb555", omMagick, "-define bmp:subtype=RGB555 BMP:", "", 7},
      {"argb32", omMagick, "-alpha on -define bmp:subtype=ARGB8888 BMP:"},
      {"rgb24_v4", omMagick, "-define bmp:format=bmp4 BMP:"},
      {"pal8_v4", omMagick, "-type Palette -define bmp:format=bmp4 BMP:"},
  };
  EXPECT_GE(CheckOracleCases(dir, MakeOraclePicture(dir), ".bmp", cases, ByCodec(ReadBMPStream)), 10);
}

TEST(BmpOracle, PillowModes) {
  if (!HavePillow()) GTEST_SKIP() << "Pillow missing";
  TempDir dir;
  std::vector<TOracleCase> cases;
  for (const char* mode : {"1", "L", "P", "RGB", "RGBA"})
    cases.push_back({std::string("pillow_") + mode, omPillow, std::string("im.convert('") + mode + "')"});
  EXPECT_EQ(CheckOracleCases(dir, MakeOraclePicture(dir), ".bmp", cases, ByCodec(ReadBMPStream)), 5);
}

TEST(BmpOracle, ImageMagickIcons) {
  if (!HavePillow() || !HaveImageMagick()) GTEST_SKIP() << "Pillow or ImageMagick missing";
  TempDir dir;
  // Opaque icons, so the transparency mask is empty and every pixel compares.
  const std::vector<TOracleCase> cases = {
      {"icon24", omMagick, "-resize 32x32! ICO:"},
      {"icon4", omMagick, "-resize 32x32! -colors 16 -type Palette ICO:"},
      {"icon8", omMagick, "-resize 32x32! -type Palette ICO:"},
  };
  CheckOracleCases(dir, MakeOraclePicture(dir), ".ico", cases, ByCodec(ReadICOStream));
}

// A 16 x 16 picture whose left half of the top rows is transparent.
std::string TransparentSource(const TempDir& dir) {
  const std::string png = dir.File("alpha.png");
  RunPython("from PIL import Image\n"
            "im = Image.new('RGBA', (16, 16), (200, 30, 60, 255))\n"
            "for y in range(6):\n"
            "    for x in range(16):\n"
            "        im.putpixel((x, y), (x * 15, y * 40, 90, 0 if x < 8 else 255))\n"
            "im.save(r'''" + png + "''')\n");
  return png;
}

TEST(BmpOracle, ImageMagickIconWithTransparency) {
  if (!HavePillow() || !HaveImageMagick()) GTEST_SKIP() << "Pillow or ImageMagick missing";
  TempDir dir;
  // Transparent pixels show white, the default IcoBackground.
  const TPillowView view{.alpha = true, .transparentShows = kWhite};
  const int made = CheckOracleCases(dir, TransparentSource(dir), ".ico", {{"alpha", omMagick, "ICO:"}},
                                    ByCodec(ReadICOStream, {}, true), view);
  if (made == 0) GTEST_SKIP() << "no icon writer";
}

// Pillow stores every icon entry as PNG; each entry, chosen by IcoImageIndex,
// decodes with Pillow's colours and alpha.
TEST(BmpOracle, PillowIconsWithPngEntries) {
  if (!HavePillow()) GTEST_SKIP() << "Pillow missing";
  TempDir dir;
  const std::string source = TransparentSource(dir);
  const std::vector<TOracleCase> icons = {
      {"rgba", omPillow, "im", "sizes=[(16, 16), (8, 8), (12, 12)]"},
      {"grey", omPillow, "im.convert('L')", "sizes=[(16, 16)]"},
  };
  for (const TOracleCase& c : icons) {
    SCOPED_TRACE(c.name);
    const std::string file = MakeOracleFile(dir, source, c, ".ico");
    ASSERT_FALSE(file.empty());
    for (int index = 0; index < 3; ++index) {
      const TOurDecode ours = ByCodec(ReadICOStream, [=](TIOParamsVals& p) { p.IcoImageIndex = index; }, true);
      const TOurImage entry = ours(ReadFileBytes(file));
      if (entry.bitmap.Empty()) break;  // past the last entry
      const std::string size = std::to_string(entry.bitmap.Width());
      ExpectLikePillow(dir, file, ours, 0,
                       {.alpha = true, .prelude = "im = im.ico.getimage((" + size + ", " + size + "))",
                        .transparentShows = kWhite});
    }
  }
}

}  // namespace
}  // namespace quillet::test
