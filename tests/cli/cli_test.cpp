// quillet-cli end to end: exit codes, error lines, the info JSON, convert with
// --set, and the PAM export compared with Pillow's decoding.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli_harness.h"
#include "support/test_support.h"

namespace quillet::test {
namespace {

// A 5 x 3 24-bit BMP with distinct pixels, written by hand.
std::string WriteSampleBmp(const TempDir& dir, const std::string& name) {
  const int w = 5, h = 3, row = 16;
  std::vector<uint8_t> f(54 + row * h, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = uint8_t(v >> (8 * i));
  };
  f[0] = 'B', f[1] = 'M';
  put32(2, uint32_t(f.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, w);
  put32(22, h);
  f[26] = 1, f[28] = 24;
  put32(38, 3780), put32(42, 7559);  // 96 x 192 dpi
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &f[54 + (h - 1 - y) * row + 3 * x];
      p[0] = uint8_t(10 * x), p[1] = uint8_t(50 * y), p[2] = uint8_t(200 - 7 * x * y);
    }
  const std::string file = dir.File(name);
  WriteFileBytes(file, f);
  return file;
}

TEST(Cli, UsageErrorsExitTwo) {
  TempDir dir;
  EXPECT_EQ(Cli(dir, "").status, 2);
  EXPECT_EQ(Cli(dir, "nosuchcommand").status, 2);
  EXPECT_EQ(Cli(dir, "info").status, 2);
  const std::string in = WriteSampleBmp(dir, "a.bmp");
  EXPECT_EQ(Cli(dir, "convert " + in + " " + dir.File("b.bmp") + " --set NoSuchField=1").status, 2);
  EXPECT_EQ(Cli(dir, "convert " + in + " " + dir.File("b.bmp") + " --set BmpVersion").status, 2);
}

TEST(Cli, FailedReadExitsOneWithAReason) {
  TempDir dir;
  const CliResult r = Cli(dir, "info " + dir.File("missing.bmp"));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("missing.bmp"), std::string::npos);
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);

  const std::string broken = dir.File("broken.bmp");
  WriteFileBytes(broken, {'B', 'M', 1, 2, 3});
  EXPECT_EQ(Cli(dir, "export-raw " + broken + " " + dir.File("x.pam")).status, 1);
  EXPECT_FALSE(std::filesystem::exists(dir.File("x.pam")));
}

TEST(Cli, FormatsListsTheTable) {
  TempDir dir;
  const CliResult r = Cli(dir, "formats");
  ASSERT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("Windows Bitmap\tBMP;DIB;RLE\tread\twrite"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Windows Icon\tICO\tread\t-"), std::string::npos);
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 12);
}

TEST(Cli, InfoReportsSizeResolutionAndParams) {
  TempDir dir;
  const CliResult r = Cli(dir, "info " + WriteSampleBmp(dir, "a.bmp"));
  ASSERT_EQ(r.status, 0) << r.err;
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["file_type"], 5);
  EXPECT_EQ(j["format"], "Windows Bitmap (BMP) ver.3");
  EXPECT_EQ(j["width"], 5);
  EXPECT_EQ(j["height"], 3);
  EXPECT_EQ(j["pixel_format"], 24);
  EXPECT_EQ(j["dpi_x"], 96);
  EXPECT_EQ(j["dpi_y"], 192);
  EXPECT_EQ(j["has_alpha"], false);
  EXPECT_EQ(j["params"]["BmpVersion"], 1);
  EXPECT_EQ(j["params"]["BitsPerSample"], 8);
}

TEST(Cli, ConvertAppliesSetAndKeepsPixels) {
  TempDir dir;
  const std::string in = WriteSampleBmp(dir, "a.bmp"), out = dir.File("os2.bmp");
  ASSERT_EQ(Cli(dir, "convert " + in + " " + out + " --set BmpVersion=2").status, 0);
  const CliResult r = Cli(dir, "info " + out);
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(nlohmann::json::parse(r.out)["params"]["BmpVersion"], 2);

  ASSERT_EQ(Cli(dir, "export-raw " + in + " " + dir.File("a.pam")).status, 0);
  ASSERT_EQ(Cli(dir, "export-raw " + out + " " + dir.File("b.pam")).status, 0);
  EXPECT_EQ(ReadFileBytes(dir.File("a.pam")), ReadFileBytes(dir.File("b.pam")));
}

TEST(Cli, ConvertToUnknownExtensionLeavesNoFile) {
  TempDir dir;
  const std::string in = WriteSampleBmp(dir, "a.bmp");
  EXPECT_EQ(Cli(dir, "convert " + in + " " + dir.File("out.xyz")).status, 1);
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.xyz")));
}

TEST(Cli, AutoDpiEqualisesTheResolution) {
  TempDir dir;
  const std::string in = WriteSampleBmp(dir, "a.bmp");
  ASSERT_EQ(Cli(dir, "export-raw " + in + " " + dir.File("plain.pam")).status, 0);
  ASSERT_EQ(Cli(dir, "export-raw --auto-dpi " + in + " " + dir.File("equal.pam")).status, 0);
  RawImage plain, equal;
  ASSERT_TRUE(ReadPam(dir.File("plain.pam"), plain));
  ASSERT_TRUE(ReadPam(dir.File("equal.pam"), equal));
  EXPECT_EQ(plain.width, 5);
  EXPECT_EQ(plain.height, 3);
  // 96 x 192 dpi on an image wider than high: the height becomes trunc(3 / 192 * 96).
  EXPECT_EQ(equal.width, 5);
  EXPECT_EQ(equal.height, 1);
}

TEST(Cli, TransparentIconsExportWithAlpha) {
  TempDir dir;
  // 2 x 2 24-bit icon, AND bit set for the top-left pixel only.
  std::vector<uint8_t> f = {0, 0, 1, 0, 1, 0, 2, 2, 0, 0, 1, 0, 24, 0, 40 + 16 + 8, 0, 0, 0, 22, 0, 0, 0};
  const std::vector<uint8_t> header = {40, 0, 0, 0, 2, 0, 0, 0, 4, 0, 0, 0, 1, 0, 24, 0};
  f.insert(f.end(), header.begin(), header.end());
  f.resize(f.size() + 24, 0);
  f.resize(f.size() + 16, 100);  // colour rows: grey
  f.insert(f.end(), {0, 0, 0, 0, 0x80, 0, 0, 0});  // AND rows, bottom-up
  WriteFileBytes(dir.File("t.ico"), f);
  const CliResult info = Cli(dir, "info " + dir.File("t.ico"));
  ASSERT_EQ(info.status, 0) << info.err;
  EXPECT_EQ(nlohmann::json::parse(info.out)["has_alpha"], true);
  ASSERT_EQ(Cli(dir, "export-raw " + dir.File("t.ico") + " " + dir.File("t.pam")).status, 0);
  RawImage pam;
  ASSERT_TRUE(ReadPam(dir.File("t.pam"), pam));
  ASSERT_EQ(pam.depth, 4);
  EXPECT_EQ(pam.At(0, 0)[3], 0);
  EXPECT_EQ(pam.At(1, 0)[3], 255);
  EXPECT_EQ(pam.At(0, 1)[0], 100);

  // An opaque BMP stays RGB.
  ASSERT_EQ(Cli(dir, "export-raw " + WriteSampleBmp(dir, "a.bmp") + " " + dir.File("a.pam")).status, 0);
  ASSERT_TRUE(ReadPam(dir.File("a.pam"), pam));
  EXPECT_EQ(pam.depth, 3);
}

TEST(Cli, ExportRawMatchesPillow) {
  if (!HavePillow()) GTEST_SKIP() << "Pillow not installed";
  TempDir dir;
  const std::string in = WriteSampleBmp(dir, "a.bmp");
  ASSERT_EQ(Cli(dir, "export-raw " + in + " " + dir.File("ours.pam")).status, 0);
  ASSERT_TRUE(PillowDecode(in, dir.File("pillow.pam")));
  RawImage ours, pillow;
  ASSERT_TRUE(ReadPam(dir.File("ours.pam"), ours));
  ASSERT_TRUE(ReadPam(dir.File("pillow.pam"), pillow));
  EXPECT_EQ(ours.width, pillow.width);
  EXPECT_EQ(ours.height, pillow.height);
  EXPECT_EQ(ours.pixels, pillow.pixels);
}

}  // namespace
}  // namespace quillet::test
