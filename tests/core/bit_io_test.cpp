// The bit readers and writers of the LZW and CCITT codecs.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "imaging/core/bit_io.h"

namespace quillet {
namespace {

TEST(BitIO, LsbOrderIsGifOrder) {
  // Codes 4 (3 bits), 1, 6, 5: GIF packs the first code into the low bits.
  std::vector<uint8_t> out;
  TIEBitWriterLSB w(out);
  w.WriteBits(4, 3);
  w.WriteBits(1, 3);
  w.WriteBits(6, 3);
  w.WriteBits(5, 3);
  w.Flush();
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0], 0x8C);  // 10 001 100
  EXPECT_EQ(out[1], 0x0B);  // 0000 101 1
  TIEBitReaderLSB r(out.data(), out.size());
  uint32_t v;
  ASSERT_TRUE(r.ReadBits(3, v));
  EXPECT_EQ(v, 4u);
  EXPECT_EQ(r.PeekBits(6), 1u | 6u << 3);
  ASSERT_TRUE(r.ReadBits(3, v));
  EXPECT_EQ(v, 1u);
  ASSERT_TRUE(r.ReadBits(6, v));
  EXPECT_EQ(v, 6u | 5u << 3);
  EXPECT_EQ(r.BitsLeft(), 4);
}

TEST(BitIO, MsbOrderIsTiffOrder) {
  // TIFF LZW: 9-bit codes 256 (clear) and 65, most significant bit first.
  std::vector<uint8_t> out;
  TIEBitWriterMSB w(out);
  w.WriteBits(256, 9);
  w.WriteBits(65, 9);
  w.Flush();
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(out[0], 0x80);  // 1000 0000
  EXPECT_EQ(out[1], 0x10);  // 0 001 0000
  EXPECT_EQ(out[2], 0x40);  // 01 000000
  EXPECT_EQ(w.BitCount(), 24);
  TIEBitReaderMSB r(out.data(), out.size());
  uint32_t v;
  ASSERT_TRUE(r.ReadBits(9, v));
  EXPECT_EQ(v, 256u);
  ASSERT_TRUE(r.ReadBits(9, v));
  EXPECT_EQ(v, 65u);
  EXPECT_EQ(r.BitsLeft(), 6);
}

TEST(BitIO, EndOfDataIsReportedNotOverrun) {
  const uint8_t data[2] = {0xAB, 0xCD};
  TIEBitReaderMSB r(data, 2);
  uint32_t v = 1;
  EXPECT_FALSE(r.ReadBits(17, v));
  EXPECT_EQ(v, 0u);
  EXPECT_TRUE(r.Exhausted());
  EXPECT_EQ(r.BitsLeft(), 16);  // nothing consumed
  EXPECT_EQ(r.PeekBits(24), 0xABCD00u);  // zeros past the end
  ASSERT_TRUE(r.ReadBits(16, v));
  EXPECT_EQ(v, 0xABCDu);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_FALSE(r.ReadBits(1, v));
  ASSERT_TRUE(r.ReadBits(0, v));
  EXPECT_EQ(v, 0u);

  TIEBitReaderLSB l(data, 2);
  EXPECT_EQ(l.PeekBits(32), 0xCDABu);
  ASSERT_TRUE(l.ReadBits(4, v));
  EXPECT_EQ(v, 0xBu);
  EXPECT_FALSE(l.ReadBits(13, v));
  ASSERT_TRUE(l.ReadBits(12, v));
  EXPECT_EQ(v, 0xCDAu);

  TIEBitReaderLSB empty(nullptr, 5);
  EXPECT_TRUE(empty.AtEnd());
  EXPECT_FALSE(empty.ReadBits(1, v));
}

TEST(BitIO, SkipAndAlign) {
  const uint8_t data[4] = {0xF0, 0x0F, 0x55, 0xAA};
  TIEBitReaderMSB r(data, 4);
  uint32_t v;
  ASSERT_TRUE(r.ReadBits(3, v));
  r.AlignToByte();
  EXPECT_EQ(r.BitsLeft(), 24);
  ASSERT_TRUE(r.ReadBits(8, v));
  EXPECT_EQ(v, 0x0Fu);
  EXPECT_TRUE(r.SkipBits(9));
  ASSERT_TRUE(r.ReadBits(7, v));
  EXPECT_EQ(v, 0x2Au);
  EXPECT_FALSE(r.SkipBits(1));
  EXPECT_TRUE(r.AtEnd());

  TIEBitReaderLSB l(data, 4);
  EXPECT_TRUE(l.SkipBits(20));
  ASSERT_TRUE(l.ReadBits(4, v));
  EXPECT_EQ(v, 0x5u);
  EXPECT_FALSE(l.SkipBits(100));
  EXPECT_TRUE(l.AtEnd());
}

// Random code streams of 1..32 bits come back as written in both orders.
template <class Writer, class Reader>
void RoundTrip(uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<std::pair<uint32_t, int>> codes;
  std::vector<uint8_t> out;
  Writer w(out);
  int64_t bits = 0;
  for (int i = 0; i < 5000; ++i) {
    const int n = 1 + int(rng() % 32);
    const uint32_t value = n == 32 ? rng() : rng() & ((1u << n) - 1);
    codes.emplace_back(value, n);
    w.WriteBits(value | (n < 32 ? 0xFFFFFFFFu << n : 0), n);  // high garbage is ignored
    bits += n;
  }
  w.Flush();
  ASSERT_EQ(int64_t(out.size()), (bits + 7) / 8);
  Reader r(out.data(), out.size());
  for (const auto& [value, n] : codes) {
    uint32_t v;
    ASSERT_TRUE(r.ReadBits(n, v));
    ASSERT_EQ(v, value);
  }
  EXPECT_LT(r.BitsLeft(), 8);
}

TEST(BitIO, RandomRoundTrips) {
  RoundTrip<TIEBitWriterLSB, TIEBitReaderLSB>(1);
  RoundTrip<TIEBitWriterMSB, TIEBitReaderMSB>(2);
}

}  // namespace
}  // namespace quillet
