// YUV blocks: every four-character layout against the conversion formula
// evaluated here, row order by height sign, odd sizes and short data.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

#include "dib_blocks.h"
#include "imaging/proc/dib_block.h"

namespace quillet::test {
namespace {

struct TYuv {
  int y, u, v;
};

TBGR Formula(const TYuv& s) {
  const double c = (s.y - 16) * 1.164;
  const int d = s.u - 128, e = s.v - 128;
  const auto clamp = [](double x) { return uint8_t(std::clamp(std::nearbyint(x), 0.0, 255.0)); };
  return TBGR{clamp(c + 2.018 * d), clamp(c - 0.813 * e - 0.391 * d), clamp(c + 1.596 * e)};
}

uint32_t Code(const std::string& s) {
  return uint32_t(uint8_t(s[0])) | uint32_t(uint8_t(s[1])) << 8 | uint32_t(uint8_t(s[2])) << 16 |
         uint32_t(uint8_t(s[3])) << 24;
}

std::vector<uint8_t> YuvBlock(const std::string& code, int w, int h, const std::vector<uint8_t>& data,
                              uint32_t headerSize = 40) {
  return MakeBlock({headerSize, w, h, 16, Code(code), 0, {}, {}}, data);
}

// Pixels per group and bytes per group of the packed layouts.
struct TPacked {
  std::string code;
  int pixels, bytes;
  bool reversed;
};

const TPacked kPacked[] = {{"YUY2", 2, 4, false}, {"YUNV", 2, 4, false}, {"UYVY", 2, 4, false},
                           {"UYNV", 2, 4, false}, {"cyuv", 2, 4, true},  {"YVYU", 2, 4, false},
                           {"IYU1", 4, 6, false}, {"IYU2", 1, 3, false}, {"Y211", 4, 4, false},
                           {"Y41P", 8, 12, true}, {"CLJR", 4, 4, false}};

// The samples of pixel x of a packed row, read the way each layout lays them out.
TYuv PackedSamples(const std::string& code, const uint8_t* row, int x) {
  if (code == "YUY2" || code == "YUNV" || code == "YVYU") {
    const uint8_t* g = row + 4 * (x / 2);
    const bool vFirst = code == "YVYU";
    return {g[x % 2 ? 2 : 0], g[vFirst ? 3 : 1], g[vFirst ? 1 : 3]};
  }
  if (code == "UYVY" || code == "UYNV" || code == "cyuv") {
    const uint8_t* g = row + 4 * (x / 2);
    return {g[x % 2 ? 3 : 1], g[0], g[2]};
  }
  if (code == "IYU1") {
    const uint8_t* g = row + 6 * (x / 4);
    const int ys[] = {1, 2, 4, 5};
    return {g[ys[x % 4]], g[0], g[3]};
  }
  if (code == "IYU2") return {row[3 * x + 1], row[3 * x], row[3 * x + 2]};
  if (code == "Y211") {
    const uint8_t* g = row + 4 * (x / 4);
    return {g[x % 4 < 2 ? 0 : 2], g[1], g[3]};
  }
  if (code == "Y41P") {
    const uint8_t* g = row + 12 * (x / 8);
    const int i = x % 8, ys[] = {1, 3, 5, 7, 8, 9, 10, 11};
    return {g[ys[i]], g[i < 4 ? 0 : 4], g[i < 4 ? 2 : 6]};
  }
  // CLJR, the 5-bit and 6-bit fields widened to 8 bits.
  const uint8_t* g = row + 4 * (x / 4);
  const uint32_t word = g[0] | g[1] << 8 | g[2] << 16 | uint32_t(g[3]) << 24;
  const int y5 = word >> (12 + 5 * (x % 4)) & 31, u6 = word >> 6 & 63, v6 = word & 63;
  return {y5 << 3 | y5 >> 2, u6 << 2 | u6 >> 4, v6 << 2 | v6 >> 4};
}

TEST(DibYuv, KnownColours) {
  const auto pixel = [](std::vector<uint8_t> bytes) {
    TIEWorkingBitmap out;
    EXPECT_TRUE(ReadDibBlock(YuvBlock("YUY2", 2, 1, bytes), out));
    EXPECT_EQ(out.Pixel(0, 0), out.Pixel(1, 0));
    return out.Pixel(0, 0);
  };
  EXPECT_EQ(pixel({0x7E, 0x80, 0x7E, 0x80}), MakeBGR(128, 128, 128));
  EXPECT_EQ(pixel({0x51, 0x5A, 0x51, 0xF0}), MakeBGR(254, 0, 0));
  EXPECT_EQ(pixel({235, 128, 235, 128}), kWhite);
  EXPECT_EQ(pixel({16, 128, 16, 128}), kBlack);
}

TEST(DibYuv, PackedLayoutsInBothRowOrders) {
  constexpr int w = 9, h = 3;  // the last group of every layout but IYU2 is incomplete
  std::mt19937 rng(42);
  for (const TPacked& p : kPacked)
    for (int sign : {1, -1}) {
      SCOPED_TRACE(p.code + (sign > 0 ? " bottom-up" : " top-down"));
      const int rowBytes = (w + p.pixels - 1) / p.pixels * p.bytes;
      std::vector<uint8_t> data(size_t(rowBytes * h));
      for (uint8_t& b : data) b = uint8_t(rng());
      TIEWorkingBitmap out;
      ASSERT_TRUE(ReadDibBlock(YuvBlock(p.code, w, sign * h, data), out));
      ASSERT_EQ(out.PixelFormat(), TIEPixelFormat::pf24bit);
      ASSERT_EQ(out.Height(), h);
      const bool fromTop = (sign > 0) != p.reversed;
      for (int k = 0; k < h; ++k)
        for (int x = 0; x < w; ++x)
          ASSERT_EQ(out.Pixel(x, fromTop ? k : h - 1 - k),
                    Formula(PackedSamples(p.code, &data[size_t(k * rowBytes)], x)))
              << "data row " << k << " x " << x;
      data.pop_back();
      EXPECT_FALSE(ReadDibBlock(YuvBlock(p.code, w, sign * h, data), out)) << "one byte short";
    }
}

TEST(DibYuv, PlanarLayoutsWithOddSizesClampChroma) {
  struct TCase {
    std::string code;
    int s, w, h;
    bool uFirst;
  };
  const TCase cases[] = {{"YV12", 2, 8, 6, false}, {"YV12", 2, 5, 3, false}, {"I420", 2, 7, 5, true},
                         {"IYUV", 2, 6, 4, true},  {"YVU9", 4, 8, 8, false}, {"YVU9", 4, 9, 6, false}};
  std::mt19937 rng(9);
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.code << " " << c.w << "x" << c.h);
    const int cw = c.w / c.s, ch = c.h / c.s;
    std::vector<uint8_t> data(size_t(c.w * c.h + 2 * cw * ch));
    for (uint8_t& b : data) b = uint8_t(rng());
    const uint8_t* yPlane = data.data();
    const uint8_t* uPlane = yPlane + c.w * c.h + (c.uFirst ? 0 : cw * ch);
    const uint8_t* vPlane = yPlane + c.w * c.h + (c.uFirst ? cw * ch : 0);
    TIEWorkingBitmap out;
    ASSERT_TRUE(ReadDibBlock(YuvBlock(c.code, c.w, c.h, data), out));
    for (int k = 0; k < c.h; ++k)
      for (int x = 0; x < c.w; ++x) {
        const int chroma = std::min(k / c.s, ch - 1) * cw + std::min(x / c.s, cw - 1);
        ASSERT_EQ(out.Pixel(x, k), Formula({yPlane[k * c.w + x], uPlane[chroma], vPlane[chroma]})) << x << "," << k;
      }
    data.pop_back();
    EXPECT_FALSE(ReadDibBlock(YuvBlock(c.code, c.w, c.h, data), out)) << "last plane short";
  }
  // One pixel wide: no chroma column exists at all.
  TIEWorkingBitmap out;
  EXPECT_FALSE(ReadDibBlock(YuvBlock("YV12", 1, 4, std::vector<uint8_t>(64, 128)), out));
}

TEST(DibYuv, DataAfterLongHeadersOrPassedApart) {
  const std::vector<uint8_t> data = {0x51, 0x5A, 0x51, 0xF0};
  TIEWorkingBitmap out;
  ASSERT_TRUE(ReadDibBlock(YuvBlock("YUY2", 2, 1, data, 124), out));
  EXPECT_EQ(out.Pixel(1, 0), MakeBGR(254, 0, 0));
  ASSERT_TRUE(ReadDibBlock(YuvBlock("YUY2", 2, 1, {}), out, data));
  EXPECT_EQ(out.Pixel(0, 0), MakeBGR(254, 0, 0));
}

}  // namespace
}  // namespace quillet::test
