// The Black-and-White threshold: the rule's edges, bit packing with a partial
// last byte, and the rows against NumPy doing the same sum, compare and packbits.
#include <gtest/gtest.h>

#include <cstring>

#include "imaging/proc/threshold_bw.h"
#include "proc/proc_images.h"
#include "support/numpy_oracle.h"

namespace quillet::test {
namespace {

// Bytes of every row up to the padding, which must be zero too.
std::vector<uint8_t> Rows(const TIEWorkingBitmap& b) { return {b.Bits(), b.Bits() + b.RowBytes() * b.Height()}; }

TIEWorkingBitmap Threshold(const TIEWorkingBitmap& source, int t) {
  TIEWorkingBitmap out;
  EXPECT_TRUE(ThresholdToBlackWhite(source, out, t));
  return out;
}

TEST(ThresholdBW, EdgesOfTheRule) {
  // 11 pixels: the last byte holds three.
  const TBGR row[] = {MakeBGR(128, 128, 127), MakeBGR(128, 128, 128), kWhite, kBlack, MakeBGR(255, 255, 254),
                      MakeBGR(0, 0, 1), MakeBGR(200, 100, 84), MakeBGR(200, 100, 83), kWhite, kBlack, kWhite};
  const TIEWorkingBitmap source = MakeImage(11, 2, [&](int x, int) { return row[x]; });
  struct Case {
    int t;
    uint8_t first, last;  // the row's two bytes
  } cases[] = {{128, 0b0110'1010, 0b1010'0000}, {0, 0xFF, 0xE0}, {255, 0b0010'0000, 0b1010'0000},
               {1, 0b1110'1011, 0b1010'0000}};
  for (const Case& c : cases) {
    const TIEWorkingBitmap out = Threshold(source, c.t);
    ASSERT_EQ(out.PixelFormat(), TIEPixelFormat::pf1bit);
    EXPECT_EQ(out.Palette(), BlackWhitePalette());
    for (int y = 0; y < 2; ++y) {
      EXPECT_EQ(out.ScanLine(y)[0], c.first) << c.t;
      EXPECT_EQ(out.ScanLine(y)[1], c.last) << c.t;
      EXPECT_EQ(out.ScanLine(y)[2] | out.ScanLine(y)[3], 0) << c.t;
    }
  }
  // An 8-bit source compares its byte; other formats are refused.
  TIEWorkingBitmap grey(10, 1, TIEPixelFormat::pf8bit);
  for (int x = 0; x < 10; ++x) grey.ScanLine(0)[x] = uint8_t(120 + 2 * x);
  EXPECT_EQ(Threshold(grey, 128).ScanLine(0)[0], 0b0000'1111);
  EXPECT_EQ(Threshold(grey, 128).ScanLine(0)[1], 0b1100'0000);
  TIEWorkingBitmap untouched(3, 3, TIEPixelFormat::pf24bit);
  EXPECT_FALSE(ThresholdToBlackWhite(Threshold(grey, 1), untouched, 1));
  EXPECT_EQ(untouched.PixelFormat(), TIEPixelFormat::pf24bit);
}

TEST(ThresholdBW, RowsAgainstNumPy) {
  if (!HavePillow()) GTEST_SKIP() << "no python3 with NumPy";
  // Channels close to the thresholds, on a width that leaves a partial byte.
  const TIEWorkingBitmap source = MakeImage(45, 7, [](int x, int y) {
    const uint32_t v = uint32_t(x * 2654435761u ^ y * 40503u) * 2246822519u;
    return MakeBGR(uint8_t(100 + (v >> 24) % 60), uint8_t(100 + (v >> 16) % 60), uint8_t(100 + (v >> 8) % 60));
  });
  const int thresholds[] = {0, 1, 115, 128, 129, 140, 254, 255};
  TNumPyOracle oracle;
  oracle.Image("im", source);
  std::string script = "rows = []\n";
  for (int t : thresholds)
    script += "bits = np.packbits(im.sum(axis=2) >= 3 * " + std::to_string(t) + ", axis=1)\n"
              "rows.append(np.pad(bits, ((0, 0), (0, 8 - bits.shape[1]))))\n";
  ASSERT_TRUE(oracle.Run(script + "save('rows', np.stack(rows))\n"));
  const std::vector<uint8_t> expected = oracle.Output("rows");
  ASSERT_EQ(expected.size(), std::size(thresholds) * 7 * 8);
  for (size_t i = 0; i < std::size(thresholds); ++i) {
    const std::vector<uint8_t> want(expected.begin() + i * 56, expected.begin() + (i + 1) * 56);
    EXPECT_EQ(Rows(Threshold(source, thresholds[i])), want) << thresholds[i];
  }
}

}  // namespace
}  // namespace quillet::test
