// The RLE8/RLE4 row encoder: exact byte layouts of runs, short and long
// literal groups, and rows that decode back to themselves, by us and by ImageMagick.
#include <gtest/gtest.h>

#include <random>

#include "codec_harness.h"
#include "imaging/core/dib_rle.h"
#include "imaging/io/formats/bmp/bmp_codec.h"

namespace quillet::test {
namespace {

std::vector<uint8_t> EncodeRow(const std::vector<uint8_t>& row, int bits) {
  std::vector<uint8_t> out;
  EncodeDibRleRow(row.data(), int64_t(row.size()), bits, out);
  return out;
}

TEST(BmpRle, LongRunsSplitAt255) {
  EXPECT_EQ(EncodeRow(std::vector<uint8_t>(300, 7), 8), (std::vector<uint8_t>{0xFF, 7, 0x2D, 7, 0, 0}));
  EXPECT_EQ(EncodeRow(std::vector<uint8_t>(300, 7), 4), (std::vector<uint8_t>{0xFF, 0x77, 0x2D, 0x77, 0, 0}));
}

TEST(BmpRle, ShortLiteralGroupsBecomeRuns) {
  // RLE8: one pixel is a run of 1, two pixels are two runs of 1.
  EXPECT_EQ(EncodeRow({5}, 8), (std::vector<uint8_t>{1, 5, 0, 0}));
  EXPECT_EQ(EncodeRow({5, 6}, 8), (std::vector<uint8_t>{1, 5, 1, 6, 0, 0}));
  // RLE4: one pixel in the high nibble, two pixels in one run of 2.
  EXPECT_EQ(EncodeRow({5}, 4), (std::vector<uint8_t>{1, 0x50, 0, 0}));
  EXPECT_EQ(EncodeRow({5, 6}, 4), (std::vector<uint8_t>{2, 0x56, 0, 0}));
}

TEST(BmpRle, LongerLiteralsUseTheEscapePaddedToEvenBytes) {
  EXPECT_EQ(EncodeRow({1, 2, 3}, 8), (std::vector<uint8_t>{0, 3, 1, 2, 3, 0, 0, 0}));
  EXPECT_EQ(EncodeRow({1, 2, 3, 4}, 8), (std::vector<uint8_t>{0, 4, 1, 2, 3, 4, 0, 0}));
  EXPECT_EQ(EncodeRow({1, 2, 3}, 4), (std::vector<uint8_t>{0, 3, 0x12, 0x30, 0, 0}));
  EXPECT_EQ(EncodeRow({1, 2, 3, 4, 5}, 4), (std::vector<uint8_t>{0, 5, 0x12, 0x34, 0x50, 0, 0, 0}));
  // Literals before and after a run.
  EXPECT_EQ(EncodeRow({1, 2, 3, 9, 9, 9, 4}, 8), (std::vector<uint8_t>{0, 3, 1, 2, 3, 0, 3, 9, 1, 4, 0, 0}));
}

TEST(BmpRle, LiteralGroupsHoldAtMost255Pixels) {
  std::vector<uint8_t> row(600);
  for (size_t i = 0; i < row.size(); ++i) row[i] = uint8_t(i % 2 ? 1 : 2);
  const auto out = EncodeRow(row, 8);
  // 255 + 255 + 90 pixels, each group an escape with its pixels.
  ASSERT_EQ(out.size(), size_t(2 + 256 + 2 + 256 + 2 + 90 + 2));
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[1], 255);
  EXPECT_EQ(out[258], 0);
  EXPECT_EQ(out[259], 255);
  EXPECT_EQ(out[516], 0);
  EXPECT_EQ(out[517], 90);
}

// A w x h RLE file of `rows` (top row first) through a palette of distinct colours.
std::vector<uint8_t> MakeRleFile(int w, int bits, const std::vector<std::vector<uint8_t>>& rows) {
  std::vector<uint8_t> data;
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) EncodeDibRleRow(it->data(), w, bits, data);
  data.push_back(0);
  data.push_back(1);
  std::vector<TBGR> palette(size_t(1) << bits);
  for (size_t i = 0; i < palette.size(); ++i) palette[i] = MakeBGR(uint8_t(i * 37), uint8_t(255 - i), uint8_t(i * 5));
  return MakeBmp(w, int32_t(rows.size()), bits, bits == 8 ? 1 : 2, palette, data);
}

// Rows with runs of random lengths, literal stretches and odd widths.
std::vector<std::vector<uint8_t>> RandomRows(int w, int h, int bits, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<std::vector<uint8_t>> rows(size_t(h), std::vector<uint8_t>(size_t(w), 0));
  for (auto& row : rows)
    for (int x = 0; x < w;) {
      const int len = std::min<int>(w - x, rng() % 3 ? 1 : int(rng() % 400) + 1);
      const uint8_t v = uint8_t(rng() % (1u << bits));
      std::fill_n(row.begin() + x, len, v);
      x += len;
    }
  return rows;
}

TEST(BmpRle, EncodedRowsDecodeBackToThemselves) {
  const bool magick = HaveImageMagick();
  TempDir dir;
  for (int bits : {8, 4})
    for (int w : {1, 2, 3, 255, 256, 257, 601}) {
      SCOPED_TRACE(testing::Message() << "bits " << bits << " width " << w);
      const auto rows = RandomRows(w, 5, bits, unsigned(w * bits));
      const auto file = MakeRleFile(w, bits, rows);
      const Decoded d = Decode(ReadBMPStream, file);
      ASSERT_FALSE(d.aborted) << d.error;
      std::vector<uint8_t> want;
      for (const auto& row : rows)
        for (uint8_t i : row) {
          const TBGR c = d.params.ColorMap[i];
          want.insert(want.end(), {c.r, c.g, c.b});
        }
      EXPECT_EQ(RgbBytes(d.bitmap), want);
      if (!magick) continue;
      const std::string bmp = dir.File("rle.bmp"), rgb = dir.File("rle.rgb");
      WriteFileBytes(bmp, file);
      ASSERT_EQ(test::Run("/usr/bin/convert " + bmp + " -depth 8 rgb:" + rgb + " 2>/dev/null"), 0);
      EXPECT_EQ(ReadFileBytes(rgb), want);
    }
}

}  // namespace
}  // namespace quillet::test
