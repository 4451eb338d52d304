// The JPEG codec on files it writes itself and on hand-patched ones: the
// start search, resolution, scaled decoding, CMYK, markers, IPTC, truncation
// and write failures.
#include <gtest/gtest.h>

#include "imaging/core/engine_settings.h"
#include "imaging/io/formats/jpeg/jpeg_codec.h"
#include "imaging/io/formats/jpeg/jpeg_metadata.h"
#include "imaging/io/ziridev_io.h"
#include "jpeg_png_support.h"

namespace quillet::test {
namespace {

std::vector<uint8_t> Jpeg(const TIEWorkingBitmap& b, const std::function<void(TIOParamsVals&)>& setup = {}) {
  TIOParamsVals p;
  p.JpegQuality = 90;
  if (setup) setup(p);
  const Encoded e = EncodeWith(WriteJPEGStream, b, p);
  EXPECT_FALSE(e.aborted) << e.error;
  return e.bytes;
}

// The JFIF header our writer puts first: unit at 13, densities at 14 and 16.
std::vector<uint8_t> WithDensity(std::vector<uint8_t> f, uint8_t unit, uint16_t x, uint16_t y) {
  EXPECT_EQ(std::string(f.begin() + 6, f.begin() + 10), "JFIF");
  f[13] = unit, f[14] = uint8_t(x >> 8), f[15] = uint8_t(x), f[16] = uint8_t(y >> 8), f[17] = uint8_t(y);
  return f;
}

double MeanDifference(const TIEWorkingBitmap& a, const TIEWorkingBitmap& b) {
  const std::vector<uint8_t> x = RgbBytes(a), y = RgbBytes(b);
  double sum = 0;
  for (size_t i = 0; i < x.size(); ++i) sum += std::abs(int(x[i]) - int(y[i]));
  return sum / double(x.size());
}

TEST(JpegRead, StartOfImageIsFoundWithinAHundredBytes) {
  const std::vector<uint8_t> jpeg = Jpeg(Picture(16, 8));
  for (const size_t prefix : {size_t(60), size_t(120)}) {
    std::vector<uint8_t> data(prefix, 'x');
    data.insert(data.end(), jpeg.begin(), jpeg.end());
    TIEMemoryStream stream(data.data(), int64_t(data.size()));
    EXPECT_EQ(TZiridEvIO::DetectStreamFormat(stream), prefix < 100 ? ftJPEG : ftNone);
    EXPECT_EQ(stream.Position(), 0);
    const Decoded d = Decode(ReadJPEGStream, data);
    EXPECT_EQ(d.aborted, prefix >= 100) << prefix;
    if (prefix < 100) {
      EXPECT_EQ(d.bitmap.Width(), 16);
    }
  }
}

TEST(JpegRead, ResolutionFromTheJfifDensity) {
  const std::vector<uint8_t> jpeg = Jpeg(Picture(8, 8));
  struct Case {
    uint8_t unit;
    uint16_t x, y;
    int32_t dpiX, dpiY;
  };
  const int screen = StartupMetrics().DpiX;
  for (const Case& c : {Case{2, 100, 100, 254, 254}, Case{2, 118, 118, 299, 299}, Case{1, 300, 150, 300, 150},
                        Case{0, 1, 1, screen, screen}, Case{1, 0, 72, screen, screen}}) {
    const Decoded d = Decode(ReadJPEGStream, WithDensity(jpeg, c.unit, c.x, c.y), {}, true);
    EXPECT_EQ(d.params.DpiX, c.dpiX) << int(c.unit) << " " << c.x;
    EXPECT_EQ(d.params.DpiY, c.dpiY) << int(c.unit) << " " << c.y;
  }
}

// Stands in for the TIFF reader: the resolution fields of the block's first
// three doubles, or nothing for an empty block.
bool FakeExif(const uint8_t* data, size_t size, TIOParamsVals& p) {
  if (size < 3 * sizeof(double)) return false;
  double v[3];
  std::memcpy(v, data, sizeof v);
  p.ExifXResolution = v[0], p.ExifYResolution = v[1], p.ExifResolutionUnit = int32_t(v[2]);
  return true;
}

TEST(JpegRead, AspectOnlyDensityTakesTheExifResolution) {
  SetExifDecoder(FakeExif);
  const auto withExif = [](double x, double y, double unit) {
    const double values[3] = {x, y, unit};
    std::vector<uint8_t> block(6 + sizeof values);
    std::memcpy(block.data(), "Exif\0", 6);
    std::memcpy(block.data() + 6, values, sizeof values);
    return WithDensity(Jpeg(Picture(8, 8), [&](TIOParamsVals& p) { p.JpegMarkers.Add(0xE1, block.data(), int64_t(block.size())); }), 0, 1, 1);
  };
  Decoded d = Decode(ReadJPEGStream, withExif(72, 72, 2), {}, true);
  EXPECT_EQ(d.params.DpiX, 72);
  EXPECT_EQ(d.params.DpiY, 72);
  d = Decode(ReadJPEGStream, withExif(100, 100, 3), {}, true);
  EXPECT_EQ(d.params.DpiX, 254);
  d = Decode(ReadJPEGStream, withExif(0, 0, 2), {}, true);  // no resolution in the block
  EXPECT_EQ(d.params.DpiX, StartupMetrics().DpiX);
  SetExifDecoder(nullptr);
}

TEST(JpegRead, ScaledDecoding) {
  const std::vector<uint8_t> jpeg = Jpeg(Picture(160, 120));
  struct Case {
    uint8_t scale;
    int32_t width, height;
    int64_t outW, outH;
    int32_t denominator;
  };
  for (const Case& c : {Case{0, 10, 10, 20, 15, 8}, Case{0, 0, 0, 160, 120, 1}, Case{0, 50, 50, 80, 60, 2},
                        Case{2, 0, 0, 80, 60, 2}, Case{4, 0, 0, 20, 15, 8}}) {
    const Decoded d = Decode(ReadJPEGStream, jpeg, [&](TIOParamsVals& p) {
      p.JpegScale = c.scale;
      p.Width = c.width, p.Height = c.height;
    });
    ASSERT_FALSE(d.aborted) << d.error;
    EXPECT_EQ(d.bitmap.Width(), c.outW) << int(c.scale) << " " << c.width;
    EXPECT_EQ(d.bitmap.Height(), c.outH);
    EXPECT_EQ(d.params.JpegScaleDenominator, c.denominator);
    EXPECT_EQ(d.params.Width, c.outW);
  }
}

TEST(JpegRead, ColourSpacesRoundTrip) {
  const TIEWorkingBitmap source = Picture(48, 32);
  for (const auto space : {TIOJPEGColorspace::RGB, TIOJPEGColorspace::YCbCr, TIOJPEGColorspace::CMYK,
                           TIOJPEGColorspace::YCbCrK, TIOJPEGColorspace::GrayScale}) {
    SCOPED_TRACE(int(space));
    const Decoded d = Decode(ReadJPEGStream, Jpeg(source, [&](TIOParamsVals& p) { p.JpegColorSpace = space; }));
    ASSERT_FALSE(d.aborted) << d.error;
    EXPECT_EQ(d.params.JpegColorSpace, space);
    if (space != TIOJPEGColorspace::GrayScale) {
      EXPECT_LT(MeanDifference(source, d.bitmap), 8.0);  // chroma subsampling on hard edges
    } else {
      const TBGR c = d.bitmap.Pixel(40, 20);
      EXPECT_TRUE(c.r == c.g && c.g == c.b);
    }
  }
}

TEST(JpegRead, CmykPixelsConvert) {
  // Pure red goes out as C = 255, M = Y = 0, K = 255 and comes back red;
  // white is C = M = Y = K = 255 as delivered.
  for (const TBGR colour : {MakeBGR(255, 0, 0), kWhite, MakeBGR(40, 80, 120)}) {
    TIEWorkingBitmap b(16, 16, TIEPixelFormat::pf24bit);
    b.Fill(colour);
    const Decoded d = Decode(ReadJPEGStream, Jpeg(b, [](TIOParamsVals& p) {
      p.JpegColorSpace = TIOJPEGColorspace::CMYK;
      p.JpegQuality = 100;
    }));
    ASSERT_FALSE(d.aborted) << d.error;
    const TBGR got = d.bitmap.Pixel(8, 8);
    EXPECT_NEAR(got.r, colour.r, 3);
    EXPECT_NEAR(got.g, colour.g, 3);
    EXPECT_NEAR(got.b, colour.b, 3);
  }
}

TEST(JpegRead, MarkersAreKeptInOrderAndWrittenBack) {
  const std::vector<uint8_t> exif = {'E', 'x', 'i', 'f', 0, 0, 1, 2, 3};
  const std::vector<uint8_t> adobe = {'A', 'd', 'o', 'b', 'e', 0, 100, 0, 0, 0, 0, 1};
  const std::vector<uint8_t> jpeg = Jpeg(Picture(8, 8), [&](TIOParamsVals& p) {
    p.JpegMarkers.Add(0xFE, "abc", 3);
    p.JpegMarkers.Add(0xE1, exif.data(), int64_t(exif.size()));
    p.JpegMarkers.Add(0xEE, adobe.data(), int64_t(adobe.size()));
    std::vector<uint8_t> huge(65535, 7);  // too long for a marker segment
    p.JpegMarkers.Add(0xE2, huge.data(), int64_t(huge.size()));
  });
  const Decoded d = Decode(ReadJPEGStream, jpeg);
  ASSERT_FALSE(d.aborted) << d.error;
  // The JFIF APP0 is dropped, our APP14 was not written (YCbCr has none).
  ASSERT_EQ(d.params.JpegMarkers.Count(), 2);
  EXPECT_EQ(d.params.JpegMarkers.MarkerType(0), 0xFE);
  EXPECT_EQ(d.params.JpegMarkers.MarkerType(1), 0xE1);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(d.params.JpegMarkers.MarkerBytes(0)), 3), "abc");

  TIOParamsVals again = d.params;
  again.JpegColorSpace = TIOJPEGColorspace::RGB;
  const Decoded back = Decode(ReadJPEGStream, EncodeWith(WriteJPEGStream, d.bitmap, again).bytes);
  const TIEMarkerList& m = back.params.JpegMarkers;
  ASSERT_GE(m.IndexOf(0xFE), 0);
  EXPECT_EQ(m.MarkerLength(m.IndexOf(0xFE)), 3);
  ASSERT_GT(m.IndexOf(0xE1), m.IndexOf(0xFE));
  EXPECT_EQ(m.MarkerLength(m.IndexOf(0xE1)), int64_t(exif.size()));
  // Only the library's own APP14 (first, before the kept markers), which
  // marks RGB as untransformed.
  int adobeMarkers = 0;
  for (int64_t i = 0; i < back.params.JpegMarkers.Count(); ++i)
    if (back.params.JpegMarkers.MarkerType(i) == 0xEE) {
      ++adobeMarkers;
      EXPECT_EQ(back.params.JpegMarkers.MarkerBytes(i)[11], 0);
    }
  EXPECT_EQ(adobeMarkers, 1);
}

TEST(JpegRead, IptcRecordsRoundTrip) {
  TIOParamsVals p;
  p.IptcInfo.Add(2, 5, "Harbour at dawn");
  p.IptcInfo.Add(2, 25, "boats");
  const TIEWorkingBitmap picture = Picture(8, 8);
  const Decoded d = Decode(ReadJPEGStream, EncodeWith(WriteJPEGStream, picture, p).bytes);
  ASSERT_EQ(d.params.IptcInfo.Count(), 2);
  EXPECT_EQ(d.params.IptcInfo.StringItem(0), "Harbour at dawn");
  EXPECT_EQ(d.params.IptcInfo.DataSet(1), 25);
  EXPECT_FALSE(d.params.IptcInfo.Changed());
  EXPECT_EQ(d.params.JpegMarkers.IndexOf(0xED), 0);

  // Untouched, the marker goes out as it came; edited, it is rebuilt;
  // emptied, it goes.
  TIOParamsVals same = d.params;
  same.IptcInfo.SetChanged(false);
  EXPECT_EQ(Decode(ReadJPEGStream, EncodeWith(WriteJPEGStream, picture, same).bytes).params.IptcInfo.Count(), 2);
  TIOParamsVals edited = d.params;
  edited.IptcInfo.Delete(0);
  const Decoded e = Decode(ReadJPEGStream, EncodeWith(WriteJPEGStream, picture, edited).bytes);
  ASSERT_EQ(e.params.IptcInfo.Count(), 1);
  EXPECT_EQ(e.params.IptcInfo.StringItem(0), "boats");
  edited.IptcInfo.Clear();
  EXPECT_EQ(Decode(ReadJPEGStream, EncodeWith(WriteJPEGStream, picture, edited).bytes).params.JpegMarkers.IndexOf(0xED), -1);
  // A fresh record writes no empty block.
  TIOParamsVals fresh;
  EXPECT_EQ(Decode(ReadJPEGStream, EncodeWith(WriteJPEGStream, picture, fresh).bytes).params.JpegMarkers.Count(), 0);
}

TEST(JpegRead, TruncatedFilesAbortButKeepTheImage) {
  for (const bool progressive : {false, true}) {
    SCOPED_TRACE(progressive);
    const std::vector<uint8_t> jpeg = Jpeg(Picture(64, 64), [&](TIOParamsVals& p) { p.JpegProgressive = progressive; });
    const std::vector<uint8_t> half(jpeg.begin(), jpeg.begin() + long(jpeg.size() / 2));
    const Decoded cut = Decode(ReadJPEGStream, half);
    EXPECT_TRUE(cut.aborted);
    EXPECT_EQ(cut.bitmap.Width(), 64);
    EXPECT_EQ(cut.bitmap.Height(), 64);
    // Only the end marker missing: every row is there.
    const std::vector<uint8_t> noEnd(jpeg.begin(), jpeg.end() - 2);
    const Decoded whole = Decode(ReadJPEGStream, noEnd);
    EXPECT_FALSE(whole.aborted) << whole.error;
    EXPECT_EQ(RgbBytes(whole.bitmap), RgbBytes(Decode(ReadJPEGStream, jpeg).bitmap));
  }
}

TEST(JpegRead, BrokenDataAborts) {
  EXPECT_TRUE(Decode(ReadJPEGStream, {}).aborted);
  EXPECT_TRUE(Decode(ReadJPEGStream, {0xFF, 0xD8, 0xFF}).aborted);
  std::vector<uint8_t> jpeg = Jpeg(Picture(16, 16));
  std::fill(jpeg.begin() + 20, jpeg.begin() + 200, 0x55);  // the tables become nonsense
  const Decoded d = Decode(ReadJPEGStream, jpeg);
  EXPECT_TRUE(d.aborted);
  EXPECT_EQ(d.error.rfind("JPeg corrupted file", 0), 0u) << d.error;
}

TEST(JpegWrite, ShortWriteAborts) {
  TIOParamsVals p;
  TFullStream full(100);
  const Encoded e = EncodeWith(WriteJPEGStream, Picture(200, 200), p, nullptr, &full);
  EXPECT_TRUE(e.aborted);
  EXPECT_EQ(e.error, "write error");
}

TEST(JpegWrite, BilevelAndResolution) {
  TIEWorkingBitmap b(20, 10, TIEPixelFormat::pf1bit);
  for (int64_t y = 0; y < 10; ++y) std::memset(b.ScanLine(y), y < 5 ? 0xFF : 0x00, size_t(b.RowBytes()));
  const Decoded d = Decode(ReadJPEGStream, Jpeg(b, [](TIOParamsVals& p) {
    p.DpiX = 300, p.DpiY = 100000;  // the density field holds 16 bits
    p.JpegQuality = 100;
  }));
  ASSERT_FALSE(d.aborted) << d.error;
  EXPECT_GE(d.bitmap.Pixel(3, 1).r, 250);
  EXPECT_LE(d.bitmap.Pixel(3, 8).r, 5);
  EXPECT_EQ(d.params.DpiX, 300);
  EXPECT_EQ(d.params.DpiY, 65535);
}

TEST(JpegRead, ThroughTheComponentByExtension) {
  TempDir dir;
  const std::string file = dir.File("photo.JFIF");
  TIEWorkingBitmap image = Picture(30, 20), loaded;
  TZiridEvIO io;
  io.SetAttachedBitmap(&image);
  io.Params.JpegProgressive = true;
  io.SaveToFile(file);
  ASSERT_FALSE(io.Aborting) << io.LastError;
  TZiridEvIO in;
  in.SetAttachedBitmap(&loaded);
  in.LoadFromFile(file);
  ASSERT_FALSE(in.Aborting) << in.LastError;
  EXPECT_EQ(in.Params.FileType, ftJPEG);
  EXPECT_TRUE(in.Params.JpegProgressive);
  EXPECT_EQ(loaded.Width(), 30);
  EXPECT_LT(MeanDifference(image, loaded), 8.0);
}

}  // namespace
}  // namespace quillet::test
