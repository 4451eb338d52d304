// Blocks checked against Pillow: ours, given a 14-byte file header, and BMP
// files of ImageMagick and Pillow read as blocks once their file header is cut off.
#include <gtest/gtest.h>

#include <random>

#include "dib_blocks.h"
#include "imaging/core/dib_rle.h"
#include "imaging/proc/dib_block.h"
#include "support/oracle_harness.h"

namespace quillet::test {
namespace {

// A BMP file of `block`, whose pixel data starts `pixelOffset` bytes into it.
std::vector<uint8_t> AsBmpFile(const std::vector<uint8_t>& block, size_t pixelOffset) {
  std::vector<uint8_t> file(14, 0);
  file[0] = 'B', file[1] = 'M';
  PutLE(file, 2, uint32_t(14 + block.size()));
  PutLE(file, 10, uint32_t(14 + pixelOffset));
  file.insert(file.end(), block.begin(), block.end());
  return file;
}

// Our reading of a BMP file without its file header, as a block.
TOurImage ReadAsBlock(const std::vector<uint8_t>& file) {
  TOurImage out;
  out.ok = file.size() > 14 && ReadDibBlock(std::span(file).subspan(14), out.bitmap);
  return out;
}

TEST(DibOracle, BmpFilesOfImageMagickAndPillowReadAsBlocks) {
  if (!HavePillow() || !HaveImageMagick()) GTEST_SKIP() << "Pillow or ImageMagick missing";
  TempDir dir;
  using enum TMaker;
  // We widen 5 and 6-bit channels by shifting (31 -> 248), Pillow rescales (31 -> 255).
  const std::vector<TOracleCase> cases = {
      {"v5", omMagick, "BMP:"},
      {"rgb565", omMagick, "-define bmp:subtype=RGB565 BMP:", "", 7},
      {"argb32", omMagick, "-alpha on -define bmp:subtype=ARGB8888 BMP:"},
      {"rle8", omMagick, "-type Palette -compress RLE BMP3:"},
      {"rle8_v5", omMagick, "-type Palette -compress RLE BMP:"},
      {"pillow_1", omPillow, "im.convert('1')"},
      {"pillow_P", omPillow, "im.convert('P')"},
      {"pillow_RGB", omPillow, "im.convert('RGB')"},
  };
  EXPECT_EQ(CheckOracleCases(dir, MakeOraclePicture(dir), ".bmp", cases, ReadAsBlock), int(cases.size()));
}

TEST(DibOracle, PillowReadsOurBlocks) {
  if (!HavePillow()) GTEST_SKIP() << "Pillow missing";
  TempDir dir;
  TIEWorkingBitmap colour(37, 23, TIEPixelFormat::pf24bit), bilevel(37, 23, TIEPixelFormat::pf1bit);
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 37; ++x) {
      uint8_t* p = colour.ScanLine(y) + 3 * x;
      p[0] = uint8_t(x * 7), p[1] = uint8_t(y * 11), p[2] = uint8_t(x * y);
      SetBit(bilevel.ScanLine(y), x, (x * x + y) % 3 == 0);
    }
  for (const TIEWorkingBitmap* b : {&colour, &bilevel}) {
    SCOPED_TRACE(b->BitCount());
    // An area from column 5, so that 1-bit rows are shifted.
    const std::vector<uint8_t> block = WriteDibBlock(*b, 5, 2, 37, 23);
    const std::string bmp = dir.File("ours.bmp");
    WriteFileBytes(bmp, AsBmpFile(block, b->BitCount() == 1 ? 48 : 40));
    const auto area = [&](const std::vector<uint8_t>&) {
      TOurImage out{true, "", TIEWorkingBitmap(32, 21, TIEPixelFormat::pf24bit)};
      for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 32; ++x) {
          const TBGR c = b->Pixel(x + 5, y + 2);
          uint8_t* p = out.bitmap.ScanLine(y) + 3 * x;
          p[0] = c.b, p[1] = c.g, p[2] = c.r;
        }
      return out;
    };
    ExpectLikePillow(dir, bmp, area);
  }
}

// Layouts those programs do not write here (a 108-byte header, masks after a
// 40-byte one, RLE4, top-down rows), made by hand and read by Pillow and by us.
TEST(DibOracle, HandMadeBlocksReadAlikeByPillow) {
  if (!HavePillow()) GTEST_SKIP() << "Pillow missing";
  TempDir dir;
  constexpr int w = 21, h = 5;
  std::mt19937 rng(3);
  const auto randomRows = [&](int bits) {
    std::vector<std::vector<uint32_t>> rows(h, std::vector<uint32_t>(w));
    for (auto& row : rows)
      for (uint32_t& v : row) v = bits == 32 ? rng() | 0xFF000000u : rng() & ((1u << bits) - 1);
    return rows;
  };
  std::vector<TBGR> table16;
  for (int i = 0; i < 16; ++i) table16.push_back(MakeBGR(uint8_t(i * 17), uint8_t(255 - i * 13), uint8_t(i * 5)));
  std::vector<uint8_t> rle;
  for (int y = h - 1; y >= 0; --y) {
    std::vector<uint8_t> row(w);
    for (int x = 0; x < w; ++x) row[size_t(x)] = uint8_t((x / 3 + y * 2) & 15);
    EncodeDibRleRow(row.data(), w, 4, rle);
  }
  rle.insert(rle.end(), {0, 1});
  const std::vector<std::pair<TBlockLayout, std::vector<uint8_t>>> blocks = {
      {{108, w, h, 16, 3, 0, {0xF800, 0x07E0, 0x001F}, {}}, PackRows(randomRows(16), w, 16)},
      {{40, w, -h, 32, 3, 0, {0x00FF0000, 0x0000FF00, 0x000000FF}, {}}, PackRows(randomRows(32), w, 32, true)},
      {{124, w, -h, 24, 0, 0, {}, {}}, PackRows(randomRows(24), w, 24, true)},
      {{40, w, h, 4, 2, 16, {}, table16}, rle},
  };
  for (const auto& [layout, pixels] : blocks) {
    SCOPED_TRACE(testing::Message() << "header " << layout.headerSize << " bits " << layout.bits);
    const std::vector<uint8_t> block = MakeBlock(layout, pixels);
    const std::string bmp = dir.File("hand.bmp");
    WriteFileBytes(bmp, AsBmpFile(block, block.size() - pixels.size()));
    ExpectLikePillow(dir, bmp, ReadAsBlock, layout.bits == 16 ? 7 : 0);
  }
}

}  // namespace
}  // namespace quillet::test
