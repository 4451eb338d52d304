// Row, bit and power helpers, and the numeric helpers of math.h.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "imaging/core/bits.h"
#include "imaging/core/math.h"
#include "imaging/core/engine_settings.h"

namespace quillet {
namespace {

TEST(Bits, RowLengthAlignsToFourBytes) {
  EXPECT_EQ(RowLength(1, 1), 4);
  EXPECT_EQ(RowLength(32, 1), 4);
  EXPECT_EQ(RowLength(33, 1), 8);
  EXPECT_EQ(RowLength(1, 24), 4);
  EXPECT_EQ(RowLength(5, 24), 16);
  EXPECT_EQ(RowLength(0, 24), 0);
  EXPECT_EQ(RowLength(100000000, 24), 300000000);  // no 32-bit overflow
  EXPECT_EQ(RowLengthOfFormat(33, TIEPixelFormat::pf1bit), 8);
  EXPECT_EQ(RowLengthOfFormat(3, TIEPixelFormat::pf15bit), 8);
  EXPECT_EQ(RowLengthOfFormat(17, TIEPixelFormat::pf15bit), 36);  // 16-bit words, not 15 bits
  EXPECT_EQ(RowLengthOfFormat(100, TIEPixelFormat::pfNone), 0);
}

TEST(Bits, BitsOfFormat) {
  EXPECT_EQ(BitsOfFormat(TIEPixelFormat::pf1bit), 1);
  EXPECT_EQ(BitsOfFormat(TIEPixelFormat::pf4bit), 4);
  EXPECT_EQ(BitsOfFormat(TIEPixelFormat::pf8bit), 8);
  EXPECT_EQ(BitsOfFormat(TIEPixelFormat::pf15bit), 15);
  EXPECT_EQ(BitsOfFormat(TIEPixelFormat::pf16bit), 16);
  EXPECT_EQ(BitsOfFormat(TIEPixelFormat::pf24bit), 24);
  EXPECT_EQ(BitsOfFormat(TIEPixelFormat::pf32bit), 32);
  EXPECT_EQ(BitsOfFormat(TIEPixelFormat::pfNone), 0);
}

TEST(Bits, SetAndGetBitMostSignificantFirst) {
  uint8_t row[4] = {};
  SetBit(row, 0, true);
  EXPECT_EQ(row[0], 0x80);
  SetBit(row, 7, true);
  EXPECT_EQ(row[0], 0x81);
  SetBit(row, 9, true);
  EXPECT_EQ(row[1], 0x40);
  EXPECT_TRUE(GetBit(row, 0));
  EXPECT_FALSE(GetBit(row, 1));
  EXPECT_TRUE(GetBit(row, 9));
  SetBit(row, 0, false);
  EXPECT_EQ(row[0], 0x01);
  EXPECT_EQ(row[2], 0);
}

TEST(Bits, Reversal) {
  EXPECT_EQ(ReverseBits8(0x12), 0x48);
  EXPECT_EQ(ReverseBits8(0x01), 0x80);
  EXPECT_EQ(ReverseBits8(0xF0), 0x0F);
  for (int v = 0; v < 256; ++v) EXPECT_EQ(ReverseBits8(ReverseBits8(uint8_t(v))), v);
  EXPECT_EQ(ReverseBits32(1), 0x80000000u);
  EXPECT_EQ(ReverseBits32(0x12345678u), 0x1E6A2C48u);
  EXPECT_EQ(Swap16(0x1234), 0x3412);
  EXPECT_EQ(Swap32(0x12345678u), 0x78563412u);
}

TEST(Bits, BitFields) {
  EXPECT_EQ(BitFieldLength(0x07E0), 6);
  EXPECT_EQ(BitFieldLength(0xF800), 5);
  EXPECT_EQ(BitFieldLength(0x001F), 5);
  EXPECT_EQ(BitFieldLength(0), 0);
  EXPECT_EQ(BitFieldLength(0xFF000000u), 8);
  EXPECT_EQ(BitFieldLength(0x0101), 1);  // only the run at the lowest set bit
  EXPECT_EQ(BitFieldShift(0), -1);
  EXPECT_EQ(BitFieldShift(0x0400), 10);
  EXPECT_EQ(BitFieldShift(0x7C00), 15);
  EXPECT_EQ(BitFieldShift(1), 0);
  EXPECT_EQ(BitFieldShift(0x80000000u), 31);
  EXPECT_EQ(BitFieldShift(0xFF000000u), 32);
}

TEST(Power, IntPower) {
  EXPECT_DOUBLE_EQ(IntPower(2, 10), 1024);
  EXPECT_DOUBLE_EQ(IntPower(2, -2), 0.25);
  EXPECT_DOUBLE_EQ(IntPower(-3, 3), -27);
  EXPECT_DOUBLE_EQ(IntPower(7, 0), 1);
  EXPECT_DOUBLE_EQ(IntPower(1.5, 1), 1.5);
  EXPECT_DOUBLE_EQ(IntPower(1, std::numeric_limits<int64_t>::min()), 1);
}

TEST(Power, SpecialCasesAndFractions) {
  EXPECT_EQ(Power(5, 0), 1);
  EXPECT_EQ(Power(0, 0), 1);
  EXPECT_EQ(Power(0, 2.5), 0);
  EXPECT_NEAR(Power(2, 0.5), 1.414213562373095, 1e-12);
  EXPECT_NEAR(Power(10, -1.5), 0.0316227766016838, 1e-15);
  EXPECT_DOUBLE_EQ(Power(3, 4), 81);
  EXPECT_DOUBLE_EQ(Power(2, -3), 0.125);
  EXPECT_NEAR(Power(0.5, 1 / 2.2), std::pow(0.5, 1 / 2.2), 1e-14);
  EXPECT_NEAR(Power(1e10, 3.3), std::pow(1e10, 3.3), 1e-12 * std::pow(1e10, 3.3));
  // Exponents outside the 32-bit range take the logarithm road.
  EXPECT_NEAR(Power(1.0000000001, 1e10), std::exp(1.0), 1e-5);
}

TEST(Power, GammaTableOfPrinting) {
  std::vector<int64_t> t(256);
  for (int i = 0; i < 256; ++i) t[size_t(i)] = Round(255 * Power(i / 255.0, 1 / 2.2));
  EXPECT_EQ(t[0], 0);
  EXPECT_EQ(t[1], 21);
  EXPECT_EQ(t[64], 136);
  EXPECT_EQ(t[128], 186);
  EXPECT_EQ(t[200], 228);
  EXPECT_EQ(t[255], 255);
}

TEST(Math, RoundTiesToEvenAndTrunc) {
  EXPECT_EQ(Round(0.5), 0);
  EXPECT_EQ(Round(1.5), 2);
  EXPECT_EQ(Round(2.5), 2);
  EXPECT_EQ(Round(-0.5), 0);
  EXPECT_EQ(Round(-1.5), -2);
  EXPECT_EQ(Round(2.4999), 2);
  EXPECT_EQ(Round(std::nan("")), 0);
  EXPECT_EQ(Round(1e300), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(Trunc(-2.7), -2);
  EXPECT_EQ(Trunc(2.7), 2);
  EXPECT_EQ(Trunc(-1e300), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(Trunc(std::nan("")), 0);
}

TEST(Math, ImageBytesChecksSizeAndLimit) {
  EXPECT_EQ(ImageBytes(1, 1, 1), 4);
  EXPECT_EQ(ImageBytes(33, 2, 1), 16);
  EXPECT_EQ(ImageBytes(4000, 3000, 24), 36000000);
  EXPECT_FALSE(ImageBytes(0, 10, 24));
  EXPECT_FALSE(ImageBytes(10, -1, 24));
  EXPECT_FALSE(ImageBytes(10, 10, 0));
  EXPECT_EQ(MaxImagePixels(), int64_t(1) << 28);
  EXPECT_TRUE(ImageBytes(1 << 14, 1 << 14, 24));
  EXPECT_FALSE(ImageBytes((1 << 14) + 1, 1 << 14, 24));
  EXPECT_FALSE(ImageBytes(int64_t(1) << 40, int64_t(1) << 40, 24));  // no overflow
  const int64_t old = MaxImagePixels();
  SetMaxImagePixels(100);
  EXPECT_TRUE(ImageBytes(10, 10, 24));
  EXPECT_FALSE(ImageBytes(10, 11, 24));
  SetMaxImagePixels(old);
}

// CopyBits against a bit-by-bit copy at every pair of bit offsets, over runs
// long enough for the whole-word path, with and without a selecting row.
TEST(Bits, CopyBitsMatchesSingleBitCopies) {
  std::mt19937 rng(4);
  std::vector<uint8_t> src(40), select(40), start(40);
  for (auto* row : {&src, &select, &start})
    for (auto& v : *row) v = uint8_t(rng());
  for (const bool selecting : {false, true})
    for (int64_t srcX = 0; srcX < 9; ++srcX)
      for (int64_t dstX = 0; dstX < 9; ++dstX)
        for (const int64_t count : {1, 7, 8, 9, 70, 150, 300}) {
          std::vector<uint8_t> got = start, want = start;
          CopyBits(src.data(), srcX, got.data(), dstX, count, selecting ? select.data() : nullptr, 5);
          for (int64_t i = 0; i < count; ++i)
            if (!selecting || GetBit(select.data(), 5 + i)) SetBit(want.data(), dstX + i, GetBit(src.data(), srcX + i));
          ASSERT_EQ(got, want) << selecting << " " << srcX << " " << dstX << " " << count;
        }
}

}  // namespace
}  // namespace quillet
