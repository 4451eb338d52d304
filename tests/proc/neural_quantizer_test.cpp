// The neural engine and the engine choice: sample factors, determinism, the
// exactness of the outward search and its cache, palette quality, and tiny
// and empty images.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "imaging/proc/color_utils.h"
#include "imaging/proc/quantizer.h"
#include "proc_images.h"

namespace quillet::test {
namespace {

const TBGR kSentinel{1, 2, 3};

int L1(const TBGR& a, const TBGR& b) { return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b); }

TEST(NeuralQuantizer, SampleFactor) {
  EXPECT_EQ(TIENeuralQuantizer::SampleFactor(1999, -1), 1);
  EXPECT_EQ(TIENeuralQuantizer::SampleFactor(2000, -1), 2);
  EXPECT_EQ(TIENeuralQuantizer::SampleFactor(1000 * 1000, -1), 30);  // 90 clamped
  EXPECT_EQ(TIENeuralQuantizer::SampleFactor(1000 * 1000, 100), 1);
  EXPECT_EQ(TIENeuralQuantizer::SampleFactor(1000 * 1000, 50), 15);
  EXPECT_EQ(TIENeuralQuantizer::SampleFactor(1000 * 1000, 0), 30);
}

TEST(NeuralQuantizer, EngineFollowsTheColourCount) {
  const TIEWorkingBitmap img = Gradient(40, 40);
  std::vector<TBGR> palette(256, kSentinel);
  TIEQuantizer box(TIEQuantizerSource(img), palette, 127);
  EXPECT_EQ(box.Engine(), TIEQuantizerEngine::qeBoxSplitting);
  palette.assign(256, kSentinel);
  TIEQuantizer net(TIEQuantizerSource(img), palette, 128);
  EXPECT_EQ(net.Engine(), TIEQuantizerEngine::qeNeuralNetwork);
  EXPECT_EQ(net.EntryCount(), 128);
  EXPECT_NE(palette[127], kSentinel);
  for (size_t i = 128; i < 256; ++i) EXPECT_EQ(palette[i], kSentinel) << i;
}

// The lookup returns an entry at the smallest L1 distance for every colour,
// repeatable, through the cache or not.
TEST(NeuralQuantizer, DeterministicAndTheLookupFindsTheNearestEntry) {
  const TIEWorkingBitmap img = Gradient(64, 64);
  std::vector<TBGR> first(256), second(256);
  TIEQuantizer a(TIEQuantizerSource(img), first, 256);
  TIEQuantizer b(TIEQuantizerSource(img), second, 256);
  EXPECT_EQ(first, second);
  std::mt19937 rng(3);
  for (int k = 0; k < 60000; ++k) {  // more colours than cache slots
    const uint32_t rgb = rng() & 0xFFFFFF;
    const int i = a.GetIndex(rgb);
    ASSERT_GE(i, 0);
    ASSERT_LT(i, 256);
    const TBGR c = MakeBGR(uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb));
    ASSERT_EQ(L1(first[size_t(i)], c), L1(first[size_t(NearestPaletteIndex(first, rgb))], c)) << std::hex << rgb;
    ASSERT_EQ(i, a.GetIndex(rgb));
  }
}

// 64 well separated colours and 256 neurons: every colour gets an entry
// close to it. Reading the bias unsigned, which rewards frequent winners
// instead of penalising them, leaves colours up to 18 levels off here.
TEST(NeuralQuantizer, SeparateColoursAreReproduced) {
  std::mt19937 rng(11);
  std::vector<TBGR> colours;
  for (int i = 0; i < 64; ++i) colours.push_back(MakeBGR(uint8_t(rng()), uint8_t(rng()), uint8_t(rng())));
  const TIEWorkingBitmap img = MakeImage(128, 128, [&](int x, int y) { return colours[size_t(x / 16 + y / 16 * 8)]; });
  std::vector<TBGR> palette(256);
  TIEQuantizer q(TIEQuantizerSource(img), palette, 256);
  int worst = 0;
  for (const TBGR& c : colours) worst = std::max(worst, L1(palette[size_t(q.GetIndex(RgbOf(c)))], c));
  EXPECT_LE(worst, 8);
}

// Images with fewer pixels than the sampling step; run under ASan this
// catches any read outside the image.
TEST(NeuralQuantizer, TinyImagesStayInside) {
  for (auto [w, h] : {std::pair{10, 10}, {1, 1}, {3, 1}, {1, 498}, {499, 1}}) {
    const TIEWorkingBitmap img = Gradient(w, h);
    std::vector<TBGR> palette(256);
    TIEQuantizer q(TIEQuantizerSource(img), palette, 256);
    EXPECT_EQ(q.EntryCount(), 256);
    for (int x = 0; x < w; ++x) ASSERT_LT(q.GetIndex(RgbOf(img.Pixel(x, h - 1))), 256);
  }
  // One sample at full alpha moves the winner onto the colour.
  const TIEWorkingBitmap dot = MakeImage(1, 1, [](int, int) { return MakeBGR(77, 140, 3); });
  std::vector<TBGR> palette(256);
  TIEQuantizer q(TIEQuantizerSource(dot), palette, 256);
  EXPECT_EQ(palette[size_t(q.GetIndex(0x4D8C03))], MakeBGR(77, 140, 3));
}

TEST(Quantizer, EmptyOrNonTrueColourSourceGivesOneBlackEntry) {
  const TIEWorkingBitmap empty;
  const TIEWorkingBitmap bilevel(8, 8, TIEPixelFormat::pf1bit);
  for (const TIEWorkingBitmap* img : {&empty, &bilevel})
    for (int colors : {2, 16, 256}) {
      std::vector<TBGR> palette(256, kSentinel);
      TIEQuantizer q(TIEQuantizerSource(*img), palette, colors);
      EXPECT_EQ(q.EntryCount(), 1);
      EXPECT_EQ(palette[0], kBlack);
      EXPECT_EQ(palette[1], kSentinel);
      EXPECT_EQ(q.GetIndex(0xFFFFFF), 0);
      uint8_t row[2] = {9, 9};
      q.MapRow(nullptr, 0, row);
      EXPECT_EQ(row[0], 9);
    }
}

TEST(Quantizer, ColourCountIsBoundedByThePalette) {
  const TIEWorkingBitmap img = Gradient(30, 30);
  std::vector<TBGR> palette(16, kSentinel);
  TIEQuantizer q(TIEQuantizerSource(img), palette, 256);
  EXPECT_EQ(q.Engine(), TIEQuantizerEngine::qeBoxSplitting);
  EXPECT_LE(q.EntryCount(), 16);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) ASSERT_LT(q.GetIndex(RgbOf(img.Pixel(x, y))), q.EntryCount());
}

TEST(ColorIndexCache, CollidingColoursGetTheirOwnAnswers) {
  TIEColorIndexCache cache;
  int searches = 0;
  const auto search = [&](uint32_t rgb) { return ++searches, int((rgb * 7 + (rgb >> 9)) & 255); };
  std::mt19937 rng(5);
  std::vector<uint32_t> keys;
  for (int i = 0; i < 100000; ++i) keys.push_back(rng() & 0xFFFFFF);
  for (int pass = 0; pass < 2; ++pass)
    for (uint32_t k : keys) ASSERT_EQ(cache.Get(k, search), search(k));
  searches = 0;
  for (int i = 0; i < 10; ++i) cache.Get(0x123456, search);
  EXPECT_EQ(searches, 1);
}

}  // namespace
}  // namespace quillet::test
