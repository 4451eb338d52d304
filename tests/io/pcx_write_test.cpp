// PCX writing: header fields, run-length bytes, depths picked from the
// parameters, our own round trips, and our files read by Pillow and netpbm.
#include <gtest/gtest.h>

#include "codec_harness.h"
#include "imaging/io/formats/pcx/pcx_codec.h"
#include "imaging/io/formats/png/png_codec.h"
#include "imaging/io/ziridev_io.h"

namespace quillet::test {
namespace {

int U16(const std::vector<uint8_t>& v, size_t at) { return v[at] | v[at + 1] << 8; }

TIOParamsVals Params(int bits, int samples, int compression = 1) {
  TIOParamsVals p;
  p.BitsPerSample = bits, p.SamplesPerPixel = samples, p.PcxCompression = uint8_t(compression);
  p.DpiX = 150, p.DpiY = 300;
  return p;
}

TEST(PcxWrite, HeaderAndRunLengthBytes) {
  TIEWorkingBitmap image(3, 1, TIEPixelFormat::pf24bit);
  image.Fill(MakeBGR(200, 200, 200));
  TIOParamsVals eight = Params(8, 1);
  const std::vector<uint8_t> indexed = Encode(WritePCXStream, image, eight);
  ASSERT_GT(indexed.size(), 128u + 769);
  EXPECT_EQ(U16(indexed, 66), 4);
  const size_t trailer = indexed.size() - 769;
  EXPECT_EQ(indexed[trailer], 0x0C);
  std::vector<uint8_t> line;  // the coded line expanded: three indices, then the padding zero
  for (size_t at = 128; at < trailer; ++at)
    if (indexed[at] >= 0xC0 && at + 1 < trailer) {
      line.insert(line.end(), indexed[at] & 0x3F, indexed[at + 1]), ++at;
    } else {
      line.push_back(indexed[at]);
    }
  ASSERT_EQ(line.size(), 4u);
  EXPECT_EQ(line[3], 0);
  EXPECT_EQ(indexed[trailer + 1 + 3 * line[0]], 200);  // the red of the pixels' entry

  // A single byte of 192 or more is escaped.
  TIEWorkingBitmap bit(8, 1, TIEPixelFormat::pf1bit);
  bit.ScanLine(0)[0] = 0xC8;
  TIOParamsVals oneBit = Params(1, 1);
  const std::vector<uint8_t> escaped = Encode(WritePCXStream, bit, oneBit);
  EXPECT_EQ(std::vector<uint8_t>(escaped.begin() + 128, escaped.end()), (std::vector<uint8_t>{0xC1, 0xC8, 0x00}));

  TIEWorkingBitmap one(1, 1, TIEPixelFormat::pf24bit);
  one.Fill(MakeBGR(200, 0, 0));
  TIOParamsVals rgb = Params(8, 3);
  rgb.PcxVersion = 2;  // 24 bits are written as version 5 whatever it says
  const std::vector<uint8_t> planes = Encode(WritePCXStream, one, rgb);
  const std::vector<uint8_t> header = {0x0A, 5, 1, 8, 0, 0, 0, 0, 0, 0, 0, 0, 150, 0, 44, 1};
  EXPECT_EQ(std::vector<uint8_t>(planes.begin(), planes.begin() + 16), header);
  EXPECT_EQ(planes[65], 3);
  EXPECT_EQ(U16(planes, 66), 2);
  EXPECT_EQ(U16(planes, 68), 0);
  const std::vector<uint8_t> coded = {0xC1, 200, 0, 0xC2, 0, 0xC2, 0};  // 200 escaped, then each padding zero
  EXPECT_EQ(std::vector<uint8_t>(planes.begin() + 128, planes.end()), coded);
}

// Depth from the samples other readers leave: 16-bit grey, RGBA, 4-bit, 5-5-5.
TEST(PcxWrite, DepthFromTheParameters) {
  struct TCase {
    int bits, samples, headerBits, planes;
  };
  const std::vector<TCase> cases = {{1, 1, 1, 1}, {4, 1, 4, 1}, {2, 1, 4, 1}, {8, 1, 8, 1},
                                    {16, 1, 8, 3}, {8, 4, 8, 3}, {5, 3, 8, 3}, {16, 3, 8, 3}};
  TIEWorkingBitmap image(5, 2, TIEPixelFormat::pf24bit);
  image.Fill(MakeBGR(10, 20, 30));
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.bits) + "x" + std::to_string(c.samples));
    TIOParamsVals p = Params(c.bits, c.samples);
    const std::vector<uint8_t> file = Encode(WritePCXStream, image, p);
    ASSERT_GE(file.size(), 128u);
    EXPECT_EQ(file[3], c.headerBits);
    EXPECT_EQ(file[65], c.planes);
    EXPECT_EQ(U16(file, 66) % 2, 0);
  }
}

TEST(PcxWrite, RoundTrips) {
  TempDir dir;
  const TOurImage source = ByCodec(ReadPNGStream)(ReadFileBytes(MakeOraclePicture(dir)));
  ASSERT_TRUE(source.ok);
  for (int compression : {0, 1}) {
    TIOParamsVals p = Params(8, 3, compression);
    const Decoded back = Decode(ReadPCXStream, Encode(WritePCXStream, source.bitmap, p));
    ASSERT_FALSE(back.aborted) << back.error;
    EXPECT_EQ(RgbBytes(back.bitmap), RgbBytes(source.bitmap));
  }
  TIEWorkingBitmap bits(13, 3, TIEPixelFormat::pf1bit);
  for (int64_t y = 0; y < 3; ++y) bits.ScanLine(y)[0] = uint8_t(0x35 * (y + 1)), bits.ScanLine(y)[1] = 0xC8;
  TIOParamsVals p = Params(1, 1);
  const Decoded back = Decode(ReadPCXStream, Encode(WritePCXStream, bits, p));
  ASSERT_EQ(back.bitmap.PixelFormat(), TIEPixelFormat::pf1bit);
  for (int64_t y = 0; y < 3; ++y) EXPECT_EQ(back.bitmap.ScanLine(y)[0], bits.ScanLine(y)[0]);
  EXPECT_EQ(RgbBytes(back.bitmap), RgbBytes(bits));
}

// The trailing palette is found at the end of the framed data, for a full
// read and a parameter read alike, and both leave the stream after the frame.
TEST(PcxWrite, StreamHeaderAroundTheData) {
  TIEWorkingBitmap image(5, 2, TIEPixelFormat::pf24bit), back;
  image.Fill(MakeBGR(10, 200, 30));
  TZiridEvIO io;
  io.SetAttachedBitmap(&image);
  io.StreamHeaders = true;
  io.Params.BitsPerSample = 8;
  io.Params.SamplesPerPixel = 1;
  TIEMemoryStream s;
  io.SaveToStreamFormat(s, ftPCX);
  ASSERT_FALSE(io.Aborting) << io.LastError;
  const std::vector<uint8_t> bytes = s.Bytes();
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), std::string("PCX2\0\0\0\0", 8));
  s.WriteExact("tail", 4);
  s.Seek(0, TSeekOrigin::soBeginning);
  TZiridEvIO reader;
  reader.SetAttachedBitmap(&back);
  reader.StreamHeaders = true;
  reader.ParamsFromStreamFormat(s, ftPCX);
  ASSERT_FALSE(reader.Aborting) << reader.LastError;
  EXPECT_EQ(s.Position(), int64_t(bytes.size()));
  ASSERT_EQ(reader.Params.ColorMapCount, 256);
  EXPECT_EQ(reader.Params.ColorMap[0], MakeBGR(10, 200, 30));
  s.Seek(0, TSeekOrigin::soBeginning);
  reader.LoadFromStreamFormat(s, ftPCX);
  ASSERT_FALSE(reader.Aborting) << reader.LastError;
  EXPECT_EQ(s.Position(), int64_t(bytes.size()));
  EXPECT_EQ(RgbBytes(back), RgbBytes(image));
}

// Our run-length files at every depth beside Pillow's and netpbm's decoding
// (Pillow reads no packed 4-bit files).
TEST(PcxWrite, ReadByPillowAndNetpbm) {
  if (!HavePillow() || test::Run("command -v pcxtoppm >/dev/null") != 0) GTEST_SKIP() << "Pillow or netpbm missing";
  TempDir dir;
  const TOurImage source = ByCodec(ReadPNGStream)(ReadFileBytes(MakeOraclePicture(dir)));
  ASSERT_TRUE(source.ok);
  for (const auto& [bits, samples] : {std::pair{8, 3}, {8, 1}, {4, 1}, {1, 1}}) {
    SCOPED_TRACE(bits * samples);
    TIOParamsVals p = Params(bits, samples);
    const std::string file = dir.File("ours.pcx"), ppm = dir.File("netpbm.ppm");
    WriteFileBytes(file, Encode(WritePCXStream, source.bitmap, p));
    const TOurDecode ours = [&](const std::vector<uint8_t>&) { return ByCodec(ReadPCXStream)(ReadFileBytes(file)); };
    if (bits != 4) ExpectLikePillow(dir, file, ours);
    ASSERT_EQ(test::Run("pcxtoppm " + file + " > " + ppm + " 2>/dev/null"), 0);
    ExpectLikePillow(dir, ppm, ours);
  }
}

}  // namespace
}  // namespace quillet::test
