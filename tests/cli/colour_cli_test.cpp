// quillet-cli's colour steps, selections, histogram and split: each step's
// output against the engine run in-process, selections keeping the pixels
// outside them, and the usage errors naming the ranges.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "cli_harness.h"
#include "imaging/core/headless_view.h"
#include "imaging/proc/colour_adjust.h"
#include "imaging/proc/colour_histogram.h"
#include "imaging/proc/colour_split.h"
#include "proc/proc_images.h"

namespace quillet::test {
namespace {

TIEWorkingBitmap Picture() {
  return MakeImage(40, 30,
                   [](int x, int y) { return MakeBGR(uint8_t(x * 6), uint8_t(y * 8), uint8_t((x * y * 7) % 256)); });
}

struct StepCase {
  const char* step;
  std::function<void(TIEWorkingBitmap&)> engine;
};

TEST(CliColour, StepsDoWhatTheEngineDoes) {
  TempDir dir;
  const TIEWorkingBitmap picture = Picture();
  const std::string in = WriteBmp(dir, "in.bmp", picture), out = dir.File("out.bmp");
  const StepCase cases[] = {
      {"contrast:40", [](auto& b) { AdjustContrast(b, {}, 40, AverageColour(b)); }},
      {"contrast:-60,10,200,30", [](auto& b) { AdjustContrast(b, {}, -60, MakeBGR(10, 200, 30)); }},
      {"brightness:-35", [](auto& b) { AddRGB(b, {}, -35, -35, -35); }},
      {"addrgb:255,-3,40", [](auto& b) { AddRGB(b, {}, 255, -3, 40); }},
      {"hsl:-120,30,-20", [](auto& b) { AdjustHSL(b, {}, -120, 30, -20); }},
      {"hsv:180,-100,7", [](auto& b) { AdjustHSV(b, {}, 180, -100, 7); }},
      {"threshold:60,190",
       [](auto& b) { ThresholdLevels(b, {}, MakeBGR(60, 60, 60), MakeBGR(190, 190, 190), kBlack, kWhite); }},
      {"threshold:1,2,3,250,100,9",
       [](auto& b) { ThresholdLevels(b, {}, MakeBGR(1, 2, 3), MakeBGR(250, 100, 9), kBlack, kWhite); }},
      {"stretch:30,200", [](auto& b) { StretchLevels(b, {}, MakeBGR(30, 30, 30), MakeBGR(200, 200, 200)); }},
      {"stretch:0,10,20,255,128,64", [](auto& b) { StretchLevels(b, {}, MakeBGR(0, 10, 20), MakeBGR(255, 128, 64)); }},
      {"equalize", [](auto& b) { AutoEqualizeArea(b, {}); }},
      {"hsv:10,0,0 contrast:100,0,0,0",
       [](auto& b) { AdjustHSV(b, {}, 10, 0, 0), AdjustContrast(b, {}, 100, kBlack); }},
  };
  for (const StepCase& c : cases) {
    ASSERT_EQ(Cli(dir, "apply " + in + " " + out + " " + c.step).status, 0) << c.step;
    TIEWorkingBitmap expected = picture;
    c.engine(expected);
    EXPECT_TRUE(SamePixels(ReadImage(out), expected)) << c.step;
  }
}

TEST(CliColour, SelectionsKeepThePixelsOutsideThem) {
  TempDir dir;
  const TIEWorkingBitmap picture = Picture();
  const std::string in = WriteBmp(dir, "in.bmp", picture), out = dir.File("out.bmp");
  // A mask light on a diagonal band, and a rectangle.
  const TIEWorkingBitmap maskPicture =
      MakeImage(40, 30, [](int x, int y) { return std::abs(x - y) < 6 ? kWhite : MakeBGR(127, 127, 127); });
  // A resolution of its own does not resample the mask.
  TIEWorkingBitmap maskCopy = maskPicture;
  TZiridEvIO maskWriter;
  maskWriter.SetAttachedBitmap(&maskCopy);
  maskWriter.Params.DpiX = 72, maskWriter.Params.DpiY = 300;
  const std::string mask = dir.File("mask.bmp");
  maskWriter.SaveToFile(mask);
  const auto inRect = [](int x, int y) { return x >= 5 && x < 30 && y >= 3 && y < 23; };
  const auto inBand = [](int x, int y) { return std::abs(x - y) < 6; };
  struct Case {
    std::string args;
    std::function<bool(int, int)> selected;
  };
  const Case cases[] = {{"--select 5,3,25,20", inRect}, {"--mask " + mask, inBand}};
  for (const Case& c : cases)
    for (const char* step :
         {"contrast:70", "hsl:90,0,0", "hsv:-90,0,0", "equalize", "negative", "gray", "addrgb:9,9,9"}) {
      ASSERT_EQ(Cli(dir, "apply " + in + " " + out + " " + step + " " + c.args).status, 0) << step << c.args;
      const TIEWorkingBitmap got = ReadImage(out);
      int changed = 0;
      for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
          if (!c.selected(x, y)) {
            ASSERT_EQ(got.Pixel(x, y), picture.Pixel(x, y)) << step << c.args << " " << x << "," << y;
          }
          changed += got.Pixel(x, y) != picture.Pixel(x, y);
        }
      EXPECT_GT(changed, 20) << step << c.args;
    }
  // The centre of contrast is the average of the selection's box, the image worked on.
  ASSERT_EQ(Cli(dir, "apply " + in + " " + out + " contrast:-100 --select 5,3,25,20").status, 0);
  TIEWorkingBitmap box = ReadImage(out);
  EXPECT_EQ(box.Pixel(10, 10), AverageColour(picture, {5, 3, 30, 23}));
  // A step that changes the size drops the selection.
  ASSERT_EQ(Cli(dir, "apply " + in + " " + out + " resize:20,20 negative --select 0,0,2,2").status, 0);
  box = ReadImage(out);
  EXPECT_EQ(box.Pixel(15, 15).r, 255 - picture.Pixel(15, 15).r);
}

TEST(CliColour, HistogramAndSplit) {
  TempDir dir;
  const TIEWorkingBitmap picture = Picture();
  const std::string in = WriteBmp(dir, "in.bmp", picture);
  for (const auto& [args, area] : {std::pair<std::string, TIEArea>{"", {}}, {" --select 10,5,8,20", {10, 5, 18, 25}}}) {
    const CliResult r = Cli(dir, "histogram " + in + args);
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json j = nlohmann::json::parse(r.out);
    TIEHistogram h;
    AreaHistogram(picture, area, h);
    for (size_t v = 0; v < 256; ++v) {
      EXPECT_EQ(j["red"][v], h[v].Red);
      EXPECT_EQ(j["green"][v], h[v].Green);
      EXPECT_EQ(j["blue"][v], h[v].Blue);
      EXPECT_EQ(j["gray"][v], h[v].Gray);
    }
    const TBGR a = AverageColour(picture, area);
    EXPECT_EQ(j["average"], nlohmann::json({a.r, a.g, a.b}));
  }
  for (const char* space : {"rgb", "hsv"}) {
    const std::string outs[3] = {dir.File("a.png"), dir.File("b.bmp"), dir.File("c.png")};
    ASSERT_EQ(Cli(dir, std::string("split ") + in + " " + space + " " + outs[0] + " " + outs[1] + " " + outs[2]).status,
              0);
    TIEWorkingBitmap planes[3];
    (space[0] == 'r' ? SplitChannelsRGB : SplitChannelsHSV)(picture, planes[0], planes[1], planes[2], {});
    for (int i = 0; i < 3; ++i) {
      TIEWorkingBitmap got = ReadImage(outs[i]);
      got.SetPixelFormat(TIEPixelFormat::pf24bit);  // a grey image may come back as a palette
      EXPECT_TRUE(SamePixels(got, planes[i])) << space << i;
    }
  }
}

TEST(CliColour, UsageErrorsNameTheRanges) {
  TempDir dir;
  const std::string in = WriteBmp(dir, "in.bmp", Picture()), out = dir.File("never.bmp");
  const std::string small = WriteBmp(dir, "small.bmp", MakeImage(4, 4, [](int, int) { return kWhite; }));
  const std::string dark = WriteBmp(dir, "dark.bmp", MakeImage(40, 30, [](int, int) { return kBlack; }));
  const std::pair<std::string, std::string> usage[] = {{"contrast:101", "-100 to 100"},
                                                       {"contrast:5,1,2", "-100 to 100"},
                                                       {"contrast:5,1,2,256", "0 to 255"},
                                                       {"brightness:-101", "-100 to 100"},
                                                       {"addrgb:256,0,0", "-255 to 255"},
                                                       {"addrgb:1,2", "-255 to 255"},
                                                       {"hsl:181,0,0", "-180 to 180"},
                                                       {"hsv:0,0,-101", "-100 to 100"},
                                                       {"threshold:1,2,3", "0 to 255"},
                                                       {"threshold:-1,5", "0 to 255"},
                                                       {"stretch:0,256", "0 to 255"},
                                                       {"equalize:1", "no arguments"},
                                                       {"hsl:a,b,c", "-180 to 180"},
                                                       {"negative --select 1,2,3", "X,Y,W,H"},
                                                       {"negative --select 1,2,0,4", "X,Y,W,H"},
                                                       {"negative --select 40,0,4,4", "off the image"},
                                                       {"negative --mask " + small, "4x4"},
                                                       {"negative --mask " + dark, "selects no pixel"},
                                                       {"negative --select 0,0,1,1 --mask " + dark, "excludes"}};
  for (const auto& [args, text] : usage) {
    const CliResult r = Cli(dir, "apply " + in + " " + out + " " + args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_NE(r.err.find(text), std::string::npos) << args << ": " << r.err;
  }
  EXPECT_EQ(Cli(dir, "apply " + in + " " + out + " negative --mask " + dir.File("none.png")).status, 1);
  EXPECT_EQ(Cli(dir, "split " + in + " lab a.png b.png c.png").status, 2);
  EXPECT_EQ(Cli(dir, "split " + in + " rgb a.png b.png").status, 2);
  EXPECT_EQ(Cli(dir, "histogram " + in + " --select 99,99,1,1").status, 2);
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace quillet::test
