// The resampling kernels, the plain stretch and the filtered resampling in its
// colour, mask and 1-bit variants, checked against NumPy and Pillow.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>

#include "imaging/core/bits.h"
#include "imaging/core/math.h"
#include "imaging/proc/resample.h"
#include "proc_images.h"
#include "support/test_support.h"
#include "imaging/core/engine_settings.h"

namespace quillet::test {
namespace {

using F = TResampleFilter;
constexpr F kFilters[] = {F::rfTriangle, F::rfHermite, F::rfBell, F::rfBSpline, F::rfLanczos3, F::rfMitchell};
const char* const kFilterNames[] = {"triangle", "hermite", "bell", "bspline", "lanczos3", "mitchell"};

TBGR At(const TIEWorkingBitmap& b, int64_t x, int64_t y) { return b.Pixel(x, y); }

// Smooth colours with no two neighbours alike: what a photo looks like up close.
TIEWorkingBitmap Smooth(int w, int h) {
  return MakeImage(w, h, [](int x, int y) {
    return MakeBGR(uint8_t(128 + 100 * std::sin(x / 9.0) * std::cos(y / 7.0)), uint8_t(40 + 2 * y),
                   uint8_t(128 + 90 * std::sin((x + y) / 11.0)));
  });
}

// Rows of 24-bit pixels without padding, for the oracle scripts.
std::vector<uint8_t> PackedRows(const TIEWorkingBitmap& b) {
  std::vector<uint8_t> out;
  for (int64_t y = 0; y < b.Height(); ++y) out.insert(out.end(), b.ScanLine(y), b.ScanLine(y) + 3 * b.Width());
  return out;
}

TEST(ResampleKernel, ValuesAtSamplePoints) {
  struct Sample {
    F filter;
    double x, value;
  };
  const double pi2 = std::numbers::pi * std::numbers::pi;
  const Sample samples[] = {
      {F::rfTriangle, 0, 1},         {F::rfTriangle, -0.25, 0.75},  {F::rfTriangle, 1, 0},
      {F::rfHermite, 0, 1},          {F::rfHermite, 0.5, 0.5},      {F::rfHermite, -0.25, 0.84375},
      {F::rfHermite, 1, 0},          {F::rfBell, 0, 0.75},          {F::rfBell, 0.5, 0.5},
      {F::rfBell, -1, 0.125},        {F::rfBell, 1.5, 0},           {F::rfBSpline, 0, 2.0 / 3},
      {F::rfBSpline, 1, 1.0 / 6},    {F::rfBSpline, -1.5, 1.0 / 48}, {F::rfBSpline, 2, 0},
      {F::rfLanczos3, 0, 1},         {F::rfLanczos3, 0.5, 6 / pi2}, {F::rfLanczos3, -1.5, -4 / (3 * pi2)},
      {F::rfLanczos3, 3, 0},         {F::rfMitchell, 0, 8.0 / 9},   {F::rfMitchell, 1, 1.0 / 18},
      {F::rfMitchell, -0.5, 77.0 / 144}, {F::rfMitchell, 1.5, -5.0 / 144}, {F::rfMitchell, 2, 0},
      {F::rfNone, 0, 0},
  };
  for (const Sample& s : samples)
    EXPECT_NEAR(ResampleKernel(s.filter, s.x), s.value, 1e-15) << int(s.filter) << " at " << s.x;
  EXPECT_NEAR(ResampleKernel(F::rfLanczos3, 1), 0, 1e-15);
  const double supports[] = {1, 1, 1.5, 2, 3, 2};
  for (size_t i = 0; i < std::size(kFilters); ++i) {
    EXPECT_EQ(KernelSupport(kFilters[i]), supports[i]);
    EXPECT_EQ(ResampleKernel(kFilters[i], supports[i]), 0) << kFilterNames[i];
    EXPECT_EQ(ResampleKernel(kFilters[i], 0.3), ResampleKernel(kFilters[i], -0.3)) << kFilterNames[i];
  }
  EXPECT_EQ(KernelSupport(F::rfNone), 0);
}

TEST(StretchNearest, PicksThePixelUnderEachCentre) {
  const TIEWorkingBitmap src = MakeImage(4, 3, [](int x, int y) { return MakeBGR(uint8_t(x), uint8_t(y), 9); });
  TIEWorkingBitmap up, down;
  ASSERT_TRUE(StretchNearest(src, up, 8, 7));
  ASSERT_EQ(up.Width(), 8);
  ASSERT_EQ(up.Height(), 7);
  const int upRows[] = {0, 0, 1, 1, 1, 2, 2};  // (2y + 1) * 3 div 14
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(At(up, x, y), MakeBGR(uint8_t(x / 2), uint8_t(upRows[y]), 9));
  ASSERT_TRUE(StretchNearest(src, down, 2, 1));
  EXPECT_EQ(At(down, 0, 0), MakeBGR(1, 1, 9));
  EXPECT_EQ(At(down, 1, 0), MakeBGR(3, 1, 9));
}

TEST(StretchNearest, OneBitStaysOneBitAndMayStretchItself) {
  TIEWorkingBitmap img(13, 2, TIEPixelFormat::pf1bit);
  for (int x = 0; x < 13; ++x) {
    SetBit(img.ScanLine(0), x, x % 3 == 0);
    SetBit(img.ScanLine(1), x, x == 12);
  }
  ASSERT_TRUE(StretchNearest(img, img, 26, 4));
  ASSERT_EQ(img.PixelFormat(), TIEPixelFormat::pf1bit);
  ASSERT_EQ(img.Width(), 26);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 26; ++x)
      EXPECT_EQ(GetBit(img.ScanLine(y), x), y < 2 ? x / 2 % 3 == 0 : x >= 24) << x << "," << y;
}

TEST(StretchNearest, RefusesWhatItCannotMake) {
  TIEWorkingBitmap src = Gradient(5, 5), dest = Gradient(2, 2), grey(4, 4, TIEPixelFormat::pf8bit), empty;
  const std::pair<int, int> bad[] = {{0, 3}, {3, -1}, {-1, -1}};
  for (auto [w, h] : bad) EXPECT_FALSE(StretchNearest(src, dest, w, h));
  EXPECT_FALSE(StretchNearest(grey, dest, 3, 3));
  EXPECT_FALSE(StretchNearest(empty, dest, 3, 3));
  const int64_t limit = MaxImagePixels();
  SetMaxImagePixels(100);
  EXPECT_FALSE(StretchNearest(src, dest, 20, 20));
  SetMaxImagePixels(limit);
  EXPECT_EQ(dest.Width(), 2);
}

TEST(ResampleColour, TwoByTwoToFourByFourStaysBetweenTheSourceValues) {
  const uint8_t v[2][2] = {{0, 100}, {200, 40}};
  const TIEWorkingBitmap src = MakeImage(2, 2, [&](int x, int y) { return MakeBGR(v[y][x], 255, 0); });
  TIEWorkingBitmap dest;
  ASSERT_TRUE(ResampleColour(src, dest, 4, 4, F::rfTriangle));
  ASSERT_EQ(dest.Width(), 4);
  ASSERT_EQ(dest.Height(), 4);
  // Across: a, (a + b) / 2, b, b (the last column reflects onto b).
  const int expected[4][4] = {{0, 50, 100, 100}, {100, 85, 70, 70}, {200, 120, 40, 40}, {200, 120, 40, 40}};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      const TBGR c = At(dest, x, y);
      EXPECT_EQ(c.r, expected[y][x]) << x << "," << y;
      EXPECT_EQ(c.g, 255);
      EXPECT_EQ(c.b, 0);
    }
  // Kernels without negative lobes never leave the source's range.
  for (F f : {F::rfHermite, F::rfBell, F::rfBSpline}) {
    ASSERT_TRUE(ResampleColour(src, dest, 4, 4, f));
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) {
        EXPECT_LE(At(dest, x, y).r, 200) << int(f);
        EXPECT_EQ(At(dest, x, y).g, 255) << int(f);
      }
  }
}

TEST(ResampleColour, FlatColourStaysFlatAtAnyScale) {
  const TBGR grey = MakeBGR(200, 128, 37);
  const TIEWorkingBitmap flat = MakeImage(48, 36, [&](int, int) { return grey; });
  for (F f : kFilters)
    for (auto [w, h] : {std::pair{36, 27}, std::pair{20, 15}, std::pair{131, 7}}) {
      TIEWorkingBitmap dest;
      ASSERT_TRUE(ResampleColour(flat, dest, w, h, f));
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) ASSERT_EQ(At(dest, x, y), grey) << int(f) << " " << w << ": " << x << "," << y;
    }
}

TEST(ResampleColour, SizesAndRefusals) {
  const TIEWorkingBitmap src = Gradient(400, 301);
  TIEWorkingBitmap dest;
  ASSERT_TRUE(ResampleColour(src, dest, 200, 150, F::rfBell));
  EXPECT_EQ(dest.Width(), 200);
  EXPECT_EQ(dest.Height(), 150);
  ASSERT_TRUE(ResampleColour(Gradient(1, 6), dest, 3, 17, F::rfMitchell));
  EXPECT_EQ(dest.Width(), 3);
  EXPECT_EQ(dest.Height(), 17);

  // A single pixel is not filtered, nor is anything without a kernel or a size.
  const TIEWorkingBitmap one = Gradient(1, 1), empty, bits(8, 8, TIEPixelFormat::pf1bit);
  const TIEWorkingBitmap before = dest;
  EXPECT_FALSE(ResampleColour(one, dest, 4, 4, F::rfTriangle));
  EXPECT_FALSE(ResampleColour(empty, dest, 4, 4, F::rfTriangle));
  EXPECT_FALSE(ResampleColour(bits, dest, 4, 4, F::rfTriangle));
  EXPECT_FALSE(ResampleColour(src, dest, 4, 4, F::rfNone));
  EXPECT_FALSE(ResampleColour(src, dest, 0, 4, F::rfTriangle));
  EXPECT_FALSE(ResampleColour(src, dest, 4, -1, F::rfTriangle));
  const int64_t limit = MaxImagePixels();
  SetMaxImagePixels(1000);
  EXPECT_FALSE(ResampleColour(Gradient(10, 10), dest, 40, 40, F::rfTriangle));
  // Wider and lower: the rows across would be over the limit before the pass down.
  EXPECT_FALSE(ResampleColour(Gradient(2, 100), dest, 100, 2, F::rfTriangle));
  SetMaxImagePixels(limit);
  EXPECT_EQ(PackedRows(dest), PackedRows(before));
}

TEST(ResampleColour, IntoItselfAndWithProgress) {
  TIEWorkingBitmap img = Smooth(30, 20);
  TIEWorkingBitmap expected;
  ASSERT_TRUE(ResampleColour(img, expected, 45, 11, F::rfLanczos3));
  std::vector<int> seen;
  ASSERT_TRUE(ResampleColour(img, img, 45, 11, F::rfLanczos3, [&](int p) { seen.push_back(p); }));
  EXPECT_EQ(PackedRows(img), PackedRows(expected));
  ASSERT_GT(seen.size(), 10u);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_GE(seen.front(), 0);
  EXPECT_GE(seen.back(), 95);
  EXPECT_LE(seen.back(), 100);
}

TEST(ResampleVariants, MaskAndOneBitRoundWhereColourTruncates) {
  // Black and white columns: every in-between value is 127.5.
  const TIEWorkingBitmap colour = MakeImage(2, 2, [](int x, int) { return x ? kWhite : kBlack; });
  TIEWorkingBitmap bits(2, 2, TIEPixelFormat::pf1bit), fromColour, fromBits;
  bits.Fill(kBlack);
  for (int y = 0; y < 2; ++y) SetBit(bits.ScanLine(y), 1, true);
  ASSERT_TRUE(ResampleColour(colour, fromColour, 4, 2, F::rfTriangle));
  ASSERT_TRUE(Resample1Bit(bits, fromBits, 4, 2, F::rfTriangle));
  ASSERT_EQ(fromBits.PixelFormat(), TIEPixelFormat::pf24bit);
  EXPECT_EQ(At(fromColour, 1, 1), MakeBGR(127, 127, 127));
  EXPECT_EQ(At(fromBits, 1, 1), MakeBGR(128, 128, 128));
  EXPECT_EQ(At(fromBits, 0, 0), kBlack);
  EXPECT_EQ(At(fromBits, 3, 1), kWhite);

  for (int depth : {1, 8}) {
    TIEMask mask, out;
    ASSERT_TRUE(mask.Allocate(2, 2, depth));
    mask.SetPixel(1, 0, 255);
    mask.SetPixel(1, 1, 255);
    ASSERT_TRUE(ResampleMask(mask, out, 4, 2, F::rfTriangle));
    ASSERT_EQ(out.BitsPerPixel(), 8);
    const int expected[] = {0, 128, 255, 255};
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 4; ++x) EXPECT_EQ(out.GetPixel(x, y), expected[x]) << depth << ": " << x << "," << y;
    EXPECT_EQ(out.X1(), 1);
    EXPECT_EQ(out.X2(), 3);
    EXPECT_EQ(out.Y1(), 0);
    EXPECT_EQ(out.Y2(), 1);
    EXPECT_FALSE(out.Full());
  }
}

TEST(ResampleVariants, FullMaskStaysFullAndEmptyStaysEmpty) {
  TIEMask full, empty, out;
  ASSERT_TRUE(full.Allocate(9, 7, 8));
  full.Fill(255);
  ASSERT_TRUE(ResampleMask(full, full, 20, 3, F::rfTriangle));
  EXPECT_EQ(full.Width(), 20);
  EXPECT_TRUE(full.Full());
  EXPECT_EQ(full.X2(), 19);
  ASSERT_TRUE(empty.Allocate(9, 7, 1));
  ASSERT_TRUE(ResampleMask(empty, out, 4, 4, F::rfMitchell));
  EXPECT_TRUE(out.IsEmpty());
  TIEMask one;
  ASSERT_TRUE(one.Allocate(1, 1, 8));
  EXPECT_FALSE(ResampleMask(one, out, 4, 4, F::rfTriangle));
  EXPECT_EQ(out.Width(), 4);
}

// The filtered resampling written apart in Python with NumPy, straight from
// the kernel table: passes(image, width, height, kernel name, rule).
std::string OracleFunctions() {
  return "import math, numpy as np\n"
        "def sinc(t): return 1.0 if t == 0 else math.sin(math.pi * t) / (math.pi * t)\n"
        "def k(name, x):\n"
        "    a = abs(x)\n"
        "    if name == 'triangle': return 1 - a if a < 1 else 0.0\n"
        "    if name == 'hermite': return 2 * a**3 - 3 * a**2 + 1 if a < 1 else 0.0\n"
        "    if name == 'bell': return 0.75 - a * a if a < 0.5 else (0.5 * (a - 1.5)**2 if a < 1.5 else 0.0)\n"
        "    if name == 'bspline': return a**3 / 2 - a * a + 2 / 3 if a < 1 else ((2 - a)**3 / 6 if a < 2 else 0.0)\n"
        "    if name == 'lanczos3': return sinc(x) * sinc(x / 3) if a < 3 else 0.0\n"
        "    if a < 1: return (7 * a**3 - 12 * a**2 + 16 / 3) / 6\n"
        "    return (-7 / 3 * a**3 + 12 * a**2 - 20 * a + 32 / 3) / 6 if a < 2 else 0.0\n"
        "S = dict(triangle=1, hermite=1, bell=1.5, bspline=2, lanczos3=3, mitchell=2)\n"
        "def lists(n, m, name):\n"
        "    scale = m / n; f = 1 / scale if scale < 1 else 1.0; width = S[name] * f\n"
        "    out = []\n"
        "    for i in range(m):\n"
        "        c = i / scale; l = []\n"
        "        for j in range(math.floor(c - width), math.ceil(c + width) + 1):\n"
        "            w = k(name, (c - j) / f) / f\n"
        "            if w != 0: l.append((min(max(-j if j < 0 else (2 * n - j - 1 if j >= n else j), 0), n - 1), w))\n"
        "        total = sum(w for _, w in l)\n"
        "        out.append([(n, w / total) for n, w in l])\n"
        "    return out\n"
        "def passes(img, m1, m0, name, rule):\n"
        "    h, w = img.shape[:2]\n"
        "    work = np.zeros((h, m1) + img.shape[2:])\n"
        "    for i, l in enumerate(lists(w, m1, name)):\n"
        "        for n, wt in l: work[:, i] += wt * img[:, n]\n"
        "    work = rule(work); out = np.zeros((m0, m1) + img.shape[2:])\n"
        "    for i, l in enumerate(lists(h, m0, name)):\n"
        "        for n, wt in l: out[i] += wt * work[n]\n"
        "    return rule(out).astype(np.uint8)\n"
        "trunc = lambda a: np.trunc(np.clip(a, 0, 255) + 1e-9)\n"
        "rnd = lambda a: np.rint(np.clip(a, 0, 255))\n";
}

// The same weights computed apart, in NumPy, from the kernel table (each
// list scaled to sum to 1): the sums are taken in the same order, so only a
// value that lands on a whole number may come out one apart.
TEST(ResampleOracle, MatchesAnIndependentComputationOfTheWeights) {
  if (!HavePillow()) GTEST_SKIP() << "no python3 with NumPy";
  TempDir dir;
  const TIEWorkingBitmap src = Smooth(37, 23);
  WriteFileBytes(dir.File("src.raw"), PackedRows(src));
  TIEWorkingBitmap bits(37, 23, TIEPixelFormat::pf1bit);
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 37; ++x) SetBit(bits.ScanLine(y), x, (x / 3 + y / 4) % 2 == 0);
  const std::pair<int, int> sizes[] = {{13, 9}, {80, 50}, {37, 7}};
  std::ostringstream py;
  py << OracleFunctions() <<
        "src = np.fromfile(r'''"
     << dir.File("src.raw")
     << "''', np.uint8).reshape(23, 37, 3).astype(np.float64)\n"
        "bits = np.array([[255.0 if (x // 3 + y // 4) % 2 == 0 else 0.0 for x in range(37)] for y in range(23)])\n"
        "for name in S:\n"
        "    for w, h in ["
     << "(13, 9), (80, 50), (37, 7)"
     << "]:\n"
        "        passes(src, w, h, name, trunc).tofile(r'''"
     << dir.File("")
     << "''' + '%s_%d_%d.raw' % (name, w, h))\n"
        "        passes(bits, w, h, name, rnd).tofile(r'''"
     << dir.File("")
     << "''' + 'bits_%s_%d_%d.raw' % (name, w, h))\n";
  ASSERT_EQ(RunPython(py.str()), 0);

  for (size_t f = 0; f < std::size(kFilters); ++f)
    for (auto [w, h] : sizes) {
      const std::string name = std::string(kFilterNames[f]) + "_" + std::to_string(w) + "_" + std::to_string(h);
      TIEWorkingBitmap colour, grey;
      TIEMask mask, greyMask;
      ASSERT_TRUE(ResampleColour(src, colour, w, h, kFilters[f]));
      ASSERT_TRUE(Resample1Bit(bits, grey, w, h, kFilters[f]));
      ASSERT_TRUE(mask.Allocate(37, 23, 1));
      for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x) mask.SetPixel(x, y, GetBit(bits.ScanLine(y), x) ? 1 : 0);
      ASSERT_TRUE(ResampleMask(mask, greyMask, w, h, kFilters[f]));
      const std::vector<uint8_t> ours = PackedRows(colour), theirs = ReadFileBytes(dir.File(name + ".raw"));
      const std::vector<uint8_t> theirBits = ReadFileBytes(dir.File("bits_" + name + ".raw"));
      ASSERT_EQ(ours.size(), theirs.size()) << name;
      ASSERT_EQ(theirBits.size(), size_t(w * h)) << name;
      int64_t same = 0;
      for (size_t i = 0; i < ours.size(); ++i) {
        ASSERT_LE(std::abs(ours[i] - theirs[i]), 1) << name << " at byte " << i;
        same += ours[i] == theirs[i];
      }
      EXPECT_GE(same * 100, int64_t(ours.size()) * 99) << name;
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const int expected = theirBits[size_t(y * w + x)];
          ASSERT_LE(std::abs(At(grey, x, y).g - expected), 1) << name << " 1-bit at " << x << "," << y;
          ASSERT_EQ(greyMask.GetPixel(x, y), At(grey, x, y).g) << name << " mask at " << x << "," << y;
        }
    }
}

// Images large enough for the passes to share their rows between threads.
TEST(ResampleOracle, RowsSharedBetweenThreadsMatchTheOracle) {
  if (!HavePillow()) GTEST_SKIP() << "no python3 with NumPy";
  TempDir dir;
  const TIEWorkingBitmap src = Smooth(600, 400);
  WriteFileBytes(dir.File("src.raw"), PackedRows(src));
  std::ostringstream py;
  py << OracleFunctions() << "src = np.fromfile(r'''" << dir.File("src.raw")
     << "''', np.uint8).reshape(400, 600, 3).astype(np.float64)\n"
     << "passes(src, 900, 600, 'mitchell', trunc).tofile(r'''" << dir.File("out.raw") << "''')\n";
  ASSERT_EQ(RunPython(py.str()), 0);
  TIEWorkingBitmap dest;
  ASSERT_TRUE(ResampleColour(src, dest, 900, 600, F::rfMitchell));
  const std::vector<uint8_t> ours = PackedRows(dest), theirs = ReadFileBytes(dir.File("out.raw"));
  ASSERT_EQ(ours.size(), theirs.size());
  int64_t same = 0;
  for (size_t i = 0; i < ours.size(); ++i) {
    ASSERT_LE(std::abs(ours[i] - theirs[i]), 1) << "byte " << i;
    same += ours[i] == theirs[i];
  }
  EXPECT_GE(same * 100, int64_t(ours.size()) * 99);
}

// Pillow centres pixels differently, clips its kernels at the edges and
// rounds; its bicubic is not Mitchell's. Given the same centres (a box into a
// reflected border) the results must still agree closely on a smooth image.
TEST(ResampleOracle, CloseToPillowOnASmoothImage) {
  if (!HavePillow()) GTEST_SKIP() << "no python3 with Pillow";
  TempDir dir;
  const TIEWorkingBitmap src = Smooth(96, 72);
  WriteFileBytes(dir.File("src.raw"), PackedRows(src));
  struct Case {
    F filter;
    const char* pillow;
    int w, h;
  };
  const Case cases[] = {{F::rfTriangle, "BILINEAR", 40, 30},  {F::rfTriangle, "BILINEAR", 200, 150},
                        {F::rfLanczos3, "LANCZOS", 40, 30},   {F::rfLanczos3, "LANCZOS", 200, 150},
                        {F::rfMitchell, "BICUBIC", 40, 30},   {F::rfMitchell, "BICUBIC", 200, 150}};
  std::ostringstream py;
  py << "import numpy as np\nfrom PIL import Image\n"
        "src = np.fromfile(r'''"
     << dir.File("src.raw")
     << "''', np.uint8).reshape(72, 96, 3)[:, :, ::-1]\n"
        "M = 16\n"
        "pad = np.pad(src, ((M, 0), (M, 0), (0, 0)), mode='reflect')\n"
        "pad = np.pad(pad, ((0, M), (0, M), (0, 0)), mode='symmetric')\n"
        "im = Image.fromarray(np.ascontiguousarray(pad), 'RGB')\n";
  for (const Case& c : cases)
    py << "bx, by = M + 0.5 - 0.5 * 96 / " << c.w << ", M + 0.5 - 0.5 * 72 / " << c.h << "\n"
       << "out = im.resize((" << c.w << ", " << c.h << "), Image." << c.pillow
       << ", box=(bx, by, bx + 96, by + 72))\n"
       << "np.asarray(out)[:, :, ::-1].tofile(r'''" << dir.File(std::string(c.pillow) + std::to_string(c.w))
       << "''')\n";
  ASSERT_EQ(RunPython(py.str()), 0);
  for (const Case& c : cases) {
    TIEWorkingBitmap dest;
    ASSERT_TRUE(ResampleColour(src, dest, c.w, c.h, c.filter));
    const std::vector<uint8_t> ours = PackedRows(dest);
    const std::vector<uint8_t> theirs = ReadFileBytes(dir.File(std::string(c.pillow) + std::to_string(c.w)));
    ASSERT_EQ(ours.size(), theirs.size()) << c.pillow;
    int64_t total = 0;
    int worst = 0;
    for (size_t i = 0; i < ours.size(); ++i) {
      const int d = std::abs(ours[i] - theirs[i]);
      total += d;
      worst = std::max(worst, d);
    }
    EXPECT_LT(double(total) / double(ours.size()), 2.0) << c.pillow << " " << c.w;
    EXPECT_LE(worst, c.filter == F::rfMitchell ? 5 : 3) << c.pillow << " " << c.w;
  }
}

}  // namespace
}  // namespace quillet::test
