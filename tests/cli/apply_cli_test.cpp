// quillet-cli apply: steps in order on the loaded image, checked against
// Pillow doing the same exact operations; bad steps are usage errors.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "cli_harness.h"

namespace quillet::test {
namespace {

TIEWorkingBitmap Picture() {
  TIEWorkingBitmap b(7, 5, TIEPixelFormat::pf24bit);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) {
      uint8_t* p = b.ScanLine(y) + 3 * x;
      p[0] = uint8_t(30 * x), p[1] = uint8_t(40 * y), p[2] = uint8_t(x * y * 5);
    }
  return b;
}

RawImage Decoded(const TempDir& dir, const std::string& file) {
  RawImage image;
  EXPECT_TRUE(PillowDecode(file, dir.File("d.pam")) && ReadPam(dir.File("d.pam"), image)) << file;
  return image;
}

// Pillow applies `ops` (Python on `im`) to IN and writes the result as PAM.
RawImage PillowDid(const TempDir& dir, const std::string& in, const std::string& ops) {
  const std::string pam = dir.File("expected.pam");
  EXPECT_EQ(RunPython("from PIL import Image\nim = Image.open('" + in + "').convert('RGB')\n" + ops +
                      "\nim.save('" + dir.File("expected.png") + "')\n"),
            0);
  RawImage image;
  EXPECT_TRUE(PillowDecode(dir.File("expected.png"), pam) && ReadPam(pam, image));
  return image;
}

TEST(CliApply, StepsRunInOrderLikeThePeersExactOperations) {
  if (!HavePillow()) GTEST_SKIP() << "Pillow missing";
  TempDir dir;
  const std::string in = WriteBmp(dir, "in.bmp", Picture());
  const std::string out = dir.File("out.bmp");
  ASSERT_EQ(Cli(dir, "apply " + in + " " + out + " flip:h rotate:90 negative").status, 0);
  const RawImage got = Decoded(dir, out);
  const RawImage want = PillowDid(
      dir, in,
      "from PIL import ImageOps\nim = ImageOps.invert(im.transpose(Image.FLIP_LEFT_RIGHT).rotate(90, expand=True))");
  EXPECT_EQ(got.width, 5);
  EXPECT_EQ(got.height, 7);
  EXPECT_EQ(got.pixels, want.pixels);

  ASSERT_EQ(Cli(dir, "apply " + in + " " + out + " flip:v rotate:-90 rotate:180").status, 0);
  EXPECT_EQ(Decoded(dir, out).pixels,
            PillowDid(dir, in, "im = im.transpose(Image.FLIP_TOP_BOTTOM).rotate(-90, expand=True).rotate(180)").pixels);
}

TEST(CliApply, SizesColoursAndModes) {
  if (!HavePillow()) GTEST_SKIP() << "Pillow missing";
  TempDir dir;
  const std::string in = WriteBmp(dir, "in.bmp", Picture());
  const std::string out = dir.File("out.bmp");
  ASSERT_EQ(Cli(dir, "apply " + in + " " + out + " resample:14,-1,lanczos3").status, 0);
  RawImage got = Decoded(dir, out);
  EXPECT_EQ(got.width, 14);
  EXPECT_EQ(got.height, 10);
  ASSERT_EQ(Cli(dir, "apply " + in + " " + out + " resize:9,6").status, 0);
  got = Decoded(dir, out);
  EXPECT_EQ(got.width, 9);
  EXPECT_EQ(got.At(8, 5)[0], 0);  // the new area takes the black background
  ASSERT_EQ(Cli(dir, "apply " + in + " " + out + " gray bw").status, 0);
  EXPECT_EQ(ReadFileBytes(out)[28], 24);  // a 1-bit image written at the default depth
  ASSERT_EQ(Cli(dir, "apply " + in + " " + out + " bw --set BitsPerSample=1").status, 0);
  EXPECT_EQ(ReadFileBytes(out)[28], 1);
  // bw:T is black below the threshold, bw alone the ordered dither.
  for (int t : {0, 60, 255}) {
    ASSERT_EQ(Cli(dir, "apply " + in + " " + out + " bw:" + std::to_string(t) + " --set BitsPerSample=1").status, 0);
    const TIEWorkingBitmap bw = ReadImage(out);
    ASSERT_EQ(bw.PixelFormat(), TIEPixelFormat::pf1bit);
    const TIEWorkingBitmap source = Picture();
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 7; ++x) {
        const TBGR c = source.Pixel(x, y);
        EXPECT_EQ(bw.Pixel(x, y), c.r + c.g + c.b < 3 * t ? kBlack : kWhite) << t << " " << x << "," << y;
      }
  }
  ASSERT_EQ(Cli(dir, "apply " + in + " " + out + " colors:4").status, 0);
  std::set<uint32_t> colours;
  got = Decoded(dir, out);
  for (int y = 0; y < got.height; ++y)
    for (int x = 0; x < got.width; ++x) colours.insert(got.At(x, y)[0] << 16 | got.At(x, y)[1] << 8 | got.At(x, y)[2]);
  EXPECT_LE(colours.size(), 4u);
  ASSERT_EQ(Cli(dir, "apply " + in + " " + out + " clear").status, 0);
  EXPECT_EQ(Decoded(dir, out).At(3, 3)[1], 0);
}

TEST(CliApply, BadStepsAreUsageErrorsAndWriteNothing) {
  TempDir dir;
  const std::string in = WriteBmp(dir, "in.bmp", Picture());
  const std::string out = dir.File("never.bmp");
  for (const char* step : {"spin", "flip:x", "rotate:abc", "rotate:30,xx", "resample:0,5", "resample:-1,-1",
                           "resample:10,10,cubic", "resize:0,4", "colors:1", "colors:300", "negative:1", "bw:256", "bw:-1", "bw:", "bw:1,2"}) {
    const CliResult r = Cli(dir, "apply " + in + " " + out + " " + step);
    EXPECT_EQ(r.status, 2) << step;
    EXPECT_NE(r.err.find("Steps:"), std::string::npos) << step;
  }
  EXPECT_EQ(Cli(dir, "apply " + in + " " + out).status, 2);
  EXPECT_EQ(Cli(dir, "apply " + dir.File("missing.bmp") + " " + out + " flip:h").status, 1);
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace quillet::test
