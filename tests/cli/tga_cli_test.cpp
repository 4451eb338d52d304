// quillet-cli on Targa: convert with each Targa option and a depth, and info
// showing the fields read back.
#include <gtest/gtest.h>

#include "cli_harness.h"

namespace quillet::test {
namespace {

TEST(CliTga, ConvertWithOptionsAndInfo) {
  struct TCase {
    std::string sets;
    int type, depth;
    std::string shown;  // in the info of the file written
  };
  const std::vector<TCase> cases = {
      {"", 10, 24, "\"TgaCompressed\": true"},
      {"--set TgaCompressed=0", 2, 24, "\"TgaCompressed\": false"},
      {"--set BitsPerSample=8 --set TgaGrayLevel=1", 11, 8, "\"TgaGrayLevel\": true"},
      {"--set BitsPerSample=1", 3, 1, "\"BitsPerSample\": 1"},
      {"--set BitsPerSample=4", 1, 8, "\"ColorMapCount\": 16"},
      {"--set BitsPerSample=8", 9, 8, "\"ColorMapCount\": 256"},
      {"--set TgaDescriptor=label", 10, 24, "\"TgaDescriptor\": \"label\""},
      {"--set TgaAuthor=someone", 10, 24, "\"TgaAuthor\": \"someone\""},
      {"--set TgaImageName=job", 10, 24, "\"TgaImageName\": \"job\""},
      {"--set TgaGamma=1.8", 10, 24, "\"TgaGamma\": 1.8"},
      {"--set TgaAspectRatio=0.5", 10, 24, "\"TgaAspectRatio\": 0.5"},
  };
  TempDir dir;
  TIEWorkingBitmap picture(6, 3, TIEPixelFormat::pf24bit);
  picture.Fill(MakeBGR(200, 20, 20));
  const std::string bmp = WriteBmp(dir, "in.bmp", picture), tga = dir.File("out.tga");
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.sets);
    const CliResult made = Cli(dir, "convert " + bmp + " " + tga + " " + c.sets);
    ASSERT_EQ(made.status, 0) << made.err;
    const std::vector<uint8_t> bytes = ReadFileBytes(tga);
    ASSERT_GT(bytes.size(), 18u);
    EXPECT_EQ(bytes[2], c.type);
    EXPECT_EQ(bytes[16], c.depth);
    const CliResult info = Cli(dir, "info " + tga);
    EXPECT_NE(info.out.find(c.shown), std::string::npos) << info.out;
  }
}

}  // namespace
}  // namespace quillet::test
