// The clipboard block: exact bytes written for 24-bit and 1-bit areas, every
// header size and pixel depth read back, RLE, and blocks that must be refused
// without touching the image.
#include <gtest/gtest.h>

#include <random>

#include "dib_blocks.h"
#include "imaging/core/dib_rle.h"
#include "imaging/core/math.h"
#include "imaging/proc/dib_block.h"
#include "imaging/core/engine_settings.h"

namespace quillet::test {
namespace {

void SetRgb(TIEWorkingBitmap& b, int64_t x, int64_t y, uint8_t r, uint8_t g, uint8_t bl) {
  uint8_t* p = b.ScanLine(y) + 3 * x;
  p[0] = bl, p[1] = g, p[2] = r;
}

TIEWorkingBitmap RandomBitmap(int w, int h, TIEPixelFormat format, unsigned seed) {
  TIEWorkingBitmap b(w, h, format);
  std::mt19937 rng(seed);
  for (int y = 0; y < h; ++y)
    for (int64_t i = 0; i < b.RowBytes(); ++i) b.ScanLine(y)[i] = uint8_t(rng());
  return b;
}

std::vector<uint8_t> Slice(const std::vector<uint8_t>& v, size_t at, size_t n) {
  return std::vector<uint8_t>(v.begin() + at, v.begin() + at + n);
}

// Same size, format and colours, pixel by pixel.
void ExpectSamePixels(const TIEWorkingBitmap& got, const TIEWorkingBitmap& want) {
  ASSERT_EQ(got.Width(), want.Width());
  ASSERT_EQ(got.Height(), want.Height());
  ASSERT_EQ(got.PixelFormat(), want.PixelFormat());
  for (int64_t y = 0; y < want.Height(); ++y)
    for (int64_t x = 0; x < want.Width(); ++x) ASSERT_EQ(got.Pixel(x, y), want.Pixel(x, y)) << x << "," << y;
}

TEST(DibBlockWriter, TwentyFourBitBytes) {
  TIEWorkingBitmap b(3, 2, TIEPixelFormat::pf24bit);
  SetRgb(b, 0, 0, 255, 0, 0), SetRgb(b, 1, 0, 0, 255, 0), SetRgb(b, 2, 0, 0, 0, 255);
  SetRgb(b, 0, 1, 0, 0, 0), SetRgb(b, 1, 1, 255, 255, 255), SetRgb(b, 2, 1, 128, 128, 128);
  std::vector<uint8_t> want = {0x28, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0x18, 0, 0, 0, 0, 0};
  want.resize(40, 0);
  want.insert(want.end(), {0, 0, 0, 0xFF, 0xFF, 0xFF, 0x80, 0x80, 0x80, 0, 0, 0});
  want.insert(want.end(), {0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0, 0, 0, 0});
  EXPECT_EQ(WriteDibBlock(b), want);
}

TEST(DibBlockWriter, BilevelRowsAndTable) {
  TIEWorkingBitmap b(10, 1, TIEPixelFormat::pf1bit);
  for (int x = 0; x < 10; ++x) SetBit(b.ScanLine(0), x, x % 2 == 0);
  b.ScanLine(0)[1] |= 0x3F;  // stray bits past the last pixel are not copied
  const auto block = WriteDibBlock(b);
  ASSERT_EQ(block.size(), 52u);
  EXPECT_EQ(block[14], 1);
  EXPECT_EQ(Slice(block, 40, 8), (std::vector<uint8_t>{0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(Slice(block, 48, 4), (std::vector<uint8_t>{0xAA, 0x80, 0, 0}));
  // From column 3 on, column 3 lands in the most significant bit.
  const auto shifted = WriteDibBlock(b, 3, 0, 10, 1);
  EXPECT_EQ(Slice(shifted, 48, 4), (std::vector<uint8_t>{0x54, 0, 0, 0}));

  TIEWorkingBitmap back;
  ASSERT_TRUE(ReadDibBlock(block, back));
  ASSERT_EQ(back.PixelFormat(), TIEPixelFormat::pf1bit);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(GetBit(back.ScanLine(0), x), x % 2 == 0) << x;
}

TEST(DibBlockWriter, BilevelAreasAtEveryBitOffset) {
  const TIEWorkingBitmap b = RandomBitmap(37, 3, TIEPixelFormat::pf1bit, 7);
  for (int x1 = 0; x1 < 16; ++x1)
    for (int x2 : {x1 + 1, x1 + 8, x1 + 9, 37}) {
      SCOPED_TRACE(testing::Message() << x1 << ".." << x2);
      const auto block = WriteDibBlock(b, x1, 1, x2, 3);
      const int64_t stride = RowLength(x2 - x1, 1);
      ASSERT_EQ(int64_t(block.size()), 48 + 2 * stride);
      for (int r = 0; r < 2; ++r) {
        const uint8_t* row = block.data() + 48 + r * stride;
        const uint8_t* src = b.ScanLine(2 - r);
        for (int i = 0; i < x2 - x1; ++i) ASSERT_EQ(GetBit(row, i), GetBit(src, x1 + i)) << i;
        for (int64_t i = x2 - x1; i < 8 * stride; ++i) ASSERT_FALSE(GetBit(row, i)) << "padding bit " << i;
      }
    }
}

TEST(DibBlockWriter, AreasRoundTripAndClip) {
  for (TIEPixelFormat f : {TIEPixelFormat::pf24bit, TIEPixelFormat::pf1bit}) {
    const TIEWorkingBitmap b = RandomBitmap(9, 5, f, 3);
    TIEWorkingBitmap back;
    ASSERT_TRUE(ReadDibBlock(WriteDibBlock(b, 2, 1, 7, 4), back));
    ASSERT_EQ(back.Width(), 5);
    ASSERT_EQ(back.Height(), 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) ASSERT_EQ(back.Pixel(x, y), b.Pixel(x + 2, y + 1));
    ASSERT_TRUE(ReadDibBlock(WriteDibBlock(b, -4, -4, 100, 100), back));
    ExpectSamePixels(back, b);
    EXPECT_TRUE(WriteDibBlock(b, 4, 0, 4, 5).empty());
  }
}

TEST(DibBlockWriter, OtherFormatsAsTwentyFourBits) {
  TIEWorkingBitmap b(5, 2, TIEPixelFormat::pf8bit);
  for (int i = 0; i < 256; ++i) b.Palette().push_back(TRGBQuad{uint8_t(i), uint8_t(255 - i), uint8_t(i / 2), 0});
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 5; ++x) b.ScanLine(y)[x] = uint8_t(40 * x + y);
  const auto block = WriteDibBlock(b, 1, 0, 5, 2);
  EXPECT_EQ(block[14], 24);
  TIEWorkingBitmap back;
  ASSERT_TRUE(ReadDibBlock(block, back));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(back.Pixel(x, y), b.Pixel(x + 1, y));
}

// A 7 x 3 image in one source encoding, its expected colours beside it.
struct TDepthCase {
  const char* name;
  uint16_t bits;
  uint32_t compression;
  std::vector<uint32_t> masks;
  uint32_t (*value)(int x, int y);
  TBGR (*color)(uint32_t v);
};

TBGR From555(uint32_t v) {
  return MakeBGR(uint8_t((v >> 10 & 31) << 3), uint8_t((v >> 5 & 31) << 3), uint8_t((v & 31) << 3));
}
TBGR From565(uint32_t v) {
  return MakeBGR(uint8_t((v >> 11) << 3), uint8_t((v >> 5 & 63) << 2), uint8_t((v & 31) << 3));
}
TBGR TableColor(uint32_t i) { return MakeBGR(uint8_t(i * 37), uint8_t(255 - i * 11), uint8_t(i * 5)); }
uint32_t Hash(int x, int y) {
  uint32_t v = uint32_t(x) * 2654435761u ^ uint32_t(y) * 40503u;
  return v ^ v >> 13;
}
uint8_t Byte(uint32_t v, int i) { return uint8_t(v >> (8 * i)); }

const std::vector<TDepthCase>& DepthCases() {
  static const std::vector<TDepthCase> cases = {
      {"1", 1, 0, {}, [](int x, int y) { return uint32_t(x + y) % 2; }, [](uint32_t v) { return v ? kWhite : kBlack; }},
      {"4", 4, 0, {}, [](int x, int y) { return uint32_t(3 * x + 5 * y) % 16; }, TableColor},
      {"8", 8, 0, {}, [](int x, int y) { return Hash(x, y) % 256; }, TableColor},
      {"555", 16, 0, {}, [](int x, int y) { return Hash(x, y) & 0x7FFF; }, From555},
      {"555 fields", 16, 3, {0x7C00, 0x03E0, 0x001F}, [](int x, int y) { return Hash(x, y) & 0x7FFF; }, From555},
      {"565 fields", 16, 3, {0xF800, 0x07E0, 0x001F}, [](int x, int y) { return Hash(x, y) & 0xFFFF; }, From565},
      // Neither 5-5-5 nor 5-6-5: each channel is scaled from its own mask.
      {"4-4-8 fields", 16, 3, {0x000F, 0x00F0, 0xFF00}, [](int x, int y) { return Hash(x, y) & 0xFFFF; },
       [](uint32_t v) { return MakeBGR(uint8_t((v & 15) << 4), uint8_t(v & 0xF0), uint8_t(v >> 8)); }},
      {"24", 24, 0, {}, [](int x, int y) { return Hash(x, y) & 0xFFFFFF; },
       [](uint32_t v) { return TBGR{Byte(v, 0), Byte(v, 1), Byte(v, 2)}; }},
      {"32", 32, 0, {}, Hash, [](uint32_t v) { return TBGR{Byte(v, 0), Byte(v, 1), Byte(v, 2)}; }},
      {"32 fields", 32, 3, {0x000000FF, 0x0000FF00, 0x00FF0000}, Hash,
       [](uint32_t v) { return MakeBGR(Byte(v, 0), Byte(v, 1), Byte(v, 2)); }},
  };
  return cases;
}

TEST(DibBlockReader, EveryHeaderSizeAndDepth) {
  constexpr int w = 7, h = 3;
  for (uint32_t headerSize : {12u, 40u, 52u, 56u, 64u, 108u, 124u})
    for (const TDepthCase& c : DepthCases())
      for (bool topDown : {false, true}) {
        if (headerSize == 12 && (c.compression != 0 || c.bits == 16 || c.bits == 32 || topDown)) continue;
        if (headerSize == 64 && c.compression != 0) continue;  // compression 3 is another coding there
        SCOPED_TRACE(testing::Message() << "header " << headerSize << " bits " << c.name << " top-down " << topDown);
        std::vector<std::vector<uint32_t>> rows(h, std::vector<uint32_t>(w));
        for (int y = 0; y < h; ++y)
          for (int x = 0; x < w; ++x) rows[y][x] = c.value(x, y);
        TBlockLayout layout{headerSize, w, topDown ? -h : h, c.bits, c.compression, 0, c.masks, {}};
        if (c.bits <= 8)
          for (uint32_t i = 0; i < (1u << c.bits); ++i) layout.table.push_back(c.bits == 1 ? c.color(i) : TableColor(i));
        TIEWorkingBitmap out;
        ASSERT_TRUE(ReadDibBlock(MakeBlock(layout, PackRows(rows, w, c.bits, topDown)), out));
        ASSERT_EQ(out.Width(), w);
        ASSERT_EQ(out.Height(), h);
        EXPECT_EQ(out.PixelFormat(), c.bits == 1 ? TIEPixelFormat::pf1bit : TIEPixelFormat::pf24bit);
        for (int y = 0; y < h; ++y)
          for (int x = 0; x < w; ++x) ASSERT_EQ(out.Pixel(x, y), c.color(rows[y][x])) << x << "," << y;
      }
}

TEST(DibBlockReader, BilevelTables) {
  // White, black: the bits are inverted, so the picture keeps its look.
  const TBlockLayout whiteBlack{40, 8, 1, 1, 0, 0, {}, {kWhite, kBlack}};
  TIEWorkingBitmap out;
  ASSERT_TRUE(ReadDibBlock(MakeBlock(whiteBlack, {0xF0, 0, 0, 0}), out));
  ASSERT_EQ(out.PixelFormat(), TIEPixelFormat::pf1bit);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(out.Pixel(x, 0), x < 4 ? kBlack : kWhite) << x;
  // A table cut to one entry (the second reads black) inverts as well.
  ASSERT_TRUE(ReadDibBlock(MakeBlock({40, 8, 1, 1, 0, 1, {}, {kWhite}}, {0xF0, 0, 0, 0}), out));
  EXPECT_EQ(out.Pixel(0, 0), kBlack);
  EXPECT_EQ(out.Pixel(7, 0), kWhite);
}

TEST(DibBlockReader, ColourCountsAreClampedAndMissingEntriesBlack) {
  // 1000 colours claimed for 4 bits: the rows follow all 1000 entries, of which the first are used.
  TBlockLayout layout{40, 2, 1, 4, 0, 1000, {}, {}};
  for (int i = 0; i < 1000; ++i) layout.table.push_back(TableColor(uint32_t(i)));
  TIEWorkingBitmap out;
  ASSERT_TRUE(ReadDibBlock(MakeBlock(layout, {0xF1, 0, 0, 0}), out));
  EXPECT_EQ(out.Pixel(0, 0), TableColor(15));
  EXPECT_EQ(out.Pixel(1, 0), TableColor(1));
  // Three entries given: index 5 is black.
  ASSERT_TRUE(ReadDibBlock(MakeBlock({40, 2, 1, 8, 0, 3, {}, {kWhite, kWhite, kWhite}}, {2, 5, 0, 0}), out));
  EXPECT_EQ(out.Pixel(0, 0), kWhite);
  EXPECT_EQ(out.Pixel(1, 0), kBlack);
}

TEST(DibBlockReader, PixelsPassedApart) {
  const TIEWorkingBitmap b = RandomBitmap(6, 4, TIEPixelFormat::pf24bit, 11);
  const auto block = WriteDibBlock(b);
  const std::vector<uint8_t> header(block.begin(), block.begin() + 40), pixels(block.begin() + 40, block.end());
  TIEWorkingBitmap out;
  ASSERT_TRUE(ReadDibBlock(header, out, pixels));
  ExpectSamePixels(out, b);
  // Too few pixel bytes apart are refused even when the block holds enough.
  EXPECT_FALSE(ReadDibBlock(block, out, std::span(pixels).first(pixels.size() - 1)));
}

// A w x h RLE block of random indices, its expected colours beside it.
struct TRleBlock {
  std::vector<uint8_t> block;
  std::vector<std::vector<TBGR>> colors;
};

TRleBlock MakeRleBlock(int w, int h, int bits, unsigned seed) {
  std::mt19937 rng(seed);
  TRleBlock r;
  TBlockLayout layout{40, w, h, uint16_t(bits), bits == 8 ? 1u : 2u, 0, {}, {}};
  for (uint32_t i = 0; i < (1u << bits); ++i) layout.table.push_back(TableColor(i));
  std::vector<std::vector<uint8_t>> rows(static_cast<size_t>(h), std::vector<uint8_t>(static_cast<size_t>(w)));
  for (auto& row : rows)
    for (int x = 0; x < w;) {
      const int run = std::min<int>(w - x, rng() % 2 ? 1 : int(rng() % 9) + 2);
      std::fill_n(row.begin() + x, run, uint8_t(rng() % (1u << bits)));
      x += run;
    }
  std::vector<uint8_t> data;
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) EncodeDibRleRow(it->data(), w, bits, data);
  data.insert(data.end(), {0, 1});
  r.block = MakeBlock(layout, data);
  for (const auto& row : rows) {
    r.colors.emplace_back();
    for (uint8_t i : row) r.colors.back().push_back(TableColor(i));
  }
  return r;
}

TEST(DibBlockReader, RunLengthData) {
  for (int bits : {8, 4}) {
    SCOPED_TRACE(bits);
    const TRleBlock r = MakeRleBlock(13, 4, bits, unsigned(bits));
    TIEWorkingBitmap out;
    ASSERT_TRUE(ReadDibBlock(r.block, out));
    ASSERT_EQ(out.PixelFormat(), TIEPixelFormat::pf24bit);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 13; ++x) ASSERT_EQ(out.Pixel(x, y), r.colors[y][x]) << x << "," << y;
  }
  // By hand, bottom row first: a run, a delta of (1, 1), a literal running off
  // the right edge, end of line, a run, end of bitmap. Skipped pixels are white.
  const TBGR red = MakeBGR(255, 0, 0), green = MakeBGR(0, 255, 0), blue = MakeBGR(0, 0, 255);
  const TBlockLayout layout{40, 5, 3, 8, 1, 4, {}, {kBlack, red, green, blue}};
  const std::vector<uint8_t> data = {3, 1, 0, 2, 1, 1, 0, 3, 2, 3, 2, 0, 0, 0, 2, 3, 0, 1};
  TIEWorkingBitmap out;
  ASSERT_TRUE(ReadDibBlock(MakeBlock(layout, data), out));
  const std::vector<std::vector<TBGR>> want = {{blue, blue, kWhite, kWhite, kWhite},
                                               {kWhite, kWhite, kWhite, kWhite, green},
                                               {red, red, red, kWhite, kWhite}};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(out.Pixel(x, y), want[y][x]) << x << "," << y;
}

void ExpectRefused(const std::vector<uint8_t>& block, const char* why) {
  SCOPED_TRACE(why);
  TIEWorkingBitmap b = RandomBitmap(3, 2, TIEPixelFormat::pf24bit, 5);
  const TIEWorkingBitmap before = b;
  const uint64_t changes = b.ChangeCount();
  EXPECT_FALSE(ReadDibBlock(block, b));
  EXPECT_EQ(b.ChangeCount(), changes);
  ExpectSamePixels(b, before);
}

TEST(DibBlockReader, BadBlocksLeaveTheImageAlone) {
  const std::vector<uint8_t> row4(4, 0);
  ExpectRefused({}, "empty");
  ExpectRefused({40, 0, 0}, "shorter than the size field");
  auto odd = MakeBlock({40, 1, 1, 24, 0, 0, {}, {}}, row4);
  odd[0] = 15;
  ExpectRefused(odd, "header size neither 12 nor 16 and more");
  ExpectRefused(MakeBlock({64, 1, 1, 16, 3, 0, {}, {}}, row4), "compression 3 of an OS/2 version 2 header");
  auto cut = MakeBlock({108, 1, 1, 24, 0, 0, {}, {}}, row4);
  cut.resize(60);
  ExpectRefused(cut, "header longer than the block");
  ExpectRefused(MakeBlock({40, 0, 1, 24, 0, 0, {}, {}}, row4), "zero width");
  ExpectRefused(MakeBlock({40, -1, 1, 24, 0, 0, {}, {}}, row4), "negative width");
  ExpectRefused(MakeBlock({40, 1, 0, 24, 0, 0, {}, {}}, row4), "zero height");
  ExpectRefused(MakeBlock({40, 1, 1, 7, 0, 0, {}, std::vector<TBGR>(128)}, row4), "seven bits");
  ExpectRefused(MakeBlock({40, 1, 1, 24, 3, 0, {0xFF, 0xFF00, 0xFF0000}, {}}, row4), "bit fields at 24 bits");
  ExpectRefused(MakeBlock({40, 1, 1, 24, 4, 0, {}, {}}, row4), "embedded compressed image");
  ExpectRefused(MakeBlock({40, 1, 1, 16, 3, 0, {}, {}}, {0, 0}), "masks cut off");
  ExpectRefused(MakeBlock({40, 1, 1, 8, 0, 0, {}, std::vector<TBGR>(255)}), "table cut off");
  ExpectRefused(MakeBlock({40, 5, 2, 24, 0, 0, {}, {}}, std::vector<uint8_t>(31)), "rows one byte short");
  ExpectRefused(MakeBlock({40, 3000, 1, 24, 0, 0, {}, {}}, row4), "width lies about the rows");
  ExpectRefused(MakeBlock({40, 70000, -70000, 1, 0, 0, {}, {kBlack, kWhite}}), "over the pixel limit");
  ExpectRefused(MakeBlock({40, 1, -1, 8, 1, 0, {}, std::vector<TBGR>(256)}, {1, 0, 0, 1}), "top-down RLE");
  ExpectRefused(MakeBlock({40, 1, 1, 4, 1, 0, {}, std::vector<TBGR>(16)}, {1, 0, 0, 1}), "RLE8 at 4 bits");
  TRleBlock rle = MakeRleBlock(13, 4, 8, 1);
  rle.block.resize(rle.block.size() - 12);
  ExpectRefused(rle.block, "RLE data cut off");
  const auto block = WriteDibBlock(RandomBitmap(20, 20, TIEPixelFormat::pf24bit, 1));
  const int64_t limit = MaxImagePixels();
  SetMaxImagePixels(399);
  ExpectRefused(block, "400 pixels over a limit of 399");
  SetMaxImagePixels(limit);
}

TEST(DibBlockReader, ReadingIntoAnImageOfTheSameShapeReplacesItsPixels) {
  TIEWorkingBitmap target = RandomBitmap(6, 3, TIEPixelFormat::pf24bit, 1);
  const TIEWorkingBitmap b = RandomBitmap(6, 3, TIEPixelFormat::pf24bit, 2);
  const uint64_t changes = target.ChangeCount();
  ASSERT_TRUE(ReadDibBlock(WriteDibBlock(b), target));
  ExpectSamePixels(target, b);
  EXPECT_GT(target.ChangeCount(), changes);
}

}  // namespace
}  // namespace quillet::test
