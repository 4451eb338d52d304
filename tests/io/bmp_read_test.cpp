// BMP reading from hand-made files: polarity, RLE escapes, bit fields,
// top-down rows, progress and cancel, and broken files.
#include <gtest/gtest.h>

#include "codec_harness.h"
#include "imaging/io/formats/bmp/bmp_codec.h"
#include "imaging/proc/dib_block.h"

namespace quillet::test {
namespace {

const TBGR kRed = MakeBGR(255, 0, 0), kBlue = MakeBGR(0, 0, 255);

TEST(BmpRead, WhiteBlackPaletteLoadsAsBlackOnWhite) {
  // 8 x 1, pixel bits 1010 0000: index 1 is black in this palette.
  const auto file = MakeBmp(8, 1, 1, 0, {kWhite, kBlack}, {0xA0, 0, 0, 0});
  const Decoded d = Decode(ReadBMPStream, file);
  ASSERT_FALSE(d.aborted) << d.error;
  EXPECT_EQ(d.bitmap.PixelFormat(), TIEPixelFormat::pf1bit);
  EXPECT_EQ(d.bitmap.Pixel(0, 0), kBlack);
  EXPECT_EQ(d.bitmap.Pixel(1, 0), kWhite);
  EXPECT_EQ(d.bitmap.Pixel(2, 0), kBlack);
  EXPECT_EQ(d.bitmap.Pixel(7, 0), kWhite);
  EXPECT_EQ(d.params.BitsPerSample, 1);
  EXPECT_EQ(d.params.SamplesPerPixel, 1);
}

TEST(BmpRead, TwoColourPaletteOtherThanBlackWhiteKeepsItsColours) {
  const auto file = MakeBmp(2, 1, 1, 0, {kBlue, kRed}, {0x40, 0, 0, 0});
  const Decoded d = Decode(ReadBMPStream, file);
  ASSERT_FALSE(d.aborted);
  EXPECT_EQ(d.bitmap.PixelFormat(), TIEPixelFormat::pf24bit);
  EXPECT_EQ(d.bitmap.Pixel(0, 0), kBlue);
  EXPECT_EQ(d.bitmap.Pixel(1, 0), kRed);
  EXPECT_EQ(d.params.ColorMapCount, 2);
}

TEST(BmpRead, Rle4DeltaMovesRightAndUp) {
  std::vector<TBGR> pal(16, kWhite);
  pal[1] = kRed, pal[2] = kBlue;
  const auto file = MakeBmp(8, 2, 4, 2, pal, {0x02, 0x11, 0x00, 0x02, 0x03, 0x01, 0x02, 0x22, 0x00, 0x01});
  const Decoded d = Decode(ReadBMPStream, file);
  ASSERT_FALSE(d.aborted) << d.error;
  EXPECT_EQ(d.params.BmpCompression, 1);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 8; ++x) {
      TBGR want = kWhite;
      if (y == 1 && x < 2) want = kRed;
      if (y == 0 && (x == 5 || x == 6)) want = kBlue;
      EXPECT_EQ(d.bitmap.Pixel(x, y), want) << x << "," << y;
    }
}

TEST(BmpRead, Rle8RunsPastTheEdgeWriteNothingOutside) {
  std::vector<TBGR> pal(256, kBlack);
  pal[7] = kRed;
  // A run of 255 on a 3-wide image, a delta far outside, then a literal of 3.
  const auto file = MakeBmp(3, 2, 8, 1, pal, {0xFF, 7, 0, 2, 200, 0, 0, 0, 0, 3, 7, 7, 7, 0, 0, 1});
  const Decoded d = Decode(ReadBMPStream, file);
  EXPECT_EQ(d.bitmap.Pixel(0, 1), kRed);
  EXPECT_EQ(d.bitmap.Pixel(2, 1), kRed);
  EXPECT_EQ(d.bitmap.Pixel(0, 0), kRed);  // the literal on the next line
}

TEST(BmpRead, SixteenBitMasks) {
  // 5-6-5 masks right after the 40-byte header: 0xFFFF is (248, 252, 248).
  const auto f565 = MakeBmp(1, 1, 16, 3, {}, {0xFF, 0xFF, 0, 0}, {0xF800, 0x07E0, 0x001F});
  const Decoded d565 = Decode(ReadBMPStream, f565);
  ASSERT_FALSE(d565.aborted) << d565.error;
  EXPECT_EQ(d565.bitmap.Pixel(0, 0), MakeBGR(248, 252, 248));
  EXPECT_EQ(d565.params.BitsPerSample, 5);
  // The default 5-5-5: 0x7FFF is (248, 248, 248); 0x7C00 is pure red.
  const auto f555 = MakeBmp(2, 1, 16, 0, {}, {0xFF, 0x7F, 0x00, 0x7C});
  const Decoded d555 = Decode(ReadBMPStream, f555);
  EXPECT_EQ(d555.bitmap.Pixel(0, 0), MakeBGR(248, 248, 248));
  EXPECT_EQ(d555.bitmap.Pixel(1, 0), MakeBGR(248, 0, 0));
  // Narrow masks (2-3-1 bits) must not shift by negative amounts.
  const auto f231 = MakeBmp(1, 1, 16, 3, {}, {0x3F, 0, 0, 0}, {0x30, 0x0E, 0x01});
  const Decoded d231 = Decode(ReadBMPStream, f231);
  EXPECT_EQ(d231.bitmap.Pixel(0, 0), MakeBGR(192, 224, 128));
}

TEST(BmpRead, ThirtyTwoBitMasksInAnyOrder) {
  // Channels stored as R, G, B from the low byte up.
  const auto file = MakeBmp(1, 1, 32, 3, {}, {10, 20, 30, 0}, {0x0000FF, 0x00FF00, 0xFF0000});
  const Decoded d = Decode(ReadBMPStream, file);
  ASSERT_FALSE(d.aborted) << d.error;
  EXPECT_EQ(d.bitmap.Pixel(0, 0), MakeBGR(10, 20, 30));
}

TEST(BmpRead, TopDownFilesStayUpright) {
  std::vector<TBGR> pal(256, kBlack);
  pal[1] = kRed;
  const auto file = MakeBmp(1, -2, 8, 0, pal, {1, 0, 0, 0, 0, 0, 0, 0});
  const Decoded d = Decode(ReadBMPStream, file);
  ASSERT_FALSE(d.aborted) << d.error;
  EXPECT_EQ(d.bitmap.Height(), 2);
  EXPECT_EQ(d.bitmap.Pixel(0, 0), kRed);
  EXPECT_EQ(d.bitmap.Pixel(0, 1), kBlack);
  // RLE cannot be top-down.
  EXPECT_TRUE(Decode(ReadBMPStream, MakeBmp(1, -2, 8, 1, pal, {1, 1, 0, 1})).aborted);
}

TEST(BmpRead, LongHeaderPaletteFollowsTheWholeHeader) {
  // A 108-byte header: the 256-entry palette starts at 14 + 108.
  Bytes b;
  b.raw({'B', 'M'}).u32(0).u32(0).u32(14 + 108 + 1024);
  b.u32(108).u32(2).u32(1).u16(1).u16(8).u32(0).u32(4).u32(0).u32(0).u32(256).u32(0).zeros(108 - 40);
  for (int i = 0; i < 256; ++i) b.u8(uint8_t(i)).u8(uint8_t(255 - i)).u8(uint8_t(i / 2)).u8(0);
  b.raw({0, 255, 0, 0});
  const Decoded d = Decode(ReadBMPStream, b.v);
  ASSERT_FALSE(d.aborted) << d.error;
  EXPECT_EQ(d.params.BmpVersion, 0);
  EXPECT_EQ(d.params.ColorMapCount, 256);
  EXPECT_EQ(d.bitmap.Pixel(0, 0), (TBGR{0, 255, 0}));
  EXPECT_EQ(d.bitmap.Pixel(1, 0), (TBGR{255, 0, 127}));
}

TEST(BmpRead, IndexesPastThePaletteReadBlack) {
  const auto file = MakeBmp(2, 1, 8, 0, {kRed}, {0, 200, 0, 0});
  const Decoded d = Decode(ReadBMPStream, file);
  ASSERT_FALSE(d.aborted);
  EXPECT_EQ(d.bitmap.Pixel(0, 0), kRed);
  EXPECT_EQ(d.bitmap.Pixel(1, 0), kBlack);
}

TEST(BmpRead, ProgressPerRowAndCancel) {
  const int h = 100;
  std::vector<uint8_t> rows(size_t(4 * h), 0);  // 1 x 100, 24-bit black
  const auto file = MakeBmp(1, h, 24, 0, {}, rows);
  const Decoded all = Decode(ReadBMPStream, file);
  ASSERT_EQ(all.progress.size(), size_t(h));
  for (int i = 0; i < h; ++i) EXPECT_EQ(all.progress[size_t(i)], i);

  const Decoded cut = Decode(ReadBMPStream, file, {}, false, 50);
  EXPECT_TRUE(cut.aborted);
  EXPECT_EQ(cut.bitmap.Pixel(0, h - 1), kBlack);  // decoded first: the bottom rows
  EXPECT_EQ(cut.bitmap.Pixel(0, 0), kWhite);      // never reached
}

TEST(BmpRead, ParamsOnlyLeavesTheBitmapAlone) {
  const auto file = MakeBmp(7, 3, 24, 0, {}, std::vector<uint8_t>(72, 0));
  const Decoded d = Decode(ReadBMPStream, file, {}, true);
  EXPECT_FALSE(d.aborted);
  EXPECT_EQ(d.params.Width, 7);
  EXPECT_EQ(d.params.Height, 3);
  EXPECT_EQ(d.params.DpiX, 72);  // 2835 pixels per metre
  EXPECT_TRUE(d.bitmap.Empty());
}

TEST(BmpRead, BrokenFilesFailCleanly) {
  std::vector<std::vector<uint8_t>> files;
  files.push_back({'B', 'M', 0, 0});
  files.push_back(MakeBmp(0x7FFFFFFF, 0x7FFFFFFF, 24, 0, {}, {1, 2, 3}));   // over the pixel limit
  files.push_back(MakeBmp(-5, 3, 24, 0, {}, std::vector<uint8_t>(48, 0)));  // negative width
  files.push_back(MakeBmp(4, 4, 2, 0, {}, std::vector<uint8_t>(16, 0)));    // 2 bits per pixel
  files.push_back(MakeBmp(4, 4, 24, 4, {}, std::vector<uint8_t>(16, 0)));   // JPEG inside
  files.push_back(MakeBmp(4, 4, 24, 0, {}, std::vector<uint8_t>(20, 0)));   // truncated rows
  auto lying = MakeBmp(1, 1, 8, 0, {kRed}, {0, 0, 0, 0});
  lying[46] = 0xFF, lying[47] = 0xFF, lying[48] = 0xFF;  // "colours used" far past the file
  files.push_back(lying);
  auto farOffset = MakeBmp(8, 2, 4, 2, std::vector<TBGR>(16, kWhite), {0x02, 0x11, 0x00, 0x01});
  farOffset[13] = 0x16;  // pixel data "at" 369 MB into a 200-byte file
  files.push_back(farOffset);
  for (size_t i = 0; i < files.size(); ++i) {
    const Decoded d = Decode(ReadBMPStream, files[i]);
    EXPECT_TRUE(d.aborted) << "file " << i;
    EXPECT_FALSE(d.error.empty()) << "file " << i;
  }
}

TEST(BmpRead, TruncatedRowsKeepWhatWasDecoded) {
  std::vector<uint8_t> rows(12, 0);  // only 3 of 4 rows (1 x 4, 24-bit black)
  const Decoded d = Decode(ReadBMPStream, MakeBmp(1, 4, 24, 0, {}, rows));
  EXPECT_TRUE(d.aborted);
  EXPECT_EQ(d.bitmap.Pixel(0, 3), kBlack);
  EXPECT_EQ(d.bitmap.Pixel(0, 0), kWhite);
}

// Opening a file and pasting its bitmap (the file less its 14-byte header)
// give the same picture.
TEST(BmpRead, FilesAndClipboardBlocksDecodeAlike) {
  std::vector<TBGR> pal16(16, kBlue), pal256(256, kRed);
  pal16[3] = kRed, pal256[9] = kBlue;
  const std::vector<std::vector<uint8_t>> files = {
      MakeBmp(8, 1, 1, 0, {kWhite, kBlack}, {0xA5, 0, 0, 0}),
      MakeBmp(3, 2, 4, 0, pal16, {0x31, 0x30, 0, 0, 0x03, 0x13, 0, 0}),
      MakeBmp(2, -2, 8, 0, pal256, {9, 1, 0, 0, 1, 9, 0, 0}),
      MakeBmp(2, 1, 16, 3, {}, {0x00, 0xF8, 0xE0, 0x07}, {0xF800, 0x07E0, 0x001F}),
      MakeBmp(3, 2, 8, 1, pal256, {2, 9, 1, 1, 0, 0, 3, 1, 0, 1}),
  };
  for (size_t i = 0; i < files.size(); ++i) {
    const Decoded file = Decode(ReadBMPStream, files[i]);
    TIEWorkingBitmap pasted;
    ASSERT_FALSE(file.aborted) << i << ": " << file.error;
    ASSERT_TRUE(ReadDibBlock(std::span(files[i]).subspan(14), pasted)) << i;
    EXPECT_EQ(RgbBytes(pasted), RgbBytes(file.bitmap)) << i;
    EXPECT_EQ(pasted.PixelFormat(), file.bitmap.PixelFormat()) << i;
  }
}

}  // namespace
}  // namespace quillet::test
