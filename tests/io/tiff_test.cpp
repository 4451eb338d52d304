// The TIFF codec on hand-made files: pages and their chain, byte orders and
// resolutions, round trips of every compression, conversions, orientation,
// inserted pages, damaged files, EXIF blocks and cancelling.
#include <gtest/gtest.h>

#include "imaging/core/engine_settings.h"
#include "imaging/io/formats/jpeg/jpeg_codec.h"
#include "tiff_support.h"

namespace quillet::test {
namespace {

bool SamePixels(const TIEWorkingBitmap& a, const TIEWorkingBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.PixelFormat() != b.PixelFormat()) return false;
  for (int64_t y = 0; y < a.Height(); ++y)
    for (int64_t x = 0; x < a.Width(); ++x)
      if (!(a.Pixel(x, y) == b.Pixel(x, y))) return false;
  return true;
}

TIEWorkingBitmap Grey(uint32_t w, uint32_t h, const std::vector<uint8_t>& levels) {
  TIEWorkingBitmap b(w, h, TIEPixelFormat::pf24bit);
  for (uint32_t i = 0; i < w * h; ++i) std::fill_n(b.ScanLine(i / w) + 3 * (i % w), 3, levels[i]);
  return b;
}

// A directory entry of the written file, read back by the reader's own rules.
uint32_t WrittenTag(const std::vector<uint8_t>& file, uint16_t tag) {
  const uint32_t dir = uint32_t(file[4] | file[5] << 8 | file[6] << 16 | file[7] << 24);
  const int count = file[dir] | file[dir + 1] << 8;
  for (int i = 0; i < count; ++i) {
    const uint8_t* e = &file[dir + 2 + 12 * i];
    if ((e[0] | e[1] << 8) == tag) return e[8] | e[9] << 8 | (e[2] == 3 ? 0 : e[10] << 16 | e[11] << 24);
  }
  return UINT32_MAX;
}

TEST_F(TiffTest, PagesAndTheirChain) {
  const TiffPage a = PlainPage(2, 1, 8, 1, 1, {10, 20}), b = PlainPage(3, 1, 8, 1, 1, {30, 40, 50});
  const std::vector<uint8_t> two = BuildTiff({a, b});
  const Decoded past = DecodeTiff(two, 2);
  EXPECT_TRUE(past.aborted);
  EXPECT_EQ(past.params.TiffImageCount, 2);
  const Decoded second = DecodeTiff(two, 1);
  ASSERT_FALSE(second.aborted) << second.error;
  EXPECT_EQ(second.bitmap.Width(), 3);
  EXPECT_EQ(second.bitmap.Pixel(2, 0).r, 50);
  TIEMemoryStream stream(two.data(), int64_t(two.size()));
  EXPECT_EQ(CountTiffPages(stream), 2);

  // A link to itself ends the chain; a cycle A -> B -> A stops at the repeat.
  std::vector<uint8_t> self = BuildTiff({a});
  const uint32_t first = self[4] | self[5] << 8, link = first + 2 + 12 * self[first];
  self[link] = uint8_t(first), self[link + 1] = uint8_t(first >> 8);
  EXPECT_EQ(DecodeTiff(self, 5).params.TiffImageCount, 1);
  std::vector<uint8_t> cycle = two;
  const size_t lastLink = cycle.size() - 4;
  cycle[lastLink] = uint8_t(first), cycle[lastLink + 1] = uint8_t(first >> 8);
  const Decoded looped = DecodeTiff(cycle, 7);
  EXPECT_TRUE(looped.aborted);
  EXPECT_EQ(looped.params.TiffImageCount, 2);
}

TEST_F(TiffTest, ByteOrderAndResolution) {
  TiffPage wide = PlainPage(300, 1, 8, 1, 1, std::vector<uint8_t>(300, 7));
  const Decoded big = DecodeTiff(BuildTiff({wide}, true));
  ASSERT_FALSE(big.aborted) << big.error;
  EXPECT_EQ(big.bitmap.Width(), 300);

  struct Case {
    uint32_t unit, num, den;
    int32_t dpi;
  };
  for (const Case c : {Case{3, 100, 1, 254}, Case{3, 11811, 100, 299}, Case{2, 300, 1, 300}, Case{2, 0, 1, StartupMetrics().DpiX}}) {
    TiffPage p = PlainPage(1, 1, 8, 1, 1, {0});
    p.Set(296, {c.unit});
    std::vector<uint8_t> file = BuildTiff({p.Set(282, {c.num}, 5)});
    // The builder writes denominators of 1: put the wanted one in.
    const uint32_t dir = file[4] | file[5] << 8;
    for (int i = 0; i < file[dir]; ++i)
      if ((file[dir + 2 + 12 * i] | file[dir + 3 + 12 * i] << 8) == 282) file[(file[dir + 10 + 12 * i] | file[dir + 11 + 12 * i] << 8) + 4] = uint8_t(c.den);
    EXPECT_EQ(Decode(ReadTIFFStream, file, {}, true).params.DpiX, c.dpi) << c.num << "/" << c.den;
  }
}

TEST_F(TiffTest, BilevelRoundTripsWithEveryCompression) {
  const TIEWorkingBitmap image = RandomBitmap(1728, 100, TIEPixelFormat::pf1bit, 7);
  using C = TIOTIFFCompression;
  for (const C c : {C::UNCOMPRESSED, C::CCITT1D, C::G3FAX1D, C::G3FAX2D, C::G4FAX, C::LZW, C::PACKBITS}) {
    SCOPED_TRACE(int(c));
    // Left at RGB, the bilevel page still says what its rows mean.
    const std::vector<uint8_t> file = EncodeTiff(image, c);
    const bool fax = c >= C::CCITT1D && c <= C::G4FAX;
    EXPECT_EQ(WrittenTag(file, 262), fax ? 0u : 1u);
    const Decoded back = DecodeTiff(file);
    ASSERT_FALSE(back.aborted) << back.error;
    EXPECT_TRUE(SamePixels(back.bitmap, image));
  }
  // Group 4 data ends with two EOL codes, then zero bits to the byte.
  const std::vector<uint8_t> g4 = EncodeTiff(image, C::G4FAX);
  const uint32_t start = WrittenTag(g4, 273), size = WrittenTag(g4, 279);
  uint32_t tail = 0;
  for (uint32_t i = start + size - 4; i < start + size; ++i) tail = tail << 8 | g4[i];
  while ((tail & 1) == 0) tail >>= 1;
  EXPECT_EQ(tail & 0xFFFFFF, 0x001001u);
}

TEST_F(TiffTest, ColourRoundTripsAndKnownValues) {
  const TIEWorkingBitmap image = RandomBitmap(257, 33, TIEPixelFormat::pf24bit, 3);
  for (const TIOTIFFCompression c : {TIOTIFFCompression::LZW, TIOTIFFCompression::PACKBITS}) {
    const std::vector<uint8_t> file = EncodeTiff(image, c);
    EXPECT_EQ(WrittenTag(file, 317), c == TIOTIFFCompression::LZW ? 2u : UINT32_MAX);
    const Decoded back = DecodeTiff(file);
    ASSERT_FALSE(back.aborted) << back.error;
    EXPECT_TRUE(SamePixels(back.bitmap, image));
  }
  const Decoded cmyk = DecodeTiff(BuildTiff({PlainPage(3, 1, 8, 4, 5, {0, 0, 0, 0, 0, 0, 0, 255, 255, 0, 0, 0})}));
  ASSERT_FALSE(cmyk.aborted) << cmyk.error;
  EXPECT_EQ(cmyk.bitmap.Pixel(0, 0), kWhite);
  EXPECT_EQ(cmyk.bitmap.Pixel(1, 0), kBlack);
  EXPECT_EQ(cmyk.bitmap.Pixel(2, 0), MakeBGR(0, 255, 255));
}

TEST_F(TiffTest, GreyLevels) {
  TiffPage molli = PlainPage(1, 1, 16, 1, 1, {0xFF, 0x0F});  // 4095
  molli.Set(305, {'L', 'o', 'o', 'k', '@', 'M', 'o', 'l', 'l', 'i', ' ', 'v', '1', '.', '1', 0}, 2);
  EXPECT_EQ(DecodeTiff(BuildTiff({molli})).bitmap.Pixel(0, 0).g, 255);
  EXPECT_EQ(DecodeTiff(BuildTiff({PlainPage(2, 1, 16, 1, 1, {0xFF, 0xFF, 0x00, 0x01})})).bitmap.Pixel(1, 0).g, 1);
  const Decoded four = DecodeTiff(BuildTiff({PlainPage(2, 1, 4, 1, 1, {0xF0})}));
  EXPECT_EQ(four.bitmap.Pixel(0, 0).g, 240);
  EXPECT_EQ(four.bitmap.Pixel(1, 0).g, 0);
}

// Uncompressed rows are read as they are needed: bits reversed by FillOrder
// 2, and a strip shorter than its rows stops the page.
TEST_F(TiffTest, UncompressedRowsFromTheStrip) {
  TiffPage reversed = PlainPage(8, 2, 1, 1, 1, {0x01, 0x80});
  const Decoded bits = DecodeTiff(BuildTiff({reversed.Set(266, {2})}));
  ASSERT_FALSE(bits.aborted) << bits.error;
  EXPECT_EQ(bits.bitmap.Pixel(0, 0), kWhite);
  EXPECT_EQ(bits.bitmap.Pixel(7, 0), kBlack);
  EXPECT_EQ(bits.bitmap.Pixel(7, 1), kWhite);
  TiffPage shortStrip = PlainPage(4, 4, 8, 1, 1, std::vector<uint8_t>(16, 9));
  const Decoded cut = DecodeTiff(BuildTiff({shortStrip.Set(279, {10}, 4)}));
  EXPECT_TRUE(cut.aborted);
  EXPECT_EQ(cut.bitmap.Pixel(3, 1).g, 9);
  EXPECT_EQ(cut.bitmap.Pixel(0, 2), kWhite);
}

TEST_F(TiffTest, OrientationTurnsTheImageUpright) {
  std::vector<uint8_t> levels = {1, 2, 3, 4, 5, 6};
  std::vector<uint8_t> rgb;
  for (uint8_t v : levels) rgb.insert(rgb.end(), {v, v, v});
  struct Case {
    uint32_t orientation;
    int64_t x, y;  // where stored pixel (0, 0) ends
  };
  for (const Case c : {Case{6, 1, 0}, Case{8, 0, 2}, Case{3, 2, 1}}) {
    TiffPage p = PlainPage(3, 2, 8, 3, 2, rgb);
    const std::vector<uint8_t> file = BuildTiff({p.Set(274, {c.orientation})});
    const Decoded upright = DecodeTiff(file);
    ASSERT_FALSE(upright.aborted) << upright.error;
    EXPECT_EQ(upright.bitmap.Pixel(c.x, c.y).g, 1) << c.orientation;
    EXPECT_EQ(upright.bitmap.Width(), c.orientation == 3 ? 3 : 2);
    EXPECT_TRUE(SamePixels(DecodeTiff(file, 0, false).bitmap, Grey(3, 2, levels)));
  }
}

TEST_F(TiffTest, InsertedPages) {
  const std::vector<uint8_t> one = BuildTiff({PlainPage(2, 1, 8, 1, 1, {10, 20})});
  const TIEWorkingBitmap image = RandomBitmap(5, 4, TIEPixelFormat::pf24bit, 9);
  const auto insert = [&](std::vector<uint8_t> bytes, int& pages) {
    TIEMemoryStream stream(std::move(bytes));
    TIOParamsVals params;
    bool aborted = false;
    TIOProgress progress;
    progress.Aborting = &aborted;
    TIOWriteArgs args{stream, image, params, progress};
    pages = InsertTIFFStream(args);
    return stream.Bytes();
  };
  int pages = 0;
  const std::vector<uint8_t> two = insert(one, pages);
  EXPECT_EQ(pages, 2);
  const Decoded added = DecodeTiff(two, 1);
  ASSERT_FALSE(added.aborted) << added.error;
  EXPECT_TRUE(SamePixels(added.bitmap, image));
  EXPECT_EQ(DecodeTiff(two, 0).bitmap.Width(), 2);
  const std::vector<uint8_t> motorola = BuildTiff({PlainPage(2, 1, 8, 1, 1, {10, 20})}, true);
  EXPECT_EQ(insert(motorola, pages), motorola);
  EXPECT_EQ(pages, 0);
}

TEST_F(TiffTest, DamagedFilesFailCleanly) {
  TiffPage tiles = PlainPage(16, 16, 8, 1, 1, std::vector<uint8_t>(256, 1));
  tiles.Set(322, {0}).Set(323, {16}).Set(324, {8}, 4).Set(325, {256}, 4);
  EXPECT_TRUE(DecodeTiff(BuildTiff({tiles})).aborted);
  TiffPage beyond = PlainPage(4, 4, 8, 1, 1, std::vector<uint8_t>(16, 1));
  EXPECT_TRUE(DecodeTiff(BuildTiff({beyond.Set(273, {100000}, 4)})).aborted);
  TiffPage exif = PlainPage(1, 1, 8, 1, 1, {1});
  EXPECT_TRUE(DecodeTiff(BuildTiff({exif.Set(34665, {900000}, 4)})).aborted);
  // A short colour map gives a grey ramp.
  TiffPage palette = PlainPage(2, 1, 8, 1, 3, {0, 255});
  const Decoded ramp = DecodeTiff(BuildTiff({palette.Set(320, {1, 2, 3})}));
  ASSERT_FALSE(ramp.aborted) << ramp.error;
  EXPECT_EQ(ramp.bitmap.Pixel(1, 0), kWhite);
  // What cannot be decoded gives a white page of the right size and Aborting.
  TiffPage deflate = PlainPage(3, 2, 8, 3, 2, std::vector<uint8_t>(18, 0));
  const Decoded refused = DecodeTiff(BuildTiff({deflate.Set(259, {8})}));
  EXPECT_TRUE(refused.aborted);
  EXPECT_EQ(refused.bitmap.Width(), 3);
  EXPECT_EQ(refused.bitmap.Pixel(2, 1), kWhite);
}

TEST_F(TiffTest, CancelKeepsTheRowsDecoded) {
  const TIEWorkingBitmap image = RandomBitmap(64, 50, TIEPixelFormat::pf24bit, 5);
  TIOParamsVals params;
  params.TiffCompression = TIOTIFFCompression::PACKBITS;
  std::vector<uint8_t> file = Encode(WriteTIFFStream, image, params);
  const Decoded half = Decode(ReadTIFFStream, file, {}, false, 50);
  EXPECT_TRUE(half.aborted);
  EXPECT_EQ(half.bitmap.Pixel(3, 10), image.Pixel(3, 10));
}

// An EXIF block (either byte order) with Make, Orientation 6 and, in its second
// directory, a JPEG thumbnail, inside a JPEG that Pillow writes.
TEST_F(TiffTest, ExifBlocksOfJpegFiles) {
  if (!HavePillow()) GTEST_SKIP() << "Pillow missing";
  TempDir dir;
  const std::string thumb = dir.File("thumb.jpg"), photo = dir.File("photo.jpg");
  ASSERT_EQ(RunPython("from PIL import Image\nImage.new('RGB', (16, 8), (9, 99, 199)).save(r'''" + thumb + "''')\n"), 0);
  const std::vector<uint8_t> thumbnail = ReadFileBytes(thumb);
  for (const bool big : {false, true}) {
    TiffPage ifd0, ifd1;
    ifd0.Set(271, {'Q', 'c', 'a', 'm', 0}, 2).Set(274, {6});
    ifd1.Set(259, {6}).Set(514, {uint32_t(thumbnail.size())}, 4);
    ifd1.data = thumbnail;
    ifd1.offsetTag = 513;
    std::string hex;
    for (uint8_t b : BuildTiff({ifd0, ifd1}, big)) hex += "\\x" + std::string(1, "0123456789abcdef"[b >> 4]) + "0123456789abcdef"[b & 15];
    ASSERT_EQ(RunPython("from PIL import Image\n"
                        "Image.new('RGB', (40, 20), (1, 2, 3)).save(r'''" + photo + "''', exif=b'Exif\\0\\0" + hex + "')\n"),
              0);
    const Decoded jpeg = Decode(ReadJPEGStream, ReadFileBytes(photo));
    ASSERT_FALSE(jpeg.aborted) << jpeg.error;
    EXPECT_EQ(jpeg.params.ExifMake, "Qcam");
    EXPECT_EQ(jpeg.params.ExifOrientation, 6);
    EXPECT_EQ(jpeg.bitmap.Width(), 40);  // reported, never applied
    EXPECT_EQ(jpeg.params.ExifThumbnail.Width(), 16);
    EXPECT_EQ(jpeg.params.ExifThumbnail.Height(), 8);
  }
}

}  // namespace
}  // namespace quillet::test
