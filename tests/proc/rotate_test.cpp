// Rotation: the angle reduction, quarter turns of both formats, the sizes of
// the three shears, antialiasing, and the geometry checked against Pillow.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>

#include "imaging/core/bits.h"
#include "imaging/core/math.h"
#include "imaging/proc/rotate.h"
#include "proc_images.h"
#include "support/test_support.h"
#include "imaging/core/engine_settings.h"

namespace quillet::test {
namespace {


const TBGR kTeal = MakeBGR(0, 128, 128);

// Each pixel a colour of its own, none of them black.
TIEWorkingBitmap Distinct(int w, int h) {
  return MakeImage(w, h, [w](int x, int y) {
    const int i = y * w + x + 1;
    return MakeBGR(uint8_t(i & 255), uint8_t(i >> 8), 200);
  });
}

TIEWorkingBitmap Flat(int w, int h, TBGR c) {
  return MakeImage(w, h, [c](int, int) { return c; });
}

// Bit pattern from a function of the position.
template <class F>
TIEWorkingBitmap Bits(int w, int h, F set) {
  TIEWorkingBitmap b(w, h, TIEPixelFormat::pf1bit);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) SetBit(b.ScanLine(y), x, set(x, y));
  return b;
}

TEST(RotateImage, WholeTurnsAndNothingToDo) {
  const TIEWorkingBitmap original = Distinct(7, 5);
  const TIEWorkingBitmap bits = Bits(13, 3, [](int x, int y) { return (x + y) % 3 == 0; });
  TIEWorkingBitmap img = original, img1 = bits;
  EXPECT_FALSE(RotateImage(img, 0, false, kBlack));
  EXPECT_FALSE(RotateImage(img, NAN, false, kBlack));
  EXPECT_FALSE(RotateImage(img, INFINITY, true, kBlack));
  EXPECT_FALSE(RotateImage(img1, 0, false, kBlack));
  for (double angle : {360.0, 720.0004, -360.0, 3600000.0, 1e300}) {
    EXPECT_TRUE(RotateImage(img, angle, true, kBlack)) << angle;
    EXPECT_TRUE(SamePixels(img, original)) << angle;
  }
  // A huge angle is the same as what is left of it after whole turns.
  TIEWorkingBitmap huge = original, reduced = original;
  ASSERT_TRUE(RotateImage(huge, 36e14 + 30, true, kBlack));
  ASSERT_TRUE(RotateImage(reduced, 30, true, kBlack));
  EXPECT_TRUE(SamePixels(huge, reduced));
  EXPECT_TRUE(RotateImage(img1, 360, false, kBlack));
  EXPECT_TRUE(SamePixels(img1, bits));

  TIEWorkingBitmap empty, grey(4, 4, TIEPixelFormat::pf8bit);
  EXPECT_FALSE(RotateImage(empty, 30, false, kBlack));
  EXPECT_FALSE(RotateImage(grey, 30, false, kBlack));
}

TEST(RotateImage, QuarterTurnsOfBothFormats) {
  // source(x, y) for the result pixel (x, y) of each angle, on a 3 x 2 image.
  struct Turn {
    double angle;
    int w, h;
    std::pair<int, int> (*from)(int x, int y);
  };
  const Turn turns[] = {
      {90, 2, 3, [](int x, int y) { return std::pair{2 - y, x}; }},
      {-90, 2, 3, [](int x, int y) { return std::pair{y, 1 - x}; }},
      {270, 2, 3, [](int x, int y) { return std::pair{y, 1 - x}; }},
      {180, 3, 2, [](int x, int y) { return std::pair{2 - x, 1 - y}; }},
      {-180, 3, 2, [](int x, int y) { return std::pair{2 - x, 1 - y}; }},
  };
  const TIEWorkingBitmap colour = Distinct(3, 2);
  const TIEWorkingBitmap bits = Bits(3, 2, [](int x, int y) { return x + y == 1 || (x == 2 && y == 0); });
  for (const Turn& t : turns)
    for (const TIEWorkingBitmap* source : {&colour, &bits}) {
      TIEWorkingBitmap img = *source;
      ASSERT_TRUE(RotateImage(img, t.angle, false, kTeal)) << t.angle;
      ASSERT_EQ(img.Width(), t.w) << t.angle;
      ASSERT_EQ(img.Height(), t.h) << t.angle;
      for (int y = 0; y < t.h; ++y)
        for (int x = 0; x < t.w; ++x) {
          const auto [sx, sy] = t.from(x, y);
          EXPECT_EQ(img.Pixel(x, y), source->Pixel(sx, sy)) << t.angle << " bits " << source->BitCount() << " at " << x
                                                            << "," << y;
        }
    }
}

TEST(RotateImage, ShearSizesWithBackgroundCorners) {
  struct Size {
    double angle;
    int w, h;
  };
  for (const Size& s : {Size{30, 112, 94}, Size{45, 108, 105}, Size{10, 108, 67}, Size{-30, 112, 94}}) {
    TIEWorkingBitmap img = Flat(100, 50, kWhite);
    ASSERT_TRUE(RotateImage(img, s.angle, false, kBlack));
    ASSERT_EQ(img.Width(), s.w) << s.angle;
    ASSERT_EQ(img.Height(), s.h) << s.angle;
    for (auto [x, y] : {std::pair{0, 0}, {s.w - 1, 0}, {0, s.h - 1}, {s.w - 1, s.h - 1}})
      EXPECT_EQ(img.Pixel(x, y), kBlack) << s.angle << " corner " << x << "," << y;
    EXPECT_EQ(img.Pixel(s.w / 2, s.h / 2), kWhite) << s.angle;
  }
  // Past 45 degrees a quarter turn comes first: 120 is 90 and then 30.
  TIEWorkingBitmap turned = Flat(50, 100, kWhite);
  ASSERT_TRUE(RotateImage(turned, 120, false, kBlack));
  EXPECT_EQ(turned.Width(), 112);
  EXPECT_EQ(turned.Height(), 94);
}

// Without antialiasing each shear only moves pixels: none is made twice, and
// at most a corner pixel falls off the edge where an offset rounds outwards.
TEST(RotateImage, ShearsMovePixelsWithoutDuplicating) {
  const TIEWorkingBitmap src = Distinct(40, 30);
  for (double angle : {30.0, -17.5, 44.0, 0.5, 100.0}) {
    TIEWorkingBitmap img = src;
    ASSERT_TRUE(RotateImage(img, angle, false, kBlack));
    std::multiset<int> seen;
    for (int64_t y = 0; y < img.Height(); ++y)
      for (int64_t x = 0; x < img.Width(); ++x) {
        const TBGR c = img.Pixel(x, y);
        if (c != kBlack) seen.insert(c.g * 256 + c.r);
      }
    EXPECT_GE(seen.size(), 1198u) << angle;
    EXPECT_EQ(std::set<int>(seen.begin(), seen.end()).size(), seen.size()) << angle;
  }
}

// Large enough for the passes to share their rows and strips between threads.
TEST(RotateImage, LargeImageKeepsEveryPixelOnce) {
  const int w = 1000, h = 700;
  TIEWorkingBitmap img = MakeImage(w, h, [](int x, int y) {
    const int i = y * 1000 + x + 1;
    return MakeBGR(uint8_t(i & 255), uint8_t(i >> 8 & 255), uint8_t(i >> 16));
  });
  ASSERT_TRUE(RotateImage(img, -30, false, kBlack));
  std::vector<uint8_t> count(size_t(w) * h + 1);
  int64_t moved = 0;
  for (int64_t y = 0; y < img.Height(); ++y) {
    const uint8_t* p = img.ScanLine(y);
    for (int64_t x = 0; x < img.Width(); ++x, p += 3) {
      const int i = p[2] | p[1] << 8 | p[0] << 16;
      if (i == 0) continue;
      ASSERT_LE(i, w * h);
      ASSERT_EQ(count[size_t(i)]++, 0) << "pixel " << i << " twice";
      ++moved;
    }
  }
  EXPECT_GE(moved, int64_t(w) * h - 4);
}

TEST(RotateImage, AntialiasBlendsEdgesButKeepsFlatAreas) {
  // A flat image on the same background stays exactly flat, odd levels too.
  for (const TBGR c : {MakeBGR(253, 253, 253), MakeBGR(7, 99, 201)}) {
    TIEWorkingBitmap img = Flat(31, 17, c);
    ASSERT_TRUE(RotateImage(img, 23, true, c));
    for (int64_t y = 0; y < img.Height(); ++y)
      for (int64_t x = 0; x < img.Width(); ++x) ASSERT_EQ(img.Pixel(x, y), c) << x << "," << y;
  }
  // White on black: the same size as without antialiasing, with in-between
  // greys along the edges only.
  TIEWorkingBitmap hard = Flat(100, 50, kWhite), soft = hard;
  ASSERT_TRUE(RotateImage(hard, 30, false, kBlack));
  ASSERT_TRUE(RotateImage(soft, 30, true, kBlack));
  ASSERT_EQ(soft.Width(), 112);
  ASSERT_EQ(soft.Height(), 94);
  int64_t greys = 0, whites = 0;
  for (int64_t y = 0; y < soft.Height(); ++y)
    for (int64_t x = 0; x < soft.Width(); ++x) {
      const TBGR c = soft.Pixel(x, y);
      EXPECT_TRUE(c.r == c.g && c.g == c.b);
      greys += c.r != 0 && c.r != 255;
      whites += c.r == 255;
    }
  EXPECT_GT(greys, 200);
  EXPECT_LT(greys, 1200);
  EXPECT_GT(whites, 4000);
  EXPECT_EQ(soft.Pixel(56, 47), kWhite);
  EXPECT_EQ(soft.Pixel(0, 0), kBlack);
}

TEST(RotateImage, OneBitIgnoresAntialiasAndFillsWithTheBackgroundBit) {
  const TIEWorkingBitmap ones = Bits(100, 50, [](int, int) { return true; });
  TIEWorkingBitmap a = ones, b = ones;
  ASSERT_TRUE(RotateImage(a, 30, false, kBlack));
  ASSERT_TRUE(RotateImage(b, 30, true, kBlack));
  EXPECT_TRUE(SamePixels(a, b));
  EXPECT_EQ(a.PixelFormat(), TIEPixelFormat::pf1bit);
  // Sine and cosine cut to four places: |100 * 0.866| + |50 * 0.4999| and so on.
  EXPECT_EQ(a.Width(), 111);
  EXPECT_EQ(a.Height(), 93);
  EXPECT_FALSE(GetBit(a.ScanLine(0), 0));
  EXPECT_TRUE(GetBit(a.ScanLine(46), 55));
  TIEWorkingBitmap zeros = Bits(100, 50, [](int, int) { return false; });
  ASSERT_TRUE(RotateImage(zeros, 30, false, kTeal));
  EXPECT_TRUE(GetBit(zeros.ScanLine(0), 0));
  EXPECT_FALSE(GetBit(zeros.ScanLine(46), 55));
  TIEWorkingBitmap dot = Bits(1, 1, [](int, int) { return true; });
  ASSERT_TRUE(RotateImage(dot, 0.001, false, kBlack));
  EXPECT_EQ(dot.Width(), 1);
  EXPECT_EQ(dot.Height(), 1);
}

TEST(RotateImage, ProgressAndPixelLimit) {
  TIEWorkingBitmap img = Distinct(60, 40);
  std::vector<int> seen;
  ASSERT_TRUE(RotateImage(img, 33, true, kBlack, [&](int p) { seen.push_back(p); }));
  ASSERT_GT(seen.size(), 20u);
  EXPECT_EQ(seen.front(), 0);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_GE(seen.back(), 95);
  EXPECT_LE(seen.back(), 100);

  const TIEWorkingBitmap before = Distinct(60, 40);
  TIEWorkingBitmap big = before, bits = Bits(60, 40, [](int x, int) { return x % 2; });
  const TIEWorkingBitmap bitsBefore = bits;
  const int64_t limit = MaxImagePixels();
  SetMaxImagePixels(3000);
  EXPECT_FALSE(RotateImage(big, 30, false, kBlack));
  EXPECT_FALSE(RotateImage(bits, 45, false, kBlack));
  SetMaxImagePixels(limit);
  EXPECT_TRUE(SamePixels(big, before));
  EXPECT_TRUE(SamePixels(bits, bitsBefore));
}

// Centre of the white pixels, relative to the image centre.
std::pair<double, double> WhiteCentre(int w, int h, const std::function<bool(int, int)>& white) {
  double sx = 0, sy = 0, n = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (white(x, y)) sx += x, sy += y, ++n;
  return {sx / n - (w - 1) / 2.0, sy / n - (h - 1) / 2.0};
}

// An off-centre block turned counter-clockwise lands where Pillow puts it.
TEST(RotateImage, GeometryMatchesPillow) {
  if (!HavePillow()) GTEST_SKIP() << "no python3 with Pillow";
  TempDir dir;
  const auto block = [](int x, int y) { return x >= 44 && x < 56 && y >= 6 && y < 14; };
  const TIEWorkingBitmap colour = MakeImage(64, 40, [&](int x, int y) { return block(x, y) ? kWhite : kBlack; });
  const TIEWorkingBitmap bits = Bits(64, 40, block);
  for (double angle : {30.0, -40.0, 135.0}) {
    std::ostringstream py;
    py << "from PIL import Image\nim = Image.new('L', (64, 40), 0)\nim.paste(255, (44, 6, 56, 14))\n"
       << "out = im.rotate(" << angle << ", Image.NEAREST, expand=True)\n"
       << "open(r'''" << dir.File("size") << "''', 'w').write('%d %d' % out.size)\n"
       << "out.save(r'''" << dir.File("out.pgm") << "''')\n";
    ASSERT_EQ(RunPython(py.str()), 0);
    const std::vector<uint8_t> sizeText = ReadFileBytes(dir.File("size"));
    std::istringstream size(std::string(sizeText.begin(), sizeText.end()));
    int pw = 0, ph = 0;
    size >> pw >> ph;
    const std::vector<uint8_t> pgm = ReadFileBytes(dir.File("out.pgm"));
    const size_t offset = pgm.size() - size_t(pw * ph);
    const auto [px, py2] = WhiteCentre(pw, ph, [&](int x, int y) { return pgm[offset + size_t(y * pw + x)] > 127; });
    for (const TIEWorkingBitmap* source : {&colour, &bits}) {
      TIEWorkingBitmap img = *source;
      ASSERT_TRUE(RotateImage(img, angle, true, kBlack));
      EXPECT_NEAR(double(img.Width()), pw, 4) << angle;
      EXPECT_NEAR(double(img.Height()), ph, 4) << angle;
      const auto [qx, qy] = WhiteCentre(int(img.Width()), int(img.Height()),
                                        [&](int x, int y) { return GreyLevel(img.Pixel(x, y)) > 126; });
      EXPECT_NEAR(qx, px, 1.5) << angle << " bits " << source->BitCount();
      EXPECT_NEAR(qy, py2, 1.5) << angle << " bits " << source->BitCount();
    }
  }
}

}  // namespace
}  // namespace quillet::test
