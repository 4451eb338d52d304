// sRGB <-> CIE L*a*b* (D65) of the TIFF codec.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "imaging/core/lab.h"

namespace quillet {
namespace {

int MaxChannelError(const TBGR& x, const TBGR& y) {
  return std::max({std::abs(x.r - y.r), std::abs(x.g - y.g), std::abs(x.b - y.b)});
}

TEST(Lab, WhiteAndBlackAreTheEnds) {
  EXPECT_EQ(RGBToLab(kWhite), (TIELab{255, 0, 0}));
  EXPECT_EQ(LabToRGB(TIELab{255, 0, 0}), kWhite);
  EXPECT_EQ(RGBToLab(kBlack), (TIELab{0, 0, 0}));
  EXPECT_EQ(LabToRGB(TIELab{0, 0, 0}), kBlack);
}

TEST(Lab, KnownColours) {
  // Reference values of the sRGB / D65 conversion (L* 53.24, a* 80.09, b* 67.20 for red).
  EXPECT_EQ(RGBToLab(MakeBGR(255, 0, 0)), (TIELab{136, 80, 67}));
  EXPECT_EQ(RGBToLab(MakeBGR(0, 255, 0)), (TIELab{224, -86, 83}));
  EXPECT_EQ(RGBToLab(MakeBGR(0, 0, 255)), (TIELab{82, 79, -108}));
  EXPECT_EQ(RGBToLab(MakeBGR(128, 128, 128)), (TIELab{137, 0, 0}));
}

TEST(Lab, GreysRoundTripWithinOneLevel) {
  for (int v = 0; v < 256; ++v) {
    const TBGR grey = MakeBGR(uint8_t(v), uint8_t(v), uint8_t(v));
    const TIELab lab = RGBToLab(grey);
    EXPECT_EQ(lab.a, 0) << v;
    EXPECT_EQ(lab.b, 0) << v;
    EXPECT_LE(MaxChannelError(LabToRGB(lab), grey), 1) << v;
  }
}

TEST(Lab, PrimariesComeBackAsThemselves) {
  const TBGR blue = MakeBGR(0, 0, 255), red = MakeBGR(255, 0, 0);
  const TBGR blueBack = LabToRGB(RGBToLab(blue));
  EXPECT_LE(MaxChannelError(blueBack, blue), 2);
  EXPECT_LT(blueBack.r, 10);  // not flipped to red
  EXPECT_LE(MaxChannelError(LabToRGB(RGBToLab(red)), red), 2);
  // A negative a* (green) and b* (blue) survive as signed bytes.
  EXPECT_LT(RGBToLab(MakeBGR(0, 255, 0)).a, 0);
  EXPECT_LT(RGBToLab(blue).b, 0);
}

// The CIE L*a*b* of a pixel in full precision, to measure colour differences.
void ExactLab(const TBGR& c, double out[3]) {
  auto lin = [](int i) {
    const double v = i / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  const double r = lin(c.r), g = lin(c.g), b = lin(c.b);
  const double x = (0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / 0.95047;
  const double y = (0.2126729 * r + 0.7151522 * g + 0.0721750 * b) / 1.0000001;
  const double z = (0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / 1.08883;
  auto f = [](double t) {
    const double d = 6.0 / 29.0;
    return t > d * d * d ? std::cbrt(t) : t / (3 * d * d) + 4.0 / 29.0;
  };
  out[0] = 116 * f(y) - 16;
  out[1] = 500 * (f(x) - f(y));
  out[2] = 200 * (f(y) - f(z));
}

// With a* and b* in whole units, a saturated colour with one small channel
// cannot come back within a few levels of that channel (a green of 255 comes
// back with red 7), so the round trip is measured as a colour difference; the
// packed values themselves are stable.
TEST(Lab, RoundTripsOfAColourGridAreInvisible) {
  double worst = 0;
  for (int r = 0; r < 256; r += 15)
    for (int g = 0; g < 256; g += 15)
      for (int b = 0; b < 256; b += 15) {
        const TBGR c = MakeBGR(uint8_t(r), uint8_t(g), uint8_t(b));
        const TIELab lab = RGBToLab(c);
        const TBGR back = LabToRGB(lab);
        double p[3], q[3];
        ExactLab(c, p);
        ExactLab(back, q);
        worst = std::max(worst, std::hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]));
        const TIELab again = RGBToLab(back);
        EXPECT_LE(std::abs(again.L - lab.L), 1) << r << "," << g << "," << b;
        EXPECT_LE(std::abs(again.a - lab.a), 1) << r << "," << g << "," << b;
        EXPECT_LE(std::abs(again.b - lab.b), 1) << r << "," << g << "," << b;
      }
  EXPECT_LT(worst, 1.5);  // a just noticeable difference is about 2.3
}

TEST(Lab, OutOfGamutValuesClampIntoRange) {
  // a = -128 is a real value (no sign flip), and extreme codes stay in range.
  const TBGR c = LabToRGB(TIELab{128, -128, 127});
  const TBGR d = LabToRGB(TIELab{128, 127, -128});
  EXPECT_GT(c.g, c.r);  // strong green-yellow
  EXPECT_GT(d.b, d.g);  // strong magenta-blue
  EXPECT_EQ(LabToRGB(TIELab{255, 127, 127}).r, 255);
}

}  // namespace
}  // namespace quillet
