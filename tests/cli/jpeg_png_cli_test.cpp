// quillet-cli on JPEG and PNG files: info reports their parameters, markers
// and IPTC records; convert writes them with --set, reading options included.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli_harness.h"

namespace quillet::test {
namespace {

// A 64 x 48 picture written through the component to `name`, with `setup`
// applied to its parameters first.
std::string WriteImage(const TempDir& dir, const std::string& name, const std::function<void(TZiridEvIO&)>& setup = {}) {
  TIEWorkingBitmap b(64, 48, TIEPixelFormat::pf24bit);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) {
      uint8_t* p = b.ScanLine(y) + 3 * x;
      p[0] = uint8_t(x * 4), p[1] = uint8_t(y * 5), p[2] = uint8_t(128 + x - y);
    }
  TZiridEvIO io;
  io.SetAttachedBitmap(&b);
  if (setup) setup(io);
  const std::string file = dir.File(name);
  io.SaveToFile(file);
  EXPECT_FALSE(io.Aborting) << io.LastError;
  return file;
}

nlohmann::json Info(const TempDir& dir, const std::string& args) {
  const CliResult r = Cli(dir, "info " + args);
  EXPECT_EQ(r.status, 0) << r.err;
  return r.status == 0 ? nlohmann::json::parse(r.out) : nlohmann::json::object();
}

TEST(JpegPngCli, FormatsReadAndWriteBoth) {
  TempDir dir;
  const CliResult r = Cli(dir, "formats");
  EXPECT_NE(r.out.find("JPEG Bitmap\tJPG;JPEG;JPE\tread\twrite"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Portable Network Graphics\tPNG\tread\twrite"), std::string::npos);
}

TEST(JpegPngCli, JpegParametersMarkersAndIptc) {
  TempDir dir;
  const std::string in = WriteImage(dir, "a.png"), out = dir.File("b.jpg");
  ASSERT_EQ(Cli(dir, "convert " + in + " " + out + " --set JpegQuality=90 --set JpegProgressive=1 --set JpegColorSpace=GrayScale").status, 0);
  nlohmann::json j = Info(dir, out);
  EXPECT_EQ(j["format"], "JPEG Bitmap (JPG) Gray level");
  EXPECT_EQ(j["params"]["JpegProgressive"], true);
  EXPECT_EQ(j["params"]["JpegColorSpace"], 1);
  EXPECT_EQ(j["params"]["JpegScaleDenominator"], 1);

  const std::string tagged = WriteImage(dir, "tagged.jpg", [](TZiridEvIO& io) {
    io.Params.IptcInfo.Add(2, 120, "a caption");
    io.Params.JpegMarkers.Add(0xFE, "note", 4);
  });
  j = Info(dir, tagged);
  ASSERT_EQ(j["params"]["IptcInfo"].size(), 1u);
  EXPECT_EQ(j["params"]["IptcInfo"][0]["dataset"], 120);
  EXPECT_EQ(j["params"]["IptcInfo"][0]["text"], "a caption");
  std::vector<int> types;
  for (const auto& m : j["params"]["JpegMarkers"]) types.push_back(m["type"]);
  EXPECT_EQ(types, (std::vector<int>{0xFE, 0xED}));
  // A copy keeps both.
  const std::string copy = dir.File("copy.jpeg");
  ASSERT_EQ(Cli(dir, "convert " + tagged + " " + copy).status, 0);
  EXPECT_EQ(Info(dir, copy)["params"]["IptcInfo"][0]["text"], "a caption");
}

TEST(JpegPngCli, ScaleIsAReadingOption) {
  TempDir dir;
  const std::string jpeg = WriteImage(dir, "a.jpg");
  const nlohmann::json j = Info(dir, jpeg + " --set JpegScale=2");
  EXPECT_EQ(j["width"], 32);
  EXPECT_EQ(j["height"], 24);
  EXPECT_EQ(j["params"]["JpegScaleDenominator"], 2);
  const std::string small = dir.File("small.png");
  ASSERT_EQ(Cli(dir, "convert " + jpeg + " " + small + " --set JpegScale=4").status, 0);
  EXPECT_EQ(Info(dir, small)["width"], 8);  // an eighth
  EXPECT_EQ(Cli(dir, "info " + jpeg + " --set JpegScale=9").status, 2);
}

TEST(JpegPngCli, PngCompressionAndInterlaceKeepPixels) {
  TempDir dir;
  const std::string in = WriteImage(dir, "a.bmp"), out = dir.File("b.png");
  ASSERT_EQ(Cli(dir, "convert " + in + " " + out + " --set PngCompression=9 --set PngInterlaced=1 --set PngFilter=PAETH").status, 0);
  const nlohmann::json j = Info(dir, out);
  EXPECT_EQ(j["format"], "Portable Network Graphics (PNG) Interlaced");
  EXPECT_EQ(j["params"]["PngInterlaced"], true);
  EXPECT_EQ(j["params"]["SamplesPerPixel"], 3);
  ASSERT_EQ(Cli(dir, "export-raw " + in + " " + dir.File("a.pam")).status, 0);
  ASSERT_EQ(Cli(dir, "export-raw " + out + " " + dir.File("b.pam")).status, 0);
  EXPECT_EQ(ReadFileBytes(dir.File("a.pam")), ReadFileBytes(dir.File("b.pam")));
  // A palette file through --set BitsPerSample.
  const std::string pal = dir.File("p.png");
  ASSERT_EQ(Cli(dir, "convert " + in + " " + pal + " --set BitsPerSample=8").status, 0);
  EXPECT_EQ(Info(dir, pal)["params"]["ColorMapCount"], 256);
}

}  // namespace
}  // namespace quillet::test
