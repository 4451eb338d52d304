// Reading GIF files made in memory: the palette rules, multi-image files,
// transparency, interlace, a table full without a clear code, and damaged data.
#include <gtest/gtest.h>

#include <algorithm>

#include "gif_support.h"
#include "imaging/core/bit_io.h"
#include "imaging/core/engine_settings.h"
#include "imaging/core/interlace.h"
#include "imaging/io/ziridev_io.h"

namespace quillet::test {
namespace {

const TBGR kRed = MakeBGR(255, 0, 0), kBlue = MakeBGR(0, 0, 255), kGreen = MakeBGR(0, 255, 0);

std::vector<uint8_t> Ramp(int count, int modulo) {
  std::vector<uint8_t> v(size_t(count), 0);
  for (int i = 0; i < count; ++i) v[size_t(i)] = uint8_t(i * 7 % modulo);
  return v;
}

TEST_F(GifTest, PaletteDecidesThePixelFormat) {
  const struct {
    std::vector<TBGR> table;
    int bitCount;
  } cases[] = {{{kBlack, kWhite}, 1}, {{kWhite, kBlack}, 24}, {{kRed, kBlue}, 24}};
  for (const auto& c : cases) {
    GifImageSpec im{.w = 9, .h = 2, .indices = Ramp(18, 2)};
    const Decoded d = DecodeGif(MakeGif(9, 2, c.table, {im}));
    ASSERT_FALSE(d.aborted) << d.error;
    EXPECT_EQ(d.bitmap.BitCount(), c.bitCount);
    EXPECT_EQ(d.params.BitsPerSample, 1);
    EXPECT_EQ(d.params.ColorMapCount, 2);
    for (int i = 0; i < 18; ++i)  // all 9 pixels of both rows
      EXPECT_EQ(d.bitmap.Pixel(i % 9, i / 9), c.table[im.indices[size_t(i)]]) << i;
  }
}

TEST_F(GifTest, PicksOneImageOfAMultiImageFile) {
  std::vector<GifImageSpec> images;
  for (int i = 0; i < 3; ++i)
    images.push_back({.w = 2 + i, .h = 3, .left = 10 * i, .top = i, .indices = Ramp(3 * (2 + i), 3),
                      .local = i == 1 ? std::vector<TBGR>{kGreen, kBlue, kRed} : std::vector<TBGR>{},
                      .delay = 5 * i + 1});
  const std::vector<uint8_t> file = MakeGif(40, 10, {kBlack, kWhite, kRed}, images);
  const Decoded d = DecodeGif(file, 1);
  ASSERT_FALSE(d.aborted) << d.error;
  EXPECT_EQ(d.params.GifImageCount, 3);
  EXPECT_EQ(d.params.GifDelayTime, 6);
  EXPECT_EQ(d.params.GifXPos, 10);
  EXPECT_EQ(d.params.GifYPos, 1);
  EXPECT_EQ(d.bitmap.Width(), 3);
  EXPECT_EQ(d.bitmap.Pixel(1, 0), kBlue);  // through the local table

  // Past the last image: the bitmap is left as it was, without a failure.
  Decoded past;
  past.bitmap.Resize(4, 4, TIEPixelFormat::pf24bit);
  TIEMemoryStream s(file.data(), int64_t(file.size()));
  bool aborted = false;
  TIOProgress progress;
  progress.Aborting = &aborted;
  past.params.GifImageIndex = 5;
  TIOReadArgs args{s, past.bitmap, past.params, progress};
  ReadGIFStream(args);
  EXPECT_FALSE(aborted);
  EXPECT_EQ(past.bitmap.Width(), 4);
  EXPECT_EQ(past.params.GifImageCount, 3);

  TempDir dir;
  WriteFileBytes(dir.File("three.gif"), file);
  EXPECT_EQ(TZiridEvIO::CountGifImages(dir.File("three.gif")), 3);
  EXPECT_EQ(TZiridEvIO::CountGifImages(dir.File("missing.gif")), 0);
}

TEST_F(GifTest, TransparentIndexClearsAlpha) {
  const std::vector<uint8_t> indices = {0, 3, 1, 3, 2, 0};
  for (const bool withControl : {false, true}) {
    GifImageSpec im{.w = 3, .h = 2, .indices = indices};
    if (withControl) im.transparent = 3;
    TIEMask alpha;
    const Decoded d = DecodeGif(MakeGif(3, 2, {kRed, kGreen, kBlue, kWhite}, {im}), 0, &alpha);
    ASSERT_FALSE(d.aborted) << d.error;
    EXPECT_EQ(d.params.GifTransparent, withControl);
    for (int i = 0; i < 6; ++i)
      EXPECT_EQ(alpha.GetPixel(i % 3, i / 3), withControl && indices[size_t(i)] == 3 ? 0 : 255) << i;
    if (withControl) EXPECT_EQ(d.params.GifTransparentColor, kWhite);
  }
  // The component takes the transparent colour as its background.
  TempDir dir;
  GifImageSpec im{.w = 3, .h = 2, .indices = indices, .transparent = 1};
  WriteFileBytes(dir.File("t.gif"), MakeGif(3, 2, {kRed, kGreen, kBlue, kWhite}, {im}));
  TIEWorkingBitmap bitmap;
  TIEMask alpha;
  TZiridEvIO io;
  io.SetAttachedBitmap(&bitmap);
  io.SetAlphaMask(&alpha);
  io.LoadFromFile(dir.File("t.gif"));
  ASSERT_FALSE(io.Aborting) << io.LastError;
  EXPECT_EQ(io.Background(), kGreen);
  EXPECT_EQ(alpha.GetPixel(2, 1), 255);
  EXPECT_EQ(alpha.GetPixel(0, 1), 255);
}

TEST_F(GifTest, InterlacedRowsLandInPlace) {
  for (const int h : {1, 2, 3, 5, 9, 17}) {
    std::vector<bool> seen(size_t(h), false);
    for (int i = 0; i < h; ++i) seen[size_t(InterlacedRow(i, h))] = true;
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), h) << h;
    GifImageSpec im{.w = 3, .h = h, .indices = Ramp(3 * h, 4), .interlaced = true};
    const Decoded d = DecodeGif(MakeGif(3, h, {kRed, kGreen, kBlue, kWhite}, {im}));
    ASSERT_FALSE(d.aborted) << h;
    EXPECT_TRUE(d.params.GifInterlaced);
    const TBGR table[] = {kRed, kGreen, kBlue, kWhite};
    for (int i = 0; i < 3 * h; ++i) EXPECT_EQ(d.bitmap.Pixel(i % 3, i / 3), table[im.indices[size_t(i)]]) << h;
  }
}

// Codes of literals only, the width growing as the decoder's table fills,
// and no clear code once the table is full: the decoder must keep reading
// 12-bit codes with the table as it is.
std::vector<uint8_t> LiteralsWithoutClear(const std::vector<uint8_t>& pixels) {
  std::vector<uint8_t> codes;
  TIEBitWriterLSB bits(codes);
  int size = 3, next = 6;
  bits.WriteBits(4, size);
  for (size_t i = 0; i < pixels.size(); ++i) {
    bits.WriteBits(pixels[i], size);
    if (i > 0 && next < 4096 && ++next == 1 << size && size < 12) ++size;
  }
  bits.WriteBits(5, size);
  bits.Flush();
  Bytes b;
  b.u8(2);
  for (size_t at = 0; at < codes.size(); at += 255) {
    const size_t n = std::min<size_t>(255, codes.size() - at);
    b.u8(uint8_t(n)).v.insert(b.v.end(), codes.begin() + int64_t(at), codes.begin() + int64_t(at + n));
  }
  b.u8(0);
  return b.v;
}

// A file of one w x h image whose LZW data is given as it stands.
std::vector<uint8_t> WithData(int w, int h, const std::vector<uint8_t>& data, const std::vector<TBGR>& table) {
  Bytes b;
  b.raw({'G', 'I', 'F', '8', '9', 'a'}).u16(uint16_t(w)).u16(uint16_t(h)).u8(table.empty() ? 0 : 0x81).u8(0).u8(0);
  if (!table.empty()) PutTable(b, table, 2);
  b.u8(0x2C).u16(0).u16(0).u16(uint16_t(w)).u16(uint16_t(h)).u8(0);
  b.v.insert(b.v.end(), data.begin(), data.end());
  b.u8(0x3B);
  return b.v;
}

TEST_F(GifTest, FullTableWithoutClearCodeReadsOn) {
  const std::vector<uint8_t> pixels = Ramp(100 * 50, 4);
  const Decoded d = DecodeGif(WithData(100, 50, LiteralsWithoutClear(pixels), {kRed, kGreen, kBlue, kWhite}));
  ASSERT_FALSE(d.aborted) << d.error;
  const TBGR table[] = {kRed, kGreen, kBlue, kWhite};
  for (int i = 0; i < 5000; i += 7) ASSERT_EQ(d.bitmap.Pixel(i % 100, i / 100), table[pixels[size_t(i)]]) << i;
}

TEST_F(GifTest, DamagedDataFailsCleanlyOrKeepsWhatWasDecoded) {
  const std::vector<TBGR> table = {kRed, kGreen, kBlue, kWhite};
  const std::vector<uint8_t> good = LzwData({1, 2, 3, 1, 2, 3}, 3, 2, 2, false);
  std::vector<uint8_t> truncated(good.begin(), good.begin() + 3);  // a sub-block cut short
  std::vector<uint8_t> trailing = good;
  trailing.insert(trailing.end() - 1, {1, 0xFF});  // a sub-block after the end code
  const struct {
    const char* name;
    std::vector<uint8_t> data;
    bool fails;
  } cases[] = {
      {"code size 1", {1, 1, 0x05, 0}, true},
      {"code size 9", {9, 1, 0x05, 0}, true},
      {"no data", {2, 0}, true},
      {"code past the next free", {2, 2, 0xCC, 0x01, 0}, true},  // clear, 1, then 7 > next (6)
      {"truncated", truncated, false},
      {"extra data after the end code", trailing, false},
  };
  for (const auto& c : cases) {
    const Decoded d = DecodeGif(WithData(3, 2, c.data, table));
    EXPECT_EQ(d.aborted, c.fails) << c.name << ": " << d.error;
  }
  // A cut short image keeps its decoded pixels and the rest is index 0.
  const Decoded cut = DecodeGif(WithData(3, 2, {2, 1, 0x0C, 0}, table));  // clear, then index 1
  ASSERT_FALSE(cut.aborted);
  EXPECT_EQ(cut.bitmap.Pixel(2, 1), kRed);
}

TEST_F(GifTest, OutOfRangeIndicesAndMissingTablesReadBlackOrGrey) {
  // Index 3 of a two-entry table, transparent index 200 and background 9 are black.
  GifImageSpec im{.w = 2, .h = 1, .indices = {1, 3}, .transparent = 200, .codeSize = 2};
  const Decoded d = DecodeGif(MakeGif(2, 1, {kRed, kBlue}, {im}, 9));
  ASSERT_FALSE(d.aborted) << d.error;
  EXPECT_EQ(d.bitmap.Pixel(0, 0), kBlue);
  EXPECT_EQ(d.bitmap.Pixel(1, 0), kBlack);
  EXPECT_EQ(d.params.GifTransparentColor, kBlack);
  EXPECT_EQ(d.params.GifBackground, kBlack);
  // No table at all: the grey ramp, and the bits of the code size.
  GifImageSpec grey{.w = 2, .h = 1, .indices = {5, 200}, .codeSize = 8};
  const Decoded g = DecodeGif(MakeGif(2, 1, {}, {grey}));
  ASSERT_FALSE(g.aborted) << g.error;
  EXPECT_EQ(g.bitmap.Pixel(1, 0), MakeBGR(200, 200, 200));
  EXPECT_EQ(g.params.BitsPerSample, 8);
}

TEST_F(GifTest, ControlExtensionWithMoreBytesKeepsTheWalkInStep) {
  Bytes b;
  b.raw({'G', 'I', 'F', '8', '9', 'a'}).u16(1).u16(1).u8(0x80).u8(0).u8(0);
  PutTable(b, {kRed, kGreen}, 1);
  b.raw({0x21, 0xF9, 6, 1, 42, 0, 1, 7, 7, 2, 9, 9, 0});  // 6 bytes, then a further sub-block
  PutImage(b, {.w = 1, .h = 1, .indices = {0}}, 1);
  b.u8(0x3B);
  const Decoded d = DecodeGif(b.v);
  ASSERT_FALSE(d.aborted) << d.error;
  EXPECT_EQ(d.params.GifDelayTime, 42);
  EXPECT_EQ(d.params.GifTransparentColor, kGreen);
  EXPECT_EQ(d.params.GifImageCount, 1);
}

TEST_F(GifTest, RefusesWhatItCannotRead) {
  const std::vector<uint8_t> one = MakeGif(2, 2, {kRed, kBlue}, {{.w = 2, .h = 2, .indices = {0, 1, 1, 0}}});
  Bytes huge;  // 65535 x 65535: over the pixel limit before anything is allocated
  huge.raw({'G', 'I', 'F', '8', '9', 'a'}).u16(1).u16(1).u8(0).u8(0).u8(0);
  huge.u8(0x2C).u16(0).u16(0).u16(65535).u16(65535).u8(0).raw({2, 1, 0x04, 0, 0x3B});
  Bytes empty;  // a zero-sized image
  empty.raw({'G', 'I', 'F', '8', '9', 'a'}).u16(1).u16(1).u8(0).u8(0).u8(0);
  empty.u8(0x2C).u16(0).u16(0).u16(0).u16(5).u8(0).raw({2, 1, 0x04, 0, 0x3B});
  const struct {
    const char* name;
    std::vector<uint8_t> file;
  } cases[] = {{"not GIF", {'G', 'I', 'X', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0}},
               {"nothing after the screen", {one.begin(), one.begin() + 19}},
               {"65535 squared", huge.v},
               {"zero width", empty.v}};
  for (const auto& c : cases) EXPECT_TRUE(DecodeGif(c.file).aborted) << c.name;

  SetLzwSlots({});
  const Decoded none = DecodeGif(one);
  EXPECT_TRUE(none.aborted);
  EXPECT_EQ(none.error, "no GIF decoder installed");
  // A file with no image at all reads nothing and counts none.
  InstallDefaultCoders();
  std::vector<uint8_t> noImageFile(one.begin(), one.begin() + 19);
  noImageFile.push_back(0x3B);
  const Decoded noImage = DecodeGif(noImageFile);
  EXPECT_FALSE(noImage.aborted);
  EXPECT_TRUE(noImage.bitmap.Empty());
  EXPECT_EQ(noImage.params.GifImageCount, 0);
}

TEST_F(GifTest, ReportsProgressAndStopsWhenAborted) {
  const std::vector<uint8_t> file = MakeGif(2, 2, {kRed, kBlue}, {{.w = 2, .h = 2, .indices = {0, 1, 1, 0}}});
  const Decoded d = DecodeGif(file);
  EXPECT_EQ(d.progress, (std::vector<int>{0, 30, 70, 100}));
  const Decoded stopped = Decode(ReadGIFStream, file, {}, false, 30);
  EXPECT_TRUE(stopped.aborted);
  EXPECT_TRUE(stopped.bitmap.Empty());
}

}  // namespace
}  // namespace quillet::test
