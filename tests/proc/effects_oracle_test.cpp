// Each effect on small generated images against NumPy's re-implementation of
// its formulas (tests/proc/effects_oracle.py), over areas, odd and one-pixel
// sizes and extreme parameters; the morphological filters on grey images
// against Pillow's MaxFilter and MinFilter too.
#include <gtest/gtest.h>

#include <sstream>

#include "imaging/proc/effect_bump_map.h"
#include "imaging/proc/effect_fourier.h"
#include "imaging/proc/effect_lens.h"
#include "imaging/proc/effect_morph.h"
#include "imaging/proc/effect_user_filter.h"
#include "imaging/proc/effect_wave.h"
#include "proc/effect_oracle.h"
#include "proc/proc_images.h"

namespace quillet::test {
namespace {

// Colours from a few levels, so that many pixels share a grey level with
// another colour, and some non-black pixels have grey 0.
TIEWorkingBitmap Busy(int w, int h, uint32_t seed = 1) {
  static const uint8_t kLevels[] = {0, 4, 60, 120, 200, 255};
  return MakeImage(w, h, [seed](int x, int y) {
    uint32_t v = uint32_t(x) * 73856093u ^ uint32_t(y) * 19349663u ^ seed * 83492791u;
    v ^= v >> 13, v *= 0x5bd1e995, v ^= v >> 15;
    return MakeBGR(kLevels[v % 6], kLevels[v / 6 % 6], kLevels[v / 36 % 6]);
  });
}

std::string Text(std::initializer_list<double> values) {
  std::ostringstream out;
  for (double v : values) out << " " << v;
  return out.str();
}

const TIEArea kNoArea{};
TIEArea Area(const TIEWorkingBitmap& b, const TIEArea& a) { return a.ClampedTo(b); }
std::string AreaText(const TIEWorkingBitmap& b, const TIEArea& a) {
  const TIEArea r = Area(b, a);
  return Text({double(r.X1), double(r.Y1), double(r.X2), double(r.Y2)});
}

TEffectCase Filter(TIEWorkingBitmap image, TIEFilterCoefficients c, int32_t div, TIEArea area = kNoArea) {
  std::string args = " ";
  for (int32_t v : c) args += std::to_string(v) + " ";
  args += std::to_string(div) + AreaText(image, area);
  return {"userfilter", image, "userfilter" + args, [=](TIEWorkingBitmap& b) { ApplyUserFilter(b, Area(b, area), c, div); }};
}

TEST(EffectsOracle, UserFilterIsExact) {
  if (!HavePillow()) GTEST_SKIP() << "no python3 with NumPy";
  const TIEWorkingBitmap busy = Busy(23, 17);
  const int32_t kMax = 2147483647, kMin = -2147483647 - 1;
  ExpectLikeOracle({
      Filter(busy, {1, 1, 1, 1, 1, 1, 1, 1, 1}, 9),
      Filter(busy, {1, 1, 1, 1, -8, 1, 1, 1, 1}, 1),
      Filter(busy, {-1, 0, 1, -1, 1, 1, -1, 0, 1}, 1),
      Filter(busy, {1, 2, 1, 2, 4, 2, 1, 2, 1}, 16),
      Filter(busy, {1, -2, 1, -2, 5, -2, 1, -2, 1}, -3),
      Filter(busy, {0, 1, 0, 0, 0, 0, 0, 0, 0}, 0),
      Filter(busy, {3, 1, -4, 1, 5, -9, 2, 6, -5}, 7, {4, 3, 15, 11}),
      Filter(busy, {kMax, kMin, kMax, 1000000, -1, 7, kMin, kMax, 3}, 0),
      Filter(busy, {kMax, kMax, kMax, kMax, kMax, kMax, kMax, kMax, kMax}, kMin),
      Filter(busy, {200, -100, 0, 0, 1, 0, 0, 0, 0}, 100),
      Filter(Busy(1, 1), {1, 2, 3, 4, 5, 6, 7, 8, 9}, 45),
      Filter(Busy(1, 9), {1, 1, 1, 1, -8, 1, 1, 1, 1}, 1),
      Filter(Busy(9, 1), {-1, -1, -1, -1, 9, -1, -1, -1, -1}, 1),
  });
}

TEffectCase Bump(TIEWorkingBitmap image, int32_t x, int32_t y, int32_t w, int32_t h, TBGR light, int32_t q,
                 TIEArea area = kNoArea) {
  return {"bumpmap", image,
          "bumpmap" + Text({double(x), double(y), double(w), double(h), double(light.r), double(light.g), double(light.b),
                            double(q)}) + AreaText(image, area),
          [=](TIEWorkingBitmap& b) { ApplyBumpMap(b, Area(b, area), x, y, w, h, light, q); }};
}

TEST(EffectsOracle, BumpMapMatches) {
  if (!HavePillow()) GTEST_SKIP() << "no python3 with NumPy";
  const TIEWorkingBitmap busy = Busy(31, 22), smooth = Gradient(40, 30);
  ExpectLikeOracle({
      Bump(smooth, 20, 15, 15, 15, kWhite, 0),
      Bump(smooth, 3, 25, 9, 30, MakeBGR(255, 128, 7), 37),
      Bump(busy, 15, 11, 11, 11, kWhite, 0),
      Bump(busy, -40, 50, 7, 3, MakeBGR(10, 200, 90), 50),
      Bump(busy, 10, 10, -8, 12, kWhite, 21, {5, 2, 25, 19}),
      Bump(busy, 0, 0, 32767, 32767, MakeBGR(1, 2, 3), 99),
      Bump(Busy(1, 1), 0, 0, 1, 1, kWhite, 0),
      Bump(Busy(1, 7), 0, 3, 2, 2, kWhite, 10),
      Bump(Busy(7, 1), 3, 0, 2, 2, kWhite, 10),
  });
}

TEffectCase Lens(TIEWorkingBitmap image, int32_t x, int32_t y, int32_t w, int32_t h, double n, int64_t mostOff = 0) {
  return {"lens", image, "lens" + Text({double(x), double(y), double(w), double(h)}) + " " + std::to_string(n),
          [=](TIEWorkingBitmap& b) { ApplyLens(b, x, y, w, h, n); }, 255, mostOff};
}

// A different source pixel may be picked where a position lands within
// rounding of a pixel's edge: allowed on a few pixels.
TEST(EffectsOracle, LensMatches) {
  if (!HavePillow()) GTEST_SKIP() << "no python3 with NumPy";
  const TIEWorkingBitmap smooth = Gradient(41, 33), busy = Busy(41, 33);
  ExpectLikeOracle({
      Lens(smooth, 20, 16, 16, 16, 1.7, 6),
      Lens(busy, 20, 16, 30, 20, 1.7, 6),
      Lens(busy, 5, 30, 27, 13, 3.5, 6),
      Lens(busy, 40, 0, 41, 41, 3277.7, 6),
      Lens(busy, 20, 16, 3, 3, 2.0, 3),
      Lens(busy, 20, 16, 2, 9, 1.5, 3),
      Lens(busy, 20, 16, 1, 9, 1.5),
      Lens(busy, -100, 16, 30, 30, 1.7),
  });
}

TEffectCase Wave(TIEWorkingBitmap image, int32_t a, int32_t l, int32_t p, bool r) {
  return {"wave", image, "wave" + Text({double(a), double(l), double(p), double(r)}),
          [=](TIEWorkingBitmap& b) { ApplyWave(b, a, l, p, r); }, 1, 3 * image.Width() * image.Height() / 100 + 3};
}

TEST(EffectsOracle, WaveMatches) {
  if (!HavePillow()) GTEST_SKIP() << "no python3 with NumPy";
  const TIEWorkingBitmap smooth = Gradient(37, 29), busy = Busy(29, 37);
  ExpectLikeOracle({
      Wave(smooth, 10, 10, 0, false),
      Wave(smooth, 10, 10, 0, true),
      Wave(busy, 3, 2, 90, false),
      Wave(busy, 7, 5, 359, true),
      Wave(busy, -4, -6, 45, false),
      Wave(busy, 32767, 1, 0, false),
      Wave(busy, 32767, 32767, 180, true),
      Wave(Busy(1, 1), 10, 10, 0, false),
      Wave(Busy(1, 12), 3, 2, 0, false),
      Wave(Busy(12, 1), 3, 2, 0, true),
      Wave(Busy(2, 2), 1, 1, 30, false),
  });
}

TEffectCase Morph(TIEWorkingBitmap image, int32_t filter, int32_t k, TIEArea area = kNoArea) {
  return {"morph", image, "morph" + Text({double(filter), double(k)}) + AreaText(image, area),
          [=](TIEWorkingBitmap& b) { ApplyMorph(b, Area(b, area), filter, k); }};
}

// Ties between equal greys of different colours are everywhere in these images.
TEST(EffectsOracle, MorphIsExactWithItsTieRule) {
  if (!HavePillow()) GTEST_SKIP() << "no python3 with NumPy";
  const TIEWorkingBitmap busy = Busy(27, 19), other = Busy(19, 27, 5);
  ExpectLikeOracle({
      Morph(busy, 0, 1), Morph(busy, 1, 1), Morph(busy, 2, 1), Morph(busy, 3, 1),
      Morph(other, 0, 2), Morph(other, 1, 3), Morph(other, 2, 5), Morph(other, 3, 4),
      Morph(busy, 0, 0), Morph(busy, 1, 1000), Morph(busy, 0, 20), Morph(busy, 3, 2, {3, 4, 20, 15}),
      Morph(Busy(1, 1), 2, 3), Morph(Busy(1, 13), 0, 2), Morph(Busy(13, 1), 3, 2), Morph(busy, 4, 1),
  });
}

TEffectCase Spectrum(TIEWorkingBitmap image, bool gray) {
  return {"spectrum", image, std::string("spectrum ") + (gray ? "1" : "0"),
          [=](TIEWorkingBitmap& b) {
            TIEFtImage ft;
            ASSERT_TRUE(ft.BuildFT(b, gray));
            ft.GetFFTImage(b);
          },
          1, 3 * image.Width() * image.Height() / 50 + 6};
}

TEffectCase Cleared(TIEWorkingBitmap image, bool gray, std::vector<std::array<int64_t, 4>> zones) {
  std::string args = gray ? " 1" : " 0";
  for (const auto& z : zones) args += Text({double(z[0]), double(z[1]), double(z[2]), double(z[3])});
  return {"fftclear", image, "fftclear" + args,
          [=](TIEWorkingBitmap& b) {
            TIEFtImage ft;
            ASSERT_TRUE(ft.BuildFT(b, gray));
            for (const auto& z : zones) ft.ClearZone(z[0], z[1], z[2], z[3]);
            ASSERT_TRUE(ft.GetInverseImage(b));
          },
          1, 3 * image.Width() * image.Height() / 50 + 3};
}

// The round trip comes back within a level; cleared rectangles, symmetric or
// not, match NumPy's real part of the inverse of the cleared spectrum.
TEST(EffectsOracle, FourierTransformMatchesNumPy) {
  if (!HavePillow()) GTEST_SKIP() << "no python3 with NumPy";
  const TIEWorkingBitmap smooth = Gradient(37, 29), busy = Busy(23, 17);
  ExpectLikeOracle({
      Spectrum(smooth, false), Spectrum(busy, true), Spectrum(busy, false), Spectrum(Busy(1, 1), false),
      Spectrum(Busy(5, 1), true), Spectrum(MakeImage(8, 8, [](int, int) { return kWhite; }), false),
      Cleared(smooth, false, {}), Cleared(busy, true, {}), Cleared(Busy(1, 1), false, {}),
      Cleared(smooth, false, {{10, 10, 21, 21}}), Cleared(busy, true, {{0, 0, 31, 10}, {30, 30, 20, 25}}),
      Cleared(busy, false, {{17, 16, 25, 16}}), Cleared(busy, false, {{-5, -5, 100, 100}}),
      Cleared(smooth, true, {{-9, -9, -1, -1}, {64, 0, 70, 70}}),
  });
}

// Images large enough for the rows to be shared between the cores.
TEST(EffectsOracle, RowsSharedBetweenCoresMatch) {
  if (!HavePillow()) GTEST_SKIP() << "no python3 with NumPy";
  const TIEWorkingBitmap busy = Busy(600, 400, 9), smooth = Gradient(600, 400);
  ExpectLikeOracle({
      Filter(busy, {-1, 0, 1, -1, 1, 1, -1, 0, 1}, 1),
      Bump(smooth, 300, 200, 200, 200, MakeBGR(250, 240, 200), 30),
      Lens(busy, 300, 200, 300, 300, 1.7, 30),
      Wave(smooth, 10, 10, 0, false),
      Morph(busy, 2, 2),
  });
}

// Pillow's rank filters work per channel, so on grey pixels whose grey levels
// differ they pick the same pixels; its borders repeat the edge, as the
// window limited to the image does.
TEST(EffectsOracle, MorphOnGreyMatchesPillowRankFilters) {
  if (!HavePillow()) GTEST_SKIP() << "no python3 with Pillow";
  TempDir dir;
  const TIEWorkingBitmap grey = MakeImage(31, 23, [](int x, int y) {
    const uint8_t v = uint8_t(2 * ((x * 37 + y * 11 + x * y) % 128));  // even levels have distinct greys
    return MakeBGR(v, v, v);
  });
  WriteFileBytes(dir.File("grey.raw"), PackedPixels(grey));
  const struct {
    int32_t filter, k;
    const char* pillow;
  } cases[] = {{0, 1, "f(MaxFilter, 3)"}, {1, 2, "f(MinFilter, 5)"}, {2, 1, "f(MaxFilter, 3, f(MinFilter, 3))"},
               {3, 3, "f(MinFilter, 7, f(MaxFilter, 7))"}};
  std::ostringstream py;
  py << "import numpy as np\nfrom PIL import Image, ImageFilter\n"
     << "im = Image.fromarray(np.fromfile(r'''" << dir.File("grey.raw") << "''', np.uint8).reshape(23, 31, 3), 'RGB')\n"
     << "MaxFilter, MinFilter = ImageFilter.MaxFilter, ImageFilter.MinFilter\n"
     << "def f(kind, size, image=im): return image.filter(kind(size))\n";
  for (size_t i = 0; i < std::size(cases); ++i)
    py << "np.asarray(" << cases[i].pillow << ").tofile(r'''" << dir.File("want" + std::to_string(i)) << "''')\n";
  ASSERT_EQ(RunPython(py.str()), 0);
  for (size_t i = 0; i < std::size(cases); ++i) {
    TIEWorkingBitmap ours = grey;
    ApplyMorph(ours, TIEArea{}, cases[i].filter, cases[i].k);
    EXPECT_EQ(PackedPixels(ours), ReadFileBytes(dir.File("want" + std::to_string(i)))) << cases[i].pillow;
  }
}

}  // namespace
}  // namespace quillet::test
