// Writing GIF files: the byte layout for 8 and 1 bits, sub-blocks, round
// trips through our coders, and the depth, palette and screen rules.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "gif_support.h"
#include "imaging/core/engine_settings.h"

namespace quillet::test {
namespace {

const TBGR kRed = MakeBGR(255, 0, 0), kBlue = MakeBGR(0, 0, 255);

TIEWorkingBitmap Picture(int w, int h, TIEPixelFormat format = TIEPixelFormat::pf24bit) {
  TIEWorkingBitmap b(w, h, format);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      PutPixel(b, x, y, format == TIEPixelFormat::pf1bit ? ((x + y) % 3 ? kWhite : kBlack)
                                                        : MakeBGR(uint8_t(x * 40), uint8_t(y * 30), 100));
  return b;
}

std::vector<uint8_t> Write(const TIEWorkingBitmap& b, const std::function<void(TIOParamsVals&)>& setup = {}) {
  TIOParamsVals p;
  if (setup) setup(p);
  return Encode(WriteGIFStream, b, p);
}

TEST_F(GifTest, ByteLayoutOfEightAndOneBits) {
  for (const bool transparent : {false, true}) {
    const std::vector<uint8_t> f = Write(Picture(5, 4), [&](TIOParamsVals& p) {
      p.BitsPerSample = 8;
      p.GifTransparent = transparent;
    });
    ASSERT_GT(f.size(), 800u);
    EXPECT_EQ(std::string(f.begin(), f.begin() + 6), "GIF89a");
    EXPECT_EQ(f[10], 0xF7);
    EXPECT_EQ(std::vector<uint8_t>(f.begin() + 781, f.begin() + 785),
              (std::vector<uint8_t>{0x21, 0xF9, 0x04, uint8_t(transparent ? 0x09 : 0x08)}));
    EXPECT_EQ(f[789], 0x2C);
    EXPECT_EQ(f[799], 0x08);
    EXPECT_EQ(f.back(), 0x3B);
  }
  const std::vector<uint8_t> f = Write(Picture(9, 3, TIEPixelFormat::pf1bit), [](TIOParamsVals& p) { p.BitsPerSample = 1; });
  EXPECT_EQ(f[10], 0x80);
  EXPECT_EQ(std::vector<uint8_t>(f.begin() + 13, f.begin() + 19), (std::vector<uint8_t>{0, 0, 0, 255, 255, 255}));
  EXPECT_EQ(f[37], 0x02);
}

TEST_F(GifTest, EncoderWritesFullSubBlocks) {
  const std::vector<uint8_t> same(100000, 3);
  const std::vector<uint8_t> data = LzwData(same, 1000, 100, 8, false);
  size_t at = 1, blocks = 0;
  while (data[at] != 0) {
    const size_t length = data[at];
    at += length + 1;
    if (data[at] != 0) EXPECT_EQ(length, 254u) << "block " << blocks;
    ++blocks;
  }
  EXPECT_EQ(at, data.size() - 1);
  EXPECT_GT(blocks, 1u);
  std::vector<uint8_t> back(same.size(), 9);
  TIEMemoryStream s(data.data(), int64_t(data.size()));
  ASSERT_TRUE(GifLzwDecode(s, 100, 1000, back.data(), false));
  EXPECT_EQ(back, same);
}

TEST_F(GifTest, RandomIndicesRoundTripThroughOurCoders) {
  std::mt19937 random(7);
  for (const int bits : {2, 5, 8})
    for (const bool interlaced : {false, true}) {
      std::vector<uint8_t> indices(640 * 480);
      // Runs of random length keep the table filling and clearing at every width.
      for (size_t i = 0; i < indices.size(); ++i)
        indices[i] = i % 50 < 25 ? uint8_t(random() % (1u << bits)) : indices[i - 1];
      const std::vector<uint8_t> data = LzwData(indices, 640, 480, bits, interlaced);
      std::vector<uint8_t> back(indices.size(), 0);
      TIEMemoryStream s(data.data(), int64_t(data.size()));
      ASSERT_TRUE(GifLzwDecode(s, 480, 640, back.data(), interlaced)) << bits;
      EXPECT_EQ(back, indices) << bits << " interlaced " << interlaced;
      EXPECT_EQ(s.Position(), int64_t(data.size()));
    }
}

TEST_F(GifTest, WrittenImagesReadBack) {
  const TIEWorkingBitmap bilevel = Picture(9, 5, TIEPixelFormat::pf1bit);
  const Decoded one = DecodeGif(Write(bilevel, [](TIOParamsVals& p) { p.BitsPerSample = 1; }));
  ASSERT_FALSE(one.aborted) << one.error;
  EXPECT_EQ(one.bitmap.BitCount(), 1);
  for (int y = 0; y < 5; ++y) EXPECT_EQ(0, std::memcmp(one.bitmap.ScanLine(y), bilevel.ScanLine(y), 2)) << y;

  // Two colours at one bit keep their colours; BitsPerSample 16 writes 8 bits.
  TIEWorkingBitmap two = Picture(6, 3);
  for (int i = 0; i < 18; ++i) PutPixel(two, i % 6, i / 6, i % 4 ? kRed : kBlue);
  const Decoded kept = DecodeGif(Write(two, [](TIOParamsVals& p) { p.BitsPerSample = 1; }));
  ASSERT_FALSE(kept.aborted) << kept.error;
  EXPECT_EQ(RgbBytes(kept.bitmap), RgbBytes(two));
  const std::vector<uint8_t> sixteen = Write(two, [](TIOParamsVals& p) { p.BitsPerSample = 16; });
  EXPECT_EQ(sixteen[10], 0xF7);
  EXPECT_EQ(RgbBytes(DecodeGif(sixteen).bitmap), RgbBytes(two));

  // The screen holds the image at its position; the version is one of the two.
  const std::vector<uint8_t> placed = Write(two, [](TIOParamsVals& p) {
    p.GifXPos = 10, p.GifYPos = 5, p.GifVersion = "GIF8?x";
    p.GifInterlaced = true;
  });
  EXPECT_EQ(std::string(placed.begin(), placed.begin() + 6), "GIF89a");
  const Decoded at = DecodeGif(placed);
  EXPECT_EQ(at.params.GifScreenWidth, 16);
  EXPECT_EQ(at.params.GifScreenHeight, 8);
  EXPECT_EQ(at.params.GifXPos, 10);
  EXPECT_TRUE(at.params.GifInterlaced);
  EXPECT_EQ(RgbBytes(at.bitmap), RgbBytes(two));
  const std::vector<uint8_t> old = Write(two, [](TIOParamsVals& p) { p.GifVersion = "GIF87a"; });
  EXPECT_EQ(std::string(old.begin(), old.begin() + 6), "GIF87a");
}

TEST_F(GifTest, WriteWithoutEncoderFails) {
  SetLzwSlots({});
  TIOParamsVals p;
  TIEMemoryStream s;
  EXPECT_TRUE(EncodeTo(WriteGIFStream, Picture(3, 3), p, s));
  EXPECT_EQ(s.Size(), 0);
}

}  // namespace
}  // namespace quillet::test
