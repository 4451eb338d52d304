// The colour operations on hand-checked pixels: the conversions, each
// adjustment's identity and limits, the equalization's small images, the
// statistics and splits, progress and abort, and the processing component's
// colour operations inside a selection.
#include <gtest/gtest.h>

#include <vector>

#include "imaging/proc/colour_adjust.h"
#include "imaging/proc/colour_histogram.h"
#include "imaging/proc/colour_spaces.h"
#include "imaging/proc/colour_split.h"
#include "imaging/proc/ziridev_proc.h"
#include "proc/proc_images.h"
#include "proc/proc_view.h"

namespace quillet {
namespace {

using test::MakeImage;
using test::SamePixels;
using test::TestView;

TIEWorkingBitmap Pixels(std::vector<TBGR> row) {
  return MakeImage(int(row.size()), 1, [&](int x, int) { return row[size_t(x)]; });
}

TBGR After(TBGR c, const std::function<void(TIEWorkingBitmap&)>& op) {
  TIEWorkingBitmap b = Pixels({c});
  op(b);
  return b.Pixel(0, 0);
}

TIEWorkingBitmap Noise(int w, int h) {
  return MakeImage(w, h, [](int x, int y) {
    const uint32_t v = uint32_t(x * 2654435761u ^ y * 40503u) * 2246822519u;
    return MakeBGR(uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8));
  });
}

TEST(ColourSpaces, HandCheckedConversions) {
  const THSV red = RGBToHSV(255, 0, 0);
  EXPECT_EQ((std::array{red.H, red.S, red.V}), (std::array{0, 99, 99}));
  EXPECT_EQ(HSVToRGB(120, 99, 99), MakeBGR(0, 255, 0));
  const THSV brown = RGBToHSV(128, 64, 0);
  EXPECT_EQ((std::array{brown.H, brown.S, brown.V}), (std::array{30, 99, 50}));
  EXPECT_EQ(HSVToRGB(brown.H, brown.S, brown.V), MakeBGR(129, 64, 0));
  EXPECT_EQ(HSVToRGB(400, -5, 120), MakeBGR(255, 255, 255));  // limited, and grey
  const THSL cyan = RGBToHSL(0, 255, 255);
  EXPECT_DOUBLE_EQ(cyan.H, 0.5);
  EXPECT_EQ(HSLToRGB(cyan.H, cyan.S, cyan.L), MakeBGR(0, 255, 255));
  EXPECT_EQ(HSLToRGB(2, 1, 0.5), MakeBGR(255, 0, 0));  // hue above 1 is 1
}

TEST(ColourAdjust, IdentitiesChangeNothing) {
  const TIEWorkingBitmap noise = Noise(40, 9);
  const std::vector<std::function<void(TIEWorkingBitmap&)>> identities = {
      [](auto& b) { AdjustContrast(b, {}, 0, MakeBGR(10, 200, 90)); },
      [](auto& b) { AddRGB(b, {}, 0, 0, 0); },
      [](auto& b) { AdjustHSL(b, {}, 0, 0, 0); },
      [](auto& b) { AdjustHSV(b, {}, 0, 0, 0); },
      [](auto& b) { AdjustHSL(b, {}, 360, 0, 0); },
      [](auto& b) { ThresholdLevels(b, {}, kBlack, kWhite, MakeBGR(9, 9, 9), MakeBGR(7, 7, 7)); },
      [](auto& b) { StretchLevels(b, {}, kBlack, kWhite); },
      [](auto& b) { StretchLevels(b, {}, MakeBGR(40, 40, 40), MakeBGR(40, 40, 40)); },
      [](auto& b) { AutoEqualizeArea(b, {}); },  // under 256 pixels
  };
  for (size_t i = 0; i < identities.size(); ++i) {
    TIEWorkingBitmap b = i + 1 == identities.size() ? Noise(10, 10) : noise;
    const TIEWorkingBitmap before = b;
    identities[i](b);
    EXPECT_TRUE(SamePixels(b, before)) << i;
  }
  TIEWorkingBitmap flat = MakeImage(16, 16, [](int, int) { return MakeBGR(90, 90, 90); });
  AutoEqualizeArea(flat, {});
  EXPECT_EQ(flat.Pixel(7, 7), MakeBGR(90, 90, 90));
}

TEST(ColourAdjust, HandCheckedPixels) {
  struct Case {
    const char* name;
    TBGR in, out;
    std::function<void(TIEWorkingBitmap&)> op;
  };
  const TBGR c100 = MakeBGR(100, 120, 140), mid = MakeBGR(128, 128, 128);
  const Case cases[] = {
      {"contrast -100", MakeBGR(3, 250, 77), c100, [&](auto& b) { AdjustContrast(b, {}, -100, c100); }},
      {"contrast 100", MakeBGR(130, 140, 128), MakeBGR(150, 255, 128),
       [&](auto& b) { AdjustContrast(b, {}, 100, mid); }},
      {"contrast -36 whole", MakeBGR(138, 118, 128), MakeBGR(132, 124, 128),
       [&](auto& b) { AdjustContrast(b, {}, -36, mid); }},
      {"addrgb", MakeBGR(10, 10, 10), MakeBGR(255, 10, 0), [](auto& b) { AddRGB(b, {}, 255, 0, -20); }},
      {"hsl cyan", MakeBGR(255, 0, 0), MakeBGR(0, 255, 255), [](auto& b) { AdjustHSL(b, {}, 180, 0, 0); }},
      {"hsl wraps", MakeBGR(128, 0, 255), MakeBGR(127, 255, 0), [](auto& b) { AdjustHSL(b, {}, 180, 0, 0); }},
      {"hsl luminosity", MakeBGR(255, 0, 0), MakeBGR(255, 255, 255), [](auto& b) { AdjustHSL(b, {}, 0, 0, 100); }},
      {"hsv wraps", MakeBGR(255, 0, 255), MakeBGR(255, 255, 0), [](auto& b) { AdjustHSV(b, {}, 120, 0, 0); }},
      {"hsv value", MakeBGR(128, 64, 0), MakeBGR(0, 0, 0), [](auto& b) { AdjustHSV(b, {}, 0, 0, -100); }},
      {"threshold", MakeBGR(50, 150, 250), MakeBGR(0, 150, 255),
       [](auto& b) { ThresholdLevels(b, {}, MakeBGR(100, 100, 100), MakeBGR(200, 200, 200), kBlack, kWhite); }},
      {"stretch", MakeBGR(100, 177, 255), MakeBGR(0, 127, 255),
       [](auto& b) { StretchLevels(b, {}, MakeBGR(100, 100, 100), kWhite); }},
      {"stretch tie to even", MakeBGR(254, 254, 254), MakeBGR(128, 128, 128),
       [](auto& b) { StretchLevels(b, {}, MakeBGR(253, 253, 253), kWhite); }},
      {"stretch light 0 is 1", MakeBGR(1, 0, 2), MakeBGR(255, 0, 255),
       [](auto& b) { StretchLevels(b, {}, kBlack, kBlack); }},
  };
  for (const Case& c : cases) EXPECT_EQ(After(c.in, c.op), c.out) << c.name;
}

TEST(ColourAdjust, OnlyTheAreaChangesAndOtherFormatsNot) {
  TIEWorkingBitmap b = Noise(9, 7);
  const TIEWorkingBitmap before = b;
  AddRGB(b, {2, 3, 5, 100}, 1, 1, 1);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 9; ++x) {
      const bool inside = x >= 2 && x < 5 && y >= 3;
      EXPECT_EQ(b.Pixel(x, y) != before.Pixel(x, y), inside && before.Pixel(x, y) != kWhite) << x << "," << y;
    }
  // The equalization of an area is the whole image's, there.
  TIEWorkingBitmap whole = Noise(37, 29), part = whole;
  AutoEqualizeArea(whole, {});
  AutoEqualizeArea(part, {1, 4, 36, 20});
  for (int y = 0; y < 29; ++y)
    for (int x = 0; x < 37; ++x) {
      const bool inside = x >= 1 && x < 36 && y >= 4 && y < 20;
      ASSERT_EQ(part.Pixel(x, y), inside ? whole.Pixel(x, y) : Noise(37, 29).Pixel(x, y)) << x << "," << y;
    }
  AddRGB(b, {6, 0, 6, 7}, 9, 9, 9);  // empty
  AddRGB(b, {-5, -5, 0, 0}, 9, 9, 9);
  TIEWorkingBitmap bits(16, 16, TIEPixelFormat::pf1bit);
  AutoEqualizeArea(bits, {});
  AdjustContrast(bits, {}, 50, kBlack);
  EXPECT_EQ(bits.Pixel(3, 3), kWhite);
}

TEST(ColourStatistics, AverageAndHistogram) {
  EXPECT_EQ(AverageColour(Pixels({kBlack, kWhite})), MakeBGR(127, 127, 127));
  EXPECT_EQ(AverageColour(TIEWorkingBitmap()), MakeBGR(128, 128, 128));
  EXPECT_EQ(AverageColour(Pixels({kBlack, kWhite}), {1, 0, 2, 1}), kWhite);

  const TIEWorkingBitmap b = Pixels({MakeBGR(255, 0, 0), MakeBGR(0, 0, 255)});
  TIEHistogram h;
  for (int twice = 0; twice < 2; ++twice) {
    AreaHistogram(b, {}, h);
    EXPECT_EQ(h[255].Red, 1u);
    EXPECT_EQ(h[0].Red, 1u);
    EXPECT_EQ(h[0].Green, 2u);
    EXPECT_EQ(h[255].Blue, 1u);
    EXPECT_EQ(h[53].Gray, 1u);
    EXPECT_EQ(h[17].Gray, 1u);
  }
  AreaHistogram(TIEWorkingBitmap(4, 4, TIEPixelFormat::pf1bit), {}, h);
  EXPECT_EQ(h[0].Red + h[255].Red, 0u);
}

TEST(ColourSplit, ChannelsAndProgress) {
  const TIEWorkingBitmap b = MakeImage(3, 5, [](int x, int) { return x ? MakeBGR(255, 0, 0) : MakeBGR(10, 20, 30); });
  TIEWorkingBitmap r, g, bl;
  std::vector<int> steps;
  SplitChannelsRGB(b, r, g, bl, {[&](int per) { steps.push_back(per); }});
  EXPECT_EQ(r.Pixel(0, 4), MakeBGR(10, 10, 10));
  EXPECT_EQ(g.Pixel(0, 0), MakeBGR(20, 20, 20));
  EXPECT_EQ(bl.Pixel(0, 0), MakeBGR(30, 30, 30));
  EXPECT_EQ(steps, (std::vector{20, 40, 60, 80, 100}));
  SplitChannelsHSV(b, r, g, bl);
  EXPECT_EQ(r.Pixel(1, 0), kBlack);
  EXPECT_EQ(g.Pixel(1, 0), kWhite);
  EXPECT_EQ(bl.Pixel(1, 0), kWhite);
}

TEST(ColourAdjust, ProgressIsClampedAndAbortStopsAtARow) {
  TIEWorkingBitmap b = MakeImage(4, 3, [](int, int) { return MakeBGR(10, 10, 10); });
  std::vector<int> steps;
  AddRGB(b, {}, 1, 0, 0, {[&](int per) { steps.push_back(per); }});
  EXPECT_EQ(steps, (std::vector{40, 80, 100}));  // rows / 2.5, the last clamped

  bool aborting = false;
  AddRGB(b, {}, 1, 0, 0, {[&](int) { aborting = true; }, &aborting});
  EXPECT_EQ(b.Pixel(0, 0).r, 12);
  EXPECT_EQ(b.Pixel(0, 1).r, 11);

  TIEWorkingBitmap photo = Noise(32, 32);
  const TIEWorkingBitmap before = photo;
  aborting = false;
  AutoEqualizeArea(photo, {}, {[&](int per) { aborting = per > 50; }, &aborting});
  EXPECT_TRUE(SamePixels(photo, before));
}

TEST(ZiridEvProc, AutoEqualizeInsideTheSelectionAndAborted) {
  TestView view;
  view.bitmap = Noise(30, 20);
  const TIEWorkingBitmap original = view.bitmap;
  TIEWorkingBitmap whole = original;
  AutoEqualizeArea(whole, {});
  TZiridEvProc proc;
  proc.UndoLocation = TIEBitmapLocation::ieMemory;
  proc.SetAttachedZiridEv(&view);
  proc.HistAutoEqualize();
  EXPECT_TRUE(SamePixels(view.bitmap, whole));
  EXPECT_EQ(proc.UndoCaption(0), "HistAutoEqualize");

  view.bitmap = original;
  view.SelectBox(3, 2, 25, 18);
  view.selection.SetPixel(3, 2, 0);  // a box corner left out
  proc.HistAutoEqualize();
  int changed = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) {
      const bool selected = view.selection.GetPixel(x, y) != 0;
      if (!selected) {
        EXPECT_EQ(view.bitmap.Pixel(x, y), original.Pixel(x, y)) << x << "," << y;
      }
      changed += view.bitmap.Pixel(x, y) != original.Pixel(x, y);
    }
  EXPECT_GT(changed, 100);

  // The histogram counts the selection's whole box.
  TIEHistogram h;
  proc.GetHistogram(h);
  uint32_t red = 0;
  for (const THistogramEntry& e : h) red += e.Red;
  EXPECT_EQ(red, 23u * 17u);

  proc.OnProgress = [&](TZiridEvProc* p, int) { p->Aborting = true; };
  for (bool selected : {true, false}) {
    view.bitmap = original;
    view.selected = selected;
    proc.HistAutoEqualize();
    EXPECT_TRUE(SamePixels(view.bitmap, original)) << selected;
  }
  proc.OnProgress = nullptr;
  TIEWorkingBitmap r, g, b;
  proc.SplitRGB(r, g, b);
  EXPECT_EQ(r.Pixel(5, 5).r, original.Pixel(5, 5).r);
  EXPECT_FALSE(proc.Aborting);
}

}  // namespace
}  // namespace quillet
