// Icons and cursors from hand-made files: the directory walk, the AND mask,
// the background colour of transparent pixels and the cursor hot spot.
#include <gtest/gtest.h>

#include "codec_harness.h"
#include "imaging/io/formats/ico/ico_codec.h"

namespace quillet::test {
namespace {

const TBGR kRed = MakeBGR(255, 0, 0);

// A 16 x 16 4-bit entry, all palette index 1 (red), with the AND bits set over
// the top-left 4 x 4 block. `type` 1 makes an icon, 2 a cursor (hot spot 5, 9).
std::vector<uint8_t> MakeIcon(uint16_t type, int entries = 1) {
  Bytes b;
  b.u16(0).u16(type).u16(uint16_t(entries));
  const uint32_t imageBytes = 40 + 16 * 4 + 16 * 8 + 16 * 4;
  for (int i = 0; i < entries; ++i) {
    b.u8(16).u8(16).u8(16).u8(0);
    b.u16(type == 2 ? 5 : 1).u16(type == 2 ? 9 : 4);
    b.u32(imageBytes).u32(uint32_t(6 + 16 * entries + i * imageBytes));
  }
  for (int i = 0; i < entries; ++i) {
    b.u32(40).u32(16).u32(32).u16(1).u16(4).u32(0).u32(0).u32(0).u32(0).u32(0).u32(0);
    for (int c = 0; c < 16; ++c) {
      const TBGR col = c == 1 ? kRed : kBlack;
      b.u8(col.b).u8(col.g).u8(col.r).u8(0);
    }
    for (int r = 0; r < 16; ++r) b.raw({0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11});
    for (int r = 0; r < 16; ++r) b.u8(r >= 12 ? 0xF0 : 0).zeros(3);  // bottom-up: rows 12..15 are the top
  }
  return b.v;
}

TEST(IcoRead, AndMaskMakesTheBackgroundShow) {
  const Decoded d = Decode(ReadICOStream, MakeIcon(1));
  ASSERT_FALSE(d.aborted) << d.error;
  ASSERT_EQ(d.bitmap.Width(), 16);
  ASSERT_EQ(d.bitmap.Height(), 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) EXPECT_EQ(d.bitmap.Pixel(x, y), x < 4 && y < 4 ? kWhite : kRed) << x << "," << y;
  EXPECT_EQ(d.params.BitsPerSample, 4);
  EXPECT_EQ(d.params.ColorMapCount, 16);

  const TBGR green = MakeBGR(0, 255, 0);
  const Decoded g = Decode(ReadICOStream, MakeIcon(1), [&](TIOParamsVals& p) { p.IcoBackground = green; });
  EXPECT_EQ(g.bitmap.Pixel(0, 0), green);
}

TEST(IcoRead, TransparentPixelsGetAlphaZero) {
  TIEMask alpha;
  const Decoded d = Decode(ReadICOStream, MakeIcon(1), {}, false, -1, &alpha);
  ASSERT_FALSE(d.aborted) << d.error;
  ASSERT_EQ(alpha.Width(), 16);
  ASSERT_EQ(alpha.BitsPerPixel(), 8);
  EXPECT_FALSE(alpha.Full());
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) EXPECT_EQ(alpha.GetPixel(x, y), x < 4 && y < 4 ? 0 : 255) << x << "," << y;
}

TEST(IcoRead, ThirtyTwoBitEntriesCarryTheirAlpha) {
  // 2 x 1, 32-bit B,G,R,A: an opaque red pixel and a half-transparent blue one.
  Bytes b;
  b.u16(0).u16(1).u16(1).u8(2).u8(1).u8(0).u8(0).u16(1).u16(32).u32(40 + 8 + 4).u32(22);
  b.u32(40).u32(2).u32(2).u16(1).u16(32).u32(0).u32(0).u32(0).u32(0).u32(0).u32(0);
  b.raw({0, 0, 255, 255, 255, 0, 0, 128}).zeros(4);
  TIEMask alpha;
  const Decoded d = Decode(ReadICOStream, b.v, {}, false, -1, &alpha);
  ASSERT_FALSE(d.aborted) << d.error;
  EXPECT_EQ(d.bitmap.Pixel(0, 0), kRed);
  EXPECT_EQ(d.bitmap.Pixel(1, 0), MakeBGR(0, 0, 255));
  EXPECT_EQ(alpha.GetPixel(0, 0), 255);
  EXPECT_EQ(alpha.GetPixel(1, 0), 128);
}

TEST(IcoRead, BilevelTransparencyShowsOrInvertsTheBackground) {
  // 8 x 1, black and white: colour bits 0101 0101, AND bits 1111 0000.
  Bytes b;
  b.u16(0).u16(1).u16(1).u8(8).u8(1).u8(2).u8(0).u16(1).u16(1).u32(40 + 8 + 8).u32(22);
  b.u32(40).u32(8).u32(2).u16(1).u16(1).u32(0).u32(0).u32(0).u32(0).u32(0).u32(0);
  b.raw({0, 0, 0, 0, 255, 255, 255, 0}).raw({0x55, 0, 0, 0}).raw({0xF0, 0, 0, 0});
  const Decoded white = Decode(ReadICOStream, b.v);
  ASSERT_FALSE(white.aborted) << white.error;
  EXPECT_EQ(white.bitmap.PixelFormat(), TIEPixelFormat::pf1bit);
  const Decoded black = Decode(ReadICOStream, b.v, [](TIOParamsVals& p) { p.IcoBackground = kBlack; });
  for (int x = 0; x < 8; ++x) {
    const bool colourBit = x & 1;
    // Transparent pixels: the background, inverted where the colour bit is set.
    EXPECT_EQ(white.bitmap.Pixel(x, 0), x < 4 ? (colourBit ? kBlack : kWhite) : (colourBit ? kWhite : kBlack)) << x;
    EXPECT_EQ(black.bitmap.Pixel(x, 0), x < 4 ? (colourBit ? kWhite : kBlack) : (colourBit ? kWhite : kBlack)) << x;
  }
}

TEST(IcoRead, IndexOutOfRangeChangesNothing) {
  const Decoded d = Decode(ReadICOStream, MakeIcon(1, 2), [](TIOParamsVals& p) { p.IcoImageIndex = 2; });
  EXPECT_FALSE(d.aborted);
  EXPECT_TRUE(d.bitmap.Empty());
  const Decoded second = Decode(ReadICOStream, MakeIcon(1, 2), [](TIOParamsVals& p) { p.IcoImageIndex = 1; });
  EXPECT_FALSE(second.aborted) << second.error;
  EXPECT_EQ(second.bitmap.Pixel(15, 15), kRed);
}

TEST(IcoRead, CursorHotSpotAndBackground) {
  const TBGR blue = MakeBGR(0, 0, 255);
  const Decoded d = Decode(ReadCURStream, MakeIcon(2), [&](TIOParamsVals& p) { p.CurBackground = blue; });
  ASSERT_FALSE(d.aborted) << d.error;
  EXPECT_EQ(d.params.CurXHotSpot, 5);
  EXPECT_EQ(d.params.CurYHotSpot, 9);
  EXPECT_EQ(d.bitmap.Pixel(1, 1), blue);
  EXPECT_EQ(d.bitmap.Pixel(8, 8), kRed);
}

TEST(IcoRead, BitmapHeaderWinsOverADirectoryThatDisagrees) {
  auto icon = MakeIcon(1);
  icon[7] = 32;  // the directory claims 16 x 32; the bitmap header says 16 x 16
  const Decoded d = Decode(ReadICOStream, icon);
  ASSERT_FALSE(d.aborted) << d.error;
  EXPECT_EQ(d.bitmap.Height(), 16);
  EXPECT_EQ(d.bitmap.Pixel(8, 8), kRed);
}

TEST(IcoRead, ContentTests) {
  const auto icon = MakeIcon(1), cursor = MakeIcon(2);
  TIEMemoryStream is(icon.data(), int64_t(icon.size())), cs(cursor.data(), int64_t(cursor.size()));
  EXPECT_TRUE(IsICOStream(is));
  EXPECT_FALSE(IsCURStream(is));
  EXPECT_EQ(is.Position(), 0);
  EXPECT_TRUE(IsCURStream(cs));
  auto bad = icon;
  bad[9] = 1;  // reserved byte of the entry
  TIEMemoryStream bs(bad.data(), int64_t(bad.size()));
  EXPECT_FALSE(IsICOStream(bs));
}

TEST(IcoRead, BrokenIconsFailCleanly) {
  auto png = MakeIcon(1);  // a PNG entry whose file stops after the signature
  const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::copy(signature, signature + 8, png.begin() + 22);
  EXPECT_TRUE(Decode(ReadICOStream, png).aborted);
  auto truncated = MakeIcon(1);
  truncated.resize(100);
  EXPECT_TRUE(Decode(ReadICOStream, truncated).aborted);
  auto huge = MakeIcon(1);
  huge[6] = 0;  // take the width from the header
  huge[26] = 0xFF, huge[27] = 0xFF, huge[28] = 0xFF, huge[29] = 0x7F;
  EXPECT_TRUE(Decode(ReadICOStream, huge).aborted);
}

}  // namespace
}  // namespace quillet::test
