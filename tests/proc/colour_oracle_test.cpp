// The colour operations against the same formulas written apart in NumPy
// (colour_oracle.py): equal for the integer ones, within one level on a few
// pixels where a real product is truncated or rounded near a whole number.
#include <gtest/gtest.h>

#include <cstring>

#include "imaging/proc/colour_adjust.h"
#include "imaging/proc/colour_histogram.h"
#include "imaging/proc/colour_spaces.h"
#include "imaging/proc/colour_split.h"
#include "proc/proc_images.h"
#include "support/numpy_oracle.h"

namespace quillet::test {
namespace {

// Every colour whose channels are multiples of `step` (and 255), one row.
TIEWorkingBitmap ColourGrid(int step) {
  std::vector<int> levels;
  for (int v = 0; v < 255; v += step) levels.push_back(v);
  levels.push_back(255);
  const int n = int(levels.size());
  return MakeImage(n * n * n, 1, [&](int x, int) {
    return MakeBGR(uint8_t(levels[size_t(x / (n * n))]), uint8_t(levels[size_t(x / n % n)]),
                   uint8_t(levels[size_t(x % n)]));
  });
}

TIEWorkingBitmap Noise(int w, int h) {
  return MakeImage(w, h, [](int x, int y) {
    const uint32_t v = uint32_t(x * 2654435761u ^ y * 40503u) * 2246822519u;
    return MakeBGR(uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8));
  });
}

std::string OraclePrelude() {
  return "import sys\nsys.path.insert(0, r'''" QUILLET_SOURCE_DIR "/tests/proc''')\nfrom colour_oracle import *\n";
}

template <class T>
std::vector<T> Values(const std::vector<uint8_t>& bytes) {
  std::vector<T> out(bytes.size() / sizeof(T));
  std::memcpy(out.data(), bytes.data(), out.size() * sizeof(T));
  return out;
}

TEST(ColourOracle, ConversionsOverAGridOfColours) {
  if (!HavePillow()) GTEST_SKIP() << "no python3 with NumPy";
  const TIEWorkingBitmap grid = ColourGrid(5);
  TNumPyOracle oracle;
  oracle.Image("grid", grid);
  ASSERT_TRUE(oracle.Run(OraclePrelude() + "h, s, v = rgb_to_hsv(grid)\n"
                                           "save('hsv', np.stack([h, s, v], axis=2), np.int32)\n"
                                           "save('hsl', np.stack(rgb_to_hsl(grid), axis=2), np.float64)\n"
                                           "save('back', hsl_to_rgb(*rgb_to_hsl(grid), nudge=0))\n"));
  const std::vector<int32_t> hsv = Values<int32_t>(oracle.Output("hsv"));
  const std::vector<double> hsl = Values<double>(oracle.Output("hsl"));
  const TIEWorkingBitmap back = oracle.OutputImage("back", grid.Width(), 1);
  ASSERT_EQ(hsv.size(), size_t(3 * grid.Width()));
  ASSERT_EQ(hsl.size(), hsv.size());
  int64_t offByOne = 0;
  for (int64_t x = 0; x < grid.Width(); ++x) {
    const TBGR c = grid.Pixel(x, 0);
    const THSV ours = RGBToHSV(c.r, c.g, c.b);
    const size_t i = size_t(3 * x);
    ASSERT_EQ((std::array{ours.H, ours.S, ours.V}), (std::array{hsv[i], hsv[i + 1], hsv[i + 2]})) << x;
    const THSL l = RGBToHSL(c.r, c.g, c.b);
    ASSERT_NEAR(l.H, hsl[i], 1e-12);
    ASSERT_NEAR(l.S, hsl[i + 1], 1e-12);
    ASSERT_NEAR(l.L, hsl[i + 2], 1e-12);
    // Our way back is exact; the plain double truncation may land one below.
    ASSERT_EQ(HSLToRGB(l.H, l.S, l.L), c) << x;
    const TBGR theirs = back.Pixel(x, 0);
    ASSERT_LE(std::max({c.r - theirs.r, c.g - theirs.g, c.b - theirs.b}), 1);
    offByOne += theirs != c;
  }
  EXPECT_GT(offByOne, 0);  // the fault our nudge removes is really there
}

struct TOracleCase {
  const char* name;
  std::function<void(TIEWorkingBitmap&)> ours;
  std::string theirs;  // an expression of the image `img`
  int tolerance = 0;   // per channel, on at most 2 % of the pixels
};

TEST(ColourOracle, OperationsOnGeneratedImages) {
  if (!HavePillow()) GTEST_SKIP() << "no python3 with NumPy";
  const TBGR centre = MakeBGR(100, 120, 140);
  const TOracleCase cases[] = {
      {"contrast50", [&](auto& b) { AdjustContrast(b, {}, 50, centre); }, "contrast(img, 50, (100, 120, 140))", 1},
      {"contrast-37", [&](auto& b) { AdjustContrast(b, {}, -37, centre); }, "contrast(img, -37, (100, 120, 140))", 1},
      {"contrast-49", [&](auto& b) { AdjustContrast(b, {}, -49, centre); }, "contrast(img, -49, (100, 120, 140))", 1},
      {"addrgb", [](auto& b) { AddRGB(b, {}, 40, -255, 255); }, "addrgb(img, (40, -255, 255))"},
      {"hsl", [](auto& b) { AdjustHSL(b, {}, 77, -20, 15); }, "hsl(img, 77, -20, 15)", 1},
      {"hsl2", [](auto& b) { AdjustHSL(b, {}, -180, 50, -40); }, "hsl(img, -180, 50, -40)", 1},
      {"hsv", [](auto& b) { AdjustHSV(b, {}, 100, -30, 12); }, "hsv(img, 100, -30, 12)"},
      {"hsv2", [](auto& b) { AdjustHSV(b, {}, -170, 60, -99); }, "hsv(img, -170, 60, -99)"},
      {"threshold",
       [](auto& b) { ThresholdLevels(b, {}, MakeBGR(30, 60, 90), MakeBGR(200, 150, 220), kBlack, kWhite); },
       "threshold(img, (30, 60, 90), (200, 150, 220), 0, 255)"},
      {"threshold2",
       [](auto& b) {
         ThresholdLevels(b, {}, MakeBGR(200, 5, 0), MakeBGR(100, 250, 9), MakeBGR(1, 2, 3), MakeBGR(4, 5, 6));
       },
       "threshold(img, (200, 5, 0), (100, 250, 9), (1, 2, 3), (4, 5, 6))"},
      {"stretch", [](auto& b) { StretchLevels(b, {}, MakeBGR(20, 40, 60), MakeBGR(200, 180, 255)); },
       "stretch(img, (20, 40, 60), (200, 180, 255))", 1},
      {"stretch2", [](auto& b) { StretchLevels(b, {}, MakeBGR(255, 0, 128), MakeBGR(0, 3, 128)); },
       "stretch(img, (255, 0, 128), (0, 3, 128))", 1},
      {"equalize", [](auto& b) { AutoEqualizeArea(b, {}); }, "equalize(img)"},
  };
  const TIEWorkingBitmap images[] = {Noise(45, 33), Gradient(64, 48), ColourGrid(17)};
  for (size_t i = 0; i < std::size(images); ++i) {
    const TIEWorkingBitmap& image = images[i];
    TNumPyOracle oracle;
    oracle.Image("img", image);
    std::string script = OraclePrelude();
    for (const TOracleCase& c : cases) script += "save('" + std::string(c.name) + "', " + c.theirs + ")\n";
    script +=
        "save('split', np.concatenate(split_hsv(img), axis=1))\n"
        "save('hist', histogram(img), np.uint32)\n";
    ASSERT_TRUE(oracle.Run(script));
    for (const TOracleCase& c : cases) {
      TIEWorkingBitmap ours = image;
      c.ours(ours);
      const TImageDiff d = Difference(ours, oracle.OutputImage(c.name, image.Width(), image.Height()));
      EXPECT_LE(d.worst, c.tolerance) << c.name << " image " << i;
      EXPECT_LE(d.pixels * 50, image.Width() * image.Height()) << c.name << " image " << i;
    }
    TIEWorkingBitmap h, s, v, all(3 * image.Width(), image.Height(), TIEPixelFormat::pf24bit);
    SplitChannelsHSV(image, h, s, v);
    for (int k = 0; k < 3; ++k)
      for (int64_t y = 0; y < image.Height(); ++y)
        std::memcpy(all.ScanLine(y) + 3 * image.Width() * k,
                    (k == 0   ? h
                     : k == 1 ? s
                              : v)
                        .ScanLine(y),
                    size_t(3 * image.Width()));
    EXPECT_EQ(Difference(all, oracle.OutputImage("split", all.Width(), all.Height())).pixels, 0) << i;
    TIEHistogram ours;
    AreaHistogram(image, {}, ours);
    const std::vector<uint32_t> theirs = Values<uint32_t>(oracle.Output("hist"));
    ASSERT_EQ(theirs.size(), 1024u);
    for (size_t k = 0; k < 256; ++k)
      EXPECT_EQ(ours[k], (THistogramEntry{theirs[4 * k], theirs[4 * k + 1], theirs[4 * k + 2], theirs[4 * k + 3]}))
          << k;
  }
}

}  // namespace
}  // namespace quillet::test
