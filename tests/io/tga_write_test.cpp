// Targa writing: header, image ID, packets, extension area and footer bytes;
// depths picked from the parameters other readers leave; our files read back
// by us, Pillow and netpbm.
#include <gtest/gtest.h>

#include "codec_harness.h"
#include "imaging/io/formats/png/png_codec.h"
#include "imaging/io/formats/tga/tga_codec.h"

namespace quillet::test {
namespace {

int U16(const std::vector<uint8_t>& v, size_t at) { return v[at] | v[at + 1] << 8; }

TIOParamsVals Params(int bits, int samples, bool compressed = true) {
  TIOParamsVals p;
  p.BitsPerSample = bits, p.SamplesPerPixel = samples, p.TgaCompressed = compressed;
  return p;
}

void Put(TIEWorkingBitmap& b, int64_t x, int64_t y, const TBGR& c) {
  uint8_t* p = b.ScanLine(y) + 3 * x;
  p[0] = c.b, p[1] = c.g, p[2] = c.r;
}

// The pixel bytes of a file with an empty image ID, no map and one row.
std::vector<uint8_t> PixelBytes(const std::vector<uint8_t>& file) {
  return std::vector<uint8_t>(file.begin() + 19, file.end() - 495 - 26);
}

TEST(TgaWrite, RunLengthPackets) {
  TIEWorkingBitmap run(130, 2, TIEPixelFormat::pf24bit);
  run.Fill(MakeBGR(3, 2, 1));
  TIOParamsVals p = Params(8, 3);
  const std::vector<uint8_t> bytes = Encode(WriteTGAStream, run, p);
  ASSERT_EQ(bytes[2], 10);
  const std::vector<uint8_t> row = {0xFF, 1, 2, 3, 0x81, 1, 2, 3};  // and the same again: no packet crosses a row
  std::vector<uint8_t> rows = row;
  rows.insert(rows.end(), row.begin(), row.end());
  EXPECT_EQ(PixelBytes(bytes), rows);

  // A B A B is one literal packet; a literal packet ends where a run begins.
  TIEWorkingBitmap abab(5, 1, TIEPixelFormat::pf24bit);
  for (int x = 0; x < 5; ++x) Put(abab, x, 0, x == 4 || x % 2 ? MakeBGR(9, 9, 9) : MakeBGR(1, 1, 1));
  EXPECT_EQ(PixelBytes(Encode(WriteTGAStream, abab, p)),
            (std::vector<uint8_t>{0x02, 1, 1, 1, 9, 9, 9, 1, 1, 1, 0x81, 9, 9, 9}));
  abab.SetSize(4, 1);
  EXPECT_EQ(PixelBytes(Encode(WriteTGAStream, abab, p)),
            (std::vector<uint8_t>{0x03, 1, 1, 1, 9, 9, 9, 1, 1, 1, 9, 9, 9}));
}

TEST(TgaWrite, HeaderIdExtensionAndFooter) {
  SetParamsClock([] { return 45000.75; });
  TIEWorkingBitmap image(3, 2, TIEPixelFormat::pf24bit);
  image.Fill(MakeBGR(10, 20, 30));
  TIOParamsVals p = Params(8, 3);
  p.TgaDescriptor = std::string(300, 'd');
  p.TgaAuthor = std::string(50, 'a');
  p.TgaImageName = "job";
  p.TgaXPos = 7, p.TgaYPos = 9;
  p.TgaBackground = MakeBGR(1, 2, 3);
  p.TgaDate = 44000.5;
  p.TgaAspectRatio = 1.0;
  const std::vector<uint8_t> file = Encode(WriteTGAStream, image, p);
  ASSERT_GT(file.size(), 18u + 255 + 521);
  EXPECT_EQ(file[0], 255);
  EXPECT_EQ(file[18 + 253], 'd');
  EXPECT_EQ(file[18 + 254], 0);
  EXPECT_EQ(std::vector<uint8_t>(file.begin() + 1, file.begin() + 18),
            (std::vector<uint8_t>{0, 10, 0, 0, 0, 0, 0, 7, 0, 9, 0, 3, 0, 2, 0, 24, 0x20}));
  const size_t ext = file.size() - 495 - 26;
  EXPECT_EQ(U16(file, file.size() - 26), int(ext));
  EXPECT_EQ(std::string(file.end() - 18, file.end()), std::string("TRUEVISION-XFILE.\0", 18));
  EXPECT_EQ(U16(file, ext), 495);
  EXPECT_EQ(std::vector<uint8_t>(file.begin() + int64_t(ext) + 470, file.begin() + int64_t(ext) + 482),
            (std::vector<uint8_t>{0, 1, 2, 3, 0x10, 0x27, 0x10, 0x27, 0xF0, 0x55, 0x10, 0x27}));

  const Decoded back = Decode(ReadTGAStream, file);
  ASSERT_FALSE(back.aborted) << back.error;
  EXPECT_EQ(back.params.TgaDescriptor, std::string(254, 'd'));
  EXPECT_EQ(back.params.TgaAuthor, std::string(40, 'a'));
  EXPECT_EQ(back.params.TgaImageName, "job");
  EXPECT_EQ(back.params.TgaBackground, MakeBGR(1, 2, 3));
  EXPECT_DOUBLE_EQ(back.params.TgaDate, 44000.5);
  EXPECT_EQ(back.params.TgaGamma, 2.2);
  EXPECT_EQ(back.params.TgaAspectRatio, 1.0);
  EXPECT_EQ(RgbBytes(back.bitmap), RgbBytes(image));

  // Ratios of 6.5536 and more go over a smaller denominator.
  for (const auto& [gamma, numerator, denominator] : {std::tuple{10.0, 65530, 6553}, {70000.0, 65535, 1}}) {
    p.TgaGamma = gamma;
    const std::vector<uint8_t> big = Encode(WriteTGAStream, image, p);
    EXPECT_EQ(U16(big, big.size() - 521 + 478), numerator);
    EXPECT_EQ(U16(big, big.size() - 521 + 480), denominator);
  }
  SetParamsClock({});
}

// Depth and type from the samples other readers leave: 16-bit grey and RGBA
// PNG, a 4-bit BMP, CMYK JPEG, 5-5-5 BMP; every file reads back.
TEST(TgaWrite, DepthFromTheParameters) {
  struct TCase {
    int bits, samples;
    bool grey;
    int type, depth, mapLength;
  };
  const std::vector<TCase> cases = {{1, 1, false, 3, 1, 0},   {4, 1, false, 1, 8, 16},  {8, 1, false, 9, 8, 256},
                                    {8, 1, true, 11, 8, 0},   {8, 3, false, 10, 24, 0}, {16, 1, false, 10, 24, 0},
                                    {8, 4, false, 10, 24, 0}, {5, 3, false, 10, 24, 0}, {16, 3, false, 10, 24, 0}};
  TIEWorkingBitmap image(5, 2, TIEPixelFormat::pf24bit);
  image.Fill(MakeBGR(200, 100, 50));
  Put(image, 1, 1, kBlack);
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.bits) + "x" + std::to_string(c.samples) + (c.grey ? " grey" : ""));
    TIOParamsVals p = Params(c.bits, c.samples);
    p.TgaGrayLevel = c.grey;
    const std::vector<uint8_t> file = Encode(WriteTGAStream, image, p);
    ASSERT_GE(file.size(), 18u);
    EXPECT_EQ(file[1], c.mapLength ? 1 : 0);
    EXPECT_EQ(file[2], c.type);
    EXPECT_EQ(U16(file, 5), c.mapLength);
    EXPECT_EQ(file[7], c.mapLength ? 24 : 0);
    EXPECT_EQ(file[16], c.depth);
    EXPECT_EQ(p.TgaCompressed, c.type >= 9);
    const Decoded back = Decode(ReadTGAStream, file);
    ASSERT_FALSE(back.aborted) << back.error;
    const TBGR want = c.grey ? MakeBGR(116, 116, 116) : c.depth == 1 ? kWhite : MakeBGR(200, 100, 50);
    EXPECT_EQ(back.bitmap.Pixel(0, 0), want);
    EXPECT_EQ(back.bitmap.Pixel(1, 1), kBlack);
  }
}

TEST(TgaWrite, RoundTrips) {
  TempDir dir;
  const TOurImage source = ByCodec(ReadPNGStream)(ReadFileBytes(MakeOraclePicture(dir)));
  ASSERT_TRUE(source.ok);
  for (bool compressed : {false, true}) {
    TIOParamsVals p = Params(8, 3, compressed);
    const Decoded back = Decode(ReadTGAStream, Encode(WriteTGAStream, source.bitmap, p));
    ASSERT_FALSE(back.aborted) << back.error;
    EXPECT_EQ(RgbBytes(back.bitmap), RgbBytes(source.bitmap));
  }
  TIEWorkingBitmap bits(13, 3, TIEPixelFormat::pf1bit);
  for (int64_t y = 0; y < 3; ++y) bits.ScanLine(y)[0] = uint8_t(0x35 * (y + 1)), bits.ScanLine(y)[1] = 0xC8;
  TIOParamsVals p = Params(1, 1);
  const Decoded back = Decode(ReadTGAStream, Encode(WriteTGAStream, bits, p));
  ASSERT_EQ(back.bitmap.PixelFormat(), TIEPixelFormat::pf1bit);
  EXPECT_EQ(RgbBytes(back.bitmap), RgbBytes(bits));
}

// Our files at every depth beside Pillow's and netpbm's decoding.
TEST(TgaWrite, ReadByPillowAndNetpbm) {
  if (!HavePillow() || test::Run("command -v tgatoppm >/dev/null") != 0) GTEST_SKIP() << "Pillow or netpbm missing";
  TempDir dir;
  const TOurImage source = ByCodec(ReadPNGStream)(ReadFileBytes(MakeOraclePicture(dir)));
  ASSERT_TRUE(source.ok);
  struct TCase {
    int bits, samples;
    bool compressed, grey;
  };
  for (const TCase& c : {TCase{8, 3, true, false},
                         {8, 3, false, false},
                         {8, 1, true, false},
                         {8, 1, false, false},
                         {4, 1, false, false},
                         {8, 1, true, true},
                         {1, 1, false, false}}) {
    SCOPED_TRACE(std::to_string(c.bits) + "x" + std::to_string(c.samples) + (c.compressed ? " rle" : "") +
                 (c.grey ? " grey" : ""));
    TIOParamsVals p = Params(c.bits, c.samples, c.compressed);
    p.TgaGrayLevel = c.grey;
    p.TgaDescriptor = "made by a test";
    const std::string file = dir.File("ours.tga"), ppm = dir.File("netpbm.ppm");
    WriteFileBytes(file, Encode(WriteTGAStream, source.bitmap, p));
    const TOurDecode ours = [&](const std::vector<uint8_t>&) { return ByCodec(ReadTGAStream)(ReadFileBytes(file)); };
    ExpectLikePillow(dir, file, ours);
    if (c.bits == 1) continue;  // netpbm reads no 1-bit Targa files
    ASSERT_EQ(test::Run("tgatoppm " + file + " > " + ppm + " 2>/dev/null"), 0);
    ExpectLikePillow(dir, ppm, ours);
  }
}

}  // namespace
}  // namespace quillet::test
