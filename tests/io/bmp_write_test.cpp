// BMP writing: header layouts of every version, the 1-bit palette, depth
// requests, write errors, and files read back by Pillow and ImageMagick.
#include <gtest/gtest.h>

#include "codec_harness.h"
#include "imaging/io/formats/bmp/bmp_codec.h"
#include "imaging/proc/ordered_dither.h"

namespace quillet::test {
namespace {

uint32_t U32(const std::vector<uint8_t>& v, size_t at) {
  return uint32_t(v[at]) | uint32_t(v[at + 1]) << 8 | uint32_t(v[at + 2]) << 16 | uint32_t(v[at + 3]) << 24;
}

// A 24-bit image with a different colour in every pixel.
TIEWorkingBitmap Gradient(int w, int h) {
  TIEWorkingBitmap b(w, h, TIEPixelFormat::pf24bit);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = b.ScanLine(y) + 3 * x;
      p[0] = uint8_t(x * 40), p[1] = uint8_t(y * 60), p[2] = uint8_t(255 - x * y * 9);
    }
  return b;
}

TEST(BmpWrite, HeaderLayoutOfEachVersion) {
  const TIEWorkingBitmap img = Gradient(3, 2);
  struct Case {
    uint8_t version;
    uint32_t header, offset, size;
  } cases[] = {{2, 12, 26, 50}, {1, 40, 54, 78}, {0, 40, 54, 78}, {3, 64, 78, 102}};
  for (const Case& c : cases) {
    TIOParamsVals p;
    p.BmpVersion = c.version;
    p.DpiX = 96;
    const auto f = Encode(WriteBMPStream, img, p);
    EXPECT_EQ(U32(f, 14), c.header) << int(c.version);
    EXPECT_EQ(U32(f, 10), c.offset) << int(c.version);
    EXPECT_EQ(U32(f, 2), c.size) << int(c.version);
    EXPECT_EQ(f.size(), c.size);
    if (c.header >= 40) {
      EXPECT_EQ(f[28], 24);
      EXPECT_EQ(U32(f, 38), 3780u);      // 96 dpi
      EXPECT_EQ(U32(f, 50), 16777216u);  // colours important
      EXPECT_EQ(U32(f, 34), 24u);        // image size: two rows of 12 bytes
    }
    const Decoded back = Decode(ReadBMPStream, f);
    ASSERT_FALSE(back.aborted) << back.error;
    EXPECT_EQ(RgbBytes(back.bitmap), RgbBytes(img));
    EXPECT_EQ(back.params.BmpVersion, c.version == 0 ? 1 : c.version);
  }
}

TEST(BmpWrite, CoreHeaderGivesWayWhenASideDoesNotFitSixteenBits) {
  const TIEWorkingBitmap img = Gradient(65536, 1);
  TIOParamsVals p;
  p.BmpVersion = 2;
  const auto f = Encode(WriteBMPStream, img, p);
  EXPECT_EQ(U32(f, 14), 40u);
  const Decoded back = Decode(ReadBMPStream, f);
  ASSERT_FALSE(back.aborted) << back.error;
  EXPECT_EQ(back.bitmap.Width(), 65536);
  EXPECT_EQ(back.bitmap.Pixel(65535, 0), img.Pixel(65535, 0));
}

TEST(BmpWrite, BilevelImageKeepsOneBitWithBlackWhitePalette) {
  TIEWorkingBitmap img(10, 3, TIEPixelFormat::pf1bit);
  SetBit(img.ScanLine(1), 4, false);  // one black pixel on white
  TIOParamsVals p;
  p.BitsPerSample = 1;
  p.SamplesPerPixel = 1;
  const TIEWorkingBitmap before = img;
  const auto f = Encode(WriteBMPStream, img, p);
  EXPECT_EQ(f[28], 1);
  EXPECT_EQ(U32(f, 10), 14u + 40 + 8);
  EXPECT_EQ(U32(f, 54), 0u);           // entry 0 black
  EXPECT_EQ(U32(f, 58), 0x00FFFFFFu);  // entry 1 white
  EXPECT_EQ(p.ColorMapCount, 2);
  const Decoded back = Decode(ReadBMPStream, f);
  EXPECT_EQ(back.bitmap.PixelFormat(), TIEPixelFormat::pf1bit);
  EXPECT_EQ(RgbBytes(back.bitmap), RgbBytes(img));
  EXPECT_EQ(RgbBytes(img), RgbBytes(before));
}

TEST(BmpWrite, DepthsWithoutAPaletteAreWrittenLossless) {
  const TIEWorkingBitmap img = Gradient(4, 4);
  // 16-bit colour is only read.
  for (auto [bits, samples] : {std::pair{5, 3}, {8, 3}}) {
    TIOParamsVals p;
    p.BitsPerSample = bits;
    p.SamplesPerPixel = samples;
    const auto f = Encode(WriteBMPStream, img, p);
    EXPECT_EQ(f[28], 24) << bits;
    EXPECT_EQ(RgbBytes(Decode(ReadBMPStream, f).bitmap), RgbBytes(img));
  }
}

TEST(BmpWrite, ManyColoursInOneBitAreDithered) {
  const TIEWorkingBitmap img = Gradient(16, 9);
  TIOParamsVals p;
  p.BitsPerSample = 1;
  p.SamplesPerPixel = 1;
  const auto f = Encode(WriteBMPStream, img, p);
  EXPECT_EQ(f[28], 1);
  TIEWorkingBitmap dithered;
  ASSERT_TRUE(DitherToBlackWhite(img, dithered));
  EXPECT_EQ(RgbBytes(Decode(ReadBMPStream, f).bitmap), RgbBytes(dithered));
}

TEST(BmpWrite, WriteErrorAborts) {
  TIEFileStream full;
  if (!full.Open("/dev/full", TIEFileStream::fmCreate)) GTEST_SKIP() << "no /dev/full";
  const TIEWorkingBitmap img = Gradient(300, 300);
  TIOParamsVals p;
  const bool aborted = EncodeTo(WriteBMPStream, img, p, full);
  full.Close();
  EXPECT_TRUE(aborted);
}

TEST(BmpWrite, IndependentReadersAgree) {
  const bool pillow = HavePillow(), magick = HaveImageMagick();
  if (!pillow && !magick) GTEST_SKIP() << "no oracle installed";
  TempDir dir;
  const TIEWorkingBitmap colour = Gradient(7, 5);
  TIEWorkingBitmap mono(13, 4, TIEPixelFormat::pf1bit);
  for (int x = 0; x < 13; x += 3) SetBit(mono.ScanLine(x % 4), x, false);
  struct Case {
    const char* name;
    const TIEWorkingBitmap* img;
    uint8_t version;
  } cases[] = {{"v3.bmp", &colour, 1}, {"os2.bmp", &colour, 2}, {"os2v2.bmp", &colour, 3}, {"mono.bmp", &mono, 1}};
  for (const Case& c : cases) {
    TIOParamsVals p;
    p.BmpVersion = c.version;
    p.BitsPerSample = c.img == &mono ? 1 : 8;
    p.SamplesPerPixel = c.img == &mono ? 1 : 3;
    const std::string file = dir.File(c.name);
    WriteFileBytes(file, Encode(WriteBMPStream, *c.img, p));
    const auto want = RgbBytes(*c.img);
    if (pillow && c.version != 3) {  // Pillow does not read 64-byte headers
      RawImage got;
      ASSERT_TRUE(PillowDecode(file, dir.File("p.pam")) && ReadPam(dir.File("p.pam"), got)) << c.name;
      EXPECT_EQ(got.pixels, want) << c.name;
    }
    if (magick) {
      ASSERT_EQ(test::Run("/usr/bin/convert " + file + " -depth 8 " + dir.File("m.ppm") + " 2>/dev/null"), 0) << c.name;
      const auto ppm = ReadFileBytes(dir.File("m.ppm"));
      ASSERT_GE(ppm.size(), want.size());
      EXPECT_EQ(std::vector<uint8_t>(ppm.end() - long(want.size()), ppm.end()), want) << c.name;
    }
  }
}

}  // namespace
}  // namespace quillet::test
