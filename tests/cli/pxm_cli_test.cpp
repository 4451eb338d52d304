// quillet-cli on PBM, PGM and PPM: convert with comment lines and a depth,
// and info showing the comments read.
#include <gtest/gtest.h>

#include "cli_harness.h"

namespace quillet::test {
namespace {

TEST(CliPxm, ConvertWithCommentsAndInfo) {
  TempDir dir;
  TIEWorkingBitmap picture(5, 3, TIEPixelFormat::pf24bit);
  picture.Fill(MakeBGR(200, 20, 20));
  const std::string bmp = WriteBmp(dir, "in.bmp", picture), pgm = dir.File("out.pgm");
  const CliResult made = Cli(dir, "convert " + bmp + " " + pgm + " --set BitsPerSample=8 --set 'PxmComments=one\ntwo'");
  ASSERT_EQ(made.status, 0) << made.err;
  const std::vector<uint8_t> bytes = ReadFileBytes(pgm);
  const std::string head = "P5 \n# one\n\n# two\n5 3 255\n";
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + int64_t(head.size())), head);
  EXPECT_EQ(bytes.size(), head.size() + 15);
  const CliResult info = Cli(dir, "info " + pgm);
  EXPECT_NE(info.out.find("\"one\""), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("\"two\""), std::string::npos);
}

}  // namespace
}  // namespace quillet::test
