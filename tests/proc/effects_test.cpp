// The effects' edge cases: the user filter's presets and edges, the bump
// map's light, the lens and wave limits, the morphological filters' growth,
// ties and windows, the frequency-domain image's limit; and the processing
// component running them inside a selection, with progress and cancel.
#include <gtest/gtest.h>

#include "imaging/proc/effect_bump_map.h"
#include "imaging/proc/effect_fourier.h"
#include "imaging/proc/effect_lens.h"
#include "imaging/proc/effect_morph.h"
#include "imaging/proc/effect_user_filter.h"
#include "imaging/proc/effect_wave.h"
#include "imaging/proc/ziridev_proc.h"
#include "proc/proc_images.h"
#include "proc/proc_view.h"

namespace quillet::test {
namespace {

TIEWorkingBitmap Flat(int w, int h, TBGR c) {
  return MakeImage(w, h, [c](int, int) { return c; });
}

// One pixel of `dot` at (x, y) on `ground`.
TIEWorkingBitmap Dot(int w, int h, TBGR ground, int x, int y, TBGR dot) {
  return MakeImage(w, h, [=](int px, int py) { return px == x && py == y ? dot : ground; });
}

void Filter(TIEWorkingBitmap& b, const TIEFilterCoefficients& c, int32_t div) { ApplyUserFilter(b, TIEArea{}, c, div); }

TEST(Effects, UserFilterPresetsAndEdges) {
  const TIEWorkingBitmap grad = Gradient(9, 7), uniform = Flat(6, 5, MakeBGR(40, 80, 120));
  TIEWorkingBitmap b = grad;
  Filter(b, {0, 0, 0, 0, 1, 0, 0, 0, 0}, 0);  // "None"
  EXPECT_TRUE(SamePixels(b, grad));
  b = uniform;
  Filter(b, {1, 1, 1, 1, 1, 1, 1, 1, 1}, 9);  // "Blur"
  EXPECT_TRUE(SamePixels(b, uniform));
  Filter(b, {1, 1, 1, 1, -8, 1, 1, 1, 1}, 1);  // "Edges"
  EXPECT_TRUE(SamePixels(b, Flat(6, 5, kBlack)));
  b = Dot(5, 5, kBlack, 2, 2, kWhite);
  Filter(b, {1, 1, 1, 1, -8, 1, 1, 1, 1}, 1);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(b.Pixel(x, y), std::abs(x - 2) <= 1 && std::abs(y - 2) <= 1 && (x != 2 || y != 2) ? kWhite : kBlack)
          << x << "," << y;
  // Only the neighbour above: the first row is its own row above.
  b = grad;
  Filter(b, {0, 1, 0, 0, 0, 0, 0, 0, 0}, 1);
  for (int x = 0; x < 9; ++x) {
    EXPECT_EQ(b.Pixel(x, 0), grad.Pixel(x, 0));
    EXPECT_EQ(b.Pixel(x, 4), grad.Pixel(x, 3));
  }
}

TEST(Effects, BumpMapLight) {
  const TIEWorkingBitmap grey = Flat(100, 100, MakeBGR(128, 128, 128));
  TIEWorkingBitmap b = grey;
  ApplyBumpMap(b, TIEArea{}, 50, 50, 20, 20, kWhite, 100);
  EXPECT_TRUE(SamePixels(b, grey));
  ApplyBumpMap(b, TIEArea{}, 50, 50, 0, 20, kWhite, 0);
  EXPECT_TRUE(SamePixels(b, grey));
  ApplyBumpMap(b, TIEArea{}, 50, 50, 20, 20, kWhite, 0);
  EXPECT_EQ(b.Pixel(50, 50), kWhite);
  EXPECT_EQ(b.Pixel(70, 50), kBlack);
  EXPECT_EQ(b.Pixel(50, 70), kBlack);
  EXPECT_EQ(b.Pixel(30, 50), MakeBGR(2, 2, 2));  // the clamped index 255 meets the map's edge value
  EXPECT_EQ(BumpLightMap()[128 * 256 + 128], 255);
  EXPECT_EQ(BumpLightMap()[0], 0);
}

TEST(Effects, LensLimits) {
  const TIEWorkingBitmap grad = Gradient(40, 30);
  for (const auto& [w, h, n] : {std::tuple{20, 20, 1.0}, {20, 20, 0.5}, {0, 20, 1.7}, {20, 1, 1.7}}) {
    TIEWorkingBitmap b = grad;
    ApplyLens(b, 20, 15, w, h, n);
    EXPECT_TRUE(SamePixels(b, grad)) << w << "x" << h << " n " << n;
  }
  // Box (10, 5)-(30, 25): a = b = 10; outside the ellipse and the box nothing moves.
  TIEWorkingBitmap b = grad;
  ApplyLens(b, 20, 15, 20, 20, 1.5);
  int moved = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const double px = x - 10 - 10 + 0.5, py = 10 - (y - 5) - 0.5;
      const bool inside = x >= 10 && x < 30 && y >= 5 && y < 25 && px * px / 100 + py * py / 100 < 1;
      if (!inside) EXPECT_EQ(b.Pixel(x, y), grad.Pixel(x, y)) << x << "," << y;
      moved += b.Pixel(x, y) != grad.Pixel(x, y);
    }
  EXPECT_GT(moved, 100);
}

TEST(Effects, WaveLimitsAndReflection) {
  const TIEWorkingBitmap grad = Gradient(30, 21);
  TIEWorkingBitmap b = grad;
  ApplyWave(b, 0, 10, 0, false);
  ApplyWave(b, 10, 0, 0, true);
  EXPECT_TRUE(SamePixels(b, grad));
  // Reflective: a pixel on the centre row samples the centre row.
  const TIEWorkingBitmap rows = MakeImage(30, 21, [](int, int y) { return MakeBGR(uint8_t(y * 12), 0, 0); });
  b = rows;
  ApplyWave(b, 7, 4, 30, true);
  for (int x = 0; x < 30; ++x) EXPECT_EQ(b.Pixel(x, 10), rows.Pixel(0, 10)) << x;
  EXPECT_FALSE(SamePixels(b, rows));
}

TEST(Effects, MorphGrowsShrinksAndBreaksTies) {
  const TIEWorkingBitmap dot = Dot(7, 7, kBlack, 3, 3, kWhite);
  TIEWorkingBitmap b = dot;
  ApplyMorph(b, TIEArea{}, 0, 1);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 7; ++x) EXPECT_EQ(b.Pixel(x, y), x >= 2 && x <= 4 && y >= 2 && y <= 4 ? kWhite : kBlack);
  b = dot;
  ApplyMorph(b, TIEArea{}, 2, 1);  // opening
  EXPECT_TRUE(SamePixels(b, Flat(7, 7, kBlack)));
  b = Dot(7, 7, kWhite, 3, 3, kBlack);
  ApplyMorph(b, TIEArea{}, 3, 1);  // closing
  EXPECT_TRUE(SamePixels(b, Flat(7, 7, kWhite)));
  ApplyMorph(b = dot, TIEArea{}, 4, 1);
  EXPECT_TRUE(SamePixels(b, dot));
  // (255, 0, 0) and (0, 75, 0) share grey 53: the first in row-major order wins.
  const TBGR red = MakeBGR(255, 0, 0), green = MakeBGR(0, 75, 0);
  ASSERT_EQ(GreyLevel(red), GreyLevel(green));
  b = MakeImage(3, 3, [&](int x, int y) { return x == 2 && y == 0 ? green : x == 0 && y == 2 ? red : kBlack; });
  ApplyMorph(b, TIEArea{}, 0, 1);
  EXPECT_EQ(b.Pixel(1, 1), green);
  // A window of all grey 0 keeps its centre; larger windows than the image reach its edge.
  b = MakeImage(3, 1, [](int x, int) { return MakeBGR(uint8_t(x), 0, 0); });
  ApplyMorph(b, TIEArea{}, 0, 1 << 30);
  EXPECT_EQ(b.Pixel(2, 0), MakeBGR(2, 0, 0));
}

TEST(Effects, FourierPlanesOver4096AreRefused) {
  EXPECT_TRUE(TIEFtImage::Fits(4096, 4096));
  EXPECT_TRUE(TIEFtImage::Fits(3000, 1));
  EXPECT_FALSE(TIEFtImage::Fits(4097, 1));
  EXPECT_FALSE(TIEFtImage::Fits(1, 4097));
  TIEFtImage ft;
  EXPECT_FALSE(ft.BuildFT(Flat(4097, 2, kWhite), false));
  EXPECT_TRUE(ft.Empty());
  EXPECT_FALSE(ft.BuildFT(TIEWorkingBitmap(5, 5, TIEPixelFormat::pf1bit), false));
  ASSERT_TRUE(ft.BuildFT(Gradient(20, 9), true));
  EXPECT_EQ(ft.Width(), 32);
  EXPECT_EQ(ft.Height(), 16);
  TIEWorkingBitmap spectrum;
  ft.GetFFTImage(spectrum);
  EXPECT_EQ(spectrum.Pixel(16, 8), kWhite);  // the zero frequency, largest of all
}

// Every effect through the component, inside a selection: only selected
// pixels change, as the effect on the box alone would change them.
TEST(Effects, ComponentRunsEachEffectInsideTheSelection) {
  const TIEWorkingBitmap original = Gradient(40, 30);
  const auto ops = std::vector<std::function<void(TZiridEvProc&)>>{
      [](TZiridEvProc& p) { p.ApplyUserFilter({1, 1, 1, 1, -8, 1, 1, 1, 1}, 1); },
      [](TZiridEvProc& p) { p.ApplyBumpMap(8, 6, 8, 8, kWhite, 20); },
      [](TZiridEvProc& p) { p.ApplyLens(8, 6, 14, 12, 1.7); },
      [](TZiridEvProc& p) { p.ApplyWave(3, 3, 0, false); },
      [](TZiridEvProc& p) { p.ApplyMorph(0, 2); },
      [](TZiridEvProc& p) { EXPECT_TRUE(p.FftClear({{0, 0, 31, 7}}, false)); },
  };
  for (size_t i = 0; i < ops.size(); ++i) {
    TestView view;
    view.bitmap = original;
    view.SelectBox(5, 4, 21, 16);
    view.selection.SetPixel(5, 4, 0);  // a hole in the box
    TZiridEvProc proc;
    proc.AutoUndo = false;
    proc.SetAttachedZiridEv(&view);
    ops[i](proc);
    TIEWorkingBitmap box(17, 13, TIEPixelFormat::pf24bit), alone;
    for (int y = 0; y < 13; ++y)
      for (int x = 0; x < 17; ++x) std::memcpy(box.ScanLine(y) + 3 * x, original.ScanLine(4 + y) + 3 * (5 + x), 3);
    TZiridEvProc boxProc;
    boxProc.AutoUndo = false;
    boxProc.SetAttachedBitmap(&box);
    ops[i](boxProc);
    int changed = 0;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) {
        const bool selected = x >= 5 && x <= 21 && y >= 4 && y <= 16 && !(x == 5 && y == 4);
        EXPECT_EQ(view.bitmap.Pixel(x, y), selected ? box.Pixel(x - 5, y - 4) : original.Pixel(x, y))
            << "effect " << i << " at " << x << "," << y;
        changed += view.bitmap.Pixel(x, y) != original.Pixel(x, y);
      }
    EXPECT_GT(changed, 0) << "effect " << i;
    EXPECT_EQ(view.changes, 1) << "effect " << i;
  }
}

TEST(Effects, ComponentCaptionsProgressAndCancel) {
  TIEWorkingBitmap image = Gradient(50, 40);
  const TIEWorkingBitmap original = image;
  TZiridEvProc proc;
  proc.UndoLimit = 10;
  proc.UndoLocation = TIEBitmapLocation::ieMemory;
  proc.SetAttachedBitmap(&image);
  std::vector<int> seen;
  proc.OnProgress = [&](TZiridEvProc*, int per) { seen.push_back(per); };
  proc.ApplyMorph(2, 1);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), 100);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_EQ(proc.UndoCaption(0), "ApplyMorph");
  // Cancelled from the progress handler at 30 %: nothing changes, and the next effect runs again.
  for (const auto& run : std::vector<std::function<void()>>{[&] { proc.ApplyUserFilter({1, 1, 1, 1, 1, 1, 1, 1, 1}, 9); },
                                                            [&] { proc.ApplyWave(5, 5, 0, true); },
                                                            [&] { proc.ApplyLens(25, 20, 40, 30, 2); },
                                                            [&] { proc.ApplyBumpMap(25, 20, 10, 10, kWhite, 0); },
                                                            [&] { proc.FftClear({{0, 0, 63, 20}}, false); }}) {
    image = original;
    proc.OnProgress = [&](TZiridEvProc* p, int per) { p->Aborting = p->Aborting || per >= 30; };
    run();
    EXPECT_TRUE(proc.Aborting);
    EXPECT_TRUE(SamePixels(image, original));
    proc.OnProgress = nullptr;
    run();
    EXPECT_FALSE(proc.Aborting);
    EXPECT_FALSE(SamePixels(image, original));
  }
  // A spectrum refused for its size leaves no undo entry; a 1-bit image is not an effect's.
  const int entries = proc.UndoCount();
  image = Flat(4097, 1, kWhite);
  EXPECT_FALSE(proc.FftSpectrum(false));
  EXPECT_FALSE(proc.FftClear({}, true));
  EXPECT_EQ(proc.UndoCount(), entries);
  image = Gradient(5, 3);
  EXPECT_TRUE(proc.FftSpectrum(true));
  EXPECT_EQ(image.Width(), 8);
  EXPECT_EQ(image.Height(), 4);
  image = TIEWorkingBitmap(9, 9, TIEPixelFormat::pf1bit);
  const TIEWorkingBitmap bits = image;
  proc.ApplyMorph(0, 1);
  proc.ApplyUserFilter({0, 0, 0, 0, 0, 0, 0, 0, 0}, 1);
  EXPECT_TRUE(SamePixels(image, bits));
}

}  // namespace
}  // namespace quillet::test
