// quillet-cli on PCX: convert with a depth and without run-length coding,
// and info showing the version and coding read.
#include <gtest/gtest.h>

#include "cli_harness.h"

namespace quillet::test {
namespace {

TEST(CliPcx, ConvertWithDepthAndCodingAndInfo) {
  TempDir dir;
  TIEWorkingBitmap picture(5, 3, TIEPixelFormat::pf24bit);
  picture.Fill(MakeBGR(200, 20, 20));
  const std::string bmp = WriteBmp(dir, "in.bmp", picture), pcx = dir.File("out.pcx");
  struct TCase {
    const char* sets;
    int coding, bits, planes;
  };
  for (const TCase& c : {TCase{"--set PcxCompression=0", 0, 8, 3}, TCase{"--set BitsPerSample=1", 1, 1, 1},
                         TCase{"--set BitsPerSample=4", 1, 4, 1}, TCase{"--set BitsPerSample=8", 1, 8, 1}}) {
    SCOPED_TRACE(c.sets);
    const CliResult made = Cli(dir, "convert " + bmp + " " + pcx + " " + c.sets);
    ASSERT_EQ(made.status, 0) << made.err;
    const std::vector<uint8_t> bytes = ReadFileBytes(pcx);
    ASSERT_GE(bytes.size(), 128u);
    EXPECT_EQ(bytes[2], c.coding);
    EXPECT_EQ(bytes[3], c.bits);
    EXPECT_EQ(bytes[65], c.planes);
    const CliResult info = Cli(dir, "info " + pcx);
    EXPECT_NE(info.out.find("\"PcxCompression\": " + std::to_string(c.coding)), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("\"PcxVersion\": 5"), std::string::npos);
  }
}

}  // namespace
}  // namespace quillet::test
