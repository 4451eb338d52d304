// quillet-cli on GIF files: the formats line, info with every Gif* field and
// --index, convert with the GIF --set options, export-raw of a later image.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli_harness.h"

namespace quillet::test {
namespace {

// Three images, delays 10, 40 and 70 ms, that Pillow crops to what changed.
std::string ThreeImageGif(const TempDir& dir) {
  const std::string file = dir.File("three.gif");
  RunPython("from PIL import Image\n"
            "frames = [Image.new('RGB', (12, 9), (20 * i, 200, 40)) for i in range(3)]\n"
            "for i, f in enumerate(frames):\n"
            "    f.paste((250, 0, 0), (i, i, i + 6 - i, i + 4 - i))\n"
            "frames = [f.convert('P', palette=Image.ADAPTIVE, colors=4) for f in frames]\n"
            "frames[0].save(r'''" + file + "''', save_all=True, append_images=frames[1:], duration=[10, 40, 70])\n");
  return file;
}

TEST(GifCli, InfoConvertAndExportByIndex) {
  if (!HavePillow()) GTEST_SKIP() << "Pillow missing";
  TempDir dir;
  EXPECT_NE(Cli(dir, "formats").out.find("CompuServe Bitmap\tGIF\tread\twrite"), std::string::npos);
  const std::string three = ThreeImageGif(dir);
  const CliResult info = Cli(dir, "info " + three + " --index 2");
  ASSERT_EQ(info.status, 0) << info.err;
  const nlohmann::json j = nlohmann::json::parse(info.out);
  EXPECT_EQ(j["params"]["GifImageCount"], 3);
  EXPECT_EQ(j["params"]["GifDelayTime"], 7);
  for (const char* field : {"GifVersion", "GifXPos", "GifYPos", "GifTransparent", "GifTransparentColor", "GifInterlaced",
                            "GifScreenWidth", "GifScreenHeight", "GifBackground", "GifAspectRatio"})
    EXPECT_TRUE(j["params"].contains(field)) << field;

  const CliResult past = Cli(dir, "info " + three + " --index 3");
  EXPECT_EQ(past.status, 1);
  EXPECT_NE(past.err.find("no image at index 3 (the file has 3)"), std::string::npos) << past.err;

  ASSERT_EQ(Cli(dir, "export-raw " + three + " --index 1 " + dir.File("one.pam")).status, 0);
  RawImage one;
  ASSERT_TRUE(ReadPam(dir.File("one.pam"), one));
  const nlohmann::json second = nlohmann::json::parse(Cli(dir, "info " + three + " --index 1").out);
  EXPECT_EQ(one.width, second["width"].get<int>());
  EXPECT_EQ(one.height, second["height"].get<int>());
  EXPECT_EQ(second["params"]["GifDelayTime"], 4);

  const std::string out = dir.File("out.gif");
  const CliResult conv = Cli(dir, "convert " + three + " " + out +
                                      " --set BitsPerSample=2 --set GifInterlaced=1 --set GifTransparent=1"
                                      " --set GifTransparentColor=#FA0000 --set GifDelayTime=33 --set GifXPos=4"
                                      " --set GifYPos=5 --set GifBackground=#FA0000");
  ASSERT_EQ(conv.status, 0) << conv.err;
  const nlohmann::json w = nlohmann::json::parse(Cli(dir, "info " + out).out);
  EXPECT_EQ(w["params"]["BitsPerSample"], 2);
  EXPECT_EQ(w["params"]["GifInterlaced"], true);
  EXPECT_EQ(w["params"]["GifTransparent"], true);
  EXPECT_EQ(w["params"]["GifTransparentColor"], "#FA0000");
  EXPECT_EQ(w["params"]["GifDelayTime"], 33);
  EXPECT_EQ(w["params"]["GifXPos"], 4);
  EXPECT_EQ(w["params"]["GifScreenHeight"], 5 + w["height"].get<int>());
  EXPECT_EQ(w["has_alpha"], true);
}

}  // namespace
}  // namespace quillet::test
