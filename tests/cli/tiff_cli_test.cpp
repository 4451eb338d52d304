// quillet-cli on TIFF: convert with the TIFF options, pages by index (and the
// page count past the last), insert after a page, export-raw with --set.
#include <gtest/gtest.h>

#include "cli_harness.h"

namespace quillet::test {
namespace {

TEST(CliTiff, ConvertInsertAndPages) {
  TempDir dir;
  TIEWorkingBitmap picture(9, 4, TIEPixelFormat::pf24bit);
  picture.Fill(MakeBGR(200, 20, 20));
  const std::string bmp = WriteBmp(dir, "in.bmp", picture), tif = dir.File("out.tif");
  ASSERT_EQ(Cli(dir, "convert " + bmp + " " + tif + " --set TiffCompression=G4FAX --set BitsPerSample=1").status, 0);
  EXPECT_NE(Cli(dir, "info " + tif).out.find("Group 4 Fax"), std::string::npos);
  ASSERT_EQ(Cli(dir, "convert " + bmp + " " + dir.File("cmyk.tif") + " --set TiffPhotometric=CMYK").status, 0);
  const TBGR cmyk = ReadImage(dir.File("cmyk.tif")).Pixel(0, 0);  // not exact by design
  EXPECT_EQ(cmyk.r, 200);
  EXPECT_NEAR(cmyk.g, 20, 1);

  const CliResult inserted = Cli(dir, "insert " + dir.File("cmyk.tif") + " " + tif);
  ASSERT_EQ(inserted.status, 0) << inserted.err;
  EXPECT_NE(inserted.out.find("\"page_count\":2"), std::string::npos) << inserted.out;
  ASSERT_EQ(Cli(dir, "insert " + bmp + " " + tif + " --after 0").status, 0);
  const CliResult second = Cli(dir, "info " + tif + " --index 1");
  EXPECT_NE(second.out.find("\"TiffImageCount\": 3"), std::string::npos) << second.out;
  EXPECT_NE(second.out.find("\"pixel_format\": 24"), std::string::npos);
  const CliResult past = Cli(dir, "export-raw " + tif + " " + dir.File("x.pam") + " --index 3");
  EXPECT_EQ(past.status, 1);
  EXPECT_NE(past.err.find("has 3 page(s)"), std::string::npos) << past.err;
  EXPECT_EQ(Cli(dir, "export-raw " + tif + " " + dir.File("x.pam") + " --index 2 --set AutoOrient=0").status, 0);
}

}  // namespace
}  // namespace quillet::test
