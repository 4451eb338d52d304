// Palette BMP output: 4 and 8 bits through the quantizer or with the image's
// own few colours, RLE4/RLE8, the header fields, two-colour images in 1 bit, and the files read back by our
// reader, Pillow and ImageMagick with the colours we computed.
#include <gtest/gtest.h>

#include "codec_harness.h"
#include "imaging/io/formats/bmp/bmp_codec.h"
#include "imaging/proc/quantizer.h"
#include "proc/proc_images.h"

namespace quillet::test {
namespace {

uint32_t U32(const std::vector<uint8_t>& v, size_t at) {
  return uint32_t(v[at]) | uint32_t(v[at + 1]) << 8 | uint32_t(v[at + 2]) << 16 | uint32_t(v[at + 3]) << 24;
}

// Hard edges, a gradient and a flat area, so that runs and literals mix.
TIEWorkingBitmap Picture(int w, int h) {
  TIEWorkingBitmap b(w, h, TIEPixelFormat::pf24bit);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = b.ScanLine(y) + 3 * x;
      const bool flat = x > w / 2 && y > h / 2;
      p[0] = flat ? 30 : uint8_t(x * 255 / w);
      p[1] = flat ? 200 : uint8_t(y * 255 / h);
      p[2] = flat ? 90 : uint8_t((x / 3 + y) % 2 ? 250 : 10);
    }
  return b;
}

// Our own quantization of `img` at 2^bits colours, as RGB bytes: what every
// reader must see in the file.
std::vector<uint8_t> Quantized(const TIEWorkingBitmap& img, int bits) {
  std::vector<TBGR> palette(size_t(1) << bits, kBlack);
  const TIEQuantizer q(TIEQuantizerSource(img), palette, 1 << bits);
  TIEWorkingBitmap out(img.Width(), img.Height(), TIEPixelFormat::pf24bit);
  for (int64_t y = 0; y < img.Height(); ++y)
    for (int64_t x = 0; x < img.Width(); ++x) {
      const TBGR c = palette[size_t(q.GetIndex(RgbOf(img.Pixel(x, y))))];
      uint8_t* p = out.ScanLine(y) + 3 * x;
      p[0] = c.b, p[1] = c.g, p[2] = c.r;
    }
  return RgbBytes(out);
}

struct Variant {
  const char* name;
  int bits;
  uint8_t version, compression;
  uint32_t header, entry, code;  // header size, palette entry size, compression field
};
const Variant kVariants[] = {
    {"pal8", 8, 1, 0, 40, 4, 0},   {"rle8", 8, 1, 1, 40, 4, 1},      {"pal4", 4, 1, 0, 40, 4, 0},
    {"rle4", 4, 1, 1, 40, 4, 2},   {"os2pal8", 8, 2, 1, 12, 3, 0},   {"os2pal4", 4, 2, 0, 12, 3, 0},
    {"v3pal8", 8, 3, 1, 64, 4, 1},
};

TIOParamsVals ParamsFor(const Variant& v) {
  TIOParamsVals p;
  p.BitsPerSample = v.bits;
  p.SamplesPerPixel = 1;
  p.BmpVersion = v.version;
  p.BmpCompression = v.compression;
  return p;
}

TEST(BmpPaletteWrite, HeadersPaletteAndPixelsOfEveryVariant) {
  const TIEWorkingBitmap img = Picture(37, 21);
  for (const Variant& v : kVariants) {
    SCOPED_TRACE(v.name);
    TIOParamsVals p = ParamsFor(v);
    const auto f = Encode(WriteBMPStream, img, p);
    const uint32_t entries = 1u << v.bits;
    ASSERT_GT(f.size(), 14 + v.header + entries * v.entry);
    EXPECT_EQ(U32(f, 2), f.size());
    EXPECT_EQ(U32(f, 14), v.header);
    EXPECT_EQ(U32(f, 10), 14 + v.header + entries * v.entry);
    EXPECT_EQ(f[v.header == 12 ? 24 : 28], v.bits);
    if (v.header >= 40) {
      EXPECT_EQ(U32(f, 30), v.code);
      EXPECT_EQ(U32(f, 34), f.size() - U32(f, 10));
      EXPECT_EQ(U32(f, 46), entries);
      EXPECT_EQ(U32(f, 50), entries);
    }
    if (v.code != 0) {
      EXPECT_EQ((std::vector<uint8_t>(f.end() - 4, f.end())), (std::vector<uint8_t>{0, 0, 0, 1}));
    } else {
      EXPECT_EQ(f.size() - U32(f, 10), uint64_t(RowLength(37, v.bits) * 21));
    }
    ASSERT_EQ(p.ColorMapCount, int32_t(entries));
    for (uint32_t i = 0; i < entries; ++i) {
      const size_t at = 14 + v.header + i * v.entry;
      EXPECT_EQ(p.ColorMap[i], MakeBGR(f[at + 2], f[at + 1], f[at])) << i;
    }
    const Decoded back = Decode(ReadBMPStream, f);
    ASSERT_FALSE(back.aborted) << back.error;
    EXPECT_EQ(RgbBytes(back.bitmap), Quantized(img, v.bits));
  }
}

TEST(BmpPaletteWrite, LongRunsSplitAt255) {
  TIEWorkingBitmap img(300, 1, TIEPixelFormat::pf24bit);
  img.Fill(MakeBGR(40, 80, 120));
  TIOParamsVals p = ParamsFor(kVariants[1]);
  const auto f = Encode(WriteBMPStream, img, p);
  const std::vector<uint8_t> data(f.begin() + U32(f, 10), f.end());
  ASSERT_EQ(data.size(), 8u);
  const uint8_t i = data[1];
  EXPECT_EQ(data, (std::vector<uint8_t>{255, i, 45, i, 0, 0, 0, 1}));
}

TEST(BmpPaletteWrite, BilevelSourceIsWidenedAndKeepsBlackAndWhite) {
  TIEWorkingBitmap mono(11, 5, TIEPixelFormat::pf1bit);
  for (int x = 0; x < 11; x += 2) SetBit(mono.ScanLine(x % 5), x, false);
  TIEWorkingBitmap wide = mono;
  wide.SetPixelFormat(TIEPixelFormat::pf24bit);
  for (int bits : {4, 8}) {
    TIOParamsVals p;
    p.BitsPerSample = bits;
    p.SamplesPerPixel = 1;
    const Decoded back = Decode(ReadBMPStream, Encode(WriteBMPStream, mono, p));
    ASSERT_FALSE(back.aborted) << back.error;
    EXPECT_EQ(RgbBytes(back.bitmap), RgbBytes(wide)) << bits;  // black and white kept exactly
  }
}

TEST(BmpPaletteWrite, TwoColourImageKeepsItsColoursInOneBit) {
  const TBGR ink = MakeBGR(20, 40, 160), paper = MakeBGR(250, 240, 200);
  TIEWorkingBitmap img(19, 6, TIEPixelFormat::pf24bit);
  img.Fill(paper);
  for (int x = 0; x < 19; x += 3) std::copy_n(&ink.b, 3, img.ScanLine(x % 6) + 3 * x);
  TIOParamsVals p;
  p.BitsPerSample = 1;
  p.SamplesPerPixel = 1;
  const auto f = Encode(WriteBMPStream, img, p);
  EXPECT_EQ(f[28], 1);
  EXPECT_EQ(U32(f, 54), 0x001428A0u);  // entry 0: the darker colour, blue green red
  EXPECT_EQ(U32(f, 58), 0x00FAF0C8u);
  const Decoded back = Decode(ReadBMPStream, f);
  ASSERT_FALSE(back.aborted) << back.error;
  EXPECT_EQ(back.params.ColorMapCount, 2);
  // Our reader shows a 1-bit file in black and white; the file's own
  // colours are what Pillow sees.
  if (!HavePillow()) GTEST_SKIP() << "Pillow missing";
  TempDir dir;
  WriteFileBytes(dir.File("two.bmp"), f);
  RawImage got;
  ASSERT_TRUE(PillowDecode(dir.File("two.bmp"), dir.File("two.pam")) && ReadPam(dir.File("two.pam"), got));
  EXPECT_EQ(got.pixels, RgbBytes(img));
}

// An image of at most 2^bits colours keeps them exactly; one more and the
// quantizer picks the palette.
TEST(BmpPaletteWrite, ImageOfFewColoursKeepsThem) {
  for (const int colors : {16, 17}) {
    // Colours off the quantizer's 8-level grid, so that rounding would show.
    const TIEWorkingBitmap img = MakeImage(9, 7, [&](int x, int y) {
      const int i = (x + 9 * y) % colors;
      return MakeBGR(uint8_t(i * 15 + 3), uint8_t(250 - i * 13), uint8_t(i * 37 % 251));
    });
    for (const int bits : {4, 8}) {
      TIOParamsVals p;
      p.BitsPerSample = bits;
      p.SamplesPerPixel = 1;
      const Decoded back = Decode(ReadBMPStream, Encode(WriteBMPStream, img, p));
      ASSERT_FALSE(back.aborted) << back.error;
      EXPECT_EQ(back.params.BitsPerSample, bits);
      const bool fits = colors <= 1 << bits;
      EXPECT_EQ(RgbBytes(back.bitmap), fits ? RgbBytes(img) : Quantized(img, bits)) << colors << " " << bits;
    }
  }
}

TEST(BmpPaletteWrite, IndependentReadersSeeOurColours) {
  const bool pillow = HavePillow(), magick = HaveImageMagick();
  if (!pillow && !magick) GTEST_SKIP() << "no oracle installed";
  TempDir dir;
  const TIEWorkingBitmap img = Picture(29, 13);
  for (const Variant& v : kVariants) {
    SCOPED_TRACE(v.name);
    TIOParamsVals p = ParamsFor(v);
    const std::string file = dir.File(std::string(v.name) + ".bmp");
    WriteFileBytes(file, Encode(WriteBMPStream, img, p));
    const auto want = Quantized(img, v.bits);
    // Pillow does not read 64-byte headers, and reads RLE4 literals of an odd
    // length one pixel short (ImageMagick and we read them whole).
    if (pillow && v.header != 64 && v.code != 2) {
      RawImage got;
      ASSERT_TRUE(PillowDecode(file, dir.File("p.pam")) && ReadPam(dir.File("p.pam"), got));
      EXPECT_EQ(got.pixels, want);
    }
    // ImageMagick places the colours of a 64-byte header's table differently
    // from every other reader (ffmpeg, ours); it reads the other variants.
    if (magick && v.header != 64) {
      ASSERT_EQ(test::Run("/usr/bin/convert " + file + " -depth 8 " + dir.File("m.ppm") + " 2>/dev/null"), 0);
      const auto ppm = ReadFileBytes(dir.File("m.ppm"));
      ASSERT_GE(ppm.size(), want.size());
      EXPECT_EQ(std::vector<uint8_t>(ppm.end() - long(want.size()), ppm.end()), want);
    }
  }
}

}  // namespace
}  // namespace quillet::test
