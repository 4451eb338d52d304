// quillet-cli quantize and the palette depths of convert: files read back
// by Pillow with exactly the colours our quantizer gives, and usage errors.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "cli_harness.h"
#include "imaging/proc/quantizer.h"

namespace quillet::test {
namespace {

int Status(const TempDir& dir, const std::string& args) { return Cli(dir, args).status; }

// A 45 x 31 picture with some hundreds of colours, as a 24-bit BMP.
TIEWorkingBitmap Picture() {
  TIEWorkingBitmap b(45, 31, TIEPixelFormat::pf24bit);
  for (int y = 0; y < 31; ++y)
    for (int x = 0; x < 45; ++x) {
      uint8_t* p = b.ScanLine(y) + 3 * x;
      p[0] = uint8_t(x * 5), p[1] = uint8_t(y * 8), p[2] = uint8_t((x * y) % 7 * 36);
    }
  return b;
}

std::string WritePicture(const TempDir& dir) { return WriteBmp(dir, "in.bmp", Picture()); }

// RGB bytes of the picture through our quantizer with `colors` colours into
// a palette of `entries`.
std::vector<uint8_t> Expected(int colors, int entries) {
  const TIEWorkingBitmap img = Picture();
  std::vector<TBGR> palette(size_t(entries), kBlack);
  const TIEQuantizer q(TIEQuantizerSource(img), palette, colors);
  std::vector<uint8_t> rgb;
  for (int y = 0; y < img.Height(); ++y)
    for (int x = 0; x < img.Width(); ++x) {
      const TBGR c = palette[size_t(q.GetIndex(RgbOf(img.Pixel(x, y))))];
      rgb.insert(rgb.end(), {c.r, c.g, c.b});
    }
  return rgb;
}

std::vector<uint8_t> PillowPixels(const TempDir& dir, const std::string& file) {
  RawImage got;
  EXPECT_TRUE(PillowDecode(file, dir.File("p.pam")) && ReadPam(dir.File("p.pam"), got)) << file;
  return got.pixels;
}

size_t DistinctColours(const std::vector<uint8_t>& rgb) {
  std::set<uint32_t> seen;
  for (size_t i = 0; i + 2 < rgb.size(); i += 3) seen.insert(uint32_t(rgb[i]) << 16 | rgb[i + 1] << 8 | rgb[i + 2]);
  return seen.size();
}

TEST(CliQuantize, PaletteBmpHoldsOurColours) {
  if (!HavePillow()) GTEST_SKIP() << "Pillow missing";
  TempDir dir;
  const std::string in = WritePicture(dir);
  struct Case {
    int colors, bits;
  } cases[] = {{2, 4}, {16, 4}, {17, 8}, {200, 8}, {256, 8}};
  for (const Case& c : cases) {
    const std::string out = dir.File("q" + std::to_string(c.colors) + ".bmp");
    ASSERT_EQ(Status(dir, "quantize " + in + " " + out + " --colors " + std::to_string(c.colors)), 0) << c.colors;
    EXPECT_EQ(ReadFileBytes(out)[28], c.bits) << c.colors;
    const auto got = PillowPixels(dir, out);
    EXPECT_EQ(got, Expected(c.colors, 1 << c.bits)) << c.colors;
    EXPECT_LE(DistinctColours(got), size_t(c.colors));
  }
  // RLE and the header version come from --set.
  const std::string rle = dir.File("rle.bmp");
  ASSERT_EQ(Status(dir, "quantize " + in + " " + rle + " --colors 200 --set BmpCompression=1"), 0);
  EXPECT_EQ(ReadFileBytes(rle)[30], 1);
  EXPECT_EQ(PillowPixels(dir, rle), Expected(200, 256));
}

TEST(CliQuantize, ConvertWithBitsPerSampleWritesPaletteFiles) {
  if (!HavePillow()) GTEST_SKIP() << "Pillow missing";
  TempDir dir;
  const std::string in = WritePicture(dir);
  for (int bits : {4, 8}) {
    const std::string out = dir.File("c" + std::to_string(bits) + ".bmp");
    ASSERT_EQ(Status(dir, "convert " + in + " " + out + " --set BitsPerSample=" + std::to_string(bits)), 0);
    EXPECT_EQ(ReadFileBytes(out)[28], bits);
    EXPECT_EQ(PillowPixels(dir, out), Expected(1 << bits, 1 << bits)) << bits;
  }
  // Eight bits of each of three samples stays true colour.
  const std::string rgb = dir.File("rgb.bmp");
  ASSERT_EQ(Status(dir, "convert " + in + " " + rgb + " --set BitsPerSample=8 --set SamplesPerPixel=3"), 0);
  EXPECT_EQ(ReadFileBytes(rgb)[28], 24);
}

TEST(CliQuantize, BadRequestsFailCleanly) {
  TempDir dir;
  const std::string in = WritePicture(dir);
  for (const char* colors : {"0", "257", "x"}) EXPECT_EQ(Status(dir, "quantize " + in + " " + dir.File("a.bmp") + " --colors " + colors), 2);
  EXPECT_EQ(Status(dir, "quantize " + in + " " + dir.File("a.bmp")), 2);
  EXPECT_EQ(Status(dir, "quantize " + in + " " + dir.File("a.bmp") + " --colors 8 --set Nothing=1"), 2);
  EXPECT_EQ(Status(dir, "quantize " + dir.File("missing.bmp") + " " + dir.File("a.bmp") + " --colors 8"), 1);
  EXPECT_EQ(Status(dir, "quantize " + in + " " + dir.File("a.xyz") + " --colors 8"), 1);
  EXPECT_FALSE(std::filesystem::exists(dir.File("a.bmp")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("a.xyz")));
}

}  // namespace
}  // namespace quillet::test
