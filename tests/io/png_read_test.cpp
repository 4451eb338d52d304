// The PNG reader on files built chunk by chunk: grey depths, 1-bit palettes,
// transparency into the alpha plane or over the background, interlace,
// resolution and damaged data.
#include <gtest/gtest.h>

#include "imaging/core/engine_settings.h"
#include "imaging/io/formats/png/png_codec.h"
#include "jpeg_png_support.h"

namespace quillet::test {
namespace {

std::vector<uint8_t> Palette(std::initializer_list<TBGR> colours) {
  std::vector<uint8_t> d;
  for (const TBGR& c : colours) d.insert(d.end(), {c.r, c.g, c.b});
  return d;
}

TEST(PngRead, GreyDepths) {
  // 1 bit stays 1 bit, 0 black and 1 white.
  const Decoded one = Decode(ReadPNGStream, PngBuilder().Header(9, 2, 1, 0).Rows({{0xA5, 0x80}, {0x00, 0x00}}).End());
  ASSERT_FALSE(one.aborted) << one.error;
  ASSERT_EQ(one.bitmap.PixelFormat(), TIEPixelFormat::pf1bit);
  EXPECT_EQ(one.bitmap.Pixel(0, 0), kWhite);
  EXPECT_EQ(one.bitmap.Pixel(1, 0), kBlack);
  EXPECT_EQ(one.bitmap.Pixel(8, 0), kWhite);
  EXPECT_EQ(one.bitmap.Pixel(8, 1), kBlack);
  // 4 bits, value 5: 85 in each channel of a 24-bit image.
  const Decoded four = Decode(ReadPNGStream, PngBuilder().Header(2, 1, 4, 0).Rows({{0x5F}}).End());
  ASSERT_FALSE(four.aborted) << four.error;
  EXPECT_EQ(four.bitmap.PixelFormat(), TIEPixelFormat::pf24bit);
  EXPECT_EQ(four.bitmap.Pixel(0, 0), MakeBGR(85, 85, 85));
  EXPECT_EQ(four.bitmap.Pixel(1, 0), kWhite);
  EXPECT_EQ(four.params.BitsPerSample, 4);
  EXPECT_EQ(four.params.SamplesPerPixel, 1);
  // 16 bits keep the high byte.
  const Decoded sixteen = Decode(ReadPNGStream, PngBuilder().Header(1, 1, 16, 0).Rows({{0x12, 0xFF}}).End());
  EXPECT_EQ(sixteen.bitmap.Pixel(0, 0), MakeBGR(0x12, 0x12, 0x12));
}

TEST(PngRead, OneBitPalettes) {
  const auto file = [](std::initializer_list<TBGR> colours) {
    return PngBuilder().Header(8, 1, 1, 3).Chunk("PLTE", Palette(colours)).Rows({{0xF0}}).End();
  };
  for (const bool whiteFirst : {false, true}) {
    const Decoded d = Decode(ReadPNGStream, whiteFirst ? file({kWhite, kBlack}) : file({kBlack, kWhite}));
    ASSERT_FALSE(d.aborted) << d.error;
    EXPECT_EQ(d.bitmap.PixelFormat(), TIEPixelFormat::pf1bit);
    EXPECT_EQ(d.bitmap.Pixel(0, 0), whiteFirst ? kBlack : kWhite);
    EXPECT_EQ(d.bitmap.Pixel(7, 0), whiteFirst ? kWhite : kBlack);
    EXPECT_EQ(d.params.ColorMapCount, 2);
  }
  const TBGR red = MakeBGR(255, 0, 0), blue = MakeBGR(0, 0, 255);
  const Decoded colours = Decode(ReadPNGStream, file({red, blue}));
  EXPECT_EQ(colours.bitmap.PixelFormat(), TIEPixelFormat::pf24bit);
  EXPECT_EQ(colours.bitmap.Pixel(0, 0), blue);
  EXPECT_EQ(colours.bitmap.Pixel(7, 0), red);
}

TEST(PngRead, TransparencyGoesToTheAlphaPlaneOrOverTheBackground) {
  const TBGR blue = MakeBGR(0, 0, 255);
  const std::vector<uint8_t> rgba = PngBuilder().Header(2, 1, 8, 6).Rows({{255, 0, 0, 0, 0, 255, 0, 255}}).End();
  const auto onBlue = [&](TIOParamsVals& p) { p.PngBackground = blue; };
  const Decoded over = Decode(ReadPNGStream, rgba, onBlue);
  ASSERT_FALSE(over.aborted) << over.error;
  EXPECT_EQ(over.bitmap.Pixel(0, 0), blue);
  EXPECT_EQ(over.bitmap.Pixel(1, 0), MakeBGR(0, 255, 0));
  TIEMask alpha;
  const Decoded kept = Decode(ReadPNGStream, rgba, onBlue, false, -1, &alpha);
  EXPECT_EQ(kept.bitmap.Pixel(0, 0), MakeBGR(255, 0, 0));
  EXPECT_EQ(alpha.GetPixel(0, 0), 0);
  EXPECT_EQ(alpha.GetPixel(1, 0), 255);
  EXPECT_EQ(kept.params.SamplesPerPixel, 4);
  // A background chunk of the file wins and is kept; half alpha blends.
  const std::vector<uint8_t> half = PngBuilder()
                                        .Header(1, 1, 8, 6)
                                        .Chunk("bKGD", {0, 0, 0, 200, 0, 0})
                                        .Rows({{0, 0, 100, 128}})
                                        .End();
  const Decoded blended = Decode(ReadPNGStream, half, onBlue);
  EXPECT_EQ(blended.bitmap.Pixel(0, 0), MakeBGR(0, 100, 50));
  EXPECT_EQ(blended.params.PngBackground, MakeBGR(0, 200, 0));
  // A grey key colour (tRNS) makes alpha too.
  TIEMask keyAlpha;
  const Decoded key = Decode(ReadPNGStream, PngBuilder().Header(2, 1, 8, 0).Chunk("tRNS", {0, 7}).Rows({{7, 9}}).End(),
                             {}, false, -1, &keyAlpha);
  ASSERT_FALSE(key.aborted) << key.error;
  EXPECT_EQ(keyAlpha.GetPixel(0, 0), 0);
  EXPECT_EQ(keyAlpha.GetPixel(1, 0), 255);
  EXPECT_EQ(key.bitmap.Pixel(1, 0), MakeBGR(9, 9, 9));
}

TEST(PngRead, InterlacedAlphaEqualsPlain) {
  TIEWorkingBitmap picture = Picture(23, 17);
  TIEMask alpha;
  alpha.Allocate(23, 17, 8);
  for (int y = 0; y < 17; ++y)
    for (int x = 0; x < 23; ++x) alpha.SetPixel(x, y, uint8_t((x * 11 + y * 7) % 256));
  for (const bool interlaced : {false, true}) {
    TIOParamsVals p;
    p.PngInterlaced = interlaced;
    const Encoded e = EncodeWith(WritePNGStream, picture, p, &alpha);
    ASSERT_FALSE(e.aborted) << e.error;
    TIEMask got;
    const Decoded d = Decode(ReadPNGStream, e.bytes, {}, false, -1, &got);
    ASSERT_FALSE(d.aborted) << d.error;
    EXPECT_EQ(d.params.PngInterlaced, interlaced);
    EXPECT_EQ(RgbBytes(d.bitmap), RgbBytes(picture));
    for (int y = 0; y < 17; ++y)
      for (int x = 0; x < 23; ++x) ASSERT_EQ(got.GetPixel(x, y), alpha.GetPixel(x, y)) << x << "," << y;
  }
}

TEST(PngRead, ResolutionFromPhys) {
  const auto file = [](uint32_t ppm, uint8_t unit) {
    std::vector<uint8_t> phys = BigEndian32(ppm);
    const auto y = BigEndian32(ppm);
    phys.insert(phys.end(), y.begin(), y.end());
    phys.push_back(unit);
    return PngBuilder().Header(1, 1, 8, 0).Chunk("pHYs", phys).Rows({{0}}).End();
  };
  EXPECT_EQ(Decode(ReadPNGStream, file(2835, 1), {}, true).params.DpiX, 72);
  EXPECT_EQ(Decode(ReadPNGStream, file(0, 1), {}, true).params.DpiX, StartupMetrics().DpiX);
  EXPECT_EQ(Decode(ReadPNGStream, file(2835, 0), {}, true).params.DpiY, StartupMetrics().DpiY);
}

TEST(PngRead, DamagedFilesAbort) {
  EXPECT_TRUE(Decode(ReadPNGStream, {}).aborted);
  const std::vector<uint8_t> good = PngBuilder().Header(40, 30, 8, 2).Rows(std::vector<std::vector<uint8_t>>(30, std::vector<uint8_t>(120, 9))).End();
  ASSERT_FALSE(Decode(ReadPNGStream, good).aborted);
  const Decoded cut = Decode(ReadPNGStream, std::vector<uint8_t>(good.begin(), good.begin() + 70));
  EXPECT_TRUE(cut.aborted);
  EXPECT_EQ(cut.bitmap.Width(), 40);
  std::vector<uint8_t> badCrc = good;
  badCrc[40] ^= 0xFF;  // inside the image data
  EXPECT_TRUE(Decode(ReadPNGStream, badCrc).aborted);
  // A header of a size the engine refuses.
  EXPECT_TRUE(Decode(ReadPNGStream, PngBuilder().Header(1u << 20, 1u << 20, 8, 2).Rows({}).End()).aborted);
}

// Rows a cut file never reached are the brush colour of a new image.
TEST(PngRead, CutFileLeavesWhiteRows) {
  const std::vector<uint8_t> good = PngBuilder().Header(40, 30, 8, 2).Rows(std::vector<std::vector<uint8_t>>(30, std::vector<uint8_t>(120, 9))).End();
  const Decoded cut = Decode(ReadPNGStream, std::vector<uint8_t>(good.begin(), good.begin() + 70));
  ASSERT_EQ(cut.bitmap.Height(), 30);
  EXPECT_EQ(cut.bitmap.Pixel(39, 29), kWhite);
}

}  // namespace
}  // namespace quillet::test
