// The PNG writer, checked on the chunks it writes: palettes with the
// background as entry 0 and transparency, 1-bit grey, alpha, resolution,
// filters and write failures.
#include <gtest/gtest.h>

#include "imaging/io/formats/png/png_codec.h"
#include "jpeg_png_support.h"

namespace quillet::test {
namespace {

const std::vector<uint8_t>& ChunkOf(const std::multimap<std::string, std::vector<uint8_t>>& chunks,
                                    const std::string& type) {
  static const std::vector<uint8_t> none;
  const auto it = chunks.find(type);
  return it == chunks.end() ? none : it->second;
}

TEST(PngWrite, PaletteWithTheBackgroundFirst) {
  const TIEWorkingBitmap picture = Picture(33, 21);
  for (const int bits : {8, 4}) {
    SCOPED_TRACE(bits);
    TIOParamsVals p;
    p.BitsPerSample = bits;
    p.SamplesPerPixel = 1;
    p.PngBackground = MakeBGR(10, 20, 30);
    const Encoded e = EncodeWith(WritePNGStream, picture, p);
    ASSERT_FALSE(e.aborted) << e.error;
    const auto chunks = PngChunks(e.bytes);
    const std::vector<uint8_t>& ihdr = ChunkOf(chunks, "IHDR");
    ASSERT_EQ(ihdr.size(), 13u);
    EXPECT_EQ(ihdr[8], 8);  // depth
    EXPECT_EQ(ihdr[9], 3);  // palette
    const std::vector<uint8_t>& plte = ChunkOf(chunks, "PLTE");
    EXPECT_EQ(plte.size(), size_t(bits == 8 ? 256 : 17) * 3);
    EXPECT_EQ(std::vector<uint8_t>(plte.begin(), plte.begin() + 3), (std::vector<uint8_t>{10, 20, 30}));
    EXPECT_EQ(ChunkOf(chunks, "tRNS").size(), 0u);
    for (const auto& row : PngRawRows(e.bytes, 33, 21))
      for (const uint8_t index : row) ASSERT_GE(index, 1);
    // The pixels come back in the palette's colours, close to the picture's.
    const Decoded d = Decode(ReadPNGStream, e.bytes);
    ASSERT_FALSE(d.aborted) << d.error;
    EXPECT_NEAR(d.bitmap.Pixel(30, 2).r, picture.Pixel(30, 2).r, bits == 8 ? 24 : 64);
  }
}

TEST(PngWrite, TransparentPixelsTakeEntryZero) {
  const TIEWorkingBitmap picture = Picture(8, 4);
  TIEMask alpha;
  alpha.Allocate(8, 4, 8);
  alpha.Fill(255);
  alpha.SetPixel(5, 2, 0);
  TIOParamsVals p;
  p.SamplesPerPixel = 1;
  const Encoded e = EncodeWith(WritePNGStream, picture, p, &alpha);
  const auto chunks = PngChunks(e.bytes);
  EXPECT_EQ(ChunkOf(chunks, "tRNS"), std::vector<uint8_t>{0});
  const auto rows = PngRawRows(e.bytes, 8, 4);
  EXPECT_EQ(rows[2][5], 0);
  EXPECT_GE(rows[2][4], 1);
  TIEMask back;
  Decode(ReadPNGStream, e.bytes, {}, false, -1, &back);
  EXPECT_EQ(back.GetPixel(5, 2), 0);
  EXPECT_EQ(back.GetPixel(4, 2), 255);
}

TEST(PngWrite, ColourTypesFollowTheParameters) {
  TIEMask opaque, holes;
  opaque.Allocate(6, 3, 8);
  opaque.Fill(255);
  holes.Assign(&opaque);
  holes.SetPixel(0, 0, 77);
  struct Case {
    int bits, samples;
    const TIEMask* alpha;
    uint8_t depth, colorType;
  };
  for (const Case& c : {Case{8, 3, nullptr, 8, 2}, Case{8, 3, &opaque, 8, 2}, Case{8, 3, &holes, 8, 6},
                        Case{1, 1, nullptr, 1, 0}, Case{1, 3, nullptr, 1, 0}}) {
    TIOParamsVals p;
    p.BitsPerSample = c.bits, p.SamplesPerPixel = c.samples;
    const Encoded e = EncodeWith(WritePNGStream, Picture(6, 3), p, c.alpha);
    ASSERT_FALSE(e.aborted) << e.error;
    const std::vector<uint8_t> ihdr = ChunkOf(PngChunks(e.bytes), "IHDR");
    EXPECT_EQ(ihdr[8], c.depth) << c.bits << " " << c.samples;
    EXPECT_EQ(ihdr[9], c.colorType) << c.bits << " " << c.samples;
  }
  // A 1-bit image declared as colour still goes out as 1-bit grey, bit for bit.
  TIEWorkingBitmap bilevel(10, 2, TIEPixelFormat::pf1bit);
  bilevel.ScanLine(0)[0] = 0xA0, bilevel.ScanLine(0)[1] = 0x40;
  bilevel.ScanLine(1)[0] = 0xFF, bilevel.ScanLine(1)[1] = 0xC0;
  TIOParamsVals p;
  p.BitsPerSample = 1, p.SamplesPerPixel = 3;
  const Decoded d = Decode(ReadPNGStream, EncodeWith(WritePNGStream, bilevel, p).bytes);
  ASSERT_EQ(d.bitmap.PixelFormat(), TIEPixelFormat::pf1bit);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_EQ(d.bitmap.Pixel(x, y), bilevel.Pixel(x, y)) << x << "," << y;
}

TEST(PngWrite, ResolutionFilterAndCompression) {
  const TIEWorkingBitmap picture = Picture(64, 64);
  TIOParamsVals p;
  p.DpiX = p.DpiY = 72;
  const Encoded e = EncodeWith(WritePNGStream, picture, p);
  std::vector<uint8_t> phys = BigEndian32(2835);
  const auto y = BigEndian32(2835);
  phys.insert(phys.end(), y.begin(), y.end());
  phys.push_back(1);
  EXPECT_EQ(ChunkOf(PngChunks(e.bytes), "pHYs"), phys);
  EXPECT_EQ(Decode(ReadPNGStream, e.bytes, {}, true).params.DpiX, 72);
  size_t stored = 0, best = 0;
  for (const int level : {0, 9}) {
    p.PngCompression = level;
    p.PngFilter = TIOPNGFilter::PAETH;
    const Encoded z = EncodeWith(WritePNGStream, picture, p);
    const Decoded d = Decode(ReadPNGStream, z.bytes);
    EXPECT_EQ(RgbBytes(d.bitmap), RgbBytes(picture));
    (level == 0 ? stored : best) = z.bytes.size();
  }
  EXPECT_LT(best * 3, stored);
}

TEST(PngWrite, FailuresAbort) {
  TIOParamsVals p;
  TFullStream full(60);
  const Encoded e = EncodeWith(WritePNGStream, Picture(100, 100), p, nullptr, &full);
  EXPECT_TRUE(e.aborted);
  EXPECT_EQ(e.error, "write error");
  const TIEWorkingBitmap empty;
  EXPECT_TRUE(EncodeWith(WritePNGStream, empty, p).aborted);
}

}  // namespace
}  // namespace quillet::test
