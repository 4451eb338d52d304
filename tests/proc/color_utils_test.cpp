// Two-colour detection (bits, the darker colour first, refusals), the
// nearest palette entry and the red-blue swap.
#include <gtest/gtest.h>

#include "imaging/core/bits.h"
#include "imaging/proc/color_utils.h"
#include "proc_images.h"

namespace quillet::test {
namespace {

bool Text(int x, int y) { return (x * 3 + y) % 5 == 0; }

TEST(ExtractTwoColours, TextOnBackgroundPutsTheDarkerFirst) {
  for (bool whiteText : {true, false}) {
    const TBGR text = whiteText ? kWhite : kBlack, back = whiteText ? kBlack : kWhite;
    const TIEWorkingBitmap img = MakeImage(13, 4, [&](int x, int y) { return Text(x, y) ? text : back; });
    std::array<TBGR, 2> colours{};
    const auto bits = ExtractTwoColours(img, colours);
    ASSERT_TRUE(bits) << whiteText;
    EXPECT_EQ(colours[0], kBlack);
    EXPECT_EQ(colours[1], kWhite);
    ASSERT_EQ(bits->PixelFormat(), TIEPixelFormat::pf1bit);
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 13; ++x) EXPECT_EQ(GetBit(bits->ScanLine(y), x), Text(x, y) == whiteText) << x << "," << y;
      EXPECT_EQ(bits->ScanLine(y)[1] & 0x07, 0) << "padding bits stay clear";
    }
  }
}

TEST(ExtractTwoColours, ColoursKeepTheirValues) {
  const TBGR dark = MakeBGR(10, 90, 30), light = MakeBGR(250, 200, 0);
  const TIEWorkingBitmap img = MakeImage(5, 5, [&](int x, int) { return x == 0 ? light : dark; });
  std::array<TBGR, 2> colours{};
  const auto bits = ExtractTwoColours(img, colours);
  ASSERT_TRUE(bits);
  EXPECT_EQ(colours[0], dark);
  EXPECT_EQ(colours[1], light);
  EXPECT_TRUE(GetBit(bits->ScanLine(3), 0));
  EXPECT_FALSE(GetBit(bits->ScanLine(3), 1));
}

TEST(ExtractTwoColours, OneOrThreeColoursGiveNothing) {
  const std::array<TBGR, 2> untouched{MakeBGR(1, 2, 3), MakeBGR(4, 5, 6)};
  const TIEWorkingBitmap one = MakeImage(7, 3, [](int, int) { return MakeBGR(9, 9, 9); });
  const TIEWorkingBitmap three = MakeImage(7, 3, [](int x, int y) {
    return y == 2 && x == 6 ? MakeBGR(0, 0, 1) : (x % 2 ? kBlack : kWhite);
  });
  const TIEWorkingBitmap empty, bilevel(8, 2, TIEPixelFormat::pf1bit);
  for (const TIEWorkingBitmap* img : {&one, &three, &empty, &bilevel}) {
    std::array<TBGR, 2> colours = untouched;
    EXPECT_FALSE(ExtractTwoColours(*img, colours));
    EXPECT_EQ(colours, untouched);
  }
}

TEST(PaletteUtils, NearestEntryAndSwap) {
  std::vector<TBGR> palette = {MakeBGR(10, 10, 10), MakeBGR(10, 10, 10), MakeBGR(0, 0, 0), MakeBGR(200, 0, 50)};
  EXPECT_EQ(NearestPaletteIndex(palette, 0x0A0A0A), 0);
  EXPECT_EQ(NearestPaletteIndex(palette, 0x010101), 2);
  EXPECT_EQ(NearestPaletteIndex(palette, 0xFF0000), 3);
  EXPECT_EQ(NearestPaletteIndex({}, 0xFF0000), 0);
  const std::vector<TBGR> before = palette;
  SwapPaletteRB(palette);
  EXPECT_EQ(palette[3], MakeBGR(50, 0, 200));
  SwapPaletteRB(palette);
  EXPECT_EQ(palette, before);
}

}  // namespace
}  // namespace quillet::test
